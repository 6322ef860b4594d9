#include "platform/mdlFuncoes.h"
#include "support/registroTestes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace funcoes;

class tst_mdlFuncoes : public QObject {
    Q_OBJECT
private slots:
    void LerNumero_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("numero");
        QTest::newRow("inteiro") << "30" << 30.0;
        QTest::newRow("negativo") << "-1" << -1.0;
        QTest::newRow("brancos antes") << "  12" << 12.0;
        QTest::newRow("numero seguido de texto") << "30abc" << 30.0;
        QTest::newRow("decimal com ponto") << "2.5s" << 2.5;
        QTest::newRow("expoente") << "1e3" << 1000.0;
        QTest::newRow("e sem digitos nao e expoente") << "7e" << 7.0;
        QTest::newRow("texto") << "True" << 0.0;
        QTest::newRow("vazio") << "" << 0.0;
        QTest::newRow("so sinal") << "-" << 0.0;
    }
    void LerNumero()
    {
        QFETCH(QString, texto);
        QFETCH(double, numero);
        QCOMPARE(funcoes::LerNumero(texto), numero);
    }
    void EhNumerico_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("numerico");
        QTest::newRow("inteiro") << "60" << true;
        QTest::newRow("brancos em volta") << " 60 " << true;
        QTest::newRow("negativo decimal") << "-1.5" << true;
        QTest::newRow("texto depois") << "60s" << false;
        QTest::newRow("vazio") << "" << false;
        QTest::newRow("ponto so") << "." << false;
        QTest::newRow("infinito") << "inf" << false;
    }
    void EhNumerico()
    {
        QFETCH(QString, texto);
        QFETCH(bool, numerico);
        QCOMPARE(funcoes::EhNumerico(texto), numerico);
    }

    void CompletarZeros_data()
    {
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("texto");
        QTest::newRow("7 em 3") << QVariant(7) << 3 << "007";
        QTest::newRow("nulo em 2") << QVariant() << 2 << "00";
        QTest::newRow("longo fica com o fim") << QVariant(1234) << 3 << "234";
        QTest::newRow("texto") << QVariant(QStringLiteral("5")) << 2 << "05";
        QTest::newRow("largura zero") << QVariant(5) << 0 << "";
    }
    void CompletarZeros()
    {
        QFETCH(QVariant, valor);
        QFETCH(int, n);
        QFETCH(QString, texto);
        QCOMPARE(funcoes::CompletarZeros(valor, qint16(n)), texto);
    }

    void NulosDoRecordset()
    {
        // A database null arrives as a typed variant without a value.
        const QVariant nuloTexto(QMetaType::fromType<QString>());
        QCOMPARE(NuloZero(QVariant()), QVariant(0));
        QCOMPARE(NuloZero(nuloTexto), QVariant(0));
        QCOMPARE(NuloZero(QVariant(5.5)), QVariant(5.5));
        QCOMPARE(NuloTexto(nuloTexto, "(nulo)"), QStringLiteral("(nulo)"));
        QCOMPARE(NuloTexto(QVariant(42), "(nulo)"), QStringLiteral("42"));
        // An empty text is a value, not a null.
        QCOMPARE(NuloTexto(QVariant(QStringLiteral("")), "(nulo)"), QString());
    }

    void NomeObjeto_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("resultado");
        QTest::newRow("branco") << "Ordem Servico"
                                << "[Ordem Servico]";
        QTest::newRow("dono.tabela inteiro") << "dbo.Clientes"
                                             << "[dbo.Clientes]";
        QTest::newRow("sublinhado") << "tb_cli"
                                    << "[tb_cli]";
        QTest::newRow("simples") << "Clientes"
                                 << "Clientes";
        QTest::newRow("ja com colchetes ganha outro par") << "[a b]"
                                                          << "[[a b]]";
    }
    void NomeObjeto()
    {
        QFETCH(QString, nome);
        QFETCH(QString, resultado);
        QCOMPARE(funcoes::NomeObjeto(nome), resultado);
    }

    void IncluirNoArrayCresceSemRepetir()
    {
        QVariant lista;
        int indice = 0;
        IncluirNoArray(lista, "a", indice);
        QCOMPARE(indice, 1);
        QCOMPARE(lista.toList(), (QVariantList{"a"}));
        IncluirNoArray(lista, "b", indice);
        QCOMPARE(indice, 2);
        IncluirNoArray(lista, "a", indice);
        QCOMPARE(indice, 1);
        QCOMPARE(lista.toList(), (QVariantList{"a", "b"}));
        // The comparison is exact: another case is another value.
        IncluirNoArray(lista, "A", indice);
        QCOMPARE(indice, 3);
    }
    void IncluirNoArrayRepetindo()
    {
        QVariant lista = QVariantList{"a", "b"};
        int indice = 0;
        IncluirNoArray(lista, "a", indice, true);
        QCOMPARE(indice, 3);
        QCOMPARE(lista.toList(), (QVariantList{"a", "b", "a"}));
    }
    void IncluirNoArrayListaNaoComparaENuloNaoAcha()
    {
        QVariant lista = QVariantList{QVariantList{1}, QVariant()};
        int indice = 0;
        IncluirNoArray(lista, QVariantList{1}, indice);
        QCOMPARE(indice, 3);
        IncluirNoArray(lista, QVariant(), indice);
        QCOMPARE(indice, 4);
        // Numbers compare by value, whatever their type.
        lista = QVariantList{1};
        IncluirNoArray(lista, 1.0, indice);
        QCOMPARE(indice, 1);
        QCOMPARE(lista.toList().size(), 1);
    }

    void AlinharTexto_data()
    {
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<int>("largura");
        QTest::addColumn<int>("alinhamento");
        QTest::addColumn<QString>("texto");
        for (int a = 0; a <= 2; ++a)
            QTest::addRow("cortado %d", a) << QVariant("abcdef") << 4 << a << "abcd";
        QTest::newRow("esquerda") << QVariant("ab") << 5 << 0 << "ab   ";
        QTest::newRow("direita") << QVariant("ab") << 5 << 1 << "   ab";
        QTest::newRow("centro 1.5 vira 2") << QVariant("ab") << 5 << 2 << "  ab ";
        QTest::newRow("centro 2.5 vira 2") << QVariant("ab") << 7 << 2 << "  ab   ";
        QTest::newRow("centro 0.5 vira 0") << QVariant("ab") << 3 << 2 << "ab ";
        QTest::newRow("nulo") << QVariant() << 3 << 1 << "   ";
        QTest::newRow("numero") << QVariant(42) << 4 << 1 << "  42";
    }
    void AlinharTexto()
    {
        QFETCH(QVariant, valor);
        QFETCH(int, largura);
        QFETCH(int, alinhamento);
        QFETCH(QString, texto);
        QCOMPARE(funcoes::AlinharTexto(valor, largura, alinhamento), texto);
    }

    void CriarPastaCriaOsPais()
    {
        QTemporaryDir tmp;
        const QString pasta = tmp.filePath("a/b/c");
        QVERIFY(CriarPasta(pasta));
        QVERIFY(QFileInfo(pasta).isDir());
        QVERIFY(CriarPasta(pasta)); // already there
        QVERIFY(CriarPasta(tmp.filePath("a/b/d/")));
    }
    void CriarPastaSemComoCriarDaFalso()
    {
        QTemporaryDir tmp;
        QFile arquivo(tmp.filePath("arquivo"));
        QVERIFY(arquivo.open(QIODevice::WriteOnly));
        arquivo.close();
        QVERIFY(!CriarPasta(tmp.filePath("arquivo")));
        QVERIFY(!CriarPasta(tmp.filePath("arquivo/sub/pasta")));
        QVERIFY(!CriarPasta(QStringLiteral("/proc/nao-existe/pasta")));
        QVERIFY(!CriarPasta(QString()));
    }
};
QUARRIX_TESTE(tst_mdlFuncoes);
#include "tst_mdlFuncoes.moc"
