#include "clsProgresso.h"

void clsProgresso::Iniciar(int total, const QString& titulo)
{
    QMutexLocker trava(&m_mutex);
    m_estado = {0, total, titulo};
}

bool clsProgresso::Avancar()
{
    {
        QMutexLocker trava(&m_mutex);
        ++m_estado.feitos;
    }
    return !m_parar.load();
}

clsProgresso::Estado clsProgresso::Ler() const
{
    QMutexLocker trava(&m_mutex);
    return m_estado;
}
