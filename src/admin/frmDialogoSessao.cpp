#include "frmDialogoSessao.h"

#include "connections/clsData.h"
#include "connections/clsSqlDmoSessao.h"
#include "platform/mdlGlobais.h"

frmDialogoSessao::frmDialogoSessao(clsAmbienteDados& ambiente, QWidget* pai) : QDialog(pai), m_ambiente(ambiente) {}

frmDialogoSessao::~frmDialogoSessao() = default;

void frmDialogoSessao::setConnectionString(const QString& connStr)
{
    PecasSqlDmo pecas;
    m_sessao = AbrirSqlDmo(m_ambiente, connStr, true, &pecas);
    m_login = pecas.usuario;
}

bool frmDialogoSessao::DataLoaded() const { return m_sessao != nullptr; }

void frmDialogoSessao::Concluir(const QString& mensagem, const QString& aviso)
{
    m_sucesso = mensagem.isEmpty();
    if (!m_sucesso) {
        m_ambiente.Prompt().MsgBox(mensagem, vb::Critical, globais::TituloAplicativo());
        return;
    }
    m_ambiente.Prompt().MsgBox(aviso, vb::Information, globais::TituloAplicativo());
    accept();
}
