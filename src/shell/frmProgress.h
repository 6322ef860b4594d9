#pragma once
// "Aguarde...": the progress window of long work. Esc (or closing it) asks whether to abort; the
// caller learns the answer from the next ProgressoMove, or, for work on a worker thread that the
// window follows, from its clsProgresso.
#include <QDialog>

#include <memory>

class QProgressBar;
class QPushButton;
class QTimer;
class clsProgresso;
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
    // One step more; false once the user asked to abort.
    bool ProgressoMove();
    void ProgressoClose();
    // Follows work running on a worker thread: its stage and steps, read ten times a second, with
    // "Parar"; shown without modality.
    void Acompanhar(std::shared_ptr<clsProgresso> progresso);

public slots:
    // Esc and the close button end up here: ask instead of closing.
    void reject() override;

private:
    clsPrompt& m_prompt;
    void Atualizar();
    QProgressBar* m_pgbProgress;
    QPushButton* m_btnParar;
    QTimer* m_relogio;
    std::shared_ptr<clsProgresso> m_acompanhado;
};
