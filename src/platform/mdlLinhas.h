#pragma once
// Worker threads whose caller hears of their end by signal and does not keep them: each one deletes
// itself once done, and the program waits for those still running before its context goes, so
// none is left running, detached, while the objects it uses are destroyed.
#include <functional>

class QObject;

namespace linhas {

// Starts `trabalho` on a new thread; `depois` (when given) runs in `contexto`'s thread once it
// ended, unless `contexto` is gone by then.
void Iniciar(std::function<void()> trabalho, QObject* contexto, std::function<void()> depois);
// Waits for every thread started by Iniciar that is still running; called once the event loop
// has ended.
void EsperarTodas();

} // namespace linhas
