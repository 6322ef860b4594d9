#pragma once
// A PostgreSQL database of one test class's own, on the server scripts/test starts: what its tests
// create never shows in the catalog another test reads at the same time.
#include "platform/clsMotor.h"

#include <QString>

// The connection string of database `nome` (created when missing); empty when QUARRIX_PG_CONNSTR
// is not set or the database cannot be made.
inline QString BancoPostgresProprio(const QString& nome)
{
    const QString cs = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
    if (cs.isEmpty())
        return {};
    ErroDados e;
    auto m = AbrirMotor(cs, true, 10, e);
    if (!m)
        return {};
    RecordsetPtr rs;
    const QString existe = QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'").arg(nome);
    if (!m->Executar(existe, &rs, ado::adLockReadOnly, nullptr))
        return {};
    if ((!rs || rs->RecordCount() == 0)
        && !m->Executar(QStringLiteral("CREATE DATABASE \"%1\"").arg(nome), nullptr, ado::adLockReadOnly, nullptr))
        return {};
    return QString(cs).replace(QStringLiteral("Database=quarrix_teste"), QStringLiteral("Database=") + nome);
}
