// The script generator and the documenter on real SQLite files and a real PostgreSQL: the exact
// templates, names that need quoting, identity, keys and indexes, views, triggers and routines, the
// whole-database script and the documenter's file.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "platform/clsMotor.h"
#include "schema/mdlDocumentador.h"
#include "schema/mdlScript.h"
#include "support/clsPromptRoteiro.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace script;

namespace {
const QString CRLF = QStringLiteral("\r\n");

QString SqlServer() { return MontarConnStrSql(QStringLiteral("srv"), QStringLiteral("Vendas"), "sa", "x", false); }
} // namespace

class tst_mdlScript : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;
    clsPromptRoteiro prompt;
    clsAmbienteDados amb{prompt};

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

    void TabelaSqlite()
    {
        const QString cs = Sqlite("tab.db",
                                  {"CREATE TABLE \"Itens Pedido\" (Pedido INTEGER NOT NULL, Linha INTEGER NOT NULL, "
                                   "Qtde INTEGER DEFAULT 1, \"Preço_Unit\" NUMERIC(10,2), PRIMARY KEY (Pedido, Linha))",
                                   "CREATE INDEX \"ix qtde\" ON \"Itens Pedido\" (Qtde, \"Preço_Unit\" DESC)",
                                   "CREATE TABLE Simples (Nome VARCHAR(20))",
                                   "CREATE TABLE Unica (Codigo TEXT UNIQUE)"});
        QVERIFY(!cs.isEmpty());
        const QString criar = ScriptTabela(amb, cs, "Itens Pedido", Create);
        const QString esperado
            = "CREATE TABLE \"Itens Pedido\" (" + CRLF + "   Pedido Int NOT NULL," + CRLF + "   Linha Int NOT NULL,"
              + CRLF + "   Qtde Int NULL," + CRLF + "   \"Preço_Unit\" Decimal(10, 2) NULL, " + CRLF
              + "   CONSTRAINT \"PK_ItensPedido\" PRIMARY KEY (" + CRLF + "      Pedido," + CRLF + "      Linha" + CRLF
              + "      )" + CRLF + "   )" + CRLF + CRLF + "GO " + CRLF + "CREATE INDEX \"ix qtde\" ON \"Itens Pedido\""
              + CRLF + "      (" + CRLF + "      Qtde," + CRLF + "      \"Preço_Unit\" Desc" + CRLF + "      )" + CRLF;
        QCOMPARE(criar, esperado);
        // No key and no index: nothing after the closing line.
        QCOMPARE(ScriptTabela(amb, cs, "Simples", Create),
                 "CREATE TABLE Simples (" + CRLF + "   Nome VarChar(20) NULL" + CRLF + "   )" + CRLF);
        QCOMPARE(ScriptTabela(amb, cs, "Simples", Select), "SELECT " + CRLF + "   Nome" + CRLF + "FROM Simples" + CRLF);
        QCOMPARE(ScriptTabela(amb, cs, "Simples", Insert),
                 "INSERT INTO Simples (" + CRLF + "   Nome" + CRLF + "   )" + CRLF + "VALUES (" + CRLF
                     + "   <Nome, VarChar(20)>" + CRLF + "   )" + CRLF);
        QCOMPARE(ScriptTabela(amb, cs, "Simples", Update),
                 "UPDATE Simples SET " + CRLF + "   Nome = <Nome, VarChar(20)>" + CRLF + "   " + CRLF);
        // The index SQLite makes for a UNIQUE constraint keeps its uniqueness under a name that can be
        // created.
        QVERIFY2(ScriptTabela(amb, cs, "Unica", Create).contains("CREATE UNIQUE INDEX \"ux_Unica_1\" ON Unica"),
                 qPrintable(ScriptTabela(amb, cs, "Unica", Create)));
        QString indice = "ix qtde";
        QVERIFY(
            ScriptIndices(amb, "Itens Pedido", nullptr, indice, cs).startsWith(CRLF + "GO " + CRLF + "CREATE INDEX"));
        QCOMPARE(indice, QString("ix qtde"));
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
                 "CREATE VIEW \"v t\" As " + CRLF + "SELECT a FROM t WHERE b = 'as is'");
        QCOMPARE(ScriptView(amb, cs, "v t", Alter),
                 "DROP VIEW IF EXISTS \"v t\";" + CRLF + "CREATE VIEW \"v t\" As " + CRLF
                     + "SELECT a FROM t WHERE b = 'as is'");
        const QString trigger = "CREATE TRIGGER tr AFTER INSERT ON t BEGIN INSERT INTO log VALUES (new.b); END";
        QCOMPARE(ScriptTrigger(amb, cs, "tr", Create), trigger);
        QCOMPARE(ScriptTrigger(amb, cs, "tr", Alter), "DROP TRIGGER IF EXISTS tr;" + CRLF + trigger);
        // SQLite keeps no procedures.
        QCOMPARE(ScriptProcedure(amb, cs, "tr", Create), QString());

        // A file database: tables and views only, no CREATE DATABASE.
        const QString tudo = ScriptBancoDados(amb, cs, "obj", 11);
        QVERIFY(!tudo.contains("CREATE DATABASE"));
        QVERIFY(tudo.contains("-- CRIAR A TABELA t " + CRLF));
        QVERIFY(tudo.contains("-- CRIAR A TABELA log " + CRLF));
        QVERIFY(tudo.contains("-- CRIAR A CONSULTA v t " + CRLF + QString(60, '-') + CRLF + "CREATE VIEW"));
        QVERIFY(!tudo.contains("TRIGGER"));
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('\n')));
    }

    // Aborting the progress window ends the script where it is.
    void InterromperBancoDados()
    {
        class Interrompe : public clsPromptRoteiro {
        public:
            bool ProgressoMove() override { return false; }
        } interrompe;
        clsAmbienteDados ambiente(interrompe);
        const QString cs = Sqlite("parar.db", {"CREATE TABLE a (x INTEGER)", "CREATE TABLE b (x INTEGER)"});
        const QString tudo = ScriptBancoDados(ambiente, cs, "parar", 11);
        QCOMPARE(tudo.count("CREATE TABLE"), 1);
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
        QVERIFY2(criar.contains("   CONSTRAINT \"PK_CliPg\" PRIMARY KEY (" + CRLF + "      id," + CRLF + "      uf"),
                 qPrintable(criar));
        QVERIFY2(criar.contains("CREATE INDEX \"ix nome\" ON \"Cli Pg\"" + CRLF + "      (" + CRLF + "      nome,"
                                + CRLF + "      uf Desc"),
                 qPrintable(criar));
        // The script runs: dropped and created again from its own text, the table comes back.
        QVERIFY(db.ExecSql("DROP TABLE \"Cli Pg\" CASCADE", false));
        for (const QString& parte : criar.split(CRLF + "GO " + CRLF))
            QVERIFY2(db.ExecSql(parte, false), qPrintable(db.ErrMsg()));

        QVERIFY(db.ExecSql("CREATE OR REPLACE VIEW \"Vista Cli\" AS SELECT id, nome FROM \"Cli Pg\"", false));
        const QString vista = ScriptView(amb, cs, "Vista Cli", Alter);
        QVERIFY2(vista.startsWith("CREATE OR REPLACE VIEW \"Vista Cli\" As " + CRLF + " SELECT"), qPrintable(vista));
        QVERIFY2(db.ExecSql(vista, false), qPrintable(db.ErrMsg()));

        const QString funcao = ScriptFunction(amb, cs, "pg_soma", Alter);
        QVERIFY2(funcao.startsWith("CREATE OR REPLACE FUNCTION public.pg_soma"), qPrintable(funcao));
        QVERIFY2(db.ExecSql(funcao, false), qPrintable(db.ErrMsg()));
        QVERIFY(
            db.ExecSql("CREATE TRIGGER \"tr cli\" AFTER INSERT ON \"Cli Pg\" FOR EACH ROW EXECUTE FUNCTION pg_reg()",
                       false));
        const QString trigger = ScriptTrigger(amb, cs, "tr cli", Alter);
        QVERIFY2(trigger.startsWith("CREATE OR REPLACE TRIGGER \"tr cli\""), qPrintable(trigger));
        QVERIFY2(db.ExecSql(trigger, false), qPrintable(db.ErrMsg()));

        const QString tudo = ScriptBancoDados(amb, cs, "quarrix_script", 11);
        QVERIFY(tudo.contains("-- CRIAR A TABELA Cli Pg "));
        QVERIFY(tudo.contains("-- CRIAR A CONSULTA Vista Cli "));
        QVERIFY(tudo.contains("-- CRIAR A FUNCTION pg_soma "));
        QVERIFY(tudo.contains("-- CRIAR A TRIGGER tr cli "));
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('\n')));
    }

    // The documenter's file, line by line, for a fixed clock and caption.
    void Documentador()
    {
        const QString cs = Sqlite("doc.db",
                                  {"CREATE TABLE Cliente (Id INTEGER PRIMARY KEY, Nome VARCHAR(30) NOT NULL, Obs TEXT)",
                                   "CREATE TABLE Outra (x INTEGER)"});
        amb.pastaTemporaria = pasta.filePath("trabalho");
        const QDateTime agora(QDate(2026, 12, 10), QTime(9, 5, 7));
        const QString arquivo
            = documentador::Documentar(amb, cs, documentador::Alcance::Tabela, "Cliente", "Quarrix v1", agora);
        QCOMPARE(arquivo, pasta.filePath("trabalho/Estrutura - 10-12-2026 090507.txt"));
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
            " ",
            " ",
            " ",
            ""};
        QCOMPARE(linhas, esperadas);
        for (const QString& l : linhas.mid(0, 9))
            QCOMPARE(l.size(), 84);
        // Every table of the database, with the progress window.
        const QString todas
            = documentador::Documentar(amb, cs, documentador::Alcance::TodasTabelas, {}, "Quarrix v1", agora);
        QFile t(todas);
        QVERIFY(t.open(QIODevice::ReadOnly));
        const QString texto = QString::fromUtf8(t.readAll());
        QVERIFY(texto.contains("*** Cliente ***") && texto.contains("*** Outra ***"));
    }
};

QUARRIX_TESTE(tst_mdlScript);
#include "tst_mdlScript.moc"
