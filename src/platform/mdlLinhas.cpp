#include "mdlLinhas.h"

#include <QList>
#include <QMutex>
#include <QPointer>
#include <QThread>

namespace linhas {

namespace {

QMutex& Trava()
{
    static QMutex m;
    return m;
}

QList<QPointer<QThread>>& Iniciadas()
{
    static QList<QPointer<QThread>> l;
    return l;
}

} // namespace

void Iniciar(std::function<void()> trabalho, QObject* contexto, std::function<void()> depois)
{
    QThread* linha = QThread::create(std::move(trabalho));
    QObject::connect(linha, &QThread::finished, linha, &QObject::deleteLater);
    if (depois)
        QObject::connect(linha, &QThread::finished, contexto, std::move(depois));
    {
        QMutexLocker trava(&Trava());
        Iniciadas().removeAll(nullptr);
        Iniciadas().append(linha);
    }
    linha->start();
}

void EsperarTodas()
{
    QList<QPointer<QThread>> copia;
    {
        QMutexLocker trava(&Trava());
        copia = Iniciadas();
    }
    for (const QPointer<QThread>& linha : copia)
        if (linha)
            linha->wait();
}

} // namespace linhas
