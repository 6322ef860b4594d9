#include "mdlCodeSensLang.h"

#include <QHash>

namespace codesens {

namespace {

QStringList SemDuplicatas(const QStringList& itens)
{
    QStringList r;
    for (const QString& i : itens)
        if (!r.contains(i, Qt::CaseInsensitive))
            r << i;
    return r;
}

bool CaractereDePalavra(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
           || c == '@' || c == '#' || c == '$';
}

bool Branco(char c) { return c == ' ' || c == '\t'; }

// Single words by style, and keywords of two words by their first word.
struct Vocabulario {
    QHash<QByteArray, int> palavras;
    QHash<QByteArray, QList<QByteArray>> expressoes;
    Vocabulario()
    {
        const std::pair<const QStringList*, int> listas[] = {{&ListaPalavrasChave(), PalavraChave},
                                                             {&ListaFuncoes(), Funcao},
                                                             {&ListaOperadores(), Operador},
                                                             {&ListaTiposDados(), TipoDado}};
        for (const auto& [lista, estilo] : listas) {
            // The lists travel as LF-separated texts, as any language definition receives them.
            for (const QString& item : TextoLista(*lista).split(u'\n')) {
                const QByteArray chave = item.toUpper().toUtf8();
                const qsizetype branco = chave.indexOf(' ');
                if (branco > 0)
                    expressoes[chave.left(branco)] << chave.mid(branco + 1);
                else if (!palavras.contains(chave))
                    palavras.insert(chave, estilo);
            }
        }
    }
};

const Vocabulario& Vocab()
{
    static const Vocabulario v;
    return v;
}

} // namespace

const QStringList& ListaPalavrasChave()
{
    static const QStringList l = SemDuplicatas({
        "SELECT",     "FROM",       "INNER",    "OUTER",   "LEFT JOIN", "RIGHT JOIN",   "INNER JOIN", "WHERE",
        "ORDER BY",   "GROUP BY",   "HAVING",   "UNION",   "DELETE",    "UPDATE",       "CREATE",     "ALTER",
        "DROP",       "EXECUTE",    "EXEC",     "USE",     "BACKUP",    "INSERT",       "INTO",       "SET",
        "GRANT",      "REVOKE",     "DENY",     "COLLATE", "TABLE",     "VIEW",         "PROC",       "PROCEDURE",
        "CONSTRAINT", "REFERENCES", "DATABASE", "COLUMN",  "FUNCTION",  "TRIGGER",      "INDEX",      "DISTINCT",
        "TOP",        "GO",         "TO",       "UNIQUE",  "CLUSTERED", "NONCLUSTERED", "Add",        "Primary",
        "Foreign",    "Key",        "Declare",  "Begin",   "If",        "Else",         "End",        "While",
        "Case",       "When",       "Then",     "Commit",  "Rollback",  "Tran",         "Goto",       "Values",
        "As",         "On",         "Is",       "Null",    "Not",       "And",          "Or",         "In",
        "Exists",     "Returns",    "Return",   "For",     "Open",      "Fetch",        "Deallocate",
    });
    return l;
}

const QStringList& ListaFuncoes()
{
    static const QStringList l = SemDuplicatas({
        "Ltrim", "Rtrim", "Left",     "Right",   "Upper",     "Lower", "cDate", "Sum",  "Count", "Avg", "Min",
        "Max",   "NewId", "Coalesce", "Convert", "Raiserror", "Day",   "Month", "Year", "Round", "Str",
    });
    return l;
}

const QStringList& ListaOperadores()
{
    static const QStringList l = SemDuplicatas({"=", "<>", ">=", "<=", "Like"});
    return l;
}

const QStringList& ListaTiposDados()
{
    static const QStringList l = SemDuplicatas({
        "SmallInt",   "Int",      "Real",    "Float",    "Money",
        "SmallMoney", "Bit",      "TinyInt", "BigInt",   "UniqueIdentifier",
        "VarBinary",  "Char",     "Text",    "VarChar",  "nChar",
        "nText",      "nVarChar", "Decimal", "DateTime", "SmallDateTime",
        "Short",      "Long",     "Single",  "Double",   "Currency",
        "Byte",       "LongText", "Cursor",
    });
    return l;
}

QString TextoLista(const QStringList& lista) { return lista.join(u'\n'); }

int Tokenizar(const QByteArray& linha, int estado, QList<Trecho>& trechos)
{
    const int n = int(linha.size());
    int i = 0;
    auto acrescentar = [&](int inicio, int fim, int estilo) {
        if (fim <= inicio)
            return;
        if (!trechos.isEmpty() && trechos.last().estilo == estilo
            && trechos.last().inicio + trechos.last().tamanho == inicio)
            trechos.last().tamanho += fim - inicio;
        else
            trechos.append({inicio, fim - inicio, estilo});
    };
    // Continues a string from `de`; answers where it ends (after the closing apostrophe, or the line's end).
    auto fimTexto = [&](int de) {
        for (int j = de; j < n; ++j) {
            if (linha[j] == '\\')
                ++j;
            else if (linha[j] == '\'') {
                estado = Normal;
                return j + 1;
            }
        }
        estado = DentroTexto;
        return n;
    };
    auto fimComentario = [&](int de) {
        const int f = int(linha.indexOf("*/", de));
        if (f < 0) {
            estado = DentroComentario;
            return n;
        }
        estado = Normal;
        return f + 2;
    };
    if (estado == DentroComentario) {
        i = fimComentario(0);
        acrescentar(0, i, Comentario);
    } else if (estado == DentroTexto) {
        i = fimTexto(0);
        acrescentar(0, i, Texto);
    }
    const Vocabulario& vocab = Vocab();
    while (i < n) {
        const char c = linha[i];
        const char prox = i + 1 < n ? linha[i + 1] : '\0';
        if (c == '-' && prox == '-') {
            int f = i;
            while (f < n && linha[f] != '\r' && linha[f] != '\n')
                ++f;
            acrescentar(i, f, Comentario);
            i = f;
        } else if (c == '/' && prox == '*') {
            const int f = fimComentario(i + 2);
            acrescentar(i, f, Comentario);
            i = f;
        } else if (c == '\'') {
            const int f = fimTexto(i + 1);
            acrescentar(i, f, Texto);
            i = f;
        } else if (c == '[') {
            // A bracketed name is a name, whatever words it holds.
            const int fecha = int(linha.indexOf(']', i + 1));
            const int f = fecha < 0 ? n : fecha + 1;
            acrescentar(i, f, Padrao);
            i = f;
        } else if (CaractereDePalavra(c)) {
            int f = i;
            while (f < n && CaractereDePalavra(linha[f]))
                ++f;
            const QByteArray palavra = linha.mid(i, f - i).toUpper();
            int estilo = vocab.palavras.value(palavra, Padrao);
            // "ORDER BY", "LEFT JOIN"…: the second word after blanks on the same line.
            if (const auto e = vocab.expressoes.constFind(palavra); e != vocab.expressoes.constEnd()) {
                int j = f;
                while (j < n && Branco(linha[j]))
                    ++j;
                int k = j;
                while (k < n && CaractereDePalavra(linha[k]))
                    ++k;
                if (j > f && e->contains(linha.mid(j, k - j).toUpper())) {
                    estilo = PalavraChave;
                    f = k;
                }
            }
            acrescentar(i, f, estilo);
            i = f;
        } else if (c == '=' || (c == '<' && (prox == '>' || prox == '=')) || (c == '>' && prox == '=')) {
            const int f = c == '=' ? i + 1 : i + 2;
            acrescentar(i, f, Operador);
            i = f;
        } else {
            acrescentar(i, i + 1, Padrao);
            ++i;
        }
    }
    return estado;
}

} // namespace codesens
