#include "connections/clsData.h"
#include "connections/mdlCriarBanco.h"
#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlNavegador.h"
#include "navigator/mdlServidores.h"
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "support/clsPromptRoteiro.h"
#include "support/clsSqlDmoDuble.h"
#include "support/esperaArvore.h"
#include "support/fixtures.h"
#include "support/portaLocal.h"
#include "support/registroTestes.h"

#include <QFile>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <optional>

namespace {
// A small shop database in a temporary folder, mapped like the command-line file.
struct Cenario {
    SettingsTemporarios settings;
    clsPromptRoteiro prompt;
    clsAmbienteNavegador ambiente{prompt};
    clsArvore& arvore = ambiente.Arvore();
    QString caminho;
    Cenario()
    {
        caminho = settings.pasta.filePath("loja.db");
        QString erro;
        CriarBancoAccess(caminho, &erro);
        clsData d(ambiente);
        const bool ok = d.OpenConnection(MontarConnStrAccess(caminho, "admin", {}), true, false);
        for (const char* sql :
             {"CREATE TABLE Clientes (Id INTEGER PRIMARY KEY, Nome VARCHAR(80) NOT NULL, [Cidade Natal] VARCHAR(50))",
              "CREATE TABLE [Itens Pedido] (PedidoId INTEGER NOT NULL, ProdutoId INTEGER NOT NULL, Qtde INTEGER, "
              "PRIMARY KEY (PedidoId, ProdutoId))",
              "CREATE INDEX IX_Itens ON [Itens Pedido] (ProdutoId, Qtde)",
              "CREATE UNIQUE INDEX IX_Nome ON Clientes (Nome)",
              "CREATE VIEW vwClientes AS SELECT Nome FROM Clientes"})
            if (ok)
                d.ExecSql(QString::fromUtf8(sql), false);
        d.CloseConnection();
        InicializarNavegador(arvore);
    }
    QString ConnStr() const { return MontarConnStrAccess(caminho, "admin", {}); }
    clsNo* Fonte() const { return arvore.No("Outros")->Child(); }
    // The folder of a source with that key suffix, expanded: its children ("sem pasta" when missing).
    QStringList FilhosDaPasta(clsNo* fonte, const char* sufixo)
    {
        clsNo* p = arvore.No(fonte->Key() + sufixo);
        if (!p)
            return QStringList{QStringLiteral("sem pasta")};
        Expandir(arvore, p);
        return Filhos(p);
    }
    QStringList Filhos(clsNo* no) const
    {
        QStringList r;
        for (clsNo* n = no ? no->Child() : nullptr; n; n = n->Next())
            r << n->Text();
        return r;
    }
};
} // namespace

class tst_mdlCatalogo : public QObject {
    Q_OBJECT
private slots:
    void MapearEAbrirUmArquivo()
    {
        Cenario c;
        QVERIFY2(Mapeado(c.arvore, c.ConnStr()), qPrintable(c.prompt.textos().join("|")));
        clsNo* fonte = c.Fonte();
        QVERIFY(fonte);
        QCOMPARE(fonte->Image(), 13);
        QCOMPARE(fonte->Tag(), c.ConnStr());
        QCOMPARE(c.Filhos(fonte), (QStringList{"SQL Editor", "Tables", "Views"}));
        QCOMPARE(settings::GetSetting("Servidores", "Tipo001"), QStringLiteral("C"));
        QCOMPARE(Desembaralhar(settings::GetSetting("Servidores", "ConnStr001")), c.ConnStr());
        QCOMPARE(Desembaralhar(settings::GetSetting("Servidores", "Link001")), fonte->Key());
        QCOMPARE(settings::GetSetting("VerificaDlls", "Microsoft.Jet.OLEDB.4.0"), QStringLiteral("4"));
        // Opening the same file again uses the entry already mapped: no second slot, no message.
        QVERIFY(Mapeado(c.arvore, c.ConnStr()));
        QCOMPARE(c.arvore.No("Outros")->Children(), 1);
        QVERIFY(settings::GetSetting("Servidores", "Tipo002").isEmpty());
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    void ExpandirTabelasEViews()
    {
        Cenario c;
        QVERIFY(Mapeado(c.arvore, c.ConnStr()));
        clsNo* tabelas = c.arvore.No(c.Fonte()->Key() + "tab");
        QCOMPARE(c.Filhos(tabelas), QStringList{"<temp>"});
        QCOMPARE(tabelas->Child()->Image(), 11);
        QVERIFY(Expandir(c.arvore, tabelas));
        QCOMPARE(c.Filhos(tabelas), (QStringList{"Clientes", "Itens Pedido"}));
        QCOMPARE(tabelas->Child()->Key(), tabelas->Key() + "Clientes");
        QCOMPARE(tabelas->Child()->Tag(), c.ConnStr());
        // A folder loads once; expanding again changes nothing.
        const int indice = tabelas->Child()->Index();
        QVERIFY(Expandir(c.arvore, tabelas));
        QCOMPARE(tabelas->Child()->Index(), indice);
        clsNo* views = c.arvore.No(c.Fonte()->Key() + "con");
        QVERIFY(Expandir(c.arvore, views));
        QCOMPARE(c.Filhos(views), QStringList{"vwClientes"});
        QCOMPARE(views->Child()->Image(), 10);
    }

    // The folder is read on a worker thread: meanwhile the tree shows "Carregando…" and events go
    // on; a collapse then drops what was read and the next expand reads again.
    void ExpandirCarregaForaDaJanela_data()
    {
        QTest::addColumn<bool>("recolher");
        QTest::newRow("ate o fim") << false;
        QTest::newRow("recolhida durante a carga") << true;
    }
    void ExpandirCarregaForaDaJanela()
    {
        QFETCH(bool, recolher);
        Cenario c;
        QVERIFY(Mapeado(c.arvore, c.ConnStr()));
        clsNo* tabelas = c.arvore.No(c.Fonte()->Key() + "tab");
        ExpandirNo(c.arvore, tabelas);
        QCOMPARE(c.Filhos(tabelas), QStringList{TextoCarregando});
        // A second expand while the first runs does nothing.
        ExpandirNo(c.arvore, tabelas);
        if (recolher) {
            CancelarCarga(c.arvore, tabelas);
            QCOMPARE(c.Filhos(tabelas), QStringList{"<temp>"});
            QTest::qWait(200); // what the first read brings is dropped
            QCOMPARE(c.Filhos(tabelas), QStringList{"<temp>"});
            ExpandirNo(c.arvore, tabelas);
        }
        QVERIFY(Carregada(tabelas));
        QCOMPARE(c.Filhos(tabelas), (QStringList{"Clientes", "Itens Pedido"}));
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    // A server that accepts and never answers: the tree goes on processing events for the whole
    // time-out, then the error is shown once and nothing is mapped.
    void ServidorMudoNaoCongela()
    {
        Cenario c;
        c.ambiente.Opcoes().TimeOut = 2;
        PortaLocal mudo(true);
        int batidas = 0;
        QTimer relogio;
        connect(&relogio, &QTimer::timeout, [&] { ++batidas; });
        relogio.start(10);
        const QString cs = MontarConnStrSql("127.0.0.1," + QString::number(mudo.numero), "master", "sa", "x", false);
        // The call returns while the connection is being opened; the answer comes afterwards.
        std::optional<bool> mapeado;
        MapearConexaoCustomizada(c.arvore, cs, [&](bool ok) { mapeado = ok; });
        QVERIFY(!mapeado.has_value());
        QVERIFY(QTest::qWaitFor([&] { return mapeado.has_value(); }, 30000));
        QVERIFY(!*mapeado);
        QVERIFY2(batidas >= 50, qPrintable(QString::number(batidas)));
        QCOMPARE(c.prompt.mensagens.size(), 1);
        QCOMPARE(c.prompt.ultima().icone(), int(vb::Critical));
        QCOMPARE(c.Filhos(c.arvore.No("Outros")), QStringList());
    }

    void DetalhesDaTabela()
    {
        Cenario c;
        {
            clsData db(c.ambiente);
            QVERIFY(db.OpenConnection(c.ConnStr(), true, false));
            QVERIFY(db.ExecSql("CREATE TRIGGER tr_itens AFTER INSERT ON \"Itens Pedido\" BEGIN SELECT 1; END", false));
        }
        QVERIFY(Mapeado(c.arvore, c.ConnStr()));
        clsNo* tabelas = c.arvore.No(c.Fonte()->Key() + "tab");
        QVERIFY(Expandir(c.arvore, tabelas));
        clsNo* itens = c.arvore.No(tabelas->Key() + "Itens Pedido");
        for (int vez = 0; vez < 2; ++vez) { // loading twice replaces, never doubles
            QVERIFY(DetalhesCarregados(c.arvore, itens));
            QCOMPARE(c.Filhos(itens), (QStringList{"Columns", "Indexes", "Triggers"}));
        }
        clsNo* colunas = itens->Child();
        QCOMPARE(c.Filhos(colunas),
                 (QStringList{"PedidoId - Int - Not Null", "ProdutoId - Int - Not Null", "Qtde - Int - Null"}));
        QCOMPARE(colunas->Child()->Image(), 26);
        QCOMPARE(colunas->Child()->Key(), itens->Key() + "CmpPedidoId");
        QCOMPARE(colunas->Child()->Next()->Next()->Image(), 27);
        // A two-column index gives one node; the primary key none.
        QCOMPARE(c.Filhos(colunas->Next()), QStringList{"IX_Itens"});
        QCOMPARE(colunas->Next()->Child()->Image(), 46);
        // The folder opens the table's connection: "Create" on it reaches the database.
        QCOMPARE(colunas->Next()->Tag(), itens->Tag());
        // A SQLite file lists a table's triggers.
        QCOMPARE(c.Filhos(colunas->Next()->Next()), QStringList{"tr_itens"});
        QCOMPARE(colunas->Next()->Next()->Child()->Image(), int(img::Trigger));

        clsNo* clientes = c.arvore.No(tabelas->Key() + "Clientes");
        QVERIFY(DetalhesCarregados(c.arvore, clientes));
        const QStringList cols = c.Filhos(clientes->Child());
        QCOMPARE(cols.value(1), QStringLiteral("Nome - VarChar(80) - Not Null"));
        QCOMPARE(clientes->Child()->Child()->Next()->Image(), 45);
        // Column keys lose their blanks.
        QVERIFY(c.arvore.No(clientes->Key() + "CmpCidadeNatal"));
    }

    void AtualizarRecriaAsPastas()
    {
        Cenario c;
        QVERIFY(Mapeado(c.arvore, c.ConnStr()));
        clsNo* fonte = c.Fonte();
        QVERIFY(Expandir(c.arvore, c.arvore.No(fonte->Key() + "tab")));
        QVERIFY(Atualizado(c.arvore, fonte));
        QCOMPARE(fonte->Image(), 13);
        QCOMPARE(fonte->Tag(), c.ConnStr());
        QCOMPARE(c.Filhos(c.arvore.No(fonte->Key() + "tab")), QStringList{"<temp>"});
    }

    // A refresh while the source is away fails without losing the custom node's connection string:
    // once the source is back, the next refresh connects.
    void AtualizarComAFonteForaGuardaAConexao()
    {
        Cenario c;
        QVERIFY(Mapeado(c.arvore, c.ConnStr()));
        clsNo* fonte = c.Fonte();
        const QString fora = c.caminho + ".fora";
        QVERIFY(QFile::rename(c.caminho, fora));
        QVERIFY(!Atualizado(c.arvore, fonte) || fonte->Image() != 13 || !fonte->Child());
        QCOMPARE(fonte->Tag(), c.ConnStr());
        QVERIFY(QFile::rename(fora, c.caminho));
        c.prompt.mensagens.clear();
        QVERIFY(Atualizado(c.arvore, fonte) || Conectado(c.arvore, fonte));
        QCOMPARE(fonte->Tag(), c.ConnStr());
        QVERIFY(c.arvore.No(fonte->Key() + "tab"));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
    }

    // A server that does not answer a refresh keeps the connection and the login that worked, for
    // the next refresh once it is back; the login is not asked again.
    void AtualizarServidorForaGuardaACredencial()
    {
        if (!SqlDmoDisponivel())
            QSKIP("no SQL Server ODBC driver installed");
        Cenario c;
        const QString tag = MontarConnStrSql("127.0.0.1,1", "Master", "sa", "pw", false);
        clsNo* no = IncluirNode(c.arvore, "SRV", "dbSRV", "Sql", img::SqlServerConectado, tag);
        c.arvore.Dados().Gravar("dbSRV", CampoNo::Usuario, "sa");
        c.arvore.Dados().Gravar("dbSRV", CampoNo::Senha, "pw");
        QVERIFY(!Atualizado(c.arvore, no));
        QCOMPARE(no->Image(), int(img::SqlServer));
        QCOMPARE(no->Tag(), tag);
        QCOMPARE(c.arvore.Dados().Ler("dbSRV", CampoNo::Usuario), QStringLiteral("sa"));
        QCOMPARE(c.arvore.Dados().Ler("dbSRV", CampoNo::Senha), QStringLiteral("pw"));
        QCOMPARE(c.prompt.loginsPedidos, 0);
    }

    void ArquivoMapeadoQueSumiu()
    {
        Cenario c;
        IncluirConexaoNavegador(c.arvore,
                                tiporegistro::Access,
                                c.settings.pasta.filePath("sumiu.db"),
                                false,
                                {},
                                {},
                                {},
                                {});
        clsNo* no = c.arvore.No("Access")->Child();
        QVERIFY(!Conectado(c.arvore, no));
        QCOMPARE(c.prompt.ultima().icone(), int(vb::Critical));
        QVERIFY(c.prompt.ultima().texto.endsWith("sumiu.db"));
        QVERIFY(!QFile::exists(c.settings.pasta.filePath("sumiu.db")));
        QCOMPARE(no->Image(), 5);
    }

    void ArquivoAccessPedeUsuarioAdmin()
    {
        Cenario c;
        IncluirConexaoNavegador(c.arvore, tiporegistro::Access, c.caminho, false, {}, {}, {}, {});
        clsNo* no = c.arvore.No("Access")->Child();
        QString sugerido;
        c.prompt.login = [&](QString& usuario, QString& senha, bool& lembrar) {
            sugerido = usuario;
            senha = "segredo";
            lembrar = true;
            return true;
        };
        const bool conectou = Conectado(c.arvore, no);
        QVERIFY(conectou);
        QCOMPARE(sugerido, QStringLiteral("Admin"));
        QCOMPARE(no->Image(), 4);
        QCOMPARE(Desembaralhar(settings::GetSetting("AutoLogin", "SqlPass:" + no->Key())), QStringLiteral("segredo"));
        QCOMPARE(settings::GetSetting("AutoLogin", "SqlUser:" + no->Key()), QStringLiteral("Admin"));
        // The password never shows in the connection's caption or its node text.
        QVERIFY(!no->Text().contains("segredo"));
    }

    void CancelarCredenciaisNaoConecta()
    {
        Cenario c;
        IncluirConexaoNavegador(c.arvore, tiporegistro::SqlServer, "SRV", false, {}, {}, {}, {});
        c.prompt.login = [](QString& usuario, QString&, bool&) { return usuario == "sa" && false; };
        clsNo* no = c.arvore.No("dbSRV");
        QVERIFY(ObterConnStrNode(c.arvore, no).isEmpty());
        QCOMPARE(c.prompt.loginsPedidos, 1);
        QVERIFY(no->Tag().isEmpty());
    }

    void ManutencoesComAgentEJobs_DubleSqlServer_data()
    {
        QTest::addColumn<bool>("agentLegivel");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("filhos");
        QTest::newRow("rodando") << true << 1 << QStringList{"Backup", "Agent", "Logins", "Importar e Exportar"};
        QTest::newRow("parado") << true << 0 << QStringList{"Backup", "Agent", "Logins", "Importar e Exportar"};
        QTest::newRow("ilegivel") << false << 0 << QStringList{"Backup", "Logins", "Importar e Exportar"};
    }
    void ManutencoesComAgentEJobs_DubleSqlServer()
    {
        QFETCH(bool, agentLegivel);
        QFETCH(int, status);
        QFETCH(QStringList, filhos);
        if (!SqlDmoDisponivel())
            QSKIP("no SQL Server ODBC driver installed");
        Cenario c;
        ServidorDuble servidor;
        servidor.agentLegivel = agentLegivel;
        servidor.statusAgent = status;
        servidor.jobs = {{"A1B2", "Backup diario", {{1, "Copiar"}, {2, "Limpar"}}, {{"7", "Noite"}}}};
        c.ambiente.fabricaSqlDmo = servidor.Fabrica();
        const QString tag = MontarConnStrSql("SRV", "Master", "sa", "pw", false);
        IncluirNode(c.arvore, "SRV", "dbSRV", "Sql", img::SqlServerConectado, tag);
        IncluirNode(c.arvore, QStringLiteral("Manutenções"), "dbSRVman", "dbSRV", img::Manutencoes, tag);
        IncluirNode(c.arvore, "<temp>", "dbSRVman<temp>", "dbSRVman", img::Manutencoes, tag);
        QVERIFY(Expandir(c.arvore, c.arvore.No("dbSRVman")));
        QCOMPARE(c.Filhos(c.arvore.No("dbSRVman")), filhos);
        QCOMPARE(servidor.pedidos, QStringList{"SRV|sa|pw|senha"});
        if (!agentLegivel)
            return;
        clsNo* agent = c.arvore.No("dbSRVmanAge");
        QCOMPARE(agent->Image(), status == 1 ? 35 : 36);
        clsNo* job = c.arvore.No("dbSRVmanAgeJobA1B2");
        QVERIFY(job);
        QCOMPARE(job->Tag(), QStringLiteral("A1B2"));
        QCOMPARE(c.Filhos(job), (QStringList{"Copiar", "Limpar", "Noite"}));
        QCOMPARE(c.arvore.No("dbSRVmanAgeJobA1B2Ste2")->Image(), 39);
        QCOMPARE(c.arvore.No("dbSRVmanAgeJobA1B2Sch7")->Tag(), QStringLiteral("7"));
        QCOMPARE(c.arvore.No("dbSRVmanbac")->Tag(), tag);
    }

    void ConexaoCustomizadaPostgres()
    {
        const QString connStr = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (connStr.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        Cenario c;
        {
            clsData d(c.ambiente);
            QVERIFY(d.OpenConnection(connStr, true, false));
            d.ExecSql("DROP TABLE IF EXISTS navegador_pg", false);
            QVERIFY(d.ExecSql("CREATE TABLE navegador_pg (id integer PRIMARY KEY, nome varchar(40) NOT NULL)", false));
            d.CloseConnection();
        }
        // The table goes when the test ends, passed or not: other tests read the same database's catalog.
        const auto apagar = qScopeGuard([&] {
            clsData d(c.ambiente);
            if (d.OpenConnection(connStr, true, false))
                d.ExecSql("DROP TABLE IF EXISTS navegador_pg", false);
        });
        QVERIFY2(Mapeado(c.arvore, connStr), qPrintable(c.prompt.textos().join('|')));
        clsNo* fonte = c.Fonte();
        QCOMPARE(fonte->Text(), QStringLiteral("127.0.0.1 - quarrix_teste"));
        QCOMPARE(c.Filhos(fonte).mid(0, 3), (QStringList{"SQL Editor", "Tables", "Views"}));
        clsNo* tabelas = c.arvore.No(fonte->Key() + "tab");
        QVERIFY(Expandir(c.arvore, tabelas));
        QVERIFY2(c.Filhos(tabelas).contains("navegador_pg"), qPrintable(c.Filhos(tabelas).join(',')));
        clsNo* tabela = nullptr;
        for (clsNo* n = tabelas->Child(); n; n = n->Next())
            if (n->Text() == "navegador_pg")
                tabela = n;
        QVERIFY(DetalhesCarregados(c.arvore, tabela));
        QCOMPARE(c.Filhos(tabela->Child()), (QStringList{"id - Int - Not Null", "nome - nVarChar(40) - Not Null"}));
        QCOMPARE(tabela->Child()->Child()->Image(), 26);
    }

    void PastasDeUmaFontePostgres()
    {
        // Every folder of a custom PostgreSQL source lists its objects, from the database's own
        // catalog, without a message.
        const QString connStr = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (connStr.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        Cenario c;
        auto executar = [&](const QStringList& comandos) {
            clsData d(c.ambiente);
            if (!d.OpenConnection(connStr, true, false))
                return false;
            for (const QString& sql : comandos)
                if (!d.ExecSql(sql, false))
                    return false;
            return true;
        };
        const QStringList apagar = {"DROP TABLE IF EXISTS nav_pg_t CASCADE",
                                    "DROP FUNCTION IF EXISTS nav_pg_f()",
                                    "DROP PROCEDURE IF EXISTS nav_pg_p()",
                                    "DROP FUNCTION IF EXISTS nav_pg_tf() CASCADE"};
        executar(apagar);
        // The objects go when the test ends, passed or not: other tests read the same catalog.
        const auto limpar = qScopeGuard([&] { executar(apagar); });
        QVERIFY(
            executar({"CREATE TABLE nav_pg_t (id integer PRIMARY KEY)",
                      "CREATE VIEW nav_pg_v AS SELECT id FROM nav_pg_t",
                      "CREATE FUNCTION nav_pg_f() RETURNS integer LANGUAGE sql AS 'SELECT 1'",
                      "CREATE PROCEDURE nav_pg_p() LANGUAGE sql AS 'SELECT 1'",
                      "CREATE FUNCTION nav_pg_tf() RETURNS trigger LANGUAGE plpgsql AS 'BEGIN RETURN NEW; END'",
                      "CREATE TRIGGER nav_pg_tr BEFORE INSERT ON nav_pg_t FOR EACH ROW EXECUTE FUNCTION nav_pg_tf()"}));
        QVERIFY2(Mapeado(c.arvore, connStr), qPrintable(c.prompt.textos().join('|')));
        clsNo* fonte = c.Fonte();
        auto pasta = [&](const char* sufixo) { return c.FilhosDaPasta(fonte, sufixo); };
        QVERIFY2(pasta("con").contains("nav_pg_v"), qPrintable(c.prompt.textos().join('|')));
        QVERIFY2(pasta("stp").contains("nav_pg_p"), qPrintable(c.prompt.textos().join('|')));
        QVERIFY2(pasta("fun").contains("nav_pg_f"), qPrintable(c.prompt.textos().join('|')));
        QVERIFY(pasta("tab").contains("nav_pg_t"));
        clsNo* tabela = nullptr;
        for (clsNo* n = c.arvore.No(fonte->Key() + "tab")->Child(); n; n = n->Next())
            if (n->Text() == "nav_pg_t")
                tabela = n;
        QVERIFY(DetalhesCarregados(c.arvore, tabela));
        QCOMPARE(c.Filhos(c.arvore.No(tabela->Key() + "Trg")), QStringList{"nav_pg_tr"});
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
    }

    void PastasDeUmaFonteOdbcGenerica()
    {
        // A custom source of another ODBC driver (SQLite's) reads views, routines and indexes through
        // the driver's catalog functions; the folders it has no call for stay empty, without a message.
        Cenario c;
        {
            clsData d(c.ambiente);
            QVERIFY(d.OpenConnection(c.ConnStr(), true, false));
            QVERIFY(d.ExecSql("CREATE TRIGGER trClientes AFTER INSERT ON Clientes BEGIN SELECT 1; END", false));
            d.CloseConnection();
        }
        const QString connStr = "Provider=MSDASQL;Driver={SQLite3};Database=" + c.caminho;
        {
            clsData d(c.ambiente);
            if (!d.OpenConnection(connStr, true, false)) {
                if (d.ErrMsg().contains("IM002") || d.ErrMsg().contains("not found"))
                    QSKIP("no SQLite3 ODBC driver installed (Debian package libsqliteodbc)");
                QFAIL(qPrintable(d.ErrMsg()));
            }
            QVERIFY(d.CatalogoOdbc());
        }
        QVERIFY2(Mapeado(c.arvore, connStr), qPrintable(c.prompt.textos().join('|')));
        clsNo* fonte = c.Fonte();
        auto pasta = [&](const char* sufixo) { return c.FilhosDaPasta(fonte, sufixo); };
        QCOMPARE(pasta("con"), QStringList{"vwClientes"});
        QCOMPARE(pasta("stp"), QStringList{});
        QCOMPARE(pasta("fun"), QStringList{});
        QCOMPARE(pasta("tab"), (QStringList{"Clientes", "Itens Pedido"}));
        clsNo* clientes = c.arvore.No(c.arvore.No(fonte->Key() + "tab")->Key() + "Clientes");
        QVERIFY(DetalhesCarregados(c.arvore, clientes));
        // The key's own index (the driver gives it no name) is not listed, as on every source.
        QCOMPARE(c.Filhos(c.arvore.No(clientes->Key() + "Idx")), QStringList{"IX_Nome"});
        QCOMPARE(c.Filhos(c.arvore.No(clientes->Key() + "Trg")), QStringList{});
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
    }

    void RenomearTabelaDeOutroEsquemaPostgres()
    {
        // A table of a second schema is renamed there, not its namesake in the default schema.
        const QString connStr = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (connStr.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        Cenario c;
        clsData d(c.ambiente);
        QVERIFY(d.OpenConnection(connStr, true, false));
        const QStringList apagar = {"DROP SCHEMA IF EXISTS nav_s2 CASCADE", "DROP TABLE IF EXISTS nav_gemea"};
        for (const QString& sql : apagar)
            d.ExecSql(sql, false);
        const auto limpar = qScopeGuard([&] {
            for (const QString& sql : apagar)
                d.ExecSql(sql, false);
        });
        for (const char* sql : {"CREATE SCHEMA nav_s2",
                                "CREATE TABLE nav_gemea (id integer)",
                                "CREATE TABLE nav_s2.nav_gemea (id integer)"})
            QVERIFY2(d.ExecSql(sql, false), qPrintable(d.ErrMsg()));
        QVERIFY(Mapeado(c.arvore, connStr));
        clsNo* fonte = c.Fonte();
        c.FilhosDaPasta(fonte, "tab");
        clsNo* outra = c.arvore.No(fonte->Key() + "tab" + "nav_s2.nav_gemea");
        QVERIFY(outra);
        QCOMPARE(outra->Esquema(), QStringLiteral("nav_s2"));
        QString erro;
        QVERIFY2(RenomearTabela(c.ambiente, outra->Tag(), outra->Esquema(), outra->Nome(), "nav_nova", &erro),
                 qPrintable(erro));
        QCOMPARE(d.RetValue("SELECT string_agg(schemaname || '.' || tablename, ',' ORDER BY schemaname) FROM "
                            "pg_tables WHERE tablename LIKE 'nav_%'")
                     .toString(),
                 QStringLiteral("nav_s2.nav_nova,public.nav_gemea"));
    }

    void RenomearTabelaSqlServer_data()
    {
        QTest::addColumn<QString>("esquema");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("sql");
        QTest::newRow("padrão") << ""
                                << "Pedidos"
                                << "EXEC sp_rename N'[Pedidos]', N'Novo', 'OBJECT'";
        QTest::newRow("outro esquema") << "vendas"
                                       << "Pedidos"
                                       << "EXEC sp_rename N'[vendas].[Pedidos]', N'Novo', 'OBJECT'";
        QTest::newRow("nome estranho") << "v]s"
                                       << "a]b'c"
                                       << "EXEC sp_rename N'[v]]s].[a]]b''c]', N'Novo', 'OBJECT'";
    }
    void RenomearTabelaSqlServer()
    {
        QFETCH(QString, esquema);
        QFETCH(QString, nome);
        QFETCH(QString, sql);
        QCOMPARE(SqlRenomearTabelaSqlServer(esquema, nome, "Novo"), sql);
    }

    void NomeQualificado_data()
    {
        QTest::addColumn<QString>("esquema");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("qualificado");
        QTest::newRow("sem dono") << ""
                                  << "T"
                                  << "T";
        QTest::newRow("dbo") << "dbo"
                             << "T"
                             << "T";
        QTest::newRow("DBO") << "DBO"
                             << "T"
                             << "T";
        QTest::newRow("outro dono") << "Vendas"
                                    << "T"
                                    << "vendas.T";
    }
    void NomeQualificado()
    {
        QFETCH(QString, esquema);
        QFETCH(QString, nome);
        QFETCH(QString, qualificado);
        QCOMPARE(::NomeQualificado(esquema, nome), qualificado);
    }
};
QUARRIX_TESTE(tst_mdlCatalogo);
#include "tst_mdlCatalogo.moc"
