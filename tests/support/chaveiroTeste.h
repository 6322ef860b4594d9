#pragma once
// A real keyring for a test process: a private session bus and GNOME Keyring, unlocked with a
// throwaway password, with every file and socket in a temporary home (never the user's keyring).
// Start it before the process first touches the keyring; it ends with the object (the keyring daemon
// leaves with its bus). `motivo` says why it could not start, for QSKIP.
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlSenhasGuardadas.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>

class ChaveiroTeste {
public:
    QString motivo;

    bool Iniciar()
    {
        const QString dbus = QStandardPaths::findExecutable("dbus-daemon");
        const QString gk = QStandardPaths::findExecutable("gnome-keyring-daemon");
        if (dbus.isEmpty() || gk.isEmpty())
            return Falhar("dbus-daemon or gnome-keyring-daemon is not installed (scripts/setup installs them)");
        for (const char* v : {"XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
            QDir().mkpath(casa.path() + '/' + v);
            qputenv(v, casa.path().toUtf8() + '/' + v);
        }
        qputenv("HOME", casa.path().toUtf8());
        QFile::setPermissions(casa.path() + "/XDG_RUNTIME_DIR", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcess barramento;
        barramento.start(dbus, {"--session", "--fork", "--print-address=1", "--print-pid=1"});
        if (!barramento.waitForFinished(10000) || barramento.exitCode() != 0)
            return Falhar("could not start a session bus: " + barramento.readAllStandardError());
        const QList<QByteArray> linhas = barramento.readAllStandardOutput().trimmed().split('\n');
        pidBarramento = linhas.value(1).trimmed().toLongLong();
        qputenv("DBUS_SESSION_BUS_ADDRESS", linhas.value(0).trimmed());
        QProcess chaveiro;
        chaveiro.start(gk, {"--unlock", "--components=secrets"});
        chaveiro.write("senha-descartavel\n");
        chaveiro.closeWriteChannel();
        if (!chaveiro.waitForFinished(10000) || chaveiro.exitCode() != 0)
            return Falhar("gnome-keyring-daemon did not start: " + chaveiro.readAllStandardError());
        if (!senhas::ChaveiroResponde())
            return Falhar("the keyring started but does not answer");
        return true;
    }
    ~ChaveiroTeste()
    {
        senhas::EncerrarChaveiro();
        if (pidBarramento > 0)
            ::kill(pid_t(pidBarramento), SIGTERM);
    }

private:
    bool Falhar(const QString& texto)
    {
        motivo = texto;
        return false;
    }
    QTemporaryDir casa;
    qint64 pidBarramento = 0;
};

// Whether the settings file gives the password back: as bytes, or any value as read or unscrambled.
inline bool ArquivoDeAjustesRevela(const QString& senha)
{
    QFile f(settings::Arquivo());
    if (!f.open(QIODevice::ReadOnly))
        return false;
    if (f.readAll().contains(senha.toUtf8()))
        return true;
    QSettings s(settings::Arquivo(), QSettings::IniFormat);
    for (const QString& k : s.allKeys())
        if (Desembaralhar(s.value(k).toString()).contains(senha) || s.value(k).toString().contains(senha))
            return true;
    return false;
}
