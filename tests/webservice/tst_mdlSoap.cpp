#include "fixturesSoap.h"
#include "platform/mdlSoap.h"
#include "support/registroTestes.h"

#include <QTest>
#include <QXmlStreamReader>

namespace {
const QString alvo = QStringLiteral("http://www.YourSite.com/WebData");

// The parameters of a request as a server reads them: name, text, nil.
struct ParametroLido {
    QString nome;
    QString texto;
    bool nulo = false;
};

QList<ParametroLido> LerPedido(const QByteArray& corpo, QString* metodo, QString* ns)
{
    QList<ParametroLido> r;
    QXmlStreamReader x(corpo);
    if (!x.readNextStartElement() || x.name() != QLatin1String("Envelope") || x.namespaceUri() != soap::NsEnvelope)
        return r;
    if (!x.readNextStartElement() || x.name() != QLatin1String("Body"))
        return r;
    if (!x.readNextStartElement())
        return r;
    *metodo = x.name().toString();
    *ns = x.namespaceUri().toString();
    while (x.readNextStartElement()) {
        ParametroLido p;
        p.nome = x.name().toString();
        p.nulo
            = x.attributes().value(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"), QStringLiteral("nil"))
              == QLatin1String("true");
        p.texto = x.readElementText();
        r << p;
    }
    return x.hasError() ? QList<ParametroLido>() : r;
}
} // namespace

class tst_mdlSoap : public QObject {
    Q_OBJECT
private slots:
    void EnvelopeLevaParametrosEmOrdem()
    {
        const QString sql = QStringLiteral("SELECT 'a&b' AS \"x\", '<c>' ]]> ção\r\nFROM t\tWHERE 1 = 1\r\n");
        QString erro = QStringLiteral("antes");
        const QByteArray corpo = soap::Envelope(alvo,
                                                QStringLiteral("OpenSchema"),
                                                {{"intSchema", 16},
                                                 {"strTableName", sql},
                                                 {"blnX", true},
                                                 {"strViewName", QVariant()},
                                                 {"strErrMsg", QString()}},
                                                &erro);
        QVERIFY(erro.isEmpty());
        QString metodo, ns;
        const QList<ParametroLido> p = LerPedido(corpo, &metodo, &ns);
        QCOMPARE(metodo, QStringLiteral("OpenSchema"));
        QCOMPARE(ns, alvo);
        QCOMPARE(p.size(), 5);
        QCOMPARE(p[0].nome, QStringLiteral("intSchema"));
        QCOMPARE(p[0].texto, QStringLiteral("16"));
        QCOMPARE(p[1].texto, sql); // carriage returns and markup characters arrive unchanged
        QCOMPARE(p[2].texto, QStringLiteral("true"));
        QVERIFY(p[3].nulo);
        QCOMPARE(p[4].nome, QStringLiteral("strErrMsg"));
        QVERIFY(!p[4].nulo);
        QVERIFY(p[4].texto.isEmpty());
    }

    void EnvelopeRecusaCaracterQueXmlNaoLeva()
    {
        QString erro;
        const QByteArray corpo
            = soap::Envelope(alvo, QStringLiteral("ExecSql"), {{"strSql", QStringLiteral("SELECT '\x01'")}}, &erro);
        QVERIFY(corpo.isEmpty());
        QCOMPARE(erro, QStringLiteral("O parâmetro strSql contém caracteres que não podem ser enviados em XML."));
    }

    void AcaoPadrao()
    {
        QCOMPARE(soap::AcaoPadrao(alvo, QStringLiteral("ExecSql")), alvo + QStringLiteral("/ExecSql"));
        QCOMPARE(soap::AcaoPadrao(QStringLiteral("http://tempuri.org/"), QStringLiteral("ExecSql")),
                 QStringLiteral("http://tempuri.org/ExecSql"));
    }

    void RespostaDeTextoEErroDoServico()
    {
        const soap::RespostaSoap exec = soap::LerResposta(FixtureSoap("resposta_execsql.xml"));
        QVERIFY2(exec.ok, qPrintable(exec.erro));
        QCOMPARE(exec.elemento, QStringLiteral("ExecSqlResponse"));
        QCOMPARE(exec.Valor("ExecSqlResult")->texto, QStringLiteral("true"));
        QVERIFY(exec.Valor("strErrMsg")->texto.isEmpty());

        // A data set returned as Nothing is left out; the error comes in the in-out parameter.
        const soap::RespostaSoap erro = soap::LerResposta(FixtureSoap("resposta_erro.xml"));
        QVERIFY(erro.ok);
        QVERIFY(!erro.falha);
        QVERIFY(!erro.Valor("OpenDatasetResult"));
        QCOMPARE(erro.Valor("strErrMsg")->texto,
                 QStringLiteral("System.Data.OleDb.OleDbException: Invalid object name 'Clientes'.\r\n"
                                "Querie:SELECT * FROM Clientes"));
    }

    void FalhaSoap()
    {
        const soap::RespostaSoap r = soap::LerResposta(FixtureSoap("resposta_falha.xml"));
        QVERIFY(r.ok);
        QVERIFY(r.falha);
        QCOMPARE(r.codigoFalha, QStringLiteral("soap:Client"));
        QCOMPARE(r.textoFalha,
                 QStringLiteral("Server did not recognize the value of HTTP Header SOAPAction: http://x/Nada."));
        QVERIFY(r.valores.isEmpty());
    }

    void RespostaInvalida_data()
    {
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<QString>("inicio");
        QTest::newRow("pagina html") << QByteArray("<html><body>Erro 404</body></html>")
                                     << "A resposta do WebService não é um envelope SOAP.";
        QTest::newRow("vazia") << QByteArray() << "XML inválido";
        QTest::newRow("cortada") << FixtureSoap("resposta_itens.xml").left(1500) << "XML inválido";
        QTest::newRow("sem corpo") << QByteArray("<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"/>")
                                   << "A resposta do WebService não tem corpo SOAP.";
    }
    void RespostaInvalida()
    {
        QFETCH(QByteArray, corpo);
        QFETCH(QString, inicio);
        const soap::RespostaSoap r = soap::LerResposta(corpo);
        QVERIFY(!r.ok);
        QVERIFY2(r.erro.startsWith(inicio), qPrintable(r.erro));
    }

    void Wsdl()
    {
        const soap::DescricaoWsdl d = soap::LerWsdl(FixtureSoap("webdata.wsdl"));
        QVERIFY2(d.ok, qPrintable(d.erro));
        QCOMPARE(d.alvo, alvo);
        QCOMPARE(d.endereco, QStringLiteral("http://127.0.0.1:8080/WebData.asmx")); // the SOAP 1.1 port
        QCOMPARE(d.acoes.size(), 2);
        QCOMPARE(d.acoes.value("OpenDataset"), alvo + QStringLiteral("/OpenDataset"));
        QCOMPARE(d.acoes.value("ConnectionType"), alvo + QStringLiteral("/ConnectionType"));
    }

    void WsdlInvalido()
    {
        QVERIFY(!soap::LerWsdl("<html/>").ok);
        QByteArray semEndereco = FixtureSoap("webdata.wsdl");
        semEndereco.replace("<soap:address", "<soap:nada");
        const soap::DescricaoWsdl d = soap::LerWsdl(semEndereco);
        QVERIFY(!d.ok);
        QCOMPARE(d.erro, QStringLiteral("A descrição WSDL não tem endereço SOAP 1.1."));
    }
};
QUARRIX_TESTE(tst_mdlSoap);
#include "tst_mdlSoap.moc"
