// The administration operations of the management session: the statements they send (names with
// "]" and "'" must arrive whole, as one identifier or one literal) and, against a real server
// when one is given, that they do what they say.
#include "connections/clsSqlDmoSessao.h"
#include "connections/mdlTSqlAdmin.h"
#include "servidorReal.h"
#include "support/clsSqlDmoDuble.h"
#include "support/registroTestes.h"

#include <QTest>
#include <functional>

using Operacao = std::function<void(clsSqlDmoSessao&)>;
Q_DECLARE_METATYPE(Operacao)

class tst_clsSqlDmoSessaoAdmin : public QObject {
    Q_OBJECT
private slots:
    void InstrucoesEnviadas_data()
    {
        QTest::addColumn<Operacao>("operacao");
        QTest::addColumn<QStringList>("esperadas");
        const QString login = "O'Brien]x";
        const QString banco = "Lo]ja'";
        auto linha
            = [](const char* nome, Operacao op, QStringList esperadas) { QTest::newRow(nome) << op << esperadas; };
        linha("login SQL",
              [=](clsSqlDmoSessao& s) { s.CriarLogin(login, false, "p'w", banco, "Português (Brasil)"); },
              {"CREATE LOGIN [O'Brien]]x] WITH PASSWORD = N'p''w', DEFAULT_DATABASE = [Lo]]ja'], "
               "DEFAULT_LANGUAGE = [Português (Brasil)]"});
        linha("login Windows sem linguagem",
              [=](clsSqlDmoSessao& s) { s.CriarLogin("DOM\\Ana", true, QString(), "master", QString()); },
              {"CREATE LOGIN [DOM\\Ana] FROM WINDOWS WITH DEFAULT_DATABASE = [master]"});
        linha("alterar login",
              [=](clsSqlDmoSessao& s) { s.AlterarLogin(login, banco, "us_english"); },
              {"ALTER LOGIN [O'Brien]]x] WITH DEFAULT_DATABASE = [Lo]]ja']",
               "ALTER LOGIN [O'Brien]]x] WITH DEFAULT_LANGUAGE = [us_english]"});
        linha("linguagem padrao do servidor",
              [=](clsSqlDmoSessao& s) { s.AlterarLogin(login, "master", QString()); },
              {"ALTER LOGIN [O'Brien]]x] WITH DEFAULT_DATABASE = [master]",
               "EXEC master.dbo.sp_defaultlanguage @loginame = N'O''Brien]x'"});
        linha("senha",
              [=](clsSqlDmoSessao& s) { s.DefinirSenhaLogin(login, "a'; DROP LOGIN sa --"); },
              {"ALTER LOGIN [O'Brien]]x] WITH PASSWORD = N'a''; DROP LOGIN sa --'"});
        linha("negar", [=](clsSqlDmoSessao& s) { s.NegarLogin(login, true); }, {"DENY CONNECT SQL TO [O'Brien]]x]"});
        linha("permitir",
              [=](clsSqlDmoSessao& s) { s.NegarLogin(login, false); },
              {"GRANT CONNECT SQL TO [O'Brien]]x]"});
        linha("remover login", [=](clsSqlDmoSessao& s) { s.RemoverLogin(login); }, {"DROP LOGIN [O'Brien]]x]"});
        linha("papel do servidor",
              [=](clsSqlDmoSessao& s) {
                  s.PapelServidor(login, "sysadmin", true);
                  s.PapelServidor(login, "dbcreator", false);
              },
              {"EXEC master.dbo.sp_addsrvrolemember @loginame = N'O''Brien]x', @rolename = N'sysadmin'",
               "EXEC master.dbo.sp_dropsrvrolemember @loginame = N'O''Brien]x', @rolename = N'dbcreator'"});
        linha("usuario novo",
              [=](clsSqlDmoSessao& s) { s.CriarUsuario(banco, login, "d'Ávila"); },
              {"EXEC [Lo]]ja'].sys.sp_executesql N'CREATE USER [d''Ávila] FOR LOGIN [O''Brien]]x]'"});
        linha("remover usuario",
              [=](clsSqlDmoSessao& s) { s.RemoverUsuario(banco, "d'Ávila"); },
              {"EXEC [Lo]]ja'].sys.sp_executesql N'DROP USER [d''Ávila]'"});
        linha("papel do banco",
              [=](clsSqlDmoSessao& s) { s.PapelBanco(banco, "db_owner", "d'Ávila", true); },
              {"EXEC [Lo]]ja'].sys.sp_executesql N'EXEC sp_addrolemember @rolename = N''db_owner'', "
               "@membername = N''d''''Ávila'''"});
        linha("um usuario",
              [=](clsSqlDmoSessao& s) {
                  RecordsetPtr rs;
                  s.Usuarios(banco, rs, "d'Ávila");
              },
              {tsql::NoBanco(banco,
                             "SELECT Usu.Name as UserName, Case When (Usg.Uid Is Null) Then 'public' Else Usg.Name End "
                             "as GroupName, Log.LoginName, Log.dbName as DefDbName, Usu.Uid as UserId, Usu.Sid FROM "
                             "sysUsers as Usu LEFT OUTER JOIN (sysMembers as Mem INNER JOIN sysUsers as Usg On "
                             "Mem.GroupUid = Usg.Uid) On Usu.Uid = Mem.MemberUid LEFT OUTER JOIN Master.dbo.sysLogins "
                             "as Log On Usu.Sid = Log.Sid WHERE Usu.IsLogin = 1 And Usu.IsAliased = 0 And "
                             "Usu.HasdbAccess = 1 And (Usg.IsSqlRole = 1 Or Usg.Uid Is Null) And Usu.Name = "
                             "N'd''Ávila' ORDER BY Usu.Name")});
        linha("shrink completo",
              [=](clsSqlDmoSessao& s) { s.ShrinkBanco(banco, 10, 0); },
              {"DBCC SHRINKDATABASE ([Lo]]ja'], 10)"});
        linha("shrink sem truncar",
              [=](clsSqlDmoSessao& s) { s.ShrinkBanco(banco, 0, 1); },
              {"DBCC SHRINKDATABASE ([Lo]]ja'], 0, NOTRUNCATE)"});
        linha("shrink so truncar",
              [=](clsSqlDmoSessao& s) { s.ShrinkBanco(banco, 25, 2); },
              {"DBCC SHRINKDATABASE ([Lo]]ja'], 25, TRUNCATEONLY)"});
        linha("attach",
              [=](clsSqlDmoSessao& s) { s.AttachDB(banco, "D:\\Dados\\O'Brien.mdf"); },
              {"CREATE DATABASE [Lo]]ja'] ON (FILENAME = N'D:\\Dados\\O''Brien.mdf') FOR ATTACH"});
        linha("detach sem checar",
              [=](clsSqlDmoSessao& s) { s.DetachDB(banco, false); },
              {"EXEC master.dbo.sp_detach_db @dbname = N'Lo]ja''', @skipchecks = N'true'"});
        linha("detach checando",
              [=](clsSqlDmoSessao& s) { s.DetachDB(banco, true); },
              {"EXEC master.dbo.sp_detach_db @dbname = N'Lo]ja''', @skipchecks = N'false'"});
        linha("device",
              [=](clsSqlDmoSessao& s) { s.CriarDevice("Fi'ta]", "C:\\b'k\\f.bak"); },
              {"EXEC master.dbo.sp_addumpdevice @devtype = N'disk', @logicalname = N'Fi''ta]', "
               "@physicalname = N'C:\\b''k\\f.bak'"});
        linha("remover device",
              [=](clsSqlDmoSessao& s) { s.RemoverDevice("Fi'ta]"); },
              {"EXEC master.dbo.sp_dropdevice @logicalname = N'Fi''ta]'"});
    }
    void InstrucoesEnviadas()
    {
        QFETCH(Operacao, operacao);
        QFETCH(QStringList, esperadas);
        ServidorDuble servidor;
        clsSqlDmoDuble sessao(servidor);
        operacao(sessao);
        QCOMPARE(servidor.enviados, esperadas);
    }

    void EsvaziarArquivoVaiArquivoPorArquivo()
    {
        ServidorDuble servidor;
        servidor.Responder("SELECT name FROM sys.database_files", {{"name"}, {{"Loja_Data"}, {"Lo'ja]_Log"}}});
        servidor.falhas << std::pair{QString("Lo''ja]]_Log"), QString("Cannot move all contents of file")};
        clsSqlDmoDuble sessao(servidor);
        QVERIFY(!sessao.ShrinkBanco("Loja", 0, 3));
        QCOMPARE(servidor.enviados,
                 QStringList({"EXEC [Loja].sys.sp_executesql N'SELECT name FROM sys.database_files ORDER BY file_id'",
                              "EXEC [Loja].sys.sp_executesql N'DBCC SHRINKFILE ([Loja_Data], EMPTYFILE)'",
                              "EXEC [Loja].sys.sp_executesql N'DBCC SHRINKFILE ([Lo''ja]]_Log], EMPTYFILE)'"}));
        QCOMPARE(sessao.Erro().descricao, QStringLiteral("Cannot move all contents of file"));
    }

    void AttachEDetachDevolvemAMensagemDoServidor()
    {
        ServidorDuble servidor;
        clsSqlDmoDuble sessao(servidor);
        QCOMPARE(sessao.AttachDB("Vendas", "C:\\v.mdf"), QString());
        QCOMPARE(sessao.DetachDB("Vendas", false), QString());
        servidor.falhas << std::pair{QString("sp_detach_db"),
                                     QString("Cannot detach the database because it is in use.")};
        QCOMPARE(sessao.DetachDB("Vendas", false), QStringLiteral("Cannot detach the database because it is in use."));
    }

    void EspacoDoBanco()
    {
        ServidorDuble servidor;
        servidor.PovoarAdmin();
        clsSqlDmoDuble sessao(servidor);
        double tamanho = 0, livre = 0;
        QVERIFY(sessao.EspacoBanco("Loja", tamanho, livre));
        QCOMPARE(tamanho, 200.0);
        QCOMPARE(livre, 50.0);
        QVERIFY(servidor.enviados.last().startsWith("EXEC [Loja].sys.sp_executesql N'SELECT CAST(SUM("));
        QVERIFY(servidor.enviados.last().contains("FILEPROPERTY(name, ''SpaceUsed'')"));
    }

    // Against a real server: names with "]" and "'" go through every operation.
    void LoginsUsuariosEPapeis_SqlServerReal()
    {
        QUARRIX_EXIGIR_SQLSERVER(srv);
        clsSqlDmoSessao& s = *srv.sessao;
        QVERIFY2(srv.CriarBanco(), qPrintable(s.Erro().descricao));
        const QString login = srv.Login("qx_O'Brien]");
        QVERIFY2(s.CriarLogin(login, false, "Senh@'Forte]1", srv.banco, QString()), qPrintable(s.Erro().descricao));
        QVERIFY2(s.AlterarLogin(login, "master", "us_english"), qPrintable(s.Erro().descricao));
        QVERIFY2(s.DefinirSenhaLogin(login, "Outr@'Senha]2"), qPrintable(s.Erro().descricao));
        QVERIFY2(s.PapelServidor(login, "dbcreator", true), qPrintable(s.Erro().descricao));
        RecordsetPtr rs;
        QVERIFY(s.Logins(rs));
        QVERIFY(rs->setFilter("LoginName = '" + QString(login).replace("'", "''") + "'"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Valor("LoginType").toString(), QStringLiteral("SQL"));
        QCOMPARE(rs->Valor("DefLangName").toString(), QStringLiteral("us_english"));
        QVERIFY2(s.CriarUsuario(srv.banco, login, "u'sr]"), qPrintable(s.Erro().descricao));
        QVERIFY2(s.PapelBanco(srv.banco, "db_datareader", "u'sr]", true), qPrintable(s.Erro().descricao));
        QVERIFY(s.Usuarios(srv.banco, rs, "u'sr]"));
        QVERIFY(rs->setFilter("GroupName = 'db_datareader'"));
        QCOMPARE(rs->RecordCount(), 1);
        QVERIFY2(s.PapelBanco(srv.banco, "db_datareader", "u'sr]", false), qPrintable(s.Erro().descricao));
        QVERIFY2(s.RemoverUsuario(srv.banco, "u'sr]"), qPrintable(s.Erro().descricao));
        QVERIFY2(s.PapelServidor(login, "dbcreator", false), qPrintable(s.Erro().descricao));
        QVERIFY2(s.NegarLogin(login, true), qPrintable(s.Erro().descricao));
        QVERIFY2(s.RemoverLogin(login), qPrintable(s.Erro().descricao));
        double tamanho = 0, livre = 0;
        QVERIFY2(s.EspacoBanco(srv.banco, tamanho, livre), qPrintable(s.Erro().descricao));
        QVERIFY(tamanho > 0 && livre >= 0 && livre <= tamanho);
        QVERIFY2(s.ShrinkBanco(srv.banco, 10, 2), qPrintable(s.Erro().descricao));
        QCOMPARE(s.DetachDB(srv.banco, false), QString());
        QVERIFY(!s.DetachDB(srv.banco, false).isEmpty()); // gone: the server says so
    }
};
QUARRIX_TESTE(tst_clsSqlDmoSessaoAdmin);
#include "tst_clsSqlDmoSessaoAdmin.moc"
