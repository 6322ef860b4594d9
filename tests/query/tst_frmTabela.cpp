#include "cenarioTabela.h"
#include "connections/uctConnectionSel.h"
#include "navigator/mdlNavegador.h"
#include "query/clsModeloRecordset.h"
#include "query/frmTabela.h"
#include "query/uctEditorSql.h"
#include "shell/clsAmbiente.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScopeGuard>
#include <QSplitter>
#include <QTableView>
#include <QTest>

namespace {

using Cenario = CenarioTabela;

bool Visivel(QWidget* w) { return !w->isHidden(); }

} // namespace

class tst_frmTabela : public QObject {
    Q_OBJECT
private slots:
    void Modos_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<bool>("executar");
        QTest::addColumn<bool>("abrirExecutando");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("editor");
        QTest::addColumn<bool>("grade");
        QTest::addColumn<QString>("registros");

        QTest::newRow("tabela executando")
            << ""
            << "Clientes" << true << true << "SqlEditor: SELECT FROM Clientes"
            << "SELECT * \r\nFROM \"Clientes\"" << false << true << "3 Registros Encontrados";
        QTest::newRow("tabela sem AbrirExecutando") << ""
                                                    << "Clientes" << true << false << "SqlEditor: SELECT FROM Clientes"
                                                    << "SELECT * \r\nFROM \"Clientes\"" << true << true << "";
        QTest::newRow("editor vazio") << ""
                                      << "SqlEditor: " << false << true << "SqlEditor: "
                                      << "" << true << false << "";
        QTest::newRow("script gerado") << "SELECT Nome FROM Clientes"
                                       << "SqlEditor: SELECT FROM Clientes" << false << true
                                       << "SqlEditor: SELECT FROM Clientes"
                                       << "SELECT Nome FROM Clientes" << true << false << "";
        QTest::newRow("resultado de funcao") << "SELECT * \r\nFROM fnTotal()"
                                             << "fnTotal" << false << true << "SqlEditor: SELECT FROM fnTotal"
                                             << "SELECT * \r\nFROM fnTotal()" << true << false << "";
    }
    void Modos()
    {
        QFETCH(QString, sql);
        QFETCH(QString, tabela);
        QFETCH(bool, executar);
        QFETCH(bool, abrirExecutando);
        QFETCH(QString, caption);
        QFETCH(QString, texto);
        QFETCH(bool, editor);
        QFETCH(bool, grade);
        QFETCH(QString, registros);
        Cenario c;
        c.ambiente.Opcoes().AbrirExecutando = abrirExecutando;
        frmTabela* w = c.Abrir(sql, tabela, executar);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(w->Editor()->text(), texto);
        QCOMPARE(Visivel(w->Editor()), editor);
        QCOMPARE(Visivel(w->Grid()), grade);
        QCOMPARE(w->Botao("Sql")->isChecked(), editor);
        QCOMPARE(w->Botao("Grid")->isChecked(), grade);
        QCOMPARE(w->TextoPainel(3), registros);
        QCOMPARE(w->Tag(), QStringLiteral("7"));
        if (!registros.isEmpty()) {
            QCOMPARE(c.Celula(0, 1), QStringLiteral("Ana"));
            QVERIFY(w->TextoPainel(2).startsWith("Executado em "));
            CapturarJanela(w, "frmTabela_tabela");
        }
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    void NomeSempreCitado_data()
    {
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<QString>("texto");
        QTest::newRow("branco") << "Order Details"
                                << "SELECT * \r\nFROM \"Order Details\"";
        QTest::newRow("ponto") << "dbo.Pedidos"
                               << "SELECT * \r\nFROM \"dbo.Pedidos\"";
        QTest::newRow("simples") << "Clientes"
                                 << "SELECT * \r\nFROM \"Clientes\"";
        QTest::newRow("instrucao no nome") << "vitima;DELETE FROM Clientes"
                                           << "SELECT * \r\nFROM \"vitima;DELETE FROM Clientes\"";
    }
    void NomeSempreCitado()
    {
        QFETCH(QString, tabela);
        QFETCH(QString, texto);
        Cenario c;
        c.ambiente.Opcoes().AbrirExecutando = false;
        frmTabela w(c.ambiente);
        QString sql;
        w.CarregarForm(c.banco.ConnStr(), sql, tabela, true, {}, {}, {});
        QCOMPARE(sql, texto);
        QCOMPARE(w.Editor()->text(), texto);
    }

    void ExecutarMostraLinhasStatusEBotoes()
    {
        Cenario c;
        frmTabela* w = c.Editor("SELECT * FROM Clientes ORDER BY Id");
        QVERIFY(w);
        QVERIFY(!w->Botao("Incluir")->isEnabled());
        QVERIFY(Rodar(w));
        QCOMPARE(w->Modelo()->rowCount(), 3);
        QCOMPARE(w->Modelo()->columnCount(), 3);
        QCOMPARE(w->Modelo()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nome"));
        QCOMPARE(c.Celula(2, 1), QStringLiteral("Carla"));
        QCOMPARE(w->TextoPainel(3), QStringLiteral("3 Registros Encontrados"));
        QCOMPARE(w->TextoPainel(2), QStringLiteral("Executado em 0 Segundos"));
        // The grid panel opens with the first rows, and its editing buttons come on.
        QVERIFY(w->Botao("Grid")->isChecked());
        QVERIFY(Visivel(w->Grid()));
        QCOMPARE(w->Botao("Grid")->toolTip(), QStringLiteral("[F8] - Ocultar Painel para Grid de Resultados"));
        for (const char* chave : {"Incluir", "Salvar", "Dimensionar", "Excel", "TXT"})
            QVERIFY2(w->Botao(chave)->isEnabled(), chave);
        w->DimensionarColunas();
        QVERIFY(w->Grid()->columnWidth(1) >= w->Grid()->fontMetrics().horizontalAdvance("Carla"));
        CapturarJanela(w, "frmTabela_editor_e_grade");
        QVERIFY(c.prompt.mensagens.isEmpty());
        QCOMPARE(c.prompt.ampulheta, 0);
    }

    void SelecaoExecutaSoElaEZeroLinhas()
    {
        Cenario c;
        frmTabela* w = c.Editor("SELECT * FROM Clientes WHERE Id = 99\nDELETE FROM Clientes");
        QVERIFY(w);
        w->Editor()->setSelection(0, 0, 0, 36);
        QVERIFY(Rodar(w));
        QCOMPARE(w->TextoPainel(3), QStringLiteral("0 Registros Encontrados"));
        QCOMPARE(w->Modelo()->rowCount(), 0);
        QCOMPARE(c.banco.Valor("SELECT COUNT(*) FROM Clientes").toInt(), 3);
    }

    void GoDentroDeTextoENomeNaoSepara()
    {
        // A statement holding " GO " in a literal and in a quoted name runs as written.
        Cenario c;
        frmTabela* w = c.Editor("SELECT ' GO ' AS \"a GO b\"");
        QVERIFY(w);
        QVERIFY2(Rodar(w), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(c.Celula(0, 0), QStringLiteral(" GO "));
        QCOMPARE(w->Modelo()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("a GO b"));
    }

    void DonoSaiMasOTextoDoUsuarioFica()
    {
        // On a SQLite file the dbo. owner prefix goes; a literal and a quoted name keep theirs.
        Cenario c;
        frmTabela* w = c.Editor("SELECT 'backup_dbo.bak' AS \"x dbo.y\" FROM dbo.sqlite_schema LIMIT 1");
        QVERIFY(w);
        QVERIFY2(Rodar(w), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(c.Celula(0, 0), QStringLiteral("backup_dbo.bak"));
        QCOMPARE(w->Modelo()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("x dbo.y"));
    }

    void VerificadorAceitaNomesCitados()
    {
        // With the check on, names in brackets or double quotes may hold dots and apostrophes.
        Cenario c;
        frmTabela* w = c.Editor("SELECT 1 AS [a.b.c], 2 AS \"it's\"");
        QVERIFY(w);
        w->Botao("CheckBeforeSql")->setChecked(true);
        QVERIFY2(Rodar(w), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(w->Modelo()->rowCount(), 1);
        QCOMPARE(w->Modelo()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("it's"));
    }

    void NomeComApostrofoRodaOuMostraErro_data()
    {
        QTest::addColumn<bool>("postgres");
        QTest::addColumn<bool>("verificar");
        QTest::addColumn<bool>("passoPasso");
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<int>("linhas"); // -1: the error is shown
        for (const bool pg : {false, true})
            for (const bool verificar : {false, true})
                for (const bool passo : {false, true}) {
                    const QByteArray nome = QByteArray(pg ? "postgres" : "sqlite") + (verificar ? " verificador" : "")
                                            + (passo ? " passo a passo" : "");
                    QTest::newRow(nome.constData()) << pg << verificar << passo << "tab]le 'q" << 3;
                    QTest::newRow((nome + " sem a tabela").constData())
                        << pg << verificar << passo << "nao]existe 'q" << -1;
                }
    }
    void NomeComApostrofoRodaOuMostraErro()
    {
        // An apostrophe inside a double-quoted name is part of the name for every scanner of the
        // window: the statement runs, or its error is shown, and the window goes on working.
        QFETCH(bool, postgres);
        QFETCH(bool, verificar);
        QFETCH(bool, passoPasso);
        QFETCH(QString, tabela);
        QFETCH(int, linhas);
        const QString criar = "CREATE TABLE \"tab]le 'q\" (id INTEGER)";
        const QString inserir = "INSERT INTO \"tab]le 'q\" VALUES (1), (2), (3), (4)";
        QString connStr;
        if (postgres) {
            connStr = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
            if (connStr.isEmpty())
                QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the server)");
        }
        Cenario c(postgres ? QStringList{} : QStringList{criar, inserir});
        const auto apagar = [&] {
            clsData d(c.ambiente);
            if (postgres && d.OpenConnection(connStr, true, false))
                d.ExecSql("DROP TABLE IF EXISTS \"tab]le 'q\"", false);
        };
        if (postgres) {
            apagar();
            clsData d(c.ambiente);
            QVERIFY(d.OpenConnection(connStr, true, false));
            QVERIFY(d.ExecSql(criar, false) && d.ExecSql(inserir, false));
        }
        const auto limpar = qScopeGuard(apagar);
        const QString sql = "SELECT id FROM \"" + tabela + "\" LIMIT 3";
        frmTabela* w = c.Abrir("SELECT 'x'\n" + sql, "SqlEditor: ", false, connStr);
        QVERIFY(w);
        w->Botao("CheckBeforeSql")->setChecked(verificar);
        w->Botao("PassoPasso")->setChecked(passoPasso);
        // The second line is selected: it alone runs.
        w->Editor()->setSelection(1, 0, 1, int(sql.size()));
        c.prompt.respostas << int(vb::No);
        QCOMPARE(Rodar(w), linhas >= 0);
        if (linhas >= 0) {
            QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
            QCOMPARE(w->Modelo()->rowCount(), linhas);
            QCOMPARE(w->Modelo()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("id"));
            QCOMPARE(w->TextoPainel(3), QStringLiteral("3 Registros Encontrados"));
        } else {
            QVERIFY(!c.prompt.mensagens.isEmpty());
            QVERIFY2(c.prompt.textos().join('|').contains("nao]existe 'q"), qPrintable(c.prompt.textos().join('|')));
            QCOMPARE(w->Modelo()->rowCount(), 0);
        }
        // The window still runs what comes next.
        c.prompt.mensagens.clear();
        w->Editor()->setText("SELECT 7 AS sete");
        QVERIFY2(Rodar(w), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(c.Celula(0, 0), QStringLiteral("7"));
    }

    void SelecaoDentroDeTextoOuNomeRodaComoSelecionada_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("selecao");
        QTest::addColumn<QString>("celula");
        QTest::newRow("dentro de um literal") << "SELECT 'SELECT 2 AS \"b''c\"' AS y"
                                              << "SELECT 2 AS \"b''c\""
                                              << "2";
        QTest::newRow("dentro de um nome") << "SELECT 1 AS \"SELECT 'it''s' AS z\""
                                           << "SELECT 'it''s' AS z"
                                           << "it's";
        QTest::newRow("sem o fim do literal") << "SELECT 'a', 'b"
                                              << "SELECT 'a'"
                                              << "a";
    }
    void SelecaoDentroDeTextoOuNomeRodaComoSelecionada()
    {
        // What the user selected runs as selected, even when it starts or ends inside a literal or a
        // quoted name of the whole text; the checker sees the selection alone.
        QFETCH(QString, texto);
        QFETCH(QString, selecao);
        QFETCH(QString, celula);
        Cenario c;
        frmTabela* w = c.Editor(texto);
        QVERIFY(w);
        w->Botao("CheckBeforeSql")->setChecked(true);
        const int inicio = int(texto.indexOf(selecao));
        QVERIFY(inicio >= 0);
        w->Editor()->setSelection(0, inicio, 0, inicio + int(selecao.size()));
        QCOMPARE(w->Editor()->selectedText(), selecao);
        QVERIFY2(Rodar(w), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(c.Celula(0, 0), celula);
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
    }

    void FalhaNaoDeixaLinhasAntigas()
    {
        Cenario c;
        frmTabela* w = c.Editor("SELECT * FROM Clientes");
        QVERIFY(w);
        QVERIFY(Rodar(w));
        QCOMPARE(w->Modelo()->rowCount(), 3);
        w->Editor()->setText("SELECT * FROM NaoExiste");
        QVERIFY(!Rodar(w));
        QCOMPARE(w->Modelo()->rowCount(), 0);
        QVERIFY(!w->Recordset());
        QCOMPARE(w->TextoPainel(3), QString());
        QCOMPARE(w->TextoPainel(2), QString());
        QVERIFY(!w->Botao("Salvar")->isEnabled());
        QCOMPARE(c.prompt.mensagens.size(), 1);
        QCOMPARE(c.prompt.ultima().estilo, int(vb::Critical));
        QVERIFY(c.prompt.ultima().texto.startsWith("Err:"));
        QCOMPARE(c.prompt.ampulheta, 0);
    }

    void ConexaoQuebradaDaErroSemQuebrar()
    {
        Cenario c;
        frmTabela* w = c.Abrir("SELECT 1", "SqlEditor: ", false, "Provider=Nenhum.1;Data Source=x");
        QVERIFY(w);
        QVERIFY(!Rodar(w));
        QVERIFY(!c.prompt.mensagens.isEmpty());
        for (const MensagemRegistrada& m : c.prompt.mensagens)
            QCOMPARE(m.icone(), int(vb::Critical));
        // A second run reports again and still does not crash.
        QVERIFY(!Rodar(w));
        QCOMPARE(w->Modelo()->rowCount(), 0);
    }

    void EditarCelulaIncluirESalvar()
    {
        Cenario c;
        frmTabela* w = c.Editor("SELECT Id, Nome, Cidade FROM Clientes ORDER BY Id");
        QVERIFY(w);
        QVERIFY(Rodar(w));
        // A cell typed into through the grid's editor.
        QTableView* grade = w->Grid();
        const QModelIndex celula = w->Modelo()->index(0, 1);
        grade->setCurrentIndex(celula);
        grade->edit(celula);
        auto* editor = grade->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "Ana Maria");
        // A new row, filled through the model.
        w->Botao("Incluir")->trigger();
        QCOMPARE(w->Modelo()->rowCount(), 4);
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(3, 0), 4));
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(3, 1), "Davi"));
        QVERIFY(c.banco.Valor("SELECT Nome FROM Clientes WHERE Id = 1").toString() == "Ana");

        w->Botao("Salvar")->trigger();
        QTRY_COMPARE(c.prompt.textos(), QStringList{"Registros Gravados com Sucesso"});
        QCOMPARE(c.prompt.ultima().estilo, int(vb::Information));
        QCOMPARE(c.banco.Valor("SELECT Nome FROM Clientes WHERE Id = 1").toString(), QStringLiteral("Ana Maria"));
        QCOMPARE(c.banco.Valor("SELECT Nome FROM Clientes WHERE Id = 4").toString(), QStringLiteral("Davi"));
        QVERIFY(c.banco.Valor("SELECT Cidade FROM Clientes WHERE Id = 4").isNull());
    }

    void SalvarRecusadoMantemPendentes()
    {
        Cenario c({"CREATE UNIQUE INDEX IX_Nome ON Clientes (Nome)"});
        frmTabela* w = c.Editor("SELECT Id, Nome FROM Clientes ORDER BY Id");
        QVERIFY(w);
        QVERIFY(Rodar(w));
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(1, 1), "Ana"));
        QVERIFY(!Gravar(w));
        QCOMPARE(c.prompt.mensagens.size(), 1);
        QCOMPARE(c.prompt.ultima().estilo, int(vb::Critical));
        QVERIFY(c.prompt.ultima().titulo.startsWith("Erro: "));
        QVERIFY(w->Recordset()->TemAlteracoesPendentes());
        QCOMPARE(c.banco.Valor("SELECT Nome FROM Clientes WHERE Id = 2").toString(), QStringLiteral("Bruno"));
    }

    void PassoAPassoNaJanela_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<int>("linhas");
        QTest::newRow("continuar mostra a ultima") << int(vb::Yes) << 1;
        QTest::newRow("parar deixa a grade vazia") << int(vb::No) << 0;
    }
    void PassoAPassoNaJanela()
    {
        QFETCH(int, resposta);
        QFETCH(int, linhas);
        Cenario c;
        c.ambiente.Opcoes().PassoPasso = true;
        frmTabela* w = c.Editor("SELECT * FROM Clientes\r\nGO\r\nINSERT INTO NaoExiste VALUES (1)\r\nGO\r\n"
                                "SELECT Nome FROM Clientes WHERE Id = 3");
        QVERIFY(w);
        QVERIFY(w->Botao("PassoPasso")->isChecked());
        c.prompt.respostas << resposta;
        QCOMPARE(Rodar(w), resposta == vb::Yes);
        QCOMPARE(w->Modelo()->rowCount(), linhas);
        if (linhas)
            QCOMPARE(c.Celula(0, 0), QStringLiteral("Carla"));
        QVERIFY(c.prompt.mensagens.first().texto.startsWith("INSERT INTO NaoExiste VALUES (1)\r\rOcorreram"));
    }

    void TeclasF7F8EmQualquerControle()
    {
        Cenario c;
        c.ambiente.Opcoes().AbrirExecutando = false;
        frmTabela* w = c.Abrir({}, "Clientes", true);
        QVERIFY(w);
        QAction* sql = w->Botao("Sql");
        QCOMPARE(sql->toolTip(), QStringLiteral("[F7] - Ocultar Painel para Instruções SQL"));
        QTest::keyClick(w->Editor(), Qt::Key_F7);
        QVERIFY(!sql->isChecked());
        QVERIFY(!Visivel(w->Editor()));
        QCOMPARE(sql->toolTip(), QStringLiteral("[F7] - Exibir Painel para Instruções SQL"));
        QVERIFY(!w->Botao("Play")->isEnabled());
        QTest::keyClick(w->Grid(), Qt::Key_F7);
        QVERIFY(sql->isChecked());
        QVERIFY(Visivel(w->Editor()));
        QCOMPARE(sql->toolTip(), QStringLiteral("[F7] - Ocultar Painel para Instruções SQL"));
        QVERIFY(w->Botao("Play")->isEnabled());

        QTest::keyClick(w->Editor(), Qt::Key_F8);
        QVERIFY(!w->Botao("Grid")->isChecked());
        QVERIFY(!Visivel(w->Grid()));
        QCOMPARE(w->Botao("Grid")->toolTip(), QStringLiteral("[F8] - Exibir Painel para Grid de Resultados"));
        QVERIFY(!w->Botao("Dimensionar")->isEnabled());
    }

    void F5NoEditorExecutaECtrlNAbreCopia()
    {
        Cenario c;
        frmTabela* w = c.Editor("SELECT Nome FROM Clientes");
        QVERIFY(w);
        QTest::keyClick(w->Editor(), Qt::Key_F5);
        QTRY_COMPARE(w->TextoPainel(3), QStringLiteral("3 Registros Encontrados"));

        QTest::keyClick(w->Editor(), Qt::Key_N, Qt::ControlModifier);
        frmTabela* copia = nullptr;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<frmTabela*>(t); f && f != w)
                copia = f;
        QVERIFY(copia);
        QScopedPointer<frmTabela> dono(copia);
        // An editor-mode window has no table name: its copy is captioned with nothing after FROM.
        QCOMPARE(copia->windowTitle(), QStringLiteral("SqlEditor: SELECT FROM "));
        QCOMPARE(copia->Editor()->text(), QStringLiteral("SELECT Nome FROM Clientes"));
        QCOMPARE(copia->Tag(), QStringLiteral("7"));
        QCOMPARE(copia->ConnectionString(), c.banco.ConnStr());
        QCOMPARE(copia->Seletor()->Server(), c.banco.caminho);
    }

    void DivisorLimitado()
    {
        Cenario c;
        c.ambiente.Opcoes().AbrirExecutando = false;
        frmTabela* w = c.Abrir({}, "Clientes", true);
        QVERIFY(w);
        const int h = w->height() * 15;
        QCOMPARE(w->TopoDivisor(), int(std::lround(h * 0.6)));
        w->MoverDivisor(100);
        QVERIFY(w->TopoDivisor() >= 668);
        w->MoverDivisor(h);
        QVERIFY2(w->TopoDivisor() <= h - 1432, qPrintable(QString::number(w->TopoDivisor())));
        QVERIFY(w->Editor()->height() > 0);
    }

    void CopiarEColarCelulaPeloMenu()
    {
        Cenario c;
        frmTabela* w = c.Editor("SELECT Id, Nome FROM Clientes ORDER BY Id");
        QVERIFY(w);
        QVERIFY(Rodar(w));
        QTableView* grade = w->Grid();
        const QRect r0 = grade->visualRect(w->Modelo()->index(0, 1));
        QTest::mouseClick(grade->viewport(), Qt::RightButton, {}, r0.center());
        QCOMPARE(w->ColunaAtual(), 1);
        auto* menu = w->findChild<QMenu*>("mnuTab");
        QVERIFY(menu);
        QCOMPARE(menu->findChild<QAction*>("mnuTabTit")->text(), QStringLiteral("Nome"));
        menu->findChild<QAction*>("mnuTabCop")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Ana"));
        menu->hide();

        const QRect r2 = grade->visualRect(w->Modelo()->index(2, 1));
        QTest::mouseClick(grade->viewport(), Qt::RightButton, {}, r2.center());
        menu->findChild<QAction*>("mnuTabCol")->trigger();
        menu->hide();
        QCOMPARE(c.Celula(2, 1), QStringLiteral("Ana"));
        QVERIFY(w->Recordset()->TemAlteracoesPendentes());

        // "Nulo" empties the cell under the mouse: null, not an empty text.
        const QRect r1 = grade->visualRect(w->Modelo()->index(1, 1));
        QTest::mouseClick(grade->viewport(), Qt::RightButton, {}, r1.center());
        menu->findChild<QAction*>("mnuTabNulo")->trigger();
        menu->hide();
        QVERIFY(w->Recordset()->CelulaNula(1, 1));
        QVERIFY(Gravar(w));
        QVERIFY(c.banco.Valor("SELECT Nome FROM Clientes WHERE Id = 2").isNull());
        QCOMPARE(c.banco.Valor("SELECT Nome FROM Clientes WHERE Id = 3").toString(), QStringLiteral("Ana"));
    }

    void FocoSegueOMouse_data()
    {
        QTest::addColumn<bool>("focalizar");
        QTest::newRow("opcao ligada") << true;
        QTest::newRow("opcao desligada") << false;
    }
    void FocoSegueOMouse()
    {
        QFETCH(bool, focalizar);
        Cenario c;
        c.ambiente.Opcoes().AbrirExecutando = false;
        frmTabela* w = c.Abrir({}, "Clientes", true);
        QVERIFY(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->Editor()->setFocus();
        c.ambiente.Opcoes().Focalizar = focalizar;
        QTest::mouseMove(w->Grid()->viewport(), QPoint(40, 30));
        QTest::mouseMove(w->Grid()->viewport(), QPoint(50, 40));
        QCOMPARE(w->Grid()->hasFocus(), focalizar);
    }

    void EdicoesPendentesPerguntam_data()
    {
        // Where the grid's edits would be dropped (closing, F5, another connection), each answer
        // to "Deseja gravar as alterações?": what the user is told, whether the action happens and
        // what the file holds afterwards.
        QTest::addColumn<QString>("onde");
        QTest::addColumn<int>("resposta");
        QTest::addColumn<bool>("falha"); // the save fails (a key another row has)
        QTest::addColumn<QStringList>("mensagens");
        QTest::addColumn<bool>("feito");
        QTest::addColumn<QString>("nome");
        const QString pergunta = QStringLiteral("Deseja gravar as alterações?");
        for (const char* onde : {"fechar", "F5", "conexao"}) {
            const QString o = QString::fromLatin1(onde);
            QTest::newRow(qPrintable(o + " Sim"))
                << o << int(vb::Yes) << false << QStringList{pergunta, "Registros Gravados com Sucesso"} << true
                << "Mudado";
            QTest::newRow(qPrintable(o + " Nao"))
                << o << int(vb::No) << false << QStringList{pergunta} << true << "Ana";
            QTest::newRow(qPrintable(o + " Cancelar"))
                << o << int(vb::Cancel) << false << QStringList{pergunta} << false << "Ana";
            QTest::newRow(qPrintable(o + " Sim que falha"))
                << o << int(vb::Yes) << true << QStringList{pergunta, "UNIQUE constraint failed: Clientes.Id"} << false
                << "Ana";
        }
    }
    void EdicoesPendentesPerguntam()
    {
        QFETCH(QString, onde);
        QFETCH(int, resposta);
        QFETCH(bool, falha);
        QFETCH(QStringList, mensagens);
        QFETCH(bool, feito);
        QFETCH(QString, nome);
        Cenario c;
        frmTabela* w = c.Editor("SELECT * FROM Clientes ORDER BY Id");
        QVERIFY(w);
        QVERIFY(Rodar(w));
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(0, 1), "Mudado"));
        if (falha)
            QVERIFY(w->Modelo()->setData(w->Modelo()->index(0, 0), 2));
        c.prompt.respostas << resposta;
        const QString outra = c.banco.ConnStr() + QStringLiteral(";Mode=ReadWrite");
        if (onde == "fechar") {
            w->close();
        } else if (onde == "F5") {
            w->Editor()->setFocus();
            QTest::keyClick(w->Editor(), Qt::Key_F5);
        } else {
            // As the selector's list does: it shows the choice, then tells the window.
            w->Seletor()->DefinirLabel("outro", {}, {});
            w->Seletor()->DefinirConnectionString(outra);
            emit w->Seletor()->ConnectionChanged(outra, "outro", {}, {});
        }
        // A save that was asked for ends on the window's worker; what was waiting for it goes on then.
        QTRY_COMPARE(c.prompt.textos().size(), mensagens.size());
        if (onde != "fechar")
            QTRY_VERIFY(!w->Ocupada());
        QStringList textos = c.prompt.textos();
        if (falha && textos.size() == 2)
            textos[1] = textos[1].section(u'\n', 0, 0);
        QCOMPARE(textos, mensagens);
        QCOMPARE(c.prompt.mensagens.first().estilo, int(vb::YesNoCancel | vb::Question));
        QCOMPARE(c.banco.Valor("SELECT Nome FROM Clientes WHERE Id = 1").toString(), nome);
        // Not done: the edits stay pending, as typed.
        if (onde == "fechar") {
            QTRY_COMPARE(c.janela.isNull(), feito);
        } else if (onde == "F5") {
            QTRY_VERIFY(!w->Ocupada());
            QCOMPARE(w->Modelo()->TemEdicoesPendentes(), !feito);
            QCOMPARE(c.Celula(0, 1), feito ? nome : QStringLiteral("Mudado"));
        } else {
            QTRY_COMPARE(w->ConnectionString(), feito ? outra : c.banco.ConnStr());
            QCOMPARE(w->Seletor()->Server(), feito ? QStringLiteral("outro") : c.banco.caminho);
            QCOMPARE(w->Seletor()->ConnectionString(), w->ConnectionString());
            QCOMPARE(w->Modelo()->TemEdicoesPendentes(), !feito);
        }
        if (!feito)
            QCOMPARE(c.Celula(0, 1), QStringLiteral("Mudado"));
    }

    void SeletorOfereceAsFontesConectadas()
    {
        Cenario c;
        clsArvore& arvore = c.ambiente.Arvore();
        clsNo* servidor = IncluirNode(arvore, "SRV1", "dbSRV1", {}, img::SqlServerConectado, "tag-srv");
        IncluirNode(arvore, "Vendas", "dbSRV1Vendas", servidor->Key(), img::BancoConectado, "connstr-vendas");
        IncluirNode(arvore, "loja.db", "dbloja", {}, img::AccessConectado, c.banco.ConnStr());
        frmTabela* w = c.Editor("SELECT 1");
        QVERIFY(w);
        c.prompt.dialogos << [](QObject* d) {
            auto* lista = d->findChild<QListWidget*>("lstLista");
            lista->setCurrentRow(0);
            return 1;
        };
        w->Seletor()->AbrirLista();
        QCOMPARE(w->Seletor()->Itens().size(), 2);
        QCOMPARE(w->Seletor()->Itens().at(0).texto, QStringLiteral("SRV1 / Vendas"));
        QCOMPARE(w->Seletor()->Itens().at(1).texto, QStringLiteral("loja.db"));
        // The window now works on the chosen connection.
        QCOMPARE(w->ConnectionString(), QStringLiteral("connstr-vendas"));
        QCOMPARE(w->Seletor()->Server(), QStringLiteral("SRV1"));
        QCOMPARE(w->Seletor()->Database(), QStringLiteral("Vendas"));
    }

    void PostgreSqlDePontaAPonta()
    {
        const QString connStr = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (connStr.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the server)");
        Cenario c;
        {
            clsData d(c.ambiente);
            QVERIFY2(d.OpenConnection(connStr, true, false), qPrintable(d.ErrMsg()));
            d.ExecSql("DROP TABLE IF EXISTS janela_teste", false);
            QVERIFY(d.ExecSql("CREATE TABLE janela_teste (id integer primary key, nome varchar(40))", false));
            QVERIFY(d.ExecSql("INSERT INTO janela_teste VALUES (1, 'um'), (2, 'dois')", false));
        }
        c.ambiente.Opcoes().AbrirExecutando = true;
        frmTabela* w = c.Abrir({}, "janela_teste", true, connStr);
        QVERIFY(w);
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(w->TextoPainel(3), QStringLiteral("2 Registros Encontrados"));
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(1, 1), "DOIS"));
        QVERIFY(Gravar(w));
        clsData d(c.ambiente);
        QVERIFY(d.OpenConnection(connStr, true, false));
        QCOMPARE(d.RetValue("SELECT nome FROM janela_teste WHERE id = 2").toString(), QStringLiteral("DOIS"));
        d.ExecSql("DROP TABLE janela_teste", false);
    }
};
QUARRIX_TESTE(tst_frmTabela);
#include "tst_frmTabela.moc"
