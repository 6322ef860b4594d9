#pragma once
// The SQL Server management session: what the data access object and the administration windows
// ask of the server beyond plain statements. The default session (clsSqlDmoSessaoOdbc) works
// through an ODBC connection with T-SQL; tests give their context a maker of doubles.
#include "platform/clsErro.h"

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
};

using FabricaSqlDmo = std::function<std::unique_ptr<clsSqlDmoSessao>()>;
