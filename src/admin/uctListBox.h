#pragma once
// A table box for drawing tables and the lines that join them: the table's name as a title that
// drags the box, one label per field (with a key picture for key fields) and a scroll bar when
// the fields do not fit.
#include "clsRelatItens.h"

#include <QFrame>
#include <QPoint>

class QLabel;
class QScrollBar;
class clsPrompt;

class uctListBox : public QFrame {
    Q_OBJECT
public:
    explicit uctListBox(clsPrompt& prompt, QWidget* pai = nullptr);

    void IncluirItens(const QString& strTabela, const QStringList& aNomeCampos, const QList<bool>& aChaves);
    QString Nome() const { return m_nome; }
    void setNome(const QString& nome) { m_nome = nome; }
    clsRelatItens& RelatItens() { return m_relat; }
    int QtdeRelatX = 0;
    int QtdeRelatY = 0;

    QLabel* lblTitulo = nullptr;
    QWidget* fraCampos = nullptr;
    QScrollBar* scrVertical = nullptr;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void AjustarRolagem();
    QWidget* m_visivel = nullptr; // the part of the field frame that shows
    QString m_nome;
    clsRelatItens m_relat;
    QPoint m_pressao; // where the title was pressed, while dragging
    bool m_arrastando = false;
};
