#include "gui/PromptJanelas.h"
#include "shell/frmProgress.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include "platform/clsProgresso.h"

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <atomic>

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

    // Work on a worker thread: the window follows its stage and steps without modality, and
    // "Parar" asks before it asks the work to stop.
    void AcompanhaTrabalhoNaLinha_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<bool>("parado");
        QTest::newRow("sim para") << int(vb::Yes) << true;
        QTest::newRow("nao segue") << int(vb::No) << false;
    }
    void AcompanhaTrabalhoNaLinha()
    {
        QFETCH(int, resposta);
        QFETCH(bool, parado);
        clsPromptRoteiro prompt;
        prompt.respostas.enqueue(resposta);
        auto progresso = std::make_shared<clsProgresso>();
        progresso->Iniciar(4, "Tables Scripts");
        progresso->Avancar();
        frmProgress j(prompt);
        j.Acompanhar(progresso);
        QVERIFY(j.isVisible());
        QVERIFY(!j.isModal());
        QCOMPARE(j.windowTitle(), QStringLiteral("Tables Scripts"));
        auto* barra = j.findChild<QProgressBar*>("pgbProgress");
        QCOMPARE(barra->maximum(), 4);
        progresso->Avancar();
        QTRY_COMPARE(barra->value(), 2);
        auto* parar = j.findChild<QPushButton*>("btnParar");
        QVERIFY(parar && parar->isVisible());
        parar->click();
        QCOMPARE(prompt.textos(), QStringList{"Deseja Abortar Esta Operação ?"});
        QCOMPARE(progresso->Parado(), parado);
        QVERIFY(!progresso->Avancar() == parado);
    }

    // The windows' prompt runs the work on a worker thread under a progress window, and the
    // window goes once the work ended and the caller heard of it.
    void PromptDasJanelasTrabalhaNaLinha()
    {
        PromptJanelas prompt;
        QObject contexto;
        std::atomic<bool> liberar{false};
        bool terminou = false;
        prompt.TrabalhoComProgresso(
            &contexto,
            [&](clsProgresso& p) {
                p.Iniciar(3, "Gerando");
                p.Avancar();
                while (!liberar)
                    QThread::msleep(5);
            },
            [&] { terminou = true; });
        QPointer<frmProgress> j;
        QVERIFY(QTest::qWaitFor([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<frmProgress*>(w); p && p->isVisible() && p->windowTitle() == "Gerando")
                    j = p;
            return !j.isNull();
        }));
        QTRY_COMPARE(j->findChild<QProgressBar*>("pgbProgress")->value(), 1);
        QVERIFY(!terminou);
        liberar = true;
        QTRY_VERIFY(terminou);
        QTRY_VERIFY(j.isNull());
    }
};
QUARRIX_TESTE(tst_frmProgress);
#include "tst_frmProgress.moc"
