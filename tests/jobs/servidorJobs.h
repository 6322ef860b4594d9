#pragma once
// The server the job tests work on: the management-session double always, and a real SQL Server
// when QUARRIX_SQLSERVER_CONNSTR holds its connection string (the row skips otherwise). Jobs made
// on a real server carry a unique name and are deleted when the test ends.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "jobs/mdlJobSchedule.h"
#include "support/clsPromptRoteiro.h"
#include "support/clsSqlDmoDuble.h"

#include <QTest>
#include <QUuid>

struct ServidorJobs {
    clsPromptRoteiro prompt;
    clsAmbienteDados ambiente{prompt};
    ServidorDuble duble;
    QString connStr;
    bool real = false;
    QStringList jobsCriados; // deleted at the end on a real server

    // False (the test skips) for a real server when none is configured.
    bool Preparar(bool servidorReal)
    {
        real = servidorReal;
        if (!real) {
            ambiente.fabricaSqlDmo = duble.Fabrica();
            connStr = MontarConnStrSql("SRV", "master", "sa", "pw", false);
            return true;
        }
        connStr = qEnvironmentVariable("QUARRIX_SQLSERVER_CONNSTR");
        return !connStr.isEmpty();
    }
    // A job name no other run uses, with an apostrophe in it.
    QString NomeUnico(const QString& base) const
    {
        return real ? base + QStringLiteral(" ") + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8) : base;
    }
    std::unique_ptr<clsSqlDmoSessao> Sessao() { return AbrirSqlDmo(ambiente, connStr, false); }
    QList<PassoAgent> Passos(const QString& jobId)
    {
        QList<PassoAgent> p;
        if (auto s = Sessao())
            s->ListarPassos(jobId, p);
        return p;
    }
    QList<AgendaAgent> Agendas(const QString& jobId)
    {
        QList<AgendaAgent> a;
        if (auto s = Sessao())
            s->ListarAgendas(jobId, a);
        return a;
    }
    QString NomeJob(const QString& jobId)
    {
        QList<JobAgent> jobs;
        if (auto s = Sessao(); s && s->ListarJobs(jobs))
            for (const JobAgent& j : jobs)
                if (j.id.compare(jobId, Qt::CaseInsensitive) == 0)
                    return j.nome;
        return {};
    }
    ~ServidorJobs()
    {
        if (real)
            if (auto s = Sessao())
                for (const QString& id : jobsCriados)
                    s->ExcluirJob(id);
    }
};

#define PREPARAR_SERVIDOR(s, servidorReal)                                                                             \
    if (!(s).Preparar(servidorReal))                                                                                   \
    QSKIP("QUARRIX_SQLSERVER_CONNSTR not set: no real SQL Server to run against")
