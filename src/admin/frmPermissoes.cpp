#include "frmPermissoes.h"

#include "admin/clsPermissoes.h"
#include "connections/clsAmbienteDados.h"
#include "platform/mdlGlobais.h"

#include <QAbstractTableModel>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

using namespace permissoes;

namespace {
const QString Titulo = QStringLiteral("Permissões");
constexpr int PrimeiraPermissao = 3; // columns: schema, object, kind, then one per permission

QString Tipo(const Objeto& o)
{
    return o.tipo == TipoObjeto::FuncaoTabela ? QStringLiteral("Função (tabela)") : NomeTipo(o.tipo);
}
} // namespace

// The objects (rows) against the permissions (columns), over the window's state read and state
// edited.
class frmPermissoes::Modelo : public QAbstractTableModel {
public:
    Modelo(const Quadro& antes, Quadro& depois, QObject* pai)
        : QAbstractTableModel(pai), m_antes(antes), m_depois(depois)
    {}
    void Recarregar()
    {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex& pai) const override { return pai.isValid() ? 0 : int(m_depois.objetos.size()); }
    int columnCount(const QModelIndex& pai) const override
    {
        return pai.isValid() ? 0 : PrimeiraPermissao + QtdePermissoes;
    }
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override
    {
        if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole)
            return QAbstractTableModel::headerData(secao, orientacao, papel);
        switch (secao) {
        case 0: return QStringLiteral("Esquema");
        case 1: return QStringLiteral("Objeto");
        case 2: return QStringLiteral("Tipo");
        default: return NomePermissao(secao - PrimeiraPermissao);
        }
    }
    bool Editavel(const QModelIndex& i) const
    {
        return i.isValid() && i.column() >= PrimeiraPermissao
               && Aplicavel(m_depois.dialeto, m_depois.objetos[i.row()].tipo, i.column() - PrimeiraPermissao);
    }
    Qt::ItemFlags flags(const QModelIndex& i) const override
    {
        if (i.column() < PrimeiraPermissao || Editavel(i))
            return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        return Qt::NoItemFlags;
    }
    QVariant data(const QModelIndex& i, int papel) const override
    {
        if (!i.isValid())
            return {};
        const Objeto& o = m_depois.objetos[i.row()];
        if (i.column() < PrimeiraPermissao) {
            if (papel != Qt::DisplayRole && papel != Qt::ToolTipRole)
                return {};
            return i.column() == 0 ? o.esquema
                   : i.column() == 1
                       ? (o.argumentos.isEmpty() && o.tipo != TipoObjeto::Procedure && o.tipo != TipoObjeto::Funcao
                              ? o.nome
                              : o.nome + u'(' + o.argumentos + u')')
                       : Tipo(o);
        }
        if (!Editavel(i))
            return papel == Qt::BackgroundRole ? QVariant(QColor(0xe8, 0xe8, 0xe8)) : QVariant();
        const int p = i.column() - PrimeiraPermissao;
        const permissoes::Celula& c = o.celulas[p];
        const bool alterada = c.estado != m_antes.objetos[i.row()].celulas[p].estado;
        switch (papel) {
        case Qt::DisplayRole:
            if (c.estado == Estado::Nenhum && !c.papeis.isEmpty())
                return QStringLiteral("(papel)");
            return TextoEstado(c.estado);
        case Qt::ToolTipRole:
            return c.papeis.isEmpty()
                       ? QVariant()
                       : QVariant(QStringLiteral("Concedida pelos papéis: ") + c.papeis.join(QStringLiteral(", ")));
        case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
        case Qt::ForegroundRole:
            return c.estado == Estado::Concedido ? QColor(0, 110, 0)
                   : c.estado == Estado::Negado  ? QColor(170, 0, 0)
                                                 : QColor(120, 120, 120);
        case Qt::BackgroundRole: return alterada ? QVariant(QColor(255, 243, 176)) : QVariant();
        case Qt::FontRole:
            if (alterada) {
                QFont f;
                f.setBold(true);
                return f;
            }
            return {};
        default: return {};
        }
    }
    void Definir(const QModelIndex& i, Estado estado)
    {
        m_depois.objetos[i.row()].celulas[i.column() - PrimeiraPermissao].estado = estado;
        emit dataChanged(i, i);
    }
    Estado EstadoEm(const QModelIndex& i) const
    {
        return m_depois.objetos[i.row()].celulas[i.column() - PrimeiraPermissao].estado;
    }

private:
    const Quadro& m_antes;
    Quadro& m_depois;
};

frmPermissoes::frmPermissoes(clsAmbienteDados& ambiente, QWidget* pai) : QWidget(pai), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("frmPermissoes"));
    setWindowTitle(Titulo);
    lblUsuario = new QLabel(this);
    lblUsuario->setObjectName(QStringLiteral("lblUsuario"));
    lblUsuario->setWordWrap(true);

    // Created in the order Tab visits them: the tabs, the page shown, the buttons.
    tabPermissoes = new QTabWidget(this);
    tabPermissoes->setObjectName(QStringLiteral("tabPermissoes"));
    auto* paginaObjetos = new QWidget;
    auto* linhaFiltro = new QHBoxLayout;
    txtFiltro = new QLineEdit(paginaObjetos);
    txtFiltro->setObjectName(QStringLiteral("txtFiltro"));
    txtFiltro->setClearButtonEnabled(true);
    txtFiltro->setPlaceholderText(QStringLiteral("parte do nome do objeto"));
    auto* rotuloFiltro = new QLabel(QStringLiteral("&Filtrar:"), paginaObjetos);
    rotuloFiltro->setBuddy(txtFiltro);
    linhaFiltro->addWidget(rotuloFiltro);
    linhaFiltro->addWidget(txtFiltro);
    m_modelo = new Modelo(m_antes, m_depois, this);
    m_filtro = new QSortFilterProxyModel(this);
    m_filtro->setSourceModel(m_modelo);
    m_filtro->setFilterKeyColumn(1);
    m_filtro->setFilterCaseSensitivity(Qt::CaseInsensitive);
    dgrPermissoes = new QTableView(paginaObjetos);
    dgrPermissoes->setObjectName(QStringLiteral("dgrPermissoes"));
    dgrPermissoes->setModel(m_filtro);
    dgrPermissoes->setTabKeyNavigation(false); // Tab leaves the grid, arrows move in it
    dgrPermissoes->setSelectionMode(QAbstractItemView::ExtendedSelection);
    dgrPermissoes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dgrPermissoes->verticalHeader()->hide();
    dgrPermissoes->horizontalHeader()->setHighlightSections(false);
    dgrPermissoes->installEventFilter(this);
    auto* layoutObjetos = new QVBoxLayout(paginaObjetos);
    layoutObjetos->addLayout(linhaFiltro);
    layoutObjetos->addWidget(dgrPermissoes);
    auto* legenda = new QLabel(QStringLiteral("Espaço ou duplo clique troca o estado das células selecionadas. "
                                              "\"(papel)\": concedida por um papel do usuário."),
                               paginaObjetos);
    legenda->setWordWrap(true);
    layoutObjetos->addWidget(legenda);
    tabPermissoes->addTab(paginaObjetos, QStringLiteral("&Objetos"));

    auto* paginaPapeis = new QWidget;
    lstPapeis = new QListWidget(paginaPapeis);
    lstPapeis->setObjectName(QStringLiteral("lstPapeis"));
    auto* layoutPapeis = new QVBoxLayout(paginaPapeis);
    layoutPapeis->addWidget(lstPapeis);
    tabPermissoes->addTab(paginaPapeis, QStringLiteral("&Papéis"));

    lblAlteracoes = new QLabel(this);
    lblAlteracoes->setObjectName(QStringLiteral("lblAlteracoes"));
    prgTrabalho = new QProgressBar(this);
    prgTrabalho->setRange(0, 0);
    prgTrabalho->setMaximumWidth(120);
    const auto botao = [this](const char* nome, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nome));
        return b;
    };
    btnMostrarScript = botao("btnMostrarScript", QStringLiteral("Mostrar &Script"));
    btnAplicar = botao("btnAplicar", QStringLiteral("&Aplicar"));
    btnDesfazer = botao("btnDesfazer", QStringLiteral("&Desfazer"));
    btnAtualizar = botao("btnAtualizar", QStringLiteral("A&tualizar"));
    btnFechar = botao("btnFechar", QStringLiteral("Fe&char"));
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(lblAlteracoes);
    botoes->addWidget(prgTrabalho);
    botoes->addStretch();
    for (QPushButton* b : {btnMostrarScript, btnAplicar, btnDesfazer, btnAtualizar, btnFechar})
        botoes->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblUsuario);
    layout->addWidget(tabPermissoes);
    layout->addLayout(botoes);
    resize(820, 520);

    // A tab chosen (Alt+O, Alt+P) puts the cursor in its list.
    connect(tabPermissoes, &QTabWidget::currentChanged, this, [this](int aba) {
        (aba == 0 ? static_cast<QWidget*>(dgrPermissoes) : lstPapeis)->setFocus();
    });
    connect(txtFiltro, &QLineEdit::textChanged, m_filtro, &QSortFilterProxyModel::setFilterFixedString);
    connect(dgrPermissoes, &QTableView::doubleClicked, this, &frmPermissoes::AlternarSelecao);
    connect(lstPapeis, &QListWidget::itemChanged, this, &frmPermissoes::PapelAlterado);
    connect(btnAplicar, &QPushButton::clicked, this, &frmPermissoes::Aplicar);
    connect(btnMostrarScript, &QPushButton::clicked, this, &frmPermissoes::MostrarScript);
    connect(btnDesfazer, &QPushButton::clicked, this, &frmPermissoes::Desfazer);
    connect(btnAtualizar, &QPushButton::clicked, this, &frmPermissoes::Atualizar);
    connect(btnFechar, &QPushButton::clicked, this, &QWidget::close);
    AtualizarEstado();
}

frmPermissoes::~frmPermissoes()
{
    // The worker uses the context this window was given: it ends before the window does.
    if (m_trabalho)
        m_trabalho->wait();
}

void frmPermissoes::CarregarForm(const QString& connStr, const QString& usuario)
{
    m_connStr = connStr;
    m_depois.usuario = usuario;
    setWindowTitle(Titulo + QStringLiteral(" - ") + usuario);
    lblUsuario->setText(QStringLiteral("Usuário: ") + usuario + QStringLiteral("\nLendo as permissões..."));
    show();
    Atualizar();
}

QStringList frmPermissoes::Instrucoes() const { return permissoes::Instrucoes(m_antes, m_depois); }

void frmPermissoes::Rodar(std::function<Resultado(clsPermissoes&)> trabalho)
{
    if (m_trabalho)
        return;
    auto permissoes = m_permissoes;
    clsAmbienteDados* ambiente = &m_ambiente;
    const QString connStr = m_connStr;
    m_trabalho = QThread::create([this, permissoes, ambiente, connStr, trabalho]() mutable {
        Resultado r;
        if (!permissoes) {
            std::unique_ptr<clsPermissoes> aberto = clsPermissoes::Abrir(*ambiente, connStr, r.erro);
            permissoes = std::move(aberto);
        }
        if (permissoes)
            r = trabalho(*permissoes);
        QMetaObject::invokeMethod(this, [this, r, permissoes] {
            m_permissoes = permissoes;
            Concluir(r);
        });
    });
    connect(m_trabalho, &QThread::finished, m_trabalho, &QObject::deleteLater);
    m_trabalho->start();
    AtualizarEstado();
}

void frmPermissoes::Concluir(const Resultado& r)
{
    m_trabalho->wait();
    m_trabalho = nullptr;
    AtualizarEstado(); // the controls back before the cursor goes to them
    if (r.ok) {
        m_antes = r.quadro;
        m_depois = r.quadro;
        MostrarQuadro();
    }
    // The cursor back in the list of the tab shown (the work took it away).
    if (!txtFiltro->hasFocus())
        (tabPermissoes->currentIndex() == 0 ? static_cast<QWidget*>(dgrPermissoes) : lstPapeis)->setFocus();
    if (!r.ok) {
        if (m_antes.objetos.isEmpty())
            lblUsuario->setText(QStringLiteral("Usuário: ") + m_depois.usuario);
        m_ambiente.Prompt().MsgBox(r.erro, vb::Critical, globais::TituloAplicativo());
    }
    AtualizarEstado();
    emit Carregado(r.ok);
}

void frmPermissoes::Atualizar()
{
    if (QtdeAlteracoes(m_antes, m_depois) > 0
        && m_ambiente.Prompt().MsgBox(
               QStringLiteral("As alterações ainda não aplicadas serão perdidas. Deseja continuar?"),
               vb::YesNo | vb::Question | vb::DefaultButton2,
               globais::TituloAplicativo())
               != vb::Yes)
        return;
    const QString usuario = m_depois.usuario;
    Rodar([usuario](clsPermissoes& p) {
        Resultado r;
        r.ok = p.Ler(usuario, r.quadro, r.erro);
        return r;
    });
}

void frmPermissoes::Aplicar()
{
    const QStringList instrucoes = Instrucoes();
    if (instrucoes.isEmpty() || m_trabalho)
        return;
    const QString usuario = m_depois.usuario;
    Rodar([instrucoes, usuario](clsPermissoes& p) {
        Resultado r;
        if (!p.Aplicar(instrucoes, r.erro)) {
            r.erro = QStringLiteral("Nenhuma alteração foi feita.\n") + r.erro;
            return r;
        }
        // What the catalog holds now, not what was asked.
        r.ok = p.Ler(usuario, r.quadro, r.erro);
        return r;
    });
}

void frmPermissoes::MostrarScript()
{
    QDialog janela(this);
    janela.setObjectName(QStringLiteral("frmScriptPermissoes"));
    janela.setWindowTitle(QStringLiteral("Script das Permissões"));
    auto* texto = new QPlainTextEdit(&janela);
    texto->setObjectName(QStringLiteral("txtScript"));
    texto->setReadOnly(true);
    texto->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QString script = Script(m_depois.dialeto, Instrucoes());
    texto->setPlainText(script.isEmpty() ? QStringLiteral("-- Nenhuma alteração.") : script);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Close, &janela);
    connect(botoes, &QDialogButtonBox::rejected, &janela, &QDialog::reject);
    auto* layout = new QVBoxLayout(&janela);
    layout->addWidget(texto);
    layout->addWidget(botoes);
    janela.resize(640, 360);
    m_ambiente.Prompt().ExibirModal(&janela);
}

void frmPermissoes::Desfazer()
{
    m_depois = m_antes;
    MostrarQuadro();
    AtualizarEstado();
}

void frmPermissoes::MostrarQuadro()
{
    QString texto = QStringLiteral("Usuário: ") + m_depois.usuario;
    if (m_permissoes)
        texto += QStringLiteral("    Banco de dados: ") + m_permissoes->Banco();
    if (m_depois.superusuario)
        texto += QStringLiteral("\nO usuário é superusuário: o servidor lhe permite tudo, qualquer que seja a "
                                "permissão marcada.");
    lblUsuario->setText(texto);
    const QModelIndex atual = dgrPermissoes->currentIndex();
    m_modelo->Recarregar();
    dgrPermissoes->resizeColumnsToContents();
    for (int c = PrimeiraPermissao; c < m_modelo->columnCount({}); ++c)
        dgrPermissoes->setColumnWidth(c, qMax(dgrPermissoes->columnWidth(c), 80));
    // The cursor stays where it was (after "Aplicar"), else goes to the first cell that can change.
    QModelIndex destino = atual.isValid() ? m_filtro->index(atual.row(), atual.column()) : QModelIndex();
    for (int linha = 0; !destino.isValid() && linha < m_filtro->rowCount(); ++linha)
        for (int c = PrimeiraPermissao; !destino.isValid() && c < m_filtro->columnCount(); ++c)
            if (m_modelo->Editavel(m_filtro->mapToSource(m_filtro->index(linha, c))))
                destino = m_filtro->index(linha, c);
    if (destino.isValid())
        dgrPermissoes->setCurrentIndex(destino);
    MostrarPapeis();
}

void frmPermissoes::MostrarPapeis()
{
    m_preenchendo = true;
    lstPapeis->clear();
    for (qsizetype i = 0; i < m_depois.papeis.size(); ++i) {
        const Papel& p = m_depois.papeis[i];
        QString texto = p.nome;
        if (p.efetivo && !m_antes.papeis[i].membro)
            texto += QStringLiteral("  (por meio de outro papel)");
        auto* item = new QListWidgetItem(texto, lstPapeis);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(p.membro ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, int(i));
        if (p.fixo)
            item->setToolTip(m_depois.dialeto == Dialeto::SqlServer ? QStringLiteral("Papel fixo do banco de dados")
                                                                    : QStringLiteral("Papel predefinido do servidor"));
        QFont f = item->font();
        f.setBold(p.membro != m_antes.papeis[i].membro);
        item->setFont(f);
    }
    m_preenchendo = false;
}

void frmPermissoes::PapelAlterado(QListWidgetItem* item)
{
    if (m_preenchendo)
        return;
    const int i = item->data(Qt::UserRole).toInt();
    m_depois.papeis[i].membro = item->checkState() == Qt::Checked;
    m_preenchendo = true;
    QFont f = item->font();
    f.setBold(m_depois.papeis[i].membro != m_antes.papeis[i].membro);
    item->setFont(f);
    m_preenchendo = false;
    AtualizarEstado();
}

void frmPermissoes::AlternarSelecao()
{
    if (m_trabalho)
        return;
    const QModelIndex atual = m_filtro->mapToSource(dgrPermissoes->currentIndex());
    if (!m_modelo->Editavel(atual))
        return;
    const Estado novo = ProximoEstado(m_depois.dialeto, m_modelo->EstadoEm(atual));
    QModelIndexList celulas = dgrPermissoes->selectionModel()->selectedIndexes();
    if (celulas.isEmpty())
        celulas << dgrPermissoes->currentIndex();
    for (const QModelIndex& i : celulas) {
        const QModelIndex origem = m_filtro->mapToSource(i);
        if (m_modelo->Editavel(origem))
            m_modelo->Definir(origem, novo);
    }
    AtualizarEstado();
}

void frmPermissoes::AtualizarEstado()
{
    const int n = QtdeAlteracoes(m_antes, m_depois);
    lblAlteracoes->setText(n == 0   ? QStringLiteral("Nenhuma alteração")
                           : n == 1 ? QStringLiteral("1 alteração")
                                    : QString::number(n) + QStringLiteral(" alterações"));
    const bool livre = !m_trabalho;
    prgTrabalho->setVisible(!livre);
    btnAplicar->setEnabled(livre && n > 0);
    btnDesfazer->setEnabled(livre && n > 0);
    btnMostrarScript->setEnabled(livre);
    btnAtualizar->setEnabled(livre && !m_connStr.isEmpty());
    tabPermissoes->setEnabled(livre);
}

bool frmPermissoes::eventFilter(QObject* objeto, QEvent* e)
{
    if (objeto == dgrPermissoes && e->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Space) {
        AlternarSelecao();
        return true;
    }
    return QWidget::eventFilter(objeto, e);
}

void frmPermissoes::closeEvent(QCloseEvent* e)
{
    if (QtdeAlteracoes(m_antes, m_depois) > 0
        && m_ambiente.Prompt().MsgBox(QStringLiteral("Há alterações ainda não aplicadas. Deseja fechar mesmo assim?"),
                                      vb::YesNo | vb::Question | vb::DefaultButton2,
                                      globais::TituloAplicativo())
               != vb::Yes) {
        e->ignore();
        return;
    }
    e->accept();
}
