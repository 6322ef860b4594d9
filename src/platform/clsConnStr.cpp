#include "clsConnStr.h"

#include <functional>

bool clsConnStr::Analisar(const QString& s)
{
    pares.clear();
    QList<QPair<QString, QString>> lidos;
    const bool ok = LerPares(s, lidos);
    for (const auto& [chave, valor] : lidos)
        Definir(chave, valor);
    return ok;
}

bool clsConnStr::LerPares(const QString& s, QList<QPair<QString, QString>>& saida)
{
    saida.clear();
    int i = 0;
    const int n = s.size();
    while (i < n) {
        // key: up to "=", with "==" meaning a literal "="
        QString chave;
        while (i < n) {
            if (s[i] == u'=') {
                if (i + 1 < n && s[i + 1] == u'=') {
                    chave += u'=';
                    i += 2;
                    continue;
                }
                break;
            }
            if (s[i] == u';' && chave.trimmed().isEmpty()) {
                chave.clear();
                ++i;
                continue;
            }
            chave += s[i++];
        }
        chave = chave.trimmed();
        if (i >= n) {
            // a trailing piece without "=" is ignored
            break;
        }
        ++i; // "="
        while (i < n && s[i].isSpace())
            ++i;
        QString valor;
        if (i < n && (s[i] == u'"' || s[i] == u'\'' || s[i] == u'{')) {
            // quoted (OLE DB) or in braces (ODBC): the closing mark doubled is the mark itself
            const QChar aspa = s[i] == u'{' ? QChar(u'}') : s[i];
            ++i;
            bool fechou = false;
            while (i < n) {
                if (s[i] == aspa) {
                    if (i + 1 < n && s[i + 1] == aspa) {
                        valor += aspa;
                        i += 2;
                        continue;
                    }
                    ++i;
                    fechou = true;
                    break;
                }
                valor += s[i++];
            }
            if (!fechou) {
                saida.append({chave, valor});
                return false;
            }
            while (i < n && s[i] != u';')
                ++i;
        } else {
            const int ini = i;
            while (i < n && s[i] != u';')
                ++i;
            valor = s.mid(ini, i - ini).trimmed();
        }
        if (i < n)
            ++i; // ";"
        if (!chave.isEmpty())
            saida.append({chave, valor});
    }
    return true;
}

bool clsConnStr::Contem(const QString& chave) const
{
    for (const auto& p : pares)
        if (p.first.compare(chave, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString clsConnStr::Valor(const QString& chave) const
{
    for (const auto& p : pares)
        if (p.first.compare(chave, Qt::CaseInsensitive) == 0)
            return p.second;
    return QString();
}

void clsConnStr::Definir(const QString& chave, const QString& valor)
{
    for (auto& p : pares)
        if (p.first.compare(chave, Qt::CaseInsensitive) == 0) {
            p.second = valor;
            return;
        }
    pares.append({chave, valor});
}

void clsConnStr::Remover(const QString& chave)
{
    for (int i = pares.size() - 1; i >= 0; --i)
        if (pares[i].first.compare(chave, Qt::CaseInsensitive) == 0)
            pares.removeAt(i);
}

QString clsConnStr::Montar() const
{
    QString r;
    for (const auto& p : pares)
        r += QString(p.first).replace(u'=', QStringLiteral("==")) + u'=' + CitarValorOleDb(p.second) + u';';
    return r;
}

QString clsConnStr::MontarOdbc() const
{
    QString r;
    for (const auto& p : pares) {
        // the driver's name goes in braces even when it needs none, as drivers are usually named
        const bool driver = p.first.compare(u"Driver", Qt::CaseInsensitive) == 0;
        const QString v = CitarValorOdbc(p.second);
        r += p.first + u'=' + (driver && !v.startsWith(u'{') ? u'{' + v + u'}' : v) + u';';
    }
    return r;
}

namespace {

bool PrecisaCitar(const QString& v, QStringView especiais)
{
    if (v != v.trimmed())
        return true;
    for (QChar c : v)
        if (especiais.contains(c))
            return true;
    return false;
}

} // namespace

QString CitarValorOleDb(const QString& valor)
{
    if (!PrecisaCitar(valor, u";=\"'{}"))
        return valor;
    if (!valor.contains(u'"'))
        return u'"' + valor + u'"';
    if (!valor.contains(u'\''))
        return u'\'' + valor + u'\'';
    return u'"' + QString(valor).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString CitarValorOdbc(const QString& valor)
{
    if (!PrecisaCitar(valor, u"[]{}(),;?*=!@"))
        return valor;
    return u'{' + QString(valor).replace(u'}', QStringLiteral("}}")) + u'}';
}
namespace {

bool ChaveDeSenha(QStringView chave)
{
    const QStringView k = chave.trimmed();
    return k.endsWith(u"password", Qt::CaseInsensitive) || k.endsWith(u"pwd", Qt::CaseInsensitive);
}

// Where a value that starts at `i` ends: past its closing brace or quote (a doubled one is part of
// the value), else at the ";" that follows it; the end of the text when it is never closed.
int FimDoValor(const QString& s, int i, int& interno, int& fimInterno)
{
    const int n = s.size();
    interno = fimInterno = -1;
    if (i < n && (s[i] == u'{' || s[i] == u'"' || s[i] == u'\'')) {
        const QChar fecha = s[i] == u'{' ? QChar(u'}') : s[i];
        int j = i + 1;
        while (j < n && !(s[j] == fecha && !(j + 1 < n && s[j + 1] == fecha)))
            j += s[j] == fecha ? 2 : 1;
        interno = i + 1;
        fimInterno = qMin(j, n);
        return j < n ? j + 1 : n;
    }
    int j = i;
    while (j < n && s[j] != u';')
        ++j;
    while (j > i && s[j - 1].isSpace())
        --j;
    return j;
}

} // namespace

namespace {

// The text with the value of every password key, as written (quotes or braces included), replaced
// by what `trocar` makes of it; values that hold a connection string of their own are searched too.
QString TrocarSenhas(const QString& s, const std::function<QString(const QString&)>& trocar)
{
    QString r;
    const int n = s.size();
    int i = 0;
    while (i < n) {
        const int iniChave = i;
        while (i < n && s[i] != u';' && !(s[i] == u'=' && !(i + 1 < n && s[i + 1] == u'=')))
            i += (s[i] == u'=') ? 2 : 1; // "==" is an "=" inside the key
        if (i >= n || s[i] == u';') { // a piece without a value
            r += QStringView(s).mid(iniChave, qMin(i + 1, n) - iniChave);
            ++i;
            continue;
        }
        const QStringView chave = QStringView(s).mid(iniChave, i - iniChave);
        ++i;
        while (i < n && s[i].isSpace())
            ++i;
        r += QStringView(s).mid(iniChave, i - iniChave);
        int interno, fimInterno;
        const int fimValor = FimDoValor(s, i, interno, fimInterno);
        int fim = fimValor;
        while (fim < n && s[fim] != u';')
            ++fim;
        if (ChaveDeSenha(chave)) {
            r += trocar(s.mid(i, fimValor - i));
            int brancos = fim;
            while (brancos > fimValor && s[brancos - 1].isSpace())
                --brancos;
            r += QStringView(s).mid(brancos, fim - brancos);
        } else {
            if (interno >= 0 && QStringView(s).mid(interno, fimInterno - interno).contains(u'='))
                r += s[i] + TrocarSenhas(s.mid(interno, fimInterno - interno), trocar)
                     + s.mid(fimInterno, fimValor - fimInterno);
            else
                r += QStringView(s).mid(i, fimValor - i);
            r += QStringView(s).mid(fimValor, fim - fimValor);
        }
        if (fim < n)
            r += u';';
        i = fim + 1;
    }
    return r;
}

} // namespace

QString MascararSenha(const QString& s)
{
    return TrocarSenhas(s, [](const QString&) { return QStringLiteral("***"); });
}

QString DesmascararSenha(const QString& mascarada, const QString& original)
{
    QString senha;
    bool achou = false;
    TrocarSenhas(original, [&](const QString& valor) {
        if (!achou)
            senha = valor;
        achou = true;
        return valor;
    });
    const QString mascara = QStringLiteral("***");
    return TrocarSenhas(mascarada, [&](const QString& valor) {
        if (!achou || !valor.contains(mascara))
            return valor;
        // Typed before or after the mask: the password grows at that end.
        if (valor.startsWith(mascara))
            return senha + valor.mid(mascara.size());
        if (valor.endsWith(mascara))
            return valor.left(valor.size() - mascara.size()) + senha;
        return valor;
    });
}
