#include "mdlCriarBanco.h"

#include <QFileInfo>

#include <sqlite3.h>

bool CriarBancoAccess(const QString& caminho, QString* erro)
{
    if (QFileInfo::exists(caminho)) {
        *erro = QStringLiteral("Database already exists.");
        return false;
    }
    sqlite3* banco = nullptr;
    int rc = sqlite3_open_v2(caminho.toUtf8().constData(), &banco,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE, nullptr);
    if (rc == SQLITE_OK)
        // Writes the file header, so the new file is a database from the start.
        rc = sqlite3_exec(banco, "CREATE TABLE q(x); DROP TABLE q;", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        *erro = QString::fromUtf8(banco ? sqlite3_errmsg(banco) : sqlite3_errstr(rc));
    sqlite3_close(banco);
    return rc == SQLITE_OK;
}
