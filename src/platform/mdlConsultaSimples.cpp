#include "mdlConsultaSimples.h"

#include <QRegularExpression>

namespace consulta {

namespace {

// A name alone, as the whole text: "a", "[a b]", "\"a\"\"b\"", `a`.
bool Nome(const QString& t, NomeSql& saida)
{
    const QString s = t.trimmed();
    if (s.size() >= 2) {
        const QChar a = s.front(), z = s.back();
        if ((a == u'[' && z == u']') || (a == u'"' && z == u'"') || (a == u'`' && z == u'`')) {
            const QString fecha(z);
            const QString meio = s.mid(1, s.size() - 2);
            // A lone closing quote inside would end the name early: not a single name.
            if (meio.count(fecha) % 2 != 0)
                return false;
            saida = {QString(meio).replace(fecha + fecha, fecha), true};
            return !saida.texto.isEmpty();
        }
    }
    static const QRegularExpression simples(QStringLiteral(R"(^[\p{L}_][\p{L}\p{N}_$#@]*$)"));
    if (!simples.match(s).hasMatch())
        return false;
    saida = {s, false};
    return true;
}

// Splits at `sep` outside quotes and parentheses.
QStringList Partir(const QString& s, QChar sep)
{
    QStringList r;
    int nivel = 0;
    QChar aspa;
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!aspa.isNull()) {
            if (c == aspa)
                aspa = QChar();
        } else if (c == u'\'' || c == u'"' || c == u'`') {
            aspa = c;
        } else if (c == u'[') {
            aspa = u']';
        } else if (c == u'(') {
            ++nivel;
        } else if (c == u')') {
            --nivel;
        } else if (c == sep && nivel == 0) {
            r << s.mid(inicio, i - inicio);
            inicio = i + 1;
        }
    }
    r << s.mid(inicio);
    return r;
}

// "x.y.z" into its names; false when a part is not a plain name.
bool NomeComposto(const QString& t, QVector<NomeSql>& partes)
{
    partes.clear();
    for (const QString& p : Partir(t.trimmed(), u'.')) {
        NomeSql n;
        if (!Nome(p, n))
            return false;
        partes << n;
    }
    return !partes.isEmpty() && partes.size() <= 3;
}

// One item of the select list: the column it reads, empty for an expression.
NomeSql Coluna(const QString& item)
{
    static const QRegularExpression comAlias(
        QStringLiteral(R"(^(.*?)(?:\s+AS)?\s+((?:"(?:[^"]|"")+"|\[(?:[^\]]|\]\])+\]|[\p{L}_][\p{L}\p{N}_$#@]*))\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QString expr = item.trimmed();
    if (const auto m = comAlias.match(expr); m.hasMatch())
        expr = m.captured(1);
    QVector<NomeSql> partes;
    if (!NomeComposto(expr, partes))
        return {};
    // Words that read like a name but are values.
    static const QRegularExpression valores(
        QStringLiteral("^(NULL|TRUE|FALSE|CURRENT_(TIMESTAMP|DATE|TIME|USER)|SESSION_USER|SYSTEM_USER|USER|"
                       "LOCALTIME|LOCALTIMESTAMP)$"),
        QRegularExpression::CaseInsensitiveOption);
    if (partes.size() == 1 && !partes[0].citado && valores.match(partes[0].texto).hasMatch())
        return {};
    return partes.back();
}

} // namespace

bool Analisar(const QString& sql, ConsultaSimples& saida)
{
    static const QRegularExpression forma(
        QStringLiteral(R"(^\s*SELECT\s+(.+?)\s+FROM\s+(.+?)\s*(?:\bWHERE\b.*|\bORDER\s+BY\b.*)?;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = forma.match(sql);
    if (!m.hasMatch())
        return false;
    static const QRegularExpression proibidas(
        QStringLiteral(R"(\b(DISTINCT|TOP|GROUP|HAVING|UNION|INTERSECT|EXCEPT|JOIN|SELECT)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString lista = m.captured(1);
    QString de = m.captured(2).trimmed();
    if (proibidas.match(lista).hasMatch() || proibidas.match(de).hasMatch() || de.contains(u','))
        return false;
    // "FROM t x" / "FROM t AS x": the alias only names the table in the statement.
    static const QRegularExpression alias(QStringLiteral(R"(^(.*?)(?:\s+AS)?\s+[\p{L}_][\p{L}\p{N}_$#@]*$)"),
                                          QRegularExpression::CaseInsensitiveOption
                                              | QRegularExpression::DotMatchesEverythingOption);
    ConsultaSimples r;
    if (!NomeComposto(de, r.tabela)) {
        const auto a = alias.match(de);
        if (!a.hasMatch() || !NomeComposto(a.captured(1), r.tabela))
            return false;
    }
    if (lista.trimmed() == u"*") {
        r.estrela = true;
    } else {
        for (const QString& item : Partir(lista, u',')) {
            if (item.trimmed().endsWith(u'*'))
                return false; // "t.*" among other columns: positions are unknown
            r.colunas << Coluna(item);
        }
    }
    saida = r;
    return true;
}

} // namespace consulta
