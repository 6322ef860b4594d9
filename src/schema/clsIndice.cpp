#include "clsIndice.h"

#include "connections/clsData.h"
#include "platform/clsMotor.h"
#include "platform/clsPrompt.h"
#include "schema/mdlDdlSqlite.h"
#include "schema/mdlLinhasCatalogo.h"

#include <algorithm>

using catalogo::Linhas;
using catalogo::Lit;
using catalogo::Verdade;

namespace {

const QString PeloScript = QStringLiteral("; edite-o pelo script");

// Any engine: the indexes schema gives the key columns, their order and uniqueness.
void IndiceGenerico(clsData& db, const clsMotor& m, const ObjetoBanco& tabela, const QString& indice, IndiceLido& lido)
{
    RecordsetPtr rs;
    if (!db.OpenSchema(512, rs, tabela.nome, {}, {}, {}, false, indice, false, tabela.esquema) || !rs)
        return;
    QList<std::pair<int, ColunaIndice>> chave;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        if (!m.MesmoNome(rs->Valor(QStringLiteral("INDEX_NAME")).toString(), indice))
            continue;
        chave.append({rs->Valor(QStringLiteral("ORDINAL_POSITION")).toInt(),
                      {rs->Valor(QStringLiteral("COLUMN_NAME")).toString(),
                       rs->Valor(QStringLiteral("COLLATION")).toInt() == 2}});
        lido.def.unico = rs->Valor(QStringLiteral("UNIQUE")).toBool();
    }
    std::stable_sort(chave.begin(), chave.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [pos, c] : chave)
        lido.def.colunas << c;
}

// SQLite: the key columns from the index's own list (an expression has no column), the filter and
// any COLLATE from its text; an index the table's UNIQUE or key made has no text to recreate.
void IndiceSqlite(clsData& db, const ObjetoBanco& tabela, const QString& indice, IndiceLido& lido)
{
    // An attached file's index is read in that file.
    const QString esquema = tabela.esquema.isEmpty() ? QStringLiteral("main") : tabela.esquema;
    const QStringList lista
        = Linhas(db,
                 QStringLiteral("SELECT \"unique\", origin FROM pragma_index_list(") + Lit(tabela.nome)
                     + QStringLiteral(", ") + Lit(esquema) + QStringLiteral(") WHERE name = ") + Lit(indice))
              .value(0);
    lido.def.unico = Verdade(lista.value(0));
    if (lista.value(1) == u"u" || lista.value(1) == u"pk") {
        lido.somenteLeitura = QStringLiteral("Este índice pertence a uma restrição da tabela (")
                              + (lista.value(1) == u"u" ? QStringLiteral("UNIQUE") : QStringLiteral("PRIMARY KEY"))
                              + QStringLiteral("); mude-a pela estrutura da tabela");
    }
    bool expressao = false;
    for (const QStringList& l :
         Linhas(db,
                QStringLiteral("SELECT name, \"desc\", cid FROM pragma_index_xinfo(") + Lit(indice)
                    + QStringLiteral(", ") + Lit(esquema) + QStringLiteral(") WHERE key = 1 ORDER BY seqno"))) {
        expressao |= l.value(2).toInt() == -2;
        if (l.value(2).toInt() != -2)
            lido.def.colunas << ColunaIndice{l.value(0), Verdade(l.value(1))};
    }
    const ddlsqlite::Indice texto = ddlsqlite::LerCreateIndex(
        db.RetValue(QStringLiteral("SELECT sql FROM ") + db.ActiveConnection()->CitarIdentificador(esquema)
                    + QStringLiteral(".sqlite_schema WHERE type = 'index' AND name = ") + Lit(indice))
            .toString());
    lido.def.filtro = texto.filtro;
    // An index on expressions is shown as written, read-only.
    if (expressao) {
        lido.def.colunas.clear();
        for (const QString& item : texto.itens)
            lido.def.colunas << ColunaIndice{item, false};
    }
    if (!lido.somenteLeitura.isEmpty())
        return;
    if (expressao)
        lido.somenteLeitura = QStringLiteral("Este índice usa expressões") + PeloScript;
    else if (texto.colacao)
        lido.somenteLeitura = QStringLiteral("Este índice usa colações próprias") + PeloScript;
    else if (!texto.reconhecido)
        lido.somenteLeitura = QStringLiteral("O editor não consegue ler a definição deste índice") + PeloScript;
}

// PostgreSQL: pg_index for the whole index, one row per column for key order, descending marks and
// included columns; what a plain CREATE INDEX would not give back makes it read-only, by name.
void IndicePostgres(clsData& db, const clsMotor& m, const ObjetoBanco& tabela, const QString& indice, IndiceLido& lido)
{
    const QStringList i
        = Linhas(db,
                 QStringLiteral(
                     "SELECT i.indexrelid, i.indisunique, i.indisclustered, i.indexprs IS NOT NULL, am.amname, "
                     "pg_get_expr(i.indpred, i.indrelid), con.conname, c.reloptions IS NOT NULL OR "
                     "c.reltablespace <> 0, obj_description(i.indexrelid, 'pg_class'), i.indnullsnotdistinct "
                     "FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid JOIN pg_am am ON am.oid = c.relam "
                     "LEFT JOIN pg_constraint con ON con.conindid = i.indexrelid AND con.conrelid = i.indrelid AND "
                     "con.contype IN ('p', 'u', 'x') WHERE i.indrelid = ")
                     + Lit(m.NomeQualificado(tabela)) + QStringLiteral("::regclass AND c.relname = ") + Lit(indice))
              .value(0);
    if (i.isEmpty())
        return;
    lido.def.unico = Verdade(i.value(1));
    lido.def.filtro = i.value(5);
    QStringList motivos;
    bool colacao = false, classe = false, nulos = false;
    for (const QStringList& l : Linhas(
             db,
             QStringLiteral("SELECT a.attname, COALESCE(i.indoption[(k.n - 1)::int], 0) & 1, "
                            "COALESCE(i.indoption[(k.n - 1)::int], 0) & 2, k.n > i.indnkeyatts, "
                            "COALESCE(i.indcollation[(k.n - 1)::int], 0) NOT IN (0, a.attcollation), "
                            "COALESCE(o.opcdefault, true) FROM pg_index i CROSS JOIN LATERAL unnest(i.indkey::int2[]) "
                            "WITH ORDINALITY AS k(att, n) LEFT JOIN pg_attribute a ON a.attrelid = i.indrelid AND "
                            "a.attnum = k.att LEFT JOIN pg_opclass o ON o.oid = i.indclass[(k.n - 1)::int] "
                            "WHERE i.indexrelid = ")
                 + i.value(0) + QStringLiteral(" ORDER BY k.n"))) {
        if (l.value(0).isEmpty())
            continue; // an expression
        if (Verdade(l.value(3))) {
            lido.def.incluidas << l.value(0);
            continue;
        }
        const bool desc = l.value(1) != u"0", nulosPrimeiro = l.value(2) != u"0";
        lido.def.colunas << ColunaIndice{l.value(0), desc};
        nulos |= desc != nulosPrimeiro;
        colacao |= Verdade(l.value(4));
        classe |= !Verdade(l.value(5));
    }
    if (!i.value(6).isEmpty())
        lido.somenteLeitura = QStringLiteral("Este índice pertence à restrição ") + i.value(6)
                              + QStringLiteral("; mude-a pela estrutura da tabela");
    else if (Verdade(i.value(3)))
        lido.somenteLeitura = QStringLiteral("Este índice usa expressões") + PeloScript;
    else if (i.value(4) != u"btree")
        lido.somenteLeitura = QStringLiteral("Este índice usa o método ") + i.value(4) + PeloScript;
    else if (colacao)
        lido.somenteLeitura = QStringLiteral("Este índice usa colações próprias") + PeloScript;
    else if (classe)
        lido.somenteLeitura = QStringLiteral("Este índice usa classes de operadores próprias") + PeloScript;
    else if (nulos)
        lido.somenteLeitura = QStringLiteral("Este índice usa uma ordem própria para os nulos") + PeloScript;
    else if (Verdade(i.value(9)))
        lido.somenteLeitura = QStringLiteral("Este índice usa NULLS NOT DISTINCT") + PeloScript;
    else if (Verdade(i.value(7)))
        lido.somenteLeitura = QStringLiteral("Este índice tem parâmetros de armazenamento próprios") + PeloScript;
    if (Verdade(i.value(2)))
        lido.depois << QStringLiteral("ALTER TABLE ") + m.NomeQualificado(tabela) + QStringLiteral(" CLUSTER ON ")
                           + m.CitarIdentificador(indice);
    if (!i.value(8).isEmpty())
        lido.depois << QStringLiteral("COMMENT ON INDEX ") + m.NomeQualificado(tabela.Irmao(indice))
                           + QStringLiteral(" IS ") + Lit(i.value(8));
}

// SQL Server: sys.indexes and sys.index_columns; the kinds and options a plain CREATE INDEX would
// not give back make it read-only, by name.
void IndiceSqlServer(clsData& db, const clsMotor& m, const ObjetoBanco& tabela, const QString& indice, IndiceLido& lido)
{
    const QList<QStringList> linhas = Linhas(
        db,
        QStringLiteral("SELECT i.type, i.is_unique, i.is_primary_key, i.is_unique_constraint, i.has_filter, "
                       "i.filter_definition, CASE WHEN i.ignore_dup_key = 1 OR i.fill_factor <> 0 OR i.is_padded = 1 "
                       "OR i.allow_row_locks = 0 OR i.allow_page_locks = 0 THEN 1 ELSE 0 END, ic.is_included_column, "
                       "ic.is_descending_key, COL_NAME(ic.object_id, ic.column_id) FROM sys.indexes i JOIN "
                       "sys.index_columns ic ON ic.object_id = i.object_id AND ic.index_id = i.index_id WHERE "
                       "i.object_id = OBJECT_ID(N")
            + Lit(m.NomeQualificado(tabela)) + QStringLiteral(") AND i.name = N") + Lit(indice)
            + QStringLiteral(" ORDER BY ic.is_included_column, ic.key_ordinal, ic.index_column_id"));
    if (linhas.isEmpty())
        return;
    const QStringList& i = linhas.first();
    lido.def.unico = Verdade(i.value(1));
    lido.def.clustered = i.value(0) == u"1";
    if (Verdade(i.value(4)))
        lido.def.filtro = i.value(5);
    for (const QStringList& l : linhas) {
        if (Verdade(l.value(7)))
            lido.def.incluidas << l.value(9);
        else
            lido.def.colunas << ColunaIndice{l.value(9), Verdade(l.value(8))};
    }
    if (Verdade(i.value(2)) || Verdade(i.value(3)))
        lido.somenteLeitura = QStringLiteral("Este índice pertence a uma restrição da tabela (")
                              + (Verdade(i.value(2)) ? QStringLiteral("PRIMARY KEY") : QStringLiteral("UNIQUE"))
                              + QStringLiteral("); mude-a pela estrutura da tabela");
    else if (i.value(0) != u"1" && i.value(0) != u"2")
        lido.somenteLeitura = QStringLiteral("Este índice é de um tipo que o editor não mostra (XML, espacial ou "
                                             "columnstore)")
                              + PeloScript;
    else if (Verdade(i.value(6)))
        lido.somenteLeitura = QStringLiteral("Este índice tem opções que o editor não mostra (IGNORE_DUP_KEY, "
                                             "FILLFACTOR, PAD_INDEX ou bloqueios)")
                              + PeloScript;
}

} // namespace

bool LerIndice(clsData& db, const ObjetoBanco& tabela, const QString& indice, IndiceLido& lido)
{
    lido = {};
    const auto m = db.ActiveConnection();
    if (!m)
        return false;
    lido.outras = m->ColunasTabela(tabela.nome, tabela.esquema);
    if (lido.outras.isEmpty())
        return false;
    if (indice.isEmpty())
        return true;
    switch (m->DialetoSql()) {
    case Dialeto::Sqlite: IndiceSqlite(db, tabela, indice, lido); break;
    case Dialeto::PostgreSql: IndicePostgres(db, *m, tabela, indice, lido); break;
    case Dialeto::SqlServer: IndiceSqlServer(db, *m, tabela, indice, lido); break;
    case Dialeto::Outro: IndiceGenerico(db, *m, tabela, indice, lido); break;
    }
    const auto naLista = [&](const QString& n) {
        return std::any_of(lido.def.colunas.cbegin(),
                           lido.def.colunas.cend(),
                           [&](const ColunaIndice& c) { return m->MesmoNome(n, c.nome); })
               || std::any_of(lido.def.incluidas.cbegin(), lido.def.incluidas.cend(), [&](const QString& c) {
                      return m->MesmoNome(n, c);
                  });
    };
    lido.outras.removeIf(naLista);
    return true;
}

bool AceitaClustered(const clsMotor& m) { return m.DialetoSql() == Dialeto::SqlServer; }

QString SqlCriarIndice(const clsMotor& m, const ObjetoBanco& tabela, const QString& indice, const DefinicaoIndice& def)
{
    QStringList lista;
    for (const ColunaIndice& c : def.colunas)
        lista << m.CitarIdentificador(c.nome) + (c.desc ? QStringLiteral(" Desc") : QString());
    QString sql = QStringLiteral("CREATE ") + (def.unico ? QStringLiteral("UNIQUE ") : QString());
    if (AceitaClustered(m))
        sql += (def.clustered ? QString() : QStringLiteral("NON")) + QStringLiteral("CLUSTERED ");
    // SQLite names the database on the index and the table bare; the others qualify the table.
    const bool sqlite = m.DialetoSql() == Dialeto::Sqlite;
    const QString nomeIndice = sqlite ? m.NomeQualificado(tabela.Irmao(indice)) : m.CitarIdentificador(indice);
    const QString nomeTabela = sqlite ? m.CitarIdentificador(tabela.nome) : m.NomeQualificado(tabela);
    sql += QStringLiteral("INDEX ") + nomeIndice + QStringLiteral(" ON ") + nomeTabela + QStringLiteral(" (")
           + lista.join(QStringLiteral(", ")) + u')';
    if (!def.incluidas.isEmpty()) {
        QStringList incluidas;
        for (const QString& c : def.incluidas)
            incluidas << m.CitarIdentificador(c);
        sql += QStringLiteral(" INCLUDE (") + incluidas.join(QStringLiteral(", ")) + u')';
    }
    if (!def.filtro.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + def.filtro.trimmed();
    return sql;
}

QString SqlExcluirIndice(const clsMotor& m, const ObjetoBanco& tabela, const QString& indice)
{
    if (m.DialetoSql() == Dialeto::SqlServer)
        return QStringLiteral("DROP INDEX ") + m.NomeQualificado(tabela) + u'.' + m.CitarIdentificador(indice);
    return QStringLiteral("DROP INDEX ") + m.NomeQualificado(tabela.Irmao(indice));
}

bool SalvarIndice(clsData& db,
                  clsPrompt& prompt,
                  const ObjetoBanco& tabela,
                  const QString& indice,
                  const IndiceLido* existente,
                  const DefinicaoIndice& def)
{
    const auto m = db.ActiveConnection();
    if (!m)
        return false;
    if (existente && (!existente->somenteLeitura.isEmpty() || existente->def == def))
        return true;
    const QString sql = SqlCriarIndice(*m, tabela, indice, def);
    QString erro;
    db.TransactionBegin();
    if (existente && !db.ExecSql(SqlExcluirIndice(*m, tabela, indice), false))
        erro = QStringLiteral("Cannot drop index ") + indice;
    else if (!db.ExecSql(sql, true))
        erro = QStringLiteral("Cannot create index ") + indice + QStringLiteral("\r\n\r\n") + sql;
    for (qsizetype k = 0; erro.isEmpty() && existente && k < existente->depois.size(); ++k)
        if (!db.ExecSql(existente->depois[k], true))
            erro = QStringLiteral("Cannot create index ") + indice + QStringLiteral("\r\n\r\n") + existente->depois[k];
    if (erro.isEmpty() && db.TransactionCommit())
        return true;
    db.TransactionRollback();
    if (!erro.isEmpty())
        prompt.MsgBox(erro, vb::Critical);
    return false;
}
