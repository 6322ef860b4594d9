#pragma once
// The documenter: a text file describing the columns of one table, or of every table (or every
// system table) of a database, written in the working folder for the desktop's text editor.
#include "platform/clsObjetoBanco.h"

#include <QDateTime>
#include <QString>

class clsAmbienteDados;

namespace documentador {

enum class Alcance { Tabela, TodasTabelas, TabelasSistema };

// Writes the file (UTF-8) and returns its path; empty when nothing was written. `legenda` is the
// main window's caption printed in each heading; `tabela` (in its schema) is used with Alcance::Tabela; `agora`
// (the current time when invalid) dates the headings and names the file.
QString Documentar(clsAmbienteDados& amb,
                   const QString& chave,
                   Alcance alcance,
                   const ObjetoBanco& tabela,
                   const QString& legenda,
                   QDateTime agora = {});

// The lines of one table's section, for the columns given as (key?, name, type, size).
struct ColunaDoc {
    bool chave = false;
    QString nome, tipo;
    qint32 tamanho = 0;
};
QStringList
SecaoTabela(const QString& tabela, const QString& legenda, const QDateTime& agora, const QList<ColunaDoc>& colunas);

} // namespace documentador
