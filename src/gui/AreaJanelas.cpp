#include "AreaJanelas.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStyle>
#include <QTimer>

namespace areajanelas {

namespace {

// The title the window gives itself, with " (n)" when another open window already shows it.
void TitularDistinto(QMdiSubWindow* sub)
{
    QWidget* janela = sub->widget();
    QMdiArea* area = sub->mdiArea();
    if (!janela || !area)
        return;
    const QString base = janela->windowTitle();
    QString titulo = base;
    for (int n = 2;; ++n) {
        bool usado = false;
        for (QMdiSubWindow* outra : area->subWindowList())
            if (outra != sub && outra->windowTitle() == titulo)
                usado = true;
        if (!usado)
            break;
        titulo = QStringLiteral("%1 (%2)").arg(base).arg(n);
    }
    if (sub->windowTitle() != titulo)
        sub->setWindowTitle(titulo);
}

// Follows the window's own title changes; the sub-window copies the title first.
class Titulos : public QObject {
public:
    explicit Titulos(QMdiSubWindow* sub) : QObject(sub), m_sub(sub) {}
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() == QEvent::WindowTitleChange && objeto == m_sub->widget())
            QTimer::singleShot(0, m_sub, [s = QPointer<QMdiSubWindow>(m_sub)] {
                if (s)
                    TitularDistinto(s);
            });
        return false;
    }

private:
    QMdiSubWindow* m_sub;
};

int Passo(QMdiSubWindow* sub) { return sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub) + 4; }

} // namespace

QMdiSubWindow* Hospedar(QMdiArea* area, QWidget* janela)
{
    QMdiSubWindow* sub = area->addSubWindow(janela);
    janela->installEventFilter(new Titulos(sub));
    // Ctrl+F4 belongs to the main window, which closes the active child whatever has the keyboard
    // inside it; the child's own copy of the key would make it ambiguous.
    if (QMenu* sistema = sub->systemMenu())
        for (QAction* a : sistema->actions()) {
            QList<QKeySequence> teclas = a->shortcuts();
            if (teclas.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4)) > 0)
                a->setShortcuts(teclas);
        }
    TitularDistinto(sub);
    // A cascade step below the open windows; windows that size themselves on showing do it again.
    sub->setGeometry(GeometriaInicial(sub, sub->sizeHint().expandedTo(janela->size())));
    return sub;
}

QRect GeometriaInicial(QMdiSubWindow* sub, const QSize& desejado)
{
    QMdiArea* area = sub->mdiArea();
    if (!area)
        return QRect(QPoint(0, 0), desejado);
    int abertas = 0;
    for (QMdiSubWindow* outra : area->subWindowList())
        if (outra != sub && outra->isVisible())
            ++abertas;
    const QSize visivel = area->viewport()->size();
    const int passo = Passo(sub);
    // Back to the top left once a step would leave less than half the area.
    const int maxPassos = qMax(1, qMin(visivel.width(), visivel.height()) / 2 / passo);
    const int k = abertas % maxPassos;
    const QPoint origem(k * passo, k * passo);
    const QSize tamanho(qMin(desejado.width(), visivel.width() - origem.x()),
                        qMin(desejado.height(), visivel.height() - origem.y()));
    return QRect(origem, tamanho.expandedTo(QSize(120, 80)));
}

void PreencherMenu(QMenu* menu, QMdiArea* area)
{
    menu->clear();
    const auto janelas = area->subWindowList();
    auto item = [&](const char* nome, const QString& legenda, auto acao) {
        QAction* a = menu->addAction(legenda);
        a->setObjectName(QString::fromLatin1(nome));
        a->setEnabled(!janelas.isEmpty());
        QObject::connect(a, &QAction::triggered, area, acao);
    };
    item("mnuJanCascata", QStringLiteral("&Cascata"), [area] { area->cascadeSubWindows(); });
    item("mnuJanLadoALado", QStringLiteral("&Lado a Lado"), [area] { area->tileSubWindows(); });
    item("mnuJanFecharTodas", QStringLiteral("&Fechar Todas"), [area] { area->closeAllSubWindows(); });
    if (!janelas.isEmpty())
        menu->addSeparator();
    for (int i = 0; i < janelas.size(); ++i) {
        QMdiSubWindow* w = janelas.at(i);
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == area->activeSubWindow());
        QObject::connect(a, &QAction::triggered, area, [area, w] { area->setActiveSubWindow(w); });
    }
}

} // namespace areajanelas
