#pragma once
// The SQL Agent's jobs, steps and schedules as the windows handle them: finding them (jobs by
// identifier or name, steps and schedules by name, the first that matches), saving jobs and steps,
// deleting them and switching the Agent. Each operation takes an open management session or, when
// given none, connects one with the connection string. Errors are shown (critical, the application's
// title) and make the operation return false.
#include "connections/clsSqlDmoSessao.h"

#include <QString>
#include <memory>

class clsAmbienteDados;

// The identifier of a job that is not on the server yet.
QString IdJobNovo();
// Whether the identifier names a job on the server (not empty and not all zeros).
bool JobNoServidor(const QString& jobId);

// The first job whose identifier is `jobId` or whose name is `nomeJob`; when both are empty or
// none matches, a new job (identifier IdJobNovo(), `novo` true). False when the jobs cannot be read.
bool LocalizarJob(clsSqlDmoSessao& servidor,
                  const QString& jobId,
                  bool& novo,
                  JobAgent& job,
                  const QString& nomeJob = {});
// The first step (schedule) of the job with that name, when the name is not empty and the job is on
// the server; otherwise a new one with `novo` true. False when the job's steps cannot be read.
bool LocalizarJobStep(clsSqlDmoSessao& servidor,
                      const JobAgent& job,
                      const QString& nome,
                      bool& novo,
                      PassoAgent& passo);
bool LocalizarJobSchedule(clsSqlDmoSessao& servidor,
                          const JobAgent& job,
                          const QString& nome,
                          bool& novo,
                          AgendaAgent& agenda);

// Saves a job: a new one (jobId empty or all zeros, and no job of that name) is added, enabled and
// owned by the connection's login, on the local server; an existing one is renamed. `jobId` gets the
// job's identifier.
bool SalvarJob(clsAmbienteDados& ambiente,
               QString& jobId,
               const QString& nome,
               const QString& connStr,
               clsSqlDmoSessao* servidor = nullptr);
// Saves a step of the job: the step named `nomeNoServidor` (the first of that name) is changed;
// with that empty a new step is added at the end. `numero` gets the step's number.
bool SalvarJobStep(clsAmbienteDados& ambiente,
                   const QString& jobId,
                   int& numero,
                   const QString& nome,
                   const QString& banco,
                   const QString& comando,
                   const QString& connStr,
                   clsSqlDmoSessao* servidor = nullptr,
                   const QString& nomeNoServidor = {});

// Deletes the job, or the job's first step (schedule) with that name.
bool ExcluirJob(clsAmbienteDados& ambiente, const QString& connStr, const QString& jobId);
bool ExcluirJobStep(clsAmbienteDados& ambiente, const QString& connStr, const QString& jobId, const QString& nome);
bool ExcluirJobSchedule(clsAmbienteDados& ambiente, const QString& connStr, const QString& jobId, const QString& nome);
// Starts or stops the Agent.
bool AlternarAgent(clsAmbienteDados& ambiente, const QString& connStr, bool iniciar);
