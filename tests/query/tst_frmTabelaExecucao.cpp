// The query window runs its statements off the GUI thread: rows show in blocks while the window
// goes on processing events, and Parar/Esc stops a long statement and leaves the connection usable.
#include "cenarioTabela.h"
#include "platform/clsMotor.h"
#include "platform/clsPrompt.h"
#include "query/clsModeloRecordset.h"
#include "query/frmTabela.h"
#include "query/uctEditorSql.h"
#include "support/capturas.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

const char* const Contagem = "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < %1) ";

QString Linhas(qint64 n)
{
    return QString::fromLatin1(Contagem).arg(n) + QStringLiteral("SELECT x, 'linha ' || x AS t FROM c");
}

// Runs the window's text and, `depois` ms after it started, does `acao` (from the event loop the
// run keeps going). Returns how long the run took.
qint64 ExecutarEDepois(frmTabela* w, int depois, const std::function<void()>& acao, bool* ok = nullptr)
{
    QTimer::singleShot(depois, w, acao);
    QElapsedTimer relogio;
    relogio.start();
    const bool r = Rodar(w);
    if (ok)
        *ok = r;
    return relogio.elapsed();
}

void PararCom(frmTabela* w, const QString& como)
{
    if (como == u"esc no editor")
        QTest::keyClick(w->Editor(), Qt::Key_Escape);
    else
        w->Botao(QStringLiteral("Parar"))->trigger();
}

} // namespace

class tst_frmTabelaExecucao : public QObject {
    Q_OBJECT
private slots:
    void LinhasChegamEmBlocos()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor(Linhas(400000));
        QVERIFY(w);
        QSignalSpy inseridas(w->Modelo(), &QAbstractItemModel::rowsInserted);
        int batidas = 0;
        QTimer relogio;
        relogio.setInterval(5);
        connect(&relogio, &QTimer::timeout, [&] { ++batidas; });
        relogio.start();
        QVERIFY(!w->Botao(QStringLiteral("Parar"))->isEnabled());
        bool paradoDurante = false;
        ExecutarEDepois(w, 0, [&] { paradoDurante = w->Botao(QStringLiteral("Parar"))->isEnabled(); });
        QVERIFY2(paradoDurante, "Parar is enabled while the statement runs");
        QVERIFY(!w->Botao(QStringLiteral("Parar"))->isEnabled());
        // The first block shows alone, more follow; the timer kept firing meanwhile.
        QVERIFY(inseridas.size() >= 2);
        QVERIFY(batidas > 0);
        QCOMPARE(w->Modelo()->rowCount(), 400000);
        QCOMPARE(w->TextoPainel(3), QStringLiteral("400000 Registros Encontrados"));
        QVERIFY(w->TextoPainel(2).startsWith(QStringLiteral("Executado em ")));
        QCOMPARE(c.Celula(0, 1), QStringLiteral("linha 1"));
        QCOMPARE(c.Celula(399999, 0), QStringLiteral("400000"));
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    // Widening the columns to a large result's widest text measures a slice at a time between the
    // window's events, and the column ends as wide as its widest text.
    void DimensionarSemCongelar()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor(QString::fromLatin1(Contagem).arg(300000)
                                + QStringLiteral("SELECT x, CASE x WHEN 123457 THEN 'WWWWWWWWWWWWWWWWWWWWWWWW' "
                                                 "ELSE 'linha ' || x END AS t FROM c"));
        QVERIFY(w);
        QVERIFY(Rodar(w));
        const int esperada = w->Grid()->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWW"));
        w->Botao(QStringLiteral("Dimensionar"))->trigger();
        // The click returns at once, long before the widest row is reached; the event loop goes on.
        QVERIFY(w->Grid()->columnWidth(1) < esperada);
        QVERIFY(QTest::qWaitFor([&] { return w->Grid()->columnWidth(1) >= esperada; }, 30000));
    }

    // A table's rows that came in blocks are written back like any others.
    void ResultadoEmBlocosEditavel()
    {
        QStringList extras{"CREATE TABLE Muitos (Id INTEGER PRIMARY KEY, Nome VARCHAR(40))"};
        extras << QString::fromLatin1(Contagem).arg(5000)
                      + QStringLiteral("INSERT INTO Muitos SELECT x, 'n' || x FROM c");
        CenarioTabela c(extras);
        frmTabela* w = c.Editor(QStringLiteral("SELECT Id, Nome FROM Muitos ORDER BY Id"));
        QVERIFY(w);
        QVERIFY(Rodar(w));
        QCOMPARE(w->Modelo()->rowCount(), 5000);
        QVERIFY(w->Modelo()->Editavel());
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(4999, 1), QStringLiteral("última")));
        QVERIFY(Gravar(w));
        QCOMPARE(c.banco.Valor(QStringLiteral("SELECT Nome FROM Muitos WHERE Id = 5000")).toString(),
                 QStringLiteral("última"));
        QCOMPARE(c.banco.Valor(QStringLiteral("SELECT count(*) FROM Muitos WHERE Nome = 'n' || Id")).toInt(), 4999);
    }

    void PararSqlite_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("como");
        QTest::addColumn<bool>("comLinhas");
        const QString semFim = QString::fromLatin1(Contagem).arg(1000000000);
        QTest::newRow("contagem sem linhas, botao") << semFim + "SELECT count(*) FROM c"
                                                    << "botao" << false;
        QTest::newRow("contagem sem linhas, esc") << semFim + "SELECT count(*) FROM c"
                                                  << "esc no editor" << false;
        QTest::newRow("linhas chegando") << semFim + "SELECT x FROM c"
                                         << "botao" << true;
    }
    void PararSqlite()
    {
        QFETCH(QString, sql);
        QFETCH(QString, como);
        QFETCH(bool, comLinhas);
        CenarioTabela c;
        frmTabela* w = c.Editor(sql);
        QVERIFY(w);
        w->Editor()->setFocus();
        bool ok = true;
        const qint64 ms = ExecutarEDepois(
            w,
            300,
            [&] {
                if (comLinhas)
                    CapturarJanela(w, QStringLiteral("consulta-executando"));
                PararCom(w, como);
            },
            &ok);
        QVERIFY(!ok);
        QVERIFY2(ms < 5000, qPrintable(QString::number(ms)));
        QCOMPARE(w->TextoPainel(2), QStringLiteral("Execução interrompida pelo usuário."));
        if (comLinhas)
            CapturarJanela(w, QStringLiteral("consulta-interrompida"));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join(u'|')));
        if (comLinhas) {
            // The rows read before the stop stay, read-only: they are not the whole result.
            QVERIFY(w->Modelo()->rowCount() > 0);
            QCOMPARE(c.Celula(0, 0), QStringLiteral("1"));
            QVERIFY(!w->Modelo()->Editavel());
            QVERIFY(!w->Botao(QStringLiteral("Salvar"))->isEnabled());
        }
        // The connection runs the next statement.
        w->Editor()->setText(QStringLiteral("SELECT Nome FROM Clientes WHERE Id = 2"));
        QVERIFY(Rodar(w));
        QCOMPARE(c.Celula(0, 0), QStringLiteral("Bruno"));
        QCOMPARE(w->TextoPainel(3), QStringLiteral("1 Registros Encontrados"));
    }

    void PararPostgres()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_execucao"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set: no PostgreSQL server to test against");
        CenarioTabela c;
        frmTabela* w = c.Abrir(QStringLiteral("SELECT pg_sleep(30)"), QStringLiteral("SqlEditor: "), false, cs);
        QVERIFY(w);
        w->Editor()->setFocus();
        bool ok = true;
        const qint64 ms = ExecutarEDepois(
            w,
            300,
            [&] { PararCom(w, QStringLiteral("esc no editor")); },
            &ok);
        QVERIFY(!ok);
        QVERIFY2(ms < 10000, qPrintable(QString::number(ms)));
        QCOMPARE(w->TextoPainel(2), QStringLiteral("Execução interrompida pelo usuário."));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join(u'|')));
        w->Editor()->setText(QStringLiteral("SELECT 40 + 2 AS r"));
        QVERIFY(Rodar(w));
        QCOMPARE(c.Celula(0, 0), QStringLiteral("42"));
    }

    // Rows of PostgreSQL arrive through a cursor, in blocks, exact.
    void BlocosPostgres()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_execucao"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set: no PostgreSQL server to test against");
        CenarioTabela c;
        frmTabela* w = c.Abrir(
            QStringLiteral("SELECT g, (g::numeric(20,5) / 3)::numeric(30,10) AS d FROM generate_series(1, 50000) g"),
            QStringLiteral("SqlEditor: "),
            false,
            cs);
        QVERIFY(w);
        QSignalSpy inseridas(w->Modelo(), &QAbstractItemModel::rowsInserted);
        QVERIFY(Rodar(w));
        QVERIFY(inseridas.size() >= 2);
        QCOMPARE(w->Modelo()->rowCount(), 50000);
        QCOMPARE(c.Celula(49999, 1), QStringLiteral("16666.6666666667"));
    }

    // Two windows run at once, each on its own connection and worker: the short run of one ends
    // while the other's long run goes on.
    void DuasJanelasNaoSeBloqueiam()
    {
        CenarioTabela c;
        frmTabela* longa = c.Editor(QString::fromLatin1(Contagem).arg(1000000000) + "SELECT count(*) FROM c");
        QVERIFY(longa);
        auto* curta = new frmTabela(c.ambiente);
        curta->CarregarForm(c.banco.ConnStr(), Linhas(20000), QStringLiteral("SqlEditor: "), false, {}, {}, {});
        QTRY_VERIFY(curta->Ativado());
        QSignalSpy fimLonga(longa, &frmTabela::ExecucaoConcluida);
        QVERIFY(longa->ExecutarSql());
        QTest::qWait(50);
        QElapsedTimer relogio;
        relogio.start();
        QVERIFY(Rodar(curta));
        QVERIFY2(relogio.elapsed() < 300, qPrintable(QString::number(relogio.elapsed())));
        QCOMPARE(curta->Modelo()->rowCount(), 20000);
        QVERIFY(curta->TextoPainel(2).startsWith("Executado em "));
        QVERIFY(fimLonga.isEmpty());
        QVERIFY(longa->Ocupada());
        longa->PararExecucao();
        QTRY_COMPARE(fimLonga.size(), 1);
        delete curta;
    }

    // Parar or Esc at any moment after F5 ends the run: before the statement started, while it
    // computes, while rows arrive.
    void PararLogoDepoisDeExecutar_data()
    {
        QTest::addColumn<QString>("cs");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("vezes");
        QTest::newRow("sqlite, contando")
            << QString() << QString::fromLatin1(Contagem).arg(1000000000) + "SELECT count(*) FROM c" << 50;
        QTest::newRow("sqlite, linhas") << QString() << Linhas(1000000000) << 50;
        const QString pg = BancoPostgresProprio(QStringLiteral("quarrix_execucao"));
        if (!pg.isEmpty()) {
            QTest::newRow("postgresql, dormindo") << pg << "SELECT pg_sleep(30)" << 10;
            QTest::newRow("postgresql, linhas") << pg << "SELECT x FROM generate_series(1, 30000000) x" << 10;
        }
    }
    void PararLogoDepoisDeExecutar()
    {
        QFETCH(QString, cs);
        QFETCH(QString, sql);
        QFETCH(int, vezes);
        CenarioTabela c;
        frmTabela* w = c.Abrir(sql, QStringLiteral("SqlEditor: "), false, cs);
        QVERIFY(w);
        w->Editor()->setFocus();
        for (int atraso : {0, 1, 5, 20, 50}) {
            for (int i = 0; i < vezes; ++i) {
                QSignalSpy fim(w, &frmTabela::ExecucaoConcluida);
                QVERIFY(w->ExecutarSql());
                if (atraso)
                    QThread::msleep(atraso);
                QTest::keyClick(w->Editor(), Qt::Key_Escape);
                const QString onde = QStringLiteral("%1 ms, vez %2").arg(atraso).arg(i);
                QVERIFY2(fim.wait(5000) || !fim.isEmpty(), qPrintable(onde));
                QCOMPARE(w->TextoPainel(2), QStringLiteral("Execução interrompida pelo usuário."));
            }
        }
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join(u'|')));
    }

    // A run that ends in a window the user has left takes neither the activation nor the keyboard:
    // every key typed meanwhile goes where the user typed it, and the run's message waits until its
    // window is active again.
    void TerminarNaoTiraOFoco()
    {
        CenarioTabela c;
        QMainWindow principal;
        auto* area = new QMdiArea;
        principal.setCentralWidget(area);
        principal.resize(1000, 700);
        c.ambiente.hospedarJanela = [area](QObject* w) { area->addSubWindow(qobject_cast<QWidget*>(w)); };
        principal.show();
        QVERIFY(QTest::qWaitForWindowActive(&principal));
        frmTabela* a = c.Abrir(QString::fromLatin1(Contagem).arg(300000)
                                   + "UPDATE Clientes SET Cidade = Cidade "
                                     "WHERE (SELECT count(*) FROM c) > 0",
                               QStringLiteral("SqlEditor: "),
                               false);
        QVERIFY(a);
        auto* b = new frmTabela(c.ambiente);
        b->CarregarForm(c.banco.ConnStr(), QString(), QStringLiteral("SqlEditor: "), false, {}, {}, {});
        QTRY_VERIFY(b->Ativado());
        QSignalSpy fim(a, &frmTabela::ExecucaoConcluida);
        QVERIFY(a->ExecutarSql());
        area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(b->parentWidget()));
        b->Editor()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(b->Editor()));
        QString digitado;
        for (int i = 0; fim.isEmpty() || i < 40; ++i) {
            const QChar letra = QChar(u'a' + i % 26);
            QTest::keyClick(QApplication::focusWidget(), letra.toLatin1());
            digitado += letra;
            QTest::qWait(2);
            QVERIFY(i < 5000);
        }
        QVERIFY(fim.first().at(0).toBool());
        QCOMPARE(b->Editor()->text(), digitado);
        QVERIFY(a->Editor()->text().startsWith("WITH"));
        QCOMPARE(area->activeSubWindow(), b->parentWidget());
        // The message of A's run waits for A.
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join(u'|')));
        area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(a->parentWidget()));
        QTRY_COMPARE(c.prompt.textos(),
                     QStringList{"Instrução executada com sucesso\r\n3 registro(s) afetado(s) pela instrução"});
        delete b;
    }

    // A text export leaves the keyboard to the user: no modal window stays behind, and the keys go
    // into the editor at once.
    void ExportarTextoDeixaOTeclado()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor(Linhas(50000));
        QVERIFY(w && Rodar(w));
        QTemporaryDir pasta;
        c.prompt.arquivos << pasta.filePath("t.txt");
        QVERIFY(Exportar(w, &frmTabela::ExportarTexto));
        QCOMPARE(c.prompt.enderecosAbertos.size(), 1);
        QVERIFY(QFileInfo(pasta.filePath("t.txt")).size() > 50000 * 8);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!w->Ocupada());
        QVERIFY(w->Grid()->isEnabled());
        w->Editor()->setText(QString());
        w->Editor()->setFocus();
        QTest::keyClicks(w->Editor(), "abc");
        QCOMPARE(w->Editor()->text(), QStringLiteral("abc"));
        QVERIFY(c.prompt.progressos.isEmpty());
    }

    // A script whose batch fails stops there: the batches after it do not run, and the message
    // names the failing batch and what the earlier ones did; GO lines in any case and line end.
    void ScriptParaNoLoteQueFalha_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("CR LF, GO") << "UPDATE Clientes SET Cidade = 'X' WHERE Id = 1\r\nGO\r\nINSERT INTO NaoExiste "
                                      "VALUES (1)\r\nGO\r\nDELETE FROM Clientes";
        QTest::newRow("LF, go, ultima linha")
            << "UPDATE Clientes SET Cidade = 'X' WHERE Id = 1\n go \nINSERT INTO NaoExiste VALUES (1)\ngo\nDELETE FROM "
               "Clientes\nGO";
        QTest::newRow("CR, Go") << "UPDATE Clientes SET Cidade = 'X' WHERE Id = 1\rGo\rINSERT INTO NaoExiste VALUES "
                                   "(1)\rGO\rDELETE FROM Clientes";
    }
    void ScriptParaNoLoteQueFalha()
    {
        QFETCH(QString, script);
        CenarioTabela c;
        frmTabela* w = c.Editor(script);
        QVERIFY(w);
        QVERIFY(!Rodar(w));
        QCOMPARE(c.banco.Valor("SELECT COUNT(*) FROM Clientes").toInt(), 3);
        QCOMPARE(c.banco.Valor("SELECT Cidade FROM Clientes WHERE Id = 1").toString(), QStringLiteral("X"));
        QCOMPARE(c.prompt.mensagens.size(), 1);
        const QString msg = c.prompt.ultima().texto;
        QVERIFY2(msg.startsWith("Err:"), qPrintable(msg));
        QVERIFY2(msg.contains("Querie:INSERT INTO NaoExiste VALUES (1)\r\n\r\nO lote 2 de 3 falhou; a execução parou "
                              "nele. O lote anterior foi executado:\r\nLote 1: 1 registro(s) afetado(s)"),
                 qPrintable(msg));
        QCOMPARE(c.prompt.ultima().estilo, int(vb::Critical));
    }

    // The server ends the window's session (as a restart does): the failing run says the
    // connection is lost, and the next run opens it again and works.
    void ConexaoPerdidaRefeitaNaProximaExecucao()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_execucao"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set: no PostgreSQL server to test against");
        CenarioTabela c;
        frmTabela* w = c.Abrir(QStringLiteral("SELECT pg_backend_pid()"), QStringLiteral("SqlEditor: "), false, cs);
        QVERIFY(w);
        QVERIFY(Rodar(w));
        const QString pid = c.Celula(0, 0);
        ErroDados e;
        auto admin = AbrirMotor(cs, true, 10, e);
        QVERIFY(admin);
        QVERIFY(admin->Executar("SELECT pg_terminate_backend(" + pid + ")", nullptr, ado::adLockReadOnly, nullptr));
        QTest::qWait(200);
        w->Editor()->setText(QStringLiteral("SELECT 40 + 2"));
        QVERIFY(!Rodar(w));
        QCOMPARE(c.prompt.mensagens.size(), 1);
        QVERIFY2(c.prompt.ultima().texto.endsWith("A conexão com o banco de dados foi perdida: ela será refeita na "
                                                  "próxima execução."),
                 qPrintable(c.prompt.ultima().texto));
        QVERIFY(Rodar(w));
        QCOMPARE(c.Celula(0, 0), QStringLiteral("42"));
        QCOMPARE(w->TextoPainel(1), QStringLiteral("A conexão com o banco de dados foi refeita."));
    }

    // Closing the window while a statement runs stops it; the window closes when the worker is done.
    void FecharDuranteExecucao()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor(QString::fromLatin1(Contagem).arg(1000000000) + "SELECT count(*) FROM c");
        QVERIFY(w);
        bool aberta = false;
        ExecutarEDepois(w, 200, [&] {
            w->close();
            aberta = w->isVisible();
        });
        QVERIFY2(aberta, "the window waits for the worker");
        QTRY_VERIFY(c.janela.isNull() || !c.janela->isVisible());
    }
};

QUARRIX_TESTE(tst_frmTabelaExecucao);
#include "tst_frmTabelaExecucao.moc"
