#include "frmHistory.h"

#include "shell/clsHistory.h"

#include <QDate>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

frmHistory::frmHistory(QWidget* pai) : QDialog(pai)
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("Histórico de Versões"));
    m_txtHistory = new QTextEdit(this);
    m_txtHistory->setObjectName(QStringLiteral("txtHistory"));
    m_txtHistory->setReadOnly(true);
    // Keeps the caret visible for the keyboard in a read-only box.
    m_txtHistory->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_txtHistory);
    resize(560, 420);
    Carregar();
}

void frmHistory::Carregar()
{
    m_txtHistory->clear();
    const QFont fonte = font();
    QTextCharFormat normal;
    normal.setFont(fonte);
    normal.setFontWeight(QFont::Normal);
    QTextCharFormat titulo = normal;
    titulo.setFontWeight(QFont::Bold);
    if (fonte.pointSizeF() > 0)
        titulo.setFontPointSize(fonte.pointSizeF() + 2);

    QTextCursor c(m_txtHistory->document());
    for (const EntradaHistorico& e : clsHistory().Historico()) {
        c.insertText(e.Identificador, titulo);
        if (!e.Data.isEmpty())
            c.insertText(
                QStringLiteral(" - ")
                    + QDate::fromString(e.Data, QStringLiteral("yyyy-MM-dd")).toString(QStringLiteral("dd/MM/yyyy")),
                normal);
        c.insertBlock(QTextBlockFormat(), normal);
        for (const QString& linha : e.Linhas) {
            c.insertText(linha, normal);
            c.insertBlock(QTextBlockFormat(), normal);
        }
        c.insertBlock(QTextBlockFormat(), normal);
    }
    m_txtHistory->moveCursor(QTextCursor::Start);
}
