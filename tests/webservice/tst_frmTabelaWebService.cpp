// A query window on a web-service source runs its statements on the window's worker like any other
// connection: the window keeps processing events while the service answers, Parar ends a call the
// service is still working on, and the same connection runs the next statement.
#include "bancoWeb.h"
#include "query/cenarioTabela.h"
#include "query/frmTabela.h"
#include "query/uctEditorSql.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace {
// Seconds of work for the service's engine before its one row.
const char* const Demorada = "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 10000000) "
                             "SELECT count(*) FROM c";
} // namespace

class tst_frmTabelaWebService : public QObject {
    Q_OBJECT
    std::unique_ptr<HostWeb> web;
    QString url;

private slots:
    void initTestCase()
    {
        web = std::make_unique<HostWeb>();
        QVERIFY2(!web->url.isEmpty(), qPrintable(web->erro));
        url = web->url;
    }
    void cleanupTestCase() { web.reset(); }

    void PararUmaChamadaEmAndamento()
    {
        CenarioTabela c;
        frmTabela* w = c.Abrir(QString::fromLatin1(Demorada), QStringLiteral("SqlEditor: "), false, url);
        QVERIFY(w);
        // The window's event loop goes on while the call waits: a 10 ms timer never waits long.
        QElapsedTimer batida;
        qint64 maiorIntervalo = 0;
        QTimer relogio;
        connect(&relogio, &QTimer::timeout, this, [&] { maiorIntervalo = qMax(maiorIntervalo, batida.restart()); });
        QTimer::singleShot(500, w, [w] { w->Botao(QStringLiteral("Parar"))->trigger(); });
        QElapsedTimer tempo;
        tempo.start();
        batida.start();
        relogio.start(10);
        QVERIFY(!Rodar(w));
        relogio.stop();
        const qint64 ms = tempo.elapsed();
        QVERIFY2(ms < 2000, qPrintable(QString::number(ms)));
        QVERIFY2(maiorIntervalo < 200, qPrintable(QString::number(maiorIntervalo)));
        QCOMPARE(w->TextoPainel(2), QStringLiteral("Execução interrompida pelo usuário."));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join(u'|')));

        // The same window and connection run the next statement, rows and all.
        w->Editor()->setText(QStringLiteral("SELECT Id, Nome FROM Tipos ORDER BY Id"));
        QVERIFY(Rodar(w));
        QCOMPARE(w->Modelo()->rowCount(), 3);
        QCOMPARE(c.Celula(0, 1), QStringLiteral("Ana & <Cia>"));
        QCOMPARE(w->TextoPainel(3), QStringLiteral("3 Registros Encontrados"));
    }

    // A script's batches go one call each, in order; a failing batch stops the script there and the
    // earlier ones stay done.
    void ScriptPeloServico()
    {
        CenarioTabela c;
        const QString script = QStringLiteral("INSERT INTO \"O'Brien]x\" VALUES (7, 'sete')\nGO\n"
                                              "INSERT INTO Inexistente VALUES (1)\nGO\n"
                                              "INSERT INTO \"O'Brien]x\" VALUES (8, 'oito')\n");
        frmTabela* w = c.Abrir(script, QStringLiteral("SqlEditor: "), false, url);
        QVERIFY(w);
        QVERIFY(!Rodar(w));
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        QVERIFY2(d.OpenConnection(url, true, false), qPrintable(d.ErrMsg()));
        QCOMPARE(d.RetValue(QStringLiteral("SELECT group_concat(Codigo) FROM \"O'Brien]x\" WHERE Codigo > 1")),
                 QVariant(QStringLiteral("7")));
        QVERIFY(d.ExecSql(QStringLiteral("DELETE FROM \"O'Brien]x\" WHERE Codigo > 1"), false));
    }
};

QUARRIX_TESTE(tst_frmTabelaWebService);
#include "tst_frmTabelaWebService.moc"
