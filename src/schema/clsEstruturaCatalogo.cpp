// Reading a table's structure and what a rebuild must carry or would lose, per engine.
#include "clsEstrutura.h"

#include "connections/clsData.h"
#include "schema/clsIndice.h"
#include "schema/mdlDdlSqlite.h"
#include "schema/mdlLinhasCatalogo.h"
#include "schema/mdlTipoDado.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

using catalogo::Linhas;
using catalogo::Lit;
using catalogo::Primeiras;
using catalogo::Verdade;

// The table as PostgreSQL's regclass literal names it.
QString RegClass(const clsMotor& m, const ObjetoBanco& tabela)
{
    return Lit(m.NomeQualificado(tabela)) + QStringLiteral("::regclass");
}

// SQLite: what names an object of the table's database (an attached file is a schema): the prefix
// of its catalog table and of its pragmas.
QString PrefixoSqlite(const clsMotor& m, const ObjetoBanco& tabela)
{
    return tabela.esquema.isEmpty() ? QString() : m.CitarIdentificador(tabela.esquema) + u'.';
}

QString CreateTableSqlite(clsData& db, const clsMotor& m, const ObjetoBanco& tabela)
{
    return db
        .RetValue(QStringLiteral("SELECT sql FROM ") + PrefixoSqlite(m, tabela)
                  + QStringLiteral("sqlite_schema WHERE type = 'table' AND name = ") + Lit(tabela.nome)
                  + QStringLiteral(" COLLATE NOCASE"))
        .toString();
}

// SQLite's procedure for table changes: the indexes and triggers are recreated from their text, the
// table's own constraints go into the new CREATE, and the foreign keys of the table and of every
// table pointing at it are checked before the commit.
void CatalogoSqlite(clsData& db, const clsMotor& m, const ObjetoBanco& objeto, CatalogoTabela& c)
{
    const QString& tabela = objeto.nome;
    const QString prefixo = PrefixoSqlite(m, objeto);
    c.scripts = Primeiras(db,
                          QStringLiteral("SELECT sql FROM ") + prefixo
                              + QStringLiteral("sqlite_schema WHERE tbl_name = ") + Lit(tabela)
                              + QStringLiteral(" COLLATE NOCASE AND type IN ('index', 'trigger') AND sql IS NOT NULL "
                                               "ORDER BY type = 'trigger', rowid"));
    // The stored text names an index or trigger bare, which would create it in the main file:
    // one of an attached file is created there again.
    if (!prefixo.isEmpty()) {
        static const QRegularExpression criar(
            QStringLiteral(R"(^(\s*CREATE\s+(?:UNIQUE\s+)?(?:INDEX|TRIGGER)\s+(?:IF\s+NOT\s+EXISTS\s+)?))"),
            QRegularExpression::CaseInsensitiveOption);
        for (QString& sql : c.scripts)
            sql.replace(criar, QStringLiteral("\\1") + prefixo);
    }
    const ddlsqlite::Tabela t = ddlsqlite::LerCreateTable(CreateTableSqlite(db, m, objeto), tabela);
    if (!t.reconhecida) {
        c.perdas << QStringLiteral("partes da definição que o designer não consegue ler");
        return;
    }
    if (!t.calculadas.isEmpty())
        c.perdas << QStringLiteral("colunas calculadas (") + t.calculadas.join(QStringLiteral(", ")) + u')';
    c.restricoes = t.restricoes;
    c.opcoesTabela = t.opcoes;
    c.nomeChave = t.nomeChave;
    // Other tables' keys on it stay in their tables; the columns they name must still be there.
    QStringList tabelas{tabela};
    for (const QStringList& l :
         Linhas(db,
                QStringLiteral("SELECT m.name, f.\"from\", f.\"to\" FROM ") + prefixo
                    + QStringLiteral("sqlite_schema m, pragma_foreign_key_list(m.name, ")
                    + Lit(objeto.esquema.isEmpty() ? QStringLiteral("main") : objeto.esquema)
                    + QStringLiteral(") f WHERE m.type = 'table' AND f.\"table\" = ") + Lit(tabela)
                    + QStringLiteral(" COLLATE NOCASE AND m.name <> ") + Lit(tabela)
                    + QStringLiteral(" COLLATE NOCASE ORDER BY m.name, f.id, f.seq"))) {
        if (!tabelas.contains(l.value(0)))
            tabelas << l.value(0);
        if (l.value(2).isEmpty())
            continue;
        ddlsqlite::Restricao x;
        x.tipo = ddlsqlite::Restricao::Externa;
        x.texto = QStringLiteral("chave estrangeira ") + l.value(0) + QStringLiteral(" (") + l.value(1) + u')';
        x.nomes << l.value(2);
        c.restricoes << x;
    }
    for (const QString& n : tabelas)
        c.verificacoes << QStringLiteral("PRAGMA ") + prefixo + QStringLiteral("foreign_key_check(")
                              + m.CitarIdentificador(n) + u')';
    // What reads the table's columns by name.
    for (const QStringList& l : Linhas(db,
                                       QStringLiteral("SELECT type, name, sql FROM ") + prefixo
                                           + QStringLiteral("sqlite_schema WHERE sql IS NOT NULL AND (type IN ('view', "
                                                            "'trigger') OR (type = 'index' AND tbl_name = ")
                                           + Lit(tabela) + QStringLiteral(" COLLATE NOCASE)) ORDER BY type, name"))) {
        const QString tipo = l.value(0) == u"view"      ? QStringLiteral("a visão «")
                             : l.value(0) == u"trigger" ? QStringLiteral("o trigger «")
                                                        : QStringLiteral("o índice «");
        c.dependentes << CatalogoTabela::Dependente{tipo + l.value(1) + QStringLiteral("»"),
                                                    ddlsqlite::Identificadores(l.value(2))};
    }
    // sqlite_sequence exists once a table of the file has AUTOINCREMENT.
    c.autoincremento
        = Primeiras(db,
                    QStringLiteral("SELECT seq FROM ") + prefixo + QStringLiteral("sqlite_sequence WHERE name = ")
                        + Lit(tabela) + QStringLiteral(" COLLATE NOCASE"))
              .value(0);
    c.secureDelete = db.RetValue(QStringLiteral("PRAGMA secure_delete")).toString();
    c.cacheSize = db.RetValue(QStringLiteral("PRAGMA cache_size")).toString();
    if (objeto.esquema.isEmpty())
        c.versaoEsquema = db.RetValue(QStringLiteral("PRAGMA schema_version")).toString();
}

void CatalogoPostgres(clsData& db, const clsMotor& m, const ObjetoBanco& tabela, CatalogoTabela& c)
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
    // A generated column would come back as a plain one holding copies of its values.
    if (const QStringList n = Primeiras(db,
                                        QStringLiteral("SELECT attname FROM pg_attribute WHERE attnum > 0 AND NOT "
                                                       "attisdropped AND attgenerated <> '' AND attrelid = ")
                                            + rel + QStringLiteral(" ORDER BY attnum"));
        !n.isEmpty())
        c.perdas << QStringLiteral("colunas calculadas (") + n.join(QStringLiteral(", ")) + u')';
    // The table's own checks and foreign keys come back on the new table, as the server words
    // them; a constraint naming a column that is gone fails there and undoes the whole save.
    const QString tabelaCitada = m.NomeQualificado(tabela);
    for (const QStringList& l :
         Linhas(db,
                QStringLiteral("SELECT conname, pg_get_constraintdef(oid) FROM pg_constraint WHERE conrelid = ") + rel
                    + QStringLiteral(" AND contype IN ('c', 'f') ORDER BY contype, oid")))
        c.depoisDaChave << QStringLiteral("ALTER TABLE ") + tabelaCitada + QStringLiteral(" ADD CONSTRAINT ")
                               + m.CitarIdentificador(l.value(0)) + u' ' + l.value(1);
    // The owner, the privileges granted on it and the comments come back on the new table.
    for (const QString& dono :
         Primeiras(db,
                   QStringLiteral("SELECT quote_ident(pg_get_userbyid(relowner)) FROM pg_class WHERE oid = ") + rel
                       + QStringLiteral(" AND relowner <> (SELECT oid FROM pg_roles WHERE rolname = current_user)")))
        c.privilegios << QStringLiteral("ALTER TABLE ") + tabelaCitada + QStringLiteral(" OWNER TO ") + dono;
    for (const QStringList& l :
         Linhas(db,
                QStringLiteral("SELECT a.privilege_type, CASE WHEN a.grantee = 0 THEN 'PUBLIC' ELSE "
                               "quote_ident(pg_get_userbyid(a.grantee)) END, a.is_grantable FROM pg_class c CROSS JOIN "
                               "LATERAL aclexplode(c.relacl) a WHERE a.grantee <> c.relowner AND c.oid = ")
                    + rel + QStringLiteral(" ORDER BY 2, 1")))
        c.privilegios << QStringLiteral("GRANT ") + l.value(0) + QStringLiteral(" ON ") + tabelaCitada
                             + QStringLiteral(" TO ") + l.value(1)
                             + (Verdade(l.value(2)) ? QStringLiteral(" WITH GRANT OPTION") : QString());
    // What a new table would not have and the rebuild does not write back is named, and the rebuild
    // refused: row-level security with its policies, and privileges granted on single columns.
    if (Verdade(Primeiras(db,
                          QStringLiteral("SELECT relrowsecurity OR relforcerowsecurity OR EXISTS (SELECT 1 FROM "
                                         "pg_policy WHERE polrelid = c.oid) FROM pg_class c WHERE c.oid = ")
                              + rel)
                    .value(0)))
        c.perdas << QStringLiteral("segurança por linha (RLS) e suas políticas");
    if (const QStringList colunas
        = Primeiras(db,
                    QStringLiteral("SELECT attname FROM pg_attribute WHERE attnum > 0 AND NOT attisdropped AND attacl "
                                   "IS NOT NULL AND attrelid = ")
                        + rel + QStringLiteral(" ORDER BY attnum"));
        !colunas.isEmpty())
        c.perdas << QStringLiteral("privilégios concedidos por coluna (") + colunas.join(QStringLiteral(", ")) + u')';
    // The old table cannot be dropped while a view reads it: named here instead of by the server
    // halfway through the save.
    if (const QStringList visoes
        = Primeiras(db,
                    QStringLiteral("SELECT DISTINCT r.ev_class::regclass::text FROM pg_depend d JOIN pg_rewrite r ON "
                                   "r.oid = d.objid WHERE d.classid = 'pg_rewrite'::regclass AND d.refclassid = "
                                   "'pg_class'::regclass AND d.refobjid = ")
                        + rel + QStringLiteral(" AND r.ev_class <> ") + rel + QStringLiteral(" ORDER BY 1"));
        !visoes.isEmpty())
        c.perdas << QStringLiteral("visões que a leem (") + visoes.join(QStringLiteral(", ")) + u')';
    c.comentario
        = Primeiras(db, QStringLiteral("SELECT obj_description(") + rel + QStringLiteral(", 'pg_class')")).value(0);
    for (const QStringList& l :
         Linhas(db,
                QStringLiteral("SELECT attname, col_description(attrelid, attnum) FROM pg_attribute WHERE attnum > 0 "
                               "AND NOT attisdropped AND col_description(attrelid, attnum) IS NOT NULL AND attrelid = ")
                    + rel))
        c.comentariosColunas.append({l.value(0), l.value(1)});
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

// SQL Server's table as OBJECT_ID names it.
QString ObjetoSqlServer(const clsMotor& m, const ObjetoBanco& tabela)
{
    return QStringLiteral("OBJECT_ID(N") + Lit(m.NomeQualificado(tabela)) + u')';
}

// schema.name, each quoted.
QString NomeCompleto(const clsMotor& m, const QString& esquema, const QString& nome)
{
    return m.CitarIdentificador(esquema) + u'.' + m.CitarIdentificador(nome);
}

// Indexes and unique constraints, rebuilt from the catalog with their key order, included columns
// and filter; an index of a kind the designer cannot write (XML, spatial, columnstore) is refused.
void IndicesSqlServer(clsData& db, const clsMotor& m, const ObjetoBanco& tabela, const QString& obj, CatalogoTabela& c)
{
    const QList<QStringList> linhas
        = Linhas(db,
                 QStringLiteral("SELECT i.index_id, i.name, i.is_unique, i.type, i.is_unique_constraint, "
                                "ic.is_included_column, ic.is_descending_key, COL_NAME(ic.object_id, ic.column_id), "
                                "i.has_filter, i.filter_definition FROM sys.indexes i JOIN sys.index_columns ic ON "
                                "ic.object_id = i.object_id AND ic.index_id = i.index_id WHERE i.object_id = ")
                     + obj
                     + QStringLiteral(" AND i.is_primary_key = 0 AND i.type > 0 AND i.is_hypothetical = 0 ORDER BY "
                                      "i.index_id, ic.is_included_column, ic.key_ordinal, ic.index_column_id"));
    QStringList especiais;
    for (qsizetype k = 0; k < linhas.size();) {
        const QStringList& l = linhas[k];
        const QString id = l.value(0), nome = l.value(1);
        const int tipo = l.value(3).toInt();
        DefinicaoIndice def;
        for (; k < linhas.size() && linhas[k].value(0) == id; ++k) {
            if (Verdade(linhas[k].value(5)))
                def.incluidas << linhas[k].value(7);
            else
                def.colunas << ColunaIndice{linhas[k].value(7), Verdade(linhas[k].value(6))};
        }
        if (tipo != 1 && tipo != 2) {
            especiais << nome;
            continue;
        }
        if (Verdade(l.value(4))) {
            QStringList lista;
            for (const ColunaIndice& x : def.colunas)
                lista << m.CitarIdentificador(x.nome) + (x.desc ? QStringLiteral(" DESC") : QString());
            c.scripts << QStringLiteral("ALTER TABLE ") + m.NomeQualificado(tabela) + QStringLiteral(" ADD CONSTRAINT ")
                             + m.CitarIdentificador(nome) + QStringLiteral(" UNIQUE ")
                             + (tipo == 1 ? QStringLiteral("CLUSTERED") : QStringLiteral("NONCLUSTERED"))
                             + QStringLiteral(" (") + lista.join(QStringLiteral(", ")) + u')';
            continue;
        }
        def.unico = Verdade(l.value(2));
        def.clustered = tipo == 1;
        if (Verdade(l.value(8)))
            def.filtro = l.value(9);
        c.scripts << SqlCriarIndice(m, tabela, nome, def);
    }
    if (!especiais.isEmpty())
        c.perdas << QStringLiteral("índices especiais (") + especiais.join(QStringLiteral(", ")) + u')';
}

// The table's foreign keys and other tables' keys on it. The table's own go with the old table and
// come back once the new one has its key; other tables' are dropped before the old table goes and
// added again, WITH CHECK unless the server did not trust them, which checks their rows.
void ChavesEstrangeirasSqlServer(clsData& db, const clsMotor& m, const QString& obj, CatalogoTabela& c)
{
    const QList<QStringList> linhas = Linhas(
        db,
        QStringLiteral(
            "SELECT fk.object_id, fk.name, OBJECT_SCHEMA_NAME(fk.parent_object_id), OBJECT_NAME(fk.parent_object_id), "
            "OBJECT_SCHEMA_NAME(fk.referenced_object_id), OBJECT_NAME(fk.referenced_object_id), "
            "COL_NAME(fc.parent_object_id, fc.parent_column_id), "
            "COL_NAME(fc.referenced_object_id, fc.referenced_column_id), fk.delete_referential_action_desc, "
            "fk.update_referential_action_desc, fk.is_not_trusted, fk.is_disabled, fk.is_not_for_replication, "
            "CASE WHEN fk.parent_object_id = ")
            + obj
            + QStringLiteral(" THEN 1 ELSE 0 END FROM sys.foreign_keys fk JOIN sys.foreign_key_columns fc ON "
                             "fc.constraint_object_id = fk.object_id WHERE fk.parent_object_id = ")
            + obj + QStringLiteral(" OR fk.referenced_object_id = ") + obj
            + QStringLiteral(" ORDER BY fk.object_id, fc.constraint_column_id"));
    for (qsizetype k = 0; k < linhas.size();) {
        const QStringList& l = linhas[k];
        const QString id = l.value(0);
        QStringList filhas, pais;
        for (; k < linhas.size() && linhas[k].value(0) == id; ++k) {
            filhas << m.CitarIdentificador(linhas[k].value(6));
            pais << m.CitarIdentificador(linhas[k].value(7));
        }
        const QString tabelaFilha = QStringLiteral("ALTER TABLE ") + NomeCompleto(m, l.value(2), l.value(3));
        const QString nome = m.CitarIdentificador(l.value(1));
        c.depoisDaChave << tabelaFilha
                               + (Verdade(l.value(10)) ? QStringLiteral(" WITH NOCHECK")
                                                       : QStringLiteral(" WITH CHECK"))
                               + QStringLiteral(" ADD CONSTRAINT ") + nome + QStringLiteral(" FOREIGN KEY (")
                               + filhas.join(QStringLiteral(", ")) + QStringLiteral(") REFERENCES ")
                               + NomeCompleto(m, l.value(4), l.value(5)) + QStringLiteral(" (")
                               + pais.join(QStringLiteral(", ")) + QStringLiteral(") ON DELETE ")
                               + QString(l.value(8)).replace(u'_', u' ') + QStringLiteral(" ON UPDATE ")
                               + QString(l.value(9)).replace(u'_', u' ')
                               + (Verdade(l.value(12)) ? QStringLiteral(" NOT FOR REPLICATION") : QString());
        if (Verdade(l.value(11)))
            c.depoisDaChave << tabelaFilha + QStringLiteral(" NOCHECK CONSTRAINT ") + nome;
        if (!Verdade(l.value(13)))
            c.antesDeApagar << tabelaFilha + QStringLiteral(" DROP CONSTRAINT ") + nome;
    }
}

// SQL Server: the rebuild recreates the table's indexes, unique constraints, triggers, checks and
// foreign keys, and other tables' keys on it, in the same transaction; what it cannot write back
// (computed columns, encrypted triggers, special indexes) is refused by name.
void CatalogoSqlServer(clsData& db, const clsMotor& m, const ObjetoBanco& tabela, CatalogoTabela& c)
{
    const QString obj = ObjetoSqlServer(m, tabela);
    const QString t = m.NomeQualificado(tabela);
    c.nomeChave
        = Primeiras(db,
                    QStringLiteral("SELECT name FROM sys.key_constraints WHERE type = 'PK' AND parent_object_id = ")
                        + obj)
              .value(0);
    if (const QStringList n
        = Primeiras(db, QStringLiteral("SELECT name FROM sys.computed_columns WHERE object_id = ") + obj);
        !n.isEmpty())
        c.perdas << QStringLiteral("colunas calculadas (") + n.join(QStringLiteral(", ")) + u')';
    IndicesSqlServer(db, m, tabela, obj, c);
    QStringList criptografados;
    for (const QStringList& l :
         Linhas(db,
                QStringLiteral(
                    "SELECT name, OBJECT_DEFINITION(object_id), is_disabled FROM sys.triggers WHERE parent_id = ")
                    + obj + QStringLiteral(" ORDER BY object_id"))) {
        if (l.value(1).isEmpty()) {
            criptografados << l.value(0);
            continue;
        }
        c.scripts << l.value(1);
        if (Verdade(l.value(2)))
            c.scripts << QStringLiteral("DISABLE TRIGGER ") + m.CitarIdentificador(l.value(0)) + QStringLiteral(" ON ")
                             + t;
    }
    if (!criptografados.isEmpty())
        c.perdas << QStringLiteral("triggers criptografados (") + criptografados.join(QStringLiteral(", ")) + u')';
    // Checks as the server words them; one that reads a column gone fails and undoes the save.
    for (const QStringList& l :
         Linhas(db,
                QStringLiteral("SELECT name, definition, is_not_trusted, is_disabled, is_not_for_replication FROM "
                               "sys.check_constraints WHERE parent_object_id = ")
                    + obj + QStringLiteral(" ORDER BY object_id"))) {
        const QString nome = m.CitarIdentificador(l.value(0));
        c.depoisDaChave << QStringLiteral("ALTER TABLE ") + t
                               + (Verdade(l.value(2)) ? QStringLiteral(" WITH NOCHECK") : QStringLiteral(" WITH CHECK"))
                               + QStringLiteral(" ADD CONSTRAINT ") + nome + QStringLiteral(" CHECK ")
                               + (Verdade(l.value(4)) ? QStringLiteral("NOT FOR REPLICATION ") : QString())
                               + l.value(1);
        if (Verdade(l.value(3)))
            c.depoisDaChave << QStringLiteral("ALTER TABLE ") + t + QStringLiteral(" NOCHECK CONSTRAINT ") + nome;
    }
    ChavesEstrangeirasSqlServer(db, m, obj, c);
}

// SQLite and PostgreSQL: the type box shows the engine's own type, read from the declared type with
// its size or precision and scale. A column declared without a type keeps the name it was given.
void TipoProprio(ColunaEstrutura& c, const QString& nativo)
{
    c.tipoNativo = nativo;
    QString nome;
    qint32 tamanho = 0, precisao = 0, escala = 0;
    DecomporTipo(nativo, nome, tamanho, precisao, escala);
    if (nome.isEmpty())
        return;
    c.tipoDado = c.originalTipoDado = nome;
    c.tamanho = c.originalTamanho = tamanho;
    c.precisao = c.originalPrecisao = precisao;
    c.escala = c.originalEscala = escala;
}

// Declared type, default and auto-numbering of each column, as the engine keeps them.
void DetalhesSqlite(clsData& db, const clsMotor& m, const ObjetoBanco& tabela, QList<ColunaEstrutura>& colunas)
{
    const QString sql = CreateTableSqlite(db, m, tabela);
    const ddlsqlite::Tabela t = ddlsqlite::LerCreateTable(sql, tabela.nome);
    const bool autoincremento = sql.contains(QStringLiteral("AUTOINCREMENT"), Qt::CaseInsensitive);
    const QList<QStringList> info = Linhas(
        db,
        QStringLiteral("SELECT name, type, dflt_value, pk FROM pragma_table_info(") + Lit(tabela.nome)
            + QStringLiteral(", ") + Lit(tabela.esquema.isEmpty() ? QStringLiteral("main") : tabela.esquema) + u')');
    int nChave = 0;
    for (const QStringList& l : info)
        nChave += l.value(3).toInt() > 0;
    for (ColunaEstrutura& c : colunas)
        for (const QStringList& l : info) {
            if (l.value(0).compare(c.campo, Qt::CaseInsensitive) != 0)
                continue;
            TipoProprio(c, l.value(1));
            c.padrao = c.originalPadrao = l.value(2);
            c.colacao = t.colacoes.value(c.campo.toLower());
            c.identity = c.originalIdentity
                = autoincremento && nChave == 1 && l.value(3).toInt() == 1
                  && l.value(1).compare(QStringLiteral("INTEGER"), Qt::CaseInsensitive) == 0;
            c.identitySeed = c.originalIdentitySeed = c.identity ? 1 : 0;
            c.identityIncrement = c.originalIdentityIncrement = c.identity ? 1 : 0;
        }
}

void DetalhesPostgres(clsData& db, const clsMotor& m, const ObjetoBanco& tabela, QList<ColunaEstrutura>& colunas)
{
    const QString rel = RegClass(m, tabela);
    const QList<QStringList> info = Linhas(
        db,
        QStringLiteral("SELECT a.attname, format_type(a.atttypid, a.atttypmod), pg_get_expr(d.adbin, d.adrelid), "
                       "CASE WHEN a.attidentity <> '' THEN 1 ELSE 0 END, s.seqstart, s.seqincrement, "
                       "a.attidentity = 'a', q.seq, sc.relname FROM pg_attribute a "
                       "LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum "
                       "CROSS JOIN LATERAL (SELECT pg_get_serial_sequence(")
            + Lit(m.NomeQualificado(tabela))
            + QStringLiteral(", a.attname) AS seq) q LEFT JOIN pg_class sc ON sc.oid = q.seq::regclass "
                             "LEFT JOIN pg_sequence s ON a.attidentity <> '' AND s.seqrelid = sc.oid "
                             "WHERE a.attnum > 0 AND NOT a.attisdropped AND a.attrelid = ")
            + rel);
    for (ColunaEstrutura& c : colunas)
        for (const QStringList& l : info) {
            if (l.value(0) != c.campo)
                continue;
            TipoProprio(c, l.value(1));
            c.padrao = c.originalPadrao = l.value(2);
            c.identity = c.originalIdentity = l.value(3).toInt() == 1;
            c.identitySeed = c.originalIdentitySeed = l.value(4).toInt();
            c.identityIncrement = c.originalIdentityIncrement = l.value(5).toInt();
            c.identitySempre = Verdade(l.value(6));
            c.sequencia = l.value(7);
            c.nomeSequencia = l.value(8);
        }
}

// A column's type as SQL Server declares it, from sys.columns and sys.types: name, is_user_defined,
// max_length, precision, scale.
QString TipoSqlServer(const clsMotor& m, const QStringList& l)
{
    const QString nome = l.value(1).toLower();
    if (Verdade(l.value(2)))
        return m.CitarIdentificador(l.value(1));
    const int tamanho = l.value(3).toInt();
    if (nome == u"varchar" || nome == u"char" || nome == u"varbinary" || nome == u"binary")
        return nome + u'(' + (tamanho < 0 ? QStringLiteral("max") : QString::number(tamanho)) + u')';
    if (nome == u"nvarchar" || nome == u"nchar")
        return nome + u'(' + (tamanho < 0 ? QStringLiteral("max") : QString::number(tamanho / 2)) + u')';
    if (nome == u"decimal" || nome == u"numeric")
        return nome + u'(' + l.value(4) + QStringLiteral(", ") + l.value(5) + u')';
    if (nome == u"datetime2" || nome == u"time" || nome == u"datetimeoffset")
        return nome + u'(' + l.value(5) + u')';
    if (nome == u"float")
        return nome + u'(' + l.value(4) + u')';
    return nome;
}

// Whether a column is its table's identity, with seed and increment. The data layer's answers read
// the table by its bare name; a table of a named schema is read by its object id.
bool IdentidadeSqlServer(clsData& db,
                         const clsMotor& m,
                         const ObjetoBanco& tabela,
                         const QString& coluna,
                         qint32& semente,
                         qint32& incremento)
{
    if (tabela.esquema.isEmpty()) {
        if (!db.ColumnIsIdentity(tabela.nome, coluna))
            return false;
        semente = db.IdentitySeed(tabela.nome);
        incremento = db.IdentityIncrement(tabela.nome);
        return true;
    }
    const QString nome = QStringLiteral("N") + Lit(m.NomeQualificado(tabela));
    const QStringList l = Linhas(db,
                                 QStringLiteral("SELECT COLUMNPROPERTY(OBJECT_ID(") + nome + QStringLiteral("), N")
                                     + Lit(coluna) + QStringLiteral(", 'IsIdentity'), IDENT_SEED(") + nome
                                     + QStringLiteral("), IDENT_INCR(") + nome + QStringLiteral(")"))
                              .value(0);
    if (l.value(0).toInt() != 1)
        return false;
    semente = l.value(1).toInt();
    incremento = l.value(2).toInt();
    return true;
}

void DetalhesSqlServer(clsData& db, const clsMotor& m, const ObjetoBanco& tabela, QList<ColunaEstrutura>& colunas)
{
    // Defaults keep their constraint names: the rebuild adds them to the new table once the old
    // one, which holds those names, is gone.
    const QList<QStringList> padroes
        = Linhas(db,
                 QStringLiteral("SELECT c.name, d.name, d.definition FROM sys.default_constraints d JOIN sys.columns c "
                                "ON c.object_id = d.parent_object_id AND c.column_id = d.parent_column_id WHERE "
                                "d.parent_object_id = ")
                     + ObjetoSqlServer(m, tabela));
    // The declared type with its size, precision and scale, and a collation other than the
    // database's: a column the user does not change keeps them through the rebuild.
    const QList<QStringList> tipos
        = Linhas(db,
                 QStringLiteral("SELECT c.name, t.name, t.is_user_defined, c.max_length, c.precision, c.scale, "
                                "CASE WHEN c.collation_name <> CONVERT(sysname, DATABASEPROPERTYEX(DB_NAME(), "
                                "'Collation')) THEN c.collation_name END FROM sys.columns c JOIN sys.types t ON "
                                "t.user_type_id = c.user_type_id WHERE c.object_id = ")
                     + ObjetoSqlServer(m, tabela));
    for (ColunaEstrutura& c : colunas) {
        for (const QStringList& l : padroes)
            if (l.value(0).compare(c.campo, Qt::CaseInsensitive) == 0) {
                c.nomePadrao = l.value(1);
                c.padrao = c.originalPadrao = l.value(2);
            }
        for (const QStringList& l : tipos)
            if (l.value(0).compare(c.campo, Qt::CaseInsensitive) == 0) {
                c.tipoNativo = TipoSqlServer(m, l);
                if (!l.value(6).isEmpty())
                    c.colacao = QStringLiteral("COLLATE ") + l.value(6);
            }
        qint32 semente = 0, incremento = 0;
        c.identity = c.originalIdentity = IdentidadeSqlServer(db, m, tabela, c.campo, semente, incremento);
        if (c.identity) {
            c.identitySeed = c.originalIdentitySeed = semente;
            c.identityIncrement = c.originalIdentityIncrement = incremento;
        }
    }
}

qint32 Inteiro(const QVariant& v) { return v.isNull() ? 0 : v.toInt(); }

} // namespace

CatalogoTabela LerCatalogoTabela(clsData& db, const ObjetoBanco& tabela)
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

bool CarregarEstrutura(clsData& db, const ObjetoBanco& tabela, QList<ColunaEstrutura>& colunas)
{
    colunas.clear();
    const auto m = db.ActiveConnection();
    RecordsetPtr rs;
    // The columns of this table of this schema only: a namesake elsewhere is another table.
    if (!m || !db.OpenSchema(tiposchema::Colunas, rs, {.tabela = tabela.nome, .esquema = tabela.esquema}, false) || !rs)
        return false;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        ColunaEstrutura c;
        c.campo = c.originalCampo = rs->Valor(QStringLiteral("COLUMN_NAME")).toString();
        qint32 tamanho = 0;
        c.tipoDado = c.originalTipoDado = tipodado::TipoDaColuna(*rs, false, &tamanho);
        c.tamanho = c.originalTamanho = tamanho;
        if (TipoComPrecisao(c.tipoDado)) {
            c.precisao = c.originalPrecisao = Inteiro(rs->Valor(QStringLiteral("NUMERIC_PRECISION")));
            c.escala = c.originalEscala = Inteiro(rs->Valor(QStringLiteral("NUMERIC_SCALE")));
        }
        c.ordem = c.originalOrdem = Inteiro(rs->Valor(QStringLiteral("ORDINAL_POSITION"))) * 10;
        c.allowNulls = c.originalAllowNulls = rs->Valor(QStringLiteral("IS_NULLABLE")).toBool();
        colunas << c;
    }
    std::stable_sort(colunas.begin(), colunas.end(), [](const auto& a, const auto& b) { return a.ordem < b.ordem; });
    for (const QString& k : m->ChavesPrimarias(tabela.nome, tabela.esquema))
        for (ColunaEstrutura& c : colunas)
            if (m->MesmoNome(c.campo, k))
                c.chave = c.originalChave = true;
    switch (m->DialetoSql()) {
    case Dialeto::Sqlite: DetalhesSqlite(db, *m, tabela, colunas); break;
    case Dialeto::PostgreSql: DetalhesPostgres(db, *m, tabela, colunas); break;
    case Dialeto::SqlServer: DetalhesSqlServer(db, *m, tabela, colunas); break;
    case Dialeto::Outro: break;
    }
    return !colunas.isEmpty();
}
