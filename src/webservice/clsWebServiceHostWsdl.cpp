// The service description the host publishes at "?wsdl": the same methods, parameters and SOAP 1.1
// document/literal binding as the generated page's, with the address the caller used.
#include "clsWebServiceHost.h"

#include "platform/mdlSoap.h"

#include <QXmlStreamWriter>

namespace {

struct Parametro {
    const char* nome;
    const char* tipo; // "s:string", "s:int", "s:boolean", or nullptr for a data set
    bool obrigatorio;
};

struct Operacao {
    const char* nome;
    std::vector<Parametro> entrada;
    std::vector<Parametro> saida;
};

const std::vector<Operacao>& Operacoes()
{
    static const std::vector<Operacao> ops = {
        {"OpenDataset",
         {{"strSql", "s:string", false}, {"strErrMsg", "s:string", false}},
         {{"OpenDatasetResult", nullptr, false}, {"strErrMsg", "s:string", false}}},
        {"OpenSchema",
         {{"intSchema", "s:int", true},
          {"strTableName", "s:string", false},
          {"strTableType", "s:string", false},
          {"strOtherTableName", "s:string", false},
          {"strViewName", "s:string", false},
          {"strErrMsg", "s:string", false}},
         {{"OpenSchemaResult", nullptr, false}, {"strErrMsg", "s:string", false}}},
        {"ExecSql",
         {{"strSql", "s:string", false}, {"strErrMsg", "s:string", false}},
         {{"ExecSqlResult", "s:boolean", true}, {"strErrMsg", "s:string", false}}},
        {"Version", {}, {{"VersionResult", "s:string", false}}},
        {"ConnectionType", {}, {{"ConnectionTypeResult", "s:string", false}}},
    };
    return ops;
}

const QString NsWsdl = QStringLiteral("http://schemas.xmlsoap.org/wsdl/");
const QString NsSoap = QStringLiteral("http://schemas.xmlsoap.org/wsdl/soap/");
const QString NsS = QStringLiteral("http://www.w3.org/2001/XMLSchema");

void Sequencia(QXmlStreamWriter& w, const QString& nome, const std::vector<Parametro>& ps)
{
    w.writeStartElement(NsS, QStringLiteral("element"));
    w.writeAttribute(QStringLiteral("name"), nome);
    w.writeStartElement(NsS, QStringLiteral("complexType"));
    if (!ps.empty()) {
        w.writeStartElement(NsS, QStringLiteral("sequence"));
        for (const Parametro& p : ps) {
            w.writeStartElement(NsS, QStringLiteral("element"));
            w.writeAttribute(QStringLiteral("minOccurs"), p.obrigatorio ? QStringLiteral("1") : QStringLiteral("0"));
            w.writeAttribute(QStringLiteral("maxOccurs"), QStringLiteral("1"));
            w.writeAttribute(QStringLiteral("name"), QLatin1String(p.nome));
            if (p.tipo) {
                w.writeAttribute(QStringLiteral("type"), QLatin1String(p.tipo));
            } else { // a data set: its schema, then anything
                w.writeStartElement(NsS, QStringLiteral("complexType"));
                w.writeStartElement(NsS, QStringLiteral("sequence"));
                w.writeEmptyElement(NsS, QStringLiteral("element"));
                w.writeAttribute(QStringLiteral("ref"), QStringLiteral("s:schema"));
                w.writeEmptyElement(NsS, QStringLiteral("any"));
                w.writeEndElement();
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
}

} // namespace

QByteArray clsWebServiceHost::Wsdl(const QString& endereco) const
{
    QByteArray saida;
    QXmlStreamWriter w(&saida);
    w.writeStartDocument();
    w.writeNamespace(NsSoap, QStringLiteral("soap"));
    w.writeNamespace(ns, QStringLiteral("tns"));
    w.writeNamespace(NsS, QStringLiteral("s"));
    w.writeNamespace(NsWsdl, QStringLiteral("wsdl"));
    w.writeStartElement(NsWsdl, QStringLiteral("definitions"));
    w.writeAttribute(QStringLiteral("targetNamespace"), ns);

    w.writeStartElement(NsWsdl, QStringLiteral("types"));
    w.writeStartElement(NsS, QStringLiteral("schema"));
    w.writeAttribute(QStringLiteral("elementFormDefault"), QStringLiteral("qualified"));
    w.writeAttribute(QStringLiteral("targetNamespace"), ns);
    w.writeEmptyElement(NsS, QStringLiteral("import"));
    w.writeAttribute(QStringLiteral("namespace"), NsS);
    for (const Operacao& o : Operacoes()) {
        Sequencia(w, QLatin1String(o.nome), o.entrada);
        Sequencia(w, QLatin1String(o.nome) + QStringLiteral("Response"), o.saida);
    }
    w.writeEndElement();
    w.writeEndElement();

    for (const Operacao& o : Operacoes()) {
        for (const char* lado : {"SoapIn", "SoapOut"}) {
            w.writeStartElement(NsWsdl, QStringLiteral("message"));
            w.writeAttribute(QStringLiteral("name"), QLatin1String(o.nome) + QLatin1String(lado));
            w.writeEmptyElement(NsWsdl, QStringLiteral("part"));
            w.writeAttribute(QStringLiteral("name"), QStringLiteral("parameters"));
            w.writeAttribute(QStringLiteral("element"),
                             QStringLiteral("tns:") + QLatin1String(o.nome)
                                 + (QByteArray(lado) == "SoapOut" ? QStringLiteral("Response") : QString()));
            w.writeEndElement();
        }
    }

    const QString porta = classe + QStringLiteral("Soap");
    w.writeStartElement(NsWsdl, QStringLiteral("portType"));
    w.writeAttribute(QStringLiteral("name"), porta);
    for (const Operacao& o : Operacoes()) {
        w.writeStartElement(NsWsdl, QStringLiteral("operation"));
        w.writeAttribute(QStringLiteral("name"), QLatin1String(o.nome));
        w.writeEmptyElement(NsWsdl, QStringLiteral("input"));
        w.writeAttribute(QStringLiteral("message"),
                         QStringLiteral("tns:") + QLatin1String(o.nome) + QStringLiteral("SoapIn"));
        w.writeEmptyElement(NsWsdl, QStringLiteral("output"));
        w.writeAttribute(QStringLiteral("message"),
                         QStringLiteral("tns:") + QLatin1String(o.nome) + QStringLiteral("SoapOut"));
        w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(NsWsdl, QStringLiteral("binding"));
    w.writeAttribute(QStringLiteral("name"), porta);
    w.writeAttribute(QStringLiteral("type"), QStringLiteral("tns:") + porta);
    w.writeEmptyElement(NsSoap, QStringLiteral("binding"));
    w.writeAttribute(QStringLiteral("transport"), QStringLiteral("http://schemas.xmlsoap.org/soap/http"));
    for (const Operacao& o : Operacoes()) {
        w.writeStartElement(NsWsdl, QStringLiteral("operation"));
        w.writeAttribute(QStringLiteral("name"), QLatin1String(o.nome));
        w.writeEmptyElement(NsSoap, QStringLiteral("operation"));
        w.writeAttribute(QStringLiteral("soapAction"), soap::AcaoPadrao(ns, QLatin1String(o.nome)));
        w.writeAttribute(QStringLiteral("style"), QStringLiteral("document"));
        for (const char* lado : {"input", "output"}) {
            w.writeStartElement(NsWsdl, QLatin1String(lado));
            w.writeEmptyElement(NsSoap, QStringLiteral("body"));
            w.writeAttribute(QStringLiteral("use"), QStringLiteral("literal"));
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(NsWsdl, QStringLiteral("service"));
    w.writeAttribute(QStringLiteral("name"), classe);
    w.writeStartElement(NsWsdl, QStringLiteral("port"));
    w.writeAttribute(QStringLiteral("name"), porta);
    w.writeAttribute(QStringLiteral("binding"), QStringLiteral("tns:") + porta);
    w.writeEmptyElement(NsSoap, QStringLiteral("address"));
    w.writeAttribute(QStringLiteral("location"), endereco);
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return saida;
}
