#pragma once
// Base of the small modal dialogs that work on a SQL Server through a management session of
// their own (attach, detach, shrink): the connection is set as a property, DataLoaded says
// whether it opened, Sucess whether the dialog's work succeeded.
#include <QDialog>
#include <memory>

class clsAmbienteDados;
class clsSqlDmoSessao;

class frmDialogoSessao : public QDialog {
    Q_OBJECT
public:
    explicit frmDialogoSessao(clsAmbienteDados& ambiente, QWidget* pai = nullptr);
    ~frmDialogoSessao() override;

    // Connects the session with the string's server and login (the failure is shown).
    virtual void setConnectionString(const QString& connStr);
    bool DataLoaded() const;
    bool Sucess() const { return m_sucesso; }

protected:
    // Shows the outcome of the dialog's work: `mensagem` empty is success (the notice, then the
    // dialog closes accepted), otherwise the server's text as an error and the dialog stays.
    void Concluir(const QString& mensagem, const QString& aviso);

    clsAmbienteDados& m_ambiente;
    std::shared_ptr<clsSqlDmoSessao> m_sessao;
    QString m_login; // the login the session connected with
    bool m_sucesso = false;
};
