#pragma once
// The light check a query window may run on its SQL before sending it: the text is walked word by
// word, without asking the database, and a name with more than one dot is refused as an unidentified
// field. The walk shows its progress and can be aborted from the progress window, in which case the
// run goes ahead.
#include <QString>

class clsPrompt;

// True lets the run go on. With `blnCheck` false it answers true at once; an empty text is never
// checked. A refusal is shown in a critical message box titled "Erro em Instrução SQL".
bool VerificarSql(clsPrompt& prompt, const QString& strSql, bool blnCheck = true);
