#include "frmDetach.h"

#include "connections/clsAmbienteDados.h"
#include "connections/clsSqlDmoSessao.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmDetach::frmDetach(clsAmbienteDados& ambiente, QWidget* pai) : frmDialogoSessao(ambiente, pai)
{
    setObjectName(QStringLiteral("frmDetach"));
    setWindowTitle(QStringLiteral("Detach Database"));
    auto* layout = new QVBoxLayout(this);
    auto* fraPrincipal = new QGroupBox(this);
    fraPrincipal->setObjectName(QStringLiteral("fraPrincipal"));
    auto* form = new QFormLayout(fraPrincipal);
    txtName = new QLineEdit(fraPrincipal);
    txtName->setObjectName(QStringLiteral("txtName"));
    form->addRow(QStringLiteral("Database Name"), txtName);
    layout->addWidget(fraPrincipal);
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnOk);
    layout->addLayout(botoes);
    resize(360, 110);
    connect(btnOk, &QPushButton::clicked, this, &frmDetach::btnOk_Click);
}

void frmDetach::setDatabaseName(const QString& nome) { txtName->setText(nome); }

void frmDetach::btnOk_Click()
{
    QString mensagem;
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        m_sucesso = false;
        mensagem = m_sessao->DetachDB(txtName->text(), false);
    }
    Concluir(mensagem, QStringLiteral("The database has been detached successfully"));
}
