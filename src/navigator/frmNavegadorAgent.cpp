// The navigator's SQL Agent handlers: switching the Agent, and the jobs, steps and schedules under
// it. Each acts on the selected node when it is of the kind the handler serves.
#include "connections/clsData.h"
#include "frmNavegador.h"
#include "jobs/frmJobCad.h"
#include "jobs/frmJobScheduleCad.h"
#include "jobs/frmJobStepCad.h"
#include "jobs/mdlJobSchedule.h"
#include "navigator/mdlCatalogo.h"
#include "platform/clsPrompt.h"
#include "shell/clsAmbiente.h"

namespace {
// The selected node when it is of kind `imagem`.
clsNo* NoDoTipo(clsArvore& arvore, int imagem)
{
    clsNo* no = arvore.Selecionado();
    return no && no->Image() == imagem ? no : nullptr;
}
// Lists the Agent's jobs again under the Jobs folder.
void RecarregarJobs(clsAmbiente& ambiente, clsArvore& arvore, clsNo* pastaJobs)
{
    clsAmpulheta ampulheta(ambiente.Prompt());
    if (std::unique_ptr<clsSqlDmoSessao> sessao = AbrirSqlDmo(ambiente, pastaJobs->Tag(), true)) {
        arvore.RemoverFilhos(pastaJobs);
        CarregarJobs(arvore, *sessao, pastaJobs);
        sessao->DisConnect();
    }
}
} // namespace

void frmNavegador::AbrirObjetoAgent(clsNo* no)
{
    switch (no->Image()) {
    case img::Job: {
        frmJobCad janela(m_arvore, window());
        janela.CarregarForm(no->Parent(), no);
        break;
    }
    case img::JobStep: {
        frmJobStepCad janela(m_arvore, window());
        janela.CarregarForm(no->Parent(), no);
        break;
    }
    case img::JobSchedule: {
        clsJobSchedule agenda(m_ambiente, frmJobScheduleCad::Editor(m_ambiente.Prompt(), window()));
        LoadByNode(agenda, no->Parent(), no);
        break;
    }
    default: break;
    }
}

void frmNavegador::mnuNavAgeSwithItem_Click()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no || (no->Image() != img::AgentRodando && no->Image() != img::AgentParado))
        return;
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    const bool iniciar = no->Image() == img::AgentParado;
    if (AlternarAgent(m_ambiente, no->Tag(), iniciar))
        m_arvore.DefinirImagem(no, iniciar ? img::AgentRodando : img::AgentParado);
}

void frmNavegador::mnuNavAgeJobsRef_Click()
{
    if (clsNo* no = NoDoTipo(m_arvore, img::PastaJobs))
        RecarregarJobs(m_ambiente, m_arvore, no);
}

void frmNavegador::mnuNavAgeJobsNew_Click()
{
    if (clsNo* no = NoDoTipo(m_arvore, img::PastaJobs)) {
        frmJobCad janela(m_arvore, window());
        janela.CarregarForm(no, nullptr);
    }
}

void frmNavegador::mnuNavAgeJobStep_Click()
{
    if (clsNo* no = NoDoTipo(m_arvore, img::Job)) {
        frmJobStepCad janela(m_arvore, window());
        janela.CarregarForm(no, nullptr);
    }
}

void frmNavegador::mnuNavAgeJobSch_Click()
{
    if (clsNo* no = NoDoTipo(m_arvore, img::Job)) {
        clsJobSchedule agenda(m_ambiente, frmJobScheduleCad::Editor(m_ambiente.Prompt(), window()));
        LoadByNode(agenda, no, nullptr);
    }
}

void frmNavegador::mnuNavAgeJobDel_Click()
{
    clsNo* no = NoDoTipo(m_arvore, img::Job);
    if (!no)
        return;
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    if (ExcluirJob(m_ambiente, no->Parent()->Tag(), no->Tag()))
        m_arvore.Remover(no);
}

void frmNavegador::mnuNavAgeStepDel_Click()
{
    clsNo* no = NoDoTipo(m_arvore, img::JobStep);
    if (!no)
        return;
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    clsNo* job = no->Parent();
    if (!ExcluirJobStep(m_ambiente, job->Parent()->Tag(), job->Tag(), no->Text()))
        return;
    bool ultimo = true;
    for (const clsNo* irmao : job->Filhos())
        if (irmao->Image() == img::JobStep && irmao->Tag().toInt() > no->Tag().toInt())
            ultimo = false;
    if (ultimo) {
        m_arvore.Remover(no);
        return;
    }
    // The server numbers the steps that followed one less: their nodes are listed again.
    const QString chaveJob = job->Key();
    RecarregarJobs(m_ambiente, m_arvore, job->Parent());
    if (clsNo* mesmo = m_arvore.No(chaveJob)) {
        m_arvore.Expandir(mesmo);
        m_arvore.Selecionar(mesmo);
    }
}

void frmNavegador::mnuNavAgeSchDel_Click()
{
    clsNo* no = NoDoTipo(m_arvore, img::JobSchedule);
    if (!no)
        return;
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    clsNo* job = no->Parent();
    if (ExcluirJobSchedule(m_ambiente, job->Parent()->Tag(), job->Tag(), no->Text()))
        m_arvore.Remover(no);
}
