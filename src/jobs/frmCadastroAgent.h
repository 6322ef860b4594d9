#pragma once
// What the job, step and schedule dialogs share: the name box, "OK" and the confirmed flag. "OK"
// confirms and hides the dialog when a name was given, and otherwise says so and goes back to the
// name; closing the dialog by its window control (or Esc) leaves it unconfirmed. The caller reads
// the flag and then lets the dialog go.
#include <QDialog>

class QLineEdit;
class QPushButton;
class clsPrompt;

class frmCadastroAgent : public QDialog {
    Q_OBJECT
public:
    bool Confirmado = false;
    QLineEdit* txtName;
    QPushButton* btnConf;

protected:
    frmCadastroAgent(clsPrompt& prompt, const QString& nome, QWidget* pai);
    void closeEvent(QCloseEvent* e) override;
    void reject() override;
    // Shows the dialog modally through the prompt; true when it was confirmed.
    bool ExibirModal();
    clsPrompt& m_prompt;

private:
    void Confirmar();
};
