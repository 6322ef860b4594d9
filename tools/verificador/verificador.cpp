// Provider checker: receives "#title#provider#connection string#", opens the connection and, when
// the provider works, records "4" for it under "VerificaDlls" in the user's settings.
#include "connections/clsData.h"
#include "platform/clsSettings.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args[1] == u"--help") {
        std::fputs("uso: quarrix-verificador \"#titulo#provedor#string de conexao#\"\n"
                   "Abre a conexao e, quando o provedor funciona, grava \"4\" para ele na secao VerificaDlls.\n",
                   stderr);
        return 2;
    }
    QString texto = args[1];
    if (texto.startsWith(u'#'))
        texto.remove(0, 1);
    if (texto.endsWith(u'#'))
        texto.chop(1);
    const QString provedor = texto.section(u'#', 1, 1);
    const QString connStr = texto.section(u'#', 2);
    if (provedor.isEmpty())
        return 2;
    clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
    clsData dados(ambiente);
    if (!dados.OpenConnection(connStr, false, false)) {
        std::fprintf(stderr, "%s\n", qPrintable(dados.ErrMsg()));
        return 1;
    }
    dados.CloseConnection();
    settings::SaveSetting(QStringLiteral("VerificaDlls"), provedor, QStringLiteral("4"));
    return 0;
}
