// OpenDataset of 100,000 rows x 5 columns through the web-service host on loopback, against a direct
// clsData read of the same rows; and the speed of reading the answer's XML.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "connections/clsWebServiceData.h"
#include "platform/clsMotor.h"
#include "platform/mdlHttp.h"
#include "platform/mdlRespostaWeb.h"
#include "platform/mdlSoap.h"
#include "webservice/clsWebServiceHost.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Linhas = 100000;
constexpr int Voltas = 5;
const QString Sql = QStringLiteral("SELECT Id, Nome, Valor, Quando, Ativo FROM Dados");

template <typename F> double Mediana(F f)
{
    std::vector<double> t;
    for (int i = 0; i < Voltas; ++i) {
        QElapsedTimer r;
        r.start();
        f();
        t.push_back(r.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void Ler(clsData& d, const char* rotulo)
{
    RecordsetPtr rs;
    if (!d.OpenRecordset(rs, Sql, false, false, false) || rs->RecordCount() != Linhas || rs->FieldCount() != 5) {
        std::fprintf(stderr, "%s: leitura falhou: %s\n", rotulo, qPrintable(d.ErrMsg()));
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString arquivo = dir.filePath(QStringLiteral("bench.db"));
    ErroDados erro;
    CriarBancoArquivo(arquivo, erro);
    const QString cs = MontarConnStrAccess(arquivo, QString(), QString());
    clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
    clsData direto(ambiente);
    if (!direto.OpenConnection(cs, true, false)
        || !direto.ExecSql(QStringLiteral("CREATE TABLE Dados (Id INTEGER PRIMARY KEY, Nome TEXT, Valor REAL, "
                                          "Quando DATETIME, Ativo BOOLEAN)"),
                           false)
        || !direto.ExecSql(QStringLiteral("INSERT INTO Dados WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                          "FROM n WHERE i < %1) SELECT i, 'Cliente ' || i || ' & filhos', i * 1.25, "
                                          "datetime(1700000000 + i * 60, 'unixepoch'), i % 2 FROM n")
                               .arg(Linhas),
                           false)) {
        std::fprintf(stderr, "%s\n", qPrintable(direto.ErrMsg()));
        return 1;
    }

    clsWebServiceHost host(cs, QStringLiteral("WebData"));
    QString e;
    if (!host.Iniciar(QStringLiteral("127.0.0.1"), 0, &e)) {
        std::fprintf(stderr, "%s\n", qPrintable(e));
        return 1;
    }
    const QString url = QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(host.Porta());
    clsData web(ambiente);
    if (!web.OpenConnection(url, true, false)) {
        std::fprintf(stderr, "%s\n", qPrintable(web.ErrMsg()));
        return 1;
    }

    Ler(direto, "direto");
    Ler(web, "web");
    const double tDireto = Mediana([&] { Ler(direto, "direto"); });
    const double tWeb = Mediana([&] { Ler(web, "web"); });

    // The answer's body alone, read again and again.
    const QString ns = host.Namespace();
    http::Opcoes o;
    o.cabecalhos = {{"SOAPAction", soap::AcaoPadrao(ns, QStringLiteral("OpenDataset")).toUtf8()}};
    const http::RespostaHttp r = http::Post(
        url,
        soap::Envelope(ns,
                       QStringLiteral("OpenDataset"),
                       {{QStringLiteral("strSql"), Sql}, {QStringLiteral("strErrMsg"), QStringLiteral("")}}),
        "text/xml; charset=utf-8",
        o);
    const double tLer = Mediana([&] {
        const respostaweb::RespostaWeb lida = respostaweb::Ler(r.corpo);
        if (!lida.dataSet || lida.dataSet->RecordCount() != Linhas)
            std::exit(1);
    });
    const double tHttp = Mediana([&] {
        http::Post(url,
                   soap::Envelope(ns,
                                  QStringLiteral("OpenDataset"),
                                  {{QStringLiteral("strSql"), Sql}, {QStringLiteral("strErrMsg"), QStringLiteral("")}}),
                   "text/xml; charset=utf-8",
                   o);
    });
    PedidoHost pedido;
    pedido.metodo = "POST";
    pedido.caminho = "/WebData.asmx";
    pedido.tipoConteudo = "text/xml; charset=utf-8";
    pedido.soapAction = soap::AcaoPadrao(ns, QStringLiteral("OpenDataset")).toUtf8();
    pedido.corpo = soap::Envelope(ns,
                                  QStringLiteral("OpenDataset"),
                                  {{QStringLiteral("strSql"), Sql}, {QStringLiteral("strErrMsg"), QStringLiteral("")}});
    // The host's pieces as the server sends them: each one written and dropped.
    const double tHost = Mediana([&] {
        const RespostaHost resposta = host.Atender(pedido);
        std::string peca;
        while (resposta.partes && resposta.partes(peca))
            peca.clear();
    });
    const double mbs = r.corpo.size() / 1e6 / (tLer / 1000);
    const double razao = tWeb / tDireto;

    std::printf("webservice: OpenDataset de %d linhas x 5 colunas (mediana de %d)\n", Linhas, Voltas);
    std::printf("  clsData direto (SQLite)       %8.1f ms\n", tDireto);
    std::printf("  clsData pelo host (loopback)  %8.1f ms\n", tWeb);
    std::printf("  razao web/direto              %8.2f   (meta <= 2)      %s\n", razao, razao <= 2 ? "ok" : "ACIMA");
    std::printf("  XML da resposta               %8.1f MB\n", r.corpo.size() / 1e6);
    std::printf("  leitura do XML no cliente     %8.1f ms = %.0f MB/s (meta >= 500) %s\n",
                tLer,
                mbs,
                mbs >= 500 ? "ok" : "ABAIXO");
    std::printf("  partes: host (ler + escrever) %.1f ms; chamada HTTP sem leitura do XML %.1f ms\n", tHost, tHttp);
    host.Parar();
    return 0;
}
