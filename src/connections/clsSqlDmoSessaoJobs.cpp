// The management session's SQL Agent operations: msdb's procedures and tables over the session's
// own connection.
#include "clsSqlDmoSessaoOdbc.h"
#include "mdlSqlAgent.h"
#include "platform/clsMotor.h"

namespace {
// A schedule identifier as the procedures take it: a number.
bool NumeroAgenda(const QString& id, int& numero)
{
    bool ok = false;
    numero = id.trimmed().toInt(&ok);
    return ok;
}
} // namespace

bool clsSqlDmoSessaoOdbc::ExecutarAgent(const QString& sql)
{
    if (!Conectado())
        return Falhar(ado::ErrSemConexao, QStringLiteral("A sessão não está conectada ao servidor."));
    if (!motor->Executar(sql, nullptr, 1, nullptr))
        return Falhar(motor->Erro().numero, motor->Erro().descricao);
    return true;
}

bool clsSqlDmoSessaoOdbc::ValorAgent(const QString& sql, QVariant& valor)
{
    RecordsetPtr rs;
    if (!Consultar(sql, rs))
        return false;
    rs->MoveFirst();
    valor = rs->Eof() ? QVariant() : rs->Valor(0);
    return true;
}

bool clsSqlDmoSessaoOdbc::AlternarAgent(bool iniciar)
{
    QVariant plataforma;
    if (ValorAgent(sqlagent::PlataformaServidor(), plataforma)
        && plataforma.toString().compare(QStringLiteral("Linux"), Qt::CaseInsensitive) == 0)
        return Falhar(ado::ErrProprio,
                      QStringLiteral("Este servidor roda em Linux: o SQL Agent não é iniciado nem parado por aqui, "
                                     "mas pela configuração do servidor (mssql-conf set sqlagent.enabled true ou "
                                     "false, e o serviço reiniciado)."));
    if (ExecutarAgent(sqlagent::AlternarAgent(iniciar)))
        return true;
    return Falhar(erro.numero,
                  QStringLiteral("O servidor não permitiu ")
                      + (iniciar ? QStringLiteral("iniciar") : QStringLiteral("parar"))
                      + QStringLiteral(" o SQL Agent por aqui:\n") + erro.descricao);
}

bool clsSqlDmoSessaoOdbc::ListarJobs(QList<JobAgent>& jobs)
{
    jobs.clear();
    RecordsetPtr rs;
    if (!Consultar(sqlagent::ListarJobs(), rs))
        return false;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        jobs.append({rs->Valor(0).toString(), rs->Valor(1).toString(), {}, {}});
    return true;
}

bool clsSqlDmoSessaoOdbc::ListarPassos(const QString& jobId, QList<PassoAgent>& passos)
{
    passos.clear();
    RecordsetPtr rs;
    if (!Consultar(sqlagent::ListarPassos(jobId), rs))
        return false;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        passos.append(
            {rs->Valor(0).toInt(), rs->Valor(1).toString(), rs->Valor(2).toString(), rs->Valor(3).toString()});
    return true;
}

bool clsSqlDmoSessaoOdbc::ListarAgendas(const QString& jobId, QList<AgendaAgent>& agendas)
{
    agendas.clear();
    RecordsetPtr rs;
    if (!Consultar(sqlagent::ListarAgendas(jobId), rs))
        return false;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        AgendaAgent a;
        a.id = rs->Valor(0).toString();
        a.nome = rs->Valor(1).toString();
        a.habilitada = rs->Valor(2).toInt() != 0;
        int* campos[] = {&a.tempo.tipo,
                         &a.tempo.intervalo,
                         &a.tempo.relativo,
                         &a.tempo.fator,
                         &a.tempo.subDia,
                         &a.tempo.subDiaIntervalo,
                         &a.tempo.dataInicio,
                         &a.tempo.dataFim,
                         &a.tempo.horaInicio,
                         &a.tempo.horaFim};
        for (int i = 0; i < 10; ++i)
            *campos[i] = rs->Valor(3 + i).toInt();
        agendas.append(a);
    }
    return true;
}

bool clsSqlDmoSessaoOdbc::IncluirJob(const QString& nomeJob, const QString& dono, QString& jobId)
{
    QVariant id;
    if (!ValorAgent(sqlagent::IncluirJob(nomeJob, dono), id))
        return false;
    jobId = id.toString();
    return !jobId.isEmpty() || Falhar(ado::ErrProprio, QStringLiteral("O servidor não criou o job."));
}

bool clsSqlDmoSessaoOdbc::AlterarJob(const QString& jobId, const QString& nomeJob, const QString& dono)
{
    return ExecutarAgent(sqlagent::AlterarJob(jobId, nomeJob, dono));
}

bool clsSqlDmoSessaoOdbc::ExcluirJob(const QString& jobId) { return ExecutarAgent(sqlagent::ExcluirJob(jobId)); }

bool clsSqlDmoSessaoOdbc::IncluirPasso(const QString& jobId, const PassoAgent& passo, int& numero)
{
    QVariant n;
    if (!ValorAgent(sqlagent::IncluirPasso(jobId, passo), n))
        return false;
    numero = n.toInt();
    return numero > 0 || Falhar(ado::ErrProprio, QStringLiteral("O servidor não criou o passo."));
}

bool clsSqlDmoSessaoOdbc::AlterarPasso(const QString& jobId, const PassoAgent& passo)
{
    return ExecutarAgent(sqlagent::AlterarPasso(jobId, passo));
}

bool clsSqlDmoSessaoOdbc::ExcluirPasso(const QString& jobId, int numero)
{
    return ExecutarAgent(sqlagent::ExcluirPasso(jobId, numero));
}

bool clsSqlDmoSessaoOdbc::IncluirAgenda(const QString& jobId, const AgendaAgent& agenda, QString& agendaId)
{
    QVariant id;
    if (!ValorAgent(sqlagent::IncluirAgenda(jobId, agenda), id))
        return false;
    agendaId = id.toString();
    return !agendaId.isEmpty() || Falhar(ado::ErrProprio, QStringLiteral("O servidor não criou o agendamento."));
}

bool clsSqlDmoSessaoOdbc::AlterarAgenda(const AgendaAgent& agenda)
{
    int id = 0;
    if (!NumeroAgenda(agenda.id, id))
        return Falhar(ado::ErrProprio, QStringLiteral("Agendamento inválido: ") + agenda.id);
    return ExecutarAgent(sqlagent::AlterarAgenda(id, agenda));
}

bool clsSqlDmoSessaoOdbc::ExcluirAgenda(const QString& jobId, const QString& agendaId)
{
    int id = 0;
    if (!NumeroAgenda(agendaId, id))
        return Falhar(ado::ErrProprio, QStringLiteral("Agendamento inválido: ") + agendaId);
    return ExecutarAgent(sqlagent::ExcluirAgenda(jobId, id));
}
