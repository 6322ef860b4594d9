// The query window's commands: running, saving the grid, sizing columns, the connection
// selector, the grid popup, the editor's clipboard and search buttons, and closing.
#include "frmTabela.h"

#include "connections/clsData.h"
#include "connections/uctConnectionSel.h"
#include "gui/Twips.h"
#include "navigator/clsArvore.h"
#include "navigator/mdlConexoesAbertas.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"
#include "query/clsModeloRecordset.h"
#include "query/uctEditorSql.h"
#include "shell/clsAmbiente.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <climits>
#include <cmath>
#include <exception>

namespace {

constexpr int FolgaColuna = 200; // twips added to a caption's or value's width

} // namespace

void frmTabela::LigarAcoes()
{
    auto ao = [this](const char* chave, auto&& f) {
        connect(Botao(QString::fromLatin1(chave)), &QAction::triggered, this, [this, f] {
            try {
                f();
            } catch (const std::exception& e) {
                m_ambiente.Prompt().MsgBox(QString::fromLocal8Bit(e.what()), vb::Critical);
            }
        });
    };
    ao("New", [this] { NovaJanela(); });
    ao("Sql", [this] { SqlClick(); });
    ao("Grid", [this] { GridClick(); });
    ao("Incluir", [this] {
        if (!m_modelo->IncluirLinha()) {
            m_ambiente.Prompt().MsgBox(m_modelo->UltimoErro(), vb::Critical);
        } else {
            dgrConsulta->scrollToBottom();
            MostrarContagem();
        }
    });
    ao("Salvar", [this] { GravarRegistros(); });
    ao("Play", [this] {
        ExecutarSql();
        txtSql->setFocus();
    });
    ao("Dimensionar", [this] { DimensionarColunas(); });
    ao("SelectAll", [this] {
        txtSql->setFocus();
        txtSql->selectAll();
    });
    ao("Copy", [this] { CopiarTudo(); });
    ao("Paste", [this] { ColarTudo(); });
    ao("Find", [this] { Pesquisar(); });
    ao("FindNext", [this] {
        if (m_ultimaPesquisa.isEmpty() || !txtSql->findNext())
            Pesquisar();
    });
    ao("Replace", [this] { Substituir(); });
    // "Open", "Save", "Excel", "TXT" (script files and export) and "FiltroEliminar" (filters) are
    // answered by the modules that own those features, through Botao(key) and LigarBotao(key).

    connect(uctConnectionSel1, &uctConnectionSel::BuscarItens, this, [this] { BuscarItens(); });
    connect(uctConnectionSel1, &uctConnectionSel::ConnectionChanged, this, &frmTabela::ConnectionChanged);
    connect(dgrConsulta->selectionModel(),
            &QItemSelectionModel::currentChanged,
            this,
            [this](const QModelIndex& atual) {
                if (atual.isValid())
                    m_colunaAtual = atual.column();
            });
    connect(dgrConsulta->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int coluna) {
        m_colunaAtual = coluna;
    });
    connect(m_modelo, &clsModeloRecordset::EdicaoRecusada, this, [this](const QString& erro) {
        m_ambiente.Prompt().MsgBox(erro, vb::Critical);
    });
}

RecordsetPtr frmTabela::Recordset() const { return m_modelo->Recordset(); }

bool frmTabela::AbrirConexao()
{
    if (m_dados)
        return m_dados->ConnectionType() != tipoconexao::Fechada;
    m_dados = std::make_unique<clsData>(m_ambiente);
    if (!m_dados->OpenConnection(m_connectionString, true, true))
        return false;
    if (m_dados->Provider() == QLatin1String("SQLOLEDB.1"))
        m_dados->OpenSqlDmoServer(false);
    return true;
}

// The previous result is closed before a run, so a run that fails shows no rows at all rather
// than rows that are not its result.
void frmTabela::FecharResultado()
{
    ConcluirEdicaoGrid();
    RecordsetPtr anterior = m_modelo->Recordset();
    m_modelo->DefinirRecordset(nullptr);
    if (anterior && anterior->State() == ado::adStateOpen)
        anterior->Close();
}

// An edit still open in a grid cell goes into the recordset before it is read or written.
void frmTabela::ConcluirEdicaoGrid()
{
    QWidget* editor = QApplication::focusWidget();
    if (!editor || !dgrConsulta->viewport()->isAncestorOf(editor))
        return;
    QMetaObject::invokeMethod(dgrConsulta, "commitData", Q_ARG(QWidget*, editor));
    QMetaObject::invokeMethod(dgrConsulta,
                              "closeEditor",
                              Q_ARG(QWidget*, editor),
                              Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
}

// The columns widen to their widest text, measured a slice of rows at a time between the window's
// events, so that a large result leaves the window live; a new result, or a second request, ends
// the measuring.
struct frmTabela::Dimensionamento {
    RecordsetPtr origem;
    std::vector<int> larguras;
    int linha = 0;
    int linhas = 0;
};

void frmTabela::DimensionarColunas()
{
    RecordsetPtr origem = m_modelo->Recordset();
    const quint64 id = ++m_idDimensionamento;
    if (!origem || origem->State() != ado::adStateOpen || origem->RecordCount() == 0)
        return;
    const QFontMetrics medida(dgrConsulta->font());
    const int folga = int(std::lround(double(FolgaColuna) / TwipsPorPixel));
    auto d = std::make_shared<Dimensionamento>();
    d->origem = origem;
    d->linhas = m_modelo->rowCount();
    const int campos = m_modelo->columnCount();
    d->larguras.resize(size_t(campos));
    for (int c = 0; c < campos; ++c) {
        d->larguras[size_t(c)] = medida.horizontalAdvance(origem->InfoCampo(c).nome) + folga;
        dgrConsulta->setColumnWidth(c, d->larguras[size_t(c)]);
    }
    DimensionarFatia(d, id);
}

void frmTabela::DimensionarFatia(const std::shared_ptr<Dimensionamento>& d, quint64 id)
{
    if (id != m_idDimensionamento || m_modelo->Recordset() != d->origem)
        return;
    constexpr qint64 FatiaMs = 15;
    const QFontMetrics medida(dgrConsulta->font());
    const int folga = int(std::lround(double(FolgaColuna) / TwipsPorPixel));
    auto* delegado = qobject_cast<QStyledItemDelegate*>(dgrConsulta->itemDelegate());
    const int maiorLetra = medida.maxWidth();
    const int campos = int(d->larguras.size());
    const int linhas = qMin(d->linhas, m_modelo->rowCount());
    QElapsedTimer relogio;
    relogio.start();
    for (; d->linha < linhas; ++d->linha) {
        if ((d->linha & 0xff) == 0 && relogio.elapsed() > FatiaMs)
            break;
        for (int c = 0; c < campos; ++c) {
            const QVariant v = m_modelo->data(m_modelo->index(d->linha, c));
            if (v.isNull())
                continue;
            const QString texto = delegado ? delegado->displayText(v, locale()) : v.toString();
            int& largura = d->larguras[size_t(c)];
            // A text that cannot be wider than the column even in its widest letters needs no measuring.
            if (int(texto.size()) * maiorLetra + folga <= largura)
                continue;
            largura = qMax(largura, medida.horizontalAdvance(texto) + folga);
        }
    }
    for (int c = 0; c < campos; ++c)
        if (dgrConsulta->columnWidth(c) != d->larguras[size_t(c)])
            dgrConsulta->setColumnWidth(c, d->larguras[size_t(c)]);
    if (d->linha < linhas)
        QTimer::singleShot(0, this, [this, d, id] { DimensionarFatia(d, id); });
}

frmTabela* frmTabela::NovaJanela()
{
    auto* nova = new frmTabela(m_ambiente);
    nova->DefinirTag(Tag());
    // Without the main window's hook, the copy joins the MDI area this window lives in.
    if (!m_ambiente.hospedarJanela)
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea())
            sub->mdiArea()->addSubWindow(nova);
    QString sql = txtSql->text();
    nova->CarregarForm(m_connectionString,
                       sql,
                       m_tabela,
                       m_executarAoCarregar,
                       uctConnectionSel1->Server(),
                       uctConnectionSel1->Database(),
                       uctConnectionSel1->NodeText());
    return nova;
}

void frmTabela::BuscarItens()
{
    if (txtSql->isVisible())
        txtSql->setFocus();
    else if (dgrConsulta->isVisible())
        dgrConsulta->setFocus();
    for (const EntradaConexao& e : CarregarConexoes(m_ambiente.Arvore()))
        uctConnectionSel1->Add(e.connectionString, e.servidor, e.banco, e.textoNo);
}

void frmTabela::ConnectionChanged(const QString& strConnectionString,
                                  const QString& strServer,
                                  const QString& strDatabase,
                                  const QString& strNodeText)
{
    // Edits of the rows read through the old connection are saved there, dropped, or the change
    // does not happen (the selector shows the old connection again).
    const auto depoisDeGravar = [=, this] {
        uctConnectionSel1->DefinirLabel(strServer, strDatabase, strNodeText);
        uctConnectionSel1->DefinirConnectionString(strConnectionString);
        ConnectionChanged(strConnectionString, strServer, strDatabase, strNodeText);
    };
    if (!ConfirmarEdicoesPendentes(depoisDeGravar)) {
        uctConnectionSel1->DefinirLabel(m_rotuloConexao.value(0), m_rotuloConexao.value(1), m_rotuloConexao.value(2));
        uctConnectionSel1->DefinirConnectionString(m_connectionString);
        return;
    }
    m_rotuloConexao = {strServer, strDatabase, strNodeText};
    m_connectionString = strConnectionString;
    if (m_dados) {
        m_dados->CloseConnection();
        m_dados.reset();
    }
    AbrirConexao();
    LigarEditorAConexao();
}

void frmTabela::MenuGrid(const QPoint& posicao)
{
    const QModelIndex indice = dgrConsulta->indexAt(posicao);
    if (indice.isValid()) {
        // A click inside the selection keeps it (the menu acts on it); outside it, the cell alone.
        if (dgrConsulta->selectionModel()->isSelected(indice))
            dgrConsulta->selectionModel()->setCurrentIndex(indice, QItemSelectionModel::NoUpdate);
        else
            dgrConsulta->setCurrentIndex(indice);
        m_colunaAtual = indice.column();
    }
    const QPoint global = dgrConsulta->viewport()->mapToGlobal(posicao);
    emit MenuGridPedido(this, global);
    if (m_ambiente.menuGrid) {
        m_ambiente.menuGrid(this, global);
        return;
    }
    if (!m_menuProprio) {
        m_menuProprio = new QMenu(QStringLiteral("Tabela"), this);
        m_menuProprio->setObjectName(QStringLiteral("mnuTab"));
        PreencherMenuTab(m_menuProprio, [this] { return this; });
    }
    PrepararMenuTab(m_menuProprio);
    m_menuProprio->popup(global);
}

void frmTabela::PreencherMenuTab(QMenu* mnuTab, std::function<frmTabela*()> frmTempTabela)
{
    auto item = [mnuTab](const char* nome, const char* caption) {
        QAction* a = mnuTab->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(nome));
        return a;
    };
    auto separador = [mnuTab](const char* nome) { mnuTab->addSeparator()->setObjectName(QString::fromLatin1(nome)); };
    item("mnuTabTit", "Titulo");
    separador("mnuTabSep1");
    // Sorting and filtering act through the window's OrdenarColuna, Filtar and PedirFiltro.
    const auto acao = [mnuTab, frmTempTabela](QAction* a, auto fazer) {
        QObject::connect(a, &QAction::triggered, mnuTab, [frmTempTabela, fazer] {
            if (frmTabela* janela = frmTempTabela())
                fazer(*janela);
        });
        return a;
    };
    acao(item("mnuTabOrdAsc", "Ordem Ascendente"), [](frmTabela& j) {
        j.OrdenarColuna(QStringLiteral("Asc"));
    })->setCheckable(true);
    acao(item("mnuTabOrdDes", "Ordem Descendente"), [](frmTabela& j) {
        j.OrdenarColuna(QStringLiteral("Desc"));
    })->setCheckable(true);
    separador("mnuTabSep2");
    acao(item("mnuTabFilSel", "Filtrar pela Seleção"), [](frmTabela& j) { j.Filtar(); });
    acao(item("mnuTabFil", "Filtrar Coluna"), [](frmTabela& j) { j.PedirFiltro(); });
    separador("mnuTabSep3");
    QObject::connect(item("mnuTabCop", "Copiar"), &QAction::triggered, mnuTab, [frmTempTabela] {
        if (frmTabela* janela = frmTempTabela())
            janela->CopiarCelula();
    });
    QObject::connect(item("mnuTabCol", "Colar"), &QAction::triggered, mnuTab, [frmTempTabela] {
        if (frmTabela* janela = frmTempTabela())
            janela->ColarCelula();
    });
    separador("mnuTabSep4");
    QObject::connect(item("mnuTabNulo", "Nulo"), &QAction::triggered, mnuTab, [frmTempTabela] {
        if (frmTabela* janela = frmTempTabela())
            janela->AnularCelulasSelecionadas();
    });
    // The key is the grid's own (a shortcut here would act in every window that shows the menu).
    QObject::connect(item("mnuTabExc", "Excluir Linha\tDel"), &QAction::triggered, mnuTab, [frmTempTabela] {
        if (frmTabela* janela = frmTempTabela())
            janela->ExcluirLinhasSelecionadas();
    });
}

void frmTabela::CopiarCelula()
{
    const QModelIndexList selecionados = dgrConsulta->selectionModel()->selectedIndexes();
    if (selecionados.size() <= 1) {
        const QModelIndex atual = dgrConsulta->currentIndex();
        if (atual.isValid())
            QApplication::clipboard()->setText(m_modelo->data(atual, Qt::DisplayRole).toString());
        return;
    }
    // A block of cells: its rows as lines, its cells separated by tabs.
    int l0 = INT_MAX, l1 = -1, c0 = INT_MAX, c1 = -1;
    for (const QModelIndex& i : selecionados) {
        l0 = qMin(l0, i.row());
        l1 = qMax(l1, i.row());
        c0 = qMin(c0, i.column());
        c1 = qMax(c1, i.column());
    }
    QStringList linhas;
    for (int l = l0; l <= l1; ++l) {
        QStringList celulas;
        for (int c = c0; c <= c1; ++c)
            celulas << m_modelo->data(m_modelo->index(l, c), Qt::DisplayRole).toString();
        linhas << celulas.join(u'\t');
    }
    QApplication::clipboard()->setText(linhas.join(u'\n'));
}

void frmTabela::ColarCelula()
{
    const QModelIndex atual = dgrConsulta->currentIndex();
    if (!atual.isValid())
        return;
    clsPrompt& prompt = m_ambiente.Prompt();
    if (!m_modelo->Editavel()) {
        prompt.MsgBox(m_modelo->MotivoSomenteLeitura(), vb::Exclamation, globais::TituloAplicativo());
        return;
    }
    // A block of tab-separated lines lands from the current cell on; a single value in it.
    QString texto = QApplication::clipboard()->text();
    QStringList linhas = texto.contains(u'\t') || texto.contains(u'\n') ? texto.split(u'\n') : QStringList{texto};
    if (linhas.size() > 1 && linhas.last().isEmpty())
        linhas.removeLast();
    const RecordsetPtr rs = Recordset();
    // Every target column is checked before anything changes.
    int largura = 0;
    for (QString& l : linhas) {
        if (l.endsWith(u'\r'))
            l.chop(1);
        largura = qMax(largura, int(l.split(u'\t').size()));
    }
    for (int c = atual.column(); c < qMin(atual.column() + largura, m_modelo->columnCount()); ++c)
        if (rs && !rs->CampoGravavel(c)) {
            prompt.MsgBox(QStringLiteral("A coluna '%1' não pode ser alterada: ela não vem de uma coluna da tabela.")
                              .arg(m_modelo->headerData(c, Qt::Horizontal).toString()),
                          vb::Exclamation,
                          globais::TituloAplicativo());
            return;
        }
    for (int l = 0; l < linhas.size() && atual.row() + l < m_modelo->rowCount(); ++l) {
        const QStringList celulas = linhas[l].split(u'\t');
        for (int c = 0; c < celulas.size() && atual.column() + c < m_modelo->columnCount(); ++c)
            if (!m_modelo->setData(m_modelo->index(atual.row() + l, atual.column() + c), celulas[c], Qt::EditRole))
                return;
    }
}

// "Copy" puts the whole text on the clipboard, not only the selection.
void frmTabela::CopiarTudo()
{
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setText(txtSql->text());
}

// "Paste" replaces the whole text with the clipboard's.
void frmTabela::ColarTudo()
{
    txtSql->setText(QApplication::clipboard()->text());
    txtSql->setFocus();
}

void frmTabela::Pesquisar()
{
    bool cancelado = false;
    const QString texto = m_ambiente.Prompt().InputBox(QStringLiteral("Pesquisar por:"),
                                                       QStringLiteral("Pesquisar"),
                                                       m_ultimaPesquisa,
                                                       &cancelado);
    if (cancelado || texto.isEmpty())
        return;
    m_ultimaPesquisa = texto;
    txtSql->setFocus();
    if (!txtSql->findFirst(texto, false, false, false, true))
        m_ambiente.Prompt().MsgBox(QStringLiteral("Texto não encontrado: ") + texto, vb::Information);
}

void frmTabela::Substituir()
{
    bool cancelado = false;
    const QString texto = m_ambiente.Prompt().InputBox(QStringLiteral("Pesquisar por:"),
                                                       QStringLiteral("Substituir"),
                                                       m_ultimaPesquisa,
                                                       &cancelado);
    if (cancelado || texto.isEmpty())
        return;
    const QString novo
        = m_ambiente.Prompt().InputBox(QStringLiteral("Substituir por:"), QStringLiteral("Substituir"), {}, &cancelado);
    if (cancelado)
        return;
    m_ultimaPesquisa = texto;
    txtSql->beginUndoAction();
    bool achou = txtSql->findFirst(texto, false, false, false, false, true, 0, 0);
    while (achou) {
        txtSql->replace(novo);
        achou = txtSql->findNext();
    }
    txtSql->endUndoAction();
    txtSql->setFocus();
}

// Closing (after ConfirmarEdicoesPendentes) releases the rows and the connection; errors are ignored.
void frmTabela::Fechar()
{
    try {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        RecordsetPtr rs = m_modelo->Recordset();
        m_modelo->DefinirRecordset(nullptr);
        if (rs && rs->State() == ado::adStateOpen)
            rs->Close();
        if (m_dados) {
            m_dados->CloseConnection();
            m_dados.reset();
        }
    } catch (...) {
    }
}
