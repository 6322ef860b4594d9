#pragma once
// What the program asks of an open SQL Server management session. The management session of the
// data layer implements it; code that only needs these answers takes this interface, so it can be
// driven by a stand-in where no SQL Server runs.
#include <QList>
#include <QString>
#include <QStringList>

class clsSessaoServidor {
public:
    virtual ~clsSessaoServidor() = default;

    // The name of the connected server, as the user knows it.
    virtual QString NomeServidor() const = 0;
    // The server's fixed disks, one row per disk; the first column is the disk's root (e.g. "C:\").
    virtual QList<QStringList> DiscosFixos() = 0;
};
