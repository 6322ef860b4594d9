#pragma once
// The backup program's argument string and its work. The windows build the string ("ConnString=
// …&DataBase=…&Opcao=B|R&ArqTipo=F|D&ArqNome=…" and the optional keys) and hand it to the program
// on its standard input, never on its command line, since it carries the connection string with
// its password; the program reads it back, runs BACKUP or RESTORE and, on success, writes "1"
// under section "Backup", key = database name.
#include "connections/mdlTSqlAdmin.h"

#include <QString>

class QObject;
#include <functional>

class clsAmbienteDados;
class clsPrompt;

namespace backup {

struct Argumentos {
    QString connStr;
    QString banco;
    bool restaurar = false; // Opcao: B backup, R restore
    bool dispositivo = false; // ArqTipo: F file, D device
    QString arquivo; // ArqNome: the file path or the device name
    // Backup
    QString nome, descricao;
    bool diferencial = false; // BackupOpcao D
    bool sobrescrever = false; // BackupMetodo S
    // Restore over an existing database, with the files moved
    bool substituir = false;
    QString devBanco, arqBanco, devLog, arqLog;
};

// The argument string, keys in the program's order; empty name and description are left out.
QString Montar(const Argumentos& a);
// Reads the string back. A key starts only where "&" is followed by one of the program's keys and
// "=", so a value (a password in the connection string, a path) may hold "&" and "=". False, with
// the reason, when a required key is missing or a value is not one of its codes.
bool Ler(const QString& texto, Argumentos& a, QString* erro = nullptr);
// The statement the program sends for the arguments.
QString Sql(const Argumentos& a);

// The percentage a server's progress message gives ("35 percent processed."), -1 for any other.
int PercentualDoAviso(const QString& aviso);

// Runs the statement through a management session of its own; on success records "1" under
// "Backup". False with the server's message in `erro`. `progresso` hears each message the server
// sends while it works, with its percentage (-1 when the message gives none).
bool Executar(clsAmbienteDados& ambiente,
              const Argumentos& a,
              QString& erro,
              const std::function<void(int percentual, const QString& aviso)>& progresso = {});

// For the windows: starts the backup program, writes `argumento` to its standard input and
// returns; once the program has ended, reads the result it left under "Backup" (the key is deleted
// afterwards) and tells `fim`, unless `contexto` is gone by then. A missing program is reported to
// the user.
void ExecutarPrograma(clsPrompt& prompt,
                      const QString& programa,
                      const QString& argumento,
                      const QString& banco,
                      QObject* contexto,
                      std::function<void(bool)> fim);

} // namespace backup
