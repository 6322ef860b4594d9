#pragma once
// A SQL Agent job step: its name, the database it runs in and its T-SQL command.
#include "frmCadastroAgent.h"

class QLabel;
class QPlainTextEdit;
class clsArvore;
class clsNo;

class frmJobStepCad : public frmCadastroAgent {
    Q_OBJECT
public:
    explicit frmJobStepCad(clsArvore& arvore, QWidget* pai = nullptr);
    // Edits the step of `noJobStep` (a new step of `noJob` when null), saves it and brings the tree
    // in line: a new step node, or the step node's new name.
    void CarregarForm(clsNo* noJob, clsNo* noJobStep);

    QLabel* lblDatabase;
    QLineEdit* txtDatabase;
    QLabel* lblCommand;
    QPlainTextEdit* txtCommand;

private:
    clsArvore& m_arvore;
};
