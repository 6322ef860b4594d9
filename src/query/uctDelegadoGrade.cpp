#include "uctDelegadoGrade.h"

#include "query/clsModeloRecordset.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>

namespace {
const char* const PropriedadeIndice = "indiceCelula";
}

uctDelegadoGrade::uctDelegadoGrade(clsModeloRecordset* modelo, QObject* pai)
    : QStyledItemDelegate(pai), m_modelo(modelo)
{}

QWidget* uctDelegadoGrade::createEditor(QWidget* pai, const QStyleOptionViewItem&, const QModelIndex& indice) const
{
    auto* editor = new QLineEdit(pai);
    editor->setFrame(false);
    editor->setProperty(PropriedadeIndice, QVariant::fromValue(QPersistentModelIndex(indice)));
    return editor;
}

void uctDelegadoGrade::setEditorData(QWidget* editor, const QModelIndex& indice) const
{
    auto* linha = qobject_cast<QLineEdit*>(editor);
    // The text typed so far stays when the view asks again (after a refused text).
    if (linha && !linha->isModified())
        linha->setText(indice.data(Qt::EditRole).toString());
}

void uctDelegadoGrade::setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const
{
    if (auto* linha = qobject_cast<QLineEdit*>(editor))
        modelo->setData(indice, linha->text(), Qt::EditRole);
}

void uctDelegadoGrade::initStyleOption(QStyleOptionViewItem* opcao, const QModelIndex& indice) const
{
    QStyledItemDelegate::initStyleOption(opcao, indice);
    const QColor cinza = opcao->palette.color(QPalette::Disabled, QPalette::Text);
    if (indice.data(clsModeloRecordset::PapelNulo).toBool()
        && !(opcao->features & QStyleOptionViewItem::HasCheckIndicator)) {
        opcao->text = QStringLiteral("NULL");
        opcao->features |= QStyleOptionViewItem::HasDisplay;
        opcao->font.setItalic(true);
        opcao->palette.setColor(QPalette::Text, cinza);
    }
    if (indice.data(clsModeloRecordset::PapelExcluida).toBool()) {
        opcao->font.setStrikeOut(true);
        opcao->palette.setColor(QPalette::Text, cinza);
        opcao->backgroundBrush = QColor(255, 228, 228);
    }
}

// The text in the editor fits its field; when it does not, the user is told and the editor keeps it.
bool uctDelegadoGrade::Confere(QWidget* editor)
{
    auto* linha = qobject_cast<QLineEdit*>(editor);
    if (!linha || m_avisando)
        return true;
    const QModelIndex indice = editor->property(PropriedadeIndice).value<QPersistentModelIndex>();
    QString erro;
    if (m_modelo->TextoServe(indice, linha->text(), erro))
        return true;
    m_avisando = true;
    emit TextoRecusado(erro);
    m_avisando = false;
    linha->setFocus();
    return false;
}

bool uctDelegadoGrade::eventFilter(QObject* objeto, QEvent* e)
{
    auto* editor = qobject_cast<QWidget*>(objeto);
    if (editor && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        // Ctrl+0 empties the cell: null.
        if (k->key() == Qt::Key_0 && (k->modifiers() & Qt::ControlModifier)) {
            if (auto* linha = qobject_cast<QLineEdit*>(editor)) {
                linha->setText(QString());
                linha->setModified(true);
            }
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            return true;
        }
        const bool sai = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Tab
                         || k->key() == Qt::Key_Backtab;
        if (sai && !Confere(editor))
            return true;
    }
    if (editor && e->type() == QEvent::FocusOut) {
        if (m_avisando)
            return true;
        if (!Confere(editor))
            return true;
    }
    return QStyledItemDelegate::eventFilter(objeto, e);
}
