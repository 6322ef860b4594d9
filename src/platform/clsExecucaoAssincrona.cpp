#include "clsExecucaoAssincrona.h"

#include <QEventLoop>
#include <QThread>

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
