// Saved passwords in a real keyring: a private session bus and GNOME Keyring, unlocked with a
// throwaway password, in a temporary home. Without them these tests skip (the fallback to the
// settings file without any session bus: tst_mdlSenhasSemChaveiro).
#include "platform/clsServidoresRegistrados.h"
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlSenhasGuardadas.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

namespace {

const QString Secao = QStringLiteral("AutoLogin");

// The settings file as bytes: no saved password may be read back from it.
bool ArquivoRevela(const QString& senha)
{
    QFile f(settings::Arquivo());
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QSettings s(settings::Arquivo(), QSettings::IniFormat);
    for (const QString& k : s.allKeys())
        if (Desembaralhar(s.value(k).toString()).contains(senha) || s.value(k).toString().contains(senha))
            return true;
    return f.readAll().contains(senha.toUtf8());
}

} // namespace

class tst_mdlSenhasGuardadas : public QObject {
    Q_OBJECT
    QTemporaryDir casa;
    qint64 pidBarramento = 0;
    QString motivo;

    bool IniciarChaveiro()
    {
        const QString dbus = QStandardPaths::findExecutable("dbus-daemon");
        const QString gk = QStandardPaths::findExecutable("gnome-keyring-daemon");
        if (dbus.isEmpty() || gk.isEmpty()) {
            motivo = "dbus-daemon or gnome-keyring-daemon is not installed (scripts/setup installs them)";
            return false;
        }
        // The keyring's files and sockets live in the temporary home, never the user's.
        for (const char* v : {"HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            qputenv(v, casa.path().toUtf8() + '/' + v);
        for (const char* v : {"XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            QDir().mkpath(casa.path() + '/' + v);
        QFile::setPermissions(casa.path() + "/XDG_RUNTIME_DIR", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcess barramento;
        barramento.start(dbus, {"--session", "--fork", "--print-address=1", "--print-pid=1"});
        if (!barramento.waitForFinished(10000) || barramento.exitCode() != 0) {
            motivo = "could not start a session bus: " + barramento.readAllStandardError();
            return false;
        }
        const QList<QByteArray> linhas = barramento.readAllStandardOutput().trimmed().split('\n');
        pidBarramento = linhas.value(1).trimmed().toLongLong();
        qputenv("DBUS_SESSION_BUS_ADDRESS", linhas.value(0).trimmed());
        QProcess chaveiro;
        chaveiro.start(gk, {"--unlock", "--components=secrets"});
        chaveiro.write("senha-descartavel\n");
        chaveiro.closeWriteChannel();
        if (!chaveiro.waitForFinished(10000) || chaveiro.exitCode() != 0) {
            motivo = "gnome-keyring-daemon did not start: " + chaveiro.readAllStandardError();
            return false;
        }
        if (!senhas::ChaveiroResponde()) {
            motivo = "the keyring started but does not answer";
            return false;
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        if (!IniciarChaveiro())
            qWarning("%s", qPrintable(motivo));
    }
    void cleanupTestCase()
    {
        // The keyring daemon leaves with the bus it lives on.
        if (pidBarramento > 0)
            ::kill(pid_t(pidBarramento), SIGTERM);
    }
    void init()
    {
        if (!motivo.isEmpty())
            QSKIP(qPrintable(motivo));
    }

    void GravarLerEApagar_data()
    {
        QTest::addColumn<QString>("senha");
        QTest::newRow("ascii") << "s3gr3d0-Chave";
        QTest::newRow("unicode e sintaxe") << "пароль;Pwd={x}";
    }
    void GravarLerEApagar()
    {
        QFETCH(QString, senha);
        SettingsTemporarios st;
        senhas::Gravar(Secao, "SqlPass:SRV01", senha);
        QCOMPARE(settings::GetSetting(Secao, "SqlPass:SRV01"), Embaralhar(senhas::Marcador));
        QVERIFY(senhas::NoChaveiro(Secao, "SqlPass:SRV01"));
        QVERIFY(!ArquivoRevela(senha));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:SRV01"), senha);
        // The design's "a password is saved" test still holds.
        QVERIFY(Desembaralhar(settings::GetSetting(Secao, "SqlPass:SRV01")) != u"*-*-*-*");
        senhas::Apagar(Secao, "SqlPass:SRV01");
        QVERIFY(settings::GetSetting(Secao, "SqlPass:SRV01").isEmpty());
        // The keyring entry went too: the marker put back finds nothing.
        settings::SaveSetting(Secao, "SqlPass:SRV01", Embaralhar(senhas::Marcador));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:SRV01", "nada"), QStringLiteral("nada"));
    }

    void ValorAntigoMigra()
    {
        SettingsTemporarios st;
        const QString senha = QStringLiteral("antiga-Ação");
        settings::SaveSetting(Secao, "SqlPass:SRV02", Embaralhar(senha));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:SRV02"), senha);
        QVERIFY(senhas::Migrar(Secao, "SqlPass:SRV02"));
        QVERIFY(senhas::NoChaveiro(Secao, "SqlPass:SRV02"));
        QVERIFY(!ArquivoRevela(senha));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:SRV02"), senha);
        QVERIFY(!senhas::Migrar(Secao, "SqlPass:SRV02")); // once
        senhas::Apagar(Secao, "SqlPass:SRV02");
    }

    // Not secrets: no password and the "none saved" convention stay in the file as before.
    void NaoSegredosFicamNoArquivo()
    {
        SettingsTemporarios st;
        senhas::Gravar(Secao, "SqlPass:A", "*-*-*-*");
        QCOMPARE(settings::GetSetting(Secao, "SqlPass:A"), Embaralhar("*-*-*-*"));
        senhas::Gravar(Secao, "SqlPass:B", "");
        QCOMPARE(senhas::Ler(Secao, "SqlPass:B", "padrao"), QString());
        QCOMPARE(senhas::Ler(Secao, "SqlPass:ausente", "padrao"), QStringLiteral("padrao"));
        QVERIFY(!senhas::Migrar(Secao, "SqlPass:A"));
    }

    void OpcaoDesligada()
    {
        SettingsTemporarios st;
        senhas::Gravar(Secao, "SqlPass:C", "no-chaveiro");
        settings::SaveSetting("Opcoes", senhas::ChaveOpcao, "0");
        QVERIFY(!senhas::UsarChaveiro());
        senhas::Gravar(Secao, "SqlPass:C", "no-arquivo");
        QCOMPARE(settings::GetSetting(Secao, "SqlPass:C"), Embaralhar("no-arquivo"));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:C"), QStringLiteral("no-arquivo"));
        QVERIFY(!senhas::Migrar(Secao, "SqlPass:C"));
        // The entry of the earlier save went when the file took the password back.
        settings::SaveSetting(Secao, "SqlPass:C", Embaralhar(senhas::Marcador));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:C", "nada"), QStringLiteral("nada"));
    }

    // A registered server keeps its password in the keyring; removing the server removes it.
    void ServidorRegistradoNoChaveiro()
    {
        SettingsTemporarios st;
        ::ServidorRegistrado s;
        s.nome = "SRV9";
        s.login = "sa";
        s.senha = "reg-Segredo";
        servidoresregistrados::Registrar(s);
        QVERIFY(!ArquivoRevela(s.senha));
        QCOMPARE(servidoresregistrados::Servidores().value(0).senha, s.senha);
        QVERIFY(servidoresregistrados::Remover("SRV9"));
        settings::SaveSetting("Servidores", "Senha001", Embaralhar(senhas::Marcador));
        QVERIFY(senhas::Ler("Servidores", "Senha001").isEmpty());
    }
};
QUARRIX_TESTE(tst_mdlSenhasGuardadas);

#include "tst_mdlSenhasGuardadas.moc"
