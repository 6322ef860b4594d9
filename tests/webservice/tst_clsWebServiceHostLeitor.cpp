#include "support/registroTestes.h"
#include "webservice/clsWebServiceHostLeitor.h"

#include <QTest>

// When the host's reader judges a request complete, and how much of its bytes it hands over.
class tst_clsWebServiceHostLeitor : public QObject {
    Q_OBJECT

private slots:
    void TamanhoPedido_data()
    {
        QTest::addColumn<QByteArray>("dados");
        QTest::addColumn<qlonglong>("esperado");
        const QByteArray cab = "POST /WebData.asmx HTTP/1.1\r\nHost: x\r\n";
        QTest::newRow("cabeçalhos incompletos") << cab << 0LL;
        QTest::newRow("GET sem corpo") << QByteArray("GET /a HTTP/1.1\r\nHost: x\r\n\r\n") << 28LL;
        QTest::newRow("corpo incompleto") << cab + "Content-Length: 5\r\n\r\nabc" << 0LL;
        const QByteArray completo = cab + "content-length:  5 \r\n\r\nabcde";
        QTest::newRow("corpo completo") << completo << qlonglong(completo.size());
        const QByteArray um = cab + "Content-Length: 1\r\n\r\na";
        QTest::newRow("o próximo pedido fica") << um + "GET" << qlonglong(um.size());
        QTest::newRow("tamanho inválido") << cab + "Content-Length: 5x\r\n\r\n" << -1LL;
        QTest::newRow("corpo longo demais") << cab + "Content-Length: 1025\r\n\r\n" << -2LL;
        const QByteArray chunked = cab + "Transfer-Encoding: chunked\r\n\r\n";
        QTest::newRow("chunked incompleto") << chunked + "3\r\nabc\r\n" << 0LL;
        const QByteArray pedacos = chunked + "3;x=y\r\nabc\r\n0\r\nTrailer: 1\r\n\r\n";
        QTest::newRow("chunked completo") << pedacos + "GET" << qlonglong(pedacos.size());
        QTest::newRow("chunked malformado") << chunked + "zz\r\n" << -1LL;
        QTest::newRow("chunked sem CRLF após o pedaço") << chunked + "3\r\nabcXY0\r\n\r\n" << -1LL;
        QTest::newRow("chunked longo demais") << chunked + "401\r\n" + QByteArray(1025, 'a') << -2LL;
        QTest::newRow("cabeçalhos sem fim e longos demais") << cab + QByteArray(70000, 'a') << -1LL;
    }
    void TamanhoPedido()
    {
        QFETCH(QByteArray, dados);
        QFETCH(qlonglong, esperado);
        QCOMPARE(hostleitor::TamanhoPedido(dados.toStdString(), 1024), esperado);
    }

    void PedidoDeContinuacaoSaiDosCabecalhos()
    {
        std::string d = "POST / HTTP/1.1\r\nExpect:  100-Continue\r\nContent-Length: 3\r\n\r\n";
        QVERIFY(hostleitor::TirarPedidoDeContinuacao(d));
        QCOMPARE(QByteArray::fromStdString(d), QByteArray("POST / HTTP/1.1\r\nContent-Length: 3\r\n\r\n"));
        QVERIFY(!hostleitor::TirarPedidoDeContinuacao(d));
        std::string incompleto = "POST / HTTP/1.1\r\nExpect: 100-continue\r\n";
        QVERIFY(!hostleitor::TirarPedidoDeContinuacao(incompleto));
    }
};
QUARRIX_TESTE(tst_clsWebServiceHostLeitor);
#include "tst_clsWebServiceHostLeitor.moc"
