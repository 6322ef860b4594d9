#include "bancoTeste.h"
#include "connections/clsAmbienteDados.h"
#include "query/mdlExecucao.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QLocale>
#include <QTest>

using execucao::Resultado;

class tst_mdlExecucao : public QObject {
    Q_OBJECT
    clsPromptRoteiro promptPadrao;
    clsAmbienteDados amb{promptPadrao};

private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void DividirInstrucoes_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("passoPasso");
        QTest::addColumn<bool>("achou");
        QTest::addColumn<QString>("textoDepois"); // the text handed back
        QTest::addColumn<QStringList>("instrucoes"); // statements collected step by step

        const QString crlfGo = QStringLiteral("SELECT 1\r\nGO\r\nSELECT 2");
        QTest::newRow("sem separador") << "SELECT 1" << true << false << "SELECT 1" << QStringList();
        QTest::newRow("go minusculo nao separa")
            << "SELECT 1\r\ngo\r\nSELECT 2" << true << false << "SELECT 1\r\ngo\r\nSELECT 2" << QStringList();
        QTest::newRow("Go misto nao separa")
            << "SELECT 1 Go SELECT 2" << false << false << "SELECT 1 Go SELECT 2" << QStringList();
        QTest::newRow("GO no fim sem nada depois")
            << "SELECT 1\r\nGO" << true << false << "SELECT 1\r\nGO" << QStringList();
        QTest::newRow("GO no inicio sem nada antes")
            << "GO\r\nSELECT 1" << true << false << "GO\r\nSELECT 1" << QStringList();
        QTest::newRow("GOTO nao e separador")
            << "SELECT 1\r\nGOTO fim" << false << false << "SELECT 1\r\nGOTO fim" << QStringList();
        QTest::newRow("lote: LF GO CR removido") << crlfGo << false << true << "SELECT 1\r\nSELECT 2" << QStringList();
        QTest::newRow("passo a passo: CR fica na primeira")
            << crlfGo << true << true << crlfGo << QStringList{"SELECT 1\r", "SELECT 2"};
        QTest::newRow("GO dentro de um texto nao separa")
            << "SELECT ' GO ' AS x" << false << false << "SELECT ' GO ' AS x" << QStringList();
        QTest::newRow("GO em nomes citados e comentarios nao separa")
            << "SELECT 1 AS \"a GO b\", [c GO d] -- e GO f\r\n/* g\r\nGO\r\nh */" << false << false
            << "SELECT 1 AS \"a GO b\", [c GO d] -- e GO f\r\n/* g\r\nGO\r\nh */" << QStringList();
        QTest::newRow("passo a passo: apostrofo num nome citado nao abre texto")
            << "SELECT \"it's\"\r\nGO\r\nSELECT 'x''\r\nGO\r\n'" << true << true
            << "SELECT \"it's\"\r\nGO\r\nSELECT 'x''\r\nGO\r\n'"
            << QStringList{"SELECT \"it's\"\r", "SELECT 'x''\r\nGO\r\n'"};
        QTest::newRow("lote: branco GO branco nao cola palavras")
            << "SELECT 1 GO SELECT 2" << false << true << "SELECT 1 SELECT 2" << QStringList();
        QTest::newRow("passo a passo: branco GO branco")
            << "SELECT 1 GO SELECT 2" << true << true << "SELECT 1 GO SELECT 2" << QStringList{"SELECT 1", "SELECT 2"};
        QTest::newRow("repetida coletada uma vez")
            << "SELECT 1 GO SELECT 2 GO SELECT 1" << true << true << "SELECT 1 GO SELECT 2 GO SELECT 1"
            << QStringList{"SELECT 1", "SELECT 2"};
        QTest::newRow("dois GO seguidos nao fazem instrucao vazia")
            << "SELECT 1 GO GO SELECT 2" << true << true << "SELECT 1 GO GO SELECT 2"
            << QStringList{"SELECT 1", "SELECT 2"};
        QTest::newRow("so CR") << "A\rGO\rB" << true << true << "A\rGO\rB" << QStringList{"A", "B"};
        QTest::newRow("lote so CR") << "A\rGO\rB" << false << true << "A B" << QStringList();
        QTest::newRow("so LF") << "A\nGO B" << true << true << "A\nGO B" << QStringList{"A", "B"};
        QTest::newRow("tres instrucoes, brancos em volta")
            << "  A  \r\nGO\r\n  B \r\nGO\r\n\r\nC  " << true << true << "  A  \r\nGO\r\n  B \r\nGO\r\n\r\nC  "
            << QStringList{"A  \r", "B \r", "C"};
    }
    void DividirInstrucoes()
    {
        QFETCH(QString, texto);
        QFETCH(bool, passoPasso);
        QFETCH(bool, achou);
        QFETCH(QString, textoDepois);
        QFETCH(QStringList, instrucoes);
        QStringList coletadas;
        QCOMPARE(execucao::DividirInstrucoes(texto, passoPasso, coletadas), achou);
        QCOMPARE(texto, textoDepois);
        QCOMPARE(coletadas, instrucoes);
    }

    void FormatarTempo_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<double>("segundos");
        QTest::addColumn<QString>("texto");
        QTest::newRow("zero") << "pt_BR" << 0.0 << "0 Segundos";
        QTest::newRow("um") << "pt_BR" << 1.0 << "1 Segundo";
        QTest::newRow("cinco") << "pt_BR" << 5.0 << "5 Segundos";
        QTest::newRow("meio vai para o par 0") << "pt_BR" << 0.5 << "0 Segundos";
        QTest::newRow("1,5 vai para 2") << "pt_BR" << 1.5 << "2 Segundos";
        QTest::newRow("2,5 vai para 2") << "pt_BR" << 2.5 << "2 Segundos";
        QTest::newRow("um minuto") << "pt_BR" << 60.0 << "1 Minuto";
        QTest::newRow("noventa segundos") << "pt_BR" << 90.0 << "1,5 Minutos";
        QTest::newRow("noventa, ponto decimal") << "en_US" << 90.0 << "1.5 Minutos";
        QTest::newRow("duas casas") << "pt_BR" << 61.0 << "1,02 Minutos";
        QTest::newRow("meio centesimo vai para o par") << "pt_BR" << 67.5 << "1,12 Minutos";
        QTest::newRow("quase uma hora") << "pt_BR" << 3599.0 << "59,98 Minutos";
        QTest::newRow("uma hora") << "pt_BR" << 3600.0 << "1 Hora";
        QTest::newRow("hora e meia") << "pt_BR" << 5400.0 << "1,5 Horas";
        QTest::newRow("duas horas") << "pt_BR" << 7200.0 << "2 Horas";
    }
    void FormatarTempo()
    {
        QFETCH(QString, local);
        QFETCH(double, segundos);
        QFETCH(QString, texto);
        QLocale::setDefault(QLocale(local));
        QCOMPARE(execucao::FormatarTempo(segundos), texto);
    }

    void NomeTabelaSelect_data()
    {
        // Every name is quoted, always, the way the connection's engine reads names.
        QTest::addColumn<QString>("connStr");
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<QString>("nome");
        const QString arquivo = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/tmp/x.db";
        const QString odbc = "Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=h";
        const QString servidor = "Provider=SQLOLEDB.1;Data Source=h;Initial Catalog=loja";
        QTest::newRow("simples") << arquivo << "Clientes"
                                 << "\"Clientes\"";
        QTest::newRow("branco") << arquivo << "Order Details"
                                << "\"Order Details\"";
        QTest::newRow("colchete") << arquivo << "Nome]Estranho'x"
                                  << "\"Nome]Estranho'x\"";
        QTest::newRow("instrucao no nome") << arquivo << "vitima;DELETE/**/FROM/**/vitima"
                                           << "\"vitima;DELETE/**/FROM/**/vitima\"";
        QTest::newRow("aspas dobradas") << arquivo << "a\"b"
                                        << "\"a\"\"b\"";
        QTest::newRow("odbc simples") << odbc << "clientes"
                                      << "\"clientes\"";
        QTest::newRow("odbc sem provedor") << "Driver={X};Server=h"
                                           << "a\"b c"
                                           << "\"a\"\"b c\"";
        QTest::newRow("sql server") << servidor << "order"
                                    << "[order]";
        QTest::newRow("sql server colchete dobrado") << servidor << "a]b"
                                                     << "[a]]b]";
    }
    void NomeTabelaSelect()
    {
        QFETCH(QString, connStr);
        QFETCH(QString, tabela);
        QFETCH(QString, nome);
        QCOMPARE(execucao::NomeTabelaSelect(connStr, tabela), nome);
    }

    void LotesGuardamRepeticoesEIgnoramGoCitado_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("lotes");
        QTest::newRow("repetido roda duas vezes")
            << "INSERT INTO t VALUES (1)\r\nGO\r\nINSERT INTO t VALUES (1)\r\nGO\r\nSELECT 1"
            << QStringList{"INSERT INTO t VALUES (1)\r", "INSERT INTO t VALUES (1)\r", "SELECT 1"};
        QTest::newRow("go num literal e num comentario")
            << "SELECT ' GO ' -- x GO y\r\nGO\r\nSELECT 2" << QStringList{"SELECT ' GO ' -- x GO y\r", "SELECT 2"};
        QTest::newRow("dois separadores seguidos") << "SELECT 1 GO  GO SELECT 2" << QStringList{"SELECT 1", "SELECT 2"};
    }
    void LotesGuardamRepeticoesEIgnoramGoCitado()
    {
        QFETCH(QString, texto);
        QFETCH(QStringList, lotes);
        QCOMPARE(execucao::Lotes(texto), lotes);
    }

    void RemoverDboEmQualquerCaixa()
    {
        QCOMPARE(execucao::RemoverDbo("SELECT * FROM DBO.Clientes JOIN dbo.Pedidos ON 1=1"),
                 QStringLiteral("SELECT * FROM Clientes JOIN Pedidos ON 1=1"));
    }

    void MensagemDeSucesso_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("tres linhas") << "UPDATE Clientes SET Cidade = 'Natal'"
                                     << "Instrução executada com sucesso\r\n3 registro(s) afetado(s) pela instrução";
        QTest::newRow("nenhuma linha") << "UPDATE Clientes SET Cidade = 'Natal' WHERE Id = 99"
                                       << "Instrução executada com sucesso";
    }
    void MensagemDeSucesso()
    {
        QFETCH(QString, sql);
        QFETCH(QString, mensagem);
        BancoTeste banco;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData d(amb);
        QVERIFY(d.OpenConnection(banco.ConnStr(), true, false));
        Resultado r;
        QVERIFY(execucao::Executar(d, sql, false, {}, r));
        QVERIFY(!r.rs);
        QCOMPARE(prompt.textos(), QStringList{mensagem});
        QCOMPARE(prompt.ultima().estilo, int(vb::Information));
        QCOMPARE(prompt.ultima().titulo, QString());
    }

    void SelectDevolveLinhasSemMensagemEDboRemovidoNoArquivo()
    {
        BancoTeste banco;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData d(amb);
        QVERIFY(d.OpenConnection(banco.ConnStr(), true, false));
        Resultado r;
        QVERIFY(execucao::Executar(d, "SELECT * FROM DBO.Clientes WHERE Cidade = 'Recife'", false, {}, r));
        QVERIFY(r.rs);
        QCOMPARE(r.rs->RecordCount(), 2);
        QVERIFY(prompt.mensagens.isEmpty());
    }

    void FalhaMostraErrMsgEFicaSemLinhas()
    {
        BancoTeste banco;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData d(amb);
        QVERIFY(d.OpenConnection(banco.ConnStr(), true, false));
        Resultado r;
        QVERIFY(!execucao::Executar(d, "SELECT * FROM NaoExiste", false, {}, r));
        QVERIFY(!r.rs);
        QCOMPARE(prompt.mensagens.size(), 1);
        QCOMPARE(prompt.ultima().texto, d.ErrMsg());
        QVERIFY(d.ErrMsg().contains("Querie:SELECT * FROM NaoExiste"));
        QCOMPARE(prompt.ultima().estilo, int(vb::Critical));
    }

    void ConexaoFechadaDaErroSemQuebrar()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData d(amb); // never opened
        Resultado r;
        QVERIFY(!execucao::Executar(d, "SELECT 1", false, {}, r));
        QCOMPARE(prompt.mensagens.size(), 1);
        QCOMPARE(prompt.ultima().estilo, int(vb::Critical));
        QVERIFY(prompt.ultima().texto.startsWith("Err:"));
    }

    void TextoVazioNaoFazNada()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData d(amb);
        Resultado r;
        QVERIFY(!execucao::Executar(d, QString(), false, {}, r));
        QVERIFY(prompt.mensagens.isEmpty());
    }

    void VerificadorRecusaAntesDeEnviar()
    {
        BancoTeste banco;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData d(amb);
        QVERIFY(d.OpenConnection(banco.ConnStr(), true, false));
        QStringList vistos;
        const execucao::Verificador recusar = [&](const QString& sql) {
            vistos << sql;
            return false;
        };
        Resultado r;
        // Without a checker nothing is asked.
        QVERIFY(execucao::Executar(d, "UPDATE Clientes SET Nome = 'X' WHERE Id = 1", false, {}, r));
        QVERIFY(vistos.isEmpty());
        prompt.mensagens.clear();
        QVERIFY(!execucao::Executar(d, "UPDATE Clientes SET Nome = 'Y' WHERE Id = 2", false, recusar, r));
        QCOMPARE(vistos, QStringList{"UPDATE Clientes SET Nome = 'Y' WHERE Id = 2"});
        QVERIFY(prompt.mensagens.isEmpty());
        QCOMPARE(banco.Valor("SELECT Nome FROM Clientes WHERE Id = 2").toString(), QStringLiteral("Bruno"));
    }

    void PassoAPassoComFalhaNoMeio_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("passos");
        QTest::newRow("continuar") << int(vb::Yes) << true << 3;
        QTest::newRow("parar") << int(vb::No) << false << 2;
    }
    void PassoAPassoComFalhaNoMeio()
    {
        QFETCH(int, resposta);
        QFETCH(bool, ok);
        QFETCH(int, passos);
        BancoTeste banco;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        prompt.respostas << resposta;
        clsData d(amb);
        QVERIFY(d.OpenConnection(banco.ConnStr(), true, false));
        Resultado r;
        const QString script = "SELECT Nome FROM Clientes\r\nGO\r\nSELECT * FROM NaoExiste\r\nGO\r\n"
                               "SELECT Cidade FROM Clientes WHERE Id = 2";
        QCOMPARE(execucao::Executar(d, script, true, {}, r), ok);
        QCOMPARE(prompt.passosProgresso, passos);
        QVERIFY(!prompt.progressoAberto);
        QCOMPARE(prompt.mensagens.first().texto,
                 "SELECT * FROM NaoExiste\r\r\rOcorreram Erros Durante a Execução da Instrução, Deseja Continuar ?");
        QCOMPARE(prompt.mensagens.first().estilo, int(vb::YesNo | vb::Question));
        if (ok) {
            // The grid gets the last statement's rows, never the first one's.
            QVERIFY(r.rs);
            QCOMPARE(r.rs->Fields(0).Name(), QStringLiteral("Cidade"));
            QCOMPARE(r.rs->ValorCelula(0, 0).toString(), QStringLiteral("Olinda"));
            QCOMPARE(prompt.mensagens.size(), 1);
        } else {
            QVERIFY(!r.rs);
            QCOMPARE(prompt.mensagens.size(), 2);
            QCOMPARE(prompt.ultima().texto, d.ErrMsg());
            QCOMPARE(prompt.ultima().estilo, int(vb::Critical));
        }
    }

    void PassoAPassoUltimaSemLinhasTerminaComMensagem()
    {
        BancoTeste banco;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData d(amb);
        QVERIFY(d.OpenConnection(banco.ConnStr(), true, false));
        Resultado r;
        QVERIFY(execucao::Executar(d, "SELECT * FROM Clientes GO DELETE FROM Clientes WHERE Id = 3", true, {}, r));
        QVERIFY(!r.rs);
        QCOMPARE(prompt.textos(),
                 QStringList{"Instrução executada com sucesso\r\n1 registro(s) afetado(s) pela instrução"});
    }

    void EscNoProgressoParaAExecucao()
    {
        BancoTeste banco;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        prompt.abortarNoPasso = 2;
        clsData d(amb);
        QVERIFY(d.OpenConnection(banco.ConnStr(), true, false));
        Resultado r;
        QVERIFY(execucao::Executar(d, "SELECT Nome FROM Clientes GO DELETE FROM Clientes", true, {}, r));
        QCOMPARE(banco.Valor("SELECT COUNT(*) FROM Clientes").toInt(), 3);
        QVERIFY(r.rs);
    }
};
QUARRIX_TESTE(tst_mdlExecucao);
#include "tst_mdlExecucao.moc"
