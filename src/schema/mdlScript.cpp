#include "mdlScript.h"

#include "clsEstrutura.h"
#include "connections/clsData.h"
#include "mdlLinhasCatalogo.h"
#include "mdlTipoDado.h"
#include "platform/clsMotor.h"
#include "platform/clsProgresso.h"
#include "platform/clsPrompt.h"
#include "platform/clsRecordset.h"
#include "platform/mdlCitacao.h"

#include <QMultiHash>
#include <QSet>
#include <algorithm>
#include <functional>
#include <optional>

namespace script {

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString SP3 = QStringLiteral("   ");
const QString SP6 = QStringLiteral("      ");
// What separates the CREATE INDEX statements; the structure designer splits the text on it.
const QString SeparadorGo = CRLF + QStringLiteral("GO ") + CRLF;

// The engines a script is written for differ in what they accept.
enum class Alvo { SqlServer, Sqlite, Postgres, Outro };

Alvo AlvoDe(const clsData& db)
{
    if (db.ConnectionType() == tipoconexao::WebSql || db.ConnectionType() == tipoconexao::WebAccess)
        return Alvo::SqlServer;
    const auto m = db.ActiveConnection();
    switch (m ? m->DialetoSql() : Dialeto::Outro) {
    case Dialeto::SqlServer: return Alvo::SqlServer;
    case Dialeto::Sqlite: return Alvo::Sqlite;
    case Dialeto::PostgreSql: return Alvo::Postgres;
    case Dialeto::Outro: break;
    }
    return Alvo::Outro;
}

// A name as the scripts write it: bare when it reads as itself, else quoted the engine's way
// (brackets on SQL Server with "]" doubled). A blank, "_" or "." always asks for the quotes.
QString Nome(TipoMotor motor, const QString& nome)
{
    const bool marcado = nome.contains(u' ') || nome.contains(u'_') || nome.contains(u'.');
    const TipoMotor regra = motor == TipoMotor::Nenhum ? TipoMotor::SqlServer : motor;
    if (!marcado && !citacao::PrecisaCitar(regra, nome))
        return nome;
    return citacao::Citar(motor, nome);
}

// The object qualified by its schema when it has one, each part as Nome writes it.
QString NomeObj(TipoMotor motor, const ObjetoBanco& o)
{
    return (o.esquema.isEmpty() ? QString() : Nome(motor, o.esquema) + u'.') + Nome(motor, o.nome);
}

// The object as SQL Server's OBJECT_ID reads it: a literal of the bracketed, qualified name.
QString LiteralObjetoSqlServer(const ObjetoBanco& o)
{
    return citacao::Literal(TipoMotor::SqlServer, citacao::NomeCitado(TipoMotor::SqlServer, o));
}

// PostgreSQL: the condition on a namespace column `coluna` for the object's schema, when it has one.
QString FiltroEsquemaPostgres(TipoMotor motor, const ObjetoBanco& o, const char* coluna)
{
    return o.esquema.isEmpty() ? QString()
                               : QStringLiteral(" AND ") + QString::fromLatin1(coluna) + QStringLiteral(" = ")
                                     + citacao::Literal(motor, o.esquema);
}

TipoMotor MotorDe(const QString& chave) { return citacao::MotorDaConexao(chave); }

qint32 Inteiro(const QVariant& v) { return v.isNull() ? 0 : v.toInt(); }

QString Texto(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

// The values of the first column of a query's rows, non-null ones only.
QString Concatenar(clsData& db, const QString& sql, bool mostrarErro, bool* ok = nullptr)
{
    RecordsetPtr rs;
    const bool aberto = db.OpenRecordset(rs, sql, false, false, mostrarErro) && rs;
    if (ok)
        *ok = aberto;
    QString texto;
    if (!aberto)
        return texto;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        texto += Texto(rs->Valor(0));
    return texto;
}

// The rows of a query, each as the texts of its columns; a failure is shown.
QList<QStringList> Linhas(clsData& db, const QString& sql) { return catalogo::Linhas(db, sql, true); }

// The statements as the engine's own client runs them: each ended by ";" on its own line end.
QString Comandos(const QStringList& comandos)
{
    QString saida;
    for (const QString& c : comandos)
        saida += c + u';' + CRLF;
    return saida;
}

// SQLite keeps every object's statement as it was written: a table's, with its indexes and triggers
// (those of a view when `objeto` is one), in the order they were made.
QString DefinicaoSqlite(clsData& db, TipoMotor motor, const QString& objeto, const char* tipo)
{
    QStringList comandos;
    for (const QStringList& l :
         Linhas(db,
                QStringLiteral("SELECT sql FROM sqlite_schema WHERE tbl_name = ") + citacao::Literal(motor, objeto)
                    + QStringLiteral(" AND sql IS NOT NULL AND type IN ('") + QString::fromLatin1(tipo)
                    + QStringLiteral("', 'index', 'trigger') ORDER BY CASE type WHEN '") + QString::fromLatin1(tipo)
                    + QStringLiteral("' THEN 0 WHEN 'index' THEN 1 ELSE 2 END, rowid")))
        comandos << l.value(0);
    if (comandos.isEmpty() || !comandos.first().startsWith(QStringLiteral("CREATE "), Qt::CaseInsensitive))
        return {};
    // An AUTOINCREMENT counter goes on from where it was, so no id is handed out again (a file
    // without such a table has no counters: nothing is said).
    if (qstrcmp(tipo, "table") == 0)
        for (const QStringList& l :
             catalogo::Linhas(db,
                              QStringLiteral("SELECT 'INSERT INTO sqlite_sequence (name, seq) VALUES (' || quote(name) "
                                             "|| ', ' || seq || ')' FROM sqlite_sequence WHERE name = ")
                                  + citacao::Literal(motor, objeto)))
            comandos << l.value(0);
    return Comandos(comandos);
}

// Replaces the first occurrence of `de`, compared without regard to case, by `por`.
QString TrocarPrimeiro(const QString& texto, const QString& de, const QString& por)
{
    const qsizetype i = texto.indexOf(de, 0, Qt::CaseInsensitive);
    return i < 0 ? texto : texto.left(i) + por + texto.mid(i + de.size());
}

// The text after the word "as" that starts a view's body; from the fourth character when none.
QString CorpoAposAs(const QString& texto)
{
    static const QString marcas[] = {QStringLiteral(" as "),
                                     QStringLiteral("\ras "),
                                     QStringLiteral("\ras\n"),
                                     QStringLiteral(" as\n"),
                                     QStringLiteral("\nas "),
                                     QStringLiteral("\nas\r"),
                                     QStringLiteral(" as\r")};
    qsizetype melhor = -1, tamanho = 0;
    for (const QString& m : marcas) {
        const qsizetype i = texto.indexOf(m, 0, Qt::CaseInsensitive);
        if (i >= 0 && (melhor < 0 || i < melhor)) {
            melhor = i;
            tamanho = m.size();
        }
    }
    return melhor < 0 ? texto.mid(3) : texto.mid(melhor + tamanho);
}

QString Banner(const QString& titulo)
{
    const QString linha(60, u'-');
    return CRLF + linha + CRLF + QStringLiteral("-- ") + titulo + u' ' + CRLF + linha + CRLF;
}

// Identity of the engines that are not SQL Server, read with the structure designer's catalog.
struct Identidade {
    qint32 semente = 0, incremento = 0;
};

QString TextoIdentidade(Alvo alvo, const Identidade& id)
{
    if (alvo == Alvo::Postgres)
        return QStringLiteral(" GENERATED BY DEFAULT AS IDENTITY (START WITH %1 INCREMENT BY %2)")
            .arg(id.semente)
            .arg(id.incremento);
    return QStringLiteral(" IDENTITY (%1, %2)").arg(id.semente).arg(id.incremento);
}

// The column's type as the catalog names it, with its size. PostgreSQL knows neither the "n" types
// nor several others: there the structure designer's mapping gives its own name, sizes and the
// precision of decimals kept.
QString TipoColuna(Alvo alvo, const clsRecordset& rs)
{
    const QString comTamanho = tipodado::TipoDaColuna(rs, true);
    if (alvo != Alvo::Postgres || comTamanho.contains(u','))
        return comTamanho;
    qint32 tamanho = 0;
    const QString nome = tipodado::TipoDaColuna(rs, false, &tamanho);
    const QString proprio = TipoNoMotor(Dialeto::PostgreSql, nome, tamanho);
    return proprio.isEmpty() ? comTamanho : proprio;
}

// One index as SQLite or PostgreSQL keeps it (expression, order, filter, included columns); empty
// when the engine keeps no statement for it (the index of a key).
QString IndiceProprio(clsData& db, TipoMotor motor, const ObjetoBanco& tabela, const QString& indice)
{
    if (indice.isEmpty())
        return {};
    QString sql;
    switch (AlvoDe(db)) {
    case Alvo::Sqlite:
        sql = QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = 'index' AND sql IS NOT NULL AND name = ")
              + citacao::Literal(motor, indice) + QStringLiteral(" AND tbl_name = ")
              + citacao::Literal(motor, tabela.nome);
        break;
    case Alvo::Postgres:
        sql = QStringLiteral("SELECT pg_catalog.pg_get_indexdef(i.indexrelid) FROM pg_catalog.pg_index i "
                             "JOIN pg_catalog.pg_class x ON x.oid = i.indexrelid JOIN pg_catalog.pg_class c ON c.oid = "
                             "i.indrelid JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE x.relname = ")
              + citacao::Literal(motor, indice) + QStringLiteral(" AND c.relname = ")
              + citacao::Literal(motor, tabela.nome) + FiltroEsquemaPostgres(motor, tabela, "n.nspname")
              + QStringLiteral(" ORDER BY (n.nspname = current_schema()) DESC LIMIT 1");
        break;
    default: return {};
    }
    const QList<QStringList> l = Linhas(db, sql);
    return l.isEmpty() ? QString() : Comandos(l.first());
}

QString IndicesCom(clsData& db, TipoMotor motor, const ObjetoBanco& tabela, QString& indice)
{
    RecordsetPtr rs;
    const bool ok
        = db.OpenSchema(tiposchema::Indices, rs, tabela.nome, {}, {}, {}, true, indice, false, tabela.esquema);
    const QString pedido = indice;
    indice.clear();
    QString saida;
    if (!ok || !rs)
        return saida;
    const Alvo alvo = AlvoDe(db);
    if (const QString proprio = IndiceProprio(db, motor, tabela, pedido); !proprio.isEmpty()) {
        indice = pedido;
        return proprio;
    }
    // SQL Server's statements are set apart by GO; the others' end with ";".
    const QString fim = alvo == Alvo::Sqlite || alvo == Alvo::Postgres ? QStringLiteral(";") : QString();
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        if (rs->Valor(QStringLiteral("PRIMARY_KEY")).toBool())
            continue;
        const QString nome = Texto(rs->Valor(QStringLiteral("INDEX_NAME")));
        if (nome != indice) {
            if (!saida.isEmpty())
                saida += CRLF + SP6 + u')' + fim + CRLF;
            if (fim.isEmpty())
                saida += SeparadorGo;
            indice = nome;
            saida += QStringLiteral("CREATE ")
                     + (rs->Valor(QStringLiteral("UNIQUE")).toBool() ? QStringLiteral("UNIQUE ") : QString());
            if (alvo == Alvo::SqlServer)
                saida += (rs->Valor(QStringLiteral("CLUSTERED")).toBool() ? QString() : QStringLiteral("NON"))
                         + QStringLiteral("CLUSTERED ");
            // SQLite names the index of a UNIQUE constraint itself and reserves such names: the
            // script keeps the uniqueness under a name it may create.
            QString criado = nome;
            if (alvo == Alvo::Sqlite && criado.startsWith(QStringLiteral("sqlite_autoindex_")))
                criado = QStringLiteral("ux_") + criado.mid(17);
            saida += QStringLiteral("INDEX ") + Nome(motor, criado) + QStringLiteral(" ON ") + NomeObj(motor, tabela)
                     + CRLF + SP6 + u'(' + CRLF + SP6;
        } else {
            saida += u',' + CRLF + SP6;
        }
        saida += Nome(motor, Texto(rs->Valor(QStringLiteral("COLUMN_NAME"))));
        if (Inteiro(rs->Valor(QStringLiteral("COLLATION"))) == 2)
            saida += QStringLiteral(" Desc");
    }
    if (!saida.isEmpty())
        saida += CRLF + SP6 + u')' + fim + CRLF;
    return saida;
}

// PostgreSQL: the table's oid and schema; the one of the session's schema first among namesakes.
std::optional<std::pair<QString, QString>> TabelaPostgres(clsData& db, TipoMotor motor, const ObjetoBanco& tabela)
{
    const QList<QStringList> l = Linhas(
        db,
        QStringLiteral("SELECT c.oid::text, n.nspname FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n "
                       "ON n.oid = c.relnamespace WHERE c.relkind IN ('r', 'p') AND c.relname = ")
            + citacao::Literal(motor, tabela.nome) + FiltroEsquemaPostgres(motor, tabela, "n.nspname")
            + QStringLiteral(" ORDER BY (n.nspname = current_schema()) DESC LIMIT 1"));
    if (l.isEmpty())
        return std::nullopt;
    return std::make_pair(l.first().value(0), l.first().value(1));
}

// PostgreSQL: the table as it is, in its own types: serial columns as serial with their sequence's
// current value, identity with its start and step, defaults, generated columns, collations, NOT NULL,
// its named keys and checks, its indexes. Foreign keys follow as ALTER TABLE; with `adiadas` they go
// there (the whole database adds them once every table exists) and the triggers are left to their
// own section, else the triggers come last with their functions.
QString CriarTabelaPostgres(clsData& db, TipoMotor motor, const ObjetoBanco& tabela, QString* adiadas)
{
    const auto achada = TabelaPostgres(db, motor, tabela);
    if (!achada)
        return {};
    const QString& oid = achada->first;
    const QString N
        = citacao::CitarSeNecessario(motor, achada->second) + u'.' + citacao::CitarSeNecessario(motor, tabela.nome);
    const QString literalN = citacao::Literal(motor, N);
    const QList<QStringList> colunas = Linhas(
        db,
        QStringLiteral("SELECT a.attname, pg_catalog.format_type(a.atttypid, a.atttypmod), "
                       "CASE WHEN a.attnotnull THEN '1' ELSE '0' END, pg_catalog.pg_get_expr(d.adbin, d.adrelid), "
                       "a.attidentity::text, a.attgenerated::text, pg_catalog.pg_get_serial_sequence(")
            + literalN
            + QStringLiteral(
                "::text, a.attname), CASE WHEN a.attcollation <> t.typcollation THEN quote_ident(co.collname) END, "
                "q.seqstart::text, q.seqincrement::text, q.last_value::text "
                "FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_type t ON t.oid = a.atttypid "
                "LEFT JOIN pg_catalog.pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum "
                "LEFT JOIN pg_catalog.pg_collation co ON co.oid = a.attcollation "
                "LEFT JOIN LATERAL (SELECT s.seqstart, s.seqincrement, ps.last_value FROM pg_catalog.pg_depend dp "
                "JOIN pg_catalog.pg_sequence s ON s.seqrelid = dp.objid "
                "JOIN pg_catalog.pg_class sc ON sc.oid = s.seqrelid "
                "JOIN pg_catalog.pg_namespace sn ON sn.oid = sc.relnamespace "
                "LEFT JOIN pg_catalog.pg_sequences ps ON ps.schemaname = sn.nspname AND ps.sequencename = sc.relname "
                "WHERE dp.refobjid = a.attrelid AND dp.refobjsubid = a.attnum "
                "AND dp.classid = 'pg_catalog.pg_class'::regclass AND dp.deptype IN ('a', 'i') LIMIT 1) q ON true "
                "WHERE a.attrelid = ")
            + oid + QStringLiteral(" AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum"));
    if (colunas.isEmpty())
        return {};
    QStringList entradas, depois;
    for (const QStringList& c : colunas) {
        const QString col = citacao::CitarSeNecessario(motor, c.value(0));
        QString tipo = c.value(1), padrao = c.value(3);
        const QString identidade = c.value(4), gerada = c.value(5), sequencia = c.value(6);
        const bool serial
            = identidade.isEmpty() && !sequencia.isEmpty() && padrao.startsWith(QStringLiteral("nextval("));
        if (serial) {
            tipo = tipo == u"bigint"     ? QStringLiteral("bigserial")
                   : tipo == u"smallint" ? QStringLiteral("smallserial")
                                         : QStringLiteral("serial");
            padrao.clear();
        }
        QString e = col + u' ' + tipo;
        if (!c.value(7).isEmpty())
            e += QStringLiteral(" COLLATE ") + c.value(7);
        if (gerada == u"s")
            e += QStringLiteral(" GENERATED ALWAYS AS (") + padrao + QStringLiteral(") STORED");
        else if (!padrao.isEmpty())
            e += QStringLiteral(" DEFAULT ") + padrao;
        if (identidade == u"a" || identidade == u"d")
            e += QStringLiteral(" GENERATED ")
                 + (identidade == u"a" ? QStringLiteral("ALWAYS") : QStringLiteral("BY DEFAULT"))
                 + QStringLiteral(" AS IDENTITY (START WITH ") + c.value(8) + QStringLiteral(" INCREMENT BY ")
                 + c.value(9) + u')';
        if (c.value(2) == u"1")
            e += QStringLiteral(" NOT NULL");
        entradas << e;
        if (!sequencia.isEmpty() && !c.value(10).isEmpty())
            depois << QStringLiteral("SELECT pg_catalog.setval(pg_catalog.pg_get_serial_sequence(") + literalN
                          + QStringLiteral(", ") + citacao::Literal(motor, c.value(0)) + QStringLiteral("), ")
                          + c.value(10) + QStringLiteral(", true)");
    }
    QStringList estrangeiras;
    for (const QStringList& k :
         Linhas(db,
                QStringLiteral("SELECT conname, contype::text, pg_catalog.pg_get_constraintdef(oid, "
                               "true) FROM pg_catalog.pg_constraint WHERE conrelid = ")
                    + oid
                    + QStringLiteral(" AND contype IN ('p', 'u', 'c', 'x', 'f') ORDER BY CASE "
                                     "contype WHEN 'p' THEN 0 WHEN 'u' THEN 1 ELSE 2 END, conname"))) {
        const QString def
            = QStringLiteral("CONSTRAINT ") + citacao::CitarSeNecessario(motor, k.value(0)) + u' ' + k.value(2);
        if (k.value(1) == u"f")
            estrangeiras << QStringLiteral("ALTER TABLE ") + N + QStringLiteral(" ADD ") + def;
        else
            entradas << def;
    }
    for (const QStringList& i :
         Linhas(db,
                QStringLiteral("SELECT pg_catalog.pg_get_indexdef(i.indexrelid) FROM "
                               "pg_catalog.pg_index i WHERE i.indrelid = ")
                    + oid
                    + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_constraint k "
                                     "WHERE k.conindid = i.indexrelid AND k.conrelid = i.indrelid "
                                     "AND k.contype IN ('p', 'u', 'x')) ORDER BY i.indexrelid")))
        depois << i.value(0);
    QString saida = QStringLiteral("CREATE TABLE ") + N + QStringLiteral(" (") + CRLF + SP3
                    + entradas.join(u',' + CRLF + SP3) + CRLF + u')' + u';' + CRLF + Comandos(depois);
    if (adiadas) {
        *adiadas += Comandos(estrangeiras);
        return saida;
    }
    saida += Comandos(estrangeiras);
    for (const QStringList& t :
         Linhas(db,
                QStringLiteral("SELECT pg_catalog.pg_get_functiondef(t.tgfoid), "
                               "pg_catalog.pg_get_triggerdef(t.oid, true) FROM "
                               "pg_catalog.pg_trigger t WHERE NOT t.tgisinternal AND t.tgrelid = ")
                    + oid + QStringLiteral(" ORDER BY t.tgname")))
        saida += Comandos(t);
    return saida;
}

QString TabelaCom(clsData& db, TipoMotor motor, const ObjetoBanco& tabela, int tipo)
{
    if (tipo == Create) {
        switch (AlvoDe(db)) {
        case Alvo::Sqlite: return DefinicaoSqlite(db, motor, tabela.nome, "table");
        case Alvo::Postgres: return CriarTabelaPostgres(db, motor, tabela, nullptr);
        default: break;
        }
    }
    RecordsetPtr rs;
    if (!db.OpenSchema(tiposchema::Colunas, rs, {.tabela = tabela.nome, .esquema = tabela.esquema}) || !rs
        || rs->RecordCount() <= 0)
        return {};
    rs->setSort(QStringLiteral("ORDINAL_POSITION"));
    rs->MoveFirst();
    const QString esquema
        = tabela.esquema.isEmpty() ? Texto(rs->Valor(QStringLiteral("TABLE_SCHEMA"))) : tabela.esquema;
    const Alvo alvo = AlvoDe(db);
    const QString N = NomeObj(motor, tabela);
    const bool definicao = tipo == Create || tipo == Alter;

    // Identity columns: SQL Server answers per column; elsewhere the designer's catalog knows them.
    QHash<QString, Identidade> identidades;
    // SQL Server's per-column answer reads the table by its bare name: a table of a named schema
    // is read through the designer's catalog too.
    const bool porCatalogo = alvo == Alvo::Postgres || (alvo == Alvo::SqlServer && !tabela.esquema.isEmpty());
    if (definicao && porCatalogo) {
        QList<ColunaEstrutura> colunas;
        if (CarregarEstrutura(db, tabela, colunas))
            for (const ColunaEstrutura& c : colunas)
                if (c.identity)
                    identidades.insert(c.campo, {c.identitySeed, c.identityIncrement});
    }
    std::optional<Identidade> identidadeTabela;

    QString colunas, valores;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        const QString campo = Texto(rs->Valor(QStringLiteral("COLUMN_NAME")));
        const QString COL = Nome(motor, campo);
        const QString TYP = TipoColuna(alvo, *rs);
        QString entrada = COL;
        if (tipo == Insert) {
            valores += (valores.isEmpty() ? QString() : QStringLiteral(",")) + CRLF + SP3 + u'<' + COL
                       + QStringLiteral(", ") + TYP + u'>';
        } else if (tipo == Update) {
            entrada = COL + QStringLiteral(" = <") + COL + QStringLiteral(", ") + TYP + u'>';
        } else if (definicao) {
            entrada = COL + u' ' + TYP;
            if (alvo == Alvo::SqlServer && !porCatalogo && db.ColumnIsIdentity(tabela.nome, campo)) {
                if (!identidadeTabela)
                    identidadeTabela = Identidade{db.IdentitySeed(tabela.nome), db.IdentityIncrement(tabela.nome)};
                entrada += TextoIdentidade(alvo, *identidadeTabela);
            } else if (identidades.contains(campo)) {
                entrada += TextoIdentidade(alvo, identidades.value(campo));
            }
            const QVariant collation = rs->Valor(QStringLiteral("COLLATION_NAME"));
            if (!collation.isNull() && !collation.toString().isEmpty())
                entrada += QStringLiteral(" COLLATE ") + collation.toString();
            entrada += rs->Valor(QStringLiteral("IS_NULLABLE")).toBool() ? QStringLiteral(" NULL")
                                                                         : QStringLiteral(" NOT NULL");
        }
        colunas += (colunas.isEmpty() ? QString() : QStringLiteral(",")) + CRLF + SP3 + entrada;
    }

    if (definicao) {
        RecordsetPtr pk;
        if (db.OpenSchema(tiposchema::ChavesPrimarias, pk, {.tabela = tabela.nome, .esquema = tabela.esquema}) && pk
            && pk->RecordCount() > 0) {
            QStringList chaves;
            for (pk->MoveFirst(); !pk->Eof(); pk->MoveNext())
                chaves << SP6 + Nome(motor, Texto(pk->Valor(QStringLiteral("COLUMN_NAME"))));
            colunas += QStringLiteral(", ") + CRLF + SP3 + QStringLiteral("CONSTRAINT ")
                       + Nome(motor, QStringLiteral("PK_") + QString(tabela.nome).remove(u' '))
                       + QStringLiteral(" PRIMARY KEY (") + CRLF + chaves.join(u',' + CRLF) + CRLF + SP6 + u')';
        }
    }

    const QString qualificado = NomeObj(motor, ObjetoBanco(esquema, tabela.nome));
    switch (tipo) {
    case Select: return QStringLiteral("SELECT ") + colunas + CRLF + QStringLiteral("FROM ") + N + CRLF;
    case Create: {
        QString indice;
        return QStringLiteral("CREATE TABLE ") + qualificado + QStringLiteral(" (") + colunas + CRLF + SP3 + u')' + CRLF
               + IndicesCom(db, motor, tabela, indice);
    }
    case Alter:
        return QStringLiteral("ALTER TABLE ") + qualificado + QStringLiteral(" ADD (") + colunas + CRLF + SP3 + u')'
               + CRLF;
    case Insert:
        return QStringLiteral("INSERT INTO ") + N + QStringLiteral(" (") + colunas + CRLF + SP3 + u')' + CRLF
               + QStringLiteral("VALUES (") + valores + CRLF + SP3 + u')' + CRLF;
    case Update: return QStringLiteral("UPDATE ") + N + QStringLiteral(" SET ") + colunas + CRLF + SP3 + CRLF;
    default: return {};
    }
}

QString ViewCom(clsData& db, TipoMotor motor, const ObjetoBanco& visao, int tipo)
{
    const Alvo alvo = AlvoDe(db);
    const QString N = NomeObj(motor, visao);
    QString corpo;
    switch (alvo) {
    case Alvo::SqlServer: {
        if (!visao.esquema.isEmpty() && !db.Web()) {
            // The catalog view reads views by bare name: one of a named schema by its object id.
            corpo = CorpoAposAs(Concatenar(db,
                                           QStringLiteral("SELECT OBJECT_DEFINITION(OBJECT_ID(")
                                               + LiteralObjetoSqlServer(visao) + QStringLiteral("))"),
                                           true));
            break;
        }
        RecordsetPtr rs;
        if (!db.OpenSchema(tiposchema::Views, rs, {}, {}, {}, visao.nome) || !rs)
            return {};
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const QVariant pedaco = rs->Valor(QStringLiteral("VIEW_DEFINITION"));
            if (pedaco.isNull())
                continue;
            corpo += corpo.isEmpty() ? CorpoAposAs(pedaco.toString()) : pedaco.toString();
        }
        break;
    }
    case Alvo::Sqlite: {
        // As it was written, with its triggers; a change drops it (and them) first.
        const QString definicao = DefinicaoSqlite(db, motor, visao.nome, "view");
        if (definicao.isEmpty() || tipo == Create)
            return definicao;
        return QStringLiteral("DROP VIEW IF EXISTS ") + N + u';' + CRLF + definicao;
    }
    case Alvo::Postgres: {
        // Named in the schema the view was found in: the script recreates it there.
        const QList<QStringList> l = Linhas(
            db,
            QStringLiteral(
                "SELECT pg_catalog.pg_get_viewdef(c.oid, true), n.nspname, c.relkind::text FROM pg_catalog.pg_class c "
                "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
                "WHERE c.relkind IN ('v', 'm') AND c.relname = ")
                + citacao::Literal(motor, visao.nome) + FiltroEsquemaPostgres(motor, visao, "n.nspname")
                + QStringLiteral(" ORDER BY (n.nspname = current_schema()) DESC LIMIT 1"));
        if (l.isEmpty())
            return {};
        const QString nomePg = citacao::CitarSeNecessario(motor, l.first().value(1)) + u'.'
                               + citacao::CitarSeNecessario(motor, visao.nome);
        corpo = l.first().value(0);
        if (!corpo.trimmed().endsWith(u';'))
            corpo += u';';
        const bool materializada = l.first().value(2) == u"m";
        if (materializada)
            return QStringLiteral("CREATE MATERIALIZED VIEW ") + nomePg + QStringLiteral(" As ") + CRLF + corpo + CRLF;
        return (tipo == Create ? QStringLiteral("CREATE VIEW ") : QStringLiteral("CREATE OR REPLACE VIEW ")) + nomePg
               + QStringLiteral(" As ") + CRLF + corpo + CRLF;
    }
    case Alvo::Outro: {
        RecordsetPtr rs;
        if (db.OpenSchema(tiposchema::Views, rs, {.view = visao.nome, .esquema = visao.esquema}) && rs
            && rs->RecordCount() > 0) {
            rs->MoveFirst();
            corpo = Texto(rs->Valor(QStringLiteral("VIEW_DEFINITION")));
        }
        break;
    }
    }
    if (corpo.isEmpty())
        return {};
    if (tipo == Create)
        return QStringLiteral("CREATE VIEW ") + N + QStringLiteral(" As ") + CRLF + corpo;
    // Changing a view: SQL Server alters it; PostgreSQL replaces it; SQLite has to drop it first.
    if (alvo == Alvo::Postgres)
        return QStringLiteral("CREATE OR REPLACE VIEW ") + N + QStringLiteral(" As ") + CRLF + corpo;
    return QStringLiteral("ALTER VIEW ") + N + QStringLiteral(" As ") + CRLF + corpo;
}

enum class Rotina { Procedure, Function, Trigger };

QString FonteSqlServer(clsData& db, Rotina r, const ObjetoBanco& objeto)
{
    // One of a named schema by its object id: the old catalog views know routines by bare name.
    if (!objeto.esquema.isEmpty())
        return Concatenar(db,
                          QStringLiteral("SELECT OBJECT_DEFINITION(OBJECT_ID(") + LiteralObjetoSqlServer(objeto)
                              + QStringLiteral("))"),
                          true);
    const QString& nome = objeto.nome;
    const QString literal = citacao::Literal(TipoMotor::SqlServer, nome);
    QString sql;
    switch (r) {
    case Rotina::Procedure:
        sql = QStringLiteral("SELECT sysComments.text FROM sysComments LEFT JOIN sysObjects on sysObjects.id = "
                             "sysComments.id WHERE sysObjects.name = ")
              + literal;
        break;
    case Rotina::Function:
        sql = QStringLiteral("SELECT sysComments.Text FROM sysComments LEFT JOIN sysObjects on sysObjects.id = "
                             "sysComments.id WHERE sysObjects.name = ")
              + literal;
        break;
    case Rotina::Trigger:
        sql = QStringLiteral("SELECT sysComments.Text FROM sysComments LEFT JOIN sysObjects on sysObjects.id = "
                             "sysComments.id WHERE sysObjects.Name = ")
              + literal + QStringLiteral(" And sysObjects.Type = 'TR'");
        break;
    }
    bool ok = false;
    const QString texto = Concatenar(db, sql, false, &ok);
    if (ok)
        return texto;
    // Servers without the old catalog views keep the source behind OBJECT_DEFINITION.
    return Concatenar(db,
                      QStringLiteral("SELECT OBJECT_DEFINITION(OBJECT_ID(")
                          + citacao::Literal(TipoMotor::SqlServer, citacao::Citar(TipoMotor::SqlServer, nome))
                          + QStringLiteral("))"),
                      true);
}

QString Fonte(clsData& db, TipoMotor motor, Rotina r, const ObjetoBanco& objeto)
{
    const QString& nome = objeto.nome;
    switch (AlvoDe(db)) {
    case Alvo::SqlServer: return FonteSqlServer(db, r, objeto);
    case Alvo::Postgres:
        if (r == Rotina::Trigger)
            return Concatenar(db,
                              QStringLiteral("SELECT pg_catalog.pg_get_triggerdef(t.oid, true) FROM "
                                             "pg_catalog.pg_trigger t JOIN pg_catalog.pg_class c ON c.oid = t.tgrelid "
                                             "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
                                             "WHERE NOT t.tgisinternal AND t.tgname = ")
                                  + citacao::Literal(motor, nome) + FiltroEsquemaPostgres(motor, objeto, "n.nspname")
                                  + QStringLiteral(" LIMIT 1"),
                              true);
        return Concatenar(db,
                          QStringLiteral("SELECT pg_catalog.pg_get_functiondef(p.oid) FROM pg_catalog.pg_proc p "
                                         "JOIN pg_catalog.pg_namespace n ON n.oid = p.pronamespace "
                                         "WHERE p.prokind = '")
                              + (r == Rotina::Procedure ? u'p' : u'f') + QStringLiteral("' AND p.proname = ")
                              + citacao::Literal(motor, nome) + FiltroEsquemaPostgres(motor, objeto, "n.nspname")
                              + QStringLiteral(" LIMIT 1"),
                          true);
    case Alvo::Sqlite:
        if (r != Rotina::Trigger)
            return {};
        return Concatenar(db,
                          QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = 'trigger' AND name = ")
                              + citacao::Literal(motor, nome),
                          true);
    case Alvo::Outro: return {};
    }
    return {};
}

QString RotinaCom(clsData& db, TipoMotor motor, Rotina r, const ObjetoBanco& objeto, int tipo)
{
    QString texto = Fonte(db, motor, r, objeto);
    // Outside SQL Server a statement ends with ";", which the engine's own client waits for.
    if (!texto.isEmpty() && AlvoDe(db) != Alvo::SqlServer && !texto.trimmed().endsWith(u';'))
        texto = texto.trimmed() + u';' + CRLF;
    if (texto.isEmpty() || tipo == Create)
        return texto;
    if (tipo != Alter)
        return {};
    switch (AlvoDe(db)) {
    case Alvo::Postgres:
        // The stored definition already reads CREATE OR REPLACE for routines; a trigger is replaced.
        return r == Rotina::Trigger ? TrocarPrimeiro(texto,
                                                     QStringLiteral("CREATE TRIGGER"),
                                                     QStringLiteral("CREATE OR REPLACE TRIGGER"))
                                    : texto;
    case Alvo::Sqlite: return QStringLiteral("DROP TRIGGER IF EXISTS ") + NomeObj(motor, objeto) + u';' + CRLF + texto;
    default:
        return r == Rotina::Procedure ? TrocarPrimeiro(texto, QStringLiteral("CREATE"), QStringLiteral("ALTER"))
                                      : TrocarPrimeiro(texto, QStringLiteral("CREATE "), QStringLiteral("ALTER "));
    }
}

QString ScriptRotina(clsAmbienteDados& amb, const QString& chave, Rotina r, const ObjetoBanco& nome, int tipo)
{
    const TipoMotor motor = MotorDe(chave);
    if (tipo == Drop) {
        const char* palavra = r == Rotina::Procedure  ? "DROP PROCEDURE "
                              : r == Rotina::Function ? "DROP FUNCTION "
                                                      : "DROP TRIGGER ";
        return QString::fromLatin1(palavra) + NomeObj(motor, nome);
    }
    if (tipo != Create && tipo != Alter)
        return {};
    clsAmpulheta ampulheta(amb.Prompt());
    clsData db(amb);
    if (!db.OpenConnection(chave))
        return {};
    return RotinaCom(db, motor, r, nome, tipo);
}

} // namespace

QString ScriptTabela(clsAmbienteDados& amb, const QString& chave, const ObjetoBanco& tabela, int tipo)
{
    const TipoMotor motor = MotorDe(chave);
    if (tipo == Drop)
        return QStringLiteral("DROP TABLE ") + NomeObj(motor, tabela);
    if (tipo == Delete)
        return QStringLiteral("DELETE FROM ") + NomeObj(motor, tabela);
    if (tipo < Select || tipo > Update)
        return {};
    clsAmpulheta ampulheta(amb.Prompt());
    clsData db(amb);
    if (!db.OpenConnection(chave))
        return {};
    return TabelaCom(db, motor, tabela, tipo);
}

QString ScriptView(clsAmbienteDados& amb, const QString& chave, const ObjetoBanco& visao, int tipo)
{
    const TipoMotor motor = MotorDe(chave);
    if (tipo == Drop)
        return QStringLiteral("DROP VIEW ") + NomeObj(motor, visao);
    if (tipo != Create && tipo != Alter && tipo != Select)
        return {};
    clsAmpulheta ampulheta(amb.Prompt());
    clsData db(amb);
    if (!db.OpenConnection(chave))
        return {};
    return ViewCom(db, motor, visao, tipo);
}

QString ScriptProcedure(clsAmbienteDados& amb, const QString& chave, const ObjetoBanco& procedure, int tipo)
{
    return ScriptRotina(amb, chave, Rotina::Procedure, procedure, tipo);
}

QString ScriptFunction(clsAmbienteDados& amb, const QString& chave, const ObjetoBanco& funcao, int tipo)
{
    return ScriptRotina(amb, chave, Rotina::Function, funcao, tipo);
}

QString ScriptTrigger(clsAmbienteDados& amb,
                      const QString& chave,
                      const ObjetoBanco& trigger,
                      int tipo,
                      const ObjetoBanco& tabela)
{
    const TipoMotor motor = MotorDe(chave);
    if (tipo == Drop && !tabela.nome.isEmpty() && motor == TipoMotor::Odbc) {
        clsData db(amb);
        if (db.OpenConnection(chave) && AlvoDe(db) == Alvo::Postgres)
            return QStringLiteral("DROP TRIGGER ") + Nome(motor, trigger.nome) + QStringLiteral(" ON ")
                   + NomeObj(motor, tabela);
    }
    return ScriptRotina(amb, chave, Rotina::Trigger, trigger, tipo);
}

QString
ScriptIndices(clsAmbienteDados& amb, const ObjetoBanco& tabela, clsData* db, QString& indice, const QString& chave)
{
    if (db)
        return IndicesCom(*db, MotorDe(db->ConnectionString()), tabela, indice);
    clsData propria(amb);
    if (!propria.OpenConnection(chave))
        return {};
    return IndicesCom(propria, MotorDe(chave), tabela, indice);
}

// PostgreSQL: the sequences no column owns (a serial's or identity's comes with its table), each
// created with its settings and set to where it stands.
QString SequenciasPostgres(clsData& db, TipoMotor motor)
{
    QStringList comandos;
    for (const QStringList& s : Linhas(
             db,
             QStringLiteral("SELECT n.nspname, c.relname, format_type(s.seqtypid, NULL), s.seqincrement, s.seqmin, "
                            "s.seqmax, s.seqstart, s.seqcache, s.seqcycle::int, pg_catalog.pg_sequence_last_value("
                            "c.oid) FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = "
                            "c.relnamespace JOIN pg_catalog.pg_sequence s ON s.seqrelid = c.oid WHERE c.relkind = "
                            "'S' AND n.nspname !~ '^pg_' AND n.nspname <> 'information_schema' AND NOT EXISTS "
                            "(SELECT 1 FROM pg_catalog.pg_depend d WHERE d.classid = 'pg_catalog.pg_class'::regclass "
                            "AND d.objid = c.oid AND d.deptype IN ('a', 'i')) ORDER BY 1, 2"))) {
        const QString nome = NomeObj(motor, ObjetoBanco(s.value(0), s.value(1)));
        comandos << QStringLiteral("CREATE SEQUENCE ") + nome + QStringLiteral(" AS ") + s.value(2)
                        + QStringLiteral(" INCREMENT BY ") + s.value(3) + QStringLiteral(" MINVALUE ") + s.value(4)
                        + QStringLiteral(" MAXVALUE ") + s.value(5) + QStringLiteral(" START WITH ") + s.value(6)
                        + QStringLiteral(" CACHE ") + s.value(7)
                        + (s.value(8) == u"1" ? QStringLiteral(" CYCLE") : QStringLiteral(" NO CYCLE"));
        if (!s.value(9).isEmpty())
            comandos << QStringLiteral("SELECT pg_catalog.setval(") + citacao::Literal(motor, nome)
                            + QStringLiteral(", ") + s.value(9) + QStringLiteral(", true)");
    }
    return comandos.isEmpty() ? QString() : Comandos(comandos);
}

// PostgreSQL: views in an order that creates each after the views it reads (the list's own order
// among those that do not depend on each other).
QList<ObjetoBanco> ViewsEmOrdem(clsData& db, const QList<ObjetoBanco>& views)
{
    QMultiHash<QString, QString> depende;
    for (const QStringList& l : Linhas(
             db,
             QStringLiteral("SELECT DISTINCT vn.nspname || '.' || v.relname, dn.nspname || '.' || d.relname FROM "
                            "pg_catalog.pg_depend dep JOIN pg_catalog.pg_rewrite r ON r.oid = dep.objid JOIN "
                            "pg_catalog.pg_class v ON v.oid = r.ev_class JOIN pg_catalog.pg_namespace vn ON vn.oid = "
                            "v.relnamespace JOIN pg_catalog.pg_class d ON d.oid = dep.refobjid JOIN "
                            "pg_catalog.pg_namespace dn ON dn.oid = d.relnamespace WHERE dep.classid = "
                            "'pg_catalog.pg_rewrite'::regclass AND dep.refclassid = 'pg_catalog.pg_class'::regclass "
                            "AND d.relkind IN ('v', 'm') AND d.oid <> v.oid")))
        depende.insert(l.value(0), l.value(1));
    auto chave = [](const ObjetoBanco& o) { return o.esquema + u'.' + o.nome; };
    QSet<QString> listadas;
    for (const ObjetoBanco& v : views)
        listadas << chave(v);
    QList<ObjetoBanco> ordem, resto = views;
    QSet<QString> feitas;
    while (!resto.isEmpty()) {
        const qsizetype antes = resto.size();
        for (qsizetype i = 0; i < resto.size();) {
            const QString k = chave(resto[i]);
            const QList<QString> deps = depende.values(k);
            const bool pronta = std::all_of(deps.cbegin(), deps.cend(), [&](const QString& d) {
                return feitas.contains(d) || !listadas.contains(d);
            });
            if (!pronta) {
                ++i;
                continue;
            }
            feitas << k;
            ordem << resto.takeAt(i);
        }
        if (resto.size() == antes) { // a cycle the engine would not have allowed: kept as listed
            ordem << resto;
            break;
        }
    }
    return ordem;
}

// PostgreSQL: every trigger by its own row (two tables may each have a trigger of the same name).
QString TriggersPostgres(clsData& db, const QString& fimBloco)
{
    QString saida;
    for (const QStringList& t : Linhas(
             db,
             QStringLiteral("SELECT t.tgname, pg_catalog.pg_get_triggerdef(t.oid, true) FROM pg_catalog.pg_trigger t "
                            "JOIN pg_catalog.pg_class c ON c.oid = t.tgrelid JOIN pg_catalog.pg_namespace n ON "
                            "n.oid = c.relnamespace WHERE NOT t.tgisinternal AND n.nspname !~ '^pg_' AND "
                            "n.nspname <> 'information_schema' ORDER BY n.nspname, c.relname, t.tgname")))
        saida += Banner(QStringLiteral("CRIAR A TRIGGER ") + t.value(0)) + Comandos({t.value(1)}) + fimBloco;
    return saida;
}

QString ScriptBancoDados(clsAmbienteDados& amb,
                         const QString& chave,
                         const QString& banco,
                         clsProgresso* progresso,
                         QString* erro)
{
    clsData db(amb);
    if (!db.OpenConnection(chave, false, false)) {
        if (erro)
            *erro = db.ErrMsg();
        return {};
    }
    clsProgresso semJanela;
    clsProgresso& passos = progresso ? *progresso : semJanela;
    const TipoMotor motor = MotorDe(chave);
    const Alvo alvo = AlvoDe(db);
    const bool servidor = alvo == Alvo::SqlServer;
    QString saida;
    // SQL Server's batches end with GO; other engines' statements end with their own ";".
    const QString fimBloco = servidor ? CRLF + QStringLiteral("GO") + CRLF + u' ' + CRLF : CRLF;
    // PostgreSQL: the schemas first, the foreign keys once every table exists.
    QString estrangeiras;
    if (alvo == Alvo::Postgres) {
        QStringList esquemas;
        for (const QStringList& l : Linhas(db,
                                           QStringLiteral("SELECT nspname FROM pg_catalog.pg_namespace WHERE nspname "
                                                          "!~ '^pg_' AND nspname NOT IN ('information_schema', "
                                                          "'public') ORDER BY nspname")))
            esquemas << QStringLiteral("CREATE SCHEMA IF NOT EXISTS ") + citacao::CitarSeNecessario(motor, l.value(0));
        if (!esquemas.isEmpty())
            saida += Banner(QStringLiteral("CRIAR OS ESQUEMAS")) + Comandos(esquemas) + fimBloco;
        if (const QString sequencias = SequenciasPostgres(db, motor); !sequencias.isEmpty())
            saida += Banner(QStringLiteral("CRIAR AS SEQUÊNCIAS")) + sequencias + fimBloco;
    }
    if (servidor) {
        const QString D = banco.contains(u' ') || citacao::PrecisaCitar(TipoMotor::SqlServer, banco)
                              ? citacao::Citar(TipoMotor::SqlServer, banco)
                              : banco;
        saida = Banner(QStringLiteral("CRIAR O BANCO DE DADOS")) + QStringLiteral("CREATE DATABASE ") + D + fimBloco
                + QStringLiteral("USE ") + D + fimBloco;
    }
    // One connection serves every object: the catalog is read, never changed.
    struct Grupo {
        int schema;
        const char* campo;
        const char* campoEsquema; // null: the list tells no schema
        const char* titulo;
        const char* prefixo;
        std::function<QString(const ObjetoBanco&)> gerar;
        bool incluir;
    };
    const bool rotinas = servidor || alvo == Alvo::Postgres;
    const Grupo grupos[] = {
        {tiposchema::Tabelas,
         "TABLE_NAME",
         "TABLE_SCHEMA",
         "Tables Scripts",
         "CRIAR A TABELA ",
         [&](const ObjetoBanco& n) {
             return alvo == Alvo::Postgres ? CriarTabelaPostgres(db, motor, n, &estrangeiras)
                                           : TabelaCom(db, motor, n, Create);
         },
         true},
        {tiposchema::Views,
         "TABLE_NAME",
         "TABLE_SCHEMA",
         "Views Scripts",
         "CRIAR A CONSULTA ",
         [&](const ObjetoBanco& n) { return ViewCom(db, motor, n, Create); },
         true},
        {tiposchema::Procedures,
         "PROCEDURE_NAME",
         "PROCEDURE_SCHEMA",
         "Procedures Scripts",
         "CRIAR A PROCEDURE ",
         [&](const ObjetoBanco& n) { return RotinaCom(db, motor, Rotina::Procedure, n, Create); },
         rotinas},
        {tiposchema::Funcoes,
         "FUNCTION_NAME",
         "FUNCTION_SCHEMA",
         "Functions Scripts",
         "CRIAR A FUNCTION ",
         [&](const ObjetoBanco& n) { return RotinaCom(db, motor, Rotina::Function, n, Create); },
         rotinas},
        {tiposchema::Triggers,
         "TRIGGER_NAME",
         nullptr,
         "Triggers Scripts",
         "CRIAR A TRIGGER ",
         [&](const ObjetoBanco& n) { return RotinaCom(db, motor, Rotina::Trigger, n, Create); },
         servidor},
    };
    for (const Grupo& g : grupos) {
        if (!g.incluir)
            continue;
        RecordsetPtr lista;
        const bool ok = g.schema == tiposchema::Tabelas ? db.OpenSchema(g.schema, lista, {}, QStringLiteral("TABLE"))
                                                        : db.OpenSchema(g.schema, lista);
        if (!ok || !lista)
            continue;
        // Each object in its own schema: namesakes of two schemas are two objects.
        QList<ObjetoBanco> nomes;
        const bool comEsquema = g.campoEsquema && lista->IndiceCampo(QString::fromLatin1(g.campoEsquema)) >= 0;
        for (lista->MoveFirst(); !lista->Eof(); lista->MoveNext()) {
            QString nome = Texto(lista->Valor(QString::fromLatin1(g.campo)));
            if (g.schema == tiposchema::Procedures && nome.contains(u';'))
                nome = nome.section(u';', 0, 0);
            nomes << ObjetoBanco(comEsquema ? Texto(lista->Valor(QString::fromLatin1(g.campoEsquema))) : QString(),
                                 nome);
        }
        if (g.schema == tiposchema::Views && alvo == Alvo::Postgres)
            nomes = ViewsEmOrdem(db, nomes);
        passos.Iniciar(int(nomes.size()), QString::fromLatin1(g.titulo));
        for (const ObjetoBanco& nome : nomes) {
            const QString texto = g.gerar(nome);
            if (!texto.isEmpty())
                saida += Banner(QString::fromLatin1(g.prefixo) + nome.nome) + texto + fimBloco;
            if (!passos.Avancar())
                return saida;
        }
        if (g.schema == tiposchema::Tabelas && !estrangeiras.isEmpty())
            saida += Banner(QStringLiteral("CRIAR AS CHAVES ESTRANGEIRAS")) + estrangeiras + fimBloco;
    }
    if (alvo == Alvo::Postgres)
        saida += TriggersPostgres(db, fimBloco);
    return saida;
}

} // namespace script
