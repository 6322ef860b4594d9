#pragma once
// Turning mapped sources into a browsable tree: credentials and connection strings of nodes,
// connecting servers and databases, filling folders from the catalog when they are expanded,
// a table's columns, indexes and triggers, refreshing, and mapping custom connections.
#include "navigator/clsArvore.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsObjetoBanco.h"

#include <functional>

class clsAmbienteDados;
class clsData;
class clsMotor;
class clsSqlDmoSessao;

// The connection string of a server, database or file node, asking for credentials when none are
// known; empty when the user cancels. Also kept in the node's tag.
QString ObterConnStrNode(clsArvore& arvore, clsNo* no);

// Told on the GUI thread whether a node ended up connected.
using AoConectar = std::function<void(bool)>;

// Connect a server or a database node: the connection opens (and a server's databases are read) on
// a worker thread while the tree stays live; the nodes are added afterwards and `pronto` told. A
// failure forgets the node's credentials (and a remembered password), unless `esquecerAoFalhar` is
// false: a refresh keeps what worked until then.
void ConectarServidor(clsArvore& arvore, clsNo* no, AoConectar pronto = {}, bool esquecerAoFalhar = true);
void ConectarBancoDados(clsArvore& arvore, clsNo* no, AoConectar pronto = {}, bool esquecerAoFalhar = true);
// Checks once per provider (or every time, with the tools menu's check on) that the provider opens,
// through the companion checker, which runs while the program goes on; tells the user and offers
// the downloads page when it does not. `pronto` gets the answer (at once when nothing is to check),
// unless `contexto` is gone by then.
void ConfirmarAcesso(clsAmbienteDados& ambiente,
                     const QString& provider,
                     const QString& connStr,
                     QObject* contexto,
                     std::function<void(bool)> pronto);

// Runs the loader of an expanded node whose first child is the placeholder. A folder of tables,
// views or procedures of a database is read on a worker thread, its placeholder reading
// TextoCarregando meanwhile.
void ExpandirNo(clsArvore& arvore, clsNo* no);
inline const QString TextoCarregando = QStringLiteral("Carregando…");
// A folder collapsed or refreshed while it loads: what is being read will be dropped, and the
// next expand reads again.
void CancelarCarga(clsArvore& arvore, clsNo* no);
void CarregarManutencoes(clsArvore& arvore, clsNo* no);
// One node per SQL Agent job under the "Jobs" folder, with its steps and schedules.
void CarregarJobs(clsArvore& arvore, clsSqlDmoSessao& sessao, clsNo* pastaJobs);
bool CarregarTabelas(clsArvore& arvore, clsNo* pasta, clsData* dados = nullptr);
bool CarregarViews(clsArvore& arvore, clsNo* pasta, clsData* dados = nullptr);
bool CarregarProcedures(clsArvore& arvore, clsNo* pasta, clsData* dados = nullptr);
bool CarregarFuncoes(clsArvore& arvore, clsNo* pasta, clsData* dados = nullptr);
void CarregarDetalhesTabela(clsArvore& arvore, clsNo* tabela, const QList<JanelaAberta>& janelas = {});
// Disconnects a connected node and connects it again with what worked; false when the node is not
// one to refresh. `pronto` is told how the new connection ended.
bool AtualizarNode(clsArvore& arvore, clsNo* no, AoConectar pronto = {});
// Maps a custom connection under "Customizaveis" (or finds it mapped already) and connects it.
void MapearConexaoCustomizada(clsArvore& arvore, const QString& connStr, AoConectar pronto = {});

// Renames a table of the source `connStr` in `esquema` (empty: the session's default) with ALTER
// TABLE … RENAME TO, or sp_rename on SQL Server. On failure `erro` gets the engine's description.
bool RenomearTabela(clsAmbienteDados& ambiente,
                    const QString& connStr,
                    const QString& esquema,
                    const QString& nome,
                    const QString& novoNome,
                    QString* erro);
QString SqlRenomearTabela(const clsMotor& motor, const QString& esquema, const QString& nome, const QString& novoNome);
QString SqlRenomearTabelaSqlServer(const QString& esquema, const QString& nome, const QString& novoNome);
// The object a catalog node stands for (a table, view, procedure, function or trigger): its source,
// schema and name as the catalog gave them, never its caption.
ObjetoBanco ObjetoDoNo(const clsNo* no);
// The table a node belongs to: a table itself, its Columns, Indexes or Triggers folder, or an
// index, trigger or column under it. Empty for any other node.
ObjetoBanco TabelaDoNo(const clsNo* no);
// An object's name as window captions show it: "schema.name" unless it is in the default schema
// its folder was loaded with.
QString NomeExibido(const clsNo* no);
// The caption of a catalog object: its bare name, or "schema.name" when another object of the
// folder has the same name (`gemeo`) and it is not in the session's default schema `padrao`.
QString TextoObjeto(const QString& esquema, const QString& nome, const QString& padrao, bool gemeo);

// The qualified name of a catalog object: owner in lower case + "." + name, unless the owner is
// empty or dbo.
QString NomeQualificado(const QString& esquema, const QString& nome);
