#pragma once
// The one shape an error travels in, from the engine that raised it up to the data access object:
// its number (ado::Erro names them), its description and where it arose. The data access object
// alone turns it into the text the user reads ("Err:" + number + "\n" + description + context).
#include <QString>

enum class OrigemErro : quint8 {
    Banco, // the database engine or its driver
    Programa, // the program's own checks (a closed connection, a missing client)
    Recordset, // an operation the recordset refused
    Sessao, // the SQL Server management session
    WebService, // the web-service call: transport, fault or the service's own error text
    DataSet, // a data set the web service returned that could not be rebuilt
};

struct ErroDados {
    long numero = 0;
    QString descricao;
    OrigemErro origem = OrigemErro::Banco;
};
