#include "connections/clsData.h"
#include "connections/mdlCriarBanco.h"
#include "navigator/frmNavegador.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlServidores.h"
#include "platform/clsRecordset.h"
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlGlobais.h"
#include "query/frmTabela.h"
#include "query/uctEditorSql.h"
#include "shell/clsAmbiente.h"
#include "support/clsPromptRoteiro.h"
#include "support/esperaArvore.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTreeView>
#include <QUrl>

namespace {
// The navigator pane over a real database file mapped under "Microsoft Access".
struct Cenario {
    SettingsTemporarios settings;
    clsPromptRoteiro prompt;
    clsAmbiente ambiente{prompt};
    frmNavegador navegador{ambiente};
    QString caminho;
    clsNo* fonte = nullptr;
    Cenario()
    {
        caminho = settings.pasta.filePath("loja.db");
        QString erro;
        CriarBancoAccess(caminho, &erro);
        clsData d(ambiente);
        d.OpenConnection(MontarConnStrAccess(caminho, "admin", {}), true, false);
        d.ExecSql("CREATE TABLE Clientes (Id INTEGER PRIMARY KEY, Nome TEXT)", false);
        d.ExecSql("CREATE TABLE Pedidos (Id INTEGER PRIMARY KEY)", false);
        d.ExecSql("CREATE VIEW vw AS SELECT * FROM Clientes", false);
        d.CloseConnection();
        navegador.InicializarNavegador();
        IncluirConexaoNavegador(navegador.Arvore(), tiporegistro::Access, caminho, false, {}, {}, {}, {});
        fonte = navegador.Arvore().No("Access")->Child();
        // A remembered login, so connecting asks nothing.
        settings::SaveSetting("AutoLogin", "SqlPass:" + fonte->Key(), Embaralhar(""));
        navegador.show();
    }
    clsArvore& Arvore() { return navegador.Arvore(); }
    QTreeView* Trv() { return navegador.trvNavegador(); }
    void Tecla(clsNo* no, int tecla)
    {
        Arvore().Selecionar(no);
        QTest::keyClick(Trv(), Qt::Key(tecla));
    }
    // Enter on a source: its connection opens while the tree stays live; true once its folders are in.
    bool Conectar(clsNo* no)
    {
        Tecla(no, Qt::Key_Return);
        const QString chave = no->Key() + QStringLiteral("tab");
        return QTest::qWaitFor([&] { return Arvore().No(chave) != nullptr; });
    }
    // Press and release, then the second press as the system reports it, and its release.
    void DuploClique(const QModelIndex& indice)
    {
        const QPoint p = Trv()->visualRect(indice).center();
        QTest::mouseClick(Trv()->viewport(), Qt::LeftButton, {}, p);
        QMouseEvent duplo(QEvent::MouseButtonDblClick,
                          p,
                          Trv()->viewport()->mapToGlobal(p),
                          Qt::LeftButton,
                          Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(Trv()->viewport(), &duplo);
        QTest::mouseRelease(Trv()->viewport(), Qt::LeftButton, {}, p);
    }
};

int JanelasDeConsulta()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += qobject_cast<frmTabela*>(w) != nullptr;
    return n;
}
} // namespace

class tst_frmNavegador : public QObject {
    Q_OBJECT
private slots:
    // "&Exportar" on a database and the "Importar e Exportar" node start the import/export program
    // with the argument in its environment, nothing on its command line.
    void ImportarExportarRecebeOArgumento()
    {
        Cenario c;
        const QString saida = c.settings.pasta.filePath("argumento");
        const QString programa = c.settings.pasta.filePath("impexp-duble.sh");
        QFile f(programa);
        f.open(QIODevice::WriteOnly);
        f.write(("#!/bin/sh\nprintf '%s|%s' \"$#\" \"$QUARRIX_ARGUMENTO\" > '" + saida + "'\n").toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        c.navegador.programaImpExp = programa;
        const QString cs = "Provider=SQLOLEDB.1;Data Source=srv;Initial Catalog=Loja;User ID=sa;Password=a&b";
        clsNo* banco = IncluirNode(c.Arvore(), {"Loja", "bancoLoja", c.fonte->Key(), img::BancoConectado, cs});
        // What the program wrote, once it has written it.
        const auto argumento = [&]() -> QString {
            QFile l(saida);
            if (!QTest::qWaitFor([&] { return l.size() > 0; }, 5000) || !l.open(QIODevice::ReadOnly))
                return QStringLiteral("(o programa não rodou)");
            const QString r = QString::fromUtf8(l.readAll());
            QFile::remove(saida);
            return r;
        };
        c.Arvore().Selecionar(banco);
        c.navegador.mnuNavBanExp_Click();
        QCOMPARE(argumento(), "0|Orig=" + cs);
        clsNo* imp = IncluirNode(c.Arvore(), {"Importar e Exportar", "imp", c.fonte->Key(), img::ImportarExportar, cs});
        c.Tecla(imp, Qt::Key_Return);
        QCOMPARE(argumento(), QStringLiteral("0|"));
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    void EnterConectaEExpandirCarrega()
    {
        Cenario c;
        QCOMPARE(c.fonte->Image(), 5);
        QVERIFY(c.Conectar(c.fonte));
        QCOMPARE(c.fonte->Image(), 4);
        QVERIFY(c.prompt.mensagens.isEmpty());
        QVERIFY(c.Trv()->isEnabled());
        clsNo* tabelas = c.Arvore().No(c.fonte->Key() + "tab");
        c.Trv()->expand(c.Arvore().IndiceModelo(tabelas));
        QVERIFY(Carregada(tabelas));
        QCOMPARE(tabelas->Children(), 2);
        QCOMPARE(tabelas->Child()->Text(), QStringLiteral("Clientes"));
        QVERIFY(c.Trv()->isExpanded(c.Arvore().IndiceModelo(tabelas)));
    }

    // The table menu's actions on a file database: a script into a query window with its caption,
    // the documenter's file handed to the desktop, and deleting a table with its node.
    void AcoesDaTabela()
    {
        Cenario c;
        QVERIFY(c.Conectar(c.fonte));
        clsNo* tabelas = c.Arvore().No(c.fonte->Key() + "tab");
        QVERIFY(Expandir(c.Arvore(), tabelas));
        clsNo* clientes = tabelas->Child();
        c.Arvore().Selecionar(clientes);
        c.navegador.mnuNavTabScr_Click(2);
        frmTabela* script = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<frmTabela*>(w); t && t->windowTitle() == "SqlEditor: CREATE TABLE Clientes")
                script = t;
        QVERIFY(script);
        QVERIFY2(script->Editor()->text().startsWith("CREATE TABLE Clientes ("), qPrintable(script->Editor()->text()));
        delete script;

        c.ambiente.pastaDocumentos = c.settings.pasta.filePath("documentos");
        c.navegador.mnuNavTabVis_Click();
        QTRY_COMPARE(c.prompt.enderecosAbertos.size(), 1);
        const QString arquivo = QUrl(c.prompt.enderecosAbertos.first()).toLocalFile();
        QVERIFY2(QFile::exists(arquivo), qPrintable(arquivo));
        QVERIFY2(arquivo.startsWith(c.settings.pasta.filePath("documentos/Estrutura - Clientes - ")),
                 qPrintable(arquivo));

        clsNo* pedidos = clientes->Next();
        QCOMPARE(pedidos->Text(), QStringLiteral("Pedidos"));
        c.Arvore().Selecionar(pedidos);
        c.prompt.respostas << vb::No;
        c.navegador.mnuNavTabExc_Click();
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("Deseja Excluir Permanentemente a Tabela: 'Pedidos'"));
        QCOMPARE(tabelas->Children(), 2);
        c.prompt.respostas << vb::Yes;
        c.navegador.mnuNavTabExc_Click();
        QCOMPARE(tabelas->Children(), 1);
        clsData d(c.ambiente);
        QVERIFY(d.OpenConnection(MontarConnStrAccess(c.caminho, "admin", {}), true, false));
        QCOMPARE(d.RetValue("SELECT COUNT(*) FROM sqlite_schema WHERE name = 'Pedidos'").toInt(), 0);
        QCOMPARE(c.prompt.mensagens.size(), 2);
    }

    // The whole database's script is written on a worker thread while the tree stays live; it opens
    // in a query window, and a file that is no longer a database is told.
    void ScriptDoBancoNaLinha()
    {
        Cenario c;
        QVERIFY(c.Conectar(c.fonte));
        c.Arvore().Selecionar(c.fonte);
        c.navegador.mnuNavBanScr_Click();
        frmTabela* script = nullptr;
        QVERIFY(QTest::qWaitFor([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* t = qobject_cast<frmTabela*>(w); t && t->windowTitle().contains("Script: "))
                    script = t;
            return script != nullptr;
        }));
        QVERIFY2(script->Editor()->text().contains("CREATE TABLE Clientes ("), qPrintable(script->Editor()->text()));
        delete script;
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
        QFile estragado(c.caminho);
        QVERIFY(estragado.open(QIODevice::WriteOnly | QIODevice::Truncate));
        estragado.write(QByteArray(4096, 'x'));
        estragado.close();
        c.navegador.mnuNavBanScr_Click();
        QTRY_COMPARE(c.prompt.mensagens.size(), 1);
    }

    // A blank name creates nothing and asks nothing more.
    void CriarBancoComNomeEmBranco()
    {
        Cenario c;
        clsNo* servidor = IncluirNode(c.Arvore(), {"srv", "srvX", {}, img::SqlServerConectado});
        c.Arvore().Selecionar(servidor);
        const int filhos = servidor->Children();
        c.prompt.nomes << "   ";
        c.navegador.mnuNavSerCri_Click();
        QCOMPARE(c.prompt.nomesPedidos.size(), 1);
        QCOMPARE(servidor->Children(), filhos);
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    void F2RenomeiaTabelaENaoView()
    {
        Cenario c;
        QVERIFY(c.Conectar(c.fonte));
        clsNo* tabelas = c.Arvore().No(c.fonte->Key() + "tab");
        QVERIFY(Expandir(c.Arvore(), tabelas));
        clsNo* views = c.Arvore().No(c.fonte->Key() + "con");
        QVERIFY(Expandir(c.Arvore(), views));
        auto editando = [&] {
            auto* editor = c.Trv()->viewport()->findChild<QLineEdit*>();
            return editor && editor->isVisible();
        };
        c.Tecla(views->Child(), Qt::Key_F2);
        QVERIFY(!editando());

        clsNo* clientes = tabelas->Child();
        c.Tecla(clientes, Qt::Key_F2);
        QVERIFY(editando());
        c.Arvore().setData(c.Arvore().IndiceModelo(clientes), "Fregueses");
        QTRY_COMPARE(clientes->Text(), QStringLiteral("Fregueses"));
        clsData d(c.ambiente);
        QVERIFY(d.OpenConnection(MontarConnStrAccess(c.caminho, "admin", {}), true, false));
        QCOMPARE(d.RetValue("SELECT COUNT(*) FROM Fregueses").toInt(), 0);
        d.CloseConnection();

        // A name already taken: the engine's message, and the node keeps its text.
        c.Arvore().setData(c.Arvore().IndiceModelo(clientes), "Pedidos");
        QTRY_COMPARE(c.prompt.mensagens.size(), 1);
        QCOMPARE(clientes->Text(), QStringLiteral("Fregueses"));
        QCOMPARE(c.prompt.ultima().icone(), int(vb::Critical));
        QVERIFY(!c.prompt.ultima().texto.isEmpty());
    }

    void RenomearPeloTeclado_data()
    {
        QTest::addColumn<QString>("novo");
        QTest::addColumn<QString>("esperado");
        QTest::addColumn<int>("mensagens");
        QTest::newRow("aceito") << "Fregueses"
                                << "Fregueses" << 0;
        QTest::newRow("nome tomado") << "Pedidos"
                                     << "Clientes" << 1;
    }
    void RenomearPeloTeclado()
    {
        // F2, the new name, Enter: the editor closes before the rename runs and reports, no box
        // shows over a live editor, and Enter in the editor opens nothing.
        QFETCH(QString, novo);
        QFETCH(QString, esperado);
        QFETCH(int, mensagens);
        Cenario c;
        QVERIFY(c.Conectar(c.fonte));
        clsNo* tabelas = c.Arvore().No(c.fonte->Key() + "tab");
        QVERIFY(Expandir(c.Arvore(), tabelas));
        clsNo* clientes = tabelas->Child();
        QApplication::setActiveWindow(&c.navegador);
        c.Tecla(clientes, Qt::Key_F2);
        QPointer<QLineEdit> editor = c.Trv()->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setFocus();
        editor->selectAll();
        QTest::keyClicks(editor, novo);
        bool mostradaSobreOEditor = false;
        c.prompt.aoMostrar = [&](const MensagemRegistrada&) { mostradaSobreOEditor = editor && editor->isVisible(); };
        const int janelas = JanelasDeConsulta();
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(editor.isNull());
        QTest::qWait(20);
        QCOMPARE(clientes->Text(), esperado);
        QCOMPARE(c.Arvore().IndiceModelo(clientes).data().toString(), esperado);
        QCOMPARE(c.prompt.mensagens.size(), mensagens);
        QVERIFY(!mostradaSobreOEditor);
        QCOMPARE(JanelasDeConsulta(), janelas);
        QVERIFY(c.Trv()->isEnabled());
    }

    void RenomearComAspasNaoEscapa()
    {
        Cenario c;
        QVERIFY(c.Conectar(c.fonte));
        clsNo* tabelas = c.Arvore().No(c.fonte->Key() + "tab");
        QVERIFY(Expandir(c.Arvore(), tabelas));
        clsNo* clientes = tabelas->Child();
        const QString estranho = QStringLiteral("a]\"b'c");
        c.Arvore().setData(c.Arvore().IndiceModelo(clientes), estranho);
        QTRY_VERIFY2(clientes->Text() == estranho, qPrintable(c.prompt.textos().join("|")));
        RecordsetPtr rs;
        clsData d(c.ambiente);
        QVERIFY(d.OpenConnection(MontarConnStrAccess(c.caminho, "admin", {}), true, false));
        QVERIFY(d.OpenSchema(tiposchema::Tabelas, rs, {}, "TABLE", {}, {}, false));
        QStringList nomes;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            nomes << rs->Valor("TABLE_NAME").toString();
        QVERIFY(nomes.contains(estranho));
        QVERIFY(nomes.contains("Pedidos"));
    }

    void AsSetasEscolhemONoDasAcoes()
    {
        // After a click on one source and Down, Enter (like F2, F5 and the menus) acts on the node
        // the keyboard moved to, which gets the node-click handling too.
        Cenario c;
        const QString outro = c.settings.pasta.filePath("outro.db");
        QString erro;
        QVERIFY(CriarBancoAccess(outro, &erro));
        IncluirConexaoNavegador(c.Arvore(), tiporegistro::Access, outro, false, {}, {}, {}, {});
        clsNo* segundo = c.fonte->Next();
        QVERIFY(segundo);
        settings::SaveSetting("AutoLogin", "SqlPass:" + segundo->Key(), Embaralhar(""));
        c.Trv()->expand(c.Arvore().IndiceModelo(c.fonte->Parent()));
        QList<clsNo*> clicados;
        connect(&c.navegador, &frmNavegador::NoClicado, this, [&](clsNo* no, int) { clicados << no; });
        const QRect r = c.Trv()->visualRect(c.Arvore().IndiceModelo(c.fonte));
        QTest::mouseClick(c.Trv()->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(clicados, QList<clsNo*>{c.fonte});
        QTest::keyClick(c.Trv(), Qt::Key_Down);
        QCOMPARE(c.Arvore().Selecionado(), segundo);
        QCOMPARE(clicados.value(1), segundo);
        QTest::keyClick(c.Trv(), Qt::Key_Return);
        QTRY_COMPARE(segundo->Image(), int(img::AccessConectado));
        QCOMPARE(c.fonte->Image(), int(img::Access));
    }

    void DesconectarFonteCustomizadaGuardaTipoEConexao()
    {
        Cenario c;
        const QString connStr = MontarConnStrAccess(c.caminho, "admin", {});
        QVERIFY(Mapeado(c.Arvore(), connStr));
        clsNo* fonte = c.Arvore().No("Outros")->Child();
        c.Arvore().Selecionar(fonte);
        c.navegador.mnuNavSerDesc_Click();
        QCOMPARE(fonte->Image(), int(img::Customizada));
        QCOMPARE(fonte->Tag(), connStr);
        QCOMPARE(fonte->Children(), 0);
        QVERIFY(c.Conectar(fonte));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
        QVERIFY(c.Arvore().No(fonte->Key() + "tab"));
    }

    void DuploCliqueDeixaAbertoOQueOProgramaAbriu_data()
    {
        QTest::addColumn<bool>("programaExpande");
        QTest::newRow("o programa expande (servidor)") << true;
        QTest::newRow("a vista expande (arquivo)") << false;
    }
    void DuploCliqueDeixaAbertoOQueOProgramaAbriu()
    {
        QFETCH(bool, programaExpande);
        Cenario c;
        const QModelIndex fonte = c.Arvore().IndiceModelo(c.fonte);
        c.Trv()->expand(fonte.parent());
        if (programaExpande) // as connecting a server does, once its databases are in
            connect(&c.Arvore(), &QAbstractItemModel::rowsInserted, this, [&](const QModelIndex& pai) {
                if (pai == fonte && !c.fonte->Expanded())
                    c.Arvore().Expandir(c.fonte);
            });
        c.DuploClique(fonte);
        QTRY_COMPARE(c.fonte->Image(), int(img::AccessConectado));
        QTRY_VERIFY(c.Trv()->isExpanded(fonte));
        // A folder the handling leaves alone still opens and closes on a double-click.
        const QModelIndex grupo = fonte.parent();
        c.DuploClique(grupo);
        QVERIFY(!c.Trv()->isExpanded(grupo));
    }

    void DicasDasFontes()
    {
        // The pane is narrow: each source's tip tells it whole.
        Cenario c;
        IncluirConexaoNavegador(c.Arvore(), tiporegistro::SqlServer, "SRV", false, {}, {}, {}, {});
        const QString endereco = QStringLiteral("http://127.0.0.1:8080/um/caminho/longo/WebData.asmx");
        IncluirConexaoNavegador(c.Arvore(), tiporegistro::WebService, endereco, false, {}, {}, {}, {});
        auto dica = [&](clsNo* no) { return c.Arvore().IndiceModelo(no).data(Qt::ToolTipRole).toString(); };
        QCOMPARE(dica(c.fonte), c.caminho);
        QCOMPARE(dica(c.Arvore().No("Sql")->Child()), QStringLiteral("Servidor: SRV"));
        QCOMPARE(dica(c.Arvore().No("WebSrv")->Child()), endereco);
        QCOMPARE(dica(c.Arvore().No("Access")), QString());
    }

    void F5AtualizaSemFecharNada()
    {
        Cenario c;
        QVERIFY(c.Conectar(c.fonte));
        clsNo* tabelas = c.Arvore().No(c.fonte->Key() + "tab");
        QVERIFY(Expandir(c.Arvore(), tabelas));
        c.Tecla(c.fonte, Qt::Key_F5);
        QTRY_COMPARE(c.fonte->Image(), 4);
        QTRY_VERIFY(c.Arvore().No(c.fonte->Key() + "tab"));
        QCOMPARE(c.Arvore().No(c.fonte->Key() + "tab")->Child()->Text(), QStringLiteral("<temp>"));
    }

    void FocalizarAoMoverOMouse_data()
    {
        QTest::addColumn<bool>("focalizar");
        QTest::newRow("ligado") << true;
        QTest::newRow("desligado") << false;
    }
    void FocalizarAoMoverOMouse()
    {
        QFETCH(bool, focalizar);
        Cenario c;
        QApplication::setActiveWindow(&c.navegador);
        c.Trv()->clearFocus();
        c.ambiente.Opcoes().Focalizar = focalizar;
        QTest::mouseMove(c.Trv()->viewport(), QPoint(20, 20));
        QMouseEvent movimento(QEvent::MouseMove,
                              QPointF(25, 25),
                              QPointF(25, 25),
                              Qt::NoButton,
                              Qt::NoButton,
                              Qt::NoModifier);
        QApplication::sendEvent(c.Trv()->viewport(), &movimento);
        QCOMPARE(c.navegador.focusWidget() == c.Trv(), focalizar);
    }

    void CliqueDireitoPedeOMenuDoNo()
    {
        Cenario c;
        clsNo* clicado = nullptr;
        int botao = 0;
        connect(&c.navegador, &frmNavegador::NoClicado, this, [&](clsNo* no, int b) {
            clicado = no;
            botao = b;
        });
        const QRect r = c.Trv()->visualRect(c.Arvore().IndiceModelo(c.Arvore().No("Access")));
        QTest::mousePress(c.Trv()->viewport(), Qt::RightButton, {}, r.center());
        QCOMPARE(clicado, c.Arvore().No("Access"));
        QCOMPARE(botao, 2);
        c.Tecla(c.Arvore().No("Sql"), Qt::Key_Menu);
        QCOMPARE(clicado, c.Arvore().No("Sql"));
        QCOMPARE(botao, 2);
    }
};
QUARRIX_TESTE(tst_frmNavegador);
#include "tst_frmNavegador.moc"
