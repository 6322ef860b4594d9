#include "uctWebBrowser.h"

#include "platform/clsPrompt.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

uctWebBrowser::uctWebBrowser(clsPrompt& prompt, QWidget* pai) : QWidget(pai), m_prompt(prompt)
{
    setObjectName(QStringLiteral("uctWebBrowser"));
    auto* objWebBrowser = new QFrame(this);
    objWebBrowser->setObjectName(QStringLiteral("objWebBrowser"));
    objWebBrowser->setFrameShape(QFrame::StyledPanel);
    objWebBrowser->setBackgroundRole(QPalette::Base);
    objWebBrowser->setAutoFillBackground(true);

    m_lblTitulo = new QLabel(objWebBrowser);
    m_lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont f = m_lblTitulo->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() + 2);
    m_lblTitulo->setFont(f);
    m_lblTitulo->setWordWrap(true);
    m_txtEndereco = new QLineEdit(objWebBrowser);
    m_txtEndereco->setObjectName(QStringLiteral("txtEndereco"));
    m_txtEndereco->setReadOnly(true);
    m_btnAbrir = new QPushButton(QStringLiteral("Abrir no Navegador"), objWebBrowser);
    m_btnAbrir->setObjectName(QStringLiteral("btnAbrirNavegador"));
    m_btnAbrir->setEnabled(false);
    connect(m_btnAbrir, &QPushButton::clicked, this, &uctWebBrowser::AbrirNoNavegador);

    auto* lblAviso = new QLabel(QStringLiteral("As páginas abrem no navegador padrão do sistema."), objWebBrowser);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setEnabled(false);

    auto* linha = new QHBoxLayout;
    linha->addWidget(m_txtEndereco, 1);
    linha->addWidget(m_btnAbrir);
    auto* dentro = new QVBoxLayout(objWebBrowser);
    dentro->addWidget(m_lblTitulo);
    dentro->addLayout(linha);
    dentro->addWidget(lblAviso);
    dentro->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(objWebBrowser);
}

void uctWebBrowser::SetUrl(const QString& strUrl)
{
    m_url = strUrl;
    m_txtEndereco->setText(strUrl);
    m_txtEndereco->setCursorPosition(0);
    m_btnAbrir->setEnabled(!strUrl.isEmpty());
    emit Carregado(strUrl);
}

void uctWebBrowser::DefinirTitulo(const QString& titulo)
{
    if (titulo == m_titulo)
        return;
    m_titulo = titulo;
    m_lblTitulo->setText(titulo);
    emit TituloAlterado(titulo);
}

bool uctWebBrowser::AbrirNoNavegador() { return !m_url.isEmpty() && m_prompt.AbrirNoSistema(m_url); }
