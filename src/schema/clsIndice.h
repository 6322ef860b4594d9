#pragma once
// An index of a table as the index editor builds it: the statements that drop and create it on each
// engine, reading an existing index in key order, and saving it in one transaction.
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
};

// The index as the catalog has it: its columns in key order, the table's other columns in table
// order, and whether it is unique. False when the table's columns cannot be read.
struct IndiceLido {
    QList<ColunaIndice> colunas;
    QStringList outras;
    bool unico = false;
};
bool LerIndice(clsData& db, const ObjetoBanco& tabela, const QString& indice, IndiceLido& lido);

// CREATE INDEX: SQL Server says CLUSTERED or NONCLUSTERED; the other engines have no such option.
// The index lands in its table's schema.
QString SqlCriarIndice(const clsMotor& m,
                       const ObjetoBanco& tabela,
                       const QString& indice,
                       const QList<ColunaIndice>& colunas,
                       bool unico,
                       bool clustered);
// DROP INDEX in the engine's form: [schema].table.index on SQL Server, the index qualified by the
// table's schema elsewhere (an unqualified name would reach a namesake of the search path).
QString SqlExcluirIndice(const clsMotor& m, const ObjetoBanco& tabela, const QString& indice);
// Whether the engine knows clustered indexes.
bool AceitaClustered(const clsMotor& m);

// Drops the existing index (when `existente`) and creates it anew, in one transaction. A failure
// rolls back and shows "Cannot drop index …" or "Cannot create index …" with the statement.
bool SalvarIndice(clsData& db,
                  clsPrompt& prompt,
                  const ObjetoBanco& tabela,
                  const QString& indice,
                  bool existente,
                  const QList<ColunaIndice>& colunas,
                  bool unico,
                  bool clustered);
