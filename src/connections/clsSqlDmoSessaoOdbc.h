#pragma once
// The default management session: an ODBC connection to the server (FreeTDS) and T-SQL.
#include "clsSqlDmoSessao.h"
#include "platform/clsMotor.h"

class clsMotor;

class clsSqlDmoSessaoOdbc : public clsSqlDmoSessao {
public:
    // `timeOutSegundos` limits the wait for the server while connecting (0: the driver's default).
    explicit clsSqlDmoSessaoOdbc(int timeOutSegundos = 0) : timeOut(timeOutSegundos) {}
    ~clsSqlDmoSessaoOdbc() override;
    bool Connect(const QString& servidor, const QString& usuario, const QString& senha) override;
    void DisConnect() override;
    bool Conectado() const override;
    bool EnumFixedDrives(QList<DiscoFixo>& discos) override;
    bool StatusAgent(int& status) override;
    bool Jobs(QList<JobAgent>& jobs) override;

    std::shared_ptr<clsMotor> Conexao() const { return motor; }

    // Administração: logins, usuários, bancos, backup
    bool EnviarTSql(const QString& sql, RecordsetPtr* rs = nullptr) override;
    bool EnviarTSqlComAvisos(const QString& sql, const std::function<void(const QString&)>& aviso) override;

    // Agente: jobs, passos e agendamentos
    bool AlternarAgent(bool iniciar) override;
    bool ListarJobs(QList<JobAgent>& jobs) override;
    bool ListarPassos(const QString& jobId, QList<PassoAgent>& passos) override;
    bool ListarAgendas(const QString& jobId, QList<AgendaAgent>& agendas) override;
    bool IncluirJob(const QString& nomeJob, const QString& dono, QString& jobId) override;
    bool AlterarJob(const QString& jobId, const QString& nomeJob, const QString& dono) override;
    bool ExcluirJob(const QString& jobId) override;
    bool IncluirPasso(const QString& jobId, const PassoAgent& passo, int& numero) override;
    bool AlterarPasso(const QString& jobId, const PassoAgent& passo) override;
    bool ExcluirPasso(const QString& jobId, int numero) override;
    bool IncluirAgenda(const QString& jobId, const AgendaAgent& agenda, QString& agendaId) override;
    bool AlterarAgenda(const AgendaAgent& agenda) override;
    bool ExcluirAgenda(const QString& jobId, const QString& agendaId) override;
    // Helpers of the operations above: a statement that answers one value (null for none), and one
    // that answers nothing.
    bool ValorAgent(const QString& sql, QVariant& valor);
    bool ExecutarAgent(const QString& sql);

private:
    bool Consultar(const QString& sql, RecordsetPtr& rs);
    std::shared_ptr<clsMotor> motor;
    int timeOut;
};
