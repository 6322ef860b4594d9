#pragma once
// What the navigator's object actions send to a database: creating and deleting databases on a
// server, deleting tables and indexes, and the argument of the import/export program. UI-free: the
// windows ask and confirm, these run the statements.
#include "platform/clsObjetoBanco.h"

#include <QList>
#include <QString>
#include <QStringList>

class clsAmbienteDados;
class clsMotor;

namespace acoes {

// CREATE DATABASE / DROP DATABASE on SQL Server, the name bracketed.
QString SqlCriarBanco(const QString& nome);
QString SqlExcluirBanco(const QString& nome);
// Runs one of them on `connStrMaster`; errors are shown. False when the statement failed.
bool ExecutarNoServidor(clsAmbienteDados& amb, const QString& connStrMaster, const QString& sql);

// A foreign key another table holds on the table being deleted.
struct Referencia {
    QString esquema;
    QString tabela;
    QString nome;
};
// The foreign keys of other tables that reference `esquema`.`tabela` (its own self-references left
// out). False when the catalog could not be read.
bool LerReferencias(clsMotor& m, const QString& esquema, const QString& tabela, QList<Referencia>& refs);
// The statements that delete a table: each referencing foreign key dropped from its own table,
// then the table (its own keys and constraints go with it).
QStringList
SqlExcluirTabela(const clsMotor& m, const QString& esquema, const QString& tabela, const QList<Referencia>& refs);
// Deletes the table in one transaction. On SQLite, where a foreign key cannot be dropped, a table
// other tables reference is refused with their names. Errors are shown; on any failure nothing
// changes.
bool ExcluirTabela(clsAmbienteDados& amb, const QString& connStr, const QString& esquema, const QString& tabela);
// Drops an index of the table (in the table's schema) in the engine's form; errors are shown.
bool ExcluirIndice(clsAmbienteDados& amb, const QString& connStr, const ObjetoBanco& tabela, const QString& indice);

} // namespace acoes
