#include "platform/mdlProcessos.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_mdlProcessos : public QObject {
    Q_OBJECT
private slots:
    void LinhaVaziaNaoFazNada()
    {
        clsPromptRoteiro prompt;
        QVERIFY(!processos::ExecutarEsperar(prompt, QString()));
        QVERIFY(!processos::ExecutarEsperar(prompt, "   "));
        QCOMPARE(prompt.eventosProcessados, 0);
    }

    void EsperaOProgramaTerminar()
    {
        // The file appears only after the pause; it must be there when the call returns.
        clsPromptRoteiro prompt;
        QTemporaryDir tmp;
        const QString arquivo = tmp.filePath("pasta com espaco/fim.txt");
        QVERIFY(QDir().mkpath(tmp.filePath("pasta com espaco")));
        QVERIFY(processos::ExecutarEsperar(prompt,
                                           "sh -c \"sleep 0.3; echo pronto > '" + arquivo + "'\"",
                                           processos::NormalComFoco));
        QVERIFY(QFile::exists(arquivo));
        QVERIFY(prompt.eventosProcessados >= 1);
    }

    void ArgumentosSeparadosComoNoShell()
    {
        clsPromptRoteiro prompt;
        QTemporaryDir tmp;
        const QString destino = tmp.filePath("a b.txt");
        QVERIFY(processos::ExecutarEsperar(prompt, "touch \"" + destino + "\""));
        QVERIFY(QFile::exists(destino));
        QVERIFY(!QFile::exists(tmp.filePath("a")));
    }

    void ProgramaInexistenteNaoTrava()
    {
        clsPromptRoteiro prompt;
        QVERIFY(!processos::ExecutarEsperar(prompt, "/nao/existe/programa --x"));
    }
};
QUARRIX_TESTE(tst_mdlProcessos);
#include "tst_mdlProcessos.moc"
