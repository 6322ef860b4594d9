#include "mdlDdlSqlite.h"

namespace ddlsqlite {

namespace {

struct Token {
    enum Tipo { Palavra, Nome, Texto, Numero, Simbolo } tipo;
    qsizetype inicio, fim; // the token's span in the text
    QString valor; // a word in upper case, a quoted name without its quotes, a symbol itself

    bool E(const char* palavra) const { return tipo == Palavra && valor == QLatin1String(palavra); }
    bool S(char simbolo) const { return tipo == Simbolo && valor.size() == 1 && valor[0] == QLatin1Char(simbolo); }
    bool Identificador() const { return tipo == Palavra || tipo == Nome; }
};

// Splits the text into tokens, skipping blanks and comments; false when a quote or a comment never
// ends.
bool Tokens(const QString& s, QList<Token>& r)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
            while (i < n && s[i] != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            const qsizetype f = s.indexOf(QStringLiteral("*/"), i + 2);
            if (f < 0)
                return false;
            i = f + 2;
        } else if ((c == u'x' || c == u'X') && i + 1 < n && s[i + 1] == u'\'') {
            // A blob literal, X'…'.
            const qsizetype f = s.indexOf(u'\'', i + 2);
            if (f < 0)
                return false;
            r << Token{Token::Texto, i, f + 1, s.mid(i + 2, f - i - 2)};
            i = f + 1;
        } else if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            const QChar fecha = c == u'[' ? u']' : c;
            QString valor;
            qsizetype j = i + 1;
            for (;; ++j) {
                if (j >= n)
                    return false;
                if (s[j] == fecha) {
                    if (fecha != u']' && j + 1 < n && s[j + 1] == fecha) {
                        valor += fecha;
                        ++j;
                        continue;
                    }
                    break;
                }
                valor += s[j];
            }
            r << Token{c == u'\'' ? Token::Texto : Token::Nome, i, j + 1, valor};
            i = j + 1;
        } else if (c.isLetter() || c == u'_' || c.unicode() > 127) {
            qsizetype j = i;
            while (j < n && (s[j].isLetterOrNumber() || s[j] == u'_' || s[j] == u'$' || s[j].unicode() > 127))
                ++j;
            r << Token{Token::Palavra, i, j, s.mid(i, j - i).toUpper()};
            i = j;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
            // Digits, a fraction, hexadecimal digits, an exponent with its sign.
            qsizetype j = i;
            const bool hexa = c == u'0' && i + 1 < n && (s[i + 1] == u'x' || s[i + 1] == u'X');
            while (j < n
                   && (s[j].isLetterOrNumber() || s[j] == u'.'
                       || (!hexa && (s[j] == u'+' || s[j] == u'-') && (s[j - 1] == u'e' || s[j - 1] == u'E'))))
                ++j;
            r << Token{Token::Numero, i, j, s.mid(i, j - i)};
            i = j;
        } else {
            r << Token{Token::Simbolo, i, i + 1, QString(c)};
            ++i;
        }
    }
    return true;
}

// Reads tokens of one item of the column list, with the text they came from.
class Leitor {
public:
    Leitor(const QString& texto, QList<Token> tokens) : s(texto), t(std::move(tokens)) {}

    bool Fim() const { return i >= t.size(); }
    const Token& Atual() const { return t[i]; }
    bool E(const char* palavra) const { return !Fim() && t[i].E(palavra); }
    bool S(char simbolo) const { return !Fim() && t[i].S(simbolo); }
    qsizetype Posicao() const { return i; }
    void Avancar(qsizetype n = 1) { i = std::min(i + n, t.size()); }

    // Skips one token or one parenthesised group; false when a group never closes.
    bool PularUm()
    {
        if (!S('(')) {
            Avancar();
            return true;
        }
        int nivel = 0;
        for (; !Fim(); Avancar()) {
            nivel += S('(') - S(')');
            if (nivel == 0) {
                Avancar();
                return true;
            }
        }
        return false;
    }

    // The text from token `de` up to the token before the current one.
    QString Trecho(qsizetype de) const
    {
        if (de >= i)
            return {};
        return s.mid(t[de].inicio, t[i - 1].fim - t[de].inicio);
    }

    // The identifiers from token `de` up to the current one, leaving out function names.
    QStringList Identificadores(qsizetype de) const
    {
        QStringList r;
        for (qsizetype k = de; k < i; ++k)
            if (t[k].Identificador() && !(k + 1 < t.size() && t[k + 1].S('(')))
                r << (t[k].tipo == Token::Nome ? t[k].valor : s.mid(t[k].inicio, t[k].fim - t[k].inicio));
        return r;
    }

    // The parenthesised list that ends just before the current token, when each of its items is a
    // plain name (with COLLATE, ASC or DESC at most): the names and their spans in the text.
    bool ListaSimples(qsizetype de, QStringList& nomes, QList<std::pair<qsizetype, qsizetype>>& trechos) const
    {
        for (qsizetype k = de + 1; k < i - 1;) {
            if (!t[k].Identificador())
                return false;
            nomes << (t[k].tipo == Token::Nome ? t[k].valor : s.mid(t[k].inicio, t[k].fim - t[k].inicio));
            trechos.append({t[k].inicio, t[k].fim - t[k].inicio});
            ++k;
            if (k < i - 1 && t[k].E("COLLATE"))
                k += 2;
            if (k < i - 1 && (t[k].E("ASC") || t[k].E("DESC")))
                ++k;
            if (k < i - 1 && !t[k].S(','))
                return false;
            ++k;
        }
        return true;
    }

    // The current token as a name: unquoted, in the case it was written.
    qsizetype Inicio(qsizetype k) const { return t[k].inicio; }

    QString Nome() const
    {
        if (Fim())
            return {};
        return t[i].tipo == Token::Palavra ? s.mid(t[i].inicio, t[i].fim - t[i].inicio) : t[i].valor;
    }

private:
    const QString& s;
    QList<Token> t;
    qsizetype i = 0;
};

bool InicioRestricaoColuna(const Leitor& l)
{
    for (const char* p : {"CONSTRAINT",
                          "PRIMARY",
                          "NOT",
                          "NULL",
                          "UNIQUE",
                          "CHECK",
                          "DEFAULT",
                          "COLLATE",
                          "REFERENCES",
                          "GENERATED",
                          "AS"})
        if (l.E(p))
            return true;
    return false;
}

// ON CONFLICT x, when it comes next.
void PularConflito(Leitor& l)
{
    if (l.E("ON")) {
        l.Avancar(3);
    }
}

// REFERENCES name [(columns)] and its actions; the names of the parent's columns go to `pai`.
bool LerReferencia(Leitor& l, QString& tabelaPai, QStringList& pai)
{
    l.Avancar(); // REFERENCES
    if (l.Fim() || !(l.Atual().Identificador() || l.Atual().tipo == Token::Texto))
        return false;
    tabelaPai = l.Nome();
    l.Avancar();
    if (l.S('(')) {
        const qsizetype de = l.Posicao();
        if (!l.PularUm())
            return false;
        pai = l.Identificadores(de);
    }
    for (;;) {
        if (l.E("ON")) {
            l.Avancar(2); // ON DELETE | UPDATE
            if (l.E("SET") || l.E("NO"))
                l.Avancar();
            l.Avancar();
        } else if (l.E("MATCH")) {
            l.Avancar(2);
        } else if (l.E("NOT") || l.E("DEFERRABLE")) {
            if (l.E("NOT"))
                l.Avancar();
            if (!l.E("DEFERRABLE"))
                return false;
            l.Avancar();
            if (l.E("INITIALLY"))
                l.Avancar(2);
        } else {
            return true;
        }
    }
}

bool MesmoNome(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A table constraint: kept as written unless it is the primary key, which the designer writes.
bool LerRestricaoTabela(Leitor& l, const QString& tabela, Tabela& r)
{
    const qsizetype de = l.Posicao();
    QString nome;
    if (l.E("CONSTRAINT")) {
        l.Avancar();
        nome = l.Nome();
        l.Avancar();
    }
    Restricao x;
    if (l.E("PRIMARY")) {
        r.nomeChave = nome;
        return true;
    }
    // The column list, kept apart when it is a list of plain names.
    auto lerLista = [&] {
        const qsizetype lista = l.Posicao();
        if (!l.S('(') || !l.PularUm())
            return false;
        if (!l.ListaSimples(lista, x.lista, x.trechos)) {
            x.lista.clear();
            x.trechos.clear();
            x.nomes = l.Identificadores(lista);
        }
        return true;
    };
    if (l.E("CHECK")) {
        l.Avancar();
        const qsizetype lista = l.Posicao();
        if (!l.S('(') || !l.PularUm())
            return false;
        x.nomes = l.Identificadores(lista);
    } else if (l.E("UNIQUE")) {
        l.Avancar();
        if (!lerLista())
            return false;
    } else if (l.E("FOREIGN")) {
        l.Avancar(2); // FOREIGN KEY
        if (!lerLista())
            return false;
        QString pai;
        QStringList colunasPai;
        if (!l.E("REFERENCES") || !LerReferencia(l, pai, colunasPai))
            return false;
        if (MesmoNome(pai, tabela))
            x.nomes << colunasPai;
    } else {
        return false;
    }
    while (!l.Fim())
        l.Avancar();
    x.texto = l.Trecho(de);
    const qsizetype inicio = l.Inicio(de);
    for (auto& [posicao, tamanho] : x.trechos)
        posicao -= inicio;
    r.restricoes << x;
    return true;
}

// A column: its name, its type, then its constraints. The designer writes the type, the key, the
// nullability and the default; the rest is kept here.
bool LerColuna(Leitor& l, const QString& tabela, Tabela& r)
{
    if (l.Fim() || !(l.Atual().Identificador() || l.Atual().tipo == Token::Texto))
        return false;
    const QString coluna = l.Nome();
    l.Avancar();
    while (!l.Fim() && !InicioRestricaoColuna(l)) {
        if (!l.Atual().Identificador() && !l.S('('))
            return false;
        if (!l.PularUm())
            return false;
    }
    QString nomeRestricao;
    while (!l.Fim()) {
        const qsizetype de = l.Posicao();
        if (l.E("CONSTRAINT")) {
            l.Avancar(2);
            nomeRestricao = l.Trecho(de);
            continue;
        }
        Restricao x;
        x.coluna = coluna;
        x.nomeRestricao = nomeRestricao;
        nomeRestricao.clear();
        if (l.E("PRIMARY")) {
            l.Avancar(2);
            if (l.E("ASC") || l.E("DESC"))
                l.Avancar();
            PularConflito(l);
            if (l.E("AUTOINCREMENT"))
                l.Avancar();
        } else if (l.E("NOT") || l.E("NULL")) {
            l.Avancar(l.E("NOT") ? 2 : 1);
            PularConflito(l);
        } else if (l.E("DEFAULT")) {
            l.Avancar();
            if (l.S('-') || l.S('+'))
                l.Avancar();
            if (l.Fim() || !l.PularUm())
                return false;
        } else if (l.E("COLLATE")) {
            l.Avancar(2);
            r.colacoes.insert(coluna.toLower(), l.Trecho(de));
        } else if (l.E("UNIQUE")) {
            l.Avancar();
            const qsizetype resto = l.Posicao();
            PularConflito(l);
            x.tipo = Restricao::Unica;
            x.texto = l.Trecho(resto);
            r.restricoes << x;
        } else if (l.E("CHECK")) {
            l.Avancar();
            const qsizetype expr = l.Posicao();
            if (!l.S('(') || !l.PularUm())
                return false;
            x.tipo = Restricao::Verificacao;
            x.texto = l.Trecho(de);
            x.nomes = l.Identificadores(expr);
            r.restricoes << x;
        } else if (l.E("REFERENCES")) {
            QString pai;
            QStringList colunasPai;
            if (!LerReferencia(l, pai, colunasPai))
                return false;
            x.tipo = Restricao::ChaveEstrangeira;
            x.texto = l.Trecho(de);
            if (MesmoNome(pai, tabela))
                x.nomes = colunasPai;
            r.restricoes << x;
        } else if (l.E("GENERATED") || l.E("AS")) {
            r.calculadas << coluna;
            while (!l.Fim())
                l.Avancar();
        } else {
            return false;
        }
    }
    return nomeRestricao.isEmpty();
}

} // namespace

QString Restricao::Escrever(const QString& colunaCitada) const
{
    const QString nome = nomeRestricao.isEmpty() ? QString() : nomeRestricao + u' ';
    switch (tipo) {
    case Tabela:
    case Externa: return texto;
    case Verificacao: return nome + texto;
    case ChaveEstrangeira: return nome + QStringLiteral("FOREIGN KEY (") + colunaCitada + QStringLiteral(") ") + texto;
    case Unica:
        return nome + QStringLiteral("UNIQUE (") + colunaCitada + u')' + (texto.isEmpty() ? QString() : u' ' + texto);
    }
    return texto;
}

Tabela LerCreateTable(const QString& sql, const QString& tabela)
{
    Tabela r;
    QList<Token> t;
    if (!Tokens(sql, t))
        return r;
    // CREATE [TEMP] TABLE [IF NOT EXISTS] name ( items ) options
    qsizetype abre = 0;
    while (abre < t.size() && !t[abre].S('(')) {
        if (t[abre].E("AS"))
            return r;
        ++abre;
    }
    if (abre == t.size())
        return r;
    int nivel = 0;
    qsizetype inicioItem = abre + 1, fecha = -1;
    QList<QList<Token>> itens;
    for (qsizetype k = abre; k < t.size() && fecha < 0; ++k) {
        if (t[k].S('('))
            ++nivel;
        else if (t[k].S(')') && --nivel == 0)
            fecha = k;
        if ((nivel == 1 && t[k].S(',')) || fecha == k) {
            itens << t.mid(inicioItem, k - inicioItem);
            inicioItem = k + 1;
        }
    }
    if (fecha < 0)
        return r;
    if (fecha + 1 < t.size())
        r.opcoes = sql.mid(t[fecha + 1].inicio, t.last().fim - t[fecha + 1].inicio).trimmed();
    for (const QList<Token>& item : itens) {
        if (item.isEmpty())
            return r;
        Leitor l(sql, item);
        const bool restricao = l.E("CONSTRAINT") || l.E("PRIMARY") || l.E("UNIQUE") || l.E("CHECK") || l.E("FOREIGN");
        if (!(restricao ? LerRestricaoTabela(l, tabela, r) : LerColuna(l, tabela, r)))
            return r;
    }
    r.reconhecida = true;
    return r;
}

QStringList Identificadores(const QString& sql)
{
    QList<Token> t;
    Tokens(sql, t);
    QStringList r;
    for (const Token& k : t)
        if (k.Identificador())
            r << k.valor.toLower();
    r.removeDuplicates();
    return r;
}

Indice LerCreateIndex(const QString& sql)
{
    Indice r;
    QList<Token> t;
    if (!Tokens(sql, t))
        return r;
    // CREATE [UNIQUE] INDEX [IF NOT EXISTS] name ON table ( columns ) [WHERE condition]
    qsizetype k = 0;
    while (k < t.size() && !t[k].E("ON"))
        ++k;
    while (k < t.size() && !t[k].S('('))
        ++k;
    int nivel = 0;
    qsizetype inicioItem = k + 1;
    for (; k < t.size(); ++k) {
        // An item ends at a comma of the list itself, the last one at the closing parenthesis.
        const bool fimItem = (nivel == 1 && t[k].S(',')) || (nivel == 1 && t[k].S(')'));
        if (fimItem && k > inicioItem)
            r.itens << sql.mid(t[inicioItem].inicio, t[k - 1].fim - t[inicioItem].inicio).trimmed();
        if (fimItem)
            inicioItem = k + 1;
        nivel += t[k].S('(') - t[k].S(')');
        r.colacao |= t[k].E("COLLATE");
        if (nivel == 0)
            break;
    }
    if (k >= t.size())
        return r;
    if (k + 1 < t.size()) {
        if (!t[k + 1].E("WHERE") || k + 2 >= t.size())
            return r;
        r.filtro = sql.mid(t[k + 2].inicio, t.last().fim - t[k + 2].inicio).trimmed();
    }
    r.reconhecido = true;
    return r;
}

} // namespace ddlsqlite
