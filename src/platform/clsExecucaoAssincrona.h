#pragma once
// Runs one statement at a time on a connection in a worker thread, so the window that asked stays
// live, and stops it on request. The result arrives through Concluida, in the thread that owns
// this object; meanwhile nothing else may use the connection.
#include "clsMotor.h"

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

// Runs `trabalho` on a worker thread and returns when it has ended. Meanwhile the calling thread
// goes on processing its events, so its windows paint and answer (a Stop button among them);
// whatever `trabalho` touches must not be used by those events until it returns.
void EsperarTrabalho(const std::function<void()>& trabalho);

class clsExecucaoAssincrona : public QObject {
    Q_OBJECT
public:
    explicit clsExecucaoAssincrona(std::shared_ptr<clsMotor> motor, QObject* parent = nullptr);
    // Stops a statement still running and waits for its thread.
    ~clsExecucaoAssincrona() override;

    // Starts `sql`; false (nothing started) while another runs.
    bool Iniciar(const QString& sql, int lockType);
    // Asks the running statement to stop; Concluida follows with ado::ErrInterrompida.
    void Parar();
    bool Executando() const { return trabalho != nullptr; }

signals:
    // `rs`: the first result with columns (null for statements without rows).
    void Concluida(bool ok, RecordsetPtr rs, long afetados, ErroDados erro);

private:
    std::shared_ptr<clsMotor> motor;
    QThread* trabalho = nullptr;
};

Q_DECLARE_METATYPE(RecordsetPtr)
Q_DECLARE_METATYPE(ErroDados)
