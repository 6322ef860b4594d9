// Tables of the same name in several schemas: every action on a navigator node reaches the object
// of that node's schema, and its namesakes stay byte for byte as they were.
#include "admin/frmUsuarios.h"
#include "admin/uctComumAdmin.h"
#include "connections/clsData.h"
#include "connections/mdlCriarBanco.h"
#include "navigator/frmNavegador.h"
#include "navigator/mdlCatalogo.h"
#include "platform/clsRecordset.h"
#include "query/frmTabela.h"
#include "query/uctEditorSql.h"
#include "schema/clsEstrutura.h"
#include "schema/clsIndice.h"
#include "schema/frmEstrutura.h"
#include "schema/frmIndex.h"
#include "shell/clsAmbiente.h"
#include "support/clsPromptRoteiro.h"
#include "support/esperaArvore.h"
#include "support/fixtures.h"
#include "support/motorTexto.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QUrl>

namespace {

// public.t, s2.t and "S 3"."t]x'", 50 rows each, each row telling its schema; an index "ix" of the
// same name on public.t and s2.t, and a second one on public.t only; a view v in public and in s2.
const char* const Criar[] = {
    "DROP SCHEMA IF EXISTS s2 CASCADE",
    "DROP SCHEMA IF EXISTS \"S 3\" CASCADE",
    "DROP VIEW IF EXISTS public.v",
    "DROP TABLE IF EXISTS public.t",
    "CREATE SCHEMA s2",
    "CREATE SCHEMA \"S 3\"",
    "CREATE TABLE public.t (id integer PRIMARY KEY, nome varchar(40))",
    "CREATE TABLE s2.t (id integer PRIMARY KEY, nome varchar(40), so_s2 integer)",
    "CREATE TABLE \"S 3\".\"t]x'\" (id integer PRIMARY KEY, nome varchar(40))",
    "INSERT INTO public.t SELECT g, 'public-' || g FROM generate_series(1, 50) g",
    "INSERT INTO s2.t SELECT g, 's2-' || g, g FROM generate_series(1, 50) g",
    "INSERT INTO \"S 3\".\"t]x'\" SELECT g, 'S3-' || g FROM generate_series(1, 50) g",
    "CREATE INDEX ix ON public.t (nome)",
    "CREATE INDEX ix_pub ON public.t (id, nome)",
    "CREATE INDEX ix ON s2.t (nome)",
    "CREATE VIEW public.v AS SELECT 1 AS de_public",
    "CREATE VIEW s2.v AS SELECT 2 AS de_s2",
};

struct Cenario {
    SettingsTemporarios settings;
    clsPromptRoteiro prompt;
    clsAmbiente ambiente{prompt};
    frmNavegador navegador{ambiente};
    QString cs;
    std::unique_ptr<clsData> d;
    clsNo* fonte = nullptr;
    bool Preparar()
    {
        cs = BancoPostgresProprio(QStringLiteral("quarrix_esquemas"));
        if (cs.isEmpty())
            return false;
        d = std::make_unique<clsData>(ambiente);
        if (!d->OpenConnection(cs, true, false))
            return false;
        for (const char* sql : Criar)
            if (!d->ExecSql(QString::fromUtf8(sql), false))
                return false;
        navegador.InicializarNavegador();
        if (!Mapeado(navegador.Arvore(), cs))
            return false;
        fonte = navegador.Arvore().No(QStringLiteral("Outros"))->Child();
        return Expandir(navegador.Arvore(), Pasta("tab")) && Expandir(navegador.Arvore(), Pasta("con"));
    }
    clsArvore& Arvore() { return navegador.Arvore(); }
    clsNo* Pasta(const char* sufixo) { return Arvore().No(fonte->Key() + QString::fromLatin1(sufixo)); }
    // The node of an object by its schema and name, whatever its caption.
    clsNo* No(const char* pasta, const QString& esquema, const QString& nome)
    {
        for (clsNo* n = Pasta(pasta)->Child(); n; n = n->Next())
            if (n->Esquema() == esquema && n->Nome() == nome)
                return n;
        return nullptr;
    }
    clsNo* S2() { return No("tab", QStringLiteral("s2"), QStringLiteral("t")); }
    QString Valor(const QString& sql) { return d->RetValue(sql).toString(); }
    // Everything of a table a change could touch: columns, constraints, indexes and rows.
    QString Retrato(const QString& esquema, const QString& tabela)
    {
        const QString e = u'\'' + QString(esquema).replace(u'\'', QStringLiteral("''")) + u'\'';
        const QString t = u'\'' + QString(tabela).replace(u'\'', QStringLiteral("''")) + u'\'';
        const QString rel
            = u'\''
              + QString(u'"' + esquema + QStringLiteral("\".\"") + tabela + u'"').replace(u'\'', QStringLiteral("''"))
              + QStringLiteral("'::regclass");
        return Valor(QStringLiteral("SELECT string_agg(column_name || ' ' || data_type, ',' ORDER BY ordinal_position) "
                                    "FROM information_schema.columns WHERE table_schema = %1 AND table_name = %2")
                         .arg(e, t))
               + u'|'
               + Valor(QStringLiteral("SELECT string_agg(conname, ',' ORDER BY conname) FROM pg_constraint WHERE "
                                      "conrelid = %1")
                           .arg(rel))
               + u'|'
               + Valor(QStringLiteral("SELECT string_agg(indexdef, ',' ORDER BY indexname) FROM pg_indexes WHERE "
                                      "schemaname = %1 AND tablename = %2")
                           .arg(e, t))
               + u'|'
               + Valor(QStringLiteral("SELECT md5(string_agg(x::text, ',' ORDER BY x::text)) FROM %1 x")
                           .arg(u'"' + esquema + QStringLiteral("\".\"")
                                + QString(tabela).replace(u'"', QStringLiteral("\"\"")) + u'"'));
    }
    QStringList Filhos(clsNo* no)
    {
        QStringList r;
        for (clsNo* n = no ? no->Child() : nullptr; n; n = n->Next())
            r << n->Text();
        return r;
    }
};

template <typename T> T* Janela(const std::function<bool(T*)>& aceita = {})
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* j = qobject_cast<T*>(w); j && (!aceita || aceita(j)))
            return j;
    return nullptr;
}

// A column list of two columns, the second one retyped: a change that rebuilds the table.
QList<ColunaEstrutura> ColunasMudadas()
{
    QList<ColunaEstrutura> cs;
    for (const char* nome : {"Id", "Nome"}) {
        ColunaEstrutura c;
        c.campo = c.originalCampo = QString::fromLatin1(nome);
        c.tipoDado = c.originalTipoDado = cs.isEmpty() ? QStringLiteral("Int") : QStringLiteral("VarChar");
        c.tamanho = c.originalTamanho = cs.isEmpty() ? 0 : 40;
        c.ordem = c.originalOrdem = int(cs.size() + 1) * 10;
        c.chave = c.originalChave = cs.isEmpty();
        c.allowNulls = c.originalAllowNulls = !cs.isEmpty();
        cs << c;
    }
    cs[1].tamanho = 80;
    return cs;
}

} // namespace

class tst_frmNavegadorEsquemas : public QObject {
    Q_OBJECT
private slots:
    // The Tables folder keeps bare names, except for a namesake outside the default schema; every
    // node tells its schema in its tool tip; a custom PostgreSQL source has a Users folder (for
    // its users' permissions).
    void ArvoreDizQualEQual()
    {
        Cenario c;
        if (!c.Preparar())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        QStringList textos = c.Filhos(c.Pasta("tab"));
        textos.sort();
        QCOMPARE(textos, (QStringList{"s2.t", "t", "t]x'"}));
        clsNo* s2 = c.S2();
        QVERIFY(s2);
        QCOMPARE(s2->Text(), QStringLiteral("s2.t"));
        QCOMPARE(c.Arvore().IndiceModelo(s2).data(Qt::ToolTipRole).toString(), QStringLiteral("s2.t"));
        QCOMPARE(c.Arvore().IndiceModelo(s2).data(Qt::EditRole).toString(), QStringLiteral("t"));
        clsNo* publico = c.No("tab", "public", "t");
        QCOMPARE(publico->Text(), QStringLiteral("t"));
        QCOMPARE(c.Arvore().IndiceModelo(publico).data(Qt::ToolTipRole).toString(), QStringLiteral("public.t"));
        QVERIFY(c.Arvore().No(c.fonte->Key() + "usu"));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
    }

    // The Users folder of a PostgreSQL source opens the list of its login roles, whose "Per"
    // serves their permissions.
    void UsuariosDoPostgresAbremDoNo()
    {
        Cenario c;
        if (!c.Preparar())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        QList<QPointer<QObject>> janelas;
        c.ambiente.hospedarJanela = [&](QObject* j) { janelas << j; };
        c.Arvore().Selecionar(c.Pasta("usu"));
        c.navegador.ChamarDuploClique();
        QCOMPARE(janelas.size(), 1);
        auto* usuarios = qobject_cast<frmUsuarios*>(janelas[0].data());
        QVERIFY(usuarios);
        QCOMPARE(usuarios->Banco(), QStringLiteral("quarrix_esquemas"));
        QVERIFY(usuarios->tlbOpcoes->findChild<QAction*>("Per"));
        QVERIFY(usuarios->dgrConsulta->model()->rowCount() > 0);
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
        qDeleteAll(janelas);
    }

    // "Carregar Tabela" (double-click) reads the rows of the node's own table.
    void CarregarTabelaLeAsLinhasDoEsquema_data()
    {
        QTest::addColumn<QString>("esquema");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("select");
        QTest::addColumn<QString>("primeira");
        QTest::newRow("s2") << "s2"
                            << "t"
                            << "SELECT * \r\nFROM s2.t"
                            << "s2-1";
        QTest::newRow("S 3") << "S 3"
                             << "t]x'"
                             << "SELECT * \r\nFROM \"S 3\".\"t]x'\""
                             << "S3-1";
        QTest::newRow("public") << "public"
                                << "t"
                                << "SELECT * \r\nFROM public.t"
                                << "public-1";
    }
    void CarregarTabelaLeAsLinhasDoEsquema()
    {
        QFETCH(QString, esquema);
        QFETCH(QString, nome);
        QFETCH(QString, select);
        QFETCH(QString, primeira);
        Cenario c;
        if (!c.Preparar())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        c.Arvore().Selecionar(c.No("tab", esquema, nome));
        c.navegador.ChamarDuploClique();
        frmTabela* janela = Janela<frmTabela>();
        QVERIFY(janela);
        const std::unique_ptr<frmTabela> fechar(janela);
        QCOMPARE(janela->Editor()->text(), select);
        RecordsetPtr rs;
        QVERIFY(c.d->OpenRecordset(rs, select + " ORDER BY id"));
        QCOMPARE(rs->RecordCount(), 50);
        QCOMPARE(rs->Valor("nome").toString(), primeira);
    }

    // "Editar Estrutura" loads the node's table and a save rebuilds that table in its schema:
    // its rows stay, its namesake in public keeps columns, constraint names, indexes and rows.
    void EditarEstruturaReconstroiSoATabelaDoNo()
    {
        Cenario c;
        if (!c.Preparar())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        const QString publico = c.Retrato("public", "t");
        frmEstrutura* janela = AbrirEstrutura(c.ambiente, c.S2(), false);
        QVERIFY(janela);
        const std::unique_ptr<frmEstrutura> fechar(janela);
        QStringList campos;
        for (const ColunaEstrutura& col : janela->Colunas())
            campos << col.campo;
        QCOMPARE(campos, (QStringList{"id", "nome", "so_s2"}));
        QCOMPARE(janela->windowTitle(), QStringLiteral("Estrutura: s2.t"));
        janela->AddReg();
        QVERIFY2(janela->Salvar(), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("Estrutura alterada com sucesso"));
        QCOMPARE(c.Valor("SELECT string_agg(column_name, ',' ORDER BY ordinal_position) FROM "
                         "information_schema.columns WHERE table_schema = 's2' AND table_name = 't'"),
                 QStringLiteral("id,nome,so_s2,Novo"));
        QCOMPARE(c.Valor("SELECT count(*) || ':' || sum(so_s2) FROM s2.t"), QStringLiteral("50:1275"));
        QCOMPARE(c.Valor("SELECT count(*) FROM pg_indexes WHERE schemaname = 's2' AND indexname = 'ix'"),
                 QStringLiteral("1"));
        QCOMPARE(c.Retrato("public", "t"), publico);
        QCOMPARE(c.Valor("SELECT count(*) FROM pg_tables WHERE tablename LIKE 'tmp%'"), QStringLiteral("0"));
    }

    // "Carregar Detalhes" lists the columns and indexes of the node's table only.
    void DetalhesSaoDaTabelaDoNo()
    {
        Cenario c;
        if (!c.Preparar())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        clsNo* s2 = c.S2();
        QVERIFY(DetalhesCarregados(c.Arvore(), s2));
        const QStringList colunas = c.Filhos(c.Arvore().No(s2->Key() + "Cmp"));
        QCOMPARE(colunas.size(), 3);
        QVERIFY2(colunas.last().startsWith("so_s2 - "), qPrintable(colunas.join('|')));
        QCOMPARE(c.Filhos(c.Arvore().No(s2->Key() + "Idx")), QStringList{"ix"});
    }

    // "Carregar Script" names the node's table (or view) with its schema; the CREATE TABLE is the
    // node's own table's, the CREATE VIEW its own view's body.
    void ScriptsNomeiamOEsquema_data()
    {
        QTest::addColumn<QString>("pasta");
        QTest::addColumn<QString>("esquema");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("inicio");
        QTest::addColumn<QString>("contem");
        QTest::newRow("create s2") << "tab"
                                   << "s2"
                                   << "t" << 2 << "CREATE TABLE s2.t ("
                                   << "so_s2";
        QTest::newRow("índice s2") << "tab"
                                   << "s2"
                                   << "t" << 2 << "CREATE TABLE s2.t ("
                                   << "INDEX ix ON s2.t";
        QTest::newRow("create S 3") << "tab"
                                    << "S 3"
                                    << "t]x'" << 2 << "CREATE TABLE \"S 3\".\"t]x'\" ("
                                    << "nome";
        QTest::newRow("select") << "tab"
                                << "s2"
                                << "t" << 1 << "SELECT "
                                << "FROM s2.t";
        QTest::newRow("insert") << "tab"
                                << "s2"
                                << "t" << 5 << "INSERT INTO s2.t ("
                                << "so_s2";
        QTest::newRow("update") << "tab"
                                << "S 3"
                                << "t]x'" << 6 << "UPDATE \"S 3\".\"t]x'\" SET"
                                << "nome";
        QTest::newRow("drop") << "tab"
                              << "s2"
                              << "t" << 4 << "DROP TABLE s2.t"
                              << "s2.t";
        QTest::newRow("delete") << "tab"
                                << "S 3"
                                << "t]x'" << 7 << "DELETE FROM \"S 3\".\"t]x'\""
                                << "S 3";
        QTest::newRow("view s2") << "con"
                                 << "s2"
                                 << "v" << 2 << "CREATE VIEW s2.v As"
                                 << "de_s2";
        QTest::newRow("view public") << "con"
                                     << "public"
                                     << "v" << 2 << "CREATE VIEW public.v As"
                                     << "de_public";
    }
    void ScriptsNomeiamOEsquema()
    {
        QFETCH(QString, pasta);
        QFETCH(QString, esquema);
        QFETCH(QString, nome);
        QFETCH(int, tipo);
        QFETCH(QString, inicio);
        QFETCH(QString, contem);
        Cenario c;
        if (!c.Preparar())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        clsNo* no = c.No(pasta.toLatin1().constData(), esquema, nome);
        QVERIFY(no);
        c.Arvore().Selecionar(no);
        if (pasta == u"tab")
            c.navegador.mnuNavTabScr_Click(tipo);
        else
            c.navegador.mnuNavConScr_Click(tipo);
        frmTabela* janela = Janela<frmTabela>();
        QVERIFY2(janela, qPrintable(c.prompt.textos().join('|')));
        const std::unique_ptr<frmTabela> fechar(janela);
        const QString texto = janela->Editor()->text();
        QVERIFY2(texto.startsWith(inicio), qPrintable(texto));
        QVERIFY2(texto.contains(contem), qPrintable(texto));
        // The namesake's own parts never show.
        QVERIFY2(!texto.contains(esquema == u"public" ? "de_s2" : "de_public"), qPrintable(texto));
    }

    // "Excluir" names the schema, defaults to No, and drops the node's table only.
    void ExcluirApagaSoATabelaDoNo()
    {
        Cenario c;
        if (!c.Preparar())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        const QString publico = c.Retrato("public", "t");
        c.Arvore().Selecionar(c.No("tab", "S 3", "t]x'"));
        c.prompt.respostas.enqueue(vb::No);
        c.navegador.mnuNavTabExc_Click();
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("Deseja Excluir Permanentemente a Tabela: 'S 3.t]x''"));
        QVERIFY(c.prompt.ultima().estilo & vb::DefaultButton2);
        QCOMPARE(c.Valor("SELECT count(*) FROM \"S 3\".\"t]x'\""), QStringLiteral("50"));
        c.Arvore().Selecionar(c.S2());
        c.prompt.respostas.enqueue(vb::Yes);
        c.navegador.mnuNavTabExc_Click();
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("Deseja Excluir Permanentemente a Tabela: 's2.t'"));
        QCOMPARE(c.Valor("SELECT string_agg(schemaname || '.' || tablename, ',' ORDER BY schemaname COLLATE \"C\") "
                         "FROM pg_tables WHERE tablename LIKE 't%'"),
                 QStringLiteral("S 3.t]x',public.t"));
        QVERIFY(!c.S2());
        QCOMPARE(c.Retrato("public", "t"), publico);
    }

    // The index editor and "Delete" on an index act on the index of the node's table, never on
    // the namesake index of the same name in the default schema.
    void IndiceDoEsquemaDoNo()
    {
        Cenario c;
        if (!c.Preparar())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        const QString publico = c.Retrato("public", "t");
        clsNo* s2 = c.S2();
        QVERIFY(DetalhesCarregados(c.Arvore(), s2));
        clsNo* ix = c.Arvore().No(s2->Key() + "Idx")->Child();
        QCOMPARE(ix->Text(), QStringLiteral("ix"));
        c.prompt.dialogos.enqueue([](QObject* o) {
            auto* dialogo = qobject_cast<frmIndex*>(o);
            dialogo->chkUnique->setChecked(true);
            dialogo->findChild<QPushButton*>("btnOk")->click();
            return int(QDialog::Accepted);
        });
        EditarIndice(c.ambiente, ix, false);
        QCOMPARE(c.Valor("SELECT string_agg(n.nspname || ':' || i.indisunique, ',' ORDER BY n.nspname) FROM pg_index "
                         "i JOIN pg_class x ON x.oid = i.indexrelid JOIN pg_namespace n ON n.oid = x.relnamespace "
                         "WHERE x.relname = 'ix'"),
                 QStringLiteral("public:false,s2:true"));
        QCOMPARE(c.Retrato("public", "t"), publico);
        c.Arvore().Selecionar(ix);
        c.prompt.respostas.enqueue(vb::Yes);
        c.navegador.mnuNavIdxDel_Click();
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("Confirm delete index ix ON s2.t ?"));
        QVERIFY(c.prompt.ultima().estilo & vb::DefaultButton2);
        QCOMPARE(c.Valor("SELECT string_agg(schemaname, ',') FROM pg_indexes WHERE indexname = 'ix'"),
                 QStringLiteral("public"));
        QCOMPARE(c.Retrato("public", "t"), publico);
    }

    // The documenter describes the node's table.
    void DocumentadorDescreveATabelaDoNo()
    {
        Cenario c;
        if (!c.Preparar())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        c.ambiente.pastaDocumentos = c.settings.pasta.path();
        c.Arvore().Selecionar(c.S2());
        c.navegador.mnuNavTabVis_Click();
        QTRY_COMPARE(c.prompt.enderecosAbertos.size(), 1);
        QFile arquivo(QUrl(c.prompt.enderecosAbertos.first()).toLocalFile());
        QVERIFY(arquivo.open(QIODevice::ReadOnly));
        const QString texto = QString::fromUtf8(arquivo.readAll());
        QVERIFY2(texto.contains("*** s2.t ***") && texto.contains("so_s2"), qPrintable(texto));
    }

    // SQLite: an attached file is a schema; the designer loads and rebuilds its table, and the main
    // file's namesake stays as it was.
    void SqliteAnexadoEhUmEsquema()
    {
        SettingsTemporarios settings;
        clsPromptRoteiro prompt;
        clsAmbiente ambiente{prompt};
        const QString principal = settings.pasta.filePath("principal.db");
        const QString anexo = settings.pasta.filePath("anexo.db");
        QString erro;
        CriarBancoAccess(principal, &erro);
        CriarBancoAccess(anexo, &erro);
        clsData db(ambiente);
        QVERIFY(db.OpenConnection(MontarConnStrAccess(principal, "admin", {}), true, false));
        for (const QString& sql : {QStringLiteral("ATTACH DATABASE '%1' AS aux").arg(anexo),
                                   QStringLiteral("CREATE TABLE main.t (Id INTEGER PRIMARY KEY, Nome VARCHAR(40))"),
                                   QStringLiteral("CREATE TABLE aux.t (Id INTEGER PRIMARY KEY, Nome VARCHAR(40), "
                                                  "SoAux INTEGER)"),
                                   QStringLiteral("CREATE INDEX aux.ix ON t (Nome)"),
                                   QStringLiteral("INSERT INTO main.t VALUES (1, 'main')"),
                                   QStringLiteral("INSERT INTO aux.t VALUES (1, 'aux', 7)")})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        const ObjetoBanco alvo(QStringLiteral("aux"), QStringLiteral("t"));
        QList<ColunaEstrutura> colunas;
        QVERIFY(CarregarEstrutura(db, alvo, colunas));
        QCOMPARE(colunas.size(), 3);
        colunas[1].tamanho = 80;
        const PlanoEstrutura plano
            = PlanejarEstrutura(*db.ActiveConnection(), alvo, false, colunas, LerCatalogoTabela(db, alvo));
        QVERIFY2(ExecutarPlano(db, prompt, plano), qPrintable(prompt.textos().join('|')));
        QCOMPARE(db.RetValue("SELECT sql FROM main.sqlite_schema WHERE name = 't'").toString(),
                 QStringLiteral("CREATE TABLE t (Id INTEGER PRIMARY KEY, Nome VARCHAR(40))"));
        QVERIFY(db.RetValue("SELECT sql FROM aux.sqlite_schema WHERE name = 't'").toString().contains("(80)"));
        QCOMPARE(db.RetValue("SELECT Nome || SoAux FROM aux.t").toString(), QStringLiteral("aux7"));
        QCOMPARE(db.RetValue("SELECT count(*) FROM aux.sqlite_schema WHERE name = 'ix'").toInt(), 1);
        QCOMPARE(db.RetValue("SELECT count(*) FROM main.sqlite_schema WHERE type = 'index'").toInt(), 0);
        QCOMPARE(db.RetValue("SELECT Nome FROM main.t").toString(), QStringLiteral("main"));
        // The attached file's index is read in that file, editable.
        IndiceLido lido;
        QVERIFY(LerIndice(db, alvo, "ix", lido));
        QCOMPARE(lido.somenteLeitura, QString());
        QCOMPARE(lido.def.colunas, QList<ColunaIndice>({{"Nome", false}}));
    }

    // SQL Server: a table owned by vendas is read, rebuilt and its key named in its own schema.
    void SqlServerReconstroiNoEsquema()
    {
        auto m = std::make_shared<MotorRespostas>(Dialeto::SqlServer);
        m->Responder("FROM sys.key_constraints", {"name"}, {{"PK_pedido"}});
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        db.setActiveConnection(m);
        const ObjetoBanco pedido(QStringLiteral("vendas"), QStringLiteral("pedido"));
        const CatalogoTabela cat = LerCatalogoTabela(db, pedido);
        for (const QString& sql : m->enviados)
            if (sql.contains("OBJECT_ID"))
                QVERIFY2(sql.contains("OBJECT_ID(N'[vendas].[pedido]')"), qPrintable(sql));
        const PlanoEstrutura p = PlanejarEstrutura(*m, pedido, false, ColunasMudadas(), cat);
        QStringList textos;
        for (const PassoEstrutura& passo : p.passos)
            textos << passo.sql;
        QVERIFY2(textos.value(0).startsWith("CREATE TABLE [vendas].[tmppedido] ("), qPrintable(textos.join('\n')));
        QCOMPARE(textos.value(1),
                 QStringLiteral(
                     "INSERT INTO [vendas].[tmppedido] ([Id], [Nome]) SELECT [Id], [Nome] FROM [vendas].[pedido]"));
        QCOMPARE(textos.value(2), QStringLiteral("DROP TABLE [vendas].[pedido]"));
        QCOMPARE(textos.value(3), QStringLiteral("EXECUTE sp_rename N'[vendas].[tmppedido]', N'pedido', 'OBJECT'"));
        QCOMPARE(textos.value(4),
                 QStringLiteral("ALTER TABLE [vendas].[pedido] ADD CONSTRAINT [PK_pedido] PRIMARY KEY ([Id])"));
        QCOMPARE(SqlExcluirIndice(*m, pedido, "ix"), QStringLiteral("DROP INDEX [vendas].[pedido].[ix]"));
        QCOMPARE(SqlCriarIndice(*m, pedido, "ix", {.colunas = {{"Nome", false}}}),
                 QStringLiteral("CREATE NONCLUSTERED INDEX [ix] ON [vendas].[pedido] ([Nome])"));
        MotorTexto pg(Dialeto::PostgreSql);
        QCOMPARE(SqlExcluirIndice(pg, ObjetoBanco("S 3", "t"), "i\"x"),
                 QStringLiteral("DROP INDEX \"S 3\".\"i\"\"x\""));
    }

    // The same on a real SQL Server: the designer rebuilds vendas.pedido and the index editor drops
    // its index, and dbo.pedido keeps its columns, constraints, indexes and rows.
    void SqlServerRealReconstroiNoEsquema()
    {
        const QString cs = qEnvironmentVariable("QUARRIX_SQLSERVER_CONNSTR");
        if (cs.isEmpty())
            QSKIP("QUARRIX_SQLSERVER_CONNSTR is not set: no SQL Server to test against");
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        QVERIFY2(db.OpenConnection(cs, true, false), qPrintable(db.ErrMsg()));
        const QString banco = "[qx_gemeas_" + QString::number(QDateTime::currentMSecsSinceEpoch()) + "]";
        QVERIFY2(db.ExecSql("CREATE DATABASE " + banco, false), qPrintable(db.ErrMsg()));
        struct Apagar {
            clsData& db;
            QString banco;
            ~Apagar() { db.ExecSql("USE master; DROP DATABASE " + banco, false); }
        } apagar{db, banco};
        for (const QString& sql :
             {"USE " + banco,
              QString("EXEC('CREATE SCHEMA vendas')"),
              QString("CREATE TABLE dbo.pedido (Id int CONSTRAINT PK_pedido PRIMARY KEY, Nome varchar(40))"),
              QString("CREATE TABLE vendas.pedido (Id int CONSTRAINT PK_vendas PRIMARY KEY, Nome varchar(40), "
                      "SoVendas int)"),
              QString("INSERT INTO dbo.pedido VALUES (1, 'dbo-1'), (2, 'dbo-2')"),
              QString("INSERT INTO vendas.pedido VALUES (1, 'vendas-1', 7)"),
              QString("CREATE INDEX ix ON dbo.pedido (Nome)"),
              QString("CREATE INDEX ix ON vendas.pedido (Nome)")})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg() + " / " + sql));
        const auto linhas = [&](const QString& sql) {
            QStringList r;
            RecordsetPtr rs;
            if (db.OpenRecordset(rs, sql, false, false, false))
                for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
                    r << rs->Valor(0).toString();
            return r;
        };
        const auto retrato = [&](const QString& esquema) {
            const QString objeto = "OBJECT_ID(N'" + esquema + ".pedido')";
            return linhas("SELECT COLUMN_NAME + ' ' + DATA_TYPE + ' ' + ISNULL(CAST(CHARACTER_MAXIMUM_LENGTH AS "
                          "varchar(10)), '') FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_SCHEMA = '"
                          + esquema + "' AND TABLE_NAME = 'pedido' ORDER BY ORDINAL_POSITION")
                   + linhas("SELECT name FROM sys.objects WHERE parent_object_id = " + objeto + " ORDER BY name")
                   + linhas("SELECT name FROM sys.indexes WHERE object_id = " + objeto
                            + " AND name IS NOT NULL ORDER BY name")
                   + linhas("SELECT CAST(Id AS varchar(10)) + ':' + Nome FROM " + esquema + ".pedido ORDER BY Id");
        };
        const QStringList dbo = retrato("dbo");
        const ObjetoBanco pedido(QStringLiteral("vendas"), QStringLiteral("pedido"));
        QList<ColunaEstrutura> colunas;
        QVERIFY(CarregarEstrutura(db, pedido, colunas));
        QCOMPARE(colunas.size(), 3);
        colunas[1].tamanho = 80;
        const PlanoEstrutura plano
            = PlanejarEstrutura(*db.ActiveConnection(), pedido, false, colunas, LerCatalogoTabela(db, pedido));
        QVERIFY2(ExecutarPlano(db, prompt, plano), qPrintable(prompt.textos().join('|')));
        QCOMPARE(retrato("dbo"), dbo);
        QCOMPARE(linhas("SELECT CAST(CHARACTER_MAXIMUM_LENGTH AS varchar(10)) FROM INFORMATION_SCHEMA.COLUMNS WHERE "
                        "TABLE_SCHEMA = 'vendas' AND TABLE_NAME = 'pedido' AND COLUMN_NAME = 'Nome'"),
                 QStringList{"80"});
        QCOMPARE(linhas("SELECT Nome + ':' + CAST(SoVendas AS varchar(10)) FROM vendas.pedido"),
                 QStringList{"vendas-1:7"});
        QVERIFY2(db.ExecSql(SqlExcluirIndice(*db.ActiveConnection(), pedido, "ix"), false), qPrintable(db.ErrMsg()));
        QCOMPARE(linhas("SELECT SCHEMA_NAME(o.schema_id) FROM sys.indexes i JOIN sys.objects o ON o.object_id = "
                        "i.object_id WHERE i.name = 'ix'"),
                 QStringList{"dbo"});
        QCOMPARE(retrato("dbo"), dbo);
    }
};
QUARRIX_TESTE(tst_frmNavegadorEsquemas);
#include "tst_frmNavegadorEsquemas.moc"
