#include "bancoWeb.h"
#include "platform/mdlHttp.h"
#include "platform/mdlSoap.h"
#include "support/registroTestes.h"
#include "webservice/clsWebServiceHost.h"

#include <QElapsedTimer>
#include <QTest>
#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// A client that opens a connection and sends a request's headers one byte at a time, never ending.
class ClienteLento {
public:
    explicit ClienteLento(int porta)
    {
        sock = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(quint16(porta));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        conectado = sock >= 0 && ::connect(sock, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~ClienteLento()
    {
        if (sock >= 0)
            ::close(sock);
    }
    ClienteLento(const ClienteLento&) = delete;
    ClienteLento& operator=(const ClienteLento&) = delete;

    // Sends the next byte; false once the host closed the connection or answered it.
    bool Byte()
    {
        static const QByteArray pedido = "POST /WebData.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Lento: ";
        const char c = enviados < pedido.size() ? pedido[enviados] : 'a';
        ++enviados;
        if (::send(sock, &c, 1, MSG_NOSIGNAL) != 1)
            return false;
        char b;
        const ssize_t n = ::recv(sock, &b, 1, MSG_DONTWAIT);
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }

    bool conectado = false;

private:
    int sock = -1;
    qsizetype enviados = 0;
};

QString Url(const clsWebServiceHost& h) { return QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(h.Porta()); }

http::RespostaHttp Version(const QString& url)
{
    const QString ns = QStringLiteral("http://www.quarrix.com.br/WebData");
    http::Opcoes o;
    o.timeoutSegundos = 5;
    o.cabecalhos = {{"SOAPAction", '"' + soap::AcaoPadrao(ns, QStringLiteral("Version")).toUtf8() + '"'}};
    return http::Post(url, soap::Envelope(ns, QStringLiteral("Version"), {}), "text/xml; charset=utf-8", o);
}

} // namespace

// The host over loopback: what a client on the network can do to it.
class tst_clsWebServiceHostRede : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString cs;

private slots:
    void initTestCase() { cs = CriarBancoWeb(dir); }

    // Twenty clients that send one header byte per second leave the host answering others at once.
    void ClientesLentosNaoPrendemOHost()
    {
        clsWebServiceHost h(cs, QStringLiteral("WebData"));
        QString erro;
        QVERIFY2(h.Iniciar(QStringLiteral("127.0.0.1"), 0, &erro), qPrintable(erro));
        std::vector<std::unique_ptr<ClienteLento>> lentos;
        for (int i = 0; i < 20; ++i) {
            lentos.push_back(std::make_unique<ClienteLento>(h.Porta()));
            QVERIFY(lentos.back()->conectado);
        }
        std::atomic<bool> parar = false;
        std::thread gotejar([&] {
            for (int s = 0; s < 6 && !parar; ++s) { // bounded: at most six bytes each
                for (auto& c : lentos)
                    c->Byte();
                for (int i = 0; i < 10 && !parar; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(1500)); // every slow client taken in
        QElapsedTimer t;
        t.start();
        const http::RespostaHttp r = Version(Url(h));
        const qint64 ms = t.elapsed();
        parar = true;
        gotejar.join();
        QVERIFY2(r.ok, qPrintable(r.erro));
        QCOMPARE(r.status, 200);
        QVERIFY2(ms < 1000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
    }

    // Only GET (the description) and POST (calls) are served; the rest is refused as such.
    void OutrosMetodosRecebem405()
    {
        clsWebServiceHost h(cs, QStringLiteral("WebData"));
        QString erro;
        QVERIFY2(h.Iniciar(QStringLiteral("127.0.0.1"), 0, &erro), qPrintable(erro));
        httplib::Client cli("127.0.0.1", h.Porta());
        cli.set_read_timeout(5, 0);
        for (const char* metodo : {"PUT", "DELETE", "PATCH", "OPTIONS", "HEAD", "TRACE"}) {
            httplib::Request req;
            req.method = metodo;
            req.path = "/WebData.asmx";
            const httplib::Result r = cli.send(req);
            QVERIFY2(r, metodo);
            QCOMPARE(r->status, 405);
            QCOMPARE(QByteArray::fromStdString(r->get_header_value("Allow")), QByteArray("GET, POST"));
        }
    }

    // A request that keeps arriving is cut when its time is up, however steadily its bytes come.
    void PedidoSemFimEhCortado()
    {
        clsWebServiceHost h(cs, QStringLiteral("WebData"));
        h.DefinirPrazoPedido(std::chrono::milliseconds(1500));
        QString erro;
        QVERIFY2(h.Iniciar(QStringLiteral("127.0.0.1"), 0, &erro), qPrintable(erro));
        ClienteLento c(h.Porta());
        QVERIFY(c.conectado);
        QElapsedTimer t;
        t.start();
        bool cortado = false;
        while (!cortado && t.elapsed() < 8000) { // bounded
            cortado = !c.Byte();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        QVERIFY2(cortado, "o pedido seguiu aberto por 8 s");
        QVERIFY2(t.elapsed() < 3000, qPrintable(QStringLiteral("cortado após %1 ms").arg(t.elapsed())));
        // The host still serves.
        QCOMPARE(Version(Url(h)).status, 200);
    }
};
QUARRIX_TESTE(tst_clsWebServiceHostRede);
#include "tst_clsWebServiceHostRede.moc"
