// The query window runs its statements off the GUI thread: rows show in blocks while the window
// goes on processing events, and Parar/Esc stops a long statement and leaves the connection usable.
#include "cenarioTabela.h"
#include "query/clsModeloRecordset.h"
#include "query/frmTabela.h"
#include "query/uctEditorSql.h"
#include "support/capturas.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

const char* const Contagem = "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < %1) ";

QString Linhas(qint64 n)
{
    return QString::fromLatin1(Contagem).arg(n) + QStringLiteral("SELECT x, 'linha ' || x AS t FROM c");
}

// Runs the window's text and, `depois` ms after it started, does `acao` (from the event loop the
// run keeps going). Returns how long the run took.
qint64 ExecutarEDepois(frmTabela* w, int depois, const std::function<void()>& acao, bool* ok = nullptr)
{
    QTimer::singleShot(depois, w, acao);
    QElapsedTimer relogio;
    relogio.start();
    const bool r = w->ExecutarSql();
    if (ok)
        *ok = r;
    return relogio.elapsed();
}

void PararCom(frmTabela* w, const QString& como)
{
    if (como == u"esc no editor")
        QTest::keyClick(w->Editor(), Qt::Key_Escape);
    else
        w->Botao(QStringLiteral("Parar"))->trigger();
}

} // namespace

class tst_frmTabelaExecucao : public QObject {
    Q_OBJECT
private slots:
    void LinhasChegamEmBlocos()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor(Linhas(400000));
        QVERIFY(w);
        QSignalSpy inseridas(w->Modelo(), &QAbstractItemModel::rowsInserted);
        int batidas = 0;
        QTimer relogio;
        relogio.setInterval(5);
        connect(&relogio, &QTimer::timeout, [&] { ++batidas; });
        relogio.start();
        QVERIFY(!w->Botao(QStringLiteral("Parar"))->isEnabled());
        bool paradoDurante = false;
        ExecutarEDepois(w, 0, [&] { paradoDurante = w->Botao(QStringLiteral("Parar"))->isEnabled(); });
        QVERIFY2(paradoDurante, "Parar is enabled while the statement runs");
        QVERIFY(!w->Botao(QStringLiteral("Parar"))->isEnabled());
        // The first block shows alone, more follow; the timer kept firing meanwhile.
        QVERIFY(inseridas.size() >= 2);
        QVERIFY(batidas > 0);
        QCOMPARE(w->Modelo()->rowCount(), 400000);
        QCOMPARE(w->TextoPainel(3), QStringLiteral("400000 Registros Encontrados"));
        QVERIFY(w->TextoPainel(2).startsWith(QStringLiteral("Executado em ")));
        QCOMPARE(c.Celula(0, 1), QStringLiteral("linha 1"));
        QCOMPARE(c.Celula(399999, 0), QStringLiteral("400000"));
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    // A table's rows that came in blocks are written back like any others.
    void ResultadoEmBlocosEditavel()
    {
        QStringList extras{"CREATE TABLE Muitos (Id INTEGER PRIMARY KEY, Nome VARCHAR(40))"};
        extras << QString::fromLatin1(Contagem).arg(5000)
                      + QStringLiteral("INSERT INTO Muitos SELECT x, 'n' || x FROM c");
        CenarioTabela c(extras);
        frmTabela* w = c.Editor(QStringLiteral("SELECT Id, Nome FROM Muitos ORDER BY Id"));
        QVERIFY(w);
        QVERIFY(w->ExecutarSql());
        QCOMPARE(w->Modelo()->rowCount(), 5000);
        QVERIFY(w->Modelo()->Editavel());
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(4999, 1), QStringLiteral("última")));
        QVERIFY(w->GravarRegistros());
        QCOMPARE(c.banco.Valor(QStringLiteral("SELECT Nome FROM Muitos WHERE Id = 5000")).toString(),
                 QStringLiteral("última"));
        QCOMPARE(c.banco.Valor(QStringLiteral("SELECT count(*) FROM Muitos WHERE Nome = 'n' || Id")).toInt(), 4999);
    }

    void PararSqlite_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("como");
        QTest::addColumn<bool>("comLinhas");
        const QString semFim = QString::fromLatin1(Contagem).arg(1000000000);
        QTest::newRow("contagem sem linhas, botao") << semFim + "SELECT count(*) FROM c"
                                                    << "botao" << false;
        QTest::newRow("contagem sem linhas, esc") << semFim + "SELECT count(*) FROM c"
                                                  << "esc no editor" << false;
        QTest::newRow("linhas chegando") << semFim + "SELECT x FROM c"
                                         << "botao" << true;
    }
    void PararSqlite()
    {
        QFETCH(QString, sql);
        QFETCH(QString, como);
        QFETCH(bool, comLinhas);
        CenarioTabela c;
        frmTabela* w = c.Editor(sql);
        QVERIFY(w);
        w->Editor()->setFocus();
        bool ok = true;
        const qint64 ms = ExecutarEDepois(
            w,
            300,
            [&] {
                if (comLinhas)
                    CapturarJanela(w, QStringLiteral("consulta-executando"));
                PararCom(w, como);
            },
            &ok);
        QVERIFY(!ok);
        QVERIFY2(ms < 5000, qPrintable(QString::number(ms)));
        QCOMPARE(w->TextoPainel(2), QStringLiteral("Execução interrompida pelo usuário."));
        if (comLinhas)
            CapturarJanela(w, QStringLiteral("consulta-interrompida"));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join(u'|')));
        if (comLinhas) {
            // The rows read before the stop stay, read-only: they are not the whole result.
            QVERIFY(w->Modelo()->rowCount() > 0);
            QCOMPARE(c.Celula(0, 0), QStringLiteral("1"));
            QVERIFY(!w->Modelo()->Editavel());
            QVERIFY(!w->Botao(QStringLiteral("Salvar"))->isEnabled());
        }
        // The connection runs the next statement.
        w->Editor()->setText(QStringLiteral("SELECT Nome FROM Clientes WHERE Id = 2"));
        QVERIFY(w->ExecutarSql());
        QCOMPARE(c.Celula(0, 0), QStringLiteral("Bruno"));
        QCOMPARE(w->TextoPainel(3), QStringLiteral("1 Registros Encontrados"));
    }

    void PararPostgres()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_execucao"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set: no PostgreSQL server to test against");
        CenarioTabela c;
        frmTabela* w = c.Abrir(QStringLiteral("SELECT pg_sleep(30)"), QStringLiteral("SqlEditor: "), false, cs);
        QVERIFY(w);
        w->Editor()->setFocus();
        bool ok = true;
        const qint64 ms = ExecutarEDepois(
            w,
            300,
            [&] { PararCom(w, QStringLiteral("esc no editor")); },
            &ok);
        QVERIFY(!ok);
        QVERIFY2(ms < 10000, qPrintable(QString::number(ms)));
        QCOMPARE(w->TextoPainel(2), QStringLiteral("Execução interrompida pelo usuário."));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join(u'|')));
        w->Editor()->setText(QStringLiteral("SELECT 40 + 2 AS r"));
        QVERIFY(w->ExecutarSql());
        QCOMPARE(c.Celula(0, 0), QStringLiteral("42"));
    }

    // Rows of PostgreSQL arrive through a cursor, in blocks, exact.
    void BlocosPostgres()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_execucao"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set: no PostgreSQL server to test against");
        CenarioTabela c;
        frmTabela* w = c.Abrir(
            QStringLiteral("SELECT g, (g::numeric(20,5) / 3)::numeric(30,10) AS d FROM generate_series(1, 50000) g"),
            QStringLiteral("SqlEditor: "),
            false,
            cs);
        QVERIFY(w);
        QSignalSpy inseridas(w->Modelo(), &QAbstractItemModel::rowsInserted);
        QVERIFY(w->ExecutarSql());
        QVERIFY(inseridas.size() >= 2);
        QCOMPARE(w->Modelo()->rowCount(), 50000);
        QCOMPARE(c.Celula(49999, 1), QStringLiteral("16666.6666666667"));
    }

    // Closing the window while a statement runs stops it; the window closes when the worker is done.
    void FecharDuranteExecucao()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor(QString::fromLatin1(Contagem).arg(1000000000) + "SELECT count(*) FROM c");
        QVERIFY(w);
        bool aberta = false;
        ExecutarEDepois(w, 200, [&] {
            w->close();
            aberta = w->isVisible();
        });
        QVERIFY2(aberta, "the window waits for the worker");
        QTRY_VERIFY(c.janela.isNull() || !c.janela->isVisible());
    }
};

QUARRIX_TESTE(tst_frmTabelaExecucao);
#include "tst_frmTabelaExecucao.moc"
