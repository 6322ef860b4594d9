// Runs one registered test class (first argument) or, with no argument, all of them.
#include "support/fixtures.h"
#include "support/registroTestes.h"
#include <QTest>
#include <cstdio>
#ifdef QUARRIX_TESTES_GUI
#include <QApplication>
using Aplicacao = QApplication;
#else
#include <QCoreApplication>
using Aplicacao = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    Aplicacao app(argc, argv);
    // No test ever reads or writes the user's own settings.
    SettingsTemporarios settingsDoProcesso;
    QStringList args = app.arguments();
    QStringList resto{args.value(0)};
    std::string escolhida;
    if (args.size() > 1 && testes::Registro().count(args[1].toStdString())) {
        escolhida = args[1].toStdString();
        resto << args.mid(2);
    } else {
        resto << args.mid(1);
    }
    int falhas = 0;
    for (auto& [nome, fabrica] : testes::Registro()) {
        if (!escolhida.empty() && nome != escolhida)
            continue;
        auto objeto = fabrica();
        falhas += QTest::qExec(objeto.get(), resto);
    }
    return falhas == 0 ? 0 : 1;
}
