#pragma once
// The program's context: made once in main() (tests make their own) and handed to every window.
// It is the navigator's context (prompt, options, makers of clients, the tree with its node data)
// plus the hooks the main window offers the windows it hosts. The hooks are set by the main window
// while it lives and cleared when it goes, so nothing here ever points at a destroyed window.
#include "navigator/clsAmbienteNavegador.h"

#include <QPoint>
#include <functional>

class QObject;

class clsAmbiente : public clsAmbienteNavegador {
public:
    using clsAmbienteNavegador::clsAmbienteNavegador;

    // Puts a new window (a QWidget) into the main window's MDI area.
    std::function<void(QObject* janela)> hospedarJanela;
    // Pops up the main window's "Tabela" menu for a query window, at a global position.
    std::function<void(QObject* janela, const QPoint& posicao)> menuGrid;
};
