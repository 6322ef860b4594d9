#include "bancoWeb.h"
#include "platform/mdlHttp.h"
#include "platform/mdlSoap.h"
#include "support/clientesLentos.h"
#include "support/registroTestes.h"
#include "webservice/clsWebServiceHost.h"

#include <QElapsedTimer>
#include <QFile>
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

// This process's resident memory, in kB.
long MemoriaKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith("VmRSS:"))
            return l.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

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

    // A thousand clients that send one header byte per second, and connect again whenever they are
    // dropped, leave every ordinary call from the same address answered at once, in bounded memory.
    void ClientesLentosNaoPrendemOHost()
    {
        QVERIFY2(ClientesLentos::PermitirArquivos(4096), "o limite de arquivos abertos não chega a 4096");
        clsWebServiceHost h(cs, QStringLiteral("WebData"));
        h.DefinirPrazoPedido(std::chrono::milliseconds(2000)); // so they are also cut and come back
        QString erro;
        QVERIFY2(h.Iniciar(QStringLiteral("127.0.0.1"), 0, &erro), qPrintable(erro));
        QCOMPARE(Version(Url(h)).status, 200);
        const long antes = MemoriaKb();
        ClientesLentos lentos(h.Porta(), 1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500)); // every slow client in
        qint64 pior = 0;
        for (int i = 0; i < 20; ++i) {
            QElapsedTimer t;
            t.start();
            const http::RespostaHttp r = Version(Url(h));
            pior = std::max(pior, t.elapsed());
            QVERIFY2(r.ok, qPrintable(r.erro));
            QCOMPARE(r.status, 200);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        QVERIFY2(pior < 1000, qPrintable(QStringLiteral("a chamada mais lenta levou %1 ms").arg(pior)));
        // More of them than the host keeps open: the oldest were dropped, and the time limit cut the rest.
        QVERIFY2(lentos.Reconexoes() >= 1000, qPrintable(QString::number(lentos.Reconexoes())));
        const long depois = MemoriaKb();
        QVERIFY2(depois - antes < 64 * 1024, qPrintable(QStringLiteral("%1 kB a mais").arg(depois - antes)));
    }

    // At its bound of open connections the host drops the one that has waited longest for its
    // request to be complete, takes the newest in, and still answers a complete request at once.
    void LimiteDeConexoesDerrubaAMaisAntiga()
    {
        clsWebServiceHost h(cs, QStringLiteral("WebData"));
        h.DefinirLimiteConexoes(3);
        QString erro;
        QVERIFY2(h.Iniciar(QStringLiteral("127.0.0.1"), 0, &erro), qPrintable(erro));
        std::vector<std::unique_ptr<ClienteLento>> lentos;
        for (int i = 0; i < 4; ++i) {
            lentos.push_back(std::make_unique<ClienteLento>(h.Porta()));
            QVERIFY(lentos.back()->conectado);
            QVERIFY(lentos.back()->Byte());
            std::this_thread::sleep_for(std::chrono::milliseconds(50)); // taken in, in this order
        }
        QVERIFY(!lentos[0]->Byte());
        QVERIFY(lentos[3]->Byte());
        const http::RespostaHttp r = Version(Url(h));
        QVERIFY2(r.ok, qPrintable(r.erro));
        QCOMPARE(r.status, 200);
    }

    // Over one raw connection: a client that waits for "100 Continue" before its body gets it, and
    // two requests sent back to back are both answered, in order, on the same connection.
    void ContinuacaoEPedidosEmSequencia()
    {
        clsWebServiceHost h(cs, QStringLiteral("WebData"));
        QString erro;
        QVERIFY2(h.Iniciar(QStringLiteral("127.0.0.1"), 0, &erro), qPrintable(erro));
        const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(quint16(h.Porta()));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QVERIFY(::connect(sock, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0);
        timeval espera{5, 0};
        ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &espera, sizeof espera);
        const auto enviar
            = [&](const QByteArray& b) { return ::send(sock, b.constData(), size_t(b.size()), 0) == b.size(); };
        const auto receber = [&](const QByteArray& ate, int vezes) {
            QByteArray r;
            char b[4096];
            while (r.count(ate) < vezes) {
                const ssize_t n = ::recv(sock, b, sizeof b, 0);
                if (n <= 0)
                    break;
                r.append(b, n);
            }
            return r;
        };
        const QString ns = QStringLiteral("http://www.quarrix.com.br/WebData");
        const QByteArray corpo = soap::Envelope(ns, QStringLiteral("Version"), {});
        const QByteArray cab
            = "POST /WebData.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: text/xml; charset=utf-8\r\n"
              "SOAPAction: \""
              + soap::AcaoPadrao(ns, QStringLiteral("Version")).toUtf8()
              + "\"\r\nContent-Length: " + QByteArray::number(corpo.size()) + "\r\n";
        QVERIFY(enviar(cab + "Expect: 100-continue\r\n\r\n"));
        QCOMPARE(receber("\r\n\r\n", 1), QByteArray("HTTP/1.1 100 Continue\r\n\r\n"));
        QVERIFY(enviar(corpo + cab + "\r\n" + corpo));
        const QByteArray respostas = receber("</soap:Envelope>", 2);
        ::close(sock);
        QCOMPARE(respostas.count("HTTP/1.1 200 OK"), 2);
        QCOMPARE(respostas.count("</VersionResult>"), 2);
        QVERIFY(!respostas.contains("100 Continue"));
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
