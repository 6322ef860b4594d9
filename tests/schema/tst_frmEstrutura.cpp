// The structure designer on a real SQLite file: its controls and editing rules, and saving from
// the window.
#include "connections/clsData.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlNavegador.h"
#include "schema/frmEstrutura.h"
#include "shell/clsAmbiente.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/esperaArvore.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

class tst_frmEstrutura : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;
    clsPromptRoteiro prompt;
    std::unique_ptr<clsAmbiente> amb;
    QString cs;

    template <typename T> T* C(QWidget* j, const char* nome) { return j->findChild<T*>(QString::fromLatin1(nome)); }
    void Acionar(QWidget* j, const char* chave) { C<QAction>(j, chave)->trigger(); }
    void Escolher(QWidget* j, const QString& tipo)
    {
        auto* cmb = C<QComboBox>(j, "cmbTipoDado");
        cmb->setCurrentIndex(cmb->findText(tipo));
        emit cmb->activated(cmb->currentIndex());
    }
    QStringList Colunas(const QString& tabela)
    {
        clsData db(*amb);
        db.OpenConnection(cs, false, false);
        return db.ActiveConnection()->ColunasTabela(tabela);
    }

private slots:
    void init()
    {
        prompt.mensagens.clear();
        amb = std::make_unique<clsAmbiente>(prompt);
        static int n = 0;
        const QString arquivo = pasta.filePath(QStringLiteral("e%1.db").arg(++n));
        ErroDados e;
        QVERIFY(CriarBancoArquivo(arquivo, e));
        cs = MontarConnStrAccess(arquivo, "Admin", "");
        clsData db(*amb);
        QVERIFY(db.OpenConnection(cs, true, false));
        QVERIFY(
            db.ExecSql("CREATE TABLE Cli (Id INTEGER PRIMARY KEY AUTOINCREMENT, Nome VARCHAR(50) NOT NULL, Obs TEXT)",
                       false));
        QVERIFY(db.ExecSql("INSERT INTO Cli (Nome, Obs) VALUES ('Ana', 'x'), ('Bia', NULL)", false));
    }

    void ControlesERegras()
    {
        auto* j = new frmEstrutura(*amb);
        QVERIFY(j->CarregarForm(cs, "Cli", false));
        QCOMPARE(j->windowTitle(), QStringLiteral("Estrutura: Cli"));
        auto* cmb = C<QComboBox>(j, "cmbTipoDado");
        // A SQLite file offers SQLite's types.
        QCOMPARE(cmb->count(), TiposDoMotor(Dialeto::Sqlite).size());
        QCOMPARE(C<QAction>(j, "Salvar")->toolTip(), QStringLiteral("Salvar Estrutura da Tabela"));
        QCOMPARE(C<QAction>(j, "Down")->toolTip(), QStringLiteral("Movimentar campo para baixo"));
        auto* grid = C<QTableWidget>(j, "dgrEstrutura");
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(C<QLineEdit>(j, "txtCampo")->text(), QStringLiteral("Id"));
        QVERIFY(C<QCheckBox>(j, "chkIdentity")->isChecked());
        CapturarJanela(j, "frmEstrutura");

        grid->setCurrentCell(2, 0);
        QCOMPARE(C<QLineEdit>(j, "txtCampo")->text(), QStringLiteral("Obs"));
        Escolher(j, "INTEGER");
        QVERIFY(!C<QLineEdit>(j, "txtTamanho")->isEnabled());
        QCOMPARE(C<QLineEdit>(j, "txtTamanho")->text(), QStringLiteral("0"));
        QVERIFY(C<QCheckBox>(j, "chkIdentity")->isEnabled());
        C<QCheckBox>(j, "chkIdentity")->setChecked(true);
        C<QLineEdit>(j, "txtIdentitySeed")->setText("5");
        Escolher(j, "VARCHAR");
        QVERIFY(!C<QCheckBox>(j, "chkIdentity")->isEnabled());
        QVERIFY(!C<QCheckBox>(j, "chkIdentity")->isChecked());
        QCOMPARE(C<QLineEdit>(j, "txtIdentitySeed")->text(), QStringLiteral("0"));
        QVERIFY(!j->Colunas()[2].identity);

        C<QCheckBox>(j, "chkAllowNulls")->setChecked(true);
        C<QCheckBox>(j, "chkChave")->click();
        QVERIFY(!C<QCheckBox>(j, "chkAllowNulls")->isChecked());
        QVERIFY(!j->Colunas()[2].allowNulls);

        // A letter typed on the list starts the column's new name.
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_W);
        QCOMPARE(C<QLineEdit>(j, "txtCampo")->text(), QStringLiteral("w"));
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("w"));
        delete j;
    }

    // Rename a column, move it up, add one, delete one, and save: the rows follow their columns.
    void SalvarDaJanela()
    {
        auto* j = new frmEstrutura(*amb);
        QVERIFY(j->CarregarForm(cs, "Cli", false));
        auto* grid = C<QTableWidget>(j, "dgrEstrutura");
        grid->setCurrentCell(1, 0);
        C<QLineEdit>(j, "txtCampo")->setText("NomeCompleto");
        Acionar(j, "Down");
        QCOMPARE(grid->currentRow(), 2);
        grid->setCurrentCell(1, 0);
        QCOMPARE(C<QLineEdit>(j, "txtCampo")->text(), QStringLiteral("Obs"));
        Acionar(j, "Exc");
        QCOMPARE(grid->rowCount(), 2);
        Acionar(j, "Inc");
        QCOMPARE(C<QLineEdit>(j, "txtCampo")->text(), QStringLiteral("Novo"));
        CapturarJanela(j, "frmEstrutura-editada");
        QVERIFY(j->Salvar());
        QCOMPARE(prompt.ultima().texto, QStringLiteral("Estrutura alterada com sucesso"));
        QCOMPARE(prompt.ultima().icone(), int(vb::Information));
        QCOMPARE(Colunas("Cli"), QStringList({"Id", "NomeCompleto", "Novo"}));
        clsData db(*amb);
        db.OpenConnection(cs, false, false);
        QCOMPARE(db.RetValue("SELECT group_concat(NomeCompleto) FROM Cli").toString(), QStringLiteral("Ana,Bia"));
        // Saving again without changes does nothing and says nothing.
        prompt.mensagens.clear();
        QVERIFY(!j->Salvar());
        QVERIFY(prompt.mensagens.isEmpty());
        delete j;
    }

    // Precision, scale and default value: shown, edited, saved and shown again; the status bar
    // says how the table was changed.
    void PrecisaoEPadrao()
    {
        auto* j = new frmEstrutura(*amb);
        QVERIFY(j->CarregarForm(cs, "Cli", false));
        auto* grid = C<QTableWidget>(j, "dgrEstrutura");
        grid->setCurrentCell(1, 0);
        C<QLineEdit>(j, "txtPadrao")->setText("'sem nome'");
        Acionar(j, "Inc");
        C<QLineEdit>(j, "txtCampo")->setText("Valor");
        Escolher(j, "DECIMAL");
        QVERIFY(!C<QLineEdit>(j, "txtTamanho")->isEnabled());
        QVERIFY(C<QLineEdit>(j, "txtPrecisao")->isEnabled() && C<QLineEdit>(j, "txtEscala")->isEnabled());
        C<QLineEdit>(j, "txtPrecisao")->setText("12");
        C<QLineEdit>(j, "txtEscala")->setText("3");
        C<QLineEdit>(j, "txtPadrao")->setText("0");
        Escolher(j, "TEXT");
        QVERIFY(!C<QLineEdit>(j, "txtPrecisao")->isEnabled());
        QCOMPARE(j->Colunas().last().precisao, 0);
        Escolher(j, "DECIMAL");
        C<QLineEdit>(j, "txtPrecisao")->setText("12");
        C<QLineEdit>(j, "txtEscala")->setText("3");
        QVERIFY(j->Salvar());
        QCOMPARE(C<QStatusBar>(j, "stbEstrutura")->currentMessage(),
                 QStringLiteral("Tabela recriada: os dados foram copiados para a nova estrutura"));
        delete j;
        clsData db(*amb);
        db.OpenConnection(cs, true, false);
        const QString sql = db.RetValue("SELECT sql FROM sqlite_schema WHERE name = 'Cli'").toString();
        QVERIFY2(sql.contains("\"Nome\" VARCHAR(50) DEFAULT 'sem nome' NOT NULL")
                     && sql.contains("\"Valor\" DECIMAL(12, 3) DEFAULT 0 NULL"),
                 qPrintable(sql));
        QVERIFY(db.ExecSql("INSERT INTO Cli (Obs) VALUES ('n')", false));
        QCOMPARE(db.RetValue("SELECT Nome || '|' || Valor FROM Cli WHERE Obs = 'n'").toString(),
                 QStringLiteral("sem nome|0"));
        j = new frmEstrutura(*amb);
        QVERIFY(j->CarregarForm(cs, "Cli", false));
        C<QTableWidget>(j, "dgrEstrutura")->setCurrentCell(3, 0);
        QCOMPARE(C<QLineEdit>(j, "txtCampo")->text(), QStringLiteral("Valor"));
        QCOMPARE(C<QComboBox>(j, "cmbTipoDado")->currentText(), QStringLiteral("DECIMAL"));
        QCOMPARE(C<QLineEdit>(j, "txtPrecisao")->text() + ',' + C<QLineEdit>(j, "txtEscala")->text(),
                 QStringLiteral("12,3"));
        QCOMPARE(C<QLineEdit>(j, "txtPadrao")->text(), QStringLiteral("0"));
        // A new nullable column at the end: added in place.
        Acionar(j, "Inc");
        QVERIFY(j->Salvar());
        QCOMPARE(C<QStatusBar>(j, "stbEstrutura")->currentMessage(),
                 QStringLiteral("Tabela alterada no lugar (ALTER TABLE)"));
        delete j;
    }

    // Without the mouse: Insert adds a field, Alt+Up moves it, Ctrl+Delete deletes one, Ctrl+S
    // saves and the tree's details of the table follow; Tab reaches the toolbar; closing with
    // changes not saved asks, and Cancelar and Não keep the table as it was.
    void Teclado()
    {
        IncluirNode(amb->Arvore(), NovoNo{.texto = "Tables", .chave = "T", .imagem = img::PastaTabelas, .tag = cs});
        clsNo* no
            = IncluirNode(amb->Arvore(),
                          NovoNo{.texto = "Cli", .chave = "TCli", .chavePai = "T", .imagem = img::Tabela, .tag = cs});
        QVERIFY(DetalhesCarregados(amb->Arvore(), no));
        QPointer<frmEstrutura> j = AbrirEstrutura(*amb, no, false);
        QVERIFY(j);
        j->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(j));
        auto* grid = C<QTableWidget>(j, "dgrEstrutura");
        grid->setFocus();
        grid->setCurrentCell(2, 0);
        QTest::keyClick(grid, Qt::Key_Insert);
        auto* nome = C<QLineEdit>(j, "txtCampo");
        QCOMPARE(QApplication::focusWidget(), nome);
        QTest::keyClicks(nome, "Email");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Up, Qt::AltModifier);
        grid->setCurrentCell(0, 0);
        QTest::keyClick(grid, Qt::Key_Down, Qt::AltModifier);
        grid->setCurrentCell(3, 0);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QStringList vistos;
        for (int i = 0; i < grid->rowCount(); ++i)
            vistos << grid->item(i, 0)->text();
        QCOMPARE(vistos, QStringList({"Nome", "Id", "Email"}));

        // Tab goes round every control, the toolbar's buttons among them.
        QWidget* salvar = C<QToolBar>(j, "tlbSalvar")->widgetForAction(C<QAction>(j, "Salvar"));
        bool achou = false;
        for (int i = 0; i < 30 && !achou; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            achou = QApplication::focusWidget() == salvar;
        }
        QVERIFY(achou);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompt.textos(), QStringList({"Estrutura alterada com sucesso"}));
        QCOMPARE(Colunas("Cli"), QStringList({"Nome", "Id", "Email"}));
        const auto detalhes = [&] {
            QStringList d;
            for (clsNo* c = amb->Arvore().No("TCliCmp") ? amb->Arvore().No("TCliCmp")->Child() : nullptr; c;
                 c = c->Next())
                d << c->Text().section(u' ', 0, 0);
            return d;
        };
        QTRY_COMPARE(detalhes(), QStringList({"Nome", "Id", "Email"}));

        prompt.mensagens.clear();
        nome->setFocus();
        QTest::keyClicks(nome, "2");
        for (int resposta : {int(vb::Cancel), int(vb::No)}) {
            prompt.respostas << resposta;
            j->close();
            QCOMPARE(prompt.ultima().texto, QStringLiteral("Deseja gravar as alterações?"));
            QCOMPARE(j.isNull() || !j->isVisible(), resposta == vb::No);
        }
        QCOMPARE(Colunas("Cli"), QStringList({"Nome", "Id", "Email"}));
        QTRY_VERIFY(j.isNull());
    }

    void NovaTabela()
    {
        const QString pastaKey = "Tabelas";
        IncluirNode(amb->Arvore(),
                    NovoNo{.texto = "Tables", .chave = pastaKey, .imagem = img::PastaTabelas, .tag = cs});
        auto* j = AbrirEstrutura(*amb, amb->Arvore().No(pastaKey), true);
        QVERIFY(j);
        QCOMPARE(j->windowTitle(), QStringLiteral("Estrutura: < nova tabela >"));
        QCOMPARE(C<QTableWidget>(j, "dgrEstrutura")->rowCount(), 1);

        // Deleting the only column: nothing to create.
        Acionar(j, "Exc");
        prompt.nomes.enqueue("Minha Tabela");
        QVERIFY(!j->Salvar());
        QCOMPARE(prompt.ultima().texto, QStringLiteral("Informe os campos para a tabela"));
        QVERIFY(Colunas("Minha Tabela").isEmpty());

        Acionar(j, "Inc");
        C<QCheckBox>(j, "chkChave")->click();
        QVERIFY(j->Salvar());
        QCOMPARE(Colunas("Minha Tabela"), QStringList({"Novo"}));
        QVERIFY(amb->Arvore().No(pastaKey + "MinhaTabela"));
        QCOMPARE(amb->Arvore().No(pastaKey + "MinhaTabela")->Image(), int(img::Tabela));
        QCOMPARE(j->windowTitle(), QStringLiteral("Estrutura: Minha Tabela"));
        delete j;
    }
};

QUARRIX_TESTE(tst_frmEstrutura);
#include "tst_frmEstrutura.moc"
