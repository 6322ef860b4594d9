// A web-service call that does not answer leaves the program live: timers keep firing, a window
// offers "Cancelar" after a moment, and cancelling ends the call at once.
#include "gui/PromptJanelas.h"
#include "platform/mdlHttp.h"
#include "support/registroTestes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class tst_frmEsperaWebService : public QObject {
    Q_OBJECT
private slots:
    void CancelarUmServicoMudo()
    {
        // Accepts connections (the kernel completes them) but never answers.
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        QCOMPARE(::listen(fd, 4), 0);
        socklen_t tam = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &tam);

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
        const http::RespostaHttp r
            = http::Get(QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(ntohs(a.sin_port)), o);
        const qint64 ms = t.elapsed();
        http::DefinirEspera({});
        ::close(fd);
        QVERIFY(!r.ok);
        QCOMPARE(r.erro, QStringLiteral("A chamada ao WebService foi cancelada pelo usuário."));
        QVERIFY(janelaVista);
        QVERIFY2(ms < 2000, qPrintable(QString::number(ms)));
        // The 10 ms timer kept firing while the call waited.
        QVERIFY2(batidas >= 40, qPrintable(QString::number(batidas)));
    }
};

QUARRIX_TESTE(tst_frmEsperaWebService);
#include "tst_frmEsperaWebService.moc"
