#include "platform/clsConnStr.h"
#include "platform/clsMotor.h"
#include "platform/clsMotorOdbc.h"
#include "support/registroTestes.h"

#include <QTest>

class tst_clsConnStr : public QObject {
    Q_OBJECT
private slots:
    void Analisar_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("chave");
        QTest::addColumn<QString>("valor");
        QTest::newRow("branco apos =") << "Provider=Microsoft.Jet.OLEDB.4.0; Data Source= /tmp/a b.db;User Id=;"
                                       << "data source"
                                       << "/tmp/a b.db";
        QTest::newRow("chave sem caixa") << "PROVIDER=SQLOLEDB.1;INITIAL CATALOG=Loja"
                                         << "Initial Catalog"
                                         << "Loja";
        QTest::newRow("aspas com ponto e virgula") << "Password=\"a;b=c\";User ID=sa"
                                                   << "password"
                                                   << "a;b=c";
        QTest::newRow("aspas dobradas") << "Password=\"x\"\"y\""
                                        << "Password"
                                        << "x\"y";
        QTest::newRow("apostrofos") << "Password='it''s'"
                                    << "Password"
                                    << "it's";
        QTest::newRow("igual duplo na chave") << "a==b=1"
                                              << "a=b"
                                              << "1";
        QTest::newRow("ultima repeticao vale") << "Data Source=x;Data Source=y"
                                               << "Data Source"
                                               << "y";
        QTest::newRow("chaves vazias") << ";;Provider = MSDASQL ;"
                                       << "Provider"
                                       << "MSDASQL";
        QTest::newRow("senha jet") << "JET OLEDB:Database Password=s3;Persist Security Info=True;"
                                   << "Jet OLEDB:Database Password"
                                   << "s3";
    }
    void Analisar()
    {
        QFETCH(QString, texto);
        QFETCH(QString, chave);
        QFETCH(QString, valor);
        clsConnStr cs(texto);
        QCOMPARE(cs.Valor(chave), valor);
        // What Montar writes reads back the same.
        clsConnStr volta(cs.Montar());
        QCOMPARE(volta.Valor(chave), valor);
    }

    void AspaAbertaEhErro()
    {
        clsConnStr cs;
        QVERIFY(!cs.Analisar("Provider=SQLOLEDB;Password=\"abc"));
        ErroDados e;
        QVERIFY(!AbrirMotor("Provider=SQLOLEDB;Password=\"abc", true, 1, e));
        QVERIFY(e.descricao.contains("malformada"));
    }

    void MotorPeloProvider_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("motor");
        QTest::addColumn<QString>("provider");
        QTest::newRow("jet") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x" << int(TipoMotor::ArquivoJet)
                             << "Microsoft.Jet.OLEDB.4.0";
        QTest::newRow("ace") << "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=x" << int(TipoMotor::ArquivoJet)
                             << "Microsoft.ACE.OLEDB.12.0";
        QTest::newRow("sqloledb") << "Provider=SQLOLEDB.1;Data Source=x" << int(TipoMotor::SqlServer) << "SQLOLEDB.1";
        QTest::newRow("sqlncli") << "Provider=SQLNCLI11;Data Source=x" << int(TipoMotor::SqlServer) << "SQLNCLI11";
        QTest::newRow("msdasql") << "Provider=MSDASQL.1;DSN=x" << int(TipoMotor::Odbc) << "MSDASQL.1";
        QTest::newRow("so driver") << "Driver={PostgreSQL Unicode};Server=x" << int(TipoMotor::Odbc) << "MSDASQL";
        QTest::newRow("desconhecido") << "Provider=OraOLEDB.Oracle;Data Source=x" << int(TipoMotor::Nenhum)
                                      << "OraOLEDB.Oracle";
    }
    void MotorPeloProvider()
    {
        QFETCH(QString, texto);
        QFETCH(int, motor);
        QFETCH(QString, provider);
        QString p;
        QCOMPARE(int(MotorDoProvider(clsConnStr(texto), p)), motor);
        QCOMPARE(p, provider);
    }

    void ProviderDesconhecidoRecusado()
    {
        ErroDados e;
        QVERIFY(!AbrirMotor("Provider=OraOLEDB.Oracle;Data Source=x", true, 1, e));
        QVERIFY(e.descricao.contains("OraOLEDB.Oracle"));
    }

    void MascararSenha_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("mostrado");
        QTest::newRow("oledb") << "Provider=SQLOLEDB.1;Password=segredo;User ID=sa;Data Source=srv"
                               << "Provider=SQLOLEDB.1;Password=***;User ID=sa;Data Source=srv";
        QTest::newRow("chave sem caixa, no fim") << "Driver={PostgreSQL Unicode};Uid=q;pWD=segredo"
                                                 << "Driver={PostgreSQL Unicode};Uid=q;pWD=***";
        QTest::newRow("brancos em volta do =") << "UID=sa; PWD = segredo ;Server=x"
                                               << "UID=sa; PWD = *** ;Server=x";
        QTest::newRow("chaves com ; dentro") << "Driver={x};PWD={se;gr}}edo};Server={a;b}"
                                             << "Driver={x};PWD=***;Server={a;b}";
        QTest::newRow("aspas") << "Password=\"se;gre\"\"do\";Data Source=x"
                               << "Password=***;Data Source=x";
        QTest::newRow("apostrofos") << "PASSWORD='se;gredo' ;Data Source=x"
                                    << "PASSWORD=*** ;Data Source=x";
        QTest::newRow("jet")
            << "Data Source= /a.mdb;User Id=admin;JET OLEDB:Database Password=segredo;Persist Security Info=True;"
            << "Data Source= /a.mdb;User Id=admin;JET OLEDB:Database Password=***;Persist Security Info=True;";
        QTest::newRow("vazia") << "Password=;Data Source=x"
                               << "Password=***;Data Source=x";
        QTest::newRow("dentro de outra cadeia") << "Provider=MSDASQL;Extended Properties=\"DSN=v;UID=sa;PWD=segredo\""
                                                << "Provider=MSDASQL;Extended Properties=\"DSN=v;UID=sa;PWD=***\"";
        QTest::newRow("aspa aberta") << "Server=x;Pwd=\"segredo;Uid=y"
                                     << "Server=x;Pwd=***";
        QTest::newRow("sem senha") << ";Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a b.mdb;User Id=admin;a==b=c"
                                   << ";Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a b.mdb;User Id=admin;a==b=c";
    }
    void MascararSenha()
    {
        QFETCH(QString, texto);
        QFETCH(QString, mostrado);
        QCOMPARE(::MascararSenha(texto), mostrado);
        // The masked text comes back whole; typing on after the mask lengthens the password.
        QCOMPARE(::DesmascararSenha(mostrado, texto), texto);
    }
    void DesmascararSenhaDigitada()
    {
        const QString original = QStringLiteral("Uid=q;Pwd=segredo;Server=x");
        QCOMPARE(::DesmascararSenha(QStringLiteral("Uid=q;Pwd=***1;Server=x"), original),
                 QStringLiteral("Uid=q;Pwd=segredo1;Server=x"));
        QCOMPARE(::DesmascararSenha(QStringLiteral("Uid=q;Pwd=nova;Server=y"), original),
                 QStringLiteral("Uid=q;Pwd=nova;Server=y"));
        QCOMPARE(::DesmascararSenha(QStringLiteral("Uid=q;Pwd=***"), QStringLiteral("Uid=q")),
                 QStringLiteral("Uid=q;Pwd=***"));
    }

    void OdbcPersonalizado()
    {
        QCOMPARE(clsMotorOdbc::TraduzirOdbc(clsConnStr(
                     "Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5;Uid=q;Pwd=\"a;b\"")),
                 QStringLiteral("Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5;Uid=q;Pwd={a;b};"));
        QCOMPARE(clsMotorOdbc::TraduzirOdbc(clsConnStr("Provider=MSDASQL.1;Persist Security Info=False;"
                                                       "User ID=u;Password=p;Data Source=MeuDsn")),
                 QStringLiteral("UID=u;PWD=p;DSN=MeuDsn;"));
        QCOMPARE(clsMotorOdbc::TraduzirOdbc(clsConnStr("Provider=MSDASQL.1;Extended Properties=\"DSN=x;UID=y\"")),
                 QStringLiteral("DSN=x;UID=y"));
    }
};
QUARRIX_TESTE(tst_clsConnStr);
#include "tst_clsConnStr.moc"
