#include "frmProgress.h"

#include "platform/clsPrompt.h"

#include <QProgressBar>
#include <QVBoxLayout>

frmProgress::frmProgress(clsPrompt& prompt, QWidget* pai) : QDialog(pai), m_prompt(prompt)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Aguarde..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_pgbProgress = new QProgressBar(this);
    m_pgbProgress->setObjectName(QStringLiteral("pgbProgress"));
    m_pgbProgress->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pgbProgress);
    resize(360, sizeHint().height());
}

void frmProgress::ProgressoStart(int intQtde, const QString& strCaption, QWidget* frmChamador)
{
    if (frmChamador && parentWidget() != frmChamador)
        setParent(frmChamador, windowFlags()); // stays over the window that started the work
    m_pgbProgress->setRange(0, intQtde);
    m_pgbProgress->setValue(0);
    setWindowTitle(strCaption);
    Continuar = true;
    show();
    raise();
    activateWindow();
}

bool frmProgress::ProgressoMove()
{
    // A value past the maximum is ignored by the bar: staying within intQtde is the caller's part.
    m_pgbProgress->setValue(m_pgbProgress->value() + 1);
    m_pgbProgress->repaint();
    m_prompt.ProcessarEventos();
    return Continuar;
}

void frmProgress::ProgressoClose() { hide(); }

void frmProgress::reject()
{
    if (m_prompt.MsgBox(QStringLiteral("Deseja Abortar Esta Operação ?"), vb::YesNo | vb::Question) == vb::Yes)
        Continuar = false;
}
