#include "frmWebBrowser.h"
#include "gui/AreaJanelas.h"

#include "platform/mdlEnderecos.h"
#include "shell/uctWebBrowser.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

#include <cmath>

frmWebBrowser::frmWebBrowser(clsPrompt& prompt, QWidget* pai) : QWidget(pai)
{
    setObjectName(QStringLiteral("frmWebBrowser"));
    setWindowTitle(QStringLiteral("Web Browser"));
    m_brwBrowser = new uctWebBrowser(prompt, this);
    m_brwBrowser->setObjectName(QStringLiteral("brwBrowser"));
    // The control keeps 105 twips of the width and 495 of the height for the window's border.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 105 / 15, 495 / 15);
    layout->addWidget(m_brwBrowser);

    connect(m_brwBrowser, &uctWebBrowser::TituloAlterado, this, [this](const QString& titulo) {
        setWindowTitle(titulo + QStringLiteral(" [Quarrix WebBrowser]"));
    });
    connect(m_brwBrowser, &uctWebBrowser::Carregado, this, &frmWebBrowser::Complete);
}

void frmWebBrowser::CarregForm(int StartGuia, const QString& strFixedUrl)
{
    m_endereco = enderecos::EnderecoInicial(StartGuia, strFixedUrl);
    Posicionar();
    m_aberto = false;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->show();
    show();
    if (isVisible())
        Abrir();
}

// Top left of the main window's client area, 0.7 of the main window's height and 0.99 of its inner
// width.
void frmWebBrowser::Posicionar()
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    QWidget* principal = sub ? sub->window() : QApplication::activeWindow();
    if (!principal || principal == this)
        return;
    QWidget* area = sub ? sub->mdiArea() : nullptr;
    const int larguraInterna = area ? area->width() : principal->width();
    const QSize tamanho(int(std::lround(larguraInterna * 0.99)), int(std::lround(principal->height() * 0.7)));
    if (sub) {
        sub->setGeometry(areajanelas::GeometriaInicial(sub, tamanho));
    } else {
        resize(tamanho);
        move(principal->geometry().topLeft());
    }
}

void frmWebBrowser::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    Abrir();
}

// The page opens once, when the window first shows with an address.
void frmWebBrowser::Abrir()
{
    if (m_aberto || m_endereco.isEmpty())
        return;
    m_aberto = true;
    m_brwBrowser->SetUrl(m_endereco);
}
