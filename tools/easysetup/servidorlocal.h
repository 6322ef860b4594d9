#pragma once
// A private PostgreSQL server for the user on this machine: a cluster under the user's data folder
// ($XDG_DATA_HOME/Quarrix/servidor), listening only on 127.0.0.1 on a free port, its password kept
// as saved passwords are, and its first database mapped in the navigator under "Customizaveis".
// Every step reports in Portuguese; a failure carries the engine's own message.
#include <QString>
#include <functional>

namespace servidorlocal {

struct Estado {
    bool instalado = false; // the cluster exists
    bool rodando = false; // the server answers
    QString pasta; // the cluster's folder
    int porta = 0;
    QString banco;
};

// Reports each step as it starts ("Criando o cluster…").
using Passo = std::function<void(const QString&)>;

QString Pasta();
Estado LerEstado();

// The folder of PostgreSQL's programs (initdb, pg_ctl), empty when the engine is not installed.
QString PastaProgramas();
// What to tell a user without the engine: which package installs it.
QString MensagemSemMotor();

// Each returns false with `erro` set, changing nothing it did not report.
bool Instalar(const QString& banco, const Passo& passo, QString& erro);
bool Iniciar(const Passo& passo, QString& erro);
bool Parar(const Passo& passo, QString& erro);
// Stops the server, removes its folder and its mapping.
bool Remover(const Passo& passo, QString& erro);

// The connection string of the mapped database (password included).
QString ConnStr(const Estado& estado);

} // namespace servidorlocal
