// Provider checker: receives "#title#provider#connection string#" (on its standard input when the
// argument is "-", which is how Quarrix passes it: the string holds the password), opens the
// connection and, when the provider works, records "4" for it under "VerificaDlls" in the user's
// settings. What it prints never holds a password.
#include "connections/clsData.h"
#include "platform/clsConnStr.h"
#include "platform/clsSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace {

// The message with every password of the connection string replaced by "***".
QString SemSenhas(QString texto, const QString& connStr)
{
    QList<QPair<QString, QString>> pares;
    clsConnStr::LerPares(connStr, pares);
    for (const auto& [chave, valor] : pares) {
        const QString k = chave.trimmed();
        if (!valor.isEmpty()
            && (k.endsWith(u"password", Qt::CaseInsensitive) || k.endsWith(u"pwd", Qt::CaseInsensitive)))
            texto.replace(valor, QStringLiteral("***"));
    }
    return texto;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args[1] == u"--help") {
        std::fputs("uso: quarrix-verificador -   (le \"#titulo#provedor#string de conexao#\" da entrada padrao)\n"
                   "     quarrix-verificador \"#titulo#provedor#string de conexao#\"\n"
                   "Abre a conexao e, quando o provedor funciona, grava \"4\" para ele na secao VerificaDlls.\n",
                   stderr);
        return 2;
    }
    QString texto = args[1];
    if (texto == u"-") {
        QFile entrada;
        if (!entrada.open(stdin, QIODevice::ReadOnly))
            return 2;
        texto = QString::fromUtf8(entrada.readAll());
        while (texto.endsWith(u'\n') || texto.endsWith(u'\r'))
            texto.chop(1);
    }
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
        std::fprintf(stderr, "%s\n", qPrintable(SemSenhas(dados.ErrMsg(), connStr)));
        return 1;
    }
    dados.CloseConnection();
    settings::SaveSetting(QStringLiteral("VerificaDlls"), provedor, QStringLiteral("4"));
    return 0;
}
