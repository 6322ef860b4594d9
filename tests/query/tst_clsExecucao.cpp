// A query window's runner: the batches of a script run on a worker thread while the caller's
// event loop goes on; a stop at any moment ends the run, with the connection still usable; a
// failing step waits for its answer. A SQLite file, and PostgreSQL when QUARRIX_PG_CONNSTR is set.
#include "query/clsExecucao.h"
#include "support/registroTestes.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace ado;

namespace {

const char* const SemFim = "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c LIMIT 1000000000) ";

// Waits for the run's end and hands it over.
clsExecucao::Fim Esperar(clsExecucao& execucao, int ms = 20000)
{
    clsExecucao::Fim fim;
    bool veio = false;
    QMetaObject::Connection c = QObject::connect(&execucao, &clsExecucao::Concluida, [&](const clsExecucao::Fim& f) {
        fim = f;
        veio = true;
    });
    if (!QTest::qWaitFor([&] { return veio; }, ms))
        qWarning("the run did not end in %d ms", ms);
    QObject::disconnect(c);
    return fim;
}

clsExecucao::Pedido Pedido(std::shared_ptr<clsMotor> motor, const QStringList& lotes)
{
    clsExecucao::Pedido p;
    p.motor = std::move(motor);
    p.lotes = lotes;
    p.lockType = ado::adLockReadOnly;
    return p;
}

} // namespace

class tst_clsExecucao : public QObject {
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
        clsExecucao execucao;
        int batidas = 0;
        QTimer relogio;
        connect(&relogio, &QTimer::timeout, this, [&] { ++batidas; });
        relogio.start(10);
        QVERIFY(execucao.Iniciar(Pedido(motor, {longa})));
        QVERIFY(!execucao.Iniciar(Pedido(motor, {"SELECT 1"}))); // one at a time
        // The caller's events go on while the statement runs.
        QTRY_VERIFY(batidas >= 20);
        QVERIFY(execucao.Executando());
        execucao.Parar();
        const clsExecucao::Fim fim = Esperar(execucao, 10000);
        QVERIFY(!fim.ok);
        QVERIFY(fim.interrompida);
        QVERIFY(!execucao.Executando());
        // The connection runs the next statement.
        QVERIFY(execucao.Iniciar(Pedido(motor, {"SELECT 42"})));
        const clsExecucao::Fim d = Esperar(execucao);
        QVERIFY2(d.ok, qPrintable(d.erro.descricao));
        QCOMPARE(PrimeiroValor(d.rs).toInt(), 42);
    }

    // A stop at any moment after the start ends the run, however early or late it comes: before
    // the first statement started, between batches, while a statement computes or rows are read.
    void PararEmQualquerMomento_data()
    {
        QTest::addColumn<QString>("cs");
        QTest::addColumn<QStringList>("lotes");
        const QString sqlite
            = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(pasta.filePath("longa.db"));
        const QString pg = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        const QString contar = QString::fromLatin1(SemFim) + "SELECT count(*) FROM c";
        const QString linhas = QString::fromLatin1(SemFim) + "SELECT x FROM c";
        QTest::newRow("sqlite, contando") << sqlite << QStringList{contar};
        QTest::newRow("sqlite, linhas chegando") << sqlite << QStringList{linhas};
        QTest::newRow("sqlite, lotes curtos") << sqlite << QStringList(100000, "SELECT 1");
        QTest::newRow("postgresql, dormindo") << pg << QStringList{"SELECT pg_sleep(30)"};
        QTest::newRow("postgresql, linhas chegando")
            << pg << QStringList{"SELECT x, repeat('y', 20) FROM generate_series(1, 30000000) x"};
    }
    void PararEmQualquerMomento()
    {
        QFETCH(QStringList, lotes);
        auto motor = Abrir();
        if (!motor)
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        const bool pg = !motor->Provider().contains("Jet");
        const int vezes = pg ? 10 : 50;
        for (int atraso : {0, 1, 5, 20, 50}) {
            for (int i = 0; i < vezes; ++i) {
                clsExecucao execucao;
                QVERIFY(execucao.Iniciar(Pedido(motor, lotes)));
                if (atraso > 0)
                    QThread::msleep(atraso); // the worker runs on; the caller's events wait
                QElapsedTimer relogio;
                relogio.start();
                execucao.Parar();
                const clsExecucao::Fim fim = Esperar(execucao, 10000);
                const QString onde = QStringLiteral("%1 ms, vez %2").arg(atraso).arg(i);
                QVERIFY2(fim.interrompida, qPrintable(onde));
                QVERIFY2(relogio.elapsed() < 3000, qPrintable(onde + ": " + QString::number(relogio.elapsed())));
            }
        }
        long n = 0;
        QVERIFY2(motor->Executar("SELECT 1", nullptr, adLockReadOnly, &n), qPrintable(motor->Erro().descricao));
    }

    // Step by step, a failing batch waits for the answer: Yes goes on, No ends the run there.
    void PerguntaAoFalhar_data()
    {
        QTest::addColumn<bool>("continuar");
        QTest::newRow("sim") << true;
        QTest::newRow("nao") << false;
    }
    void PerguntaAoFalhar()
    {
        QFETCH(bool, continuar);
        ErroDados e;
        const QString arquivo = pasta.filePath("passos.db");
        QFile::remove(arquivo);
        QVERIFY(CriarBancoArquivo(arquivo, e));
        auto motor = AbrirMotor("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + arquivo, true, 10, e);
        QVERIFY(motor);
        clsExecucao execucao;
        QStringList perguntas;
        connect(&execucao, &clsExecucao::Pergunta, this, [&](int lote, const QString& sql, const ErroDados&) {
            perguntas << QStringLiteral("%1:%2").arg(lote).arg(sql);
            execucao.Responder(continuar);
        });
        clsExecucao::Pedido p = Pedido(motor, {"CREATE TABLE t (x)", "SELECT * FROM nada", "INSERT INTO t VALUES (1)"});
        p.perguntarAoFalhar = true;
        QVERIFY(execucao.Iniciar(p));
        const clsExecucao::Fim fim = Esperar(execucao);
        QCOMPARE(perguntas, QStringList{"1:SELECT * FROM nada"});
        QCOMPARE(fim.ok, continuar);
        QCOMPARE(fim.loteFalho, continuar ? -1 : 1);
        QCOMPARE(fim.afetadosLotes.size(), continuar ? 2 : 1);
        QVERIFY(motor->Executar("SELECT count(*) FROM t", nullptr, adLockReadOnly, nullptr));
        RecordsetPtr rs;
        QVERIFY(motor->Executar("SELECT count(*) FROM t", &rs, adLockReadOnly, nullptr));
        QCOMPARE(PrimeiroValor(rs).toInt(), continuar ? 1 : 0);
    }

    // A stop while the question waits answers it No.
    void PararDuranteAPergunta()
    {
        ErroDados e;
        const QString arquivo = pasta.filePath("pergunta.db");
        QVERIFY(CriarBancoArquivo(arquivo, e));
        auto motor = AbrirMotor("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + arquivo, true, 10, e);
        clsExecucao execucao;
        connect(&execucao, &clsExecucao::Pergunta, this, [&] { execucao.Parar(); });
        clsExecucao::Pedido p = Pedido(motor, {"SELECT * FROM nada", "SELECT 1"});
        p.perguntarAoFalhar = true;
        QVERIFY(execucao.Iniciar(p));
        const clsExecucao::Fim fim = Esperar(execucao);
        QVERIFY(!fim.ok);
        QVERIFY(fim.interrompida);
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
            clsExecucao execucao;
            QVERIFY(execucao.Iniciar(Pedido(motor, {QString::fromLatin1(SemFim) + "SELECT count(*) FROM c"})));
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
QUARRIX_TESTE(tst_clsExecucao);
#include "tst_clsExecucao.moc"
