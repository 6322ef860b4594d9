#include "clsAmbienteDados.h"

#include "clsSqlDmoSessaoOdbc.h"
#include "clsWebServiceData.h"
#include "platform/mdlGlobais.h"

clsAmbienteDados::clsAmbienteDados(clsPrompt& prompt) : m_prompt(&prompt)
{
    pastaTemporaria = globais::PastaTemporariaDoDia();
    pastaDocumentos = globais::PastaDocumentosUsuario();
}

clsAmbienteDados::clsAmbienteDados(std::unique_ptr<clsPrompt> prompt)
    : m_proprio(prompt ? std::move(prompt) : std::make_unique<clsPromptSilencioso>()), m_prompt(m_proprio.get())
{
    pastaTemporaria = globais::PastaTemporariaDoDia();
    pastaDocumentos = globais::PastaDocumentosUsuario();
}

clsAmbienteDados::~clsAmbienteDados() = default;

std::unique_ptr<clsWebServiceDataBase> clsAmbienteDados::CriarWebServiceData() const
{
    if (fabricaWebService)
        return fabricaWebService();
    return std::make_unique<clsWebServiceData>(m_opcoes.TimeOut);
}

std::unique_ptr<clsSqlDmoSessao> clsAmbienteDados::CriarSqlDmoSessao() const
{
    if (fabricaSqlDmo)
        return fabricaSqlDmo();
    return std::make_unique<clsSqlDmoSessaoOdbc>(m_opcoes.TimeOut);
}

QString clsAmbienteDados::ChaveWebService(const QString& url) const
{
    std::lock_guard trava(m_travaChaves);
    return m_chavesWebService.value(url);
}

void clsAmbienteDados::GuardarChaveWebService(const QString& url, const QString& chave)
{
    std::lock_guard trava(m_travaChaves);
    m_chavesWebService.insert(url, chave);
}

void clsAmbienteDados::EsquecerChaveWebService(const QString& url)
{
    std::lock_guard trava(m_travaChaves);
    m_chavesWebService.remove(url);
}
