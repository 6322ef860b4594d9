#include "clsExecucaoAssincrona.h"

#include <QEventLoop>
#include <QPointer>

void EsperarTrabalho(const std::function<void()>& trabalho)
{
    QThread* t = QThread::create(trabalho);
    QEventLoop espera;
    QObject::connect(t, &QThread::finished, &espera, &QEventLoop::quit, Qt::QueuedConnection);
    t->start();
    // `finished` may come before the loop runs: the queued quit is still waiting then.
    espera.exec();
    t->wait();
    delete t;
}

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
