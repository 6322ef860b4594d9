#include "platform/mdlDecimal.h"
#include "support/registroTestes.h"

#include <QLocale>
#include <QTest>

class tst_mdlDecimal : public QObject {
    Q_OBJECT
private slots:
    // Text typed or read in a locale becomes the canonical digits (empty: not a number), and the
    // canonical digits shown in that locale read back the same.
    void Ler_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("canonico");
        QTest::newRow("zeros a esquerda, sinal, escala") << "C"
                                                         << "  +0012.50 "
                                                         << "12.50";
        QTest::newRow("so fracao") << "C"
                                   << ".5"
                                   << "0.5";
        QTest::newRow("zero sem sinal") << "C"
                                        << "-0.000"
                                        << "0.000";
        QTest::newRow("ponto no fim") << "C"
                                      << "7."
                                      << "7";
        QTest::newRow("expoente") << "C"
                                  << "1.5e3"
                                  << "1500";
        QTest::newRow("expoente negativo") << "C"
                                           << "-1.25E-3"
                                           << "-0.00125";
        QTest::newRow("expoente grande") << "C"
                                         << "1e+20"
                                         << "100000000000000000000";
        QTest::newRow("38 digitos") << "C"
                                    << "-1234567890123456789012345678.0123456789"
                                    << "-1234567890123456789012345678.0123456789";
        QTest::newRow("virgula sozinha") << "C"
                                         << "1,5"
                                         << "1.5";
        QTest::newRow("texto") << "C"
                               << "abc"
                               << "";
        QTest::newRow("dois pontos") << "C"
                                     << "1.2.3"
                                     << "";
        QTest::newRow("expoente sem digitos") << "C"
                                              << "1e"
                                              << "";
        QTest::newRow("so ponto") << "C"
                                  << "."
                                  << "";
        QTest::newRow("infinito") << "C"
                                  << "Infinity"
                                  << "";
        QTest::newRow("pt_BR com grupos") << "pt_BR"
                                          << "-1.234.567,890"
                                          << "-1234567.890";
        QTest::newRow("pt_BR em notacao C") << "pt_BR"
                                            << "1234.5"
                                            << "1234.5";
        QTest::newRow("pt_BR longo") << "pt_BR"
                                     << "1234567890123456789012345678,0123456789"
                                     << "1234567890123456789012345678.0123456789";
        QTest::newRow("ar_EG digitos proprios")
            << "ar_EG" << QLocale(QStringLiteral("ar_EG")).toString(-12.5) << "-12.5";
    }
    void Ler()
    {
        QFETCH(QString, local);
        QFETCH(QString, texto);
        QFETCH(QString, canonico);
        const QLocale l(local);
        std::string lido;
        const bool ok = decimal::DeTextoLocal(texto, l, lido);
        QCOMPARE(ok ? QString::fromStdString(lido) : QString(), canonico);
        if (!ok)
            return;
        const QString mostrado = decimal::ParaTextoLocal(canonico, l);
        QVERIFY2(decimal::DeTextoLocal(mostrado, l, lido), qPrintable(mostrado));
        QCOMPARE(QString::fromStdString(lido), canonico);
    }

    void RealPeloTextoMaisCurto_data()
    {
        QTest::addColumn<double>("real");
        QTest::addColumn<QString>("canonico");
        QTest::newRow("0.1") << 0.1 << "0.1";
        QTest::newRow("1e20") << 1e20 << "100000000000000000000";
        QTest::newRow("negativo pequeno") << -1.5e-7 << "-0.00000015";
        QTest::newRow("2^53 + 2") << 9007199254740994.0 << "9007199254740994";
    }
    void RealPeloTextoMaisCurto()
    {
        QFETCH(double, real);
        QFETCH(QString, canonico);
        std::string t;
        QVERIFY(decimal::DeReal(real, t));
        QCOMPARE(QString::fromStdString(t), canonico);
    }
};
QUARRIX_TESTE(tst_mdlDecimal);
#include "tst_mdlDecimal.moc"
