#pragma once
// Reads and changes a user's permissions in one database: on SQL Server through the management
// session (statements run in the database named by the connection string's Initial Catalog), on
// PostgreSQL through a connection of its own. Used by one thread at a time; nothing is shown.
#include "mdlPermissoes.h"

#include <memory>

class clsAmbienteDados;

class clsPermissoes {
public:
    virtual ~clsPermissoes() = default;

    // Connects to what `connStr` names. Null, with the reason, when the server cannot be reached
    // or its engine is neither SQL Server nor PostgreSQL.
    static std::unique_ptr<clsPermissoes> Abrir(clsAmbienteDados& ambiente, const QString& connStr, QString& erro);

    Dialeto DialetoSql() const { return m_dialeto; }
    QString Banco() const { return m_banco; }

    // The user's objects, permissions and roles as the catalog holds them now. False, with the
    // reason, when a query fails or the user is not in the database.
    bool Ler(const QString& usuario, permissoes::Quadro& q, QString& erro);
    // Runs the statements in one transaction: all of them or, when one fails, none.
    bool Aplicar(const QStringList& instrucoes, QString& erro);

protected:
    clsPermissoes(Dialeto dialeto, const QString& banco) : m_dialeto(dialeto), m_banco(banco) {}
    virtual bool Consultar(const QString& sql, RecordsetPtr& rs, QString& erro) = 0;
    virtual bool Executar(const QStringList& instrucoes, QString& erro) = 0;

private:
    Dialeto m_dialeto;
    QString m_banco;
};
