#include "clsPontasPlanilha.h"

#include "platform/mdlDataHora.h"
#include "platform/mdlDecimal.h"
#include "query/mdlExportar.h"

#include <QFileInfo>
#include <charconv>
#include <cmath>

using namespace ado;

namespace impexp {

namespace {

// What a number format shows.
enum class Formato : uint8_t { Numero, Data, Hora, DataHora };

// The format's kind from its code: a date when it has days or years, a time when it has hours or
// seconds (quoted text, escaped characters and [colours] left out).
Formato FormatoDoCodigo(const QString& codigo)
{
    bool data = false, hora = false;
    bool aspas = false;
    for (qsizetype i = 0; i < codigo.size(); ++i) {
        const QChar c = codigo.at(i).toLower();
        if (aspas) {
            aspas = c != u'"';
            continue;
        }
        if (c == u';')
            break;
        if (c == u'"')
            aspas = true;
        else if (c == u'\\' || c == u'_' || c == u'*')
            ++i;
        else if (c == u'[') {
            const qsizetype fim = codigo.indexOf(u']', i);
            const QString dentro = codigo.mid(i + 1, fim - i - 1).toLower();
            hora = hora || dentro == u"h" || dentro == u"hh" || dentro == u"s" || dentro == u"ss";
            i = fim < 0 ? codigo.size() : fim;
        } else if (c == u'y' || c == u'd')
            data = true;
        else if (c == u'h' || c == u's')
            hora = true;
    }
    return data && hora ? Formato::DataHora : data ? Formato::Data : hora ? Formato::Hora : Formato::Numero;
}

Formato FormatoEmbutido(int id)
{
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) || (id >= 50 && id <= 58))
        return Formato::Data;
    if (id == 22)
        return Formato::DataHora;
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47))
        return Formato::Hora;
    return Formato::Numero;
}

// A cell as the sheet keeps it.
struct Valor {
    enum class Tipo : uint8_t { Vazio, Numero, Texto, Booleano } tipo = Tipo::Vazio;
    double numero = 0;
    QByteArray texto; // UTF-8
    Formato formato = Formato::Numero;
};

const QString NsRelacoes = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

int ColunaDaReferencia(QStringView r)
{
    int c = 0;
    for (QChar ch : r) {
        if (ch < u'A' || ch > u'Z')
            break;
        c = c * 26 + (ch.unicode() - u'A' + 1);
    }
    return c - 1;
}

// A text as the file escapes it: "_xHHHH_" stands for the character HHHH (a control character, or
// "_" itself before a text that would read as an escape).
QString SemEscapes(QString t)
{
    if (!t.contains(QStringLiteral("_x")))
        return t;
    QString r;
    r.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        bool ok = false;
        if (t.at(i) == u'_' && i + 6 < t.size() && t.at(i + 1) == u'x' && t.at(i + 6) == u'_') {
            const uint u = QStringView(t).mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                r += QChar(char16_t(u));
                i += 6;
                continue;
            }
        }
        r += t.at(i);
    }
    return r;
}

bool Numero(QStringView t, double& d)
{
    const QByteArray b = t.trimmed().toLatin1();
    const auto r = std::from_chars(b.constData(), b.constData() + b.size(), d);
    return r.ec == std::errc() && r.ptr == b.constData() + b.size() && std::isfinite(d);
}

} // namespace

struct clsLeitorPlanilha::Livro {
    clsZip zip;
    std::vector<QByteArray> textos; // the shared strings
    std::vector<Formato> estilos; // by cell style
    bool data1904 = false;
    QList<QPair<QString, QString>> folhas; // name, member

    bool Abrir(const QString& caminho, bool tudo, QString& erro);
    bool LerTextos(QString& erro);
    bool LerEstilos(QString& erro);
    // Every row of a sheet: `linha` is its number (from 1), `valores` its cells by column.
    bool Percorrer(const QString& folha,
                   const std::function<bool(qint64 linha, std::vector<Valor>& valores)>& recebe,
                   QString& erro);
    // A date's serial number as the date it stands for.
    datahora::DataHora Data(double serial, datahora::Forma forma) const;
};

bool clsLeitorPlanilha::Livro::Abrir(const QString& caminho, bool tudo, QString& erro)
{
    if (!zip.Abrir(caminho, erro))
        return false;
    QHash<QString, QString> alvos;
    clsXmlZip x;
    if (!x.Abrir(zip, QStringLiteral("xl/_rels/workbook.xml.rels"), erro))
        return false;
    while (!x.xml.atEnd() && x.Proximo() != QXmlStreamReader::Invalid)
        if (x.xml.isStartElement() && x.xml.name() == u"Relationship") {
            QString alvo = x.xml.attributes().value(QLatin1String("Target")).toString();
            alvo = alvo.startsWith(u'/') ? alvo.mid(1) : QStringLiteral("xl/") + alvo;
            alvos.insert(x.xml.attributes().value(QLatin1String("Id")).toString(), alvo);
        }
    if (x.Falhou(erro) || !x.Abrir(zip, QStringLiteral("xl/workbook.xml"), erro))
        return false;
    while (!x.xml.atEnd() && x.Proximo() != QXmlStreamReader::Invalid) {
        if (!x.xml.isStartElement())
            continue;
        if (x.xml.name() == u"workbookPr") {
            const QStringView v = x.xml.attributes().value(QLatin1String("date1904"));
            data1904 = v == u"1" || v == u"true";
        } else if (x.xml.name() == u"sheet") {
            const QXmlStreamAttributes a = x.xml.attributes();
            folhas.append({a.value(QLatin1String("name")).toString(),
                           alvos.value(a.value(NsRelacoes, QStringLiteral("id")).toString())});
        }
    }
    if (x.Falhou(erro))
        return false;
    return !tudo || (LerTextos(erro) && LerEstilos(erro));
}

bool clsLeitorPlanilha::Livro::LerTextos(QString& erro)
{
    const QString membro = QStringLiteral("xl/sharedStrings.xml");
    if (!zip.Tem(membro))
        return true;
    clsXmlZip x;
    if (!x.Abrir(zip, membro, erro))
        return false;
    QString atual;
    int foneticos = 0; // inside a phonetic run, whose text is not the cell's
    while (!x.xml.atEnd() && x.Proximo() != QXmlStreamReader::Invalid) {
        if (x.xml.isStartElement()) {
            if (x.xml.name() == u"si")
                atual.clear();
            else if (x.xml.name() == u"rPh")
                ++foneticos;
            else if (x.xml.name() == u"t" && foneticos == 0)
                atual += SemEscapes(x.xml.readElementText());
        } else if (x.xml.isEndElement()) {
            if (x.xml.name() == u"si")
                textos.push_back(atual.toUtf8());
            else if (x.xml.name() == u"rPh")
                --foneticos;
        }
    }
    return !x.Falhou(erro);
}

bool clsLeitorPlanilha::Livro::LerEstilos(QString& erro)
{
    const QString membro = QStringLiteral("xl/styles.xml");
    if (!zip.Tem(membro))
        return true;
    clsXmlZip x;
    if (!x.Abrir(zip, membro, erro))
        return false;
    QHash<int, Formato> proprios;
    bool celulas = false;
    while (!x.xml.atEnd() && x.Proximo() != QXmlStreamReader::Invalid) {
        if (x.xml.isStartElement()) {
            const QXmlStreamAttributes a = x.xml.attributes();
            if (x.xml.name() == u"numFmt")
                proprios.insert(a.value(QLatin1String("numFmtId")).toInt(),
                                FormatoDoCodigo(a.value(QLatin1String("formatCode")).toString()));
            else if (x.xml.name() == u"cellXfs")
                celulas = true;
            else if (celulas && x.xml.name() == u"xf") {
                const int id = a.value(QLatin1String("numFmtId")).toInt();
                estilos.push_back(proprios.value(id, FormatoEmbutido(id)));
            }
        } else if (x.xml.isEndElement() && x.xml.name() == u"cellXfs") {
            celulas = false;
        }
    }
    return !x.Falhou(erro);
}

datahora::DataHora clsLeitorPlanilha::Livro::Data(double serial, datahora::Forma forma) const
{
    // Whole milliseconds: the format keeps no finer fraction.
    const auto ms = int64_t(std::llround(serial * 86400000.0));
    int64_t dia = ms / 86400000, resto = ms % 86400000;
    if (resto < 0) {
        resto += 86400000;
        --dia;
    }
    // The 1900 count has a 29/02/1900 that never was (day 60): the days before it start a day later.
    const int64_t zero = data1904 ? QDate(1904, 1, 1).toJulianDay() : dia < 60 ? 2415020 : 2415019;
    datahora::DataHora d;
    d.forma = forma;
    d.dia = forma == datahora::Forma::SoHora ? datahora::DiaDaHora() : zero + dia;
    d.ns = forma == datahora::Forma::SoData ? 0 : resto * 1000000;
    return d;
}

bool clsLeitorPlanilha::Livro::Percorrer(const QString& folha,
                                         const std::function<bool(qint64, std::vector<Valor>&)>& recebe,
                                         QString& erro)
{
    QString membro;
    for (const auto& [nome, alvo] : folhas)
        if (nome == folha)
            membro = alvo;
    if (membro.isEmpty()) {
        erro = QStringLiteral("A planilha não tem a folha '%1'.").arg(folha);
        return false;
    }
    clsXmlZip x;
    if (!x.Abrir(zip, membro, erro))
        return false;
    std::vector<Valor> valores;
    qint64 linha = 0;
    int coluna = -1;
    Valor* celula = nullptr;
    QString tipoCelula;
    int foneticos = 0;
    while (!x.xml.atEnd() && x.Proximo() != QXmlStreamReader::Invalid) {
        if (x.xml.isStartElement()) {
            const QStringView n = x.xml.name();
            if (n == u"row") {
                const QStringView r = x.xml.attributes().value(QLatin1String("r"));
                linha = r.isEmpty() ? linha + 1 : r.toLongLong();
                valores.clear();
                coluna = -1;
            } else if (n == u"c") {
                const QXmlStreamAttributes a = x.xml.attributes();
                const QStringView r = a.value(QLatin1String("r"));
                coluna = r.isEmpty() ? coluna + 1 : ColunaDaReferencia(r);
                if (coluna < 0 || coluna > 16383) {
                    erro = QStringLiteral("A folha '%1' tem uma célula inválida na linha %2.").arg(folha).arg(linha);
                    return false;
                }
                if (valores.size() <= size_t(coluna))
                    valores.resize(size_t(coluna) + 1);
                celula = &valores[size_t(coluna)];
                tipoCelula = a.value(QLatin1String("t")).toString();
                const int estilo = a.value(QLatin1String("s")).toInt();
                celula->formato
                    = estilo >= 0 && size_t(estilo) < estilos.size() ? estilos[size_t(estilo)] : Formato::Numero;
            } else if (n == u"rPh") {
                ++foneticos;
            } else if (celula && (n == u"v" || (n == u"t" && foneticos == 0))) {
                const QString t = x.xml.readElementText();
                if (tipoCelula == u"s") {
                    const qsizetype i = t.toLongLong();
                    if (i < 0 || size_t(i) >= textos.size()) {
                        erro = QStringLiteral("A folha '%1' aponta um texto que a planilha não tem (linha %2).")
                                   .arg(folha)
                                   .arg(linha);
                        return false;
                    }
                    celula->tipo = Valor::Tipo::Texto;
                    celula->texto = textos[size_t(i)];
                } else if (tipoCelula == u"b") {
                    celula->tipo = Valor::Tipo::Booleano;
                    celula->numero = t.trimmed() == u"1" || t.trimmed() == u"true";
                } else if (tipoCelula == u"inlineStr" || tipoCelula == u"str" || tipoCelula == u"e"
                           || tipoCelula == u"d" || n == u"t") {
                    celula->tipo = Valor::Tipo::Texto;
                    celula->texto += SemEscapes(t).toUtf8();
                } else if (Numero(t, celula->numero)) {
                    celula->tipo = Valor::Tipo::Numero;
                } else {
                    celula->tipo = Valor::Tipo::Texto;
                    celula->texto = t.toUtf8();
                }
            }
        } else if (x.xml.isEndElement()) {
            const QStringView n = x.xml.name();
            if (n == u"c")
                celula = nullptr;
            else if (n == u"rPh")
                --foneticos;
            else if (n == u"row" && !recebe(linha, valores))
                return false;
            else if (n == u"sheetData")
                break;
        }
    }
    return !x.Falhou(erro);
}

bool FolhasDaPlanilha(const QString& caminho, QStringList& nomes, QString& erro)
{
    clsLeitorPlanilha::Livro l;
    if (!l.Abrir(caminho, false, erro))
        return false;
    nomes.clear();
    for (const auto& f : l.folhas)
        nomes << f.first;
    return true;
}

clsLeitorPlanilha::clsLeitorPlanilha(QString c, QString f) : caminho(std::move(c)), folha(std::move(f)) {}

namespace {

// A number as the shortest text that reads back as it.
std::string TextoDoNumero(double d)
{
    std::string s;
    decimal::DeReal(d, s);
    return s;
}

// A number or date kept as text (a value the format cannot hold as it is: more digits than a
// double keeps, a finer fraction, a date before 1900): its canonical text.
bool NumeroEmTexto(const Valor& v)
{
    return v.tipo == Valor::Tipo::Texto
           && decimal::Canonico(std::string_view(v.texto.constData(), size_t(v.texto.size())));
}
bool DataEmTexto(const Valor& v, datahora::DataHora& d)
{
    return v.tipo == Valor::Tipo::Texto && !v.texto.isEmpty()
           && datahora::LerIso(std::string_view(v.texto.constData(), size_t(v.texto.size())), d);
}

// What a column's values are. Numbers and dates written as text count as such in a column that
// holds numbers or dates, never alone.
struct Perfil {
    bool numeros = true, inteiros = true, booleanos = true, datas = true, algum = false;
    bool numeroDeFato = false, dataDeFato = false, numeroEmTexto = false;
    bool soData = true, soHora = true;
    int fracao = 0, digitosInteiros = 0, escala = 0;

    void Ver(const Valor& v)
    {
        if (v.tipo == Valor::Tipo::Vazio || (v.tipo == Valor::Tipo::Texto && v.texto.isEmpty()))
            return;
        algum = true;
        const bool data = v.tipo == Valor::Tipo::Numero && v.formato != Formato::Numero;
        const bool numero = v.tipo == Valor::Tipo::Numero && !data;
        numeroDeFato = numeroDeFato || numero;
        dataDeFato = dataDeFato || data;
        booleanos = booleanos && v.tipo == Valor::Tipo::Booleano;
        if (numeros && (numero || NumeroEmTexto(v))) {
            numeroEmTexto = numeroEmTexto || !numero;
            const std::string s = numero ? TextoDoNumero(v.numero) : v.texto.toStdString();
            const size_t ponto = s.find('.');
            const int sinal = s[0] == '-' ? 1 : 0;
            const int a = int((ponto == std::string::npos ? s.size() : ponto)) - sinal;
            digitosInteiros = qMax(digitosInteiros, a);
            escala = qMax(escala, ponto == std::string::npos ? 0 : int(s.size() - ponto - 1));
            inteiros = inteiros && ponto == std::string::npos && a <= 18;
        } else {
            numeros = false;
        }
        datahora::DataHora d;
        if (datas && data) {
            const auto ms = int64_t(std::llround(v.numero * 86400000.0));
            const int64_t resto = ((ms % 86400000) + 86400000) % 86400000;
            soHora = soHora && v.formato == Formato::Hora;
            soData = soData && v.formato == Formato::Data && resto == 0;
            fracao = qMax(fracao, resto % 1000 != 0 ? 3 : 0);
        } else if (datas && DataEmTexto(v, d) && !d.temFuso) {
            soHora = soHora && d.forma == datahora::Forma::SoHora;
            soData = soData && d.forma == datahora::Forma::SoData;
            fracao = qMax(fracao, d.ns % 1000000 != 0 ? 6 : d.ns % 1000000000 != 0 ? 3 : 0);
        } else {
            datas = false;
        }
    }
};

} // namespace

bool clsLeitorPlanilha::Estrutura(EstruturaCopia& saida, QString& erro)
{
    Livro l;
    if (!l.Abrir(caminho, true, erro))
        return false;
    QStringList lidos;
    std::vector<Perfil> perfis;
    qint64 primeira = -1;
    const bool ok = l.Percorrer(
        folha,
        [&](qint64 linha, std::vector<Valor>& valores) {
            if (primeira < 0) {
                primeira = linha;
                for (const Valor& v : valores)
                    lidos << (v.tipo == Valor::Tipo::Texto   ? QString::fromUtf8(v.texto)
                              : v.tipo == Valor::Tipo::Vazio ? QString()
                                                             : QString::fromStdString(TextoDoNumero(v.numero)));
                perfis.resize(size_t(lidos.size()));
                return true;
            }
            for (size_t i = 0; i < valores.size(); ++i) {
                if (i >= perfis.size() && valores[i].tipo != Valor::Tipo::Vazio) {
                    erro = QStringLiteral("A linha %1 da folha '%2' tem um valor na coluna %3, além das colunas do "
                                          "cabeçalho.")
                               .arg(linha)
                               .arg(folha)
                               .arg(i + 1);
                    return false;
                }
                if (i < perfis.size())
                    perfis[i].Ver(valores[i]);
            }
            return !parar;
        },
        erro);
    if (!ok)
        return false;
    if (primeira < 0 || lidos.isEmpty()) {
        erro = QStringLiteral("A folha '%1' está vazia.").arg(folha);
        return false;
    }
    const QStringList nomes = NomesDeColunas(lidos);
    estrutura = {};
    classes.clear();
    for (int i = 0; i < nomes.size(); ++i) {
        const Perfil& p = perfis[size_t(i)];
        ColunaCopia c;
        c.nome = nomes[i];
        c.dialetoOrigem = Dialeto::Outro;
        Classe k = Classe::Texto;
        c.tipoCatalogo = adWChar;
        c.flags = ISLONG;
        if (p.algum && p.booleanos) {
            k = Classe::Booleano;
            c.tipoCatalogo = adBoolean;
        } else if (p.algum && p.numeros && p.numeroDeFato && p.inteiros) {
            k = Classe::Inteiro;
            c.tipoCatalogo = adBigInt;
            c.precisao = 19;
        } else if (p.algum && p.numeros && p.numeroDeFato && p.digitosInteiros + p.escala <= 38) {
            k = Classe::Decimal;
            c.tipoCatalogo = adNumeric;
            c.precisao = qMax(1, p.digitosInteiros + p.escala);
            c.escala = p.escala;
        } else if (p.algum && p.numeros && p.numeroDeFato && !p.numeroEmTexto) {
            k = Classe::Real;
            c.tipoCatalogo = adDouble;
        } else if (p.algum && p.datas && p.dataDeFato) {
            k = p.soHora ? Classe::Hora : p.soData ? Classe::Data : Classe::DataHora;
            c.tipoCatalogo = p.soHora ? adDBTime : p.soData ? adDBDate : adDBTimeStamp;
            c.precisaoData = p.fracao;
        }
        if (k != Classe::Texto)
            c.flags = 0;
        classes.push_back(k);
        estrutura.colunas << c;
    }
    saida = estrutura;
    return true;
}

bool clsLeitorPlanilha::Ler(const RecebeBloco& recebe, QString& erro)
{
    Livro l;
    if (!l.Abrir(caminho, true, erro))
        return false;
    const int n = estrutura.colunas.size();
    QVector<CampoInfo> infos;
    for (int i = 0; i < n; ++i) {
        CampoInfo f;
        f.nome = estrutura.colunas[i].nome;
        switch (classes[size_t(i)]) {
        case Classe::Inteiro: f.tipo = adBigInt; break;
        case Classe::Decimal: f.tipo = adNumeric; break;
        case Classe::Real: f.tipo = adDouble; break;
        case Classe::Booleano: f.tipo = adBoolean; break;
        case Classe::Data:
            f.tipo = adDBDate;
            f.formaData = CampoInfo::FormaData::SoData;
            break;
        case Classe::Hora:
            f.tipo = adDBTime;
            f.formaData = CampoInfo::FormaData::SoHora;
            break;
        case Classe::DataHora: f.tipo = adDBTimeStamp; break;
        case Classe::Texto: f.tipo = adVarWChar; break;
        }
        infos << f;
    }
    clsBlocoLido bloco(infos, recebe);
    const auto formaDe = [](Formato f) {
        return f == Formato::Hora   ? datahora::Forma::SoHora
               : f == Formato::Data ? datahora::Forma::SoData
                                    : datahora::Forma::DataHora;
    };
    // A value in a column of text: its text as the sheet shows it, every digit kept.
    const auto comoTexto = [&](const Valor& v) -> QByteArray {
        switch (v.tipo) {
        case Valor::Tipo::Texto: return v.texto;
        case Valor::Tipo::Booleano: return v.numero ? "1" : "0";
        case Valor::Tipo::Numero:
            if (v.formato != Formato::Numero) {
                datahora::DataHora d = l.Data(v.numero, formaDe(v.formato));
                if (d.forma == datahora::Forma::SoData && d.ns != 0)
                    d.forma = datahora::Forma::DataHora;
                return QByteArray::fromStdString(datahora::Canonico(d));
            }
            return QByteArray::fromStdString(TextoDoNumero(v.numero));
        case Valor::Tipo::Vazio: break;
        }
        return {};
    };
    qint64 anterior = -1;
    std::string dec;
    const std::vector<Valor> vazia;
    const auto linhaDe = [&](const std::vector<Valor>& valores) {
        for (int i = 0; i < n; ++i) {
            const Valor* v = size_t(i) < valores.size() ? &valores[size_t(i)] : nullptr;
            const Classe k = classes[size_t(i)];
            const bool vazio = !v || v->tipo == Valor::Tipo::Vazio
                               || (k != Classe::Texto && v->tipo == Valor::Tipo::Texto && v->texto.isEmpty());
            if (vazio) {
                bloco->AcrescentarNulo(i);
                continue;
            }
            const bool texto = v->tipo == Valor::Tipo::Texto;
            datahora::DataHora d;
            switch (k) {
            case Classe::Inteiro:
                bloco->AcrescentarInteiro(i, std::stoll(texto ? v->texto.toStdString() : TextoDoNumero(v->numero)));
                break;
            case Classe::Decimal:
                decimal::Normalizar(texto ? v->texto.toStdString() : TextoDoNumero(v->numero), dec);
                bloco->AcrescentarDecimal(i, dec.data(), dec.size());
                break;
            case Classe::Real: bloco->AcrescentarReal(i, v->numero); break;
            case Classe::Booleano: bloco->AcrescentarInteiro(i, v->numero ? 1 : 0); break;
            case Classe::Data:
            case Classe::Hora:
            case Classe::DataHora:
                if (DataEmTexto(*v, d)) {
                    bloco->AcrescentarDataHora(i, d);
                    break;
                }
                bloco->AcrescentarDataHora(i,
                                           l.Data(v->numero,
                                                  k == Classe::Hora   ? datahora::Forma::SoHora
                                                  : k == Classe::Data ? datahora::Forma::SoData
                                                                      : datahora::Forma::DataHora));
                break;
            case Classe::Texto: {
                const QByteArray t = comoTexto(*v);
                bloco->AcrescentarTexto(i, t.constData(), size_t(t.size()));
                break;
            }
            }
        }
        bloco->FecharLinha();
    };
    const bool ok = l.Percorrer(
        folha,
        [&](qint64 linha, std::vector<Valor>& valores) {
            if (anterior < 0) {
                anterior = linha; // the header
                return true;
            }
            // Rows the sheet skips are rows without values.
            for (qint64 k = anterior + 1; k < linha; ++k)
                linhaDe(vazia);
            anterior = linha;
            linhaDe(valores);
            if (bloco->QtdeLinhas() >= 8192 && !bloco.Entregar())
                return false;
            return !parar;
        },
        erro);
    if (!ok || parar)
        return false;
    return bloco.Entregar();
}

// ---------------------------------------------------------------- writing

clsEscritorPlanilha::clsEscritorPlanilha(std::shared_ptr<exportar::clsLivroPlanilha> l, QString f)
    : livro(std::move(l)), folha(std::move(f))
{}

bool clsEscritorPlanilha::Iniciar(const EstruturaCopia& origem, Acao acao, QString& erro)
{
    Q_UNUSED(acao);
    QStringList nomes;
    for (const ColunaCopia& c : origem.colunas)
        nomes << c.nome;
    if (nomes.size() > 16384) {
        erro = QStringLiteral("A planilha aceita no máximo 16.384 colunas.");
        return false;
    }
    return livro->Aberto(erro) && livro->NovaFolha(exportar::clsLivroPlanilha::NomeDeFolha(folha), nomes, erro);
}

bool clsEscritorPlanilha::Escrever(const clsRecordsetDados& bloco, qint64 primeiraLinha, QString& erro)
{
    constexpr uint32_t MaxLinhas = 1048575;
    const int n = bloco.QtdeCampos();
    std::string buffer;
    for (uint32_t r = 0; r < uint32_t(bloco.QtdeLinhas()); ++r, ++linha) {
        if (linha > MaxLinhas) {
            erro = QStringLiteral("Linha %1: a folha de uma planilha aceita no máximo 1.048.575 linhas.")
                       .arg(primeiraLinha + r);
            return false;
        }
        for (int c = 0; c < n; ++c) {
            const Celula v = bloco.Ler(r, c);
            const CampoInfo& f = bloco.campos[c];
            switch (v.marca) {
            case Marca::Nulo: break;
            case Marca::Texto: {
                const QString t = bloco.Texto(v);
                if (!livro->Texto(linha, c, t)) {
                    erro = QStringLiteral("Linha %1, coluna '%2': o texto tem %3 caracteres e a célula de uma "
                                          "planilha aceita 32.767.")
                               .arg(primeiraLinha + r)
                               .arg(f.nome)
                               .arg(t.size());
                    return false;
                }
                break;
            }
            case Marca::Binario: {
                uint32_t k;
                const char* p = bloco.Bytes(v, k);
                livro->Texto(linha, c, TextoHex(p, k));
                break;
            }
            case Marca::Inteiro: {
                const auto x = qint64(v.carga);
                if (f.tipo == adBoolean)
                    livro->Booleano(linha, c, x != 0);
                else if (x >= -(qint64(1) << 53) && x <= (qint64(1) << 53))
                    livro->Numero(linha, c, double(x));
                else
                    livro->Texto(linha, c, QString::number(x));
                break;
            }
            case Marca::Real:
            case Marca::Decimal: {
                // A number only when the sheet's double keeps it exactly, else its text.
                const std::string_view t = bloco.TextoDecimal(v, buffer);
                double d = 0;
                const std::string s(t);
                const bool numero = !t.empty() && std::from_chars(s.data(), s.data() + s.size(), d).ec == std::errc()
                                    && decimal::Comparar(TextoDoNumero(d), s) == 0;
                if (numero)
                    livro->Numero(linha, c, d);
                else
                    livro->Texto(linha, c, t.empty() ? bloco.Texto(v) : QString::fromStdString(s));
                break;
            }
            case Marca::Data: {
                datahora::DataHora d;
                if (!bloco.DataHoraDe(v, c, d))
                    livro->Texto(linha, c, bloco.Texto(v));
                else if (!livro->Data(linha, c, d))
                    livro->Texto(linha, c, QString::fromStdString(datahora::Canonico(d)));
                break;
            }
            }
        }
    }
    return true;
}

} // namespace impexp
