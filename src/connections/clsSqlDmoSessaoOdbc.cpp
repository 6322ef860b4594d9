#include "clsSqlDmoSessaoOdbc.h"

#include "clsData.h"
#include "platform/clsMotor.h"

clsSqlDmoSessaoOdbc::~clsSqlDmoSessaoOdbc() { DisConnect(); }

bool clsSqlDmoSessaoOdbc::Connect(const QString& servidor, const QString& usuario, const QString& senha)
{
    DisConnect();
    ErroDados erro;
    motor = AbrirMotor(MontarConnStrSql(servidor, QStringLiteral("master"), usuario, senha, LoginSecure),
                       true,
                       timeOut,
                       erro);
    if (!motor)
        return Falhar(erro.numero, erro.descricao);
    nome = servidor;
    return true;
}

void clsSqlDmoSessaoOdbc::DisConnect()
{
    if (motor)
        motor->Fechar();
    motor.reset();
}

bool clsSqlDmoSessaoOdbc::Conectado() const { return motor && motor->Aberto(); }

bool clsSqlDmoSessaoOdbc::EnumFixedDrives(QList<DiscoFixo>& discos)
{
    discos.clear();
    if (!Conectado())
        return Falhar(ado::ErrSemConexao, QStringLiteral("A sessão não está conectada ao servidor."));
    RecordsetPtr rs;
    if (!motor->Executar(QStringLiteral("EXEC master..xp_fixeddrives"), &rs, 1, nullptr) || !rs)
        return Falhar(motor->Erro().numero, motor->Erro().descricao);
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        discos << DiscoFixo{rs->Valor(0).toString(), rs->Valor(1).toLongLong()};
    return true;
}

bool clsSqlDmoSessaoOdbc::Consultar(const QString& sql, RecordsetPtr& rs)
{
    if (!Conectado())
        return Falhar(ado::ErrSemConexao, QStringLiteral("A sessão não está conectada ao servidor."));
    if (!motor->Executar(sql, &rs, 1, nullptr) || !rs)
        return Falhar(motor->Erro().numero, motor->Erro().descricao);
    return true;
}

bool clsSqlDmoSessaoOdbc::StatusAgent(int& status)
{
    RecordsetPtr rs;
    if (!Consultar(QStringLiteral("EXEC master..xp_servicecontrol 'QueryState', 'SQLServerAGENT'"), rs))
        return false;
    rs->MoveFirst();
    status = !rs->Eof() && rs->Valor(0).toString().startsWith(QStringLiteral("Running"), Qt::CaseInsensitive) ? 1 : 0;
    return true;
}

bool clsSqlDmoSessaoOdbc::Jobs(QList<JobAgent>& jobs)
{
    jobs.clear();
    RecordsetPtr rs;
    if (!Consultar(
            QStringLiteral("SELECT CONVERT(varchar(36), job_id) AS job_id, name FROM msdb.dbo.sysjobs ORDER BY name"),
            rs))
        return false;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        jobs.append({rs->Valor(0).toString(), rs->Valor(1).toString(), {}, {}});
    for (JobAgent& job : jobs) {
        // The identifier came from the server as a GUID text; it goes back as a literal.
        const QString id = QString(job.id).replace(u'\'', QStringLiteral("''"));
        RecordsetPtr passos, agendas;
        if (!Consultar(QStringLiteral("SELECT step_id, step_name FROM msdb.dbo.sysjobsteps WHERE job_id = '") + id
                           + QStringLiteral("' ORDER BY step_id"),
                       passos))
            return false;
        for (passos->MoveFirst(); !passos->Eof(); passos->MoveNext())
            job.passos.append({passos->Valor(0).toInt(), passos->Valor(1).toString()});
        if (!Consultar(QStringLiteral(
                           "SELECT s.schedule_id, s.name FROM msdb.dbo.sysjobschedules j JOIN msdb.dbo.sysschedules s "
                           "ON s.schedule_id = j.schedule_id WHERE j.job_id = '")
                           + id + QStringLiteral("' ORDER BY s.name"),
                       agendas))
            return false;
        for (agendas->MoveFirst(); !agendas->Eof(); agendas->MoveNext())
            job.agendas.append({agendas->Valor(0).toString(), agendas->Valor(1).toString()});
    }
    return true;
}
