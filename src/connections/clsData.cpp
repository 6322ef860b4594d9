#include "clsData.h"

#include "clsMotorWebService.h"

#include "platform/clsConnStr.h"
#include "platform/clsMotorOdbc.h"
#include "platform/clsPrompt.h"
#include "platform/clsSettings.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlSenhasGuardadas.h"

const char* const UrlDownloadWebService = "https://www.quarrix.com.br/downloads/webservice";

namespace {

// A text spliced between apostrophes: embedded apostrophes doubled, so it cannot end the literal.
QString Literal(const QString& s) { return QString(s).replace(u'\'', QStringLiteral("''")); }

} // namespace

bool ConexaoWeb(const QString& connStr)
{
    const QString inicio = connStr.left(8).toLower();
    return inicio.startsWith(QLatin1String("http://")) || inicio.startsWith(QLatin1String("https://"));
}

QString MontarConnStrAccess(const QString& strPath, const QString& strUser, const QString& strPassword)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; ") + QStringLiteral("Data Source= ")
           + CitarValorOleDb(strPath) + QStringLiteral(";") + QStringLiteral("User Id=") + CitarValorOleDb(strUser)
           + QStringLiteral(";") + QStringLiteral("JET OLEDB:Database Password=") + CitarValorOleDb(strPassword)
           + QStringLiteral(";") + QStringLiteral("Persist Security Info=True;");
}

QString MontarConnStrSql(const QString& strServer,
                         const QString& strDatabase,
                         const QString& strUser,
                         const QString& strPassword,
                         bool blnIntegrated)
{
    QString s = QStringLiteral("Provider=SQLOLEDB.1;") + QStringLiteral("Persist Security Info=False;")
                + QStringLiteral("Initial Catalog=") + CitarValorOleDb(strDatabase) + QStringLiteral(";")
                + QStringLiteral("Data Source=") + CitarValorOleDb(strServer) + QStringLiteral(";");
    if (blnIntegrated) {
        s += QStringLiteral("Integrated Security=SSPI");
    } else {
        s += QStringLiteral("User ID=") + CitarValorOleDb(strUser);
        if (!strPassword.isEmpty())
            s += QStringLiteral(";") + QStringLiteral("Password=") + CitarValorOleDb(strPassword);
    }
    return s;
}

clsData::clsData(clsAmbienteDados& ambiente) : amb(ambiente) {}

clsData::~clsData() { CloseConnection(); }

void clsData::Mostrar(bool mostrar)
{
    // On a worker thread the error is kept for the caller, who shows it.
    if (mostrar && NaLinhaDasJanelas())
        amb.Prompt().MsgBox(errMsg, vb::Critical, globais::TituloAplicativo());
}

QString TextoErrMsg(const ErroDados& erro)
{
    return QStringLiteral("Err:") + QString::number(erro.numero) + u'\n' + erro.descricao;
}

void clsData::Falha(const ErroDados& e, const QString& sufixo, bool mostrar)
{
    erro = e;
    errMsg = TextoErrMsg(e) + sufixo;
    Mostrar(mostrar);
}

void clsData::FalhaWeb(bool mostrar)
{
    erro = webService->Erro();
    errMsg = webService->ErrMsg();
    Mostrar(mostrar);
}

bool clsData::ExigirConexao(const QString& sufixo, bool mostrar)
{
    if (activeConnection && activeConnection->Aberto())
        return true;
    Falha({ado::ErrSemConexao,
           QStringLiteral("A conexão não pode ser usada para executar esta operação: ela está fechada."),
           OrigemErro::Programa},
          sufixo,
          mostrar);
    return false;
}

std::shared_ptr<clsMotor> clsData::MotorWeb() const
{
    if (!Web())
        return nullptr;
    return std::make_shared<clsMotorWebService>(webService, connectionType == tipoconexao::WebSql);
}

QString clsData::Provider() const
{
    if (connectionType == tipoconexao::WebAccess || connectionType == tipoconexao::WebSql)
        return QStringLiteral("WebService");
    return activeConnection ? activeConnection->Provider() : QString();
}

// The service's type, asked with the key the caller gave (DefinirChaveWebService), else the one
// given for its address during this run, else the remembered one. A refused key is forgotten; on
// the windows' thread the user is then asked for one (the login window, its password being the
// key) until the service takes it or the user gives up, while a worker's refused key fails the
// connection (ChaveWebRecusada) for its caller to ask. A key taken is kept for the run, and in the
// settings, scrambled as the saved passwords are, when the user asked to remember it.
QString clsData::TipoWebComChave(const QString& url)
{
    const QString secao = QStringLiteral("AutoLogin");
    const QString ajuste = QStringLiteral("WebChave:") + url;
    QString chave = chaveWebDada;
    bool lembrar = lembrarChaveWebDada;
    if (chave.isEmpty())
        chave = amb.ChaveWebService(url);
    if (chave.isEmpty())
        chave = senhas::Ler(secao, ajuste);
    webService->setChave(chave);
    QString tipo = webService->ConnectionType();
    while (tipo.isEmpty() && webService->ChaveRecusada()) {
        if (!chave.isEmpty()) {
            amb.EsquecerChaveWebService(url);
            senhas::Apagar(secao, ajuste);
        }
        chave.clear();
        if (!NaLinhaDasJanelas() || !PedirChaveWebService(amb, chave, lembrar))
            break;
        webService->setChave(chave);
        tipo = webService->ConnectionType();
    }
    if (tipo.isEmpty() || chave.isEmpty())
        return tipo;
    amb.GuardarChaveWebService(url, chave);
    if (lembrar)
        senhas::Gravar(secao, ajuste, chave);
    return tipo;
}

bool clsData::PedirChaveWebService(clsAmbienteDados& amb, QString& chave, bool& lembrar)
{
    QString usuario;
    chave.clear();
    lembrar = false;
    return amb.Prompt().PedirUsuarioSenha(usuario, chave, lembrar) && !chave.isEmpty();
}

bool clsData::OpenConnection(const QString& strConnectionString, bool blnReadAndWrite, bool blnShowErrMsg)
{
    connectionType = tipoconexao::Fechada;
    connectionString = strConnectionString;
    const QString sufixo = QStringLiteral("\nConnStr:") + MascararSenha(strConnectionString);
    if (ConexaoWeb(strConnectionString)) {
        webService = amb.CriarWebServiceData();
        if (!webService) {
            Falha({ado::ErrProprio,
                   QStringLiteral("O acesso a bancos de dados via WebService não está disponível nesta instalação."),
                   OrigemErro::Programa},
                  sufixo,
                  blnShowErrMsg);
            return false;
        }
        if (!webService->DllCheck()) {
            erro = webService->Erro();
            errMsg = webService->ErrMsg();
            if (blnShowErrMsg && NaLinhaDasJanelas()
                && amb.Prompt().MsgBox(errMsg + u'\n' + QStringLiteral("Deseja baixá-las agora de nosso site ?"),
                                       vb::YesNo | vb::Question,
                                       globais::TituloAplicativo())
                       == vb::Yes) {
                objWeb = amb.Prompt().AbrirNavegador(QString::fromLatin1(UrlDownloadWebService));
            }
            return false;
        }
        webService->setWebServiceUrl(strConnectionString);
        const QString tipo = TipoWebComChave(strConnectionString);
        if (tipo.isEmpty()) {
            // The client's reason (no answer, a redirect loop, a page that is not a service) follows.
            QString texto = QStringLiteral("Não foi possivel acessar o WebService. Verifique se o endereço está "
                                           "correto e se sua conexão está ativa");
            if (!webService->ErrMsg().isEmpty())
                texto += u'\n' + webService->ErrMsg();
            Falha({ado::ErrProprio, texto, OrigemErro::WebService}, sufixo, blnShowErrMsg);
            return false;
        }
        connectionType = tipo == u"SQL" ? tipoconexao::WebSql : tipoconexao::WebAccess;
        return true;
    }
    if (activeConnection)
        activeConnection->Fechar();
    activeConnection.reset();
    ErroDados erro;
    activeConnection = AbrirMotor(strConnectionString, blnReadAndWrite, amb.Opcoes().TimeOut, erro);
    if (!activeConnection) {
        Falha(erro, sufixo, blnShowErrMsg);
        return false;
    }
    connectionType = activeConnection->Provider().left(19).compare(u"Microsoft.Jet.OLEDB", Qt::CaseInsensitive) == 0
                         ? tipoconexao::Access
                         : tipoconexao::OleDb;
    return true;
}

PecasSqlDmo LerPecasSqlDmo(const QString& connStr)
{
    // Keys as the connection builder writes them; a value quoted there reads back whole.
    QList<QPair<QString, QString>> pares;
    clsConnStr::LerPares(connStr, pares);
    PecasSqlDmo p;
    for (const auto& [chave, valor] : pares) {
        if (chave == u"Data Source")
            p.servidor = valor;
        else if (chave == u"Initial Catalog")
            p.banco = valor;
        else if (chave == u"User ID")
            p.usuario = valor;
        else if (chave == u"Password")
            p.senha = valor;
        else if (chave == u"Integrated Security" && valor == u"SSPI")
            p.integrada = true;
    }
    return p;
}

std::unique_ptr<clsSqlDmoSessao>
ConectarSqlDmo(clsAmbienteDados& ambiente, const QString& strConnStr, ErroDados& erro, PecasSqlDmo* pecas)
{
    const PecasSqlDmo p = LerPecasSqlDmo(strConnStr);
    if (pecas)
        *pecas = p;
    std::unique_ptr<clsSqlDmoSessao> sessao = ambiente.CriarSqlDmoSessao();
    sessao->LoginSecure = p.integrada;
    if (sessao->Connect(p.servidor, p.usuario, p.senha))
        return sessao;
    erro = sessao->Erro();
    return nullptr;
}

std::unique_ptr<clsSqlDmoSessao>
AbrirSqlDmo(clsAmbienteDados& ambiente, const QString& strConnStr, bool blnShowErrMsg, PecasSqlDmo* pecas)
{
    ErroDados erro;
    std::unique_ptr<clsSqlDmoSessao> sessao = ConectarSqlDmo(ambiente, strConnStr, erro, pecas);
    if (!sessao && blnShowErrMsg && NaLinhaDasJanelas())
        ambiente.Prompt().MsgBox(erro.descricao, vb::Critical, globais::TituloAplicativo());
    return sessao;
}

bool clsData::OpenSqlDmoServer(bool blnShowErrMsg)
{
    if (!activeConnection && !OpenConnection(connectionString, true, true))
        return false;
    if (connectionType != tipoconexao::OleDb)
        return true;
    // Pieces the string lacks keep what the object held.
    const PecasSqlDmo pecas = LerPecasSqlDmo(connectionString);
    for (auto [membro, valor] : {std::pair{&server, pecas.servidor}, {&database, pecas.banco}, {&user, pecas.usuario}})
        if (!valor.isEmpty())
            *membro = valor;
    std::shared_ptr<clsSqlDmoSessao> sessao = amb.CriarSqlDmoSessao();
    sessao->LoginSecure = pecas.integrada;
    if (!sessao->Connect(server, user, pecas.senha)) {
        sqlDmoServer.reset();
        Falha(sessao->Erro(), QString(), blnShowErrMsg);
        return false;
    }
    sqlDmoServer = sessao;
    return true;
}

void clsData::CloseConnection()
{
    if (sqlDmoServer)
        sqlDmoServer->DisConnect();
    sqlDmoServer.reset();
    if (activeConnection)
        activeConnection->Fechar();
    activeConnection.reset();
    webService.reset();
    connectionType = tipoconexao::Fechada;
}

bool clsData::OpenRecordset(RecordsetPtr& rstRecordset,
                            const QString& strSql,
                            bool blnReadAndWrite,
                            bool blnUpdateBatch,
                            bool blnShowErrMsg)
{
    const QString sufixo = QStringLiteral("\nQuerie:") + strSql;
    if (Web()) {
        if (webService->OpenDataset(rstRecordset, strSql))
            return true;
        FalhaWeb(blnShowErrMsg);
        return false;
    }
    rstRecordset.reset();
    if (!ExigirConexao(sufixo, blnShowErrMsg))
        return false;
    const int trava
        = blnReadAndWrite ? (blnUpdateBatch ? ado::adLockBatchOptimistic : ado::adLockOptimistic) : ado::adLockReadOnly;
    RecordsetPtr rs;
    if (!activeConnection->Executar(strSql, &rs, trava, nullptr)) {
        Falha(activeConnection->Erro(), sufixo, blnShowErrMsg);
        return false;
    }
    // A statement without rows gives a closed recordset, as the provider does.
    rstRecordset = rs ? rs : std::make_shared<clsRecordset>();
    return true;
}

QVariant clsData::RetValue(const QString& strSql)
{
    RecordsetPtr rs;
    return OpenRecordset(rs, strSql, false, false, true) ? PrimeiroValor(rs) : QVariant();
}

bool clsData::ExecSql(const QString& strSql, bool blnShowErrMsg)
{
    RecordsetPtr rs;
    long n = 0;
    return ExecSql(strSql, blnShowErrMsg, false, rs, n);
}

bool clsData::ExecSql(const QString& strSql,
                      bool blnShowErrMsg,
                      bool blnReturnInRecordset,
                      RecordsetPtr& rstRecordset,
                      long& lngAfectedRecords)
{
    const QString sufixo = QStringLiteral("\nQuerie:") + strSql;
    if (Web()) {
        if (blnReturnInRecordset) {
            if (webService->OpenDataset(rstRecordset, strSql)) {
                if (rstRecordset && rstRecordset->State() != ado::adStateOpen)
                    rstRecordset.reset(); // a statement without rows
                return true;
            }
            // A data set that came back and could not be rebuilt is the answer: the statement is
            // not sent again as a command.
            if (webService->Erro().origem == OrigemErro::DataSet) {
                FalhaWeb(blnShowErrMsg);
                return false;
            }
        }
        rstRecordset.reset();
        if (webService->ExecSql(strSql))
            return true;
        FalhaWeb(blnShowErrMsg);
        return false;
    }
    rstRecordset.reset();
    lngAfectedRecords = 0;
    if (!ExigirConexao(sufixo, blnShowErrMsg))
        return false;
    // The statement runs once: its rows come back when it has any, else the count it changed.
    RecordsetPtr rs;
    long afetados = -1;
    if (!activeConnection->Executar(strSql,
                                    blnReturnInRecordset ? &rs : nullptr,
                                    ado::adLockBatchOptimistic,
                                    &afetados)) {
        Falha(activeConnection->Erro(), sufixo, blnShowErrMsg);
        return false;
    }
    lngAfectedRecords = afetados < 0 ? 0 : afetados;
    if (rs && rs->State() == ado::adStateOpen)
        rstRecordset = rs;
    return true;
}

bool clsData::Statement(const QString& sql, RecordsetPtr& rs, bool mostrar)
{
    if (!activeConnection->Executar(sql, &rs, ado::adLockReadOnly, nullptr)) {
        rs.reset();
        Falha(activeConnection->Erro(), QString(), mostrar);
        return false;
    }
    if (!rs)
        rs = std::make_shared<clsRecordset>();
    return true;
}

namespace {
// An empty read-only list with these text columns.
RecordsetPtr ListaDeNomes(const QStringList& colunas)
{
    auto rs = std::make_shared<clsRecordset>();
    for (const QString& c : colunas)
        rs->AppendField(c, ado::adVarWChar, 128);
    rs->Open();
    return rs;
}

// The functions among the routines of an ODBC Procedures rowset, by name.
RecordsetPtr FuncoesDasRotinas(clsRecordset& rotinas)
{
    auto rs = ListaDeNomes({QStringLiteral("FUNCTION_NAME"), QStringLiteral("FUNCTION_SCHEMA")});
    for (rotinas.MoveFirst(); !rotinas.Eof(); rotinas.MoveNext())
        if (rotinas.Valor(QStringLiteral("PROCEDURE_TYPE")).toInt() == tipoprocedure::Funcao)
            AcrescentarLinhaRowset(*rs,
                                   {{"FUNCTION_NAME", rotinas.Valor(QStringLiteral("PROCEDURE_NAME"))},
                                    {"FUNCTION_SCHEMA", rotinas.Valor(QStringLiteral("PROCEDURE_SCHEMA"))}});
    ConcluirRowset(*rs);
    rs->setSort(QStringLiteral("FUNCTION_NAME"));
    return rs;
}
} // namespace

bool clsData::OpenSchema(int intSchema,
                         RecordsetPtr& rstRecordset,
                         const QString& strTableName,
                         const QString& strTableType,
                         const QString& strOtherTableName,
                         const QString& strViewName,
                         bool blnShowErrMsg,
                         const QString& strIndexName,
                         bool blnHideSystemObjects,
                         const QString& strSchema)
{
    if (Web()) {
        if (webService->OpenSchema(rstRecordset, intSchema, strTableName, strTableType, strOtherTableName, strViewName))
            return true;
        FalhaWeb(blnShowErrMsg);
        return false;
    }
    rstRecordset.reset();
    if (!ExigirConexao(QString(), blnShowErrMsg))
        return false;
    auto rowset = [&](SchemaOleDb s, const QStringList& restricoes) {
        if (activeConnection->Schema(s, restricoes, rstRecordset))
            return true;
        rstRecordset.reset();
        Falha(activeConnection->Erro(), QString(), blnShowErrMsg);
        return false;
    };
    const QString nada, e = strSchema;
    switch (intSchema) {
    case tiposchema::Tabelas:
        if (!strTableType.isEmpty())
            return rowset(SchemaOleDb::Tabelas, {nada, nada, nada, strTableType});
        if (!rowset(SchemaOleDb::Tabelas, {}))
            return false;
        rstRecordset->setSort(QStringLiteral("TABLE_NAME"));
        return true;
    case tiposchema::Colunas: return rowset(SchemaOleDb::Colunas, {nada, e, strTableName, nada});
    case tiposchema::ChavesPrimarias: return rowset(SchemaOleDb::ChavesPrimarias, {nada, e, strTableName});
    case tiposchema::ChavesEstrangeiras:
        return rowset(SchemaOleDb::ChavesEstrangeiras,
                      {nada,
                       strOtherTableName.isEmpty() ? nada : e,
                       strOtherTableName,
                       nada,
                       strTableName.isEmpty() ? nada : e,
                       strTableName});
    case tiposchema::Views:
        // A custom ODBC source lists its views through the driver's catalog function.
        if (connectionType == tipoconexao::OleDb && !CatalogoOdbc()) {
            if (!strViewName.isEmpty())
                return Statement(SqlView(strViewName), rstRecordset, blnShowErrMsg);
            return Statement(SqlViews(blnHideSystemObjects), rstRecordset, blnShowErrMsg);
        }
        return rowset(SchemaOleDb::Tabelas, {nada, e, strViewName, QStringLiteral("VIEW")});
    case tiposchema::Funcoes:
        if (PostgreSql())
            return Statement(SqlFuncoesPostgres(), rstRecordset, blnShowErrMsg);
        if (CatalogoOdbc()) {
            if (!rowset(SchemaOleDb::Procedures, {}))
                return false;
            rstRecordset = FuncoesDasRotinas(*rstRecordset);
            return true;
        }
        return Statement(SqlFuncoes(), rstRecordset, blnShowErrMsg);
    case tiposchema::Procedures:
        if (PostgreSql())
            return Statement(SqlProceduresPostgres(blnHideSystemObjects), rstRecordset, blnShowErrMsg);
        if (CatalogoOdbc()) {
            if (!rowset(SchemaOleDb::Procedures, {}))
                return false;
            rstRecordset->setFilter(QStringLiteral("PROCEDURE_TYPE <> %1").arg(tipoprocedure::Funcao));
            rstRecordset->setSort(QStringLiteral("PROCEDURE_NAME"));
            return true;
        }
        return Statement(SqlProcedures(blnHideSystemObjects), rstRecordset, blnShowErrMsg);
    case tiposchema::BancosDados: return Statement(SqlBancosDados(), rstRecordset, blnShowErrMsg);
    case tiposchema::Indices: return rowset(SchemaOleDb::Indices, {nada, e, strIndexName, nada, strTableName});
    case tiposchema::Triggers:
        if (PostgreSql())
            return Statement(SqlTriggersPostgres(strTableName, e), rstRecordset, blnShowErrMsg);
        // A SQLite file (an Access-kind connection) keeps its triggers in sqlite_schema.
        if (connectionType == tipoconexao::Access && activeConnection
            && activeConnection->DialetoSql() == Dialeto::Sqlite)
            return Statement(SqlTriggersSqlite(strTableName), rstRecordset, blnShowErrMsg);
        if (CatalogoOdbc()) {
            // ODBC has no call for triggers: the folder stays empty.
            rstRecordset = ListaDeNomes({QStringLiteral("TRIGGER_NAME")});
            return true;
        }
        return Statement(e.isEmpty() ? SqlTriggers(strTableName) : SqlTriggersEsquema(e, strTableName),
                         rstRecordset,
                         blnShowErrMsg);
    default: return true;
    }
}

bool clsData::TransactionBegin()
{
    if (Web())
        return true;
    if (!ExigirConexao(QString(), false))
        return false;
    if (activeConnection->IniciarTransacao())
        return true;
    Falha(activeConnection->Erro(), QString(), false);
    return false;
}

bool clsData::TransactionCommit()
{
    if (Web())
        return true;
    if (!ExigirConexao(QString(), false))
        return false;
    if (activeConnection->ConfirmarTransacao())
        return true;
    Falha(activeConnection->Erro(), QString(), false);
    return false;
}

bool clsData::TransactionRollback()
{
    if (Web())
        return true;
    if (!ExigirConexao(QString(), false))
        return false;
    if (activeConnection->DesfazerTransacao())
        return true;
    Falha(activeConnection->Erro(), QString(), false);
    return false;
}

bool clsData::ColumnIsIdentity(const QString& strTableName, const QString& strColumnName)
{
    if (connectionType != tipoconexao::OleDb && connectionType != tipoconexao::WebSql)
        return false;
    return RetValue(SqlColumnIsIdentity(strTableName, strColumnName)).toLongLong() > 0;
}

qint32 clsData::IdentitySeed(const QString& strTableName)
{
    if (connectionType != tipoconexao::OleDb && connectionType != tipoconexao::WebSql)
        return 0;
    return RetValue(QStringLiteral("SELECT IDENT_SEED('") + Literal(strTableName) + QStringLiteral("')")).toInt();
}

qint32 clsData::IdentityIncrement(const QString& strTableName)
{
    if (connectionType != tipoconexao::OleDb && connectionType != tipoconexao::WebSql)
        return 0;
    return RetValue(QStringLiteral("SELECT IDENT_INCR('") + Literal(strTableName) + QStringLiteral("')")).toInt();
}

// ---------------------------------------------------------------- statements

QString clsData::SqlView(const QString& strViewName)
{
    QString nome = strViewName;
    const int ponto = nome.indexOf(u'.');
    if (ponto >= 0)
        nome = nome.mid(ponto + 1); // the owner prefix is dropped
    return QStringLiteral("SELECT sysObjects.Name As VIEW_NAME, sysComments.Text As VIEW_DEFINITION ")
           + QStringLiteral("FROM sysObjects ")
           + QStringLiteral("LEFT JOIN sysComments On sysComments.id = sysObjects.id ")
           + QStringLiteral("WHERE sysObjects.name = '") + Literal(nome) + QStringLiteral("'");
}

QString clsData::SqlViews(bool blnHideSystemObjects)
{
    return QStringLiteral("SELECT TABLE_NAME, TABLE_SCHEMA, [Type] As TABLE_TYPE ") + QStringLiteral("FROM (")
           + QStringLiteral("SELECT TABLE_NAME, ") + QStringLiteral("TABLE_SCHEMA, ")
           + QStringLiteral("Case When OBJECTPROPERTY ( OBJECT_ID(TABLE_NAME), 'IsMsShipped' ) = 1 Then 'SYSTEM' Else "
                            "'USER' End As [Type] ")
           + QStringLiteral("FROM INFORMATION_SCHEMA.VIEWS ") + QStringLiteral(") As Sub ")
           + (blnHideSystemObjects ? QStringLiteral("WHERE [Type] = 'USER' ") : QString())
           + QStringLiteral("ORDER BY TABLE_NAME");
}

QString clsData::SqlFuncoes()
{
    return QStringLiteral("SELECT sysObjects.Name as FUNCTION_NAME FROM sysObjects WHERE Type = 'FN' OR Type = 'TF' "
                          "ORDER BY sysObjects.Name");
}

QString clsData::SqlProcedures(bool blnHideSystemObjects)
{
    return QStringLiteral("SELECT Name As PROCEDURE_NAME, [Type] As PROCEDURE_TYPE, [Schema] As PROCEDURE_SCHEMA ")
           + QStringLiteral("FROM (") + QStringLiteral("SELECT sysObjects.Name, ")
           + QStringLiteral("Case When OBJECTPROPERTY ( sysObjects.Id, 'IsMsShipped' ) = 1 Then 'SYSTEM' Else 'USER' "
                            "End As [Type], ")
           + QStringLiteral("sysUsers.Name as [Schema] ") + QStringLiteral("FROM sysObjects ")
           + QStringLiteral("LEFT JOIN sysUsers on (sysUsers.uId = sysObjects.uId) ")
           + QStringLiteral("WHERE Type = 'P' ") + QStringLiteral(") As Sub ")
           + (blnHideSystemObjects ? QStringLiteral("WHERE [Type] = 'USER' ") : QString())
           + QStringLiteral("ORDER BY Name");
}

QString clsData::SqlBancosDados()
{
    return QStringLiteral("SELECT Name FROM master..sysDatabases WHERE Name <> 'master' ORDER BY Name");
}

QString clsData::SqlTriggers(const QString& strTableName)
{
    return QStringLiteral("SELECT sysObjects.Name As TRIGGER_NAME ") + QStringLiteral("FROM sysObjects ")
           + QStringLiteral("WHERE sysObjects.Type = 'TR' And ")
           + QStringLiteral("sysObjects.parent_obj In (SELECT sysObjects.Id ") + QStringLiteral("FROM sysObjects ")
           + QStringLiteral("WHERE ")
           + (strTableName.isEmpty()
                  ? QString()
                  : QStringLiteral("sysObjects.Name = '") + Literal(strTableName) + QStringLiteral("' And "))
           + QStringLiteral("( sysObjects.Type = 'U' Or sysObjects.Type = 'S' ))");
}

bool clsData::PostgreSql() const
{
    const auto* odbc = dynamic_cast<const clsMotorOdbc*>(activeConnection.get());
    return odbc && odbc->Sgbd().startsWith(QStringLiteral("PostgreSQL"), Qt::CaseInsensitive);
}

bool clsData::CatalogoOdbc() const
{
    const auto* odbc = dynamic_cast<const clsMotorOdbc*>(activeConnection.get());
    return odbc && !odbc->Sgbd().contains(QStringLiteral("SQL Server"), Qt::CaseInsensitive);
}

namespace {
// PostgreSQL's routines of one kind ('f' function, 'p' procedure), with the schema they live in.
QString RotinasPostgres(const char* tipo, const QString& campoNome, const QString& campoEsquema)
{
    return QStringLiteral("SELECT p.proname AS \"") + campoNome + QStringLiteral("\", n.nspname AS \"") + campoEsquema
           + QStringLiteral("\", CASE WHEN n.nspname IN ('pg_catalog', 'information_schema') THEN 'SYSTEM' ELSE "
                            "'USER' END AS \"TIPO\" FROM pg_catalog.pg_proc p JOIN pg_catalog.pg_namespace n ON "
                            "n.oid = p.pronamespace WHERE p.prokind = '")
           + QString::fromUtf8(tipo) + u'\'';
}
const QString EsquemasDoSistema = QStringLiteral(" AND n.nspname NOT IN ('pg_catalog', 'information_schema')");
} // namespace

QString clsData::SqlFuncoesPostgres()
{
    // The system's own functions are thousands: only the user's are listed.
    return RotinasPostgres("f", QStringLiteral("FUNCTION_NAME"), QStringLiteral("FUNCTION_SCHEMA")) + EsquemasDoSistema
           + QStringLiteral(" ORDER BY 1");
}

QString clsData::SqlProceduresPostgres(bool blnHideSystemObjects)
{
    return QStringLiteral("SELECT \"PROCEDURE_NAME\", \"PROCEDURE_SCHEMA\", \"TIPO\" AS \"PROCEDURE_TYPE\" FROM (")
           + RotinasPostgres("p", QStringLiteral("PROCEDURE_NAME"), QStringLiteral("PROCEDURE_SCHEMA"))
           + (blnHideSystemObjects ? EsquemasDoSistema : QString()) + QStringLiteral(") AS sub ORDER BY 1");
}

QString clsData::SqlTriggersEsquema(const QString& strSchema, const QString& strTableName)
{
    const QString objeto = u'[' + QString(strSchema).replace(u']', QStringLiteral("]]")) + QStringLiteral("].[")
                           + QString(strTableName).replace(u']', QStringLiteral("]]")) + u']';
    return QStringLiteral("SELECT name AS TRIGGER_NAME FROM sys.triggers WHERE parent_id = OBJECT_ID(N'")
           + Literal(objeto) + QStringLiteral("') ORDER BY name");
}

QString clsData::SqlTriggersPostgres(const QString& strTableName, const QString& strSchema)
{
    return QStringLiteral("SELECT t.tgname AS \"TRIGGER_NAME\" FROM pg_catalog.pg_trigger t JOIN pg_catalog.pg_class c "
                          "ON c.oid = t.tgrelid JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
                          "WHERE NOT t.tgisinternal")
           + (strTableName.isEmpty() ? QString() : QStringLiteral(" AND c.relname = '") + Literal(strTableName) + u'\'')
           + (strSchema.isEmpty() ? QString() : QStringLiteral(" AND n.nspname = '") + Literal(strSchema) + u'\'')
           + QStringLiteral(" ORDER BY 1");
}

QString clsData::SqlTriggersSqlite(const QString& strTableName)
{
    return QStringLiteral("SELECT name AS \"TRIGGER_NAME\" FROM sqlite_schema WHERE type = 'trigger'")
           + (strTableName.isEmpty()
                  ? QString()
                  : QStringLiteral(" AND tbl_name = '") + Literal(strTableName) + QStringLiteral("' COLLATE NOCASE"))
           + QStringLiteral(" ORDER BY 1");
}

QString clsData::SqlColumnIsIdentity(const QString& strTableName, const QString& strColumnName)
{
    return QStringLiteral("SELECT Count(*) ") + QStringLiteral("FROM sysColumns ") + QStringLiteral("WHERE Name = '")
           + Literal(strColumnName) + QStringLiteral("' And ") + QStringLiteral("Status & 128 = 128 And ")
           + QStringLiteral("Id = (SELECT Id ") + QStringLiteral("FROM sysObjects ") + QStringLiteral("WHERE Name = '")
           + Literal(strTableName) + QStringLiteral("') ");
}
