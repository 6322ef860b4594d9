#pragma once
// Stands in for a SQL Server management session (no SQL Server engine runs on this machine): a
// test owns a ServidorDuble, whose fields say what the server answers and which records how it was
// asked to connect, and hands its maker to the context.
#include "connections/clsSqlDmoSessao.h"

#include <QHash>
#include <QStringList>
#include <QVariantList>
#include <memory>

// The answers of a server with disks C and D, a running Agent and no jobs, unless the test says
// otherwise.
struct ServidorDuble {
    QStringList pedidos; // "server|user|password|seguro or senha", per Connect
    QList<DiscoFixo> discos = {{"C", 1024}, {"D", 2048}};
    int statusAgent = 1;
    bool agentLegivel = true;
    QList<JobAgent> jobs;

    FabricaSqlDmo Fabrica();

    // Administração: logins, usuários, bancos, backup
    // Every statement sent, in order; the rows answered to statements that contain a fragment (the
    // longest fragment found wins, the latest of equal ones; none: no rows); the server's message
    // for statements that contain a fragment of `falhas`.
    struct Linhas {
        QStringList campos;
        QList<QVariantList> linhas;
        RecordsetPtr Criar() const;
    };
    QStringList enviados;
    QList<std::pair<QString, Linhas>> respostas;
    QList<std::pair<QString, QString>> falhas;
    // The informational messages the server sends while a long batch runs (backup progress).
    QStringList avisos;
    void Responder(const QString& fragmento, const Linhas& linhas) { respostas.append({fragmento, linhas}); }
    // The answers of a small server: logins sa (SQL), DOM\Ana (Windows, denied) and DOM\Vendas
    // (Windows group); databases master and Loja; two languages; three server roles with sa a
    // sysadmin; Loja's users and roles; one disk device.
    void PovoarAdmin();

    // Agente: jobs, passos e agendamentos. `jobs` holds the jobs (in the order the navigator lists
    // them, with the names of their steps and schedules kept in step); these hold what the job
    // operations read and write, by job identifier.
    QHash<QString, QList<PassoAgent>> passosAgent;
    QHash<QString, QList<AgendaAgent>> agendasAgent;
    // Every job operation asked, as "procedure|argument|…" (the names as given, unquoted).
    QStringList chamadas;
    // The operation (procedure name, e.g. "sp_add_jobstep") that fails with the server's message.
    QString falharEm;
    bool agentAlternavel = true;
    int proximoNumero = 1; // of new jobs and schedules

    JobAgent* Job(const QString& id)
    {
        for (JobAgent& j : jobs)
            if (j.id.compare(id, Qt::CaseInsensitive) == 0)
                return &j;
        return nullptr;
    }
    // The navigator's view of a job's steps and schedules follows what the operations changed.
    void Sincronizar(const QString& id)
    {
        if (JobAgent* j = Job(id)) {
            j->passos.clear();
            for (const PassoAgent& p : passosAgent.value(id))
                j->passos.append({p.numero, p.nome});
            j->agendas.clear();
            for (const AgendaAgent& a : agendasAgent.value(id))
                j->agendas.append({a.id, a.nome});
        }
    }
};

class clsSqlDmoDuble : public clsSqlDmoSessao {
public:
    explicit clsSqlDmoDuble(ServidorDuble& servidor) : s(servidor) {}

    bool Connect(const QString& servidor, const QString& u, const QString& p) override
    {
        s.pedidos << QStringList{servidor, u, p, LoginSecure ? "seguro" : "senha"}.join('|');
        if (servidor == "falha")
            return Falhar(18456, "Login failed for user 'sa'.");
        nome = servidor;
        return true;
    }
    void DisConnect() override {}
    bool Conectado() const override { return true; }
    bool EnumFixedDrives(QList<DiscoFixo>& d) override
    {
        d = s.discos;
        return true;
    }
    bool StatusAgent(int& status) override
    {
        status = s.statusAgent;
        return s.agentLegivel || Falhar(22022, "SQLServerAgent is not currently running.");
    }
    bool Jobs(QList<JobAgent>& j) override
    {
        j = s.jobs;
        return true;
    }

    // Administração: logins, usuários, bancos, backup
    bool EnviarTSql(const QString& sql, RecordsetPtr* rs = nullptr) override
    {
        s.enviados << sql;
        if (rs)
            rs->reset();
        for (const auto& [fragmento, mensagem] : s.falhas)
            if (sql.contains(fragmento))
                return Falhar(50000, mensagem);
        if (rs) {
            *rs = ServidorDuble::Linhas{{QStringLiteral("Coluna")}, {}}.Criar();
            qsizetype maior = -1;
            for (const auto& [fragmento, linhas] : s.respostas)
                if (sql.contains(fragmento) && fragmento.size() >= maior) {
                    maior = fragmento.size();
                    *rs = linhas.Criar();
                }
        }
        return true;
    }

    bool EnviarTSqlComAvisos(const QString& sql, const std::function<void(const QString&)>& aviso) override
    {
        for (const QString& a : s.avisos)
            if (aviso)
                aviso(a);
        return EnviarTSql(sql);
    }

    // Agente: jobs, passos e agendamentos
    bool AlternarAgent(bool iniciar) override
    {
        if (!Registrar({iniciar ? "xp_servicecontrol START" : "xp_servicecontrol STOP"}))
            return false;
        if (!s.agentAlternavel)
            return Falhar(22022, "xp_servicecontrol falhou.");
        s.statusAgent = iniciar ? 1 : 0;
        return true;
    }
    bool ListarJobs(QList<JobAgent>& j) override
    {
        j.clear();
        for (const JobAgent& job : s.jobs)
            j.append({job.id, job.nome, {}, {}});
        return Registrar({"sysjobs"});
    }
    bool ListarPassos(const QString& jobId, QList<PassoAgent>& p) override
    {
        p = s.passosAgent.value(jobId);
        return Registrar({"sysjobsteps", jobId});
    }
    bool ListarAgendas(const QString& jobId, QList<AgendaAgent>& a) override
    {
        a = s.agendasAgent.value(jobId);
        return Registrar({"sysschedules", jobId});
    }
    bool IncluirJob(const QString& nomeJob, const QString& dono, QString& jobId) override
    {
        if (!Registrar({"sp_add_job", nomeJob, dono}))
            return false;
        for (const JobAgent& j : s.jobs)
            if (j.nome == nomeJob)
                return Falhar(14261, "The specified @name ('" + nomeJob + "') already exists.");
        jobId = QString("%1-0000-0000-0000-000000000000").arg(s.proximoNumero++, 8, 10, QChar('0'));
        s.jobs.append({jobId, nomeJob, {}, {}});
        return true;
    }
    bool AlterarJob(const QString& jobId, const QString& nomeJob, const QString& dono) override
    {
        if (!Registrar({"sp_update_job", jobId, nomeJob, dono}))
            return false;
        JobAgent* j = s.Job(jobId);
        if (!j)
            return SemJob(jobId);
        j->nome = nomeJob;
        return true;
    }
    bool ExcluirJob(const QString& jobId) override
    {
        if (!Registrar({"sp_delete_job", jobId}))
            return false;
        if (!s.Job(jobId))
            return SemJob(jobId);
        s.jobs.removeIf([&](const JobAgent& j) { return j.id == jobId; });
        s.passosAgent.remove(jobId);
        s.agendasAgent.remove(jobId);
        return true;
    }
    bool IncluirPasso(const QString& jobId, const PassoAgent& p, int& numero) override
    {
        if (!Registrar({"sp_add_jobstep", jobId, p.nome, p.banco, p.comando}))
            return false;
        if (!s.Job(jobId))
            return SemJob(jobId);
        QList<PassoAgent>& passos = s.passosAgent[jobId];
        numero = int(passos.size()) + 1;
        passos.append({numero, p.nome, p.comando, p.banco});
        s.Sincronizar(jobId);
        return true;
    }
    bool AlterarPasso(const QString& jobId, const PassoAgent& p) override
    {
        if (!Registrar({"sp_update_jobstep", jobId, QString::number(p.numero), p.nome, p.banco, p.comando}))
            return false;
        for (PassoAgent& q : s.passosAgent[jobId])
            if (q.numero == p.numero) {
                q = p;
                s.Sincronizar(jobId);
                return true;
            }
        return Falhar(14262, "The specified @step_id ('" + QString::number(p.numero) + "') does not exist.");
    }
    bool ExcluirPasso(const QString& jobId, int numero) override
    {
        if (!Registrar({"sp_delete_jobstep", jobId, QString::number(numero)}))
            return false;
        QList<PassoAgent>& passos = s.passosAgent[jobId];
        const qsizetype antes = passos.size();
        passos.removeIf([&](const PassoAgent& p) { return p.numero == numero; });
        if (passos.size() == antes)
            return Falhar(14262, "The specified @step_id ('" + QString::number(numero) + "') does not exist.");
        // The server renumbers the steps that followed.
        for (PassoAgent& p : passos)
            if (p.numero > numero)
                --p.numero;
        s.Sincronizar(jobId);
        return true;
    }
    bool IncluirAgenda(const QString& jobId, const AgendaAgent& a, QString& agendaId) override
    {
        if (!Registrar({"sp_add_jobschedule", jobId, a.nome, Tempo(a.tempo)}))
            return false;
        if (!s.Job(jobId))
            return SemJob(jobId);
        agendaId = QString::number(s.proximoNumero++);
        AgendaAgent nova = a;
        nova.id = agendaId;
        s.agendasAgent[jobId].append(nova);
        s.Sincronizar(jobId);
        return true;
    }
    bool AlterarAgenda(const AgendaAgent& a) override
    {
        if (!Registrar({"sp_update_schedule", a.id, a.nome, Tempo(a.tempo)}))
            return false;
        for (auto it = s.agendasAgent.begin(); it != s.agendasAgent.end(); ++it)
            for (AgendaAgent& b : it.value())
                if (b.id == a.id) {
                    b = a;
                    s.Sincronizar(it.key());
                    return true;
                }
        return Falhar(14262, "The specified @schedule_id ('" + a.id + "') does not exist.");
    }
    bool ExcluirAgenda(const QString& jobId, const QString& agendaId) override
    {
        if (!Registrar({"sp_detach_schedule", jobId, agendaId}))
            return false;
        QList<AgendaAgent>& agendas = s.agendasAgent[jobId];
        const qsizetype antes = agendas.size();
        agendas.removeIf([&](const AgendaAgent& a) { return a.id == agendaId; });
        if (agendas.size() == antes)
            return Falhar(14262, "The specified @schedule_id ('" + agendaId + "') does not exist.");
        s.Sincronizar(jobId);
        return true;
    }
    // The ten timing fields as "tipo,intervalo,relativo,fator,subDia,subDiaIntervalo,dataInicio,
    // dataFim,horaInicio,horaFim".
    static QString Tempo(const TempoAgenda& t)
    {
        QStringList v;
        for (int n : {t.tipo,
                      t.intervalo,
                      t.relativo,
                      t.fator,
                      t.subDia,
                      t.subDiaIntervalo,
                      t.dataInicio,
                      t.dataFim,
                      t.horaInicio,
                      t.horaFim})
            v << QString::number(n);
        return v.join(',');
    }

private:
    bool Registrar(const QStringList& chamada)
    {
        s.chamadas << chamada.join('|');
        return chamada.first() != s.falharEm
               || Falhar(50000, "O servidor recusou " + chamada.first() + " (falha do teste).");
    }
    bool SemJob(const QString& id) { return Falhar(14262, "The specified @job_id ('" + id + "') does not exist."); }

private:
    ServidorDuble& s;
};

inline FabricaSqlDmo ServidorDuble::Fabrica()
{
    return [this] { return std::make_unique<clsSqlDmoDuble>(*this); };
}

// Administração: logins, usuários, bancos, backup
inline RecordsetPtr ServidorDuble::Linhas::Criar() const
{
    auto rs = std::make_shared<clsRecordset>();
    for (int c = 0; c < campos.size(); ++c) {
        const QVariant exemplo = linhas.isEmpty() ? QVariant() : linhas.first().value(c);
        const bool inteiro = exemplo.typeId() == QMetaType::Int;
        const bool real = exemplo.typeId() == QMetaType::Double;
        rs->AppendField(campos[c], inteiro ? ado::adInteger : real ? ado::adDouble : ado::adVarWChar, 255);
    }
    rs->Open();
    for (const QVariantList& linha : linhas) {
        rs->AddNew();
        for (int c = 0; c < linha.size(); ++c)
            rs->DefinirValor(c, linha[c]);
        rs->Update();
    }
    rs->MoveFirst();
    return rs;
}

inline void ServidorDuble::PovoarAdmin()
{
    const QVariant nulo;
    Responder("FROM master.dbo.syslogins",
              {{"LoginName", "LoginType", "AccessType", "DefDbName", "DefLangName"},
               {{"DOM\\Ana", "NT", "Negado", "Loja", "Português (Brasil)"},
                {"DOM\\Vendas", "GRUPO", "Permitido", "master", nulo},
                {"sa", "SQL", "Permitido", "master", "us_english"}}});
    Responder("FROM master.dbo.sysdatabases", {{"Name"}, {{"Loja"}, {"master"}}});
    Responder("sp_helplanguage",
              {{"langid", "name", "alias"}, {{0, "us_english", "English"}, {27, "Português (Brasil)", "Brazilian"}}});
    Responder("sp_helpsrvrolemember", {{"ServerRole", "MemberName"}, {{"sysadmin", "sa"}}});
    Responder("sp_helpsrvrole",
              {{"ServerRole", "Description"},
               {{"sysadmin", "System Administrators"},
                {"securityadmin", "Security Administrators"},
                {"dbcreator", "Database Creators"}}});
    Responder("FROM sysUsers as Usu",
              {{"UserName", "GroupName", "LoginName", "DefDbName", "UserId", "Sid"},
               {{"ana", "db_datareader", "DOM\\Ana", "Loja", 5, "0x01"},
                {"ana", "db_datawriter", "DOM\\Ana", "Loja", 5, "0x01"},
                {"ana", "vendedores", "DOM\\Ana", "Loja", 5, "0x01"},
                {"dbo", "db_owner", "sa", "master", 1, "0x01"}}});
    // The query of a new user answers no rows.
    Responder("Usg.Uid Is Null) And 1 = 2", {{"UserName", "GroupName", "LoginName", "DefDbName", "UserId", "Sid"}, {}});
    Responder("sp_helpgroup",
              {{"Group_name"}, {{"db_datareader"}, {"db_datawriter"}, {"db_owner"}, {"public"}, {"vendedores"}}});
    Responder("sp_helprolemember",
              {{"DbRole", "MemberName"},
               {{"db_datareader", "ana"}, {"db_datawriter", "ana"}, {"vendedores", "ana"}, {"db_owner", "dbo"}}});
    Responder("FROM master.dbo.sysdevices", {{"Name", "PhyName"}, {{"Fita1", "C:\\Backup\\Fita1.bak"}}});
    Responder("FILEPROPERTY", {{"Tamanho", "Livre"}, {{200.0, 50.0}}});
}
