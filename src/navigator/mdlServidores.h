#pragma once
// The registry of mapped connections: section "Servidores" of the settings store (slots nnn with
// "Tipo", "Path", "Nome", "Url", "ConnStr", "Link" and the count "Qtde"), the registered SQL Server
// servers, and the top-level nodes of the navigator built from them.
#include "navigator/clsArvore.h"
#include "navigator/mdlNavegador.h"

#include <QString>

// Kind codes of the navigator (distinct from clsData's connection types).
namespace tiporegistro {
enum : int { Access = 1, SqlServer = 2, WebService = 4, Customizada = 8 };
}

bool SqlDmoDisponivel();

// Loads every mapped entry into the navigator (at start).
void CarregarServidores(clsArvore& arvore);
// Adds the custom connections another program mapped since the tree was loaded (the local engine
// setup); true when one was added.
bool AcrescentarConexoesNovas(clsArvore& arvore);

// Adds one top-level node for a mapped entry; false (and the existing node selected) when an entry
// with the same key is already in the tree.
bool IncluirConexaoNavegador(clsArvore& arvore,
                             int tipo,
                             const QString& nome,
                             bool integrado = false,
                             const QString& usuario = {},
                             const QString& senha = {},
                             const QString& connStr = {},
                             const QString& link = {});

// Writes one entry into the last free slot, or a new one. The caller scrambles link; connStr, which
// may hold a password, is kept as saved passwords are (the keyring, else scrambled).
void GravarServidor(clsArvore& arvore,
                    const QString& tipo,
                    const QString& nome,
                    const QString& connStr,
                    const QString& link);

// Forgets the entry in `slot`: its keys and its saved connection string.
void ApagarSlot(clsArvore& arvore, int slot);

// The slot of a mapped Access, web-service or custom node; 0 when not found.
int LocalizarServidor(const clsArvore& arvore, const clsNo* no);

// Removes a mapped entry after confirmation: disconnects it (closing its windows), deletes its slot
// or its registered server, and removes its node.
void DesmaparItem(clsArvore& arvore, clsNo* no, const QList<JanelaAberta>& janelas);

// The login name under which the "AutoLogin" keys of a node are kept.
QString NomeLogin(const clsNo* no);

// Three-digit slot number: 1 gives "001".
QString SlotServidor(int slot);
