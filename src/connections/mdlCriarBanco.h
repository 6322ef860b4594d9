#pragma once
#include <QString>

// Creates an empty database file (an SQLite file: the embedded engine that opens file databases).
// Refuses a file that already exists, so nothing of the user's is overwritten.
bool CriarBancoAccess(const QString& caminho, QString* erro);
