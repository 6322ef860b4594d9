#include "bancoWeb.h"
#include "connections/clsAmbienteDados.h"
#include "platform/mdlHttp.h"
#include "platform/mdlSoap.h"
#include "support/registroTestes.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

// The host program started as a user starts it, on a free loopback port, read through clsData.
class tst_ProgramaWebService : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QProcess programa;
    QString url;

    static QString Caminho() { return QStringLiteral(QUARRIX_BIN_DIR "/quarrix-webservice"); }

private slots:
    void initTestCase()
    {
        const QString cs = CriarBancoWeb(dir);
        Q_UNUSED(cs);
        programa.start(Caminho(),
                       {dir.filePath(QStringLiteral("web.db")),
                        QStringLiteral("127.0.0.1:0"),
                        QStringLiteral("WebData"),
                        QStringLiteral("--origem-web"),
                        QStringLiteral("http://intranet:8000")});
        QVERIFY2(programa.waitForStarted(), qPrintable(programa.errorString()));
        QByteArray saida;
        while (!saida.contains(".asmx") && programa.waitForReadyRead(10000))
            saida += programa.readAllStandardOutput();
        const QRegularExpressionMatch m
            = QRegularExpression(QStringLiteral("(http://127\\.0\\.0\\.1:\\d+/WebData\\.asmx)"))
                  .match(QString::fromUtf8(saida));
        QVERIFY2(m.hasMatch(), saida.constData());
        url = m.captured(1);
    }
    void cleanupTestCase()
    {
        programa.kill();
        programa.waitForFinished();
    }

    void MapeadoELidoPeloEndereco()
    {
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        QVERIFY2(d.OpenConnection(url, true, false), qPrintable(d.ErrMsg()));
        QCOMPARE(d.ConnectionType(), 8);
        RecordsetPtr rs;
        QVERIFY(d.OpenSchema(2, rs, QString(), QStringLiteral("TABLE")));
        QStringList tabelas;
        for (; !rs->Eof(); rs->MoveNext())
            tabelas << rs->Valor(QStringLiteral("TABLE_NAME")).toString();
        QVERIFY2(tabelas.contains(QStringLiteral("Tipos")), qPrintable(tabelas.join(u',')));
        QVERIFY(d.OpenRecordset(rs, QStringLiteral("SELECT Id, Nome FROM Tipos ORDER BY Id"), false, false, false));
        QCOMPARE(rs->RecordCount(), 3);
        QCOMPARE(rs->Valor(QStringLiteral("Nome")), QVariant(QStringLiteral("Ana & <Cia>")));
    }

    void PedidoIlegivelDaFalhaSoap()
    {
        const http::RespostaHttp r = http::Post(url, "<soap:Envelope", "text/xml; charset=utf-8");
        QVERIFY2(r.ok, qPrintable(r.erro));
        QCOMPARE(r.status, 500);
        const soap::RespostaSoap f = soap::LerResposta(r.corpo);
        QVERIFY(f.falha);
        QCOMPARE(f.codigoFalha, QStringLiteral("soap:Client"));
        // A body past the limit is refused before it is read.
        const http::RespostaHttp grande = http::Post(url, QByteArray(3 << 20, 'a'), "text/xml");
        QVERIFY(!grande.ok || grande.status == 413);
    }

    // A page in a browser may POST text/plain, a form or multipart anywhere, and adds its Origin:
    // such a request runs nothing. Programs and the pages allowed on the command line are served.
    void PedidosDeNavegadorNaoMudamNada_data()
    {
        QTest::addColumn<QByteArray>("tipo");
        QTest::addColumn<bool>("comAcao");
        QTest::addColumn<QByteArray>("cabecalho");
        QTest::addColumn<QByteArray>("valor");
        QTest::addColumn<int>("status");
        const QByteArray xml = "text/xml; charset=utf-8";
        const QByteArray n;
        QTest::newRow("text/plain") << QByteArray("text/plain;charset=UTF-8") << false << n << n << 415;
        QTest::newRow("text/plain com SOAPAction") << QByteArray("text/plain") << true << n << n << 415;
        QTest::newRow("formulario") << QByteArray("application/x-www-form-urlencoded") << false << n << n << 415;
        QTest::newRow("outra origem") << xml << true << QByteArray("Origin") << QByteArray("http://mal.exemplo") << 403;
        QTest::newRow("cross-site") << xml << true << QByteArray("Sec-Fetch-Site") << QByteArray("cross-site") << 403;
        QTest::newRow("origem permitida")
            << xml << true << QByteArray("Origin") << QByteArray("http://intranet:8000") << 200;
        QTest::newRow("programa") << xml << true << n << n << 200;
    }
    void PedidosDeNavegadorNaoMudamNada()
    {
        QFETCH(QByteArray, tipo);
        QFETCH(bool, comAcao);
        QFETCH(QByteArray, cabecalho);
        QFETCH(QByteArray, valor);
        QFETCH(int, status);
        const QString ns = QStringLiteral("http://www.quarrix.com.br/WebData");
        const QString tabela
            = QStringLiteral("Forjada%1").arg(QTest::currentDataTag()).remove(QRegularExpression("\\W"));
        http::Opcoes o;
        if (comAcao)
            o.cabecalhos << qMakePair(QByteArray("SOAPAction"),
                                      '"' + soap::AcaoPadrao(ns, QStringLiteral("ExecSql")).toUtf8() + '"');
        if (!cabecalho.isEmpty())
            o.cabecalhos << qMakePair(cabecalho, valor);
        const QByteArray corpo
            = soap::Envelope(ns,
                             QStringLiteral("ExecSql"),
                             {{QStringLiteral("strSql"), QStringLiteral("CREATE TABLE %1 (x)").arg(tabela)},
                              {QStringLiteral("strErrMsg"), QString()}});
        const http::RespostaHttp r = http::Post(url, corpo, tipo, o);
        QVERIFY2(r.ok, qPrintable(r.erro));
        QCOMPARE(r.status, status);

        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        QVERIFY(d.OpenConnection(MontarConnStrAccess(dir.filePath(QStringLiteral("web.db")), {}, {}), true, false));
        RecordsetPtr rs;
        QVERIFY(d.OpenSchema(2, rs, QString(), QStringLiteral("TABLE")));
        QStringList tabelas;
        for (; !rs->Eof(); rs->MoveNext())
            tabelas << rs->Valor(QStringLiteral("TABLE_NAME")).toString();
        QCOMPARE(tabelas.contains(tabela), status == 200);
    }

    // The string published, as the program prints it and as its failure says it: no password.
    void SenhaNaoApareceNaSaida_data()
    {
        QTest::addColumn<QString>("arquivo");
        QTest::addColumn<int>("codigo");
        QTest::newRow("publicado") << "web.db" << -1;
        QTest::newRow("falha ao abrir") << "nao-existe.db" << 1;
    }
    void SenhaNaoApareceNaSaida()
    {
        QFETCH(QString, arquivo);
        QFETCH(int, codigo);
        QProcess p;
        p.start(Caminho(),
                {MontarConnStrAccess(dir.filePath(arquivo), QStringLiteral("Admin"), QStringLiteral("segredo")),
                 QStringLiteral("127.0.0.1:0")});
        QByteArray saida;
        if (codigo < 0) { // published: read until the address, then stopped
            while (!saida.contains(".asmx") && p.waitForReadyRead(10000))
                saida += p.readAllStandardOutput();
            p.kill();
        }
        p.waitForFinished();
        if (codigo >= 0)
            QCOMPARE(p.exitCode(), codigo);
        saida += p.readAllStandardOutput() + p.readAllStandardError();
        QVERIFY2(saida.contains("Database Password=***;"), saida.constData());
        QVERIFY2(!saida.contains("segredo"), saida.constData());
    }

    // The address announced is the one typed, with the port chosen.
    void EnderecoAnunciadoComoDado()
    {
        QProcess p;
        p.start(Caminho(), {dir.filePath(QStringLiteral("web.db")), QStringLiteral("localhost:0")});
        QByteArray saida;
        while (!saida.contains(".asmx") && p.waitForReadyRead(10000))
            saida += p.readAllStandardOutput();
        p.kill();
        p.waitForFinished();
        QVERIFY2(QRegularExpression(QStringLiteral("em http://localhost:[1-9]\\d*/WebData\\.asmx"))
                     .match(QString::fromUtf8(saida))
                     .hasMatch(),
                 saida.constData());
        QVERIFY2(saida.contains("sem chave de acesso: qualquer usuário local pode executar SQL"), saida.constData());
    }

    // With --chave, nothing is served to a request without the key; without one, the service stays on
    // this machine unless --sem-chave says otherwise.
    void ChaveDeAcesso()
    {
        QFile f(dir.filePath(QStringLiteral("chave.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("k3y-de-teste\n");
        f.close();
        QProcess p;
        p.start(Caminho(),
                {dir.filePath(QStringLiteral("web.db")),
                 QStringLiteral("127.0.0.1:0"),
                 QStringLiteral("--chave"),
                 f.fileName()});
        QByteArray saida;
        while (!saida.contains("Chave de acesso exigida") && p.waitForReadyRead(10000))
            saida += p.readAllStandardOutput();
        const QRegularExpressionMatch m
            = QRegularExpression(QStringLiteral("(http://127\\.0\\.0\\.1:\\d+/WebData\\.asmx)"))
                  .match(QString::fromUtf8(saida));
        QVERIFY2(m.hasMatch(), saida.constData());
        const QString comChave = m.captured(1) + QStringLiteral("?wsdl");
        const http::RespostaHttp sem = http::Get(comChave);
        http::Opcoes o;
        o.cabecalhos = {{"Authorization", "Bearer k3y-de-teste"}};
        const http::RespostaHttp com = http::Get(comChave, o);
        p.kill();
        p.waitForFinished();
        QCOMPARE(sem.status, 401);
        QCOMPARE(com.status, 200);

        QProcess aberto;
        aberto.start(Caminho(), {dir.filePath(QStringLiteral("web.db")), QStringLiteral("0.0.0.0:0")});
        QVERIFY(aberto.waitForFinished());
        QCOMPARE(aberto.exitCode(), 2);
        QVERIFY(aberto.readAllStandardError().contains("--sem-chave"));
    }

    void Ajuda()
    {
        QProcess p;
        p.start(Caminho(), {QStringLiteral("--help")});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardOutput().contains("quarrix-webservice ORIGEM [ENDERECO:PORTA] [CLASSE]"));
        p.start(Caminho(), {dir.filePath(QStringLiteral("nao-existe.db"))});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 1);
    }
};
QUARRIX_TESTE(tst_ProgramaWebService);
#include "tst_ProgramaWebService.moc"
