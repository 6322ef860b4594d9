#include "shell/mdlAssociacao.h"
#include "support/registroTestes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace associacao;

namespace {
QString Ler(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}
void Gravar(const QString& arquivo, const QByteArray& texto, bool executavel = false)
{
    QFile f(arquivo);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(texto);
    f.close();
    if (executavel)
        f.setPermissions(f.permissions() | QFile::ExeOwner);
}
// Stands in for the desktop's xdg-mime (not installed here): records its arguments and the
// folders it was told, and ends with the given code.
QString XdgMimeDuble(const QTemporaryDir& tmp, int codigo)
{
    const QString script = tmp.filePath("xdg-mime");
    Gravar(
        script,
        "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/args\"\necho \"$XDG_CONFIG_HOME\" >> \"$(dirname \"$0\")/args\"\n"
        "exit "
            + QByteArray::number(codigo) + "\n",
        true);
    return script;
}
} // namespace

class tst_mdlAssociacao : public QObject {
    Q_OBJECT
private slots:
    void LinhaExec_data()
    {
        QTest::addColumn<QString>("programa");
        QTest::addColumn<QString>("linha");
        QTest::newRow("sem aspas") << "/opt/quarrix/bin/quarrix"
                                   << "/opt/quarrix/bin/quarrix %f";
        QTest::newRow("com branco entre aspas") << "/home/ana/meus programas/quarrix"
                                                << "\"/home/ana/meus programas/quarrix\" %f";
        QTest::newRow("aspas e cifrao escapados") << "/x/a\"b$c"
                                                  << "\"/x/a\\\\\"b\\\\$c\" %f";
        QTest::newRow("porcento dobrado") << "/x/100%/q"
                                          << "/x/100%%/q %f";
    }
    void LinhaExec()
    {
        QFETCH(QString, programa);
        QFETCH(QString, linha);
        QCOMPARE(associacao::LinhaExec(programa), linha);
    }

    void SemXdgMimeGravaEntradaEMimeapps()
    {
        QTemporaryDir tmp;
        const Pastas pastas{tmp.filePath("dados"), tmp.filePath("config"), QString()};
        QVERIFY(AssociarExtensaoMdb("/opt/quarrix/quarrix", pastas));
        const QString desktop = Ler(tmp.filePath("dados/applications/quarrix.desktop"));
        QVERIFY(desktop.startsWith("[Desktop Entry]\n"));
        QVERIFY(desktop.contains("\nType=Application\n"));
        QVERIFY(desktop.contains("\nExec=/opt/quarrix/quarrix %f\n"));
        QVERIFY(desktop.contains("\nMimeType=application/x-msaccess;application/vnd.ms-access;\n"));
        QCOMPARE(Ler(tmp.filePath("config/mimeapps.list")),
                 QStringLiteral("[Default Applications]\napplication/x-msaccess=quarrix.desktop\n"
                                "application/vnd.ms-access=quarrix.desktop\n"));
    }

    void MimeappsExistenteGuardaOResto()
    {
        const QString antes = "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                              "[Default Applications]\ntext/html=firefox.desktop\n"
                              "application/x-msaccess=outro.desktop\n\n"
                              "[Removed Associations]\nimage/png=x.desktop;\n";
        QCOMPARE(MimeAppsComPadrao(antes),
                 QStringLiteral("[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                                "[Default Applications]\ntext/html=firefox.desktop\n"
                                "application/x-msaccess=quarrix.desktop\n"
                                "application/vnd.ms-access=quarrix.desktop\n\n"
                                "[Removed Associations]\nimage/png=x.desktop;\n"));
        // Run twice, it stays the same.
        QCOMPARE(MimeAppsComPadrao(MimeAppsComPadrao(antes)), MimeAppsComPadrao(antes));
        QCOMPARE(MimeAppsComPadrao("[Added Associations]\na/b=c.desktop;\n"),
                 QStringLiteral("[Added Associations]\na/b=c.desktop;\n\n[Default Applications]\n"
                                "application/x-msaccess=quarrix.desktop\napplication/vnd.ms-access=quarrix.desktop\n"));
    }

    void ComXdgMimeUsaAFerramenta_DubleXdgMime()
    {
        QTemporaryDir tmp;
        const Pastas pastas{tmp.filePath("dados"), tmp.filePath("config"), XdgMimeDuble(tmp, 0)};
        QVERIFY(AssociarExtensaoMdb("/opt/quarrix/quarrix", pastas));
        QVERIFY(QFile::exists(tmp.filePath("dados/applications/quarrix.desktop")));
        QCOMPARE(Ler(tmp.filePath("args")),
                 "default quarrix.desktop application/x-msaccess application/vnd.ms-access\n" + tmp.filePath("config")
                     + "\n");
        QVERIFY(!QFile::exists(tmp.filePath("config/mimeapps.list")));
    }

    void XdgMimeFalhandoCaiNoArquivo_DubleXdgMime()
    {
        QTemporaryDir tmp;
        const Pastas pastas{tmp.filePath("dados"), tmp.filePath("config"), XdgMimeDuble(tmp, 3)};
        QVERIFY(AssociarExtensaoMdb("/opt/quarrix/quarrix", pastas));
        QVERIFY(Ler(tmp.filePath("config/mimeapps.list")).contains("application/x-msaccess=quarrix.desktop\n"));
    }

    void PastaImpossivelDaFalsoSemErro()
    {
        QTemporaryDir tmp;
        Gravar(tmp.filePath("arquivo"), "x");
        QVERIFY(!AssociarExtensaoMdb("/opt/q", {tmp.filePath("arquivo/dados"), tmp.filePath("config"), QString()}));
        QVERIFY(!AssociarExtensaoMdb("/opt/q", {tmp.filePath("dados"), tmp.filePath("arquivo/config"), QString()}));
    }
};
QUARRIX_TESTE(tst_mdlAssociacao);
#include "tst_mdlAssociacao.moc"
