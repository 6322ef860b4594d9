#pragma once
// One login of a SQL Server: authentication kind and password, Windows access, default database
// and language, server roles.
#include "platform/clsRecordset.h"

#include <QDialog>
#include <memory>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class clsAmbienteDados;
class clsSqlDmoSessao;

class frmLoginsCad : public QDialog {
    Q_OBJECT
public:
    explicit frmLoginsCad(clsAmbienteDados& ambiente, QWidget* pai = nullptr);

    // An empty `strLogin` is a new login. With `blnModal` the dialog is shown modally (its result
    // is accepted when the login was saved); otherwise it is shown and left open.
    void CarregarForm(std::shared_ptr<clsSqlDmoSessao> sessao,
                      bool blnModal = false,
                      const QString& strLogin = {},
                      const QString& strAutenticacao = {},
                      const QString& strDefBancoDados = {},
                      const QString& strDefLinguagem = {},
                      const QString& strGrantDeny = {},
                      qint16 strTagIndexConexao = 0);
    void btnConf_Click();

    QLineEdit* txtLogin = nullptr;
    QGroupBox* fraAutenticacao = nullptr;
    QRadioButton* optAutSql = nullptr;
    QLineEdit* txtAutSqlSenha = nullptr;
    QRadioButton* optAutWin = nullptr;
    QRadioButton* optAutWinSecGrant = nullptr;
    QRadioButton* optAutWinSecDeny = nullptr;
    QComboBox* cmbAutWinDominio = nullptr;
    QComboBox* cmbDefDataBase = nullptr;
    QComboBox* cmbDefLanguage = nullptr;
    QListWidget* lstGrupos = nullptr;
    QPushButton* btnConf = nullptr;
    QString Tag;

private:
    void HabilitarAutenticacao(bool windows);
    void CarregarBancos(const QString& banco);
    void CarregarLinguagens(const QString& linguagem);
    void CarregarPapeis(const QString& login);
    bool Gravar(const QString& login);
    bool AcertarPapeis(const QString& login);
    QString LinguagemEscolhida() const;
    bool Falhou();

    clsAmbienteDados& m_ambiente;
    std::shared_ptr<clsSqlDmoSessao> m_sessao;
    RecordsetPtr m_linguagens;
    RecordsetPtr m_papeis;
    bool m_novo = true;
    QButtonGroup* m_grupoAut = nullptr; // SQL Server or Windows; neither for a Windows group
};
