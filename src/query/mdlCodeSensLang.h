#pragma once
// The "KeshSql" language of the SQL editor: its four word lists (keywords, functions, operators and
// data types, each an ordered list without duplicates) and the cutting of a line into coloured
// pieces. Keywords are matched without regard to case; "--" comments to the end of the line, "/*"
// to "*/" spans lines; strings go between apostrophes with "\" escaping the next character.
#include <QByteArray>
#include <QList>
#include <QStringList>

namespace codesens {

inline constexpr const char* NomeLinguagem = "KeshSql";

enum Estilo : int {
    Padrao = 0,
    Comentario = 1,
    PalavraChave = 2,
    Funcao = 3,
    Operador = 4,
    TipoDado = 5,
    Texto = 6,
};

// Where a line leaves the text: plain, inside a "/* */" comment, or inside a string.
enum Estado : int { Normal = 0, DentroComentario = 1, DentroTexto = 2 };

const QStringList& ListaPalavrasChave(); // list K
const QStringList& ListaFuncoes(); // list F
const QStringList& ListaOperadores(); // list O
const QStringList& ListaTiposDados(); // list T
// A list handed over as one text, the items separated by LF.
QString TextoLista(const QStringList& lista);

struct Trecho {
    int inicio = 0; // byte offset in the line
    int tamanho = 0; // bytes
    int estilo = Padrao;
    bool operator==(const Trecho&) const = default;
};

// Cuts one line (UTF-8 bytes, its line break included) into consecutive pieces covering it all,
// starting in `estado`; answers the state the line ends in.
int Tokenizar(const QByteArray& linha, int estado, QList<Trecho>& trechos);

} // namespace codesens
