#pragma once
// Stands in for a SQL Server management session (no SQL Server engine runs on this machine): a
// test owns a ServidorDuble, whose fields say what the server answers and which records how it was
// asked to connect, and hands its maker to the context.
#include "connections/clsSqlDmoSessao.h"

#include <QStringList>
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

private:
    ServidorDuble& s;
};

inline FabricaSqlDmo ServidorDuble::Fabrica()
{
    return [this] { return std::make_unique<clsSqlDmoDuble>(*this); };
}
