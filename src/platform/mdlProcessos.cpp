#include "mdlProcessos.h"

#include <QPointer>
#include <QProcess>

#include <memory>
#include <utility>

namespace processos {

void Executar(const QString& programa,
              const QStringList& argumentos,
              const QByteArray& entrada,
              QObject* contexto,
              AoTerminar fim,
              const QHash<QString, QString>& ambiente)
{
    auto* processo = new QProcess;
    processo->setProcessChannelMode(QProcess::ForwardedChannels);
    if (!ambiente.isEmpty()) {
        QProcessEnvironment variaveis = QProcessEnvironment::systemEnvironment();
        for (auto i = ambiente.cbegin(); i != ambiente.cend(); ++i)
            variaveis.insert(i.key(), i.value());
        processo->setProcessEnvironment(variaveis);
    }
    // Whichever comes first reports: the end of the program, or its failure to start.
    auto relatar = std::make_shared<AoTerminar>(std::move(fim));
    const QPointer<QObject> alvo(contexto);
    const auto terminar = [processo, relatar, alvo](bool ok, const QString& erro) {
        processo->deleteLater();
        auto f = std::exchange(*relatar, {});
        if (f && alvo)
            f(ok, erro);
    };
    QObject::connect(processo, &QProcess::finished, processo, [terminar] { terminar(true, {}); });
    QObject::connect(processo, &QProcess::errorOccurred, processo, [processo, terminar](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            terminar(false, processo->errorString());
    });
    QObject::connect(processo, &QProcess::started, processo, [processo, entrada] {
        processo->write(entrada);
        processo->closeWriteChannel();
    });
    if (programa.trimmed().isEmpty()) {
        QMetaObject::invokeMethod(
            processo,
            [terminar] { terminar(false, QStringLiteral("Nenhum programa informado.")); },
            Qt::QueuedConnection);
        return;
    }
    processo->start(programa, argumentos);
}

} // namespace processos
