#include "uctListBox.h"

#include "gui/Icones.h"
#include "gui/Twips.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
constexpr int AlturaItem = 230 / TwipsPorPixel; // one field
constexpr int ImagemChave = 26; // the key column's icon
} // namespace

uctListBox::uctListBox(clsPrompt& prompt, QWidget* pai) : QFrame(pai), m_relat(prompt)
{
    setObjectName(QStringLiteral("uctListBox"));
    setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    lblTitulo = new QLabel(this);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    lblTitulo->setStyleSheet(QStringLiteral("background: palette(highlight); color: palette(highlighted-text);"));
    lblTitulo->installEventFilter(this);
    layout->addWidget(lblTitulo);
    auto* corpo = new QHBoxLayout;
    m_visivel = new QWidget(this);
    fraCampos = new QWidget(m_visivel);
    fraCampos->setObjectName(QStringLiteral("fraCampos"));
    scrVertical = new QScrollBar(Qt::Vertical, this);
    scrVertical->setObjectName(QStringLiteral("scrVertical"));
    corpo->addWidget(m_visivel, 1);
    corpo->addWidget(scrVertical);
    layout->addLayout(corpo, 1);
    connect(scrVertical, &QScrollBar::valueChanged, this, [this](int v) { fraCampos->move(0, -v); });
    resize(180, 150);
}

void uctListBox::IncluirItens(const QString& strTabela, const QStringList& aNomeCampos, const QList<bool>& aChaves)
{
    lblTitulo->setText(strTabela);
    qDeleteAll(fraCampos->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    const int largura = std::max(40, m_visivel->width());
    for (int i = 0; i < aNomeCampos.size(); ++i) {
        if (aNomeCampos[i].isEmpty())
            continue;
        auto* item = new QLabel(aNomeCampos[i], fraCampos);
        item->setObjectName(QStringLiteral("lblItem") + QString::number(i));
        item->setFont(QFont(QStringLiteral("Tahoma")));
        item->setGeometry(20, i * AlturaItem, largura - 20, AlturaItem);
        auto* chave = new QLabel(fraCampos);
        chave->setObjectName(QStringLiteral("picItem") + QString::number(i));
        chave->setGeometry(2, i * AlturaItem, 16, AlturaItem);
        if (aChaves.value(i))
            chave->setPixmap(IconeNo(ImagemChave).pixmap(14, 14));
        item->show();
        chave->show();
    }
    fraCampos->resize(largura, int(aNomeCampos.size()) * AlturaItem);
    AjustarRolagem();
}

void uctListBox::AjustarRolagem()
{
    scrVertical->setRange(0, std::max(0, fraCampos->height() - m_visivel->height()));
    scrVertical->setValue(0);
    scrVertical->setEnabled(fraCampos->height() > m_visivel->height());
}

void uctListBox::resizeEvent(QResizeEvent* e)
{
    QFrame::resizeEvent(e);
    fraCampos->resize(m_visivel->width(), fraCampos->height());
    AjustarRolagem();
}

bool uctListBox::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto != lblTitulo)
        return QFrame::eventFilter(objeto, evento);
    auto* m = static_cast<QMouseEvent*>(evento);
    switch (evento->type()) {
    case QEvent::MouseButtonPress:
        m_pressao = m->position().toPoint();
        m_arrastando = true;
        return true;
    case QEvent::MouseMove:
        if (m_arrastando && parentWidget())
            move(mapToParent(m->position().toPoint() - m_pressao));
        return true;
    case QEvent::MouseButtonRelease: m_arrastando = false; return true;
    default: return QFrame::eventFilter(objeto, evento);
    }
}
