#pragma once
// A database user's permissions on the database's objects and its role memberships, as the
// permissions program shows and changes them: read from the engine's catalog (SQL Server's
// sys.database_permissions, PostgreSQL's access lists), edited cell by cell, and written back as
// the GRANT, DENY and REVOKE statements that take the catalog from the state read to the state
// edited, in one transaction. Every name and principal goes through the engine's quoting.
#include "platform/clsMotor.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace permissoes {

// A cell's state as the user holds it directly. PostgreSQL has no DENY.
enum class Estado : quint8 { Nenhum, Concedido, Negado };

enum Permissao : int { Select, Insert, Update, Delete, References, Execute, QtdePermissoes };
// "SELECT", "INSERT", "UPDATE", "DELETE", "REFERENCES", "EXECUTE"; -1 for another name.
QString NomePermissao(int permissao);
int PermissaoDoNome(const QString& nome);

enum class TipoObjeto { Tabela, View, Procedure, Funcao, FuncaoTabela };
// "Tabela", "View", "Procedure", "Função".
QString NomeTipo(TipoObjeto tipo);

struct Celula {
    Estado estado = Estado::Nenhum;
    // Held WITH GRANT OPTION: taking it away must cascade to what the user granted on.
    bool opcaoConcessao = false;
    // The roles of the user that grant the permission (shown, never edited here).
    QStringList papeis;
};

struct Objeto {
    QString esquema, nome;
    // A PostgreSQL routine's argument types as the server writes them ("integer, text"): part of
    // its identity, since routines overload.
    QString argumentos;
    TipoObjeto tipo = TipoObjeto::Tabela;
    std::array<Celula, QtdePermissoes> celulas;
    // "esquema.nome" or "esquema.nome(argumentos)", for lists and the headless program.
    QString Rotulo() const;
};

struct Papel {
    QString nome;
    bool fixo = false; // a fixed database role (SQL Server) or a predefined role (PostgreSQL)
    bool membro = false; // the user belongs to it directly
    bool efetivo = false; // directly or through another role
};

struct Quadro {
    Dialeto dialeto = Dialeto::SqlServer;
    QString usuario;
    bool superusuario = false; // PostgreSQL: every check passes, whatever the cells say
    QList<Objeto> objetos;
    QList<Papel> papeis;
};

// Whether a permission applies to a kind of object on an engine.
bool Aplicavel(Dialeto dialeto, TipoObjeto tipo, int permissao);
// The state after `estado` when the user steps a cell: none, GRANT, DENY on SQL Server; none,
// GRANT elsewhere.
Estado ProximoEstado(Dialeto dialeto, Estado estado);
// "GRANT", "DENY" or empty.
QString TextoEstado(Estado estado);

// Cells and memberships that differ between the state read and the state edited.
int QtdeAlteracoes(const Quadro& antes, const Quadro& depois);

// The statements that take the user from `antes` to `depois` (the same objects and roles, in the
// same order): per object, what is revoked, then denied, then granted, each grouping the object's
// permissions; then the role memberships taken away and the ones given.
QStringList Instrucoes(const Quadro& antes, const Quadro& depois);
// The statements as one transaction, the way they are sent.
QString Script(Dialeto dialeto, const QStringList& instrucoes);

// The catalog queries, each run in the user's database. Column names are lower case.
// The user: one row ("superusuario" 0/1) when the user exists.
QString SqlUsuario(Dialeto dialeto, const QString& usuario);
// The objects: "esquema", "nome", "argumentos", "tipo" (SQL Server's sys.objects type; PostgreSQL:
// r table, v view, P procedure, F function).
QString SqlObjetos(Dialeto dialeto);
// The permissions held by the user, by public and by the user's roles: "esquema", "nome",
// "argumentos", "permissao", "estado" (G, W with grant option, D), "papel" (null when the user's own).
QString SqlPermissoes(Dialeto dialeto, const QString& usuario);
// The roles the user may belong to: "nome", "fixo", "membro", "efetivo" (0/1).
QString SqlPapeis(Dialeto dialeto, const QString& usuario);

// Fill a picture from the rows of those queries. Objects without a known kind are left out.
void LerObjetos(Quadro& q, clsRecordset& rs);
void LerPermissoes(Quadro& q, clsRecordset& rs);
void LerPapeis(Quadro& q, clsRecordset& rs);
// What the fixed or predefined roles the user belongs to grant on every object (db_owner,
// db_datareader, db_datawriter; pg_read_all_data, pg_write_all_data).
void AplicarPapeisFixos(Quadro& q);

} // namespace permissoes

namespace permissoes {

// The program's argument: "ConnString=" + connection string + "&UserName=" + user.
QString MontarArgumento(const QString& connStr, const QString& usuario);
bool LerArgumento(const QString& texto, QString& connStr, QString& usuario, QString* erro = nullptr);

// A change given to the program without a window, applied to `q`: a state, a permission and the
// object, separated by tabs ("GRANT", "DENY" or "REVOKE" for none; the schema, the name and, for a
// PostgreSQL routine, its argument types), or "PAPEL+" / "PAPEL-" and a role. False, with the
// reason, when the line names nothing of `q` or asks what the cell cannot hold.
bool AplicarLinha(Quadro& q, const QString& linha, QString& erro);
// The picture as that program prints it: one line per object the user holds something on
// (label, then "PERMISSAO=GRANT|DENY" for each such cell, tab-separated), then "PAPEL" and each
// role the user belongs to.
QStringList Listar(const Quadro& q);

} // namespace permissoes

class clsPrompt;

namespace permissoes {
// Starts the permissions program for `usuario` of the database `connStr` names, the argument in its
// environment. A missing program is reported to the user.
void ExecutarPrograma(clsPrompt& prompt, const QString& connStr, const QString& usuario);
} // namespace permissoes
