#include "fixturesSoap.h"
#include "platform/mdlDataSetXml.h"
#include "platform/mdlSoap.h"
#include "support/registroTestes.h"

#include <QDateTime>
#include <QTest>

using namespace datasetxml;

namespace {
const DataSetXml* DataSetDe(const soap::RespostaSoap& r, const char* valor)
{
    const soap::ValorSoap* v = r.Valor(QLatin1String(valor));
    return v && v->dataSet ? &*v->dataSet : nullptr;
}
} // namespace

class tst_mdlDataSetXml : public QObject {
    Q_OBJECT
private slots:
    void LinhaInseridaComNomeNulo()
    {
        const soap::RespostaSoap r = soap::LerResposta(FixtureSoap("resposta_itens.xml"));
        QVERIFY2(r.ok, qPrintable(r.erro));
        const DataSetXml* ds = DataSetDe(r, "OpenDatasetResult");
        QVERIFY(ds);
        QCOMPARE(ds->nome, QStringLiteral("Result"));
        QCOMPARE(ds->tabelas.size(), 1);
        const TabelaXml& t = ds->tabelas[0];
        QCOMPARE(t.nome, QStringLiteral("Items"));
        QCOMPARE(t.colunas.size(), 2);
        QCOMPARE(t.colunas[0].nome, QStringLiteral("Id"));
        QCOMPARE(t.colunas[0].tipo, QStringLiteral("xs:int"));
        QCOMPARE(t.colunas[1].nome, QStringLiteral("Name"));
        QCOMPARE(t.colunas[1].tipo, QStringLiteral("xs:string"));
        QCOMPARE(t.linhas.size(), 1);
        QCOMPARE(t.linhas[0][0], QVariant(1));
        QVERIFY(!t.linhas[0][1].isValid()); // absent: null, not empty text
    }

    void TiposNomesCodificadosEVersaoAnterior()
    {
        const soap::RespostaSoap r = soap::LerResposta(FixtureSoap("resposta_tipos.xml"));
        QVERIFY2(r.ok, qPrintable(r.erro));
        const DataSetXml* ds = DataSetDe(r, "OpenDatasetResult");
        QVERIFY(ds);
        QCOMPARE(ds->tabelas.size(), 2);
        const TabelaXml& t = ds->tabelas[0];
        QStringList tipos;
        for (const ColunaXml& c : t.colunas)
            tipos << c.tipo;
        QCOMPARE(tipos,
                 (QStringList{"xs:short",
                              "xs:string",
                              "xs:boolean",
                              "xs:decimal",
                              "xs:dateTime",
                              "xs:string",
                              "xs:base64Binary",
                              "xs:double"}));
        QCOMPARE(t.colunas[1].nome, QStringLiteral("Nome Completo"));
        QCOMPARE(t.colunas[1].tamanhoMaximo, 50);
        QCOMPARE(t.colunas[0].tamanhoMaximo, -1);
        QVERIFY(t.colunas[5].tipoNet.startsWith(QStringLiteral("System.Guid,")));

        // The row kept in the "before" part is the old version of row 2, not a third row.
        QCOMPARE(t.linhas.size(), 2);
        const QList<QVariant>& a = t.linhas[0];
        QCOMPARE(a[0], QVariant(7));
        QCOMPARE(a[1], QVariant(QStringLiteral("  Ana & Cia <SP>  ")));
        QCOMPARE(a[2], QVariant(true));
        QCOMPARE(a[3], QVariant(QStringLiteral("12345678901234567.89"))); // exact, not rounded to a double
        QCOMPARE(a[4].toDateTime().toUTC(), QDateTime(QDate(2003, 2, 1), QTime(12, 20, 30, 123), Qt::UTC));
        QCOMPARE(a[5], QVariant(QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff")));
        QCOMPARE(a[6], QVariant(QByteArray("\x00\x01\x02\xff", 4)));
        QCOMPARE(a[7], QVariant(1.5));
        const QList<QVariant>& b = t.linhas[1];
        QCOMPARE(b[0], QVariant(-8));
        QVERIFY(b[1].isValid() && b[1].toString().isEmpty()); // an empty element is empty text
        QCOMPARE(b[2], QVariant(false));
        for (int i = 3; i < b.size(); ++i)
            QVERIFY(!b[i].isValid());

        QCOMPARE(ds->tabelas[1].nome, QStringLiteral("Table1"));
        QCOMPARE(ds->tabelas[1].linhas.value(0).value(0), QVariant(qlonglong(9000000000)));
    }

    void ValoresComoTexto()
    {
        const soap::RespostaSoap r = soap::LerResposta(FixtureSoap("resposta_tipos.xml"), Valores::Texto);
        const DataSetXml* ds = DataSetDe(r, "OpenDatasetResult");
        QVERIFY(ds);
        const QList<QVariant>& a = ds->tabelas[0].linhas[0];
        QCOMPARE(a[0], QVariant(QStringLiteral("7")));
        QCOMPARE(a[4], QVariant(QStringLiteral("2003-02-01T10:20:30.1234567-02:00")));
        QVERIFY(!ds->tabelas[0].linhas[1][3].isValid());
    }

    void SemLinhasTemColunas()
    {
        const soap::RespostaSoap r = soap::LerResposta(FixtureSoap("resposta_vazia.xml"));
        const DataSetXml* ds = DataSetDe(r, "OpenDatasetResult");
        QVERIFY(ds);
        QCOMPARE(ds->tabelas.size(), 1);
        QCOMPARE(ds->tabelas[0].colunas.size(), 1);
        QVERIFY(ds->tabelas[0].linhas.isEmpty());
    }

    void ValorForaDoTipoEErro()
    {
        QByteArray xml = FixtureSoap("resposta_itens.xml");
        xml.replace("<Id>1</Id>", "<Id>um</Id>");
        const soap::RespostaSoap r = soap::LerResposta(xml);
        QVERIFY(!r.ok);
        QCOMPARE(r.erro, QStringLiteral("Valor \"um\" inválido para a coluna Id (xs:int) da tabela Items."));
    }

    void SchemaProfundoNaoDerruba()
    {
        QByteArray xml = FixtureSoap("resposta_itens.xml");
        const int n = 200000;
        xml.replace("</xs:schema>",
                    QByteArray("<xs:annotation>").repeated(n) + QByteArray("</xs:annotation>").repeated(n)
                        + "</xs:schema>");
        const soap::RespostaSoap r = soap::LerResposta(xml);
        QVERIFY2(r.ok, qPrintable(r.erro));
        QCOMPARE(DataSetDe(r, "OpenDatasetResult")->tabelas.value(0).linhas.size(), 1);
    }

    void ConverterValor_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QVariant>("valor");
        QTest::newRow("int com brancos") << " 42 "
                                         << "xs:int" << QVariant(42);
        QTest::newRow("int invalido") << "4.2"
                                      << "xs:int" << QVariant();
        QTest::newRow("int estoura") << "3000000000"
                                     << "xs:int" << QVariant();
        QTest::newRow("unsignedLong") << "18446744073709551615"
                                      << "xs:unsignedLong" << QVariant(qulonglong(18446744073709551615ULL));
        QTest::newRow("boolean 1") << "1"
                                   << "xs:boolean" << QVariant(true);
        QTest::newRow("boolean invalido") << "True"
                                          << "xs:boolean" << QVariant();
        QTest::newRow("double INF") << "-INF"
                                    << "xs:double" << QVariant(-std::numeric_limits<double>::infinity());
        QTest::newRow("date") << "2024-02-29"
                              << "xs:date" << QVariant(QDate(2024, 2, 29));
        QTest::newRow("base64 invalido") << "**"
                                         << "xs:base64Binary" << QVariant();
        QTest::newRow("tipo desconhecido fica texto") << " x "
                                                      << "xs:duration" << QVariant(QStringLiteral(" x "));
    }
    void ConverterValor()
    {
        QFETCH(QString, texto);
        QFETCH(QString, tipo);
        QFETCH(QVariant, valor);
        bool ok = false;
        const QVariant v = datasetxml::ConverterValor(texto, tipo, &ok);
        QCOMPARE(ok, valor.isValid());
        QCOMPARE(v, valor);
    }

    void DecodificarNome_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("nome");
        QTest::newRow("simples") << "Nome"
                                 << "Nome";
        QTest::newRow("espaco") << "Order_x0020_Details"
                                << "Order Details";
        QTest::newRow("digito inicial") << "_x0031_998"
                                        << "1998";
        QTest::newRow("fora do plano basico") << "a_x0001F600_b"
                                              << QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                                   "b");
        QTest::newRow("parecido mas nao") << "a_x00zz_b_x12"
                                          << "a_x00zz_b_x12";
    }
    void DecodificarNome()
    {
        QFETCH(QString, xml);
        QFETCH(QString, nome);
        QCOMPARE(datasetxml::DecodificarNome(xml), nome);
    }
};
QUARRIX_TESTE(tst_mdlDataSetXml);
#include "tst_mdlDataSetXml.moc"
