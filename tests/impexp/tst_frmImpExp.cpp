// The wizard, offscreen, the way the user goes through it: the argument preselects origin and
// destination, the tables come with their counts and whether the destination has them, emptying a
// table that exists is confirmed by name, and the copy ends with its report, which can be saved.
#include "copiaTeste.h"
#include "impexp/frmImpExp.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

class tst_frmImpExp : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;

private slots:
    // Back to the first page and on again with another origin while the first list is still being
    // read: the newer list is shown, never the one it replaced.
    void OrigemTrocadaDuranteALeitura()
    {
        const QString muitas = pasta.filePath(QStringLiteral("muitas.db")),
                      uma = pasta.filePath(QStringLiteral("uma.db"));
        QString sql;
        for (int i = 0; i < 40; ++i)
            sql += QStringLiteral("CREATE TABLE t%1 (id INTEGER PRIMARY KEY); INSERT INTO t%1 VALUES (1);").arg(i);
        Sqlite(muitas, sql);
        Sqlite(uma, QStringLiteral("CREATE TABLE so_esta (id INTEGER PRIMARY KEY);"));
        clsPromptRoteiro prompt;
        impexp::Argumentos a;
        a.origem = ConnSqlite(muitas);
        a.destino = ConnSqlite(pasta.filePath(QStringLiteral("destino-troca.db")));
        frmImpExp janela(prompt, a);
        janela.show();
        janela.next();
        janela.back();
        janela.txtOrigem->setText(ConnSqlite(uma));
        janela.next();
        QTRY_VERIFY(!janela.Listando());
        QTest::qWait(200); // what the replaced reading may still report
        QCOMPARE(janela.grdTabelas->rowCount(), 1);
        QCOMPARE(janela.grdTabelas->item(0, frmImpExp::ColOrigem)->text(), QStringLiteral("so_esta"));
    }

    void CopiaPeloAssistente()
    {
        const QString origem = pasta.filePath(QStringLiteral("o.db")), destino = pasta.filePath(QStringLiteral("d.db"));
        Sqlite(origem,
               QStringLiteral("CREATE TABLE clientes (id INTEGER PRIMARY KEY, nome TEXT);"
                              "INSERT INTO clientes VALUES (1, 'Ana'), (2, 'José');"
                              "CREATE TABLE pedidos (id INTEGER PRIMARY KEY); INSERT INTO pedidos VALUES (7);"));
        auto d = Sqlite(destino,
                        QStringLiteral("CREATE TABLE clientes (id INTEGER PRIMARY KEY, nome TEXT);"
                                       "INSERT INTO clientes VALUES (9, 'antigo');"));
        clsPromptRoteiro prompt;
        impexp::Argumentos a;
        a.origem = ConnSqlite(origem);
        a.destino = ConnSqlite(destino);
        frmImpExp janela(prompt, a);
        janela.show();
        QCOMPARE(janela.txtOrigem->text(), a.origem);
        janela.next();
        QCOMPARE(janela.currentId(), int(frmImpExp::PaginaTabelas));
        QTRY_VERIFY(!janela.Listando());
        QTableWidget* g = janela.grdTabelas;
        QCOMPARE(g->rowCount(), 2);
        QCOMPARE(g->item(0, frmImpExp::ColOrigem)->text(), QStringLiteral("clientes"));
        QCOMPARE(g->item(0, frmImpExp::ColLinhas)->text(), QStringLiteral("2"));
        QCOMPARE(g->item(0, frmImpExp::ColSituacao)->text(), QStringLiteral("existe"));
        QCOMPARE(g->item(1, frmImpExp::ColSituacao)->text(), QStringLiteral("nova"));
        auto* acao = qobject_cast<QComboBox*>(g->cellWidget(0, frmImpExp::ColAcao));
        QCOMPARE(acao->currentData().toInt(), int(impexp::Acao::Acrescentar));
        acao->setCurrentIndex(acao->findData(int(impexp::Acao::Recriar)));
        g->item(1, frmImpExp::ColDestino)->setText(QStringLiteral("pedidos novos"));

        // Refused: nothing happens.
        prompt.respostas << vb::No;
        janela.next();
        QCOMPARE(janela.currentId(), int(frmImpExp::PaginaTabelas));
        QCOMPARE(prompt.ultima().texto,
                 QStringLiteral("As linhas que estas tabelas do destino têm hoje serão perdidas:\n\n"
                                "clientes (excluir e criar a tabela)\n\nDeseja continuar?"));
        QCOMPARE(Linhas(*d, QStringLiteral("SELECT id FROM clientes")), QStringList{"9"});

        prompt.respostas << vb::Yes;
        janela.next();
        QCOMPARE(janela.currentId(), int(frmImpExp::PaginaColunas));
        QTRY_VERIFY(!janela.LendoColunas());
        janela.next();
        QCOMPARE(janela.currentId(), int(frmImpExp::PaginaCopia));
        QTRY_VERIFY_WITH_TIMEOUT(!janela.Copiando(), 20000);
        QVERIFY2(janela.txtRelatorio->toPlainText().contains(
                     QStringLiteral("Total: 2 tabela(s), 0 com erro, 3 linhas copiadas")),
                 qPrintable(janela.txtRelatorio->toPlainText()));
        QCOMPARE(Linhas(*d, QStringLiteral("SELECT id, nome FROM clientes ORDER BY id")),
                 (QStringList{"1|Ana", "2|José"}));
        QCOMPARE(Linhas(*d, QStringLiteral("SELECT id FROM \"pedidos novos\"")), QStringList{"7"});

        const QString relatorio = pasta.filePath(QStringLiteral("relatorio.txt"));
        prompt.arquivos << relatorio;
        janela.btnSalvarRelatorio->click();
        QFile f(relatorio);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), janela.txtRelatorio->toPlainText());
    }

    // Keys alone: origin and destination typed, a query added, a column left out and another
    // renamed on the columns page (whose preview shows the first rows), then the copy; the
    // destination has exactly those tables, columns and rows.
    void AssistentePeloTeclado()
    {
        const QString origem = pasta.filePath(QStringLiteral("k.db"));
        const QString destino = pasta.filePath(QStringLiteral("k-destino.db"));
        Sqlite(origem,
               QStringLiteral("CREATE TABLE clientes (id INTEGER PRIMARY KEY, nome TEXT, obs TEXT);"
                              "INSERT INTO clientes VALUES (1, 'Ana', 'x'), (2, 'José', NULL), (3, 'Bia', 'y');"));
        clsPromptRoteiro prompt;
        frmImpExp janela(prompt, impexp::Argumentos{});
        janela.show();
        janela.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&janela));
        const auto tecla = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            QWidget* foco = QApplication::focusWidget();
            QTest::keyClick(foco ? foco : &janela, k, m);
        };
        tecla(Qt::Key_O, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), janela.txtOrigem);
        QTest::keyClicks(janela.txtOrigem, origem);
        tecla(Qt::Key_D, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), janela.txtDestino);
        QTest::keyClicks(janela.txtDestino, destino);
        // A button's mnemonic clicks it once its press has been shown.
        tecla(Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(janela.currentId(), int(frmImpExp::PaginaTabelas));
        QTRY_VERIFY(!janela.Listando());
        QCOMPARE(janela.grdTabelas->rowCount(), 1);

        tecla(Qt::Key_O, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), janela.txtConsulta);
        QTest::keyClicks(janela.txtConsulta, QStringLiteral("SELECT id, nome FROM clientes WHERE id > 1"));
        tecla(Qt::Key_I, Qt::AltModifier);
        QTRY_COMPARE(janela.grdTabelas->rowCount(), 2);
        QCOMPARE(janela.grdTabelas->item(1, frmImpExp::ColDestino)->text(), QStringLiteral("consulta"));
        tecla(Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(janela.currentId(), int(frmImpExp::PaginaColunas));
        QTRY_VERIFY(!janela.LendoColunas());
        QCOMPARE(janela.grdColunas->rowCount(), 3);
        QCOMPARE(janela.grdPrevia->rowCount(), 3);
        QCOMPARE(janela.grdPrevia->item(1, 1)->text(), QStringLiteral("José"));
        QCOMPARE(janela.grdPrevia->item(1, 2)->text(), QStringLiteral("(nulo)"));

        tecla(Qt::Key_L, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), janela.grdColunas);
        tecla(Qt::Key_Down);
        tecla(Qt::Key_Down);
        tecla(Qt::Key_Space); // obs stays out
        QCOMPARE(janela.grdColunas->item(2, frmImpExp::ColMapaOrigem)->checkState(), Qt::Unchecked);
        tecla(Qt::Key_Up);
        tecla(Qt::Key_Right);
        tecla(Qt::Key_F2);
        tecla(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("nome_cliente"));
        tecla(Qt::Key_Return); // ends the edit, and only that
        QTRY_COMPARE(janela.grdColunas->item(1, frmImpExp::ColMapaDestino)->text(), QStringLiteral("nome_cliente"));
        QCOMPARE(janela.currentId(), int(frmImpExp::PaginaColunas));

        tecla(Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(janela.currentId(), int(frmImpExp::PaginaCopia));
        QTRY_VERIFY_WITH_TIMEOUT(!janela.Copiando(), 20000);
        QVERIFY2(janela.txtRelatorio->toPlainText().contains(QStringLiteral("0 com erro, 5 linhas copiadas")),
                 qPrintable(janela.txtRelatorio->toPlainText()));
        auto d = Sqlite(destino);
        QCOMPARE(Linhas(*d, QStringLiteral("SELECT name FROM pragma_table_info('clientes') ORDER BY cid")),
                 (QStringList{"id", "nome_cliente"}));
        QCOMPARE(Linhas(*d, QStringLiteral("SELECT id, nome_cliente FROM clientes ORDER BY id")),
                 (QStringList{"1|Ana", "2|José", "3|Bia"}));
        QCOMPARE(Linhas(*d, QStringLiteral("SELECT id, nome FROM consulta ORDER BY id")),
                 (QStringList{"2|José", "3|Bia"}));
        QCOMPARE(Linhas(*d, QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name")),
                 (QStringList{"clientes", "consulta"}));
    }

    void OrigemQueNaoAbreDizPorque()
    {
        clsPromptRoteiro prompt;
        impexp::Argumentos a;
        a.origem = pasta.filePath(QStringLiteral("nao-existe.csv"));
        a.destino = pasta.path();
        frmImpExp janela(prompt, a);
        janela.show();
        janela.next();
        QTRY_VERIFY(!janela.Listando());
        QCOMPARE(janela.grdTabelas->rowCount(), 0);
        QCOMPARE(prompt.ultima().texto, QStringLiteral("O arquivo %1 não existe.").arg(a.origem));
        prompt.respostas.clear();
        janela.next();
        QCOMPARE(prompt.ultima().texto, QStringLiteral("Marque ao menos uma tabela."));
    }
};
QUARRIX_TESTE(tst_frmImpExp);
#include "tst_frmImpExp.moc"
