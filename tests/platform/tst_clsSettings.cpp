#include "platform/clsSettings.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QFile>
#include <QTest>

class tst_clsSettings : public QObject {
    Q_OBJECT
private slots:
    void ChaveAusenteLeOPadrao()
    {
        SettingsTemporarios s;
        QCOMPARE(settings::GetSetting("Opcoes", "TimeOut", "0"), QStringLiteral("0"));
        QVERIFY(settings::GetSetting("Opcoes", "TimeOut").isNull());
    }
    void GravaLeEApagaTexto()
    {
        SettingsTemporarios s;
        settings::SaveSetting("Servidores", "001Path", "/tmp/a b.db");
        QCOMPARE(settings::GetSetting("Servidores", "001Path"), QStringLiteral("/tmp/a b.db"));
        settings::DeleteSetting("Servidores", "001Path");
        QCOMPARE(settings::GetSetting("Servidores", "001Path", "x"), QStringLiteral("x"));
    }
    void ChavesComBarrasFicamInteiras()
    {
        // A domain login (DOMAIN\user) or a path-like name must stay one key of its section.
        SettingsTemporarios s;
        settings::SaveSetting("AutoLogin", "SqlUser:DOM\\ana", "ana");
        settings::SaveSetting("AutoLogin", "SqlUser:a/b%c", "b");
        QCOMPARE(settings::GetSetting("AutoLogin", "SqlUser:DOM\\ana"), QStringLiteral("ana"));
        QCOMPARE(settings::GetSetting("AutoLogin", "SqlUser:a/b%c"), QStringLiteral("b"));
        QStringList chaves = settings::Chaves("AutoLogin");
        chaves.sort();
        QCOMPARE(chaves, (QStringList{"SqlUser:DOM\\ana", "SqlUser:a/b%c"}));
    }
    void ValoresComCaracteresEspeciaisSobrevivem()
    {
        SettingsTemporarios s;
        const QString valor = QStringLiteral("Provider=SQLOLEDB.1;Password=\"a;b=c\";ç ã\n#x");
        settings::SaveSetting("Servidores", "001ConnStr", valor);
        QCOMPARE(settings::GetSetting("Servidores", "001ConnStr"), valor);
    }
    void ArquivoSoDoUsuario()
    {
        SettingsTemporarios s;
        settings::SaveSetting("Opcoes", "Focalizar", "1");
        settings::SaveSetting("Opcoes", "Focalizar", "0");
        const auto p = QFile::permissions(settings::Arquivo());
        QVERIFY(p.testFlag(QFile::ReadOwner) && p.testFlag(QFile::WriteOwner));
        QVERIFY(!(p & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));
    }
    void ApagarSecaoInteira()
    {
        SettingsTemporarios s;
        settings::SaveSetting("Servidores", "Qtde", "2");
        settings::SaveSetting("Servidores", "001Tipo", "A");
        settings::SaveSetting("Opcoes", "Focalizar", "1");
        settings::DeleteSection("Servidores");
        QVERIFY(settings::Chaves("Servidores").isEmpty());
        QCOMPARE(settings::GetSetting("Opcoes", "Focalizar"), QStringLiteral("1"));
    }
};
QUARRIX_TESTE(tst_clsSettings);
#include "tst_clsSettings.moc"
