// Attach, detach and shrink against the management session double, and the navigator's menu
// actions that open them and keep the tree in step.
#include "admin/frmAdminNavegador.h"
#include "admin/frmAttach.h"
#include "admin/frmDetach.h"
#include "admin/frmShrink.h"
#include "ambienteAdmin.h"
#include "gui/MenusNavegador.h"
#include "navigator/mdlNavegador.h"
#include "support/capturas.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

class tst_frmAttach : public QObject {
    Q_OBJECT
private slots:
    void EscolherArquivoDaONome()
    {
        AmbienteAdmin a;
        frmAttach janela(a.amb);
        janela.setConnectionString(a.connStr);
        QVERIFY(janela.DataLoaded());
        QCOMPARE(janela.txtOwner->text(), QStringLiteral("sa"));
        a.prompt.arquivos << "D:\\Dados\\Vendas_2004.mdf";
        janela.picForcarArqLogDest->click();
        QCOMPARE(a.prompt.dialogosArquivo.value(0).first, QStringLiteral("abrir")); // an existing file, to attach
        QCOMPARE(a.prompt.dialogosArquivo.value(0).second,
                 QStringLiteral("Arquivos MDF (*.mdf);;Todos os Arquivos (*.*)"));
        QCOMPARE(janela.txtMdfFile->text(), QStringLiteral("D:\\Dados\\Vendas_2004.mdf"));
        QCOMPARE(janela.DatabaseName(), QStringLiteral("Vendas_2004"));
        CapturarJanela(&janela, "frmAttach");
    }

    void CaminhoForaDoServidorNaoTenta()
    {
        AmbienteAdmin a;
        frmAttach janela(a.amb);
        janela.setConnectionString(a.connStr);
        a.Enviados();
        janela.txtMdfFile->setText("X:\\Dados\\Vendas.mdf");
        janela.txtName->setText("Vendas");
        janela.btnOk->click();
        QCOMPARE(a.prompt.mensagens.size(), 1);
        QVERIFY(a.prompt.ultima().texto.startsWith("O servidor [SRV01] não aceita o caminho [X:\\Dados\\Vendas.mdf]"));
        QVERIFY(a.Enviados().isEmpty());
        QVERIFY(!janela.Sucess());
        QCOMPARE(a.prompt.ampulheta, 0);
    }

    void AnexarPeloMenuIncluiONo()
    {
        AmbienteAdmin a;
        clsArvore& arv = a.amb.Arvore();
        InicializarNavegador(arv);
        clsNo* servidor
            = IncluirNode(arv,
                          {"SRV01", "SqlSRV01", "Sql", img::SqlServerConectado, a.connStr, "d", "sa", "s3nha", "0"});
        arv.Selecionar(servidor);
        a.prompt.dialogos.enqueue([&](QObject* o) {
            auto* j = qobject_cast<frmAttach*>(o);
            j->txtMdfFile->setText("C:\\Dados\\O'Brien].mdf");
            j->txtName->setText("O'Brien]");
            j->btnOk->click();
            return j->result();
        });
        mnuNavSerAttach_Click(a.amb);
        QCOMPARE(a.Enviados().last(),
                 QStringLiteral("CREATE DATABASE [O'Brien]]] ON (FILENAME = N'C:\\Dados\\O''Brien].mdf') FOR ATTACH"));
        QCOMPARE(a.prompt.textos(), QStringList{"The database has been attached successfully"});
        QCOMPARE(a.prompt.ultima().icone(), int(vb::Information));
        clsNo* banco = arv.No("SqlSRV01O'Brien]");
        QVERIFY(banco);
        QCOMPARE(banco->Image(), int(img::Banco));
        QCOMPARE(arv.Dados().Ler(banco->Key(), CampoNo::Descricao),
                 QStringLiteral("Servidor: SRV01 - Banco de dados: O'Brien]"));
        QCOMPARE(arv.Dados().Ler(banco->Key(), CampoNo::Usuario), QStringLiteral("sa"));
    }

    void DesanexarRecusadoMostraOTextoEFicaAberto()
    {
        AmbienteAdmin a;
        clsArvore& arv = a.amb.Arvore();
        InicializarNavegador(arv);
        IncluirNode(arv, "SRV01", "SqlSRV01", "Sql", img::SqlServerConectado, a.connStr);
        clsNo* banco = IncluirNode(arv, "Vendas", "SqlSRV01Vendas", "SqlSRV01", img::BancoConectado, "");
        arv.Selecionar(banco);
        a.servidor.falhas << std::pair{QString("sp_detach_db"),
                                       QString("Cannot detach the database 'Vendas' because "
                                               "it is currently in use.")};
        a.prompt.dialogos.enqueue([&](QObject* o) {
            auto* j = qobject_cast<frmDetach*>(o);
            CapturarJanela(j, "frmDetach");
            j->btnOk->click(); // refused: the dialog stays
            [&] { QVERIFY(!j->Sucess()); }();
            a.servidor.falhas.clear();
            j->btnOk->click(); // confirmed again
            return j->result();
        });
        mnuNavBanDetach_Click(a.amb);
        QCOMPARE(a.prompt.textos(),
                 QStringList({"Cannot detach the database 'Vendas' because it is currently in use.",
                              "The database has been detached successfully"}));
        QCOMPARE(a.prompt.mensagens[0].icone(), int(vb::Critical));
        QCOMPARE(a.servidor.enviados.last(),
                 QStringLiteral("EXEC master.dbo.sp_detach_db @dbname = N'Vendas', @skipchecks = N'true'"));
        QVERIFY(!arv.No("SqlSRV01Vendas")); // the node is gone
    }

    void ShrinkMostraOEspacoEEnviaOModo()
    {
        AmbienteAdmin a;
        frmShrink janela(a.amb);
        janela.setConnectionString(a.connStr);
        janela.setDatabaseName("Loja");
        QCOMPARE(janela.txtSpaceAllocated->text(), QStringLiteral("200 MB"));
        QCOMPARE(janela.txtSpaceFree->text(), QStringLiteral("50 MB"));
        QCOMPARE(janela.txtPerc->text(), QStringLiteral("(25%)"));
        QCOMPARE(janela.cmbOption->currentText(), QStringLiteral("Truncate Only"));
        QCOMPARE(janela.txtDesired->text(), QStringLiteral("0"));
        CapturarJanela(&janela, "frmShrink");
        a.Enviados();
        // Out of range: red, and nothing is sent.
        janela.txtDesired->setText("100");
        QCOMPARE(janela.txtDesired->palette().color(QPalette::Base), QColor(Qt::red));
        janela.btnOk->click();
        QVERIFY(a.Enviados().isEmpty());
        janela.txtDesired->setText("10");
        QVERIFY(janela.txtDesired->palette().color(QPalette::Base) != QColor(Qt::red));
        janela.cmbOption->setCurrentText("Full (slow)!");
        janela.btnOk->click();
        QCOMPARE(a.Enviados(), QStringList{"DBCC SHRINKDATABASE ([Loja], 10)"});
        QCOMPARE(a.prompt.textos(), QStringList{"The database has been shruk successfully"});
        QVERIFY(janela.Sucess());
    }

    // The main window's menu items reach the dialogs on the selected node.
    void MenusAbremOsDialogos_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("dialogo");
        QTest::newRow("attach") << "mnuNavSerAttach"
                                << "frmAttach";
        QTest::newRow("detach") << "mnuNavBanDetach"
                                << "frmDetach";
        QTest::newRow("shrink") << "mnuNavBanShrink"
                                << "frmShrink";
        QTest::newRow("backup") << "mnuNavBanBac"
                                << "frmBackup";
        QTest::newRow("criar backup") << "mnuNavBacCri"
                                      << "frmBackup";
        QTest::newRow("restore") << "mnuNavBanBacRest"
                                 << "frmBackupRestore";
        QTest::newRow("restaurar backup") << "mnuNavBacRest"
                                          << "frmBackupRestore";
    }
    void MenusAbremOsDialogos()
    {
        QFETCH(QString, item);
        QFETCH(QString, dialogo);
        AmbienteAdmin a;
        clsArvore& arv = a.amb.Arvore();
        InicializarNavegador(arv);
        IncluirNode(arv, "SRV01", "SqlSRV01", "Sql", img::SqlServerConectado, a.connStr);
        arv.Selecionar(IncluirNode(arv, "Loja", "SqlSRV01Loja", "SqlSRV01", img::BancoConectado, a.connStr));
        QMenuBar barra;
        MenusNavegador menus;
        menus.Construir(&barra, nullptr);
        LigarMenusAdmin(a.amb, menus, &barra);
        QString aberto;
        a.prompt.dialogos.enqueue([&](QObject* o) {
            aberto = o->objectName();
            return 0;
        });
        menus.Acao(item)->trigger();
        QCOMPARE(aberto, dialogo);
    }

    void ShrinkRecusadoMostraOErro()
    {
        AmbienteAdmin a;
        frmShrink janela(a.amb);
        janela.setConnectionString(a.connStr);
        janela.setDatabaseName("Loja");
        a.servidor.falhas << std::pair{QString("SHRINKDATABASE"), QString("Database 'Loja' is in use.")};
        janela.btnOk->click();
        QCOMPARE(a.prompt.textos(), QStringList{"Database 'Loja' is in use."});
        QCOMPARE(a.prompt.ultima().icone(), int(vb::Critical));
        QVERIFY(!janela.Sucess());
    }
};
QUARRIX_TESTE(tst_frmAttach);
#include "tst_frmAttach.moc"
