#include "mdlVerificarSql.h"

#include "platform/clsPrompt.h"

#include <array>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Clause words the walk steps over, tried in this order against the start of the remaining text.
const std::array<QString, 21>& PalavrasChave()
{
    static const std::array<QString, 21> lista{
        QStringLiteral("SELECT"), QStringLiteral("FROM"),     QStringLiteral("LEFT JOIN"),
        QStringLiteral("RIGHT JOIN"), QStringLiteral("WHERE"), QStringLiteral("ORDER BY"),
        QStringLiteral("GROUP BY"), CrLf,                      QStringLiteral("ON"),
        QStringLiteral("AND"),    QStringLiteral("OR"),       QStringLiteral("="),
        QStringLiteral("<>"),     QStringLiteral(">"),        QStringLiteral(">="),
        QStringLiteral("<"),      QStringLiteral("<="),       QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"),  QStringLiteral("CINT"),     QStringLiteral("CONVERT(INT"),
    };
    return lista;
}

// Blanks only, as the walk counts them (line breaks are words' separators of their own).
QString AparaBrancos(const QString& s)
{
    qsizetype i = 0, f = s.size();
    while (i < f && s[i] == u' ')
        ++i;
    while (f > i && s[f - 1] == u' ')
        --f;
    return s.mid(i, f - i);
}

// Parentheses become blanks; tabs count as blanks and every line break becomes CR LF, so a text
// typed with other line endings or tabs is cut into the same words.
QString TextoDeTrabalho(const QString& sql)
{
    QString r;
    r.reserve(sql.size() + sql.size() / 16);
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == u'(' || c == u')' || c == u'\t')
            r += u' ';
        else if (c == u'\r') {
            r += CrLf;
            if (i + 1 < sql.size() && sql[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n')
            r += CrLf;
        else
            r += c;
    }
    return r;
}

// Index of the opening apostrophe when the word starts a string literal ('…' or N'…'), else -1.
qsizetype AberturaLiteral(const QString& palavra)
{
    if (palavra.startsWith(u'\''))
        return 0;
    if (palavra.size() > 1 && (palavra[0] == u'N' || palavra[0] == u'n') && palavra[1] == u'\'')
        return 1;
    return -1;
}

struct Caminhada {
    QString texto;
    bool dentroDoFrom = false;
    bool depoisDoAs = false;

    // Steps over a clause word followed by a blank or a line break; false when the text does not
    // start with one (only the first word of the list that matches is tried).
    bool PassoPalavraChave()
    {
        for (const QString& chave : PalavrasChave()) {
            if (texto.left(chave.size()).toUpper() != chave)
                continue;
            const QStringView resto = QStringView(texto).mid(chave.size());
            qsizetype consumir;
            if (resto.startsWith(u' '))
                consumir = chave.size() + 1;
            else if (resto.startsWith(CrLf))
                consumir = chave.size() + 2;
            else
                return false;
            if (chave == u"FROM")
                dentroDoFrom = true;
            else if (chave == u"SELECT" || chave == u"WHERE" || chave == u"ORDER BY" || chave == u"GROUP BY")
                dentroDoFrom = false;
            texto = AparaBrancos(texto.mid(consumir));
            return true;
        }
        return false;
    }

    // Position (1-based) where the next word ends.
    qsizetype Corte() const
    {
        qsizetype corte = -1;
        auto menor = [&](qsizetype p) {
            if (p > 0 && (corte < 0 || p < corte))
                corte = p;
        };
        menor(texto.indexOf(u' ') + 1);
        menor(texto.indexOf(u',') + 1);
        const qsizetype crlf = texto.indexOf(CrLf);
        if (crlf >= 0)
            menor(crlf + 2);
        return corte < 0 ? texto.size() : corte;
    }

    // One word; false when the walk refuses it.
    bool PassoPalavra()
    {
        qsizetype corte = Corte();
        QString palavra = texto.left(corte);
        palavra.remove(CrLf);
        palavra.remove(u',');
        palavra.remove(u' ');
        if (!palavra.isEmpty() && palavra != u"=") {
            if (palavra.toUpper() == u"AS")
                depoisDoAs = true;
            else if (const qsizetype abre = AberturaLiteral(palavra); abre >= 0) {
                // A string literal is never a name. When its closing apostrophe is further on (the
                // literal holds blanks, commas or line breaks), the walk goes on after it.
                if (palavra.size() <= abre + 1 || !palavra.endsWith(u'\'')) {
                    const qsizetype fecha = texto.indexOf(u'\'', texto.indexOf(u'\'') + 1);
                    corte = fecha < 0 ? texto.size() : fecha + 1;
                }
                depoisDoAs = false;
            } else {
                const qsizetype ponto = palavra.indexOf(u'.');
                if (ponto >= 0 && palavra.indexOf(u'.', ponto + 1) > ponto) {
                    Prompt().MsgBox(QStringLiteral("Campo não identificado: ") + palavra, vb::Critical,
                                    QStringLiteral("Erro em Instrução SQL"));
                    return false;
                }
                depoisDoAs = false;
            }
        }
        texto = AparaBrancos(texto.mid(corte));
        return true;
    }
};

} // namespace

bool VerificarSql(const QString& strSql, bool blnCheck)
{
    if (!blnCheck || strSql.isEmpty())
        return true;
    Caminhada c;
    c.texto = TextoDeTrabalho(strSql);
    bool resultado = true;
    Prompt().ProgressoStart(int(c.texto.size()), QStringLiteral("Verificando Instrução"));
    qsizetype consumidos = 0;
    bool abortado = false;
    while (!c.texto.isEmpty()) {
        for (; consumidos > 0; --consumidos) {
            if (!Prompt().ProgressoMove()) {
                abortado = true;
                break;
            }
        }
        if (abortado)
            break;
        const qsizetype antes = c.texto.size();
        if (!c.PassoPalavraChave() && !c.PassoPalavra()) {
            resultado = false;
            break;
        }
        consumidos = antes - c.texto.size();
    }
    Prompt().ProgressoClose();
    return resultado;
}
