#pragma once
// The program's releases, newest first, with their dates and changes, as the version history
// window shows them.
#include <QList>
#include <QString>
#include <QStringList>

struct EntradaHistorico {
    QString Identificador; // "v1x26f"
    QString Data; // "yyyy-MM-dd", or empty when unknown
    QStringList Linhas; // the changes, in display order
};

class clsHistory {
public:
    // The whole history, built anew on each call.
    QList<EntradaHistorico> Historico() const;
};
