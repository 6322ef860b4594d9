#pragma once
// What the job, step and schedule dialogs share: the name box, "OK" and the confirmed flag. "OK"
// confirms and hides the dialog when a name was given, and otherwise says so and goes back to the
// name; closing the dialog by its window control (or Esc) leaves it unconfirmed. The caller reads
// the flag and then lets the dialog go.
#include <QDialog>

class QLineEdit;
class QPushButton;
class clsArvore;
class clsNo;
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

// Brings the tree in line with a saved job, step or schedule: the node of an existing one gets the
// new name; a new one gets a node under `pai` keyed by `chave` (or, when a node already has that
// key, the object was one the server had: that node gets the name).
void AtualizarNoAgent(clsArvore& arvore,
                      clsNo* existente,
                      clsNo* pai,
                      const QString& chave,
                      int imagem,
                      const QString& nome,
                      const QString& tag);
