// Saving a table structure: the statements per engine, and on real SQLite files and a real
// PostgreSQL that a save is all or nothing: each failing step leaves the table, its rows, its
// indexes and its triggers as they were.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "schema/clsEstrutura.h"
#include "schema/clsIndice.h"
#include "support/clsPromptRoteiro.h"
#include "support/motorTexto.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

ColunaEstrutura Coluna(const QString& nome, const QString& tipo, int tamanho, int ordem, bool existente)
{
    ColunaEstrutura c;
    c.campo = nome;
    c.tipoDado = tipo;
    c.tamanho = tamanho;
    c.ordem = ordem;
    if (existente) {
        c.originalCampo = nome;
        c.originalTipoDado = tipo;
        c.originalTamanho = tamanho;
        c.originalOrdem = ordem;
        c.originalAllowNulls = c.allowNulls;
    }
    return c;
}

// Id (identity key), Nome VarChar(50) and Obs Text, as loaded.
QList<ColunaEstrutura> TresColunas()
{
    auto id = Coluna("Id", "Int", 0, 10, true);
    id.chave = id.originalChave = true;
    id.identity = id.originalIdentity = true;
    id.identitySeed = id.originalIdentitySeed = 1;
    id.identityIncrement = id.originalIdentityIncrement = 1;
    id.allowNulls = id.originalAllowNulls = false;
    return {id, Coluna("Nome", "VarChar", 50, 20, true), Coluna("Obs", "Text", 0, 30, true)};
}

QStringList Textos(const PlanoEstrutura& p)
{
    QStringList r;
    for (const auto& s : p.passos)
        r << s.sql;
    return r;
}

QStringList Linhas(clsData& db, const QString& sql)
{
    QStringList r;
    RecordsetPtr rs;
    if (!db.OpenRecordset(rs, sql, false, false, false) || !rs)
        return {QStringLiteral("<falhou: ") + sql + u'>'};
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        QStringList l;
        for (int i = 0; i < rs->FieldCount(); ++i)
            l << (rs->Valor(i).isNull() ? QStringLiteral("<null>") : rs->Valor(i).toString());
        r << l.join(u'|');
    }
    return r;
}

// Everything a failed save must leave as it was: the declared table, indexes, triggers and rows.
QStringList RetratoSqlite(clsData& db, const QString& t)
{
    return Linhas(db, "SELECT type, name, sql FROM sqlite_schema WHERE tbl_name = '" + t + "' ORDER BY type, name")
           + Linhas(db, "SELECT * FROM \"" + t + "\" ORDER BY 1");
}

QStringList RetratoPostgres(clsData& db, const QString& t)
{
    const QString rel = "'\"" + t + "\"'::regclass";
    return Linhas(db,
                  "SELECT attname, format_type(atttypid, atttypmod), attnotnull, attidentity FROM pg_attribute "
                  "WHERE attnum > 0 AND NOT attisdropped AND attrelid = "
                      + rel + " ORDER BY attnum")
           + Linhas(db,
                    "SELECT conname, pg_get_constraintdef(oid) FROM pg_constraint WHERE conrelid = " + rel
                        + " ORDER BY 1")
           + Linhas(db, "SELECT pg_get_indexdef(indexrelid) FROM pg_index WHERE indrelid = " + rel + " ORDER BY 1")
           + Linhas(db, "SELECT tgname FROM pg_trigger WHERE NOT tgisinternal AND tgrelid = " + rel + " ORDER BY 1")
           + Linhas(db, "SELECT * FROM \"" + t + "\" ORDER BY 1");
}

// What PostgreSQL's catalog says of table "Est Cli" and its rows, leaving out the columns of
// `sem`: columns (by name: type, nullability, identity, default, comment, sequence), constraints,
// indexes, triggers, owner, privileges, the table's comment, and each row.
QStringList CatalogoPostgres(clsData& db, const QStringList& sem)
{
    const QString rel = "'\"Est Cli\"'::regclass";
    QStringList colunas = Linhas(
        db,
        "SELECT attname || ' ' || format_type(atttypid, atttypmod) || ' ' || attnotnull || ' ' || attidentity || ' ' "
        "|| coalesce(pg_get_expr(adbin, adrelid), '') || ' ' || coalesce(col_description(attrelid, attnum), '') || "
        "' ' || coalesce(pg_get_serial_sequence('\"Est Cli\"', attname), '') FROM pg_attribute LEFT JOIN pg_attrdef "
        "ON adrelid = attrelid AND adnum = attnum WHERE attnum > 0 AND NOT attisdropped AND attrelid = "
            + rel + " ORDER BY attname");
    QString fora = "'-'";
    for (const QString& c : sem) {
        colunas.removeIf([&](const QString& l) { return l.startsWith(c + ' '); });
        fora += " - '" + c + "'";
    }
    return colunas
           + Linhas(db,
                    "SELECT conname || ' ' || pg_get_constraintdef(oid) FROM pg_constraint WHERE conrelid = " + rel
                        + " ORDER BY 1")
           + Linhas(db, "SELECT pg_get_indexdef(indexrelid) FROM pg_index WHERE indrelid = " + rel + " ORDER BY 1")
           + Linhas(db,
                    "SELECT pg_get_triggerdef(oid) FROM pg_trigger WHERE NOT tgisinternal AND tgrelid = " + rel
                        + " ORDER BY 1")
           + Linhas(db,
                    "SELECT relname || ' ' || pg_get_userbyid(relowner) || ' ' || coalesce(relacl::text, '') || ' ' || "
                    "coalesce(obj_description(oid, 'pg_class'), '') FROM pg_class WHERE oid = "
                        + rel)
           + Linhas(db, "SELECT to_jsonb(t) - " + fora + " FROM \"Est Cli\" t ORDER BY t.id");
}

// A change to the loaded column list, and the statement run first to make a step fail.
using Mudanca = std::function<void(QList<ColunaEstrutura>&)>;

ColunaEstrutura& Achar(QList<ColunaEstrutura>& cs, const QString& nome)
{
    for (auto& c : cs)
        if (c.campo == nome)
            return c;
    return cs.first();
}

// A change only a rebuild makes on PostgreSQL: two columns change places.
void Reordenar(QList<ColunaEstrutura>& cs) { std::swap(Achar(cs, "obs").ordem, Achar(cs, "saldo").ordem); }

// A change only a rebuild makes: a new column that takes no nulls.
void Recriar(QList<ColunaEstrutura>& cs)
{
    auto z = Coluna("Z", "Int", 0, 990, false);
    z.allowNulls = false;
    cs << z;
}

// Whether a message reports the statement that begins with `passo` (an error of the data layer ends
// with "Querie:" and the statement).
bool Reportado(const QString& mensagem, const QString& passo)
{
    return mensagem.contains(QStringLiteral("Querie:") + passo) || mensagem.startsWith(passo);
}

} // namespace

Q_DECLARE_METATYPE(Mudanca)
Q_DECLARE_METATYPE(CaminhoEstrutura)

class tst_clsEstrutura : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;

    // Opens `db` on a fresh SQLite file holding the table Cli, its index and trigger, and a log.
    void AbrirSqlite(clsData& db, const QString& nome)
    {
        ErroDados e;
        QVERIFY(CriarBancoArquivo(pasta.filePath(nome), e));
        QVERIFY2(db.OpenConnection(MontarConnStrAccess(pasta.filePath(nome), "Admin", ""), true, false),
                 qPrintable(db.ErrMsg()));
        for (const char* sql :
             {"CREATE TABLE Cli (Id INTEGER PRIMARY KEY AUTOINCREMENT, Nome VARCHAR(50) NOT NULL DEFAULT 'sem', "
              "Obs TEXT, Codigo INTEGER)",
              "CREATE INDEX ix_nome ON Cli (Nome DESC)",
              "CREATE UNIQUE INDEX ux_cod ON Cli (Codigo)",
              "CREATE TABLE Registro (texto TEXT)",
              "CREATE TRIGGER tr_cli AFTER INSERT ON Cli BEGIN INSERT INTO Registro VALUES (new.Nome); END",
              "INSERT INTO Cli (Nome, Obs, Codigo) VALUES ('Ana', 'x', 1), ('Bia', NULL, 2), ('O''Neil', 'z', 3)",
              "DELETE FROM Registro"})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
    }

    bool Salvar(clsData& db, clsPrompt& prompt, const QString& t, const Mudanca& mudar)
    {
        QList<ColunaEstrutura> cs;
        if (!CarregarEstrutura(db, t, cs))
            return false;
        mudar(cs);
        const auto plano = PlanejarEstrutura(*db.ActiveConnection(), t, false, cs, LerCatalogoTabela(db, t));
        return ExecutarPlano(db, prompt, plano);
    }

private slots:
    void TiposPorMotor()
    {
        QCOMPARE(TiposDadoEstrutura().size(), 23);
        QCOMPARE(TiposDadoEstrutura().first(), QStringLiteral("BigInt"));
        QCOMPARE(TiposDadoEstrutura().last(), QStringLiteral("VarChar"));
        QCOMPARE(TipoNoMotor(Dialeto::Sqlite, "VarChar", 50), QStringLiteral("VARCHAR(50)"));
        QCOMPARE(TipoNoMotor(Dialeto::PostgreSql, "nVarChar", 20), QStringLiteral("varchar(20)"));
        QCOMPARE(TipoNoMotor(Dialeto::PostgreSql, "DateTime", 0), QStringLiteral("timestamp(3)"));
        QCOMPARE(TipoNoMotor(Dialeto::SqlServer, "nChar", 10), QStringLiteral("nChar(10)"));
        QCOMPARE(TipoNoMotor(Dialeto::SqlServer, "Int", 0), QStringLiteral("Int"));
        QCOMPARE(TiposDoMotor(Dialeto::SqlServer), TiposDadoEstrutura());
        QVERIFY(TiposDoMotor(Dialeto::PostgreSql).contains("jsonb"));
        QCOMPARE(TipoNoMotor(Dialeto::SqlServer, "Decimal", 0, 18, 2), QStringLiteral("Decimal(18, 2)"));
        QCOMPARE(TipoNoMotor(Dialeto::Sqlite, "Decimal", 0, 10, 2), QStringLiteral("DECIMAL(10, 2)"));
        QCOMPARE(TipoNoMotor(Dialeto::PostgreSql, "numeric", 0, 14, 4), QStringLiteral("numeric(14, 4)"));
        QCOMPARE(TipoNoMotor(Dialeto::PostgreSql, "character varying", 30), QStringLiteral("character varying(30)"));
        QCOMPARE(TipoNoMotor(Dialeto::PostgreSql, "timestamp with time zone", 0, 3),
                 QStringLiteral("timestamp(3) with time zone"));
        QString nome;
        qint32 tam, prec, esc;
        DecomporTipo("timestamp(3) without time zone", nome, tam, prec, esc);
        QCOMPARE(nome + QString(" %1 %2 %3").arg(tam).arg(prec).arg(esc),
                 QStringLiteral("timestamp without time zone 0 3 0"));
        DecomporTipo("numeric(14,4)", nome, tam, prec, esc);
        QCOMPARE(nome + QString(" %1 %2 %3").arg(tam).arg(prec).arg(esc), QStringLiteral("numeric 0 14 4"));
        DecomporTipo("VARCHAR (50)", nome, tam, prec, esc);
        QCOMPARE(nome + QString(" %1 %2 %3").arg(tam).arg(prec).arg(esc), QStringLiteral("VARCHAR 50 0 0"));
        for (const QString& t : TiposDadoEstrutura())
            QVERIFY2(!TipoNoMotor(Dialeto::Sqlite, t, 1).isEmpty() && !TipoNoMotor(Dialeto::PostgreSql, t, 1).isEmpty(),
                     qPrintable(t));
    }

    // SQL Server: names with ] doubled, identity values kept through IDENTITY_INSERT, the copy
    // lists the new name where the old one is read, a deleted column is left out.
    void TextosSqlServer()
    {
        MotorTexto m(Dialeto::SqlServer);
        auto cs = TresColunas();
        cs[1].campo = "Nome]X";
        cs[2].status = u'D';
        const auto p = PlanejarEstrutura(m, "T]a", false, cs, {});
        QCOMPARE(p.caminho, CaminhoEstrutura::Reconstrucao);
        QCOMPARE(Textos(p),
                 QStringList({"CREATE TABLE [tmpT]]a] ([Id] Int IDENTITY (1, 1) NOT NULL, [Nome]]X] VarChar(50) NULL)",
                              "SET IDENTITY_INSERT [tmpT]]a] ON",
                              "INSERT INTO [tmpT]]a] ([Id], [Nome]]X]) SELECT [Id], [Nome] FROM [T]]a]",
                              "SET IDENTITY_INSERT [tmpT]]a] OFF",
                              "DROP TABLE [T]]a]",
                              "EXECUTE sp_rename N'[tmpT]]a]', N'T]a', 'OBJECT'",
                              "ALTER TABLE [T]]a] ADD CONSTRAINT [PK_T]]a] PRIMARY KEY ([Id])"}));

        auto nova = TresColunas();
        for (auto& c : nova)
            c.originalCampo.clear();
        QCOMPARE(Textos(PlanejarEstrutura(m, "O'Brien", true, nova, {})),
                 QStringList({"CREATE TABLE [O'Brien] ([Id] Int IDENTITY (1, 1) NOT NULL, [Nome] VarChar(50) NULL, "
                              "[Obs] Text NULL)",
                              "ALTER TABLE [O'Brien] ADD CONSTRAINT [PK_O'Brien] PRIMARY KEY ([Id])"}));

        auto chave = TresColunas();
        chave[1].chave = true;
        chave[1].allowNulls = chave[1].originalAllowNulls = false;
        CatalogoTabela cat;
        cat.nomeChave = "PK_Antiga";
        const auto so = PlanejarEstrutura(m, "T", false, chave, cat);
        QCOMPARE(so.caminho, CaminhoEstrutura::SoChave);
        QCOMPARE(Textos(so),
                 QStringList({"ALTER TABLE [T] DROP CONSTRAINT [PK_Antiga]",
                              "ALTER TABLE [T] ADD CONSTRAINT [PK_Antiga] PRIMARY KEY ([Id], [Nome])"}));

        cat.perdas << "índices (ix_a)";
        auto mudada = TresColunas();
        mudada[1].tamanho = 60;
        const auto recusada = PlanejarEstrutura(m, "T", false, mudada, cat);
        QVERIFY(recusada.passos.isEmpty());
        QVERIFY(recusada.erro.contains("índices (ix_a)"));
        QCOMPARE(PlanejarEstrutura(m, "T", false, TresColunas(), {}).caminho, CaminhoEstrutura::Nada);
    }

    // SQL Server: the catalog's indexes (key order, included columns, filter), unique constraints,
    // triggers (a disabled one stays disabled), defaults under their names, checks, the table's
    // foreign keys and other tables' keys on it come back in the rebuild's one transaction, in an
    // order the server accepts.
    void TextosSqlServerCatalogo()
    {
        auto m = std::make_shared<MotorRespostas>(Dialeto::SqlServer);
        m->Responder("FROM sys.key_constraints", {"name"}, {{"PK_Velha"}});
        m->Responder("FROM sys.indexes i",
                     {"index_id",
                      "name",
                      "is_unique",
                      "type",
                      "is_unique_constraint",
                      "is_included_column",
                      "is_descending_key",
                      "coluna",
                      "has_filter",
                      "filter_definition"},
                     {{2, "ix_b]a", 0, 2, 0, 0, 0, "B", 0, QVariant()},
                      {2, "ix_b]a", 0, 2, 0, 0, 1, "A", 0, QVariant()},
                      {2, "ix_b]a", 0, 2, 0, 1, 0, "Obs", 0, QVariant()},
                      {3, "ix_f", 1, 1, 0, 0, 0, "Nome", 1, "([Nome] IS NOT NULL)"},
                      {4, "uq_c", 1, 2, 1, 0, 0, "Codigo", 0, QVariant()}});
        m->Responder("FROM sys.triggers",
                     {"name", "def", "is_disabled"},
                     {{"tr_a", "CREATE TRIGGER tr_a ON T AFTER INSERT AS SELECT 1", 0},
                      {"tr_b", "CREATE TRIGGER tr_b ON T AFTER DELETE AS SELECT 2", 1}});
        m->Responder("sys.check_constraints",
                     {"name", "definition", "nt", "d", "nfr"},
                     {{"ck_saldo", "([saldo]>=(0))", 0, 0, 0}});
        m->Responder(
            "FROM sys.foreign_keys fk",
            {"id", "name", "ps", "p", "rs", "r", "c", "rc", "del", "upd", "nt", "d", "nfr", "propria"},
            {{10, "fk_uf", "dbo", "T", "dbo", "Uf", "uf", "uf", "NO_ACTION", "CASCADE", 0, 0, 0, 1},
             {11, "fk_ped", "ven]das", "Ped", "dbo", "T", "cli", "Id", "SET_NULL", "NO_ACTION", 1, 1, 0, 0},
             {11, "fk_ped", "ven]das", "Ped", "dbo", "T", "cli2", "Id2", "SET_NULL", "NO_ACTION", 1, 1, 0, 0}});
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        db.setActiveConnection(m);
        const CatalogoTabela cat = LerCatalogoTabela(db, "T");
        QVERIFY2(cat.perdas.isEmpty(), qPrintable(cat.perdas.join(", ")));
        QCOMPARE(cat.nomeChave, QStringLiteral("PK_Velha"));
        auto cs = TresColunas();
        cs[1].tamanho = 60;
        cs[2].padrao = "('x')";
        cs[2].nomePadrao = "DF_Obs";
        const auto p = PlanejarEstrutura(*m, "T", false, cs, cat);
        QCOMPARE(Textos(p),
                 QStringList({"CREATE TABLE [tmpT] ([Id] Int IDENTITY (1, 1) NOT NULL, [Nome] VarChar(60) NULL, "
                              "[Obs] Text NULL)",
                              "SET IDENTITY_INSERT [tmpT] ON",
                              "INSERT INTO [tmpT] ([Id], [Nome], [Obs]) SELECT [Id], [Nome], [Obs] FROM [T]",
                              "SET IDENTITY_INSERT [tmpT] OFF",
                              "ALTER TABLE [ven]]das].[Ped] DROP CONSTRAINT [fk_ped]",
                              "DROP TABLE [T]",
                              "EXECUTE sp_rename N'[tmpT]', N'T', 'OBJECT'",
                              "ALTER TABLE [T] ADD CONSTRAINT [DF_Obs] DEFAULT ('x') FOR [Obs]",
                              "CREATE NONCLUSTERED INDEX [ix_b]]a] ON [T] ([B], [A] Desc) INCLUDE ([Obs])",
                              "CREATE UNIQUE CLUSTERED INDEX [ix_f] ON [T] ([Nome]) WHERE ([Nome] IS NOT NULL)",
                              "ALTER TABLE [T] ADD CONSTRAINT [uq_c] UNIQUE NONCLUSTERED ([Codigo])",
                              "CREATE TRIGGER tr_a ON T AFTER INSERT AS SELECT 1",
                              "CREATE TRIGGER tr_b ON T AFTER DELETE AS SELECT 2",
                              "DISABLE TRIGGER [tr_b] ON [T]",
                              "ALTER TABLE [T] ADD CONSTRAINT [PK_Velha] PRIMARY KEY ([Id])",
                              "ALTER TABLE [T] WITH CHECK ADD CONSTRAINT [ck_saldo] CHECK ([saldo]>=(0))",
                              "ALTER TABLE [dbo].[T] WITH CHECK ADD CONSTRAINT [fk_uf] FOREIGN KEY ([uf]) REFERENCES "
                              "[dbo].[Uf] ([uf]) ON DELETE NO ACTION ON UPDATE CASCADE",
                              "ALTER TABLE [ven]]das].[Ped] WITH NOCHECK ADD CONSTRAINT [fk_ped] FOREIGN KEY ([cli], "
                              "[cli2]) REFERENCES [dbo].[T] ([Id], [Id2]) ON DELETE SET NULL ON UPDATE NO ACTION",
                              "ALTER TABLE [ven]]das].[Ped] NOCHECK CONSTRAINT [fk_ped]"}));
        // The whole plan runs in one transaction; a column dropped takes its default with it.
        m->enviados.clear();
        QVERIFY(ExecutarPlano(db, prompt, p));
        QCOMPARE(m->enviados, Textos(p));
        cs[2].status = u'D';
        QVERIFY(!Textos(PlanejarEstrutura(*m, "T", false, cs, cat)).join('\n').contains("DF_Obs"));

        // What the rebuild cannot write back is refused by name.
        m->Responder("sys.computed_columns", {"name"}, {{"Total"}});
        m->Responder("FROM sys.triggers", {"name", "def", "is_disabled"}, {{"tr_cripto", QVariant(), 0}});
        const auto recusa = PlanejarEstrutura(*m,
                                              "T",
                                              false,
                                              TresColunas() << Coluna("X", "Int", 0, 40, false),
                                              LerCatalogoTabela(db, "T"));
        QVERIFY(recusa.passos.isEmpty());
        QVERIFY2(recusa.erro.contains("colunas calculadas (Total), triggers criptografados (tr_cripto)"),
                 qPrintable(recusa.erro));
    }

    // SQLite: a rebuild that keeps every column in its place copies with SELECT * (records copied
    // as they are); otherwise the lists pair the columns by name. The connection settings a rebuild
    // changes are given back, and secure deletion is kept when a column's data goes away.
    void TextosSqlite()
    {
        MotorTexto m(Dialeto::Sqlite);
        CatalogoTabela cat;
        cat.secureDelete = "1";
        cat.cacheSize = "-2000";
        auto cs = TresColunas();
        cs[1].tamanho = 60;
        cs[2].campo = "Nota";
        const auto p = PlanejarEstrutura(m, "T", false, cs, cat);
        QCOMPARE(Textos(p).value(1), QStringLiteral("INSERT INTO \"tmpT\" SELECT * FROM \"T\""));
        QCOMPARE(p.antes,
                 QStringList({"PRAGMA foreign_keys = OFF",
                              "PRAGMA legacy_alter_table = ON",
                              "PRAGMA cache_size = -131072",
                              "PRAGMA secure_delete = FAST"}));
        QCOMPARE(p.depois,
                 QStringList({"PRAGMA legacy_alter_table = OFF",
                              "PRAGMA foreign_keys = ON",
                              "PRAGMA cache_size = -2000",
                              "PRAGMA secure_delete = 1"}));
        std::swap(cs[1].ordem, cs[2].ordem);
        QCOMPARE(Textos(PlanejarEstrutura(m, "T", false, cs, cat)).value(1),
                 QStringLiteral(
                     "INSERT INTO \"tmpT\" (\"Id\", \"Nota\", \"Nome\") SELECT \"Id\", \"Obs\", \"Nome\" FROM \"T\""));
        cs[2].status = u'D';
        const auto semColuna = PlanejarEstrutura(m, "T", false, cs, cat);
        QCOMPARE(Textos(semColuna).value(1),
                 QStringLiteral("INSERT INTO \"tmpT\" (\"Id\", \"Nome\") SELECT \"Id\", \"Nome\" FROM \"T\""));
        QVERIFY(!semColuna.antes.contains("PRAGMA secure_delete = FAST"));
        auto nova = TresColunas();
        nova << Coluna("X", "Int", 0, 40, false);
        QVERIFY(!Textos(PlanejarEstrutura(m, "T", false, nova, cat)).value(1).contains("*"));
    }

    // The index editor's statements: SQL Server says (NON)CLUSTERED and drops table.index; the
    // others have no clustering and drop the index alone. Included columns and the filter follow
    // the key.
    void TextosIndice()
    {
        const QList<ColunaIndice> cols{{"B]", false}, {"A", true}};
        MotorTexto ss(Dialeto::SqlServer), pg(Dialeto::PostgreSql);
        QCOMPARE(SqlCriarIndice(ss, "T]", "ix]", {.colunas = cols, .unico = true}),
                 QStringLiteral("CREATE UNIQUE NONCLUSTERED INDEX [ix]]] ON [T]]] ([B]]], [A] Desc)"));
        QCOMPARE(SqlCriarIndice(ss, "T", "ix", {.colunas = cols.mid(1), .clustered = true}),
                 QStringLiteral("CREATE CLUSTERED INDEX [ix] ON [T] ([A] Desc)"));
        QCOMPARE(SqlExcluirIndice(ss, "T]", "ix"), QStringLiteral("DROP INDEX [T]]].[ix]"));
        QCOMPARE(SqlCriarIndice(pg, "T", "ix", {.colunas = cols, .clustered = true}),
                 QStringLiteral("CREATE INDEX \"ix\" ON \"T\" (\"B]\", \"A\" Desc)"));
        QCOMPARE(SqlCriarIndice(pg, "T", "ix", {.colunas = cols.mid(1), .incluidas = {"C\""}, .filtro = " (a > 1) "}),
                 QStringLiteral("CREATE INDEX \"ix\" ON \"T\" (\"A\" Desc) INCLUDE (\"C\"\"\") WHERE (a > 1)"));
        QCOMPARE(SqlExcluirIndice(pg, "T", "i\"x"), QStringLiteral("DROP INDEX \"i\"\"x\""));
        QVERIFY(AceitaClustered(ss) && !AceitaClustered(pg));
    }

    // SQL Server's index read from sys.indexes: unique, clustered, key order, included columns and
    // filter come back and are written again; unchanged, nothing is sent; an index of a constraint,
    // or with options the editor does not show, is read-only.
    void IndiceSqlServer()
    {
        struct Motor : MotorRespostas {
            using MotorRespostas::MotorRespostas;
            bool Schema(SchemaOleDb, const QStringList&, RecordsetPtr& rs) override
            {
                rs = std::make_shared<clsRecordset>();
                for (const char* c : {"TABLE_NAME", "COLUMN_NAME", "ORDINAL_POSITION"})
                    rs->AppendField(c, ado::adVarWChar, 200);
                rs->Open();
                int n = 0;
                for (const char* c : {"A", "B", "C", "D"}) {
                    rs->AddNew();
                    rs->DefinirValor(0, "T");
                    rs->DefinirValor(1, c);
                    rs->DefinirValor(2, ++n);
                    rs->Update();
                }
                return true;
            }
        };
        auto m = std::make_shared<Motor>(Dialeto::SqlServer);
        const QStringList campos{"type", "u", "pk", "uq", "hf", "fd", "opcoes", "inc", "desc", "coluna"};
        m->Responder("FROM sys.indexes i",
                     campos,
                     {{1, 1, 0, 0, 1, "([B]>(0))", 0, 0, 0, "B"},
                      {1, 1, 0, 0, 1, "([B]>(0))", 0, 0, 1, "A"},
                      {1, 1, 0, 0, 1, "([B]>(0))", 0, 1, 0, "D"}});
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        db.setActiveConnection(m);
        IndiceLido lido;
        QVERIFY(LerIndice(db, "T", "ix", lido));
        QVERIFY(lido.somenteLeitura.isEmpty());
        QCOMPARE(lido.outras, QStringList({"C"}));
        QCOMPARE(
            SqlCriarIndice(*m, "T", "ix", lido.def),
            QStringLiteral("CREATE UNIQUE CLUSTERED INDEX [ix] ON [T] ([B], [A] Desc) INCLUDE ([D]) WHERE ([B]>(0))"));
        m->enviados.clear();
        QVERIFY(SalvarIndice(db, prompt, "T", "ix", &lido, lido.def));
        QVERIFY(m->enviados.isEmpty());
        DefinicaoIndice mudado = lido.def;
        mudado.colunas[1].desc = false;
        QVERIFY(SalvarIndice(db, prompt, "T", "ix", &lido, mudado));
        QCOMPARE(m->enviados,
                 QStringList({"DROP INDEX [T].[ix]",
                              "CREATE UNIQUE CLUSTERED INDEX [ix] ON [T] ([B], [A]) INCLUDE ([D]) WHERE ([B]>(0))"}));

        m->Responder("FROM sys.indexes i", campos, {{2, 1, 0, 1, 0, QVariant(), 0, 0, 0, "B"}});
        QVERIFY(LerIndice(db, "T", "uq", lido));
        QCOMPARE(
            lido.somenteLeitura,
            QStringLiteral("Este índice pertence a uma restrição da tabela (UNIQUE); mude-a pela estrutura da tabela"));
        m->Responder("FROM sys.indexes i", campos, {{2, 0, 0, 0, 0, QVariant(), 1, 0, 0, "B"}});
        QVERIFY(LerIndice(db, "T", "ix2", lido));
        QVERIFY(lido.somenteLeitura.startsWith("Este índice tem opções que o editor não mostra"));
        m->enviados.clear();
        QVERIFY(SalvarIndice(db, prompt, "T", "ix2", &lido, {}));
        QVERIFY(m->enviados.isEmpty());
    }

    void SemColunas()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        AbrirSqlite(db, "vazia.db");
        auto cs = TresColunas();
        for (auto& c : cs)
            c.status = u'D';
        QVERIFY(!ExecutarPlano(db, prompt, PlanejarEstrutura(*db.ActiveConnection(), "Nova", true, cs, {})));
        QCOMPARE(prompt.ultima().texto, QStringLiteral("Informe os campos para a tabela"));
        QCOMPARE(prompt.ultima().icone(), int(vb::Exclamation));
        QVERIFY(Linhas(db, "SELECT name FROM sqlite_schema WHERE name = 'Nova'").isEmpty());
    }

    // A rebuild on SQLite keeps rows, the declared types of unchanged columns, the default, the
    // auto-numbering, the index and the trigger.
    void ReconstrucaoSqlite()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        AbrirSqlite(db, "ok.db");
        QVERIFY(db.ExecSql("CREATE VIEW v AS SELECT Nome FROM Cli", false));
        const QStringList linhas = Linhas(db, "SELECT * FROM Cli ORDER BY Id");
        const QStringList secureCache = Linhas(db, "PRAGMA secure_delete") + Linhas(db, "PRAGMA cache_size");
        QVERIFY(Salvar(db, prompt, "Cli", [](QList<ColunaEstrutura>& cs) {
            Achar(cs, "Nome").tamanho = 80;
            Achar(cs, "Obs").campo = "Observacao";
        }));
        QCOMPARE(Linhas(db, "SELECT * FROM Cli ORDER BY Id"), linhas);
        QCOMPARE(Linhas(db, "SELECT count(*) FROM v"), QStringList({"3"}));
        const QString sql = Linhas(db, "SELECT sql FROM sqlite_schema WHERE name = 'Cli'").value(0);
        QVERIFY2(sql.contains("\"Nome\" VARCHAR(80) DEFAULT 'sem' NOT NULL"), qPrintable(sql));
        QVERIFY2(sql.contains("\"Id\" INTEGER PRIMARY KEY AUTOINCREMENT"), qPrintable(sql));
        QVERIFY2(sql.contains("\"Observacao\" TEXT NULL"), qPrintable(sql));
        QCOMPARE(Linhas(db,
                        "SELECT name FROM sqlite_schema WHERE tbl_name = 'Cli' AND type <> 'table' AND sql IS "
                        "NOT NULL ORDER BY name"),
                 QStringList({"ix_nome", "tr_cli", "ux_cod"}));
        QVERIFY(db.ExecSql("INSERT INTO Cli (Nome) VALUES ('Novo')", false));
        QCOMPARE(Linhas(db, "SELECT Id FROM Cli WHERE Nome = 'Novo'").value(0), QStringLiteral("4"));
        QCOMPARE(Linhas(db, "SELECT texto FROM Registro"), QStringList({"Novo"}));
        QCOMPARE(Linhas(db, "PRAGMA foreign_keys"), QStringList({"1"}));
        QCOMPARE(Linhas(db, "PRAGMA secure_delete") + Linhas(db, "PRAGMA cache_size")
                     + Linhas(db, "PRAGMA legacy_alter_table"),
                 secureCache + QStringList({"0"}));

        // A key change rebuilds the table on SQLite: the key moves, the rows stay.
        QVERIFY(Salvar(db, prompt, "Cli", [](QList<ColunaEstrutura>& cs) {
            Achar(cs, "Id").identity = false;
            Achar(cs, "Id").chave = false;
            Achar(cs, "Codigo").chave = true;
            Achar(cs, "Codigo").allowNulls = false;
        }));
        QCOMPARE(db.ActiveConnection()->ChavesPrimarias("Cli"), QStringList({"Codigo"}));
        QCOMPARE(Linhas(db, "SELECT count(*) FROM Cli"), QStringList({"4"}));
    }

    void FalhaSqlite_data()
    {
        QTest::addColumn<QString>("preparo");
        QTest::addColumn<Mudanca>("mudar");
        QTest::addColumn<QString>("passo"); // the start of the statement reported as failing
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<bool>("avisa"); // the outcome message follows the engine's error
        QTest::newRow("copia viola NOT NULL")
            << "" << Mudanca([](auto& cs) { Achar(cs, "Obs").allowNulls = false; }) << "INSERT INTO"
            << "Cli" << true;
        QTest::newRow("nome da copia ja existe")
            << "CREATE TABLE tmpCli (x)" << Mudanca([](auto& cs) { Achar(cs, "Nome").tamanho = 10; }) << "CREATE TABLE"
            << "Cli" << false;
        QTest::newRow("verificacao de chaves estrangeiras")
            << "CREATE TABLE Filho (cod INTEGER REFERENCES Cli (Id)); PRAGMA foreign_keys = OFF; "
               "INSERT INTO Filho VALUES (99); PRAGMA foreign_keys = ON"
            << Mudanca([](auto& cs) {
                   Achar(cs, "Nome").tamanho = 10;
                   Achar(cs, "Obs").campo = "Nota";
               })
            << "Há linhas"
            << "Cli" << false;
        QTest::newRow("chave estrangeira propria violada")
            << "CREATE TABLE Fk (c INTEGER REFERENCES Cli (Id), x VARCHAR(5)); PRAGMA foreign_keys = OFF; "
               "INSERT INTO Fk VALUES (99, 'a'); PRAGMA foreign_keys = ON"
            << Mudanca([](auto& cs) {
                   Achar(cs, "x").tamanho = 9;
                   Achar(cs, "x").allowNulls = false;
               })
            << "Há linhas"
            << "Fk" << false;
        QTest::newRow("copia viola CHECK")
            << "CREATE TABLE Ck (n INTEGER CHECK (n > 0), x VARCHAR(5)); PRAGMA ignore_check_constraints = ON; "
               "INSERT INTO Ck VALUES (-1, 'a'); PRAGMA ignore_check_constraints = OFF"
            << Mudanca([](auto& cs) {
                   cs << Coluna("y", "Int", 0, 30, false);
                   Achar(cs, "x").tamanho = 9;
               })
            << "INSERT INTO"
            << "Ck" << true;
    }
    void FalhaSqlite()
    {
        QFETCH(QString, preparo);
        QFETCH(Mudanca, mudar);
        QFETCH(QString, passo);
        QFETCH(bool, avisa);
        QFETCH(QString, tabela);
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        AbrirSqlite(db, QString(QTest::currentDataTag()) + ".db");
        for (const QString& s : preparo.split(';', Qt::SkipEmptyParts))
            QVERIFY2(db.ExecSql(s, false), qPrintable(db.ErrMsg()));
        const QStringList antes = RetratoSqlite(db, tabela);
        QVERIFY(!Salvar(db, prompt, tabela, mudar));
        // The cause (the failing statement), then the outcome where rows were already copied.
        QVERIFY2(prompt.mensagens.size() == (avisa ? 2 : 1), qPrintable(prompt.textos().join(" / ")));
        QVERIFY2(Reportado(prompt.mensagens.first().texto, passo), qPrintable(prompt.mensagens.first().texto));
        if (avisa)
            QCOMPARE(prompt.ultima().texto, QStringLiteral("A estrutura não foi alterada"));
        QCOMPARE(RetratoSqlite(db, tabela), antes);
        QCOMPARE(Linhas(db, "PRAGMA foreign_keys"), QStringList({"1"}));
        QVERIFY(!db.ActiveConnection()->EmTransacao());
    }

    // The reader of a CREATE TABLE text: quotes, brackets, comments and nested parentheses do not
    // split a clause; column constraints become table constraints on the column.
    void TextoCreateTable()
    {
        const auto t = ddlsqlite::LerCreateTable(
            "CREATE TABLE \"a(b\" ([x,y] INT DEFAULT (1 + 2) CHECK ([x,y] <> ')'), 'z' TEXT COLLATE NOCASE NOT NULL ON "
            "CONFLICT FAIL REFERENCES \"p\"\"q\" ON DELETE SET NULL NOT DEFERRABLE INITIALLY DEFERRED, -- nota, (\n"
            "CONSTRAINT \"u\" UNIQUE (z) ON CONFLICT IGNORE /* ) */, PRIMARY KEY ([x,y]), w BLOB UNIQUE) WITHOUT "
            "ROWID, "
            "STRICT",
            "a(b");
        QVERIFY(t.reconhecida);
        QStringList escritas;
        for (const auto& r : t.restricoes)
            escritas << r.Escrever("\"N\"");
        QCOMPARE(escritas,
                 QStringList({"CHECK ([x,y] <> ')')",
                              "FOREIGN KEY (\"N\") REFERENCES \"p\"\"q\" ON DELETE SET NULL NOT DEFERRABLE INITIALLY "
                              "DEFERRED",
                              "CONSTRAINT \"u\" UNIQUE (z) ON CONFLICT IGNORE",
                              "UNIQUE (\"N\")"}));
        QCOMPARE(t.restricoes[0].nomes, QStringList({"x,y"}));
        QCOMPARE(t.restricoes[2].lista, QStringList({"z"}));
        QCOMPARE(t.restricoes[2].texto.mid(t.restricoes[2].trechos[0].first, t.restricoes[2].trechos[0].second),
                 QStringLiteral("z"));
        QCOMPARE(t.restricoes[1].coluna, QStringLiteral("z"));
        QCOMPARE(t.colacoes.value("z"), QStringLiteral("COLLATE NOCASE"));
        QCOMPARE(t.opcoes, QStringLiteral("WITHOUT ROWID, STRICT"));

        // A key on the table itself reads the parent columns too.
        const auto propria
            = ddlsqlite::LerCreateTable("CREATE TABLE T (id INTEGER PRIMARY KEY, pai INT, CONSTRAINT fk FOREIGN KEY "
                                        "(pai) REFERENCES t (id) ON UPDATE NO ACTION)",
                                        "T");
        QCOMPARE(propria.restricoes.size(), 1);
        QCOMPARE(propria.restricoes[0].lista, QStringList({"pai"}));
        QCOMPARE(propria.restricoes[0].nomes, QStringList({"id"}));
        QCOMPARE(ddlsqlite::LerCreateTable("CREATE TABLE t (a INT, b INT GENERATED ALWAYS AS (a * 2) STORED)", "t")
                     .calculadas,
                 QStringList({"b"}));
        const auto padroes = ddlsqlite::LerCreateTable("CREATE TABLE t (a BLOB DEFAULT x'0aFF', b REAL DEFAULT -1.5e-3 "
                                                       "CHECK (b < 1E+3), c DEFAULT CURRENT_TIMESTAMP)",
                                                       "t");
        QVERIFY(padroes.reconhecida);
        QCOMPARE(padroes.restricoes.value(0).texto, QStringLiteral("CHECK (b < 1E+3)"));
        QVERIFY(!ddlsqlite::LerCreateTable("CREATE TABLE t (a INT CHECK (a > 0)", "t").reconhecida);
        QVERIFY(!ddlsqlite::LerCreateTable("CREATE TABLE t (a INT, b TEXT ')", "t").reconhecida);
    }

    // A rebuild on SQLite writes the table's checks, foreign keys, unique constraints and collations
    // into the new table, and they still hold; other tables' keys on a rebuilt table still hold too.
    void RestricoesSqlite()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        AbrirSqlite(db, "restricoes.db");
        for (const char* sql :
             {"CREATE TABLE Ped (n INTEGER CONSTRAINT ck_n CHECK (n > 0), cli INTEGER REFERENCES Cli (Id) ON DELETE "
              "CASCADE, u TEXT UNIQUE COLLATE NOCASE, \"a,b\" TEXT, cod INTEGER, CONSTRAINT uq UNIQUE (n, \"a,b\"), "
              "CHECK (length(u) < 10) /* (,' */, FOREIGN KEY (cod) REFERENCES Cli(Codigo))",
              "INSERT INTO Ped VALUES (1, 1, 'x', 'p', 1), (2, 2, 'y', 'q', 2)",
              "CREATE VIEW v AS SELECT Nome FROM Cli"})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        // Renamed columns: the column's own key, a unique list and a foreign-key list follow them.
        const QStringList linhas = Linhas(db, "SELECT * FROM Ped ORDER BY n");
        QVERIFY2(Salvar(db,
                        prompt,
                        "Ped",
                        [](auto& cs) {
                            Achar(cs, "n").allowNulls = false; // a rebuild
                            Achar(cs, "cli").campo = "cliente";
                            Achar(cs, "a,b").campo = "ab";
                            Achar(cs, "cod").campo = "codigo";
                        }),
                 qPrintable(prompt.textos().join(" / ")));
        QCOMPARE(Linhas(db, "SELECT * FROM Ped ORDER BY n"), linhas);
        const QString sql = Linhas(db, "SELECT sql FROM sqlite_schema WHERE name = 'Ped'").value(0);
        QVERIFY2(sql.contains("CONSTRAINT uq UNIQUE (n, \"ab\")") && sql.contains("CONSTRAINT ck_n CHECK (n > 0)")
                     && sql.contains("\"u\" TEXT COLLATE NOCASE NULL"),
                 qPrintable(sql));
        const QString chaves = "SELECT \"from\", \"table\", \"to\", on_delete FROM pragma_foreign_key_list('Ped') "
                               "ORDER BY 1";
        QCOMPARE(Linhas(db, chaves), QStringList({"cliente|Cli|Id|CASCADE", "codigo|Cli|Codigo|NO ACTION"}));
        for (const char* violacao : {"INSERT INTO Ped VALUES (0, 1, 'z', 'r', 1)",
                                     "INSERT INTO Ped VALUES (3, 1, 'abcdefghijk', 'r', 1)",
                                     "INSERT INTO Ped VALUES (3, 1, 'X', 'r', 1)",
                                     "INSERT INTO Ped VALUES (3, 99, 'w', 'r', 1)",
                                     "INSERT INTO Ped VALUES (1, 1, 'w', 'p', 1)",
                                     "INSERT INTO Ped VALUES (4, 1, 'w', 'r', 4)"})
            QVERIFY2(!db.ExecSql(violacao, false), violacao);
        QVERIFY2(db.ExecSql("INSERT INTO Ped VALUES (3, 1, 'w', 'r', 3)", false), qPrintable(db.ErrMsg()));

        // The parent rebuilt (a view reads it): Ped's keys on it keep their text and still hold.
        const QString pedSql = Linhas(db, "SELECT sql FROM sqlite_schema WHERE name = 'Ped'").value(0);
        QVERIFY(Salvar(db, prompt, "Cli", [](auto& cs) { Achar(cs, "Nome").tamanho = 90; }));
        QCOMPARE(Linhas(db, "SELECT sql FROM sqlite_schema WHERE name = 'Ped'").value(0), pedSql);
        QCOMPARE(Linhas(db, chaves).size(), 2);
        QVERIFY(!db.ExecSql("INSERT INTO Ped VALUES (3, 99, 'k', 's', 2)", false));
        QVERIFY(db.ExecSql("DELETE FROM Cli WHERE Id = 1", false));
        QCOMPARE(Linhas(db, "SELECT n FROM Ped ORDER BY n"), QStringList({"2"}));
        QVERIFY(Linhas(db, "PRAGMA foreign_key_check").isEmpty());

        // A named primary key keeps its name.
        QVERIFY(db.ExecSql("CREATE TABLE Itm (a INTEGER, b INTEGER, x TEXT, CONSTRAINT \"pk itm\" PRIMARY KEY (a, b))",
                           false));
        QVERIFY(Salvar(db, prompt, "Itm", [](auto& cs) { Achar(cs, "x").allowNulls = false; }));
        const QString itm = Linhas(db, "SELECT sql FROM sqlite_schema WHERE name = 'Itm'").value(0);
        QVERIFY2(itm.contains("CONSTRAINT \"pk itm\" PRIMARY KEY"), qPrintable(itm));
        QCOMPARE(prompt.mensagens.size(), 0);
    }

    // A rebuild (here forced by a new NOT NULL column) that would lose or rename a column that a
    // constraint, view, trigger or index reads is refused by name, and nothing changes.
    void RecusaSqlite_data()
    {
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<Mudanca>("mudar");
        QTest::addColumn<QString>("clausula");
        QTest::newRow("check le coluna renomeada")
            << "Ped" << Mudanca([](auto& cs) { Recriar(cs), Achar(cs, "n").campo = "m"; })
            << "«n CHECK (n > 0)» usa a coluna n,";
        QTest::newRow("chave estrangeira de coluna excluida")
            << "Ped" << Mudanca([](auto& cs) { Recriar(cs), Achar(cs, "cli").status = u'D'; })
            << "«cli REFERENCES Cli (Id)» usa a coluna cli,";
        QTest::newRow("unique de tabela le coluna excluida")
            << "Ped" << Mudanca([](auto& cs) { Recriar(cs), Achar(cs, "a,b").status = u'D'; })
            << "«UNIQUE (n, \"a,b\")» usa a coluna a,b,";
        QTest::newRow("chave de outra tabela le coluna renomeada")
            << "Cli" << Mudanca([](auto& cs) { Recriar(cs), Achar(cs, "Id").campo = "Codigo2"; })
            << "«chave estrangeira Ped (cli)» usa a coluna Id,";
        QTest::newRow("visao le coluna excluida")
            << "Cli" << Mudanca([](auto& cs) { Recriar(cs), Achar(cs, "Obs").status = u'D'; })
            << "a visão «v_obs» usa a coluna Obs,";
        QTest::newRow("trigger le coluna renomeada")
            << "Ped" << Mudanca([](auto& cs) { Recriar(cs), Achar(cs, "obs").campo = "nota"; })
            << "o trigger «tr_ped» usa a coluna obs,";
        QTest::newRow("indice le coluna renomeada")
            << "Cli" << Mudanca([](auto& cs) { Recriar(cs), Achar(cs, "Nome").campo = "Nome2"; })
            << "o índice «ix_nome» usa a coluna Nome,";
    }
    void RecusaSqlite()
    {
        QFETCH(QString, tabela);
        QFETCH(Mudanca, mudar);
        QFETCH(QString, clausula);
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        AbrirSqlite(db, QString(QTest::currentDataTag()) + ".db");
        for (const char* sql :
             {"CREATE TABLE Ped (n INTEGER CHECK (n > 0), cli INTEGER REFERENCES Cli (Id), \"a,b\" TEXT, obs TEXT, "
              "UNIQUE (n, \"a,b\"))",
              "INSERT INTO Ped VALUES (1, 1, 'a', 'o')",
              "CREATE VIEW v_obs AS SELECT c.Obs FROM Cli AS c",
              "CREATE TRIGGER tr_ped AFTER UPDATE ON Ped BEGIN SELECT new.obs; END"})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        const QStringList antes = RetratoSqlite(db, tabela) + RetratoSqlite(db, "v_obs");
        QVERIFY(!Salvar(db, prompt, tabela, mudar));
        QCOMPARE(prompt.mensagens.size(), 1);
        QVERIFY2(prompt.ultima().texto.contains(clausula), qPrintable(prompt.ultima().texto));
        QCOMPARE(RetratoSqlite(db, tabela) + RetratoSqlite(db, "v_obs"), antes);
        QVERIFY(!db.ActiveConnection()->EmTransacao());
    }

    // Only declared types change, each to one the file stores alike: the definition is rewritten
    // in place (no page of the table or its indexes moves, every other connection sees the new
    // definition). A change of storage copies the rows; a definition whose key or constraint
    // indexes would not match the stored ones is refused and nothing changes.
    void DeclaracaoSqlite_data()
    {
        QTest::addColumn<QString>("preparo");
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<Mudanca>("mudar");
        QTest::addColumn<CaminhoEstrutura>("caminho");
        QTest::addColumn<QString>("declarado"); // the new declaration in the table's text; empty: refused
        QTest::newRow("tamanho de varchar") << ""
                                            << "Cli" << Mudanca([](auto& cs) { Achar(cs, "Nome").tamanho = 80; })
                                            << CaminhoEstrutura::Declaracao << "\"Nome\" VARCHAR(80) DEFAULT 'sem'";
        QTest::newRow("texto para varchar")
            << ""
            << "Cli" << Mudanca([](auto& cs) { Achar(cs, "Obs").tipoDado = "VARCHAR", Achar(cs, "Obs").tamanho = 9; })
            << CaminhoEstrutura::Declaracao << "\"Obs\" VARCHAR(9) NULL";
        QTest::newRow("afinidade muda: copia")
            << ""
            << "Cli" << Mudanca([](auto& cs) { Achar(cs, "Obs").tipoDado = "INTEGER"; })
            << CaminhoEstrutura::Reconstrucao << "\"Obs\" INTEGER NULL";
        QTest::newRow("chave inteira DESC com indice proprio")
            << "CREATE TABLE D (k INTEGER PRIMARY KEY DESC, v VARCHAR(5) UNIQUE); INSERT INTO D VALUES (7, 'a')"
            << "D" << Mudanca([](auto& cs) { Achar(cs, "v").tamanho = 9; }) << CaminhoEstrutura::Declaracao << "";
    }
    void DeclaracaoSqlite()
    {
        QFETCH(QString, preparo);
        QFETCH(QString, tabela);
        QFETCH(Mudanca, mudar);
        QFETCH(CaminhoEstrutura, caminho);
        QFETCH(QString, declarado);
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb), outra(amb);
        AbrirSqlite(db, QString(QTest::currentDataTag()) + ".db");
        for (const QString& s : preparo.split(';', Qt::SkipEmptyParts))
            QVERIFY2(db.ExecSql(s, false), qPrintable(db.ErrMsg()));
        QVERIFY(outra.OpenConnection(db.ConnectionString(), true, false));
        const QString paginas = "SELECT name, rootpage FROM sqlite_schema ORDER BY name";
        const QString todas = "SELECT * FROM \"" + tabela + "\" ORDER BY 1";
        const QStringList antes = RetratoSqlite(db, tabela), raizes = Linhas(db, paginas), linhas = Linhas(db, todas);
        const QStringList tipos = Linhas(outra, "SELECT name, type FROM pragma_table_info('" + tabela + "')");
        QList<ColunaEstrutura> cs;
        QVERIFY(CarregarEstrutura(db, tabela, cs));
        mudar(cs);
        const auto plano = PlanejarEstrutura(*db.ActiveConnection(), tabela, false, cs, LerCatalogoTabela(db, tabela));
        QCOMPARE(plano.caminho, caminho);
        const bool salvo = ExecutarPlano(db, prompt, plano);
        QCOMPARE(Linhas(db, "PRAGMA integrity_check"), QStringList({"ok"}));
        QCOMPARE(Linhas(db, "PRAGMA writable_schema"), QStringList({"0"}));
        QVERIFY(!db.ActiveConnection()->EmTransacao());
        if (declarado.isEmpty()) {
            QVERIFY(!salvo);
            QVERIFY2(prompt.mensagens.value(0).texto.contains("não corresponde"),
                     qPrintable(prompt.textos().join(" / ")));
            QCOMPARE(RetratoSqlite(db, tabela), antes);
            QCOMPARE(Linhas(db, paginas), raizes);
            return;
        }
        QVERIFY2(salvo, qPrintable(prompt.textos().join(" / ")));
        const QString sql = Linhas(db, "SELECT sql FROM sqlite_schema WHERE name = '" + tabela + "'").value(0);
        QVERIFY2(sql.contains(declarado), qPrintable(sql));
        QCOMPARE(Linhas(db, todas), linhas);
        if (caminho == CaminhoEstrutura::Declaracao)
            QCOMPARE(Linhas(db, paginas), raizes);
        // Another connection reads the new definition; the table works as before (key, trigger).
        QVERIFY(Linhas(outra, "SELECT name, type FROM pragma_table_info('" + tabela + "')") != tipos);
        QVERIFY2(outra.ExecSql("INSERT INTO Cli (Nome, Codigo) VALUES ('Novo', 9)", false), qPrintable(outra.ErrMsg()));
        QCOMPARE(Linhas(db, "SELECT Id FROM Cli WHERE Nome = 'Novo'"), QStringList({"4"}));
        QCOMPARE(Linhas(db, "SELECT texto FROM Registro"), QStringList({"Novo"}));
        QVERIFY(!outra.ExecSql("INSERT INTO Cli (Nome, Codigo) VALUES ('Dup', 9)", false));
    }

    // Renames, drops and new columns at the end go through SQLite's ALTER TABLE: the engine
    // rewrites the views, triggers, indexes and keys that read a renamed column, and refuses (by
    // name) to drop one that something reads; the rows, the AUTOINCREMENT counter and everything
    // else stay.
    void AlteracaoSqlite()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        AbrirSqlite(db, "alteracao.db");
        for (const char* sql : {"CREATE VIEW v AS SELECT c.Nome, c.Obs FROM Cli c",
                                "CREATE TABLE Ped (cli INTEGER REFERENCES Cli (Id))",
                                "DELETE FROM Cli WHERE Id = 3"})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        const QStringList linhas = Linhas(db, "SELECT * FROM v ORDER BY 1");
        const QString esquema = "SELECT type || ' ' || name || ' ' || sql FROM sqlite_schema ORDER BY name";
        const QStringList antes = Linhas(db, esquema) + Linhas(db, "SELECT * FROM sqlite_sequence");
        // Unchanged: nothing is sent.
        QVERIFY(!Salvar(db, prompt, "Cli", [](auto&) {}));
        QVERIFY(prompt.mensagens.isEmpty());
        QCOMPARE(Linhas(db, esquema) + Linhas(db, "SELECT * FROM sqlite_sequence"), antes);

        QList<ColunaEstrutura> cs;
        QVERIFY(CarregarEstrutura(db, "Cli", cs));
        Achar(cs, "Nome").campo = "Cliente";
        Achar(cs, "Id").campo = "Codigo Cli";
        cs << Coluna("Extra", "VarChar", 10, 90, false);
        const auto plano = PlanejarEstrutura(*db.ActiveConnection(), "Cli", false, cs, LerCatalogoTabela(db, "Cli"));
        QCOMPARE(plano.caminho, CaminhoEstrutura::Alteracao);
        QVERIFY2(ExecutarPlano(db, prompt, plano), qPrintable(prompt.textos().join(" / ")));
        QCOMPARE(Linhas(db, "SELECT * FROM v ORDER BY 1"), linhas);
        const QStringList depois = Linhas(db, esquema) + Linhas(db, "SELECT * FROM sqlite_sequence");
        QVERIFY2(depois.filter("ix_nome").value(0).contains("\"Cliente\" DESC"), qPrintable(depois.join('\n')));
        QVERIFY2(depois.filter("trigger tr_cli").value(0).contains("new.\"Cliente\""), qPrintable(depois.join('\n')));
        QVERIFY2(depois.filter("view v ").value(0).contains("c.\"Cliente\""), qPrintable(depois.join('\n')));
        QVERIFY2(depois.filter("table Ped").value(0).contains("REFERENCES Cli (\"Codigo Cli\")"),
                 qPrintable(depois.join('\n')));
        QVERIFY2(depois.filter("table Cli").value(0).endsWith(", \"Extra\" VARCHAR(10) NULL)"),
                 qPrintable(depois.join('\n')));
        QCOMPARE(Linhas(db, "SELECT * FROM sqlite_sequence"), QStringList({"Cli|3"}));

        // A column a view reads is not dropped: the engine names the view, nothing changes.
        const QStringList retrato = Linhas(db, esquema) + Linhas(db, "SELECT * FROM Cli ORDER BY 1");
        QVERIFY(!Salvar(db, prompt, "Cli", [](auto& cs) { Achar(cs, "Obs").status = u'D'; }));
        QCOMPARE(prompt.mensagens.size(), 2);
        QVERIFY2(prompt.mensagens.first().texto.contains("view v"), qPrintable(prompt.mensagens.first().texto));
        QCOMPARE(Linhas(db, esquema) + Linhas(db, "SELECT * FROM Cli ORDER BY 1"), retrato);
        // Nor one that nothing reads is left behind by a rebuild: dropped in place.
        prompt.mensagens.clear();
        QVERIFY(db.ExecSql("DROP VIEW v", false));
        QVERIFY2(Salvar(db, prompt, "Cli", [](auto& cs) { Achar(cs, "Obs").status = u'D'; }),
                 qPrintable(prompt.textos().join(" / ")));
        QCOMPARE(Linhas(db, "SELECT count(*) FROM pragma_table_info('Cli') WHERE name = 'Obs'"), QStringList({"0"}));
    }

    // A rebuild gives the AUTOINCREMENT counter back: an id once handed out is not handed out again.
    void AutoincrementoSqlite()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        AbrirSqlite(db, "contador.db");
        QVERIFY(db.ExecSql("DELETE FROM Cli WHERE Id = 3", false));
        QVERIFY(Salvar(db, prompt, "Cli", [](auto& cs) { Achar(cs, "Nome").tamanho = 70; }));
        QVERIFY(db.ExecSql("INSERT INTO Cli (Nome) VALUES ('Novo')", false));
        QCOMPARE(Linhas(db, "SELECT max(Id) FROM Cli"), QStringList({"4"}));
        // Emptied, the table still goes on from its counter.
        QVERIFY(db.ExecSql("DELETE FROM Cli", false));
        QVERIFY(Salvar(db, prompt, "Cli", [](auto& cs) { Achar(cs, "Nome").tamanho = 60; }));
        QVERIFY(db.ExecSql("INSERT INTO Cli (Nome) VALUES ('Outro')", false));
        QCOMPARE(Linhas(db, "SELECT Id FROM Cli"), QStringList({"5"}));
    }

    void NovaTabelaSqlite()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        AbrirSqlite(db, "nova.db");
        auto cs = TresColunas();
        for (auto& c : cs)
            c.originalCampo.clear();
        QVERIFY(ExecutarPlano(db, prompt, PlanejarEstrutura(*db.ActiveConnection(), "Nova \"T\"", true, cs, {})));
        QCOMPARE(db.ActiveConnection()->ChavesPrimarias("Nova \"T\""), QStringList({"Id"}));
        QVERIFY(db.ExecSql("INSERT INTO \"Nova \"\"T\"\"\" (Nome) VALUES ('a')", false));
    }

    // PostgreSQL: the same procedure, with the failing steps a server adds (the DROP and the key);
    // a change of column order rebuilds the table, any other is made by ALTER TABLE.
    void FalhaPostgres_data()
    {
        QTest::addColumn<QString>("preparo");
        QTest::addColumn<Mudanca>("mudar");
        QTest::addColumn<QString>("passo");
        QTest::addColumn<bool>("avisa"); // the outcome message follows the engine's error
        QTest::newRow("copia viola NOT NULL")
            << "" << Mudanca([](auto& cs) { Reordenar(cs), Achar(cs, "obs").allowNulls = false; }) << "INSERT INTO"
            << true;
        QTest::newRow("indice falha") << ""
                                      << Mudanca([](auto& cs) { Reordenar(cs), Achar(cs, "nome").campo = "nome2"; })
                                      << "CREATE INDEX" << true;
        QTest::newRow("trigger falha") << "CREATE TRIGGER est_tr2 AFTER UPDATE OF uf ON \"Est Cli\" "
                                          "FOR EACH ROW EXECUTE FUNCTION est_f()"
                                       << Mudanca([](auto& cs) { Reordenar(cs), Achar(cs, "uf").campo = "estado"; })
                                       << "CREATE TRIGGER" << true;
        QTest::newRow("nome da copia ja existe") << "CREATE TABLE \"tmpEst Cli\" (x int)"
                                                 << Mudanca([](auto& cs) { Reordenar(cs); }) << "CREATE TABLE" << false;
        QTest::newRow("restricao nomeia coluna renomeada")
            << "ALTER TABLE \"Est Cli\" ADD CONSTRAINT est_ck CHECK (saldo >= 0)"
            << Mudanca([](auto& cs) { Reordenar(cs), Achar(cs, "saldo").campo = "valor"; }) << "ALTER TABLE" << true;
        QTest::newRow("chave falha") << "" << Mudanca([](auto& cs) {
            Achar(cs, "id").chave = false;
            Achar(cs, "uf").chave = true;
            Achar(cs, "uf").tamanho = 3;
        }) << "ALTER TABLE" << true;
        QTest::newRow("so chave falha") << "" << Mudanca([](auto& cs) {
            Achar(cs, "id").chave = false;
            Achar(cs, "uf").chave = true;
        }) << "ALTER TABLE" << false;
        QTest::newRow("tipo lido por visao")
            << "CREATE VIEW est_v AS SELECT nome FROM \"Est Cli\""
            << Mudanca([](auto& cs) { Achar(cs, "nome").tamanho = 90; }) << "ALTER TABLE" << true;
        QTest::newRow("coluna lida por visao")
            << "CREATE VIEW est_v AS SELECT obs FROM \"Est Cli\""
            << Mudanca([](auto& cs) { Achar(cs, "obs").status = u'D'; }) << "ALTER TABLE" << true;
        QTest::newRow("nulos violados") << "" << Mudanca([](auto& cs) { Achar(cs, "obs").allowNulls = false; })
                                        << "ALTER TABLE" << true;
    }
    void FalhaPostgres()
    {
        QFETCH(QString, preparo);
        QFETCH(Mudanca, mudar);
        QFETCH(QString, passo);
        QFETCH(bool, avisa);
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        if (!AbrirPostgres(db))
            return;
        for (const QString& s : preparo.split(';', Qt::SkipEmptyParts))
            QVERIFY2(db.ExecSql(s, false), qPrintable(db.ErrMsg()));
        const QStringList antes = RetratoPostgres(db, "Est Cli");
        QVERIFY(!Salvar(db, prompt, "Est Cli", mudar));
        QVERIFY2(prompt.mensagens.size() == (avisa ? 2 : 1), qPrintable(prompt.textos().join(" / ")));
        QVERIFY2(Reportado(prompt.mensagens.first().texto, passo), qPrintable(prompt.mensagens.first().texto));
        if (avisa)
            QCOMPARE(prompt.ultima().texto, QStringLiteral("A estrutura não foi alterada"));
        QCOMPARE(RetratoPostgres(db, "Est Cli"), antes);
    }

    // Checks, foreign keys and other tables' keys on the table come through a rebuild unchanged.
    void RestricoesPostgres()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        if (!AbrirPostgres(db))
            return;
        for (const char* sql :
             {"DROP TABLE IF EXISTS est_ped, est_uf CASCADE",
              "CREATE TABLE est_uf (uf char(2) PRIMARY KEY)",
              "INSERT INTO est_uf VALUES ('SP'), ('PE'), ('RN')",
              "ALTER TABLE \"Est Cli\" ADD CONSTRAINT \"est ck'saldo\" CHECK (saldo >= 0)",
              "ALTER TABLE \"Est Cli\" ADD CONSTRAINT est_fk_uf FOREIGN KEY (uf) REFERENCES est_uf (uf)",
              "CREATE TABLE est_ped (n int, cli int CONSTRAINT \"est fk cli\" REFERENCES \"Est Cli\" (id) ON DELETE "
              "CASCADE)",
              "INSERT INTO est_ped SELECT 1, min(id) FROM \"Est Cli\""})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        const QString restricoes
            = "SELECT conrelid::regclass::text || ' ' || conname || ' ' || pg_get_constraintdef(oid) "
              "FROM pg_constraint WHERE contype IN ('c', 'f') AND (conrelid = '\"Est Cli\"'::regclass "
              "OR confrelid = '\"Est Cli\"'::regclass) ORDER BY 1";
        const QStringList antes = Linhas(db, restricoes);
        QCOMPARE(antes.size(), 3);
        const QStringList linhas = Linhas(db, "SELECT id, nome, uf, obs, saldo FROM \"Est Cli\" ORDER BY id");
        QVERIFY2(Salvar(db,
                        prompt,
                        "Est Cli",
                        [](auto& cs) {
                            Reordenar(cs);
                            Achar(cs, "nome").tamanho = 100;
                        }),
                 qPrintable(prompt.textos().join(" / ")));
        QCOMPARE(Linhas(db, restricoes), antes);
        QCOMPARE(Linhas(db, "SELECT id, nome, uf, obs, saldo FROM \"Est Cli\" ORDER BY id"), linhas);
        // They still hold.
        QVERIFY(!db.ExecSql("UPDATE \"Est Cli\" SET saldo = -1", false));
        QVERIFY(!db.ExecSql("UPDATE \"Est Cli\" SET uf = 'XX'", false));
        QVERIFY(db.ExecSql("DELETE FROM \"Est Cli\"", false));
        QCOMPARE(Linhas(db, "SELECT count(*) FROM est_ped"), QStringList({"0"}));
        QVERIFY(db.ExecSql("DROP TABLE est_ped, est_uf CASCADE", false));
    }

    // What a rebuild would not bring back (a generated column, row-level security, privileges on
    // single columns): the rebuild is refused by name and nothing changes.
    void RecusaPostgres_data()
    {
        QTest::addColumn<QString>("preparo");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("calculada") << "ALTER TABLE \"Est Cli\" ADD COLUMN dobro numeric GENERATED ALWAYS AS (saldo "
                                      "* 2) STORED"
                                   << "colunas calculadas (dobro)";
        QTest::newRow("rls") << "ALTER TABLE \"Est Cli\" ENABLE ROW LEVEL SECURITY; CREATE POLICY so_sp ON \"Est Cli\" "
                                "USING (uf = 'SP')"
                             << "segurança por linha (RLS)";
        QTest::newRow("privilegio de coluna") << "GRANT SELECT (nome) ON \"Est Cli\" TO PUBLIC"
                                              << "privilégios concedidos por coluna (nome)";
        QTest::newRow("visao") << "CREATE VIEW est_v AS SELECT * FROM \"Est Cli\""
                               << "visões que a leem (est_v)";
    }
    void RecusaPostgres()
    {
        QFETCH(QString, preparo);
        QFETCH(QString, motivo);
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        if (!AbrirPostgres(db))
            return;
        for (const QString& sql : preparo.split(u';'))
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        const QStringList antes = RetratoPostgres(db, "Est Cli");
        QVERIFY(!Salvar(db, prompt, "Est Cli", [](auto& cs) { Reordenar(cs); }));
        QCOMPARE(prompt.mensagens.size(), 1);
        QVERIFY2(prompt.ultima().texto.contains(motivo), qPrintable(prompt.ultima().texto));
        QCOMPARE(RetratoPostgres(db, "Est Cli"), antes);
    }

    // Serial, identity ALWAYS, named key, privileges and comments on PostgreSQL: saved unchanged
    // nothing happens; a change of one column (ALTER TABLE) or of the column order (rebuild)
    // leaves everything else as it was, and the next id is the one after the last ever given.
    void IdaEVoltaPostgres_data()
    {
        QTest::addColumn<QString>("chave"); // the key column's declaration
        QTest::addColumn<Mudanca>("mudar");
        QTest::addColumn<int>("caminho");
        QTest::addColumn<QStringList>("mudadas"); // the columns the dump may show changed
        const QString serial = "id serial CONSTRAINT pedido_pk PRIMARY KEY";
        const QString sempre = "id int GENERATED ALWAYS AS IDENTITY (START WITH 1) PRIMARY KEY";
        QTest::newRow("serial reordenado")
            << serial << Mudanca(Reordenar) << int(CaminhoEstrutura::Reconstrucao) << QStringList();
        QTest::newRow("serial tamanho") << serial << Mudanca([](auto& cs) { Achar(cs, "nome").tamanho = 100; })
                                        << int(CaminhoEstrutura::Alteracao) << QStringList({"nome"});
        QTest::newRow("identity reordenado")
            << sempre << Mudanca(Reordenar) << int(CaminhoEstrutura::Reconstrucao) << QStringList();
        QTest::newRow("identity renomeada")
            << sempre << Mudanca([](auto& cs) { Achar(cs, "obs").campo = "observacao"; })
            << int(CaminhoEstrutura::Alteracao) << QStringList({"obs", "observacao"});
        QTest::newRow("identity tipo") << sempre << Mudanca([](auto& cs) { Achar(cs, "saldo").tipoDado = "Float"; })
                                       << int(CaminhoEstrutura::Alteracao) << QStringList({"saldo"});
    }
    void IdaEVoltaPostgres()
    {
        QFETCH(QString, chave);
        QFETCH(Mudanca, mudar);
        QFETCH(int, caminho);
        QFETCH(QStringList, mudadas);
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        if (!AbrirPostgres(db))
            return;
        for (const QString& sql :
             {QString("DROP TABLE \"Est Cli\""),
              "CREATE TABLE \"Est Cli\" (" + chave
                  + ", nome varchar(80) NOT NULL, uf char(2) DEFAULT 'SP', obs text, saldo numeric(14, 4))",
              QString("CREATE INDEX est_ix_nome ON \"Est Cli\" (nome DESC)"),
              QString("CREATE TRIGGER est_tr AFTER INSERT ON \"Est Cli\" FOR EACH ROW EXECUTE FUNCTION est_f()"),
              QString("GRANT SELECT, UPDATE ON \"Est Cli\" TO PUBLIC"),
              QString("COMMENT ON TABLE \"Est Cli\" IS 'clientes'"),
              QString("COMMENT ON COLUMN \"Est Cli\".obs IS 'nota d''ele'"),
              QString("INSERT INTO \"Est Cli\" (nome, obs, saldo) VALUES ('Ana', 'x', 1.5), ('Bia', NULL, NULL), "
                      "('Caio', 'z', 2.25)"),
              QString("DELETE FROM \"Est Cli\" WHERE id = 3")})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg() + " / " + sql));
        const QStringList antes = CatalogoPostgres(db, mudadas), inteiro = CatalogoPostgres(db, {});
        QVERIFY(!Salvar(db, prompt, "Est Cli", [](auto&) {}));
        QVERIFY(prompt.mensagens.isEmpty());
        QCOMPARE(CatalogoPostgres(db, {}), inteiro);

        QList<ColunaEstrutura> cs;
        QVERIFY(CarregarEstrutura(db, "Est Cli", cs));
        mudar(cs);
        const auto plano
            = PlanejarEstrutura(*db.ActiveConnection(), "Est Cli", false, cs, LerCatalogoTabela(db, "Est Cli"));
        QCOMPARE(int(plano.caminho), caminho);
        QVERIFY2(ExecutarPlano(db, prompt, plano), qPrintable(prompt.textos().join(" / ")));
        QCOMPARE(CatalogoPostgres(db, mudadas), antes);
        QVERIFY(db.ExecSql("INSERT INTO \"Est Cli\" (nome) VALUES ('Novo')", false));
        QCOMPARE(Linhas(db, "SELECT id FROM \"Est Cli\" WHERE nome = 'Novo'"), QStringList({"4"}));
    }

    // PostgreSQL's own types come back by their names, with size, precision and scale; a change of
    // precision or default is made in place.
    void TiposPostgres()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        if (!AbrirPostgres(db))
            return;
        QVERIFY(db.ExecSql("ALTER TABLE \"Est Cli\" ADD COLUMN j jsonb, ADD COLUMN b boolean, ADD COLUMN t "
                           "timestamptz(3), ADD COLUMN v numeric(14, 4) DEFAULT 1.5",
                           false));
        QList<ColunaEstrutura> cs;
        QVERIFY(CarregarEstrutura(db, "Est Cli", cs));
        QStringList tipos;
        for (const auto& c : cs)
            tipos << QString("%1 %2 %3 %4 %5 [%6]")
                         .arg(c.campo, c.tipoDado)
                         .arg(c.tamanho)
                         .arg(c.precisao)
                         .arg(c.escala)
                         .arg(c.padrao);
        QCOMPARE(tipos,
                 QStringList({"id integer 0 0 0 []",
                              "nome character varying 80 0 0 []",
                              "uf character 2 0 0 ['SP'::bpchar]",
                              "obs text 0 0 0 []",
                              "saldo numeric 0 10 2 []",
                              "j jsonb 0 0 0 []",
                              "b boolean 0 0 0 []",
                              "t timestamp with time zone 0 3 0 []",
                              "v numeric 0 14 4 [1.5]"}));
        Achar(cs, "v").precisao = 16;
        Achar(cs, "v").escala = 2;
        Achar(cs, "v").padrao.clear();
        Achar(cs, "b").padrao = "true";
        const auto plano
            = PlanejarEstrutura(*db.ActiveConnection(), "Est Cli", false, cs, LerCatalogoTabela(db, "Est Cli"));
        QCOMPARE(plano.caminho, CaminhoEstrutura::Alteracao);
        QVERIFY2(ExecutarPlano(db, prompt, plano), qPrintable(prompt.textos().join(" / ")));
        QCOMPARE(
            Linhas(db,
                   "SELECT attname || ' ' || format_type(atttypid, atttypmod) || ' ' || "
                   "coalesce(pg_get_expr(adbin, adrelid), '') FROM pg_attribute LEFT JOIN pg_attrdef ON adrelid = "
                   "attrelid AND adnum = attnum WHERE attrelid = '\"Est Cli\"'::regclass AND attname IN ('b', 'v', "
                   "'t', 'j') ORDER BY attname"),
            QStringList({"b boolean true", "j jsonb ", "t timestamp(3) with time zone ", "v numeric(16,2) "}));
    }

    // Key only: the constraint keeps its name, the table its identity (no rebuild).
    void ChavePostgres()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        if (!AbrirPostgres(db))
            return;
        QVERIFY(db.ExecSql("UPDATE \"Est Cli\" SET uf = id::text", false));
        const QString oid = Linhas(db, "SELECT '\"Est Cli\"'::regclass::oid").value(0);
        QVERIFY(Salvar(db, prompt, "Est Cli", [](auto& cs) {
            Achar(cs, "id").chave = false;
            Achar(cs, "uf").chave = true;
        }));
        QCOMPARE(db.ActiveConnection()->ChavesPrimarias("Est Cli"), QStringList({"uf"}));
        QCOMPARE(
            Linhas(db, "SELECT conname FROM pg_constraint WHERE contype = 'p' AND conrelid = '\"Est Cli\"'::regclass"),
            QStringList({"Est Cli_pkey"}));
        QCOMPARE(Linhas(db, "SELECT '\"Est Cli\"'::regclass::oid").value(0), oid);
        QCOMPARE(prompt.mensagens.size(), 0);
    }

    // The same rebuild on a real SQL Server, when there is one: everything carried is there again
    // and still holds, and a failing step leaves the table as it was.
    void ReconstrucaoSqlServer()
    {
        const QString cs = qEnvironmentVariable("QUARRIX_SQLSERVER_CONNSTR");
        if (cs.isEmpty())
            QSKIP("QUARRIX_SQLSERVER_CONNSTR is not set: no SQL Server to test against");
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        QVERIFY2(db.OpenConnection(cs, true, false), qPrintable(db.ErrMsg()));
        const auto m = db.ActiveConnection();
        const QString banco
            = m->CitarIdentificador("qx_estrutura]'" + QString::number(QDateTime::currentMSecsSinceEpoch()));
        QVERIFY2(db.ExecSql("CREATE DATABASE " + banco, false), qPrintable(db.ErrMsg()));
        struct Apagar {
            clsData& db;
            QString banco;
            ~Apagar() { db.ExecSql("USE master; DROP DATABASE " + banco, false); }
        } apagar{db, banco};
        for (const QString& sql :
             {"USE " + banco,
              QString("CREATE TABLE Uf (uf char(2) PRIMARY KEY)"),
              QString("INSERT INTO Uf VALUES ('SP'), ('PE')"),
              QString("CREATE TABLE [Est]]Cli] (id int IDENTITY (10, 1) CONSTRAINT PK_Est PRIMARY KEY, nome "
                      "varchar(80) NOT NULL, uf char(2) CONSTRAINT DF_uf DEFAULT 'SP' CONSTRAINT fk_uf REFERENCES Uf, "
                      "saldo decimal(10, 2) CONSTRAINT ck_saldo CHECK (saldo >= 0), cod int CONSTRAINT uq_cod UNIQUE)"),
              QString("CREATE INDEX ix_nome ON [Est]]Cli] (nome DESC) INCLUDE (saldo) WHERE saldo IS NOT NULL"),
              QString("CREATE TABLE Registro (n int)"),
              QString("CREATE TRIGGER tr_est ON [Est]]Cli] AFTER INSERT AS INSERT INTO Registro SELECT id FROM "
                      "inserted"),
              QString("CREATE TABLE Ped (n int, cli int CONSTRAINT fk_cli REFERENCES [Est]]Cli] (id) ON DELETE "
                      "CASCADE)"),
              QString("INSERT INTO [Est]]Cli] (nome, uf, saldo, cod) VALUES ('Ana', 'PE', 1.5, 1), ('Bia', "
                      "'SP', NULL, 2)"),
              QString("INSERT INTO Ped VALUES (1, 10)"),
              QString("DELETE FROM Registro")})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg() + " / " + sql));
        const QString objetos = "SELECT o.type + ' ' + o.name FROM sys.objects o WHERE o.parent_object_id = "
                                "OBJECT_ID(N'[Est]]Cli]') OR o.object_id IN (SELECT object_id FROM sys.foreign_keys "
                                "WHERE referenced_object_id = OBJECT_ID(N'[Est]]Cli]')) UNION ALL SELECT 'IX ' + name "
                                "FROM sys.indexes WHERE object_id = OBJECT_ID(N'[Est]]Cli]') AND name IS NOT NULL "
                                "AND is_primary_key = 0 ORDER BY 1";
        const QStringList antes = Linhas(db, objetos);
        const QStringList linhas = Linhas(db, "SELECT * FROM [Est]]Cli] ORDER BY id");
        QVERIFY2(Salvar(db, prompt, "Est]Cli", [](auto& cs) { Achar(cs, "nome").tamanho = 100; }),
                 qPrintable(prompt.textos().join(" / ")));
        QStringList depois = Linhas(db, objetos);
        QCOMPARE(depois, antes);
        QCOMPARE(Linhas(db, "SELECT * FROM [Est]]Cli] ORDER BY id"), linhas);
        for (const char* violacao : {"UPDATE [Est]]Cli] SET saldo = -1",
                                     "UPDATE [Est]]Cli] SET uf = 'XX'",
                                     "UPDATE [Est]]Cli] SET cod = 1",
                                     "INSERT INTO Ped VALUES (2, 99)"})
            QVERIFY2(!db.ExecSql(violacao, false), violacao);
        QVERIFY(db.ExecSql("INSERT INTO [Est]]Cli] (nome) VALUES ('Novo')", false));
        QCOMPARE(Linhas(db, "SELECT uf FROM [Est]]Cli] WHERE nome = 'Novo'"), QStringList({"SP"}));
        QCOMPARE(Linhas(db, "SELECT count(*) FROM Registro"), QStringList({"1"}));
        QVERIFY(db.ExecSql("DELETE FROM [Est]]Cli] WHERE id = 10", false));
        QCOMPARE(Linhas(db, "SELECT count(*) FROM Ped"), QStringList({"0"}));

        // A check that reads a renamed column fails on the new table: everything is undone.
        const QStringList retrato = Linhas(db, objetos) + Linhas(db, "SELECT * FROM [Est]]Cli] ORDER BY id");
        prompt.mensagens.clear();
        QVERIFY(!Salvar(db, prompt, "Est]Cli", [](auto& cs) { Achar(cs, "saldo").campo = "valor"; }));
        QCOMPARE(prompt.ultima().texto, QStringLiteral("A estrutura não foi alterada"));
        QCOMPARE(Linhas(db, objetos) + Linhas(db, "SELECT * FROM [Est]]Cli] ORDER BY id"), retrato);
    }

private:
    bool AbrirPostgres(clsData& db)
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_estrutura"));
        if (cs.isEmpty()) {
            QTest::qSkip("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)",
                         __FILE__,
                         __LINE__);
            return false;
        }
        if (!db.OpenConnection(cs, true, false)) {
            QTest::qFail(qPrintable(db.ErrMsg()), __FILE__, __LINE__);
            return false;
        }
        for (const char* sql :
             {"DROP VIEW IF EXISTS est_v",
              "DROP TABLE IF EXISTS \"Est Cli\", \"tmpEst Cli\", est_log CASCADE",
              "DROP FUNCTION IF EXISTS est_f()",
              "CREATE TABLE est_log (n int)",
              "CREATE FUNCTION est_f() RETURNS trigger LANGUAGE plpgsql AS "
              "$$BEGIN INSERT INTO est_log VALUES (1); RETURN NEW; END$$",
              "CREATE TABLE \"Est Cli\" (id int GENERATED BY DEFAULT AS IDENTITY (START WITH 10 INCREMENT BY 1) "
              "PRIMARY KEY, nome varchar(80) NOT NULL, uf char(2) DEFAULT 'SP', obs text, saldo numeric(10, 2))",
              "CREATE INDEX est_ix_nome ON \"Est Cli\" (nome DESC)",
              "CREATE TRIGGER est_tr AFTER INSERT ON \"Est Cli\" FOR EACH ROW EXECUTE FUNCTION est_f()",
              "INSERT INTO \"Est Cli\" (nome, uf, obs, saldo) VALUES ('Ana', 'PE', NULL, 10.25), "
              "('Bia', 'PE', 'x', NULL), ('O''Neil', 'RN', 'z', 7.5)",
              "DELETE FROM est_log"})
            if (!db.ExecSql(sql, false)) {
                QTest::qFail(qPrintable(db.ErrMsg()), __FILE__, __LINE__);
                return false;
            }
        return true;
    }
};

QUARRIX_TESTE(tst_clsEstrutura);
#include "tst_clsEstrutura.moc"
