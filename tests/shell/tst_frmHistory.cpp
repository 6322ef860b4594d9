#include "shell/frmHistory.h"
#include "support/capturas.h"
#include "support/registroTestes.h"

#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

class tst_frmHistory : public QObject {
    Q_OBJECT
private slots:
    void PrimeiraLinhaEmNegrito()
    {
        frmHistory j;
        QCOMPARE(j.windowTitle(), QStringLiteral("Histórico de Versões"));
        auto* txt = j.findChild<QTextEdit*>("txtHistory");
        QVERIFY(txt && txt->isReadOnly());
        const QTextBlock primeiro = txt->document()->firstBlock();
        QCOMPARE(primeiro.text(), QStringLiteral("v1x26f - 05/10/2005"));

        const QList<QTextLayout::FormatRange> trechos = primeiro.textFormats();
        QCOMPARE(trechos.size(), 2);
        QCOMPARE(trechos[0].start, 0);
        QCOMPARE(trechos[0].length, 6);
        QCOMPARE(trechos[0].format.fontWeight(), int(QFont::Bold));
        QCOMPARE(trechos[0].format.fontPointSize(), j.font().pointSizeF() + 2);
        QCOMPARE(trechos[1].format.fontWeight(), int(QFont::Normal));
        QCOMPARE(trechos[1].format.fontPointSize(), j.font().pointSizeF());

        QCOMPARE(txt->textCursor().position(), 0);
        j.show();
        CapturarJanela(&j, "frmHistory");
    }

    void EntradasSeparadasPorLinhaVazia()
    {
        frmHistory j;
        const QStringList linhas = j.findChild<QTextEdit*>("txtHistory")->toPlainText().split(u'\n');
        QCOMPARE(linhas.mid(0, 6),
                 (QStringList{"v1x26f - 05/10/2005",
                              "Corrigido posicionamento no aplicativo de Importação/Exporação",
                              "Corrigida carga de objetos com owners distintos",
                              "",
                              "v1x26e - 29/08/2005",
                              "Pequena correcao em carga de tables/views de MsAccess"}));
        // An entry without a date shows only its identifier.
        QVERIFY(linhas.contains("v1x25g"));
        QCOMPARE(linhas.at(linhas.indexOf("v1x25g") - 1), QString());
        // 13 headers, 67 changes, 13 blank lines.
        QCOMPARE(linhas.size(), 13 + 67 + 13 + 1);
    }
};
QUARRIX_TESTE(tst_frmHistory);
#include "tst_frmHistory.moc"
