#include "shell/frmWebBrowser.h"
#include "shell/uctWebBrowser.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class tst_frmWebBrowser : public QObject {
    Q_OBJECT
private slots:
    void Endereco_data()
    {
        QTest::addColumn<int>("guia");
        QTest::addColumn<QString>("fixo");
        QTest::addColumn<QString>("endereco");
        QTest::newRow("menu 4 pagina inicial") << 4 << ""
                                               << "https://www.brisquell.com.br/quarrix";
        QTest::newRow("5 downloads") << 5 << ""
                                     << "https://www.brisquell.com.br/quarrix/downloads";
        QTest::newRow("6 forum") << 6 << ""
                                 << "https://www.brisquell.com.br/forum";
        QTest::newRow("outro valor pagina inicial") << 0 << ""
                                                    << "https://www.brisquell.com.br/quarrix";
        QTest::newRow("fixo vence a guia") << 5 << "http://exemplo.org/x"
                                           << "http://exemplo.org/x";
    }
    void Endereco()
    {
        QFETCH(int, guia);
        QFETCH(QString, fixo);
        QFETCH(QString, endereco);
        clsPromptRoteiro prompt;
        frmWebBrowser j(prompt);
        QSignalSpy completo(&j, &frmWebBrowser::Complete);
        j.CarregForm(guia, fixo);
        QVERIFY(j.isVisible());
        QCOMPARE(j.windowTitle(), QStringLiteral("Web Browser"));
        QCOMPARE(j.Navegador()->Url(), endereco);
        QCOMPARE(j.findChild<QLineEdit*>("txtEndereco")->text(), endereco);
        QCOMPARE(completo.size(), 1);
    }

    void TituloEBotaoDoNavegador()
    {
        clsPromptRoteiro prompt;
        frmWebBrowser j(prompt);
        j.CarregForm(4, QString());
        j.Navegador()->DefinirTitulo("Quarrix - Início");
        QCOMPARE(j.windowTitle(), QStringLiteral("Quarrix - Início [Quarrix WebBrowser]"));
        QTest::mouseClick(j.findChild<QPushButton*>("btnAbrirNavegador"), Qt::LeftButton);
        QCOMPARE(prompt.enderecosAbertos, QStringList{"https://www.brisquell.com.br/quarrix"});
        j.resize(640, 240);
        CapturarJanela(&j, "frmWebBrowser");
    }

    void NaAreaMdiDaJanelaPrincipal()
    {
        QMainWindow principal;
        auto* area = new QMdiArea;
        principal.setCentralWidget(area);
        principal.resize(1000, 700);
        principal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principal));
        clsPromptRoteiro prompt;
        auto* a = new frmWebBrowser(prompt);
        auto* b = new frmWebBrowser(prompt);
        QMdiSubWindow* subA = area->addSubWindow(a);
        area->addSubWindow(b);
        a->CarregForm(4, QString());
        b->CarregForm(6, QString());
        QCOMPARE(area->subWindowList().size(), 2);
        QCOMPARE(subA->pos(), QPoint(0, 0));
        QCOMPARE(subA->width(), qRound(area->width() * 0.99));
        QCOMPARE(subA->height(), qRound(principal.height() * 0.7));
        QVERIFY(a->Navegador()->Url() != b->Navegador()->Url());
        a->Navegador()->DefinirTitulo("Página");
        QCOMPARE(subA->windowTitle(), QStringLiteral("Página [Quarrix WebBrowser]"));
    }
};
QUARRIX_TESTE(tst_frmWebBrowser);
#include "tst_frmWebBrowser.moc"
