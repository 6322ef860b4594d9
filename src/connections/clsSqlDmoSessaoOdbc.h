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

private:
    bool Consultar(const QString& sql, RecordsetPtr& rs);
    std::shared_ptr<clsMotor> motor;
    int timeOut;
};
