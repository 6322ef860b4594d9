// The query window's grid editing: how cells are painted and edited, deleting rows, null, and a
// result that cannot be written.
#include "frmTabela.h"

#include "platform/clsPrompt.h"
#include "query/clsModeloRecordset.h"
#include "query/uctDelegadoGrade.h"
#include "shell/clsAmbiente.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <set>

void frmTabela::PrepararGrade()
{
    auto* delegado = new uctDelegadoGrade(m_modelo, dgrConsulta);
    dgrConsulta->setItemDelegate(delegado);
    dgrConsulta->installEventFilter(this);
    connect(delegado, &uctDelegadoGrade::TextoRecusado, this, [this](const QString& erro) {
        m_ambiente.Prompt().MsgBox(erro, vb::Exclamation);
    });
}

bool frmTabela::ConfirmarEdicoesPendentes(std::function<void()> continuar)
{
    clsPrompt& prompt = m_ambiente.Prompt();
    // A text still in a cell's editor counts; one the field cannot take stops here, kept for correction.
    QWidget* foco = QApplication::focusWidget();
    if (auto* editor = qobject_cast<QLineEdit*>(foco); editor && dgrConsulta->viewport()->isAncestorOf(editor)) {
        QString erro;
        if (!m_modelo->TextoServe(dgrConsulta->currentIndex(), editor->text(), erro)) {
            prompt.MsgBox(erro, vb::Exclamation);
            return false;
        }
    }
    ConcluirEdicaoGrid();
    if (!m_modelo->TemEdicoesPendentes())
        return true;
    switch (PerguntarGravarAlteracoes(prompt)) {
    case vb::Yes:
        // The action goes on once the rows are written; a failed save has shown its error.
        GravarRegistros([this, continuar = std::move(continuar)](bool ok) {
            if (ok && continuar)
                QMetaObject::invokeMethod(this, continuar, Qt::QueuedConnection);
        });
        return false;
    case vb::No: m_modelo->DescartarEdicoes(); return true;
    default: return false;
    }
}

bool frmTabela::TeclaGrade(QKeyEvent* e)
{
    // Keys an open cell editor did not take travel up to the grid: they are not the grid's.
    if (QApplication::focusWidget() != dgrConsulta)
        return false;
    // The selected block to the clipboard and the clipboard's block into the grid, as the menu does.
    if (e->matches(QKeySequence::Copy)) {
        CopiarCelula();
        return true;
    }
    if (e->matches(QKeySequence::Paste)) {
        ColarCelula();
        return true;
    }
    if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier) {
        ExcluirLinhasSelecionadas();
        return true;
    }
    if (e->key() == Qt::Key_0 && (e->modifiers() & Qt::ControlModifier)) {
        AnularCelulasSelecionadas();
        return true;
    }
    return false;
}

void frmTabela::ExcluirLinhasSelecionadas()
{
    std::set<int> linhas;
    for (const QModelIndex& i : dgrConsulta->selectionModel()->selectedIndexes())
        linhas.insert(i.row());
    if (linhas.empty() && dgrConsulta->currentIndex().isValid())
        linhas.insert(dgrConsulta->currentIndex().row());
    m_modelo->AlternarExclusao(QList<int>(linhas.begin(), linhas.end()));
}

void frmTabela::AnularCelulasSelecionadas()
{
    QModelIndexList celulas = dgrConsulta->selectionModel()->selectedIndexes();
    if (celulas.isEmpty() && dgrConsulta->currentIndex().isValid())
        celulas << dgrConsulta->currentIndex();
    for (const QModelIndex& i : celulas)
        m_modelo->DefinirNulo(i);
}

// A result whose rows cannot be written says why, in the status bar and over the grid, and its
// editing buttons stay off.
void frmTabela::MostrarSomenteLeitura()
{
    const QString motivo = m_modelo->Recordset() ? m_modelo->MotivoSomenteLeitura() : QString();
    DefinirPainel(1, motivo);
    dgrConsulta->setToolTip(motivo);
    for (const char* chave : {"Incluir", "Salvar"})
        if (!motivo.isEmpty())
            Botao(QString::fromLatin1(chave))->setEnabled(false);
}
