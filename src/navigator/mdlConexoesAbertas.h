#pragma once
// The open connections a query window can switch to, read from the navigator's tree.
#include <QList>
#include <QString>

class clsArvore;
class clsNo;

// One entry of the connection selector: server, database, connection string, display text (and
// the node text the display text was made from, handed back on confirmation).
struct EntradaConexao {
    QString servidor;
    QString banco;
    QString connectionString;
    QString texto;
    QString textoNo;
};

// The display text of an entry: the node text when given; otherwise the server followed, when the
// database is not empty, by " / " and the database.
QString TextoEntradaConexao(const QString& servidor, const QString& banco, const QString& textoNo);
EntradaConexao NovaEntradaConexao(const QString& connectionString,
                                  const QString& servidor,
                                  const QString& banco,
                                  const QString& textoNo);

// Walks the tree from its first node: connected file databases (4), connected server databases
// (6), custom connections (13) and connected web services (43) are offered; any other node with
// children is descended into.
QList<EntradaConexao> CarregarConexoes(const clsArvore& arvore);
