#include "frmEstrutura.h"

#include "connections/clsData.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsPrompt.h"
#include "shell/clsAmbiente.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
QLineEdit* CaixaNumero(QWidget* pai, const char* nome)
{
    auto* t = new QLineEdit(pai);
    t->setObjectName(QString::fromLatin1(nome));
    // Letters are refused as they are typed; a sign and digits are kept.
    t->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^A-Za-z]*")), t));
    return t;
}
} // namespace

namespace {
// How a save reached the database, for the status bar.
QString MensagemCaminho(CaminhoEstrutura caminho)
{
    switch (caminho) {
    case CaminhoEstrutura::Nova: return QStringLiteral("Tabela criada");
    case CaminhoEstrutura::Alteracao: return QStringLiteral("Tabela alterada no lugar (ALTER TABLE)");
    case CaminhoEstrutura::Reconstrucao:
        return QStringLiteral("Tabela recriada: os dados foram copiados para a nova estrutura");
    case CaminhoEstrutura::SoChave: return QStringLiteral("Chave primária recriada");
    case CaminhoEstrutura::Declaracao:
        return QStringLiteral("Tabela alterada no lugar: só os tipos declarados mudaram");
    case CaminhoEstrutura::Nada: break;
    }
    return {};
}
} // namespace

// The toolbar icons live in a static library: their resource is registered by hand.
static void CarregarIconesEstrutura() { Q_INIT_RESOURCE(schema); }

frmEstrutura::frmEstrutura(clsAmbiente& ambiente, QWidget* pai) : frmFilhoConexao(pai), m_ambiente(ambiente)
{
    static const bool carregado = (CarregarIconesEstrutura(), true);
    Q_UNUSED(carregado);
    setObjectName(QStringLiteral("frmEstrutura"));
    setAttribute(Qt::WA_DeleteOnClose);
    MontarJanela();
}

frmEstrutura::~frmEstrutura() = default;

QToolBar* frmEstrutura::NovaBarra(const char* nome, std::initializer_list<std::pair<const char*, const char*>> botoes)
{
    auto* barra = new QToolBar(this);
    barra->setObjectName(QString::fromLatin1(nome));
    barra->setIconSize(QSize(16, 16));
    barra->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const auto& [chave, dica] : botoes) {
        QAction* a = barra->addAction(
            QIcon(QStringLiteral(":/schema/icones/") + QString::fromLatin1(chave) + QStringLiteral(".svg")),
            QString::fromLatin1(chave));
        a->setObjectName(QString::fromLatin1(chave));
        a->setToolTip(QString::fromUtf8(dica));
        // The buttons are reached with Tab like any other control of the window.
        barra->widgetForAction(a)->setFocusPolicy(Qt::TabFocus);
    }
    return barra;
}

// A button's key works wherever the focus is in the window (a text box keeps the keys it edits with).
void frmEstrutura::Atalho(QToolBar* barra, int botao, const QKeySequence& tecla)
{
    QAction* a = barra->actions().at(botao);
    a->setShortcut(tecla);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(a);
}

void frmEstrutura::MontarJanela()
{
    auto* coolBar = new QWidget(this);
    coolBar->setObjectName(QStringLiteral("tlbCoolBar"));
    auto* barras = new QHBoxLayout(coolBar);
    barras->setContentsMargins(0, 0, 0, 0);
    QToolBar* salvar = NovaBarra("tlbSalvar", {{"Salvar", "Salvar Estrutura da Tabela"}});
    QToolBar* estrutura
        = NovaBarra("tlbEstrutura", {{"Inc", "Incluir novo campo"}, {"Exc", "Excluir campo selecionado"}});
    QToolBar* mov
        = NovaBarra("tlbMov", {{"Up", "Movimentar campo para cima"}, {"Down", "Movimentar campo para baixo"}});
    for (QToolBar* b : {salvar, estrutura, mov})
        barras->addWidget(b);
    barras->addStretch();
    connect(salvar->actions().first(), &QAction::triggered, this, [this] { Salvar(); });
    connect(estrutura->actions().at(0), &QAction::triggered, this, &frmEstrutura::AddReg);
    connect(estrutura->actions().at(1), &QAction::triggered, this, &frmEstrutura::Excluir);
    connect(mov->actions().at(0), &QAction::triggered, this, [this] { Mover(-1); });
    connect(mov->actions().at(1), &QAction::triggered, this, [this] { Mover(1); });
    Atalho(salvar, 0, QKeySequence::Save);
    Atalho(estrutura, 0, QKeySequence(Qt::Key_Insert));
    Atalho(estrutura, 1, QKeySequence(Qt::CTRL | Qt::Key_Delete));
    Atalho(mov, 0, QKeySequence(Qt::ALT | Qt::Key_Up));
    Atalho(mov, 1, QKeySequence(Qt::ALT | Qt::Key_Down));

    dgrEstrutura = new QTableWidget(0, 1, this);
    dgrEstrutura->setObjectName(QStringLiteral("dgrEstrutura"));
    dgrEstrutura->setHorizontalHeaderLabels({QStringLiteral("Campo")});
    dgrEstrutura->horizontalHeader()->setStretchLastSection(true);
    dgrEstrutura->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dgrEstrutura->setSelectionBehavior(QAbstractItemView::SelectRows);
    dgrEstrutura->setSelectionMode(QAbstractItemView::SingleSelection);
    // The arrows walk the fields; Tab leaves the list for the field's properties.
    dgrEstrutura->setTabKeyNavigation(false);
    dgrEstrutura->installEventFilter(this);
    connect(dgrEstrutura, &QTableWidget::currentCellChanged, this, [this] { MostrarAtual(); });

    fraProp = new QGroupBox(this);
    fraProp->setObjectName(QStringLiteral("fraProp"));
    auto* g = new QGridLayout(fraProp);
    auto rotulo = [this](const char* nome, const QString& texto) {
        auto* l = new QLabel(texto, fraProp);
        l->setObjectName(QString::fromLatin1(nome));
        return l;
    };
    txtCampo = new QLineEdit(fraProp);
    txtCampo->setObjectName(QStringLiteral("txtCampo"));
    chkChave = new QCheckBox(QStringLiteral("Chave Primaria"), fraProp);
    chkChave->setObjectName(QStringLiteral("chkChave"));
    cmbTipoDado = new QComboBox(fraProp);
    cmbTipoDado->setObjectName(QStringLiteral("cmbTipoDado"));
    cmbTipoDado->addItems(TiposDadoEstrutura());
    txtTamanho = CaixaNumero(fraProp, "txtTamanho");
    txtPrecisao = CaixaNumero(fraProp, "txtPrecisao");
    txtEscala = CaixaNumero(fraProp, "txtEscala");
    txtPadrao = new QLineEdit(fraProp);
    txtPadrao->setObjectName(QStringLiteral("txtPadrao"));
    txtPadrao->setToolTip(
        QStringLiteral("Expressão do valor padrão, como o banco a escreve: 'texto', 0, CURRENT_DATE"));
    chkAllowNulls = new QCheckBox(QStringLiteral("Aceita Nulos"), fraProp);
    chkAllowNulls->setObjectName(QStringLiteral("chkAllowNulls"));
    fraIdentity = new QGroupBox(fraProp);
    fraIdentity->setObjectName(QStringLiteral("fraIdentity"));
    auto* gi = new QGridLayout(fraIdentity);
    chkIdentity = new QCheckBox(QStringLiteral("Auto Numeração"), fraIdentity);
    chkIdentity->setObjectName(QStringLiteral("chkIdentity"));
    txtIdentitySeed = CaixaNumero(fraIdentity, "txtIdentitySeed");
    txtIdentityIncrement = CaixaNumero(fraIdentity, "txtIdentityIncrement");
    gi->addWidget(chkIdentity, 0, 0, 1, 2);
    gi->addWidget(rotulo("lblIdentitySeed", QStringLiteral("Seed")), 1, 0);
    gi->addWidget(txtIdentitySeed, 1, 1);
    gi->addWidget(rotulo("lblIdentityIncrement", QStringLiteral("Increment")), 2, 0);
    gi->addWidget(txtIdentityIncrement, 2, 1);
    g->addWidget(rotulo("lblCampo", QStringLiteral("Campo")), 0, 0);
    g->addWidget(txtCampo, 1, 0);
    g->addWidget(chkChave, 2, 0);
    g->addWidget(rotulo("lblTipoDado", QStringLiteral("Tipo de Dado")), 3, 0);
    g->addWidget(cmbTipoDado, 4, 0);
    g->addWidget(rotulo("lblTamanho", QStringLiteral("Tamanho")), 5, 0);
    g->addWidget(txtTamanho, 6, 0);
    auto* numeros = new QGridLayout;
    numeros->addWidget(rotulo("lblPrecisao", QStringLiteral("Precisão")), 0, 0);
    numeros->addWidget(rotulo("lblEscala", QStringLiteral("Escala")), 0, 1);
    numeros->addWidget(txtPrecisao, 1, 0);
    numeros->addWidget(txtEscala, 1, 1);
    g->addLayout(numeros, 7, 0);
    g->addWidget(rotulo("lblPadrao", QStringLiteral("Valor Padrão")), 8, 0);
    g->addWidget(txtPadrao, 9, 0);
    g->addWidget(chkAllowNulls, 10, 0);
    g->addWidget(fraIdentity, 11, 0);
    g->setRowStretch(12, 1);

    auto editar = [this](auto aplicar) {
        return [this, aplicar](auto valor) {
            if (ColunaEstrutura* c = Atual(); c && !m_mostrando)
                aplicar(*c, valor);
        };
    };
    connect(txtCampo, &QLineEdit::textChanged, this, editar([this](ColunaEstrutura& c, const QString& t) {
                c.campo = t;
                if (auto* item = dgrEstrutura->item(dgrEstrutura->currentRow(), 0))
                    item->setText(t);
            }));
    connect(chkChave, &QCheckBox::clicked, this, editar([this](ColunaEstrutura& c, bool v) {
                c.chave = v;
                if (v) // a key column never takes nulls
                    chkAllowNulls->setChecked(false), c.allowNulls = false;
            }));
    connect(cmbTipoDado, &QComboBox::activated, this, [this](int i) {
        if (ColunaEstrutura* c = Atual(); c && !m_mostrando) {
            c->tipoDado = cmbTipoDado->itemText(i);
            AplicarTipo(c->tipoDado);
        }
    });
    auto numero = [](const QString& t) { return t.trimmed().toInt(); }; // not a number reads as 0
    connect(txtTamanho, &QLineEdit::textChanged, this, editar([numero](ColunaEstrutura& c, const QString& t) {
                c.tamanho = numero(t);
            }));
    connect(txtPrecisao, &QLineEdit::textChanged, this, editar([numero](ColunaEstrutura& c, const QString& t) {
                c.precisao = numero(t);
            }));
    connect(txtEscala, &QLineEdit::textChanged, this, editar([numero](ColunaEstrutura& c, const QString& t) {
                c.escala = numero(t);
            }));
    connect(txtPadrao, &QLineEdit::textChanged, this, editar([](ColunaEstrutura& c, const QString& t) {
                c.padrao = t.trimmed();
            }));
    connect(txtIdentitySeed, &QLineEdit::textChanged, this, editar([numero](ColunaEstrutura& c, const QString& t) {
                c.identitySeed = numero(t);
            }));
    connect(txtIdentityIncrement, &QLineEdit::textChanged, this, editar([numero](ColunaEstrutura& c, const QString& t) {
                c.identityIncrement = numero(t);
            }));
    connect(chkAllowNulls, &QCheckBox::clicked, this, editar([](ColunaEstrutura& c, bool v) { c.allowNulls = v; }));
    connect(chkIdentity, &QCheckBox::toggled, this, [this](bool v) {
        txtIdentitySeed->setEnabled(v && chkIdentity->isEnabled());
        txtIdentityIncrement->setEnabled(v && chkIdentity->isEnabled());
        if (ColunaEstrutura* c = Atual(); c && !m_mostrando)
            c->identity = v;
    });

    auto* corpo = new QHBoxLayout;
    corpo->addWidget(dgrEstrutura, 1);
    corpo->addWidget(fraProp);
    // Whether the last save altered the table in place or recreated it.
    stbEstrutura = new QStatusBar(this);
    stbEstrutura->setObjectName(QStringLiteral("stbEstrutura"));
    stbEstrutura->setSizeGripEnabled(false);
    auto* v = new QVBoxLayout(this);
    v->addWidget(coolBar);
    v->addLayout(corpo);
    v->addWidget(stbEstrutura);
    resize(560, 420);
}

bool frmEstrutura::CarregarForm(const QString& connStr, const ObjetoBanco& tabela, bool nova, const QString& chaveNo)
{
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    m_data = std::make_unique<clsData>(m_ambiente);
    if (!m_data->OpenConnection(connStr, true, true))
        return false;
    blnNova = nova;
    strTabela = nova ? QString() : tabela.nome;
    m_esquema = nova ? QString() : tabela.esquema;
    m_dialeto = m_data->ActiveConnection()->DialetoSql();
    cmbTipoDado->clear();
    cmbTipoDado->addItems(TiposDoMotor(m_dialeto));
    m_chaveNo = chaveNo;
    if (!nova)
        CarregarEstrutura(*m_data, Objeto(), m_colunas);
    DefinirTitulo();
    Listar(0);
    if (Visiveis().isEmpty())
        AddReg();
    m_salvas = m_colunas;
    if (!parentWidget() && m_ambiente.hospedarJanela)
        m_ambiente.hospedarJanela(this);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->show();
    show();
    return true;
}

void frmEstrutura::DefinirTitulo()
{
    setWindowTitle(QStringLiteral("Estrutura: ") + (blnNova ? QStringLiteral("< nova tabela >") : Objeto().Exibicao()));
}

QList<int> frmEstrutura::Visiveis() const
{
    QList<int> r;
    for (int i = 0; i < m_colunas.size(); ++i)
        if (m_colunas[i].Viva())
            r << i;
    std::stable_sort(r.begin(), r.end(), [this](int a, int b) { return m_colunas[a].ordem < m_colunas[b].ordem; });
    return r;
}

void frmEstrutura::Listar(int linhaAtual)
{
    const QList<int> vis = Visiveis();
    dgrEstrutura->setRowCount(int(vis.size()));
    for (int i = 0; i < vis.size(); ++i)
        dgrEstrutura->setItem(i, 0, new QTableWidgetItem(m_colunas[vis[i]].campo));
    if (!vis.isEmpty())
        dgrEstrutura->setCurrentCell(std::clamp(linhaAtual, 0, int(vis.size()) - 1), 0);
    MostrarAtual();
}

ColunaEstrutura* frmEstrutura::Atual()
{
    const QList<int> vis = Visiveis();
    const int linha = dgrEstrutura->currentRow();
    return linha >= 0 && linha < vis.size() ? &m_colunas[vis[linha]] : nullptr;
}

void frmEstrutura::MostrarAtual()
{
    ColunaEstrutura* c = Atual();
    fraProp->setEnabled(c != nullptr);
    if (!c)
        return;
    m_mostrando = true;
    txtCampo->setText(c->campo);
    chkChave->setChecked(c->chave);
    // The column's own type is offered even when the engine's list does not name it.
    if (cmbTipoDado->findText(c->tipoDado, Qt::MatchFixedString) < 0 && !c->tipoDado.isEmpty())
        cmbTipoDado->addItem(c->tipoDado);
    cmbTipoDado->setCurrentIndex(cmbTipoDado->findText(c->tipoDado, Qt::MatchFixedString));
    txtTamanho->setText(QString::number(c->tamanho));
    txtPrecisao->setText(QString::number(c->precisao));
    txtEscala->setText(QString::number(c->escala));
    txtPadrao->setText(c->padrao);
    chkAllowNulls->setChecked(c->allowNulls);
    chkIdentity->setChecked(c->identity);
    txtIdentitySeed->setText(QString::number(c->identitySeed));
    txtIdentityIncrement->setText(QString::number(c->identityIncrement));
    AplicarTipo(c->tipoDado);
    m_mostrando = false;
    txtCampo->selectAll();
}

// The size box is for the character types only; auto-numbering only for the others.
void frmEstrutura::AplicarTipo(const QString& tipo)
{
    const bool tamanho = TipoComTamanho(tipo);
    txtTamanho->setEnabled(tamanho);
    if (!tamanho)
        txtTamanho->setText(QStringLiteral("0"));
    const bool precisao = TipoComPrecisao(tipo);
    txtPrecisao->setEnabled(precisao);
    txtEscala->setEnabled(precisao);
    if (!precisao) {
        txtPrecisao->setText(QStringLiteral("0"));
        txtEscala->setText(QStringLiteral("0"));
    }
    chkIdentity->setEnabled(!tamanho);
    if (tamanho) {
        chkIdentity->setChecked(false);
        txtIdentitySeed->setText(QStringLiteral("0"));
        txtIdentityIncrement->setText(QStringLiteral("0"));
    }
    txtIdentitySeed->setEnabled(!tamanho && chkIdentity->isChecked());
    txtIdentityIncrement->setEnabled(!tamanho && chkIdentity->isChecked());
}

void frmEstrutura::AddReg()
{
    ColunaEstrutura c;
    c.campo = QStringLiteral("Novo");
    c.tipoDado = TipoNovaColuna(m_dialeto);
    c.tamanho = 50;
    c.allowNulls = true;
    c.ordem = int(Visiveis().size() + 1) * 10;
    // A new column has no originals: its Original* members read as null (0, false, empty).
    m_colunas << c;
    Listar(int(Visiveis().size()) - 1);
    if (txtCampo->isVisible()) {
        txtCampo->setFocus();
        txtCampo->selectAll();
    }
}

void frmEstrutura::Excluir()
{
    if (ColunaEstrutura* c = Atual()) {
        c->status = u'D';
        Listar(dgrEstrutura->currentRow());
    }
}

void frmEstrutura::Mover(int passo)
{
    const QList<int> vis = Visiveis();
    const int linha = dgrEstrutura->currentRow();
    const int outra = linha + passo;
    if (linha < 0 || outra < 0 || outra >= vis.size())
        return;
    std::swap(m_colunas[vis[linha]].ordem, m_colunas[vis[outra]].ordem);
    Listar(outra);
}

bool frmEstrutura::Salvar()
{
    if (!m_data)
        return false;
    if (strTabela.isEmpty())
        strTabela = m_ambiente.Prompt().PedirNome(QString());
    if (strTabela.isEmpty())
        return false;
    const CatalogoTabela catalogo = blnNova ? CatalogoTabela{} : LerCatalogoTabela(*m_data, Objeto());
    PlanoEstrutura plano;
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        plano = PlanejarEstrutura(*m_data->ActiveConnection(), Objeto(), blnNova, m_colunas, catalogo);
    }
    if (!ExecutarPlano(*m_data, m_ambiente.Prompt(), plano))
        return false;
    stbEstrutura->showMessage(MensagemCaminho(plano.caminho));
    if (blnNova && !m_chaveNo.isEmpty()) {
        if (clsNo* pasta = m_ambiente.Arvore().No(m_chaveNo)) {
            const QString texto = QString(strTabela).remove(u' ');
            // Created unqualified, the table is in the session's default schema, which the folder
            // knows from its last loading; the node acts on the name as created.
            if (clsNo* no = IncluirNode(m_ambiente.Arvore(),
                                        NovoNo{.texto = texto,
                                               .chave = pasta->Key() + texto,
                                               .chavePai = pasta->Key(),
                                               .imagem = img::Tabela,
                                               .tag = pasta->Tag()}))
                m_ambiente.Arvore().DefinirObjeto(no, pasta->Esquema(), strTabela);
        }
    }
    // What was saved becomes the loaded state, so the next save compares against it.
    blnNova = false;
    const int linha = dgrEstrutura->currentRow();
    CarregarEstrutura(*m_data, Objeto(), m_colunas);
    m_salvas = m_colunas;
    DefinirTitulo();
    Listar(linha);
    AtualizarDetalhesNo();
    m_ambiente.Prompt().MsgBox(QStringLiteral("Estrutura alterada com sucesso"), vb::Information);
    return true;
}

// The table's columns and indexes in the tree, when they are shown, are read again.
void frmEstrutura::AtualizarDetalhesNo()
{
    clsNo* no = m_chaveTabela.isEmpty() ? nullptr : m_ambiente.Arvore().No(m_chaveTabela);
    if (no && no->Child())
        CarregarDetalhesTabela(m_ambiente.Arvore(), no);
}

// Changes not saved are never dropped without asking.
void frmEstrutura::closeEvent(QCloseEvent* e)
{
    if (Alterada()) {
        const int resposta = PerguntarGravarAlteracoes(m_ambiente.Prompt());
        if (resposta != vb::No && (resposta != vb::Yes || !Salvar())) {
            e->ignore();
            return;
        }
    }
    frmFilhoConexao::closeEvent(e);
}

void frmEstrutura::showEvent(QShowEvent* e)
{
    frmFilhoConexao::showEvent(e);
    if (m_ativado)
        return;
    m_ativado = true;
    dgrEstrutura->setFocus();
    if (dgrEstrutura->rowCount() > 0)
        dgrEstrutura->setCurrentCell(0, 0);
}

// A letter or digit typed on the list starts a new name in the name box.
bool frmEstrutura::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == dgrEstrutura && evento->type() == QEvent::KeyPress) {
        const QString t = static_cast<QKeyEvent*>(evento)->text();
        if (t.size() == 1 && t.at(0).isLetterOrNumber() && t.at(0).unicode() < 128 && Atual()) {
            txtCampo->setFocus();
            txtCampo->setText(t);
            txtCampo->setCursorPosition(1);
            return true;
        }
    }
    return frmFilhoConexao::eventFilter(objeto, evento);
}

frmEstrutura* AbrirEstrutura(clsAmbiente& ambiente, clsNo* node, bool blnNova)
{
    if (!node)
        return nullptr;
    clsNo* pasta = node->Image() == img::Tabela ? node->Parent() : node;
    auto* janela = new frmEstrutura(ambiente);
    janela->DefinirTag(QString::number(LocalizarNoConectado(node).indice));
    if (!blnNova)
        janela->DefinirNoTabela(node->Key());
    if (!janela->CarregarForm(node->Tag(),
                              blnNova ? ObjetoBanco() : ObjetoDoNo(node),
                              blnNova,
                              pasta ? pasta->Key() : QString())) {
        delete janela;
        return nullptr;
    }
    return janela;
}
