// A web-service call that does not answer leaves the program live: timers keep firing, a window
// offers "Cancelar" after a moment, and cancelling ends the call at once.
#include "gui/PromptJanelas.h"
#include "platform/mdlHttp.h"
#include "support/portaLocal.h"
#include "support/registroTestes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTest>
#include <QThread>
#include <QTimer>

class tst_frmEsperaWebService : public QObject {
    Q_OBJECT
private slots:
    void CancelarUmServicoMudo()
    {
        PortaLocal muda(true); // accepts connections, never answers
        InstalarEsperaWebService();
        int batidas = 0;
        QTimer relogio;
        connect(&relogio, &QTimer::timeout, this, [&] { ++batidas; });
        relogio.start(10);
        bool janelaVista = false;
        QTimer::singleShot(800, this, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->isVisible()) {
                    janelaVista = d->objectName() == "frmEsperaWebService" && d->labelText().startsWith("Aguardando");
                    d->cancel();
                }
        });
        http::Opcoes o;
        o.timeoutSegundos = 30;
        QElapsedTimer t;
        t.start();
        const http::RespostaHttp r = http::Get(QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(muda.numero), o);
        const qint64 ms = t.elapsed();
        http::DefinirEspera({});
        QVERIFY(!r.ok);
        QCOMPARE(r.erro, QStringLiteral("A chamada ao WebService foi cancelada pelo usuário."));
        QVERIFY(janelaVista);
        QVERIFY2(ms < 2000, qPrintable(QString::number(ms)));
        // The 10 ms timer kept firing while the call waited.
        QVERIFY2(batidas >= 40, qPrintable(QString::number(batidas)));
    }

    // A call made on a worker thread (a query window's run) waits there: no window is made off the
    // GUI thread, and the call ends at its own time limit.
    void ChamadaNaLinhaNaoAbreJanela()
    {
        PortaLocal muda(true);
        InstalarEsperaWebService();
        http::Opcoes o;
        o.timeoutSegundos = 1;
        http::RespostaHttp r;
        QThread* linha = QThread::create(
            [&] { r = http::Get(QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(muda.numero), o); });
        linha->start();
        bool janela = false;
        QVERIFY(QTest::qWaitFor(
            [&] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    janela = janela || qobject_cast<QProgressDialog*>(w);
                return linha->isFinished();
            },
            20000));
        delete linha;
        http::DefinirEspera({});
        QVERIFY(!r.ok);
        QVERIFY(r.erro != QStringLiteral("A chamada ao WebService foi cancelada pelo usuário."));
        QVERIFY(!janela);
    }
};

QUARRIX_TESTE(tst_frmEsperaWebService);
#include "tst_frmEsperaWebService.moc"
