#pragma once
// Quarrix's own web-service host: publishes one connection string over the same protocol as the
// page the generator writes. The service answers at ".../<Class>.asmx": its description with
// "?wsdl", and the SOAP 1.1 methods ConnectionType, Version, OpenDataset, OpenSchema and ExecSql,
// each call opening its own connection through clsData. Data sets are written while they are sent.
// A request that cannot be read gets HTTP 500 with a SOAP fault. Only what a web page in a browser
// cannot send on its own is served: a call must come as text/xml with a SOAPAction naming the method
// (415 otherwise), and a request carrying a foreign Origin (or Sec-Fetch-Site: cross-site) gets 403
// unless its origin was allowed. With an access key set, every request (the description included)
// must carry it ("Authorization: Bearer KEY" or "X-Quarrix-Chave: KEY"), or gets 401. Atender() serves one request without a network (tests call it
// directly); Iniciar() serves them over HTTP on a background thread.
#include "connections/clsAmbienteDados.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class clsWebServiceHostHttp;

struct PedidoHost {
    QByteArray metodo; // "GET" or "POST"
    QByteArray caminho; // "/WebData.asmx"
    QByteArray consulta; // "wsdl" (the query, without "?")
    QByteArray host; // the Host header, for the address the description gives
    QByteArray soapAction; // the SOAPAction header as sent
    QByteArray tipoConteudo; // the Content-Type header
    QByteArray origem; // the Origin header a browser adds ("http://site:porta")
    QByteArray secFetchSite; // the Sec-Fetch-Site header a browser adds
    QByteArray autorizacao; // the Authorization header ("Bearer KEY")
    QByteArray chave; // the X-Quarrix-Chave header
    QByteArray corpo;
};

struct RespostaHost {
    int status = 200;
    QByteArray tipoConteudo = "text/xml; charset=utf-8";
    QByteArray corpo;
    // Set for a streamed answer: appends the next piece, false once everything was given.
    std::function<bool(std::string&)> partes;

    // The whole answer (reads the pieces).
    QByteArray Tudo();
};

class clsWebServiceHost {
public:
    static constexpr size_t LimitePedido = size_t(1) << 20; // largest request body read
    static constexpr std::chrono::milliseconds PrazoPedidoPadrao{10000};
    static constexpr size_t LimiteConexoesPadrao = 512;

    // `ns` empty: "http://www.quarrix.com.br/" + classe.
    clsWebServiceHost(const QString& connStr, const QString& classe, const QString& ns = QString());
    ~clsWebServiceHost();

    QString Classe() const { return classe; }
    QString Namespace() const { return ns; }
    // "SQL" for a SQL Server back end, "ACCESS" for any other.
    QString ConnectionTypeServico() const;
    // Origins ("http://site:porta") whose pages may call the service; none unless given.
    void PermitirOrigens(const QStringList& origens);
    // The key every request must carry; empty: none.
    void ExigirChave(const QByteArray& chave) { chaveAcesso = chave; }
    // Whether `endereco` can be reached from this machine only ("127.0.0.1", "::1", "localhost").
    static bool EnderecoLocal(const QString& endereco);

    RespostaHost Atender(const PedidoHost& p) const;
    QByteArray Wsdl(const QString& endereco) const;

    // Listens on `endereco` ("127.0.0.1") and `porta` (0: any free one); false with the reason.
    bool Iniciar(const QString& endereco, int porta, QString* erro = nullptr);
    // The time a client has to send a whole request (headers and body), however steadily its bytes
    // come; then its connection is closed. Set before Iniciar().
    void DefinirPrazoPedido(std::chrono::milliseconds prazo) { prazoPedido = prazo; }
    // How many connections may be open with their request still incomplete (or waiting for a
    // worker); past it the one waiting longest is closed. Set before Iniciar().
    void DefinirLimiteConexoes(size_t limite) { limiteConexoes = limite; }
    int Porta() const { return porta; }
    // Blocks until Parar() (the program's main loop).
    void Aguardar();
    void Parar();

private:
    bool OrigemPermitida(const PedidoHost& p) const;
    bool ChaveConfere(const PedidoHost& p) const;
    RespostaHost Soap(const PedidoHost& p) const;
    RespostaHost Metodo(const QString& metodo, const QHash<QString, QString>& args) const;
    RespostaHost DataSetOuErro(const QString& metodo, const QString& strSql, const QString& strErrMsg) const;
    RespostaHost SchemaOuErro(const QHash<QString, QString>& args) const;
    QString ErroConexao(const ErroDados& erro) const;

    // The host answers nobody interactively: its connections get a silent prompt and default options.
    mutable clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
    QString connStr;
    QString classe;
    QString ns;
    QStringList origens;
    QByteArray chaveAcesso;
    std::unique_ptr<clsWebServiceHostHttp> servidor;
    std::unique_ptr<std::thread> linha;
    int porta = 0;
    std::chrono::milliseconds prazoPedido = PrazoPedidoPadrao;
    size_t limiteConexoes = LimiteConexoesPadrao;
};

// The SOAP fault ASP.NET answers with ("soap:Client" for a request it cannot read).
RespostaHost FalhaSoap(const QString& codigo, const QString& texto);
