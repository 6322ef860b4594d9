#pragma once
// Reading a data set in the XML form the web-service hosts return it: an XML Schema that names the
// tables and their typed columns, followed by a "diffgram" holding the rows. The result is plain
// structures (no recordset): columns with their XML Schema types, rows of values where an absent
// element is a null.
#include <QList>
#include <QString>
#include <QVariant>

class QXmlStreamReader;

namespace datasetxml {

extern const QString NsXmlSchema; // http://www.w3.org/2001/XMLSchema
extern const QString NsDiffgram; // urn:schemas-microsoft-com:xml-diffgram-v1
extern const QString NsMsData; // urn:schemas-microsoft-com:xml-msdata

struct ColunaXml {
    QString nome; // decoded ("First Name" for the element First_x0020_Name)
    QString nomeXml; // as the element is named in the rows ("First_x0020_Name")
    QString tipo; // XML Schema type as "xs:" + local name ("xs:int"); "xs:string" when none is given
    int tamanhoMaximo = -1; // maxLength of a restricted string, else -1
    QString tipoNet; // msdata:DataType when the schema gives one (a Guid, for example), else empty
};

struct TabelaXml {
    QString nome; // decoded
    QString nomeXml;
    QList<ColunaXml> colunas;
    QList<QList<QVariant>> linhas; // one value per column, in column order; a null QVariant is a null
};

struct DataSetXml {
    QString nome; // decoded
    QList<TabelaXml> tabelas; // in schema order
};

// How values are given: converted to the type of their column (int, qlonglong, bool, double,
// QDateTime, QByteArray; decimals and the rest stay text) or as the text that arrived.
enum class Valores { Convertidos, Texto };

// Converts one value text for an XML Schema type; `ok` is false when the text does not fit it.
QVariant ConverterValor(const QString& texto, const QString& tipo, bool* ok);

// XML names carry characters that XML does not allow as _xHHHH_; this gives back the original name.
QString DecodificarNome(const QString& nomeXml);

// Reads the data set whose parts (the schema, then the diffgram) are the child elements of the
// element the reader stands on (its start tag just read), up to that element's end; with
// `noPrimeiroFilho` the reader stands on the start tag of the first part instead. Returns false with
// a reason in `erro` when the XML is broken or a value does not fit its column; `presente` (when
// given) tells whether a schema came.
bool LerDataSet(QXmlStreamReader& xml,
                DataSetXml& ds,
                QString& erro,
                Valores valores = Valores::Convertidos,
                bool* presente = nullptr,
                bool noPrimeiroFilho = false);

} // namespace datasetxml
