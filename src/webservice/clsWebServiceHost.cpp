#include "clsWebServiceHost.h"

#include "clsWebServiceHostHttp.h"

#include "connections/clsData.h"
#include "platform/clsMotorSqlite.h"
#include "platform/mdlDataSetEscrita.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlRespostaWeb.h"
#include "platform/mdlSoap.h"

#include <httplib.h>

namespace {

// Workers answering complete requests (the reader gathers them without one), and the
// connections the system keeps waiting to be accepted.
constexpr int Trabalhadores = 32;
constexpr int FilaConexoes = 512;

const char* const Metodos[] = {"OpenDataset", "OpenSchema", "ExecSql", "Version", "ConnectionType"};

std::string Esc(const QString& s)
{
    std::string r;
    datasetescrita::EscaparTexto(r, s);
    return r;
}

// Attribute values are written between double quotes.
std::string EscAtributo(const QString& s)
{
    std::string r = Esc(s);
    std::string q;
    for (char c : r) {
        if (c == '"')
            q += "&quot;";
        else
            q += c;
    }
    return q;
}

std::string InicioEnvelope()
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">"
           "<soap:Body>";
}
const char* const FimEnvelope = "</soap:Body></soap:Envelope>";

void Elemento(std::string& s, const char* nome, const QString& texto)
{
    if (texto.isEmpty()) {
        s += std::string("<") + nome + " />";
        return;
    }
    s += std::string("<") + nome + ">" + Esc(texto) + "</" + nome + ">";
}

// The text of a failure as the service's pages write it: the data layer's "Err:N" text with the
// context after a CR LF.
QString TextoFalha(const ErroDados& erro, const QString& contexto)
{
    return TextoErrMsg(erro) + QStringLiteral("\r\n") + contexto;
}

// An answer that is not SOAP: the status and a line for whoever reads it.
RespostaHost Texto(int status, const QString& texto)
{
    RespostaHost r;
    r.status = status;
    r.tipoConteudo = "text/plain; charset=utf-8";
    r.corpo = texto.toUtf8() + '\n';
    return r;
}

// "text/xml" from "Text/XML; charset=utf-8".
QByteArray TipoMidia(const QByteArray& tipoConteudo)
{
    const qsizetype fim = tipoConteudo.indexOf(';');
    return (fim < 0 ? tipoConteudo : tipoConteudo.left(fim)).trimmed().toLower();
}

QString SemBarraFinal(QString origem)
{
    origem = origem.trimmed();
    while (origem.endsWith(u'/'))
        origem.chop(1);
    return origem;
}

} // namespace

QByteArray RespostaHost::Tudo()
{
    if (!partes)
        return corpo;
    std::string s;
    while (partes(s)) {
    }
    partes = nullptr;
    corpo = QByteArray::fromStdString(s);
    return corpo;
}

RespostaHost FalhaSoap(const QString& codigo, const QString& texto)
{
    RespostaHost r;
    r.status = 500;
    std::string s = InicioEnvelope();
    s += "<soap:Fault><faultcode>" + Esc(codigo) + "</faultcode><faultstring>" + Esc(texto)
         + "</faultstring><detail /></soap:Fault>";
    s += FimEnvelope;
    r.corpo = QByteArray::fromStdString(s);
    return r;
}

clsWebServiceHost::clsWebServiceHost(const QString& connStr, const QString& classe, const QString& ns)
    : connStr(connStr), classe(classe), ns(ns.isEmpty() ? QStringLiteral("http://www.quarrix.com.br/") + classe : ns)
{}

clsWebServiceHost::~clsWebServiceHost() { Parar(); }

void clsWebServiceHost::PermitirOrigens(const QStringList& lista)
{
    origens.clear();
    for (const QString& o : lista)
        if (!SemBarraFinal(o).isEmpty())
            origens << SemBarraFinal(o);
}

bool clsWebServiceHost::EnderecoLocal(const QString& endereco)
{
    if (endereco.compare(u"localhost", Qt::CaseInsensitive) == 0 || endereco == u"::1")
        return true;
    const QStringList partes = endereco.split(u'.');
    if (partes.size() != 4 || partes[0] != u"127")
        return false;
    for (const QString& p : partes) {
        bool ok = false;
        const int n = p.toInt(&ok);
        if (!ok || n < 0 || n > 255)
            return false;
    }
    return true;
}

bool clsWebServiceHost::ChaveConfere(const PedidoHost& p) const
{
    if (chaveAcesso.isEmpty())
        return true;
    QByteArray dada = p.chave.trimmed();
    const QByteArray autorizacao = p.autorizacao.trimmed();
    if (dada.isEmpty() && autorizacao.left(7).toLower() == "bearer ")
        dada = autorizacao.mid(7).trimmed();
    // Compared in a time that does not tell how much of it was right.
    unsigned char diferenca = dada.size() == chaveAcesso.size() ? 0 : 1;
    for (qsizetype i = 0; i < chaveAcesso.size(); ++i)
        diferenca |= (i < dada.size() ? dada[i] : 0) ^ chaveAcesso[i];
    return diferenca == 0;
}

bool clsWebServiceHost::OrigemPermitida(const PedidoHost& p) const
{
    const QString origem = QString::fromUtf8(p.origem).trimmed();
    if (origem.isEmpty())
        return p.secFetchSite.trimmed().toLower() != "cross-site";
    return origens.contains(origem, Qt::CaseInsensitive);
}

QString clsWebServiceHost::ConnectionTypeServico() const
{
    QString provider;
    return MotorDoProvider(clsConnStr(connStr), provider) == TipoMotor::SqlServer ? QStringLiteral("SQL")
                                                                                  : QStringLiteral("ACCESS");
}

QString clsWebServiceHost::ErroConexao(const ErroDados& erro) const
{
    // The text goes to whoever calls the service: the connection string without its passwords.
    return TextoFalha(erro, QStringLiteral("ConnStr:") + MascararSenha(connStr));
}

namespace {

// A plain answer: the method's result (omitted when `resultado` is null) and strErrMsg.
RespostaHost Simples(const QString& ns, const QString& metodo, const QString* resultado, const QString* strErrMsg)
{
    RespostaHost r;
    const std::string m = metodo.toStdString();
    std::string s = InicioEnvelope();
    s += "<" + m + "Response xmlns=\"" + EscAtributo(ns) + "\">";
    if (resultado)
        Elemento(s, (m + "Result").c_str(), *resultado);
    if (strErrMsg)
        Elemento(s, "strErrMsg", *strErrMsg);
    s += "</" + m + "Response>";
    s += FimEnvelope;
    r.corpo = QByteArray::fromStdString(s);
    return r;
}

// A data set sent while it is written: the envelope's start, the data set in pieces, the end.
// `inteiros64`: the engine keeps every integer in 64 bits (SQLite), so integer columns are xs:long.
RespostaHost
Fluxo(const QString& ns, const QString& metodo, RecordsetPtr rs, const QString& strErrMsg, bool inteiros64 = false)
{
    struct Estado {
        std::string cabeca, cauda;
        datasetescrita::clsEscritorDataSet escritor;
        int fase = 0;
        Estado(RecordsetPtr rs, bool inteiros64) : escritor(std::move(rs), inteiros64) {}
    };
    auto e = std::make_shared<Estado>(std::move(rs), inteiros64);
    const std::string m = metodo.toStdString();
    e->cabeca = InicioEnvelope() + "<" + m + "Response xmlns=\"" + EscAtributo(ns) + "\"><" + m + "Result>";
    e->cauda = "</" + m + "Result>";
    Elemento(e->cauda, "strErrMsg", strErrMsg);
    e->cauda += "</" + m + "Response>" + FimEnvelope;
    RespostaHost r;
    r.partes = [e](std::string& s) {
        switch (e->fase) {
        case 0:
            s += e->cabeca;
            e->fase = 1;
            return true;
        case 1:
            if (e->escritor.Proximo(s))
                return true;
            s += e->cauda;
            e->fase = 2;
            return true;
        default: return false;
        }
    };
    return r;
}

// Text in SQLite is Unicode whatever its declaration, and long text has no length: the columns'
// catalog says so as the OLE DB catalog of a file database does (DATA_TYPE 130, and
// CHARACTER_MAXIMUM_LENGTH 0 for long text).
void ColunasUnicode(clsRecordset& rs)
{
    const int tipo = rs.IndiceCampo(QStringLiteral("DATA_TYPE"));
    const int tamanho = rs.IndiceCampo(QStringLiteral("CHARACTER_MAXIMUM_LENGTH"));
    const int octetos = rs.IndiceCampo(QStringLiteral("CHARACTER_OCTET_LENGTH"));
    if (tipo < 0 || tamanho < 0 || octetos < 0)
        return;
    const int trava = rs.LockType();
    rs.setLockType(ado::adLockBatchOptimistic); // changed here only, never written anywhere
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const int t = rs.Valor(tipo).toInt();
        if (t != ado::adChar && t != ado::adWChar)
            continue;
        const qint64 n = rs.Valor(tamanho).toLongLong() >= 1073741823 ? 0 : rs.Valor(tamanho).toLongLong();
        rs.DefinirValor(tipo, int(ado::adWChar));
        rs.DefinirValor(tamanho, n);
        rs.DefinirValor(octetos, n * 2);
        rs.Update();
    }
    rs.setLockType(trava);
    rs.MoveFirst();
}

} // namespace

RespostaHost
clsWebServiceHost::DataSetOuErro(const QString& metodo, const QString& strSql, const QString& strErrMsg) const
{
    clsData dados(ambiente);
    QString erro;
    if (!dados.OpenConnection(connStr, true, false)) {
        erro = ErroConexao(dados.Erro());
        return Simples(ns, metodo, nullptr, &erro);
    }
    RecordsetPtr rs;
    const bool ok = dados.OpenRecordset(rs, strSql, false, false, false);
    const bool sqlite = std::dynamic_pointer_cast<clsMotorSqlite>(dados.ActiveConnection()) != nullptr;
    dados.CloseConnection();
    if (!ok) {
        erro = TextoFalha(dados.Erro(), QStringLiteral("Querie:") + strSql);
        return Simples(ns, metodo, nullptr, &erro);
    }
    return Fluxo(ns, metodo, std::move(rs), strErrMsg, sqlite);
}

RespostaHost clsWebServiceHost::SchemaOuErro(const QHash<QString, QString>& a) const
{
    const QString metodo = QStringLiteral("OpenSchema");
    const QString strErrMsg = a.value(QStringLiteral("strErrMsg"));
    bool numero = false;
    const int intSchema = a.value(QStringLiteral("intSchema")).trimmed().toInt(&numero);
    if (!numero)
        return FalhaSoap(QStringLiteral("soap:Client"),
                         QStringLiteral("Server was unable to read request. ---> intSchema is not an integer."));
    switch (intSchema) {
    case 64: return DataSetOuErro(metodo, clsData::SqlFuncoes(), strErrMsg);
    case 128:
        return DataSetOuErro(
            metodo,
            QStringLiteral("SELECT sysObjects.Name as PROCEDURE_NAME, sysUsers.Name as PROCEDURE_SCHEMA "
                           "FROM sysObjects LEFT JOIN sysUsers on (sysUsers.uId = sysObjects.uId) "
                           "WHERE Type = 'P' ORDER BY sysObjects.Name"),
            strErrMsg);
    case 256: return DataSetOuErro(metodo, clsData::SqlBancosDados(), strErrMsg);
    case 2:
    case 4:
    case 8:
    case 16:
    case 32: break;
    default: return Simples(ns, metodo, nullptr, &strErrMsg); // other kinds give nothing
    }
    clsData dados(ambiente);
    QString erro;
    if (!dados.OpenConnection(connStr, true, false)) {
        erro = ErroConexao(dados.Erro());
        return Simples(ns, metodo, nullptr, &erro);
    }
    // The names travel as restrictions of the catalog request, never inside SQL text.
    const QString tabela = a.value(QStringLiteral("strTableName"));
    const QString tipo = a.value(QStringLiteral("strTableType"));
    const QString outra = a.value(QStringLiteral("strOtherTableName"));
    const QString view = a.value(QStringLiteral("strViewName"));
    const QString n;
    std::shared_ptr<clsMotor> m = dados.ActiveConnection();
    RecordsetPtr rs;
    bool ok = false;
    switch (intSchema) {
    case 2: ok = m->Schema(SchemaOleDb::Tabelas, {n, n, tabela, tipo}, rs); break;
    case 4: ok = m->Schema(SchemaOleDb::Colunas, {n, n, tabela, n}, rs); break;
    case 8: ok = m->Schema(SchemaOleDb::ChavesPrimarias, {n, n, tabela}, rs); break;
    case 16: ok = m->Schema(SchemaOleDb::ChavesEstrangeiras, {n, n, outra, n, n, tabela}, rs); break;
    default: ok = m->Schema(SchemaOleDb::Tabelas, {n, n, view, QStringLiteral("VIEW")}, rs); break;
    }
    if (!ok) {
        erro = TextoErrMsg(m->Erro());
        dados.CloseConnection();
        return Simples(ns, metodo, nullptr, &erro);
    }
    if (intSchema == 4 && std::dynamic_pointer_cast<clsMotorSqlite>(m))
        ColunasUnicode(*rs);
    dados.CloseConnection();
    return Fluxo(ns, metodo, std::move(rs), strErrMsg);
}

RespostaHost clsWebServiceHost::Metodo(const QString& metodo, const QHash<QString, QString>& a) const
{
    const QString strErrMsg = a.value(QStringLiteral("strErrMsg"));
    const QString strSql = a.value(QStringLiteral("strSql"));
    if (metodo == u"ConnectionType") {
        const QString t = ConnectionTypeServico();
        return Simples(ns, metodo, &t, nullptr);
    }
    if (metodo == u"Version") {
        const QString v = globais::ObterVersao();
        return Simples(ns, metodo, &v, nullptr);
    }
    if (metodo == u"OpenDataset")
        return DataSetOuErro(metodo, strSql, strErrMsg);
    if (metodo == u"OpenSchema")
        return SchemaOuErro(a);
    // ExecSql
    clsData dados(ambiente);
    QString erro;
    QString resultado = QStringLiteral("false");
    if (!dados.OpenConnection(connStr, true, false)) {
        erro = ErroConexao(dados.Erro());
    } else if (dados.ExecSql(strSql, false)) {
        resultado = QStringLiteral("true");
        erro = strErrMsg;
    } else {
        erro = TextoFalha(dados.Erro(), QStringLiteral("Querie:") + strSql);
    }
    dados.CloseConnection();
    return Simples(ns, metodo, &resultado, &erro);
}

RespostaHost clsWebServiceHost::Soap(const PedidoHost& p) const
{
    const QString naoLido = QStringLiteral("Server was unable to read request. ---> ");
    // A browser sends text/plain, form data or multipart to any address without asking; text/xml
    // and a SOAPAction header it sends only where the service allows it.
    if (TipoMidia(p.tipoConteudo) != "text/xml")
        return Texto(415,
                     QStringLiteral("Tipo de conteúdo não suportado: \"%1\". Envie SOAP 1.1 (text/xml com SOAPAction).")
                         .arg(QString::fromUtf8(p.tipoConteudo)));
    if (size_t(p.corpo.size()) > LimitePedido)
        return FalhaSoap(QStringLiteral("soap:Client"), naoLido + QStringLiteral("The request is too large."));
    QString acao = QString::fromUtf8(p.soapAction).trimmed();
    if (acao.size() >= 2 && acao.startsWith(u'"') && acao.endsWith(u'"'))
        acao = acao.mid(1, acao.size() - 2);
    QString metodo;
    for (const char* m : Metodos)
        if (!acao.isEmpty() && soap::AcaoPadrao(ns, QLatin1String(m)) == acao)
            metodo = QLatin1String(m);
    if (metodo.isEmpty())
        return FalhaSoap(QStringLiteral("soap:Client"),
                         QStringLiteral("Server did not recognize the value of HTTP Header SOAPAction: %1.").arg(acao));
    const respostaweb::RespostaWeb pedido = respostaweb::Ler(p.corpo);
    if (!pedido.ok)
        return FalhaSoap(QStringLiteral("soap:Client"), naoLido + pedido.erro);
    if (pedido.elemento.isEmpty() || pedido.comDataSet)
        return FalhaSoap(QStringLiteral("soap:Client"), naoLido + QStringLiteral("The SOAP body holds no call."));
    if (pedido.elemento != metodo)
        return FalhaSoap(
            QStringLiteral("soap:Client"),
            naoLido + QStringLiteral("The element %1 does not match the action %2.").arg(pedido.elemento, acao));
    return Metodo(metodo, pedido.textos);
}

RespostaHost clsWebServiceHost::Atender(const PedidoHost& p) const
{
    try {
        if (!OrigemPermitida(p))
            return Texto(403,
                         QStringLiteral("Chamadas de páginas de outros sites não são aceitas (origem \"%1\").")
                             .arg(QString::fromUtf8(p.origem.isEmpty() ? p.secFetchSite : p.origem)));
        if (!ChaveConfere(p))
            return Texto(401, QStringLiteral("Este serviço exige a chave de acesso (Authorization: Bearer)."));
        if (p.metodo != "GET" && p.metodo != "POST")
            return Texto(405, QStringLiteral("Use GET (?wsdl) or POST (SOAP 1.1)."));
        const QString caminho = QString::fromUtf8(p.caminho);
        if (!caminho.endsWith(u'/' + classe + QStringLiteral(".asmx"), Qt::CaseInsensitive))
            return Texto(404,
                         QStringLiteral("Não há serviço em %1; o serviço publicado é /%2.asmx.").arg(caminho, classe));
        if (p.metodo == "GET") {
            RespostaHost r;
            if (p.consulta.toLower() == "wsdl") {
                const QString host
                    = p.host.isEmpty() ? QStringLiteral("127.0.0.1:%1").arg(porta) : QString::fromUtf8(p.host);
                r.corpo = Wsdl(QStringLiteral("http://") + host + caminho);
                return r;
            }
            r.tipoConteudo = "text/html; charset=utf-8";
            std::string s
                = "<html><head><title>" + Esc(classe) + "</title></head><body><h1>" + Esc(classe)
                  + "</h1><p>Web service do Quarrix. Descrição: <a href=\"?wsdl\">?wsdl</a>. Métodos:</p><ul>";
            for (const char* m : Metodos)
                s += std::string("<li>") + m + "</li>";
            s += "</ul></body></html>";
            r.corpo = QByteArray::fromStdString(s);
            return r;
        }
        return Soap(p);
    } catch (const std::exception& e) {
        return FalhaSoap(
            QStringLiteral("soap:Server"),
            QStringLiteral("Server was unable to process request. ---> %1").arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        return FalhaSoap(QStringLiteral("soap:Server"), QStringLiteral("Server was unable to process request."));
    }
}

bool clsWebServiceHost::Iniciar(const QString& endereco, int portaPedida, QString* erro)
{
    Parar();
    hostleitor::clsLeitorPedidos::Limites limites;
    limites.prazoPedido = prazoPedido;
    limites.limiteBytes = LimitePedido;
    limites.conexoes = limiteConexoes;
    auto s = std::make_unique<clsWebServiceHostHttp>(limites, Trabalhadores);
    s->set_payload_max_length(LimitePedido);
    s->set_write_timeout(60, 0);
    s->set_keep_alive_max_count(100);
    auto atender = [this](const httplib::Request& req, httplib::Response& res) {
        PedidoHost p;
        p.metodo = QByteArray::fromStdString(req.method);
        p.caminho = QByteArray::fromStdString(req.path);
        const size_t q = req.target.find('?');
        if (q != std::string::npos)
            p.consulta = QByteArray::fromStdString(req.target.substr(q + 1));
        p.host = QByteArray::fromStdString(req.get_header_value("Host"));
        p.soapAction = QByteArray::fromStdString(req.get_header_value("SOAPAction"));
        p.tipoConteudo = QByteArray::fromStdString(req.get_header_value("Content-Type"));
        p.origem = QByteArray::fromStdString(req.get_header_value("Origin"));
        p.secFetchSite = QByteArray::fromStdString(req.get_header_value("Sec-Fetch-Site"));
        p.autorizacao = QByteArray::fromStdString(req.get_header_value("Authorization"));
        p.chave = QByteArray::fromStdString(req.get_header_value("X-Quarrix-Chave"));
        p.corpo = QByteArray::fromStdString(req.body);
        RespostaHost r = Atender(p);
        res.status = r.status;
        if (r.status == 405)
            res.set_header("Allow", "GET, POST");
        if (r.status == 401)
            res.set_header("WWW-Authenticate", "Bearer realm=\"Quarrix\"");
        if (!r.partes) {
            res.set_content(r.corpo.constData(), size_t(r.corpo.size()), r.tipoConteudo.toStdString());
            return;
        }
        res.set_chunked_content_provider(r.tipoConteudo.toStdString(),
                                         [partes = std::move(r.partes)](size_t, httplib::DataSink& sink) {
                                             try {
                                                 std::string bloco;
                                                 const bool mais = partes(bloco);
                                                 if (!bloco.empty() && !sink.write(bloco.data(), bloco.size()))
                                                     return false;
                                                 if (!mais)
                                                     sink.done();
                                                 return true;
                                             } catch (...) {
                                                 return false;
                                             }
                                         });
    };
    // Every other method (HEAD, which httplib would serve as GET, included) gets 405.
    s->set_pre_routing_handler([atender](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "GET" || req.method == "POST")
            return httplib::Server::HandlerResponse::Unhandled;
        atender(req, res);
        return httplib::Server::HandlerResponse::Handled;
    });
    s->Get(".*", atender);
    s->Post(".*", atender);
    const std::string host = endereco.toStdString();
    int obtida = portaPedida;
    if (portaPedida == 0)
        obtida = s->bind_to_any_port(host);
    else if (!s->bind_to_port(host, portaPedida))
        obtida = -1;
    if (obtida > 0 && !s->DefinirFila(FilaConexoes))
        obtida = -1;
    if (obtida <= 0) {
        if (erro)
            *erro = QStringLiteral("Não foi possível escutar em %1:%2 (endereço inválido ou porta em uso).")
                        .arg(endereco)
                        .arg(portaPedida);
        return false;
    }
    porta = obtida;
    servidor = std::move(s);
    linha = std::make_unique<std::thread>([srv = servidor.get()] { srv->Servir(); });
    return true;
}

void clsWebServiceHost::Aguardar()
{
    if (linha && linha->joinable())
        linha->join();
}

void clsWebServiceHost::Parar()
{
    if (servidor)
        servidor->stop();
    if (linha && linha->joinable())
        linha->join();
    linha.reset();
    servidor.reset();
}
