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

    // Rows handed over in blocks while fetching, joined back, are the whole result exactly: texts
    // and binaries of every block, and a type decided from values that a later block widens.
    void LinhasEmBlocos_data()
    {
        QTest::addColumn<QString>("cs");
        QTest::addColumn<QString>("sql");
        QTest::newRow("sqlite")
            << QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(pasta.filePath("longa.db"))
            << "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 70000) "
               "SELECT x, 'texto ' || x AS t, CASE WHEN x = 70000 THEN 5000000000 ELSE x END "
               "AS e, x'00ff' AS b FROM c";
        QTest::newRow("postgresql") << qEnvironmentVariable("QUARRIX_PG_CONNSTR")
                                    << "SELECT x, 'texto ' || x AS t, CASE WHEN x = 70000 THEN 5000000000 ELSE x END "
                                       "AS e, '\\x00ff'::bytea AS b FROM generate_series(1, 70000) x";
    }
    void LinhasEmBlocos()
    {
        QFETCH(QString, sql);
        auto motor = Abrir();
        if (!motor)
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        std::vector<std::shared_ptr<clsRecordsetDados>> blocos;
        motor->DefinirEntregaLinhas([&](std::shared_ptr<clsRecordsetDados> b) { blocos.push_back(std::move(b)); });
        RecordsetPtr resto;
        QVERIFY2(motor->Executar(sql, &resto, adLockBatchOptimistic, nullptr), qPrintable(motor->Erro().descricao));
        motor->DefinirEntregaLinhas({});
        QVERIFY(blocos.size() >= 3);
        QCOMPARE(blocos.front()->QtdeLinhas(), size_t(1000));
        RecordsetPtr rs = clsRecordset::Criar(blocos.front(), adLockReadOnly);
        for (size_t i = 1; i < blocos.size(); ++i)
            rs->AnexarBloco(std::move(*blocos[i]));
        rs->AnexarBloco(std::move(resto->Dados()));
        QCOMPARE(rs->RecordCount(), 70000);
        for (int linha : {0, 999, 1000, 2999, 3000, 69999}) {
            QCOMPARE(rs->ValorCelula(linha, 0).toLongLong(), qint64(linha + 1));
            QCOMPARE(rs->ValorCelula(linha, 1).toString(), QStringLiteral("texto %1").arg(linha + 1));
            QCOMPARE(rs->ValorCelula(linha, 3).toByteArray(), QByteArray("\x00\xff", 2));
        }
        QCOMPARE(rs->ValorCelula(69999, 2).toLongLong(), 5000000000LL);
        // Still counted from the first row.
        QVERIFY(rs->MoveLast());
        QCOMPARE(rs->AbsolutePosition(), 70000);
    }
};
QUARRIX_TESTE(tst_clsExecucaoAssincrona);
#include "tst_clsExecucaoAssincrona.moc"
