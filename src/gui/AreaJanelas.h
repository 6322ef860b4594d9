#pragma once
// The main window's MDI area as its child windows use it: where a new child opens (each one a step
// down and to the right of the open ones, never past the area), titles that tell open windows
// apart, and the "Janelas" menu's arrangement items.
#include <QRect>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWidget;

namespace areajanelas {

// Puts the window into the area and keeps its title distinct from the other open windows' (a
// second "SqlEditor: SELECT FROM Clientes" reads "… (2)"). Ctrl+F4 is left to the main window.
QMdiSubWindow* Hospedar(QMdiArea* area, QWidget* janela);

// The geometry for `sub` given the size its window asks for: the next cascade step after the
// windows already open, the size cut to what the area shows from there.
QRect GeometriaInicial(QMdiSubWindow* sub, const QSize& desejado);

// Fills the "Janelas" menu: "Cascata", "Lado a Lado", "Fechar Todas", then one item per window.
void PreencherMenu(QMenu* menu, QMdiArea* area);

} // namespace areajanelas
