#include "shell/frmPrincipal.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return frmPrincipal::Executar(app);
}
