#include "connections/frmAbrir.h"
#include "gui/PromptJanelas.h"
#include "gui/Traducoes.h"
#include "gui/frmFilhoConexao.h"
#include "navigator/clsArvore.h"
#include "navigator/frmNavegador.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsSettings.h"
#include "platform/mdlEnderecos.h"
#include "platform/mdlGlobais.h"
#include "shell/clsAmbiente.h"
#include "shell/frmPrincipal.h"
#include "shell/frmWebBrowser.h"
#include "shell/uctInicio.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTranslator>
#include <QTreeView>

namespace {
QRect Tela() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// A main window with a context of its own (made first, gone last), on the test's prompt.
struct ComAmbiente {
    clsAmbiente ambiente;
    explicit ComAmbiente(clsPrompt& prompt) : ambiente(prompt) {}
};
struct Principal : ComAmbiente, frmPrincipal {
    Principal(clsPrompt& prompt, const QString& linha) : ComAmbiente(prompt), frmPrincipal(ambiente, linha) {}
};

// A main window that has gone through its first activation.
std::unique_ptr<Principal> Abrir(clsPrompt& prompt, const QString& linha = {})
{
    auto janela = std::make_unique<Principal>(prompt, linha);
    janela->show();
    if (!QTest::qWaitFor([&] { return janela->JaAtivado(); }))
        return nullptr;
    return janela;
}

QString Ler(const char* chave) { return settings::GetSetting("Opcoes", chave); }
} // namespace

class tst_frmPrincipal : public QObject {
    Q_OBJECT
private slots:
    void PrimeiroInicioSemConfiguracao()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        const QRect tela = Tela();
        QCOMPARE(janela->windowTitle(), QStringLiteral("Quarrix v1.26f"));
        QCOMPARE(janela->width(), qRound(tela.width() * 0.9));
        QCOMPARE(janela->height(), qRound(tela.height() * 0.85));
        QCOMPARE(janela->x(), tela.x() + qRound((tela.width() - janela->width()) / 2.0));
        // The top stays where the 90%-high window was centred.
        QCOMPARE(janela->y(), tela.y() + qRound((tela.height() - qRound(tela.height() * 0.9)) / 2.0));
        QVERIFY(!janela->PainelNavegador()->isHidden());
        QCOMPARE(janela->PainelNavegador()->objectName(), QStringLiteral("frmNavegador"));
        QCOMPARE(janela->PainelNavegador()->width(), 4000 / 15);
        QVERIFY(janela->Acao("mnuNavExi")->isChecked());
        QVERIFY(!janela->Acao("mnuTab")->isVisible());
        QVERIFY(prompt.mensagens.isEmpty());
        // The tree shows its fixed roots with the root selected and expanded.
        clsArvore& arvore = janela->Navegador()->Arvore();
        QCOMPARE(arvore.Selecionado(), arvore.No("Home"));
        QVERIFY(janela->Navegador()->trvNavegador()->isExpanded(arvore.IndiceModelo(arvore.No("Home"))));
    }

    void GeometriaSobreviveAoReinicio()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        {
            auto janela = Abrir(prompt);
            QVERIFY(janela);
            janela->move(40, 30);
            janela->resize(600, 420);
            janela->ExibirNavegador(false);
            janela->close();
        }
        QCOMPARE(Ler("ConfigWindowState"), QStringLiteral("0"));
        QCOMPARE(Ler("ConfigLeft"), QString::number(40 * 15));
        QCOMPARE(Ler("ConfigTop"), QString::number(30 * 15));
        QCOMPARE(Ler("ConfigWidth"), QString::number(600 * 15));
        QCOMPARE(Ler("ConfigHeight"), QString::number(420 * 15));
        QCOMPARE(Ler("ConfigNavVisible"), QStringLiteral("0"));
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        QCOMPARE(janela->pos(), QPoint(40, 30));
        QCOMPARE(janela->size(), QSize(600, 420));
        QVERIFY(janela->PainelNavegador()->isHidden());
        QVERIFY(!janela->Acao("mnuNavExi")->isChecked());
        QVERIFY(!janela->Acao("mnuNavSer")->isEnabled());
    }

    void PosicaoNaoAndaEntreReinicios()
    {
        // Five restarts, every other one closed maximized: the stored place, in twips, never moves.
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        settings::SaveSetting("Opcoes", "ConfigLeft", QString::number(100 * 15));
        settings::SaveSetting("Opcoes", "ConfigTop", QString::number(100 * 15));
        settings::SaveSetting("Opcoes", "ConfigWidth", QString::number(640 * 15));
        settings::SaveSetting("Opcoes", "ConfigHeight", QString::number(480 * 15));
        for (int vez = 0; vez < 5; ++vez) {
            settings::SaveSetting("Opcoes", "ConfigWindowState", "0");
            auto janela = Abrir(prompt);
            QVERIFY(janela);
            QCOMPARE(janela->frameGeometry().topLeft(), QPoint(100, 100));
            if (vez % 2) {
                janela->showMaximized();
                QTRY_VERIFY(janela->isMaximized());
            }
            janela->close();
            QCOMPARE(Ler("ConfigLeft"), QString::number(100 * 15));
            QCOMPARE(Ler("ConfigTop"), QString::number(100 * 15));
            QCOMPARE(Ler("ConfigWidth"), QString::number(640 * 15));
            QCOMPARE(Ler("ConfigHeight"), QString::number(480 * 15));
        }
    }

    void LarguraDoPainelEmTwips()
    {
        SettingsTemporarios s;
        settings::SaveSetting("Opcoes", "ConfigNavWidth", QString::number(300 * 15));
        settings::SaveSetting("Opcoes", "ConfigNavVisible", "True");
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        QTRY_COMPARE(janela->PainelNavegador()->width(), 300);
        QVERIFY(!janela->PainelNavegador()->isHidden());
    }

    void MaximizadaNaoAplicaPosicaoGuardada()
    {
        SettingsTemporarios s;
        settings::SaveSetting("Opcoes", "ConfigWindowState", "2");
        settings::SaveSetting("Opcoes", "ConfigLeft", "150");
        settings::SaveSetting("Opcoes", "ConfigWidth", "1500");
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        QVERIFY(janela->isMaximized());
        QVERIFY(janela->width() != 100);
        janela->close();
        // Position and size are written even when maximised.
        QCOMPARE(Ler("ConfigWindowState"), QStringLiteral("2"));
        QVERIFY(!Ler("ConfigWidth").isEmpty());
    }

    void ArquivoDaLinhaDeComandoInexistente()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt, "/nao/existe/loja.mdb");
        QVERIFY(janela);
        QCOMPARE(prompt.mensagens.size(), 1);
        QCOMPARE(prompt.ultima().texto, QStringLiteral("File not founded\n/nao/existe/loja.mdb"));
        QCOMPARE(prompt.ultima().icone(), int(vb::Information));
    }

    void SegundaAtivacaoNaoRepeteNada()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        const int nos = janela->Navegador()->Arvore().Count();
        janela->hide();
        janela->show();
        QTest::qWait(20);
        QCOMPARE(janela->Navegador()->Arvore().Count(), nos);
    }

    void ChecarDllsAlternaSemGuardar()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        QAction* a = janela->Acao("mnuFerVerificaDll");
        a->trigger();
        QVERIFY(janela->Ambiente().Opcoes().VerificarDllsNaConexao);
        QVERIFY(a->isChecked());
        a->trigger();
        QVERIFY(!janela->Ambiente().Opcoes().VerificarDllsNaConexao);
        QVERIFY(!a->isChecked());
        QVERIFY(settings::Chaves("Opcoes").isEmpty());
    }

    void IndiceAindaNaoDisponivel()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        janela->Acao("mnuAjuInd")->trigger();
        QCOMPARE(prompt.ultima().texto, QStringLiteral("Opção Ainda Não Disponível"));
        QCOMPARE(prompt.ultima().estilo, int(vb::OKOnly));
        QCOMPARE(prompt.ultima().titulo, QStringLiteral("Quarrix v1.26f"));
    }

    void ExibirNavegadorPeloMenuEPorF4()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        janela->Acao("mnuNavExi")->trigger();
        QVERIFY(janela->PainelNavegador()->isHidden());
        QVERIFY(!janela->Acao("mnuNavExi")->isChecked());
        janela->Acao("mnuNavExi")->trigger();
        QVERIFY(!janela->PainelNavegador()->isHidden());
        QVERIFY(janela->Acao("mnuNavTab")->isEnabled());
        QTest::keyClick(janela->Navegador()->trvNavegador(), Qt::Key_F4);
        QVERIFY(janela->PainelNavegador()->isHidden());
        QVERIFY(!janela->Acao("mnuNavExi")->isChecked());
    }

    void BotaoFecharDoNavegadorDesabilitaSeusMenus()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        auto* fechar = janela->PainelNavegador()->findChild<QAbstractButton*>("qt_dockwidget_closebutton");
        QVERIFY(fechar);
        fechar->click();
        QVERIFY(janela->PainelNavegador()->isHidden());
        QVERIFY(!janela->Acao("mnuNavExi")->isChecked());
        for (const char* menu : {"mnuNavSer", "mnuNavBan", "mnuNavTab", "mnuNavCon", "mnuNavPro"})
            QVERIFY2(!janela->Acao(menu)->isEnabled(), menu);
        janela->Acao("mnuNavExi")->trigger();
        QVERIFY(janela->Acao("mnuNavSer")->isEnabled());
    }

    void TeclasDaJanelaPrincipal()
    {
        // Ctrl+F4 closes the active child window; F10 takes the keyboard to the menu bar.
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        QApplication::setActiveWindow(janela.get());
        QVERIFY(QTest::qWaitForWindowActive(janela.get()));
        janela->Acao("mnuFerBrw")->trigger();
        janela->Acao("mnuFerBrw")->trigger();
        QCOMPARE(janela->AreaMdi()->subWindowList().size(), 2);
        QTest::keyClick(janela->AreaMdi()->activeSubWindow()->widget(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(janela->AreaMdi()->subWindowList().size(), 1);
        // A child window whose field has the keyboard closes too.
        auto* filho = new frmFilhoConexao;
        auto* campo = new QLineEdit(filho);
        filho->setAttribute(Qt::WA_DeleteOnClose);
        janela->Ambiente().hospedarJanela(filho);
        filho->show();
        janela->AreaMdi()->setActiveSubWindow(janela->AreaMdi()->subWindowList().last());
        campo->setFocus();
        QTest::keyClick(campo, Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(janela->AreaMdi()->subWindowList().size(), 1);
        // From the navigator too, which stays shown (F4 alone hides it).
        janela->Navegador()->trvNavegador()->setFocus();
        QTest::keyClick(janela->Navegador()->trvNavegador(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(janela->AreaMdi()->subWindowList().size(), 0);
        QVERIFY(!janela->PainelNavegador()->isHidden());
        QTest::keyClick(janela->Navegador()->trvNavegador(), Qt::Key_F10);
        QCOMPARE(janela->menuBar()->activeAction(), janela->menuBar()->actions().value(0));
        QTest::keyClick(janela->menuBar(), Qt::Key_Escape);
    }

    void TextosDoQtEmPortugues()
    {
        QTranslator* tradutor = InstalarTraducoesQt();
        QVERIFY2(tradutor, "qtbase_pt_BR.qm not found: install qt6-translations-l10n (scripts/setup)");
        const auto remover = qScopeGuard([&] {
            QCoreApplication::removeTranslator(tradutor);
            delete tradutor;
        });
        QDialogButtonBox botoes(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
        QCOMPARE(botoes.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancelar"));
        QCOMPARE(botoes.button(QDialogButtonBox::No)->text().remove(u'&'), QStringLiteral("Não"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Procurar em:"));
    }

    void MenusAbremJanelasModais_data()
    {
        QTest::addColumn<QString>("acao");
        QTest::addColumn<QString>("janela");
        QTest::newRow("opcoes") << "mnuFerOpc"
                                << "frmOpcoes";
        QTest::newRow("historico") << "mnuAjuAlt"
                                   << "frmHistory";
        QTest::newRow("sobre") << "mnuAjuSub"
                               << "frmSobre";
        QTest::newRow("gerador") << "mnuFerWebService"
                                 << "frmWebServiceGen";
    }
    void MenusAbremJanelasModais()
    {
        QFETCH(QString, acao);
        QFETCH(QString, janela);
        clsPromptRoteiro prompt;
        clsAmbiente ambiente(prompt);
        frmPrincipal principal(ambiente);
        QString aberta;
        prompt.dialogos << [&](QObject* d) {
            aberta = QString::fromUtf8(d->metaObject()->className());
            return 0;
        };
        principal.Acao(acao)->trigger();
        QCOMPARE(aberta, janela);
    }

    void NavegadorWebAbreUmaJanelaPorVez()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        janela->Acao("mnuFerBrw")->trigger();
        janela->Acao("mnuFerBrw")->trigger();
        QCOMPARE(janela->AreaMdi()->subWindowList().size(), 2);
        // Enter on "Forum" opens the forum page in a third window.
        clsArvore& arvore = janela->Navegador()->Arvore();
        arvore.Selecionar(arvore.No("Forum"));
        QTest::keyClick(janela->Navegador()->trvNavegador(), Qt::Key_Return);
        const auto janelas = janela->AreaMdi()->subWindowList();
        QCOMPARE(janelas.size(), 3);
        auto* forum = qobject_cast<frmWebBrowser*>(janelas.last()->widget());
        QVERIFY(forum);
        QCOMPARE(forum->Endereco(), enderecos::PaginaForum());
    }

    void MapearPeloMenuEDesconectarFechandoJanelas()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        clsArvore& arvore = janela->Navegador()->Arvore();
        arvore.Selecionar(arvore.No("Access"));
        const QString caminho = QStringLiteral(QUARRIX_SAMPLES_DIR "/Exemplo.sql");
        prompt.dialogos << [&](QObject* d) {
            auto* abrir = qobject_cast<frmAbrir*>(d);
            if (!abrir || !abrir->optTipoAccess->isChecked())
                return 0;
            abrir->txtAccessPath->setText(caminho);
            abrir->btnConf->click();
            return 1;
        };
        janela->Acao("mnuNavMapInc")->trigger();
        clsNo* no = arvore.No(ChaveFonte(caminho));
        QVERIFY(no);
        // As if connected, with a window open on it.
        arvore.DefinirImagem(no, img::AccessConectado);
        auto* filho = new frmFilhoConexao;
        filho->DefinirTag(QString::number(no->Index()));
        janela->AreaMdi()->addSubWindow(filho)->show();
        arvore.Selecionar(no);
        prompt.respostas << vb::Yes;
        janela->Acao("mnuNavSerDesc")->trigger();
        QCOMPARE(prompt.ultima().texto,
                 QStringLiteral("Todas as Telas Abertas Por Esta Conexão Serão Fechadas.\rDeseja Continuar ?"));
        QTRY_VERIFY(janela->AreaMdi()->subWindowList().isEmpty());
        QCOMPARE(no->Image(), int(img::Access));
    }

    void JanelaDestruidaNaoDeixaNadaNoContexto()
    {
        // The context outlives the main window: while the window lives its hooks and the browser
        // windows go to its MDI area; once it is gone nothing in the context points at it.
        SettingsTemporarios s;
        auto proprio = std::make_unique<PromptJanelas>();
        PromptJanelas* janelas = proprio.get();
        clsAmbiente ambiente(std::move(proprio));
        {
            frmPrincipal principal(ambiente);
            QVERIFY(ambiente.hospedarJanela);
            QVERIFY(ambiente.menuGrid);
            QCOMPARE(janelas->AreaJanelas(), principal.AreaMdi());
            auto* navegador = qobject_cast<frmWebBrowser*>(janelas->AbrirNavegador("https://exemplo.invalid/x"));
            QVERIFY(navegador);
            QCOMPARE(navegador->Endereco(), QStringLiteral("https://exemplo.invalid/x"));
            QCOMPARE(principal.AreaMdi()->subWindowList().size(), 1);
        }
        QVERIFY(!ambiente.hospedarJanela);
        QVERIFY(!ambiente.menuGrid);
        QVERIFY(!janelas->AreaJanelas());
    }

    // Child windows open a step apart, inside the area, with titles that tell them apart; the
    // "Janelas" menu arranges and closes them.
    void JanelasEmCascataComTitulosDistintos()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        janela->resize(900, 650);
        for (int i = 0; i < 3; ++i)
            janela->Acao("mnuFerBrw")->trigger();
        QMdiArea* area = janela->AreaMdi();
        const auto subs = area->subWindowList();
        QCOMPARE(subs.size(), 3);
        QTRY_COMPARE(subs.at(2)->windowTitle(), subs.at(0)->windowTitle() + QStringLiteral(" (3)"));
        QCOMPARE(subs.at(1)->windowTitle(), subs.at(0)->windowTitle() + QStringLiteral(" (2)"));
        const QRect visivel(QPoint(0, 0), area->viewport()->size());
        QVERIFY(subs.at(1)->pos().x() > subs.at(0)->pos().x());
        QVERIFY(subs.at(2)->pos().y() > subs.at(1)->pos().y());
        for (QMdiSubWindow* sub : subs)
            QVERIFY2(
                visivel.contains(sub->geometry()),
                qPrintable(
                    QStringLiteral("%1,%2 %3x%4").arg(sub->x()).arg(sub->y()).arg(sub->width()).arg(sub->height())));
        QMenu* jan = janela->findChild<QMenu*>("mnuJan");
        emit jan->aboutToShow();
        QStringList itens;
        for (QAction* a : jan->actions())
            if (!a->isSeparator())
                itens << a->text();
        QCOMPARE(itens.mid(0, 3), QStringList({"&Cascata", "&Lado a Lado", "&Fechar Todas"}));
        QCOMPARE(itens.size(), 6);
        jan->findChild<QAction*>("mnuJanLadoALado")->trigger();
        QVERIFY(subs.at(0)->geometry().intersected(subs.at(1)->geometry()).isEmpty());
        jan->findChild<QAction*>("mnuJanFecharTodas")->trigger();
        QTRY_VERIFY(area->subWindowList().isEmpty());
    }

    // The start panel covers the empty area, lists the mapped connections and leaves as soon as a
    // child window opens; its steps act through the navigator.
    void PainelInicialNaAreaVazia()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QStringLiteral("Exemplo.db"));
        QVERIFY(QFile::copy(QStringLiteral(QUARRIX_BIN_DIR "/../samples/Exemplo.db"), arquivo));
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        uctInicio* inicio = janela->Inicio();
        QVERIFY(inicio->isVisible());
        QCOMPARE(inicio->lstInicioConexoes->count(), 0);
        // The first step maps the file the user picks, and the list shows it.
        prompt.arquivos << arquivo;
        QTest::mouseClick(inicio->btnInicioArquivo, Qt::LeftButton);
        QCOMPARE(prompt.dialogosArquivo.last().first, QStringLiteral("abrir"));
        QTRY_COMPARE(inicio->lstInicioConexoes->count(), 1);
        QVERIFY2(inicio->lstInicioConexoes->item(0)->text().contains(QStringLiteral("Exemplo")),
                 qPrintable(inicio->lstInicioConexoes->item(0)->text()));
        // The SQL editor step opens an editor on that connection, which hides the panel; closing
        // the last window shows it again.
        QTest::mouseClick(inicio->btnInicioEditor, Qt::LeftButton);
        QTRY_COMPARE(janela->AreaMdi()->subWindowList().size(), 1);
        QVERIFY(janela->AreaMdi()->subWindowList().first()->windowTitle().startsWith(QStringLiteral("SqlEditor")));
        QTRY_VERIFY(!inicio->isVisible());
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('|')));
        janela->AreaMdi()->closeAllSubWindows();
        QTRY_VERIFY(inicio->isVisible());
        CapturarJanela(janela.get(), "frmPrincipal-inicio");
    }

    // Shift+F10 and the context-menu key open the node's menu under the node.
    void MenuDoNoPeloTeclado_data()
    {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("modificador");
        QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
        QTest::newRow("tecla de menu") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    }
    void MenuDoNoPeloTeclado()
    {
        QFETCH(int, tecla);
        QFETCH(int, modificador);
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        clsArvore& arvore = janela->Navegador()->Arvore();
        QTreeView* trv = janela->Navegador()->trvNavegador();
        arvore.Selecionar(arvore.No("Access"));
        QCursor::setPos(janela->mapToGlobal(QPoint(janela->width() - 5, janela->height() - 5)));
        QTest::keyClick(trv, Qt::Key(tecla), Qt::KeyboardModifiers(modificador));
        QMenu* menu = janela->findChild<QMenu*>("mnuNavMap");
        QTRY_VERIFY(menu && menu->isVisible());
        const QRect no = trv->visualRect(trv->currentIndex());
        const QPoint sob = trv->viewport()->mapToGlobal(no.bottomLeft());
        QVERIFY2(qAbs(menu->pos().y() - sob.y()) < 40,
                 qPrintable(QStringLiteral("menu em %1, no em %2").arg(menu->pos().y()).arg(sob.y())));
        menu->hide();
    }

    // Clicking a node sets the menus; a right click pops up the node's menu with its default item
    // in bold, and the menu bar shows the same state.
    void MenuDoNoComBotaoDireito()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        auto janela = Abrir(prompt);
        QVERIFY(janela);
        clsArvore& arvore = janela->Navegador()->Arvore();
        clsNo* banco = IncluirNode(arvore, {"Vendas", "srvVendas", {}, img::Banco});
        QVERIFY(banco);
        janela->HabilitarMenus(banco, 2);
        QMenu* menu = janela->findChild<QMenu*>("mnuNavBan");
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->defaultAction(), janela->Acao("mnuNavBanCon"));
        QVERIFY(menu->defaultAction()->isEnabled());
        QCOMPARE(janela->Acao("mnuNavBanExc")->text(), QStringLiteral("&Excluir 'Vendas'"));
        QVERIFY(!janela->Acao("mnuNavBanDesc")->isEnabled());
        QVERIFY(!janela->Acao("mnuNavBanBac")->isEnabled());
        CapturarJanela(menu, "mnuNavBan");
        menu->hide();
        // A left click on a table sets the state and opens nothing.
        clsNo* tabela = IncluirNode(arvore, {"Clientes", "srvVendasTab", {}, img::Tabela});
        janela->HabilitarMenus(tabela, 1);
        QVERIFY(!janela->findChild<QMenu*>("mnuNavTab")->isVisible());
        QVERIFY(janela->Acao("mnuNavTabRen")->isEnabled());
        QVERIFY(!janela->Acao("mnuNavBanCon")->isEnabled());
        QCOMPARE(janela->Acao("mnuNavTabExc")->text(), QStringLiteral("&Excluir 'Clientes'"));
    }

    void CaptionsDosMenus_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("caption");
        const char* linhas[][2] = {
            {"mnuArq", "&Arquivo"},
            {"mnuArqSai", "&Sair"},
            {"mnuFer", "&Ferramentas"},
            {"mnuFerBrw", "Quarrix Web&Browser"},
            {"mnuFerImp", "Importar e Exportar"},
            {"mnuFerWebService", "AspNet WebService Generator"},
            {"mnuFerVerificaDll", "Checar DLLs na Conexão"},
            {"mnuFerEasySetup", "MSDE(r) Easy Setup"},
            {"mnuFerOpc", "&Opções"},
            {"mnuJan", "Jane&las"},
            {"mnuAju", "A&juda"},
            {"mnuAjuInd", "&Indice"},
            {"mnuAjuAlt", "Histórico de Versões"},
            {"mnuAjuSub", "&Sobre"},
            {"mnuTab", "Tabela"},
            {"mnuNavExi", "&Exibir Navegador"},
            {"mnuNavSer", "&Servidores"},
            {"mnuNavBan", "&Banco de Dados"},
            {"mnuNavTab", "&Tabelas"},
            {"mnuNavCon", "&Consultas"},
            {"mnuNavPro", "&Stored Prodecures"},
            {"mnuNavBanShrink", "Shrin&k Database"},
            {"mnuNavTabScrIns", "INSERT"},
            {"mnuNavAgeSwithItem", "Start Agent"},
        };
        for (const auto& l : linhas)
            QTest::newRow(l[0]) << QString::fromUtf8(l[0]) << QString::fromUtf8(l[1]);
    }
    void CaptionsDosMenus()
    {
        QFETCH(QString, nome);
        QFETCH(QString, caption);
        clsPromptRoteiro prompt;
        clsAmbiente ambiente(prompt);
        frmPrincipal janela(ambiente);
        QAction* a = janela.Acao(nome);
        QVERIFY2(a, qPrintable(nome));
        QCOMPARE(a->text(), caption);
    }

    void OrdemDaBarraDeMenus()
    {
        clsPromptRoteiro prompt;
        clsAmbiente ambiente(prompt);
        frmPrincipal janela(ambiente);
        QStringList visiveis;
        for (QAction* a : janela.menuBar()->actions())
            if (a->isVisible())
                visiveis << a->text();
        QCOMPARE(visiveis.first(), QStringLiteral("&Arquivo"));
        QCOMPARE(visiveis.mid(visiveis.indexOf("&Ferramentas")), (QStringList{"&Ferramentas", "Jane&las", "A&juda"}));
    }
};
QUARRIX_TESTE(tst_frmPrincipal);
#include "tst_frmPrincipal.moc"
