// Ordinary calls to the web-service host on loopback while 1,000 clients send their requests one
// byte per second (and connect again whenever they are dropped), against the same calls to an idle
// host: the time of each call and the process's memory.
#include "../memoriaProcesso.h"
#include "connections/clsData.h"
#include "platform/clsMotor.h"
#include "platform/mdlHttp.h"
#include "platform/mdlSoap.h"
#include "support/clientesLentos.h"
#include "webservice/clsWebServiceHost.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Lentos = 1000;
constexpr int Chamadas = 50;

struct Tempos {
    double mediana = 0, pior = 0;
    int falhas = 0;
};

Tempos Chamar(const QString& url, const QString& ns)
{
    http::Opcoes o;
    o.timeoutSegundos = 10;
    o.cabecalhos = {{"SOAPAction", '"' + soap::AcaoPadrao(ns, QStringLiteral("Version")).toUtf8() + '"'}};
    const QByteArray envelope = soap::Envelope(ns, QStringLiteral("Version"), {});
    std::vector<double> t;
    Tempos r;
    for (int i = 0; i < Chamadas; ++i) {
        QElapsedTimer relogio;
        relogio.start();
        const http::RespostaHttp resposta = http::Post(url, envelope, "text/xml; charset=utf-8", o);
        t.push_back(relogio.nsecsElapsed() / 1e6);
        if (!resposta.ok || resposta.status != 200)
            ++r.falhas;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::sort(t.begin(), t.end());
    r.mediana = t[t.size() / 2];
    r.pior = t.back();
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!ClientesLentos::PermitirArquivos(4096)) {
        std::fprintf(stderr, "o limite de arquivos abertos não chega a 4096\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString arquivo = dir.filePath(QStringLiteral("bench.db"));
    ErroDados erro;
    CriarBancoArquivo(arquivo, erro);
    clsWebServiceHost host(MontarConnStrAccess(arquivo, QString(), QString()), QStringLiteral("WebData"));
    QString e;
    if (!host.Iniciar(QStringLiteral("127.0.0.1"), 0, &e)) {
        std::fprintf(stderr, "%s\n", qPrintable(e));
        return 1;
    }
    const QString url = QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(host.Porta());
    const Tempos livre = Chamar(url, host.Namespace());
    const long memLivre = MemoriaProcessoKb("VmRSS:");
    Tempos cercado;
    int reconexoes = 0;
    long memCercado = 0;
    {
        ClientesLentos lentos(host.Porta(), Lentos);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        cercado = Chamar(url, host.Namespace());
        memCercado = MemoriaProcessoKb("VmRSS:");
        reconexoes = lentos.Reconexoes();
    }
    const double razao = cercado.mediana / std::max(livre.mediana, 0.001);
    std::printf("webservice: %d chamadas Version, host livre e com %d clientes lentos (1 byte/s, reconectando)\n",
                Chamadas,
                Lentos);
    std::printf("  host livre                 mediana %7.2f ms  pior %7.2f ms  falhas %d\n",
                livre.mediana,
                livre.pior,
                livre.falhas);
    std::printf("  com clientes lentos        mediana %7.2f ms  pior %7.2f ms  falhas %d  (meta: pior < 1000 ms) %s\n",
                cercado.mediana,
                cercado.pior,
                cercado.falhas,
                cercado.pior < 1000 && cercado.falhas == 0 ? "ok" : "ACIMA");
    std::printf("  razao mediana lentos/livre %7.2f\n", razao);
    std::printf("  reconexoes dos lentos      %d\n", reconexoes);
    std::printf("  memoria residente          %ld kB livre, %ld kB com os lentos (+%ld kB)\n",
                memLivre,
                memCercado,
                memCercado - memLivre);
    host.Parar();
    return 0;
}
