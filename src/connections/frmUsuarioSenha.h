#pragma once
// "Informe o Usuário e Senha": asked when a server or database is opened and no login is known.
#include <QDialog>

class QCheckBox;
class QLineEdit;

class frmUsuarioSenha : public QDialog {
    Q_OBJECT
public:
    explicit frmUsuarioSenha(QWidget* pai = nullptr);

    bool Confirmou = false;
    QLineEdit* txtSqlUsuario;
    QLineEdit* txtSqlSenha;
    QCheckBox* chkLembrar;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Fechar(bool confirmou);
};
