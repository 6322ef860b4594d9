// The index editor on a real SQLite file (and PostgreSQL when QUARRIX_PG_CONNSTR is set): the
// dialog's lists and marks, and the loop that saves or shows the dialog again.
#include "connections/clsData.h"
#include "navigator/mdlNavegador.h"
#include "schema/frmIndex.h"
#include "shell/clsAmbiente.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {
QStringList Itens(QTreeWidget* l)
{
    QStringList r;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        r << l->topLevelItem(i)->text(0) + (l->columnCount() > 1 ? u'|' + l->topLevelItem(i)->text(1) : QString());
    return r;
}
frmIndex* Dialogo(QObject* o) { return qobject_cast<frmIndex*>(o); }
int Ok(frmIndex* d)
{
    d->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    return d->result();
}
} // namespace

class tst_frmIndex : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;
    clsPromptRoteiro prompt;
    std::unique_ptr<clsAmbiente> amb;

    // Table T (A, B, C) with the index ix on (B, A DESC), under a tables folder, as the navigator has it.
    clsNo* Montar(const QString& cs, const QStringList& preparo)
    {
        clsData db(*amb);
        if (!db.OpenConnection(cs, true, false))
            return nullptr;
        for (const QString& s : preparo)
            if (!db.ExecSql(s, false))
                return nullptr;
        auto& a = amb->Arvore();
        IncluirNode(a, NovoNo{.texto = "Tables", .chave = "Tb", .imagem = img::PastaTabelas, .tag = cs});
        IncluirNode(a, NovoNo{.texto = "T", .chave = "TbT", .chavePai = "Tb", .imagem = img::Tabela, .tag = cs});
        IncluirNode(
            a,
            NovoNo{.texto = "Indexes", .chave = "TbTI", .chavePai = "TbT", .imagem = img::PastaIndices, .tag = cs});
        return IncluirNode(
            a,
            NovoNo{.texto = "ix", .chave = "TbTIix", .chavePai = "TbTI", .imagem = img::Indice, .tag = cs});
    }
    QString Sqlite()
    {
        static int n = 0;
        const QString arquivo = pasta.filePath(QStringLiteral("i%1.db").arg(++n));
        ErroDados e;
        CriarBancoArquivo(arquivo, e);
        return MontarConnStrAccess(arquivo, "Admin", "");
    }
    QString SqlIndice(const QString& cs)
    {
        clsData db(*amb);
        db.OpenConnection(cs, false, false);
        return db.RetValue("SELECT sql FROM sqlite_schema WHERE name = 'ix'").toString();
    }

private slots:
    void init()
    {
        prompt = {};
        amb = std::make_unique<clsAmbiente>(prompt);
    }

    // Editing lists the index columns in key order with their marks, and saving keeps that order.
    void EditarMantemOrdem()
    {
        const QString cs = Sqlite();
        clsNo* ix = Montar(cs, {"CREATE TABLE T (A INTEGER, B TEXT, C TEXT)", "CREATE INDEX ix ON T (B, A DESC)"});
        QVERIFY(ix);
        prompt.dialogos.enqueue([this](QObject* o) {
            frmIndex* d = Dialogo(o);
            [&] {
                QCOMPARE(Itens(d->lstSel), QStringList({"B|", "A|X"}));
                QCOMPARE(Itens(d->lstColumns), QStringList({"C"}));
                QCOMPARE(d->txtIndexName->text(), QStringLiteral("ix"));
                QVERIFY(!d->txtIndexName->isEnabled());
                QVERIFY(!d->chkClustered->isEnabled());
                QVERIFY(!d->chkClustered->toolTip().isEmpty());
            }();
            d->show();
            CapturarJanela(d, "frmIndex");
            return Ok(d);
        });
        EditarIndice(*amb, ix, false);
        QVERIFY(prompt.dialogos.isEmpty());
        QCOMPARE(SqlIndice(cs), QStringLiteral("CREATE INDEX \"ix\" ON \"T\" (\"B\", \"A\" Desc)"));
        QVERIFY(prompt.mensagens.isEmpty());
    }

    void Dialogo_Marcas()
    {
        frmIndex d;
        d.Preencher({{{"A", false}}, {"B"}, false}, {}, true);
        QCOMPARE(d.txtIndexName->text(), frmIndex::PromptNome);
        QVERIFY(d.NomeIndice().isEmpty());
        // A second press on the selected column marks it descending; moving it back and forth loses the mark.
        d.show();
        QTreeWidgetItem* a = d.lstSel->topLevelItem(0);
        const QPoint p = d.lstSel->visualItemRect(a).center();
        QTest::mouseClick(d.lstSel->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseClick(d.lstSel->viewport(), Qt::LeftButton, {}, p);
        QCOMPARE(Itens(d.lstSel), QStringList({"A|X"}));
        d.Mover(d.lstSel->topLevelItem(0));
        QCOMPARE(Itens(d.lstColumns), QStringList({"B", "A"}));
        d.Mover(d.lstColumns->topLevelItem(1));
        QCOMPARE(Itens(d.lstSel), QStringList({"A|"}));
        QVERIFY(d.chkClustered->isEnabled());
    }

    // No column chosen: the dialog comes back at once. A name that exists: the CREATE fails, its
    // statement is shown and the dialog comes back; the table keeps its index.
    void NovoIndiceFalhas()
    {
        const QString cs = Sqlite();
        clsNo* ix = Montar(cs, {"CREATE TABLE T (A INTEGER, B TEXT, C TEXT)", "CREATE INDEX ix ON T (B, A DESC)"});
        QVERIFY(ix);
        const QString antes = SqlIndice(cs);
        prompt.dialogos.enqueue([](QObject* o) { return Ok(Dialogo(o)); });
        prompt.dialogos.enqueue([](QObject* o) {
            frmIndex* d = Dialogo(o);
            d->Mover(d->lstColumns->topLevelItem(2));
            d->txtIndexName->setText("ix");
            return Ok(d);
        });
        QStringList vistos;
        prompt.dialogos.enqueue([&](QObject* o) {
            vistos = prompt.textos();
            vistos << Itens(Dialogo(o)->lstSel);
            return 0;
        });
        EditarIndice(*amb, ix->Parent(), true);
        QVERIFY(prompt.dialogos.isEmpty());
        // The database's error, then the editor's message; the dialog as the user left it.
        QCOMPARE(vistos.size(), 3);
        QCOMPARE(vistos[1], QStringLiteral("Cannot create index ix\r\n\r\nCREATE INDEX \"ix\" ON \"T\" (\"C\")"));
        QCOMPARE(prompt.ultima().icone(), int(vb::Critical));
        QCOMPARE(vistos[2], QStringLiteral("C|"));
        QCOMPARE(SqlIndice(cs), antes);
    }

    void PostgresMantemOrdem()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_indice"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        clsNo* ix = Montar(cs,
                           {"DROP TABLE IF EXISTS \"T\"",
                            "CREATE TABLE \"T\" (\"A\" int, \"B\" text, \"C\" text)",
                            "CREATE INDEX ix ON \"T\" (\"B\", \"A\" DESC)"});
        QVERIFY(ix);
        prompt.dialogos.enqueue([](QObject* o) {
            frmIndex* d = Dialogo(o);
            if (Itens(d->lstSel) != QStringList({"B|", "A|X"}))
                return 0;
            d->chkUnique->setChecked(true);
            return Ok(d);
        });
        EditarIndice(*amb, ix, false);
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join(" / ")));
        clsData db(*amb);
        db.OpenConnection(cs, false, false);
        QCOMPARE(db.RetValue("SELECT indexdef FROM pg_indexes WHERE indexname = 'ix'").toString(),
                 QStringLiteral("CREATE UNIQUE INDEX ix ON public.\"T\" USING btree (\"B\", \"A\" DESC)"));
        db.ExecSql("DROP TABLE \"T\"", false);
    }
};

QUARRIX_TESTE(tst_frmIndex);
#include "tst_frmIndex.moc"
