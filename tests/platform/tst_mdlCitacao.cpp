#include "platform/clsMotor.h"
#include "platform/mdlCitacao.h"
#include "support/registroTestes.h"

#include <QTemporaryDir>
#include <QTest>

class tst_mdlCitacao : public QObject {
    Q_OBJECT
private slots:
    void CitarPorConexao_data()
    {
        QTest::addColumn<QString>("connStr");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("citado");
        QTest::addColumn<QString>("seNecessario");
        const QString arquivo = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/tmp/x.db";
        const QString servidor = "Provider=SQLOLEDB.1;Data Source=h;Initial Catalog=loja";
        const QString odbc = "Driver={PostgreSQL Unicode};Server=h";
        QTest::newRow("arquivo simples") << arquivo << "clientes"
                                         << "\"clientes\""
                                         << "clientes";
        QTest::newRow("arquivo com aspas") << arquivo << "a\"b"
                                           << "\"a\"\"b\""
                                           << "\"a\"\"b\"";
        QTest::newRow("arquivo colchete") << arquivo << "Nome]Estranho'x"
                                          << "\"Nome]Estranho'x\""
                                          << "\"Nome]Estranho'x\"";
        QTest::newRow("servidor colchete") << servidor << "a]b"
                                           << "[a]]b]"
                                           << "[a]]b]";
        QTest::newRow("servidor palavra reservada") << servidor << "Order"
                                                    << "[Order]"
                                                    << "[Order]";
        QTest::newRow("servidor maiusculas") << servidor << "Clientes"
                                             << "[Clientes]"
                                             << "Clientes";
        QTest::newRow("odbc maiusculas") << odbc << "Clientes"
                                         << "\"Clientes\""
                                         << "\"Clientes\"";
        QTest::newRow("digito no inicio") << arquivo << "1abc"
                                          << "\"1abc\""
                                          << "\"1abc\"";
        QTest::newRow("hifen") << arquivo << "a-b"
                               << "\"a-b\""
                               << "\"a-b\"";
        QTest::newRow("instrucao") << odbc << "v;DELETE/**/FROM/**/v"
                                   << "\"v;DELETE/**/FROM/**/v\""
                                   << "\"v;DELETE/**/FROM/**/v\"";
        QTest::newRow("endereco de web service") << "http://h/servico.asmx"
                                                 << "a]b"
                                                 << "[a]]b]"
                                                 << "[a]]b]";
    }
    void CitarPorConexao()
    {
        QFETCH(QString, connStr);
        QFETCH(QString, nome);
        QFETCH(QString, citado);
        QFETCH(QString, seNecessario);
        const TipoMotor motor = citacao::MotorDaConexao(connStr);
        QCOMPARE(citacao::CitarNaConexao(connStr, nome), citado);
        QCOMPARE(citacao::CitarSeNecessario(motor, nome), seNecessario);
    }

    void MotoresAbertosCitamIgualENomeVoltaInteiro_data()
    {
        QTest::addColumn<bool>("postgres");
        QTest::newRow("sqlite") << false;
        QTest::newRow("postgres") << true;
    }
    void MotoresAbertosCitamIgualENomeVoltaInteiro()
    {
        // Through a real engine, every odd name quoted makes a table of exactly that name.
        QFETCH(bool, postgres);
        QTemporaryDir pasta;
        const QString connStr = postgres ? qEnvironmentVariable("QUARRIX_PG_CONNSTR")
                                         : "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + pasta.filePath("c.db");
        if (connStr.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the server)");
        ErroDados erro;
        if (!postgres)
            QVERIFY(CriarBancoArquivo(pasta.filePath("c.db"), erro));
        const std::shared_ptr<clsMotor> m = AbrirMotor(connStr, true, 0, erro);
        QVERIFY2(m, qPrintable(erro.descricao));
        for (const QString& nome : {QStringLiteral("Nome]Estranho'x"),
                                    QStringLiteral("a\"b"),
                                    QStringLiteral("order"),
                                    QStringLiteral("x;DROP TABLE y")}) {
            const QString citado = m->CitarIdentificador(nome);
            QCOMPARE(citado, citacao::CitarNaConexao(connStr, nome));
            m->Executar("DROP TABLE IF EXISTS " + citado, nullptr, ado::adLockReadOnly, nullptr);
            QVERIFY2(m->Executar("CREATE TABLE " + citado + " (id integer)", nullptr, ado::adLockReadOnly, nullptr),
                     qPrintable(m->Erro().descricao));
            RecordsetPtr rs;
            QVERIFY(m->Schema(SchemaOleDb::Tabelas, {{}, {}, nome}, rs));
            QCOMPARE(rs->RecordCount(), 1);
            QCOMPARE(rs->Valor("TABLE_NAME").toString(), nome);
            QVERIFY(m->Executar("DROP TABLE " + citado, nullptr, ado::adLockReadOnly, nullptr));
        }
    }
};
QUARRIX_TESTE(tst_mdlCitacao);
#include "tst_mdlCitacao.moc"
