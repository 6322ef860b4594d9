#pragma once
// Which navigator menu items a node allows: the visibility, enabled state and captions the
// navigator's menus take when a node is clicked, and the popup menu of each kind of node. Kept
// apart from the widgets so the rules read (and are tested) as data.
#include <QList>
#include <QString>

struct AtribuicaoMenu {
    enum Propriedade { Visivel, Habilitado, Legenda };
    QString item; // the item's (or group's) name
    Propriedade propriedade;
    bool valor = false; // for Visivel and Habilitado
    QString legenda; // for Legenda
};

// The assignments for a node of image `imagem` and text `texto`, in the order they are applied.
// Items not listed keep whatever state they had.
QList<AtribuicaoMenu> AtribuicoesMenus(int imagem, const QString& texto);

struct PopupNo {
    QString menu; // empty: the node has no popup
    QString padrao; // the item shown in bold; empty for none
    // For the SQL Agent node, the caption the switch item takes before the popup opens.
    QString legendaSwith;
};
PopupNo PopupDoNo(int imagem);
