// The OLE DB schema rowsets of a SQLite file, read from sqlite_schema and the table pragmas.
#include "clsMotorSqlite.h"

#include <QRegularExpression>
#include <sqlite3.h>

using namespace ado;

namespace {

bool Restrito(const QStringList& r, int i) { return i < r.size() && !r[i].isEmpty(); }
bool Confere(const QStringList& r, int i, const QString& valor)
{
    return !Restrito(r, i) || r[i].compare(valor, Qt::CaseInsensitive) == 0;
}
QString TipoTabela(const QString& nome, const QString& tipo)
{
    if (tipo == u"view")
        return QStringLiteral("VIEW");
    return nome.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive) ? QStringLiteral("SYSTEM TABLE")
                                                                          : QStringLiteral("TABLE");
}

} // namespace

bool clsMotorSqlite::Consultar(const QString& sql, const QStringList& parametros, RecordsetPtr& rs)
{
    rs.reset();
    sqlite::Stmt st;
    if (!Preparar(sql.toUtf8().constData(), -1, st))
        return false;
    for (int i = 0; i < parametros.size(); ++i)
        sqlite3_bind_text(st.get(), i + 1, parametros[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
    return Preencher(st, &rs, adLockReadOnly, sql);
}

QStringList clsMotorSqlite::Bancos()
{
    RecordsetPtr rs;
    QStringList r;
    if (Consultar(QStringLiteral("SELECT name FROM pragma_database_list WHERE name <> 'temp' ORDER BY seq"), {}, rs))
        for (; !rs->Eof(); rs->MoveNext())
            r << rs->Valor(0).toString();
    return r;
}

QStringList clsMotorSqlite::NomesTabelas(const QString& restricao, bool incluirViews, const QString& banco)
{
    RecordsetPtr rs;
    QStringList r;
    // A restriction names one table: the catalog finds it by name instead of listing every table
    // (a whole-database script asks once per table).
    const QString tipos = incluirViews ? QStringLiteral("type IN ('table', 'view')") : QStringLiteral("type = 'table'");
    const QString catalogo = QStringLiteral("SELECT name FROM ") + CitarIdentificador(banco)
                             + QStringLiteral(".sqlite_schema WHERE ") + tipos;
    const bool ok
        = restricao.isEmpty()
              ? Consultar(catalogo + QStringLiteral(" ORDER BY name"), {}, rs)
              : Consultar(catalogo + QStringLiteral(" AND name = ? COLLATE NOCASE ORDER BY name"), {restricao}, rs);
    if (!ok)
        return r;
    for (; !rs->Eof(); rs->MoveNext())
        r << rs->Valor(0).toString();
    return r;
}

// The name of a table's primary key: its CONSTRAINT name when the definition gives one.
QString clsMotorSqlite::NomePk(const QString& tabela, const QString& banco)
{
    static const QRegularExpression re(
        QStringLiteral(R"(CONSTRAINT\s+(\[[^\]]+\]|"[^"]+"|`[^`]+`|\w+)\s+PRIMARY\s+KEY)"),
        QRegularExpression::CaseInsensitiveOption);
    RecordsetPtr rs;
    if (Consultar(QStringLiteral("SELECT sql FROM ") + CitarIdentificador(banco)
                      + QStringLiteral(".sqlite_schema WHERE type = 'table' AND name = ? COLLATE NOCASE"),
                  {tabela},
                  rs)
        && !rs->Eof()) {
        const auto m = re.match(rs->Valor(0).toString());
        if (m.hasMatch()) {
            QString n = m.captured(1);
            if (n.startsWith(u'[') || n.startsWith(u'"') || n.startsWith(u'`'))
                n = n.mid(1, n.size() - 2);
            return n;
        }
    }
    return QStringLiteral("PrimaryKey");
}

bool clsMotorSqlite::Schema(SchemaOleDb schema, const QStringList& r, RecordsetPtr& saida)
{
    saida.reset();
    if (!db)
        return FalharFechada();
    auto rs = NovoRowset(schema);
    RecordsetPtr q;
    // An attached file is a schema of its own; main is the default one, whose rows name no schema.
    const QString banco = Restrito(r, 1) ? r[1] : QStringLiteral("main");
    const QString esquemaLinha = banco.compare(u"main", Qt::CaseInsensitive) == 0 ? QString() : banco;
    switch (schema) {
    case SchemaOleDb::Tabelas: {
        struct Linha {
            QString tipo, esquema, nome;
        };
        std::vector<Linha> linhas;
        for (const QString& b : Bancos()) {
            const QString esquema = b == u"main" ? QString() : b;
            if (Restrito(r, 1) && !Confere(r, 1, b))
                continue;
            if (!Consultar(QStringLiteral("SELECT name, type FROM ") + CitarIdentificador(b)
                               + QStringLiteral(".sqlite_schema WHERE type IN ('table', 'view')"),
                           {},
                           q))
                return false;
            q->setSort(QStringLiteral("name"));
            for (; !q->Eof(); q->MoveNext()) {
                const QString nome = q->Valor(0).toString();
                const QString tipo = TipoTabela(nome, q->Valor(1).toString());
                if (Confere(r, 2, nome) && Confere(r, 3, tipo))
                    linhas.push_back({tipo, esquema, nome});
            }
        }
        std::stable_sort(linhas.begin(), linhas.end(), [](const Linha& a, const Linha& b) { return a.tipo < b.tipo; });
        for (const Linha& l : linhas)
            AcrescentarLinhaRowset(*rs,
                                   {{"TABLE_SCHEMA", l.esquema.isEmpty() ? QVariant() : QVariant(l.esquema)},
                                    {"TABLE_NAME", l.nome},
                                    {"TABLE_TYPE", l.tipo}});
        break;
    }
    case SchemaOleDb::Colunas:
    case SchemaOleDb::ChavesPrimarias: {
        const bool colunas = schema == SchemaOleDb::Colunas;
        for (const QString& tabela : NomesTabelas(Restrito(r, 2) ? r[2] : QString(), colunas, banco)) {
            if (!Consultar(
                    QStringLiteral("SELECT cid, name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?, ?)"),
                    {tabela, banco},
                    q))
                return false;
            int qtdePk = 0;
            for (q->MoveFirst(); !q->Eof(); q->MoveNext())
                qtdePk += q->Valor(5).toInt() > 0;
            const QString pkNome = colunas ? QString() : NomePk(tabela, banco);
            const QVariant esquema = esquemaLinha.isEmpty() ? QVariant() : QVariant(esquemaLinha);
            for (q->MoveFirst(); !q->Eof(); q->MoveNext()) {
                const QString coluna = q->Valor(1).toString();
                const int pk = q->Valor(5).toInt();
                if (!colunas) {
                    if (pk > 0)
                        AcrescentarLinhaRowset(*rs,
                                               {{"TABLE_SCHEMA", esquema},
                                                {"TABLE_NAME", tabela},
                                                {"COLUMN_NAME", coluna},
                                                {"ORDINAL", pk},
                                                {"PK_NAME", pkNome}});
                    continue;
                }
                if (!Confere(r, 3, coluna))
                    continue;
                const QString decl = q->Valor(2).toString();
                const TipoDeclarado t = InterpretarTipoDeclarado(decl);
                // INTEGER PRIMARY KEY is the row id: never null.
                const bool rowid = pk > 0 && qtdePk == 1 && decl.compare(u"INTEGER", Qt::CaseInsensitive) == 0;
                const bool anulavel = !q->Valor(3).toBool() && !rowid;
                const bool texto = t.tipoCatalogo == adChar || t.tipoCatalogo == adWChar;
                const bool comTamanho = texto || t.tipoCatalogo == adBinary;
                const QVariant dflt = q->Valor(4);
                std::vector<std::pair<const char*, QVariant>> v = {
                    {"TABLE_SCHEMA", esquema},
                    {"TABLE_NAME", tabela},
                    {"COLUMN_NAME", coluna},
                    {"ORDINAL_POSITION", q->Valor(0).toInt() + 1},
                    {"COLUMN_HASDEFAULT", !dflt.isNull()},
                    {"COLUMN_DEFAULT", dflt},
                    {"COLUMN_FLAGS", FlagsColuna(t, anulavel, !somenteLeitura)},
                    {"IS_NULLABLE", anulavel},
                    {"DATA_TYPE", t.tipoCatalogo},
                };
                if (comTamanho) {
                    v.push_back({"CHARACTER_MAXIMUM_LENGTH", t.tamanho});
                    v.push_back({"CHARACTER_OCTET_LENGTH",
                                 t.tipoCatalogo == adWChar ? qMin<qint64>(t.tamanho * 2, 2147483647) : t.tamanho});
                }
                if (t.precisao > 0 || t.tipoCatalogo == adNumeric)
                    v.push_back({"NUMERIC_PRECISION", t.precisao});
                if (t.tipoCatalogo == adNumeric)
                    v.push_back({"NUMERIC_SCALE", t.escala});
                if (TipoData(t.tipoCatalogo))
                    v.push_back({"DATETIME_PRECISION", t.precisaoData});
                AcrescentarLinhaRowset(*rs, v);
            }
        }
        break;
    }
    case SchemaOleDb::ChavesEstrangeiras: {
        for (const QString& tabela : NomesTabelas(Restrito(r, 5) ? r[5] : QString(), false)) {
            if (!Consultar(QStringLiteral("SELECT id, seq, \"table\", \"from\", \"to\", on_update, on_delete "
                                          "FROM pragma_foreign_key_list(?) ORDER BY id, seq"),
                           {tabela},
                           q))
                return false;
            for (; !q->Eof(); q->MoveNext()) {
                const QString pkTabela = q->Valor(2).toString();
                if (!Confere(r, 2, pkTabela))
                    continue;
                const int seq = q->Valor(1).toInt();
                QString pkColuna = q->Valor(4).toString();
                if (pkColuna.isEmpty()) {
                    const QStringList pks = ChavesPrimarias(pkTabela);
                    pkColuna = pks.value(seq);
                }
                auto regra
                    = [](QString s) { return s.toUpper() == u"NO ACTION" ? QStringLiteral("NO ACTION") : s.toUpper(); };
                AcrescentarLinhaRowset(
                    *rs,
                    {{"PK_TABLE_NAME", pkTabela},
                     {"PK_COLUMN_NAME", pkColuna},
                     {"FK_TABLE_NAME", tabela},
                     {"FK_COLUMN_NAME", q->Valor(3)},
                     {"ORDINAL", seq + 1},
                     {"UPDATE_RULE", regra(q->Valor(5).toString())},
                     {"DELETE_RULE", regra(q->Valor(6).toString())},
                     {"PK_NAME", NomePk(pkTabela)},
                     {"FK_NAME", QStringLiteral("FK_%1_%2_%3").arg(tabela, pkTabela).arg(q->Valor(0).toInt())},
                     {"DEFERRABILITY", 3}});
            }
        }
        break;
    }
    case SchemaOleDb::Indices: {
        const QVariant esquema = esquemaLinha.isEmpty() ? QVariant() : QVariant(esquemaLinha);
        for (const QString& tabela : NomesTabelas(Restrito(r, 4) ? r[4] : QString(), false, banco)) {
            const QString pkNome = NomePk(tabela, banco);
            // The row id key has no index of its own: it is the table's clustered primary key.
            if (Consultar(QStringLiteral("SELECT name, type FROM pragma_table_info(?, ?) WHERE pk > 0"),
                          {tabela, banco},
                          q)
                && q->RecordCount() == 1 && q->Valor(1).toString().compare(u"INTEGER", Qt::CaseInsensitive) == 0
                && Confere(r, 2, pkNome)) {
                AcrescentarLinhaRowset(*rs,
                                       {{"TABLE_SCHEMA", esquema},
                                        {"TABLE_NAME", tabela},
                                        {"INDEX_NAME", pkNome},
                                        {"PRIMARY_KEY", true},
                                        {"UNIQUE", true},
                                        {"CLUSTERED", true},
                                        {"TYPE", 1},
                                        {"ORDINAL_POSITION", 1},
                                        {"COLUMN_NAME", q->Valor(0)},
                                        {"COLLATION", 1},
                                        {"NULLS", 1}});
            }
            if (!Consultar(QStringLiteral("SELECT name, \"unique\", origin FROM pragma_index_list(?, ?) ORDER BY name"),
                           {tabela, banco},
                           q))
                return false;
            for (; !q->Eof(); q->MoveNext()) {
                const bool pk = q->Valor(2).toString() == u"pk";
                const QString indice = q->Valor(0).toString();
                const QString nome = pk ? pkNome : indice;
                if (!Confere(r, 2, nome))
                    continue;
                RecordsetPtr cols;
                if (!Consultar(
                        QStringLiteral("SELECT seqno, name, \"desc\" FROM pragma_index_xinfo(?, ?) WHERE key = 1 "
                                       "ORDER BY seqno"),
                        {indice, banco},
                        cols))
                    return false;
                for (; !cols->Eof(); cols->MoveNext())
                    AcrescentarLinhaRowset(*rs,
                                           {{"TABLE_SCHEMA", esquema},
                                            {"TABLE_NAME", tabela},
                                            {"INDEX_NAME", nome},
                                            {"PRIMARY_KEY", pk},
                                            {"UNIQUE", q->Valor(1).toBool()},
                                            {"CLUSTERED", false},
                                            {"TYPE", 1},
                                            {"ORDINAL_POSITION", cols->Valor(0).toInt() + 1},
                                            {"COLUMN_NAME", cols->Valor(1)},
                                            {"COLLATION", cols->Valor(2).toBool() ? 2 : 1},
                                            {"NULLS", 1}});
            }
        }
        break;
    }
    case SchemaOleDb::Procedures: break; // SQLite has no stored routines
    }
    ConcluirRowset(*rs);
    saida = rs;
    return true;
}
