#include "clsExecucaoAssincrona.h"

#include <QPointer>

clsExecucaoAssincrona::clsExecucaoAssincrona(std::shared_ptr<clsMotor> motor, QObject* parent)
    : QObject(parent), motor(std::move(motor))
{}

clsExecucaoAssincrona::~clsExecucaoAssincrona()
{
    if (trabalho) {
        Parar();
        trabalho->wait();
        delete trabalho;
    }
}

bool clsExecucaoAssincrona::Iniciar(const QString& sql, int lockType)
{
    if (trabalho || !motor)
        return false;
    QPointer<clsExecucaoAssincrona> eu(this);
    auto m = motor;
    trabalho = QThread::create([eu, m, sql, lockType] {
        RecordsetPtr rs;
        long afetados = -1;
        const bool ok = m->Executar(sql, &rs, lockType, &afetados);
        const ErroDados erro = m->Erro();
        // Handed over in the owner's thread, once the worker is done with the connection.
        QMetaObject::invokeMethod(
            eu.data(),
            [eu, ok, rs, afetados, erro] {
                if (!eu)
                    return;
                eu->trabalho->wait();
                eu->trabalho->deleteLater();
                eu->trabalho = nullptr;
                emit eu->Concluida(ok, rs, afetados, erro);
            },
            Qt::QueuedConnection);
    });
    trabalho->start();
    return true;
}

void clsExecucaoAssincrona::Parar()
{
    if (trabalho && motor)
        motor->Interromper();
}
