#pragma once
// File dialog filters as the program writes them, "Descrição|padrões|Descrição|padrões…" (patterns
// joined by ";"), turned into the form Qt's file dialogs list: "Descrição (padrões);;…".
#include <QString>
#include <QStringList>

namespace filtroarquivos {

// One entry per description-and-patterns pair. A description that already ends with its patterns
// in parentheses keeps them as they are. A filter already in Qt's form (no "|") is split at ";;".
QStringList Entradas(const QString& filtro);

// The whole filter in Qt's form.
QString FiltroQt(const QString& filtro);

// The entry at `indice` (zero-based), or the first one when there is no such entry.
QString Entrada(const QString& filtro, int indice);

} // namespace filtroarquivos
