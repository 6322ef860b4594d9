#pragma once
// How the results grid paints and edits its cells: every value is edited as text in a line editor
// (never a spin box that cuts digits or a calendar that drops the column's kind); a text that does
// not fit the field is refused with its message and stays in the editor for correction. Null shows
// as a grey "NULL", unlike an empty text; a row marked for deletion is struck through.
#include <QStyledItemDelegate>

class clsModeloRecordset;

class uctDelegadoGrade : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit uctDelegadoGrade(clsModeloRecordset* modelo, QObject* pai = nullptr);

    QWidget* createEditor(QWidget* pai, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const override;
    void setEditorData(QWidget* editor, const QModelIndex& indice) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const override;

signals:
    // A typed text the field cannot take (the editor stays open with it).
    void TextoRecusado(const QString& erro);

protected:
    void initStyleOption(QStyleOptionViewItem* opcao, const QModelIndex& indice) const override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    bool Confere(QWidget* editor);
    clsModeloRecordset* m_modelo;
    bool m_avisando = false;
};
