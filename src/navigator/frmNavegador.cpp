#include "frmNavegador.h"

#include "admin/frmAdminNavegador.h"
#include "gui/Icones.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsPrompt.h"
#include "platform/mdlCitacao.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlProgramas.h"
#include "query/frmTabela.h"
#include "schema/frmIndex.h"
#include "schema/mdlScript.h"
#include "shell/clsAmbiente.h"

#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
// Paints each node with the icon of its kind.
class DelegadoIcones : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* opcao, const QModelIndex& indice) const override
    {
        QStyledItemDelegate::initStyleOption(opcao, indice);
        const QIcon icone = IconeNo(indice.data(clsArvore::PapelImagem).toInt());
        if (!icone.isNull()) {
            opcao->icon = icone;
            opcao->features |= QStyleOptionViewItem::HasDecoration;
        }
    }
};
} // namespace

frmNavegador::frmNavegador(clsAmbiente& ambiente, QWidget* pai)
    : QWidget(pai), m_ambiente(ambiente), m_arvore(ambiente.Arvore())
{
    setObjectName(QStringLiteral("frmNavegador"));
    m_trv = new QTreeView(this);
    m_trv->setObjectName(QStringLiteral("trvNavegador"));
    m_trv->setModel(&m_arvore);
    m_trv->setItemDelegate(new DelegadoIcones(m_trv));
    m_trv->setHeaderHidden(true);
    m_trv->setUniformRowHeights(true);
    m_trv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_trv->setIconSize(QSize(16, 16));
    m_trv->viewport()->installEventFilter(this);
    m_trv->viewport()->setMouseTracking(true);
    m_trv->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_trv);

    connect(&m_arvore, &clsArvore::ExpansaoPedida, this, [this](clsNo* no, bool expandir) {
        m_trv->setExpanded(m_arvore.IndiceModelo(no), expandir);
    });
    connect(&m_arvore, &clsArvore::SelecaoPedida, this, [this](clsNo* no) {
        m_trv->setCurrentIndex(m_arvore.IndiceModelo(no));
    });
    connect(m_trv, &QTreeView::expanded, this, [this](const QModelIndex& i) {
        clsNo* no = clsArvore::NoDoIndice(i);
        m_arvore.MarcarExpandido(no, true);
        ExpandirNo(m_arvore, no);
        emit NoExpandido(no);
    });
    connect(m_trv, &QTreeView::collapsed, this, [this](const QModelIndex& i) {
        m_arvore.MarcarExpandido(clsArvore::NoDoIndice(i), false);
        CancelarCarga(m_arvore, clsArvore::NoDoIndice(i));
    });
    connect(m_trv, &QTreeView::clicked, this, &frmNavegador::AoClicar);
    connect(m_trv->selectionModel(), &QItemSelectionModel::currentChanged, this, &frmNavegador::AoMudarNoAtual);
    m_arvore.DefinirEditavel([](const clsNo* no) { return no->Image() == img::Tabela; });
    connect(&m_arvore, &clsArvore::RenomearPedido, this, &frmNavegador::AoRenomear);
    // The view's own expand-on-double-click would undo what the handling expands itself (a server
    // it connects); a double-click toggles only the nodes the handling left as they were.
    m_trv->setExpandsOnDoubleClick(false);
    connect(m_trv, &QTreeView::doubleClicked, this, [this](const QModelIndex& i) {
        const QPersistentModelIndex indice(i);
        const bool expandido = m_trv->isExpanded(i);
        m_arvore.Selecionar(clsArvore::NoDoIndice(i));
        ChamarDuploClique();
        if (indice.isValid() && m_trv->isExpanded(indice) == expandido && m_arvore.rowCount(indice) > 0)
            m_trv->setExpanded(indice, !expandido);
    });
    connect(&m_arvore, &clsArvore::SelecaoPedida, this, [this](clsNo* no) {
        m_trv->scrollTo(m_arvore.IndiceModelo(no));
    });
}

// The tree outlives the window: a name being edited is committed when the view loses focus while
// the window's widgets are torn down, and must not reach the half-destroyed window.
frmNavegador::~frmNavegador() { m_arvore.disconnect(this); }

void frmNavegador::AbrirConsulta(clsNo* no, const QString& sql, const QString& tabela, bool executar)
{
    AbrirPedido(MontarPedidoConsulta(no, sql, tabela, executar));
}

void frmNavegador::AbrirTabela(clsNo* no)
{
    const ObjetoBanco objeto = ObjetoDoNo(no);
    PedidoConsulta p = MontarPedidoConsulta(no, {}, NomeExibido(no), true);
    p.nomeSelect = citacao::NomeLegivel(citacao::MotorDaConexao(objeto.connStr), objeto);
    AbrirPedido(p);
}

void frmNavegador::AbrirPedido(const PedidoConsulta& p)
{
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    auto* janela = new frmTabela(m_ambiente);
    janela->DefinirTag(QString::number(p.indiceFonte));
    janela->CarregarForm(p);
}

void frmNavegador::AbrirEditorSql()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no || no->Tag().isEmpty()) {
        no = nullptr;
        for (const char* grupo : {"Access", "Outros", "Sql", "WebSrv"})
            if (const clsNo* g = m_arvore.No(QString::fromLatin1(grupo)))
                for (clsNo* filho : g->Filhos())
                    if (!no && !filho->Tag().isEmpty())
                        no = filho;
    }
    if (!no) {
        m_ambiente.Prompt().MsgBox(QStringLiteral("Mapeie uma conexão antes de abrir o editor de SQL."),
                                   vb::Information,
                                   globais::TituloAplicativo());
        return;
    }
    AbrirConsulta(no, {}, QStringLiteral("SqlEditor: "), false);
}

void frmNavegador::ChamarRenomear()
{
    clsNo* no = m_arvore.Selecionado();
    if (no && no->Image() == img::Tabela)
        m_trv->edit(m_arvore.IndiceModelo(no));
}

void frmNavegador::AoRenomear(clsNo* no, const QString& novoTexto)
{
    if (novoTexto == no->Text() || novoTexto.isEmpty())
        return;
    // The editor is still committing: the rename, and any message about it, wait until it has
    // closed, so no box is shown over an editor the view is about to destroy.
    const std::pair<int, QString> pedido{no->Index(), novoTexto};
    if (m_renomeacaoPendente == pedido)
        return;
    m_renomeacaoPendente = pedido;
    QMetaObject::invokeMethod(this, &frmNavegador::Renomear, Qt::QueuedConnection);
}

void frmNavegador::Renomear()
{
    const auto [indice, novoTexto] = std::exchange(m_renomeacaoPendente, {});
    clsNo* no = m_arvore.NoPorIndice(indice);
    if (!no || novoTexto == no->Text())
        return;
    QString erro;
    const ObjetoBanco tabela = ObjetoDoNo(no);
    const bool ok = RenomearTabela(m_ambiente, tabela.connStr, tabela.esquema, tabela.nome, novoTexto, &erro);
    // On failure the node shows its old name again.
    m_arvore.DefinirTexto(no, ok ? novoTexto : no->Text());
    if (ok)
        m_arvore.DefinirObjeto(no, tabela.esquema, novoTexto);
    else
        m_ambiente.Prompt().MsgBox(erro, vb::Critical, globais::TituloAplicativo());
}

bool frmNavegador::Editando() const { return m_trv->indexWidget(m_trv->currentIndex()) != nullptr; }

void frmNavegador::ChamarDuploClique()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no)
        return;
    // The tree stays disabled while the node is handled, so a second double-click cannot start.
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    m_trv->setEnabled(false);
    switch (no->Image()) {
    case img::SqlServer: ConectarServidor(m_arvore, no); break;
    case img::Access:
    case img::Banco:
    case img::WebService:
    case img::Customizada:
        emit OcultarObjetosSistemaPedido();
        // Connected (a moment later: the connection opens on a worker thread), the source opens.
        ConectarBancoDados(m_arvore, no, [this, chave = no->Key()](bool conectado) {
            if (clsNo* fonte = m_arvore.No(chave); fonte && conectado)
                m_arvore.Expandir(fonte);
        });
        break;
    case img::Tabela:
    case img::TabelaSistema:
    case img::View:
    case img::ViewSistema: AbrirTabela(no); break;
    case img::SqlEditor: AbrirConsulta(no, {}, QStringLiteral("SqlEditor: "), false); break;
    case img::Funcao:
        if (no->Parent() && no->Parent()->Image() == img::Funcao)
            AbrirConsulta(no,
                          QStringLiteral("SELECT * \r\nFROM ")
                              + citacao::NomeLegivel(citacao::MotorDaConexao(no->Tag()), ObjetoDoNo(no))
                              + QStringLiteral("()"),
                          no->Text(),
                          false);
        break;
    case img::Procedure:
    case img::ProcedureSistema:
        AbrirScript(no,
                    script::ScriptProcedure(m_ambiente, no->Tag(), ObjetoDoNo(no), script::Alter),
                    QStringLiteral("SqlEditor: ALTER PROCEDURE ") + ObjetoDoNo(no).Exibicao());
        break;
    case img::Trigger:
        AbrirScript(no,
                    script::ScriptTrigger(m_ambiente, no->Tag(), ObjetoDoNo(no), script::Alter),
                    QStringLiteral("SqlEditor: ALTER TRIGGER ") + ObjetoDoNo(no).Exibicao());
        break;
    case img::ImportarExportar: ExecutarImportarExportar(m_ambiente.Prompt(), {}, {}, {}, programaImpExp); break;
    case img::Job:
    case img::JobStep:
    case img::JobSchedule: AbrirObjetoAgent(no); break;
    case img::Indice: EditarIndice(m_ambiente, no, false); break;
    case img::HomePage: emit AbrirWebBrowserPedido(4); break;
    case img::Downloads: emit AbrirWebBrowserPedido(5); break;
    case img::Forum: emit AbrirWebBrowserPedido(6); break;
    default: AbrirJanelaAdmin(m_ambiente, no); break;
    }
    m_trv->setEnabled(true);
}

void frmNavegador::InicializarNavegador()
{
    ::InicializarNavegador(m_arvore);
    clsNo* home = m_arvore.No(QStringLiteral("Home"));
    m_arvore.Selecionar(home);
    m_arvore.Expandir(home);
    emit NoClicado(home, m_ultimoBotao);
}

void frmNavegador::AoClicar(const QModelIndex& indice)
{
    if (clsNo* no = clsArvore::NoDoIndice(indice)) {
        m_arvore.Selecionar(no);
        emit NoClicado(no, m_ultimoBotao);
    }
}

void frmNavegador::AoMudarNoAtual(const QModelIndex& atual)
{
    // The tree's current node is the one every action uses, however it got there.
    clsNo* no = clsArvore::NoDoIndice(atual);
    if (!no || no == m_arvore.Selecionado())
        return;
    m_arvore.Selecionar(no);
    // A node reached by the keyboard gets the node-click handling; a mouse click runs it itself.
    if (!m_botaoPressionado)
        emit NoClicado(no, 1);
}

bool frmNavegador::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == m_trv->viewport() && evento->type() == QEvent::MouseMove) {
        // "Focalizar Objetos ao Mover o Mouse": the tree takes the keyboard while the program is active.
        if (m_ambiente.Opcoes().Focalizar && QApplication::activeWindow() && !m_trv->hasFocus())
            m_trv->setFocus();
    } else if (objeto == m_trv->viewport() && evento->type() == QEvent::MouseButtonRelease) {
        m_botaoPressionado = false;
    } else if (objeto == m_trv->viewport() && evento->type() == QEvent::MouseButtonPress) {
        m_botaoPressionado = true;
        auto* e = static_cast<QMouseEvent*>(evento);
        m_ultimoBotao = e->button() == Qt::RightButton ? 2 : 1;
        const QModelIndex indice = m_trv->indexAt(e->position().toPoint());
        if (indice.isValid() && m_ultimoBotao == 2) {
            // The view reports clicks of the left button only; a right click selects the node and
            // runs the same handling, which pops up the node's menu.
            m_trv->setCurrentIndex(indice);
            AoClicar(indice);
        }
    } else if (objeto == m_trv && evento->type() == QEvent::KeyPress && !Editando()) {
        // Keys the label editor leaves unhandled reach the tree too; they belong to the edit.
        m_botaoPressionado = false;
        auto* tecla = static_cast<QKeyEvent*>(evento);
        switch (tecla->key()) {
        case Qt::Key_F4:
            if (tecla->modifiers() != Qt::NoModifier)
                break;
            emit AlternarNavegador();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: ChamarDuploClique(); return true;
        case Qt::Key_F2: ChamarRenomear(); return true;
        case Qt::Key_F5:
            if (clsNo* no = m_arvore.Selecionado())
                AtualizarNode(m_arvore, no);
            return true;
        case Qt::Key_F10:
            if (tecla->modifiers() != Qt::ShiftModifier)
                break;
            [[fallthrough]];
        case Qt::Key_Menu:
            // The context-menu key (and Shift+F10) pops up the node's menu, as a right click does,
            // under the node rather than at the mouse.
            if (clsNo* no = m_arvore.Selecionado()) {
                m_ultimoBotao = 2;
                m_menuPeloTeclado = true;
                emit NoClicado(no, m_ultimoBotao);
                m_menuPeloTeclado = false;
                m_ultimoBotao = 1;
            }
            return true;
        default: break;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

QPoint frmNavegador::PosicaoMenu() const
{
    if (!m_menuPeloTeclado)
        return QCursor::pos();
    const QRect r = m_trv->visualRect(m_trv->currentIndex());
    return m_trv->viewport()->mapToGlobal(r.isValid() ? QPoint(r.left() + 16, r.bottom()) : QPoint(0, 0));
}
