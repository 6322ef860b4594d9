#pragma once
// A SQL Agent job: its name.
#include "frmCadastroAgent.h"

class clsArvore;
class clsNo;

class frmJobCad : public frmCadastroAgent {
    Q_OBJECT
public:
    explicit frmJobCad(clsArvore& arvore, QWidget* pai = nullptr);
    // Edits the job of `noJob` (a new job under `noJobs` when null), saves it and brings the tree in
    // line: a new job node, or the job node's new name.
    void CarregarForm(clsNo* noJobs, clsNo* noJob);

private:
    clsArvore& m_arvore;
};
