#include "shell/frmSobre.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class tst_frmSobre : public QObject {
    Q_OBJECT
private slots:
    void Textos()
    {
        clsPromptRoteiro prompt;
        frmSobre j(prompt);
        QCOMPARE(j.windowTitle(), QStringLiteral("Sobre o Sistema"));
        QCOMPARE(j.findChild<QLabel*>("lblTitulo")->text(), QStringLiteral("Quarrix v1.26f"));
        QCOMPARE(j.findChild<QLabel*>("lblRevisao")->text(), QStringLiteral("revisão: 0"));
        for (const char* nome : {"lblFreeware", "lblCriador", "lblEmail", "lblUrl", "Picture1"})
            QVERIFY2(j.findChild<QLabel*>(nome), nome);
        QVERIFY(!j.findChild<QLabel*>("Picture1")->pixmap().isNull());
        auto* fra = j.findChild<QGroupBox*>("fraLicensa");
        QVERIFY(fra && fra->isAncestorOf(j.findChild<QLabel*>("lblLicensa")));
        QCOMPARE(j.findChild<QPushButton*>("btnOk")->text(), QStringLiteral("&Ok"));
        j.show();
        CapturarJanela(&j, "frmSobre");
    }

    void EmailEUrlAbremNoSistema()
    {
        clsPromptRoteiro prompt;
        frmSobre j(prompt);
        j.show();
        QTest::mouseClick(j.findChild<QLabel*>("lblEmail"), Qt::LeftButton);
        QTest::mouseClick(j.findChild<QLabel*>("lblUrl"), Qt::LeftButton);
        QCOMPARE(prompt.enderecosAbertos,
                 (QStringList{"mailto:quarrix@brisquell.com.br", "https://www.brisquell.com.br/quarrix"}));
        QTest::mouseClick(j.findChild<QPushButton*>("btnOk"), Qt::LeftButton);
        QVERIFY(!j.isVisible());
    }
};
QUARRIX_TESTE(tst_frmSobre);
#include "tst_frmSobre.moc"
