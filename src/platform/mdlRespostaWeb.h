#pragma once
// Reads the answer of a web-service call in one pass: the SOAP envelope, its fault or its values,
// and a returned data set rebuilt straight into a recordset (the schema's first table gives the
// fields, each row of the diffgram one record, an absent value a null). Built for large answers:
// the rows are read with the fast reader and stored in the recordset's compact cells without
// intermediate values.
#include "platform/clsRecordset.h"
#include "platform/mdlHttp.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

namespace respostaweb {

// The local field of a column by its XML Schema type: "xs:short" 16-bit integer, "xs:int" 32-bit
// integer, "xs:boolean" boolean, "xs:string" text of defined size 8000, any other text of 255.
struct TipoLocal {
    int tipo;
    qint64 tamanho;
};
TipoLocal TipoDaColuna(const QString& tipoXs);

struct RespostaWeb {
    bool ok = false; // the envelope was read (a fault counts as read)
    QString erro; // why it could not be read
    bool falha = false; // the service answered with a SOAP fault
    QString codigoFalha;
    QString textoFalha;
    QString elemento; // the answer element ("OpenDatasetResponse")
    QHash<QString, QString> textos; // values of plain text, by element name; an omitted one is absent

    bool comDataSet = false; // a value held a data set
    RecordsetPtr dataSet; // its first table rebuilt, positioned on the first row; closed
        // when the data set has no table
    QString erroDataSet; // why the data set could not be rebuilt (the rest was read)
};

RespostaWeb Ler(QByteArrayView corpo);
// The same, read while the body arrives (it waits for the bytes it needs); returns once the body
// has ended.
RespostaWeb Ler(const http::CorpoCrescente& corpo);

} // namespace respostaweb
