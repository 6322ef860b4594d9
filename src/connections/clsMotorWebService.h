#pragma once
// A web-service source seen as an engine, for the query window's runner: each statement is one call
// on the worker thread that runs the script; Interromper shuts the call in progress. The service
// holds no session of ours, so transactions, parameters and schema rowsets are not offered here
// (the data access object asks the service for its catalog).
#include "clsWebServiceDataBase.h"
#include "platform/clsMotor.h"

#include <atomic>
#include <memory>

class clsMotorWebService final : public clsMotor {
public:
    // `sqlServer`: the service runs on SQL Server ("SQL"), else on a Jet file ("ACCESS").
    clsMotorWebService(std::shared_ptr<clsWebServiceDataBase> cliente, bool sqlServer);

    bool Aberto() const override { return !fechado.load(); }
    void Fechar() override { fechado = true; }
    void Interromper() override;
    bool Executar(const QString& sql, RecordsetPtr* rs, int lockType, long* afetados) override;
    bool ExecutarComParametros(const QString& sql,
                               const std::vector<QVariant>& valores,
                               long& afetados,
                               RecordsetPtr* linhas = nullptr) override;
    bool Schema(SchemaOleDb schema, const QStringList& restricoes, RecordsetPtr& rs) override;
    bool IniciarTransacao() override { return NaoOferecido(); }
    bool ConfirmarTransacao() override { return NaoOferecido(); }
    bool DesfazerTransacao() override { return NaoOferecido(); }
    bool EmTransacao() const override { return false; }
    QString CitarIdentificador(const QString& nome) const override;
    Dialeto DialetoSql() const override { return sqlServer ? Dialeto::SqlServer : Dialeto::Outro; }

private:
    bool NaoOferecido();
    // After a failed call: the stop when one was asked for, else the service's error.
    bool FalharChamada();

    const std::shared_ptr<clsWebServiceDataBase> cliente;
    const bool sqlServer;
    std::atomic<bool> fechado{false};
};
