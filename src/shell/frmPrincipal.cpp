#include "frmPrincipal.h"

#include "gui/PromptJanelas.h"
#include "shell/mdlGlobais.h"

#include <QApplication>

frmPrincipal::frmPrincipal(QWidget* pai) : QMainWindow(pai)
{
    setWindowTitle(globais::TituloAplicativo());
}

int frmPrincipal::Executar(QApplication& app)
{
    static PromptJanelas prompt;
    DefinirPrompt(&prompt);
    frmPrincipal janela;
    janela.show();
    return app.exec();
}
