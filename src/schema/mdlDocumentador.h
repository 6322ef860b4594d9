#pragma once
// The documenter: a text file describing the columns (key, type, size, nulls, default) and indexes
// of one table, or of every table (or every system table) of a database, written in the user's
// documents folder for the desktop's text editor.
#include "platform/clsObjetoBanco.h"

#include <QDateTime>
#include <QString>

class clsAmbienteDados;
class clsProgresso;

namespace documentador {

enum class Alcance { Tabela, TodasTabelas, TabelasSistema };

// Writes the file (UTF-8) and returns its path; empty when nothing was written, with the reason in
// `erro`. `legenda` is the main window's caption printed in each heading; `tabela` (in its schema)
// is used with Alcance::Tabela and names the file; `agora` (the current time when invalid) dates
// the headings and the file's name. It runs on a worker thread as well: it reaches no prompt, and
// `progresso` hears each table and may stop the work between tables.
struct Pedido {
    Alcance alcance = Alcance::Tabela;
    ObjetoBanco tabela;
    QString legenda;
    QDateTime agora;
};
QString Documentar(clsAmbienteDados& amb,
                   const QString& chave,
                   const Pedido& pedido,
                   QString& erro,
                   clsProgresso* progresso = nullptr);

// The lines of one table's section, for its columns (key?, name, type, size, nulls, default) and
// its indexes (the primary key's among them).
struct ColunaDoc {
    bool chave = false;
    QString nome, tipo;
    qint32 tamanho = 0;
    bool anulavel = true;
    QString padrao;
};
struct IndiceDoc {
    QString nome;
    bool primario = false, unico = false;
    QStringList colunas; // in key order, " DESC" after a descending one
};
QStringList SecaoTabela(const QString& tabela,
                        const QString& legenda,
                        const QDateTime& agora,
                        const QList<ColunaDoc>& colunas,
                        const QList<IndiceDoc>& indices = {});

} // namespace documentador
