#include "frmCadastroAgent.h"

#include "navigator/clsArvore.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

frmCadastroAgent::frmCadastroAgent(clsPrompt& prompt, const QString& nome, QWidget* pai)
    : QDialog(pai), m_prompt(prompt)
{
    setObjectName(nome);
    setModal(true);
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    btnConf = new QPushButton(QStringLiteral("OK"), this);
    btnConf->setObjectName(QStringLiteral("btnConf"));
    btnConf->setDefault(true);
    connect(btnConf, &QPushButton::clicked, this, &frmCadastroAgent::Confirmar);
}

void frmCadastroAgent::Confirmar()
{
    if (txtName->text().isEmpty()) {
        m_prompt.MsgBox(QStringLiteral("Name Connot be Empty"), vb::Information, globais::TituloAplicativo());
        txtName->setFocus();
        return;
    }
    Confirmado = true;
    accept();
}

void frmCadastroAgent::closeEvent(QCloseEvent* e)
{
    Confirmado = false;
    QDialog::closeEvent(e);
}

void frmCadastroAgent::reject()
{
    Confirmado = false;
    QDialog::reject();
}

bool frmCadastroAgent::ExibirModal()
{
    Confirmado = false;
    m_prompt.ExibirModal(this);
    return Confirmado;
}

void AtualizarNoAgent(clsArvore& arvore,
                      clsNo* existente,
                      clsNo* pai,
                      const QString& chave,
                      int imagem,
                      const QString& nome,
                      const QString& tag)
{
    if (!existente)
        existente = arvore.No(chave);
    if (existente)
        arvore.DefinirTexto(existente, nome);
    else
        IncluirNode(arvore, nome, chave, pai->Key(), imagem, tag);
}
