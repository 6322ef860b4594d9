#include "gabarito.h"
#include "support/registroTestes.h"
#include "webservice/mdlWebServiceGen.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace webservicegen;

class tst_mdlWebServiceGen : public QObject {
    Q_OBJECT
private slots:
    void PaginaIgualAoGabarito_data()
    {
        QTest::addColumn<QString>("connStr");
        QTest::addColumn<bool>("sql");
        QTest::addColumn<QString>("golden");
        QTest::newRow("access, valores iniciais")
            << ConnStrAccess(QStringLiteral("F:\\YourSitePath\\WebData\\WebData.mdb")) << false
            << "WebData_Access.asmx";
        QTest::newRow("sql server, senha vazia")
            << ConnStrSql(QStringLiteral("SRV01\\SQL2000"), QStringLiteral("Vendas"), QStringLiteral("sa"), QString())
            << true << "WebData_Sql.asmx";
    }
    void PaginaIgualAoGabarito()
    {
        QFETCH(QString, connStr);
        QFETCH(bool, sql);
        QFETCH(QString, golden);
        DadosWebService d{QStringLiteral("WebData"),
                          QStringLiteral("http://www.YourSite.com/WebData"),
                          connStr,
                          QStringLiteral("1.26f"),
                          sql};
        COMPARAR_GABARITO(GerarPagina(d), golden);
    }

    void ConnStrSqlComSenha()
    {
        // A value with ";" is quoted, so the page's connection cannot be pointed elsewhere.
        QCOMPARE(ConnStrSql("srv", "db", "u", "p;x"),
                 QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;Data Source=srv;"
                                "Initial Catalog=db;User ID=u;Password=\"p;x\""));
    }

    void TextoVb_data()
    {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("vb");
        QTest::newRow("comum") << "http://x/WebData"
                               << "\"http://x/WebData\"";
        QTest::newRow("vazio") << ""
                               << "\"\"";
        QTest::newRow("aspas dobradas") << "Password=\"a b\""
                                        << "\"Password=\"\"a b\"\"\"";
        QTest::newRow("so aspas") << "\""
                                  << "\"\"\"\"";
        QTest::newRow("acento") << "C:\\Configuração\\a.mdb"
                                << "\"C:\\Configura\" & ChrW(231) & ChrW(227) & \"o\\a.mdb\"";
        QTest::newRow("acento no fim") << "é"
                                       << "\"\" & ChrW(233)";
        QTest::newRow("quebra de linha") << "a\r\nb"
                                         << "\"a\" & ChrW(13) & ChrW(10) & \"b\"";
    }
    void TextoVb()
    {
        QFETCH(QString, valor);
        QFETCH(QString, vb);
        QCOMPARE(webservicegen::TextoVb(valor), vb);
    }

    void ValoresComAspasFicamStringsValidas()
    {
        DadosWebService d{QStringLiteral("WebData"),
                          QStringLiteral("urn:\"ns\""),
                          QStringLiteral("Provider=SQLOLEDB.1;Password=a\"b"),
                          QStringLiteral("1.26f"),
                          true};
        const QStringList l = GerarPagina(d);
        QCOMPARE(l.value(6), QStringLiteral("<WebService(Namespace:=\"urn:\"\"ns\"\"\")> _"));
        QCOMPARE(l.value(11), QStringLiteral("      ConnectionString = \"Provider=SQLOLEDB.1;Password=a\"\"b\""));
        // Only the values change: every other line is the fixed text.
        for (const QString& linha : l)
            QVERIFY2(linha.toLatin1() == linha.toUtf8(), qPrintable(linha));
    }

    void NomeClasse_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("valido");
        QTest::newRow("inicial") << "WebData" << true;
        QTest::newRow("sublinhado e digitos") << "_Web_2" << true;
        QTest::newRow("vazio") << "" << false;
        QTest::newRow("so sublinhado") << "_" << false;
        QTest::newRow("comeca por digito") << "2Web" << false;
        QTest::newRow("espaco") << "Web Data" << false;
        QTest::newRow("aspas") << "Web\"Data" << false;
        QTest::newRow("ponto") << "Web.Data" << false;
        QTest::newRow("acento") << "Serviço" << false;
        QTest::newRow("palavra reservada") << "class" << false;
        QTest::newRow("palavra reservada 2") << "Property" << false;
    }
    void NomeClasse()
    {
        QFETCH(QString, nome);
        QFETCH(bool, valido);
        QCOMPARE(NomeClasseValido(nome), valido);
    }

    void GravarSubstituiArquivoComCrLf()
    {
        QTemporaryDir pasta;
        const QString arq = pasta.filePath(QStringLiteral("WebData.asmx"));
        {
            QFile velho(arq);
            QVERIFY(velho.open(QIODevice::WriteOnly));
            velho.write(QByteArray(5000, 'x'));
        }
        QString erro;
        QVERIFY(GravarPagina(arq, {QStringLiteral("a"), QString(), QStringLiteral("End Class")}, &erro));
        QVERIFY(erro.isEmpty());
        QFile f(arq);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("a\r\n\r\nEnd Class\r\n"));
        QCOMPARE(QDir(pasta.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"WebData.asmx"});
    }

    void GravarEmPastaInvalidaFalhaSemArquivo()
    {
        QTemporaryDir pasta;
        // A file stands where the folder should be: no one, not even the superuser, can write there.
        const QString bloqueio = pasta.filePath(QStringLiteral("naoPasta"));
        {
            QFile b(bloqueio);
            QVERIFY(b.open(QIODevice::WriteOnly));
        }
        const QString arq = bloqueio + QStringLiteral("/WebData.asmx");
        QString erro;
        QVERIFY(!GravarPagina(arq, {QStringLiteral("End Class")}, &erro));
        QVERIFY2(erro.startsWith(QStringLiteral("Não foi possível gravar o arquivo \"%1\".\n").arg(arq)),
                 qPrintable(erro));
        QVERIFY(erro.size() > arq.size() + 40); // the system's reason follows
        QCOMPARE(QDir(pasta.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"naoPasta"});
    }
};
QUARRIX_TESTE(tst_mdlWebServiceGen);
#include "tst_mdlWebServiceGen.moc"
