#include "clsRecordsetFiltro.h"

#include "mdlDecimal.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

using namespace ado;

// ---------------------------------------------------------------- comparisons

int CompararTextos(const char* a, uint32_t na, const char* b, uint32_t nb)
{
    const uint32_t n = std::min(na, nb);
    for (uint32_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if ((ca | cb) & 0x80) {
            const int r = QString::compare(QString::fromUtf8(a + i, na - i),
                                           QString::fromUtf8(b + i, nb - i),
                                           Qt::CaseInsensitive);
            return r < 0 ? -1 : (r > 0 ? 1 : 0);
        }
        if (ca >= 'A' && ca <= 'Z')
            ca += 32;
        if (cb >= 'A' && cb <= 'Z')
            cb += 32;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

namespace {

int Classe(Marca m)
{
    switch (m) {
    case Marca::Nulo: return 0;
    case Marca::Inteiro:
    case Marca::Real:
    case Marca::Data:
    case Marca::Decimal: return 1;
    case Marca::Texto: return 2;
    case Marca::Binario: return 3;
    }
    return 4;
}

double ComoReal(Celula c)
{
    if (c.marca == Marca::Real) {
        double d;
        std::memcpy(&d, &c.carga, 8);
        return d;
    }
    return double(int64_t(c.carga));
}

template <typename T> int Sinal(T a, T b) { return a < b ? -1 : (b < a ? 1 : 0); }

// Orders a cell against a decimal's canonical text exactly: numbers by value, a text that reads as
// a number by its value too; other texts and binaries come after numbers, nulls before.
int CompararComDecimal(const clsRecordsetDados& d, Celula c, std::string_view dec)
{
    std::string buffer;
    std::string_view t;
    switch (c.marca) {
    case Marca::Nulo: return -1;
    case Marca::Binario: return 1;
    case Marca::Texto: {
        if (!decimal::DeTexto(d.Texto(c), buffer))
            return 1;
        t = buffer;
        break;
    }
    case Marca::Data:
        decimal::DeInteiro(int64_t(c.carga), buffer);
        t = buffer;
        break;
    default:
        t = d.TextoDecimal(c, buffer);
        if (t.empty()) { // NaN or an infinity
            const double x = ComoReal(c);
            return std::isnan(x) ? -1 : (x < 0 ? -1 : 1);
        }
        break;
    }
    return decimal::Comparar(t, dec);
}

} // namespace

int CompararCelulas(const clsRecordsetDados& dados, Celula a, Celula b)
{
    const int ka = Classe(a.marca), kb = Classe(b.marca);
    if (ka != kb)
        return ka < kb ? -1 : 1;
    switch (ka) {
    case 0: return 0;
    case 1:
        if (b.marca == Marca::Decimal) {
            uint32_t n;
            const char* p = dados.Bytes(b, n);
            return CompararComDecimal(dados, a, std::string_view(p, n));
        }
        if (a.marca == Marca::Decimal) {
            uint32_t n;
            const char* p = dados.Bytes(a, n);
            return -CompararComDecimal(dados, b, std::string_view(p, n));
        }
        if (a.marca == b.marca && a.marca != Marca::Real)
            return Sinal(int64_t(a.carga), int64_t(b.carga));
        return Sinal(ComoReal(a), ComoReal(b));
    case 2: {
        uint32_t na, nb;
        const char* pa = dados.Bytes(a, na);
        const char* pb = dados.Bytes(b, nb);
        return CompararTextos(pa, na, pb, nb);
    }
    default: {
        uint32_t na, nb;
        const char* pa = dados.Bytes(a, na);
        const char* pb = dados.Bytes(b, nb);
        const int r = std::memcmp(pa, pb, std::min(na, nb));
        return r != 0 ? (r < 0 ? -1 : 1) : Sinal(na, nb);
    }
    }
}

// ---------------------------------------------------------------- filter

enum class Operador { Igual, Diferente, Menor, Maior, MenorIgual, MaiorIgual, Como, EhNulo, NaoEhNulo };

struct ExpressaoFiltro {
    enum Tipo { Comparacao, E, Ou } tipo = Comparacao;
    std::shared_ptr<ExpressaoFiltro> esq, dir;
    int campo = -1;
    Operador op = Operador::Igual;
    Celula valor; // text, binary and decimal constants keep their bytes in `texto`
    QByteArray texto; // text constant (UTF-8)
    bool valorNulo = false;
    bool ehData = false; // a date constant, with every digit it was written with
    datahora::DataHora data;
};

namespace {

class Leitor {
public:
    Leitor(const QString& s, const clsRecordsetDados& d) : s(s), d(d) {}
    QString erro;

    std::shared_ptr<ExpressaoFiltro> Ler()
    {
        auto e = Expressao();
        if (e && !Fim()) {
            Falhar(QStringLiteral("texto inesperado em '%1'").arg(s.mid(i)));
            return nullptr;
        }
        return e;
    }

private:
    const QString& s;
    const clsRecordsetDados& d;
    int i = 0;

    std::nullptr_t Falhar(const QString& msg)
    {
        if (erro.isEmpty())
            erro = msg;
        return nullptr;
    }
    void Brancos()
    {
        while (i < s.size() && s[i].isSpace())
            ++i;
    }
    bool Fim()
    {
        Brancos();
        return i >= s.size();
    }
    bool Palavra(QLatin1String p)
    {
        Brancos();
        if (s.mid(i, p.size()).compare(p, Qt::CaseInsensitive) != 0)
            return false;
        const int j = i + int(p.size());
        if (j < s.size() && (s[j].isLetterOrNumber() || s[j] == u'_'))
            return false;
        i = j;
        return true;
    }
    std::shared_ptr<ExpressaoFiltro>
    Junta(ExpressaoFiltro::Tipo t, std::shared_ptr<ExpressaoFiltro> a, std::shared_ptr<ExpressaoFiltro> b)
    {
        auto e = std::make_shared<ExpressaoFiltro>();
        e->tipo = t;
        e->esq = std::move(a);
        e->dir = std::move(b);
        return e;
    }
    std::shared_ptr<ExpressaoFiltro> Expressao()
    {
        auto a = Termo();
        while (a && Palavra(QLatin1String("Or"))) {
            auto b = Termo();
            if (!b)
                return nullptr;
            a = Junta(ExpressaoFiltro::Ou, a, b);
        }
        return a;
    }
    std::shared_ptr<ExpressaoFiltro> Termo()
    {
        auto a = Fator();
        while (a && Palavra(QLatin1String("And"))) {
            auto b = Fator();
            if (!b)
                return nullptr;
            a = Junta(ExpressaoFiltro::E, a, b);
        }
        return a;
    }
    std::shared_ptr<ExpressaoFiltro> Fator()
    {
        Brancos();
        if (i < s.size() && s[i] == u'(') {
            ++i;
            auto e = Expressao();
            Brancos();
            if (!e)
                return nullptr;
            if (i >= s.size() || s[i] != u')')
                return Falhar(QStringLiteral("falta fechar o parêntese"));
            ++i;
            return e;
        }
        return Comparacao();
    }
    QString NomeCampo()
    {
        Brancos();
        if (i < s.size() && s[i] == u'[') {
            const int f = s.indexOf(u']', i + 1);
            if (f < 0)
                return QString();
            const QString n = s.mid(i + 1, f - i - 1);
            i = f + 1;
            return n;
        }
        const int ini = i;
        while (i < s.size() && (s[i].isLetterOrNumber() || s[i] == u'_' || s[i] == u'.' || s[i] == u'$'))
            ++i;
        return s.mid(ini, i - ini);
    }
    bool LerOperador(Operador& op)
    {
        Brancos();
        static const struct {
            const char* t;
            Operador o;
        } ops[] = {{"<>", Operador::Diferente},
                   {"<=", Operador::MenorIgual},
                   {">=", Operador::MaiorIgual},
                   {"=", Operador::Igual},
                   {"<", Operador::Menor},
                   {">", Operador::Maior}};
        for (const auto& o : ops) {
            const QLatin1String t(o.t);
            if (s.mid(i, t.size()) == t) {
                i += int(t.size());
                op = o.o;
                return true;
            }
        }
        if (Palavra(QLatin1String("Like"))) {
            op = Operador::Como;
            return true;
        }
        return false;
    }
    std::shared_ptr<ExpressaoFiltro> Comparacao()
    {
        const QString nome = NomeCampo();
        if (nome.isEmpty())
            return Falhar(QStringLiteral("falta o nome de um campo em '%1'").arg(s.mid(i)));
        auto e = std::make_shared<ExpressaoFiltro>();
        e->campo = d.IndiceCampo(nome);
        if (e->campo < 0)
            return Falhar(QStringLiteral("o campo '%1' não existe").arg(nome));
        if (Palavra(QLatin1String("Is"))) {
            const bool nao = Palavra(QLatin1String("Not"));
            if (!Palavra(QLatin1String("Null")))
                return Falhar(QStringLiteral("esperado Null após Is"));
            e->op = nao ? Operador::NaoEhNulo : Operador::EhNulo;
            return e;
        }
        if (!LerOperador(e->op))
            return Falhar(QStringLiteral("falta o operador após '%1'").arg(nome));
        if (!Valor(*e))
            return nullptr;
        if (e->valorNulo) {
            if (e->op == Operador::Igual)
                e->op = Operador::EhNulo;
            else if (e->op == Operador::Diferente)
                e->op = Operador::NaoEhNulo;
            else
                return Falhar(QStringLiteral("Null só se compara com = ou <>"));
        }
        return e;
    }
    bool Valor(ExpressaoFiltro& e)
    {
        Brancos();
        if (i >= s.size())
            return Falhar(QStringLiteral("falta o valor")), false;
        const int tipo = d.campos[e.campo].tipo;
        const QChar c = s[i];
        if (c == u'\'') {
            QString t;
            ++i;
            for (;;) {
                if (i >= s.size())
                    return Falhar(QStringLiteral("texto sem o apóstrofo final")), false;
                if (s[i] == u'\'') {
                    if (i + 1 < s.size() && s[i + 1] == u'\'') {
                        t += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                t += s[i++];
            }
            return Constante(e, t, tipo, true);
        }
        if (c == u'#') {
            const int f = s.indexOf(u'#', i + 1);
            if (f < 0)
                return Falhar(QStringLiteral("data sem o # final")), false;
            const QString t = s.mid(i + 1, f - i - 1).trimmed();
            i = f + 1;
            const QByteArray u = t.toUtf8();
            if (datahora::LerIso(std::string_view(u.constData(), size_t(u.size())), e.data))
                return Data(e);
            QDateTime dt;
            for (const char* fmt : {"M/d/yyyy H:mm:ss", "M/d/yyyy H:mm", "M/d/yyyy", "M/d/yy"})
                if (!dt.isValid())
                    dt = QDateTime::fromString(t, QString::fromLatin1(fmt));
            if (!dt.isValid())
                return Falhar(QStringLiteral("data inválida: #%1#").arg(t)), false;
            e.data = datahora::DeMs(clsRecordsetDados::DataParaMs(dt), datahora::Forma::DataHora);
            return Data(e);
        }
        if (Palavra(QLatin1String("Null"))) {
            e.valorNulo = true;
            return true;
        }
        if (Palavra(QLatin1String("True"))) {
            e.valor = Celula{Marca::Inteiro, 1};
            return true;
        }
        if (Palavra(QLatin1String("False"))) {
            e.valor = Celula{Marca::Inteiro, 0};
            return true;
        }
        const int ini = i;
        if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
            ++i;
        while (i < s.size() && (s[i].isDigit() || s[i] == u'.'))
            ++i;
        const QString num = s.mid(ini, i - ini);
        if (i < s.size() && !s[i].isSpace() && s[i] != u')') {
            while (i < s.size() && !s[i].isSpace() && s[i] != u')')
                ++i;
            return Falhar(QStringLiteral("valor inválido: %1 (texto vai entre apóstrofos)").arg(s.mid(ini, i - ini))),
                   false;
        }
        if (num.isEmpty())
            return Falhar(QStringLiteral("valor inválido em '%1'").arg(s.mid(ini))), false;
        return Constante(e, num, tipo, false);
    }
    bool Data(ExpressaoFiltro& e)
    {
        e.ehData = true;
        e.valor.marca = Marca::Data;
        return true;
    }
    // A constant converted to the field's kind, so rows compare without conversions.
    bool Constante(ExpressaoFiltro& e, const QString& t, int tipo, bool citado)
    {
        if (e.op == Operador::Como || TipoTexto(tipo) || tipo == adVariant) {
            e.texto = t.toUtf8();
            e.valor.marca = Marca::Texto;
            return true;
        }
        if (TipoData(tipo)) {
            // ISO, or as the user writes dates: a date alone, a time alone, or both.
            if (!datahora::LerDigitado(t, datahora::Forma::DataHora, e.data)
                && !datahora::LerDigitado(t, datahora::Forma::SoData, e.data)
                && !datahora::LerDigitado(t, datahora::Forma::SoHora, e.data))
                return Falhar(QStringLiteral("'%1' não é uma data").arg(t)), false;
            return Data(e);
        }
        if (TipoBinario(tipo)) {
            e.texto = t.toUtf8();
            e.valor.marca = Marca::Binario;
            return true;
        }
        if (TipoDecimal(tipo)) {
            std::string dec;
            if (!decimal::DeTexto(t, dec))
                return Falhar(citado ? QStringLiteral("'%1' não é um número").arg(t)
                                     : QStringLiteral("valor inválido: %1").arg(t)),
                       false;
            e.texto = QByteArray(dec.data(), qsizetype(dec.size()));
            e.valor.marca = Marca::Decimal;
            return true;
        }
        bool ok = false;
        const QString n = t.trimmed();
        const qlonglong iv = n.toLongLong(&ok);
        if (ok) {
            e.valor = Celula{Marca::Inteiro, uint64_t(int64_t(iv))};
            return true;
        }
        const double dv = n.toDouble(&ok);
        if (!ok)
            return Falhar(citado ? QStringLiteral("'%1' não é um número").arg(t)
                                 : QStringLiteral("valor inválido: %1").arg(t)),
                   false;
        uint64_t u;
        std::memcpy(&u, &dv, 8);
        e.valor = Celula{Marca::Real, u};
        return true;
    }
};

// Like with * or % for any run and _ or ? for one character, case-insensitive.
bool Casa(const QString& texto, const QString& padrao, int ti = 0, int pi = 0)
{
    while (pi < padrao.size()) {
        const QChar p = padrao[pi];
        if (p == u'*' || p == u'%') {
            for (int k = ti; k <= texto.size(); ++k)
                if (Casa(texto, padrao, k, pi + 1))
                    return true;
            return false;
        }
        if (ti >= texto.size())
            return false;
        if (p != u'_' && p != u'?' && p.toCaseFolded() != texto[ti].toCaseFolded())
            return false;
        ++ti;
        ++pi;
    }
    return ti == texto.size();
}

bool Comparar(const ExpressaoFiltro& e, const clsRecordsetDados& d, uint32_t linha)
{
    const Celula c = d.Ler(linha, e.campo);
    if (e.op == Operador::EhNulo)
        return c.marca == Marca::Nulo;
    if (e.op == Operador::NaoEhNulo)
        return c.marca != Marca::Nulo;
    if (c.marca == Marca::Nulo)
        return false;
    int r;
    if (e.ehData) {
        datahora::DataHora valor;
        if (!d.DataHoraDe(c, e.campo, valor))
            return false;
        r = datahora::Comparar(valor, e.data);
    } else if (e.valor.marca == Marca::Decimal) {
        r = CompararComDecimal(d, c, std::string_view(e.texto.constData(), size_t(e.texto.size())));
    } else if (e.valor.marca == Marca::Texto || e.valor.marca == Marca::Binario) {
        if (e.op == Operador::Como) {
            return Casa(d.Texto(c), QString::fromUtf8(e.texto));
        }
        if (c.marca == Marca::Texto || c.marca == Marca::Binario) {
            uint32_t n;
            const char* p = d.Bytes(c, n);
            r = e.valor.marca == Marca::Texto
                    ? CompararTextos(p, n, e.texto.constData(), uint32_t(e.texto.size()))
                    : std::memcmp(p, e.texto.constData(), std::min<size_t>(n, size_t(e.texto.size())));
        } else {
            const QByteArray t = d.Texto(c).toUtf8();
            r = CompararTextos(t.constData(), uint32_t(t.size()), e.texto.constData(), uint32_t(e.texto.size()));
        }
    } else {
        r = CompararCelulas(d, c, e.valor);
    }
    switch (e.op) {
    case Operador::Igual: return r == 0;
    case Operador::Diferente: return r != 0;
    case Operador::Menor: return r < 0;
    case Operador::Maior: return r > 0;
    case Operador::MenorIgual: return r <= 0;
    case Operador::MaiorIgual: return r >= 0;
    default: return false;
    }
}

} // namespace

std::shared_ptr<ExpressaoFiltro> AnalisarFiltro(const QString& criterio, const clsRecordsetDados& dados, QString& erro)
{
    Leitor l(criterio, dados);
    auto e = l.Ler();
    erro = l.erro;
    return e;
}

bool AvaliarFiltro(const ExpressaoFiltro& e, const clsRecordsetDados& dados, uint32_t linha)
{
    switch (e.tipo) {
    case ExpressaoFiltro::E: return AvaliarFiltro(*e.esq, dados, linha) && AvaliarFiltro(*e.dir, dados, linha);
    case ExpressaoFiltro::Ou: return AvaliarFiltro(*e.esq, dados, linha) || AvaliarFiltro(*e.dir, dados, linha);
    default: return Comparar(e, dados, linha);
    }
}

// ---------------------------------------------------------------- sort

bool AnalisarOrdem(const QString& criterio,
                   const clsRecordsetDados& dados,
                   std::vector<ChaveOrdem>& chaves,
                   QString& erro)
{
    chaves.clear();
    for (const QString& parte : criterio.split(u',', Qt::SkipEmptyParts)) {
        QString p = parte.trimmed();
        if (p.isEmpty())
            continue;
        ChaveOrdem k;
        const int sp = p.lastIndexOf(u' ');
        if (sp > 0 && !p.endsWith(u']')) {
            const QString dir = p.mid(sp + 1);
            if (dir.compare(u"Desc", Qt::CaseInsensitive) == 0
                || dir.compare(u"Descending", Qt::CaseInsensitive) == 0) {
                k.descendente = true;
                p = p.left(sp).trimmed();
            } else if (dir.compare(u"Asc", Qt::CaseInsensitive) == 0
                       || dir.compare(u"Ascending", Qt::CaseInsensitive) == 0) {
                p = p.left(sp).trimmed();
            }
        }
        k.campo = dados.IndiceCampo(p);
        if (k.campo < 0) {
            erro = QStringLiteral("o campo '%1' não existe").arg(p);
            return false;
        }
        chaves.push_back(k);
    }
    return true;
}

namespace {

// One row in a sort: the first key's cell and, for text, its first 16 bytes folded to lower case
// as two big-endian numbers, so most comparisons never touch the text itself.
struct ItemOrdem {
    uint64_t a; // text: bytes 0-7 of the folded prefix; otherwise the cell's payload
    uint64_t b; // text: bytes 8-15
    const char* p; // text or binary bytes
    uint32_t n;
    uint32_t indice; // position before sorting: equal keys keep their order
    Marca marca;
    bool prefixoAscii; // the prefix (all of it, up to 16 bytes) is ASCII
};

void Prefixo(ItemOrdem& it)
{
    uint8_t k[16] = {0};
    const uint32_t m = it.n < 16 ? it.n : 16;
    it.prefixoAscii = true;
    for (uint32_t i = 0; i < m; ++i) {
        uint8_t c = static_cast<uint8_t>(it.p[i]);
        if (c & 0x80) {
            it.prefixoAscii = false;
            break;
        }
        if (c >= 'A' && c <= 'Z')
            c += 32;
        k[i] = c;
    }
    it.a = it.b = 0;
    for (int i = 0; i < 8; ++i) {
        it.a = (it.a << 8) | k[i];
        it.b = (it.b << 8) | k[8 + i];
    }
}

// A date as tenths of a microsecond since Julian day 0 (at UTC when it has its offset).
int64_t Decimos(const datahora::DataHora& d)
{
    return d.dia * 864000000000LL + d.ns / 100 - (d.temFuso ? int64_t(d.fusoMin) * 600000000LL : 0);
}

} // namespace

void Ordenar(std::vector<uint32_t>& linhas, const std::vector<ChaveOrdem>& chaves, const clsRecordsetDados& dados)
{
    if (chaves.empty() || linhas.size() < 2)
        return;
    std::vector<ItemOrdem> itens(linhas.size());
    const int c0 = chaves[0].campo;
    const bool dataPrimeira = TipoData(dados.campos[c0].tipo);
    auto compararChave = [&dados](int campo, Celula a, Celula b) {
        datahora::DataHora da, db;
        if (TipoData(dados.campos[campo].tipo) && dados.DataHoraDe(a, campo, da) && dados.DataHoraDe(b, campo, db))
            return datahora::Comparar(da, db);
        return CompararCelulas(dados, a, b);
    };
    for (size_t i = 0; i < linhas.size(); ++i) {
        ItemOrdem& it = itens[i];
        const Celula c = dados.Ler(linhas[i], c0);
        it.indice = uint32_t(i);
        it.marca = c.marca;
        it.a = c.carga;
        it.b = 0;
        it.p = nullptr;
        it.n = 0;
        it.prefixoAscii = false;
        datahora::DataHora dh;
        if (dataPrimeira && dados.DataHoraDe(c, c0, dh)) {
            // Whole milliseconds and exact texts of one date column order together, by value.
            it.marca = Marca::Data;
            it.a = uint64_t(Decimos(dh));
        } else if (c.marca == Marca::Texto || c.marca == Marca::Binario) {
            it.p = dados.Bytes(c, it.n);
            if (c.marca == Marca::Texto)
                Prefixo(it);
        }
    }
    const bool desc0 = chaves[0].descendente;
    auto primeira = [&](const ItemOrdem& x, const ItemOrdem& y) -> int {
        if (x.marca == Marca::Texto && y.marca == Marca::Texto) {
            if (x.prefixoAscii && y.prefixoAscii) {
                if (x.a != y.a)
                    return x.a < y.a ? -1 : 1;
                if (x.b != y.b)
                    return x.b < y.b ? -1 : 1;
                if (x.n <= 16 && y.n <= 16)
                    return Sinal(x.n, y.n);
            }
            return CompararTextos(x.p, x.n, y.p, y.n);
        }
        if (x.marca == Marca::Inteiro && y.marca == Marca::Inteiro)
            return Sinal(int64_t(x.a), int64_t(y.a));
        if (x.marca == Marca::Texto || x.marca == Marca::Binario || y.marca == Marca::Texto
            || y.marca == Marca::Binario)
            return CompararCelulas(
                dados,
                Celula{x.marca,
                       x.marca == Marca::Texto || x.marca == Marca::Binario ? dados.Ler(linhas[x.indice], c0).carga
                                                                            : x.a},
                Celula{y.marca,
                       y.marca == Marca::Texto || y.marca == Marca::Binario ? dados.Ler(linhas[y.indice], c0).carga
                                                                            : y.a});
        return CompararCelulas(dados, Celula{x.marca, x.a}, Celula{y.marca, y.a});
    };
    std::sort(itens.begin(), itens.end(), [&](const ItemOrdem& x, const ItemOrdem& y) {
        int r = primeira(x, y);
        if (desc0)
            r = -r;
        for (size_t k = 1; r == 0 && k < chaves.size(); ++k) {
            r = compararChave(chaves[k].campo,
                              dados.Ler(linhas[x.indice], chaves[k].campo),
                              dados.Ler(linhas[y.indice], chaves[k].campo));
            if (chaves[k].descendente)
                r = -r;
        }
        return r != 0 ? r < 0 : x.indice < y.indice;
    });
    std::vector<uint32_t> ordenadas(itens.size());
    for (size_t i = 0; i < itens.size(); ++i)
        ordenadas[i] = linhas[itens[i].indice];
    linhas.swap(ordenadas);
}
