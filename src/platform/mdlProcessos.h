#pragma once
// Starting other programs.
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace processos {

// Starts `programa` with `argumentos`, writes `entrada` to its standard input (which is then
// closed: what must not show in the process list, a password, travels there) and returns at once.
// `fim` runs on the calling thread's event loop once the program has ended (true) or could not be
// started (false, with the reason); a `contexto` destroyed first drops it. Nothing waits for the
// program meanwhile. `ambiente` adds variables to the program's environment.
using AoTerminar = std::function<void(bool iniciado, const QString& erro)>;
void Executar(const QString& programa,
              const QStringList& argumentos,
              const QByteArray& entrada,
              QObject* contexto,
              AoTerminar fim,
              const QHash<QString, QString>& ambiente = {});

} // namespace processos
