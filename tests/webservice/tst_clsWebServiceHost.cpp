#include "bancoWeb.h"
#include "connections/clsAmbienteDados.h"
#include "platform/mdlDataSetEscrita.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlSoap.h"
#include "support/registroTestes.h"
#include "webservice/clsWebServiceHost.h"

#include <QTest>
#include <QXmlStreamReader>

namespace {

QByteArray Chamada(const QString& metodo,
                   const soap::Parametros& p,
                   const QString& ns = QStringLiteral("http://www.quarrix.com.br/WebData"))
{
    return soap::Envelope(ns, metodo, p);
}

PedidoHost Post(const QByteArray& corpo, const QByteArray& acao)
{
    PedidoHost p;
    p.metodo = "POST";
    p.caminho = "/WebData.asmx";
    p.host = "127.0.0.1:8080";
    p.soapAction = acao;
    p.tipoConteudo = "text/xml; charset=utf-8";
    p.corpo = corpo;
    return p;
}

QByteArray Acao(const QString& metodo)
{
    return '"' + soap::AcaoPadrao(QStringLiteral("http://www.quarrix.com.br/WebData"), metodo).toUtf8() + '"';
}

PedidoHost PostMetodo(const QString& metodo, const soap::Parametros& parametros)
{
    return Post(Chamada(metodo, parametros), Acao(metodo));
}

// Local names of the children of the element the reader stands on.
QStringList Filhos(QXmlStreamReader& x)
{
    QStringList r;
    while (x.readNextStartElement()) {
        r << x.name().toString();
        x.skipCurrentElement();
    }
    return r;
}

} // namespace

// The host served in-process: the shape of what it writes, its faults and error texts.
class tst_clsWebServiceHost : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<clsWebServiceHost> host;

private slots:
    void initTestCase() { host = std::make_unique<clsWebServiceHost>(CriarBancoWeb(dir), QStringLiteral("WebData")); }

    void DataSetComAFormaDoAspNet()
    {
        RespostaHost r = host->Atender(
            PostMetodo(QStringLiteral("OpenDataset"),
                       {{QStringLiteral("strSql"), QStringLiteral("SELECT Id, Nome FROM Tipos WHERE Id = 2")},
                        {QStringLiteral("strErrMsg"), QStringLiteral("")}}));
        QCOMPARE(r.status, 200);
        QVERIFY(r.partes); // streamed
        const QByteArray corpo = r.Tudo();

        // The same path as the ASP.NET answer kept in the fixtures: the result holds the schema
        // first, then a diffgram whose first child is the data-set element, one row, the null absent.
        // The type differs by design: SQLite's INTEGER is 64-bit, the ASP.NET page's engine gave Int32.
        const std::pair<QByteArray, QLatin1String> respostas[]
            = {{corpo, QLatin1String("xs:long")}, {FixtureSoap("resposta_itens.xml"), QLatin1String("xs:int")}};
        for (const auto& [xml, tipoId] : respostas) {
            QXmlStreamReader x(xml);
            QVERIFY(x.readNextStartElement()); // Envelope
            QVERIFY(x.readNextStartElement()); // Body
            QVERIFY(x.readNextStartElement());
            QCOMPARE(x.name(), QLatin1String("OpenDatasetResponse"));
            QVERIFY(x.readNextStartElement());
            QCOMPARE(x.name(), QLatin1String("OpenDatasetResult"));
            QVERIFY(x.readNextStartElement());
            QCOMPARE(x.namespaceUri(), QLatin1String("http://www.w3.org/2001/XMLSchema"));
            QCOMPARE(x.name(), QLatin1String("schema"));
            QStringList caminho;
            for (int i = 0; i < 6; ++i) { // element, complexType, choice, element, complexType, sequence
                QVERIFY(x.readNextStartElement());
                caminho << x.name().toString();
            }
            QCOMPARE(caminho, (QStringList{"element", "complexType", "choice", "element", "complexType", "sequence"}));
            QVERIFY(x.readNextStartElement());
            QCOMPARE(x.attributes().value(QStringLiteral("type")), tipoId);
            x.skipCurrentElement();
            for (int i = 0; i < 7; ++i) // up to the schema's end
                x.skipCurrentElement();
            QVERIFY(x.readNextStartElement());
            QCOMPARE(x.name(), QLatin1String("diffgram"));
            QVERIFY(x.readNextStartElement()); // the data-set element
            QCOMPARE(x.attributes().value(QStringLiteral("xmlns")), QLatin1String(""));
            QVERIFY(x.readNextStartElement()); // one row
            QCOMPARE(Filhos(x), QStringList{"Id"});
        }

        // The reader of the messages (written apart from the host) reads the same values.
        const soap::RespostaSoap lida = soap::LerResposta(corpo);
        QVERIFY2(lida.ok, qPrintable(lida.erro));
        const soap::ValorSoap* v = lida.Valor(QStringLiteral("OpenDatasetResult"));
        QVERIFY(v && v->dataSet);
        QCOMPARE(v->dataSet->tabelas.value(0).linhas.size(), 1);
        QCOMPARE(v->dataSet->tabelas[0].linhas[0][0], QVariant(2));
        QVERIFY(!v->dataSet->tabelas[0].linhas[0][1].isValid());
        QVERIFY(lida.Valor(QStringLiteral("strErrMsg")));
    }

    void DataSetGrandeSaiEmPartes()
    {
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        QVERIFY(d.OpenConnection(MontarConnStrAccess(dir.filePath(QStringLiteral("web.db")), {}, {}), true, false));
        QVERIFY(
            d.ExecSql(QStringLiteral("CREATE TABLE Muitas AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                     "FROM n WHERE i < 20000) SELECT i AS Id, 'nome ' || i AS Nome FROM n"),
                      false));
        RespostaHost r = host->Atender(PostMetodo(QStringLiteral("OpenDataset"),
                                                  {{QStringLiteral("strSql"), QStringLiteral("SELECT * FROM Muitas")},
                                                   {QStringLiteral("strErrMsg"), QStringLiteral("")}}));
        QVERIFY(r.partes);
        int pedacos = 0;
        size_t maior = 0, total = 0;
        for (std::string s; (s.clear(), r.partes(s));) {
            ++pedacos;
            maior = std::max(maior, s.size());
            total += s.size();
        }
        QVERIFY2(pedacos > 5 && maior < 128 * 1024,
                 qPrintable(QStringLiteral("%1 pedaços, maior %2").arg(pedacos).arg(maior)));
        QVERIFY(total > 500 * 1024);
        QVERIFY(d.ExecSql(QStringLiteral("DROP TABLE Muitas"), false));
    }

    void EscritorFormataCadaTipo()
    {
        auto rs = std::make_shared<clsRecordset>();
        rs->AppendField(QStringLiteral("Quando"), ado::adDate);
        rs->AppendField(QStringLiteral("Valor"), ado::adNumeric);
        rs->AppendField(QStringLiteral("Bytes"), ado::adVarBinary, 10);
        rs->AppendField(QStringLiteral("Numero"), ado::adInteger);
        rs->AppendField(QStringLiteral("Nome Longo"), ado::adVarWChar, 50);
        QVERIFY(rs->Open());
        rs->AddNew();
        rs->DefinirValor(0, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58, 500)));
        rs->DefinirValor(1, 1e20);
        rs->DefinirValor(2, QByteArray("\x00\x01\xff", 3));
        rs->DefinirValor(3, 5);
        rs->DefinirValor(4,
                         QStringLiteral("a\x01"
                                        "b\rc"));
        rs->Update();
        rs->AddNew();
        rs->DefinirValor(1, QStringLiteral("-1234567890123456789012345678.0123456789"));
        rs->Update();
        datasetescrita::clsEscritorDataSet e(rs);
        std::string s;
        while (e.Proximo(s)) {
        }
        QCOMPARE(e.TiposXs(),
                 (std::vector<QByteArray>{"xs:dateTime", "xs:decimal", "xs:base64Binary", "xs:int", "xs:string"}));
        const QByteArray xml = QByteArray::fromStdString(s);
        QVERIFY2(xml.contains("<Quando>2024-02-29T23:59:58.500</Quando><Valor>100000000000000000000</Valor>"
                              "<Bytes>AAH/</Bytes><Numero>5</Numero><Nome_x0020_Longo>a\xEF\xBF\xBD"
                              "b&#xD;c</Nome_x0020_Longo>"),
                 xml.mid(xml.indexOf("<Table ")).constData());
        QVERIFY(xml.contains("<Table diffgr:id=\"Table2\" msdata:rowOrder=\"1\">"
                             "<Valor>-1234567890123456789012345678.0123456789</Valor></Table>"));
    }

    // Through ODBC a column has the size of its SQL type: a 32-bit integer is xs:int even when small
    // values would fit a smaller one, a 64-bit one is xs:long even when its value is small.
    void TiposDeclaradosPorOdbc()
    {
        const QString pg = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (pg.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        clsWebServiceHost odbc(pg, QStringLiteral("WebData"));
        const soap::RespostaSoap lida = soap::LerResposta(
            odbc.Atender(PostMetodo(QStringLiteral("OpenDataset"),
                                    {{QStringLiteral("strSql"),
                                      QStringLiteral("SELECT CAST(5 AS SMALLINT) AS s, CAST(5 AS INTEGER) AS i, "
                                                     "CAST(5 AS BIGINT) AS b, CAST(4294967303 AS BIGINT) AS g")},
                                     {QStringLiteral("strErrMsg"), QStringLiteral("")}}))
                .Tudo());
        const soap::ValorSoap* v = lida.Valor(QStringLiteral("OpenDatasetResult"));
        QVERIFY2(v && v->dataSet && !v->dataSet->tabelas.isEmpty(), qPrintable(lida.erro));
        QStringList tipos;
        for (const auto& c : v->dataSet->tabelas[0].colunas)
            tipos << c.tipo;
        QCOMPARE(tipos, (QStringList{"xs:short", "xs:int", "xs:long", "xs:long"}));
        QCOMPARE(v->dataSet->tabelas[0].linhas.value(0).value(3), QVariant(qlonglong(4294967303LL)));
    }

    void MetodosSimples()
    {
        RespostaHost r = host->Atender(PostMetodo(QStringLiteral("ConnectionType"), {}));
        soap::RespostaSoap lida = soap::LerResposta(r.Tudo());
        QCOMPARE(lida.Valor(QStringLiteral("ConnectionTypeResult"))->texto, QStringLiteral("ACCESS"));
        lida = soap::LerResposta(host->Atender(PostMetodo(QStringLiteral("Version"), {})).Tudo());
        QCOMPARE(lida.Valor(QStringLiteral("VersionResult"))->texto, globais::ObterVersao());
        QCOMPARE(clsWebServiceHost(QStringLiteral("Provider=SQLOLEDB.1;Data Source=x;Initial Catalog=y"),
                                   QStringLiteral("WebData"))
                     .ConnectionTypeServico(),
                 QStringLiteral("SQL"));
    }

    void TextosDeErro()
    {
        const QString sql = QStringLiteral("SELECT * FROM Nada");
        soap::RespostaSoap lida
            = soap::LerResposta(host->Atender(PostMetodo(QStringLiteral("OpenDataset"),
                                                         {{QStringLiteral("strSql"), sql},
                                                          {QStringLiteral("strErrMsg"), QStringLiteral("")}}))
                                    .Tudo());
        QVERIFY(!lida.Valor(QStringLiteral("OpenDatasetResult"))); // Nothing is omitted
        const QString erro = lida.Valor(QStringLiteral("strErrMsg"))->texto;
        QVERIFY2(erro.startsWith(QStringLiteral("Err:")) && erro.endsWith(QStringLiteral("\r\nQuerie:") + sql),
                 qPrintable(erro));

        // A connection that does not open: the page's "ConnStr:" line, without the password.
        clsWebServiceHost semBanco(
            MontarConnStrAccess(QStringLiteral("/nao/existe/x.db"), QStringLiteral("u"), QStringLiteral("segredo")),
            QStringLiteral("WebData"));
        lida = soap::LerResposta(semBanco
                                     .Atender(PostMetodo(QStringLiteral("ExecSql"),
                                                         {{QStringLiteral("strSql"), QStringLiteral("DELETE FROM T")},
                                                          {QStringLiteral("strErrMsg"), QStringLiteral("")}}))
                                     .Tudo());
        QCOMPARE(lida.Valor(QStringLiteral("ExecSqlResult"))->texto, QStringLiteral("false"));
        const QString conexao = lida.Valor(QStringLiteral("strErrMsg"))->texto;
        QVERIFY2(conexao.contains(QStringLiteral("\r\nConnStr:Provider=Microsoft.Jet.OLEDB.4.0;")),
                 qPrintable(conexao));
        QVERIFY(conexao.contains(QStringLiteral("Database Password=***;")));
        QVERIFY(!conexao.contains(QStringLiteral("segredo")));
    }

    void PedidosQueNaoServe_data()
    {
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<QByteArray>("acao");
        QTest::addColumn<QString>("texto");
        const QByteArray ok = Chamada(QStringLiteral("Version"), {});
        const QByteArray version = Acao(QStringLiteral("Version"));
        QTest::newRow("nao e xml") << QByteArray("oi") << version << "Server was unable to read request.";
        QTest::newRow("nao e envelope") << QByteArray("<a/>") << version << "Server was unable to read request.";
        QTest::newRow("dtd") << QByteArray("<!DOCTYPE x [<!ENTITY a \"b\">]>") + ok.mid(38) << version << "DTD";
        // The action names the method: a body alone does not make a call.
        QTest::newRow("sem acao") << ok << QByteArray()
                                  << "Server did not recognize the value of HTTP Header SOAPAction: .";
        QTest::newRow("acao de outro metodo")
            << ok << Acao(QStringLiteral("ExecSql")) << "The element Version does not match the action";
        QTest::newRow("acao desconhecida")
            << ok << QByteArray("\"http://x/Nada\"")
            << "Server did not recognize the value of HTTP Header SOAPAction: http://x/Nada.";
        QTest::newRow("metodo desconhecido") << Chamada(QStringLiteral("Apagar"), {}) << QByteArray()
                                             << "Server did not recognize the value of HTTP Header SOAPAction: .";
        QTest::newRow("grande demais") << QByteArray(int(clsWebServiceHost::LimitePedido) + 1, 'a') << QByteArray()
                                       << "too large";
        QTest::newRow("intSchema nao numerico")
            << Chamada(QStringLiteral("OpenSchema"), {{QStringLiteral("intSchema"), QStringLiteral("dois")}})
            << Acao(QStringLiteral("OpenSchema")) << "intSchema";
    }
    void PedidosQueNaoServe()
    {
        QFETCH(QByteArray, corpo);
        QFETCH(QByteArray, acao);
        QFETCH(QString, texto);
        RespostaHost r = host->Atender(Post(corpo, acao));
        QCOMPARE(r.status, 500);
        const soap::RespostaSoap lida = soap::LerResposta(r.Tudo());
        QVERIFY(lida.falha);
        QCOMPARE(lida.codigoFalha, QStringLiteral("soap:Client"));
        QVERIFY2(lida.textoFalha.contains(texto), qPrintable(lida.textoFalha));
    }

    // What a page in a browser can send without asking is refused before anything runs; programs
    // (no Origin) and the pages allowed are served.
    void PedidosDeNavegador_data()
    {
        QTest::addColumn<QByteArray>("tipo");
        QTest::addColumn<QByteArray>("origem");
        QTest::addColumn<QByteArray>("site");
        QTest::addColumn<int>("status");
        const QByteArray n;
        QTest::newRow("text/plain") << QByteArray("text/plain;charset=UTF-8") << n << n << 415;
        QTest::newRow("formulario") << QByteArray("application/x-www-form-urlencoded") << n << n << 415;
        QTest::newRow("multipart") << QByteArray("multipart/form-data; boundary=x") << n << n << 415;
        QTest::newRow("sem tipo") << n << n << n << 415;
        QTest::newRow("outro site") << QByteArray("text/xml") << QByteArray("http://mal.exemplo") << n << 403;
        QTest::newRow("origem nula") << QByteArray("text/xml") << QByteArray("null") << n << 403;
        QTest::newRow("mesma maquina, outra porta")
            << QByteArray("text/xml") << QByteArray("http://127.0.0.1:3000") << QByteArray("same-site") << 403;
        QTest::newRow("cross-site sem origem") << QByteArray("text/xml") << n << QByteArray("cross-site") << 403;
        QTest::newRow("origem permitida") << QByteArray("text/xml; charset=utf-8") << QByteArray("HTTP://Intranet:8000")
                                          << QByteArray("cross-site") << 200;
        QTest::newRow("programa") << QByteArray("Text/XML") << n << n << 200;
    }
    void PedidosDeNavegador()
    {
        QFETCH(QByteArray, tipo);
        QFETCH(QByteArray, origem);
        QFETCH(QByteArray, site);
        QFETCH(int, status);
        clsWebServiceHost h(QString(), QStringLiteral("WebData")); // Version opens no connection
        h.PermitirOrigens({QStringLiteral("http://intranet:8000/")});
        PedidoHost p = PostMetodo(QStringLiteral("Version"), {});
        p.tipoConteudo = tipo;
        p.origem = origem;
        p.secFetchSite = site;
        RespostaHost r = h.Atender(p);
        QCOMPARE(r.status, status);
        QCOMPARE(r.Tudo().contains("<VersionResult>"), status == 200);
    }

    // With a key set, every request must carry it, the description included.
    void ChaveDeAcesso_data()
    {
        QTest::addColumn<QByteArray>("metodo");
        QTest::addColumn<QByteArray>("autorizacao");
        QTest::addColumn<QByteArray>("chave");
        QTest::addColumn<int>("status");
        const QByteArray n;
        QTest::newRow("sem chave") << QByteArray("POST") << n << n << 401;
        QTest::newRow("bearer errado") << QByteArray("POST") << QByteArray("Bearer segredo-1234X") << n << 401;
        QTest::newRow("bearer curto") << QByteArray("POST") << QByteArray("Bearer segredo") << n << 401;
        QTest::newRow("outro esquema") << QByteArray("POST") << QByteArray("Basic segredo-1234") << n << 401;
        QTest::newRow("bearer") << QByteArray("POST") << QByteArray("bearer  segredo-1234 ") << n << 200;
        QTest::newRow("cabecalho proprio") << QByteArray("POST") << n << QByteArray("segredo-1234") << 200;
        QTest::newRow("descricao sem chave") << QByteArray("GET") << n << n << 401;
        QTest::newRow("descricao") << QByteArray("GET") << QByteArray("Bearer segredo-1234") << n << 200;
    }
    void ChaveDeAcesso()
    {
        QFETCH(QByteArray, metodo);
        QFETCH(QByteArray, autorizacao);
        QFETCH(QByteArray, chave);
        QFETCH(int, status);
        clsWebServiceHost h(QString(), QStringLiteral("WebData"));
        h.ExigirChave("segredo-1234");
        PedidoHost p = PostMetodo(QStringLiteral("Version"), {});
        p.metodo = metodo;
        p.consulta = "wsdl";
        p.autorizacao = autorizacao;
        p.chave = chave;
        QCOMPARE(h.Atender(p).status, status);
    }

    void EnderecoLocal_data()
    {
        QTest::addColumn<QString>("endereco");
        QTest::addColumn<bool>("local");
        for (const char* e : {"127.0.0.1", "127.1.2.3", "localhost", "LocalHost", "::1"})
            QTest::newRow(e) << QString::fromLatin1(e) << true;
        for (const char* e : {"0.0.0.0", "::", "192.168.0.10", "127.0.0", "127.0.0.256", "127.example.com", "0"})
            QTest::newRow(e) << QString::fromLatin1(e) << false;
    }
    void EnderecoLocal()
    {
        QFETCH(QString, endereco);
        QFETCH(bool, local);
        QCOMPARE(clsWebServiceHost::EnderecoLocal(endereco), local);
    }

    void DescricaoEEndereco()
    {
        PedidoHost p;
        p.metodo = "GET";
        p.caminho = "/WebData.asmx";
        p.consulta = "WSDL";
        p.host = "exemplo:9000";
        RespostaHost r = host->Atender(p);
        QCOMPARE(r.status, 200);
        const soap::DescricaoWsdl d = soap::LerWsdl(r.Tudo());
        QVERIFY2(d.ok, qPrintable(d.erro));
        QCOMPARE(d.endereco, QStringLiteral("http://exemplo:9000/WebData.asmx"));
        QCOMPARE(d.alvo, QStringLiteral("http://www.quarrix.com.br/WebData"));
        QCOMPARE(d.acoes.size(), 5);
        QCOMPARE(d.acoes.value(QStringLiteral("OpenSchema")),
                 QStringLiteral("http://www.quarrix.com.br/WebData/OpenSchema"));
        p.caminho = "/Outro.asmx";
        QCOMPARE(host->Atender(p).status, 404);
    }
};
QUARRIX_TESTE(tst_clsWebServiceHost);
#include "tst_clsWebServiceHost.moc"
