// The import/export program: copies tables between two connections, or between a connection and
// delimited text files. Started by Quarrix with "Orig=…&Dest=…&Tab=…" in QUARRIX_ARGUMENTO (a
// connection string carries its password, so it never travels on the command line). With
// --sem-janela it also reads "chave=valor" lines from standard input, copies, prints the report
// and ends with 0 when every table was copied, 1 when one failed, 2 when nothing could start;
// without it the wizard opens on the argument's origin, destination and table.
#include "gui/PromptJanelas.h"
#include "gui/Traducoes.h"
#include "impexp/frmImpExp.h"
#include "impexp/mdlSemJanela.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    bool semJanela = false;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--sem-janela") == 0) {
            semJanela = true;
        } else {
            std::fputs("uso: quarrix-impexp [--sem-janela] < \"chave=valor\" por linha\n", stderr);
            return 2;
        }
    }
    const QString argumento = qEnvironmentVariable("QUARRIX_ARGUMENTO");
    if (semJanela) {
        QCoreApplication app(argc, argv);
        QTextStream entrada(stdin);
        entrada.setEncoding(QStringConverter::Utf8);
        QTextStream saida(stdout), erros(stderr);
        saida.setEncoding(QStringConverter::Utf8);
        erros.setEncoding(QStringConverter::Utf8);
        return impexp::ExecutarSemJanela(argumento, entrada.readAll(), saida, erros);
    }
    QApplication app(argc, argv);
    InstalarTraducoesQt();
    PromptJanelas prompt;
    frmImpExp janela(prompt, impexp::LerArgumento(argumento));
    janela.show();
    return QApplication::exec();
}
