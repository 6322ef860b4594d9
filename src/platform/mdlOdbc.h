#pragma once
// What the ODBC driver manager knows: installed drivers and data sources, and connection strings
// in its own syntax.
#include <QList>
#include <QString>
#include <QStringList>

struct FonteOdbc {
    QString nome;
    QString driver;
};

namespace odbc {

QStringList Drivers();
QList<FonteOdbc> Fontes();

// A value as a connection string carries it: in braces, with "}" doubled, when it holds a
// character that would end or split it.
QString ValorConnStr(const QString& valor);

// "Provider=MSDASQL;" + the parts given (Driver or DSN, Server, Port, Database, Uid, Pwd), each
// only when not empty.
QString MontarConnStrOdbc(const QString& driver,
                          const QString& dsn,
                          const QString& servidor,
                          const QString& porta,
                          const QString& banco,
                          const QString& usuario,
                          const QString& senha);

} // namespace odbc
