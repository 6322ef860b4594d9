#include "mdlDataSetXml.h"

#include <QDateTime>
#include <QHash>
#include <QXmlStreamReader>
#include <cctype>
#include <limits>
#include <utility>

namespace datasetxml {

const QString NsXmlSchema = QStringLiteral("http://www.w3.org/2001/XMLSchema");
const QString NsDiffgram = QStringLiteral("urn:schemas-microsoft-com:xml-diffgram-v1");
const QString NsMsData = QStringLiteral("urn:schemas-microsoft-com:xml-msdata");

namespace {

const QString NsXsi = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");

// The schema is small: it is read whole into this tree, then walked. Each node keeps the prefixes
// in scope, so the type names in its attributes can be resolved.
using Escopo = QHash<QString, QString>;
struct No {
    QString ns;
    QString local;
    QXmlStreamAttributes atributos;
    Escopo escopo;
    QList<No> filhos;

    QString atributo(const QString& nome) const { return atributos.value(nome).toString(); }
    const No* filho(std::initializer_list<const char*> nomes) const
    {
        for (const No& f : filhos)
            for (const char* n : nomes)
                if (f.ns == NsXmlSchema && f.local == QLatin1String(n))
                    return &f;
        return nullptr;
    }
    QList<const No*> filhosChamados(const char* nome) const
    {
        QList<const No*> r;
        for (const No& f : filhos)
            if (f.ns == NsXmlSchema && f.local == QLatin1String(nome))
                r << &f;
        return r;
    }
};

// A data-set schema nests eight levels; anything below this depth is skipped, so a hostile answer
// cannot exhaust the stack.
constexpr int profundidadeMaxima = 32;

No LerNo(QXmlStreamReader& xml, const Escopo& pai, int profundidade = 0)
{
    No n;
    n.ns = xml.namespaceUri().toString();
    n.local = xml.name().toString();
    n.atributos = xml.attributes();
    n.escopo = pai;
    for (const QXmlStreamNamespaceDeclaration& d : xml.namespaceDeclarations())
        n.escopo.insert(d.prefix().toString(), d.namespaceUri().toString());
    while (xml.readNextStartElement()) {
        if (profundidade < profundidadeMaxima)
            n.filhos << LerNo(xml, n.escopo, profundidade + 1);
        else
            xml.skipCurrentElement();
    }
    return n;
}

// "xs:" + local name for a type of XML Schema, whatever prefix the document gave it.
QString TipoXs(const No& no, const QString& qname)
{
    const qsizetype p = qname.indexOf(QLatin1Char(':'));
    const QString prefixo = p < 0 ? QString() : qname.left(p);
    const QString local = qname.mid(p + 1);
    QString ns = no.escopo.value(prefixo);
    if (ns.isEmpty() && (prefixo == QLatin1String("xs") || prefixo == QLatin1String("xsd")))
        ns = NsXmlSchema; // declared outside the part that was read
    return ns == NsXmlSchema ? QStringLiteral("xs:") + local : qname;
}

ColunaXml LerColuna(const No& el)
{
    ColunaXml c;
    c.nomeXml = el.atributo(QStringLiteral("name"));
    c.nome = DecodificarNome(c.nomeXml);
    c.tipoNet = el.atributos.value(NsMsData, QStringLiteral("DataType")).toString();
    const QString tipo = el.atributo(QStringLiteral("type"));
    if (!tipo.isEmpty()) {
        c.tipo = TipoXs(el, tipo);
    } else if (const No* simples = el.filho({"simpleType"})) {
        if (const No* restricao = simples->filho({"restriction"})) {
            c.tipo = TipoXs(*restricao, restricao->atributo(QStringLiteral("base")));
            if (const No* max = restricao->filho({"maxLength"}))
                c.tamanhoMaximo = max->atributo(QStringLiteral("value")).toInt();
        }
    }
    if (c.tipo.isEmpty())
        c.tipo = QStringLiteral("xs:string");
    return c;
}

// Encoded element names of each table and its columns, to find rows and values by.
struct Nomes {
    QHash<QString, int> tabelas;
    QList<QHash<QString, int>> colunas;
};

void MontarSchema(const No& schema, DataSetXml& ds, Nomes& nomes)
{
    // The data set element is the one marked as such; else the first.
    const QList<const No*> elementos = schema.filhosChamados("element");
    const No* elDs = elementos.value(0);
    for (const No* e : elementos)
        if (e->atributos.value(NsMsData, QStringLiteral("IsDataSet")) == QLatin1String("true"))
            elDs = e;
    if (!elDs)
        return;
    ds.nome = DecodificarNome(elDs->atributo(QStringLiteral("name")));
    const No* tipo = elDs->filho({"complexType"});
    const No* grupo = tipo ? tipo->filho({"choice", "sequence", "all"}) : nullptr;
    if (!grupo)
        return;
    for (const No* elTabela : grupo->filhosChamados("element")) {
        TabelaXml t;
        const QString nomeXml = elTabela->atributo(QStringLiteral("name"));
        t.nome = DecodificarNome(nomeXml);
        t.nomeXml = nomeXml;
        QHash<QString, int> colunas;
        const No* tipoTabela = elTabela->filho({"complexType"});
        const No* sequencia = tipoTabela ? tipoTabela->filho({"sequence", "all", "choice"}) : nullptr;
        if (sequencia) {
            for (const No* elColuna : sequencia->filhosChamados("element")) {
                colunas.insert(elColuna->atributo(QStringLiteral("name")), int(t.colunas.size()));
                t.colunas << LerColuna(*elColuna);
            }
        }
        nomes.tabelas.insert(nomeXml, int(ds.tabelas.size()));
        nomes.colunas << colunas;
        ds.tabelas << t;
    }
}

bool LerDiffgram(QXmlStreamReader& xml, DataSetXml& ds, const Nomes& nomes, Valores valores, QString& erro)
{
    while (xml.readNextStartElement()) {
        // The "before" and "errors" parts hold the original and the failed versions of changed rows.
        if (xml.namespaceUri() == NsDiffgram) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) { // one row per element
            const int iTabela = nomes.tabelas.value(xml.name().toString(), -1);
            if (iTabela < 0) {
                xml.skipCurrentElement();
                continue;
            }
            TabelaXml& t = ds.tabelas[iTabela];
            const QHash<QString, int>& colunas = nomes.colunas[iTabela];
            QList<QVariant> linha(t.colunas.size());
            while (xml.readNextStartElement()) {
                const int iColuna = colunas.value(xml.name().toString(), -1);
                const bool nulo = xml.attributes().value(NsXsi, QStringLiteral("nil")) == QLatin1String("true");
                const QString texto = xml.readElementText(QXmlStreamReader::SkipChildElements);
                if (iColuna < 0 || nulo)
                    continue;
                if (valores == Valores::Texto) {
                    linha[iColuna] = texto;
                    continue;
                }
                bool ok = false;
                linha[iColuna] = ConverterValor(texto, t.colunas[iColuna].tipo, &ok);
                if (!ok) {
                    erro = QStringLiteral("Valor \"%1\" inválido para a coluna %2 (%3) da tabela %4.")
                               .arg(texto, t.colunas[iColuna].nome, t.colunas[iColuna].tipo, t.nome);
                    return false;
                }
            }
            t.linhas << linha;
        }
    }
    return !xml.hasError();
}

} // namespace

QString DecodificarNome(const QString& nomeXml)
{
    if (!nomeXml.contains(QLatin1String("_x")))
        return nomeXml;
    QString r;
    qsizetype i = 0;
    auto hex = [&](qsizetype pos, int n, uint* valor) {
        if (pos + n + 1 > nomeXml.size() || nomeXml[pos + n] != QLatin1Char('_'))
            return false;
        bool ok = false;
        *valor = nomeXml.mid(pos, n).toUInt(&ok, 16);
        for (qsizetype k = pos; k < pos + n; ++k)
            if (!isxdigit(nomeXml[k].toLatin1()))
                return false;
        return ok;
    };
    while (i < nomeXml.size()) {
        uint codigo = 0;
        if (nomeXml[i] == QLatin1Char('_') && i + 1 < nomeXml.size() && nomeXml[i + 1] == QLatin1Char('x')) {
            if (hex(i + 2, 8, &codigo) && codigo <= 0x10FFFF) {
                r += QString::fromUcs4(reinterpret_cast<const char32_t*>(&codigo), 1);
                i += 11;
                continue;
            }
            if (hex(i + 2, 4, &codigo)) {
                r += QChar(char16_t(codigo));
                i += 7;
                continue;
            }
        }
        r += nomeXml[i++];
    }
    return r;
}

QVariant ConverterValor(const QString& texto, const QString& tipo, bool* ok)
{
    bool certo = true;
    QVariant r;
    const QString t = texto.trimmed();
    if (tipo == QLatin1String("xs:int") || tipo == QLatin1String("xs:short") || tipo == QLatin1String("xs:byte")
        || tipo == QLatin1String("xs:unsignedByte") || tipo == QLatin1String("xs:unsignedShort")) {
        r = t.toInt(&certo);
    } else if (tipo == QLatin1String("xs:long") || tipo == QLatin1String("xs:unsignedInt")
               || tipo == QLatin1String("xs:integer")) {
        r = t.toLongLong(&certo);
    } else if (tipo == QLatin1String("xs:unsignedLong")) {
        r = t.toULongLong(&certo);
    } else if (tipo == QLatin1String("xs:boolean")) {
        certo = t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("false")
                || t == QLatin1String("0");
        r = t == QLatin1String("true") || t == QLatin1String("1");
    } else if (tipo == QLatin1String("xs:double") || tipo == QLatin1String("xs:float")) {
        if (t == QLatin1String("INF"))
            r = std::numeric_limits<double>::infinity();
        else if (t == QLatin1String("-INF"))
            r = -std::numeric_limits<double>::infinity();
        else if (t == QLatin1String("NaN"))
            r = std::numeric_limits<double>::quiet_NaN();
        else
            r = t.toDouble(&certo);
    } else if (tipo == QLatin1String("xs:dateTime")) {
        const QDateTime d = QDateTime::fromString(t, Qt::ISODateWithMs);
        certo = d.isValid();
        r = d;
    } else if (tipo == QLatin1String("xs:date")) {
        const QDate d = QDate::fromString(t.left(10), Qt::ISODate);
        certo = d.isValid();
        r = d;
    } else if (tipo == QLatin1String("xs:base64Binary")) {
        const auto d = QByteArray::fromBase64Encoding(t.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        certo = bool(d);
        r = *d;
    } else {
        r = texto; // text, decimals (kept exact), durations and anything else
    }
    if (ok)
        *ok = certo;
    return certo ? r : QVariant();
}

bool LerDataSet(QXmlStreamReader& xml,
                DataSetXml& ds,
                QString& erro,
                Valores valores,
                bool* presente,
                bool noPrimeiroFilho)
{
    ds = DataSetXml();
    erro.clear();
    Nomes nomes;
    bool temSchema = false;
    while (std::exchange(noPrimeiroFilho, false) || xml.readNextStartElement()) {
        if (xml.namespaceUri() == NsXmlSchema && xml.name() == QLatin1String("schema")) {
            MontarSchema(LerNo(xml, {}), ds, nomes);
            temSchema = true;
        } else if (xml.namespaceUri() == NsDiffgram && xml.name() == QLatin1String("diffgram")) {
            if (!LerDiffgram(xml, ds, nomes, valores, erro))
                break;
        } else {
            xml.skipCurrentElement();
        }
    }
    if (presente)
        *presente = temSchema;
    if (xml.hasError()) {
        erro = QStringLiteral("XML inválido na linha %1, coluna %2: %3")
                   .arg(xml.lineNumber())
                   .arg(xml.columnNumber())
                   .arg(xml.errorString());
        return false;
    }
    return erro.isEmpty();
}

} // namespace datasetxml
