#pragma once
// The SQL Server management session: what the data access object and the administration windows
// ask of the server beyond plain statements. The default session (clsSqlDmoSessaoOdbc) works
// through an ODBC connection with T-SQL; tests give their context a maker of doubles.
#include "clsSqlDmoAgent.h"
#include "platform/clsErro.h"
#include "platform/clsRecordset.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

struct DiscoFixo {
    QString unidade; // drive letter as the server reports it ("C")
    qint64 mbLivres = 0; // free megabytes
};

// A SQL Agent job with its steps and schedules, as the navigator lists them.
struct PassoJob {
    int numero = 0;
    QString nome;
};
struct AgendaJob {
    QString id;
    QString nome;
};
struct JobAgent {
    QString id;
    QString nome;
    QList<PassoJob> passos;
    QList<AgendaJob> agendas;
};

class clsSqlDmoSessao {
public:
    virtual ~clsSqlDmoSessao() = default;

    // Windows (trusted) login instead of user and password; set before Connect.
    bool LoginSecure = false;

    virtual bool Connect(const QString& servidor, const QString& usuario, const QString& senha) = 0;
    virtual void DisConnect() = 0;
    virtual bool Conectado() const = 0;
    // The server's fixed disks; false on failure.
    virtual bool EnumFixedDrives(QList<DiscoFixo>& discos) = 0;
    // The SQL Agent's state: 1 running, 0 any other state; false when it cannot be read.
    virtual bool StatusAgent(int& status) = 0;
    // The Agent's jobs with their steps and schedules, by name; false on failure.
    virtual bool Jobs(QList<JobAgent>& jobs) = 0;

    // The server the session is connected to, as the user named it.
    QString Name() const { return nome; }

    const ErroDados& Erro() const { return erro; }

protected:
    bool Falhar(long numero, const QString& descricao)
    {
        erro = {numero, descricao, OrigemErro::Sessao};
        return false;
    }
    ErroDados erro;
    QString nome;

    // Administração: logins, usuários, bancos, backup
public:
    // One batch sent as written, with its first rowset in `rs` when asked; false (and Erro) on
    // failure. Every operation below goes through it with the statements of tsql (mdlTSqlAdmin.h).
    virtual bool EnviarTSql(const QString& sql, RecordsetPtr* rs = nullptr);
    // A long batch (backup, restore) whose informational messages ("10 percent processed.") go
    // to `aviso` as the server sends them. Without a way to hear them, the batch alone.
    virtual bool EnviarTSqlComAvisos(const QString& sql, const std::function<void(const QString&)>& aviso)
    {
        Q_UNUSED(aviso);
        return EnviarTSql(sql);
    }
    // Lists, as rowsets with the columns of their statements.
    bool Logins(RecordsetPtr& rs);
    bool Bancos(RecordsetPtr& rs);
    bool Linguagens(RecordsetPtr& rs);
    bool PapeisServidor(RecordsetPtr& rs);
    bool MembrosPapeisServidor(RecordsetPtr& rs);
    bool Usuarios(const QString& banco, RecordsetPtr& rs, const QString& usuario = QString(), bool nenhum = false);
    bool PapeisBanco(const QString& banco, RecordsetPtr& rs);
    bool MembrosPapeisBanco(const QString& banco, RecordsetPtr& rs);
    bool Devices(RecordsetPtr& rs);
    bool HistoricoBackups(const QString& banco, RecordsetPtr& rs);
    bool ArquivosDoBackup(bool dispositivo, const QString& origem, RecordsetPtr& rs);
    // Logins: a new one (SQL Server login with its password, or a Windows login), its default
    // database and language (empty: the server's), password, Windows access, removal, server roles.
    bool CriarLogin(const QString& login,
                    bool windows,
                    const QString& senha,
                    const QString& banco,
                    const QString& linguagem);
    bool AlterarLogin(const QString& login, const QString& banco, const QString& linguagem);
    bool DefinirSenhaLogin(const QString& login, const QString& senha);
    bool NegarLogin(const QString& login, bool negar);
    bool RemoverLogin(const QString& login);
    bool PapelServidor(const QString& login, const QString& papel, bool incluir);
    // Users of a database and their roles.
    bool CriarUsuario(const QString& banco, const QString& login, const QString& usuario);
    bool RemoverUsuario(const QString& banco, const QString& usuario);
    bool PapelBanco(const QString& banco, const QString& papel, const QString& usuario, bool incluir);
    // Size and free space of a database in megabytes.
    bool EspacoBanco(const QString& banco, double& tamanhoMb, double& livreMb);
    // Shrinks to `percentual` free space; modes 0 full, 1 no truncate, 2 truncate only, 3 empty
    // each file.
    bool ShrinkBanco(const QString& banco, int percentual, int modo);
    // Attach and detach answer the server's message: empty on success.
    QString AttachDB(const QString& banco, const QString& arquivo);
    QString DetachDB(const QString& banco, bool checar);
    bool CriarDevice(const QString& nome, const QString& caminho);
    bool RemoverDevice(const QString& nome);

    // Agente: jobs, passos e agendamentos. A session that does not serve them says so.
public:
    // Starts or stops the Agent; false, with the reason, where the server does not let it be
    // switched from here.
    virtual bool AlternarAgent(bool iniciar) { return SemAgent(); }
    // Every job's identifier and name (no steps or schedules), by name.
    virtual bool ListarJobs(QList<JobAgent>& jobs) { return SemAgent(); }
    // The job's steps by number, and its schedules in order of creation.
    virtual bool ListarPassos(const QString& jobId, QList<PassoAgent>& passos) { return SemAgent(); }
    virtual bool ListarAgendas(const QString& jobId, QList<AgendaAgent>& agendas) { return SemAgent(); }
    // A new enabled job on the local server, owned by `dono` (the session's login when empty).
    virtual bool IncluirJob(const QString& nomeJob, const QString& dono, QString& jobId) { return SemAgent(); }
    virtual bool AlterarJob(const QString& jobId, const QString& nomeJob, const QString& dono) { return SemAgent(); }
    virtual bool ExcluirJob(const QString& jobId) { return SemAgent(); }
    // A new step at the end of the job; `numero` gets its number.
    virtual bool IncluirPasso(const QString& jobId, const PassoAgent& passo, int& numero) { return SemAgent(); }
    // Changes the step numbered `passo.numero`.
    virtual bool AlterarPasso(const QString& jobId, const PassoAgent& passo) { return SemAgent(); }
    virtual bool ExcluirPasso(const QString& jobId, int numero) { return SemAgent(); }
    // A new schedule of the job; `agendaId` gets its identifier.
    virtual bool IncluirAgenda(const QString& jobId, const AgendaAgent& agenda, QString& agendaId)
    {
        return SemAgent();
    }
    // Changes the schedule identified by `agenda.id`.
    virtual bool AlterarAgenda(const AgendaAgent& agenda) { return SemAgent(); }
    virtual bool ExcluirAgenda(const QString& jobId, const QString& agendaId) { return SemAgent(); }

protected:
    // -2147221503: ado::ErrProprio, an error of the program itself.
    bool SemAgent() { return Falhar(-2147221503, QStringLiteral("Esta sessão não administra os jobs do SQL Agent.")); }
};

using FabricaSqlDmo = std::function<std::unique_ptr<clsSqlDmoSessao>()>;
