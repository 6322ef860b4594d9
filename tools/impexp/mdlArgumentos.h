#pragma once
// What the program is given. The main program starts it with "Orig=…&Dest=…&Tab=…" in the
// environment variable QUARRIX_ARGUMENTO (never on the command line: a connection string carries
// its password); headless runs add "chave=valor" lines on standard input. An origin or destination
// is a connection string or a file (delimited text, .xlsx) or, as a destination, a folder.
#include <QHash>
#include <QString>
#include <QStringList>

namespace impexp {

struct OpcoesTexto {
    QChar separador; // null: detected
    QChar decimal = u'.';
    bool decimalDetectado = true;
    enum class Codificacao { Detectar, Utf8, Windows1252 } codificacao = Codificacao::Detectar;
    bool cabecalho = true;
    bool bom = false; // writing: a UTF-8 byte order mark first
};

struct Ponta {
    enum class Tipo { Nenhuma, Conexao, Texto, Planilha, Pasta } tipo = Tipo::Nenhuma;
    QString connStr;
    QString caminho;
    OpcoesTexto texto;
};

// A connection string, a file by its extension (.csv, .tsv, .txt, .xlsx) or an existing folder.
Ponta InterpretarPonta(const QString& valor);

struct Argumentos {
    QString origem, destino, tabela;
};

// "Orig=…&Dest=…&Tab=…", parts in that order, each optional. A connection string may hold "&": a
// part ends only where "&Dest=" or "&Tab=" begins the next one outside a quoted value.
Argumentos LerArgumento(const QString& texto);

// "chave=valor" lines (keys without case, repeated keys kept in order).
QList<QPair<QString, QString>> LerChaves(const QString& texto);

} // namespace impexp
