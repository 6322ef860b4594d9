#include "frmPrincipal.h"

#include "admin/frmAdminNavegador.h"
#include "connections/clsData.h"
#include "connections/frmConexaoCustomizada.h"
#include "gui/AreaJanelas.h"
#include "gui/PromptJanelas.h"
#include "gui/Traducoes.h"
#include "gui/Twips.h"
#include "gui/frmFilhoConexao.h"
#include "navigator/frmNavegador.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlMenusNo.h"
#include "navigator/mdlNavegador.h"
#include "navigator/mdlServidores.h"
#include "platform/clsPrompt.h"
#include "platform/clsSettings.h"
#include "platform/mdlFuncoes.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlLinhas.h"
#include "platform/mdlProgramas.h"
#include "query/frmTabela.h"
#include "shell/clsAmbiente.h"
#include "shell/frmHistory.h"
#include "shell/frmOpcoes.h"
#include "shell/frmSobre.h"
#include "shell/frmWebBrowser.h"
#include "shell/mdlOpcoes.h"
#include "shell/uctInicio.h"
#include "webservice/frmWebServiceGen.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QDockWidget>
#include <QEvent>
#include <QFileInfo>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

namespace {

const QString Opcoes = QStringLiteral("Opcoes");

// Reads a stored number the way the settings are written: the leading number of the text, 0 when
// the text does not begin with one.
int LerNumero(const QString& chave, int padrao)
{
    const QString texto = settings::GetSetting(Opcoes, chave);
    if (texto.isNull())
        return padrao;
    return funcoes::LerInteiro(texto);
}

} // namespace

frmPrincipal::frmPrincipal(clsAmbiente& ambiente, const QString& linhaComando, const QString& capturaTela, QWidget* pai)
    : QMainWindow(pai), m_ambiente(ambiente), m_linhaComando(linhaComando), m_capturaTela(capturaTela)
{
    setObjectName(QStringLiteral("frmPrincipal"));
    PosicionarJanela();
    setWindowTitle(globais::TituloAplicativo());

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiPrincipal"));
    setCentralWidget(m_mdi);
    // Browser windows the prompt opens go into this window's MDI area while it lives.
    if (auto* janelas = dynamic_cast<PromptJanelas*>(&m_ambiente.Prompt()))
        janelas->DefinirAreaJanelas(m_mdi);

    m_navegador = new frmNavegador(m_ambiente);
    m_painel = new QDockWidget(QStringLiteral("Navegador"), this);
    m_painel->setObjectName(QStringLiteral("frmNavegador"));
    m_painel->setWidget(m_navegador);
    m_painel->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    addDockWidget(Qt::LeftDockWidgetArea, m_painel);
    DefinirLarguraPainel(4000 / TwipsPorPixel);

    CriarMenus();
    connect(m_painel, &QDockWidget::visibilityChanged, this, [this](bool) {
        // The check and the menus follow the pane, whatever hid or showed it (menu, F4, its own
        // close button).
        Acao(QStringLiteral("mnuNavExi"))->setChecked(!m_painel->isHidden());
        HabilitarMenusNavegador(!m_painel->isHidden());
    });
    CriarTeclas();
    m_navegador->DefinirJanelasAbertas([this] {
        QList<JanelaAberta> janelas;
        for (QMdiSubWindow* sub : m_mdi->subWindowList())
            if (auto* filho = qobject_cast<frmFilhoConexao*>(sub->widget()))
                janelas.append({filho->Tag(), [sub] { sub->close(); }});
        return janelas;
    });
    connect(m_navegador, &frmNavegador::OcultarObjetosSistemaPedido, this, [this] {
        Acao(QStringLiteral("mnuNavBanSysObj"))->setChecked(true);
    });
    LigarJanelasDeConsulta();
    CriarInicio();
    connect(m_navegador, &frmNavegador::MapearCustomizadaPedido, this, [this] {
        MapearConexaoCustomizada(m_navegador->Arvore(), PedirConexaoCustomizada(m_ambiente, this));
    });
    connect(m_navegador, &frmNavegador::NoClicado, this, &frmPrincipal::HabilitarMenus);
    // A node that changes kind while selected (connected, disconnected) takes its menus along.
    connect(&m_navegador->Arvore(),
            &QAbstractItemModel::dataChanged,
            this,
            [this](const QModelIndex& de, const QModelIndex& ate) {
                clsArvore& arvore = m_navegador->Arvore();
                clsNo* no = arvore.Selecionado();
                const QModelIndex i = no ? arvore.IndiceModelo(no) : QModelIndex();
                if (i.isValid() && i.parent() == de.parent() && i.row() >= de.row() && i.row() <= ate.row())
                    HabilitarMenus(no, 1);
            });
    connect(m_navegador, &frmNavegador::AbrirWebBrowserPedido, this, [this](int guia) { AbrirWebBrowser(guia); });
    connect(m_navegador, &frmNavegador::AlternarNavegador, this, [this] {
        ExibirNavegador(!Acao(QStringLiteral("mnuNavExi"))->isChecked());
    });
    statusBar();
    m_jaAtivado = false;
    Acao(QStringLiteral("mnuTab"))->setVisible(false);
    opcoes::CarregarOpcoes(m_ambiente.Opcoes());
}

frmPrincipal::~frmPrincipal()
{
    // The pane reports its hiding while the window is torn down, after the menus are gone.
    m_painel->disconnect(this);
    // The context outlives the window: nothing in it may point here any more.
    m_ambiente.hospedarJanela = nullptr;
    m_ambiente.menuGrid = nullptr;
    if (auto* janelas = dynamic_cast<PromptJanelas*>(&m_ambiente.Prompt()))
        janelas->DefinirAreaJanelas(nullptr);
}

QAction* frmPrincipal::Acao(const QString& nome) const
{
    if (QAction* a = m_acoes.value(nome))
        return a;
    return m_menusNav.Acao(nome);
}

void frmPrincipal::CriarMenus()
{
    QMenuBar* barra = menuBar();
    auto menu = [&](const QString& nome, const QString& caption) {
        QMenu* m = barra->addMenu(caption);
        m->setObjectName(nome);
        m->menuAction()->setObjectName(nome);
        m_acoes.insert(nome, m->menuAction());
        return m;
    };
    auto item = [&](QMenu* m, const QString& nome, const QString& caption) {
        QAction* a = m->addAction(caption);
        a->setObjectName(nome);
        m_acoes.insert(nome, a);
        return a;
    };

    QMenu* arq = menu(QStringLiteral("mnuArq"), QStringLiteral("&Arquivo"));
    connect(item(arq, QStringLiteral("mnuArqSai"), QStringLiteral("&Sair")),
            &QAction::triggered,
            this,
            &QWidget::close);

    QMenu* fer = menu(QStringLiteral("mnuFer"), QStringLiteral("&Ferramentas"));
    connect(item(fer, QStringLiteral("mnuFerBrw"), QStringLiteral("Quarrix Web&Browser")),
            &QAction::triggered,
            this,
            [this] { AbrirWebBrowser(4); });
    fer->addSeparator();
    connect(item(fer, QStringLiteral("mnuFerImp"), QStringLiteral("Importar e Exportar")),
            &QAction::triggered,
            this,
            &frmPrincipal::mnuFerImp_Click);
    connect(item(fer, QStringLiteral("mnuFerWebService"), QStringLiteral("AspNet WebService Generator")),
            &QAction::triggered,
            this,
            [this] { ExibirModal<frmWebServiceGen>(m_ambiente.Prompt()); });
    QAction* verifica = item(fer, QStringLiteral("mnuFerVerificaDll"), QStringLiteral("Checar DLLs na Conexão"));
    verifica->setCheckable(true);
    connect(verifica, &QAction::triggered, this, [this, verifica] {
        bool& verificar = m_ambiente.Opcoes().VerificarDllsNaConexao;
        verificar = !verificar;
        verifica->setChecked(verificar);
    });
    connect(item(fer, QStringLiteral("mnuFerEasySetup"), QStringLiteral("MSDE(r) Easy Setup")),
            &QAction::triggered,
            this,
            &frmPrincipal::mnuFerEasySetup_Click);
    connect(item(fer, QStringLiteral("mnuFerOpc"), QStringLiteral("&Opções")), &QAction::triggered, this, [this] {
        ExibirModal<frmOpcoes>(m_ambiente.Opcoes());
    });

    QMenu* jan = menu(QStringLiteral("mnuJan"), QStringLiteral("Jane&las"));
    connect(jan, &QMenu::aboutToShow, this, [this, jan] { areajanelas::PreencherMenu(jan, m_mdi); });

    QMenu* aju = menu(QStringLiteral("mnuAju"), QStringLiteral("A&juda"));
    connect(item(aju, QStringLiteral("mnuAjuInd"), QStringLiteral("&Indice")), &QAction::triggered, this, [this] {
        m_ambiente.Prompt().MsgBox(QStringLiteral("Opção Ainda Não Disponível"),
                                   vb::OKOnly,
                                   globais::TituloAplicativo());
    });
    aju->addSeparator();
    connect(item(aju, QStringLiteral("mnuAjuAlt"), QStringLiteral("Histórico de Versões")),
            &QAction::triggered,
            this,
            [this] { ExibirModal<frmHistory>(); });
    connect(item(aju, QStringLiteral("mnuAjuSub"), QStringLiteral("&Sobre")), &QAction::triggered, this, [this] {
        ExibirModal<frmSobre>(m_ambiente.Prompt());
    });

    menu(QStringLiteral("mnuTab"), QStringLiteral("Tabela"));

    // The navigator's menus stand between "Arquivo" and "Ferramentas".
    m_menusNav.Construir(barra, fer->menuAction());
    connect(Acao(QStringLiteral("mnuNavExi")), &QAction::triggered, this, [this](bool marcado) {
        ExibirNavegador(marcado);
    });
    const std::pair<const char*, void (frmNavegador::*)()> rotas[] = {
        {"mnuNavMapInc", &frmNavegador::mnuNavMapInc_Click},
        {"mnuNavMapCri", &frmNavegador::mnuNavMapCri_Click},
        {"mnuNavMapExc", &frmNavegador::mnuNavMapExc_Click},
        {"mnuNavSerDesc", &frmNavegador::mnuNavSerDesc_Click},
        {"mnuNavBanDesc", &frmNavegador::mnuNavBanDesc_Click},
        {"mnuNavSerCon", &frmNavegador::ChamarDuploClique},
        {"mnuNavBanCon", &frmNavegador::ChamarDuploClique},
        {"mnuNavSerRef", &frmNavegador::mnuNavRef_Click},
        {"mnuNavBanRef", &frmNavegador::mnuNavRef_Click},
        {"mnuNavTabDet", &frmNavegador::mnuNavTabDet_Click},
        {"mnuNavTabAbr", &frmNavegador::ChamarDuploClique},
        {"mnuNavTabRen", &frmNavegador::ChamarRenomear},
        {"mnuNavTabEst", &frmNavegador::mnuNavTabEst_Click},
        {"mnuNavTabCri", &frmNavegador::mnuNavTabCri_Click},
        {"mnuNavIdxCreate", &frmNavegador::mnuNavIdxCreate_Click},
        {"mnuNavIdxOpen", &frmNavegador::mnuNavIdxOpen_Click},
        {"mnuNavConAbr", &frmNavegador::ChamarDuploClique},
        {"mnuNavFunOpen", &frmNavegador::ChamarDuploClique},
        {"mnuNavBacDev", &frmNavegador::ChamarDuploClique},
        {"mnuNavProScrAlt", &frmNavegador::ChamarDuploClique},
        {"mnuNavSerCri", &frmNavegador::mnuNavSerCri_Click},
        {"mnuNavBanExc", &frmNavegador::mnuNavBanExc_Click},
        {"mnuNavBanScr", &frmNavegador::mnuNavBanScr_Click},
        {"mnuNavSerScr", &frmNavegador::mnuNavBanScr_Click},
        {"mnuNavBanExp", &frmNavegador::mnuNavBanExp_Click},
        {"mnuNavIdxScript", &frmNavegador::mnuNavIdxScript_Click},
        {"mnuNavIdxDel", &frmNavegador::mnuNavIdxDel_Click},
        {"mnuNavTabExc", &frmNavegador::mnuNavTabExc_Click},
        {"mnuNavTabVis", &frmNavegador::mnuNavTabVis_Click},
        // Agente: jobs, passos e agendamentos
        {"mnuNavAgeSwithItem", &frmNavegador::mnuNavAgeSwithItem_Click},
        {"mnuNavAgeJobsNew", &frmNavegador::mnuNavAgeJobsNew_Click},
        {"mnuNavAgeJobsRef", &frmNavegador::mnuNavAgeJobsRef_Click},
        {"mnuNavAgeJobOpen", &frmNavegador::ChamarDuploClique},
        {"mnuNavAgeJobDel", &frmNavegador::mnuNavAgeJobDel_Click},
        {"mnuNavAgeJobStep", &frmNavegador::mnuNavAgeJobStep_Click},
        {"mnuNavAgeJobSch", &frmNavegador::mnuNavAgeJobSch_Click},
        {"mnuNavAgeStepOpen", &frmNavegador::ChamarDuploClique},
        {"mnuNavAgeStepDel", &frmNavegador::mnuNavAgeStepDel_Click},
        {"mnuNavAgeSchOpen", &frmNavegador::ChamarDuploClique},
        {"mnuNavAgeSchDel", &frmNavegador::mnuNavAgeSchDel_Click},
    };
    for (const auto& [nome, handler] : rotas)
        connect(Acao(QString::fromUtf8(nome)), &QAction::triggered, m_navegador, handler);
    // Script items: the kind of script each asks for.
    const std::tuple<const char*, void (frmNavegador::*)(int), int> scripts[] = {
        {"mnuNavTabScrSel", &frmNavegador::mnuNavTabScr_Click, 1},
        {"mnuNavTabScrCre", &frmNavegador::mnuNavTabScr_Click, 2},
        {"mnuNavTabScrAlt", &frmNavegador::mnuNavTabScr_Click, 3},
        {"mnuNavTabScrDro", &frmNavegador::mnuNavTabScr_Click, 4},
        {"mnuNavTabScrIns", &frmNavegador::mnuNavTabScr_Click, 5},
        {"mnuNavTabScrUpd", &frmNavegador::mnuNavTabScr_Click, 6},
        {"mnuNavTabScrDel", &frmNavegador::mnuNavTabScr_Click, 7},
        {"mnuNavConScrCre", &frmNavegador::mnuNavConScr_Click, 2},
        {"mnuNavConScrAlt", &frmNavegador::mnuNavConScr_Click, 3},
        {"mnuNavConScrDro", &frmNavegador::mnuNavConScr_Click, 4},
        {"mnuNavProScrCre", &frmNavegador::mnuNavProScr_Click, 2},
        {"mnuNavProScrDro", &frmNavegador::mnuNavProScr_Click, 4},
    };
    for (const auto& [nome, handler, tipo] : scripts)
        connect(Acao(QString::fromUtf8(nome)), &QAction::triggered, m_navegador, [this, handler, tipo] {
            (m_navegador->*handler)(tipo);
        });
    // The functions menu acts on functions or triggers, as its caption says.
    const std::pair<const char*, void (frmNavegador::*)(const QString&)> funcoes[] = {
        {"mnuNavFunCreate", &frmNavegador::mnuNavFunCreate_Click},
        {"mnuNavFunAlter", &frmNavegador::mnuNavFunAlter_Click},
        {"mnuNavFunDrop", &frmNavegador::mnuNavFunDrop_Click},
    };
    for (const auto& [nome, handler] : funcoes)
        connect(Acao(QString::fromUtf8(nome)), &QAction::triggered, m_navegador, [this, handler] {
            (m_navegador->*handler)(Acao(QStringLiteral("mnuNavFun"))->text());
        });
    LigarMenusAdmin(m_ambiente, m_menusNav, m_navegador);
    QAction* sistema = Acao(QStringLiteral("mnuNavBanSysObj"));
    sistema->setChecked(m_ambiente.Opcoes().OcultarObjetosSistema);
    connect(sistema, &QAction::toggled, this, [this](bool marcado) {
        m_ambiente.Opcoes().OcultarObjetosSistema = marcado;
    });
}

void frmPrincipal::LigarJanelasDeConsulta()
{
    m_ambiente.hospedarJanela = [this](QObject* janela) {
        if (auto* w = qobject_cast<QWidget*>(janela))
            areajanelas::Hospedar(m_mdi, w);
    };
    QMenu* mnuTab = findChild<QMenu*>(QStringLiteral("mnuTab"));
    frmTabela::PreencherMenuTab(mnuTab, [this] { return m_frmTempTabela.data(); });
    m_ambiente.menuGrid = [this, mnuTab](QObject* janela, const QPoint& p) {
        m_frmTempTabela = qobject_cast<frmTabela*>(janela);
        if (m_frmTempTabela)
            m_frmTempTabela->PrepararMenuTab(mnuTab);
        mnuTab->popup(p);
    };
}

frmWebBrowser* frmPrincipal::AbrirWebBrowser(int guia, const QString& endereco)
{
    auto* janela = new frmWebBrowser(m_ambiente.Prompt());
    janela->setAttribute(Qt::WA_DeleteOnClose);
    areajanelas::Hospedar(m_mdi, janela);
    janela->CarregForm(guia, endereco);
    return janela;
}

template <typename Janela, typename... Argumentos> void frmPrincipal::ExibirModal(Argumentos&&... argumentos)
{
    Janela janela(std::forward<Argumentos>(argumentos)..., this);
    m_ambiente.Prompt().ExibirModal(&janela);
}

void frmPrincipal::PosicionarJanela()
{
    const QRect tela = (screen() ? screen() : QGuiApplication::primaryScreen())->availableGeometry();
    resize(qRound(tela.width() * 0.9), qRound(tela.height() * 0.9));
    move(tela.x() + qRound((tela.width() - width()) / 2.0), tela.y() + qRound((tela.height() - height()) / 2.0));
}

int frmPrincipal::LarguraPainel() const { return m_painel->width(); }

void frmPrincipal::DefinirLarguraPainel(int pixels)
{
    // The dock layout must know the window's current size before it can share it out.
    if (layout())
        layout()->activate();
    resizeDocks({m_painel}, {pixels}, Qt::Horizontal);
}

void frmPrincipal::ExibirNavegador(bool visivel)
{
    if (visivel) {
        m_painel->show();
        if (m_navegador->trvNavegador()->isVisible())
            m_navegador->trvNavegador()->setFocus();
    } else {
        m_painel->hide();
    }
    HabilitarMenusNavegador(visivel);
}

void frmPrincipal::HabilitarMenusNavegador(bool habilitar)
{
    for (const char* nome : {"mnuNavSer", "mnuNavBan", "mnuNavTab", "mnuNavCon", "mnuNavPro"})
        Acao(QString::fromUtf8(nome))->setEnabled(habilitar);
}

void frmPrincipal::HabilitarMenus(clsNo* node, int intLastMouseKey)
{
    if (!node)
        return;
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        for (const AtribuicaoMenu& a : AtribuicoesMenus(node->Image(), node->Text())) {
            QAction* acao = Acao(a.item);
            if (!acao)
                continue;
            switch (a.propriedade) {
            case AtribuicaoMenu::Visivel: acao->setVisible(a.valor); break;
            case AtribuicaoMenu::Habilitado: acao->setEnabled(a.valor); break;
            case AtribuicaoMenu::Legenda: acao->setText(a.legenda); break;
            }
        }
    }
    if (intLastMouseKey != 2)
        return;
    const PopupNo popup = PopupDoNo(node->Image());
    QMenu* menu = m_menusNav.Menu(popup.menu);
    if (!menu)
        return;
    if (!popup.legendaSwith.isEmpty())
        Acao(QStringLiteral("mnuNavAgeSwithItem"))->setText(popup.legendaSwith);
    menu->setDefaultAction(popup.padrao.isEmpty() ? nullptr : Acao(popup.padrao));
    menu->popup(m_navegador->PosicaoMenu());
}

void frmPrincipal::CriarTeclas()
{
    // Ctrl+F4 closes the active child window, wherever the keyboard is in the main window (a child
    // window's own field, the navigator).
    auto* fechar = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4), this);
    fechar->setContext(Qt::WindowShortcut);
    connect(fechar, &QShortcut::activated, m_mdi, &QMdiArea::closeActiveSubWindow);
    // F10 takes the keyboard to the menu bar, on its first menu.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        for (QAction* a : menuBar()->actions())
            if (a->isVisible() && a->isEnabled()) {
                menuBar()->setActiveAction(a);
                break;
            }
    });
}

void frmPrincipal::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    // The first activation runs once, after the window is on screen.
    if (!m_jaAtivado)
        QTimer::singleShot(0, this, &frmPrincipal::PrimeiraAtivacao);
}

void frmPrincipal::PrimeiraAtivacao()
{
    if (m_jaAtivado)
        return;
    const QRect tela = (screen() ? screen() : QGuiApplication::primaryScreen())->availableGeometry();
    resize(width(), qRound(tela.height() * 0.85));
    CarregarConfigJanela();
    m_navegador->InicializarNavegador();
    m_jaAtivado = true;
    // The screenshot is taken once the file on the command line is mapped (or failed to open).
    AbrirLinhaComando([this] {
        if (!m_capturaTela.isEmpty())
            QTimer::singleShot(300, this, [this] {
                grab().save(m_capturaTela);
                close();
            });
    });
}

void frmPrincipal::CarregarConfigJanela()
{
    const int estadoAtual = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    const int estado = LerNumero(QStringLiteral("ConfigWindowState"), estadoAtual);
    if (estado == 2)
        showMaximized();
    else if (estado == 1)
        showMinimized();
    else {
        if (isMaximized() || isMinimized())
            showNormal();
        const int topo = LerNumero(QStringLiteral("ConfigTop"), y() * TwipsPorPixel) / TwipsPorPixel;
        const int esquerda = LerNumero(QStringLiteral("ConfigLeft"), x() * TwipsPorPixel) / TwipsPorPixel;
        const int largura = LerNumero(QStringLiteral("ConfigWidth"), width() * TwipsPorPixel) / TwipsPorPixel;
        const int altura = LerNumero(QStringLiteral("ConfigHeight"), height() * TwipsPorPixel) / TwipsPorPixel;
        resize(largura, altura);
        // The stored place is the frame's, as it is written: a window already on screen is told so,
        // or the window system would take it for the inside's and shift it by the title bar.
        if (QWindow* janela = windowHandle())
            janela->setFramePosition(QPoint(esquerda, topo));
        else
            move(esquerda, topo);
    }
    const QString visivel
        = settings::GetSetting(Opcoes,
                               QStringLiteral("ConfigNavVisible"),
                               m_painel->isHidden() ? QStringLiteral("False") : QStringLiteral("True"));
    ExibirNavegador(visivel.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0
                    || funcoes::LerInteiro(visivel) != 0);
    DefinirLarguraPainel(LerNumero(QStringLiteral("ConfigNavWidth"), LarguraPainel() * TwipsPorPixel) / TwipsPorPixel);
}

void frmPrincipal::GravarConfigJanela()
{
    const int estado = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    // The frame's place, as it is restored; a maximized or minimized window keeps its normal inside
    // geometry, whose place is moved out by the frame.
    const QPoint moldura = geometry().topLeft() - pos();
    const QRect normal
        = estado == 0 ? QRect(pos(), size()) : QRect(normalGeometry().topLeft() - moldura, normalGeometry().size());
    auto gravar = [](const char* chave, int valor) {
        settings::SaveSetting(Opcoes, QString::fromUtf8(chave), QString::number(valor));
    };
    gravar("ConfigWindowState", estado);
    gravar("ConfigTop", normal.y() * TwipsPorPixel);
    gravar("ConfigLeft", normal.x() * TwipsPorPixel);
    gravar("ConfigWidth", normal.width() * TwipsPorPixel);
    gravar("ConfigHeight", normal.height() * TwipsPorPixel);
    gravar("ConfigNavVisible", m_painel->isHidden() ? 0 : -1);
    gravar("ConfigNavWidth", LarguraPainel() * TwipsPorPixel);
}

void frmPrincipal::AbrirLinhaComando(const std::function<void()>& depois)
{
    if (m_linhaComando.isEmpty())
        return depois();
    if (!QFileInfo(m_linhaComando).isFile()) {
        m_ambiente.Prompt().MsgBox(QStringLiteral("File not founded") + u'\n' + m_linhaComando, vb::Information);
        return depois();
    }
    MapearArquivo(m_linhaComando, depois);
}

void frmPrincipal::MapearArquivo(const QString& arquivo, const std::function<void()>& depois)
{
    MapearConexaoCustomizada(m_navegador->Arvore(),
                             MontarConnStrAccess(arquivo, QStringLiteral("admin"), QString()),
                             [depois](bool) {
                                 if (depois)
                                     depois();
                             });
}

void frmPrincipal::CriarInicio()
{
    m_inicio = new uctInicio(m_mdi);
    m_mdi->installEventFilter(this);
    m_mdi->viewport()->installEventFilter(this);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &frmPrincipal::AtualizarInicio);
    clsArvore& arvore = m_navegador->Arvore();
    for (auto sinal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&arvore, sinal, this, [this] { m_inicio->CarregarConexoes(m_navegador->Arvore()); });
    connect(&arvore, &QAbstractItemModel::modelReset, this, [this] {
        m_inicio->CarregarConexoes(m_navegador->Arvore());
    });
    connect(m_inicio, &uctInicio::AbrirArquivoPedido, this, [this] {
        const QString arquivo = m_ambiente.Prompt().ArquivoAbrir(
            QStringLiteral("Selecione o Banco de Dados"),
            QDir::homePath(),
            QStringLiteral("Bancos de dados|*.db;*.sqlite;*.sqlite3;*.mdb;*.accdb|Todos os Arquivos (*.*)|*.*"));
        if (!arquivo.isEmpty())
            MapearArquivo(arquivo);
    });
    connect(m_inicio, &uctInicio::MapearServidorPedido, this, [this] {
        clsArvore& a = m_navegador->Arvore();
        a.Selecionar(a.No(QStringLiteral("Sql")));
        m_navegador->mnuNavMapInc_Click();
    });
    connect(m_inicio, &uctInicio::AbrirEditorPedido, m_navegador, &frmNavegador::AbrirEditorSql);
    connect(m_inicio, &uctInicio::ConexaoPedida, this, [this](const QString& chave) {
        clsArvore& a = m_navegador->Arvore();
        clsNo* no = a.No(chave);
        if (!no)
            return;
        a.Selecionar(no);
        m_navegador->trvNavegador()->setFocus();
        m_navegador->ChamarDuploClique();
    });
    AtualizarInicio();
}

void frmPrincipal::AtualizarInicio()
{
    // Shown over the empty area only; it never covers a child window.
    const bool vazio = m_mdi->subWindowList().isEmpty();
    m_inicio->setGeometry(m_mdi->viewport()->geometry());
    if (vazio && m_inicio->isHidden())
        m_inicio->CarregarConexoes(m_navegador->Arvore());
    m_inicio->setVisible(vazio);
}

void frmPrincipal::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
    // A connection mapped by another program (the local engine setup) appears when the window is
    // used again.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && m_jaAtivado)
        AcrescentarConexoesNovas(m_navegador->Arvore());
}

bool frmPrincipal::eventFilter(QObject* objeto, QEvent* evento)
{
    if (m_inicio && (objeto == m_mdi || objeto == m_mdi->viewport())) {
        switch (evento->type()) {
        case QEvent::Resize: m_inicio->setGeometry(m_mdi->viewport()->geometry()); break;
        case QEvent::ChildAdded:
        case QEvent::ChildRemoved: QTimer::singleShot(0, this, &frmPrincipal::AtualizarInicio); break;
        default: break;
        }
    }
    return QMainWindow::eventFilter(objeto, evento);
}

void frmPrincipal::closeEvent(QCloseEvent* e)
{
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        e->ignore();
        return;
    }
    GravarConfigJanela();
    QMainWindow::closeEvent(e);
}

void frmPrincipal::mnuFerEasySetup_Click()
{
    QString erro;
    if (!IniciarPrograma(CaminhoCompanheiro(Companheiro::EasySetup), {}, &erro))
        m_ambiente.Prompt().MsgBox(erro, vb::Critical, globais::TituloAplicativo());
}

void frmPrincipal::mnuFerImp_Click()
{
    ExecutarImportarExportar(m_ambiente.Prompt(), {}, {}, {}, m_navegador ? m_navegador->programaImpExp : QString());
}

int frmPrincipal::Executar(QApplication& app)
{
    InstalarTraducoesQt();
    clsAmbiente ambiente(std::make_unique<PromptJanelas>());
    QStringList args = app.arguments().mid(1);
    QString captura;
    const qsizetype i = args.indexOf(QStringLiteral("--screenshot"));
    if (i >= 0 && i + 1 < args.size()) {
        captura = args.at(i + 1);
        args.remove(i, 2);
    }
    frmPrincipal janela(ambiente, args.join(u' '), captura);
    janela.show();
    const int saida = app.exec();
    // A connection still opening or a folder still being read uses the context: it ends first.
    linhas::EsperarTodas();
    return saida;
}
