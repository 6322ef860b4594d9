#include "mdlSqlAgent.h"

#include "platform/clsMotor.h"
#include "platform/mdlCitacao.h"

namespace sqlagent {

namespace {

QString Argumento(const char* nome, const QString& literal)
{
    return QStringLiteral(", @") + QLatin1String(nome) + QStringLiteral(" = ") + literal;
}

QString Argumento(const char* nome, int valor) { return Argumento(nome, QString::number(valor)); }

// The timing fields as the schedule procedures take them. The server refuses an end date of 0 and
// keeps 99991231 for "no end"; a schedule that runs once a day has no end time of its own and gets
// the server's default.
QString ArgumentosTempo(const TempoAgenda& t)
{
    return Argumento("freq_type", t.tipo) + Argumento("freq_interval", t.intervalo)
           + Argumento("freq_subday_type", t.subDia) + Argumento("freq_subday_interval", t.subDiaIntervalo)
           + Argumento("freq_relative_interval", t.relativo) + Argumento("freq_recurrence_factor", t.fator)
           + Argumento("active_start_date", t.dataInicio)
           + Argumento("active_end_date", t.dataFim == 0 ? 99991231 : t.dataFim)
           + Argumento("active_start_time", t.horaInicio)
           + Argumento("active_end_time", t.subDia == 1 && t.horaFim == 0 ? 235959 : t.horaFim);
}

QString DoJob(const QString& jobId) { return QStringLiteral(" WHERE job_id = ") + LiteralN(jobId); }

} // namespace

QString LiteralN(const QString& texto) { return citacao::Literal(TipoMotor::SqlServer, texto); }

QString ListarJobs()
{
    return QStringLiteral("SELECT CONVERT(varchar(36), job_id) AS job_id, name FROM msdb.dbo.sysjobs ORDER BY name");
}

QString ListarPassos(const QString& jobId)
{
    return QStringLiteral("SELECT step_id, step_name, command, database_name FROM msdb.dbo.sysjobsteps") + DoJob(jobId)
           + QStringLiteral(" ORDER BY step_id");
}

QString ListarAgendas(const QString& jobId)
{
    return QStringLiteral("SELECT s.schedule_id, s.name, s.enabled, s.freq_type, s.freq_interval, "
                          "s.freq_relative_interval, s.freq_recurrence_factor, s.freq_subday_type, "
                          "s.freq_subday_interval, s.active_start_date, s.active_end_date, s.active_start_time, "
                          "s.active_end_time FROM msdb.dbo.sysjobschedules j JOIN msdb.dbo.sysschedules s ON "
                          "s.schedule_id = j.schedule_id WHERE j.job_id = ")
           + LiteralN(jobId) + QStringLiteral(" ORDER BY s.schedule_id");
}

QString IncluirJob(const QString& nome, const QString& dono)
{
    return QStringLiteral("SET NOCOUNT ON; DECLARE @id uniqueidentifier; EXEC msdb.dbo.sp_add_job @job_name = ")
           + LiteralN(nome) + Argumento("enabled", 1)
           + (dono.isEmpty() ? QString() : Argumento("owner_login_name", LiteralN(dono)))
           + QStringLiteral(", @job_id = @id OUTPUT; IF @id IS NOT NULL EXEC msdb.dbo.sp_add_jobserver @job_id = @id, "
                            "@server_name = N'(local)'; SELECT CONVERT(varchar(36), @id) AS job_id");
}

QString AlterarJob(const QString& jobId, const QString& nome, const QString& dono)
{
    return QStringLiteral("EXEC msdb.dbo.sp_update_job @job_id = ") + LiteralN(jobId)
           + Argumento("new_name", LiteralN(nome)) + Argumento("enabled", 1)
           + (dono.isEmpty() ? QString() : Argumento("owner_login_name", LiteralN(dono)));
}

QString ExcluirJob(const QString& jobId)
{
    return QStringLiteral("EXEC msdb.dbo.sp_delete_job @job_id = ") + LiteralN(jobId);
}

namespace {
QString ArgumentosPasso(const PassoAgent& p)
{
    return Argumento("step_name", LiteralN(p.nome)) + Argumento("command", LiteralN(p.comando))
           + (p.banco.isEmpty() ? QString() : Argumento("database_name", LiteralN(p.banco)));
}
} // namespace

QString IncluirPasso(const QString& jobId, const PassoAgent& passo)
{
    return QStringLiteral("SET NOCOUNT ON; EXEC msdb.dbo.sp_add_jobstep @job_id = ") + LiteralN(jobId)
           + ArgumentosPasso(passo)
           + QStringLiteral(", @subsystem = N'TSQL'; SELECT MAX(step_id) AS step_id FROM "
                            "msdb.dbo.sysjobsteps")
           + DoJob(jobId);
}

QString AlterarPasso(const QString& jobId, const PassoAgent& passo)
{
    return QStringLiteral("EXEC msdb.dbo.sp_update_jobstep @job_id = ") + LiteralN(jobId)
           + Argumento("step_id", passo.numero) + ArgumentosPasso(passo);
}

QString ExcluirPasso(const QString& jobId, int numero)
{
    return QStringLiteral("EXEC msdb.dbo.sp_delete_jobstep @job_id = ") + LiteralN(jobId)
           + Argumento("step_id", numero);
}

QString IncluirAgenda(const QString& jobId, const AgendaAgent& agenda)
{
    return QStringLiteral("SET NOCOUNT ON; DECLARE @id int; EXEC msdb.dbo.sp_add_jobschedule @job_id = ")
           + LiteralN(jobId) + Argumento("name", LiteralN(agenda.nome)) + Argumento("enabled", agenda.habilitada)
           + ArgumentosTempo(agenda.tempo) + QStringLiteral(", @schedule_id = @id OUTPUT; SELECT @id AS schedule_id");
}

QString AlterarAgenda(int agendaId, const AgendaAgent& agenda)
{
    return QStringLiteral("EXEC msdb.dbo.sp_update_schedule @schedule_id = ") + QString::number(agendaId)
           + Argumento("new_name", LiteralN(agenda.nome)) + Argumento("enabled", agenda.habilitada)
           + ArgumentosTempo(agenda.tempo);
}

QString ExcluirAgenda(const QString& jobId, int agendaId)
{
    return QStringLiteral("EXEC msdb.dbo.sp_detach_schedule @job_id = ") + LiteralN(jobId)
           + Argumento("schedule_id", agendaId) + Argumento("delete_unused_schedule", 1);
}

QString AlternarAgent(bool iniciar)
{
    return QStringLiteral("EXEC master.dbo.xp_servicecontrol ")
           + (iniciar ? QStringLiteral("N'START'") : QStringLiteral("N'STOP'")) + QStringLiteral(", N'SQLServerAGENT'");
}

QString PlataformaServidor()
{
    return QStringLiteral("IF OBJECT_ID(N'sys.dm_os_host_info') IS NOT NULL EXEC (N'SELECT host_platform FROM "
                          "sys.dm_os_host_info') ELSE SELECT N'Windows' AS host_platform");
}

} // namespace sqlagent
