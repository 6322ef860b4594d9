#include "mdlDataHora.h"

#include <QDate>

namespace datahora {

namespace {

constexpr int64_t NsPorSegundo = 1000000000LL;
constexpr int64_t NsPorDia = 86400LL * NsPorSegundo;

// A cursor over the text being read.
struct Leitor {
    std::string_view t;
    size_t i = 0;
    bool Fim() const { return i >= t.size(); }
    bool Ve(char c) const { return i < t.size() && t[i] == c; }
    bool Pula(char c)
    {
        if (!Ve(c))
            return false;
        ++i;
        return true;
    }
    void Brancos()
    {
        while (i < t.size() && t[i] == ' ')
            ++i;
    }
    // Between `min` and `max` digits.
    bool Numero(int min, int max, int& v)
    {
        v = 0;
        int n = 0;
        while (n < max && i < t.size() && t[i] >= '0' && t[i] <= '9') {
            v = v * 10 + (t[i] - '0');
            ++i;
            ++n;
        }
        return n >= min;
    }
};

// "HH:mm[:ss[.f…]]" and the offset after it.
bool LerHora(Leitor& l, DataHora& d, bool aceitaFuso)
{
    int h, mi, s = 0;
    if (!l.Numero(1, 2, h) || !l.Pula(':') || !l.Numero(2, 2, mi))
        return false;
    int64_t fracao = 0;
    if (l.Pula(':')) {
        if (!l.Numero(2, 2, s))
            return false;
        if (l.Pula('.') || l.Pula(',')) {
            int casas = 0;
            while (!l.Fim() && l.t[l.i] >= '0' && l.t[l.i] <= '9') {
                if (casas < 9) {
                    fracao = fracao * 10 + (l.t[l.i] - '0');
                    ++casas;
                }
                ++l.i;
            }
            if (casas == 0)
                return false;
            while (casas++ < 9)
                fracao *= 10;
        }
    }
    if (h > 23 || mi > 59 || s > 59)
        return false;
    d.ns = ((int64_t(h) * 60 + mi) * 60 + s) * NsPorSegundo + fracao;
    if (!aceitaFuso)
        return true;
    l.Brancos();
    if (l.Pula('Z') || l.Pula('z')) {
        d.temFuso = true;
        d.fusoMin = 0;
        return true;
    }
    if (!l.Ve('+') && !l.Ve('-'))
        return true;
    const bool negativo = l.t[l.i] == '-';
    ++l.i;
    int fh, fm = 0;
    if (!l.Numero(2, 2, fh))
        return false;
    l.Pula(':');
    if (!l.Fim() && l.t[l.i] >= '0' && l.t[l.i] <= '9' && !l.Numero(2, 2, fm))
        return false;
    if (fh > 15 || fm > 59)
        return false;
    d.temFuso = true;
    d.fusoMin = (negativo ? -1 : 1) * (fh * 60 + fm);
    return true;
}

bool DiaValido(int a, int m, int dd, int64_t& dia)
{
    const QDate data(a, m, dd);
    if (!data.isValid())
        return false;
    dia = data.toJulianDay();
    return true;
}

// After the date: the end, or a blank (or T) and the time.
bool LerResto(Leitor& l, DataHora& d)
{
    if (l.Fim()) {
        d.forma = Forma::SoData;
        return true;
    }
    if (!l.Pula('T') && !l.Pula(' '))
        return false;
    l.Brancos();
    d.forma = Forma::DataHora;
    return LerHora(l, d, true) && (l.Brancos(), l.Fim());
}

std::string_view Aparado(std::string_view t)
{
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

QString Dois(int v) { return QString::number(v).rightJustified(2, u'0'); }

// The fraction's digits: every significant one, at least `casas` (3 when it is 0); none when zero.
QString Fracao(int64_t ns, int casas)
{
    const int64_t f = ns % NsPorSegundo;
    if (f == 0)
        return {};
    QString digitos = QString::number(f).rightJustified(9, u'0');
    int sig = 9;
    while (sig > 0 && digitos[sig - 1] == u'0')
        --sig;
    const int n = std::min(9, std::max(sig, casas > 0 ? casas : 3));
    return u'.' + digitos.left(n);
}

QString TextoHora(int64_t ns, int casas)
{
    const int64_t s = ns / NsPorSegundo;
    return Dois(int(s / 3600)) + u':' + Dois(int(s / 60 % 60)) + u':' + Dois(int(s % 60)) + Fracao(ns, casas);
}

QString TextoFuso(const DataHora& d)
{
    if (!d.temFuso)
        return {};
    const int m = d.fusoMin < 0 ? -d.fusoMin : d.fusoMin;
    return QStringLiteral(" %1%2:%3").arg(QChar(d.fusoMin < 0 ? u'-' : u'+'), Dois(m / 60), Dois(m % 60));
}

QString TextoIso(const DataHora& d, int casas)
{
    const QDate data = QDate::fromJulianDay(d.dia);
    const QString dataTexto
        = QString::number(data.year()).rightJustified(4, u'0') + u'-' + Dois(data.month()) + u'-' + Dois(data.day());
    switch (d.forma) {
    case Forma::SoData: return dataTexto;
    case Forma::SoHora: return TextoHora(d.ns, casas);
    case Forma::DataHora: break;
    }
    return dataTexto + u' ' + TextoHora(d.ns, casas) + TextoFuso(d);
}

} // namespace

int64_t DiaDaHora() { return QDate(1899, 12, 30).toJulianDay(); }

bool LerIso(std::string_view texto, DataHora& d)
{
    d = DataHora{};
    Leitor l{Aparado(texto)};
    // A time alone: "HH:" at the start.
    if (l.t.size() >= 3 && (l.t[1] == ':' || l.t[2] == ':')) {
        d.forma = Forma::SoHora;
        d.dia = DiaDaHora();
        return LerHora(l, d, false) && l.Fim();
    }
    int a, m, dd;
    if (!l.Numero(4, 4, a) || !l.Pula('-') || !l.Numero(2, 2, m) || !l.Pula('-') || !l.Numero(2, 2, dd)
        || !DiaValido(a, m, dd, d.dia))
        return false;
    return LerResto(l, d);
}

bool LerDigitado(const QString& texto, Forma esperada, DataHora& d)
{
    const QByteArray u = texto.trimmed().toUtf8();
    const std::string_view t(u.constData(), size_t(u.size()));
    bool ok = LerIso(t, d);
    if (!ok && esperada != Forma::SoHora) {
        d = DataHora{};
        Leitor l{t};
        int dd, m, a;
        ok = l.Numero(1, 2, dd) && l.Pula('/') && l.Numero(1, 2, m) && l.Pula('/') && l.Numero(4, 4, a)
             && DiaValido(a, m, dd, d.dia) && LerResto(l, d);
    }
    if (!ok)
        return false;
    // A date column takes a date; a time column a time; a date alone is midnight of a date and time.
    if (esperada == Forma::SoHora || d.forma == Forma::SoHora)
        return esperada == Forma::SoHora && d.forma == Forma::SoHora;
    if (esperada == Forma::SoData)
        return d.forma == Forma::SoData;
    d.forma = Forma::DataHora;
    return true;
}

std::string Canonico(const DataHora& d)
{
    QString t = TextoIso(d, 1);
    return t.toStdString();
}

QString Iso(const DataHora& d, int casas) { return TextoIso(d, casas); }

QString Exibir(const DataHora& d, int casas, bool semMeiaNoite)
{
    const QString data = QDate::fromJulianDay(d.dia).toString(QStringLiteral("dd/MM/yyyy"));
    switch (d.forma) {
    case Forma::SoData: return data;
    case Forma::SoHora: return TextoHora(d.ns, casas);
    case Forma::DataHora: break;
    }
    if (semMeiaNoite && d.ns == 0 && !d.temFuso)
        return data;
    return data + u' ' + TextoHora(d.ns, casas) + TextoFuso(d);
}

bool EmMs(const DataHora& d, int64_t& ms)
{
    if (d.temFuso || d.ns % 1000000 != 0)
        return false;
    ms = d.dia * 86400000LL + d.ns / 1000000;
    return true;
}

DataHora DeMs(int64_t ms, Forma forma)
{
    DataHora d;
    d.dia = ms / 86400000LL;
    int64_t resto = ms % 86400000LL;
    if (resto < 0) {
        resto += 86400000LL;
        --d.dia;
    }
    d.ns = resto * 1000000;
    d.forma = forma;
    if (forma == Forma::SoHora)
        d.dia = DiaDaHora();
    return d;
}

int Comparar(const DataHora& a, const DataHora& b)
{
    const bool instante = a.temFuso && b.temFuso;
    const __int128 x = __int128(a.dia) * NsPorDia + a.ns - (instante ? __int128(a.fusoMin) * 60 * NsPorSegundo : 0);
    const __int128 y = __int128(b.dia) * NsPorDia + b.ns - (instante ? __int128(b.fusoMin) * 60 * NsPorSegundo : 0);
    return x < y ? -1 : (y < x ? 1 : 0);
}

} // namespace datahora
