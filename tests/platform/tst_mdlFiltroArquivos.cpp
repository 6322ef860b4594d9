#include "platform/mdlFiltroArquivos.h"
#include "support/registroTestes.h"

#include <QTest>

class tst_mdlFiltroArquivos : public QObject {
    Q_OBJECT
private slots:
    void FiltroQt_data()
    {
        QTest::addColumn<QString>("filtro");
        QTest::addColumn<QStringList>("entradas");
        QTest::newRow("scripts")
            << "Scripts de SQL|*.txt;*.sql|Arquivos de Texto (*.txt)|*.txt|Arquivos de SQL (*.sql)|*.sql|"
               "Todos os Arquivos (*.*)|*.*"
            << QStringList{"Scripts de SQL (*.txt *.sql)",
                           "Arquivos de Texto (*.txt)",
                           "Arquivos de SQL (*.sql)",
                           "Todos os Arquivos (*.*)"};
        QTest::newRow("texto") << "Arquivo de Texto|*.Txt|Todos os Arquivos (*.*)|*.*"
                               << QStringList{"Arquivo de Texto (*.Txt)", "Todos os Arquivos (*.*)"};
        QTest::newRow("descricao com outro padrao entre parenteses")
            << "AspNet WebService (asmx)|*.asmx" << QStringList{"AspNet WebService (asmx) (*.asmx)"};
        QTest::newRow("barra final e brancos") << "Planilha|*.xlsx ; *.xls|" << QStringList{"Planilha (*.xlsx *.xls)"};
        QTest::newRow("ja na forma do Qt") << "Bancos (*.db *.mdb);;Todos os Arquivos (*.*)"
                                           << QStringList{"Bancos (*.db *.mdb)", "Todos os Arquivos (*.*)"};
    }
    void FiltroQt()
    {
        QFETCH(QString, filtro);
        QFETCH(QStringList, entradas);
        QCOMPARE(filtroarquivos::Entradas(filtro), entradas);
        QCOMPARE(filtroarquivos::FiltroQt(filtro), entradas.join(QStringLiteral(";;")));
    }
    void EntradaSelecionada()
    {
        const QString f = QStringLiteral("A|*.a|B|*.b|C|*.c");
        QCOMPARE(filtroarquivos::Entrada(f, 2), QStringLiteral("C (*.c)"));
        QCOMPARE(filtroarquivos::Entrada(f, 7), QStringLiteral("A (*.a)"));
        QCOMPARE(filtroarquivos::Entrada(QString(), 0), QString());
    }
};
QUARRIX_TESTE(tst_mdlFiltroArquivos);
#include "tst_mdlFiltroArquivos.moc"
