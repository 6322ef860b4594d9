#pragma once
// Stands in for a SQL Server management session (no SQL Server engine runs on this machine): a
// test owns a ServidorDuble, whose fields say what the server answers and which records how it was
// asked to connect, and hands its maker to the context.
#include "connections/clsSqlDmoSessao.h"

#include <QStringList>
#include <QVariantList>
#include <memory>

// The answers of a server with disks C and D, a running Agent and no jobs, unless the test says
// otherwise.
struct ServidorDuble {
    QStringList pedidos; // "server|user|password|seguro or senha", per Connect
    QList<DiscoFixo> discos = {{"C", 1024}, {"D", 2048}};
    int statusAgent = 1;
    bool agentLegivel = true;
    QList<JobAgent> jobs;

    FabricaSqlDmo Fabrica();

    // Administração: logins, usuários, bancos, backup
    // Every statement sent, in order; the rows answered to statements that contain a fragment (the
    // longest fragment found wins, the latest of equal ones; none: no rows); the server's message
    // for statements that contain a fragment of `falhas`.
    struct Linhas {
        QStringList campos;
        QList<QVariantList> linhas;
        RecordsetPtr Criar() const;
    };
    QStringList enviados;
    QList<std::pair<QString, Linhas>> respostas;
    QList<std::pair<QString, QString>> falhas;
    void Responder(const QString& fragmento, const Linhas& linhas) { respostas.append({fragmento, linhas}); }
    // The answers of a small server: logins sa (SQL), DOM\Ana (Windows, denied) and DOM\Vendas
    // (Windows group); databases master and Loja; two languages; three server roles with sa a
    // sysadmin; Loja's users and roles; one disk device.
    void PovoarAdmin();
};

class clsSqlDmoDuble : public clsSqlDmoSessao {
public:
    explicit clsSqlDmoDuble(ServidorDuble& servidor) : s(servidor) {}

    bool Connect(const QString& servidor, const QString& u, const QString& p) override
    {
        s.pedidos << QStringList{servidor, u, p, LoginSecure ? "seguro" : "senha"}.join('|');
        if (servidor == "falha")
            return Falhar(18456, "Login failed for user 'sa'.");
        nome = servidor;
        return true;
    }
    void DisConnect() override {}
    bool Conectado() const override { return true; }
    bool EnumFixedDrives(QList<DiscoFixo>& d) override
    {
        d = s.discos;
        return true;
    }
    bool StatusAgent(int& status) override
    {
        status = s.statusAgent;
        return s.agentLegivel || Falhar(22022, "SQLServerAgent is not currently running.");
    }
    bool Jobs(QList<JobAgent>& j) override
    {
        j = s.jobs;
        return true;
    }

    // Administração: logins, usuários, bancos, backup
    bool EnviarTSql(const QString& sql, RecordsetPtr* rs = nullptr) override
    {
        s.enviados << sql;
        if (rs)
            rs->reset();
        for (const auto& [fragmento, mensagem] : s.falhas)
            if (sql.contains(fragmento))
                return Falhar(50000, mensagem);
        if (rs) {
            *rs = ServidorDuble::Linhas{{QStringLiteral("Coluna")}, {}}.Criar();
            qsizetype maior = -1;
            for (const auto& [fragmento, linhas] : s.respostas)
                if (sql.contains(fragmento) && fragmento.size() >= maior) {
                    maior = fragmento.size();
                    *rs = linhas.Criar();
                }
        }
        return true;
    }

private:
    ServidorDuble& s;
};

inline FabricaSqlDmo ServidorDuble::Fabrica()
{
    return [this] { return std::make_unique<clsSqlDmoDuble>(*this); };
}

// Administração: logins, usuários, bancos, backup
inline RecordsetPtr ServidorDuble::Linhas::Criar() const
{
    auto rs = std::make_shared<clsRecordset>();
    for (int c = 0; c < campos.size(); ++c) {
        const QVariant exemplo = linhas.isEmpty() ? QVariant() : linhas.first().value(c);
        const bool inteiro = exemplo.typeId() == QMetaType::Int;
        const bool real = exemplo.typeId() == QMetaType::Double;
        rs->AppendField(campos[c], inteiro ? ado::adInteger : real ? ado::adDouble : ado::adVarWChar, 255);
    }
    rs->Open();
    for (const QVariantList& linha : linhas) {
        rs->AddNew();
        for (int c = 0; c < linha.size(); ++c)
            rs->DefinirValor(c, linha[c]);
        rs->Update();
    }
    rs->MoveFirst();
    return rs;
}

inline void ServidorDuble::PovoarAdmin()
{
    const QVariant nulo;
    Responder("FROM master.dbo.syslogins",
              {{"LoginName", "LoginType", "AccessType", "DefDbName", "DefLangName"},
               {{"DOM\\Ana", "NT", "Negado", "Loja", "Português (Brasil)"},
                {"DOM\\Vendas", "GRUPO", "Permitido", "master", nulo},
                {"sa", "SQL", "Permitido", "master", "us_english"}}});
    Responder("FROM master.dbo.sysdatabases", {{"Name"}, {{"Loja"}, {"master"}}});
    Responder("sp_helplanguage",
              {{"langid", "name", "alias"}, {{0, "us_english", "English"}, {27, "Português (Brasil)", "Brazilian"}}});
    Responder("sp_helpsrvrolemember", {{"ServerRole", "MemberName"}, {{"sysadmin", "sa"}}});
    Responder("sp_helpsrvrole",
              {{"ServerRole", "Description"},
               {{"sysadmin", "System Administrators"},
                {"securityadmin", "Security Administrators"},
                {"dbcreator", "Database Creators"}}});
    Responder("FROM sysUsers as Usu",
              {{"UserName", "GroupName", "LoginName", "DefDbName", "UserId", "Sid"},
               {{"ana", "db_datareader", "DOM\\Ana", "Loja", 5, "0x01"},
                {"ana", "db_datawriter", "DOM\\Ana", "Loja", 5, "0x01"},
                {"ana", "vendedores", "DOM\\Ana", "Loja", 5, "0x01"},
                {"dbo", "db_owner", "sa", "master", 1, "0x01"}}});
    // The query of a new user answers no rows.
    Responder("Usg.Uid Is Null) And 1 = 2", {{"UserName", "GroupName", "LoginName", "DefDbName", "UserId", "Sid"}, {}});
    Responder("sp_helpgroup",
              {{"Group_name"}, {{"db_datareader"}, {"db_datawriter"}, {"db_owner"}, {"public"}, {"vendedores"}}});
    Responder("sp_helprolemember",
              {{"DbRole", "MemberName"},
               {{"db_datareader", "ana"}, {"db_datawriter", "ana"}, {"vendedores", "ana"}, {"db_owner", "dbo"}}});
    Responder("FROM master.dbo.sysdevices", {{"Name", "PhyName"}, {{"Fita1", "C:\\Backup\\Fita1.bak"}}});
    Responder("FILEPROPERTY", {{"Tamanho", "Livre"}, {{200.0, 50.0}}});
}
