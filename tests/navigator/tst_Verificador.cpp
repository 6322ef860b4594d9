// The provider checker gets its argument, password included, through its standard input: it never
// shows in the process list, and the checker's own error output never holds it.
#include "connections/clsData.h"
#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlCatalogo.h"
#include "platform/clsSettings.h"
#include "support/clsPromptRoteiro.h"
#include "support/fixtures.h"
#include "support/portaLocal.h"
#include "support/registroTestes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <optional>

namespace {

const QString Senha = QStringLiteral("segredo-Xq9;Zz");

// Looks at the checker while it runs (it waits on a server that never answers), then ends it.
class PromptEspiao : public clsPromptRoteiro {
public:
    bool visto = false;
    QByteArray linhaComando, ambiente;
    void Espiar()
    {
        for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
            QFile stat("/proc/" + pid + "/stat");
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray s = stat.readAll();
            const QList<QByteArray> campos = s.mid(s.lastIndexOf(')') + 2).split(' ');
            if (!s.contains("(quarrix-verific") || campos.value(1).toInt() != ::getpid())
                continue;
            QFile cmd("/proc/" + pid + "/cmdline"), env("/proc/" + pid + "/environ");
            if (!cmd.open(QIODevice::ReadOnly) || !env.open(QIODevice::ReadOnly))
                continue;
            linhaComando = cmd.readAll();
            ambiente = env.readAll();
            visto = !linhaComando.isEmpty();
            ::kill(pid.toInt(), SIGKILL);
        }
    }
};

QString Verificador() { return QStringLiteral(QUARRIX_BIN_DIR "/quarrix-verificador"); }

} // namespace

class tst_Verificador : public QObject {
    Q_OBJECT
private slots:
    void SenhaForaDaListaDeProcessos()
    {
        SettingsTemporarios settings;
        PortaLocal muda(true);
        PromptEspiao prompt;
        clsAmbienteNavegador ambiente{prompt};
        const QString cs = MontarConnStrSql("127.0.0.1," + QString::number(muda.numero), "master", "sa", Senha, false);
        std::optional<bool> aceito;
        QObject contexto;
        ConfirmarAcesso(ambiente, QStringLiteral("SQLOLEDB.1"), cs, &contexto, [&](bool ok) { aceito = ok; });
        QVERIFY(QTest::qWaitFor([&] {
            prompt.Espiar();
            return prompt.visto;
        }));
        QVERIFY(QTest::qWaitFor([&] { return aceito.has_value(); }, 30000));
        QVERIFY(!*aceito);
        QVERIFY2(!linhaTem(prompt.linhaComando), prompt.linhaComando.constData());
        QVERIFY(!linhaTem(prompt.ambiente));
    }

    void ArgumentoPelaEntrada()
    {
        SettingsTemporarios settings;
        const QString arquivo = settings.pasta.filePath("a;b.db");
        ErroDados e;
        QVERIFY(CriarBancoArquivo(arquivo, e));
        QProcess p;
        p.start(Verificador(), {"-"});
        p.write(("#Quarrix#Microsoft.Jet.OLEDB.4.0#" + MontarConnStrAccess(arquivo, "Admin", Senha) + "#\n").toUtf8());
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(settings::GetSetting("VerificaDlls", "Microsoft.Jet.OLEDB.4.0"), QStringLiteral("4"));
    }

    void ErroSemSenha_data()
    {
        QTest::addColumn<QString>("connStr");
        PortaLocal fechada(false);
        QTest::newRow("servidor")
            << MontarConnStrSql("127.0.0.1," + QString::number(fechada.numero), "m", "sa", Senha, false);
        QTest::newRow("odbc") << "Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=127.0.0.1;Port="
                                     + QString::number(fechada.numero) + ";Uid=u;Pwd={" + Senha + "}";
        QTest::newRow("arquivo") << MontarConnStrAccess("/nao/existe/" + Senha + ".db", "Admin", Senha);
    }
    void ErroSemSenha()
    {
        QFETCH(QString, connStr);
        SettingsTemporarios settings;
        QProcess p;
        p.start(Verificador(), {"-"});
        p.write(("#Quarrix#X#" + connStr + "#").toUtf8());
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        const QByteArray saida = p.readAllStandardError() + p.readAllStandardOutput();
        QVERIFY(!saida.isEmpty());
        QVERIFY2(!linhaTem(saida), saida.constData());
        QVERIFY(settings::GetSetting("VerificaDlls", "X").isEmpty());
    }

private:
    static bool linhaTem(const QByteArray& texto) { return texto.contains("segredo-Xq9"); }
};
QUARRIX_TESTE(tst_Verificador);
#include "tst_Verificador.moc"
