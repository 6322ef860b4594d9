#pragma once
// One user of a database: a new user with its login, or an existing user's roles.
#include "platform/clsRecordset.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class clsAmbienteDados;
class clsSqlDmoSessao;

class frmUsuariosCad : public QDialog {
    Q_OBJECT
public:
    explicit frmUsuariosCad(clsAmbienteDados& ambiente, QWidget* pai = nullptr);

    // `novo`: a new user (name and login to choose); otherwise the user `usuario`. Shows the
    // dialog and leaves it open; false (nothing shown) when the user cannot be read.
    bool CarregarForm(std::shared_ptr<clsSqlDmoSessao> sessao,
                      const QString& banco,
                      const QString& usuario,
                      bool novo,
                      qint16 strTagIndexConexao);
    void btnConf_Click();
    // "<Novo>" in the login list: the login dialog for a new login, then the list again.
    void NovoLogin();

    QLineEdit* txtUsuario = nullptr;
    QComboBox* cmbLogin = nullptr;
    QListWidget* lstGrupos = nullptr;
    QPushButton* btnConf = nullptr;
    QString Tag;

private:
    void CarregarLogins(const QString& login);
    void AoMarcar(QListWidgetItem* item);
    bool Gravar();
    bool AcertarPapeis(const QString& usuario, bool novo);
    bool Falhou();

    clsAmbienteDados& m_ambiente;
    std::shared_ptr<clsSqlDmoSessao> m_sessao;
    QString m_banco;
    bool m_novo = true;
};
