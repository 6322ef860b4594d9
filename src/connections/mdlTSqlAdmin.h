#pragma once
// The T-SQL the management session sends for the administration windows and the backup program.
// Every name goes in through Nome (between brackets, "]" doubled) and every value through Texto
// (N'…', "'" doubled), so a name such as O'Brien or a]b is taken as written and cannot end the
// statement early.
#include <QList>
#include <QString>

namespace tsql {

QString Nome(const QString& nome);
QString Texto(const QString& valor);
// A statement run in the context of another database (sp_executesql of that database).
QString NoBanco(const QString& banco, const QString& sql);

// --- logins ---
QString SqlLogins();
QString SqlBancos();
QString SqlLinguagens();
QString SqlPapeisServidor();
QString SqlMembrosPapeisServidor();
// An empty database or language is left to the server's default.
QString
SqlCriarLogin(const QString& login, bool windows, const QString& senha, const QString& banco, const QString& linguagem);
QString SqlBancoPadraoLogin(const QString& login, const QString& banco);
// An empty language gives the login the server's default back.
QString SqlLinguagemLogin(const QString& login, const QString& linguagem);
QString SqlSenhaLogin(const QString& login, const QString& senha);
QString SqlNegarLogin(const QString& login, bool negar);
QString SqlRemoverLogin(const QString& login);
QString SqlPapelServidor(const QString& login, const QString& papel, bool incluir);

// --- database users (each in the context of its database) ---
// One row per user and role; `usuario` empty lists every user, `nenhum` gives the empty list of
// the right shape (a new user).
QString SqlUsuarios(const QString& banco, const QString& usuario = QString(), bool nenhum = false);
QString SqlPapeisBanco(const QString& banco);
QString SqlMembrosPapeisBanco(const QString& banco);
QString SqlCriarUsuario(const QString& banco, const QString& login, const QString& usuario);
QString SqlRemoverUsuario(const QString& banco, const QString& usuario);
QString SqlPapelBanco(const QString& banco, const QString& papel, const QString& usuario, bool incluir);

// --- databases ---
QString SqlEspaco(const QString& banco);
QString SqlArquivosBanco(const QString& banco);
// Modes: 0 full, 1 no truncate, 2 truncate only (3, empty file, goes file by file).
QString SqlShrinkDatabase(const QString& banco, int percentual, int modo);
QString SqlEsvaziarArquivo(const QString& banco, const QString& arquivo);
QString SqlAttach(const QString& banco, const QString& arquivo);
QString SqlDetach(const QString& banco, bool checar);

// --- backup devices and history ---
QString SqlDevices();
QString SqlCriarDevice(const QString& nome, const QString& caminho);
QString SqlRemoverDevice(const QString& nome);
QString SqlHistoricoBackups(const QString& banco);

// --- backup and restore ---
struct PedidoBackup {
    QString banco;
    bool dispositivo = false; // a device's name instead of a file
    QString destino; // file path or device name
    QString nome, descricao; // left out when empty
    bool diferencial = false;
    bool sobrescrever = false; // WITH INIT
    bool progresso = true; // STATS = 5
};
QString SqlBackup(const PedidoBackup& p);
// The step of a scheduled backup job: the destination and, when overwriting, WITH INIT.
QString SqlPassoBackup(const QString& banco, bool dispositivo, const QString& destino, bool sobrescrever);

struct ArquivoMovido {
    QString logico, destino;
};
struct PedidoRestore {
    QString banco;
    bool dispositivo = false;
    QString origem; // file path or device name
    bool substituir = false; // WITH REPLACE
    QList<ArquivoMovido> mover;
    bool progresso = true;
};
QString SqlRestore(const PedidoRestore& p);
QString SqlArquivosDoBackup(bool dispositivo, const QString& origem);

} // namespace tsql
