#pragma once
// SQL text of database objects: SELECT/INSERT/UPDATE/DELETE/CREATE/ALTER/DROP of tables, CREATE,
// ALTER and DROP of views, procedures, functions and triggers, the CREATE INDEX statements of a
// table, and the script of a whole database. Every function returns the text and never runs it;
// an empty text means nothing could be read.
#include <QString>

class clsAmbienteDados;
class clsData;

namespace script {

// Kinds of script (the `tipo` argument).
enum Tipo : int {
    Select = 1,
    Create = 2,
    Alter = 3,
    Drop = 4,
    Insert = 5,
    Update = 6,
    Delete = 7,
};

// `chave` is the connection key of the object's navigator node (its tag); `nome` the object's name.
QString ScriptTabela(clsAmbienteDados& amb, const QString& chave, const QString& tabela, int tipo);
QString ScriptView(clsAmbienteDados& amb, const QString& chave, const QString& visao, int tipo);
QString ScriptProcedure(clsAmbienteDados& amb, const QString& chave, const QString& procedure, int tipo);
QString ScriptFunction(clsAmbienteDados& amb, const QString& chave, const QString& funcao, int tipo);
QString ScriptTrigger(clsAmbienteDados& amb, const QString& chave, const QString& trigger, int tipo);
// The CREATE INDEX statements of `tabela`: all of them when `indice` is empty, else that one. Uses
// `db` when given (an open connection), else opens one with `chave`.
QString ScriptIndices(clsAmbienteDados& amb, const QString& tabela, clsData* db, QString& indice, const QString& chave);
// The whole database, with the progress window; the user may abort between objects.
QString ScriptBancoDados(clsAmbienteDados& amb, const QString& chave, const QString& banco, int reservado = 11);

} // namespace script
