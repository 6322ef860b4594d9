// The index editor on a real SQLite file (and PostgreSQL when QUARRIX_PG_CONNSTR is set): the
// dialog's lists and marks, the loop that saves or shows the dialog again, and every kind of index
// opened and confirmed: unchanged it is left alone, changed it keeps what was not changed, and what
// the editor cannot show makes it read-only.
#include "connections/clsData.h"
#include "navigator/mdlNavegador.h"
#include "schema/frmIndex.h"
#include "shell/clsAmbiente.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <functional>

namespace {
QStringList Itens(QTreeWidget* l)
{
    QStringList r;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        r << l->topLevelItem(i)->text(0) + (l->columnCount() > 1 ? u'|' + l->topLevelItem(i)->text(1) : QString());
    return r;
}
frmIndex* Dialogo(QObject* o) { return qobject_cast<frmIndex*>(o); }
// A change made in the dialog; none leaves it as it opened.
using MudancaIndice = std::function<void(frmIndex*)>;
// Toggles the descending mark of the first chosen column, as a second click on it does.
void InverterPrimeira(frmIndex* d)
{
    QTreeWidgetItem* i = d->lstSel->topLevelItem(0);
    i->setText(1, i->text(1) == u"X" ? QString() : QStringLiteral("X"));
}
int Ok(frmIndex* d)
{
    d->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    return d->result();
}
} // namespace

Q_DECLARE_METATYPE(MudancaIndice)

class tst_frmIndex : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;
    clsPromptRoteiro prompt;
    std::unique_ptr<clsAmbiente> amb;

    // The statements of `preparo` run, and the index node `indice` of table `tabela` under a tables
    // folder, as the navigator has it.
    clsNo*
    Montar(const QString& cs, const QStringList& preparo, const QString& tabela = "T", const QString& indice = "ix")
    {
        clsData db(*amb);
        if (!db.OpenConnection(cs, true, false))
            return nullptr;
        for (const QString& s : preparo)
            if (!db.ExecSql(s, false))
                return nullptr;
        auto& a = amb->Arvore();
        IncluirNode(a, NovoNo{.texto = "Tables", .chave = "Tb", .imagem = img::PastaTabelas, .tag = cs});
        IncluirNode(a, NovoNo{.texto = tabela, .chave = "TbT", .chavePai = "Tb", .imagem = img::Tabela, .tag = cs});
        IncluirNode(
            a,
            NovoNo{.texto = "Indexes", .chave = "TbTI", .chavePai = "TbT", .imagem = img::PastaIndices, .tag = cs});
        return IncluirNode(
            a,
            NovoNo{.texto = indice, .chave = "TbTIix", .chavePai = "TbTI", .imagem = img::Indice, .tag = cs});
    }
    QString Sqlite()
    {
        static int n = 0;
        const QString arquivo = pasta.filePath(QStringLiteral("i%1.db").arg(++n));
        ErroDados e;
        CriarBancoArquivo(arquivo, e);
        return MontarConnStrAccess(arquivo, "Admin", "");
    }
    QString SqlIndice(const QString& cs, const QString& indice = "ix")
    {
        clsData db(*amb);
        db.OpenConnection(cs, false, false);
        return db.RetValue("SELECT sql FROM sqlite_schema WHERE name = '" + indice + "'").toString();
    }
    static QString Retrato(clsData& db, const QString& sql)
    {
        QStringList r;
        RecordsetPtr rs;
        if (!db.OpenRecordset(rs, sql, false, false, false) || !rs)
            return "<falhou>";
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            r << rs->Valor(0).toString();
        return r.join('\n');
    }

private slots:
    void init()
    {
        prompt = {};
        amb = std::make_unique<clsAmbiente>(prompt);
    }

    // Editing lists the index columns in key order with their marks and options; OK without a
    // change sends nothing, a change keeps the rest.
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
                QVERIFY(!d->chkUnique->isChecked());
                QVERIFY(d->lstSel->isEnabled());
            }();
            d->show();
            CapturarJanela(d, "frmIndex");
            return Ok(d);
        });
        EditarIndice(*amb, ix, false);
        QVERIFY(prompt.dialogos.isEmpty());
        QCOMPARE(SqlIndice(cs), QStringLiteral("CREATE INDEX ix ON T (B, A DESC)"));
        prompt.dialogos.enqueue([](QObject* o) {
            InverterPrimeira(Dialogo(o));
            return Ok(Dialogo(o));
        });
        EditarIndice(*amb, ix, false);
        QCOMPARE(SqlIndice(cs), QStringLiteral("CREATE INDEX \"ix\" ON \"T\" (\"B\" Desc, \"A\" Desc)"));
        QVERIFY(prompt.mensagens.isEmpty());
    }

    // Every kind of SQLite index: opened and confirmed unchanged, the file is the same; changed,
    // only the change is new; what the editor cannot show opens read-only with the reason and
    // nothing is sent.
    void IdaEVoltaSqlite_data()
    {
        QTest::addColumn<QString>("criar");
        QTest::addColumn<QString>("indice");
        QTest::addColumn<QString>("somenteLeitura");
        QTest::addColumn<MudancaIndice>("mudar");
        QTest::addColumn<QString>("depois"); // the index's text after the change
        QTest::newRow("unico") << "CREATE UNIQUE INDEX ix ON T (B, A DESC)"
                               << "ix" << QString() << MudancaIndice(InverterPrimeira)
                               << "CREATE UNIQUE INDEX \"ix\" ON \"T\" (\"B\" Desc, \"A\" Desc)";
        QTest::newRow("parcial") << "CREATE INDEX ix ON T (A) WHERE A > 100"
                                 << "ix" << QString()
                                 << MudancaIndice([](frmIndex* d) { d->Mover(d->lstColumns->topLevelItem(1)); })
                                 << "CREATE INDEX \"ix\" ON \"T\" (\"A\", \"C\") WHERE A > 100";
        QTest::newRow("filtro mudado") << "CREATE INDEX ix ON T (A) WHERE A > 100"
                                       << "ix" << QString()
                                       << MudancaIndice([](frmIndex* d) { d->txtFiltro->setText("A > 7"); })
                                       << "CREATE INDEX \"ix\" ON \"T\" (\"A\") WHERE A > 7";
        QTest::newRow("expressao") << "CREATE INDEX ix ON T (lower(B) DESC, A)"
                                   << "ix"
                                   << "Este índice usa expressões; edite-o pelo script" << MudancaIndice() << QString();
        QTest::newRow("colacao") << "CREATE INDEX ix ON T (B COLLATE NOCASE)"
                                 << "ix"
                                 << "Este índice usa colações próprias; edite-o pelo script" << MudancaIndice()
                                 << QString();
        QTest::newRow("restricao unique")
            << "CREATE TABLE U (A INTEGER, B TEXT, C TEXT, UNIQUE (C, A))"
            << "sqlite_autoindex_U_1"
            << "Este índice pertence a uma restrição da tabela (UNIQUE); mude-a pela estrutura da tabela"
            << MudancaIndice() << QString();
    }
    void IdaEVoltaSqlite()
    {
        QFETCH(QString, criar);
        QFETCH(QString, indice);
        QFETCH(QString, somenteLeitura);
        QFETCH(MudancaIndice, mudar);
        QFETCH(QString, depois);
        const QString cs = Sqlite();
        const bool outraTabela = criar.startsWith("CREATE TABLE");
        clsNo* ix = Montar(cs,
                           {outraTabela ? criar : "CREATE TABLE T (A INTEGER, B TEXT, C TEXT)",
                            outraTabela ? "CREATE TABLE T (A INTEGER, B TEXT, C TEXT)" : criar},
                           outraTabela ? "U" : "T",
                           indice);
        QVERIFY(ix);
        clsData db(*amb);
        QVERIFY(db.OpenConnection(cs, false, false));
        const QString retrato = "SELECT type || ' ' || name || ' ' || coalesce(sql, '') FROM sqlite_schema ORDER BY 1";
        const QString antes = Retrato(db, retrato);
        QString visto;
        prompt.dialogos.enqueue([&](QObject* o) {
            visto = Dialogo(o)->lblSomenteLeitura->text() + u'|' + QString::number(Dialogo(o)->lstSel->isEnabled());
            Dialogo(o)->show();
            CapturarJanela(Dialogo(o), QStringLiteral("frmIndex-") + QTest::currentDataTag());
            return Ok(Dialogo(o));
        });
        EditarIndice(*amb, ix, false);
        QCOMPARE(visto, somenteLeitura + u'|' + QString::number(somenteLeitura.isEmpty()));
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join(" / ")));
        QCOMPARE(Retrato(db, retrato), antes);
        if (!mudar)
            return;
        prompt.dialogos.enqueue([&](QObject* o) {
            mudar(Dialogo(o));
            return Ok(Dialogo(o));
        });
        EditarIndice(*amb, ix, false);
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join(" / ")));
        QCOMPARE(SqlIndice(cs, indice), depois);
    }

    void Dialogo_Marcas()
    {
        frmIndex d;
        d.Preencher({.def = {.colunas = {{"A", false}}}, .outras = {"B"}}, {}, true);
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

    // Without the mouse: Enter and Space move the current column between the lists (never pressing
    // OK), D marks it descending; Esc with changes asks, Cancelar stays, Sim saves, Não drops them.
    void Teclado()
    {
        const QString cs = Sqlite();
        clsNo* ix = Montar(cs, {"CREATE TABLE T (A INTEGER, B TEXT, C TEXT)", "CREATE INDEX ix ON T (B, A DESC)"});
        QVERIFY(ix);
        for (int resposta : {int(vb::No), int(vb::Yes)}) {
            prompt.mensagens.clear();
            prompt.respostas.clear();
            prompt.respostas << int(vb::Cancel) << resposta;
            QStringList vistos;
            prompt.dialogos.enqueue([&](QObject* o) {
                frmIndex* d = Dialogo(o);
                d->show();
                d->lstColumns->setFocus();
                d->lstColumns->setCurrentItem(d->lstColumns->topLevelItem(0));
                QTest::keyClick(d->lstColumns, Qt::Key_Return);
                d->lstSel->setFocus();
                d->lstSel->setCurrentItem(d->lstSel->topLevelItem(0));
                QTest::keyClick(d->lstSel, Qt::Key_D);
                d->lstSel->setCurrentItem(d->lstSel->topLevelItem(1));
                QTest::keyClick(d->lstSel, Qt::Key_Space);
                vistos << Itens(d->lstSel) << QString::number(d->isVisible());
                QTest::keyClick(d->lstSel, Qt::Key_Escape);
                vistos << QString::number(d->isVisible());
                QTest::keyClick(d->lstSel, Qt::Key_Escape);
                vistos << QString::number(d->isVisible());
                return d->result();
            });
            EditarIndice(*amb, ix, false);
            QCOMPARE(vistos, QStringList({"B|X", "C|", "1", "1", "0"}));
            QCOMPARE(prompt.textos(), QStringList(2, QStringLiteral("Deseja gravar as alterações?")));
            QCOMPARE(SqlIndice(cs),
                     resposta == vb::Yes ? QStringLiteral("CREATE INDEX \"ix\" ON \"T\" (\"B\" Desc, \"C\")")
                                         : QStringLiteral("CREATE INDEX ix ON T (B, A DESC)"));
        }
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

    // Every kind of PostgreSQL index, as on SQLite; a change keeps the cluster mark and the comment.
    void IdaEVoltaPostgres_data()
    {
        QTest::addColumn<QString>("criar");
        QTest::addColumn<QString>("somenteLeitura");
        QTest::addColumn<MudancaIndice>("mudar");
        QTest::addColumn<QString>("depois"); // pg_get_indexdef after the change
        QTest::newRow("unico desc") << "CREATE UNIQUE INDEX ix ON \"T\" (\"B\", \"A\" DESC)" << QString()
                                    << MudancaIndice(InverterPrimeira)
                                    << "CREATE UNIQUE INDEX ix ON public.\"T\" USING btree (\"B\" DESC, \"A\" DESC)";
        QTest::newRow("parcial e incluidas")
            << "CREATE INDEX ix ON \"T\" (\"A\") INCLUDE (\"C\") WHERE \"A\" > 100" << QString()
            << MudancaIndice([](frmIndex* d) { d->chkUnique->setChecked(true); })
            << "CREATE UNIQUE INDEX ix ON public.\"T\" USING btree (\"A\") INCLUDE (\"C\") WHERE (\"A\" > 100)";
        QTest::newRow("cluster e comentario")
            << "CREATE INDEX ix ON \"T\" (\"B\"); ALTER TABLE \"T\" CLUSTER ON ix; COMMENT ON INDEX ix IS 'o''k'"
            << QString() << MudancaIndice([](frmIndex* d) { d->Mover(d->lstColumns->topLevelItem(0)); })
            << "CREATE INDEX ix ON public.\"T\" USING btree (\"B\", \"A\")";
        QTest::newRow("expressao") << "CREATE INDEX ix ON \"T\" (lower(\"B\") DESC, \"A\")"
                                   << "Este índice usa expressões; edite-o pelo script" << MudancaIndice() << QString();
        QTest::newRow("gin") << "CREATE INDEX ix ON \"T\" USING gin (\"D\")"
                             << "Este índice usa o método gin; edite-o pelo script" << MudancaIndice() << QString();
        QTest::newRow("nulos primeiro") << "CREATE INDEX ix ON \"T\" (\"A\" NULLS FIRST)"
                                        << "Este índice usa uma ordem própria para os nulos; edite-o pelo script"
                                        << MudancaIndice() << QString();
        QTest::newRow("restricao") << "ALTER TABLE \"T\" ADD CONSTRAINT ix UNIQUE (\"B\")"
                                   << "Este índice pertence à restrição ix; mude-a pela estrutura da tabela"
                                   << MudancaIndice() << QString();
    }
    void IdaEVoltaPostgres()
    {
        QFETCH(QString, criar);
        QFETCH(QString, somenteLeitura);
        QFETCH(MudancaIndice, mudar);
        QFETCH(QString, depois);
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_indice"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        clsNo* ix = Montar(cs,
                           QStringList({"DROP TABLE IF EXISTS \"T\"",
                                        "CREATE TABLE \"T\" (\"A\" int, \"B\" text, \"C\" text, \"D\" jsonb)"})
                               + criar.split("; "));
        QVERIFY(ix);
        clsData db(*amb);
        QVERIFY(db.OpenConnection(cs, false, false));
        const QString retrato = "SELECT pg_get_indexdef(i.indexrelid) || ' ' || i.indisclustered || ' ' || "
                                "coalesce(obj_description(i.indexrelid, 'pg_class'), '') || ' ' || i.indexrelid "
                                "FROM pg_index i WHERE i.indrelid = '\"T\"'::regclass";
        const QString antes = Retrato(db, retrato);
        QString visto;
        prompt.dialogos.enqueue([&](QObject* o) {
            visto = Dialogo(o)->lblSomenteLeitura->text();
            return Ok(Dialogo(o));
        });
        EditarIndice(*amb, ix, false);
        QCOMPARE(visto, somenteLeitura);
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join(" / ")));
        QCOMPARE(Retrato(db, retrato), antes);
        if (mudar) {
            prompt.dialogos.enqueue([&](QObject* o) {
                mudar(Dialogo(o));
                return Ok(Dialogo(o));
            });
            EditarIndice(*amb, ix, false);
            QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join(" / ")));
            const QStringList agora = Retrato(db, retrato).split(' ');
            const QStringList eram = antes.split(' ');
            QCOMPARE(Retrato(db, "SELECT indexdef FROM pg_indexes WHERE indexname = 'ix'"), depois);
            // The cluster mark and the comment as they were; a new index.
            QCOMPARE(agora.mid(agora.size() - 3, 2), eram.mid(eram.size() - 3, 2));
            QVERIFY(agora.last() != eram.last());
        }
        db.ExecSql("DROP TABLE \"T\"", false);
    }
};

QUARRIX_TESTE(tst_frmIndex);
#include "tst_frmIndex.moc"
