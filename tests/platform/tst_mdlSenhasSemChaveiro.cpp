#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlSenhasGuardadas.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QElapsedTimer>
#include <QTest>

namespace {
const QString Secao = QStringLiteral("AutoLogin");
}

// Without a session bus: the keyring does not answer, at once, and passwords stay scrambled in the
// settings file, readable as before.
class tst_mdlSenhasSemChaveiro : public QObject {
    Q_OBJECT
private slots:
    void PadraoDoArquivo()
    {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nao/existe");
        SettingsTemporarios st;
        QElapsedTimer relogio;
        relogio.start();
        QVERIFY(!senhas::ChaveiroResponde());
        senhas::Gravar(Secao, "SqlPass:SRV", "пароль");
        QVERIFY2(relogio.elapsed() < 5000, qPrintable(QString::number(relogio.elapsed())));
        QCOMPARE(settings::GetSetting(Secao, "SqlPass:SRV"), Embaralhar("пароль"));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:SRV"), QStringLiteral("пароль"));
        QVERIFY(!senhas::Migrar(Secao, "SqlPass:SRV"));
    }
};
QUARRIX_TESTE(tst_mdlSenhasSemChaveiro);
#include "tst_mdlSenhasSemChaveiro.moc"
