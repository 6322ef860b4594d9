#include "gui/PromptJanelas.h"
#include "shell/frmProgress.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QApplication>
#include <QProgressBar>
#include <QTest>

class tst_frmProgress : public QObject {
    Q_OBJECT
private slots:
    void StartMoveEClose()
    {
        clsPromptRoteiro prompt;
        QWidget chamador;
        chamador.show();
        frmProgress j(prompt);
        j.ProgressoStart(3, "Carregando tabelas", &chamador);
        auto* barra = j.findChild<QProgressBar*>("pgbProgress");
        QVERIFY(j.isVisible());
        QCOMPARE(j.windowTitle(), QStringLiteral("Carregando tabelas"));
        QCOMPARE(j.parentWidget(), &chamador);
        QVERIFY(j.isWindow());
        QCOMPARE(barra->maximum(), 3);
        QCOMPARE(barra->value(), 0);
        QVERIFY(j.ProgressoMove());
        QVERIFY(j.ProgressoMove());
        QCOMPARE(barra->value(), 2);
        QVERIFY(prompt.eventosProcessados >= 2);
        CapturarJanela(&j, "frmProgress");
        j.ProgressoClose();
        QVERIFY(!j.isVisible());
        QVERIFY(prompt.mensagens.isEmpty());
    }

    void EscPerguntaSeAborta_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<bool>("continua");
        QTest::newRow("sim aborta") << int(vb::Yes) << false;
        QTest::newRow("nao continua") << int(vb::No) << true;
    }
    void EscPerguntaSeAborta()
    {
        QFETCH(int, resposta);
        QFETCH(bool, continua);
        clsPromptRoteiro prompt;
        prompt.respostas.enqueue(resposta);
        frmProgress j(prompt);
        j.ProgressoStart(10, "Aguarde...");
        QVERIFY(j.ProgressoMove());
        QTest::keyClick(&j, Qt::Key_Escape);
        QCOMPARE(prompt.mensagens.size(), 1);
        QCOMPARE(prompt.ultima().texto, QStringLiteral("Deseja Abortar Esta Operação ?"));
        QCOMPARE(prompt.ultima().botoes(), int(vb::YesNo));
        QCOMPARE(prompt.ultima().icone(), int(vb::Question));
        QVERIFY(prompt.ultima().titulo.isEmpty());
        QVERIFY(j.isVisible()); // the window stays until the work ends
        QCOMPARE(j.Continuar, continua);
        QCOMPARE(j.ProgressoMove(), continua);
        // A new start lets the next operation run.
        j.ProgressoStart(5, "Outra");
        QVERIFY(j.ProgressoMove());
    }

    void FecharPelaMolduraTambemPergunta()
    {
        clsPromptRoteiro prompt;
        prompt.respostas.enqueue(vb::Yes);
        frmProgress j(prompt);
        j.ProgressoStart(2, "Aguarde...");
        j.close();
        QCOMPARE(prompt.textos(), QStringList{"Deseja Abortar Esta Operação ?"});
        QVERIFY(!j.ProgressoMove());
    }

    void PromptDasJanelasUsaAJanelaDeProgresso()
    {
        PromptJanelas prompt;
        prompt.ProgressoStart(4, "Gerando script");
        frmProgress* j = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<frmProgress*>(w); p && p->isVisible())
                j = p;
        QVERIFY(j);
        QCOMPARE(j->windowTitle(), QStringLiteral("Gerando script"));
        QVERIFY(prompt.ProgressoMove());
        QCOMPARE(j->findChild<QProgressBar*>("pgbProgress")->value(), 1);
        j->Continuar = false; // as after Esc and Yes
        QVERIFY(!prompt.ProgressoMove());
        prompt.ProgressoClose();
        QVERIFY(!j->isVisible());
    }
};
QUARRIX_TESTE(tst_frmProgress);
#include "tst_frmProgress.moc"
