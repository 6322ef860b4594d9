#include "frmJobCad.h"

#include "jobs/mdlJobSchedule.h"
#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsPrompt.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

frmJobCad::frmJobCad(clsArvore& arvore, QWidget* pai)
    : frmCadastroAgent(arvore.Ambiente().Prompt(), QStringLiteral("frmJobCad"), pai), m_arvore(arvore)
{
    setWindowTitle(QStringLiteral("Job"));
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Name"), txtName);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    layout->addRow(botoes);
    setMinimumWidth(360);
}

void frmJobCad::CarregarForm(clsNo* noJobs, clsNo* noJob)
{
    clsAmbienteNavegador& ambiente = m_arvore.Ambiente();
    QString jobId;
    QString connStr;
    {
        clsAmpulheta ampulheta(m_prompt);
        connStr = noJobs->Tag();
        setWindowTitle(windowTitle() + (noJob ? QStringLiteral(" - Edit") : QStringLiteral(" - New")));
        if (noJob) {
            txtName->setText(noJob->Text());
            jobId = noJob->Tag();
        }
    }
    if (!ExibirModal())
        return;
    clsAmpulheta ampulheta(m_prompt);
    const QString nome = txtName->text();
    if (!SalvarJob(ambiente, jobId, nome, connStr))
        return;
    AtualizarNoAgent(m_arvore, noJob, noJobs, noJobs->Key() + jobId, img::Job, nome, jobId);
}
