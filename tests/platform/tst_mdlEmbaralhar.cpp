#include "platform/mdlEmbaralhar.h"
#include "support/registroTestes.h"

#include <QTest>

namespace {
QString DeCodigos(std::initializer_list<char16_t> codigos)
{
    QString r;
    for (char16_t c : codigos)
        r += QChar(c);
    return r;
}
} // namespace

class tst_mdlEmbaralhar : public QObject {
    Q_OBJECT
private slots:
    void VoltaIgual_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::newRow("vazio") << QString();
        QTest::newRow("ascii") << QStringLiteral("segredo;Data Source=x");
        QTest::newRow("latino") << QStringLiteral("Ação çé ÿ");
        QTest::newRow("cirilico") << QStringLiteral("пароль");
        QTest::newRow("cjk e emoji") << QStringLiteral("密码🔑x");
        QString longo;
        for (int i = 0; i < 700; ++i)
            longo += QChar(i % 3 ? u'ж' : char16_t(0x20 + i % 90));
        QTest::newRow("longo, passa de 293 bytes") << longo;
        QString todos;
        for (char16_t c = 1; c < 0x800; ++c)
            todos += QChar(c);
        QTest::newRow("todos os codigos ate U+07FF") << todos;
    }
    void VoltaIgual()
    {
        QFETCH(QString, texto);
        const QString guardado = Embaralhar(texto);
        QCOMPARE(Desembaralhar(guardado), texto);
        for (QChar c : guardado)
            QVERIFY(c.unicode() <= 0x100);
        if (!texto.isEmpty())
            QVERIFY(!guardado.contains(texto.left(3)));
    }

    // Values written by earlier versions read back as before, and text within U+0001..U+00FF is
    // still written the same way (the "*-*-*-*" convention and stored passwords compare equal, and
    // earlier versions read what this one writes).
    void ValoresAntigos_data()
    {
        QTest::addColumn<QString>("antigo");
        QTest::addColumn<QString>("texto");
        QTest::newRow("ascii") << DeCodigos({0x98, 0x89, 0x8a, 0x94, 0x86, 0x84, 0x8e}) << QStringLiteral("segredo");
        QTest::newRow("sem senha") << DeCodigos({0x4f, 0x51, 0x4d, 0x4f, 0x4b, 0x4d, 0x49})
                                   << QStringLiteral("*-*-*-*");
        QTest::newRow("latino") << DeCodigos({0x66, 0x0c, 0x07, 0x91, 0x41, 0x08, 0x09}) << QStringLiteral("Ação çé");
        QTest::newRow("alemao") << DeCodigos({0x6c, 0x96, 0x1a, 0x02, 0x86}) << QStringLiteral("Größe");
    }
    void ValoresAntigos()
    {
        QFETCH(QString, antigo);
        QFETCH(QString, texto);
        QCOMPARE(Desembaralhar(antigo), texto);
        QCOMPARE(Embaralhar(texto), antigo);
    }

    // The new form only where the old one cannot hold the text.
    void FormaNova_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("nova");
        QTest::newRow("latino") << QStringLiteral("Ação çé") << false;
        QTest::newRow("acima de U+00FF") << QStringLiteral("senha€") << true;
        QTest::newRow("y com trema no inicio") << QStringLiteral("ÿx") << true;
        QTest::newRow("y com trema depois da posicao 38") << QString(40, u'a') + QStringLiteral("ÿ") << false;
    }
    void FormaNova()
    {
        QFETCH(QString, texto);
        QFETCH(bool, nova);
        const QString guardado = Embaralhar(texto);
        QCOMPARE(guardado.startsWith(QChar(0x0100)), nova);
        QCOMPARE(Desembaralhar(guardado), texto);
    }
};
QUARRIX_TESTE(tst_mdlEmbaralhar);
#include "tst_mdlEmbaralhar.moc"
