#include "mdlProcessos.h"

#include "platform/clsPrompt.h"

#include <QProcess>
#include <QStringList>

namespace processos {

namespace {

// Waits for a started program, letting pending events run meanwhile.
void Esperar(clsPrompt& prompt, QProcess& processo)
{
    prompt.ProcessarEventos();
    while (processo.state() != QProcess::NotRunning) {
        processo.waitForFinished(50);
        prompt.ProcessarEventos();
    }
}

} // namespace

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
    Esperar(prompt, processo);
    return true;
}

bool ExecutarEsperarComEntrada(clsPrompt& prompt,
                               const QString& programa,
                               const QStringList& argumentos,
                               const QByteArray& entrada)
{
    QProcess processo;
    processo.setProcessChannelMode(QProcess::ForwardedChannels);
    processo.start(programa, argumentos);
    if (!processo.waitForStarted(-1))
        return false;
    processo.write(entrada);
    processo.closeWriteChannel();
    Esperar(prompt, processo);
    return true;
}

} // namespace processos
