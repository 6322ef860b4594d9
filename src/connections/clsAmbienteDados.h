#pragma once
// What the data layer takes from the program it runs in: the prompt, the options in force, the
// working folders, and the makers of the web-service client and of the SQL Server management
// session. The program makes one context in main() (tests make their own) and hands it down; the
// navigator and the windows extend it. Nothing here is process-wide.
#include "clsSqlDmoSessao.h"
#include "clsWebServiceDataBase.h"
#include "platform/clsPrompt.h"

#include <QHash>
#include <QString>
#include <memory>
#include <mutex>

// The options kept between runs (loaded from section "Opcoes") and the flags of the running program.
struct clsOpcoes {
    bool CheckBeforeSql = false;
    bool PassoPasso = false;
    bool IntellisenseLista = false;
    bool AbrirExecutando = false;
    bool Focalizar = false;
    bool GuardarConfig = false;
    qint16 TimeOut = 0;
    // Toggled by the tools menu, never stored: connecting then checks the providers.
    bool VerificarDllsNaConexao = false;
    // The "Hide System Objects" check of the navigator's database menu.
    bool OcultarObjetosSistema = true;
};

class clsAmbienteDados {
public:
    // The context uses `prompt` for as long as it lives (the caller keeps it alive).
    explicit clsAmbienteDados(clsPrompt& prompt);
    // The context owns `prompt`; null gives the silent prompt.
    explicit clsAmbienteDados(std::unique_ptr<clsPrompt> prompt);
    virtual ~clsAmbienteDados();
    clsAmbienteDados(const clsAmbienteDados&) = delete;
    clsAmbienteDados& operator=(const clsAmbienteDados&) = delete;

    clsPrompt& Prompt() const { return *m_prompt; }
    clsOpcoes& Opcoes() { return m_opcoes; }
    const clsOpcoes& Opcoes() const { return m_opcoes; }

    // The per-day working folder and the folder the file dialogs start in.
    QString pastaTemporaria;
    QString pastaDocumentos;

    // Makers of the clients a connection opens. Empty: the program's own (the SOAP client, and the
    // ODBC management session), both told the TimeOut option.
    FabricaWebServiceData fabricaWebService;
    // Access keys of web services given during this run, by address (the remembered ones are in
    // the settings). Connections opening on worker threads read them: any thread may call these.
    QString ChaveWebService(const QString& url) const;
    void GuardarChaveWebService(const QString& url, const QString& chave);
    void EsquecerChaveWebService(const QString& url);
    FabricaSqlDmo fabricaSqlDmo;
    std::unique_ptr<clsWebServiceDataBase> CriarWebServiceData() const;
    std::unique_ptr<clsSqlDmoSessao> CriarSqlDmoSessao() const;

private:
    std::unique_ptr<clsPrompt> m_proprio;
    clsPrompt* m_prompt;
    clsOpcoes m_opcoes;
    mutable std::mutex m_travaChaves;
    QHash<QString, QString> m_chavesWebService; // under m_travaChaves
};
