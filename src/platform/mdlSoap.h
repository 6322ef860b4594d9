#pragma once
// The SOAP 1.1 messages of the web-service protocol, without the transport: the request envelope
// of a call with named parameters, the reading of the answer (simple values, a returned data set or
// a fault) and the reading of the service description (address, namespace and actions).
#include "platform/mdlDataSetXml.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <optional>

namespace soap {

extern const QString NsEnvelope; // http://schemas.xmlsoap.org/soap/envelope/

using Parametros = QList<QPair<QString, QVariant>>;

// The request body of `metodo` in the namespace of the service, one element per parameter in the
// given order (text as is, booleans as true/false, numbers in the invariant form, a null as
// xsi:nil). Empty, with the reason in `erro`, when a value holds a character XML cannot carry.
QByteArray Envelope(const QString& alvo, const QString& metodo, const Parametros& parametros, QString* erro = nullptr);

// The SOAPAction header of a call when the description gives none: the namespace, "/" when it does
// not end in one, and the method.
QString AcaoPadrao(const QString& alvo, const QString& metodo);

// One element of the answer: its text, or the data set it holds.
struct ValorSoap {
    QString nome;
    QString texto;
    bool nulo = false; // absent text marked xsi:nil
    std::optional<datasetxml::DataSetXml> dataSet;
};

struct RespostaSoap {
    bool ok = false; // the envelope was read (a fault counts as read)
    QString erro; // why it could not be read
    bool falha = false; // the service answered with a SOAP fault
    QString codigoFalha; // faultcode
    QString textoFalha; // faultstring
    QString elemento; // name of the answer element ("OpenDatasetResponse")
    QList<ValorSoap> valores; // its children, in order; an omitted one (a returned Nothing) is absent

    // The value named `nome`, or null when the answer omitted it.
    const ValorSoap* Valor(const QString& nome) const;
};

// Reads an answer body. Data sets are read with `valores` (see datasetxml::Valores).
RespostaSoap LerResposta(const QByteArray& corpo, datasetxml::Valores valores = datasetxml::Valores::Convertidos);

// What the client takes from the service description.
struct DescricaoWsdl {
    bool ok = false;
    QString erro;
    QString alvo; // targetNamespace
    QString endereco; // location of the SOAP 1.1 port
    QHash<QString, QString> acoes; // operation -> soapAction of the SOAP 1.1 binding
};

DescricaoWsdl LerWsdl(const QByteArray& corpo);

} // namespace soap
