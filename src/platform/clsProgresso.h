#pragma once
// How far a piece of long work running on a worker thread got, and the user's request to stop it:
// the worker sets the steps and advances; the GUI thread reads them and may ask it to stop. Only
// values cross the threads.
#include <QMutex>
#include <QString>

#include <atomic>

class clsProgresso {
public:
    // Worker: a new stage of `total` steps under a caption.
    void Iniciar(int total, const QString& titulo);
    // Worker: one step done; false once the user asked to stop.
    bool Avancar();
    bool Parado() const { return m_parar.load(); }
    // GUI: asks the work to stop at its next step.
    void Parar() { m_parar = true; }

    struct Estado {
        int feitos = 0;
        int total = 0;
        QString titulo;
    };
    Estado Ler() const;

private:
    mutable QMutex m_mutex;
    Estado m_estado;
    std::atomic<bool> m_parar{false};
};
