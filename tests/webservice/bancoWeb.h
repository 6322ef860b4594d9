#pragma once
// A small SQLite file for the web-service tests, and a hostile or foreign "service" that answers
// every SOAP call with a fixed body (the host of the data set under test is not ours).
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "fixturesSoap.h"
#include "platform/clsMotor.h"
#include "webservice/clsWebServiceHost.h"

#include <QTemporaryDir>
#include <QTest>
#include <httplib.h>
#include <memory>
#include <thread>

// Tipos: one row per case of the type mapping, a null, an empty text and a long binary value.
inline QString CriarBancoWeb(const QTemporaryDir& dir)
{
    const QString arquivo = dir.filePath(QStringLiteral("web.db"));
    ErroDados erro;
    if (!CriarBancoArquivo(arquivo, erro))
        qFatal("%s", qPrintable(erro.descricao));
    const QString cs = MontarConnStrAccess(arquivo, QString(), QString());
    clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
    clsData d(ambiente);
    if (!d.OpenConnection(cs, true, false))
        qFatal("%s", qPrintable(d.ErrMsg()));
    const char* comandos[] = {
        "CREATE TABLE Tipos (Id INTEGER PRIMARY KEY, Pequeno SMALLINT, Nome TEXT, Ativo BOOLEAN, Preco REAL, "
        "Quando DATETIME, Foto BLOB)",
        "INSERT INTO Tipos VALUES (1, 7, 'Ana & <Cia>', 1, 1.5, '2024-05-01 10:20:30', x'00ff')",
        "INSERT INTO Tipos VALUES (2, -8, NULL, 0, NULL, NULL, NULL)",
        "INSERT INTO Tipos VALUES (3, NULL, '', NULL, NULL, NULL, zeroblob(300))",
        "CREATE TABLE \"O'Brien]x\" (Codigo INTEGER, Texto TEXT)",
        "INSERT INTO \"O'Brien]x\" VALUES (1, 'linha 1' || char(13) || char(10) || 'linha 2')",
    };
    for (const char* c : comandos)
        if (!d.ExecSql(QString::fromUtf8(c), false))
            qFatal("%s", qPrintable(d.ErrMsg()));
    return cs;
}

// Our host over loopback, publishing a fresh file made by CriarBancoWeb; with `chave`, every call
// must carry that access key. `url` stays empty when the host did not start (`erro` says why).
struct HostWeb {
    QTemporaryDir dir;
    std::unique_ptr<clsWebServiceHost> host;
    QString url, erro;
    explicit HostWeb(const QByteArray& chave = {})
    {
        host = std::make_unique<clsWebServiceHost>(CriarBancoWeb(dir), QStringLiteral("WebData"));
        if (!chave.isEmpty())
            host->ExigirChave(chave);
        if (host->Iniciar(QStringLiteral("127.0.0.1"), 0, &erro))
            url = QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(host->Porta());
    }
};

// Answers GET with the kept description (its address pointing here) and POST with `corpo`; with
// `pedaco`, in pieces of that many bytes a millisecond apart.
class ServicoFixo {
public:
    explicit ServicoFixo(QByteArray corpo, int status = 200, qsizetype pedaco = 0)
        : corpo(std::move(corpo)), status(status), pedaco(pedaco)
    {
        porta = srv.bind_to_any_port("127.0.0.1");
        QByteArray wsdl = FixtureSoap("webdata.wsdl");
        wsdl.replace("http://127.0.0.1:8080/WebData.asmx",
                     "http://127.0.0.1:" + QByteArray::number(porta) + "/WebData.asmx");
        srv.Get(".*", [wsdl](const httplib::Request&, httplib::Response& res) {
            res.set_content(wsdl.toStdString(), "text/xml; charset=utf-8");
        });
        srv.Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
            acao = QByteArray::fromStdString(req.get_header_value("SOAPAction"));
            pedido = QByteArray::fromStdString(req.body);
            res.status = this->status;
            if (this->pedaco == 0) {
                res.set_content(this->corpo.toStdString(), "text/xml; charset=utf-8");
                return;
            }
            res.set_chunked_content_provider("text/xml; charset=utf-8", [this](size_t feito, httplib::DataSink& sink) {
                const qsizetype n = qMin(this->pedaco, this->corpo.size() - qsizetype(feito));
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                if (n > 0)
                    return sink.write(this->corpo.constData() + feito, size_t(n));
                sink.done();
                return true;
            });
        });
        linha = std::thread([this] { srv.listen_after_bind(); });
    }
    ~ServicoFixo()
    {
        srv.stop();
        linha.join();
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(porta); }

    QByteArray acao; // SOAPAction of the last call
    QByteArray pedido; // its body

private:
    httplib::Server srv;
    QByteArray corpo;
    int status;
    qsizetype pedaco;
    int porta = 0;
    std::thread linha;
};
