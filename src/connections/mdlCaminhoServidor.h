#pragma once
// The check of a path typed for a file that lives on a SQL Server machine.
#include <QString>

class clsPrompt;
class clsSqlDmoSessao;

namespace funcoes {

// True when the path lies on one of the server's fixed disks; otherwise tells the user which disks
// the server has and gives false.
bool ValidarCaminhoServidor(clsPrompt& prompt, const QString& caminho, clsSqlDmoSessao& sessao);

} // namespace funcoes
