// The options window's choice of where saved passwords go, on a session without a keyring: the
// window says the passwords stay in the settings file, and saving leaves the choice alone.
#include "connections/clsAmbienteDados.h"
#include "platform/mdlSenhasGuardadas.h"
#include "shell/frmOpcoes.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class tst_frmOpcoesSenhas : public QObject {
    Q_OBJECT
    clsOpcoes opcoes;

private slots:
    void initTestCase() { qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nao/existe"); }

    void SemChaveiroAvisaEMantemEscolha_data()
    {
        QTest::addColumn<QString>("guardado");
        QTest::newRow("ausente") << QString();
        QTest::newRow("ligado") << "1";
    }
    void SemChaveiroAvisaEMantemEscolha()
    {
        QFETCH(QString, guardado);
        SettingsTemporarios s;
        if (!guardado.isNull())
            settings::SaveSetting("Opcoes", senhas::ChaveOpcao, guardado);
        frmOpcoes j(opcoes);
        j.show();
        auto* chk = j.findChild<QCheckBox*>("chkGuardarSenhasChaveiro");
        QVERIFY(chk);
        QCOMPARE(chk->text(), QStringLiteral("Guardar senhas no chaveiro do sistema"));
        QVERIFY(!chk->isEnabled());
        QVERIFY(!chk->isChecked());
        auto* aviso = j.findChild<QLabel*>("lblSenhasNoArquivo");
        QVERIFY(aviso && aviso->isVisible());
        QVERIFY(aviso->text().contains("arquivo de configurações"));
        QTest::mouseClick(j.findChild<QPushButton*>("btnGravar"), Qt::LeftButton);
        QCOMPARE(settings::GetSetting("Opcoes", senhas::ChaveOpcao), guardado);
    }
};
QUARRIX_TESTE(tst_frmOpcoesSenhas);
#include "tst_frmOpcoesSenhas.moc"
