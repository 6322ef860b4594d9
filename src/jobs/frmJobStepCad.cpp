#include "frmJobStepCad.h"

#include "connections/clsData.h"
#include "jobs/mdlJobSchedule.h"
#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsPrompt.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

frmJobStepCad::frmJobStepCad(clsArvore& arvore, QWidget* pai)
    : frmCadastroAgent(arvore.Ambiente().Prompt(), QStringLiteral("frmJobStepCad"), pai), m_arvore(arvore)
{
    setWindowTitle(QStringLiteral("JobStep"));
    auto* lblName = new QLabel(QStringLiteral("Name"), this);
    lblName->setObjectName(QStringLiteral("lblName"));
    lblDatabase = new QLabel(QStringLiteral("Database"), this);
    lblDatabase->setObjectName(QStringLiteral("lblDatabase"));
    txtDatabase = new QLineEdit(this);
    txtDatabase->setObjectName(QStringLiteral("txtDatabase"));
    lblCommand = new QLabel(QStringLiteral("Command"), this);
    lblCommand->setObjectName(QStringLiteral("lblCommand"));
    txtCommand = new QPlainTextEdit(this);
    txtCommand->setObjectName(QStringLiteral("txtCommand"));
    txtCommand->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtCommand->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtCommand->setTabChangesFocus(true);

    auto* grade = new QGridLayout(this);
    grade->addWidget(lblName, 0, 0);
    grade->addWidget(txtName, 0, 1);
    grade->addWidget(lblDatabase, 1, 0);
    grade->addWidget(txtDatabase, 1, 1);
    grade->addWidget(lblCommand, 2, 0, Qt::AlignTop);
    grade->addWidget(txtCommand, 2, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    grade->addLayout(botoes, 3, 0, 1, 2);
    resize(520, 360);
}

void frmJobStepCad::CarregarForm(clsNo* noJob, clsNo* noJobStep)
{
    clsAmbienteNavegador& ambiente = m_arvore.Ambiente();
    const QString connStr = noJob->Parent()->Tag();
    const QString jobId = noJob->Tag();
    int numero = 0;
    QString nomeNoServidor;
    std::unique_ptr<clsSqlDmoSessao> servidor;
    {
        clsAmpulheta ampulheta(m_prompt);
        setWindowTitle(windowTitle() + (noJobStep ? QStringLiteral(" - Edit") : QStringLiteral(" - New")));
        if (noJobStep) {
            nomeNoServidor = noJobStep->Text();
            txtName->setText(nomeNoServidor);
            numero = noJobStep->Tag().toInt();
            // What the step runs; a step that cannot be read leaves the boxes empty.
            servidor = AbrirSqlDmo(ambiente, connStr, false);
            bool jobNovo = true, novo = true;
            JobAgent job;
            PassoAgent passo;
            if (servidor && LocalizarJob(*servidor, jobId, jobNovo, job)
                && LocalizarJobStep(*servidor, job, nomeNoServidor, novo, passo) && !novo) {
                txtCommand->setPlainText(passo.comando);
                txtDatabase->setText(passo.banco);
            }
        }
    }
    if (!ExibirModal())
        return;
    clsAmpulheta ampulheta(m_prompt);
    const QString nome = txtName->text();
    if (!SalvarJobStep(ambiente,
                       jobId,
                       numero,
                       nome,
                       txtDatabase->text(),
                       txtCommand->toPlainText(),
                       connStr,
                       servidor.get(),
                       nomeNoServidor))
        return;
    const QString passo = QString::number(numero);
    AtualizarNoAgent(m_arvore,
                     noJobStep,
                     noJob,
                     noJob->Key() + QStringLiteral("Ste") + passo,
                     img::JobStep,
                     nome,
                     passo);
}
