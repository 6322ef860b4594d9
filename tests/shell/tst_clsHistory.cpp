#include "shell/clsHistory.h"
#include "support/registroTestes.h"

#include <QDate>
#include <QTest>

class tst_clsHistory : public QObject {
    Q_OBJECT
private slots:
    void VersoesDatasEQuantidades()
    {
        const QList<EntradaHistorico> h = clsHistory().Historico();
        const QList<std::tuple<QString, QString, int>> esperado = {
            {"v1x26f", "2005-10-05", 2},
            {"v1x26e", "2005-08-29", 1},
            {"v1x26d", "2005-06-14", 4},
            {"v1x26c", "2005-04-18", 13},
            {"v1x26b", "2005-03-07", 4},
            {"v1x26a", "2004-11-11", 3},
            {"v1x25i", "2004-07-04", 5},
            {"v1x25g", "", 5},
            {"v1x25a", "", 9},
            {"v1x24", "", 5},
            {"v1x23", "", 7},
            {"v1x22", "", 5},
            {"v1x21", "", 4},
        };
        QCOMPARE(h.size(), esperado.size());
        int linhas = 0;
        for (qsizetype i = 0; i < h.size(); ++i) {
            const auto& [id, data, qtde] = esperado[i];
            QCOMPARE(h[i].Identificador, id);
            QCOMPARE(h[i].Data, data);
            QCOMPARE(h[i].Linhas.size(), qtde);
            if (!data.isEmpty())
                QVERIFY(QDate::fromString(data, "yyyy-MM-dd").isValid());
            for (const QString& l : h[i].Linhas)
                QVERIFY2(!l.trimmed().isEmpty(), qPrintable(id));
            linhas += int(h[i].Linhas.size());
        }
        QCOMPARE(linhas, 67);
    }

    void LinhasConhecidas()
    {
        const QList<EntradaHistorico> h = clsHistory().Historico();
        QCOMPARE(h[0].Linhas,
                 (QStringList{"Corrigido posicionamento no aplicativo de Importação/Exporação",
                              "Corrigida carga de objetos com owners distintos"}));
        QCOMPARE(h[1].Linhas, QStringList{"Pequena correcao em carga de tables/views de MsAccess"});
        QCOMPARE(h.last().Linhas,
                 (QStringList{"Tratamento de Erro para ausencia de clients",
                              "Correções no redimensionamento das telas",
                              "Algumas correções pequenas nos menus",
                              "Tratamento para visualizar Stored Procedures"}));
        int easySetup = 0;
        for (const auto& e : h)
            for (const QString& l : e.Linhas)
                easySetup += l.contains("MSDE(r) Easy Setup");
        QCOMPARE(easySetup, 1);
    }
};
QUARRIX_TESTE(tst_clsHistory);
#include "tst_clsHistory.moc"
