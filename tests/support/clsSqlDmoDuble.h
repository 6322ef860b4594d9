#pragma once
// Stands in for a SQL Server management session (no SQL Server engine runs on this machine):
// answers from its fields and records how it was asked to connect.
#include "connections/clsSqlDmoSessao.h"

#include <QStringList>

class clsSqlDmoDuble : public clsSqlDmoSessao {
public:
    static inline QStringList pedidos;       // "server|user|password|seguro or senha", per Connect
    static inline QList<DiscoFixo> discos;
    static inline int statusAgent = 1;
    static inline bool agentLegivel = true;
    static inline QList<JobAgent> jobs;

    // Restores the answers of a server with disks C and D, a running Agent and no jobs.
    static void Reiniciar()
    {
        pedidos.clear();
        discos = {{"C", 1024}, {"D", 2048}};
        statusAgent = 1;
        agentLegivel = true;
        jobs.clear();
    }

    bool Connect(const QString& s, const QString& u, const QString& p) override
    {
        pedidos << QStringList{s, u, p, LoginSecure ? "seguro" : "senha"}.join('|');
        if (s == "falha")
            return Falhar(18456, "Login failed for user 'sa'.");
        nome = s;
        return true;
    }
    void DisConnect() override {}
    bool Conectado() const override { return true; }
    bool EnumFixedDrives(QList<DiscoFixo>& d) override
    {
        d = discos;
        return true;
    }
    bool StatusAgent(int& status) override
    {
        status = statusAgent;
        return agentLegivel || Falhar(22022, "SQLServerAgent is not currently running.");
    }
    bool Jobs(QList<JobAgent>& j) override
    {
        j = jobs;
        return true;
    }
};
