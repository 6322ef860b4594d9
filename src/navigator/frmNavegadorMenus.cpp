// The navigator's menu handlers: each acts on the selected node.
#include "frmNavegador.h"

#include "connections/frmAbrir.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlServidores.h"
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlSenhasGuardadas.h"
#include "schema/frmEstrutura.h"
#include "schema/frmIndex.h"

void frmNavegador::mnuNavMapInc_Click()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no)
        return;
    if (no->Key() == u"Outros") {
        emit MapearCustomizadaPedido();
        return;
    }
    frmAbrir janela(m_arvore, window());
    janela.CarregarForm(no->Text() == u"Microsoft Access" ? QStringLiteral("A")
                        : no->Text() == u"Web Services"   ? QStringLiteral("W")
                                                          : QStringLiteral("S"),
                        false);
}

void frmNavegador::mnuNavMapCri_Click()
{
    frmAbrir janela(m_arvore, window());
    janela.CarregarForm(QStringLiteral("A"), true);
}

void frmNavegador::mnuNavMapExc_Click()
{
    if (clsNo* no = m_arvore.Selecionado())
        DesmaparItem(m_arvore, no, JanelasAbertas());
}

void frmNavegador::mnuNavSerDesc_Click()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no)
        return;
    // Forgets the remembered login of the source, unless it holds the "no password" marker.
    const QString nome = NomeLogin(no);
    const QString secao = QStringLiteral("AutoLogin");
    const QString senha = settings::GetSetting(secao, QStringLiteral("SqlPass:") + nome);
    if (!senha.isEmpty() && Desembaralhar(senha) != u"*-*-*-*")
        senhas::Apagar(secao, QStringLiteral("SqlPass:") + nome);
    if (!settings::GetSetting(secao, QStringLiteral("SqlUser:") + nome).isEmpty())
        settings::DeleteSetting(secao, QStringLiteral("SqlUser:") + nome);
    // A custom source keeps its kind, and with it its connection string.
    const int imagem = no->Image() == img::SqlServerConectado    ? img::SqlServer
                       : no->Image() == img::WebServiceConectado ? img::WebService
                       : no->Image() == img::Customizada         ? img::Customizada
                                                                 : img::Access;
    DesconectarNode(m_arvore, no, imagem, true, JanelasAbertas());
}

void frmNavegador::mnuNavBanDesc_Click()
{
    if (clsNo* no = m_arvore.Selecionado())
        DesconectarNode(m_arvore, no, img::Banco, true, JanelasAbertas());
}

void frmNavegador::mnuNavRef_Click()
{
    if (clsNo* no = m_arvore.Selecionado())
        AtualizarNode(m_arvore, no);
}

void frmNavegador::mnuNavTabDet_Click()
{
    if (clsNo* no = m_arvore.Selecionado())
        CarregarDetalhesTabela(m_arvore, no, JanelasAbertas());
}

void frmNavegador::mnuNavTabEst_Click()
{
    if (clsNo* no = m_arvore.Selecionado(); no && no->Image() == img::Tabela)
        AbrirEstrutura(m_ambiente, no, false);
}

void frmNavegador::mnuNavTabCri_Click()
{
    if (clsNo* no = m_arvore.Selecionado())
        AbrirEstrutura(m_ambiente, no, true);
}

void frmNavegador::mnuNavIdxCreate_Click() { EditarIndice(m_ambiente, m_arvore.Selecionado(), true); }

void frmNavegador::mnuNavIdxOpen_Click() { EditarIndice(m_ambiente, m_arvore.Selecionado(), false); }
