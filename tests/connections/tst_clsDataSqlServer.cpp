// SQL Server: no engine can run here, so these tests check what is sent (the FreeTDS keywords of a
// connection string, the catalog statements) and how a server that does not answer is reported.
// Tests that stand a SQLite file in for the server say so in their names (_DubleSqlServer).
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "platform/clsMotor.h"
#include "platform/clsMotorOdbc.h"
#include "platform/mdlGlobais.h"
#include "support/clsPromptRoteiro.h"
#include "support/portaLocal.h"
#include "support/registroTestes.h"

#include <QTemporaryDir>
#include <QTest>

class tst_clsDataSqlServer : public QObject {
    Q_OBJECT
    clsPromptRoteiro promptPadrao;
    clsAmbienteDados amb{promptPadrao};

private slots:
    void TraducaoParaFreeTds_data()
    {
        QTest::addColumn<QString>("connStr");
        QTest::addColumn<QString>("odbc");
        const QString d = "Driver={FreeTDS};";
        QTest::newRow("servidor e senha")
            << MontarConnStrSql("SRV01", "Loja", "sa", "pw", false)
            << d + "Server=SRV01;Port=1433;Database=Loja;UID=sa;PWD=pw;TDS_Version=7.4;ClientCharset=UTF-8;";
        QTest::newRow("porta")
            << MontarConnStrSql("10.0.0.5,1444", "Loja", "sa", "", false)
            << d + "Server=10.0.0.5;Port=1444;Database=Loja;UID=sa;PWD=;TDS_Version=7.4;ClientCharset=UTF-8;";
        QTest::newRow("instancia")
            << MontarConnStrSql("SRV01\\SQLEXPRESS", "master", "u", "p", false)
            << d + "Server=SRV01\\SQLEXPRESS;Database=master;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8;";
        QTest::newRow("local")
            << MontarConnStrSql("(local)", "Loja", "sa", "p", false)
            << d + "Server=127.0.0.1;Port=1433;Database=Loja;UID=sa;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8;";
        QTest::newRow("ponto e instancia")
            << MontarConnStrSql(".\\SQLEXPRESS", "Loja", "sa", "p", false)
            << d + "Server=127.0.0.1\\SQLEXPRESS;Database=Loja;UID=sa;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8;";
        QTest::newRow("integrada")
            << MontarConnStrSql("SRV01", "Loja", "sa", "pw", true)
            << d + "Server=SRV01;Port=1433;Database=Loja;Trusted_Connection=Yes;TDS_Version=7.4;ClientCharset=UTF-8;";
        QTest::newRow("senha entre aspas") << "Provider=SQLNCLI11;Server=tcp:db.example,1500;Database=x;UID=a;"
                                              "PWD=\"p;w}\";Application Name=Quarrix"
                                           << d
                                                  + "Server=db.example;Port=1500;Database=x;UID=a;PWD={p;w}}};"
                                                    "APP=Quarrix;TDS_Version=7.4;ClientCharset=UTF-8;";
    }
    void TraducaoParaFreeTds()
    {
        QFETCH(QString, connStr);
        QFETCH(QString, odbc);
        QCOMPARE(clsMotorOdbc::TraduzirSqlServer(clsConnStr(connStr)), odbc);
    }

    void InstrucoesDoCatalogo()
    {
        QCOMPARE(clsData::SqlViews(true),
                 QStringLiteral("SELECT TABLE_NAME, TABLE_SCHEMA, [Type] As TABLE_TYPE FROM (SELECT TABLE_NAME, "
                                "TABLE_SCHEMA, Case When OBJECTPROPERTY ( OBJECT_ID(TABLE_NAME), 'IsMsShipped' ) = 1 "
                                "Then 'SYSTEM' Else 'USER' End As [Type] FROM INFORMATION_SCHEMA.VIEWS ) As Sub WHERE "
                                "[Type] = 'USER' ORDER BY TABLE_NAME"));
        QCOMPARE(clsData::SqlViews(false),
                 QStringLiteral("SELECT TABLE_NAME, TABLE_SCHEMA, [Type] As TABLE_TYPE FROM (SELECT TABLE_NAME, "
                                "TABLE_SCHEMA, Case When OBJECTPROPERTY ( OBJECT_ID(TABLE_NAME), 'IsMsShipped' ) = 1 "
                                "Then 'SYSTEM' Else 'USER' End As [Type] FROM INFORMATION_SCHEMA.VIEWS ) As Sub "
                                "ORDER BY TABLE_NAME"));
        QCOMPARE(clsData::SqlView("dbo.vwVendas"),
                 QStringLiteral("SELECT sysObjects.Name As VIEW_NAME, sysComments.Text As VIEW_DEFINITION FROM "
                                "sysObjects LEFT JOIN sysComments On sysComments.id = sysObjects.id WHERE "
                                "sysObjects.name = 'vwVendas'"));
        QCOMPARE(clsData::SqlFuncoes(),
                 QStringLiteral("SELECT sysObjects.Name as FUNCTION_NAME FROM sysObjects WHERE Type = 'FN' OR Type = "
                                "'TF' ORDER BY sysObjects.Name"));
        QCOMPARE(clsData::SqlProcedures(true),
                 QStringLiteral("SELECT Name As PROCEDURE_NAME, [Type] As PROCEDURE_TYPE, [Schema] As "
                                "PROCEDURE_SCHEMA FROM (SELECT sysObjects.Name, Case When OBJECTPROPERTY ( "
                                "sysObjects.Id, 'IsMsShipped' ) = 1 Then 'SYSTEM' Else 'USER' End As [Type], "
                                "sysUsers.Name as [Schema] FROM sysObjects LEFT JOIN sysUsers on (sysUsers.uId = "
                                "sysObjects.uId) WHERE Type = 'P' ) As Sub WHERE [Type] = 'USER' ORDER BY Name"));
        QVERIFY(clsData::SqlProcedures(false).endsWith("WHERE Type = 'P' ) As Sub ORDER BY Name"));
        QCOMPARE(clsData::SqlBancosDados(),
                 QStringLiteral("SELECT Name FROM master..sysDatabases WHERE Name <> 'master' ORDER BY Name"));
        QCOMPARE(clsData::SqlTriggers(""),
                 QStringLiteral("SELECT sysObjects.Name As TRIGGER_NAME FROM sysObjects WHERE sysObjects.Type = 'TR' "
                                "And sysObjects.parent_obj In (SELECT sysObjects.Id FROM sysObjects WHERE ( "
                                "sysObjects.Type = 'U' Or sysObjects.Type = 'S' ))"));
        QCOMPARE(
            clsData::SqlTriggers("Clientes"),
            QStringLiteral("SELECT sysObjects.Name As TRIGGER_NAME FROM sysObjects WHERE sysObjects.Type = 'TR' "
                           "And sysObjects.parent_obj In (SELECT sysObjects.Id FROM sysObjects WHERE "
                           "sysObjects.Name = 'Clientes' And ( sysObjects.Type = 'U' Or sysObjects.Type = 'S' ))"));
        QCOMPARE(clsData::SqlColumnIsIdentity("Clientes", "Id"),
                 QStringLiteral("SELECT Count(*) FROM sysColumns WHERE Name = 'Id' And Status & 128 = 128 And Id = "
                                "(SELECT Id FROM sysObjects WHERE Name = 'Clientes') "));
    }

    void PortaFechadaDaErroLimpo()
    {
        // A port nobody listens on: the open fails within the time-out and reports it.
        const quint16 porta = PortaLocal(false).numero;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        amb.Opcoes().TimeOut = 3;
        clsData db(amb);
        const QString cs = MontarConnStrSql("127.0.0.1," + QString::number(porta), "master", "sa", "x", false);
        QVERIFY(!db.OpenConnection(cs, true, true));
        QVERIFY(db.ErrMsg().startsWith("Err:"));
        QVERIFY(db.ErrMsg().endsWith("\nConnStr:" + QString(cs).replace("Password=x", "Password=***")));
        QVERIFY(db.ErrMsg().contains("connect", Qt::CaseInsensitive));
        QVERIFY(!db.ActiveConnection());
        QCOMPARE(db.ConnectionType(), 0);
        QCOMPARE(prompt.mensagens.size(), 1);
        QCOMPARE(prompt.ultima().icone(), int(vb::Critical));
    }

    void ServidorQueNaoResponde_DubleSqlServer()
    {
        // A socket that accepts and never answers: the login time-out ends the wait.
        PortaLocal mudo(true);
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        amb.Opcoes().TimeOut = 2;
        clsData db(amb);
        const QString cs = MontarConnStrSql("127.0.0.1," + QString::number(mudo.numero), "master", "sa", "x", false);
        QVERIFY(!db.OpenConnection(cs, true, false));
        QVERIFY(db.ErrMsg().startsWith("Err:"));
        QVERIFY(db.ErrMsg().endsWith("\nConnStr:" + QString(cs).replace("Password=x", "Password=***")));
    }

    void CatalogoPorInstrucoes_DubleSqlServer()
    {
        // A file database with the server's sysObjects and sysComments, opened as a type 4
        // connection, runs the catalog statements for views, functions and triggers.
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath("servidor.db");
        ErroDados e;
        QVERIFY(CriarBancoArquivo(arquivo, e));
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        QVERIFY(db.OpenConnection(MontarConnStrAccess(arquivo, "", "")));
        for (const char* sql :
             {"CREATE TABLE sysObjects (id INTEGER, name VARCHAR(128), type CHAR(2), parent_obj INTEGER)",
              "CREATE TABLE sysComments (id INTEGER, text TEXT)",
              "INSERT INTO sysObjects VALUES (1, 'Clientes', 'U', 0), (2, 'vw''Recife', 'V', 0), "
              "(3, 'trgClientes', 'TR', 1), (4, 'fnIdade', 'FN', 0), (5, 'sysfiles', 'S', 0), "
              "(6, 'trgSistema', 'TR', 5)",
              "INSERT INTO sysComments VALUES (2, 'CREATE VIEW [vw''Recife] AS SELECT 1')"})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        db.setConnectionType(4);
        RecordsetPtr rs;
        QVERIFY(db.OpenSchema(32, rs, "", "", "", "dbo.vw'Recife"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Valor("VIEW_NAME").toString(), QStringLiteral("vw'Recife"));
        QCOMPARE(rs->Valor("VIEW_DEFINITION").toString(), QStringLiteral("CREATE VIEW [vw'Recife] AS SELECT 1"));
        QVERIFY(db.OpenSchema(64, rs));
        QCOMPARE(rs->Valor("FUNCTION_NAME").toString(), QStringLiteral("fnIdade"));
        QVERIFY(db.OpenSchema(1024, rs, "Clientes"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Valor("TRIGGER_NAME").toString(), QStringLiteral("trgClientes"));
        QVERIFY(db.OpenSchema(1024, rs));
        QCOMPARE(rs->RecordCount(), 2); // every user and system table
        QVERIFY(db.OpenSchema(1024, rs, "x' Or '1' = '1"));
        QCOMPARE(rs->RecordCount(), 0); // the name cannot leave its quotes
        // The identity questions go to the server; a failure is shown by RetValue and gives 0.
        QCOMPARE(db.IdentitySeed("Clie'ntes"), 0);
        QCOMPARE(prompt.mensagens.size(), 1);
        QVERIFY(prompt.ultima().texto.endsWith("\nQuerie:SELECT IDENT_SEED('Clie''ntes')"));
        QCOMPARE(db.IdentityIncrement("Clientes"), 0);
        QVERIFY(prompt.ultima().texto.endsWith("\nQuerie:SELECT IDENT_INCR('Clientes')"));
        QVERIFY(!db.ColumnIsIdentity("Clientes", "Id"));
        QVERIFY(prompt.ultima().texto.contains("no such table: sysColumns"));
    }
};
QUARRIX_TESTE(tst_clsDataSqlServer);
#include "tst_clsDataSqlServer.moc"
