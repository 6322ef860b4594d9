#pragma once
// Running the SQL of a query window, apart from the window: splitting a script at its "GO"
// separators, the step-by-step run with its progress window and continue question, the check
// before running, and the elapsed-time text. Messages go through the connection's prompt.
#include "platform/clsRecordset.h"

#include <QString>
#include <QStringList>
#include <functional>

class clsData;

namespace execucao {

// The seven separators of a script, in the order they are searched (CR is "\r", LF is "\n").
extern const QStringList Separadores;

// Finds the "GO" separators of `texto` (exact, case-sensitive). None: false, text unchanged.
// Step by step off: every separator is removed from `texto` (a blank is left where removing it
// would glue two words together); Executar then runs the batches one after another (Lotes), since
// not every engine takes several statements in one batch. Step by step on:
// `instrucoes` gets the statements between separators, each collected once.
bool DividirInstrucoes(QString& texto, bool passoPasso, QStringList& instrucoes);

// The statements between the separators of `texto`, in order, every one (repeats too).
QStringList Lotes(const QString& texto);

// Runs one statement or batch on the connection: its rows (when it returns any) and the count it
// changed; false with the connection's error. The query window runs it off the GUI thread; the
// messages between statements stay on the caller's thread. Empty: clsData::ExecSql at once.
using Executor = std::function<bool(const QString& sql, RecordsetPtr& rs, long& afetados)>;

// Whether the connection's last failure was a statement stopped by the user.
bool Interrompida(const clsData& dados);

// Runs the batches one after another, each as the engine takes it, and stops at the first that
// fails. The recordset and count are those of the last batch run.
bool ExecutarLotes(clsData& dados,
                   const QStringList& lotes,
                   RecordsetPtr& rs,
                   long& afetados,
                   const Executor& executor = {});

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

// Runs the statements one by one under the progress window. A failing statement asks whether to
// go on; No stops the run, and so does a statement the user stopped (nothing is asked then). The
// recordset and count are those of the last statement run.
bool ExecutarPassoPasso(clsData& dados,
                        const QStringList& instrucoes,
                        RecordsetPtr& rs,
                        long& afetados,
                        const Executor& executor = {});

// The check before running: true lets the text run.
using Verificador = std::function<bool(const QString& sql)>;

// Outcome of one run.
struct Resultado {
    bool ok = false;
    RecordsetPtr rs; // rows of the last statement, when it returned any
    long afetados = 0;
    double segundos = 0; // time the statements took (not counting the final message)
    // The user stopped the run: `rs` holds the rows fetched until then (when the executor keeps
    // them), and no error is shown.
    bool interrompida = false;
};

// The run of a query window's text on its open connection: "dbo." removal on file databases, the
// check (when one is given), the split, the statements, and the messages: success without rows,
// or the connection's error. False, with no message, for an empty text or a refused check.
bool Executar(clsData& dados,
              const QString& texto,
              bool passoPasso,
              const Verificador& verificar,
              Resultado& r,
              const Executor& executor = {});

} // namespace execucao
