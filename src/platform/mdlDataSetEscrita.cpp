#include "mdlDataSetEscrita.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace datasetescrita {

namespace {

const char* const Substituto = "\xEF\xBF\xBD"; // U+FFFD

inline bool NomeInicial(QChar c) { return c.isLetter() || c == u'_'; }
inline bool NomeSeguinte(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'-' || c.category() == QChar::Mark_NonSpacing
           || c.category() == QChar::Mark_SpacingCombining;
}

void Inteiro(std::string& s, int64_t v)
{
    char b[24];
    const auto r = std::to_chars(b, b + sizeof b, v);
    s.append(b, size_t(r.ptr - b));
}

void Real(std::string& s, double d, bool fixo)
{
    if (std::isnan(d)) {
        s += "NaN";
        return;
    }
    if (std::isinf(d)) {
        s += d > 0 ? "INF" : "-INF";
        return;
    }
    char b[400];
    const auto r
        = fixo ? std::to_chars(b, b + sizeof b, d, std::chars_format::fixed) : std::to_chars(b, b + sizeof b, d);
    s.append(b, size_t(r.ptr - b));
}

void Digitos(std::string& s, int v, int n)
{
    char b[8];
    for (int i = n - 1; i >= 0; --i) {
        b[i] = char('0' + v % 10);
        v /= 10;
    }
    s.append(b, size_t(n));
}

// "2024-05-01T10:20:30" with ".123" when there are milliseconds.
void Data(std::string& s, int64_t ms)
{
    int64_t dia = ms / 86400000LL;
    int64_t resto = ms % 86400000LL;
    if (resto < 0) {
        resto += 86400000LL;
        --dia;
    }
    // Civil date of a Julian day number (days from 1970-01-01 shifted to an era starting in March).
    const int64_t z = dia - 2440588 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = int(doy - (153 * mp + 2) / 5 + 1);
    const int m = int(mp < 10 ? mp + 3 : mp - 9);
    const int a = int(yoe + era * 400 + (m <= 2 ? 1 : 0));
    Digitos(s, a, 4);
    s += '-';
    Digitos(s, m, 2);
    s += '-';
    Digitos(s, d, 2);
    s += 'T';
    const int r = int(resto);
    Digitos(s, r / 3600000, 2);
    s += ':';
    Digitos(s, r / 60000 % 60, 2);
    s += ':';
    Digitos(s, r / 1000 % 60, 2);
    if (r % 1000) {
        s += '.';
        Digitos(s, r % 1000, 3);
    }
}

void Base64(std::string& s, const char* p, size_t n)
{
    const QByteArray b = QByteArray::fromRawData(p, qsizetype(n)).toBase64();
    s.append(b.constData(), size_t(b.size()));
}

// Length of the valid UTF-8 sequence XML accepts at p (0 when there is none).
size_t SequenciaValida(const unsigned char* p, const unsigned char* fim)
{
    const unsigned char c = p[0];
    size_t n;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4;
    else
        return 0;
    if (size_t(fim - p) < n)
        return 0;
    for (size_t i = 1; i < n; ++i)
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    if (c == 0xE0 && p[1] < 0xA0)
        return 0; // overlong
    if (c == 0xED && p[1] >= 0xA0)
        return 0; // a surrogate half
    if (c == 0xF0 && p[1] < 0x90)
        return 0;
    if (c == 0xF4 && p[1] >= 0x90)
        return 0;
    if (c == 0xEF && p[1] == 0xBF && (p[2] == 0xBE || p[2] == 0xBF))
        return 0; // U+FFFE, U+FFFF
    return n;
}

// The XML Schema type of an integer column of a declared SQL type: its size, whatever its values.
QByteArray TipoXsInteiro(int tipo)
{
    switch (tipo) {
    case ado::adTinyInt: return "xs:byte";
    case ado::adUnsignedTinyInt: return "xs:unsignedByte";
    case ado::adSmallInt: return "xs:short";
    case ado::adUnsignedSmallInt: return "xs:unsignedShort";
    case ado::adInteger: return "xs:int";
    case ado::adUnsignedInt: return "xs:unsignedInt";
    default: return "xs:long";
    }
}

} // namespace

QByteArray CodificarNome(const QString& nome)
{
    if (nome.isEmpty())
        return QByteArrayLiteral("Column");
    QString r;
    for (qsizetype i = 0; i < nome.size(); ++i) {
        const QChar c = nome[i];
        const bool escapeLiteral = c == u'_' && i + 1 < nome.size() && nome[i + 1] == u'x';
        if (!escapeLiteral && (i == 0 ? NomeInicial(c) : NomeSeguinte(c))) {
            r += c;
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < nome.size() && nome[i + 1].isLowSurrogate()) {
            const char32_t u = QChar::surrogateToUcs4(c, nome[i + 1]);
            r += QStringLiteral("_x") + QString::number(uint(u), 16).rightJustified(8, u'0').toUpper() + u'_';
            ++i;
            continue;
        }
        r += QStringLiteral("_x") + QString::number(c.unicode(), 16).rightJustified(4, u'0').toUpper() + u'_';
    }
    return r.toUtf8();
}

void EscaparTexto(std::string& s, const char* p0, size_t n)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(p0);
    const unsigned char* fim = p + n;
    const unsigned char* run = p;
    while (p < fim) {
        const unsigned char c = *p;
        if (c >= 0x20 && c < 0x80 && c != '&' && c != '<' && c != '>') {
            ++p;
            continue;
        }
        if (c == '\t' || c == '\n') {
            ++p;
            continue;
        }
        if (c >= 0x80) {
            const size_t k = SequenciaValida(p, fim);
            if (k) {
                p += k;
                continue;
            }
        }
        s.append(reinterpret_cast<const char*>(run), size_t(p - run));
        switch (c) {
        case '&': s += "&amp;"; break;
        case '<': s += "&lt;"; break;
        case '>': s += "&gt;"; break;
        case '\r': s += "&#xD;"; break;
        default: s += Substituto; break;
        }
        ++p;
        run = p;
    }
    s.append(reinterpret_cast<const char*>(run), size_t(p - run));
}

clsEscritorDataSet::clsEscritorDataSet(RecordsetPtr r, bool inteiros64) : rs(std::move(r))
{
    if (!rs || rs->State() != ado::adStateOpen || rs->FieldCount() == 0) {
        rs.reset();
        return;
    }
    const clsRecordsetDados& d = rs->Dados();
    linhas = rs->RecordCount();
    QList<QString> usados;
    for (int c = 0; c < rs->FieldCount(); ++c) {
        const CampoInfo& f = rs->InfoCampo(c);
        // Names are unique in a data set: a repeated one gets a number, as the data adapters do.
        QString nome = f.nome.isEmpty() ? QStringLiteral("Column%1").arg(c + 1) : f.nome;
        for (int k = 1; usados.contains(nome, Qt::CaseInsensitive); ++k)
            nome = f.nome + QString::number(k);
        usados << nome;
        nomes.push_back(CodificarNome(nome));

        Forma forma = Forma::Texto;
        if (f.tipo == ado::adBoolean)
            forma = Forma::Booleano;
        else if (ado::TipoInteiro(f.tipo))
            forma = Forma::Inteiro;
        else if (f.tipo == ado::adSingle || f.tipo == ado::adDouble)
            forma = Forma::Real;
        else if (ado::TipoReal(f.tipo))
            forma = Forma::Decimal;
        else if (ado::TipoData(f.tipo))
            forma = Forma::Data;
        else if (ado::TipoBinario(f.tipo))
            forma = Forma::Binario;
        // A value that does not fit the declared type (a file database keeps whatever it is given)
        // turns the column into text, so the reader never meets a value its type refuses.
        for (int i = 0; i < linhas && forma != Forma::Texto; ++i)
            if (!Cabe(d.Ler(rs->LinhaDados(i), c), forma))
                forma = Forma::Texto;
        QByteArray tipo = "xs:string";
        switch (forma) {
        case Forma::Inteiro: // an expression's integers have no declared size: 64-bit ones
            tipo = inteiros64 || !f.tipoFixado ? QByteArray("xs:long") : TipoXsInteiro(f.tipo);
            break;
        case Forma::Booleano: tipo = "xs:boolean"; break;
        case Forma::Real: tipo = f.tipo == ado::adSingle ? "xs:float" : "xs:double"; break;
        case Forma::Decimal: tipo = "xs:decimal"; break;
        case Forma::Data: tipo = "xs:dateTime"; break;
        case Forma::Binario: tipo = "xs:base64Binary"; break;
        case Forma::Texto: break;
        }
        tipos.push_back(tipo);
        formas.push_back(forma);
        guid.push_back(f.tipo == ado::adGUID && forma == Forma::Texto);
    }
}

bool clsEscritorDataSet::Cabe(const Celula& v, Forma forma) const
{
    switch (v.marca) {
    case Marca::Nulo: return true;
    case Marca::Inteiro: return forma != Forma::Data && forma != Forma::Binario;
    case Marca::Real: {
        double x;
        std::memcpy(&x, &v.carga, 8);
        return forma == Forma::Real || (forma == Forma::Decimal && std::isfinite(x))
               || (forma == Forma::Inteiro && x == std::trunc(x) && std::fabs(x) < 9.2e18);
    }
    case Marca::Texto: {
        uint32_t n;
        const char* p = rs->Dados().Bytes(v, n);
        int64_t ms;
        return forma == Forma::Binario || (forma == Forma::Data && clsRecordsetDados::TextoParaMs(p, n, ms));
    }
    case Marca::Binario: return forma == Forma::Binario;
    case Marca::Data: return forma == Forma::Data;
    case Marca::Decimal: return forma == Forma::Decimal;
    }
    return false;
}

void clsEscritorDataSet::Cabecalho(std::string& s)
{
    s += "<xs:schema id=\"NewDataSet\" xmlns=\"\" xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
         "xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\">"
         "<xs:element name=\"NewDataSet\" msdata:IsDataSet=\"true\" msdata:UseCurrentLocale=\"true\">"
         "<xs:complexType>";
    if (!rs) {
        s += "<xs:choice minOccurs=\"0\" maxOccurs=\"unbounded\" /></xs:complexType></xs:element></xs:schema>"
             "<diffgr:diffgram xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\" "
             "xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\" />";
        return;
    }
    s += "<xs:choice minOccurs=\"0\" maxOccurs=\"unbounded\"><xs:element name=\"Table\"><xs:complexType><xs:sequence>";
    for (size_t c = 0; c < nomes.size(); ++c) {
        s += "<xs:element name=\"";
        s.append(nomes[c].constData(), size_t(nomes[c].size()));
        s += '"';
        if (guid[c])
            s += " msdata:DataType=\"System.Guid, mscorlib, Version=4.0.0.0, Culture=neutral, "
                 "PublicKeyToken=b77a5c561934e089\"";
        s += " type=\"";
        s.append(tipos[c].constData(), size_t(tipos[c].size()));
        s += "\" minOccurs=\"0\" />";
    }
    s += "</xs:sequence></xs:complexType></xs:element></xs:choice></xs:complexType></xs:element></xs:schema>"
         "<diffgr:diffgram xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\" "
         "xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\"";
    s += linhas > 0 ? "><NewDataSet xmlns=\"\">" : " />";
}

void clsEscritorDataSet::Valor(std::string& s, const Celula& v, Forma forma)
{
    const clsRecordsetDados& d = rs->Dados();
    switch (v.marca) {
    case Marca::Nulo: return;
    case Marca::Inteiro:
        if (forma == Forma::Booleano)
            s += v.carga ? "true" : "false";
        else
            Inteiro(s, int64_t(v.carga));
        return;
    case Marca::Real: {
        double x;
        std::memcpy(&x, &v.carga, 8);
        if (forma == Forma::Inteiro)
            Inteiro(s, int64_t(x));
        else
            Real(s, x, forma == Forma::Decimal);
        return;
    }
    case Marca::Data: Data(s, int64_t(v.carga)); return;
    case Marca::Decimal: { // the exact digits: a canonical decimal is already an xs:decimal
        uint32_t n;
        const char* p = d.Bytes(v, n);
        s.append(p, n);
        return;
    }
    case Marca::Binario: {
        uint32_t n;
        const char* p = d.Bytes(v, n);
        Base64(s, p, n);
        return;
    }
    case Marca::Texto: {
        uint32_t n;
        const char* p = d.Bytes(v, n);
        int64_t ms;
        if (forma == Forma::Data && n == 19 && (p[10] == ' ' || p[10] == 'T')
            && clsRecordsetDados::TextoParaMs(p, n, ms)) { // "2024-05-01 10:20:30" as it is, with the T
            s.append(p, 10);
            s += 'T';
            s.append(p + 11, 8);
        } else if (forma == Forma::Data && clsRecordsetDados::TextoParaMs(p, n, ms))
            Data(s, ms);
        else if (forma == Forma::Binario)
            Base64(s, p, n);
        else
            EscaparTexto(s, p, n);
        return;
    }
    }
}

void clsEscritorDataSet::Linha(std::string& s, uint32_t linha, int numero)
{
    const clsRecordsetDados& d = rs->Dados();
    s += "<Table diffgr:id=\"Table";
    Inteiro(s, numero + 1);
    s += "\" msdata:rowOrder=\"";
    Inteiro(s, numero);
    s += "\">";
    for (size_t c = 0; c < nomes.size(); ++c) {
        const Celula v = d.Ler(linha, int(c));
        if (v.marca == Marca::Nulo)
            continue; // a null is an absent element
        const QByteArray& nome = nomes[c];
        s += '<';
        s.append(nome.constData(), size_t(nome.size()));
        s += '>';
        Valor(s, v, formas[c]);
        s += "</";
        s.append(nome.constData(), size_t(nome.size()));
        s += '>';
    }
    s += "</Table>";
}

bool clsEscritorDataSet::Proximo(std::string& s, size_t tamanho)
{
    if (terminado)
        return false;
    const size_t alvo = s.size() + tamanho;
    s.reserve(alvo + 4096);
    if (proxima < 0) {
        Cabecalho(s);
        proxima = 0;
    }
    while (rs && proxima < linhas && s.size() < alvo) {
        Linha(s, rs->LinhaDados(proxima), proxima);
        ++proxima;
    }
    if (!rs || proxima >= linhas) {
        if (rs && linhas > 0)
            s += "</NewDataSet></diffgr:diffgram>";
        terminado = true;
    }
    return true;
}

} // namespace datasetescrita
