#pragma once
// Running the SQL of a query window, apart from the window: splitting a script at its "GO"
// separators, the messages of a run, the elapsed-time text and the table window's SELECT.
#include "platform/clsRecordset.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace execucao {

// A script's separator is a line that holds only "GO", in any case, with blanks around it if any,
// ended by CR LF, LF, CR or the end of the text; never inside a string literal, a quoted name or a
// comment. Found none: false, text unchanged. Step by step off: the separator lines are removed
// from `texto` (the batches are then run one after another, see Lotes). Step by step on:
// `instrucoes` gets the batches, each collected once.
bool DividirInstrucoes(QString& texto, bool passoPasso, QStringList& instrucoes);

// The batches between the separators of `texto`, in order, every one (repeats too), each trimmed;
// a text without separators is one batch. Nothing between two separators is no batch.
QStringList Lotes(const QString& texto);

// The message of a run that changed rows without returning any.
QString MensagemSucesso(long afetados);
// The message of a script whose batch `lote` (0-based, of `total`) failed with `errMsg`: the error
// itself, then which batch failed and what the batches before it did, as they were executed.
QString MensagemFalhaLote(const QString& errMsg, int lote, int total, const QList<long>& afetadosAnteriores);

// "5 Segundos", "1 Segundo", "1,5 Minutos", "2 Horas" (the user's decimal separator; halves go to
// the even neighbour).
QString FormatarTempo(double segundos);
// `valor` rounded to `casas` decimals, halves to the even neighbour.
double ArredondarPar(double valor, int casas);

// The table name as the SELECT of a table window writes it: always quoted, the way the engine of the
// connection reads names, so that no name can read as another name or as SQL.
QString NomeTabelaSelect(const QString& connectionString, const QString& tabela);

// Every "dbo." of the text removed, in any case (file databases know no owners).
QString RemoverDbo(const QString& sql);

} // namespace execucao
