#include "bancoWeb.h"
#include "connections/clsAmbienteDados.h"
#include "connections/clsWebServiceData.h"
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlHttp.h"
#include "platform/mdlSoap.h"
#include "support/clsPromptRoteiro.h"
#include "support/portaLocal.h"
#include "support/registroTestes.h"
#include "webservice/clsWebServiceHost.h"

#include <QElapsedTimer>
#include <QTest>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// The client against our host over loopback, with an SQLite file behind it; and against answers
// of other shapes (the data set as an ASP.NET host writes it, broken and hostile answers).
class tst_clsWebServiceData : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<clsWebServiceHost> host;
    QString url;

    RecordsetPtr Abrir(const QString& sql)
    {
        clsWebServiceData c;
        c.setWebServiceUrl(url);
        RecordsetPtr rs;
        if (!c.OpenDataset(rs, sql))
            qWarning("%s", qPrintable(c.ErrMsg()));
        return rs;
    }

private slots:
    void initTestCase()
    {
        host = std::make_unique<clsWebServiceHost>(CriarBancoWeb(dir), QStringLiteral("WebData"));
        QString erro;
        QVERIFY2(host->Iniciar(QStringLiteral("127.0.0.1"), 0, &erro), qPrintable(erro));
        url = QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(host->Porta());
    }
    void cleanupTestCase() { host.reset(); }

    void WebServiceUrl_data()
    {
        QTest::addColumn<QString>("dado");
        QTest::addColumn<QString>("guardado");
        QTest::newRow("sem") << "http://h/WebData.asmx"
                             << "http://h/WebData.asmx?wsdl";
        QTest::newRow("minusculas") << "http://h/WebData.asmx?wsdl"
                                    << "http://h/WebData.asmx?wsdl";
        QTest::newRow("maiusculas") << "http://h/WebData.asmx?WSDL"
                                    << "http://h/WebData.asmx?WSDL";
        QTest::newRow("outra consulta") << "http://h/a.asmx?x=1"
                                        << "http://h/a.asmx?x=1?wsdl";
    }
    void WebServiceUrl()
    {
        QFETCH(QString, dado);
        QFETCH(QString, guardado);
        clsWebServiceData c;
        c.setWebServiceUrl(dado);
        QCOMPARE(c.WebServiceUrl(), guardado);
    }

    void ClsDataAbreOEnderecoDoHost()
    {
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        QVERIFY2(d.OpenConnection(url, true, false), qPrintable(d.ErrMsg()));
        QCOMPARE(d.ConnectionType(), 8);
        QCOMPARE(d.Provider(), QStringLiteral("WebService"));
        QCOMPARE(d.RetValue(QStringLiteral("SELECT COUNT(*) FROM Tipos")), QVariant(3));

        RecordsetPtr rs;
        QVERIFY(d.OpenSchema(2, rs));
        QStringList tabelas;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            tabelas << rs->Valor(QStringLiteral("TABLE_NAME")).toString();
        QVERIFY2(tabelas.contains(QStringLiteral("Tipos")) && tabelas.contains(QStringLiteral("O'Brien]x")),
                 qPrintable(tabelas.join(u',')));

        // A name with an apostrophe and a bracket reaches the catalog whole.
        QVERIFY2(d.OpenSchema(4, rs, QStringLiteral("O'Brien]x")), qPrintable(d.ErrMsg()));
        QStringList colunas;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            colunas << rs->Valor(QStringLiteral("COLUMN_NAME")).toString();
        QCOMPARE(colunas, (QStringList{"Codigo", "Texto"}));
        QVERIFY(d.OpenSchema(8, rs, QStringLiteral("Tipos")));
        QCOMPARE(rs->Valor(QStringLiteral("COLUMN_NAME")), QVariant(QStringLiteral("Id")));

        // Statements: a row is added, and one sent for rows comes back as none.
        RecordsetPtr r2;
        long n = 0;
        QVERIFY(d.ExecSql(QStringLiteral("INSERT INTO \"O'Brien]x\" VALUES (2, NULL)"), false, true, r2, n));
        QVERIFY(!r2);
        QCOMPARE(d.RetValue(QStringLiteral("SELECT COUNT(*) FROM \"O'Brien]x\"")), QVariant(2));
        QVERIFY(d.ExecSql(QStringLiteral("DELETE FROM \"O'Brien]x\" WHERE Codigo = 2"), false));
    }

    // SQLite keeps every text in Unicode: the catalog gives its columns as such, long text without a
    // length, as the catalog of a file database does.
    void CatalogoDeColunasDeTexto()
    {
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        QVERIFY(d.OpenConnection(MontarConnStrAccess(dir.filePath(QStringLiteral("web.db")), {}, {}), true, false));
        QVERIFY(d.ExecSql(
            QStringLiteral("CREATE TABLE Textos (Curto VARCHAR(50), Fixo CHAR(3), Nacional NVARCHAR(20), Longo TEXT, "
                           "Numero INTEGER)"),
            false));
        clsWebServiceData c;
        c.setWebServiceUrl(url);
        RecordsetPtr rs;
        const bool ok = c.OpenSchema(rs, 4, QStringLiteral("Textos"), QString(), QString(), QString());
        QVERIFY(d.ExecSql(QStringLiteral("DROP TABLE Textos"), false));
        QVERIFY2(ok, qPrintable(c.ErrMsg()));
        QStringList lidos;
        rs->setSort(QStringLiteral("ORDINAL_POSITION"));
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            lidos << QStringLiteral("%1 %2 %3")
                         .arg(rs->Valor(QStringLiteral("COLUMN_NAME")).toString(),
                              rs->Valor(QStringLiteral("DATA_TYPE")).toString(),
                              rs->Valor(QStringLiteral("CHARACTER_MAXIMUM_LENGTH")).toString());
        QCOMPARE(lidos, (QStringList{"Curto 130 50", "Fixo 130 3", "Nacional 130 20", "Longo 130 0", "Numero 3 "}));
    }

    void TiposNulosETextoForaDaTabela()
    {
        const RecordsetPtr rs = Abrir(QStringLiteral("SELECT * FROM Tipos ORDER BY Id"));
        QVERIFY(rs);
        QCOMPARE(rs->RecordCount(), 3);
        QCOMPARE(rs->AbsolutePosition(), 1);
        struct Esperado {
            const char* nome;
            int tipo;
            qint64 tamanho;
        };
        const Esperado campos[] = {{"Id", ado::adBigInt, 8},
                                   {"Pequeno", ado::adBigInt, 8},
                                   {"Nome", ado::adVarWChar, 8000},
                                   {"Ativo", ado::adBoolean, 2},
                                   {"Preco", ado::adVarWChar, 255},
                                   {"Quando", ado::adVarWChar, 255},
                                   {"Foto", ado::adVarWChar, 255}};
        QCOMPARE(rs->FieldCount(), 7);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(rs->InfoCampo(i).nome, QLatin1String(campos[i].nome));
            QCOMPARE(rs->InfoCampo(i).tipo, campos[i].tipo);
            QCOMPARE(rs->InfoCampo(i).tamanho, campos[i].tamanho);
        }
        QCOMPARE(rs->Valor(0), QVariant(1));
        QCOMPARE(rs->Valor(1), QVariant(7));
        QCOMPARE(rs->Valor(2), QVariant(QStringLiteral("Ana & <Cia>")));
        QCOMPARE(rs->Valor(3), QVariant(true));
        QCOMPARE(rs->Valor(4), QVariant(QStringLiteral("1.5")));
        QCOMPARE(rs->Valor(5), QVariant(QStringLiteral("2024-05-01T10:20:30")));
        QCOMPARE(rs->Valor(6), QVariant(QStringLiteral("AP8=")));
        rs->MoveNext();
        QCOMPARE(rs->Valor(1), QVariant(-8));
        QVERIFY(rs->Fields(2).IsNull());
        QCOMPARE(rs->Valor(3), QVariant(false));
        for (int i = 4; i < 7; ++i)
            QVERIFY(rs->Fields(i).IsNull());
        rs->MoveNext();
        QVERIFY(rs->Fields(1).IsNull());
        QVERIFY(!rs->Fields(2).IsNull()); // an empty text is not a null
        QCOMPARE(rs->Valor(2).toString(), QString());
        // 300 bytes arrive as their 400 characters of base64, whole: a column's defined size
        // describes it and never cuts a value.
        QCOMPARE(rs->Valor(6).toString(), QString(400, u'A'));
        QCOMPARE(QByteArray::fromBase64(rs->Valor(6).toString().toLatin1()), QByteArray(300, '\0'));
    }

    // A column is typed by its declaration, never by its values: every integer of SQLite is 64-bit,
    // so a small value and one past 2^31 in the same column come back as the same integer type.
    void TipoPelaDeclaracao_data()
    {
        QTest::addColumn<QString>("declarado");
        QTest::addColumn<QString>("valores");
        QTest::addColumn<QString>("tipoXs");
        QTest::addColumn<int>("tipoLido");
        QTest::addColumn<QVariantList>("lidos");
        const QVariantList grandes{qlonglong(5), qlonglong(4294967296LL) + 7};
        QTest::newRow("INTEGER") << "INTEGER"
                                 << "(5), (4294967303)"
                                 << "xs:long" << int(ado::adBigInt) << grandes;
        QTest::newRow("INTEGER pequeno") << "INTEGER"
                                         << "(5), (-6)"
                                         << "xs:long" << int(ado::adBigInt)
                                         << QVariantList{qlonglong(5), qlonglong(-6)};
        QTest::newRow("SMALLINT") << "SMALLINT"
                                  << "(5), (4294967303)"
                                  << "xs:long" << int(ado::adBigInt) << grandes;
        QTest::newRow("BIGINT extremos") << "BIGINT"
                                         << "(-9223372036854775808), (9223372036854775807)"
                                         << "xs:long" << int(ado::adBigInt)
                                         << QVariantList{std::numeric_limits<qlonglong>::min(),
                                                         std::numeric_limits<qlonglong>::max()};
        QTest::newRow("sem declaracao") << ""
                                        << "(5), (4294967303)"
                                        << "xs:long" << int(ado::adBigInt) << grandes;
        QTest::newRow("texto num INTEGER")
            << "INTEGER"
            << "(5), ('cinco')"
            << "xs:string" << int(ado::adVarWChar) << QVariantList{QStringLiteral("5"), QStringLiteral("cinco")};
        QTest::newRow("BOOLEAN") << "BOOLEAN"
                                 << "(1), (0)"
                                 << "xs:boolean" << int(ado::adBoolean) << QVariantList{true, false};
    }
    void TipoPelaDeclaracao()
    {
        QFETCH(QString, declarado);
        QFETCH(QString, valores);
        QFETCH(QString, tipoXs);
        QFETCH(int, tipoLido);
        QFETCH(QVariantList, lidos);
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        QVERIFY(d.OpenConnection(MontarConnStrAccess(dir.filePath(QStringLiteral("web.db")), {}, {}), true, false));
        QVERIFY(d.ExecSql(QStringLiteral("CREATE TABLE Declarados (Ordem INTEGER PRIMARY KEY, V %1)").arg(declarado),
                          false));
        QVERIFY(d.ExecSql(QStringLiteral("INSERT INTO Declarados (V) VALUES %1").arg(valores), false));
        const QString sql = QStringLiteral("SELECT V FROM Declarados ORDER BY Ordem");

        // The type the host writes in the data set's schema.
        const QString ns = QStringLiteral("http://www.quarrix.com.br/WebData");
        http::Opcoes o;
        o.cabecalhos << qMakePair(QByteArray("SOAPAction"),
                                  '"' + soap::AcaoPadrao(ns, QStringLiteral("OpenDataset")).toUtf8() + '"');
        const http::RespostaHttp h
            = http::Post(url,
                         soap::Envelope(ns,
                                        QStringLiteral("OpenDataset"),
                                        {{QStringLiteral("strSql"), sql}, {QStringLiteral("strErrMsg"), QString()}}),
                         "text/xml; charset=utf-8",
                         o);
        const soap::RespostaSoap lida = soap::LerResposta(h.corpo);
        const soap::ValorSoap* v = lida.Valor(QStringLiteral("OpenDatasetResult"));
        // Our client reads the same values back, of the type the schema gives.
        const RecordsetPtr rs = Abrir(sql);
        QVERIFY(d.ExecSql(QStringLiteral("DROP TABLE Declarados"), false));
        QVERIFY2(v && v->dataSet && !v->dataSet->tabelas.isEmpty(), h.corpo.constData());
        QCOMPARE(v->dataSet->tabelas[0].colunas.value(0).tipo, tipoXs);
        QVERIFY(rs);
        QCOMPARE(rs->InfoCampo(0).tipo, tipoLido);
        QVariantList r;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            r << rs->Valor(0);
        QCOMPARE(r.size(), lidos.size());
        for (int i = 0; i < r.size(); ++i) {
            QCOMPARE(r[i].typeId(), lidos[i].typeId());
            QCOMPARE(r[i], lidos[i]);
        }
    }

    // A host that asks a key: the client sends none until it is refused, then asks the user for it
    // (the login window's password), sends it with the description and every call, keeps it for
    // the run and, when asked to, in the settings; a wrong remembered key is forgotten.
    void ChaveDeAcessoPedidaERelembrada()
    {
        clsWebServiceHost fechado(MontarConnStrAccess(dir.filePath(QStringLiteral("web.db")), {}, {}),
                                  QStringLiteral("WebData"));
        fechado.ExigirChave("k3y-de-teste");
        QString erro;
        QVERIFY2(fechado.Iniciar(QStringLiteral("127.0.0.1"), 0, &erro), qPrintable(erro));
        const QString endereco = QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(fechado.Porta());
        const QString ajuste = QStringLiteral("WebChave:") + endereco;

        auto roteiro = std::make_unique<clsPromptRoteiro>();
        clsPromptRoteiro& prompt = *roteiro;
        clsAmbienteDados ambiente{std::move(roteiro)};
        QStringList respostas{QStringLiteral("errada"), QStringLiteral("k3y-de-teste")};
        bool lembrar = true;
        prompt.login = [&](QString&, QString& senha, bool& l) {
            if (respostas.isEmpty())
                return false;
            senha = respostas.takeFirst();
            l = lembrar;
            return true;
        };
        {
            clsData d(ambiente);
            QVERIFY2(d.OpenConnection(endereco, true, false), qPrintable(d.ErrMsg()));
            QCOMPARE(prompt.loginsPedidos, 2); // the wrong key was asked again
            QCOMPARE(d.RetValue(QStringLiteral("SELECT COUNT(*) FROM Tipos")), QVariant(qlonglong(3)));
        }
        QCOMPARE(Desembaralhar(settings::GetSetting(QStringLiteral("AutoLogin"), ajuste)),
                 QStringLiteral("k3y-de-teste"));
        {
            clsData d(ambiente); // the same run: the key is not asked again
            QVERIFY(d.OpenConnection(endereco, true, false));
            QCOMPARE(prompt.loginsPedidos, 2);
        }
        {
            clsAmbienteDados outro{std::unique_ptr<clsPrompt>()}; // a later run: the remembered key
            clsData d(outro);
            QVERIFY2(d.OpenConnection(endereco, true, false), qPrintable(d.ErrMsg()));
        }

        // A remembered key the host no longer takes is forgotten; giving up leaves a clear failure.
        settings::SaveSetting(QStringLiteral("AutoLogin"), ajuste, Embaralhar(QStringLiteral("velha")));
        clsAmbienteDados outro{std::unique_ptr<clsPrompt>()};
        clsData d(outro);
        QVERIFY(!d.OpenConnection(endereco, true, false));
        QVERIFY2(d.ErrMsg().contains(QStringLiteral("chave de acesso")), qPrintable(d.ErrMsg()));
        QVERIFY(settings::GetSetting(QStringLiteral("AutoLogin"), ajuste).isEmpty());
        // Without a key nothing reaches the database.
        clsWebServiceData c;
        c.setWebServiceUrl(endereco);
        QVERIFY(!c.ExecSql(QStringLiteral("CREATE TABLE Forjada (x)")));
        QVERIFY(c.ChaveRecusada());
    }

    void TextoComQuebraDeLinhaInteiro()
    {
        const RecordsetPtr rs = Abrir(QStringLiteral("SELECT Texto FROM \"O'Brien]x\""));
        QVERIFY(rs);
        QCOMPARE(rs->Valor(0), QVariant(QStringLiteral("linha 1\r\nlinha 2")));
    }

    void ResultadoVazioTemColunas()
    {
        const RecordsetPtr rs = Abrir(QStringLiteral("SELECT Id, Nome FROM Tipos WHERE Id > 100"));
        QVERIFY(rs);
        QCOMPARE(rs->State(), int(ado::adStateOpen));
        QCOMPARE(rs->FieldCount(), 2);
        QCOMPARE(rs->RecordCount(), 0);
        QVERIFY(rs->Eof() && rs->Bof());
    }

    void ErrosDoServico_data()
    {
        QTest::addColumn<QString>("metodo");
        QTest::addColumn<QString>("sql");
        QTest::newRow("OpenDataset") << "OpenDataset"
                                     << "SELECT * FROM Nada";
        QTest::newRow("ExecSql") << "ExecSql"
                                 << "DELETE FROM Nada";
    }
    void ErrosDoServico()
    {
        QFETCH(QString, metodo);
        QFETCH(QString, sql);
        clsWebServiceData c;
        c.setWebServiceUrl(url);
        RecordsetPtr rs = std::make_shared<clsRecordset>();
        const bool ok = metodo == u"ExecSql" ? c.ExecSql(sql) : c.OpenDataset(rs, sql);
        QVERIFY(!ok);
        QVERIFY(!rs || metodo == u"ExecSql");
        // The service's text ("Err:…\r\nQuerie:…"), then the client's own "Querie:" line.
        QVERIFY2(c.ErrMsg().startsWith(QStringLiteral("Err:")), qPrintable(c.ErrMsg()));
        QVERIFY(c.ErrMsg().contains(QStringLiteral("no such table: Nada")));
        QVERIFY(c.ErrMsg().endsWith(QStringLiteral("\r\nQuerie:") + sql + QStringLiteral("\nQuerie:") + sql));
    }

    void SchemaSemSuporteNoServicoEWebErr()
    {
        clsWebServiceData c;
        c.setWebServiceUrl(url);
        RecordsetPtr rs;
        QVERIFY(!c.OpenSchema(rs, 512, QStringLiteral("Tipos"), QString(), QString(), QString()));
        QCOMPARE(c.ErrMsg(), QStringLiteral("WebErr: O WebService não devolveu um conjunto de dados."));
    }

    void EnderecoInacessivel()
    {
        // A port nobody listens on: refused at once.
        const QString morto = QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(PortaLocal(false).numero);
        clsWebServiceData c;
        c.setWebServiceUrl(morto);
        QCOMPARE(c.ConnectionType(), QString());
        QVERIFY2(c.ErrMsg().contains(QStringLiteral("Não foi possível conectar")), qPrintable(c.ErrMsg()));
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        QVERIFY(!d.OpenConnection(morto, true, false));
        QVERIFY(d.ErrMsg().contains(QStringLiteral("Não foi possivel acessar o WebService.")));
        QVERIFY(d.ErrMsg().endsWith(QStringLiteral("\nConnStr:") + morto));
    }

    void ServidorMudoEsgotaOTempo()
    {
        PortaLocal muda(true); // accepts connections, never answers
        clsWebServiceData c(1);
        c.setWebServiceUrl(QStringLiteral("http://127.0.0.1:%1/WebData.asmx").arg(muda.numero));
        const QString tipo = c.ConnectionType();
        muda.Fechar();
        QCOMPARE(tipo, QString());
        QVERIFY2(c.ErrMsg().contains(QStringLiteral("tempo de 1 segundos")), qPrintable(c.ErrMsg()));
    }

    // A service that sends every request back to itself: the client stops and says why.
    void RedirecionamentoSemFim_data()
    {
        QTest::addColumn<int>("status");
        for (int status : {301, 302, 303, 307, 308})
            QTest::addRow("%d", status) << status;
    }
    void RedirecionamentoSemFim()
    {
        QFETCH(int, status);
        httplib::Server srv;
        const int porta = srv.bind_to_any_port("127.0.0.1");
        const std::string url = "http://127.0.0.1:" + std::to_string(porta) + "/WebData.asmx";
        auto voltar = [url, status](const httplib::Request&, httplib::Response& res) { res.set_redirect(url, status); };
        srv.Get(".*", voltar);
        srv.Post(".*", voltar);
        std::thread linha([&] { srv.listen_after_bind(); });
        clsWebServiceData c;
        c.setWebServiceUrl(QString::fromStdString(url));
        const QString tipo = c.ConnectionType();
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        const bool abriu = d.OpenConnection(QString::fromStdString(url), true, false);
        srv.stop();
        linha.join();
        QCOMPARE(tipo, QString());
        QVERIFY2(c.ErrMsg().contains(QStringLiteral("redirecionamentos demais")), qPrintable(c.ErrMsg()));
        QVERIFY(!abriu);
        QVERIFY2(d.ErrMsg().contains(QStringLiteral("redirecionou a requisição")), qPrintable(d.ErrMsg()));
    }

    // A redirect is followed every time, keeping the method and body (GET after a 303).
    void RedirecionamentoSeguido_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("301") << 301 << "POST:corpo";
        QTest::newRow("302") << 302 << "POST:corpo";
        QTest::newRow("303") << 303 << "GET:";
        QTest::newRow("307") << 307 << "POST:corpo";
        QTest::newRow("308") << 308 << "POST:corpo";
    }
    void RedirecionamentoSeguido()
    {
        QFETCH(int, status);
        QFETCH(QString, esperado);
        httplib::Server srv;
        const int porta = srv.bind_to_any_port("127.0.0.1");
        srv.Post("/velho",
                 [status](const httplib::Request&, httplib::Response& res) { res.set_redirect("/novo", status); });
        auto eco = [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.method + ":" + req.body, "text/plain");
        };
        srv.Get("/novo", eco);
        srv.Post("/novo", eco);
        std::thread linha([&] { srv.listen_after_bind(); });
        int certos = 0;
        for (int i = 0; i < 20; ++i) {
            const http::RespostaHttp r
                = http::Post(QStringLiteral("http://127.0.0.1:%1/velho").arg(porta), "corpo", "text/plain");
            certos += r.ok && r.status == 200 && QString::fromUtf8(r.corpo) == esperado;
        }
        srv.stop();
        linha.join();
        QCOMPARE(certos, 20);
    }

    // The whole exchange ends at the time-out, however slowly the answer keeps trickling in.
    void RespostaLentaEsgotaOTempoTotal()
    {
        httplib::Server srv;
        const int porta = srv.bind_to_any_port("127.0.0.1");
        srv.Get("/lento", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain", [](size_t n, httplib::DataSink& sink) {
                if (n > 40)
                    return false;
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                sink.write("x", 1);
                return true;
            });
        });
        std::thread linha([&] { srv.listen_after_bind(); });
        http::Opcoes o;
        o.timeoutSegundos = 1;
        QElapsedTimer t;
        t.start();
        const http::RespostaHttp r = http::Get(QStringLiteral("http://127.0.0.1:%1/lento").arg(porta), o);
        const qint64 ms = t.elapsed();
        srv.stop();
        linha.join();
        QVERIFY(!r.ok);
        QVERIFY2(r.erro.contains("não terminou em 1 segundos"), qPrintable(r.erro));
        QVERIFY2(ms < 2500, qPrintable(QString::number(ms)));
    }

    void DataSetDeUmHostAspNet()
    {
        ServicoFixo s(FixtureSoap("resposta_itens.xml"));
        clsWebServiceData c;
        c.setWebServiceUrl(s.Url());
        RecordsetPtr rs;
        QVERIFY2(c.OpenDataset(rs, QStringLiteral("SELECT Id, Name FROM Items")), qPrintable(c.ErrMsg()));
        QCOMPARE(s.acao, QByteArray("\"http://www.YourSite.com/WebData/OpenDataset\""));
        QVERIFY(s.pedido.contains("<strSql>SELECT Id, Name FROM Items</strSql>"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->FieldCount(), 2);
        QCOMPARE(rs->Valor(QStringLiteral("Id")), QVariant(1));
        QVERIFY(rs->Fields(QStringLiteral("Name")).IsNull());
    }

    // The answer is read while it arrives: cut anywhere (inside tags, references and values), and
    // with a value longer than the reader looks ahead, the rows come back exactly.
    void DataSetLidoEnquantoChega_data()
    {
        QTest::addColumn<int>("pedaco");
        QTest::newRow("de 7 em 7 bytes") << 7;
        QTest::newRow("de 1000 em 1000 bytes") << 1000;
    }
    void DataSetLidoEnquantoChega()
    {
        QFETCH(int, pedaco);
        ServicoFixo s(FixtureSoap("resposta_itens.xml"), 200, pedaco);
        clsWebServiceData c;
        c.setWebServiceUrl(s.Url());
        RecordsetPtr rs;
        QVERIFY2(c.OpenDataset(rs, QStringLiteral("SELECT Id, Name FROM Items")), qPrintable(c.ErrMsg()));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Valor(QStringLiteral("Id")), QVariant(1));
        QVERIFY(rs->Fields(QStringLiteral("Name")).IsNull());
    }
    void ValorMaiorQueAJanelaDeLeitura()
    {
        const RecordsetPtr rs = Abrir(QStringLiteral(
            "WITH n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
            "SELECT i AS Id, CASE WHEN i = 1500 THEN replace(printf('%.*c', 400000, 'x'), 'xxxx', 'a&<b') "
            "ELSE 'linha ' || i END AS Texto FROM n"));
        QVERIFY(rs);
        QCOMPARE(rs->RecordCount(), 3000);
        rs->Move(1499);
        QCOMPARE(rs->Valor(0).toInt(), 1500);
        QCOMPARE(rs->Valor(1).toString(), QString(QStringLiteral("a&<b")).repeated(100000));
        rs->MoveLast();
        QCOMPARE(rs->Valor(1).toString(), QStringLiteral("linha 3000"));
    }

    void RespostasRuins_data()
    {
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("webErr");
        QTest::addColumn<QString>("trecho");
        const QByteArray itens = FixtureSoap("resposta_itens.xml");
        QTest::newRow("nao e xml") << QByteArray("Service Unavailable") << 503 << false << "HTTP 503";
        QTest::newRow("cortada") << itens.left(itens.size() / 2) << 200 << false << "XML inválido";
        QTest::newRow("dtd") << QByteArray("<!DOCTYPE a [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>")
                                    + itens.mid(39)
                             << 200 << false << "DTD";
        QTest::newRow("entidade externa")
            << QByteArray(itens).replace("<Id>1</Id>", "<Id>&xxe;</Id>") << 200 << false << "entidade desconhecida";
        QTest::newRow("aninhamento") << QByteArray(itens).replace("<Id>1</Id>", QByteArray("<a>").repeated(100000))
                                     << 200 << false << "aninhados";
        QTest::newRow("valor fora do tipo") << QByteArray(itens).replace("<Id>1</Id>", "<Id>um</Id>") << 200 << true
                                            << "Valor \"um\" inválido para a coluna Id (xs:int) na linha 1.";
        QTest::newRow("coluna desconhecida")
            << QByteArray(itens).replace("<Id>1</Id>", "<Outra>1</Outra>") << 200 << true << "coluna \"Outra\"";
        QTest::newRow("falha soap") << FixtureSoap("resposta_falha.xml") << 500 << false
                                    << "Server did not recognize the value of HTTP Header SOAPAction";
        QTest::newRow("sem conjunto") << FixtureSoap("resposta_execsql.xml") << 200 << true
                                      << "não devolveu um conjunto de dados";
    }
    void RespostasRuins()
    {
        QFETCH(QByteArray, corpo);
        QFETCH(int, status);
        QFETCH(bool, webErr);
        QFETCH(QString, trecho);
        ServicoFixo s(corpo, status);
        clsWebServiceData c;
        c.setWebServiceUrl(s.Url());
        RecordsetPtr rs;
        QVERIFY(!c.OpenDataset(rs, QStringLiteral("SELECT 1")));
        QVERIFY(!rs);
        QVERIFY2(c.ErrMsg().contains(trecho), qPrintable(c.ErrMsg()));
        QCOMPARE(c.ErrMsg().startsWith(QStringLiteral("WebErr: ")), webErr);
        if (!webErr)
            QVERIFY(c.ErrMsg().endsWith(QStringLiteral("\nQuerie:SELECT 1")));
    }
};
QUARRIX_TESTE(tst_clsWebServiceData);
#include "tst_clsWebServiceData.moc"
