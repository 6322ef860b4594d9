#include "mdlAssociacao.h"

#include "platform/mdlFuncoes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSaveFile>
#include <QStandardPaths>

namespace associacao {

namespace {
bool GravarTexto(const QString& arquivo, const QString& texto)
{
    QSaveFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(texto.toUtf8());
    return f.commit();
}

// An Exec argument quoted by the desktop entry rules: inside double quotes, `"`, `` ` ``, `$` and
// `\` get a backslash; then, as for every string value, each backslash is written twice.
QString ArgumentoExec(const QString& arg)
{
    static const QString reservados = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString r = arg;
    r.replace(u'%', QStringLiteral("%%"));
    bool precisa = r.isEmpty();
    for (QChar c : r)
        precisa = precisa || reservados.contains(c);
    if (!precisa)
        return r;
    QString q;
    for (QChar c : r) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            q += u'\\';
        q += c;
    }
    q = u'"' + q + u'"';
    q.replace(u'\\', QStringLiteral("\\\\"));
    q.replace(u'\n', QStringLiteral("\\n"));
    q.replace(u'\t', QStringLiteral("\\t"));
    return q;
}
} // namespace

Pastas PastasDoUsuario()
{
    return {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
            QStandardPaths::findExecutable(QStringLiteral("xdg-mime"))};
}

QString LinhaExec(const QString& programa) { return ArgumentoExec(programa) + QStringLiteral(" %f"); }

QString ConteudoDesktop(const QString& programa)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Quarrix\n"
                          "Comment=Base de dados Access\n"
                          "Exec=")
           + LinhaExec(programa)
           + QStringLiteral("\n"
                            "Terminal=false\n"
                            "NoDisplay=true\n"
                            "MimeType=")
           + TiposMdb.join(u';') + QStringLiteral(";\n");
}

QString MimeAppsComPadrao(const QString& conteudo)
{
    static const QString secao = QStringLiteral("[Default Applications]");
    QStringList linhas = conteudo.split(u'\n');
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    qsizetype inicio = -1;
    for (qsizetype i = 0; i < linhas.size(); ++i) {
        if (linhas[i].trimmed() == secao) {
            inicio = i;
            break;
        }
    }
    if (inicio < 0) {
        if (!linhas.isEmpty() && !linhas.last().trimmed().isEmpty())
            linhas << QString();
        linhas << secao;
        inicio = linhas.size() - 1;
    }
    qsizetype fim = inicio + 1;
    while (fim < linhas.size() && !linhas[fim].trimmed().startsWith(u'['))
        ++fim;
    // The section's end, before the blank lines that separate it from the next one.
    qsizetype insercao = fim;
    while (insercao > inicio + 1 && linhas[insercao - 1].trimmed().isEmpty())
        --insercao;
    for (const QString& tipo : TiposMdb) {
        const QString linha = tipo + u'=' + ArquivoDesktop;
        bool trocou = false;
        for (qsizetype i = inicio + 1; i < insercao; ++i) {
            if (linhas[i].section(u'=', 0, 0).trimmed() == tipo) {
                linhas[i] = linha;
                trocou = true;
            }
        }
        if (!trocou)
            linhas.insert(insercao++, linha);
    }
    return linhas.join(u'\n') + u'\n';
}

bool AssociarExtensaoMdb(const QString& programa, const Pastas& pastas)
{
    if (programa.isEmpty() || pastas.dados.isEmpty())
        return false;
    const QString aplicativos = pastas.dados + QStringLiteral("/applications");
    if (!funcoes::CriarPasta(aplicativos)
        || !GravarTexto(aplicativos + u'/' + ArquivoDesktop, ConteudoDesktop(programa)))
        return false;

    if (!pastas.xdgMime.isEmpty()) {
        QProcess p;
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert(QStringLiteral("XDG_DATA_HOME"), pastas.dados);
        if (!pastas.config.isEmpty())
            amb.insert(QStringLiteral("XDG_CONFIG_HOME"), pastas.config);
        p.setProcessEnvironment(amb);
        p.start(pastas.xdgMime, QStringList{QStringLiteral("default"), ArquivoDesktop} + TiposMdb);
        if (p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return true;
        // The tool is there but failed: the file below does the same job.
    }
    if (pastas.config.isEmpty() || !funcoes::CriarPasta(pastas.config))
        return false;
    const QString lista = pastas.config + QStringLiteral("/mimeapps.list");
    QString atual;
    QFile f(lista);
    if (f.exists()) {
        if (!f.open(QIODevice::ReadOnly))
            return false;
        atual = QString::fromUtf8(f.readAll());
        f.close();
    }
    return GravarTexto(lista, MimeAppsComPadrao(atual));
}

} // namespace associacao
