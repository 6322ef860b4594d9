#pragma once
// Starting other programs.
#include <QString>

class clsPrompt;

namespace processos {

// Window styles a caller may ask for. The programs started here place their own windows, so the
// style is accepted for the callers' sake and not applied.
enum EstiloJanela : int { Oculta = 0, NormalComFoco = 1, MinimizadaComFoco = 2, Maximizada = 3 };

// Starts the command line (split into program and arguments as a shell would) and blocks until the
// program ends, letting pending events run meanwhile; there is no time-out. An empty command line
// does nothing. False when nothing was started.
bool ExecutarEsperar(clsPrompt& prompt, const QString& linhaComando, int estiloJanela = NormalComFoco);

// The same for a program and its arguments, with `entrada` written to its standard input (which is
// then closed): what must not show in the process list (a password) travels there.
bool ExecutarEsperarComEntrada(clsPrompt& prompt,
                               const QString& programa,
                               const QStringList& argumentos,
                               const QByteArray& entrada);

} // namespace processos
