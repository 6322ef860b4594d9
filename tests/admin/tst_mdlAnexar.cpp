// Rules of the attach and shrink dialogs that need no window.
#include "admin/mdlAnexar.h"
#include "support/registroTestes.h"

#include <QTest>

class tst_mdlAnexar : public QObject {
    Q_OBJECT
private slots:
    void NomeBancoDoArquivo_data()
    {
        QTest::addColumn<QString>("caminho");
        QTest::addColumn<QString>("nome");
        QTest::newRow("windows") << "D:\\Dados\\Vendas_2004.mdf"
                                 << "Vendas_2004";
        QTest::newRow("dois pontos") << "/srv/dados/loja.2024.mdf"
                                     << "loja.2024";
        QTest::newRow("sem extensao") << "C:\\Dados\\Loja"
                                      << "Loja";
        QTest::newRow("pasta com ponto") << "C:\\v1.0\\Loja"
                                         << "Loja";
    }
    void NomeBancoDoArquivo()
    {
        QFETCH(QString, caminho);
        QFETCH(QString, nome);
        QCOMPARE(admin::NomeBancoDoArquivo(caminho), nome);
    }

    void FigurasDoEspaco()
    {
        QCOMPARE(admin::TextoMb(200), QStringLiteral("200 MB"));
        QCOMPARE(admin::TextoMb(1234.6), QStringLiteral("1.235 MB"));
        QCOMPARE(admin::TextoPercentual(50, 200), QStringLiteral("(25%)"));
        QCOMPARE(admin::TextoPercentual(1, 3), QStringLiteral("(33%)"));
        QCOMPARE(admin::TextoPercentual(0, 0), QStringLiteral("(0%)"));
    }

    void PercentualDesejado_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("valor");
        QTest::addColumn<bool>("valido");
        QTest::newRow("vazio") << "" << 0 << true;
        QTest::newRow("99") << "99" << 99 << true;
        QTest::newRow("100") << "100" << 100 << false;
        QTest::newRow("negativo") << "-1" << -1 << false;
        QTest::newRow("numero e texto") << "15abc" << 15 << true;
    }
    void PercentualDesejado()
    {
        QFETCH(QString, texto);
        QFETCH(int, valor);
        QFETCH(bool, valido);
        QCOMPARE(admin::PercentualDesejado(texto), valor);
        QCOMPARE(admin::PercentualValido(texto), valido);
    }

    void ModoShrink_data()
    {
        QTest::addColumn<QString>("opcao");
        QTest::addColumn<int>("modo");
        QTest::newRow("truncate") << "Truncate Only" << 2;
        QTest::newRow("no truncate") << "No Truncate" << 1;
        QTest::newRow("empty") << "Empty File" << 3;
        QTest::newRow("full") << "Full (slow)!" << 0;
    }
    void ModoShrink()
    {
        QFETCH(QString, opcao);
        QFETCH(int, modo);
        QCOMPARE(admin::ModoShrink(opcao), modo);
    }
};
QUARRIX_TESTE(tst_mdlAnexar);
#include "tst_mdlAnexar.moc"
