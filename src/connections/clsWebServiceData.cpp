#include "clsWebServiceData.h"

#include "platform/mdlHttp.h"
#include "platform/mdlRespostaWeb.h"

namespace {

// Service descriptions are small; a larger one is not what this client talks to.
constexpr qint64 LimiteWsdl = qint64(8) << 20;

QVariant Texto(const QString& s) { return QVariant(s.isNull() ? QStringLiteral("") : s); }

const char* const TextoChaveRecusada
    = "O WebService pede uma chave de acesso, e a chave dada não foi aceita (HTTP 401).";

} // namespace

struct clsWebServiceData::Chamada {
    QString erroLocal; // what failed on this side (or in the transport)
    respostaweb::RespostaWeb resposta;
    QString StrErrMsg() const { return resposta.textos.value(QStringLiteral("strErrMsg")); }
};

void clsWebServiceData::setWebServiceUrl(const QString& valor)
{
    url = valor;
    if (url.right(5).toLower() != u"?wsdl")
        url += QStringLiteral("?wsdl");
}

bool clsWebServiceData::DllCheck()
{
    // The HTTP client and the XML readers are part of the program.
    setErrMsg(QString());
    return true;
}

void clsWebServiceData::Interromper()
{
    std::lock_guard trava(travaParada);
    if (parada)
        parada->Parar();
}

clsWebServiceData::Chamada clsWebServiceData::Chamar(const QString& metodo, const soap::Parametros& parametros)
{
    Chamada c;
    chaveRecusada = false;
    http::Opcoes opcoes;
    opcoes.parada = std::make_shared<http::Parada>();
    {
        std::lock_guard trava(travaParada);
        parada = opcoes.parada;
    }
    opcoes.timeoutSegundos = Timeout();
    opcoes.limiteBytes = LimiteWsdl;
    if (!chave.isEmpty())
        opcoes.cabecalhos << qMakePair(QByteArray("Authorization"), "Bearer " + chave.toUtf8());
    const http::RespostaHttp w = http::Get(url, opcoes);
    if (!w.ok) {
        c.erroLocal = w.erro;
        return c;
    }
    if (w.status == 401) {
        chaveRecusada = true;
        c.erroLocal = QString::fromUtf8(TextoChaveRecusada);
        return c;
    }
    if (w.status != 200) {
        c.erroLocal
            = QStringLiteral("O endereço %1 não devolveu a descrição do WebService (HTTP %2).").arg(url).arg(w.status);
        return c;
    }
    const soap::DescricaoWsdl d = soap::LerWsdl(w.corpo);
    if (!d.ok) {
        c.erroLocal = d.erro;
        return c;
    }
    QString erro;
    const QByteArray envelope = soap::Envelope(d.alvo, metodo, parametros, &erro);
    if (envelope.isEmpty()) {
        c.erroLocal = erro;
        return c;
    }
    const QString acao = d.acoes.value(metodo, soap::AcaoPadrao(d.alvo, metodo));
    opcoes.limiteBytes = http::Opcoes().limiteBytes;
    opcoes.cabecalhos << qMakePair(QByteArray("SOAPAction"), '"' + acao.toUtf8() + '"');
    // The answer is read while it arrives; the reading outlives a call the user cancelled.
    auto lida = std::make_shared<respostaweb::RespostaWeb>();
    opcoes.leitor = [lida](const http::CorpoCrescente& corpo) { *lida = respostaweb::Ler(corpo); };
    const http::RespostaHttp r = http::Post(d.endereco, envelope, "text/xml; charset=utf-8", opcoes);
    if (!r.ok) {
        c.erroLocal = r.erro;
        return c;
    }
    if (r.status == 401) {
        chaveRecusada = true;
        c.erroLocal = QString::fromUtf8(TextoChaveRecusada);
        return c;
    }
    c.resposta = std::move(*lida);
    if (!c.resposta.ok) {
        c.erroLocal = (r.status != 200 ? QStringLiteral("O WebService respondeu com o código HTTP %1. ").arg(r.status)
                                       : QString())
                      + c.resposta.erro;
    } else if (c.resposta.falha) {
        c.erroLocal = QStringLiteral("O WebService recusou a chamada %1 (%2): %3")
                          .arg(metodo, c.resposta.codigoFalha, c.resposta.textoFalha);
    } else if (r.status != 200) {
        c.erroLocal = QStringLiteral("O WebService respondeu com o código HTTP %1.").arg(r.status);
    }
    return c;
}

void clsWebServiceData::FalhaChamada(const Chamada& c, const QString& sufixo)
{
    const QString servico = c.StrErrMsg();
    setErrMsg(c.erroLocal + (!c.erroLocal.isEmpty() && !servico.isEmpty() ? QStringLiteral("\n") : QString()) + servico
              + sufixo);
}

bool clsWebServiceData::DataSet(RecordsetPtr& objRst, Chamada& c, const QString& sufixo)
{
    objRst.reset();
    if (!c.erroLocal.isEmpty() || !c.StrErrMsg().isEmpty()) {
        FalhaChamada(c, sufixo);
        return false;
    }
    if (!c.resposta.erroDataSet.isEmpty()) {
        setErrMsg(QStringLiteral("WebErr: ") + c.resposta.erroDataSet);
        dataSetInvalido = true;
        return false;
    }
    if (!c.resposta.comDataSet || !c.resposta.dataSet) {
        setErrMsg(QStringLiteral("WebErr: O WebService não devolveu um conjunto de dados."));
        dataSetInvalido = true;
        return false;
    }
    objRst = std::move(c.resposta.dataSet);
    return true;
}

QString clsWebServiceData::ConnectionType()
{
    const Chamada c = Chamar(QStringLiteral("ConnectionType"), {});
    if (!c.erroLocal.isEmpty()) {
        setErrMsg(c.erroLocal);
        return QString();
    }
    return c.resposta.textos.value(QStringLiteral("ConnectionTypeResult"));
}

bool clsWebServiceData::OpenDataset(RecordsetPtr& objRst, const QString& strSql)
{
    Chamada c = Chamar(QStringLiteral("OpenDataset"),
                       {{QStringLiteral("strSql"), Texto(strSql)}, {QStringLiteral("strErrMsg"), Texto(QString())}});
    return DataSet(objRst, c, QStringLiteral("\nQuerie:") + strSql);
}

bool clsWebServiceData::OpenSchema(RecordsetPtr& objRst,
                                   int intSchema,
                                   const QString& strTableName,
                                   const QString& strTableType,
                                   const QString& strOtherTableName,
                                   const QString& strViewName)
{
    Chamada c = Chamar(QStringLiteral("OpenSchema"),
                       {{QStringLiteral("intSchema"), QVariant(intSchema)},
                        {QStringLiteral("strTableName"), Texto(strTableName)},
                        {QStringLiteral("strTableType"), Texto(strTableType)},
                        {QStringLiteral("strOtherTableName"), Texto(strOtherTableName)},
                        {QStringLiteral("strViewName"), Texto(strViewName)},
                        {QStringLiteral("strErrMsg"), Texto(QString())}});
    return DataSet(objRst, c, QString());
}

QVariant clsWebServiceData::RetValue(const QString& strSql)
{
    RecordsetPtr rs;
    return OpenDataset(rs, strSql) ? PrimeiroValor(rs) : QVariant();
}

bool clsWebServiceData::ExecSql(const QString& strSql)
{
    const Chamada c
        = Chamar(QStringLiteral("ExecSql"),
                 {{QStringLiteral("strSql"), Texto(strSql)}, {QStringLiteral("strErrMsg"), Texto(QString())}});
    if (c.erroLocal.isEmpty() && c.resposta.textos.value(QStringLiteral("ExecSqlResult")).trimmed() == u"true")
        return true;
    if (!c.erroLocal.isEmpty() || !c.StrErrMsg().isEmpty())
        FalhaChamada(c, QStringLiteral("\nQuerie:") + strSql);
    return false;
}
