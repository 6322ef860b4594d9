#pragma once
// The one object through which the program talks to a database: a direct connection (file
// databases, SQL Server, custom ODBC sources), the SQL Server management session, or a database
// published by the web service. No operation raises: failures return false (or empty, or 0) and
// leave their text in ErrMsg ("Err:" + number + "\n" + description, then "\nConnStr:" + string
// with its passwords masked, or "\nQuerie:" + statement), shown in a critical message box when
// the caller asks.
#include "clsAmbienteDados.h"
#include "platform/clsMotor.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <memory>

// Connection types.
namespace tipoconexao {
enum : int { Fechada = 0, Access = 2, OleDb = 4, WebAccess = 8, WebSql = 16 };
}

// Schema kinds of OpenSchema.
namespace tiposchema {
enum : int {
    Tabelas = 2,
    Colunas = 4,
    ChavesPrimarias = 8,
    ChavesEstrangeiras = 16,
    Views = 32,
    Funcoes = 64,
    Procedures = 128,
    BancosDados = 256,
    Indices = 512,
    Triggers = 1024,
};
}

class clsData {
public:
    // Prompts, options and the makers of clients come from `ambiente`, which outlives the object.
    explicit clsData(clsAmbienteDados& ambiente);
    ~clsData();
    clsData(const clsData&) = delete;
    clsData& operator=(const clsData&) = delete;

    // The browser window that shows the client-library download page, when one was opened.
    QPointer<QObject> objWeb;

    bool OpenConnection(const QString& strConnectionString, bool blnReadAndWrite = true, bool blnShowErrMsg = true);
    bool OpenSqlDmoServer(bool blnShowErrMsg = true);
    void CloseConnection();
    bool OpenRecordset(RecordsetPtr& rstRecordset,
                       const QString& strSql,
                       bool blnReadAndWrite = false,
                       bool blnUpdateBatch = false,
                       bool blnShowErrMsg = true);
    QVariant RetValue(const QString& strSql);
    bool ExecSql(const QString& strSql,
                 bool blnShowErrMsg,
                 bool blnReturnInRecordset,
                 RecordsetPtr& rstRecordset,
                 long& lngAfectedRecords);
    // The statement alone, without result set or count.
    bool ExecSql(const QString& strSql, bool blnShowErrMsg = true);
    // The restrictions of OpenSchema by name; those not set are no restriction.
    struct FiltroSchema {
        QString tabela; // strTableName
        QString tipo; // strTableType ("TABLE", "VIEW")
        QString outraTabela; // strOtherTableName: the referenced table of foreign keys
        QString view; // strViewName
        QString indice; // strIndexName
        bool ocultarSistema = false; // blnHideSystemObjects
        QString esquema; // the schema of the table, view or index named (empty: any)
    };
    bool OpenSchema(int intSchema, RecordsetPtr& rstRecordset, const FiltroSchema& filtro, bool blnShowErrMsg = true)
    {
        return OpenSchema(intSchema,
                          rstRecordset,
                          filtro.tabela,
                          filtro.tipo,
                          filtro.outraTabela,
                          filtro.view,
                          blnShowErrMsg,
                          filtro.indice,
                          filtro.ocultarSistema,
                          filtro.esquema);
    }
    bool OpenSchema(int intSchema,
                    RecordsetPtr& rstRecordset,
                    const QString& strTableName = QString(),
                    const QString& strTableType = QString(),
                    const QString& strOtherTableName = QString(),
                    const QString& strViewName = QString(),
                    bool blnShowErrMsg = true,
                    const QString& strIndexName = QString(),
                    bool blnHideSystemObjects = false,
                    const QString& strSchema = QString());
    // Return false (and set ErrMsg) when the connection refuses.
    bool TransactionBegin();
    bool TransactionCommit();
    bool TransactionRollback();
    bool ColumnIsIdentity(const QString& strTableName, const QString& strColumnName);
    qint32 IdentitySeed(const QString& strTableName);
    qint32 IdentityIncrement(const QString& strTableName);

    QString ErrMsg() const { return errMsg; }
    // The last failure as a value (number, description, origin); ErrMsg is its text for the user.
    const ErroDados& Erro() const { return erro; }
    void setErrMsg(const QString& v) { errMsg = v; }
    QString ConnectionString() const { return connectionString; }
    void setConnectionString(const QString& v) { connectionString = v; }
    QString Server() const { return server; }
    void setServer(const QString& v) { server = v; }
    QString Database() const { return database; }
    void setDatabase(const QString& v) { database = v; }
    QString User() const { return user; }
    void setUser(const QString& v) { user = v; }
    qint32 ConnectionType() const { return connectionType; }
    void setConnectionType(qint32 v) { connectionType = v; }
    std::shared_ptr<clsMotor> ActiveConnection() const { return activeConnection; }
    void setActiveConnection(std::shared_ptr<clsMotor> v) { activeConnection = std::move(v); }
    std::shared_ptr<clsSqlDmoSessao> SqlDmoServer() const { return sqlDmoServer; }
    void setSqlDmoServer(std::shared_ptr<clsSqlDmoSessao> v) { sqlDmoServer = std::move(v); }
    clsWebServiceDataBase* objWebService() const { return webService.get(); }
    clsAmbienteDados& Ambiente() const { return amb; }
    QString Provider() const;

    // The catalog statements sent to SQL Server (names are put between apostrophes with embedded
    // apostrophes doubled).
    static QString SqlView(const QString& strViewName);
    static QString SqlViews(bool blnHideSystemObjects);
    static QString SqlFuncoes();
    static QString SqlProcedures(bool blnHideSystemObjects);
    static QString SqlBancosDados();
    static QString SqlTriggers(const QString& strTableName);
    // The same lists from PostgreSQL's own catalog.
    static QString SqlFuncoesPostgres();
    static QString SqlProceduresPostgres(bool blnHideSystemObjects);
    static QString SqlTriggersPostgres(const QString& strTableName, const QString& strSchema = QString());
    // The triggers of one table of a schema on SQL Server.
    static QString SqlTriggersEsquema(const QString& strSchema, const QString& strTableName);
    static QString SqlTriggersSqlite(const QString& strTableName);
    // Whether the open connection reaches a PostgreSQL server (through its ODBC driver).
    bool PostgreSql() const;
    // Whether the open connection is a custom ODBC source (any driver but SQL Server's), whose
    // views, routines and indexes are read through the driver's catalog functions.
    bool CatalogoOdbc() const;
    static QString SqlColumnIsIdentity(const QString& strTableName, const QString& strColumnName);

    // Shows the last failure's message, as a call asked to show it would have.
    void MostrarErro() { Mostrar(true); }
    // The connection goes through a web service (no engine of its own).
    bool Web() const
    {
        return webService && (connectionType == tipoconexao::WebAccess || connectionType == tipoconexao::WebSql);
    }
    // For a runner's worker: the web-service connection as an engine sharing this object's client
    // (null when the connection is not a web service's). While the worker runs, the caller leaves
    // this object alone.
    std::shared_ptr<clsMotor> MotorWeb() const;
    // The access key the next web-service opening tries first (one the user just typed), and
    // whether to remember it once the service takes it.
    void DefinirChaveWebService(const QString& chave, bool lembrar)
    {
        chaveWebDada = chave;
        lembrarChaveWebDada = lembrar;
    }
    // Whether the last web-service opening failed because the service refused the key.
    bool ChaveWebRecusada() const { return webService && webService->ChaveRecusada(); }
    // Asks the user for a web service's access key (the login window, its password being the key).
    static bool PedirChaveWebService(clsAmbienteDados& amb, QString& chave, bool& lembrar);

private:
    void Falha(const ErroDados& e, const QString& sufixo, bool mostrar);
    // A failure of the web-service client, whose text is already the service's own.
    void FalhaWeb(bool mostrar);
    void Mostrar(bool mostrar);
    bool ExigirConexao(const QString& sufixo, bool mostrar);
    QString TipoWebComChave(const QString& url);
    bool Statement(const QString& sql, RecordsetPtr& rs, bool mostrar);

    clsAmbienteDados& amb;
    ErroDados erro;
    QString errMsg;
    QString connectionString;
    QString server, database, user;
    qint32 connectionType = tipoconexao::Fechada;
    std::shared_ptr<clsMotor> activeConnection;
    std::shared_ptr<clsSqlDmoSessao> sqlDmoServer;
    std::shared_ptr<clsWebServiceDataBase> webService;
    QString chaveWebDada;
    bool lembrarChaveWebDada = false;
};

// "Err:" + number + "\n" + description: the text every error of the data layer begins with.
QString TextoErrMsg(const ErroDados& erro);

// The pieces of a SQL Server connection string a management session connects with: those that
// begin "Data Source=", "Initial Catalog=", "User ID=", "Password=", and "Integrated Security=SSPI".
struct PecasSqlDmo {
    QString servidor, banco, usuario, senha;
    bool integrada = false;
};
PecasSqlDmo LerPecasSqlDmo(const QString& connStr);
// A management session connected with the pieces of `strConnStr`; null on failure, with the
// server's reason in `erro`.
std::unique_ptr<clsSqlDmoSessao>
ConectarSqlDmo(clsAmbienteDados& ambiente, const QString& strConnStr, ErroDados& erro, PecasSqlDmo* pecas = nullptr);
// The same, the error shown when asked.
std::unique_ptr<clsSqlDmoSessao>
AbrirSqlDmo(clsAmbienteDados& ambiente, const QString& strConnStr, bool blnShowErrMsg, PecasSqlDmo* pecas = nullptr);

// "Provider=Microsoft.Jet.OLEDB.4.0; Data Source= …;User Id=…;JET OLEDB:Database Password=…;Persist Security Info=True;"
// Whether a connection string is a web service's address (http:// or https://).
bool ConexaoWeb(const QString& connStr);
QString MontarConnStrAccess(const QString& strPath, const QString& strUser, const QString& strPassword);
// "Provider=SQLOLEDB.1;Persist Security Info=False;Initial Catalog=…;Data Source=…;" + login part.
QString MontarConnStrSql(const QString& strServer,
                         const QString& strDatabase,
                         const QString& strUser,
                         const QString& strPassword,
                         bool blnIntegrated);

// The page where the web-service client libraries can be downloaded.
extern const char* const UrlDownloadWebService;
