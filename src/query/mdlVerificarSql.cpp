#include "mdlVerificarSql.h"

#include "platform/clsPrompt.h"

#include <array>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Clause words the walk steps over, tried in this order against the start of the remaining text.
const std::array<QString, 21>& PalavrasChave()
{
    static const std::array<QString, 21> lista{
        QStringLiteral("SELECT"),      QStringLiteral("FROM"),
        QStringLiteral("LEFT JOIN"),   QStringLiteral("RIGHT JOIN"),
        QStringLiteral("WHERE"),       QStringLiteral("ORDER BY"),
        QStringLiteral("GROUP BY"),    CrLf,
        QStringLiteral("ON"),          QStringLiteral("AND"),
        QStringLiteral("OR"),          QStringLiteral("="),
        QStringLiteral("<>"),          QStringLiteral(">"),
        QStringLiteral(">="),          QStringLiteral("<"),
        QStringLiteral("<="),          QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"),       QStringLiteral("CINT"),
        QStringLiteral("CONVERT(INT"),
    };
    return lista;
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

// The word without its quoted ("…") and bracketed ([…]) names.
QString SemNomesCitados(const QString& palavra)
{
    QString r;
    for (qsizetype i = 0; i < palavra.size(); ++i) {
        const QChar c = palavra[i];
        if (c == u'"' || c == u'[') {
            const qsizetype fecha = palavra.indexOf(c == u'[' ? u']' : u'"', i + 1);
            if (fecha < 0)
                break;
            i = fecha;
        } else
            r += c;
    }
    return r;
}

// The remaining text is texto[pos, fim): the walk moves `pos` on instead of copying the rest, so a
// long script costs time in proportion to its length.
struct Caminhada {
    clsPrompt& prompt;
    QString texto;
    qsizetype pos = 0;
    qsizetype fim = 0;
    bool dentroDoFrom = false;
    bool depoisDoAs = false;

    Caminhada(clsPrompt& p, const QString& sql) : prompt(p), texto(TextoDeTrabalho(sql))
    {
        fim = texto.size();
        while (fim > 0 && texto[fim - 1] == u' ')
            --fim;
        PularBrancos();
    }
    bool Vazio() const { return pos >= fim; }
    qsizetype Restante() const { return fim - pos; }
    QStringView Resto() const { return QStringView(texto).mid(pos, fim - pos); }
    void PularBrancos()
    {
        while (pos < fim && texto[pos] == u' ')
            ++pos;
    }
    void Avancar(qsizetype n)
    {
        pos = qMin(fim, pos + n);
        PularBrancos();
    }

    // Steps over a clause word followed by a blank or a line break; false when the text does not
    // start with one (only the first word of the list that matches is tried).
    bool PassoPalavraChave()
    {
        const QStringView resto = Resto();
        for (const QString& chave : PalavrasChave()) {
            if (resto.left(chave.size()).compare(chave, Qt::CaseInsensitive) != 0)
                continue;
            const QStringView depois = resto.mid(chave.size());
            qsizetype consumir;
            if (depois.startsWith(u' '))
                consumir = chave.size() + 1;
            else if (depois.startsWith(CrLf))
                consumir = chave.size() + 2;
            else
                return false;
            if (chave == u"FROM")
                dentroDoFrom = true;
            else if (chave == u"SELECT" || chave == u"WHERE" || chave == u"ORDER BY" || chave == u"GROUP BY")
                dentroDoFrom = false;
            Avancar(consumir);
            return true;
        }
        return false;
    }

    // How many characters the next word takes: up to and including the first blank, comma or
    // CR LF, or the whole rest. A quoted ("…") or bracketed ([…]) name is part of the word whole,
    // blanks and all, unless the word is a string literal.
    qsizetype Corte() const
    {
        const QStringView resto = Resto();
        const bool literal = AberturaLiteral(resto.left(2).toString()) >= 0;
        for (qsizetype i = 0; i < resto.size(); ++i) {
            const QChar c = resto[i];
            if (!literal && (c == u'"' || c == u'[')) {
                const qsizetype fecha = resto.indexOf(c == u'[' ? u']' : u'"', i + 1);
                if (fecha < 0)
                    return resto.size();
                i = fecha;
                continue;
            }
            if (c == u' ' || c == u',')
                return i + 1;
            if (c == u'\r' && i + 1 < resto.size() && resto[i + 1] == u'\n')
                return i + 2;
        }
        return resto.size();
    }

    // One word; false when the walk refuses it.
    bool PassoPalavra()
    {
        qsizetype corte = Corte();
        QString palavra = Resto().left(corte).toString();
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
                    const QStringView resto = Resto();
                    const qsizetype fecha = resto.indexOf(u'\'', abre + 1);
                    corte = fecha < 0 ? resto.size() : fecha + 1;
                }
                depoisDoAs = false;
            } else {
                // Dots inside a quoted or bracketed name belong to the name.
                const QString semCitados = SemNomesCitados(palavra);
                const qsizetype ponto = semCitados.indexOf(u'.');
                if (ponto >= 0 && semCitados.indexOf(u'.', ponto + 1) > ponto) {
                    prompt.MsgBox(QStringLiteral("Campo não identificado: ") + palavra,
                                  vb::Critical,
                                  QStringLiteral("Erro em Instrução SQL"));
                    return false;
                }
                depoisDoAs = false;
            }
        }
        Avancar(corte);
        return true;
    }
};

} // namespace

bool VerificarSql(clsPrompt& prompt, const QString& strSql, bool blnCheck)
{
    if (!blnCheck || strSql.isEmpty())
        return true;
    Caminhada c(prompt, strSql);
    bool resultado = true;
    prompt.ProgressoStart(int(c.texto.size()), QStringLiteral("Verificando Instrução"));
    // Characters consumed by the previous pass; the blanks around the text count with the first.
    qsizetype consumidos = c.texto.size() - c.Restante();
    bool abortado = false;
    while (!c.Vazio()) {
        for (; consumidos > 0 && !abortado; --consumidos)
            abortado = !prompt.ProgressoMove();
        if (abortado)
            break;
        const qsizetype antes = c.Restante();
        if (!c.PassoPalavraChave() && !c.PassoPalavra()) {
            resultado = false;
            break;
        }
        consumidos = antes - c.Restante();
    }
    prompt.ProgressoClose();
    return resultado;
}
