#pragma once
// The one-line name prompt: a text box, "OK" (confirms) and "Cancelar". Shown through PedirNome.
#include "shell/mdlFuncoes.h"

#include <QDialog>

class QLineEdit;

class frmGetName : public QDialog, public funcoes::clsJanelaNome {
    Q_OBJECT
public:
    explicit frmGetName(QWidget* pai = nullptr);

    bool blnConf = false; // the user pressed OK

    QObject* Dialogo() override { return this; }
    void DefinirTexto(const QString& texto) override;
    QString Texto() const override;
    bool Confirmado() const override { return blnConf; }

    // Makes PedirNome use this window; called once at start.
    static void Registrar();

private:
    QLineEdit* m_txtNome;
};
