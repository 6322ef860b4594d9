#include "schema/mdlTipoDado.h"
#include "support/registroTestes.h"

#include <QTest>

class tst_mdlTipoDado : public QObject {
    Q_OBJECT
private slots:
    void ObterTipoDado_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("tamanho");
        QTest::addColumn<int>("precisao");
        QTest::addColumn<int>("escala");
        QTest::addColumn<int>("precisaoData");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("semTamanho");
        QTest::addColumn<QString>("comTamanho");
        QTest::addColumn<int>("tamanhoDepois");

        // type, L, precision, scale, datetime precision, flags -> name, name with size, L afterwards
        QTest::newRow("bit zera L") << 11 << 1 << 0 << 0 << 0 << 100 << "Bit"
                                    << "Bit" << 0;
        QTest::newRow("image por tamanho") << 128 << 2147483647 << 0 << 0 << 0 << 100 << "Image"
                                           << "Image" << 0;
        QTest::newRow("image 230") << 128 << 16 << 0 << 0 << 0 << 230 << "Image"
                                   << "Image" << 0;
        QTest::newRow("image 234") << 128 << 16 << 0 << 0 << 0 << 234 << "Image"
                                   << "Image" << 0;
        QTest::newRow("timestamp 624") << 128 << 8 << 0 << 0 << 0 << 624 << "TimeStamp"
                                       << "TimeStamp" << 8;
        QTest::newRow("timestamp 74") << 128 << 8 << 0 << 0 << 0 << 74 << "TimeStamp"
                                      << "TimeStamp" << 8;
        QTest::newRow("binary 8 outros flags") << 128 << 8 << 0 << 0 << 0 << 100 << "VarBinary"
                                               << "VarBinary(8)" << 8;
        QTest::newRow("binary 116") << 128 << 8 << 0 << 0 << 0 << 116 << "Binary"
                                    << "Binary(8)" << 8;
        QTest::newRow("binary 106") << 128 << 20 << 0 << 0 << 0 << 106 << "Binary"
                                    << "Binary(20)" << 20;
        QTest::newRow("binary 8000 ainda cabe") << 128 << 8000 << 0 << 0 << 0 << 100 << "VarBinary"
                                                << "VarBinary(8000)" << 8000;
        QTest::newRow("624 fora do 8") << 128 << 16 << 0 << 0 << 0 << 624 << "VarBinary"
                                       << "VarBinary(16)" << 16;
        QTest::newRow("tinyint 16") << 16 << 0 << 3 << 0 << 0 << 0 << "TinyInt"
                                    << "TinyInt" << 0;
        QTest::newRow("tinyint 17") << 17 << 0 << 3 << 0 << 0 << 0 << "TinyInt"
                                    << "TinyInt" << 0;
        QTest::newRow("smallint 2") << 2 << 0 << 0 << 0 << 0 << 0 << "SmallInt"
                                    << "SmallInt" << 0;
        QTest::newRow("smallint 18") << 18 << 0 << 0 << 0 << 0 << 0 << "SmallInt"
                                     << "SmallInt" << 0;
        QTest::newRow("int 3") << 3 << 0 << 10 << 0 << 0 << 0 << "Int"
                               << "Int" << 0;
        QTest::newRow("int 19") << 19 << 0 << 10 << 0 << 0 << 0 << "Int"
                                << "Int" << 0;
        QTest::newRow("real") << 4 << 0 << 0 << 0 << 0 << 0 << "Real"
                              << "Real" << 0;
        QTest::newRow("float") << 5 << 0 << 0 << 0 << 0 << 0 << "Float"
                               << "Float" << 0;
        QTest::newRow("smallmoney") << 6 << 0 << 10 << 4 << 0 << 0 << "SmallMoney"
                                    << "SmallMoney" << 0;
        QTest::newRow("money") << 6 << 0 << 19 << 4 << 0 << 0 << "Money"
                               << "Money" << 0;
        QTest::newRow("bigint") << 20 << 0 << 19 << 0 << 0 << 0 << "BigInt"
                                << "BigInt" << 0;
        QTest::newRow("decimal") << 131 << 0 << 18 << 2 << 0 << 0 << "Decimal"
                                 << "Decimal(18, 2)" << 0;
        QTest::newRow("datetime") << 135 << 0 << 0 << 0 << 3 << 0 << "DateTime"
                                  << "DateTime" << 0;
        QTest::newRow("smalldatetime") << 135 << 0 << 0 << 0 << 0 << 0 << "SmallDateTime"
                                       << "SmallDateTime" << 0;
        QTest::newRow("date 7") << 7 << 0 << 0 << 0 << 3 << 0 << "DateTime"
                                << "DateTime" << 0;
        QTest::newRow("dbdate 133") << 133 << 0 << 0 << 0 << 0 << 0 << "SmallDateTime"
                                    << "SmallDateTime" << 0;
        QTest::newRow("dbtime 134") << 134 << 0 << 0 << 0 << 1 << 0 << "DateTime"
                                    << "DateTime" << 0;
        QTest::newRow("nvarchar") << 202 << 50 << 0 << 0 << 0 << 100 << "nVarChar"
                                  << "nVarChar(50)" << 50;
        QTest::newRow("varchar") << 200 << 50 << 0 << 0 << 0 << 100 << "VarChar"
                                 << "VarChar(50)" << 50;
        QTest::newRow("char 129 116") << 129 << 10 << 0 << 0 << 0 << 116 << "Char"
                                      << "Char(10)" << 10;
        QTest::newRow("nchar 130 116") << 130 << 10 << 0 << 0 << 0 << 116 << "nChar"
                                       << "nChar(10)" << 10;
        QTest::newRow("130 106 sem n") << 130 << 10 << 0 << 0 << 0 << 106 << "Char"
                                       << "Char(10)" << 10;
        QTest::newRow("130 234 text sem n") << 130 << 0 << 0 << 0 << 0 << 234 << "Text"
                                            << "Text" << 0;
        QTest::newRow("130 230 ntext") << 130 << 1073741823 << 0 << 0 << 0 << 230 << "nText"
                                       << "nText" << 0;
        QTest::newRow("text por tamanho") << 200 << 4001 << 0 << 0 << 0 << 100 << "Text"
                                          << "Text" << 0;
        QTest::newRow("varchar 4000 ainda cabe") << 200 << 4000 << 0 << 0 << 0 << 100 << "VarChar"
                                                 << "VarChar(4000)" << 4000;
        QTest::newRow("sql_variant") << 12 << 0 << 0 << 0 << 0 << 0 << "sql_variant"
                                     << "sql_variant" << 0;
        QTest::newRow("uniqueidentifier") << 72 << 0 << 0 << 0 << 0 << 0 << "UniqueIdentifier"
                                          << "UniqueIdentifier" << 0;
        QTest::newRow("14 desconhecido") << 14 << 0 << 18 << 2 << 0 << 0 << ""
                                         << "" << 0;
        QTest::newRow("203 desconhecido") << 203 << 10 << 0 << 0 << 0 << 0 << ""
                                          << "" << 10;

        // NOT NULL columns: the nullable bits are clear, the fixed-length and long bits still count.
        QTest::newRow("char not null") << 129 << 10 << 0 << 0 << 0 << 0x14 << "Char"
                                       << "Char(10)" << 10;
        QTest::newRow("nchar not null") << 130 << 10 << 0 << 0 << 0 << 0x14 << "nChar"
                                        << "nChar(10)" << 10;
        QTest::newRow("varchar not null") << 200 << 30 << 0 << 0 << 0 << 0x04 << "VarChar"
                                          << "VarChar(30)" << 30;
        QTest::newRow("binary not null") << 128 << 16 << 0 << 0 << 0 << 0x14 << "Binary"
                                         << "Binary(16)" << 16;
        QTest::newRow("text not null") << 129 << 16 << 0 << 0 << 0 << 0x86 << "Text"
                                       << "Text" << 0;
        QTest::newRow("ntext not null") << 130 << 16 << 0 << 0 << 0 << 0x86 << "nText"
                                        << "nText" << 0;
        QTest::newRow("image not null") << 128 << 16 << 0 << 0 << 0 << 0x86 << "Image"
                                        << "Image" << 0;
        QTest::newRow("timestamp not null") << 128 << 8 << 0 << 0 << 0 << 0x210 << "TimeStamp"
                                            << "TimeStamp" << 8;
    }
    void ObterTipoDado()
    {
        QFETCH(int, tipo);
        QFETCH(int, tamanho);
        QFETCH(int, precisao);
        QFETCH(int, escala);
        QFETCH(int, precisaoData);
        QFETCH(int, flags);
        QFETCH(QString, semTamanho);
        QFETCH(QString, comTamanho);
        QFETCH(int, tamanhoDepois);
        qint32 l = tamanho;
        QCOMPARE(tipodado::ObterTipoDado(tipo, l, false, precisao, escala, precisaoData, flags), semTamanho);
        QCOMPARE(int(l), tamanhoDepois);
        l = tamanho;
        QCOMPARE(tipodado::ObterTipoDado(tipo, l, true, precisao, escala, precisaoData, flags), comTamanho);
        QCOMPARE(int(l), tamanhoDepois);
    }
};
QUARRIX_TESTE(tst_mdlTipoDado);
#include "tst_mdlTipoDado.moc"
