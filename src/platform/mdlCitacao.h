#pragma once
// The one way each engine quotes a name in SQL, usable before any connection is open (the query
// window's SELECT, the completion list) as well as by the open engines themselves: SQL Server
// between brackets ("]" doubled); SQLite and other ODBC sources between double quotes ('"' doubled)
// or the quote character their driver reports.
#include <QString>

enum class TipoMotor; // clsMotor.h

namespace citacao {

// The engine a connection string asks for (TipoMotor::Nenhum for a web-service address).
TipoMotor MotorDaConexao(const QString& connectionString);

// `nome` quoted the way `motor` reads names. `aspasDriver`: the identifier quote an ODBC driver
// reports; a driver that reports none (empty or a blank) gets the name as it is. A web-service
// address (Nenhum) is quoted with brackets, which both of its back ends read.
QString Citar(TipoMotor motor, const QString& nome, const QString& aspasDriver = QStringLiteral("\""));
QString CitarNaConexao(const QString& connectionString, const QString& nome);
// A text literal: apostrophes doubled, N'…' on SQL Server (Unicode text), '…' elsewhere.
QString Literal(TipoMotor motor, const QString& valor);

// Whether a name written bare would read as another name, or not as a name at all: anything but a
// plain word of ASCII letters, digits and "_" (not starting with a digit) needs quoting, and on
// custom ODBC sources a capital letter too (PostgreSQL folds bare names to lower case).
bool PrecisaCitar(TipoMotor motor, const QString& nome);
// The name bare when it needs no quoting, else quoted.
QString CitarSeNecessario(TipoMotor motor, const QString& nome);

} // namespace citacao
