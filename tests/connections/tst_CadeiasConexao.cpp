// Values that hold the connection string's own syntax (";", "=", quotes, braces, blanks at either
// end) travel whole through every builder and parser, and reach the database as typed.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "platform/clsConnStr.h"
#include "platform/clsMotor.h"
#include "platform/clsMotorOdbc.h"
#include "platform/mdlOdbc.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class tst_CadeiasConexao : public QObject {
    Q_OBJECT
private slots:
    void ValoresComSintaxe_data()
    {
        QTest::addColumn<QString>("valor");
        QTest::newRow("outra fonte") << "x;Data Source=127.0.0.1,6666;Initial Catalog=outra";
        QTest::newRow("igual") << "a=b";
        QTest::newRow("aspas") << "di\"z 'isso'";
        QTest::newRow("chaves") << "{tudo}";
        QTest::newRow("chave fechando") << "a}b;c";
        QTest::newRow("brancos nas pontas") << " meio ";
        QTest::newRow("unicode") << "пароль;é";
        QTest::newRow("comum") << "segredo";
    }
    void ValoresComSintaxe()
    {
        QFETCH(QString, valor);
        // SQL Server: password, user and database come back whole; nothing else changes.
        const QString sql = MontarConnStrSql("SRV", valor, valor, valor, false);
        const clsConnStr cs(sql);
        QCOMPARE(cs.Valor("Password"), valor);
        QCOMPARE(cs.Valor("User ID"), valor);
        QCOMPARE(cs.Valor("Initial Catalog"), valor);
        QCOMPARE(cs.Valor("Data Source"), QStringLiteral("SRV"));
        const PecasSqlDmo p = LerPecasSqlDmo(sql);
        QCOMPARE(p.senha, valor);
        QCOMPARE(p.servidor, QStringLiteral("SRV"));
        const clsConnStr tds(clsMotorOdbc::TraduzirSqlServer(cs));
        QCOMPARE(tds.Valor("PWD"), valor);
        QCOMPARE(tds.Valor("Server"), QStringLiteral("SRV"));
        QCOMPARE(tds.Valor("Port"), QStringLiteral("1433"));
        QCOMPARE(tds.Valor("Database"), valor);
        // Server names keep their own text too.
        QCOMPARE(clsConnStr(MontarConnStrSql(valor, "Loja", "sa", "pw", false)).Valor("Data Source"), valor);
        // File databases: path and password.
        const clsConnStr jet(MontarConnStrAccess("/d/" + valor + "/a.db", "Admin", valor));
        QCOMPARE(jet.Valor("Data Source"), "/d/" + valor + "/a.db");
        QCOMPARE(jet.Valor("JET OLEDB:Database Password"), valor);
        QCOMPARE(jet.Valor("Persist Security Info"), QStringLiteral("True"));
        // Custom ODBC strings: the driver gets each value in braces, "}" doubled.
        const clsConnStr odbc(odbc::MontarConnStrOdbc("PostgreSQL Unicode", "", "h", "5432", valor, "u", valor));
        QCOMPARE(odbc.Valor("Pwd"), valor);
        QCOMPARE(odbc.Valor("Server"), QStringLiteral("h"));
        const clsConnStr driver(clsMotorOdbc::TraduzirOdbc(odbc));
        QCOMPARE(driver.Valor("Pwd"), valor);
        QCOMPARE(driver.Valor("Database"), valor);
        QCOMPARE(driver.Valor("Driver"), QStringLiteral("PostgreSQL Unicode"));
        QCOMPARE(driver.Pares().size(), odbc.Pares().size() - 1); // less the provider
        // What a parsed string writes back, in either syntax, reads the same.
        for (const QString& texto : {cs.Montar(), cs.MontarOdbc()})
            QCOMPARE(clsConnStr(texto).Pares(), cs.Pares());
    }

    void CaminhoComPontoEVirgula()
    {
        QTemporaryDir raiz;
        QVERIFY(QDir(raiz.path()).mkpath("pasta;x=1"));
        const QString arquivo = raiz.filePath("pasta;x=1/arq.db");
        ErroDados e;
        QVERIFY(CriarBancoArquivo(arquivo, e));
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        QVERIFY2(db.OpenConnection(MontarConnStrAccess(arquivo, "Admin", ""), true, false), qPrintable(db.ErrMsg()));
        QVERIFY(db.ExecSql("CREATE TABLE t (a INTEGER)", false));
        db.CloseConnection();
        QCOMPARE(QDir(raiz.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"pasta;x=1"});
        QVERIFY(QFileInfo(arquivo).size() > 0);
    }

    // A PostgreSQL login whose password holds the syntax: the string built for it connects, and
    // the password cut at its ";" does not.
    void SenhaComSintaxeNoPostgres()
    {
        const QString base = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (base.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        const clsConnStr cs(base);
        ErroDados e;
        auto dono = AbrirMotor(base, true, 5, e);
        QVERIFY2(dono, qPrintable(e.descricao));
        const QString senha = QStringLiteral("p;Uid=quarrix;Pwd=quarrix;x={y}}z= ");
        const QString papel = QStringLiteral("quarrix_cadeia");
        long n = 0;
        dono->Executar("DROP ROLE IF EXISTS " + papel, nullptr, 0, &n);
        QVERIFY2(dono->Executar("CREATE ROLE " + papel + " LOGIN PASSWORD '" + QString(senha).replace("'", "''") + "'",
                                nullptr,
                                0,
                                &n),
                 qPrintable(dono->Erro().descricao));
        auto abrir = [&](const QString& s) {
            clsPromptRoteiro prompt;
            clsAmbienteDados amb(prompt);
            clsData db(amb);
            const bool ok = db.OpenConnection(odbc::MontarConnStrOdbc(cs.Valor("Driver"),
                                                                      "",
                                                                      cs.Valor("Server"),
                                                                      cs.Valor("Port"),
                                                                      cs.Valor("Database"),
                                                                      papel,
                                                                      s),
                                              true,
                                              false);
            return ok && db.RetValue("SELECT current_user").toString() == papel;
        };
        const bool certa = abrir(senha);
        const bool cortada = abrir(senha.left(1));
        dono->Executar("DROP ROLE " + papel, nullptr, 0, &n);
        QVERIFY(certa);
        QVERIFY(!cortada);
    }

    // A string far longer than any real one is refused before the driver sees it (the PostgreSQL
    // driver crashes on one of 32 KB and more).
    void CadeiaLongaRecusada()
    {
        const QString longa = "Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Uid=u;Pwd=p;"
                              "ApplicationName="
                              + QString(40000, u'a');
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        QVERIFY(!db.OpenConnection(longa, true, false));
        QVERIFY2(db.ErrMsg().contains(QStringLiteral("longa demais")), qPrintable(db.ErrMsg().left(200)));
        QVERIFY(!db.ActiveConnection());
    }
};
QUARRIX_TESTE(tst_CadeiasConexao);
#include "tst_CadeiasConexao.moc"
