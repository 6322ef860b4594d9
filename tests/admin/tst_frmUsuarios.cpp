// The database users list and the user dialog against the management session double.
#include "admin/frmLoginsCad.h"
#include "admin/frmUsuarios.h"
#include "admin/frmUsuariosCad.h"
#include "admin/mdlPermissoes.h"
#include "admin/uctComumAdmin.h"
#include "ambienteAdmin.h"
#include "connections/mdlTSqlAdmin.h"
#include "support/capturas.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {
// The companion programs are looked for in `pasta` while this lives.
struct ProgramasEm {
    explicit ProgramasEm(const QString& pasta) { qputenv("QUARRIX_PROGRAMAS", pasta.toUtf8()); }
    ~ProgramasEm() { qunsetenv("QUARRIX_PROGRAMAS"); }
};

// A permissions program that writes down what it was given: its argument (from its environment)
// and how many command-line arguments it got.
struct ProgramaFalso {
    QTemporaryDir pasta;
    ProgramasEm programas{pasta.path()};
    ProgramaFalso()
    {
        QFile f(pasta.filePath("quarrix-permissoes"));
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\nprintf '%s' \"$QUARRIX_ARGUMENTO\" > \"$0.arg.tmp\"\necho $# > \"$0.qtde\"\n"
                "mv \"$0.arg.tmp\" \"$0.arg\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString Ler(const char* sufixo)
    {
        QFile f(pasta.filePath("quarrix-permissoes") + sufixo);
        if (!QTest::qWaitFor([&] { return f.exists(); }, 10000) || !f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).trimmed();
    }
    QString Recebido() { return Ler(".arg"); }
    QString Argumentos()
    {
        Ler(".arg"); // written last
        return Ler(".qtde");
    }
};
} // namespace

class tst_frmUsuarios : public QObject {
    Q_OBJECT
    static QString Celula(uctGradeAdmin* g, int linha, int coluna)
    {
        return g->model()->index(linha, coluna).data().toString();
    }
    struct Janela {
        AmbienteAdmin a;
        QWidget principal;
        frmUsuarios* lista = new frmUsuarios(a.amb, &principal);
        Janela()
        {
            a.connStr = MontarConnStrSql("SRV01", "Lo'ja]", "sa", "s3nha", false);
            a.servidor.PovoarAdmin();
        }
    };

private slots:
    void ListaUmaLinhaPorUsuario()
    {
        Janela j;
        QVERIFY(j.lista->CarregarForm(j.a.connStr, 3));
        QCOMPARE(j.lista->Banco(), QStringLiteral("Lo'ja]"));
        QCOMPARE(j.a.Enviados(), QStringList{tsql::SqlUsuarios("Lo'ja]")});
        QVERIFY(j.a.servidor.enviados.isEmpty());
        uctGradeAdmin* g = j.lista->dgrConsulta;
        QCOMPARE(g->model()->rowCount(), 2); // ana belongs to three roles and is listed once
        QCOMPARE(QStringList({Celula(g, 0, 0), Celula(g, 0, 1), Celula(g, 0, 2), Celula(g, 0, 3)}),
                 QStringList({"ana", "5", "DOM\\Ana", "Loja"}));
        QCOMPARE(g->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Usuário"));
        QCOMPARE(g->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Login do Servidor"));
        CapturarJanela(j.lista, "frmUsuarios");
    }

    void ExcluirPerguntaEExclui()
    {
        Janela j;
        QVERIFY(j.lista->CarregarForm(j.a.connStr, 3));
        j.a.Enviados();
        j.a.prompt.respostas << vb::No << vb::Yes;
        j.lista->Excluir();
        QVERIFY(j.a.Enviados().isEmpty());
        j.lista->Excluir();
        QCOMPARE(j.a.prompt.textos(),
                 QStringList({"Deseja realmente excluir o usuário 'ana'", "Deseja realmente excluir o usuário 'ana'"}));
        QCOMPARE(j.a.Enviados(),
                 QStringList({"EXEC [Lo'ja]]].sys.sp_executesql N'DROP USER [ana]'", tsql::SqlUsuarios("Lo'ja]")}));
    }

    void AlterarMostraOsPapeisDoUsuario()
    {
        Janela j;
        QVERIFY(j.lista->CarregarForm(j.a.connStr, 3));
        frmUsuariosCad* cad = j.lista->Alterar();
        QVERIFY(cad);
        QCOMPARE(cad->windowTitle(), QStringLiteral("Usuário: ana"));
        QVERIFY(!cad->txtUsuario->isEnabled());
        QVERIFY(!cad->cmbLogin->isEnabled());
        QCOMPARE(cad->cmbLogin->currentText(), QStringLiteral("DOM\\Ana"));
        QCOMPARE(Marcados(cad->lstGrupos), QStringList({"db_datareader", "db_datawriter", "public", "vendedores"}));
        CapturarJanela(cad, "frmUsuariosCad");
        // Roles changed: one dropped, one added.
        Marcar(cad->lstGrupos, "db_datawriter", false);
        Marcar(cad->lstGrupos, "db_owner", true);
        j.a.Enviados();
        QPointer<frmUsuariosCad> vivo(cad);
        cad->btnConf->click();
        QCOMPARE(j.a.Enviados(),
                 QStringList({tsql::SqlMembrosPapeisBanco("Lo'ja]"),
                              "EXEC [Lo'ja]]].sys.sp_executesql N'EXEC sp_droprolemember @rolename = "
                              "N''db_datawriter'', @membername = N''ana'''",
                              "EXEC [Lo'ja]]].sys.sp_executesql N'EXEC sp_addrolemember @rolename = N''db_owner'', "
                              "@membername = N''ana'''"}));
        QTRY_VERIFY(!vivo);
    }

    void PublicNaoSaiENovoUsuarioSoComPublic()
    {
        Janela j;
        QVERIFY(j.lista->CarregarForm(j.a.connStr, 3));
        j.a.Enviados();
        frmUsuariosCad* cad = j.lista->Incluir();
        QVERIFY(cad);
        QCOMPARE(j.a.Enviados().first(), tsql::SqlUsuarios("Lo'ja]", QString(), true));
        QCOMPARE(cad->windowTitle(), QStringLiteral("Novo Usuário"));
        QCOMPARE(Marcados(cad->lstGrupos), QStringList{"public"});
        Marcar(cad->lstGrupos, "public", false);
        QCOMPARE(j.a.prompt.textos(), QStringList{"O grupo 'public' não pode ser desmarcado"});
        QCOMPARE(Marcados(cad->lstGrupos), QStringList{"public"});
        // Validation, then the user is made with its login and nothing else.
        cad->btnConf_Click();
        QCOMPARE(j.a.prompt.ultima().texto, QStringLiteral("Informe o Login para esse Usuário"));
        cad->cmbLogin->setCurrentText("DOM\\Ana");
        cad->btnConf_Click();
        QCOMPARE(j.a.prompt.ultima().texto, QStringLiteral("Informe o Usuário"));
        cad->txtUsuario->setText("d'Ávila");
        cad->btnConf_Click();
        QCOMPARE(j.a.Enviados(),
                 QStringList{"EXEC [Lo'ja]]].sys.sp_executesql N'CREATE USER [d''Ávila] FOR LOGIN [DOM\\Ana]'"});
        QCOMPARE(j.a.prompt.mensagens.size(), 3);
    }

    void PermissoesSemOProgramaAvisa()
    {
        Janela j;
        QTemporaryDir vazia;
        ProgramasEm pasta(vazia.path());
        QVERIFY(j.lista->CarregarForm(j.a.connStr, 3));
        j.lista->tlbOpcoes->findChild<QAction*>("Per")->trigger();
        QCOMPARE(j.a.prompt.mensagens.size(), 1);
        QVERIFY(j.a.prompt.ultima().texto.startsWith("O programa de Permissões não está disponível.\n"));
        QCOMPARE(j.a.prompt.ultima().icone(), int(vb::Critical));
    }

    // "Per" starts the permissions program with the connection and the user of the current row,
    // in its environment: nothing of it on the command line.
    void PermissoesIniciaOProgramaComOArgumento()
    {
        Janela j;
        ProgramaFalso programa;
        QVERIFY(j.lista->CarregarForm(j.a.connStr, 3));
        j.lista->tlbOpcoes->findChild<QAction*>("Per")->trigger();
        QVERIFY(j.a.prompt.mensagens.isEmpty());
        QCOMPARE(programa.Recebido(), permissoes::MontarArgumento(j.a.connStr, "ana"));
        QCOMPARE(programa.Argumentos(), QStringLiteral("0"));
    }

    // A PostgreSQL database lists the login roles that may connect to it; "Per" serves them, the
    // SQL Server buttons are not there.
    void PostgresListaEPermissoes()
    {
        const QString cs = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        Janela j;
        ProgramaFalso programa;
        QVERIFY2(j.lista->CarregarForm(cs, 3), qPrintable(j.a.prompt.textos().join('|')));
        QVERIFY(j.lista->tlbEdicao->isHidden());
        uctGradeAdmin* g = j.lista->dgrConsulta;
        int linha = -1;
        for (int i = 0; i < g->model()->rowCount(); ++i)
            if (Celula(g, i, 0) == u"quarrix")
                linha = i;
        QVERIFY(linha >= 0);
        QCOMPARE(Celula(g, linha, 2), QStringLiteral("quarrix"));
        g->SelecionarLinha(linha);
        QVERIFY(!j.lista->Alterar());
        j.lista->tlbOpcoes->findChild<QAction*>("Per")->trigger();
        QCOMPARE(programa.Recebido(), permissoes::MontarArgumento(cs, "quarrix"));
    }

    void NovoLoginCanceladoReconstroiALista()
    {
        Janela j;
        QVERIFY(j.lista->CarregarForm(j.a.connStr, 3));
        frmUsuariosCad* cad = j.lista->Incluir();
        bool abriu = false;
        j.a.prompt.dialogos.enqueue([&](QObject* o) {
            auto* login = qobject_cast<frmLoginsCad*>(o);
            abriu = login && login->windowTitle() == u"Novo Login";
            return 0;
        });
        cad->cmbLogin->setCurrentIndex(0);
        emit cad->cmbLogin->activated(0);
        QVERIFY(abriu);
        QCOMPARE(cad->cmbLogin->count(), 4); // "<Novo>" and three logins
        QCOMPARE(cad->cmbLogin->currentText(), QString());
        cad->txtUsuario->setText("novo");
        cad->btnConf_Click();
        QCOMPARE(j.a.prompt.ultima().texto, QStringLiteral("Informe o Login para esse Usuário"));
        delete cad;
    }
};
QUARRIX_TESTE(tst_frmUsuarios);
#include "tst_frmUsuarios.moc"
