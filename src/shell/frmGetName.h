#pragma once
// The one-line name prompt: a text box, "OK" (confirms) and "Cancelar". Shown by the prompt
// interface's PedirNome.

#include <QDialog>

class QLineEdit;

class frmGetName : public QDialog {
    Q_OBJECT
public:
    explicit frmGetName(QWidget* pai = nullptr);

    bool blnConf = false; // the user pressed OK

    void DefinirTexto(const QString& texto);
    QString Texto() const;

private:
    QLineEdit* m_txtNome;
};
