#include "mdlEstruturaCopia.h"

#include "platform/mdlCitacao.h"
#include "schema/clsEstrutura.h"
#include "schema/mdlTipoDado.h"

using namespace ado;

namespace impexp {

int EstruturaCopia::Indice(const QString& nome) const
{
    for (int i = 0; i < colunas.size(); ++i)
        if (colunas[i].nome == nome)
            return i;
    return -1;
}

QStringList NomesDeColunas(const QStringList& lidos)
{
    QStringList nomes;
    for (qsizetype i = 0; i < lidos.size(); ++i) {
        QString nome = lidos[i].trimmed();
        if (nome.isEmpty())
            nome = QStringLiteral("Coluna%1").arg(i + 1);
        for (int k = 2; nomes.contains(nome, Qt::CaseInsensitive); ++k)
            nome = nome.section(u'_', 0, -1) + QStringLiteral("_%1").arg(k);
        nomes << nome;
    }
    return nomes;
}

QString TextoHex(const char* p, uint32_t n)
{
    return QStringLiteral("0x") + QString::fromLatin1(QByteArray(p, qsizetype(n)).toHex().toUpper());
}

QString TextoErro(const ErroDados& e)
{
    return e.numero ? QStringLiteral("Err: %1 - %2").arg(e.numero).arg(e.descricao) : e.descricao;
}

namespace {

qint32 Inteiro(const clsRecordset& rs, const char* campo)
{
    const QVariant v = rs.Valor(QString::fromLatin1(campo));
    return v.isNull() ? 0 : v.toInt();
}

// What each engine declared of a column beyond the columns rowset: SQLite keeps the type written
// in CREATE TABLE, PostgreSQL its format_type; and whether the engine numbers the column.
struct Declaracao {
    QString tipo;
    bool identidade = false, sempre = false;
};
QHash<QString, Declaracao> Declaracoes(clsMotor& m, const ObjetoBanco& t)
{
    QHash<QString, Declaracao> r;
    RecordsetPtr rs;
    long n = 0;
    bool ok = false;
    if (m.DialetoSql() == Dialeto::Sqlite) {
        const QString banco = t.esquema.isEmpty() ? QStringLiteral("main") : t.esquema;
        // AUTOINCREMENT is allowed only on a key of one INTEGER column.
        ok = m.ExecutarComParametros(
            QStringLiteral("SELECT name, type, pk = 1 AND upper(type) = 'INTEGER' AND (SELECT count(*) FROM "
                           "pragma_table_info(?1, ?2) WHERE pk > 0) = 1 AND (SELECT sql FROM %1.sqlite_schema "
                           "WHERE type = 'table' AND name = ?1 COLLATE NOCASE) LIKE '%AUTOINCREMENT%', 0 "
                           "FROM pragma_table_info(?1, ?2)")
                .arg(m.CitarIdentificador(banco)),
            {QVariant(t.nome), QVariant(banco)},
            n,
            &rs);
    } else if (m.DialetoSql() == Dialeto::PostgreSql) {
        const QString esquema = t.esquema.isEmpty() ? m.EsquemaPadrao() : t.esquema;
        ok = m.Executar(
            QStringLiteral("SELECT a.attname, format_type(a.atttypid, a.atttypmod), a.attidentity <> '' OR "
                           "pg_get_serial_sequence(quote_ident(s.nspname) || '.' || quote_ident(c.relname), "
                           "a.attname) IS NOT NULL, a.attidentity = 'a' FROM pg_attribute a "
                           "JOIN pg_class c ON c.oid = a.attrelid JOIN pg_namespace s ON s.oid = c.relnamespace "
                           "WHERE s.nspname = %1 AND c.relname = %2 AND a.attnum > 0 AND NOT a.attisdropped")
                .arg(citacao::Literal(TipoMotor::Odbc, esquema), citacao::Literal(TipoMotor::Odbc, t.nome)),
            &rs,
            adLockReadOnly,
            nullptr);
        if (!ok)
            qWarning("%s", qPrintable(m.Erro().descricao));
    }
    if (ok && rs)
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            r.insert(rs->Valor(0).toString(), {rs->Valor(1).toString(), rs->Valor(2).toBool(), rs->Valor(3).toBool()});
    return r;
}

bool Texto(int t) { return t == adChar || t == adWChar || t == adVarChar || t == adVarWChar; }

} // namespace

QString NomeBase(const QString& declarado)
{
    QString nome;
    qint32 a, b, c;
    DecomporTipo(declarado, nome, a, b, c);
    return nome.toLower();
}

bool ColunaBooleana(const ColunaCopia& c)
{
    const QString base = NomeBase(c.declarado);
    return c.tipoCatalogo == adBoolean || base == u"boolean" || base == u"bool";
}

bool TextoSemLimite(const ColunaCopia& c)
{
    const QString base = NomeBase(c.declarado);
    return (c.flags & ISLONG) || c.tamanho <= 0 || base == u"text"
           || ((base == u"character varying" || base == u"varchar") && !c.declarado.contains(u'('));
}

bool LerEstrutura(clsMotor& motor, const ObjetoBanco& tabela, EstruturaCopia& saida, QString& erro)
{
    saida = {};
    RecordsetPtr rs;
    if (!motor.Schema(SchemaOleDb::Colunas, {tabela.catalogo, tabela.esquema, tabela.nome}, rs) || !rs) {
        erro = TextoErro(motor.Erro());
        return false;
    }
    rs->setSort(QStringLiteral("ORDINAL_POSITION"));
    const QHash<QString, Declaracao> declarados = Declaracoes(motor, tabela);
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        if (!motor.MesmoNome(rs->Valor(QStringLiteral("TABLE_NAME")).toString(), tabela.nome))
            continue;
        ColunaCopia c;
        c.nome = rs->Valor(QStringLiteral("COLUMN_NAME")).toString();
        c.tipoCatalogo = Inteiro(*rs, "DATA_TYPE");
        c.tamanho = Inteiro(*rs, "CHARACTER_MAXIMUM_LENGTH");
        c.precisao = Inteiro(*rs, "NUMERIC_PRECISION");
        c.escala = Inteiro(*rs, "NUMERIC_SCALE");
        c.precisaoData = Inteiro(*rs, "DATETIME_PRECISION");
        c.flags = Inteiro(*rs, "COLUMN_FLAGS");
        c.anulavel = rs->Valor(QStringLiteral("IS_NULLABLE")).toBool();
        const Declaracao d = declarados.value(c.nome);
        c.declarado = d.tipo;
        c.identidade = d.identidade;
        c.identidadeSempre = d.sempre;
        c.dialetoOrigem = motor.DialetoSql();
        saida.colunas << c;
    }
    if (saida.colunas.isEmpty()) {
        erro = QStringLiteral("A tabela %1 não foi encontrada na origem.").arg(tabela.Exibicao());
        return false;
    }
    saida.chave = motor.ChavesPrimarias(tabela.nome, tabela.esquema, tabela.catalogo);
    return true;
}

EstruturaCopia EstruturaDosCampos(const QVector<CampoInfo>& campos, Dialeto dialeto)
{
    EstruturaCopia e;
    for (const CampoInfo& f : campos) {
        ColunaCopia c;
        c.nome = f.nome;
        c.dialetoOrigem = dialeto;
        switch (f.tipo) {
        case adVarWChar:
        case adLongVarWChar: c.tipoCatalogo = adWChar; break;
        case adVarChar:
        case adLongVarChar: c.tipoCatalogo = adChar; break;
        case adVarBinary:
        case adLongVarBinary: c.tipoCatalogo = adBinary; break;
        case adDBTimeStamp: c.tipoCatalogo = adDBTimeStamp; break;
        default: c.tipoCatalogo = f.tipo;
        }
        const bool longo = f.atributos & ISLONG;
        c.tamanho
            = (TipoTexto(f.tipo) || TipoBinario(f.tipo)) && !longo && f.tamanho < 2147483647 ? qint32(f.tamanho) : 0;
        c.precisao = f.precisao;
        c.escala = f.escala;
        c.precisaoData = TipoData(f.tipo) ? 6 : 0;
        c.flags = f.atributos | (c.tamanho == 0 && (TipoTexto(f.tipo) || TipoBinario(f.tipo)) ? ISLONG : 0);
        c.anulavel = true;
        e.colunas << c;
    }
    return e;
}

QString TipoNoDestino(Dialeto destino, const ColunaCopia& c)
{
    if (!c.tipoDestino.isEmpty())
        return c.tipoDestino;
    // The same engine takes the column's own type.
    if (!c.declarado.isEmpty() && destino == c.dialetoOrigem
        && (destino == Dialeto::Sqlite || destino == Dialeto::PostgreSql))
        return c.declarado;
    const QString base = NomeBase(c.declarado);
    const bool sqlite = destino == Dialeto::Sqlite, pg = destino == Dialeto::PostgreSql;
    // Dates, times and date-times keep what they hold: a date stays a date, a fraction its digits.
    if (TipoData(c.tipoCatalogo)) {
        const bool soData = c.tipoCatalogo == adDBDate || base == u"date";
        const bool soHora
            = c.tipoCatalogo == adDBTime
              || (base.startsWith(QStringLiteral("time")) && !base.startsWith(QStringLiteral("timestamp")));
        const int p = qBound(0, c.precisaoData, 7);
        if (soData)
            return sqlite ? QStringLiteral("DATE") : QStringLiteral("date");
        const bool fracaoLivre = c.dialetoOrigem == Dialeto::Sqlite;
        if (soHora)
            return sqlite ? QStringLiteral("TIME")
                   : pg   ? QStringLiteral("time(%1)").arg(fracaoLivre ? 6 : qMin(p, 6))
                          : QStringLiteral("time(%1)").arg(fracaoLivre ? 7 : p);
        if (sqlite)
            return QStringLiteral("DATETIME");
        // SQLite keeps whatever fraction the text has: the finest the destination holds.
        if (pg)
            return QStringLiteral("timestamp(%1)").arg(fracaoLivre ? 6 : qMin(p, 6));
        if (destino == Dialeto::SqlServer)
            return p > 3 || fracaoLivre ? QStringLiteral("datetime2(%1)").arg(fracaoLivre ? 7 : p)
                                        : QStringLiteral("DateTime");
    }
    // A decimal of no declared precision (PostgreSQL's numeric) keeps every digit.
    if (c.tipoCatalogo == adNumeric && (base == u"numeric" || base == u"decimal") && !c.declarado.contains(u'('))
        return sqlite ? QStringLiteral("NUMERIC") : pg ? QStringLiteral("numeric") : QStringLiteral("Decimal(38, 10)");
    // SQLite's INTEGER holds 64 bits.
    if (c.dialetoOrigem == Dialeto::Sqlite && c.tipoCatalogo == adInteger && (base == u"integer" || base == u"int"))
        return sqlite ? QStringLiteral("INTEGER") : pg ? QStringLiteral("bigint") : QStringLiteral("BigInt");
    if (ColunaBooleana(c))
        return sqlite ? QStringLiteral("BOOLEAN") : pg ? QStringLiteral("boolean") : QStringLiteral("Bit");
    if (base == u"uuid")
        return sqlite ? QStringLiteral("TEXT") : pg ? QStringLiteral("uuid") : QStringLiteral("UniqueIdentifier");
    if (Texto(c.tipoCatalogo) && TextoSemLimite(c))
        return sqlite ? QStringLiteral("TEXT") : pg ? QStringLiteral("text") : QStringLiteral("nVarChar(max)");
    // SQLite's REAL is a double.
    if (c.dialetoOrigem == Dialeto::Sqlite && c.tipoCatalogo == adSingle)
        return sqlite ? QStringLiteral("REAL") : pg ? QStringLiteral("double precision") : QStringLiteral("Float");
    qint32 tamanho = c.tamanho;
    qint32 flags = c.flags;
    // Text or binary of no declared size is long text or binary.
    if ((Texto(c.tipoCatalogo) || c.tipoCatalogo == adBinary) && tamanho <= 0)
        flags |= ISLONG;
    const QString nome
        = tipodado::ObterTipoDado(c.tipoCatalogo, tamanho, false, c.precisao, c.escala, c.precisaoData, flags);
    if (nome.isEmpty())
        return sqlite ? QString() : pg ? QStringLiteral("text") : QStringLiteral("nVarChar(4000)");
    return TipoNoMotor(destino, nome, tamanho, c.precisao, c.escala);
}

QString SqlCriarTabela(const clsMotor& motor, const ObjetoBanco& tabela, const EstruturaCopia& e)
{
    QStringList defs;
    const Dialeto dialeto = motor.DialetoSql();
    bool chaveNaColuna = false;
    for (const ColunaCopia& c : e.colunas) {
        QString d = motor.CitarIdentificador(c.nome);
        QString tipo = TipoNoDestino(dialeto, c);
        const QString base = NomeBase(tipo);
        const bool inteiro = c.tipoCatalogo == adInteger || c.tipoCatalogo == adBigInt || c.tipoCatalogo == adSmallInt
                             || base == u"integer" || base == u"bigint" || base == u"smallint";
        if (c.identidade && dialeto == Dialeto::Sqlite && e.chave == QStringList{c.nome} && inteiro) {
            // The key's own column: the table numbers its rows past the largest ever written.
            defs << d + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
            chaveNaColuna = true;
            continue;
        }
        // A serial's type is its integer type.
        if (dialeto == Dialeto::PostgreSql && (base == u"serial" || base == u"bigserial" || base == u"smallserial"))
            tipo = base == u"serial"      ? QStringLiteral("integer")
                   : base == u"bigserial" ? QStringLiteral("bigint")
                                          : QStringLiteral("smallint");
        if (!tipo.isEmpty())
            d += u' ' + tipo;
        if (c.identidade && dialeto == Dialeto::PostgreSql && inteiro)
            d += QStringLiteral(" GENERATED BY DEFAULT AS IDENTITY");
        if (!c.anulavel)
            d += QStringLiteral(" NOT NULL");
        defs << d;
    }
    if (!e.chave.isEmpty() && !chaveNaColuna) {
        QStringList k;
        for (const QString& n : e.chave)
            k << motor.CitarIdentificador(n);
        defs << QStringLiteral("PRIMARY KEY (") + k.join(QStringLiteral(", ")) + u')';
    }
    return QStringLiteral("CREATE TABLE ") + motor.NomeQualificado(tabela) + QStringLiteral(" (")
           + defs.join(QStringLiteral(", ")) + u')';
}

QStringList SqlAvancarSequencias(const clsMotor& motor, const ObjetoBanco& tabela, const EstruturaCopia& e)
{
    QStringList r;
    if (motor.DialetoSql() != Dialeto::PostgreSql)
        return r;
    const QString nome = motor.NomeQualificado(tabela);
    for (const ColunaCopia& c : e.colunas) {
        if (!c.identidade)
            continue;
        const QString coluna = motor.CitarIdentificador(c.nome);
        r << QStringLiteral("SELECT setval(q.s, x.m) FROM (SELECT pg_get_serial_sequence(%1, %2)::regclass AS s) q, "
                            "(SELECT max(%3) AS m FROM %4) x WHERE q.s IS NOT NULL AND x.m IS NOT NULL AND x.m >= "
                            "COALESCE(pg_sequence_last_value(q.s), x.m)")
                 .arg(citacao::Literal(TipoMotor::Odbc, nome), citacao::Literal(TipoMotor::Odbc, c.nome), coluna, nome);
    }
    return r;
}

bool TabelaExiste(clsMotor& motor, const ObjetoBanco& tabela, bool& existe, QString& erro)
{
    existe = false;
    RecordsetPtr rs;
    if (!motor.Schema(SchemaOleDb::Tabelas, {tabela.catalogo, tabela.esquema, tabela.nome}, rs) || !rs) {
        erro = TextoErro(motor.Erro());
        return false;
    }
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        if (motor.MesmoNome(rs->Valor(QStringLiteral("TABLE_NAME")).toString(), tabela.nome))
            existe = true;
    return true;
}

} // namespace impexp
