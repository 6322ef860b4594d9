#include "frmUsuarioSenha.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmUsuarioSenha::frmUsuarioSenha(QWidget* pai) : QDialog(pai)
{
    setObjectName(QStringLiteral("frmUsuarioSenha"));
    setWindowTitle(QStringLiteral("Informe o Usuário e Senha"));
    auto* fraPrincipal = new QGroupBox(this);
    fraPrincipal->setObjectName(QStringLiteral("fraPrincipal"));
    auto* lblSqlUsuario = new QLabel(QStringLiteral("Usuário"), fraPrincipal);
    lblSqlUsuario->setObjectName(QStringLiteral("lblSqlUsuario"));
    txtSqlUsuario = new QLineEdit(fraPrincipal);
    txtSqlUsuario->setObjectName(QStringLiteral("txtSqlUsuario"));
    lblSqlUsuario->setBuddy(txtSqlUsuario);
    auto* lblSqlSenha = new QLabel(QStringLiteral("Senha"), fraPrincipal);
    lblSqlSenha->setObjectName(QStringLiteral("lblSqlSenha"));
    txtSqlSenha = new QLineEdit(fraPrincipal);
    txtSqlSenha->setObjectName(QStringLiteral("txtSqlSenha"));
    txtSqlSenha->setEchoMode(QLineEdit::Password);
    lblSqlSenha->setBuddy(txtSqlSenha);
    chkLembrar = new QCheckBox(QStringLiteral("Lembrar minha senha"), fraPrincipal);
    chkLembrar->setObjectName(QStringLiteral("chkLembrar"));
    auto* btnConf = new QPushButton(QStringLiteral("&Ok"), fraPrincipal);
    btnConf->setObjectName(QStringLiteral("btnConf"));
    btnConf->setDefault(true);
    auto* btnCanc = new QPushButton(QStringLiteral("&Cancelar"), fraPrincipal);
    btnCanc->setObjectName(QStringLiteral("btnCanc"));

    auto* grade = new QGridLayout(fraPrincipal);
    grade->addWidget(lblSqlUsuario, 0, 0);
    grade->addWidget(txtSqlUsuario, 0, 1);
    grade->addWidget(lblSqlSenha, 1, 0);
    grade->addWidget(txtSqlSenha, 1, 1);
    grade->addWidget(chkLembrar, 2, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    botoes->addWidget(btnCanc);
    grade->addLayout(botoes, 3, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraPrincipal);
    setMinimumWidth(320);

    connect(btnConf, &QPushButton::clicked, this, [this] { Fechar(true); });
    connect(btnCanc, &QPushButton::clicked, this, [this] { Fechar(false); });
}

void frmUsuarioSenha::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    txtSqlUsuario->selectAll();
    txtSqlUsuario->setFocus();
}

void frmUsuarioSenha::Fechar(bool confirmou)
{
    Confirmou = confirmou;
    if (confirmou)
        accept();
    else
        reject();
}
