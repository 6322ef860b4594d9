#pragma once
// Reading a SQLite CREATE TABLE text: the clauses a rebuild of the table must write into the new
// table (checks, foreign keys, unique constraints, collations, table options), with the column
// names each of them reads, so that a rebuild can tell when a clause would name a column that is
// gone.
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <utility>

namespace ddlsqlite {

// One clause carried into the new table. A table constraint is written as it was; a constraint
// declared on a column (REFERENCES, UNIQUE, CHECK) becomes a table constraint on that column's
// name in the new table.
struct Restricao {
    QString
        texto; // the clause as the user wrote it (for a column's REFERENCES or UNIQUE, what follows the column list)
    QString nomeRestricao; // "CONSTRAINT name" written before a column's clause, or empty
    QString coluna; // the column a column constraint was declared on; empty for a table constraint
    // Externa: another table's foreign key on this table's columns, which the rebuild keeps as it
    // is; it only has to find the columns it names.
    enum Tipo { Tabela, ChaveEstrangeira, Unica, Verificacao, Externa } tipo = Tabela;
    QStringList nomes; // the table's columns the clause reads, besides `coluna`
    // A table constraint's own column list (FOREIGN KEY (…), UNIQUE (…)) when it names plain
    // columns: their names and where each is written in `texto`, so a renamed column can be
    // written with its new name.
    QStringList lista;
    QList<std::pair<qsizetype, qsizetype>> trechos; // start and length in `texto`

    // The clause as the new table declares it, `colunaCitada` being the column's name there.
    QString Escrever(const QString& colunaCitada) const;
};

struct Tabela {
    bool reconhecida = false; // false when the text is not a column list this reader knows
    QList<Restricao> restricoes;
    QMap<QString, QString> colacoes; // column name in lower case -> "COLLATE name"
    QStringList calculadas; // generated columns, which a rebuild cannot write back
    QString opcoes; // what follows the column list (WITHOUT ROWID, STRICT), empty when nothing
    QString nomeChave; // the name a table's PRIMARY KEY constraint was given, empty when none
};

// What a CREATE INDEX text says besides its columns: a COLLATE in its column list, and its filter
// (the condition after WHERE, as written).
struct Indice {
    bool reconhecido = false;
    bool colacao = false;
    QString filtro;
    QStringList itens; // the key's items as written ("lower(email) DESC", "id")
};
Indice LerCreateIndex(const QString& sql);

// The names a statement's text uses (words and quoted names, in lower case), keywords included:
// enough to tell whether a view or trigger may read a column.
QStringList Identificadores(const QString& sql);

// Reads the CREATE TABLE text of table `tabela` (the name matters for a key on the table itself).
Tabela LerCreateTable(const QString& sql, const QString& tabela);

} // namespace ddlsqlite
