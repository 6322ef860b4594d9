// Reading a table's structure and what a rebuild must carry or would lose, per engine.
#include "clsEstrutura.h"

#include "connections/clsData.h"
#include "schema/mdlTipoDado.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

QString Lit(const QString& s) { return u'\'' + QString(s).replace(u'\'', QStringLiteral("''")) + u'\''; }

// The rows of a query, each as its values' texts.
QList<QStringList> Linhas(clsData& db, const QString& sql)
{
    QList<QStringList> r;
    RecordsetPtr rs;
    if (!db.OpenRecordset(rs, sql, false, false, false) || !rs)
        return r;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        QStringList linha;
        for (int i = 0; i < rs->FieldCount(); ++i)
            linha << rs->Valor(i).toString();
        r << linha;
    }
    return r;
}

QStringList Primeiras(clsData& db, const QString& sql)
{
    QStringList r;
    for (const QStringList& l : Linhas(db, sql))
        r << l.value(0);
    return r;
}

// The table as PostgreSQL's regclass literal names it.
QString RegClass(const clsMotor& m, const QString& tabela)
{
    return Lit(m.CitarIdentificador(tabela)) + QStringLiteral("::regclass");
}

QString CreateTableSqlite(clsData& db, const QString& tabela)
{
    return db
        .RetValue(QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ") + Lit(tabela)
                  + QStringLiteral(" COLLATE NOCASE"))
        .toString();
}

// SQLite's procedure for table changes: the indexes and triggers are recreated from their text, the
// table's own constraints go into the new CREATE, and the foreign keys of the table and of every
// table pointing at it are checked before the commit.
void CatalogoSqlite(clsData& db, const clsMotor& m, const QString& tabela, CatalogoTabela& c)
{
    c.scripts = Primeiras(db,
                          QStringLiteral("SELECT sql FROM sqlite_schema WHERE tbl_name = ") + Lit(tabela)
                              + QStringLiteral(" COLLATE NOCASE AND type IN ('index', 'trigger') AND sql IS NOT NULL "
                                               "ORDER BY type = 'trigger', rowid"));
    const ddlsqlite::Tabela t = ddlsqlite::LerCreateTable(CreateTableSqlite(db, tabela), tabela);
    if (!t.reconhecida) {
        c.perdas << QStringLiteral("uma definição que o designer não consegue ler");
        return;
    }
    if (!t.calculadas.isEmpty())
        c.perdas << QStringLiteral("colunas calculadas (") + t.calculadas.join(QStringLiteral(", ")) + u')';
    c.restricoes = t.restricoes;
    c.opcoesTabela = t.opcoes;
    QStringList tabelas{tabela};
    tabelas << Primeiras(
        db,
        QStringLiteral("SELECT DISTINCT m.name FROM sqlite_schema m, pragma_foreign_key_list(m.name) f "
                       "WHERE m.type = 'table' AND f.\"table\" = ")
            + Lit(tabela) + QStringLiteral(" COLLATE NOCASE AND m.name <> ") + Lit(tabela)
            + QStringLiteral(" COLLATE NOCASE ORDER BY m.name"));
    for (const QString& n : tabelas)
        c.verificacoes << QStringLiteral("PRAGMA foreign_key_check(") + m.CitarIdentificador(n) + u')';
}

void CatalogoPostgres(clsData& db, const clsMotor& m, const QString& tabela, CatalogoTabela& c)
{
    const QString rel = RegClass(m, tabela);
    c.scripts = Primeiras(db,
                          QStringLiteral("SELECT pg_get_indexdef(indexrelid) FROM pg_index WHERE indrelid = ") + rel
                              + QStringLiteral(" AND NOT indisprimary ORDER BY indexrelid"));
    c.scripts << Primeiras(db,
                           QStringLiteral("SELECT pg_get_triggerdef(oid) FROM pg_trigger WHERE tgrelid = ") + rel
                               + QStringLiteral(" AND NOT tgisinternal ORDER BY oid"));
    c.nomeChave
        = Primeiras(db, QStringLiteral("SELECT conname FROM pg_constraint WHERE contype = 'p' AND conrelid = ") + rel)
              .value(0);
    // The table's own checks and foreign keys come back on the new table, as the server words
    // them; a constraint naming a column that is gone fails there and undoes the whole save.
    const QString tabelaCitada = m.CitarIdentificador(tabela);
    for (const QStringList& l :
         Linhas(db,
                QStringLiteral("SELECT conname, pg_get_constraintdef(oid) FROM pg_constraint WHERE conrelid = ") + rel
                    + QStringLiteral(" AND contype IN ('c', 'f') ORDER BY contype, oid")))
        c.depoisDaChave << QStringLiteral("ALTER TABLE ") + tabelaCitada + QStringLiteral(" ADD CONSTRAINT ")
                               + m.CitarIdentificador(l.value(0)) + u' ' + l.value(1);
    // Other tables' keys on it go before the old table and come back once the new one has its key.
    for (const QStringList& l :
         Linhas(db,
                QStringLiteral("SELECT conrelid::regclass::text, conname, pg_get_constraintdef(oid) FROM pg_constraint "
                               "WHERE contype = 'f' AND confrelid = ")
                    + rel + QStringLiteral(" AND conrelid <> ") + rel + QStringLiteral(" ORDER BY oid"))) {
        const QString outra = QStringLiteral("ALTER TABLE ") + l.value(0);
        c.antesDeApagar << outra + QStringLiteral(" DROP CONSTRAINT ") + m.CitarIdentificador(l.value(1));
        c.depoisDaChave << outra + QStringLiteral(" ADD CONSTRAINT ") + m.CitarIdentificador(l.value(1)) + u' '
                               + l.value(2);
    }
}

// SQL Server: what the rebuild does not recreate is refused by name.
void CatalogoSqlServer(clsData& db, const clsMotor& m, const QString& tabela, CatalogoTabela& c)
{
    const QString obj = QStringLiteral("OBJECT_ID(N") + Lit(m.CitarIdentificador(tabela)) + u')';
    c.nomeChave
        = Primeiras(db,
                    QStringLiteral("SELECT name FROM sys.key_constraints WHERE type = 'PK' AND parent_object_id = ")
                        + obj)
              .value(0);
    const struct {
        const char* sql;
        const char* nome;
    } perdas[] = {
        {"SELECT name FROM sys.indexes WHERE is_primary_key = 0 AND type > 0 AND object_id = ", "índices"},
        {"SELECT name FROM sys.triggers WHERE parent_id = ", "triggers"},
        {"SELECT name FROM sys.foreign_keys WHERE parent_object_id = ", "chaves estrangeiras"},
        {"SELECT name FROM sys.foreign_keys WHERE referenced_object_id = ",
         "chaves estrangeiras de outras tabelas que a referenciam"},
        {"SELECT name FROM sys.check_constraints WHERE parent_object_id = ", "restrições CHECK"},
        {"SELECT name FROM sys.default_constraints WHERE parent_object_id = ", "valores padrão"},
    };
    for (const auto& p : perdas)
        if (const QStringList nomes = Primeiras(db, QString::fromLatin1(p.sql) + obj); !nomes.isEmpty())
            c.perdas << QString::fromUtf8(p.nome) + QStringLiteral(" (") + nomes.join(QStringLiteral(", ")) + u')';
}

// Declared type, default and auto-numbering of each column, as the engine keeps them.
void DetalhesSqlite(clsData& db, const QString& tabela, QList<ColunaEstrutura>& colunas)
{
    const QString sql = CreateTableSqlite(db, tabela);
    const ddlsqlite::Tabela t = ddlsqlite::LerCreateTable(sql, tabela);
    const bool autoincremento = sql.contains(QStringLiteral("AUTOINCREMENT"), Qt::CaseInsensitive);
    const QList<QStringList> info
        = Linhas(db, QStringLiteral("SELECT name, type, dflt_value, pk FROM pragma_table_info(") + Lit(tabela) + u')');
    int nChave = 0;
    for (const QStringList& l : info)
        nChave += l.value(3).toInt() > 0;
    for (ColunaEstrutura& c : colunas)
        for (const QStringList& l : info) {
            if (l.value(0).compare(c.campo, Qt::CaseInsensitive) != 0)
                continue;
            c.tipoNativo = l.value(1);
            c.padrao = l.value(2);
            c.colacao = t.colacoes.value(c.campo.toLower());
            c.identity = c.originalIdentity
                = autoincremento && nChave == 1 && l.value(3).toInt() == 1
                  && l.value(1).compare(QStringLiteral("INTEGER"), Qt::CaseInsensitive) == 0;
            c.identitySeed = c.originalIdentitySeed = c.identity ? 1 : 0;
            c.identityIncrement = c.originalIdentityIncrement = c.identity ? 1 : 0;
        }
}

void DetalhesPostgres(clsData& db, const clsMotor& m, const QString& tabela, QList<ColunaEstrutura>& colunas)
{
    const QString rel = RegClass(m, tabela);
    const QList<QStringList> info = Linhas(
        db,
        QStringLiteral("SELECT a.attname, format_type(a.atttypid, a.atttypmod), pg_get_expr(d.adbin, d.adrelid), "
                       "CASE WHEN a.attidentity <> '' THEN 1 ELSE 0 END, s.seqstart, s.seqincrement "
                       "FROM pg_attribute a LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum "
                       "LEFT JOIN pg_sequence s ON a.attidentity <> '' AND s.seqrelid = "
                       "pg_get_serial_sequence(")
            + Lit(m.CitarIdentificador(tabela))
            + QStringLiteral(", a.attname)::regclass WHERE a.attnum > 0 AND NOT a.attisdropped AND a.attrelid = ")
            + rel);
    for (ColunaEstrutura& c : colunas)
        for (const QStringList& l : info) {
            if (l.value(0) != c.campo)
                continue;
            c.tipoNativo = l.value(1);
            c.padrao = l.value(2);
            c.identity = c.originalIdentity = l.value(3).toInt() == 1;
            c.identitySeed = c.originalIdentitySeed = l.value(4).toInt();
            c.identityIncrement = c.originalIdentityIncrement = l.value(5).toInt();
        }
}

void DetalhesSqlServer(clsData& db, const QString& tabela, QList<ColunaEstrutura>& colunas)
{
    for (ColunaEstrutura& c : colunas) {
        c.identity = c.originalIdentity = db.ColumnIsIdentity(tabela, c.campo);
        if (c.identity) {
            c.identitySeed = c.originalIdentitySeed = db.IdentitySeed(tabela);
            c.identityIncrement = c.originalIdentityIncrement = db.IdentityIncrement(tabela);
        }
    }
}

qint32 Inteiro(const QVariant& v) { return v.isNull() ? 0 : v.toInt(); }

} // namespace

CatalogoTabela LerCatalogoTabela(clsData& db, const QString& tabela)
{
    CatalogoTabela c;
    const auto m = db.ActiveConnection();
    if (!m)
        return c;
    switch (m->DialetoSql()) {
    case Dialeto::Sqlite: CatalogoSqlite(db, *m, tabela, c); break;
    case Dialeto::PostgreSql: CatalogoPostgres(db, *m, tabela, c); break;
    case Dialeto::SqlServer: CatalogoSqlServer(db, *m, tabela, c); break;
    case Dialeto::Outro: c.perdas << QStringLiteral("objetos que este banco não informa"); break;
    }
    return c;
}

bool CarregarEstrutura(clsData& db, const QString& tabela, QList<ColunaEstrutura>& colunas)
{
    colunas.clear();
    const auto m = db.ActiveConnection();
    RecordsetPtr rs;
    if (!m || !db.OpenSchema(tiposchema::Colunas, rs, tabela, {}, {}, {}, false) || !rs)
        return false;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        ColunaEstrutura c;
        c.campo = c.originalCampo = rs->Valor(QStringLiteral("COLUMN_NAME")).toString();
        qint32 tamanho = 0;
        c.tipoDado = c.originalTipoDado = tipodado::TipoDaColuna(*rs, false, &tamanho);
        c.tamanho = c.originalTamanho = tamanho;
        c.ordem = c.originalOrdem = Inteiro(rs->Valor(QStringLiteral("ORDINAL_POSITION"))) * 10;
        c.allowNulls = c.originalAllowNulls = rs->Valor(QStringLiteral("IS_NULLABLE")).toBool();
        colunas << c;
    }
    std::stable_sort(colunas.begin(), colunas.end(), [](const auto& a, const auto& b) { return a.ordem < b.ordem; });
    for (const QString& k : m->ChavesPrimarias(tabela))
        for (ColunaEstrutura& c : colunas)
            if (m->MesmoNome(c.campo, k))
                c.chave = c.originalChave = true;
    switch (m->DialetoSql()) {
    case Dialeto::Sqlite: DetalhesSqlite(db, tabela, colunas); break;
    case Dialeto::PostgreSql: DetalhesPostgres(db, *m, tabela, colunas); break;
    case Dialeto::SqlServer: DetalhesSqlServer(db, tabela, colunas); break;
    case Dialeto::Outro: break;
    }
    return !colunas.isEmpty();
}
