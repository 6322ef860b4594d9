#include "mdlTSqlAdmin.h"

#include "platform/clsMotor.h"
#include "platform/mdlCitacao.h"

#include <QStringList>

namespace tsql {

QString Nome(const QString& nome) { return citacao::Citar(TipoMotor::SqlServer, nome); }

QString Texto(const QString& valor) { return citacao::Literal(TipoMotor::SqlServer, valor); }

QString NoBanco(const QString& banco, const QString& sql)
{
    return QStringLiteral("EXEC ") + Nome(banco) + QStringLiteral(".sys.sp_executesql ") + Texto(sql);
}

// --- logins ---

QString SqlLogins()
{
    return QStringLiteral(
        "SELECT name AS LoginName, "
        "CASE WHEN isntgroup = 1 THEN 'GRUPO' WHEN isntname = 1 THEN 'NT' ELSE 'SQL' END AS LoginType, "
        "CASE WHEN denylogin = 1 THEN 'Negado' ELSE 'Permitido' END AS AccessType, "
        "dbname AS DefDbName, language AS DefLangName "
        "FROM master.dbo.syslogins ORDER BY name");
}

QString SqlBancos() { return QStringLiteral("SELECT name AS Name FROM master.dbo.sysdatabases ORDER BY name"); }
QString SqlLinguagens() { return QStringLiteral("EXEC master.dbo.sp_helplanguage"); }
QString SqlPapeisServidor() { return QStringLiteral("EXEC master.dbo.sp_helpsrvrole"); }
QString SqlMembrosPapeisServidor() { return QStringLiteral("EXEC master.dbo.sp_helpsrvrolemember"); }

QString
SqlCriarLogin(const QString& login, bool windows, const QString& senha, const QString& banco, const QString& linguagem)
{
    QStringList opcoes;
    if (!windows)
        opcoes << QStringLiteral("PASSWORD = ") + Texto(senha);
    if (!banco.isEmpty())
        opcoes << QStringLiteral("DEFAULT_DATABASE = ") + Nome(banco);
    if (!linguagem.isEmpty())
        opcoes << QStringLiteral("DEFAULT_LANGUAGE = ") + Nome(linguagem);
    QString sql = QStringLiteral("CREATE LOGIN ") + Nome(login);
    if (windows)
        sql += QStringLiteral(" FROM WINDOWS");
    if (!opcoes.isEmpty())
        sql += QStringLiteral(" WITH ") + opcoes.join(QStringLiteral(", "));
    return sql;
}

QString SqlBancoPadraoLogin(const QString& login, const QString& banco)
{
    return QStringLiteral("ALTER LOGIN ") + Nome(login) + QStringLiteral(" WITH DEFAULT_DATABASE = ") + Nome(banco);
}

QString SqlLinguagemLogin(const QString& login, const QString& linguagem)
{
    if (linguagem.isEmpty())
        return QStringLiteral("EXEC master.dbo.sp_defaultlanguage @loginame = ") + Texto(login);
    return QStringLiteral("ALTER LOGIN ") + Nome(login) + QStringLiteral(" WITH DEFAULT_LANGUAGE = ") + Nome(linguagem);
}

QString SqlSenhaLogin(const QString& login, const QString& senha)
{
    return QStringLiteral("ALTER LOGIN ") + Nome(login) + QStringLiteral(" WITH PASSWORD = ") + Texto(senha);
}

QString SqlNegarLogin(const QString& login, bool negar)
{
    return (negar ? QStringLiteral("DENY") : QStringLiteral("GRANT")) + QStringLiteral(" CONNECT SQL TO ")
           + Nome(login);
}

QString SqlRemoverLogin(const QString& login) { return QStringLiteral("DROP LOGIN ") + Nome(login); }

QString SqlPapelServidor(const QString& login, const QString& papel, bool incluir)
{
    return QStringLiteral("EXEC master.dbo.")
           + (incluir ? QStringLiteral("sp_addsrvrolemember") : QStringLiteral("sp_dropsrvrolemember"))
           + QStringLiteral(" @loginame = ") + Texto(login) + QStringLiteral(", @rolename = ") + Texto(papel);
}

// --- database users ---

QString SqlUsuarios(const QString& banco, const QString& usuario, bool nenhum)
{
    QString filtro;
    if (nenhum)
        filtro = QStringLiteral("And 1 = 2 ");
    else if (!usuario.isEmpty())
        filtro = QStringLiteral("And Usu.Name = ") + Texto(usuario) + u' ';
    return NoBanco(banco,
                   QStringLiteral("SELECT Usu.Name as UserName, "
                                  "Case When (Usg.Uid Is Null) Then 'public' Else Usg.Name End as GroupName, "
                                  "Log.LoginName, Log.dbName as DefDbName, Usu.Uid as UserId, Usu.Sid "
                                  "FROM sysUsers as Usu "
                                  "LEFT OUTER JOIN (sysMembers as Mem "
                                  "INNER JOIN sysUsers as Usg On Mem.GroupUid = Usg.Uid) On Usu.Uid = Mem.MemberUid "
                                  "LEFT OUTER JOIN Master.dbo.sysLogins as Log On Usu.Sid = Log.Sid "
                                  "WHERE Usu.IsLogin = 1 And Usu.IsAliased = 0 And Usu.HasdbAccess = 1 And "
                                  "(Usg.IsSqlRole = 1 Or Usg.Uid Is Null) ")
                       + filtro + QStringLiteral("ORDER BY Usu.Name"));
}

QString SqlPapeisBanco(const QString& banco) { return NoBanco(banco, QStringLiteral("EXEC sp_helpgroup")); }
QString SqlMembrosPapeisBanco(const QString& banco) { return NoBanco(banco, QStringLiteral("EXEC sp_helprolemember")); }

QString SqlCriarUsuario(const QString& banco, const QString& login, const QString& usuario)
{
    return NoBanco(banco, QStringLiteral("CREATE USER ") + Nome(usuario) + QStringLiteral(" FOR LOGIN ") + Nome(login));
}

QString SqlRemoverUsuario(const QString& banco, const QString& usuario)
{
    return NoBanco(banco, QStringLiteral("DROP USER ") + Nome(usuario));
}

QString SqlPapelBanco(const QString& banco, const QString& papel, const QString& usuario, bool incluir)
{
    return NoBanco(
        banco,
        QStringLiteral("EXEC ") + (incluir ? QStringLiteral("sp_addrolemember") : QStringLiteral("sp_droprolemember"))
            + QStringLiteral(" @rolename = ") + Texto(papel) + QStringLiteral(", @membername = ") + Texto(usuario));
}

// --- databases ---

QString SqlEspaco(const QString& banco)
{
    return NoBanco(banco,
                   QStringLiteral("SELECT CAST(SUM(CAST(size AS bigint)) * 8 / 1024.0 AS float) AS Tamanho, "
                                  "CAST(SUM(CAST(size - FILEPROPERTY(name, 'SpaceUsed') AS bigint)) * 8 / 1024.0 "
                                  "AS float) AS Livre FROM sys.database_files"));
}

QString SqlArquivosBanco(const QString& banco)
{
    return NoBanco(banco, QStringLiteral("SELECT name FROM sys.database_files ORDER BY file_id"));
}

QString SqlShrinkDatabase(const QString& banco, int percentual, int modo)
{
    QString sql
        = QStringLiteral("DBCC SHRINKDATABASE (") + Nome(banco) + QStringLiteral(", ") + QString::number(percentual);
    if (modo == 1)
        sql += QStringLiteral(", NOTRUNCATE");
    else if (modo == 2)
        sql += QStringLiteral(", TRUNCATEONLY");
    return sql + u')';
}

QString SqlEsvaziarArquivo(const QString& banco, const QString& arquivo)
{
    return NoBanco(banco, QStringLiteral("DBCC SHRINKFILE (") + Nome(arquivo) + QStringLiteral(", EMPTYFILE)"));
}

QString SqlAttach(const QString& banco, const QString& arquivo)
{
    return QStringLiteral("CREATE DATABASE ") + Nome(banco) + QStringLiteral(" ON (FILENAME = ") + Texto(arquivo)
           + QStringLiteral(") FOR ATTACH");
}

QString SqlDetach(const QString& banco, bool checar)
{
    return QStringLiteral("EXEC master.dbo.sp_detach_db @dbname = ") + Texto(banco) + QStringLiteral(", @skipchecks = ")
           + Texto(checar ? QStringLiteral("false") : QStringLiteral("true"));
}

// --- devices and history ---

QString SqlDevices()
{
    return QStringLiteral("SELECT name AS Name, phyname AS PhyName FROM master.dbo.sysdevices WHERE status = 16 "
                          "ORDER BY name");
}

QString SqlCriarDevice(const QString& nome, const QString& caminho)
{
    return QStringLiteral("EXEC master.dbo.sp_addumpdevice @devtype = N'disk', @logicalname = ") + Texto(nome)
           + QStringLiteral(", @physicalname = ") + Texto(caminho);
}

QString SqlRemoverDevice(const QString& nome)
{
    return QStringLiteral("EXEC master.dbo.sp_dropdevice @logicalname = ") + Texto(nome);
}

QString SqlHistoricoBackups(const QString& banco)
{
    return QStringLiteral("SELECT msdb.dbo.BackupMediaFamily.Physical_Device_Name, "
                          "msdb.dbo.BackupMediaFamily.Logical_Device_Name, "
                          "msdb.dbo.BackupSet.Database_Name, msdb.dbo.BackupSet.Backup_Finish_Date "
                          "FROM msdb.dbo.BackupSet "
                          "LEFT JOIN msdb.dbo.BackupMediaFamily On msdb.dbo.BackupMediaFamily.Media_Set_Id = "
                          "msdb.dbo.BackupSet.Media_Set_Id "
                          "WHERE msdb.dbo.BackupSet.Database_Name = ")
           + Texto(banco) + QStringLiteral(" ORDER BY msdb.dbo.BackupSet.Backup_Finish_Date");
}

// --- backup and restore ---

namespace {
QString Midia(bool dispositivo, const QString& alvo)
{
    return dispositivo ? Nome(alvo) : QStringLiteral("DISK = ") + Texto(alvo);
}
QString Com(const QStringList& opcoes)
{
    return opcoes.isEmpty() ? QString() : QStringLiteral(" WITH ") + opcoes.join(QStringLiteral(", "));
}
} // namespace

QString SqlBackup(const PedidoBackup& p)
{
    QStringList opcoes{p.sobrescrever ? QStringLiteral("INIT") : QStringLiteral("NOINIT")};
    if (!p.nome.trimmed().isEmpty())
        opcoes << QStringLiteral("NAME = ") + Texto(p.nome);
    if (!p.descricao.trimmed().isEmpty())
        opcoes << QStringLiteral("DESCRIPTION = ") + Texto(p.descricao);
    if (p.diferencial)
        opcoes << QStringLiteral("DIFFERENTIAL");
    if (p.progresso)
        opcoes << QStringLiteral("STATS = 5");
    return QStringLiteral("BACKUP DATABASE ") + Nome(p.banco) + QStringLiteral(" TO ") + Midia(p.dispositivo, p.destino)
           + Com(opcoes);
}

QString SqlPassoBackup(const QString& banco, bool dispositivo, const QString& destino, bool sobrescrever)
{
    return QStringLiteral("BACKUP DATABASE ") + Nome(banco) + QStringLiteral(" TO ") + Midia(dispositivo, destino)
           + (sobrescrever ? QStringLiteral(" WITH INIT") : QString());
}

QString SqlRestore(const PedidoRestore& p)
{
    QStringList opcoes;
    if (p.substituir)
        opcoes << QStringLiteral("REPLACE");
    for (const ArquivoMovido& m : p.mover)
        opcoes << QStringLiteral("MOVE ") + Texto(m.logico) + QStringLiteral(" TO ") + Texto(m.destino);
    if (p.progresso)
        opcoes << QStringLiteral("STATS = 5");
    return QStringLiteral("RESTORE DATABASE ") + Nome(p.banco) + QStringLiteral(" FROM ")
           + Midia(p.dispositivo, p.origem) + Com(opcoes);
}

QString SqlArquivosDoBackup(bool dispositivo, const QString& origem)
{
    return QStringLiteral("RESTORE FILELISTONLY FROM ") + Midia(dispositivo, origem);
}

} // namespace tsql
