#pragma once
// "Aguarde...": the progress window of long work. Esc (or closing it) asks whether to abort; the
// caller learns the answer from the next ProgressoMove.
#include <QDialog>

class QProgressBar;
class clsPrompt;

class frmProgress : public QDialog {
    Q_OBJECT
public:
    // `prompt` asks whether to abort.
    explicit frmProgress(clsPrompt& prompt, QWidget* pai = nullptr);

    bool Continuar = true; // false once the user chose to abort

    // Range 0 to intQtde, back at 0, under the caption; shown without blocking, over frmChamador
    // when one is given.
    void ProgressoStart(int intQtde, const QString& strCaption, QWidget* frmChamador = nullptr);
    // One step more; lets pending events run; false once the user asked to abort.
    bool ProgressoMove();
    void ProgressoClose();

public slots:
    // Esc and the close button end up here: ask instead of closing.
    void reject() override;

private:
    clsPrompt& m_prompt;
    QProgressBar* m_pgbProgress;
};
