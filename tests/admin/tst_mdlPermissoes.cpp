// A user's permissions: the statements that take the catalog from the state read to the state
// edited (SQL Server against the management session double, PostgreSQL for real, each name through
// the engine's quoting), one transaction that changes all or nothing, and what is read back.
#include "admin/clsPermissoes.h"
#include "admin/mdlPermissoes.h"
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "connections/mdlTSqlAdmin.h"
#include "servidorReal.h"
#include "support/clsSqlDmoDuble.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QRegularExpression>
#include <QTest>

using namespace permissoes;

Q_DECLARE_METATYPE(Dialeto)

namespace {

struct Mudanca {
    Estado antes = Estado::Nenhum;
    bool opcao = false; // held with grant option
    Estado depois = Estado::Nenhum;
};

Quadro UmObjeto(Dialeto d, const QString& usuario, const Objeto& o)
{
    Quadro q;
    q.dialeto = d;
    q.usuario = usuario;
    q.objetos << o;
    return q;
}

Objeto Obj(const QString& esquema, const QString& nome, TipoObjeto tipo, const QString& argumentos = {})
{
    Objeto o;
    o.esquema = esquema;
    o.nome = nome;
    o.tipo = tipo;
    o.argumentos = argumentos;
    return o;
}

// A SQL Server database "Loja" as the double answers it: user "ana]" with SELECT held with grant
// option and DELETE denied on vendas.Pedidos, EXECUTE on dbo.Fechar, and through role "leitura"
// SELECT on dbo.Clientes; member of db_datareader and leitura.
void PovoarPermissoes(ServidorDuble& s)
{
    s.Responder("AS superusuario", {{"superusuario"}, {{0}}});
    s.Responder("FROM sys.objects o JOIN",
                {{"esquema", "nome", "argumentos", "tipo"},
                 {{"dbo", "Clientes", "", "U"},
                  {"dbo", "Fechar", "", "P "},
                  {"dbo", "Total", "", "FN"},
                  {"vendas", "Pedidos", "", "U"},
                  {"vendas", "Resumo", "", "V"},
                  {"dbo", "Regra", "", "R"}}});
    s.Responder("sys.database_permissions p",
                {{"esquema", "nome", "argumentos", "permissao", "estado", "papel"},
                 {{"vendas", "Pedidos", "", "SELECT", "W", QVariant()},
                  {"vendas", "Pedidos", "", "DELETE", "D", QVariant()},
                  {"dbo", "Fechar", "", "EXECUTE", "G", QVariant()},
                  {"dbo", "Clientes", "", "SELECT", "G", "leitura"},
                  {"dbo", "Clientes", "", "UPDATE", "D", "leitura"},
                  {"dbo", "Fechar", "", "SELECT", "G", QVariant()}}});
    s.Responder("AS efetivo",
                {{"nome", "fixo", "membro", "efetivo"},
                 {{"db_datareader", 1, 1, 1}, {"db_owner", 1, 0, 0}, {"leitura", 0, 1, 1}, {"vendedores", 0, 0, 0}}});
}

} // namespace

class tst_mdlPermissoes : public QObject {
    Q_OBJECT
private slots:
    // Each change of a cell, on each engine, with the names and the principal quoted.
    void InstrucaoDeUmaCelula_data()
    {
        QTest::addColumn<Dialeto>("dialeto");
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("argumentos");
        QTest::addColumn<int>("permissao");
        QTest::addColumn<int>("antes");
        QTest::addColumn<bool>("opcao");
        QTest::addColumn<int>("depois");
        QTest::addColumn<QString>("esperada");
        const int nada = int(Estado::Nenhum), grant = int(Estado::Concedido), deny = int(Estado::Negado);
        const int tabela = int(TipoObjeto::Tabela);
        const auto ss = Dialeto::SqlServer;
        const auto pg = Dialeto::PostgreSql;
        QTest::newRow("ss grant") << ss << "a]b" << tabela << "Pedidos"
                                  << "" << int(Select) << nada << false << grant
                                  << "GRANT SELECT ON [vendas].[Pedidos] TO [a]]b]";
        QTest::newRow("ss deny") << ss << "a]b" << tabela << "Pedidos"
                                 << "" << int(Insert) << nada << false << deny
                                 << "DENY INSERT ON [vendas].[Pedidos] TO [a]]b]";
        QTest::newRow("ss grant to deny")
            << ss << "a]b" << tabela << "Pedidos"
            << "" << int(Update) << grant << false << deny << "DENY UPDATE ON [vendas].[Pedidos] TO [a]]b]";
        QTest::newRow("ss deny to grant")
            << ss << "a]b" << tabela << "Pedidos"
            << "" << int(Delete) << deny << false << grant << "GRANT DELETE ON [vendas].[Pedidos] TO [a]]b]";
        QTest::newRow("ss revoke deny") << ss << "a]b" << tabela << "Pedidos"
                                        << "" << int(Select) << deny << false << nada
                                        << "REVOKE SELECT ON [vendas].[Pedidos] FROM [a]]b]";
        QTest::newRow("ss revoke grant option") << ss << "a]b" << tabela << "Pedidos"
                                                << "" << int(References) << grant << true << nada
                                                << "REVOKE REFERENCES ON [vendas].[Pedidos] FROM [a]]b] CASCADE";
        QTest::newRow("ss deny grant option")
            << ss << "a]b" << tabela << "Pedidos"
            << "" << int(Select) << grant << true << deny << "DENY SELECT ON [vendas].[Pedidos] TO [a]]b] CASCADE";
        QTest::newRow("ss procedure") << ss << "O'Brien" << int(TipoObjeto::Procedure) << "Fe]char"
                                      << "" << int(Execute) << nada << false << grant
                                      << "GRANT EXECUTE ON [vendas].[Fe]]char] TO [O'Brien]";
        QTest::newRow("pg table") << pg << "ze\"'x" << tabela << "Pe\"d'idos"
                                  << "" << int(Select) << nada << false << grant
                                  << "GRANT SELECT ON TABLE \"vendas\".\"Pe\"\"d'idos\" TO \"ze\"\"'x\"";
        QTest::newRow("pg revoke") << pg << "ze" << int(TipoObjeto::View) << "v"
                                   << "" << int(Insert) << grant << false << nada
                                   << "REVOKE INSERT ON TABLE \"vendas\".\"v\" FROM \"ze\"";
        QTest::newRow("pg revoke grant option") << pg << "ze" << tabela << "t"
                                                << "" << int(Delete) << grant << true << nada
                                                << "REVOKE DELETE ON TABLE \"vendas\".\"t\" FROM \"ze\" CASCADE";
        QTest::newRow("pg function") << pg << "ze" << int(TipoObjeto::Funcao) << "f"
                                     << "a integer, b text" << int(Execute) << nada << false << grant
                                     << "GRANT EXECUTE ON FUNCTION \"vendas\".\"f\"(a integer, b text) TO \"ze\"";
        QTest::newRow("pg procedure") << pg << "ze" << int(TipoObjeto::Procedure) << "p"
                                      << "" << int(Execute) << grant << false << nada
                                      << "REVOKE EXECUTE ON PROCEDURE \"vendas\".\"p\"() FROM \"ze\"";
    }
    void InstrucaoDeUmaCelula()
    {
        QFETCH(Dialeto, dialeto);
        QFETCH(QString, usuario);
        QFETCH(int, tipo);
        QFETCH(QString, nome);
        QFETCH(QString, argumentos);
        QFETCH(int, permissao);
        QFETCH(int, antes);
        QFETCH(bool, opcao);
        QFETCH(int, depois);
        QFETCH(QString, esperada);
        Quadro a = UmObjeto(dialeto, usuario, Obj("vendas", nome, TipoObjeto(tipo), argumentos));
        a.objetos[0].celulas[permissao] = {Estado(antes), opcao, {}};
        Quadro d = a;
        QCOMPARE(Instrucoes(a, d), QStringList());
        d.objetos[0].celulas[permissao].estado = Estado(depois);
        QCOMPARE(Instrucoes(a, d), QStringList{esperada});
        QCOMPARE(QtdeAlteracoes(a, d), 1);
    }

    // An object's changes are grouped per statement, revoked before denied before granted; roles
    // taken away come before roles given.
    void AgrupaPorObjetoEPapeis()
    {
        Quadro a = UmObjeto(Dialeto::SqlServer, "a]b", Obj("vendas", "Pedidos", TipoObjeto::Tabela));
        a.objetos << Obj("dbo", "Clientes", TipoObjeto::Tabela);
        a.objetos[0].celulas[Delete].estado = Estado::Concedido;
        a.papeis
            = {{"db_owner", true, true, true}, {"db_datareader", true, false, false}, {"x]y", false, false, false}};
        Quadro d = a;
        d.objetos[0].celulas[Select].estado = Estado::Concedido;
        d.objetos[0].celulas[Insert].estado = Estado::Concedido;
        d.objetos[0].celulas[Update].estado = Estado::Negado;
        d.objetos[0].celulas[Delete].estado = Estado::Nenhum;
        d.papeis[0].membro = false;
        d.papeis[1].membro = true;
        d.papeis[2].membro = true;
        const QStringList esperadas = {
            "REVOKE DELETE ON [vendas].[Pedidos] FROM [a]]b]",
            "DENY UPDATE ON [vendas].[Pedidos] TO [a]]b]",
            "GRANT SELECT, INSERT ON [vendas].[Pedidos] TO [a]]b]",
            "ALTER ROLE [db_owner] DROP MEMBER [a]]b]",
            "ALTER ROLE [db_datareader] ADD MEMBER [a]]b]",
            "ALTER ROLE [x]]y] ADD MEMBER [a]]b]",
        };
        QCOMPARE(Instrucoes(a, d), esperadas);
        QCOMPARE(QtdeAlteracoes(a, d), 7);
        QCOMPARE(Script(Dialeto::SqlServer, esperadas.mid(0, 1)),
                 "SET XACT_ABORT ON;\nBEGIN TRANSACTION;\nREVOKE DELETE ON [vendas].[Pedidos] FROM [a]]b];\n"
                 "COMMIT TRANSACTION;\n");

        a.dialeto = d.dialeto = Dialeto::PostgreSql;
        a.usuario = d.usuario = "ze\"'x";
        const QStringList pg = Instrucoes(a, d);
        QCOMPARE(pg.mid(3),
                 QStringList({"REVOKE \"db_owner\" FROM \"ze\"\"'x\"",
                              "GRANT \"db_datareader\" TO \"ze\"\"'x\"",
                              "GRANT \"x]y\" TO \"ze\"\"'x\""}));
        QCOMPARE(Script(Dialeto::PostgreSql, pg.mid(3, 1)),
                 "BEGIN;\nREVOKE \"db_owner\" FROM \"ze\"\"'x\";\nCOMMIT;\n");
        QCOMPARE(Script(Dialeto::PostgreSql, {}), QString());
    }

    // SQL Server cells step through none, GRANT, DENY; PostgreSQL's have no DENY. A permission
    // applies only where the engine has it.
    void EstadosEAplicabilidade()
    {
        QCOMPARE(ProximoEstado(Dialeto::SqlServer, Estado::Nenhum), Estado::Concedido);
        QCOMPARE(ProximoEstado(Dialeto::SqlServer, Estado::Concedido), Estado::Negado);
        QCOMPARE(ProximoEstado(Dialeto::SqlServer, Estado::Negado), Estado::Nenhum);
        QCOMPARE(ProximoEstado(Dialeto::PostgreSql, Estado::Concedido), Estado::Nenhum);
        QVERIFY(Aplicavel(Dialeto::SqlServer, TipoObjeto::Tabela, References));
        QVERIFY(!Aplicavel(Dialeto::SqlServer, TipoObjeto::Tabela, Execute));
        QVERIFY(!Aplicavel(Dialeto::SqlServer, TipoObjeto::Procedure, Select));
        QVERIFY(Aplicavel(Dialeto::SqlServer, TipoObjeto::Funcao, References));
        QVERIFY(!Aplicavel(Dialeto::PostgreSql, TipoObjeto::Funcao, References));
        QVERIFY(Aplicavel(Dialeto::SqlServer, TipoObjeto::FuncaoTabela, Select));
    }

    // The argument: the connection string may hold "&" and "="; both keys are required.
    void Argumento_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("connStr");
        QTest::addColumn<QString>("usuario");
        const QString cs = "Provider=SQLOLEDB.1;Data Source=SRV;User ID=sa;Password=a&b=c;Initial Catalog=Loja;";
        QTest::newRow("montado") << MontarArgumento(cs, "O'Brien]") << true << cs << "O'Brien]";
        QTest::newRow("sem usuario") << "ConnString=" + cs << false << ""
                                     << "";
        QTest::newRow("lixo") << "x&UserName=a" << false << ""
                              << "";
    }
    void Argumento()
    {
        QFETCH(QString, texto);
        QFETCH(bool, ok);
        QFETCH(QString, connStr);
        QFETCH(QString, usuario);
        QString lidaConn, lidoUsuario, erro;
        QCOMPARE(LerArgumento(texto, lidaConn, lidoUsuario, &erro), ok);
        if (ok) {
            QCOMPARE(lidaConn, connStr);
            QCOMPARE(lidoUsuario, usuario);
        } else
            QVERIFY(!erro.isEmpty());
    }

    // SQL Server: the catalog is read in the user's database; what the user holds, what its roles
    // grant, the roles; the changes go in one batch, in one transaction.
    void SqlServerLeEAplica()
    {
        ServidorDuble s;
        PovoarPermissoes(s);
        clsAmbienteDados amb{std::unique_ptr<clsPrompt>()};
        amb.fabricaSqlDmo = s.Fabrica();
        QString erro;
        auto p = clsPermissoes::Abrir(amb, MontarConnStrSql("SRV", "Lo'ja]", "sa", "x", false), erro);
        QVERIFY2(p, qPrintable(erro));
        Quadro q;
        QVERIFY2(p->Ler("ana]", q, erro), qPrintable(erro));
        QCOMPARE(s.enviados.size(), 4);
        for (const QString& sql : s.enviados)
            QVERIFY2(sql.startsWith("EXEC [Lo'ja]]].sys.sp_executesql N'"), qPrintable(sql));
        QVERIFY(s.enviados[0].contains("name = N''ana]''"));
        QStringList rotulos;
        for (const Objeto& o : q.objetos)
            rotulos << o.Rotulo();
        QCOMPARE(rotulos,
                 QStringList({"dbo.Clientes", "dbo.Fechar()", "dbo.Total()", "vendas.Pedidos", "vendas.Resumo"}));
        const Objeto& pedidos = q.objetos[3];
        QCOMPARE(pedidos.celulas[Select].estado, Estado::Concedido);
        QVERIFY(pedidos.celulas[Select].opcaoConcessao);
        QCOMPARE(pedidos.celulas[Delete].estado, Estado::Negado);
        // db_datareader reads every table; leitura grants SELECT on Clientes (its DENY shows nowhere).
        QCOMPARE(pedidos.celulas[Select].papeis, QStringList{"db_datareader"});
        QCOMPARE(q.objetos[0].celulas[Select].estado, Estado::Nenhum);
        QCOMPARE(q.objetos[0].celulas[Select].papeis, QStringList({"leitura", "db_datareader"}));
        QVERIFY(q.objetos[0].celulas[Update].papeis.isEmpty());
        QCOMPARE(q.objetos[1].celulas[Execute].estado, Estado::Concedido);
        QCOMPARE(q.objetos[1].celulas[Select].estado, Estado::Nenhum); // SELECT does not apply to a procedure
        QCOMPARE(q.papeis.size(), 4);
        QVERIFY(q.papeis[0].membro && q.papeis[0].fixo && !q.papeis[1].membro && !q.papeis[2].fixo);

        Quadro d = q;
        d.objetos[3].celulas[Select].estado = Estado::Negado;
        d.objetos[3].celulas[Delete].estado = Estado::Nenhum;
        d.objetos[4].celulas[Insert].estado = Estado::Concedido;
        d.papeis[3].membro = true;
        s.enviados.clear();
        QVERIFY2(p->Aplicar(Instrucoes(q, d), erro), qPrintable(erro));
        QCOMPARE(s.enviados,
                 QStringList{"EXEC [Lo'ja]]].sys.sp_executesql N'SET XACT_ABORT ON;\nBEGIN TRANSACTION;\n"
                             "REVOKE DELETE ON [vendas].[Pedidos] FROM [ana]]];\n"
                             "DENY SELECT ON [vendas].[Pedidos] TO [ana]]] CASCADE;\n"
                             "GRANT INSERT ON [vendas].[Resumo] TO [ana]]];\n"
                             "ALTER ROLE [vendedores] ADD MEMBER [ana]]];\nCOMMIT TRANSACTION;\n'"});

        s.falhas.append({QStringLiteral("GRANT INSERT"), QStringLiteral("Cannot find the object 'Resumo'.")});
        QVERIFY(!p->Aplicar(Instrucoes(q, d), erro));
        QCOMPARE(erro, QStringLiteral("Cannot find the object 'Resumo'."));
    }

    void SqlServerUsuarioInexistente()
    {
        ServidorDuble s;
        PovoarPermissoes(s);
        s.Responder("AS superusuario", {{"superusuario"}, {}});
        clsAmbienteDados amb{std::unique_ptr<clsPrompt>()};
        amb.fabricaSqlDmo = s.Fabrica();
        QString erro;
        auto p = clsPermissoes::Abrir(amb, MontarConnStrSql("SRV", "Loja", "sa", "x", false), erro);
        QVERIFY(p);
        Quadro q;
        QVERIFY(!p->Ler("ninguem", q, erro));
        QCOMPARE(erro, QStringLiteral("O usuário 'ninguem' não existe no banco de dados Loja."));
        QCOMPARE(s.enviados.size(), 1);

        // Neither SQL Server nor PostgreSQL: refused before anything is read.
        QVERIFY(!clsPermissoes::Abrir(amb, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/tmp/x.db", erro));
        QCOMPARE(erro,
                 QStringLiteral("As permissões só são administradas em bancos de dados SQL Server e PostgreSQL."));
    }

    // PostgreSQL, for real: a user and a table whose names hold '"' and "'", granted, read back,
    // revoked; a failing statement leaves every other change undone.
    void PostgresIdaEVolta()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_permissoes"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        clsAmbienteDados amb{std::unique_ptr<clsPrompt>()};
        clsData db(amb);
        QVERIFY2(db.OpenConnection(cs, true, false), qPrintable(db.ErrMsg()));
        const QString sufixo = QString::number(QCoreApplication::applicationPid());
        const QString usuario = "ze\"'x" + sufixo, papel = "leitores " + sufixo;
        const QString u = "\"ze\"\"'x" + sufixo + "\"", r = "\"leitores " + sufixo + "\"";
        const auto limpar = [&] {
            for (const QString& papelSql : {u, r}) {
                db.ExecSql("DROP OWNED BY " + papelSql, false);
                db.ExecSql("DROP ROLE IF EXISTS " + papelSql, false);
            }
        };
        limpar();
        for (const QString& sql :
             QStringList{"DROP SCHEMA IF EXISTS vendas CASCADE",
                         "CREATE SCHEMA vendas",
                         "CREATE TABLE vendas.\"Pe\"\"d'idos\" (id int)",
                         "CREATE TABLE vendas.outra (id int)",
                         "CREATE VIEW vendas.resumo AS SELECT count(*) AS n FROM vendas.outra",
                         "CREATE FUNCTION vendas.total(a integer) RETURNS integer LANGUAGE sql AS 'SELECT a'",
                         "REVOKE EXECUTE ON FUNCTION vendas.total(integer) FROM PUBLIC",
                         "CREATE ROLE " + u + " LOGIN",
                         "CREATE ROLE " + r,
                         "GRANT SELECT ON vendas.outra TO " + r})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));

        QString erro;
        auto p = clsPermissoes::Abrir(amb, cs, erro);
        QVERIFY2(p, qPrintable(erro));
        QCOMPARE(p->DialetoSql(), Dialeto::PostgreSql);
        Quadro antes;
        QVERIFY2(p->Ler(usuario, antes, erro), qPrintable(erro));
        QCOMPARE(Listar(antes), QStringList());
        const auto indice = [&](const Quadro& q, const QString& rotulo) {
            for (qsizetype i = 0; i < q.objetos.size(); ++i)
                if (q.objetos[i].Rotulo() == rotulo)
                    return int(i);
            return -1;
        };
        const int pedidos = indice(antes, "vendas.Pe\"d'idos"), outra = indice(antes, "vendas.outra"),
                  total = indice(antes, "vendas.total(a integer)"), resumo = indice(antes, "vendas.resumo");
        QVERIFY(pedidos >= 0 && outra >= 0 && total >= 0 && resumo >= 0);
        QCOMPARE(antes.objetos[resumo].tipo, TipoObjeto::View);
        int ipapel = -1;
        for (qsizetype i = 0; i < antes.papeis.size(); ++i)
            if (antes.papeis[i].nome == papel)
                ipapel = int(i);
        QVERIFY(ipapel >= 0 && !antes.papeis[ipapel].membro);

        Quadro depois = antes;
        depois.objetos[pedidos].celulas[Select].estado = Estado::Concedido;
        depois.objetos[pedidos].celulas[Insert].estado = Estado::Concedido;
        depois.objetos[total].celulas[Execute].estado = Estado::Concedido;
        depois.papeis[ipapel].membro = true;
        QVERIFY2(p->Aplicar(Instrucoes(antes, depois), erro), qPrintable(erro));
        Quadro lido;
        QVERIFY2(p->Ler(usuario, lido, erro), qPrintable(erro));
        QCOMPARE(Listar(lido), Listar(depois));
        // Now a member, the user is shown what its role grants, apart from its own.
        QCOMPARE(lido.objetos[outra].celulas[Select].estado, Estado::Nenhum);
        QCOMPARE(lido.objetos[outra].celulas[Select].papeis, QStringList{papel});

        depois = lido;
        depois.objetos[pedidos].celulas[Insert].estado = Estado::Nenhum;
        QCOMPARE(Instrucoes(lido, depois), QStringList{"REVOKE INSERT ON TABLE \"vendas\".\"Pe\"\"d'idos\" FROM " + u});
        QVERIFY2(p->Aplicar(Instrucoes(lido, depois), erro), qPrintable(erro));
        QVERIFY2(p->Ler(usuario, lido, erro), qPrintable(erro));
        QCOMPARE(Listar(lido),
                 QStringList(
                     {"vendas.Pe\"d'idos\tSELECT=GRANT", "vendas.total(a integer)\tEXECUTE=GRANT", "PAPEL\t" + papel}));

        // All or nothing: the second object is gone when the changes are sent.
        depois = lido;
        depois.objetos[outra].celulas[Update].estado = Estado::Concedido;
        depois.objetos[resumo].celulas[Select].estado = Estado::Concedido;
        depois.papeis[ipapel].membro = false;
        QVERIFY(db.ExecSql("DROP VIEW vendas.resumo", false));
        QVERIFY(!p->Aplicar(Instrucoes(lido, depois), erro));
        QVERIFY2(erro.contains("resumo"), qPrintable(erro));
        Quadro depoisDaFalha;
        QVERIFY2(p->Ler(usuario, depoisDaFalha, erro), qPrintable(erro));
        QCOMPARE(Listar(depoisDaFalha), Listar(lido));

        p.reset();
        QVERIFY(db.ExecSql("DROP SCHEMA vendas CASCADE", false));
        limpar();
    }

    // A real SQL Server, when there is one: a user of a new database granted, denied and revoked on
    // a table of a schema, read back each time.
    void SqlServerReal()
    {
        QUARRIX_EXIGIR_SQLSERVER(srv);
        QVERIFY(srv.CriarBanco());
        const QString login = srv.Login("qx_perm]'");
        QVERIFY(srv.sessao->EnviarTSql(tsql::SqlCriarLogin(login, false, "Senh@Forte-123", {}, {})));
        QVERIFY(srv.sessao->EnviarTSql(tsql::SqlCriarUsuario(srv.banco, login, login)));
        QVERIFY(srv.sessao->EnviarTSql(tsql::NoBanco(srv.banco, "EXEC('CREATE SCHEMA vendas')")));
        QVERIFY(srv.sessao->EnviarTSql(tsql::NoBanco(srv.banco, "CREATE TABLE vendas.Pedidos (id int)")));
        clsAmbienteDados amb{std::unique_ptr<clsPrompt>()};
        QString cs = srv.connStr;
        cs.replace(QRegularExpression("Initial Catalog=[^;]*", QRegularExpression::CaseInsensitiveOption),
                   "Initial Catalog=" + srv.banco);
        QString erro;
        auto p = clsPermissoes::Abrir(amb, cs, erro);
        QVERIFY2(p, qPrintable(erro));
        Quadro q;
        QVERIFY2(p->Ler(login, q, erro), qPrintable(erro));
        int i = -1;
        for (qsizetype k = 0; k < q.objetos.size(); ++k)
            if (q.objetos[k].Rotulo() == "vendas.Pedidos")
                i = int(k);
        QVERIFY(i >= 0);
        for (Estado e : {Estado::Concedido, Estado::Negado, Estado::Nenhum}) {
            Quadro d = q;
            d.objetos[i].celulas[Select].estado = e;
            d.objetos[i].celulas[Update].estado = e;
            QVERIFY2(p->Aplicar(Instrucoes(q, d), erro), qPrintable(erro));
            QVERIFY2(p->Ler(login, q, erro), qPrintable(erro));
            QCOMPARE(Listar(q), Listar(d));
        }
    }
};
QUARRIX_TESTE(tst_mdlPermissoes);
#include "tst_mdlPermissoes.moc"
