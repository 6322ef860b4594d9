#pragma once
// An index of a table as the index editor builds it: reading every property an existing index has,
// the statements that drop and create it on each engine, and saving it in one transaction.
#include "platform/clsObjetoBanco.h"

#include <QList>
#include <QString>
#include <QStringList>

class clsData;
class clsMotor;
class clsPrompt;

struct ColunaIndice {
    QString nome;
    bool desc = false;
    bool operator==(const ColunaIndice&) const = default;
};

// What the editor shows and writes of an index: its key columns in key order, whether it is unique
// and clustered (SQL Server), the columns it carries besides its key (SQL Server and PostgreSQL)
// and its filter (the condition after WHERE), as the engine words it.
struct DefinicaoIndice {
    QList<ColunaIndice> colunas;
    bool unico = false;
    bool clustered = false;
    QStringList incluidas;
    QString filtro;
    bool operator==(const DefinicaoIndice&) const = default;
};

// The index as the catalog has it and the table's other columns in table order. `somenteLeitura`
// names what the index has that the editor cannot show (expressions, collations, an access method,
// the constraint it belongs to): such an index is shown but never recreated. `depois`: statements
// that give a recreated index what it had besides its definition (PostgreSQL's cluster mark and
// comment).
struct IndiceLido {
    DefinicaoIndice def;
    QStringList outras;
    QString somenteLeitura;
    QStringList depois;
};
// False when the table's columns cannot be read. An empty `indice` reads the table for a new index.
bool LerIndice(clsData& db, const ObjetoBanco& tabela, const QString& indice, IndiceLido& lido);

// CREATE INDEX: SQL Server says CLUSTERED or NONCLUSTERED; the other engines have no such option.
// The index lands in its table's schema.
QString SqlCriarIndice(const clsMotor& m, const ObjetoBanco& tabela, const QString& indice, const DefinicaoIndice& def);
// DROP INDEX in the engine's form: [schema].table.index on SQL Server, the index qualified by the
// table's schema elsewhere (an unqualified name would reach a namesake of the search path).
QString SqlExcluirIndice(const clsMotor& m, const ObjetoBanco& tabela, const QString& indice);
// Whether the engine knows clustered indexes.
bool AceitaClustered(const clsMotor& m);

// Saves `def` as index `indice` of `tabela`: a new index when `existente` is null; otherwise, when
// `def` differs from what was read, drops the index and creates it anew (with `existente->depois`),
// in one transaction. An unchanged or read-only index sends nothing and counts as saved. A failure
// rolls back and shows "Cannot drop index …" or "Cannot create index …" with the statement.
bool SalvarIndice(clsData& db,
                  clsPrompt& prompt,
                  const ObjetoBanco& tabela,
                  const QString& indice,
                  const IndiceLido* existente,
                  const DefinicaoIndice& def);
