// The job, step and schedule dialogs, opened from the navigator's Agent nodes and menus, run
// headless against the management-session double: what they show, what they save, and how the
// tree follows.
#include "connections/clsData.h"
#include "jobs/frmJobCad.h"
#include "jobs/frmJobScheduleCad.h"
#include "jobs/frmJobStepCad.h"
#include "navigator/frmNavegador.h"
#include "navigator/mdlCatalogo.h"
#include "platform/mdlGlobais.h"
#include "shell/clsAmbiente.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/clsSqlDmoDuble.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"
#include "support/usuarioModal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace {

// The scripted prompt, with dialogs shown for real (exec) so a UsuarioModal works them.
class PromptModal : public clsPromptRoteiro {
public:
    int ExibirModal(QObject* dialogo) override { return qobject_cast<QDialog*>(dialogo)->exec(); }
};

// A connected server whose Agent has one job ("Backup d'Ana") with two steps of one name and a
// schedule, in the navigator pane.
struct Cenario {
    SettingsTemporarios settings;
    PromptModal prompt;
    clsAmbiente ambiente{prompt};
    ServidorDuble servidor;
    frmNavegador navegador{ambiente};
    const QString tag = MontarConnStrSql("SRV", "master", "sa", "pw", false);
    const QString id = "00000001-0000-0000-0000-000000000000";
    clsNo* jobs = nullptr;
    Cenario()
    {
        ambiente.fabricaSqlDmo = servidor.Fabrica();
        servidor.proximoNumero = 10;
        servidor.jobs = {{id, "Backup d'Ana", {}, {}}};
        servidor.passosAgent[id] = {{1, "Copiar", "BACKUP DATABASE [a] TO DISK = N'/b/a.bak'", "master"},
                                    {2, "Copiar", "PRINT 'segundo'", "msdb"}};
        servidor.agendasAgent[id] = {{"7", "Noite", true, {8, 42, 0, 1, 1, 0, 20261210, 0, 83000, 0}}};
        servidor.Sincronizar(id);
        clsArvore& a = Arvore();
        IncluirNode(a, "SRV", "dbSRV", {}, img::SqlServerConectado, tag);
        IncluirNode(a, QStringLiteral("Manutenções"), "dbSRVman", "dbSRV", img::Manutencoes, tag);
        IncluirNode(a, "Agent", "dbSRVmanAge", "dbSRVman", img::AgentParado, tag);
        jobs = IncluirNode(a, "Jobs", "dbSRVmanAgeJob", "dbSRVmanAge", img::PastaJobs, tag);
        auto sessao = ambiente.CriarSqlDmoSessao();
        CarregarJobs(a, *sessao, jobs);
        navegador.resize(300, 400);
        navegador.show();
    }
    clsArvore& Arvore() { return navegador.Arvore(); }
    clsNo* Job() { return Arvore().No("dbSRVmanAgeJob" + id); }
    QStringList Filhos(clsNo* no)
    {
        QStringList r;
        for (clsNo* f : no->Filhos())
            r << f->Text();
        return r;
    }
    void Abrir(clsNo* no)
    {
        Arvore().Selecionar(no);
        navegador.ChamarDuploClique();
    }
};

// Closes a dialog the scripted user left open (a failed check returns early).
auto Fechar(QDialog* j)
{
    return qScopeGuard([j] {
        if (j->isVisible())
            j->reject();
    });
}

template <typename W> W* Filho(QWidget* j, const char* nome) { return j->findChild<W*>(QLatin1String(nome)); }

} // namespace

class tst_frmJobCad : public QObject {
    Q_OBJECT
private slots:
    void NovoJobPeloMenu_NomeVazioERepetido()
    {
        Cenario c;
        QString caption;
        UsuarioModal<frmJobCad> usuario([&](frmJobCad* j) {
            const auto fechar = Fechar(j);
            caption = j->windowTitle();
            CapturarJanela(j, "frmJobCad-novo");
            j->btnConf->click(); // empty: refused, the dialog stays
            QVERIFY(j->isVisible());
            j->txtName->setText("Limpeza 'semanal'");
            j->btnConf->click();
        });
        c.Arvore().Selecionar(c.jobs);
        c.navegador.mnuNavAgeJobsNew_Click();
        QCOMPARE(caption, QStringLiteral("Job - New"));
        QCOMPARE(c.prompt.mensagens.size(), 1);
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("Name Connot be Empty"));
        QCOMPARE(c.prompt.ultima().icone(), int(vb::Information));
        QCOMPARE(c.prompt.ultima().titulo, globais::TituloAplicativo());
        QCOMPARE(c.servidor.jobs.size(), 2);
        const JobAgent novo = c.servidor.jobs.last();
        QCOMPARE(novo.nome, QStringLiteral("Limpeza 'semanal'"));
        QVERIFY(c.servidor.chamadas.contains("sp_add_job|Limpeza 'semanal'|sa"));
        clsNo* no = c.Arvore().No("dbSRVmanAgeJob" + novo.id);
        QVERIFY(no);
        QCOMPARE(no->Image(), int(img::Job));
        QCOMPARE(no->Tag(), novo.id);
        QCOMPARE(no->Parent(), c.jobs);
    }

    void NovoJobDeNomeExistenteEOMesmoJob()
    {
        // Jobs are found by name too: a "new" job named as one on the server is that job, and its
        // node stays the only one.
        Cenario c;
        UsuarioModal<frmJobCad> usuario([&](frmJobCad* j) {
            const auto fechar = Fechar(j);
            j->txtName->setText("Backup d'Ana");
            j->btnConf->click();
        });
        c.Arvore().Selecionar(c.jobs);
        c.navegador.mnuNavAgeJobsNew_Click();
        QCOMPARE(c.servidor.jobs.size(), 1);
        QCOMPARE(c.servidor.chamadas.last(), "sp_update_job|" + c.id + "|Backup d'Ana|sa");
        QCOMPARE(c.Filhos(c.jobs), QStringList{"Backup d'Ana"});
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    void FecharPeloControleDaJanelaNaoSalva_data()
    {
        QTest::addColumn<int>("imagem");
        QTest::newRow("job") << int(img::Job);
        QTest::newRow("step") << int(img::JobStep);
        QTest::newRow("schedule") << int(img::JobSchedule);
    }
    void FecharPeloControleDaJanelaNaoSalva()
    {
        QFETCH(int, imagem);
        Cenario c;
        bool vivaAoFechar = false;
        UsuarioModal<frmCadastroAgent> usuario([&](frmCadastroAgent* j) {
            const auto fechar = Fechar(j);
            j->txtName->setText("Outro");
            QPointer<frmCadastroAgent> guarda(j);
            j->close();
            QCoreApplication::processEvents();
            vivaAoFechar = !guarda.isNull();
        });
        clsNo* no = imagem == img::Job       ? c.Job()
                    : imagem == img::JobStep ? c.Job()->Child()
                                             : c.Arvore().No("dbSRVmanAgeJob" + c.id + "Sch7");
        c.Abrir(no);
        QVERIFY(vivaAoFechar);
        QVERIFY(c.prompt.mensagens.isEmpty());
        for (const QString& chamada : c.servidor.chamadas)
            QVERIFY2(!chamada.startsWith("sp_"), qPrintable(chamada));
        QCOMPARE(c.Filhos(c.Job()), (QStringList{"Copiar", "Copiar", "Noite"}));
        QCOMPARE(c.Job()->Text(), QStringLiteral("Backup d'Ana"));
    }

    void RenomearJobMudaSoOTexto()
    {
        Cenario c;
        UsuarioModal<frmJobCad> usuario([&](frmJobCad* j) {
            const auto fechar = Fechar(j);
            QCOMPARE(j->windowTitle(), QStringLiteral("Job - Edit"));
            QCOMPARE(j->txtName->text(), QStringLiteral("Backup d'Ana"));
            CapturarJanela(j, "frmJobCad-editar");
            j->txtName->setText("Backup d'Ana (diário)");
            j->btnConf->click();
        });
        const QString chave = c.Job()->Key();
        c.Abrir(c.Job());
        clsNo* no = c.Arvore().No(chave);
        QVERIFY(no);
        QCOMPARE(no->Text(), QStringLiteral("Backup d'Ana (diário)"));
        QCOMPARE(no->Tag(), c.id);
        QCOMPARE(c.servidor.jobs.size(), 1);
        QCOMPARE(c.servidor.jobs[0].nome, QStringLiteral("Backup d'Ana (diário)"));
        QVERIFY(c.servidor.chamadas.contains("sp_update_job|" + c.id + "|Backup d'Ana (diário)|sa"));
    }

    void EditarPassoDeNomeRepetidoEditaOPrimeiro()
    {
        Cenario c;
        UsuarioModal<frmJobStepCad> usuario([&](frmJobStepCad* j) {
            const auto fechar = Fechar(j);
            QCOMPARE(j->windowTitle(), QStringLiteral("JobStep - Edit"));
            QCOMPARE(j->txtName->text(), QStringLiteral("Copiar"));
            QCOMPARE(j->txtDatabase->text(), QStringLiteral("master"));
            QCOMPARE(j->txtCommand->toPlainText(), QStringLiteral("BACKUP DATABASE [a] TO DISK = N'/b/a.bak'"));
            QCOMPARE(j->lblDatabase->text(), QStringLiteral("Database"));
            QCOMPARE(j->lblCommand->text(), QStringLiteral("Command"));
            CapturarJanela(j, "frmJobStepCad-editar");
            j->txtName->setText("Copiar 'tudo'");
            j->txtCommand->setPlainText("PRINT N'um''dois'");
            j->btnConf->click();
        });
        // The second node of that name: the design finds steps by name, so the first is edited.
        clsNo* segundo = c.Job()->Filhos().at(1);
        c.Abrir(segundo);
        const QList<PassoAgent> passos = c.servidor.passosAgent[c.id];
        QCOMPARE(passos[0].nome, QStringLiteral("Copiar 'tudo'"));
        QCOMPARE(passos[0].comando, QStringLiteral("PRINT N'um''dois'"));
        QCOMPARE(passos[1].comando, QStringLiteral("PRINT 'segundo'"));
        QCOMPARE(segundo->Text(), QStringLiteral("Copiar 'tudo'"));
    }

    void NovoPassoPeloMenu()
    {
        Cenario c;
        UsuarioModal<frmJobStepCad> usuario([&](frmJobStepCad* j) {
            const auto fechar = Fechar(j);
            QCOMPARE(j->windowTitle(), QStringLiteral("JobStep - New"));
            QVERIFY(j->txtCommand->toPlainText().isEmpty());
            j->txtName->setText("Verificar");
            j->txtDatabase->setText("loja");
            j->txtCommand->setPlainText("DBCC CHECKDB (N'loja')");
            CapturarJanela(j, "frmJobStepCad-novo");
            j->btnConf->click();
        });
        c.Arvore().Selecionar(c.Job());
        c.navegador.mnuNavAgeJobStep_Click();
        clsNo* no = c.Arvore().No("dbSRVmanAgeJob" + c.id + "Ste3");
        QVERIFY(no);
        QCOMPARE(no->Text(), QStringLiteral("Verificar"));
        QCOMPARE(no->Tag(), QStringLiteral("3"));
        QCOMPARE(no->Image(), int(img::JobStep));
        QCOMPARE(c.servidor.passosAgent[c.id].last().banco, QStringLiteral("loja"));
    }

    void ErroAoSalvarDeixaAArvoreComoEstava()
    {
        Cenario c;
        c.servidor.falharEm = "sp_add_jobstep";
        UsuarioModal<frmJobStepCad> usuario([&](frmJobStepCad* j) {
            const auto fechar = Fechar(j);
            j->txtName->setText("Verificar");
            j->btnConf->click();
        });
        c.Arvore().Selecionar(c.Job());
        c.navegador.mnuNavAgeJobStep_Click();
        QCOMPARE(c.prompt.textos(), QStringList{"O servidor recusou sp_add_jobstep (falha do teste)."});
        QCOMPARE(c.prompt.ultima().icone(), int(vb::Critical));
        QCOMPARE(c.Filhos(c.Job()), (QStringList{"Copiar", "Copiar", "Noite"}));
    }

    void AgendamentoNovo_EstadoInicialEUltimoFimDeSemana()
    {
        Cenario c;
        UsuarioModal<frmJobScheduleCad> usuario([&](frmJobScheduleCad* j) {
            const auto fechar = Fechar(j);
            QCOMPARE(j->windowTitle(), QStringLiteral("JobSchedule - New"));
            QVERIFY(j->optOcuWeekly->isChecked());
            QVERIFY(j->fraWeekly->isVisible());
            QVERIFY(!j->fraDaily->isVisible());
            QVERIFY(!j->fraMonthly->isVisible());
            const QPoint lugar = j->fraWeekly->pos();
            QVERIFY(j->chkWekSat->isChecked());
            QVERIFY(!j->chkWekMon->isChecked());
            QVERIFY(j->optDailyFreqOnce->isChecked());
            QVERIFY(j->txtDailyFreqOnce->isEnabled());
            QVERIFY(!j->txtDailyFreqEveryFrom->isEnabled());
            QCOMPARE(j->txtDailyFreqEveryTo->text(), QStringLiteral("23:59:59"));
            QVERIFY(j->optDurationEndNo->isChecked());
            QVERIFY(!j->txtDurationEnd->isEnabled());
            QCOMPARE(j->txtDurationStart->text(), QDate::currentDate().toString("dd/MM/yyyy"));
            CapturarJanela(j, "frmJobScheduleCad-novo");
            j->txtName->setText("Fim de 'mês'");
            j->optOcuDaily->setChecked(true);
            QVERIFY(j->fraDaily->isVisible());
            QVERIFY(!j->fraWeekly->isVisible());
            CapturarJanela(j, "frmJobScheduleCad-diario");
            j->optOcuMonthly->setChecked(true);
            QVERIFY(j->fraMonthly->isVisible());
            QVERIFY(!j->fraWeekly->isVisible());
            j->layout()->activate();
            QCOMPARE(j->fraMonthly->pos(), lugar);
            QVERIFY(!j->cmbMonthlyThe->isEnabled());
            j->optMonthlyThe->setChecked(true);
            QVERIFY(j->cmbMonthlyThe->isEnabled());
            QVERIFY(!j->scrMonthlyDay->isEnabled());
            j->cmbMonthlyThe->setCurrentIndex(4);
            j->cmbMonthlyTheWeek->setCurrentIndex(9);
            j->scrMonthlyEvery->setValue(2);
            QCOMPARE(j->txtMonthlyEvery->text(), QStringLiteral("2"));
            j->optDailyFreqEvery->setChecked(true);
            QVERIFY(!j->txtDailyFreqOnce->isEnabled());
            j->scrDailyFreqEvery->setValue(30);
            QCOMPARE(j->txtDailyFreqEvery->text(), QStringLiteral("30"));
            j->cmbDailyFreqEvery->setCurrentIndex(1);
            j->txtDailyFreqEveryFrom->setText("08:00:00");
            j->txtDailyFreqEveryTo->setText("18:30:00");
            j->txtDurationStart->setText("01/01/2027");
            j->optDurationEnd->setChecked(true);
            QVERIFY(j->txtDurationEnd->isEnabled());
            j->txtDurationEnd->setText("31/12/2027");
            CapturarJanela(j, "frmJobScheduleCad-mensal");
            j->btnConf->click();
        });
        c.Arvore().Selecionar(c.Job());
        c.navegador.mnuNavAgeJobSch_Click();
        const QList<AgendaAgent> agendas = c.servidor.agendasAgent[c.id];
        QCOMPARE(agendas.size(), 2);
        QCOMPARE(agendas[1].nome, QStringLiteral("Fim de 'mês'"));
        QCOMPARE(agendas[1].tempo, (TempoAgenda{32, 10, 16, 2, 4, 30, 20270101, 20271231, 80000, 183000}));
        clsNo* no = c.Arvore().No("dbSRVmanAgeJob" + c.id + "Sch" + agendas[1].id);
        QVERIFY(no);
        QCOMPARE(no->Text(), QStringLiteral("Fim de 'mês'"));
        QCOMPARE(no->Image(), int(img::JobSchedule));
    }

    void AgendamentoExistenteAbreComSeusCampos()
    {
        Cenario c;
        UsuarioModal<frmJobScheduleCad> usuario([&](frmJobScheduleCad* j) {
            const auto fechar = Fechar(j);
            QCOMPARE(j->windowTitle(), QStringLiteral("JobSchedule - Edit"));
            QCOMPARE(j->txtName->text(), QStringLiteral("Noite"));
            QVERIFY(j->optOcuWeekly->isChecked());
            QVERIFY(j->chkWekMon->isChecked() && j->chkWekWed->isChecked() && j->chkWekFri->isChecked());
            QVERIFY(!j->chkWekSat->isChecked() && !j->chkWekSun->isChecked() && !j->chkWekTue->isChecked());
            QCOMPARE(j->txtDailyFreqOnce->text(), QStringLiteral("08:30:00"));
            QCOMPARE(j->txtDurationStart->text(), QStringLiteral("10/12/2026"));
            CapturarJanela(j, "frmJobScheduleCad-editar");
            j->chkWekSat->setChecked(true);
            j->btnConf->click();
        });
        clsNo* no = c.Arvore().No("dbSRVmanAgeJob" + c.id + "Sch7");
        c.Abrir(no);
        QCOMPARE(c.servidor.agendasAgent[c.id][0].tempo.intervalo, 42 + 64);
        QVERIFY(c.servidor.chamadas.contains("sp_update_schedule|7|Noite|8,106,0,1,1,0,20261210,0,83000,0"));
    }

    void ExcluirPeloMenuSemPerguntar()
    {
        Cenario c;
        c.Arvore().Selecionar(c.Arvore().No("dbSRVmanAgeJob" + c.id + "Sch7"));
        c.navegador.mnuNavAgeSchDel_Click();
        QVERIFY(c.servidor.agendasAgent[c.id].isEmpty());
        // The first of two steps goes: the one after it is numbered one less, and listed so.
        c.Arvore().Selecionar(c.Job()->Child());
        c.navegador.mnuNavAgeStepDel_Click();
        QCOMPARE(c.servidor.passosAgent[c.id].size(), 1);
        QCOMPARE(c.servidor.passosAgent[c.id][0].comando, QStringLiteral("PRINT 'segundo'"));
        QCOMPARE(c.Filhos(c.Job()), QStringList{"Copiar"});
        QCOMPARE(c.Job()->Child()->Key(), "dbSRVmanAgeJob" + c.id + "Ste1");
        c.Arvore().Selecionar(c.Job());
        c.navegador.mnuNavAgeJobDel_Click();
        QVERIFY(c.servidor.jobs.isEmpty());
        QCOMPARE(c.jobs->Children(), 0);
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    void AlternarAgent_data()
    {
        QTest::addColumn<bool>("alternavel");
        QTest::addColumn<int>("imagemFinal");
        QTest::newRow("starts") << true << int(img::AgentRodando);
        QTest::newRow("the server refuses") << false << int(img::AgentParado);
    }
    void AlternarAgent()
    {
        QFETCH(bool, alternavel);
        QFETCH(int, imagemFinal);
        Cenario c;
        c.servidor.agentAlternavel = alternavel;
        clsNo* agent = c.Arvore().No("dbSRVmanAge");
        c.Arvore().Selecionar(agent);
        c.navegador.mnuNavAgeSwithItem_Click();
        QCOMPARE(agent->Image(), imagemFinal);
        QCOMPARE(c.servidor.chamadas.last(), QStringLiteral("xp_servicecontrol START"));
        QCOMPARE(c.prompt.textos(), alternavel ? QStringList() : QStringList{"xp_servicecontrol falhou."});
    }

    void RefreshListaOsJobsDeNovo()
    {
        Cenario c;
        c.servidor.jobs.append({"X2", "Outro", {{1, "P"}}, {}});
        c.Arvore().Selecionar(c.jobs);
        c.navegador.mnuNavAgeJobsRef_Click();
        QCOMPARE(c.Filhos(c.jobs), (QStringList{"Backup d'Ana", "Outro"}));
        QCOMPARE(c.Filhos(c.Arvore().No("dbSRVmanAgeJobX2")), QStringList{"P"});
    }
};
QUARRIX_TESTE(tst_frmJobCad);
#include "tst_frmJobCad.moc"
