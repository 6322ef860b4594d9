#include "frmTabela.h"
#include "gui/AreaJanelas.h"

#include "connections/clsData.h"
#include "connections/uctConnectionSel.h"
#include "gui/Twips.h"
#include "query/clsModeloRecordset.h"
#include "query/mdlExecucao.h"
#include "query/uctEditorSql.h"
#include "shell/clsAmbiente.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The splitter bar stays at least this far from the window's top and this far from its bottom.
constexpr int TopoMinimoDivisor = 668;
constexpr int FolgaInferiorDivisor = 1432;
// On resizing, the bar is pulled up to keep this much room for the editor.
constexpr int FolgaAjusteDivisor = 2032;

const QString TituloEditor = QStringLiteral("SqlEditor: ");

// The button's own drawing when there is one, else the style's.
QIcon IconeBotao(const QString& chave, const QIcon& padrao)
{
    const QString caminho = QStringLiteral(":/query/icones/") + chave + QStringLiteral(".svg");
    return QFile::exists(caminho) ? QIcon(caminho) : padrao;
}

struct DefinicaoBotao {
    const char* chave;
    const char* dica;
    bool alternar;
    QStyle::StandardPixmap icone;
};

} // namespace

static void CarregarIconesConsulta() { Q_INIT_RESOURCE(query); }

frmTabela::frmTabela(clsAmbiente& ambiente, QWidget* pai) : frmFilhoConexao(pai), m_ambiente(ambiente)
{
    static const bool carregado = (CarregarIconesConsulta(), true);
    Q_UNUSED(carregado);
    setObjectName(QStringLiteral("frmTabela"));
    hide();

    CriarBarras();

    dgrConsulta = new QTableView;
    dgrConsulta->setObjectName(QStringLiteral("dgrConsulta"));
    dgrConsulta->setFont(QFont(QStringLiteral("Verdana"), 8));
    m_modelo = new clsModeloRecordset(this);
    dgrConsulta->setModel(m_modelo);
    // Rows of one height: the view then lays out a million rows without asking each one.
    dgrConsulta->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dgrConsulta->verticalHeader()->setDefaultSectionSize(dgrConsulta->fontMetrics().height() + 6);
    dgrConsulta->verticalHeader()->setMinimumWidth(14);
    dgrConsulta->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    dgrConsulta->horizontalHeader()->setDefaultSectionSize(100);
    dgrConsulta->setWordWrap(false);
    dgrConsulta->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                 | QAbstractItemView::AnyKeyPressed);
    PrepararGrade();

    txtSql = new uctEditorSql(m_ambiente);
    txtSql->setObjectName(QStringLiteral("txtSql"));
    QFont fonteEditor(QStringLiteral("Courier New"), 10);
    fonteEditor.setStyleHint(QFont::Monospace);
    txtSql->setFont(fonteEditor);
    txtSql->setMarginLineNumbers(0, true);
    txtSql->setMarginWidth(0, QStringLiteral("0000"));
    txtSql->setMarginsBackgroundColor(QColor(240, 240, 240));

    picSplit = new QSplitter(Qt::Vertical);
    picSplit->setObjectName(QStringLiteral("picSplit"));
    picSplit->addWidget(dgrConsulta);
    picSplit->addWidget(txtSql);
    picSplit->setChildrenCollapsible(false);
    picSplit->setHandleWidth(5);
    connect(picSplit, &QSplitter::splitterMoved, this, [this] { DivisorMovido(); });

    stbStatus = new QStatusBar;
    stbStatus->setObjectName(QStringLiteral("stbStatus"));
    stbStatus->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        m_paineis[i] = new QLabel;
        m_paineis[i]->setObjectName(QStringLiteral("stbPainel%1").arg(i + 1));
        m_paineis[i]->setFrameShape(QFrame::Panel);
        m_paineis[i]->setFrameShadow(QFrame::Sunken);
        stbStatus->addWidget(m_paineis[i], i == 0 ? 1 : 0);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(tlbCoolBar);
    layout->addWidget(picSplit, 1);
    layout->addWidget(stbStatus);

    for (QWidget* w : {static_cast<QWidget*>(txtSql), txtSql->viewport()})
        w->installEventFilter(this);
    dgrConsulta->viewport()->installEventFilter(this);
    txtSql->viewport()->setMouseTracking(true);
    dgrConsulta->viewport()->setMouseTracking(true);

    // F6, F7 and F8 act wherever the focus is in the window (the editor catches them itself).
    for (int tecla : {Qt::Key_F6, Qt::Key_F7, Qt::Key_F8}) {
        auto* atalho = new QAction(this);
        atalho->setShortcut(QKeySequence(tecla));
        atalho->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(atalho, &QAction::triggered, this, [this, tecla] { TeclaJanela(tecla); });
        addAction(atalho);
    }

    // Esc stops a running statement wherever the focus is in the window.
    QAction* parar = Botao(QStringLiteral("Parar"));
    parar->setShortcut(QKeySequence(Qt::Key_Escape));
    parar->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    parar->setEnabled(false);
    addAction(parar);
    connect(parar, &QAction::triggered, this, [this] { PararExecucao(); });

    LigarExecucao();
    LigarAcoes();
    LigarFiltro();
    LigarArquivos();
    for (const QString& chave : m_semAcao)
        Botao(chave)->setEnabled(false);

    // Loading: layout, grid buttons off, the execution toggles from the options.
    AjustarLayout();
    HabilitarBotoesGrid(false);
    Botao(QStringLiteral("PassoPasso"))->setChecked(m_ambiente.Opcoes().PassoPasso);
    Botao(QStringLiteral("CheckBeforeSql"))->setChecked(m_ambiente.Opcoes().CheckBeforeSql);
    Botao(QStringLiteral("IntellisenseLista"))->setChecked(m_ambiente.Opcoes().IntellisenseLista);
    connect(Botao(QStringLiteral("IntellisenseLista")),
            &QAction::toggled,
            txtSql,
            &uctEditorSql::DefinirIntellisenseLista);
    txtSql->DefinirIntellisenseLista(m_ambiente.Opcoes().IntellisenseLista);
}

// The worker is stopped and waited for before the connection it uses goes.
frmTabela::~frmTabela()
{
    delete m_execucao;
    m_modelo->DefinirRecordset(nullptr); // a reader of rows on demand ends before the connection
}

QAction* frmTabela::NovoBotao(QToolBar* barra, const QString& chave, const QString& dica, bool alternar)
{
    QAction* a = barra->addAction(chave);
    a->setObjectName(chave);
    a->setToolTip(dica);
    a->setCheckable(alternar);
    m_botoes.insert(chave, a);
    return a;
}

void frmTabela::CriarBarras()
{
    auto barra = [this](const QString& nome) {
        auto* b = new QToolBar;
        b->setObjectName(nome);
        b->setIconSize(QSize(16, 16));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        return b;
    };
    tlbOpcoes = barra(QStringLiteral("tlbOpcoes"));
    tlbConsulta = barra(QStringLiteral("tlbConsulta"));
    tlbSql = barra(QStringLiteral("tlbSql"));

    const DefinicaoBotao opcoes[] = {
        {"New", "[CTRL]+[N] Nova Janela", false, QStyle::SP_FileIcon},
        {"Open", "Abrir arquivo com instrução SQL", false, QStyle::SP_DialogOpenButton},
        {"Save", "Gravar arquivo com instrução SQL", false, QStyle::SP_DialogSaveButton},
        {"Excel", "Exportar para formato Excel", false, QStyle::SP_FileDialogDetailedView},
        {"TXT", "Exportar para arquivo texto", false, QStyle::SP_FileDialogContentsView},
        {"Sql", "[F7] - Exibe/Oculta Area de Digitação", true, QStyle::SP_TitleBarShadeButton},
        {"Grid", "[F8] - Exibe/Oculta - Grid de Resultados", true, QStyle::SP_TitleBarUnshadeButton},
    };
    const DefinicaoBotao consulta[] = {
        {"Incluir", "Incluir Novo Registro", false, QStyle::SP_FileDialogNewFolder},
        {"Salvar", "Salvar Registros no Banco de Dados", false, QStyle::SP_DialogApplyButton},
        {"FiltroEliminar", "Eliminar Filtro Ativo", false, QStyle::SP_DialogResetButton},
        {"Parar", "Parar a execução (Esc)", false, QStyle::SP_MediaStop},
    };
    const DefinicaoBotao sql[] = {
        {"PassoPasso", "Utilizar Método Passo a Passo", true, QStyle::SP_MediaSeekForward},
        {"Play", "[F5] Executar a Instrução SQL", false, QStyle::SP_MediaPlay},
        {"Dimensionar", "Dimensionar colunas", false, QStyle::SP_ToolBarHorizontalExtensionButton},
        {"CheckBeforeSql", "Verificar Instrução SQL Antes de Executar", true, QStyle::SP_DialogYesButton},
        {"IntellisenseLista", "Usar Intellisense de Lista de Campos e Tabelas", true, QStyle::SP_FileDialogListView},
        {"SelectAll", "[Ctrl+A] Selecionar Toda a Instrução SQL", false, QStyle::SP_ArrowUp},
        {"Copy", "[Ctrl+C] Copiar para a Área de Transferência", false, QStyle::SP_ArrowRight},
        {"Paste", "[Ctrl+V] Colar da Área de Transferência", false, QStyle::SP_ArrowLeft},
        {"Find", "[Ctrl-F] Pesquisar", false, QStyle::SP_FileDialogContentsView},
        {"FindNext", "[F3] Continuar Pesquisando", false, QStyle::SP_ArrowForward},
        {"Replace", "[Ctrl-H] Substituir", false, QStyle::SP_BrowserReload},
    };
    auto preencher = [this](QToolBar* b, const auto& lista) {
        for (const DefinicaoBotao& d : lista) {
            QAction* a = NovoBotao(b, QString::fromLatin1(d.chave), QString::fromUtf8(d.dica), d.alternar);
            a->setIcon(IconeBotao(a->objectName(), style()->standardIcon(d.icone)));
        }
    };
    preencher(tlbOpcoes, opcoes);
    preencher(tlbConsulta, consulta);
    preencher(tlbSql, sql);

    fraConnection = new QFrame;
    fraConnection->setObjectName(QStringLiteral("fraConnection"));
    uctConnectionSel1 = new uctConnectionSel(m_ambiente.Prompt(), fraConnection);
    uctConnectionSel1->setObjectName(QStringLiteral("uctConnectionSel1"));
    auto* lf = new QHBoxLayout(fraConnection);
    lf->setContentsMargins(2, 0, 2, 0);
    lf->addWidget(uctConnectionSel1);

    // The band container: options and connection on the first row, grid and SQL bars below.
    tlbCoolBar = new QWidget;
    tlbCoolBar->setObjectName(QStringLiteral("tlbCoolBar"));
    auto* linha1 = new QHBoxLayout;
    linha1->addWidget(tlbOpcoes);
    linha1->addWidget(fraConnection, 1);
    auto* linha2 = new QHBoxLayout;
    linha2->addWidget(tlbConsulta);
    linha2->addWidget(tlbSql);
    linha2->addStretch(1);
    auto* lc = new QVBoxLayout(tlbCoolBar);
    lc->setContentsMargins(0, 0, 0, 0);
    lc->setSpacing(0);
    lc->addLayout(linha1);
    lc->addLayout(linha2);
}

void frmTabela::CarregarForm(const QString& strTempConnectionString,
                             const QString& strSql,
                             const QString& strTempTabela,
                             bool blnTempExecutarAoCarregar,
                             const QString& strDataSourceName,
                             const QString& strDataBaseName,
                             const QString& strNodeText)
{
    QString sql = strSql;
    CarregarForm(strTempConnectionString,
                 sql,
                 strTempTabela,
                 blnTempExecutarAoCarregar,
                 strDataSourceName,
                 strDataBaseName,
                 strNodeText);
}

void frmTabela::CarregarForm(const PedidoConsulta& p)
{
    m_nomeSelect = p.nomeSelect;
    CarregarForm(p.connStr, p.sql, p.tabela, p.executar, p.fonte, p.banco, p.textoNo);
    m_nomeSelect.clear();
}

void frmTabela::CarregarForm(const QString& strTempConnectionString,
                             QString& strSql,
                             const QString& strTempTabela,
                             bool blnTempExecutarAoCarregar,
                             const QString& strDataSourceName,
                             const QString& strDataBaseName,
                             const QString& strNodeText)
{
    m_sqlTabela.clear();
    if (strTempTabela.left(11) == TituloEditor) {
        setWindowTitle(strTempTabela);
        m_tabela.clear();
    } else {
        m_tabela = strTempTabela;
        setWindowTitle(TituloEditor + QStringLiteral("SELECT FROM ") + m_tabela);
    }
    m_executarAoCarregar = blnTempExecutarAoCarregar;
    m_connectionString = strTempConnectionString;
    if (!strSql.isEmpty() || m_tabela.isEmpty()) {
        Botao(QStringLiteral("Grid"))->setChecked(false);
        Botao(QStringLiteral("Sql"))->setChecked(true);
    } else {
        strSql = QStringLiteral("SELECT * \r\nFROM ")
                 + (m_nomeSelect.isEmpty() ? execucao::NomeTabelaSelect(m_connectionString, m_tabela) : m_nomeSelect);
        m_sqlTabela = strSql;
        Botao(QStringLiteral("Grid"))->setChecked(true);
        Botao(QStringLiteral("Sql"))->setChecked(true);
    }
    txtSql->setText(strSql);
    LigarEditorAConexao();
    uctConnectionSel1->DefinirLabel(strDataSourceName, strDataBaseName, strNodeText);
    m_rotuloConexao = {strDataSourceName, strDataBaseName, strNodeText};
    uctConnectionSel1->DefinirConnectionString(m_connectionString);

    if (!parentWidget() && m_ambiente.hospedarJanela)
        m_ambiente.hospedarJanela(this);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->show();
    show();
}

// Top left of the main window's client area (a cascade step below the windows already open), 0.7
// of the main window's height and 0.99 of the area's width, within the area; a window of its own
// gets a comfortable size instead.
void frmTabela::Posicionar()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea()) {
        const QSize tamanho(int(std::lround(sub->mdiArea()->width() * 0.99)),
                            int(std::lround(sub->window()->height() * 0.7)));
        sub->setGeometry(areajanelas::GeometriaInicial(sub, tamanho));
    } else if (isWindow()) {
        resize(900, 600);
    }
    for (int i = 1; i < 3; ++i)
        m_paineis[i]->setMinimumWidth(int(std::lround(width() * 0.3)));
}

void frmTabela::showEvent(QShowEvent* e)
{
    frmFilhoConexao::showEvent(e);
    if (m_posicionado)
        return;
    m_posicionado = true;
    Posicionar();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        connect(sub, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates antes, Qt::WindowStates agora) {
            if ((agora & Qt::WindowActive) && !(antes & Qt::WindowActive)) {
                FocarPainel();
                QTimer::singleShot(0, this, &frmTabela::MostrarPendentes);
            }
        });
    // The first activation comes once the window has its size.
    QMetaObject::invokeMethod(this, &frmTabela::PrimeiraAtivacao, Qt::QueuedConnection);
}

void frmTabela::PrimeiraAtivacao()
{
    if (m_ativado)
        return;
    m_ativado = true;
    AjustarLayout();
    m_topoDivisor = 0;
    SqlClick();
    if (m_executarAoCarregar && m_ambiente.Opcoes().AbrirExecutando) {
        Botao(QStringLiteral("Sql"))->setChecked(false);
        SqlClick();
        ExecutarSql();
    }
    FocarPainel();
}

void frmTabela::changeEvent(QEvent* e)
{
    frmFilhoConexao::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && m_ativado) {
        if (isWindow())
            FocarPainel();
        QTimer::singleShot(0, this, &frmTabela::MostrarPendentes);
    }
}

void frmTabela::FocarPainel()
{
    if (txtSql->isVisible())
        txtSql->setFocus();
    else if (dgrConsulta->isVisible())
        dgrConsulta->setFocus();
}

void frmTabela::resizeEvent(QResizeEvent* e)
{
    frmFilhoConexao::resizeEvent(e);
    if (!isMinimized() && m_ativado)
        AjustarLayout();
}

int frmTabela::AlturaTwips() const { return height() * TwipsPorPixel; }

void frmTabela::AjustarLayout()
{
    if (AlturaTwips() <= 4300 && width() * TwipsPorPixel <= 2750)
        return;
    const bool sql = Botao(QStringLiteral("Sql"))->isChecked();
    const bool grid = Botao(QStringLiteral("Grid"))->isChecked();
    dgrConsulta->setVisible(grid);
    txtSql->setVisible(sql);
    picSplit->setVisible(sql || grid);
    picSplit->refresh();
    if (!(sql && grid))
        return;
    const int h = AlturaTwips();
    if (m_topoDivisor != 0 && m_topoDivisor > h - FolgaAjusteDivisor)
        m_topoDivisor = h - FolgaAjusteDivisor;
    if (m_topoDivisor == 0)
        m_topoDivisor = int(std::lround(h * 0.6));
    MoverDivisor(m_topoDivisor);
}

// Places the bar with its top `twips` from the window's top, within its limits.
void frmTabela::MoverDivisor(int twips)
{
    AplicarDivisor(twips);
    DivisorMovido();
}

void frmTabela::AplicarDivisor(int twips)
{
    const bool antes = m_ajustando;
    m_ajustando = true;
    const int total = picSplit->height() - picSplit->handleWidth();
    const int pixels = (twips + TwipsPorPixel - 1) / TwipsPorPixel; // never above the asked top
    const int grade = std::clamp(pixels - picSplit->y(), 1, std::max(1, total - 1));
    picSplit->setSizes({grade, total - grade});
    m_ajustando = antes;
}

// The bar moved (by the user or by the layout): its top is remembered, kept at least 668 twips
// from the window's top and 1432 from its bottom.
void frmTabela::DivisorMovido()
{
    if (m_ajustando || !dgrConsulta->isVisible() || !txtSql->isVisible())
        return;
    const int topo = (picSplit->y() + picSplit->sizes().value(0)) * TwipsPorPixel;
    const int limitado = std::max(TopoMinimoDivisor, std::min(topo, AlturaTwips() - FolgaInferiorDivisor));
    m_topoDivisor = limitado;
    if (limitado != topo)
        AplicarDivisor(limitado);
}

void frmTabela::SqlClick()
{
    AjustarLayout();
    QAction* sql = Botao(QStringLiteral("Sql"));
    const bool pressionado = sql->isChecked();
    if (pressionado) {
        txtSql->setFocus();
        sql->setToolTip(QStringLiteral("[F7] - Ocultar Painel para Instruções SQL"));
    } else {
        sql->setToolTip(QStringLiteral("[F7] - Exibir Painel para Instruções SQL"));
    }
    for (QAction* a : tlbSql->actions())
        a->setEnabled(pressionado);
    Botao(QStringLiteral("Dimensionar"))->setEnabled(Botao(QStringLiteral("Grid"))->isChecked());
}

void frmTabela::GridClick()
{
    AjustarLayout();
    QAction* grid = Botao(QStringLiteral("Grid"));
    if (!grid->isChecked()) {
        if (txtSql->isVisible())
            txtSql->setFocus();
        grid->setToolTip(QStringLiteral("[F8] - Exibir Painel para Grid de Resultados"));
        HabilitarBotoesGrid(false);
    } else {
        grid->setToolTip(QStringLiteral("[F8] - Ocultar Painel para Grid de Resultados"));
        if (m_modelo->Editavel())
            HabilitarBotoesGrid(true);
    }
}

void frmTabela::HabilitarBotoesGrid(bool on)
{
    const bool grid = Botao(QStringLiteral("Grid"))->isChecked();
    const bool ligar = on && grid;
    for (const char* chave : {"Incluir", "Salvar", "Dimensionar"})
        Botao(QString::fromLatin1(chave))->setEnabled(ligar && BotaoLigado(QString::fromLatin1(chave)));
    // Rows read on demand take no new rows.
    if (m_modelo->Janela())
        Botao(QStringLiteral("Incluir"))->setEnabled(false);
    // A result that cannot be saved (a join, a computed column) can still be exported.
    const RecordsetPtr rs = Recordset();
    const bool exportavel = grid && rs && rs->State() == ado::adStateOpen;
    for (const char* chave : {"Excel", "TXT"})
        Botao(QString::fromLatin1(chave))->setEnabled(exportavel && BotaoLigado(QString::fromLatin1(chave)));
}

void frmTabela::LigarBotao(const QString& chave)
{
    m_semAcao.removeAll(chave);
    Botao(chave)->setEnabled(true);
}

void frmTabela::TeclaJanela(int tecla)
{
    switch (tecla) {
    case Qt::Key_F6:
        if (QApplication::focusWidget() == txtSql && dgrConsulta->isVisible())
            dgrConsulta->setFocus();
        else if (txtSql->isVisible())
            txtSql->setFocus();
        break;
    case Qt::Key_F7:
        Botao(QStringLiteral("Sql"))->toggle();
        SqlClick();
        break;
    case Qt::Key_F8:
        Botao(QStringLiteral("Grid"))->toggle();
        GridClick();
        break;
    }
}

// The editor's own keys. Their shortcut requests are claimed, so no menu of the main window takes
// them while the editor has the focus.
bool frmTabela::TeclaEditor(QKeyEvent* e)
{
    const int tecla = e->key();
    const bool ctrl
        = (e->modifiers() & Qt::ControlModifier) && !(e->modifiers() & (Qt::AltModifier | Qt::ShiftModifier));
    const bool teclaF = tecla == Qt::Key_F5 || tecla == Qt::Key_F6 || tecla == Qt::Key_F7 || tecla == Qt::Key_F8;
    const bool teclaCtrl
        = ctrl && (tecla == Qt::Key_N || tecla == Qt::Key_A || tecla == Qt::Key_H || tecla == Qt::Key_S);
    if (tecla == Qt::Key_Escape && Ocupada()) {
        if (e->type() == QEvent::KeyPress)
            PararExecucao();
        return e->type() != QEvent::KeyRelease;
    }
    if (!teclaF && !teclaCtrl)
        return false;
    if (e->type() == QEvent::ShortcutOverride) {
        e->accept();
        return true;
    }
    if (e->type() == QEvent::KeyRelease) {
        if (tecla == Qt::Key_F5 && !e->isAutoRepeat()) {
            ExecutarSql();
            txtSql->setFocus();
        }
        return teclaCtrl || tecla == Qt::Key_F5;
    }
    switch (tecla) {
    case Qt::Key_F5: return true;
    case Qt::Key_F6:
    case Qt::Key_F7:
    case Qt::Key_F8: TeclaJanela(tecla); return true;
    case Qt::Key_N: NovaJanela(); return true;
    case Qt::Key_A:
        Botao(QStringLiteral("SelectAll"))->trigger();
        if (!Botao(QStringLiteral("SelectAll"))->isEnabled())
            txtSql->selectAll();
        return true;
    case Qt::Key_H: Substituir(); return true;
    case Qt::Key_S: Botao(QStringLiteral("Save"))->trigger(); return true;
    }
    return false;
}

// Focus follows the mouse over the grid and the editor, when the option asks for it.
void frmTabela::SeguirMouse(QWidget* controle, const QPoint& pos)
{
    if (!m_ambiente.Opcoes().Focalizar)
        return;
    if (pos.x() == m_ultimoMouse.x() || pos.y() == m_ultimoMouse.y())
        return;
    m_ultimoMouse = pos;
    if (QApplication::activeWindow() && QApplication::focusWidget() != controle)
        controle->setFocus();
}

bool frmTabela::eventFilter(QObject* objeto, QEvent* e)
{
    try {
        const bool editor = objeto == txtSql || objeto == txtSql->viewport();
        switch (e->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (editor)
                return TeclaEditor(static_cast<QKeyEvent*>(e));
            if (objeto == dgrConsulta && e->type() == QEvent::KeyPress)
                return TeclaGrade(static_cast<QKeyEvent*>(e));
            // The grid's copy and paste keys are its own, not a menu's of the main window.
            if (objeto == dgrConsulta && e->type() == QEvent::ShortcutOverride
                && QApplication::focusWidget() == dgrConsulta
                && (static_cast<QKeyEvent*>(e)->matches(QKeySequence::Copy)
                    || static_cast<QKeyEvent*>(e)->matches(QKeySequence::Paste))) {
                e->accept();
                return true;
            }
            break;
        case QEvent::MouseMove: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (objeto == txtSql->viewport())
                SeguirMouse(txtSql, m->globalPosition().toPoint());
            else if (objeto == dgrConsulta->viewport())
                SeguirMouse(dgrConsulta, m->globalPosition().toPoint());
            break;
        }
        case QEvent::MouseButtonRelease:
            if (objeto == dgrConsulta->viewport() && static_cast<QMouseEvent*>(e)->button() == Qt::RightButton)
                MenuGrid(static_cast<QMouseEvent*>(e)->position().toPoint());
            break;
        default: break;
        }
    } catch (...) {
        // A key or mouse handler never lets an error out of the event loop.
    }
    return frmFilhoConexao::eventFilter(objeto, e);
}

QString frmTabela::TextoPainel(int painel) const
{
    return painel >= 1 && painel <= 3 ? m_paineis[painel - 1]->text() : QString();
}

void frmTabela::DefinirPainel(int painel, const QString& texto) { m_paineis[painel - 1]->setText(texto); }

void frmTabela::closeEvent(QCloseEvent* e)
{
    // The worker still holds the connection: it is stopped, and the window closes when it ends.
    if (Ocupada()) {
        m_fecharAoTerminar = true;
        PararExecucao();
        e->ignore();
        return;
    }
    if (!ConfirmarEdicoesPendentes([this] { FecharMoldura(); })) {
        e->ignore();
        return;
    }
    Fechar();
    frmFilhoConexao::closeEvent(e);
}

// The completion lists read the catalog through this window's own connection, opened on demand.
void frmTabela::LigarEditorAConexao()
{
    txtSql->DefinirConnectionString(m_connectionString);
    // Not while a statement runs: the connection is the worker's then.
    // Nor while rows are read on demand: the reader's worker uses it.
    txtSql->DefinirFonteDados(
        [this]() -> clsData* { return !Ocupada() && !m_modelo->Janela() && AbrirConexao() ? m_dados.get() : nullptr; });
}
