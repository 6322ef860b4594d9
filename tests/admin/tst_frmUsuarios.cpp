// The database users list and the user dialog against the management session double.
#include "admin/frmLoginsCad.h"
#include "admin/frmUsuarios.h"
#include "admin/frmUsuariosCad.h"
#include "admin/uctComumAdmin.h"
#include "ambienteAdmin.h"
#include "connections/mdlTSqlAdmin.h"
#include "support/capturas.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

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
        QVERIFY(j.lista->CarregarForm(j.a.connStr, 3));
        j.lista->tlbOpcoes->findChild<QAction*>("Per")->trigger();
        QCOMPARE(j.a.prompt.mensagens.size(), 1);
        QVERIFY(j.a.prompt.ultima().texto.startsWith("O programa de Permissões não está disponível.\n"));
        QCOMPARE(j.a.prompt.ultima().icone(), int(vb::Critical));
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
