#include "mdlProgramas.h"

#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <cstring>

QString CaminhoCompanheiro(Companheiro c)
{
    const char* nome = "";
    switch (c) {
    case Companheiro::ImportarExportar: nome = "quarrix-impexp"; break;
    case Companheiro::Backup: nome = "quarrix-backup"; break;
    case Companheiro::Permissoes: nome = "quarrix-permissoes"; break;
    case Companheiro::VerificadorProvedor: nome = "quarrix-verificador"; break;
    case Companheiro::EasySetup: nome = "quarrix-easysetup"; break;
    }
    return QCoreApplication::applicationDirPath() + u'/' + QString::fromUtf8(nome);
}

bool IniciarPrograma(const QString& programa,
                     const QStringList& argumentos,
                     QString* erro,
                     const QHash<QString, QString>& ambiente)
{
    const QFileInfo info(programa);
    if (!info.isFile() || !info.isExecutable()) {
        if (erro)
            *erro = programa + QStringLiteral(": ")
                    + QString::fromLocal8Bit(std::strerror(info.exists() ? EACCES : ENOENT));
        return false;
    }
    QProcess processo;
    processo.setProgram(programa);
    processo.setArguments(argumentos);
    if (!ambiente.isEmpty()) {
        QProcessEnvironment variaveis = QProcessEnvironment::systemEnvironment();
        for (auto i = ambiente.cbegin(); i != ambiente.cend(); ++i)
            variaveis.insert(i.key(), i.value());
        processo.setProcessEnvironment(variaveis);
    }
    if (!processo.startDetached()) {
        if (erro)
            *erro = processo.errorString();
        return false;
    }
    return true;
}

QString ArgumentoImportarExportar(const QString& origem, const QString& destino, const QString& tabela)
{
    QStringList partes;
    if (!origem.isEmpty())
        partes << QStringLiteral("Orig=") + origem;
    if (!destino.isEmpty())
        partes << QStringLiteral("Dest=") + destino;
    if (!tabela.isEmpty())
        partes << QStringLiteral("Tab=") + tabela;
    return partes.join(u'&');
}

void ExecutarImportarExportar(clsPrompt& prompt,
                              const QString& origem,
                              const QString& destino,
                              const QString& tabela,
                              const QString& programa)
{
    const QString argumento = ArgumentoImportarExportar(origem, destino, tabela);
    QString erro;
    if (!IniciarPrograma(programa.isEmpty() ? CaminhoCompanheiro(Companheiro::ImportarExportar) : programa,
                         {},
                         &erro,
                         {{QStringLiteral("QUARRIX_ARGUMENTO"), argumento}}))
        prompt.MsgBox(QStringLiteral("O programa de Importação e Exportação não está disponível.") + u'\n' + erro,
                      vb::Critical,
                      globais::TituloAplicativo());
}
