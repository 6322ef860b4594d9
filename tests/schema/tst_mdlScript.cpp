// The script generator and the documenter on real SQLite files and a real PostgreSQL: the exact
// templates, names that need quoting, identity, keys and indexes, views, triggers and routines, the
// whole-database script and the documenter's file.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "platform/clsMotor.h"
#include "platform/clsProgresso.h"
#include "schema/mdlDocumentador.h"
#include "schema/mdlScript.h"
#include "support/clsPromptRoteiro.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace script;

namespace {
const QString CRLF = QStringLiteral("\r\n");

QString SqlServer() { return MontarConnStrSql(QStringLiteral("srv"), QStringLiteral("Vendas"), "sa", "x", false); }

// Runs `script` with the engine's own client (`programa` and its arguments), stopping at the first
// error; the client's complaint when it fails, else empty.
QString RodarCliente(const QString& programa,
                     const QStringList& argumentos,
                     const QString& script,
                     const QProcessEnvironment& ambiente = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(ambiente);
    p.start(programa, argumentos);
    if (!p.waitForStarted())
        return programa + " did not start";
    p.write(script.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(60000);
    const QString erro = QString::fromUtf8(p.readAllStandardError());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !erro.isEmpty())
        return erro.isEmpty() ? programa + " failed" : erro;
    return {};
}

// A PostgreSQL connection string's parts as psql takes them.
struct ClientePg {
    QStringList argumentos;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
};
ClientePg ParaPsql(const QString& cs)
{
    auto parte = [&](const char* chave) {
        const QRegularExpression re(QString::fromLatin1(chave) + "=([^;]*)", QRegularExpression::CaseInsensitiveOption);
        return re.match(cs).captured(1);
    };
    ClientePg c;
    c.argumentos = {"-X",
                    "-q",
                    "-v",
                    "ON_ERROR_STOP=1",
                    "-h",
                    parte("Server"),
                    "-p",
                    parte("Port"),
                    "-U",
                    parte("Uid"),
                    "-d",
                    parte("Database")};
    c.ambiente.insert("PGPASSWORD", parte("Pwd"));
    c.ambiente.insert("PGOPTIONS", "-c client_min_messages=warning");
    return c;
}

// What a PostgreSQL database holds outside the system schemas, one line per column, key, index,
// view, routine, trigger and sequence state; equal for two databases with the same structure.
QStringList CatalogoPg(clsData& db)
{
    const char* consultas[] = {
        "SELECT n.nspname || '.' || c.relname || '.' || a.attname || ' ' || format_type(a.atttypid, a.atttypmod) "
        "|| ' ' || a.attnotnull || ' ' || coalesce(pg_get_expr(d.adbin, d.adrelid), '') || ' ' || a.attidentity::text "
        "|| ' ' || a.attgenerated::text FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid JOIN pg_namespace n "
        "ON "
        "n.oid = c.relnamespace LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum WHERE "
        "c.relkind IN ('r', 'v', 'm') AND a.attnum > 0 AND NOT a.attisdropped AND n.nspname NOT IN "
        "('pg_catalog', 'information_schema') AND n.nspname !~ '^pg_'",
        "SELECT conrelid::regclass::text || ' ' || conname || ' ' || pg_get_constraintdef(oid) FROM pg_constraint "
        "WHERE connamespace NOT IN (SELECT oid FROM pg_namespace WHERE nspname IN ('pg_catalog', "
        "'information_schema')) AND contype <> 'n'",
        "SELECT pg_get_indexdef(indexrelid) FROM pg_index i JOIN pg_class c ON c.oid = i.indrelid JOIN pg_namespace "
        "n ON n.oid = c.relnamespace WHERE n.nspname NOT IN ('pg_catalog', 'information_schema', 'pg_toast')",
        "SELECT c.oid::regclass::text || ' ' || pg_get_viewdef(c.oid, true) FROM pg_class c JOIN pg_namespace n ON "
        "n.oid = c.relnamespace WHERE c.relkind IN ('v', 'm') AND n.nspname NOT IN ('pg_catalog', "
        "'information_schema')",
        "SELECT pg_get_functiondef(p.oid) FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace WHERE "
        "n.nspname NOT IN ('pg_catalog', 'information_schema')",
        "SELECT pg_get_triggerdef(oid) FROM pg_trigger WHERE NOT tgisinternal",
        "SELECT schemaname || '.' || sequencename || ' ' || start_value || ' ' || increment_by || ' ' || "
        "coalesce(last_value, 0) FROM pg_sequences",
    };
    QStringList linhas;
    for (const char* sql : consultas) {
        RecordsetPtr rs;
        if (!db.OpenRecordset(rs, QString::fromLatin1(sql), false, false, true) || !rs)
            return {"catalog not read"};
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            linhas << rs->Valor(0).toString();
    }
    linhas.sort();
    return linhas;
}
} // namespace

class tst_mdlScript : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;
    clsPromptRoteiro prompt;
    clsAmbienteDados amb{prompt};

    // What sqlite3 says a file holds: every schema entry with its statement, and the AUTOINCREMENT
    // counters.
    static QString CatalogoSqlite(const QString& arquivo)
    {
        QProcess p;
        p.start("sqlite3",
                {"-batch",
                 arquivo,
                 "SELECT type || '|' || name || '|' || tbl_name || '|' || coalesce(sql, '') FROM sqlite_schema "
                 "UNION ALL SELECT 'seq|' || name || '|' || seq FROM sqlite_sequence ORDER BY 1"});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QString Sqlite(const QString& nome, const QStringList& sql)
    {
        ErroDados e;
        const QString arquivo = pasta.filePath(nome);
        if (!CriarBancoArquivo(arquivo, e))
            return {};
        const QString cs = MontarConnStrAccess(arquivo, "Admin", "");
        clsData db(amb);
        if (!db.OpenConnection(cs, true, false))
            return {};
        for (const QString& s : sql)
            if (!db.ExecSql(s, false)) {
                qWarning() << db.ErrMsg();
                return {};
            }
        return cs;
    }

private slots:
    // DROP and DELETE need no database: only the name rule and the engine's quoting.
    void NomesSemBanco_data()
    {
        QTest::addColumn<bool>("servidor");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("bare") << true << "Pedidos"
                              << "DROP TABLE Pedidos";
        QTest::newRow("blank") << true << "Order Details"
                               << "DROP TABLE [Order Details]";
        QTest::newRow("underscore") << true << "Data_Venda"
                                    << "DROP TABLE [Data_Venda]";
        QTest::newRow("bracket") << true << "a]b"
                                 << "DROP TABLE [a]]b]";
        QTest::newRow("apostrophe") << true << "O'Neil"
                                    << "DROP TABLE [O'Neil]";
        QTest::newRow("sqlite blank") << false << "Order Details"
                                      << "DROP TABLE \"Order Details\"";
        QTest::newRow("sqlite quote") << false << "a\"b"
                                      << "DROP TABLE \"a\"\"b\"";
    }
    void NomesSemBanco()
    {
        QFETCH(bool, servidor);
        QFETCH(QString, nome);
        QFETCH(QString, esperado);
        const QString chave = servidor ? SqlServer() : MontarConnStrAccess(pasta.filePath("nada.db"), "Admin", "");
        QCOMPARE(ScriptTabela(amb, chave, nome, Drop), esperado);
        QCOMPARE(ScriptTabela(amb, chave, nome, Delete), QString(esperado).replace("DROP TABLE", "DELETE FROM"));
        QCOMPARE(ScriptView(amb, chave, nome, Drop), QString(esperado).replace("TABLE", "VIEW"));
        QCOMPARE(ScriptProcedure(amb, chave, nome, Drop), QString(esperado).replace("TABLE", "PROCEDURE"));
        QCOMPARE(ScriptTabela(amb, chave, nome, 9), QString());
        QVERIFY(prompt.mensagens.isEmpty());
    }

    // The column templates of SELECT, INSERT and UPDATE; the index of the index menu as SQLite keeps it.
    void TabelaSqlite()
    {
        const QString cs = Sqlite("tab.db",
                                  {"CREATE TABLE \"Itens Pedido\" (Pedido INTEGER NOT NULL, Qtde INTEGER DEFAULT 1)",
                                   "CREATE INDEX \"ix qtde\" ON \"Itens Pedido\" (Qtde DESC) WHERE Qtde > 0",
                                   "CREATE TABLE Simples (Nome VARCHAR(20))"});
        QVERIFY(!cs.isEmpty());
        QCOMPARE(ScriptTabela(amb, cs, "Simples", Select), "SELECT " + CRLF + "   Nome" + CRLF + "FROM Simples" + CRLF);
        QCOMPARE(ScriptTabela(amb, cs, "Simples", Insert),
                 "INSERT INTO Simples (" + CRLF + "   Nome" + CRLF + "   )" + CRLF + "VALUES (" + CRLF
                     + "   <Nome, VarChar(20)>" + CRLF + "   )" + CRLF);
        QCOMPARE(ScriptTabela(amb, cs, "Simples", Update),
                 "UPDATE Simples SET " + CRLF + "   Nome = <Nome, VarChar(20)>" + CRLF + "   " + CRLF);
        QCOMPARE(ScriptTabela(amb, cs, "Simples", Create), "CREATE TABLE Simples (Nome VARCHAR(20));" + CRLF);
        QString indice = "ix qtde";
        QCOMPARE(ScriptIndices(amb, "Itens Pedido", nullptr, indice, cs),
                 "CREATE INDEX \"ix qtde\" ON \"Itens Pedido\" (Qtde DESC) WHERE Qtde > 0;" + CRLF);
        QCOMPARE(indice, QString("ix qtde"));
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('\n')));
    }

    // A SQLite file scripted whole and run with sqlite3 into an empty file is the same file: every
    // table as it was declared (types, AUTOINCREMENT, defaults, checks, references, named unique
    // keys), its indexes (expression, partial) and triggers, views and their triggers. Each object's
    // own script runs in sqlite3 too.
    void IdaEVoltaSqlite()
    {
        const QString cs = Sqlite(
            "origem.db",
            {"CREATE TABLE cliente (id INTEGER PRIMARY KEY AUTOINCREMENT, email TEXT NOT NULL, nome VARCHAR(40) "
             "DEFAULT 'x', saldo NUMERIC(10,2) CHECK (saldo >= 0), foto BLOB, CONSTRAINT uq_email UNIQUE (email))",
             "CREATE TABLE \"Itens Pedido\" (pedido INTEGER NOT NULL REFERENCES cliente(id), linha INTEGER NOT NULL, "
             "qtde INTEGER DEFAULT 1, PRIMARY KEY (pedido, linha))",
             "CREATE INDEX \"ix qtde\" ON \"Itens Pedido\" (qtde, linha DESC) WHERE qtde > 0",
             "CREATE INDEX ix_lower ON cliente (lower(nome))",
             "CREATE TABLE log (x TEXT)",
             "CREATE TRIGGER tr AFTER INSERT ON cliente BEGIN INSERT INTO log VALUES (new.nome); END",
             "CREATE VIEW \"v cli\" AS SELECT id, nome FROM cliente WHERE nome <> 'as is'",
             "CREATE TRIGGER tv INSTEAD OF INSERT ON \"v cli\" BEGIN INSERT INTO cliente (email, nome) VALUES ('?', "
             "new.nome); END",
             "INSERT INTO cliente (email) VALUES ('a@b')",
             "INSERT INTO cliente (id, email) VALUES (41, 'c@d')",
             "DELETE FROM cliente WHERE id = 41"});
        QVERIFY(!cs.isEmpty());
        const auto catalogo = &CatalogoSqlite;
        const QString tudo = ScriptBancoDados(amb, cs, "origem");
        QVERIFY(!tudo.contains("GO"));
        const QString copia = pasta.filePath("copia.db");
        const QString erro = RodarCliente("sqlite3", {"-bail", copia}, tudo);
        QVERIFY2(erro.isEmpty(), qPrintable(erro + "\n" + tudo));
        QCOMPARE(catalogo(copia), catalogo(pasta.filePath("origem.db")));
        QVERIFY(catalogo(copia).contains("CREATE TRIGGER tv INSTEAD OF"));

        for (const char* tabela : {"cliente", "Itens Pedido", "log"}) {
            const QString vazio = pasta.filePath(QString("vazio %1.db").arg(tabela));
            const QString texto = ScriptTabela(amb, cs, tabela, Create);
            QVERIFY2(RodarCliente("sqlite3", {"-bail", vazio}, texto).isEmpty(), qPrintable(texto));
        }
        // Changing a view or a trigger: its script replaces it in place.
        for (const QString& texto : {ScriptView(amb, cs, "v cli", Alter), ScriptTrigger(amb, cs, "tr", Alter)})
            QVERIFY2(RodarCliente("sqlite3", {"-bail", copia}, texto).isEmpty(), qPrintable(texto));
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('\n')));
    }

    void ViewsETriggersSqlite()
    {
        const QString cs = Sqlite("obj.db",
                                  {"CREATE TABLE t (a INTEGER, b TEXT)",
                                   "CREATE TABLE log (x TEXT)",
                                   "CREATE VIEW \"v t\" AS SELECT a FROM t WHERE b = 'as is'",
                                   "CREATE TRIGGER tr AFTER INSERT ON t BEGIN INSERT INTO log VALUES (new.b); END"});
        QVERIFY(!cs.isEmpty());
        QCOMPARE(ScriptView(amb, cs, "v t", Create),
                 "CREATE VIEW \"v t\" AS SELECT a FROM t WHERE b = 'as is';" + CRLF);
        QCOMPARE(ScriptView(amb, cs, "v t", Alter),
                 "DROP VIEW IF EXISTS \"v t\";" + CRLF + "CREATE VIEW \"v t\" AS SELECT a FROM t WHERE b = 'as is';"
                     + CRLF);
        const QString trigger = "CREATE TRIGGER tr AFTER INSERT ON t BEGIN INSERT INTO log VALUES (new.b); END;" + CRLF;
        QCOMPARE(ScriptTrigger(amb, cs, "tr", Create), trigger);
        QCOMPARE(ScriptTrigger(amb, cs, "tr", Alter), "DROP TRIGGER IF EXISTS tr;" + CRLF + trigger);
        // SQLite keeps no procedures.
        QCOMPARE(ScriptProcedure(amb, cs, "tr", Create), QString());

        // A file database: tables and views only, no CREATE DATABASE.
        const QString tudo = ScriptBancoDados(amb, cs, "obj");
        QVERIFY(!tudo.contains("CREATE DATABASE"));
        QVERIFY(tudo.contains("-- CRIAR A TABELA t " + CRLF));
        QVERIFY(tudo.contains("-- CRIAR A TABELA log " + CRLF));
        QVERIFY(tudo.contains("-- CRIAR A CONSULTA v t " + CRLF + QString(60, '-') + CRLF + "CREATE VIEW"));
        // The trigger comes with its table.
        QVERIFY(tudo.contains("CREATE TABLE t (a INTEGER, b TEXT);" + CRLF + trigger));
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('\n')));
    }

    // A stop asked ends the script after the object in hand; a source that does not open gives its
    // reason instead of a message box.
    void InterromperBancoDados()
    {
        const QString cs = Sqlite("parar.db", {"CREATE TABLE a (x INTEGER)", "CREATE TABLE b (x INTEGER)"});
        clsProgresso progresso;
        progresso.Parar();
        const QString tudo = ScriptBancoDados(amb, cs, "parar", &progresso);
        QCOMPARE(tudo.count("CREATE TABLE"), 1);
        QCOMPARE(progresso.Ler().titulo, QStringLiteral("Tables Scripts"));
        QString erro;
        const auto mensagens = prompt.mensagens.size();
        const QString ausente = MontarConnStrAccess(pasta.filePath("nao/existe.db"), "Admin", "");
        QVERIFY(ScriptBancoDados(amb, ausente, "x", nullptr, &erro).isEmpty());
        QVERIFY(!erro.isEmpty());
        QCOMPARE(prompt.mensagens.size(), mensagens);
    }

    void Postgres()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_script"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        clsData db(amb);
        QVERIFY2(db.OpenConnection(cs, true, false), qPrintable(db.ErrMsg()));
        for (const char* sql :
             {"DROP VIEW IF EXISTS \"Vista Cli\"",
              "DROP TABLE IF EXISTS \"Cli Pg\", pglog CASCADE",
              "DROP FUNCTION IF EXISTS pg_soma(int, int)",
              "DROP FUNCTION IF EXISTS pg_reg() CASCADE",
              "CREATE TABLE \"Cli Pg\" (id int GENERATED BY DEFAULT AS IDENTITY (START WITH 5 INCREMENT BY 2), "
              "uf char(2) NOT NULL DEFAULT 'SP', nome varchar(40), PRIMARY KEY (id, uf))",
              "CREATE INDEX \"ix nome\" ON \"Cli Pg\" (nome, uf DESC)",
              "CREATE VIEW \"Vista Cli\" AS SELECT id, nome FROM \"Cli Pg\"",
              "CREATE TABLE pglog (x text)",
              "CREATE FUNCTION pg_soma(a int, b int) RETURNS int LANGUAGE sql AS 'SELECT a + b'",
              "CREATE FUNCTION pg_reg() RETURNS trigger LANGUAGE plpgsql AS "
              "'BEGIN INSERT INTO pglog VALUES (NEW.nome); RETURN NEW; END'",
              "CREATE TRIGGER \"tr cli\" AFTER INSERT ON \"Cli Pg\" FOR EACH ROW EXECUTE FUNCTION pg_reg()"})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        const QString criar = ScriptTabela(amb, cs, "Cli Pg", Create);
        QVERIFY2(criar.startsWith(
                     "CREATE TABLE public.\"Cli Pg\" (" + CRLF
                     + "   id integer GENERATED BY DEFAULT AS IDENTITY (START WITH 5 INCREMENT BY 2) NOT NULL,"),
                 qPrintable(criar));
        QVERIFY2(criar.contains("   uf character(2) DEFAULT 'SP'::bpchar NOT NULL,"), qPrintable(criar));
        QVERIFY2(criar.contains("   CONSTRAINT \"Cli Pg_pkey\" PRIMARY KEY (id, uf)"), qPrintable(criar));
        QVERIFY2(criar.contains("CREATE INDEX \"ix nome\" ON public.\"Cli Pg\" USING btree (nome, uf DESC);"),
                 qPrintable(criar));
        QVERIFY2(criar.contains("CREATE TRIGGER \"tr cli\" AFTER INSERT ON \"Cli Pg\""), qPrintable(criar));
        QVERIFY(!criar.contains("GO"));
        // The script runs in psql: dropped and created again from its own text, the table comes back.
        QVERIFY(db.ExecSql("DROP TABLE \"Cli Pg\" CASCADE", false));
        const ClientePg psql = ParaPsql(cs);
        const QString erro = RodarCliente("psql", psql.argumentos, criar, psql.ambiente);
        QVERIFY2(erro.isEmpty(), qPrintable(erro + criar));
        QString indice = "ix nome";
        QCOMPARE(ScriptIndices(amb, "Cli Pg", nullptr, indice, cs),
                 "CREATE INDEX \"ix nome\" ON public.\"Cli Pg\" USING btree (nome, uf DESC);" + CRLF);

        QVERIFY(db.ExecSql("CREATE OR REPLACE VIEW \"Vista Cli\" AS SELECT id, nome FROM \"Cli Pg\"", false));
        const QString vista = ScriptView(amb, cs, "Vista Cli", Alter);
        QVERIFY2(vista.startsWith("CREATE OR REPLACE VIEW public.\"Vista Cli\" As " + CRLF + " SELECT"),
                 qPrintable(vista));
        QVERIFY2(db.ExecSql(vista, false), qPrintable(db.ErrMsg()));

        const QString funcao = ScriptFunction(amb, cs, "pg_soma", Alter);
        QVERIFY2(funcao.startsWith("CREATE OR REPLACE FUNCTION public.pg_soma"), qPrintable(funcao));
        QVERIFY2(db.ExecSql(funcao, false), qPrintable(db.ErrMsg()));
        const QString trigger = ScriptTrigger(amb, cs, "tr cli", Alter);
        QVERIFY2(trigger.startsWith("CREATE OR REPLACE TRIGGER \"tr cli\""), qPrintable(trigger));
        QVERIFY2(db.ExecSql(trigger, false), qPrintable(db.ErrMsg()));
        // A trigger is dropped from its table; its script brings it back.
        const QString apagar = ScriptTrigger(amb, cs, "tr cli", Drop, "Cli Pg");
        QCOMPARE(apagar, QStringLiteral("DROP TRIGGER \"tr cli\" ON \"Cli Pg\""));
        QVERIFY2(db.ExecSql(apagar, false), qPrintable(db.ErrMsg()));
        QCOMPARE(db.RetValue("SELECT count(*) FROM pg_trigger WHERE tgname = 'tr cli'").toInt(), 0);
        QVERIFY2(db.ExecSql(trigger, false), qPrintable(db.ErrMsg()));

        const QString tudo = ScriptBancoDados(amb, cs, "quarrix_script");
        QVERIFY(tudo.contains("-- CRIAR A TABELA Cli Pg "));
        QVERIFY(tudo.contains("-- CRIAR A CONSULTA Vista Cli "));
        QVERIFY(tudo.contains("-- CRIAR A FUNCTION pg_soma "));
        QVERIFY(tudo.contains("-- CRIAR A TRIGGER tr cli "));
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('\n')));
    }

    // A PostgreSQL database scripted whole and run with psql into an empty database is the same
    // database: schemas, native types, serial and identity columns with their sequences' values,
    // defaults, generated columns, collations, named keys, checks and foreign keys (of a table listed
    // before the one it references), indexes with expressions, filters and included columns, views,
    // trigger functions and triggers.
    void IdaEVoltaPostgres()
    {
        const QString base = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (base.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        const ClientePg servidor = ParaPsql(base);
        QString erro = RodarCliente("psql",
                                    servidor.argumentos,
                                    "DROP DATABASE IF EXISTS quarrix_ida;\nCREATE DATABASE quarrix_ida;\n"
                                    "DROP DATABASE IF EXISTS quarrix_volta;\nCREATE DATABASE quarrix_volta;\n",
                                    servidor.ambiente);
        QVERIFY2(erro.isEmpty(), qPrintable(erro));
        const QString ida = QString(base).replace("Database=quarrix_teste", "Database=quarrix_ida");
        const QString volta = QString(base).replace("Database=quarrix_teste", "Database=quarrix_volta");
        const ClientePg psqlIda = ParaPsql(ida), psqlVolta = ParaPsql(volta);
        erro = RodarCliente(
            "psql",
            psqlIda.argumentos,
            "CREATE SCHEMA vendas;\n"
            "CREATE TABLE public.a_item (pedido bigint NOT NULL, linha smallint NOT NULL, CONSTRAINT pk_item PRIMARY "
            "KEY (pedido, linha));\n"
            "CREATE TABLE vendas.cliente (id serial PRIMARY KEY, email text NOT NULL CONSTRAINT uq_email UNIQUE, "
            "criado timestamptz NOT NULL DEFAULT now(), ativo boolean DEFAULT true, dados jsonb, saldo numeric(10,2) "
            "CHECK (saldo >= 0), nome varchar(40) COLLATE \"C\");\n"
            "CREATE TABLE vendas.pedido (num bigint GENERATED ALWAYS AS IDENTITY (START WITH 100 INCREMENT BY 5) "
            "PRIMARY KEY, cliente_id int REFERENCES vendas.cliente(id) ON DELETE CASCADE, total numeric(12,2), "
            "dobro numeric GENERATED ALWAYS AS (total * 2) STORED);\n"
            "ALTER TABLE public.a_item ADD CONSTRAINT fk_item_pedido FOREIGN KEY (pedido) REFERENCES "
            "vendas.pedido(num);\n"
            "CREATE INDEX ix_cli_nome ON vendas.cliente (lower(nome)) INCLUDE (email) WHERE ativo;\n"
            "CREATE UNIQUE INDEX ux_ped ON vendas.pedido (cliente_id, total DESC NULLS LAST);\n"
            "CREATE FUNCTION vendas.registra() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN NEW.total := "
            "coalesce(NEW.total, 0); RETURN NEW; END$$;\n"
            "CREATE TRIGGER tr_pedido BEFORE INSERT ON vendas.pedido FOR EACH ROW EXECUTE FUNCTION "
            "vendas.registra();\n"
            "CREATE VIEW vendas.resumo AS SELECT c.email, count(p.num) AS n FROM vendas.cliente c LEFT JOIN "
            "vendas.pedido p ON p.cliente_id = c.id GROUP BY c.email;\n"
            "CREATE VIEW vendas.a_ativos AS SELECT email FROM vendas.resumo WHERE n > 0;\n"
            "CREATE FUNCTION public.registra() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN RETURN NEW; END$$;\n"
            "CREATE TRIGGER tr_pedido AFTER UPDATE ON vendas.cliente FOR EACH ROW EXECUTE FUNCTION "
            "public.registra();\n"
            "CREATE SEQUENCE vendas.\"números\" AS integer START WITH 500 INCREMENT BY 10 CACHE 2;\n"
            "SELECT nextval('vendas.\"números\"');\n"
            "CREATE TABLE vendas.nota (n int DEFAULT nextval('vendas.\"números\"'));\n"
            "INSERT INTO vendas.cliente (email) VALUES ('a'), ('b');\n"
            "INSERT INTO vendas.pedido (cliente_id) VALUES (1);\n",
            psqlIda.ambiente);
        QVERIFY2(erro.isEmpty(), qPrintable(erro));

        const QString tudo = ScriptBancoDados(amb, ida, "quarrix_ida");
        QVERIFY(!tudo.contains("GO"));
        erro = RodarCliente("psql", psqlVolta.argumentos, tudo, psqlVolta.ambiente);
        QVERIFY2(erro.isEmpty(), qPrintable(erro + "\n" + tudo));
        clsData origem(amb), copia(amb);
        QVERIFY(origem.OpenConnection(ida, true, false) && copia.OpenConnection(volta, true, false));
        const QStringList antes = CatalogoPg(origem);
        QVERIFY2(antes.size() > 20, qPrintable(antes.join('\n')));
        QCOMPARE(CatalogoPg(copia), antes);
        // Each table's own script runs into an empty database once what it references is there.
        for (const char* tabela : {"cliente", "pedido"}) {
            const QString texto = ScriptTabela(amb, ida, ObjetoBanco("vendas", tabela), Drop) + " CASCADE;\n"
                                  + ScriptTabela(amb, ida, ObjetoBanco("vendas", tabela), Create);
            erro = RodarCliente("psql", psqlVolta.argumentos, texto, psqlVolta.ambiente);
            QVERIFY2(erro.isEmpty(), qPrintable(erro + "\n" + texto));
        }
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('\n')));
    }

    // The bundled sample database scripted whole and run with sqlite3 into an empty file.
    void IdaEVoltaExemplo()
    {
        QFile fonte(QStringLiteral(QUARRIX_SAMPLES_DIR "/Exemplo.sql"));
        QVERIFY(fonte.open(QIODevice::ReadOnly));
        const QString exemplo = pasta.filePath("exemplo.db");
        QVERIFY(RodarCliente("sqlite3", {"-bail", exemplo}, QString::fromUtf8(fonte.readAll())).isEmpty());
        const QString tudo = ScriptBancoDados(amb, MontarConnStrAccess(exemplo, "Admin", ""), "exemplo");
        const QString copia = pasta.filePath("exemplo copia.db");
        const QString erro = RodarCliente("sqlite3", {"-bail", copia}, tudo);
        QVERIFY2(erro.isEmpty(), qPrintable(erro + "\n" + tudo));
        QCOMPARE(CatalogoSqlite(copia), CatalogoSqlite(exemplo));
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('\n')));
    }

    // The documenter's file, line by line, for a fixed clock and caption: named after its table, in
    // the documents folder.
    void Documentador()
    {
        const QString cs = Sqlite("doc.db",
                                  {"CREATE TABLE Cliente (Id INTEGER PRIMARY KEY, Nome VARCHAR(30) NOT NULL, "
                                   "Obs TEXT DEFAULT 'nada')",
                                   "CREATE UNIQUE INDEX ux_nome ON Cliente (Nome DESC, Obs)",
                                   "CREATE TABLE Outra (x INTEGER)"});
        amb.pastaTemporaria = pasta.filePath("trabalho");
        amb.pastaDocumentos = pasta.filePath("documentos");
        const QDateTime agora(QDate(2026, 12, 10), QTime(9, 5, 7));
        QString erro;
        const QString arquivo
            = documentador::Documentar(amb,
                                       cs,
                                       {documentador::Alcance::Tabela, ObjetoBanco("Cliente"), "Quarrix v1", agora},
                                       erro);
        QCOMPARE(arquivo, pasta.filePath("documentos/Estrutura - Cliente - 10-12-2026 090507.txt"));
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList linhas = QString::fromUtf8(f.readAll()).split('\n');
        const QStringList esperadas{
            // Centred with the odd blank rounded half to even: 29.5 gives 30 in front, 34.5 gives 34.
            QString(30, ' ') + "Visualizador de Estrutura" + QString(29, ' '),
            QString(34, ' ') + "*** Cliente ***" + QString(35, ' '),
            "Quarrix v1" + QString(55, ' ') + "10/12/2026 09:05:07",
            QString(84, '='),
            "Chave   Nome do Campo" + QString(37, ' ') + "   Tipo de Dado    Tamanho",
            QString(84, '-'),
            "  *   | Id" + QString(48, ' ') + " | Int           |    0   ",
            "      | Nome" + QString(46, ' ') + " | VarChar       |   30   ",
            "      | Obs" + QString(47, ' ') + " | nText         |    0   ",
            "",
            "Nulos e Valores Padrão",
            QString(84, '-'),
            "Id" + QString(48, ' ') + " | Não Nulo | ",
            "Nome" + QString(46, ' ') + " | Não Nulo | ",
            "Obs" + QString(47, ' ') + " | Nulo     | 'nada'",
            "",
            "Índices",
            QString(84, '-'),
            "PrimaryKey (Id) - chave primária",
            "ux_nome (Nome DESC, Obs) - único",
            " ",
            " ",
            " ",
            ""};
        QCOMPARE(linhas, esperadas);
        for (const QString& l : linhas.mid(0, 9))
            QCOMPARE(l.size(), 84);
        // Every table of the database, each one a step of the progress.
        clsProgresso progresso;
        const QString todas = documentador::Documentar(amb,
                                                       cs,
                                                       {documentador::Alcance::TodasTabelas, {}, "Quarrix v1", agora},
                                                       erro,
                                                       &progresso);
        QCOMPARE(progresso.Ler().feitos, 2);
        QFile t(todas);
        QVERIFY(t.open(QIODevice::ReadOnly));
        const QString texto = QString::fromUtf8(t.readAll());
        QVERIFY(texto.contains("*** Cliente ***") && texto.contains("*** Outra ***"));
        QCOMPARE(QFileInfo(todas).fileName(), QStringLiteral("Estrutura - Tabelas - 10-12-2026 090507.txt"));
    }
};

QUARRIX_TESTE(tst_mdlScript);
#include "tst_mdlScript.moc"
