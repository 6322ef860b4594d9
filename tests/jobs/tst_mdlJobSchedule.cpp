// The schedule's encodings, the statements the management session sends for jobs, and the job,
// step and schedule operations against the session double (and a real server when one is set).
#include "connections/mdlSqlAgent.h"
#include "jobs/clsJobSchedule.h"
#include "platform/mdlGlobais.h"
#include "servidorJobs.h"
#include "support/registroTestes.h"

#include <QTest>

Q_DECLARE_METATYPE(TempoAgenda)
Q_DECLARE_METATYPE(TelaAgendamento)

char* toString(const TempoAgenda& t) { return QTest::toString(clsSqlDmoDuble::Tempo(t)); }
char* toString(const TelaAgendamento& t)
{
    QStringList dias;
    for (bool d : t.dias)
        dias << (d ? "1" : "0");
    return QTest::toString(QStringList{t.caption,
                                       t.nome,
                                       QString::number(t.ocorre),
                                       QString::number(t.diarioCada),
                                       QString::number(t.semanalCada),
                                       dias.join(""),
                                       t.mensalDia ? "Day" : "The",
                                       QString::number(t.mensalDiaNumero),
                                       QString::number(t.mensalOrdinal),
                                       QString::number(t.mensalDiaSemana),
                                       QString::number(t.mensalCada),
                                       t.umaVez ? "Once" : "Every",
                                       t.horaUmaVez,
                                       QString::number(t.cadaIntervalo),
                                       QString::number(t.cadaUnidade),
                                       t.cadaDe,
                                       t.cadaAte,
                                       t.dataInicio,
                                       t.semFim ? "NoEnd" : "End",
                                       t.dataFim}
                               .join(" | "));
}

namespace {
TelaAgendamento Editada(const std::function<void(TelaAgendamento&)>& mudar)
{
    TelaAgendamento t;
    t.caption = "JobSchedule - Edit";
    t.nome = "Noite";
    mudar(t);
    return t;
}

// An editor that checks nothing and answers as the user did: the changes, then OK (or Cancel).
EditorAgendamento
Usuario(std::function<void(TelaAgendamento&)> mudar, bool confirmar = true, TelaAgendamento* vista = nullptr)
{
    return [=](TelaAgendamento& t) {
        if (vista)
            *vista = t;
        mudar(t);
        return confirmar;
    };
}
} // namespace

class tst_mdlJobSchedule : public QObject {
    Q_OBJECT
private slots:
    void Codificacoes_data()
    {
        QTest::addColumn<TempoAgenda>("tempo");
        QTest::addColumn<TelaAgendamento>("tela");
        QTest::addColumn<TempoAgenda>("lido");
        const TempoAgenda seg{8, 42, 0, 1, 1, 0, 20261210, 0, 83000, 0};
        QTest::newRow("Mon/Wed/Fri = 42, 08:30:00 = 83000") << seg << Editada([](TelaAgendamento& t) {
            t.dias = {true, false, true, false, true, false, false};
            t.horaUmaVez = "08:30:00";
            t.dataInicio = "10/12/2026";
        }) << seg;
        const TempoAgenda ultimo{32, 10, 16, 2, 1, 0, 20260101, 0, 0, 0};
        QTest::newRow("the Last Weekend Day of every 2 months") << ultimo << Editada([](TelaAgendamento& t) {
            t.ocorre = TelaAgendamento::Mensal;
            t.mensalDia = false;
            t.mensalOrdinal = 4;
            t.mensalDiaSemana = 9;
            t.mensalCada = 2;
            t.dataInicio = "01/01/2026";
        }) << ultimo;
        const TempoAgenda diario{4, 3, 0, 0, 8, 2, 20260101, 20261231, 60000, 180000};
        QTest::newRow("every 3 days, every 2 hours, ends on the year's last day")
            << diario << Editada([](TelaAgendamento& t) {
                   t.ocorre = TelaAgendamento::Diario;
                   t.diarioCada = 3;
                   t.umaVez = false;
                   t.cadaIntervalo = 2;
                   t.cadaDe = "06:00:00";
                   t.cadaAte = "18:00:00";
                   t.dataInicio = "01/01/2026";
                   t.semFim = false;
                   t.dataFim = "31/12/2026";
               })
            << diario;
        const TempoAgenda mensal{16, 15, 0, 3, 4, 30, 20260301, 0, 500, 235959};
        QTest::newRow("day 15 of every 3 months, every 30 minutes") << mensal << Editada([](TelaAgendamento& t) {
            t.ocorre = TelaAgendamento::Mensal;
            t.mensalDiaNumero = 15;
            t.mensalCada = 3;
            t.umaVez = false;
            t.cadaIntervalo = 30;
            t.cadaUnidade = 1;
            t.cadaDe = "00:05:00";
            t.cadaAte = "23:59:59";
            t.dataInicio = "01/03/2026";
        }) << mensal;
        const TempoAgenda semFim{8, 65, 0, 2, 1, 0, 20260101, 99991231, 0, 0};
        QTest::newRow("99991231 reads as No End Date, saved as 0") << semFim << Editada([](TelaAgendamento& t) {
            t.semanalCada = 2;
            t.dias = {false, false, false, false, false, true, true};
            t.dataInicio = "01/01/2026";
        }) << TempoAgenda{8, 65, 0, 2, 1, 0, 20260101, 0, 0, 0};
    }
    void Codificacoes()
    {
        // Both directions: the stored fields fill the dialog, and the dialog reads back as them.
        QFETCH(TempoAgenda, tempo);
        QFETCH(TelaAgendamento, tela);
        QFETCH(TempoAgenda, lido);
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsJobSchedule agenda(amb, {});
        agenda.Name = "Noite";
        agenda.DefinirTempo(tempo);
        QCOMPARE(agenda.PreencherTela(false, QDateTime::currentDateTime()), tela);
        clsJobSchedule volta(amb, {});
        volta.LerTela(tela);
        QCOMPARE(volta.Tempo(), lido);
        QCOMPARE(volta.Name, QStringLiteral("Noite"));
    }

    void AgendaNovaTemOsPadroes()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsJobSchedule agenda(amb, {});
        agenda.Name = "Backup d'Ana";
        const TelaAgendamento t = agenda.PreencherTela(true, QDateTime(QDate(2026, 12, 10), QTime(23, 30, 5)));
        TelaAgendamento esperada;
        esperada.caption = "JobSchedule - New";
        esperada.nome = "Backup d'Ana";
        esperada.dias[5] = true; // Sat
        esperada.horaUmaVez = "00:30:05";
        esperada.dataInicio = "10/12/2026";
        QCOMPARE(t, esperada);
    }

    void TextosDasInstrucoes_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("esperado");
        const QString id = "6F9619FF-8B86-D011-B42D-00C04FC964FF";
        QTest::newRow("new job")
            << sqlagent::IncluirJob("Backup d'O'Brien", "sa")
            << "SET NOCOUNT ON; DECLARE @id uniqueidentifier; EXEC msdb.dbo.sp_add_job @job_name = "
               "N'Backup d''O''Brien', @enabled = 1, @owner_login_name = N'sa', @job_id = @id OUTPUT; "
               "IF @id IS NOT NULL EXEC msdb.dbo.sp_add_jobserver @job_id = @id, @server_name = "
               "N'(local)'; SELECT CONVERT(varchar(36), @id) AS job_id";
        QTest::newRow("new job, trusted login") << sqlagent::IncluirJob("J", "")
                                                << "SET NOCOUNT ON; DECLARE @id uniqueidentifier; EXEC "
                                                   "msdb.dbo.sp_add_job @job_name = N'J', @enabled = 1, @job_id = @id "
                                                   "OUTPUT; IF @id IS NOT NULL EXEC msdb.dbo.sp_add_jobserver @job_id "
                                                   "= @id, @server_name = N'(local)'; SELECT CONVERT(varchar(36), @id) "
                                                   "AS job_id";
        QTest::newRow("rename job") << sqlagent::AlterarJob(id, "x'; DROP LOGIN sa; --", "o'dono")
                                    << "EXEC msdb.dbo.sp_update_job @job_id = N'" + id
                                           + "', @new_name = N'x''; DROP LOGIN sa; --', @enabled = 1, "
                                             "@owner_login_name = N'o''dono'";
        QTest::newRow("delete job") << sqlagent::ExcluirJob("a'b") << "EXEC msdb.dbo.sp_delete_job @job_id = N'a''b'";
        QTest::newRow("new step") << sqlagent::IncluirPasso(id, {0, "Passo 'A'", "SELECT N'x''y'", "Banco ]'"})
                                  << "SET NOCOUNT ON; EXEC msdb.dbo.sp_add_jobstep @job_id = N'" + id
                                         + "', @step_name = N'Passo ''A''', @command = N'SELECT N''x''''y''', "
                                           "@database_name = N'Banco ]''', @subsystem = N'TSQL'; SELECT MAX(step_id) "
                                           "AS step_id FROM msdb.dbo.sysjobsteps WHERE job_id = N'"
                                         + id + "'";
        QTest::newRow("step without database") << sqlagent::AlterarPasso(id, {3, "P", "PRINT 1", ""})
                                               << "EXEC msdb.dbo.sp_update_jobstep @job_id = N'" + id
                                                      + "', @step_id = 3, @step_name = N'P', @command = N'PRINT 1'";
        QTest::newRow("delete step") << sqlagent::ExcluirPasso(id, 2)
                                     << "EXEC msdb.dbo.sp_delete_jobstep @job_id = N'" + id + "', @step_id = 2";
        AgendaAgent a{"", "Toda 'noite'", true, {8, 42, 0, 1, 1, 0, 20261210, 0, 83000, 0}};
        QTest::newRow("new schedule: no end date and a once-a-day end time go as the server's defaults")
            << sqlagent::IncluirAgenda(id, a)
            << "SET NOCOUNT ON; DECLARE @id int; EXEC msdb.dbo.sp_add_jobschedule @job_id = N'" + id
                   + "', @name = N'Toda ''noite''', @enabled = 1, @freq_type = 8, @freq_interval = 42, "
                     "@freq_subday_type = 1, @freq_subday_interval = 0, @freq_relative_interval = 0, "
                     "@freq_recurrence_factor = 1, @active_start_date = 20261210, @active_end_date = 99991231, "
                     "@active_start_time = 83000, @active_end_time = 235959, @schedule_id = @id OUTPUT; SELECT @id "
                     "AS schedule_id";
        a.tempo = {32, 10, 16, 2, 8, 2, 20260101, 20261231, 60000, 180000};
        QTest::newRow("change schedule") << sqlagent::AlterarAgenda(17, a)
                                         << "EXEC msdb.dbo.sp_update_schedule @schedule_id = 17, @new_name = N'Toda "
                                            "''noite''', @enabled = 1, @freq_type = 32, @freq_interval = 10, "
                                            "@freq_subday_type = 8, @freq_subday_interval = 2, "
                                            "@freq_relative_interval = 16, @freq_recurrence_factor = 2, "
                                            "@active_start_date = 20260101, @active_end_date = 20261231, "
                                            "@active_start_time = 60000, @active_end_time = 180000";
        QTest::newRow("delete schedule") << sqlagent::ExcluirAgenda(id, 17)
                                         << "EXEC msdb.dbo.sp_detach_schedule @job_id = N'" + id
                                                + "', @schedule_id = 17, @delete_unused_schedule = 1";
        QTest::newRow("steps of a job") << sqlagent::ListarPassos("x'y")
                                        << "SELECT step_id, step_name, command, database_name FROM "
                                           "msdb.dbo.sysjobsteps WHERE job_id = N'x''y' ORDER BY step_id";
        QTest::newRow("start the Agent") << sqlagent::AlternarAgent(true)
                                         << "EXEC master.dbo.xp_servicecontrol N'START', N'SQLServerAGENT'";
        QTest::newRow("stop the Agent") << sqlagent::AlternarAgent(false)
                                        << "EXEC master.dbo.xp_servicecontrol N'STOP', N'SQLServerAGENT'";
    }
    void TextosDasInstrucoes()
    {
        QFETCH(QString, sql);
        QFETCH(QString, esperado);
        QCOMPARE(sql, esperado);
    }

    void JobPassoEAgendamento_data()
    {
        QTest::addColumn<bool>("servidorReal");
        QTest::newRow("session double") << false;
        QTest::newRow("real server") << true;
    }
    void JobPassoEAgendamento()
    {
        // A job made, two steps of one name (edits reach the first), a schedule added, edited and
        // deleted, the job renamed and deleted; names and commands with apostrophes throughout.
        QFETCH(bool, servidorReal);
        ServidorJobs s;
        PREPARAR_SERVIDOR(s, servidorReal);
        const QString nomeJob = s.NomeUnico("Job d'O'Brien");
        QString id;
        QVERIFY(SalvarJob(s.ambiente, id, nomeJob, s.connStr));
        s.jobsCriados << id;
        QVERIFY(JobNoServidor(id));
        QCOMPARE(s.NomeJob(id), nomeJob);

        int n1 = 0, n2 = 0;
        QVERIFY(SalvarJobStep(s.ambiente, id, n1, "Passo 'um'", "master", "SELECT N'x''y'", s.connStr));
        QVERIFY(SalvarJobStep(s.ambiente, id, n2, "Passo 'um'", "master", "PRINT 2", s.connStr));
        QCOMPARE(n1, 1);
        QCOMPARE(n2, 2);
        int n = 0;
        QVERIFY(SalvarJobStep(s.ambiente,
                              id,
                              n,
                              "Passo renomeado",
                              "msdb",
                              "PRINT 'três'",
                              s.connStr,
                              nullptr,
                              "Passo 'um'"));
        QCOMPARE(n, 1);
        QList<PassoAgent> passos = s.Passos(id);
        QCOMPARE(passos.size(), 2);
        QCOMPARE(passos[0].nome, QStringLiteral("Passo renomeado"));
        QCOMPARE(passos[0].comando, QStringLiteral("PRINT 'três'"));
        QCOMPARE(passos[0].banco, QStringLiteral("msdb"));
        QCOMPARE(passos[1].nome, QStringLiteral("Passo 'um'"));
        QCOMPARE(passos[1].comando, QStringLiteral("PRINT 2"));

        clsJobSchedule nova(s.ambiente, Usuario([](TelaAgendamento& t) {
                                t.dias = {true, false, true, false, true, false, false};
                                t.horaUmaVez = "08:30:00";
                                t.dataInicio = "10/12/2026";
                            }));
        nova.Name = "Agenda 'A'";
        QString agendaId;
        QVERIFY(nova.EditarDoJob(s.connStr, id, agendaId));
        QVERIFY(!agendaId.isEmpty());
        QList<AgendaAgent> agendas = s.Agendas(id);
        QCOMPARE(agendas.size(), 1);
        QCOMPARE(agendas[0].id, agendaId);
        QCOMPARE(agendas[0].nome, QStringLiteral("Agenda 'A'"));
        QCOMPARE(agendas[0].tempo.tipo, 8);
        QCOMPARE(agendas[0].tempo.intervalo, 42);
        QCOMPARE(agendas[0].tempo.horaInicio, 83000);
        QCOMPARE(agendas[0].tempo.dataInicio, 20261210);

        TelaAgendamento vista;
        clsJobSchedule editada(s.ambiente,
                               Usuario(
                                   [](TelaAgendamento& t) {
                                       t.nome = "Agenda 'B'";
                                       t.ocorre = TelaAgendamento::Mensal;
                                       t.mensalDia = false;
                                       t.mensalOrdinal = 4;
                                       t.mensalDiaSemana = 9;
                                       t.mensalCada = 2;
                                   },
                                   true,
                                   &vista));
        editada.Name = "Agenda 'A'";
        QString mesmoId = agendaId;
        QVERIFY(editada.EditarDoJob(s.connStr, id, mesmoId));
        QCOMPARE(mesmoId, agendaId);
        QCOMPARE(vista.caption, QStringLiteral("JobSchedule - Edit"));
        QCOMPARE(vista.horaUmaVez, QStringLiteral("08:30:00"));
        QVERIFY(vista.semFim);
        agendas = s.Agendas(id);
        QCOMPARE(agendas.size(), 1);
        QCOMPARE(agendas[0].nome, QStringLiteral("Agenda 'B'"));
        QCOMPARE(agendas[0].tempo.tipo, 32);
        QCOMPARE(agendas[0].tempo.intervalo, 10);
        QCOMPARE(agendas[0].tempo.relativo, 16);
        QCOMPARE(agendas[0].tempo.fator, 2);

        QVERIFY(ExcluirJobSchedule(s.ambiente, s.connStr, id, "Agenda 'B'"));
        QVERIFY(s.Agendas(id).isEmpty());
        QVERIFY(ExcluirJobStep(s.ambiente, s.connStr, id, "Passo renomeado"));
        passos = s.Passos(id);
        QCOMPARE(passos.size(), 1);
        QCOMPARE(passos[0].nome, QStringLiteral("Passo 'um'"));

        QString mesmoJob = id;
        QVERIFY(SalvarJob(s.ambiente, mesmoJob, nomeJob + " (2)", s.connStr));
        QCOMPARE(mesmoJob, id);
        QCOMPARE(s.NomeJob(id), nomeJob + " (2)");
        QVERIFY(ExcluirJob(s.ambiente, s.connStr, id));
        QVERIFY(s.NomeJob(id).isEmpty());
        QCOMPARE(s.prompt.textos(), QStringList());
        if (!servidorReal)
            QVERIFY(s.duble.chamadas.contains("sp_add_job|Job d'O'Brien|sa"));
    }

    void ErroDoServidorEMostradoENadaMuda_data()
    {
        QTest::addColumn<QString>("falha");
        QTest::newRow("new job") << "sp_add_job";
        QTest::newRow("new step") << "sp_add_jobstep";
        QTest::newRow("new schedule") << "sp_add_jobschedule";
    }
    void ErroDoServidorEMostradoENadaMuda()
    {
        QFETCH(QString, falha);
        ServidorJobs s;
        PREPARAR_SERVIDOR(s, false);
        s.duble.jobs = {{"J1", "Existente", {}, {}}};
        s.duble.falharEm = falha;
        QString id = falha == "sp_add_job" ? QString() : QStringLiteral("J1");
        bool ok = false;
        if (falha == "sp_add_job") {
            ok = SalvarJob(s.ambiente, id, "Novo", s.connStr);
        } else if (falha == "sp_add_jobstep") {
            int n = 0;
            ok = SalvarJobStep(s.ambiente, id, n, "P", "master", "PRINT 1", s.connStr);
        } else {
            clsJobSchedule a(s.ambiente, Usuario([](TelaAgendamento&) {}));
            a.Name = "A";
            QString agendaId;
            ok = a.EditarDoJob(s.connStr, id, agendaId);
            QVERIFY(agendaId.isEmpty());
        }
        QVERIFY(!ok);
        QCOMPARE(s.prompt.mensagens.size(), 1);
        QCOMPARE(s.prompt.ultima().texto, "O servidor recusou " + falha + " (falha do teste).");
        QCOMPARE(s.prompt.ultima().icone(), int(vb::Critical));
        QCOMPARE(s.prompt.ultima().titulo, globais::TituloAplicativo());
        QCOMPARE(s.duble.jobs.size(), 1);
        QVERIFY(s.duble.passosAgent.value("J1").isEmpty());
        QVERIFY(s.duble.agendasAgent.value("J1").isEmpty());
    }

    void PassosDeMesmoNome_OperacoesNoPrimeiro()
    {
        ServidorJobs s;
        PREPARAR_SERVIDOR(s, false);
        s.duble.jobs = {{"J1", "Job", {}, {}}};
        s.duble.passosAgent["J1"] = {{1, "Dup", "PRINT 1", ""}, {2, "Dup", "PRINT 2", ""}};
        QVERIFY(ExcluirJobStep(s.ambiente, s.connStr, "J1", "Dup"));
        QCOMPARE(s.duble.chamadas.last(), QStringLiteral("sp_delete_jobstep|J1|1"));
        QCOMPARE(s.duble.passosAgent["J1"].size(), 1);
        QCOMPARE(s.duble.passosAgent["J1"][0].comando, QStringLiteral("PRINT 2"));
    }

    void LoadNewCriaOJobDoChamador_data()
    {
        QTest::addColumn<bool>("confirmar");
        QTest::addColumn<bool>("servidorReal");
        QTest::newRow("confirmed, double") << true << false;
        QTest::newRow("cancelled, double") << false << false;
        QTest::newRow("confirmed, real server") << true << true;
    }
    void LoadNewCriaOJobDoChamador()
    {
        // A scheduled backup: the dialog first; only once it is confirmed the caller makes the job
        // (with its step) and the schedule goes on it.
        QFETCH(bool, confirmar);
        QFETCH(bool, servidorReal);
        ServidorJobs s;
        PREPARAR_SERVIDOR(s, servidorReal);
        const QString nome = s.NomeUnico("Backup d'Ana");
        TelaAgendamento vista;
        clsJobSchedule agenda(s.ambiente, Usuario([](TelaAgendamento&) {}, confirmar, &vista));
        QString criado;
        agenda.InitJob = [&](QString& jobId) {
            QCOMPARE(jobId, QString());
            if (SalvarJob(s.ambiente, jobId, nome, s.connStr)) {
                s.jobsCriados << jobId;
                int n = 0;
                SalvarJobStep(s.ambiente,
                              jobId,
                              n,
                              nome,
                              "master",
                              "BACKUP DATABASE [x] TO DISK = N'/tmp/x.bak'",
                              s.connStr);
            }
            criado = jobId;
        };
        QCOMPARE(agenda.LoadNew(s.connStr, nome), confirmar);
        QCOMPARE(vista.caption, QStringLiteral("JobSchedule - New"));
        QCOMPARE(vista.nome, nome);
        QCOMPARE(criado.isEmpty(), !confirmar);
        if (!confirmar)
            return;
        const QList<AgendaAgent> agendas = s.Agendas(criado);
        QCOMPARE(agendas.size(), 1);
        QCOMPARE(agendas[0].nome, nome);
        QCOMPARE(agendas[0].tempo.intervalo, 64); // Saturday
        QCOMPARE(s.Passos(criado).size(), 1);
    }

    void SemConexaoAJanelaAbreEOErroVemAoSalvar()
    {
        ServidorJobs s;
        PREPARAR_SERVIDOR(s, false);
        s.connStr = MontarConnStrSql("falha", "master", "sa", "pw", false);
        TelaAgendamento vista;
        clsJobSchedule agenda(s.ambiente, Usuario([](TelaAgendamento&) {}, true, &vista));
        agenda.Name = "A";
        QString agendaId;
        QVERIFY(!agenda.EditarDoJob(s.connStr, "J1", agendaId));
        QCOMPARE(vista.caption, QStringLiteral("JobSchedule - New"));
        QCOMPARE(s.prompt.textos(), QStringList{"Login failed for user 'sa'."});
        QCOMPARE(s.prompt.ampulheta, 0);
    }
};
QUARRIX_TESTE(tst_mdlJobSchedule);
#include "tst_mdlJobSchedule.moc"
