#include "frmIndex.h"

#include "connections/clsData.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlNavegador.h"
#include "shell/clsAmbiente.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
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
    for (QTreeWidget* l : {lstColumns, lstSel})
        l->viewport()->installEventFilter(this);

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

    auto* baixo = new QHBoxLayout;
    baixo->addWidget(fraOpcoes);
    baixo->addWidget(lblIndexName);
    baixo->addWidget(txtIndexName, 1);
    baixo->addWidget(btnOk);
    auto* v = new QVBoxLayout(this);
    v->addWidget(frmColumns, 1);
    v->addLayout(baixo);
    resize(520, 360);
}

void frmIndex::Preencher(const IndiceLido& lido, const QString& nome, bool clusteredPermitido)
{
    for (const QString& c : lido.outras)
        new QTreeWidgetItem(lstColumns, {c});
    for (const ColunaIndice& c : lido.colunas)
        new QTreeWidgetItem(lstSel, {c.nome, c.desc ? QStringLiteral("X") : QString()});
    if (!nome.isEmpty()) {
        txtIndexName->setText(nome);
        txtIndexName->setEnabled(false);
    }
    chkClustered->setEnabled(clusteredPermitido);
    if (!clusteredPermitido)
        chkClustered->setToolTip(QStringLiteral("Este banco não tem índices clustered"));
}

QList<ColunaIndice> frmIndex::Escolhidas() const
{
    QList<ColunaIndice> r;
    for (int i = 0; i < lstSel->topLevelItemCount(); ++i)
        r << ColunaIndice{lstSel->topLevelItem(i)->text(0), lstSel->topLevelItem(i)->text(1) == u"X"};
    return r;
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
    for (;;) {
        const bool ok = prompt.ExibirModal(&dialogo) == QDialog::Accepted && dialogo.Conf();
        if (!ok)
            return;
        const QList<ColunaIndice> colunas = dialogo.Escolhidas();
        if (colunas.isEmpty())
            continue;
        const QString nome = blnNovo ? dialogo.NomeIndice() : indice;
        if (SalvarIndice(db,
                         prompt,
                         tabela,
                         nome,
                         !blnNovo,
                         colunas,
                         dialogo.chkUnique->isChecked(),
                         dialogo.chkClustered->isChecked()))
            return;
    }
}
