#include "frmSobre.h"

#include "platform/clsPrompt.h"
#include "platform/mdlEnderecos.h"
#include "platform/mdlGlobais.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* Rotulo(const QString& nome, const QString& texto, QWidget* pai)
{
    auto* l = new QLabel(texto, pai);
    l->setObjectName(nome);
    return l;
}

// Shown like a link; the click is handled by the window.
QLabel* Link(const QString& nome, const QString& texto, QWidget* pai)
{
    QLabel* l = Rotulo(nome, texto, pai);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::Link));
    l->setPalette(p);
    l->setCursor(Qt::PointingHandCursor);
    return l;
}
} // namespace

frmSobre::frmSobre(clsPrompt& prompt, QWidget* pai) : QDialog(pai), m_prompt(prompt)
{
    Q_INIT_RESOURCE(shell);
    setObjectName(QStringLiteral("frmSobre"));
    setWindowTitle(QStringLiteral("Sobre o Sistema"));

    auto* Picture1 = Rotulo(QStringLiteral("Picture1"), QString(), this);
    Picture1->setPixmap(QIcon(QStringLiteral(":/shell/imagens/quarrix.svg")).pixmap(64, 64));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* lblTitulo = Rotulo(QStringLiteral("lblTitulo"), QStringLiteral("Quarrix v") + globais::ObterVersao(), this);
    QFont grande = lblTitulo->font();
    grande.setPointSizeF(grande.pointSizeF() + 6);
    grande.setBold(true);
    lblTitulo->setFont(grande);
    auto* lblRevisao
        = Rotulo(QStringLiteral("lblRevisao"), QStringLiteral("revisão: ") + QString::number(globais::Revisao()), this);
    auto* lblFreeware = Rotulo(QStringLiteral("lblFreeware"),
                               QStringLiteral("Ferramenta de administração de bancos de dados.\n"
                                              "Distribuição gratuita (freeware)."),
                               this);
    auto* lblCriador = Rotulo(QStringLiteral("lblCriador"), QStringLiteral("Desenvolvido por Brisquell"), this);
    m_lblEmail = Link(QStringLiteral("lblEmail"), enderecos::EmailContato(), this);
    m_lblUrl = Link(QStringLiteral("lblUrl"), enderecos::PaginaInicial(), this);
    m_lblEmail->installEventFilter(this);
    m_lblUrl->installEventFilter(this);

    auto* fraLicensa = new QGroupBox(QStringLiteral("Licença"), this);
    fraLicensa->setObjectName(QStringLiteral("fraLicensa"));
    auto* lblLicensa = Rotulo(QStringLiteral("lblLicensa"),
                              QStringLiteral("Este programa pode ser usado e copiado livremente, sem custo, desde "
                                             "que não seja alterado nem vendido. É fornecido no estado em que se "
                                             "encontra, sem garantia de qualquer espécie; o autor não responde por "
                                             "perdas de dados ou outros danos decorrentes do seu uso."),
                              fraLicensa);
    lblLicensa->setWordWrap(true);
    lblLicensa->setMinimumWidth(400);
    (new QVBoxLayout(fraLicensa))->addWidget(lblLicensa);

    auto* btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* textos = new QVBoxLayout;
    textos->addWidget(lblTitulo);
    textos->addWidget(lblRevisao);
    textos->addSpacing(8);
    textos->addWidget(lblFreeware);
    textos->addSpacing(8);
    textos->addWidget(lblCriador);
    textos->addWidget(m_lblEmail);
    textos->addWidget(m_lblUrl);
    auto* topo = new QHBoxLayout;
    topo->addWidget(Picture1);
    topo->addSpacing(12);
    topo->addLayout(textos, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(fraLicensa);
    layout->addLayout(botoes);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool frmSobre::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
        if (objeto == m_lblEmail) {
            m_prompt.AbrirNoSistema(QStringLiteral("mailto:") + m_lblEmail->text());
            return true;
        }
        if (objeto == m_lblUrl) {
            m_prompt.AbrirNoSistema(m_lblUrl->text());
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}
