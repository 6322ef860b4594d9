#include "connections/mdlCaminhoServidor.h"
#include "support/clsPromptRoteiro.h"
#include "support/clsSqlDmoDuble.h"
#include "support/registroTestes.h"

#include <QTest>

using funcoes::ValidarCaminhoServidor;

class tst_mdlCaminhoServidor : public QObject {
    Q_OBJECT
private slots:
    void ValidarCaminhoServidorAceitaDiscoDoServidor_DubleSqlServer()
    {
        clsPromptRoteiro prompt;
        ServidorDuble servidor;
        clsSqlDmoDuble sessao(servidor);
        sessao.Connect("SRV01", "sa", "");
        QVERIFY(ValidarCaminhoServidor(prompt, "c:\\backup\\x.bak", sessao));
        QVERIFY(ValidarCaminhoServidor(prompt, "D:\\dados\\base.mdf", sessao));
        QVERIFY(prompt.mensagens.isEmpty());
    }
    void ValidarCaminhoServidorRecusaOutroLugar_DubleSqlServer_data()
    {
        QTest::addColumn<QString>("caminho");
        QTest::newRow("disco que o servidor nao tem") << "E:\\backup\\x.bak";
        QTest::newRow("caminho de rede") << "\\\\maquina\\pasta\\x.bak";
        QTest::newRow("vazio") << "";
    }
    void ValidarCaminhoServidorRecusaOutroLugar_DubleSqlServer()
    {
        QFETCH(QString, caminho);
        clsPromptRoteiro prompt;
        ServidorDuble servidor;
        clsSqlDmoDuble sessao(servidor);
        sessao.Connect("SRV01", "sa", "");
        QVERIFY(!ValidarCaminhoServidor(prompt, caminho, sessao));
        QCOMPARE(prompt.mensagens.size(), 1);
        QCOMPARE(prompt.ultima().texto,
                 QStringLiteral("O servidor [SRV01] não aceita o caminho [") + caminho
                     + QStringLiteral("]. \nDeve-se especificar um local que esteja fisicamente no servidor.\n"
                                      "C:\\ - D:\\"));
        QCOMPARE(prompt.ultima().icone(), int(vb::Critical));
        QCOMPARE(prompt.ultima().botoes(), int(vb::OKOnly));
        QVERIFY(prompt.ultima().titulo.isEmpty());
    }
};
QUARRIX_TESTE(tst_mdlCaminhoServidor);
#include "tst_mdlCaminhoServidor.moc"
