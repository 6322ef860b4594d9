#include "clsConnStr.h"

bool clsConnStr::Analisar(const QString& s)
{
    pares.clear();
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
        if (i < n && (s[i] == u'"' || s[i] == u'\'')) {
            const QChar aspa = s[i++];
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
                Definir(chave, valor);
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
            Definir(chave, valor);
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
    for (const auto& p : pares) {
        QString chave = p.first;
        chave.replace(u'=', QStringLiteral("=="));
        QString v = p.second;
        const bool citar = v.contains(u';') || v.contains(u'"') || v.contains(u'\'') || v != v.trimmed();
        if (citar) {
            if (!v.contains(u'"'))
                v = u'"' + v + u'"';
            else if (!v.contains(u'\''))
                v = u'\'' + v + u'\'';
            else
                v = u'"' + v.replace(u'"', QStringLiteral("\"\"")) + u'"';
        }
        r += chave + u'=' + v + u';';
    }
    return r;
}

QString clsConnStr::MontarOdbc() const
{
    QString r;
    for (const auto& p : pares) {
        QString v = p.second;
        const bool entreChaves = v.startsWith(u'{') && v.endsWith(u'}');
        if (!entreChaves && (v.contains(u';') || v.contains(u'{') || v.contains(u'}') || v != v.trimmed()))
            v = u'{' + v.replace(u'}', QStringLiteral("}}")) + u'}';
        r += p.first + u'=' + v + u';';
    }
    return r;
}
