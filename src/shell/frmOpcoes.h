#pragma once
// "Opções do Sistema": the options kept between runs, and the association of Access files with the
// program. Saving reloads the flags; closing the window without saving discards the changes.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

struct clsOpcoes;

class frmOpcoes : public QDialog {
    Q_OBJECT
public:
    // Saving reloads the options in force of `opcoes`.
    explicit frmOpcoes(clsOpcoes& opcoes, QWidget* pai = nullptr);

    // Writes the options as shown, reloads the flags and closes the window.
    void Gravar();
    // Registers the program as the opener of Access files; nothing is reported.
    void AssociarMdb();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    clsOpcoes& m_opcoes;
    void Carregar();
    QList<QCheckBox*> m_caixas; // in the order of opcoes::ChavesBooleanas
    QLineEdit* m_txtTimeOut;
    QLineEdit* m_txtLimiteLinhas;
    QLineEdit* m_txtLimiteMegabytes;
    QCheckBox* m_chkChaveiro;
    QLabel* m_lblSenhasNoArquivo;
    bool m_chaveiro = false; // whether a keyring answered when the window opened
};
