#include "platform/mdlGlobais.h"
#include "support/registroTestes.h"

#include <QTest>

class tst_mdlGlobais : public QObject {
    Q_OBJECT
private slots:
    void ObterVersao_data()
    {
        QTest::addColumn<int>("maior");
        QTest::addColumn<int>("menor");
        QTest::addColumn<QString>("texto");
        QTest::newRow("terceiro digito vira letra") << 1 << 266 << "1.26f";
        QTest::newRow("digito 1 e a") << 1 << 251 << "1.25a";
        QTest::newRow("um digito") << 1 << 5 << "1.5";
        QTest::newRow("dois digitos") << 2 << 24 << "2.24";
        QTest::newRow("digito zero e crase") << 1 << 260 << "1.26`";
    }
    void ObterVersao()
    {
        QFETCH(int, maior);
        QFETCH(int, menor);
        QFETCH(QString, texto);
        QCOMPARE(globais::ObterVersao(maior, menor), texto);
    }
    void TituloAplicativoUsaAVersaoDoPrograma()
    {
        QCOMPARE(globais::TituloAplicativo(), QStringLiteral("Quarrix v1.26f"));
    }
    void PastaTemporariaDoDia()
    {
        QVERIFY(globais::PastaTemporariaDoDia().endsWith(QStringLiteral("/TmpQuarrix")
                                                         + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
    }
};
QUARRIX_TESTE(tst_mdlGlobais);
#include "tst_mdlGlobais.moc"
