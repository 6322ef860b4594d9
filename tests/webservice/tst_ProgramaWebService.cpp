#include "bancoWeb.h"
#include "connections/clsAmbienteDados.h"
#include "platform/mdlHttp.h"
#include "platform/mdlSoap.h"
#include "support/registroTestes.h"

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
        programa.start(
            Caminho(),
            {dir.filePath(QStringLiteral("web.db")), QStringLiteral("127.0.0.1:0"), QStringLiteral("WebData")});
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
