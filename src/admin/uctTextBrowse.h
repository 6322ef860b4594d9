#pragma once
// A text box with a drop button that lists the rows of a query in a pop-up and takes the chosen
// row's description into the box and its value into Value.
#include "platform/clsRecordset.h"

#include <QVariant>
#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;
class clsAmbienteDados;
class frmTextBrowse;

class uctTextBrowse : public QWidget {
    Q_OBJECT
public:
    explicit uctTextBrowse(clsAmbienteDados& ambiente, QWidget* pai = nullptr);

    QString ConnectionString;
    QString InstrucaoSql;
    QString CampoDescricao;
    QString CampoValor;
    // Where the rows come from when set (a window's management session); otherwise a connection
    // of its own opened with ConnectionString.
    std::function<bool(const QString& sql, RecordsetPtr& rs)> fonte;

    QVariant Value() const { return m_valor; }
    void setValue(const QVariant& v) { m_valor = v; }
    QString Text() const;
    void setText(const QString& texto);
    void DefinirHabilitado(bool habilitar);
    void setBackColor(const QColor& cor);

    QLineEdit* txtEdit = nullptr;
    QToolButton* btnBrowse = nullptr;

    void btnBrowse_Click();

signals:
    void ValueChanged();

private:
    bool LerLinhas(RecordsetPtr& rs);
    clsAmbienteDados& m_ambiente;
    QVariant m_valor;
};
