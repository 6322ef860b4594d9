#pragma once
// Catalog queries read as text: each row as its values' texts (a null reads as the empty text).
#include <QList>
#include <QString>
#include <QStringList>

class clsData;

namespace catalogo {

// The rows of a query; none when it fails (its error shown when `mostrarErro`).
QList<QStringList> Linhas(clsData& db, const QString& sql, bool mostrarErro = false);
// The first value of each row.
QStringList Primeiras(clsData& db, const QString& sql);
// A text literal with its apostrophes doubled.
QString Lit(const QString& s);
// "1" or "true", as engines report a boolean in text.
bool Verdade(const QString& s);

} // namespace catalogo
