#include "frmAttach.h"

#include "connections/clsAmbienteDados.h"
#include "connections/clsSqlDmoSessao.h"
#include "connections/mdlCaminhoServidor.h"
#include "mdlAnexar.h"
#include "uctComumAdmin.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

frmAttach::frmAttach(clsAmbienteDados& ambiente, QWidget* pai) : frmDialogoSessao(ambiente, pai)
{
    setObjectName(QStringLiteral("frmAttach"));
    setWindowTitle(QStringLiteral("Attach Database"));
    auto* layout = new QVBoxLayout(this);
    auto* fraPrincipal = new QGroupBox(this);
    fraPrincipal->setObjectName(QStringLiteral("fraPrincipal"));
    auto* form = new QFormLayout(fraPrincipal);
    txtMdfFile = new QLineEdit(fraPrincipal);
    txtMdfFile->setObjectName(QStringLiteral("txtMdfFile"));
    picForcarArqLogDest = new QToolButton(fraPrincipal);
    picForcarArqLogDest->setObjectName(QStringLiteral("picForcarArqLogDest"));
    picForcarArqLogDest->setText(QStringLiteral("..."));
    auto* arquivo = new QHBoxLayout;
    arquivo->addWidget(txtMdfFile, 1);
    arquivo->addWidget(picForcarArqLogDest);
    form->addRow(QStringLiteral("MDF File to attach"), arquivo);
    txtName = new QLineEdit(fraPrincipal);
    txtName->setObjectName(QStringLiteral("txtName"));
    form->addRow(QStringLiteral("Database Name"), txtName);
    txtOwner = new QLineEdit(fraPrincipal);
    txtOwner->setObjectName(QStringLiteral("txtOwner"));
    HabilitarControle(txtOwner, false);
    form->addRow(QStringLiteral("Owner"), txtOwner);
    layout->addWidget(fraPrincipal);
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnOk);
    layout->addLayout(botoes);
    resize(460, 170);
    connect(btnOk, &QPushButton::clicked, this, &frmAttach::btnOk_Click);
    connect(picForcarArqLogDest, &QToolButton::clicked, this, &frmAttach::picForcarArqLogDest_Click);
}

void frmAttach::setConnectionString(const QString& connStr)
{
    frmDialogoSessao::setConnectionString(connStr);
    txtOwner->setText(m_login);
}

QString frmAttach::DatabaseName() const { return txtName->text(); }

void frmAttach::btnOk_Click()
{
    QString mensagem;
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        m_sucesso = false;
        if (!funcoes::ValidarCaminhoServidor(m_ambiente.Prompt(), txtMdfFile->text(), *m_sessao))
            return;
        mensagem = m_sessao->AttachDB(txtName->text(), txtMdfFile->text());
    }
    Concluir(mensagem, QStringLiteral("The database has been attached successfully"));
}

void frmAttach::picForcarArqLogDest_Click()
{
    txtMdfFile->setFocus();
    // The local dialog helps when the server runs on this machine; a path typed for the server's
    // own disk is accepted as it is.
    const QString atual = txtMdfFile->text();
    const QString pasta = !atual.isEmpty() && QFileInfo::exists(atual) ? atual : QCoreApplication::applicationDirPath();
    const QString escolhido = m_ambiente.Prompt().ArquivoAbrir(QStringLiteral("Selecione o Arquivo MDF desejado"),
                                                               pasta,
                                                               FiltroArquivos(QStringLiteral("Arquivos MDF"), "mdf"));
    if (escolhido.isEmpty())
        return;
    txtMdfFile->setText(escolhido);
    txtName->setText(admin::NomeBancoDoArquivo(escolhido));
}
