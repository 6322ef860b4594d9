#pragma once
// The T-SQL the management session sends for the SQL Agent's jobs, steps and schedules: msdb's
// procedures and tables. Every name, command and identifier goes in as an N'…' literal with its
// apostrophes doubled; numbers as numbers.
#include "clsSqlDmoAgent.h"

#include <QString>

namespace sqlagent {

// N'…' with every ' doubled.
QString LiteralN(const QString& texto);

// job_id (as text) and name of every job, by name.
QString ListarJobs();
// step_id, step_name, command, database_name of the job's steps, by number.
QString ListarPassos(const QString& jobId);
// schedule_id, name, enabled and the ten timing fields of the job's schedules, in order of creation.
QString ListarAgendas(const QString& jobId);

// Adds an enabled job (owned by `dono`, the current login when empty), targets it at the local
// server and selects its new job_id.
QString IncluirJob(const QString& nome, const QString& dono);
QString AlterarJob(const QString& jobId, const QString& nome, const QString& dono);
QString ExcluirJob(const QString& jobId);

// Adds a T-SQL step at the end of the job and selects the number of the job's last step.
QString IncluirPasso(const QString& jobId, const PassoAgent& passo);
QString AlterarPasso(const QString& jobId, const PassoAgent& passo);
QString ExcluirPasso(const QString& jobId, int numero);

// Adds a schedule to the job and selects its new schedule_id.
QString IncluirAgenda(const QString& jobId, const AgendaAgent& agenda);
QString AlterarAgenda(int agendaId, const AgendaAgent& agenda);
// Detaches the schedule from the job and deletes it when no other job uses it.
QString ExcluirAgenda(const QString& jobId, int agendaId);

// Starts or stops the Agent's service.
QString AlternarAgent(bool iniciar);
// The platform the server runs on ("Windows", "Linux"); "Windows" on servers that predate the
// question.
QString PlataformaServidor();

} // namespace sqlagent
