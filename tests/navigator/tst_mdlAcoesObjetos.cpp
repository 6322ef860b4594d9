// Deleting tables and indexes and creating databases, on real SQLite files and a real PostgreSQL,
// and the SQL Server texts: a table other tables reference loses their foreign keys first (or, on
// SQLite, is refused with nothing changed), and every name is quoted.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "navigator/mdlAcoesObjetos.h"
#include "platform/mdlProgramas.h"
#include "support/clsPromptRoteiro.h"
#include "support/motorTexto.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
QStringList Linhas(clsData& db, const QString& sql)
{
    QStringList r;
    RecordsetPtr rs;
    if (!db.OpenRecordset(rs, sql, false, false, false) || !rs)
        return {QStringLiteral("<falhou: ") + sql + u'>'};
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        r << rs->Valor(0).toString();
    return r;
}
} // namespace

class tst_mdlAcoesObjetos : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;

private slots:
    void TextosSqlServer()
    {
        MotorTexto m(Dialeto::SqlServer);
        QCOMPARE(acoes::SqlCriarBanco("O'Brien]x"), QStringLiteral("CREATE DATABASE [O'Brien]]x]"));
        QCOMPARE(acoes::SqlExcluirBanco("a b"), QStringLiteral("DROP DATABASE [a b]"));
        QCOMPARE(acoes::SqlExcluirTabela(m, "dbo", "Pai]", {{"vendas", "Filho's", "FK_x]"}}),
                 QStringList({"ALTER TABLE [vendas].[Filho's] DROP CONSTRAINT [FK_x]]]", "DROP TABLE [dbo].[Pai]]]"}));
    }

    void ExportarNaoLevaSenhaNaLinhaDeComando()
    {
        QCOMPARE(ArgumentoImportarExportar("Provider=x;Pwd=s", {}, {}), QStringLiteral("Orig=Provider=x;Pwd=s"));
        QCOMPARE(ArgumentoImportarExportar("C", "D", "T"), QStringLiteral("Orig=C&Dest=D&Tab=T"));
        // Without the program the user is told so.
        clsPromptRoteiro prompt;
        ExecutarImportarExportar(prompt, "C", {}, {}, pasta.filePath("sem-programa"));
        QCOMPARE(prompt.mensagens.size(), 1);
        QVERIFY(prompt.ultima().texto.startsWith("O programa de Importação e Exportação não está disponível."));
    }

    // SQLite cannot drop a foreign key: a referenced table is refused, naming who references it.
    void ExcluirTabelaReferenciadaSqlite()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        ErroDados e;
        const QString arquivo = pasta.filePath("fk.db");
        QVERIFY(CriarBancoArquivo(arquivo, e));
        const QString cs = MontarConnStrAccess(arquivo, "Admin", "");
        clsData db(amb);
        QVERIFY(db.OpenConnection(cs, true, false));
        for (const char* sql : {"CREATE TABLE \"Pai x\" (id INTEGER PRIMARY KEY, p INTEGER REFERENCES \"Pai x\"(id))",
                                "CREATE TABLE \"Filho's\" (id INTEGER, pai INTEGER REFERENCES \"Pai x\"(id))",
                                "CREATE TABLE Solta (id INTEGER)",
                                "CREATE INDEX \"ix]solta\" ON Solta (id)",
                                "INSERT INTO \"Pai x\" VALUES (1, NULL)"})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        QVERIFY(!acoes::ExcluirTabela(amb, cs, {}, "Pai x"));
        QCOMPARE(prompt.mensagens.size(), 1);
        QVERIFY2(prompt.ultima().texto.contains("'Filho's'"), qPrintable(prompt.ultima().texto));
        QCOMPARE(Linhas(db, "SELECT count(*) FROM \"Pai x\""), QStringList({"1"}));
        // A table only it references itself goes.
        QVERIFY(acoes::ExcluirTabela(amb, cs, {}, "Filho's"));
        QVERIFY(acoes::ExcluirTabela(amb, cs, {}, "Pai x"));
        QVERIFY(acoes::ExcluirIndice(amb, cs, "Solta", "ix]solta"));
        QCOMPARE(Linhas(db, "SELECT name FROM sqlite_schema ORDER BY name"), QStringList({"Solta"}));
        QCOMPARE(prompt.mensagens.size(), 1);
    }

    // PostgreSQL: the referencing table loses its foreign key and keeps its rows; the referenced
    // table goes. A failing DROP leaves both as they were.
    void ExcluirTabelaReferenciadaPostgres()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_acoes"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        QVERIFY2(db.OpenConnection(cs, true, false), qPrintable(db.ErrMsg()));
        for (const char* sql :
             {"DROP VIEW IF EXISTS vpai",
              "DROP TABLE IF EXISTS \"Filho's\", \"Pai x\" CASCADE",
              "CREATE TABLE \"Pai x\" (id int PRIMARY KEY)",
              "CREATE TABLE \"Filho's\" (id int, pai int CONSTRAINT \"fk]pai\" REFERENCES \"Pai x\"(id))",
              "INSERT INTO \"Pai x\" VALUES (1)",
              "INSERT INTO \"Filho's\" VALUES (10, 1)",
              "CREATE VIEW vpai AS SELECT id FROM \"Pai x\""})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        // The view depends on the table: the drop fails and the foreign key is back.
        prompt.mensagens.clear();
        QVERIFY(!acoes::ExcluirTabela(amb, cs, "public", "Pai x"));
        QCOMPARE(prompt.mensagens.size(), 1);
        QCOMPARE(Linhas(db, "SELECT conname FROM pg_constraint WHERE conrelid = '\"Filho''s\"'::regclass"),
                 QStringList({"fk]pai"}));
        QVERIFY(db.ExecSql("DROP VIEW vpai", false));
        QVERIFY2(acoes::ExcluirTabela(amb, cs, "public", "Pai x"), qPrintable(prompt.textos().join('\n')));
        QCOMPARE(Linhas(db, "SELECT count(*) FROM pg_class WHERE relname = 'Pai x'"), QStringList({"0"}));
        QCOMPARE(Linhas(db, "SELECT pai FROM \"Filho's\""), QStringList({"1"}));
        QCOMPARE(Linhas(db, "SELECT count(*) FROM pg_constraint WHERE conrelid = '\"Filho''s\"'::regclass"),
                 QStringList({"0"}));
        QVERIFY(db.ExecSql("CREATE INDEX \"ix 'f'\" ON \"Filho's\" (pai)", false));
        QVERIFY(acoes::ExcluirIndice(amb, cs, "Filho's", "ix 'f'"));
        QCOMPARE(Linhas(db, "SELECT count(*) FROM pg_indexes WHERE indexname = 'ix ''f'''"), QStringList({"0"}));
    }
};

QUARRIX_TESTE(tst_mdlAcoesObjetos);
#include "tst_mdlAcoesObjetos.moc"
