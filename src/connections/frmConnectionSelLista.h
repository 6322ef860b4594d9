#pragma once
// The drop-down list of the connection selector: a borderless window with the connections the
// container offered, confirmed with Ok or a double click.
#include "navigator/mdlConexoesAbertas.h"

#include <QDialog>

class QListWidget;
class QPushButton;

class clsPrompt;

class frmConnectionSelLista : public QDialog {
    Q_OBJECT
public:
    explicit frmConnectionSelLista(clsPrompt& prompt, QWidget* pai = nullptr);

    // Lists the entries, preselects the one shown now (the same connection string, else the same
    // display text ignoring case), and shows the window modally at (lngX, lngY) screen twips, as
    // wide as its longest entry needs (lngWidth, the selector's suggestion, never makes it wider),
    // kept inside the screen. On confirmation
    // the last entry with the chosen display text fills the four values; true when confirmed.
    bool CarregarForm(const QList<EntradaConexao>& aLista,
                      QString& strConnectionString,
                      QString& strServer,
                      QString& strDatabase,
                      QString& strNodeText,
                      int lngX = 0,
                      int lngY = 0,
                      int lngWidth = 0);

    QListWidget* Lista() const { return lstLista; }

private:
    void Dimensionar(int x, int y, int largura);
    clsPrompt& m_prompt;
    QListWidget* lstLista;
    QPushButton* btnConf;
    QPushButton* btnCanc;
};
