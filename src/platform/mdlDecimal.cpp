#include "mdlDecimal.h"

#include <QLocale>
#include <charconv>

namespace decimal {

namespace {

inline bool Digito(char c) { return c >= '0' && c <= '9'; }
inline bool Branco(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// An exponent further than this is not a number any column keeps (a double needs about 330).
constexpr long ExpoenteMaximo = 1000;

// Orders two canonical texts without sign by value.
int CompararMagnitude(std::string_view a, std::string_view b)
{
    const size_t pa = a.find('.'), pb = b.find('.');
    const size_t ia = pa == std::string_view::npos ? a.size() : pa;
    const size_t ib = pb == std::string_view::npos ? b.size() : pb;
    if (ia != ib)
        return ia < ib ? -1 : 1; // no leading zeros: a longer integer part is a larger number
    const int r = a.substr(0, ia).compare(b.substr(0, ib));
    if (r != 0)
        return r < 0 ? -1 : 1;
    const std::string_view fa = pa == std::string_view::npos ? std::string_view() : a.substr(pa + 1);
    const std::string_view fb = pb == std::string_view::npos ? std::string_view() : b.substr(pb + 1);
    for (size_t k = 0; k < fa.size() || k < fb.size(); ++k) {
        const char ca = k < fa.size() ? fa[k] : '0';
        const char cb = k < fb.size() ? fb[k] : '0';
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return 0;
}

} // namespace

bool Normalizar(std::string_view t, std::string& saida)
{
    size_t i = 0, n = t.size();
    while (i < n && Branco(t[i]))
        ++i;
    while (n > i && Branco(t[n - 1]))
        --n;
    bool negativo = false;
    if (i < n && (t[i] == '+' || t[i] == '-'))
        negativo = t[i++] == '-';
    std::string digitos;
    long antesDoPonto = 0;
    bool ponto = false, algumDigito = false;
    for (; i < n; ++i) {
        if (Digito(t[i])) {
            algumDigito = true;
            if (digitos.empty() && t[i] == '0' && !ponto)
                continue; // a leading zero of the integer part
            digitos += t[i];
            if (!ponto)
                ++antesDoPonto;
        } else if (t[i] == '.' && !ponto) {
            ponto = true;
        } else {
            break;
        }
    }
    if (!algumDigito)
        return false;
    long expoente = 0;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        bool expNegativo = false;
        if (i < n && (t[i] == '+' || t[i] == '-'))
            expNegativo = t[i++] == '-';
        if (i >= n || !Digito(t[i]))
            return false;
        for (; i < n && Digito(t[i]); ++i) {
            expoente = expoente * 10 + (t[i] - '0');
            if (expoente > ExpoenteMaximo)
                return false;
        }
        if (expNegativo)
            expoente = -expoente;
    }
    if (i != n)
        return false;
    // The digits with the point moved by the exponent: `inteiros` of them before it.
    const long inteiros = antesDoPonto + expoente;
    const long total = long(digitos.size());
    std::string parteInteira, fracao;
    if (inteiros <= 0) {
        fracao.assign(size_t(-inteiros), '0');
        fracao += digitos;
    } else if (inteiros >= total) {
        parteInteira = digitos;
        parteInteira.append(size_t(inteiros - total), '0');
    } else {
        parteInteira = digitos.substr(0, size_t(inteiros));
        fracao = digitos.substr(size_t(inteiros));
    }
    const size_t primeiro = parteInteira.find_first_not_of('0');
    parteInteira = primeiro == std::string::npos ? std::string("0") : parteInteira.substr(primeiro);
    const bool zero = parteInteira == "0" && fracao.find_first_not_of('0') == std::string::npos;
    saida.clear();
    if (negativo && !zero)
        saida += '-';
    saida += parteInteira;
    if (!fracao.empty()) {
        saida += '.';
        saida += fracao;
    }
    return true;
}

bool Canonico(std::string_view t)
{
    size_t i = 0;
    const bool negativo = !t.empty() && t[0] == '-';
    if (negativo)
        ++i;
    if (i >= t.size() || !Digito(t[i]))
        return false;
    bool zero = t[i] == '0';
    if (t[i] == '0') {
        ++i; // "0" is the only integer part that starts with a zero
    } else {
        while (i < t.size() && Digito(t[i]))
            ++i;
    }
    if (i < t.size()) {
        if (t[i] != '.' || i + 1 >= t.size())
            return false;
        for (++i; i < t.size(); ++i) {
            if (!Digito(t[i]))
                return false;
            zero = zero && t[i] == '0';
        }
    }
    return !(negativo && zero);
}

bool DeTexto(QStringView texto, std::string& saida)
{
    const QByteArray u = texto.toUtf8();
    if (Normalizar(std::string_view(u.constData(), size_t(u.size())), saida))
        return true;
    if (u.count(',') != 1 || u.contains('.'))
        return false;
    QByteArray ponto = u;
    ponto.replace(',', '.');
    return Normalizar(std::string_view(ponto.constData(), size_t(ponto.size())), saida);
}

void DeInteiro(int64_t v, std::string& saida)
{
    char b[24];
    const auto r = std::to_chars(b, b + sizeof b, v);
    saida.assign(b, size_t(r.ptr - b));
}

bool DeReal(double v, std::string& saida)
{
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v);
    return r.ec == std::errc() && Normalizar(std::string_view(b, size_t(r.ptr - b)), saida);
}

int Comparar(std::string_view a, std::string_view b)
{
    const bool na = !a.empty() && a[0] == '-';
    const bool nb = !b.empty() && b[0] == '-';
    if (na != nb)
        return na ? -1 : 1;
    if (na) {
        a.remove_prefix(1);
        b.remove_prefix(1);
    }
    const int r = CompararMagnitude(a, b);
    return na ? -r : r;
}

int Escala(std::string_view c)
{
    const size_t p = c.find('.');
    return p == std::string_view::npos ? 0 : int(c.size() - p - 1);
}

int Precisao(std::string_view c)
{
    if (!c.empty() && c[0] == '-')
        c.remove_prefix(1);
    const size_t p = c.find('.');
    const std::string_view inteira = c.substr(0, p);
    const int digitos = (inteira == "0" ? 0 : int(inteira.size())) + Escala(c);
    return digitos > 0 ? digitos : 1;
}

QString ParaTextoLocal(const QString& canonico, const QLocale& local)
{
    const QByteArray u = canonico.toLatin1();
    if (!Canonico(std::string_view(u.constData(), size_t(u.size()))))
        return canonico;
    const QString zero = local.zeroDigit();
    const bool digitosProprios = zero.size() == 1 && zero[0] != u'0';
    QString r;
    r.reserve(canonico.size() + 2);
    for (const char c : u) {
        if (c == '-')
            r += local.negativeSign();
        else if (c == '.')
            r += local.decimalPoint();
        else if (digitosProprios)
            r += QChar(char16_t(zero[0].unicode() + (c - '0')));
        else
            r += QLatin1Char(c);
    }
    return r;
}

bool DeTextoLocal(const QString& texto, const QLocale& local, std::string& saida)
{
    QString s = texto.trimmed();
    if (local.negativeSign() != u"-")
        s.replace(local.negativeSign(), QStringLiteral("-"));
    if (local.positiveSign() != u"+")
        s.replace(local.positiveSign(), QStringLiteral("+"));
    const QString zero = local.zeroDigit();
    if (zero.size() == 1 && zero[0] != u'0')
        for (QChar& c : s)
            if (c.unicode() >= zero[0].unicode() && c.unicode() <= zero[0].unicode() + 9)
                c = QChar(char16_t(u'0' + (c.unicode() - zero[0].unicode())));
    const QString ponto = local.decimalPoint();
    if (ponto != u"." && s.contains(ponto)) {
        const QString grupo = local.groupSeparator();
        if (!grupo.isEmpty() && grupo != ponto)
            s.remove(grupo);
        s.replace(ponto, QStringLiteral("."));
    }
    return DeTexto(s, saida);
}

} // namespace decimal
