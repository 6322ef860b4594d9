#pragma once
// SQL text of database objects: SELECT/INSERT/UPDATE/DELETE/CREATE/ALTER/DROP of tables, CREATE,
// ALTER and DROP of views, procedures, functions and triggers, the CREATE INDEX statements of a
// table, and the script of a whole database. Every function returns the text and never runs it;
// an empty text means nothing could be read.
#include "platform/clsObjetoBanco.h"

#include <QString>

class clsAmbienteDados;
class clsProgresso;
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

// `chave` is the connection key of the object's navigator node (its tag); the object is named by
// its schema (empty: the default one) and name, and every statement names it so.
QString ScriptTabela(clsAmbienteDados& amb, const QString& chave, const ObjetoBanco& tabela, int tipo);
QString ScriptView(clsAmbienteDados& amb, const QString& chave, const ObjetoBanco& visao, int tipo);
QString ScriptProcedure(clsAmbienteDados& amb, const QString& chave, const ObjetoBanco& procedure, int tipo);
QString ScriptFunction(clsAmbienteDados& amb, const QString& chave, const ObjetoBanco& funcao, int tipo);
// A trigger's schema is its table's. PostgreSQL drops a trigger of a table (`tabela`) by both names.
QString ScriptTrigger(clsAmbienteDados& amb,
                      const QString& chave,
                      const ObjetoBanco& trigger,
                      int tipo,
                      const ObjetoBanco& tabela = {});
// The CREATE INDEX statements of `tabela`: all of them when `indice` is empty, else that one. Uses
// `db` when given (an open connection), else opens one with `chave`.
QString
ScriptIndices(clsAmbienteDados& amb, const ObjetoBanco& tabela, clsData* db, QString& indice, const QString& chave);
// The whole database. It runs on a worker thread as well: it reaches no prompt; `progresso` hears
// each group and object and may stop the work between objects (the script so far is returned).
// Empty, with the reason in `erro`, when the connection does not open.
QString ScriptBancoDados(clsAmbienteDados& amb,
                         const QString& chave,
                         const QString& banco,
                         clsProgresso* progresso = nullptr,
                         QString* erro = nullptr);

} // namespace script
