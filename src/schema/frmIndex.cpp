#include "frmIndex.h"

#include "connections/clsData.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsPrompt.h"
#include "shell/clsAmbiente.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

const QString frmIndex::PromptNome = QStringLiteral("< Type the Index Name >");

namespace {
QTreeWidget* Lista(QWidget* pai, const char* nome, const QStringList& colunas)
{
    auto* l = new QTreeWidget(pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->setHeaderLabels(colunas);
    l->setRootIsDecorated(false);
    l->setDragEnabled(true);
    l->setAcceptDrops(true);
    l->setDragDropMode(QAbstractItemView::DragDrop);
    l->setDefaultDropAction(Qt::MoveAction);
    return l;
}
} // namespace

frmIndex::frmIndex(QWidget* pai) : QDialog(pai)
{
    setObjectName(QStringLiteral("frmIndex"));
    setWindowTitle(QStringLiteral("Index"));
    auto* frmColumns = new QGroupBox(QStringLiteral("Choose the columns draging then"), this);
    frmColumns->setObjectName(QStringLiteral("frmColumns"));
    lstColumns = Lista(frmColumns, "lstColumns", {QStringLiteral("Column Name")});
    lstSel = Lista(frmColumns, "lstSel", {QStringLiteral("Column Name"), QStringLiteral("Desc")});
    auto* listas = new QHBoxLayout(frmColumns);
    listas->addWidget(lstColumns);
    listas->addWidget(lstSel);
    for (QTreeWidget* l : {lstColumns, lstSel}) {
        l->viewport()->installEventFilter(this);
        l->installEventFilter(this);
    }

    auto* fraOpcoes = new QGroupBox(this);
    fraOpcoes->setObjectName(QStringLiteral("fraOpcoes"));
    chkUnique = new QCheckBox(QStringLiteral("Unique"), fraOpcoes);
    chkUnique->setObjectName(QStringLiteral("chkUnique"));
    chkClustered = new QCheckBox(QStringLiteral("Clustered"), fraOpcoes);
    chkClustered->setObjectName(QStringLiteral("chkClustered"));
    auto* opcoes = new QHBoxLayout(fraOpcoes);
    opcoes->addWidget(chkUnique);
    opcoes->addWidget(chkClustered);

    auto* lblIndexName = new QLabel(QStringLiteral("Index Name"), this);
    lblIndexName->setObjectName(QStringLiteral("lblIndexName"));
    txtIndexName = new QLineEdit(PromptNome, this);
    txtIndexName->setObjectName(QStringLiteral("txtIndexName"));
    txtIndexName->installEventFilter(this);
    auto* btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, [this] {
        m_conf = true;
        accept();
    });

    auto* lblFiltro = new QLabel(QStringLiteral("Filtro (WHERE)"), this);
    lblFiltro->setObjectName(QStringLiteral("lblFiltro"));
    txtFiltro = new QLineEdit(this);
    txtFiltro->setObjectName(QStringLiteral("txtFiltro"));
    lblFiltro->setBuddy(txtFiltro);
    lblIncluidas = new QLabel(this);
    lblIncluidas->setObjectName(QStringLiteral("lblIncluidas"));
    lblIncluidas->setVisible(false);
    lblSomenteLeitura = new QLabel(this);
    lblSomenteLeitura->setObjectName(QStringLiteral("lblSomenteLeitura"));
    lblSomenteLeitura->setWordWrap(true);
    lblSomenteLeitura->setVisible(false);
    auto* filtro = new QHBoxLayout;
    filtro->addWidget(lblFiltro);
    filtro->addWidget(txtFiltro, 1);

    auto* baixo = new QHBoxLayout;
    baixo->addWidget(fraOpcoes);
    baixo->addWidget(lblIndexName);
    baixo->addWidget(txtIndexName, 1);
    baixo->addWidget(btnOk);
    auto* v = new QVBoxLayout(this);
    v->addWidget(lblSomenteLeitura);
    v->addWidget(frmColumns, 1);
    v->addWidget(lblIncluidas);
    v->addLayout(filtro);
    v->addLayout(baixo);
    resize(520, 360);
}

void frmIndex::Preencher(const IndiceLido& lido, const QString& nome, bool clusteredPermitido)
{
    for (const QString& c : lido.outras)
        new QTreeWidgetItem(lstColumns, {c});
    for (const ColunaIndice& c : lido.def.colunas)
        new QTreeWidgetItem(lstSel, {c.nome, c.desc ? QStringLiteral("X") : QString()});
    if (!nome.isEmpty()) {
        txtIndexName->setText(nome);
        txtIndexName->setEnabled(false);
    }
    chkUnique->setChecked(lido.def.unico);
    chkClustered->setChecked(lido.def.clustered && clusteredPermitido);
    chkClustered->setEnabled(clusteredPermitido);
    if (!clusteredPermitido)
        chkClustered->setToolTip(QStringLiteral("Este banco não tem índices clustered"));
    txtFiltro->setText(lido.def.filtro);
    m_incluidas = lido.def.incluidas;
    lblIncluidas->setText(QStringLiteral("Colunas incluídas: ") + m_incluidas.join(QStringLiteral(", ")));
    lblIncluidas->setVisible(!m_incluidas.isEmpty());
    // What the editor cannot show is never recreated without it: everything stays as read.
    const bool somenteLeitura = !lido.somenteLeitura.isEmpty();
    lblSomenteLeitura->setText(lido.somenteLeitura);
    lblSomenteLeitura->setVisible(somenteLeitura);
    for (QWidget* w : std::initializer_list<QWidget*>{lstColumns, lstSel, chkUnique, chkClustered, txtFiltro})
        w->setEnabled(w->isEnabled() && !somenteLeitura);
    m_inicial = Definicao();
    m_nomeInicial = NomeIndice();
}

bool frmIndex::Alterado() const
{
    return lblSomenteLeitura->isHidden() && (Definicao() != m_inicial || NomeIndice() != m_nomeInicial);
}

void frmIndex::reject()
{
    if (m_prompt && Alterado()) {
        const int resposta = PerguntarGravarAlteracoes(*m_prompt);
        if (resposta == vb::Yes) {
            m_conf = true;
            accept();
            return;
        }
        if (resposta != vb::No)
            return;
    }
    m_conf = false;
    QDialog::reject();
}

// Enter or Space moves the current column to the other list (the next one becomes current, so the
// keys repeat down the list); D marks a chosen column descending or not.
bool frmIndex::ListaTecla(QTreeWidget* lista, QKeyEvent* e)
{
    QTreeWidgetItem* item = lista->currentItem();
    const int tecla = e->key();
    if ((tecla == Qt::Key_Return || tecla == Qt::Key_Enter || tecla == Qt::Key_Space)
        && e->modifiers() == Qt::NoModifier) {
        if (item) {
            const int linha = lista->indexOfTopLevelItem(item);
            Mover(item);
            if (lista->topLevelItemCount() > 0)
                lista->setCurrentItem(lista->topLevelItem(std::min(linha, lista->topLevelItemCount() - 1)));
        }
        return true;
    }
    if (tecla == Qt::Key_D && lista == lstSel && item && e->modifiers() == Qt::NoModifier) {
        item->setText(1, item->text(1) == u"X" ? QString() : QStringLiteral("X"));
        return true;
    }
    return false;
}

QList<ColunaIndice> frmIndex::Escolhidas() const
{
    QList<ColunaIndice> r;
    for (int i = 0; i < lstSel->topLevelItemCount(); ++i)
        r << ColunaIndice{lstSel->topLevelItem(i)->text(0), lstSel->topLevelItem(i)->text(1) == u"X"};
    return r;
}

DefinicaoIndice frmIndex::Definicao() const
{
    return {.colunas = Escolhidas(),
            .unico = chkUnique->isChecked(),
            .clustered = chkClustered->isChecked(),
            .incluidas = m_incluidas,
            .filtro = txtFiltro->text().trimmed()};
}

QString frmIndex::NomeIndice() const { return txtIndexName->text() == PromptNome ? QString() : txtIndexName->text(); }

void frmIndex::Mover(QTreeWidgetItem* item)
{
    QTreeWidget* de = item->treeWidget();
    QTreeWidget* para = de == lstSel ? lstColumns : lstSel;
    new QTreeWidgetItem(para, {item->text(0)});
    delete item;
}

bool frmIndex::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == txtIndexName) {
        if (evento->type() == QEvent::FocusIn && txtIndexName->text() == PromptNome)
            txtIndexName->clear();
        else if (evento->type() == QEvent::FocusOut && txtIndexName->text().isEmpty())
            txtIndexName->setText(PromptNome);
        return false;
    }
    if (objeto == lstSel || objeto == lstColumns)
        return evento->type() == QEvent::KeyPress
               && ListaTecla(static_cast<QTreeWidget*>(objeto), static_cast<QKeyEvent*>(evento));
    QTreeWidget* lista = objeto == lstSel->viewport() ? lstSel : lstColumns;
    switch (evento->type()) {
    case QEvent::MouseButtonPress: {
        // A second click on the chosen column of the index toggles its descending mark.
        auto* e = static_cast<QMouseEvent*>(evento);
        QTreeWidgetItem* item = lista->itemAt(e->position().toPoint());
        if (lista == lstSel && item && item->isSelected() && e->button() == Qt::LeftButton)
            item->setText(1, item->text(1) == u"X" ? QString() : QStringLiteral("X"));
        return false;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDropEvent*>(evento);
        const bool outra = e->source() && e->source() != lista && (e->source() == lstSel || e->source() == lstColumns);
        if (outra)
            e->acceptProposedAction();
        else
            e->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(evento);
        auto* origem = qobject_cast<QTreeWidget*>(e->source());
        if (origem && origem != lista && origem->currentItem())
            Mover(origem->currentItem());
        e->setDropAction(Qt::IgnoreAction); // the item was moved here, not by the source
        e->accept();
        return true;
    }
    default: return false;
    }
}

void frmIndex::closeEvent(QCloseEvent* e)
{
    m_conf = false;
    QDialog::closeEvent(e);
}

void EditarIndice(clsAmbiente& ambiente, clsNo* node, bool blnNovo)
{
    if (!node || (node->Image() != img::Indice && node->Image() != img::PastaIndices))
        return;
    // The table the node belongs to, in its own schema, never a caption.
    const ObjetoBanco tabela = TabelaDoNo(node);
    const QString indice = node->Image() == img::Indice && !blnNovo ? node->Text() : QString();
    if (tabela.Vazio())
        return;
    clsPrompt& prompt = ambiente.Prompt();
    clsData db(ambiente);
    IndiceLido lido;
    {
        clsAmpulheta ampulheta(prompt);
        if (!db.OpenConnection(tabela.connStr, true, true) || !LerIndice(db, tabela, indice, lido))
            return;
    }
    frmIndex dialogo;
    dialogo.Preencher(lido, indice, AceitaClustered(*db.ActiveConnection()));
    dialogo.DefinirPrompt(&prompt);
    for (;;) {
        const bool ok = prompt.ExibirModal(&dialogo) == QDialog::Accepted && dialogo.Conf();
        if (!ok)
            return;
        const DefinicaoIndice def = dialogo.Definicao();
        if (def.colunas.isEmpty() && lido.somenteLeitura.isEmpty())
            continue;
        const QString nome = blnNovo ? dialogo.NomeIndice() : indice;
        if (SalvarIndice(db, prompt, tabela, nome, blnNovo ? nullptr : &lido, def))
            return;
    }
}
