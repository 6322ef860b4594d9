#include "bancoTeste.h"
#include "connections/clsAmbienteDados.h"
#include "query/mdlExecucao.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QLocale>
#include <QTest>

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
        const QStringList dois{"SELECT 1", "SELECT 2"};
        QTest::newRow("sem separador") << "SELECT 1" << true << false << "SELECT 1" << QStringList();
        QTest::newRow("CR LF") << crlfGo << true << true << crlfGo << dois;
        QTest::newRow("lote: linha GO removida") << crlfGo << false << true << "SELECT 1\r\nSELECT 2" << QStringList();
        QTest::newRow("LF") << "SELECT 1\nGO\nSELECT 2" << true << true << "SELECT 1\nGO\nSELECT 2" << dois;
        QTest::newRow("so CR") << "A\rGO\rB" << true << true << "A\rGO\rB" << QStringList{"A", "B"};
        QTest::newRow("lote so CR") << "A\rGO\rB" << false << true << "A\rB" << QStringList();
        QTest::newRow("go minusculo") << "SELECT 1\r\ngo\r\nSELECT 2" << true << true << "SELECT 1\r\ngo\r\nSELECT 2"
                                      << dois;
        QTest::newRow("Go com brancos e tab")
            << "SELECT 1\n  Go\t \nSELECT 2" << true << true << "SELECT 1\n  Go\t \nSELECT 2" << dois;
        QTest::newRow("GO na ultima linha")
            << "SELECT 1\r\nGO" << true << true << "SELECT 1\r\nGO" << QStringList{"SELECT 1"};
        QTest::newRow("GO na ultima linha com quebra") << "SELECT 1\nGO\n"
                                                       << false << true << "SELECT 1\n"
                                                       << QStringList();
        QTest::newRow("GO na primeira linha")
            << "GO\r\nSELECT 1" << true << true << "GO\r\nSELECT 1" << QStringList{"SELECT 1"};
        QTest::newRow("GO no meio de uma linha nao separa")
            << "SELECT 1 GO SELECT 2" << true << false << "SELECT 1 GO SELECT 2" << QStringList();
        QTest::newRow("GOTO nao e separador")
            << "SELECT 1\r\nGOTO fim" << false << false << "SELECT 1\r\nGOTO fim" << QStringList();
        QTest::newRow("GO 5 nao e separador")
            << "SELECT 1\nGO 5\nSELECT 2" << true << false << "SELECT 1\nGO 5\nSELECT 2" << QStringList();
        QTest::newRow("GO dentro de um texto nao separa")
            << "SELECT '\r\nGO\r\n' AS x" << false << false << "SELECT '\r\nGO\r\n' AS x" << QStringList();
        QTest::newRow("GO em nomes citados e comentarios nao separa")
            << "SELECT 1 AS \"a\nGO\nb\", [c\nGO\nd] -- e\r\n/* g\r\nGO\r\nh */" << false << false
            << "SELECT 1 AS \"a\nGO\nb\", [c\nGO\nd] -- e\r\n/* g\r\nGO\r\nh */" << QStringList();
        QTest::newRow("passo a passo: apostrofo num nome citado nao abre texto")
            << "SELECT \"it's\"\r\nGO\r\nSELECT 'x''\r\nGO\r\n'" << true << true
            << "SELECT \"it's\"\r\nGO\r\nSELECT 'x''\r\nGO\r\n'"
            << QStringList{"SELECT \"it's\"", "SELECT 'x''\r\nGO\r\n'"};
        QTest::newRow("repetida coletada uma vez")
            << "SELECT 1\nGO\nSELECT 2\nGO\nSELECT 1" << true << true << "SELECT 1\nGO\nSELECT 2\nGO\nSELECT 1" << dois;
        QTest::newRow("dois GO seguidos nao fazem instrucao vazia")
            << "SELECT 1\nGO\n\nGO\nSELECT 2" << true << true << "SELECT 1\nGO\n\nGO\nSELECT 2" << dois;
        QTest::newRow("tres instrucoes, brancos em volta")
            << "  A  \r\nGO\r\n  B \r\nGO\r\n\r\nC  " << true << true << "  A  \r\nGO\r\n  B \r\nGO\r\n\r\nC  "
            << QStringList{"A", "B", "C"};
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
            << QStringList{"INSERT INTO t VALUES (1)", "INSERT INTO t VALUES (1)", "SELECT 1"};
        QTest::newRow("go num literal e num comentario")
            << "SELECT ' GO ' -- x GO y\r\nGO\r\nSELECT 2" << QStringList{"SELECT ' GO ' -- x GO y", "SELECT 2"};
        QTest::newRow("sem separador, um lote") << "SELECT 1" << QStringList{"SELECT 1"};
        QTest::newRow("so separadores, nenhum lote") << "GO\ngo\n" << QStringList();
    }
    void LotesGuardamRepeticoesEIgnoramGoCitado()
    {
        QFETCH(QString, texto);
        QFETCH(QStringList, lotes);
        QCOMPARE(execucao::Lotes(texto), lotes);
    }

    // The owner prefix goes in any case; the user's literals, quoted names and comments keep theirs.
    void RemoverDboSoDoDono_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("caixas") << "SELECT * FROM DBO.Clientes JOIN dbo.Pedidos ON 1=1"
                                << "SELECT * FROM Clientes JOIN Pedidos ON 1=1";
        QTest::newRow("literal") << "INSERT INTO dbo.Arq VALUES ('backup_dbo.bak', 'dbo.x')"
                                 << "INSERT INTO Arq VALUES ('backup_dbo.bak', 'dbo.x')";
        QTest::newRow("nome citado e comentário") << "SELECT \"dbo.x\", [a dbo.b] FROM dbo.T -- dbo.fim"
                                                  << "SELECT \"dbo.x\", [a dbo.b] FROM T -- dbo.fim";
        QTest::newRow("fim de palavra") << "SELECT turbodbo.x, meu_dbo.y FROM(dbo.T)"
                                        << "SELECT turbodbo.x, meu_dbo.y FROM(T)";
    }
    void RemoverDboSoDoDono()
    {
        QFETCH(QString, sql);
        QFETCH(QString, esperado);
        QCOMPARE(execucao::RemoverDbo(sql), esperado);
    }

    void MensagemFalhaLote_data()
    {
        QTest::addColumn<int>("lote");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("um lote so") << 0 << 1 << "Err:1\nx";
        QTest::newRow("o primeiro") << 0 << 3
                                    << "Err:1\nx\r\n\r\nO lote 1 de 3 falhou; a execução parou nele. Nenhum lote foi "
                                       "executado antes dele.";
        QTest::newRow("o terceiro") << 2 << 4
                                    << "Err:1\nx\r\n\r\nO lote 3 de 4 falhou; a execução parou nele. Os 2 lotes "
                                       "anteriores foram executados:\r\nLote 1: 3 registro(s) afetado(s)\r\nLote 2: "
                                       "0 registro(s) afetado(s)";
    }
    void MensagemFalhaLote()
    {
        QFETCH(int, lote);
        QFETCH(int, total);
        QFETCH(QString, mensagem);
        QCOMPARE(execucao::MensagemFalhaLote("Err:1\nx", lote, total, {3, 0}), mensagem);
    }
};
QUARRIX_TESTE(tst_mdlExecucao);
#include "tst_mdlExecucao.moc"
