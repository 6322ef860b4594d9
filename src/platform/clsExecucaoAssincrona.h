#pragma once
#include <functional>

// Runs `trabalho` on a worker thread and returns when it has ended. Meanwhile the calling thread
// goes on processing its events, so its windows paint and answer (a Stop button among them);
// whatever `trabalho` touches must not be used by those events until it returns.
void EsperarTrabalho(const std::function<void()>& trabalho);
