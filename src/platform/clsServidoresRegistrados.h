#pragma once
// Registered SQL Server groups and servers, kept in the settings store in sections of their own
// (the program's replacement for the client library's registry of servers). Passwords are kept
// scrambled like every stored password.
#include <QList>
#include <QString>
#include <QStringList>

struct ServidorRegistrado {
    QString grupo;
    QString nome;
    QString login;
    QString senha;
    bool confiavel = false; // integrated (trusted) security
};

namespace servidoresregistrados {

// Whether the SQL Server client can be used: an ODBC driver for SQL Server is installed.
bool DriverSqlServerInstalado();

// The servers to offer by name: the registered ones, the servers of FreeTDS's configuration file
// and the ODBC data sources of a SQL Server driver. No network broadcast.
QStringList ListaServidores(const QString& arquivoFreeTds = QStringLiteral("/etc/freetds/freetds.conf"));

QStringList Grupos();
void IncluirGrupo(const QString& nome);
QList<ServidorRegistrado> Servidores();
// Adds a server to its group (the first group when empty; "SQL Server Group" is created when none).
void Registrar(ServidorRegistrado servidor);
// Removes the first registered server with that name; false when none.
bool Remover(const QString& nome);
// A registered server's password an earlier version left scrambled in the settings moves into the
// keyring (called once a connection to that server worked); true when one moved.
bool MigrarSenha(const QString& nome);

} // namespace servidoresregistrados
