// Statements run in a worker thread while the caller's event loop goes on, and stop on request
// with the connection still usable: a SQLite file, and PostgreSQL when QUARRIX_PG_CONNSTR is set.
#include "platform/clsExecucaoAssincrona.h"
#include "support/registroTestes.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace ado;

class tst_clsExecucaoAssincrona : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;

    std::shared_ptr<clsMotor> Abrir()
    {
        QFETCH(QString, cs);
        if (cs.isEmpty())
            return nullptr;
        if (cs.contains("Jet")) {
            ErroDados e;
            const QString arquivo = pasta.filePath("longa.db");
            if (!QFile::exists(arquivo))
                CriarBancoArquivo(arquivo, e);
        }
        ErroDados e;
        return AbrirMotor(cs, true, 10, e);
    }

private slots:
    void PararUmaInstrucaoLonga_data()
    {
        QTest::addColumn<QString>("cs");
        QTest::addColumn<QString>("longa");
        QTest::newRow("sqlite")
            << QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(pasta.filePath("longa.db"))
            << "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c LIMIT 1000000000) "
               "SELECT count(*) FROM c";
        QTest::newRow("postgresql") << qEnvironmentVariable("QUARRIX_PG_CONNSTR") << "SELECT pg_sleep(30)";
    }
    void PararUmaInstrucaoLonga()
    {
        QFETCH(QString, longa);
        auto motor = Abrir();
        if (!motor)
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        clsExecucaoAssincrona execucao(motor);
        QSignalSpy concluida(&execucao, &clsExecucaoAssincrona::Concluida);
        int batidas = 0;
        QTimer relogio;
        connect(&relogio, &QTimer::timeout, this, [&] { ++batidas; });
        relogio.start(10);
        QVERIFY(execucao.Iniciar(longa, adLockReadOnly));
        QVERIFY(!execucao.Iniciar("SELECT 1", adLockReadOnly)); // one at a time
        // The caller's events go on while the statement runs.
        QTRY_VERIFY(batidas >= 20);
        QVERIFY(concluida.isEmpty());
        execucao.Parar();
        QTRY_COMPARE_WITH_TIMEOUT(concluida.size(), 1, 10000);
        const QList<QVariant> r = concluida.takeFirst();
        QVERIFY(!r[0].toBool());
        QCOMPARE(r[3].value<ErroDados>().numero, long(ErrInterrompida));
        // The connection runs the next statement.
        QVERIFY(execucao.Iniciar("SELECT 42", adLockReadOnly));
        QTRY_COMPARE(concluida.size(), 1);
        const QList<QVariant> d = concluida.takeFirst();
        QVERIFY2(d[0].toBool(), qPrintable(d[3].value<ErroDados>().descricao));
        QCOMPARE(PrimeiroValor(d[1].value<RecordsetPtr>()).toInt(), 42);
    }

    void FecharDuranteAExecucao()
    {
        // Destroying the runner stops its statement and waits for it, without reporting to anyone.
        ErroDados e;
        const QString arquivo = pasta.filePath("fechar.db");
        QVERIFY(CriarBancoArquivo(arquivo, e));
        auto motor = AbrirMotor("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + arquivo, true, 10, e);
        QVERIFY(motor);
        {
            clsExecucaoAssincrona execucao(motor);
            QVERIFY(execucao.Iniciar("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c LIMIT 1000000000) "
                                     "SELECT count(*) FROM c",
                                     adLockReadOnly));
            QTest::qWait(50);
        }
        long n;
        QVERIFY(motor->Executar("SELECT 1", nullptr, adLockReadOnly, &n));
    }
};
QUARRIX_TESTE(tst_clsExecucaoAssincrona);
#include "tst_clsExecucaoAssincrona.moc"
