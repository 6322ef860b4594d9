#include "clsMotor.h"

#include "clsMotorOdbc.h"
#include "clsMotorSqlite.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

using namespace ado;

TipoMotor MotorDoProvider(const clsConnStr& cs, QString& provider)
{
    provider = cs.Valor(QStringLiteral("Provider"));
    const QString p = provider.trimmed();
    if (p.isEmpty()) {
        if (cs.Contem(QStringLiteral("Driver")) || cs.Contem(QStringLiteral("DSN"))
            || cs.Contem(QStringLiteral("FileDSN"))) {
            provider = QStringLiteral("MSDASQL"); // ODBC is the provider of a string without one
            return TipoMotor::Odbc;
        }
        return TipoMotor::Nenhum;
    }
    auto comeca = [&](const char* t) { return p.startsWith(QLatin1String(t), Qt::CaseInsensitive); };
    if (comeca("Microsoft.Jet.OLEDB") || comeca("Microsoft.ACE.OLEDB"))
        return TipoMotor::ArquivoJet;
    if (comeca("SQLOLEDB") || comeca("SQLNCLI") || comeca("MSOLEDBSQL"))
        return TipoMotor::SqlServer;
    if (comeca("MSDASQL"))
        return TipoMotor::Odbc;
    return TipoMotor::Nenhum;
}

std::shared_ptr<clsMotor>
AbrirMotor(const QString& connectionString, bool leituraEscrita, int timeoutSegundos, ErroDados& erro)
{
    clsConnStr cs;
    if (!cs.Analisar(connectionString)) {
        erro = {ErrFalhaProvedor, QStringLiteral("A cadeia de conexão está malformada (aspas não fechadas).")};
        return nullptr;
    }
    QString provider;
    const TipoMotor tipo = MotorDoProvider(cs, provider);
    std::shared_ptr<clsMotor> m;
    bool ok = false;
    switch (tipo) {
    case TipoMotor::Nenhum:
        erro = {ErrProvedorInexistente,
                provider.isEmpty()
                    ? QStringLiteral("A cadeia de conexão não informa o provedor (Provider).")
                    : QStringLiteral("Provedor não encontrado. Ele pode não estar instalado corretamente: '%1'.")
                          .arg(provider)};
        return nullptr;
    case TipoMotor::ArquivoJet: {
        const QString arquivo = cs.Valor(QStringLiteral("Data Source"));
        if (clsMotorOdbc::ArquivoJetReal(arquivo)) {
            auto o = std::make_shared<clsMotorOdbc>();
            o->connStr = cs;
            o->provider = provider;
            ok = o->AbrirJet(arquivo, timeoutSegundos);
            m = o;
        } else {
            auto s = std::make_shared<clsMotorSqlite>();
            s->connStr = cs;
            s->provider = provider;
            s->DefinirTempoLimite(timeoutSegundos);
            ok = s->Abrir(arquivo, leituraEscrita);
            m = s;
        }
        break;
    }
    case TipoMotor::SqlServer:
    case TipoMotor::Odbc: {
        auto o = std::make_shared<clsMotorOdbc>();
        o->connStr = cs;
        o->provider = provider;
        ok = o->Abrir(tipo == TipoMotor::SqlServer, leituraEscrita, timeoutSegundos);
        m = o;
        break;
    }
    }
    if (!ok) {
        erro = m->Erro();
        return nullptr;
    }
    return m;
}

bool CriarBancoArquivo(const QString& caminho, ErroDados& erro)
{
    if (QFileInfo::exists(caminho)) {
        erro = {ErrJaExiste, QStringLiteral("O banco de dados já existe: '%1'.").arg(caminho)};
        return false;
    }
    clsMotorSqlite m;
    if (!m.Criar(caminho)) {
        erro = m.Erro();
        return false;
    }
    m.Fechar();
    return true;
}

QString clsMotor::EsquemaPadrao()
{
    const char* sql = nullptr;
    switch (DialetoSql()) {
    case Dialeto::Sqlite: return QStringLiteral("main");
    case Dialeto::SqlServer: sql = "SELECT SCHEMA_NAME()"; break;
    case Dialeto::PostgreSql: sql = "SELECT current_schema()"; break;
    case Dialeto::Outro: return {};
    }
    const ErroDados guardado = erro;
    RecordsetPtr rs;
    QString r;
    if (Executar(QString::fromLatin1(sql), &rs, 1, nullptr) && rs && !rs->Eof())
        r = rs->Valor(0).toString();
    erro = guardado;
    return r;
}

QString TextoDataGravada(int64_t ms, clsMotor::FormaData forma)
{
    // Written from the day and the milliseconds alone: no clock of this machine (its time zone)
    // is asked, which would cost a look at the zone's file for every value.
    int64_t dia = ms / 86400000LL, resto = ms % 86400000LL;
    if (resto < 0) {
        resto += 86400000LL;
        --dia;
    }
    const QDate data = QDate::fromJulianDay(dia);
    const int r = int(resto);
    // Digits written by hand: this runs for every date of a bulk copy.
    char texto[32];
    char* p = texto;
    const auto digitos = [&p](int v, int n) {
        for (int i = n - 1; i >= 0; --i, v /= 10)
            p[i] = char('0' + v % 10);
        p += n;
    };
    const bool comData = forma != clsMotor::FormaData::SoHora;
    if (comData) {
        if (data.year() < 1 || data.year() > 9999)
            return forma == clsMotor::FormaData::SoData && r == 0
                       ? data.toString(QStringLiteral("yyyy-MM-dd"))
                       : data.toString(QStringLiteral("yyyy-MM-dd")) + u' '
                             + TextoDataGravada(r, clsMotor::FormaData::SoHora);
        digitos(data.year(), 4);
        *p++ = '-';
        digitos(data.month(), 2);
        *p++ = '-';
        digitos(data.day(), 2);
        if (forma == clsMotor::FormaData::SoData && r == 0)
            return QString::fromLatin1(texto, p - texto);
        *p++ = ' ';
    }
    digitos(r / 3600000, 2);
    *p++ = ':';
    digitos(r / 60000 % 60, 2);
    *p++ = ':';
    digitos(r / 1000 % 60, 2);
    if (r % 1000) {
        *p++ = '.';
        digitos(r % 1000, 3);
    }
    return QString::fromLatin1(texto, p - texto);
}

QString clsMotor::NomeQualificado(const QString& tabela, const QString& esquema, const QString& catalogo) const
{
    QString r;
    if (!catalogo.isEmpty())
        r = CitarIdentificador(catalogo) + u'.' + (esquema.isEmpty() ? QString() : CitarIdentificador(esquema));
    else if (!esquema.isEmpty())
        r = CitarIdentificador(esquema);
    return r.isEmpty() ? CitarIdentificador(tabela) : r + u'.' + CitarIdentificador(tabela);
}

namespace {
// The names in one column of a schema rowset restricted to one table, in `ordem`.
QStringList NomesDoRowset(clsMotor& m,
                          SchemaOleDb schema,
                          const QString& tabela,
                          const QString& esquema,
                          const QString& catalogo,
                          const char* coluna,
                          const char* ordem)
{
    RecordsetPtr rs;
    QStringList r;
    if (!m.Schema(schema, {catalogo, esquema, tabela}, rs) || !rs)
        return r;
    rs->setSort(QString::fromLatin1(ordem));
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        if (m.MesmoNome(rs->Valor(QStringLiteral("TABLE_NAME")).toString(), tabela))
            r << rs->Valor(QString::fromLatin1(coluna)).toString();
    return r;
}
} // namespace

QStringList clsMotor::ChavesPrimarias(const QString& tabela, const QString& esquema, const QString& catalogo)
{
    const ErroDados guardado = erro;
    const QStringList r
        = NomesDoRowset(*this, SchemaOleDb::ChavesPrimarias, tabela, esquema, catalogo, "COLUMN_NAME", "ORDINAL");
    erro = guardado;
    return r;
}

QStringList clsMotor::ColunasTabela(const QString& tabela, const QString& esquema, const QString& catalogo)
{
    const ErroDados guardado = erro;
    const QStringList r
        = NomesDoRowset(*this, SchemaOleDb::Colunas, tabela, esquema, catalogo, "COLUMN_NAME", "ORDINAL_POSITION");
    erro = guardado;
    return r;
}

// ---------------------------------------------------------------- schema rowsets

const std::vector<ColunaRowset>& ColunasRowset(SchemaOleDb schema)
{
    static const std::vector<ColunaRowset> tabelas = {{"TABLE_CATALOG", adVarWChar},
                                                      {"TABLE_SCHEMA", adVarWChar},
                                                      {"TABLE_NAME", adVarWChar},
                                                      {"TABLE_TYPE", adVarWChar},
                                                      {"TABLE_GUID", adGUID},
                                                      {"DESCRIPTION", adVarWChar},
                                                      {"TABLE_PROPID", adUnsignedInt},
                                                      {"DATE_CREATED", adDate},
                                                      {"DATE_MODIFIED", adDate}};
    static const std::vector<ColunaRowset> colunas = {{"TABLE_CATALOG", adVarWChar},
                                                      {"TABLE_SCHEMA", adVarWChar},
                                                      {"TABLE_NAME", adVarWChar},
                                                      {"COLUMN_NAME", adVarWChar},
                                                      {"COLUMN_GUID", adGUID},
                                                      {"COLUMN_PROPID", adUnsignedInt},
                                                      {"ORDINAL_POSITION", adUnsignedInt},
                                                      {"COLUMN_HASDEFAULT", adBoolean},
                                                      {"COLUMN_DEFAULT", adVarWChar},
                                                      {"COLUMN_FLAGS", adUnsignedInt},
                                                      {"IS_NULLABLE", adBoolean},
                                                      {"DATA_TYPE", adUnsignedSmallInt},
                                                      {"TYPE_GUID", adGUID},
                                                      {"CHARACTER_MAXIMUM_LENGTH", adUnsignedInt},
                                                      {"CHARACTER_OCTET_LENGTH", adUnsignedInt},
                                                      {"NUMERIC_PRECISION", adUnsignedSmallInt},
                                                      {"NUMERIC_SCALE", adSmallInt},
                                                      {"DATETIME_PRECISION", adUnsignedInt},
                                                      {"CHARACTER_SET_CATALOG", adVarWChar},
                                                      {"CHARACTER_SET_SCHEMA", adVarWChar},
                                                      {"CHARACTER_SET_NAME", adVarWChar},
                                                      {"COLLATION_CATALOG", adVarWChar},
                                                      {"COLLATION_SCHEMA", adVarWChar},
                                                      {"COLLATION_NAME", adVarWChar},
                                                      {"DOMAIN_CATALOG", adVarWChar},
                                                      {"DOMAIN_SCHEMA", adVarWChar},
                                                      {"DOMAIN_NAME", adVarWChar},
                                                      {"DESCRIPTION", adVarWChar}};
    static const std::vector<ColunaRowset> chaves = {{"TABLE_CATALOG", adVarWChar},
                                                     {"TABLE_SCHEMA", adVarWChar},
                                                     {"TABLE_NAME", adVarWChar},
                                                     {"COLUMN_NAME", adVarWChar},
                                                     {"COLUMN_GUID", adGUID},
                                                     {"COLUMN_PROPID", adUnsignedInt},
                                                     {"ORDINAL", adUnsignedInt},
                                                     {"PK_NAME", adVarWChar}};
    static const std::vector<ColunaRowset> estrangeiras = {{"PK_TABLE_CATALOG", adVarWChar},
                                                           {"PK_TABLE_SCHEMA", adVarWChar},
                                                           {"PK_TABLE_NAME", adVarWChar},
                                                           {"PK_COLUMN_NAME", adVarWChar},
                                                           {"PK_COLUMN_GUID", adGUID},
                                                           {"PK_COLUMN_PROPID", adUnsignedInt},
                                                           {"FK_TABLE_CATALOG", adVarWChar},
                                                           {"FK_TABLE_SCHEMA", adVarWChar},
                                                           {"FK_TABLE_NAME", adVarWChar},
                                                           {"FK_COLUMN_NAME", adVarWChar},
                                                           {"FK_COLUMN_GUID", adGUID},
                                                           {"FK_COLUMN_PROPID", adUnsignedInt},
                                                           {"ORDINAL", adUnsignedInt},
                                                           {"UPDATE_RULE", adVarWChar},
                                                           {"DELETE_RULE", adVarWChar},
                                                           {"PK_NAME", adVarWChar},
                                                           {"FK_NAME", adVarWChar},
                                                           {"DEFERRABILITY", adSmallInt}};
    static const std::vector<ColunaRowset> indices = {{"TABLE_CATALOG", adVarWChar},
                                                      {"TABLE_SCHEMA", adVarWChar},
                                                      {"TABLE_NAME", adVarWChar},
                                                      {"INDEX_CATALOG", adVarWChar},
                                                      {"INDEX_SCHEMA", adVarWChar},
                                                      {"INDEX_NAME", adVarWChar},
                                                      {"PRIMARY_KEY", adBoolean},
                                                      {"UNIQUE", adBoolean},
                                                      {"CLUSTERED", adBoolean},
                                                      {"TYPE", adUnsignedSmallInt},
                                                      {"FILL_FACTOR", adInteger},
                                                      {"INITIAL_SIZE", adInteger},
                                                      {"NULLS", adInteger},
                                                      {"SORT_BOOKMARKS", adBoolean},
                                                      {"AUTO_UPDATE", adBoolean},
                                                      {"NULL_COLLATION", adInteger},
                                                      {"ORDINAL_POSITION", adUnsignedInt},
                                                      {"COLUMN_NAME", adVarWChar},
                                                      {"COLUMN_GUID", adGUID},
                                                      {"COLUMN_PROPID", adUnsignedInt},
                                                      {"COLLATION", adSmallInt},
                                                      {"CARDINALITY", adBigInt},
                                                      {"PAGES", adInteger},
                                                      {"FILTER_CONDITION", adVarWChar},
                                                      {"INTEGRATED", adBoolean}};
    static const std::vector<ColunaRowset> procedures = {{"PROCEDURE_CATALOG", adVarWChar},
                                                         {"PROCEDURE_SCHEMA", adVarWChar},
                                                         {"PROCEDURE_NAME", adVarWChar},
                                                         {"PROCEDURE_TYPE", adSmallInt},
                                                         {"PROCEDURE_DEFINITION", adVarWChar},
                                                         {"DESCRIPTION", adVarWChar},
                                                         {"DATE_CREATED", adDate},
                                                         {"DATE_MODIFIED", adDate}};
    switch (schema) {
    case SchemaOleDb::Tabelas: return tabelas;
    case SchemaOleDb::Colunas: return colunas;
    case SchemaOleDb::ChavesPrimarias: return chaves;
    case SchemaOleDb::ChavesEstrangeiras: return estrangeiras;
    case SchemaOleDb::Indices: return indices;
    case SchemaOleDb::Procedures: return procedures;
    }
    return tabelas;
}

RecordsetPtr NovoRowset(SchemaOleDb schema)
{
    auto rs = std::make_shared<clsRecordset>();
    for (const ColunaRowset& c : ColunasRowset(schema))
        rs->AppendField(QString::fromLatin1(c.nome), c.tipo, TipoTexto(c.tipo) ? 128 : 0);
    rs->Open();
    return rs;
}

void AcrescentarLinhaRowset(clsRecordset& rs, const std::vector<std::pair<const char*, QVariant>>& valores)
{
    rs.AddNew();
    for (const auto& [nome, v] : valores)
        rs.DefinirValor(QString::fromLatin1(nome), v);
    rs.Update();
}

void ConcluirRowset(clsRecordset& rs)
{
    clsRecordsetDados& d = rs.Dados();
    for (size_t l = 0; l < d.QtdeLinhas(); ++l)
        if (d.Estado(uint32_t(l)) == EstadoLinha::Nova)
            d.DefinirEstado(uint32_t(l), EstadoLinha::Inalterada);
    rs.setLockType(adLockReadOnly);
    rs.MoveFirst();
}
