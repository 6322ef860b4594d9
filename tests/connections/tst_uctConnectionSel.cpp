#include "connections/frmConnectionSelLista.h"
#include "connections/uctConnectionSel.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {
// A container that answers BuscarItens with the given entries (connection, server, database, node).
struct Conteiner {
    uctConnectionSel sel;
    QList<QStringList> itens;
    explicit Conteiner(clsPrompt& prompt) : sel(prompt)
    {
        QObject::connect(&sel, &uctConnectionSel::BuscarItens, [this] {
            for (const QStringList& i : itens)
                sel.Add(i.value(0), i.value(1), i.value(2), i.value(3));
        });
        sel.resize(300, 21);
        sel.show();
    }
};

// A scripted user who picks the list row with `texto` and confirms; records what the list showed.
std::function<int(QObject*)> Escolher(const QString& texto, QStringList* vistos = nullptr, QString* atual = nullptr)
{
    return [=](QObject* d) {
        auto* lista = d->findChild<QListWidget*>("lstLista");
        if (atual)
            *atual = lista->currentItem() ? lista->currentItem()->text() : QString();
        for (int i = 0; i < lista->count(); ++i) {
            if (vistos)
                *vistos << lista->item(i)->text();
            if (lista->item(i)->text() == texto)
                lista->setCurrentRow(i);
        }
        CapturarJanela(static_cast<QWidget*>(d), "frmConnectionSelLista");
        return 1;
    };
}
} // namespace

class tst_uctConnectionSel : public QObject {
    Q_OBJECT
private slots:
    void SemEntradasAvisaENaoAbreLista()
    {
        clsPromptRoteiro prompt;
        Conteiner c(prompt);
        QSignalSpy mudou(&c.sel, &uctConnectionSel::ConnectionChanged);
        c.sel.findChild<QToolButton*>("btnSel")->click();
        QCOMPARE(prompt.textos(), QStringList{"Nenhuma Conexão Foi Encontrada, Verifique."});
        QCOMPARE(prompt.ultima().estilo, int(vb::Exclamation));
        QCOMPARE(mudou.count(), 0);
    }

    void EscolherTrocaAConexao()
    {
        clsPromptRoteiro prompt;
        Conteiner c(prompt);
        c.itens = {{"cs-a", "SRV", "Vendas", ""}, {"cs-b", "loja.db", "", ""}, {"cs-c", "", "", "Meu ODBC"}};
        c.sel.DefinirLabel("srv", "vendas", {});
        QStringList vistos;
        QString preselecionado;
        prompt.dialogos << Escolher("Meu ODBC", &vistos, &preselecionado);
        QSignalSpy mudou(&c.sel, &uctConnectionSel::ConnectionChanged);
        c.sel.findChild<QToolButton*>("btnSel")->click();
        QCOMPARE(vistos, (QStringList{"SRV / Vendas", "loja.db", "Meu ODBC"}));
        QCOMPARE(preselecionado, QStringLiteral("SRV / Vendas")); // case ignored
        QCOMPARE(mudou.count(), 1);
        QCOMPARE(mudou.at(0), (QVariantList{"cs-c", "", "", "Meu ODBC"}));
        QCOMPARE(c.sel.NodeText(), QStringLiteral("Meu ODBC"));
        QVERIFY(c.sel.findChild<QLabel*>("lblNodeText")->isVisible());
        QVERIFY(!c.sel.findChild<QLabel*>("lblServer")->isVisible());
    }

    void ListaCabeNaTelaEVemComAConexaoAtual()
    {
        // A selector far to the right and wider than the screen: the list is as wide as its
        // entries, inside the screen, with Ok and Cancelar in sight, and the window's own
        // connection selected even when its label reads otherwise (a file's full path).
        clsPromptRoteiro prompt;
        Conteiner c(prompt);
        c.itens = {{"cs-a", "SRV", "Vendas", ""}, {"cs-b", "loja.db", "", ""}};
        const QRect tela = c.sel.screen()->availableGeometry();
        c.sel.move(tela.right() - 200, tela.top() + 40);
        c.sel.resize(tela.width() + 100, 21);
        c.sel.DefinirLabel("/home/ana/dados/loja.db", {}, {});
        c.sel.DefinirConnectionString("cs-b");
        QRect geometria;
        QString atual;
        prompt.dialogos << [&](QObject* d) {
            auto* janela = static_cast<QWidget*>(d);
            geometria = janela->frameGeometry();
            atual = d->findChild<QListWidget*>("lstLista")->currentItem()->text();
            return 0;
        };
        c.sel.AbrirLista();
        QCOMPARE(atual, QStringLiteral("loja.db"));
        QVERIFY2(tela.contains(geometria),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(geometria.x())
                                .arg(geometria.y())
                                .arg(geometria.width())
                                .arg(geometria.height())));
        QVERIFY(geometria.width() < tela.width() / 2);
    }

    void MesmoTextoDevolveAUltima()
    {
        clsPromptRoteiro prompt;
        Conteiner c(prompt);
        c.itens = {{"cs-1", "S", "B", ""}, {"cs-2", "S", "B", ""}};
        prompt.dialogos << Escolher("S / B");
        QSignalSpy mudou(&c.sel, &uctConnectionSel::ConnectionChanged);
        c.sel.AbrirLista();
        QCOMPARE(mudou.count(), 1);
        QCOMPARE(mudou.at(0).at(0).toString(), QStringLiteral("cs-2"));
    }

    void CancelarNadaMuda()
    {
        clsPromptRoteiro prompt;
        Conteiner c(prompt);
        c.itens = {{"cs-1", "S", "B", ""}};
        c.sel.DefinirLabel("X", "Y", {});
        prompt.dialogos << [](QObject*) { return 0; };
        QSignalSpy mudou(&c.sel, &uctConnectionSel::ConnectionChanged);
        c.sel.AbrirLista();
        QCOMPARE(mudou.count(), 0);
        QCOMPARE(c.sel.Server(), QStringLiteral("X"));
    }

    void DefinirLabel_data()
    {
        QTest::addColumn<QString>("servidor");
        QTest::addColumn<QString>("banco");
        QTest::addColumn<QString>("no");
        QTest::addColumn<QStringList>("visiveis"); // server, separator, database, node text
        QTest::newRow("texto do no") << "S"
                                     << "B"
                                     << "Conexao" << QStringList{"", "", "", "Conexao"};
        QTest::newRow("servidor e banco") << "S"
                                          << "B"
                                          << "" << QStringList{"S", "/", "B", ""};
        QTest::newRow("so servidor") << "S"
                                     << ""
                                     << "" << QStringList{"S", "", "", ""};
    }
    void DefinirLabel()
    {
        QFETCH(QString, servidor);
        QFETCH(QString, banco);
        QFETCH(QString, no);
        QFETCH(QStringList, visiveis);
        clsPromptRoteiro prompt;
        Conteiner c(prompt);
        c.sel.DefinirLabel(servidor, banco, no);
        QStringList vistos;
        for (const char* nome : {"lblServer", "lblSep", "lblDatabase", "lblNodeText"}) {
            auto* l = c.sel.findChild<QLabel*>(nome);
            vistos << (l->isVisible() ? l->text() : QString());
        }
        QCOMPARE(vistos, visiveis);
        QCOMPARE(c.sel.height(), 21);
        auto* botao = c.sel.findChild<QToolButton*>("btnSel");
        QCOMPARE(botao->geometry().right() + 1, c.sel.width() - 3);
    }
};
QUARRIX_TESTE(tst_uctConnectionSel);
#include "tst_uctConnectionSel.moc"
