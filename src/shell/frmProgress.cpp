#include "frmProgress.h"

#include "platform/clsProgresso.h"
#include "platform/clsPrompt.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

frmProgress::frmProgress(clsPrompt& prompt, QWidget* pai) : QDialog(pai), m_prompt(prompt)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Aguarde..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_pgbProgress = new QProgressBar(this);
    m_pgbProgress->setObjectName(QStringLiteral("pgbProgress"));
    m_pgbProgress->setTextVisible(false);
    m_btnParar = new QPushButton(QStringLiteral("&Parar"), this);
    m_btnParar->setObjectName(QStringLiteral("btnParar"));
    m_btnParar->hide();
    connect(m_btnParar, &QPushButton::clicked, this, &frmProgress::reject);
    m_relogio = new QTimer(this);
    m_relogio->setInterval(100);
    connect(m_relogio, &QTimer::timeout, this, &frmProgress::Atualizar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pgbProgress);
    layout->addWidget(m_btnParar, 0, Qt::AlignRight);
    resize(360, sizeHint().height());
}

void frmProgress::Acompanhar(std::shared_ptr<clsProgresso> progresso)
{
    m_acompanhado = std::move(progresso);
    setWindowModality(Qt::NonModal);
    m_btnParar->show();
    Atualizar();
    m_relogio->start();
    show();
    raise();
}

void frmProgress::Atualizar()
{
    const clsProgresso::Estado e = m_acompanhado->Ler();
    if (!e.titulo.isEmpty())
        setWindowTitle(e.titulo);
    m_pgbProgress->setRange(0, e.total);
    m_pgbProgress->setValue(qMin(e.feitos, e.total));
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
    // The bar is painted when it moves by a hundredth of its range; no events run here (work long
    // enough to need a Stop runs on a worker thread that the window follows).
    const int valor = m_pgbProgress->value() + 1;
    const int passo = qMax(1, (m_pgbProgress->maximum() - m_pgbProgress->minimum()) / 100);
    m_pgbProgress->setValue(valor);
    if (valor % passo == 0)
        m_pgbProgress->repaint();
    return Continuar;
}

void frmProgress::ProgressoClose() { hide(); }

void frmProgress::reject()
{
    if (m_acompanhado && m_acompanhado->Parado())
        return;
    if (m_prompt.MsgBox(QStringLiteral("Deseja Abortar Esta Operação ?"), vb::YesNo | vb::Question) != vb::Yes)
        return;
    Continuar = false;
    if (m_acompanhado) {
        m_acompanhado->Parar();
        m_btnParar->setEnabled(false);
    }
}
