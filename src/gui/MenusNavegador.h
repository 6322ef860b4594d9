#pragma once
// The navigator's object menus on the main window's menu bar: built from one table, with each
// item's objectName set to its design name so handlers and tests find it.
#include <QHash>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

struct MenusNavegador {
    QHash<QString, QMenu*> menus; // group menus and submenus by name
    QHash<QString, QAction*> acoes; // items by name

    // Adds the group menus to the bar before `antes` (a top-level action of the bar, or null).
    void Construir(QMenuBar* barra, QAction* antes);
    QAction* Acao(const QString& nome) const { return acoes.value(nome); }
    QMenu* Menu(const QString& nome) const { return menus.value(nome); }
};
