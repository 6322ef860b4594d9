#include "query/mdlVerificarSql.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QTest>

class tst_mdlVerificarSql : public QObject {
    Q_OBJECT
private slots:
    // Each text either passes (empty refused word) or is refused for the word given.
    void Verificar_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("recusada");
        QTest::newRow("tres partes") << "SELECT * FROM master.dbo.sysdatabases"
                                     << "master.dbo.sysdatabases";
        QTest::newRow("alias com ponto") << "SELECT a.b FROM t a"
                                         << "";
        QTest::newRow("dono e tabela") << "SELECT * FROM dbo.Clientes"
                                       << "";
        QTest::newRow("literal com brancos pulado") << "SELECT * FROM t WHERE nome = 'a b' AND x.y.z = 1"
                                                    << "x.y.z";
        QTest::newRow("pontos dentro de literal com brancos") << "SELECT * FROM t WHERE nome = 'a.b c.d.e'"
                                                              << "";
        QTest::newRow("endereco IP entre apostrofos") << "SELECT * FROM t WHERE ip = '10.0.0.1'"
                                                      << "";
        QTest::newRow("literal unicode") << "SELECT * FROM t WHERE ip = N'10.0.0.1'"
                                         << "";
        QTest::newRow("literal aberto ate o fim") << "SELECT * FROM t WHERE nome = 'a b x.y.z"
                                                  << "";
        QTest::newRow("minusculas") << "select x.y.z from t"
                                    << "x.y.z";
        QTest::newRow("virgulas separam") << "SELECT a.b,c.d,e.f.g FROM t"
                                          << "e.f.g";
        QTest::newRow("parenteses viram brancos") << "SELECT COUNT(t.a.b) FROM t"
                                                  << "t.a.b";
        QTest::newRow("quebras CR LF") << "SELECT t.a\r\nFROM t\r\nWHERE u.v.w = 1"
                                       << "u.v.w";
        QTest::newRow("quebras LF") << "SELECT t.a\nFROM t\nWHERE t.b = u.c"
                                    << "";
        QTest::newRow("tabulacao separa") << "SELECT * FROM t WHERE a.b\t=\tc.d"
                                          << "";
        QTest::newRow("AS seguido de nome") << "SELECT a.b AS c FROM t"
                                            << "";
        QTest::newRow("palavra-chave colada ao texto") << "SELECTx.y.z FROM t"
                                                       << "SELECTx.y.z";
        QTest::newRow("operadores") << "SELECT * FROM a JOIN b ON a.x >= b.y AND a.z <> b.w"
                                    << "";
        QTest::newRow("so palavra-chave") << "SELECT"
                                          << "";
        QTest::newRow("nome citado com pontos") << "SELECT \"a.b.c\" FROM t"
                                                << "";
        QTest::newRow("colchetes com pontos e brancos") << "SELECT t.[a b.c.d] FROM t"
                                                        << "";
        QTest::newRow("apostrofo num nome citado nao abre texto") << "SELECT \"it's\", x.y.z FROM t"
                                                                  << "x.y.z";
        QTest::newRow("apostrofo entre colchetes nao abre texto") << "SELECT [it's] FROM t WHERE x.y.z = 1"
                                                                  << "x.y.z";
        QTest::newRow("colchete dentro de texto") << "SELECT * FROM t WHERE a = '[x y' AND x.y.z = 1"
                                                  << "x.y.z";
    }
    void Verificar()
    {
        QFETCH(QString, sql);
        QFETCH(QString, recusada);
        clsPromptRoteiro prompt;
        QCOMPARE(VerificarSql(prompt, sql), recusada.isEmpty());
        QCOMPARE(prompt.progressos, QStringList{"Verificando Instrução"});
        QVERIFY(!prompt.progressoAberto);
        if (recusada.isEmpty()) {
            QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('|')));
        } else {
            QCOMPARE(prompt.mensagens.size(), 1);
            QCOMPARE(prompt.ultima().texto, "Campo não identificado: " + recusada);
            QCOMPARE(prompt.ultima().icone(), int(vb::Critical));
            QCOMPARE(prompt.ultima().titulo, QStringLiteral("Erro em Instrução SQL"));
        }
    }

    void SemVerificacaoOuTextoVazioPassaSemProgresso()
    {
        clsPromptRoteiro prompt;
        QVERIFY(VerificarSql(prompt, "SELECT * FROM a.b.c", false));
        QVERIFY(VerificarSql(prompt, QString()));
        QVERIFY(prompt.progressos.isEmpty());
        QVERIFY(prompt.mensagens.isEmpty());
    }

    // One step per character consumed; the text "SELECT * FROM a.b.c" is consumed as
    // "SELECT " (7), "* " (2), "FROM " (5) before the refused word is read.
    void ProgressoAvancaPorCaractere()
    {
        clsPromptRoteiro prompt;
        QVERIFY(!VerificarSql(prompt, "SELECT * FROM a.b.c"));
        QCOMPARE(prompt.passosProgresso, 14);
    }

    void AbortarNoProgressoDeixaExecutar_data()
    {
        QTest::addColumn<int>("passo");
        QTest::addColumn<bool>("resultado");
        QTest::newRow("no primeiro passo") << 1 << true;
        QTest::newRow("antes da palavra recusada") << 14 << true;
        QTest::newRow("tarde demais") << 15 << false;
    }
    void AbortarNoProgressoDeixaExecutar()
    {
        QFETCH(int, passo);
        QFETCH(bool, resultado);
        clsPromptRoteiro prompt;
        prompt.abortarNoPasso = passo;
        QCOMPARE(VerificarSql(prompt, "SELECT * FROM a.b.c"), resultado);
        QCOMPARE(prompt.mensagens.size(), resultado ? 0 : 1);
        QVERIFY(!prompt.progressoAberto);
    }
};
QUARRIX_TESTE(tst_mdlVerificarSql);
#include "tst_mdlVerificarSql.moc"
