#include "clsOdbcComum.h"

#include "mdlCitacao.h"
#include "mdlConsultaSimples.h"
#include "mdlDecimal.h"
#include "mdlInstanciaSql.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QTimeZone>
#include <cmath>
#include <cstring>

using namespace ado;
using namespace odbc;

namespace odbc {

// SQL Server's own ODBC types for time(n) and datetimeoffset(n).
constexpr int TipoSqlServerTime = -154;
constexpr int TipoSqlServerDateTimeOffset = -155;

int TipoCampoAdo(int t, qint64 tamanho)
{
    switch (t) {
    case SQL_CHAR: return adChar;
    case SQL_VARCHAR: return tamanho <= 0 || tamanho > 8000 ? adLongVarChar : adVarChar;
    case SQL_LONGVARCHAR: return adLongVarChar;
    case SQL_WCHAR: return adWChar;
    case SQL_WVARCHAR: return tamanho <= 0 || tamanho > 4000 ? adLongVarWChar : adVarWChar;
    case SQL_WLONGVARCHAR: return adLongVarWChar;
    case SQL_DECIMAL:
    case SQL_NUMERIC: return adNumeric;
    case SQL_SMALLINT: return adSmallInt;
    case SQL_INTEGER: return adInteger;
    case SQL_REAL: return adSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE: return adDouble;
    case SQL_BIT: return adBoolean;
    case SQL_TINYINT: return adUnsignedTinyInt;
    case SQL_BIGINT: return adBigInt;
    case SQL_BINARY: return adBinary;
    case SQL_VARBINARY: return tamanho <= 0 || tamanho > 8000 ? adLongVarBinary : adVarBinary;
    case SQL_LONGVARBINARY: return adLongVarBinary;
    case SQL_TYPE_DATE:
    case SQL_DATE: return adDBDate;
    case SQL_TYPE_TIME:
    case SQL_TIME: return adDBTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return adDBTimeStamp;
    case SQL_GUID: return adGUID;
    case TipoSqlServerTime: return adDBTime;
    case TipoSqlServerDateTimeOffset: return adDBTimeStamp; // read as text: it keeps the offset
    default: return adVarWChar;
    }
}

int TipoCatalogo(int t, const QString& nomeTipo)
{
    const QString n = nomeTipo.toLower();
    if (n == u"money" || n == u"smallmoney")
        return adCurrency;
    if (n == u"sql_variant")
        return adVariant;
    switch (t) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR: return adChar;
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR: return adWChar;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: return adBinary;
    case TipoSqlServerDateTimeOffset: return adDBTimeStamp;
    default: {
        const int a = TipoCampoAdo(t, 1);
        return a == adVarWChar ? adWChar : a;
    }
    }
}

bool TipoLongo(int t, const QString& nomeTipo, qint64 tamanho)
{
    const QString n = nomeTipo.toLower();
    if (n == u"text" || n == u"ntext" || n == u"image" || n == u"bytea")
        return true;
    switch (t) {
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_LONGVARBINARY: return true;
    case SQL_VARCHAR:
    case SQL_WVARCHAR:
    case SQL_VARBINARY: return tamanho <= 0 || tamanho > 8000;
    default: return false;
    }
}

bool TipoFixo(int t, const QString& nomeTipo)
{
    switch (t) {
    case SQL_CHAR:
    case SQL_WCHAR:
    case SQL_BINARY: return true;
    case SQL_VARCHAR:
    case SQL_WVARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: return false;
    default: return !nomeTipo.isEmpty() || t != 0;
    }
}

QList<RegistroDiag> RegistrosDiag(SQLSMALLINT tipo, SQLHANDLE handle)
{
    QList<RegistroDiag> registros;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR sqlState[6] = {0};
        SQLWCHAR msg[2048];
        SQLINTEGER nativo = 0;
        SQLSMALLINT n = 0;
        const SQLRETURN rc
            = SQLGetDiagRecW(tipo, handle, i, sqlState, &nativo, msg, SQLSMALLINT(sizeof msg / sizeof msg[0]), &n);
        if (!Ok(rc))
            break;
        registros.append({DeW(sqlState, 5), long(nativo), DeW(msg, qMin<qsizetype>(n, 2047))});
    }
    return registros;
}

ErroDados Diagnostico(SQLSMALLINT tipo, SQLHANDLE handle, const QString& padrao)
{
    const QList<RegistroDiag> registros = RegistrosDiag(tipo, handle);
    QStringList textos;
    for (const RegistroDiag& r : registros)
        textos << r.texto;
    long numero = registros.isEmpty() ? 0 : registros.first().nativo;
    const QString estado = registros.isEmpty() ? QString() : registros.first().estado;
    if (textos.isEmpty())
        textos << (padrao.isEmpty() ? QStringLiteral("Erro desconhecido do driver ODBC.") : padrao);
    // A statement or login that ran out of its time-out (PostgreSQL's own cancel for it: 57014).
    if (estado == u"HYT00" || estado == u"HYT01" || estado == u"57014") {
        textos.prepend(QStringLiteral("Tempo esgotado: o servidor não concluiu a operação dentro do tempo limite."));
        numero = ErrTempoEsgotado;
    }
    if (numero == 0)
        numero = ErrFalhaProvedor;
    return {numero, textos.join(u'\n')};
}

} // namespace odbc

clsMotorOdbc::clsMotorOdbc() : h(std::make_unique<Handles>()) {}
clsMotorOdbc::~clsMotorOdbc() { Fechar(); }

bool clsMotorOdbc::Aberto() const { return h->dbc.Conectada(); }

void clsMotorOdbc::Fechar()
{
    if (h->dbc.Conectada() && emTransacao)
        SQLEndTran(SQL_HANDLE_DBC, h->dbc.get(), SQL_ROLLBACK);
    h->dbc = Conexao();
    h->env = Ambiente();
    emTransacao = false;
}

namespace {

// psqlODBC reads a whole result into its own memory before handing out the first row, unless it is
// told to fetch through a cursor, a block of rows at a time: then a large result costs no more
// than the rows kept, and the first rows arrive at once. It also hands booleans out as characters
// unless told not to: as booleans they are check boxes. What the string says itself is kept.
QString ComCursorPostgres(const QString& odbcStr)
{
    static const QRegularExpression driver(QStringLiteral(R"((^|;)\s*Driver\s*=\s*\{?[^;}]*postgres)"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (!driver.match(odbcStr).hasMatch())
        return odbcStr;
    QString s = odbcStr;
    auto acrescentar = [&s](const char* chave, const char* valor) {
        if (s.contains(QLatin1String(chave), Qt::CaseInsensitive))
            return;
        if (!s.endsWith(u';'))
            s += u';';
        s += QLatin1String(chave) + u'=' + QLatin1String(valor);
    };
    if (!s.contains(QStringLiteral("UseDeclareFetch"), Qt::CaseInsensitive)) {
        acrescentar("UseDeclareFetch", "1");
        acrescentar("Fetch", "10000");
    }
    acrescentar("BoolsAsChar", "0");
    return s;
}

} // namespace

bool clsMotorOdbc::Conectar(const QString& odbcStrPedida, int timeoutSegundos)
{
    const QString odbcStr = ComCursorPostgres(odbcStrPedida);
    Fechar();
    if (odbcStr.size() > TamanhoMaximoConnStr)
        return Falhar(ErrFalhaProvedor,
                      QStringLiteral("A cadeia de conexão é longa demais (%1 caracteres; o limite é %2).")
                          .arg(odbcStr.size())
                          .arg(TamanhoMaximoConnStr));
    tempoLimite = timeoutSegundos;
    h->env = Ambiente::Novo();
    if (!h->env)
        return Falhar(ErrFalhaProvedor, QStringLiteral("Não foi possível iniciar o gerenciador ODBC."));
    h->dbc = Conexao::Alocar(h->env);
    if (!h->dbc)
        return Falhar(Diagnostico(h->env));
    const SQLHDBC dbc = h->dbc.get();
    // 0 would wait forever for a server that does not answer: the usual 15 seconds apply then.
    const SQLULEN espera = SQLULEN(timeoutSegundos > 0 ? timeoutSegundos : 15);
    SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(espera), 0);
    SQLSetConnectAttr(dbc, SQL_ATTR_CONNECTION_TIMEOUT, reinterpret_cast<SQLPOINTER>(espera), 0);
    if (somenteLeitura)
        SQLSetConnectAttr(dbc, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
    // No buffer for the completed string: it is never used, and some drivers write past it.
    const SQLRETURN rc = SQLDriverConnectW(dbc, nullptr, W(odbcStr), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!Ok(rc)) {
        const ErroDados e = Diagnostico(h->dbc, QStringLiteral("Não foi possível conectar."));
        Fechar();
        return Falhar(e);
    }
    h->dbc.MarcarConectada();
    SQLWCHAR info[256];
    SQLSMALLINT len = 0;
    if (Ok(SQLGetInfoW(dbc, SQL_IDENTIFIER_QUOTE_CHAR, info, sizeof info, &len)))
        aspas = DeW(info, len / 2).trimmed();
    if (Ok(SQLGetInfoW(dbc, SQL_DBMS_NAME, info, sizeof info, &len)))
        nomeSgbd = DeW(info, len / 2);
    SQLUSMALLINT caso = 0;
    if (Ok(SQLGetInfoW(dbc, SQL_QUOTED_IDENTIFIER_CASE, &caso, sizeof caso, nullptr)))
        casoCitado = caso;
    if (Ok(SQLGetInfoW(dbc, SQL_IDENTIFIER_CASE, &caso, sizeof caso, nullptr)))
        casoNaoCitado = caso;
    if (DialetoSql() == Dialeto::PostgreSql)
        LerFusoSessao();
    // Read-only is kept by the server too, not only by the check of the first keyword: a function
    // or a data-modifying WITH cannot write either.
    if (somenteLeitura && DialetoSql() == Dialeto::PostgreSql
        && !ExecutarDireto(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"))) {
        const ErroDados e = erro;
        Fechar();
        return Falhar(e);
    }
    return true;
}

QString clsMotorOdbc::TraduzirSqlServer(const clsConnStr& cs, const QString& driver)
{
    auto primeiro = [&](std::initializer_list<const char*> chaves) {
        for (const char* k : chaves)
            if (cs.Contem(QLatin1String(k)))
                return cs.Valor(QLatin1String(k));
        return QString();
    };
    clsConnStr o;
    o.Definir(QStringLiteral("Driver"), driver);
    QString servidor = primeiro({"Data Source", "Server", "Address", "Addr", "Network Address"}).trimmed();
    if (servidor.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive))
        servidor = servidor.mid(4);
    QString porta;
    const int virgula = servidor.indexOf(u',');
    if (virgula >= 0) {
        porta = servidor.mid(virgula + 1).trimmed();
        servidor = servidor.left(virgula).trimmed();
    }
    if (servidor.isEmpty() || servidor == u"." || servidor.compare(u"(local)", Qt::CaseInsensitive) == 0)
        servidor = QStringLiteral("127.0.0.1");
    else if (servidor.startsWith(QLatin1String(".\\"))
             || servidor.startsWith(QLatin1String("(local)\\"), Qt::CaseInsensitive))
        servidor = QStringLiteral("127.0.0.1") + servidor.mid(servidor.indexOf(u'\\'));
    o.Definir(QStringLiteral("Server"), servidor);
    if (!porta.isEmpty())
        o.Definir(QStringLiteral("Port"), porta);
    else if (!servidor.contains(u'\\'))
        o.Definir(QStringLiteral("Port"), QStringLiteral("1433"));
    const QString banco = primeiro({"Initial Catalog", "Database"});
    if (!banco.isEmpty())
        o.Definir(QStringLiteral("Database"), banco);
    const QString integrada = primeiro({"Integrated Security", "Trusted_Connection"}).trimmed().toLower();
    if (integrada == u"sspi" || integrada == u"true" || integrada == u"yes") {
        o.Definir(QStringLiteral("Trusted_Connection"), QStringLiteral("Yes"));
    } else {
        o.Definir(QStringLiteral("UID"), primeiro({"User ID", "UID", "User"}));
        o.Definir(QStringLiteral("PWD"), primeiro({"Password", "PWD"}));
    }
    const QString app = primeiro({"Application Name", "App"});
    if (!app.isEmpty())
        o.Definir(QStringLiteral("APP"), app);
    // A fixed protocol: left to choose, the driver falls back to the Sybase protocol after a login
    // that timed out, and that fallback can wait forever on a server that never answers.
    o.Definir(QStringLiteral("TDS_Version"),
              primeiro({"TDS_Version"}).isEmpty() ? QStringLiteral("7.4") : primeiro({"TDS_Version"}));
    o.Definir(QStringLiteral("ClientCharset"), QStringLiteral("UTF-8"));
    return o.MontarOdbc();
}

QString clsMotorOdbc::TraduzirOdbc(const clsConnStr& cs)
{
    const QString estendidas = cs.Valor(QStringLiteral("Extended Properties"));
    if (!estendidas.isEmpty())
        return estendidas;
    clsConnStr o;
    for (const auto& [k, v] : cs.Pares()) {
        if (k.compare(u"Provider", Qt::CaseInsensitive) == 0
            || k.compare(u"Persist Security Info", Qt::CaseInsensitive) == 0)
            continue;
        if (k.compare(u"User ID", Qt::CaseInsensitive) == 0)
            o.Definir(QStringLiteral("UID"), v);
        else if (k.compare(u"Password", Qt::CaseInsensitive) == 0)
            o.Definir(QStringLiteral("PWD"), v);
        else if (k.compare(u"Data Source", Qt::CaseInsensitive) == 0)
            o.Definir(QStringLiteral("DSN"), v);
        else if (k.compare(u"Initial Catalog", Qt::CaseInsensitive) == 0)
            o.Definir(QStringLiteral("Database"), v);
        else
            o.Definir(k, v);
    }
    return o.MontarOdbc();
}

bool clsMotorOdbc::Abrir(bool sqlServer, bool leituraEscrita, int timeoutSegundos)
{
    somenteLeitura = !leituraEscrita;
    this->sqlServer = sqlServer;
    if (!sqlServer)
        return Conectar(TraduzirOdbc(connStr), timeoutSegundos);
    // A named instance without a port: its port is asked here, within the login time-out, and the
    // driver gets host and port.
    clsConnStr odbc(TraduzirSqlServer(connStr));
    const QString servidor = odbc.Valor(QStringLiteral("Server"));
    const qsizetype barra = servidor.indexOf(u'\\');
    if (barra > 0 && !odbc.Contem(QStringLiteral("Port"))) {
        ErroDados e;
        const quint16 porta
            = instanciasql::PortaDaInstancia(servidor.left(barra), servidor.mid(barra + 1), timeoutSegundos, e);
        if (!porta)
            return Falhar(e);
        odbc.Definir(QStringLiteral("Server"), servidor.left(barra));
        odbc.Definir(QStringLiteral("Port"), QString::number(porta));
    }
    return Conectar(odbc.MontarOdbc(), timeoutSegundos);
}

bool clsMotorOdbc::ArquivoJetReal(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray cab = f.read(32);
    return cab.mid(4, 15) == "Standard Jet DB" || cab.mid(4, 15) == "Standard ACE DB";
}

bool clsMotorOdbc::AbrirJet(const QString& arquivo, int timeoutSegundos)
{
    somenteLeitura = true;
    clsConnStr o;
    o.Definir(QStringLiteral("Driver"), QStringLiteral("MDBTools"));
    o.Definir(QStringLiteral("DBQ"), arquivo);
    if (Conectar(o.MontarOdbc(), timeoutSegundos))
        return true;
    if (erro.descricao.contains(QLatin1String("IM002"))
        || erro.descricao.contains(QLatin1String("not found"), Qt::CaseInsensitive)
        || erro.descricao.contains(QLatin1String("can't open lib"), Qt::CaseInsensitive))
        erro.descricao = QStringLiteral("O arquivo '%1' é um banco Jet/ACE e o driver ODBC do MDBTools, que o lê, "
                                        "não está instalado.\n%2")
                             .arg(arquivo, erro.descricao);
    return false;
}

QString clsMotorOdbc::BancoPadrao() const
{
    if (!h->dbc.Conectada())
        return QString();
    SQLWCHAR buf[512];
    SQLINTEGER n = 0;
    if (!Ok(SQLGetConnectAttrW(h->dbc.get(), SQL_ATTR_CURRENT_CATALOG, buf, sizeof buf, &n)))
        return QString();
    return DeW(buf, n / 2);
}

bool clsMotorOdbc::VariasInstrucoes(const QString& sql)
{
    const qsizetype n = sql.size();
    bool depoisDoPontoEVirgula = false;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        auto ate = [&](const QString& fim) {
            const qsizetype f = sql.indexOf(fim, i + 1);
            i = f < 0 ? n : f + fim.size() - 1;
        };
        if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            ate(QStringLiteral("\n"));
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            ++i;
            ate(QStringLiteral("*/"));
        } else if (c.isSpace()) {
            continue;
        } else if (depoisDoPontoEVirgula) {
            return true;
        } else if (c == u';') {
            depoisDoPontoEVirgula = true;
        } else if (c == u'\'' || c == u'"' || c == u'[' || c == u'`') {
            // A doubled quote inside closes and reopens: the scan goes on the same way.
            ate(QString(c == u'[' ? u']' : c));
        } else if (c == u'$') {
            static const QRegularExpression marca(QStringLiteral(R"(\$[A-Za-z_]*\$)"));
            const auto m
                = marca.match(sql, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch()) {
                i += m.capturedLength() - 1;
                ate(m.captured());
            }
        }
    }
    return false;
}

bool clsMotorOdbc::ExecutarDireto(const QString& sql)
{
    const Stmt stmt = NovoStmt();
    if (!stmt)
        return false;
    const SQLRETURN rc = SQLExecDirectW(stmt.get(), W(sql), SQL_NTS);
    return Ok(rc) || rc == SQL_NO_DATA || Falhar(Diagnostico(stmt));
}

Dialeto clsMotorOdbc::DialetoSql() const
{
    if (sqlServer || nomeSgbd.contains(QLatin1String("SQL Server"), Qt::CaseInsensitive))
        return Dialeto::SqlServer;
    if (nomeSgbd.startsWith(QLatin1String("PostgreSQL"), Qt::CaseInsensitive))
        return Dialeto::PostgreSql;
    return Dialeto::Outro;
}

bool clsMotorOdbc::MesmoNome(const QString& a, const QString& b) const
{
    return a.compare(b, casoCitado == SQL_IC_SENSITIVE ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

QString clsMotorOdbc::NomeNaoCitado(const QString& nome) const
{
    if (casoNaoCitado == SQL_IC_LOWER)
        return nome.toLower();
    if (casoNaoCitado == SQL_IC_UPPER)
        return nome.toUpper();
    return nome;
}

// SQL Server's brackets; any other source with the quote its driver reports.
QString clsMotorOdbc::CitarIdentificador(const QString& nome) const
{
    QString p;
    return citacao::Citar(MotorDoProvider(connStr, p), nome, aspas);
}

Stmt clsMotorOdbc::NovoStmt(bool comTempoLimite)
{
    if (!h->dbc.Conectada()) {
        FalharFechada();
        return Stmt();
    }
    Stmt st = Stmt::Alocar(h->dbc);
    if (!st)
        Falhar(Diagnostico(h->dbc));
    else if (comTempoLimite && tempoLimite > 0)
        SQLSetStmtAttr(st.get(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(tempoLimite)), 0);
    return st;
}

bool clsMotorOdbc::IniciarTransacao()
{
    if (!h->dbc.Conectada())
        return FalharFechada();
    if (emTransacao)
        return Falhar(ErrTransacaoAtiva, QStringLiteral("Já existe uma transação em andamento."));
    if (!Ok(SQLSetConnectAttr(h->dbc.get(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
        return Falhar(Diagnostico(h->dbc));
    emTransacao = true;
    return true;
}

static bool Encerrar(const Conexao& dbc, SQLSMALLINT como)
{
    const bool ok = Ok(SQLEndTran(SQL_HANDLE_DBC, dbc.get(), como));
    SQLSetConnectAttr(dbc.get(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    return ok;
}

bool clsMotorOdbc::ConfirmarTransacao()
{
    if (!h->dbc.Conectada() || !emTransacao)
        return Falhar(ErrSemTransacao, QStringLiteral("Não há transação em andamento."));
    emTransacao = false;
    return Encerrar(h->dbc, SQL_COMMIT) || Falhar(Diagnostico(h->dbc));
}

bool clsMotorOdbc::DesfazerTransacao()
{
    if (!h->dbc.Conectada() || !emTransacao)
        return Falhar(ErrSemTransacao, QStringLiteral("Não há transação em andamento."));
    emTransacao = false;
    return Encerrar(h->dbc, SQL_ROLLBACK) || Falhar(Diagnostico(h->dbc));
}

// Marks a statement as the one running, for Interromper, while it lives.
class clsMotorOdbc::Ativo {
public:
    Ativo(clsMotorOdbc& m, SQLHSTMT st) : m(m)
    {
        std::lock_guard trava(m.mtxAtivo);
        m.stmtAtivo = st;
        m.interrompido = false;
    }
    ~Ativo()
    {
        std::lock_guard trava(m.mtxAtivo);
        m.stmtAtivo = nullptr;
    }
    // The failure of the running statement: stopped by the user, or the driver's error.
    bool Falhar(const Stmt& stmt)
    {
        if (Parado())
            return m.FalharInterrompida();
        const QList<RegistroDiag> registros = RegistrosDiag(SQL_HANDLE_STMT, stmt.get());
        if (!registros.isEmpty() && registros.first().estado.startsWith(QStringLiteral("08")))
            m.ligacaoPerdida = true;
        return m.Falhar(Diagnostico(stmt));
    }
    // The statement was cancelled, or the work it belongs to was asked to stop.
    bool Parado() const { return m.interrompido || m.PararPedido(); }

private:
    clsMotorOdbc& m;
};

void clsMotorOdbc::Interromper()
{
    std::lock_guard trava(mtxAtivo);
    if (!stmtAtivo)
        return;
    interrompido = true;
    SQLCancel(static_cast<SQLHSTMT>(stmtAtivo));
}

bool clsMotorOdbc::ConexaoPerdida()
{
    if (!h->dbc.Conectada())
        return false;
    if (ligacaoPerdida)
        return true;
    SQLUINTEGER morta = SQL_CD_FALSE;
    return Ok(SQLGetConnectAttrW(h->dbc.get(), SQL_ATTR_CONNECTION_DEAD, &morta, 0, nullptr)) && morta == SQL_CD_TRUE;
}

bool clsMotorOdbc::Executar(const QString& sql, RecordsetPtr* rs, int lockType, long* afetados)
{
    if (ExecutarInstrucao(sql, rs, lockType, afetados))
        return true;
    if (erro.numero == ErrInterrompida)
        DesfazerAposInterrupcao();
    return false;
}

// psqlODBC reads rows through a cursor inside a transaction of its own, even in autocommit: a
// cancel that lands while the driver opens or closes that cursor leaves the transaction aborted,
// and every later statement of the connection would fail until it ends. Outside a transaction of
// the caller, it is ended here; the statement's own error is what the caller sees.
void clsMotorOdbc::DesfazerAposInterrupcao()
{
    if (emTransacao || DialetoSql() != Dialeto::PostgreSql || !h->dbc.Conectada())
        return;
    const ErroDados interrupcao = erro;
    ExecutarDireto(QStringLiteral("ROLLBACK"));
    erro = interrupcao;
}

bool clsMotorOdbc::ExecutarInstrucao(const QString& sql, RecordsetPtr* rs, int lockType, long* afetados)
{
    if (rs)
        rs->reset();
    if (afetados)
        *afetados = -1;
    if (somenteLeitura
        && !QRegularExpression(QStringLiteral(R"(^\s*(SELECT|WITH|EXEC|SHOW)\b)"),
                               QRegularExpression::CaseInsensitiveOption)
                .match(sql)
                .hasMatch())
        return Falhar(ErrSemPermissao,
                      QStringLiteral("A conexão foi aberta somente para leitura: a instrução não pode "
                                     "ser executada."));
    if (somenteLeitura && VariasInstrucoes(sql))
        return Falhar(ErrSemPermissao,
                      QStringLiteral("A conexão foi aberta somente para leitura: execute uma instrução de cada "
                                     "vez."));
    // A statement before may have changed the session's default: each one starts read-only again.
    if (somenteLeitura && DialetoSql() == Dialeto::PostgreSql
        && !ExecutarDireto(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY")))
        return false;
    const Stmt stmt = NovoStmt(false);
    if (!stmt)
        return false;
    const SQLHSTMT st = stmt.get();
    Ativo ativo(*this, st);
    // A stop asked before the statement was marked as running found nothing to cancel.
    if (ativo.Parado())
        return FalharInterrompida();
    SQLRETURN rc = SQLExecDirectW(st, W(sql), SQL_NTS);
    long total = -1;
    bool ok = true;
    for (;;) {
        if (rc == SQL_ERROR || rc == SQL_INVALID_HANDLE) {
            ok = ativo.Falhar(stmt);
            break;
        }
        // Asked to stop while the statement ran, or between two of its results.
        if (ativo.Parado()) {
            ok = FalharInterrompida();
            break;
        }
        if (rc == SQL_NO_DATA) {
            total = qMax(total, 0L);
        } else {
            SQLSMALLINT colunas = 0;
            SQLNumResultCols(st, &colunas);
            if (colunas > 0) {
                if (rs && !*rs && !Preencher(stmt, rs, lockType, sql, true)) {
                    ok = false;
                    break;
                }
            } else {
                SQLLEN n = -1;
                if (Ok(SQLRowCount(st, &n)) && n >= 0)
                    total = qMax(total, 0L) + long(n);
            }
        }
        rc = SQLMoreResults(st);
        if (rc == SQL_NO_DATA)
            break;
    }
    if (!ok) {
        if (rs)
            rs->reset();
        return false;
    }
    if (afetados)
        *afetados = total;
    return true;
}

namespace {

// A column read whole as narrow text (numbers: ASCII); false for a null or a failure.
bool LerTextoC(SQLHSTMT st, SQLUSMALLINT c, QByteArray& saida)
{
    saida.clear();
    char b[256];
    for (;;) {
        SQLLEN ind = 0;
        const SQLRETURN rc = SQLGetData(st, c, SQL_C_CHAR, b, sizeof b, &ind);
        if (rc == SQL_NO_DATA)
            return true;
        if (!Ok(rc) || ind == SQL_NULL_DATA)
            return false;
        const SQLLEN cabe = SQLLEN(sizeof b) - 1;
        saida.append(b, (ind == SQL_NO_TOTAL || ind > cabe) ? cabe : ind);
        if (rc == SQL_SUCCESS)
            return true;
    }
}

} // namespace

namespace {

// A time stamp with its time zone (PostgreSQL's timestamptz): the driver's structure would drop
// the offset.
bool ComFuso(SQLHSTMT st, SQLUSMALLINT c)
{
    SQLWCHAR nome[64];
    SQLSMALLINT n = 0;
    if (!Ok(SQLColAttributeW(st, c, SQL_DESC_TYPE_NAME, nome, sizeof nome, &n, nullptr)))
        return false;
    const QString tipo = DeW(nome, qMin<qsizetype>(n / 2, 63)).toLower();
    return tipo == u"timestamptz" || tipo.contains(QLatin1String("with time zone"));
}

// The offset of the session's time zone at that wall-clock time (a time the zone repeats when its
// clocks go back reads as the first of the two).
datahora::DataHora ComFusoDaSessao(datahora::DataHora d, const QTimeZone& fuso)
{
    if (d.temFuso || !fuso.isValid())
        return d;
    const QTime hora = QTime::fromMSecsSinceStartOfDay(int(d.ns / 1000000));
    const QDateTime local(QDate::fromJulianDay(d.dia), hora, fuso);
    if (!local.isValid())
        return d;
    d.temFuso = true;
    d.fusoMin = fuso.offsetFromUtc(local) / 60;
    return d;
}

} // namespace

void clsMotorOdbc::LerFusoSessao()
{
    fusoSessao.clear();
    const Stmt stmt = NovoStmt();
    QByteArray nome;
    if (stmt && Ok(SQLExecDirectW(stmt.get(), W(QStringLiteral("SHOW TimeZone")), SQL_NTS)) && Ok(SQLFetch(stmt.get()))
        && LerTextoC(stmt.get(), 1, nome))
        fusoSessao = QString::fromUtf8(nome);
}

void clsMotorOdbc::BasesDaConsulta(clsRecordsetDados& d, const QString& sql)
{
    consulta::ConsultaSimples q;
    const bool simples = !sql.isEmpty() && consulta::Analisar(sql, q);
    auto nome = [&](const consulta::NomeSql& n) { return n.citado ? n.texto : NomeNaoCitado(n.texto); };
    QString catalogo, esquema, tabela;
    if (simples) {
        tabela = nome(q.tabela.back());
        if (q.tabela.size() >= 2)
            esquema = nome(q.tabela[q.tabela.size() - 2]);
        if (q.tabela.size() == 3)
            catalogo = nome(q.tabela[0]);
    }
    bool semBase = true;
    for (CampoInfo& f : d.campos) {
        semBase = semBase && f.tabelaBase.isEmpty();
        // The driver named the table but not its schema: the statement's schema-qualified name of
        // that table holds it; a bare name reads the session's own, where the rows go back too.
        if (simples && !f.tabelaBase.isEmpty() && f.esquemaBase.isEmpty() && MesmoNome(f.tabelaBase, tabela)) {
            f.esquemaBase = esquema;
            if (f.catalogoBase.isEmpty())
                f.catalogoBase = catalogo;
        }
    }
    if (!semBase || !simples || (!q.estrela && q.colunas.size() != d.campos.size()))
        return;
    // The driver named no base table: the statement's table, for the columns the list reads.
    for (int i = 0; i < d.campos.size(); ++i) {
        CampoInfo& f = d.campos[i];
        const QString coluna = q.estrela ? f.nome : (q.colunas[i].texto.isEmpty() ? QString() : nome(q.colunas[i]));
        if (coluna.isEmpty())
            continue;
        f.tabelaBase = tabela;
        f.esquemaBase = esquema;
        f.catalogoBase = catalogo;
        f.colunaBase = coluna;
    }
}

bool clsMotorOdbc::Preencher(const Stmt& stmt, RecordsetPtr* rs, int lockType, const QString& sql, bool emBlocos)
{
    const SQLHSTMT st = stmt.get();
    SQLSMALLINT n = 0;
    SQLNumResultCols(st, &n);
    auto d = std::make_shared<clsRecordsetDados>();
    // DataTexto: a date or time read as the driver's text, which keeps every digit and the offset.
    // DataFuso: PostgreSQL's timestamptz, in the session's time zone, whose offset it gets here.
    enum Classe { Inteiro, Real, Decimal, Data, DataTexto, DataFuso, Binario, Texto };
    std::vector<Classe> classes;
    for (SQLUSMALLINT c = 1; c <= n; ++c) {
        SQLWCHAR nome[512];
        SQLSMALLINT tamNome = 0, tipo = 0, casas = 0, anulavel = SQL_NULLABLE_UNKNOWN;
        SQLULEN tamanho = 0;
        SQLDescribeColW(st, c, nome, 512, &tamNome, &tipo, &tamanho, &casas, &anulavel);
        CampoInfo f;
        f.nome = DeW(nome, qMin<qsizetype>(tamNome, 511));
        f.tipo = TipoCampoAdo(tipo, qint64(tamanho));
        f.tamanho = TipoTexto(f.tipo) || TipoBinario(f.tipo)
                        ? (TipoLongo(tipo, QString(), qint64(tamanho)) ? 2147483647 : qint64(tamanho))
                        : TamanhoFixo(f.tipo);
        f.precisao = (f.tipo == adNumeric) ? int(tamanho) : 0;
        f.escala = casas; // for a time or time stamp: the digits of its fraction of a second
        TipoDeclarado td;
        td.fixo = TipoFixo(tipo, QString());
        td.longo = TipoLongo(tipo, QString(), qint64(tamanho));
        f.atributos = FlagsColuna(td, anulavel != SQL_NO_NULLS, !somenteLeitura);
        SQLWCHAR base[512];
        SQLSMALLINT tb = 0;
        if (Ok(SQLColAttributeW(st, c, SQL_DESC_BASE_TABLE_NAME, base, sizeof base, &tb, nullptr)))
            f.tabelaBase = DeW(base, tb / 2);
        if (Ok(SQLColAttributeW(st, c, SQL_DESC_BASE_COLUMN_NAME, base, sizeof base, &tb, nullptr)))
            f.colunaBase = DeW(base, tb / 2);
        if (!f.tabelaBase.isEmpty()) {
            if (Ok(SQLColAttributeW(st, c, SQL_DESC_SCHEMA_NAME, base, sizeof base, &tb, nullptr)))
                f.esquemaBase = DeW(base, tb / 2);
            if (Ok(SQLColAttributeW(st, c, SQL_DESC_CATALOG_NAME, base, sizeof base, &tb, nullptr)))
                f.catalogoBase = DeW(base, tb / 2);
        }
        d->campos.append(f);
        Classe k = Texto;
        if (TipoInteiro(f.tipo))
            k = Inteiro;
        else if (f.tipo == adSingle || f.tipo == adDouble)
            k = Real;
        else if (f.tipo == adNumeric)
            k = Decimal;
        else if (f.tipo == adDBTime || tipo == TipoSqlServerDateTimeOffset)
            k = DataTexto; // the time structure has no fraction, nor the time stamp an offset
        else if (TipoData(f.tipo))
            k = ComFuso(st, c) ? DataFuso : Data;
        else if (TipoBinario(f.tipo))
            k = Binario;
        classes.push_back(k);
    }
    BasesDaConsulta(*d, sql);
    if (emBlocos && entregaLinhas)
        d->DefinirEntrega(entregaLinhas);

    const QTimeZone fuso = fusoSessao.isEmpty() ? QTimeZone() : QTimeZone(fusoSessao.toUtf8());
    std::vector<SQLWCHAR> buf(4096);
    QByteArray bytes;
    std::string dec;
    SQLRETURN rc = SQL_SUCCESS;
    // The driver's cancel does not reach a fetch from a cursor: the stop flag is read every row.
    while (!PararPedido() && Ok(rc = SQLFetch(st))) {
        for (SQLUSMALLINT c = 1; c <= n; ++c) {
            const int i = c - 1;
            SQLLEN ind = 0;
            switch (classes[size_t(i)]) {
            case Inteiro: {
                SQLBIGINT v = 0;
                rc = SQLGetData(st, c, SQL_C_SBIGINT, &v, sizeof v, &ind);
                if (ind == SQL_NULL_DATA || !Ok(rc))
                    d->AcrescentarNulo(i);
                else
                    d->AcrescentarInteiro(i, v);
                break;
            }
            case Real: {
                double v = 0;
                rc = SQLGetData(st, c, SQL_C_DOUBLE, &v, sizeof v, &ind);
                if (ind == SQL_NULL_DATA || !Ok(rc))
                    d->AcrescentarNulo(i);
                else
                    d->AcrescentarReal(i, v);
                break;
            }
            case Decimal: {
                // The driver's text, every digit of it; what is not a number ("NaN") stays text.
                if (!LerTextoC(st, c, bytes))
                    d->AcrescentarNulo(i);
                else if (decimal::Normalizar(std::string_view(bytes.constData(), size_t(bytes.size())), dec))
                    d->AcrescentarDecimal(i, dec.data(), dec.size());
                else
                    d->AcrescentarTexto(i, bytes.constData(), size_t(bytes.size()));
                break;
            }
            case Data: {
                SQL_TIMESTAMP_STRUCT ts{};
                rc = SQLGetData(st, c, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &ind);
                if (ind == SQL_NULL_DATA || !Ok(rc)) {
                    d->AcrescentarNulo(i);
                    break;
                }
                datahora::DataHora dh;
                dh.dia = QDate(ts.year, ts.month, ts.day).toJulianDay();
                dh.ns = ((int64_t(ts.hour) * 60 + ts.minute) * 60 + ts.second) * 1000000000LL + ts.fraction;
                dh.forma = d->campos[i].tipo == adDBDate ? datahora::Forma::SoData : datahora::Forma::DataHora;
                d->AcrescentarDataHora(i, dh);
                break;
            }
            case DataTexto:
            case DataFuso: {
                datahora::DataHora dh;
                if (!LerTextoC(st, c, bytes))
                    d->AcrescentarNulo(i);
                else if (datahora::LerIso(std::string_view(bytes.constData(), size_t(bytes.size())), dh))
                    d->AcrescentarDataHora(i, classes[size_t(i)] == DataFuso ? ComFusoDaSessao(dh, fuso) : dh);
                else
                    d->AcrescentarTexto(i, bytes.constData(), size_t(bytes.size())); // "infinity", a BC date
                break;
            }
            case Binario: {
                bytes.clear();
                char b[8192];
                for (;;) {
                    rc = SQLGetData(st, c, SQL_C_BINARY, b, sizeof b, &ind);
                    if (rc == SQL_NO_DATA || !Ok(rc) || ind == SQL_NULL_DATA)
                        break;
                    const SQLLEN veio = (ind == SQL_NO_TOTAL || ind > SQLLEN(sizeof b)) ? SQLLEN(sizeof b) : ind;
                    bytes.append(b, veio);
                    if (rc == SQL_SUCCESS)
                        break;
                }
                if (ind == SQL_NULL_DATA)
                    d->AcrescentarNulo(i);
                else
                    d->AcrescentarBinario(i, bytes.constData(), size_t(bytes.size()));
                break;
            }
            case Texto: {
                // Most values fit the buffer at once and go straight to the store.
                QString longo;
                bool nulo = false, guardado = false;
                for (;;) {
                    rc = SQLGetData(st, c, SQL_C_WCHAR, buf.data(), SQLLEN(buf.size() * sizeof(SQLWCHAR)), &ind);
                    if (rc == SQL_NO_DATA || !Ok(rc))
                        break;
                    if (ind == SQL_NULL_DATA) {
                        nulo = true;
                        break;
                    }
                    const qsizetype cabe = qsizetype(buf.size()) - 1;
                    const qsizetype veio = (ind == SQL_NO_TOTAL || ind / 2 > cabe) ? cabe : qsizetype(ind / 2);
                    if (rc == SQL_SUCCESS && longo.isEmpty()) {
                        const QByteArray u = QStringView(reinterpret_cast<const char16_t*>(buf.data()), veio).toUtf8();
                        d->AcrescentarTexto(i, u.constData(), size_t(u.size()));
                        guardado = true;
                        break;
                    }
                    longo += DeW(buf.data(), veio);
                    if (rc == SQL_SUCCESS)
                        break;
                }
                if (guardado)
                    break;
                if (nulo) {
                    d->AcrescentarNulo(i);
                } else {
                    const QByteArray u = longo.toUtf8();
                    d->AcrescentarTexto(i, u.constData(), size_t(u.size()));
                }
                break;
            }
            }
        }
        d->FecharLinha();
    }
    if (PararPedido() || (rc == SQL_ERROR && interrompido)) {
        d->EntregarBloco();
        return FalharInterrompida();
    }
    if (rc == SQL_ERROR)
        return Falhar(Diagnostico(stmt));
    d->DefinirEntrega({});
    d->motor = shared_from_this();
    d->fonte = sql;
    *rs = clsRecordset::Criar(std::move(d), somenteLeitura ? adLockReadOnly : lockType);
    return true;
}

bool clsMotorOdbc::ExecutarComParametros(const QString& sql,
                                         const std::vector<QVariant>& valores,
                                         long& afetados,
                                         RecordsetPtr* linhas)
{
    afetados = 0;
    if (linhas)
        linhas->reset();
    if (somenteLeitura)
        return Falhar(ErrSemPermissao, QStringLiteral("A conexão foi aberta somente para leitura."));
    // Buffers bound to the statement: declared before it, so they outlive it.
    std::vector<QString> textos(valores.size());
    std::vector<QByteArray> binarios(valores.size());
    std::vector<QByteArray> decimais(valores.size());
    std::vector<SQLBIGINT> inteiros(valores.size());
    std::vector<double> reais(valores.size());
    std::vector<SQL_TIMESTAMP_STRUCT> datas(valores.size());
    std::vector<unsigned char> bits(valores.size());
    std::vector<SQLLEN> ind(valores.size());
    const Stmt stmt = NovoStmt();
    if (!stmt)
        return false;
    const SQLHSTMT st = stmt.get();
    bool ok = Ok(SQLPrepareW(st, W(sql), SQL_NTS)) || Falhar(Diagnostico(stmt));
    for (size_t i = 0; ok && i < valores.size(); ++i) {
        const QVariant& v = valores[i];
        const SQLUSMALLINT k = SQLUSMALLINT(i + 1);
        SQLRETURN rc;
        if (v.isNull()) {
            ind[i] = SQL_NULL_DATA;
            rc = SQLBindParameter(st, k, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 1, 0, nullptr, 0, &ind[i]);
        } else if (v.metaType() == QMetaType::fromType<decimal::Parametro>()) {
            // A decimal travels as its digits, declared with its own precision and scale.
            decimais[i] = v.value<decimal::Parametro>().texto;
            const std::string_view t(decimais[i].constData(), size_t(decimais[i].size()));
            ind[i] = SQLLEN(decimais[i].size());
            rc = SQLBindParameter(st,
                                  k,
                                  SQL_PARAM_INPUT,
                                  SQL_C_CHAR,
                                  SQL_NUMERIC,
                                  SQLULEN(decimal::Precisao(t)),
                                  SQLSMALLINT(decimal::Escala(t)),
                                  decimais[i].data(),
                                  ind[i],
                                  &ind[i]);
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
                bits[i] = v.toBool() ? 1 : 0;
                ind[i] = 0;
                rc = SQLBindParameter(st, k, SQL_PARAM_INPUT, SQL_C_BIT, SQL_BIT, 1, 0, &bits[i], 0, &ind[i]);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
                inteiros[i] = v.toLongLong();
                ind[i] = 0;
                if (inteiros[i] >= INT32_MIN && inteiros[i] <= INT32_MAX) {
                    // Most columns are 32-bit: bound as such, comparisons need no widening.
                    rc = SQLBindParameter(st,
                                          k,
                                          SQL_PARAM_INPUT,
                                          SQL_C_SBIGINT,
                                          SQL_INTEGER,
                                          10,
                                          0,
                                          &inteiros[i],
                                          0,
                                          &ind[i]);
                } else {
                    rc = SQLBindParameter(st,
                                          k,
                                          SQL_PARAM_INPUT,
                                          SQL_C_SBIGINT,
                                          SQL_BIGINT,
                                          19,
                                          0,
                                          &inteiros[i],
                                          0,
                                          &ind[i]);
                }
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                reais[i] = v.toDouble();
                ind[i] = 0;
                rc = SQLBindParameter(st, k, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 15, 0, &reais[i], 0, &ind[i]);
                break;
            case QMetaType::QDateTime:
            case QMetaType::QDate: {
                const QDateTime d
                    = v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : v.toDateTime();
                SQL_TIMESTAMP_STRUCT& t = datas[i];
                t.year = SQLSMALLINT(d.date().year());
                t.month = SQLUSMALLINT(d.date().month());
                t.day = SQLUSMALLINT(d.date().day());
                t.hour = SQLUSMALLINT(d.time().hour());
                t.minute = SQLUSMALLINT(d.time().minute());
                t.second = SQLUSMALLINT(d.time().second());
                t.fraction = SQLUINTEGER(d.time().msec()) * 1000000u;
                ind[i] = 0;
                rc = SQLBindParameter(st,
                                      k,
                                      SQL_PARAM_INPUT,
                                      SQL_C_TYPE_TIMESTAMP,
                                      SQL_TYPE_TIMESTAMP,
                                      23,
                                      3,
                                      &t,
                                      0,
                                      &ind[i]);
                break;
            }
            case QMetaType::QByteArray:
                binarios[i] = v.toByteArray();
                ind[i] = SQLLEN(binarios[i].size());
                rc = SQLBindParameter(st,
                                      k,
                                      SQL_PARAM_INPUT,
                                      SQL_C_BINARY,
                                      binarios[i].size() > 8000 ? SQL_LONGVARBINARY : SQL_VARBINARY,
                                      SQLULEN(qMax<qsizetype>(binarios[i].size(), 1)),
                                      0,
                                      binarios[i].data(),
                                      SQLLEN(binarios[i].size()),
                                      &ind[i]);
                break;
            default:
                textos[i] = v.toString();
                ind[i] = SQLLEN(textos[i].size() * 2);
                rc = SQLBindParameter(st,
                                      k,
                                      SQL_PARAM_INPUT,
                                      SQL_C_WCHAR,
                                      textos[i].size() > 4000 ? SQL_WLONGVARCHAR : SQL_WVARCHAR,
                                      SQLULEN(qMax<qsizetype>(textos[i].size(), 1)),
                                      0,
                                      W(textos[i]),
                                      SQLLEN(textos[i].size() * 2),
                                      &ind[i]);
                break;
            }
        }
        ok = Ok(rc) || Falhar(Diagnostico(stmt));
    }
    if (!ok)
        return false;
    // Every result of the statement (a batch on SQL Server): the counts add up, the first rows
    // are kept.
    Ativo ativo(*this, st);
    for (SQLRETURN rc = SQLExecute(st);; rc = SQLMoreResults(st)) {
        if (rc == SQL_NO_DATA)
            break;
        if (!Ok(rc))
            return ativo.Falhar(stmt);
        SQLSMALLINT colunas = 0;
        SQLNumResultCols(st, &colunas);
        if (colunas > 0 && linhas && !*linhas) {
            if (!Preencher(stmt, linhas, adLockReadOnly, QString()))
                return false;
        } else if (colunas == 0) {
            SQLLEN n = 0;
            if (Ok(SQLRowCount(st, &n)) && n > 0)
                afetados += long(n);
        }
    }
    return true;
}

bool clsMotorOdbc::ExecutarComAvisos(const QString& sql, const std::function<void(const QString&)>& aviso)
{
    const odbc::Stmt stmt = NovoStmt(false);
    if (!stmt)
        return false;
    SQLRETURN rc = SQLExecDirectW(stmt.get(), W(sql), SQL_NTS);
    // Each result of the batch may carry its own messages; its rows are not wanted.
    while (rc != SQL_NO_DATA) {
        if (rc == SQL_SUCCESS_WITH_INFO && aviso)
            for (const odbc::RegistroDiag& r : odbc::RegistrosDiag(SQL_HANDLE_STMT, stmt.get()))
                aviso(r.texto);
        if (!Ok(rc))
            return interrompido ? FalharInterrompida() : Falhar(Diagnostico(stmt));
        rc = SQLMoreResults(stmt.get());
    }
    return true;
}

namespace {
// A cell as the text (or, for a binary column, the bytes) it is written with.
void TextoDaCelula(const clsRecordsetDados& bloco,
                   Celula v,
                   clsMotor::FormaData forma,
                   QString& texto,
                   QByteArray& bytes)
{
    std::string buffer;
    uint32_t n = 0;
    switch (v.marca) {
    case Marca::Nulo: break;
    case Marca::Texto:
        if (forma == clsMotor::FormaData::Binario) {
            const char* p = bloco.Bytes(v, n);
            bytes = QByteArray(p, qsizetype(n));
        } else {
            texto = bloco.Texto(v);
        }
        break;
    case Marca::Binario: {
        const char* p = bloco.Bytes(v, n);
        bytes = QByteArray(p, qsizetype(n));
        if (forma != clsMotor::FormaData::Binario)
            texto = QString::fromLatin1("\\x" + bytes.toHex());
        break;
    }
    case Marca::Inteiro: texto = QString::number(qlonglong(v.carga)); break;
    case Marca::Real:
    case Marca::Decimal: {
        const std::string_view t = bloco.TextoDecimal(v, buffer);
        if (!t.empty()) {
            texto = QString::fromLatin1(t.data(), qsizetype(t.size()));
        } else {
            double d;
            std::memcpy(&d, &v.carga, 8);
            texto = std::isnan(d) ? QStringLiteral("NaN")
                    : d > 0       ? QStringLiteral("Infinity")
                                  : QStringLiteral("-Infinity");
        }
        break;
    }
    case Marca::Data:
        texto = TextoDataGravada(int64_t(v.carga),
                                 forma == clsMotor::FormaData::Binario ? clsMotor::FormaData::Natural : forma);
        break;
    }
}
} // namespace

namespace {
// A column's values of a set of rows as PostgreSQL's text of an array: each value quoted ('"' and
// '\\' escaped), a missing one NULL; a binary column's bytes in the "\\x…" hex form.
void ArrayDaColuna(const clsRecordsetDados& bloco,
                   int c,
                   uint32_t ini,
                   uint32_t k,
                   clsMotor::FormaData forma,
                   QString& saida,
                   QString& texto,
                   QByteArray& bytes)
{
    saida.clear();
    saida += u'{';
    for (uint32_t i = 0; i < k; ++i) {
        if (i)
            saida += u',';
        const Celula v = bloco.Ler(ini + i, c);
        if (v.marca == Marca::Nulo) {
            saida += QStringLiteral("NULL");
            continue;
        }
        texto.clear();
        bytes.clear();
        TextoDaCelula(bloco, v, forma, texto, bytes);
        if (forma == clsMotor::FormaData::Binario)
            texto = QStringLiteral("\\x") + QString::fromLatin1(bytes.toHex());
        saida += u'"';
        // The text as it is up to each '"' or '\\', which go escaped.
        qsizetype de = 0;
        for (qsizetype i = 0; i < texto.size(); ++i) {
            const QChar ch = texto.at(i);
            if (ch == u'"' || ch == u'\\') {
                saida += QStringView(texto).mid(de, i - de);
                saida += u'\\';
                de = i;
            }
        }
        saida += QStringView(texto).mid(de);
        saida += u'"';
    }
    saida += u'}';
}
} // namespace

bool clsMotorOdbc::InserirLinhas(const QString& sql,
                                 const clsRecordsetDados& bloco,
                                 uint32_t de,
                                 uint32_t qtde,
                                 const std::vector<FormaData>& formas,
                                 uint32_t& falhou)
{
    falhou = de;
    if (somenteLeitura)
        return Falhar(ErrSemPermissao, QStringLiteral("A conexão foi aberta somente para leitura."));
    const int n = bloco.QtdeCampos();
    // psqlODBC runs each row of a parameter array as a statement of its own, a round trip each: a
    // set of rows goes to the server as one array per column instead, in one statement.
    constexpr uint32_t Lote = 2000;
    // A set of rows whose values would take more than this goes row by row.
    constexpr qsizetype MaiorConjunto = qsizetype(64) << 20;
    const Stmt stmt = NovoStmt();
    if (!stmt)
        return false;
    const SQLHSTMT st = stmt.get();
    if (!Ok(SQLPrepareW(st, W(sql), SQL_NTS)))
        return Falhar(Diagnostico(stmt));
    std::vector<QString> arrays(static_cast<size_t>(n));
    std::vector<SQLLEN> ind(static_cast<size_t>(n));
    QString texto;
    QByteArray bytes;
    const auto executar = [&](uint32_t ini, uint32_t k) {
        for (int c = 0; c < n; ++c) {
            const FormaData forma = size_t(c) < formas.size() ? formas[size_t(c)] : FormaData::Natural;
            QString& a = arrays[size_t(c)];
            ArrayDaColuna(bloco, c, ini, k, forma, a, texto, bytes);
            ind[size_t(c)] = a.size() * 2;
            const SQLRETURN rc = SQLBindParameter(st,
                                                  SQLUSMALLINT(c + 1),
                                                  SQL_PARAM_INPUT,
                                                  SQL_C_WCHAR,
                                                  SQL_WLONGVARCHAR,
                                                  SQLULEN(a.size()),
                                                  0,
                                                  const_cast<ushort*>(a.utf16()),
                                                  ind[size_t(c)],
                                                  &ind[size_t(c)]);
            if (!Ok(rc))
                return Falhar(Diagnostico(stmt));
        }
        Ativo ativo(*this, st);
        SQLRETURN rc = SQLExecute(st);
        while (Ok(rc))
            rc = SQLMoreResults(st);
        if (rc != SQL_NO_DATA)
            return ativo.Falhar(stmt);
        return !ativo.Parado() || FalharInterrompida();
    };
    for (uint32_t ini = de; ini < de + qtde; ini += Lote) {
        if (PararPedido())
            return FalharInterrompida();
        const uint32_t k = qMin(Lote, de + qtde - ini);
        qsizetype soma = 0;
        for (int c = 0; c < n && soma <= MaiorConjunto; ++c)
            for (uint32_t i = 0; i < k; ++i) {
                const Celula v = bloco.Ler(ini + i, c);
                if (v.marca == Marca::Texto || v.marca == Marca::Binario) {
                    uint32_t t;
                    bloco.Bytes(v, t);
                    soma += qsizetype(t) * 4;
                }
            }
        // The server does not tell which row of a set it refused: a refused set is undone to a
        // savepoint and written again row by row, up to the row refused. A set too large goes row
        // by row at once.
        if (k > 1 && soma <= MaiorConjunto) {
            if (emTransacao && !ExecutarDireto(QStringLiteral("SAVEPOINT quarrix_lote")))
                return false;
            if (executar(ini, k)) {
                if (emTransacao && !ExecutarDireto(QStringLiteral("RELEASE SAVEPOINT quarrix_lote")))
                    return false;
                continue;
            }
            if (!emTransacao || erro.numero == ErrInterrompida)
                return false;
            const ErroDados doLote = erro;
            if (!ExecutarDireto(QStringLiteral("ROLLBACK TO SAVEPOINT quarrix_lote")))
                return false;
            erro = doLote;
        }
        for (uint32_t i = 0; i < k; ++i) {
            falhou = ini + i;
            if (!executar(ini + i, 1))
                return false;
        }
    }
    return true;
}
