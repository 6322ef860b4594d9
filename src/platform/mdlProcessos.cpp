#include "mdlProcessos.h"

#include "platform/clsPrompt.h"

#include <QProcess>
#include <QStringList>

namespace processos {

bool ExecutarEsperar(clsPrompt& prompt, const QString& linhaComando, int)
{
    QStringList partes = QProcess::splitCommand(linhaComando);
    if (partes.isEmpty())
        return false;
    QProcess processo;
    processo.setProcessChannelMode(QProcess::ForwardedChannels);
    processo.setInputChannelMode(QProcess::ForwardedInputChannel);
    const QString programa = partes.takeFirst();
    processo.start(programa, partes);
    if (!processo.waitForStarted(-1))
        return false;
    prompt.ProcessarEventos();
    while (processo.state() != QProcess::NotRunning) {
        processo.waitForFinished(50);
        prompt.ProcessarEventos();
    }
    return true;
}

} // namespace processos
