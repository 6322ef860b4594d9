#include "mdlSoap.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace soap {

const QString NsEnvelope = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");

namespace {

const QString NsXsi = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
const QString NsXsd = QStringLiteral("http://www.w3.org/2001/XMLSchema");
const QString NsWsdl = QStringLiteral("http://schemas.xmlsoap.org/wsdl/");
const QString NsWsdlSoap11 = QStringLiteral("http://schemas.xmlsoap.org/wsdl/soap/");

// XML 1.0 carries tabs, line ends and the characters from blank up, except lone surrogate halves
// and the two non-characters at the top of the basic plane.
bool TextoXmlValido(const QString& s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < 0x20 && c != 0x9 && c != 0xA && c != 0xD)
            return false;
        if (c == 0xFFFE || c == 0xFFFF)
            return false;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= s.size() || !QChar::isLowSurrogate(s[i + 1].unicode()))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return false;
        }
    }
    return true;
}

QString TextoDoValor(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::Double:
    case QMetaType::Float: return QString::number(v.toDouble(), 'g', 17);
    default: return v.toString();
    }
}

// Text whose carriage returns survive the trip: a parser turns a raw CR LF into LF, a reference
// it keeps.
void EscreverTexto(QXmlStreamWriter& w, const QString& texto)
{
    const QStringList partes = texto.split(QLatin1Char('\r'));
    for (qsizetype i = 0; i < partes.size(); ++i) {
        if (i > 0)
            w.writeEntityReference(QStringLiteral("#xD"));
        if (!partes[i].isEmpty())
            w.writeCharacters(partes[i]);
    }
}

QString ErroXml(const QXmlStreamReader& x)
{
    return QStringLiteral("XML inválido na linha %1, coluna %2: %3")
        .arg(x.lineNumber())
        .arg(x.columnNumber())
        .arg(x.errorString());
}

bool Nulo(const QXmlStreamReader& x)
{
    const auto nil = x.attributes().value(NsXsi, QStringLiteral("nil"));
    return nil == QLatin1String("true") || nil == QLatin1String("1");
}

// One child of the answer element: plain text, or a data set when it holds elements.
bool LerValor(QXmlStreamReader& x, ValorSoap& v, datasetxml::Valores valores, QString& erro)
{
    v.nome = x.name().toString();
    v.nulo = Nulo(x);
    while (!x.atEnd()) {
        switch (x.readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference: v.texto += x.text(); break;
        case QXmlStreamReader::StartElement: {
            datasetxml::DataSetXml ds;
            bool presente = false;
            if (!datasetxml::LerDataSet(x, ds, erro, valores, &presente, true))
                return false;
            v.texto.clear();
            if (presente)
                v.dataSet = std::move(ds);
            return true; // LerDataSet stopped at this element's end
        }
        case QXmlStreamReader::EndElement: return true;
        default: break;
        }
    }
    erro = ErroXml(x);
    return false;
}

void LerFalha(QXmlStreamReader& x, RespostaSoap& r)
{
    r.falha = true;
    while (x.readNextStartElement()) {
        if (x.name() == QLatin1String("faultcode"))
            r.codigoFalha = x.readElementText(QXmlStreamReader::SkipChildElements);
        else if (x.name() == QLatin1String("faultstring"))
            r.textoFalha = x.readElementText(QXmlStreamReader::SkipChildElements);
        else
            x.skipCurrentElement();
    }
}

} // namespace

QString AcaoPadrao(const QString& alvo, const QString& metodo)
{
    return alvo + (alvo.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + metodo;
}

QByteArray Envelope(const QString& alvo, const QString& metodo, const Parametros& parametros, QString* erro)
{
    for (const auto& [nome, valor] : parametros) {
        if (!TextoXmlValido(TextoDoValor(valor))) {
            if (erro)
                *erro = QStringLiteral("O parâmetro %1 contém caracteres que não podem ser enviados em XML.").arg(nome);
            return {};
        }
    }
    QByteArray corpo;
    QXmlStreamWriter w(&corpo);
    w.writeStartDocument();
    w.writeNamespace(NsXsi, QStringLiteral("xsi"));
    w.writeNamespace(NsXsd, QStringLiteral("xsd"));
    w.writeNamespace(NsEnvelope, QStringLiteral("soap"));
    w.writeStartElement(NsEnvelope, QStringLiteral("Envelope"));
    w.writeStartElement(NsEnvelope, QStringLiteral("Body"));
    w.writeDefaultNamespace(alvo);
    w.writeStartElement(alvo, metodo);
    for (const auto& [nome, valor] : parametros) {
        w.writeStartElement(alvo, nome);
        if (!valor.isValid() || valor.isNull())
            w.writeAttribute(NsXsi, QStringLiteral("nil"), QStringLiteral("true"));
        else
            EscreverTexto(w, TextoDoValor(valor));
        w.writeEndElement();
    }
    w.writeEndDocument();
    if (erro)
        erro->clear();
    return corpo;
}

const ValorSoap* RespostaSoap::Valor(const QString& nome) const
{
    for (const ValorSoap& v : valores)
        if (v.nome == nome)
            return &v;
    return nullptr;
}

RespostaSoap LerResposta(const QByteArray& corpo, datasetxml::Valores valores)
{
    RespostaSoap r;
    QXmlStreamReader x(corpo);
    if (!x.readNextStartElement() || x.namespaceUri() != NsEnvelope || x.name() != QLatin1String("Envelope")) {
        r.erro = x.hasError() ? ErroXml(x) : QStringLiteral("A resposta do WebService não é um envelope SOAP.");
        return r;
    }
    bool temCorpo = false;
    while (x.readNextStartElement()) {
        if (x.namespaceUri() != NsEnvelope || x.name() != QLatin1String("Body")) {
            x.skipCurrentElement();
            continue;
        }
        temCorpo = true;
        if (!x.readNextStartElement())
            break; // an empty body
        if (x.namespaceUri() == NsEnvelope && x.name() == QLatin1String("Fault")) {
            LerFalha(x, r);
        } else {
            r.elemento = x.name().toString();
            while (x.readNextStartElement()) {
                ValorSoap v;
                if (!LerValor(x, v, valores, r.erro))
                    return r;
                r.valores << std::move(v);
            }
        }
        x.skipCurrentElement(); // the rest of the body
    }
    if (x.hasError()) {
        r.erro = ErroXml(x);
        return r;
    }
    if (!temCorpo) {
        r.erro = QStringLiteral("A resposta do WebService não tem corpo SOAP.");
        return r;
    }
    r.ok = true;
    return r;
}

DescricaoWsdl LerWsdl(const QByteArray& corpo)
{
    DescricaoWsdl d;
    QXmlStreamReader x(corpo);
    if (!x.readNextStartElement() || x.namespaceUri() != NsWsdl || x.name() != QLatin1String("definitions")) {
        d.erro = x.hasError() ? ErroXml(x) : QStringLiteral("O endereço não devolveu uma descrição WSDL.");
        return d;
    }
    d.alvo = x.attributes().value(QStringLiteral("targetNamespace")).toString();
    QString operacao; // the binding operation being read
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        const auto ns = x.namespaceUri();
        const auto nome = x.name();
        if (ns == NsWsdl && nome == QLatin1String("operation")) {
            operacao = x.attributes().value(QStringLiteral("name")).toString();
        } else if (ns == NsWsdlSoap11 && nome == QLatin1String("operation")) {
            if (!operacao.isEmpty() && !d.acoes.contains(operacao))
                d.acoes.insert(operacao, x.attributes().value(QStringLiteral("soapAction")).toString());
        } else if (ns == NsWsdlSoap11 && nome == QLatin1String("address") && d.endereco.isEmpty()) {
            d.endereco = x.attributes().value(QStringLiteral("location")).toString();
        }
    }
    if (x.hasError()) {
        d.erro = ErroXml(x);
        return d;
    }
    if (d.endereco.isEmpty()) {
        d.erro = QStringLiteral("A descrição WSDL não tem endereço SOAP 1.1.");
        return d;
    }
    d.ok = true;
    return d;
}

} // namespace soap
