#include "mdlProgramas.h"

#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
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
    const QString pasta = qEnvironmentVariable("QUARRIX_PROGRAMAS");
    return (pasta.isEmpty() ? QCoreApplication::applicationDirPath() : pasta) + u'/' + QString::fromUtf8(nome);
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

bool SepararArgumento(const QString& texto, const QStringList& chaves, QHash<QString, QString>& valores, QString* erro)
{
    valores.clear();
    QStringList escapadas;
    for (const QString& c : chaves)
        escapadas << QRegularExpression::escape(c);
    const QRegularExpression inicio(QStringLiteral("(?:^|&)(") + escapadas.join(u'|') + QStringLiteral(")="));
    QRegularExpressionMatchIterator it = inicio.globalMatch(texto);
    QString chave;
    qsizetype depois = -1;
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (!chave.isEmpty())
            valores.insert(chave, texto.mid(depois, m.capturedStart() - depois));
        else if (m.capturedStart() != 0) {
            if (erro)
                *erro = QStringLiteral("Argumento inesperado no início: ") + texto.left(m.capturedStart());
            return false;
        }
        chave = m.captured(1);
        depois = m.capturedEnd();
    }
    if (!chave.isEmpty())
        valores.insert(chave, texto.mid(depois));
    return true;
}

QString LerArgumentoPrograma(QStringList* linhas)
{
    const auto lerEntrada = [] {
        QTextStream entrada(stdin);
        entrada.setEncoding(QStringConverter::Utf8);
        return entrada.readAll();
    };
    QString argumento = qEnvironmentVariable("QUARRIX_ARGUMENTO");
    const bool doAmbiente = qEnvironmentVariableIsSet("QUARRIX_ARGUMENTO");
    qunsetenv("QUARRIX_ARGUMENTO");
    if (!linhas) {
        if (!doAmbiente)
            argumento = lerEntrada();
        while (argumento.endsWith(u'\n') || argumento.endsWith(u'\r'))
            argumento.chop(1);
        return argumento;
    }
    *linhas = lerEntrada().split(QRegularExpression(QStringLiteral("\r?\n")));
    while (!linhas->isEmpty() && linhas->last().isEmpty())
        linhas->removeLast();
    if (!doAmbiente)
        argumento = linhas->isEmpty() ? QString() : linhas->takeFirst();
    return argumento;
}

bool LerOpcoesPrograma(int argc, char** argv, const char* uso, bool& semJanela)
{
    semJanela = false;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--sem-janela") != 0) {
            std::fputs(uso, stderr);
            return false;
        }
        semJanela = true;
    }
    return true;
}
