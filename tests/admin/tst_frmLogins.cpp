// The logins list and the login dialog against the management session double: what they show
// and the statements each action sends.
#include "admin/frmLogins.h"
#include "admin/frmLoginsCad.h"
#include "admin/uctComumAdmin.h"
#include "ambienteAdmin.h"
#include "connections/mdlTSqlAdmin.h"
#include "support/capturas.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>

class tst_frmLogins : public QObject {
    Q_OBJECT
    static QString Celula(uctGradeAdmin* g, int linha, int coluna)
    {
        return g->model()->index(linha, coluna).data().toString();
    }
    static void Selecionar(uctGradeAdmin* g, const QString& login)
    {
        for (int i = 0; i < g->model()->rowCount(); ++i)
            if (Celula(g, i, 0) == login)
                g->SelecionarLinha(i);
    }

private slots:
    void ListaMostraOsLogins()
    {
        AmbienteAdmin a;
        auto* janela = new frmLogins(a.amb);
        QVERIFY(janela->CarregarForm(a.connStr, 7));
        QCOMPARE(janela->windowTitle(), QStringLiteral("Lista de Logins do Servidor"));
        QCOMPARE(janela->Tag(), QStringLiteral("7"));
        QCOMPARE(a.servidor.pedidos.last(), QStringLiteral("SRV01|sa|s3nha|senha"));
        QCOMPARE(a.Enviados(), QStringList{tsql::SqlLogins()});
        uctGradeAdmin* g = janela->dgrConsulta;
        QStringList titulos;
        for (int c = 0; c < g->model()->columnCount(); ++c)
            titulos << g->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(
            titulos,
            QStringList({"Login do Servidor", "Autenticação", "Acesso", "Banco de Dados Padrão", "Linguagem Padrão"}));
        QCOMPARE(g->model()->rowCount(), 3);
        QCOMPARE(QStringList({Celula(g, 0, 0), Celula(g, 0, 1), Celula(g, 0, 2), Celula(g, 0, 3), Celula(g, 0, 4)}),
                 QStringList({"DOM\\Ana", "NT", "Negado", "Loja", "Português (Brasil)"}));
        QCOMPARE(Celula(g, 1, 1), QStringLiteral("GRUPO"));
        QVERIFY(g->isEnabled());
        QCOMPARE(janela->tlbEdicao->findChild<QAction*>("Inc")->text(), QStringLiteral("Incluir Login"));
        CapturarJanela(janela, "frmLogins");
        delete janela;
    }

    void ServidorQueNaoAtendeNaoAbre()
    {
        AmbienteAdmin a;
        a.connStr = MontarConnStrSql("falha", "master", "sa", "x", false);
        frmLogins janela(a.amb);
        QVERIFY(!janela.CarregarForm(a.connStr, 1));
        QVERIFY(!janela.isVisible());
        QCOMPARE(a.prompt.textos(), QStringList{"Login failed for user 'sa'."});
        QCOMPARE(a.prompt.ampulheta, 0);
    }

    void ExcluirPerguntaEExclui_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<QStringList>("enviados");
        QTest::newRow("sim") << int(vb::Yes) << QStringList({"DROP LOGIN [DOM\\Ana]", tsql::SqlLogins()});
        QTest::newRow("nao") << int(vb::No) << QStringList();
    }
    void ExcluirPerguntaEExclui()
    {
        QFETCH(int, resposta);
        QFETCH(QStringList, enviados);
        AmbienteAdmin a;
        frmLogins janela(a.amb);
        QVERIFY(janela.CarregarForm(a.connStr, 1));
        a.Enviados();
        a.prompt.respostas << resposta;
        janela.tlbEdicao->findChild<QAction*>("Exc")->trigger();
        QCOMPARE(a.prompt.textos(), QStringList{"Deseja realmente excluir o Login 'DOM\\Ana'"});
        QCOMPARE(a.prompt.ultima().estilo, int(vb::YesNo | vb::Question | vb::DefaultButton2));
        QCOMPARE(a.Enviados(), enviados);
    }

    void ExcluirRecusadoMostraOErro()
    {
        AmbienteAdmin a;
        frmLogins janela(a.amb);
        QVERIFY(janela.CarregarForm(a.connStr, 1));
        a.servidor.falhas << std::pair{QString("DROP LOGIN"), QString("Cannot drop the login 'DOM\\Ana'.")};
        a.prompt.respostas << vb::Yes;
        janela.Excluir();
        QCOMPARE(a.prompt.ultima().texto, QStringLiteral("Cannot drop the login 'DOM\\Ana'."));
        QCOMPARE(a.prompt.ultima().icone(), int(vb::Critical));
        QCOMPARE(a.prompt.ampulheta, 0);
    }

    void AlterarAbreOLoginDaLinha()
    {
        AmbienteAdmin a;
        QWidget principal;
        auto* janela = new frmLogins(a.amb, &principal);
        QVERIFY(janela->CarregarForm(a.connStr, 1));
        Selecionar(janela->dgrConsulta, "DOM\\Vendas");
        frmLoginsCad* cad = janela->Alterar();
        QVERIFY(cad);
        QCOMPARE(cad->windowTitle(), QStringLiteral("Login: DOM\\Vendas"));
        // A Windows group is neither kind of authentication.
        QVERIFY(!cad->optAutSql->isChecked());
        QVERIFY(!cad->optAutWin->isChecked());
        QVERIFY(!cad->txtLogin->isEnabled());
        QCOMPARE(cad->cmbDefDataBase->currentText(), QStringLiteral("master"));
        QCOMPARE(cad->cmbDefLanguage->currentText(), QStringLiteral("<Padrão>"));
        QVERIFY(cad->isVisible());
        delete cad;
    }

    void NovoLoginValida_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("sem login") << "" << false << "Informe o Login";
        QTest::newRow("SQL sem senha") << "joao" << false << "Informe a Senha para o Login";
    }
    void NovoLoginValida()
    {
        QFETCH(QString, login);
        QFETCH(bool, windows);
        QFETCH(QString, mensagem);
        AmbienteAdmin a;
        frmLoginsCad cad(a.amb);
        cad.CarregarForm(a.Sessao());
        a.Enviados();
        QCOMPARE(cad.windowTitle(), QStringLiteral("Novo Login"));
        QVERIFY(cad.optAutSql->isChecked());
        cad.txtLogin->setText(login);
        (windows ? cad.optAutWin : cad.optAutSql)->click();
        cad.btnConf_Click();
        QCOMPARE(a.prompt.textos(), QStringList{mensagem});
        QCOMPARE(a.prompt.ultima().icone(), int(vb::Information));
        QVERIFY(a.Enviados().isEmpty());
    }

    void NovoLoginEnviaNomesESenhaCitados_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QStringList>("enviados");
        QTest::newRow("SQL") << false
                             << QStringList({"CREATE LOGIN [O'Brien]]] WITH PASSWORD = N'x''y', DEFAULT_DATABASE = "
                                             "[Loja], DEFAULT_LANGUAGE = [Português (Brasil)]",
                                             tsql::SqlMembrosPapeisServidor(),
                                             "EXEC master.dbo.sp_addsrvrolemember @loginame = N'O''Brien]', "
                                             "@rolename = N'dbcreator'"});
        QTest::newRow("Windows") << true
                                 << QStringList({"CREATE LOGIN [O'Brien]]] FROM WINDOWS WITH DEFAULT_DATABASE = "
                                                 "[Loja], DEFAULT_LANGUAGE = [Português (Brasil)]",
                                                 "DENY CONNECT SQL TO [O'Brien]]]",
                                                 tsql::SqlMembrosPapeisServidor(),
                                                 "EXEC master.dbo.sp_addsrvrolemember @loginame = N'O''Brien]', "
                                                 "@rolename = N'dbcreator'"});
    }
    void NovoLoginEnviaNomesESenhaCitados()
    {
        QFETCH(bool, windows);
        QFETCH(QStringList, enviados);
        AmbienteAdmin a;
        QWidget principal;
        auto* cad = new frmLoginsCad(a.amb, &principal);
        cad->CarregarForm(a.Sessao());
        QVERIFY(cad->isVisible());
        cad->txtLogin->setText("O'Brien]");
        (windows ? cad->optAutWin : cad->optAutSql)->click();
        QCOMPARE(cad->txtAutSqlSenha->isEnabled(), !windows);
        QCOMPARE(cad->optAutWinSecDeny->isEnabled(), windows);
        if (windows)
            cad->optAutWinSecDeny->click();
        else
            cad->txtAutSqlSenha->setText("x'y");
        cad->cmbDefDataBase->setCurrentText("Loja");
        cad->cmbDefLanguage->setCurrentText("Brazilian");
        Marcar(cad->lstGrupos, "Database Creators", true);
        CapturarJanela(cad, windows ? "frmLoginsCad_windows" : "frmLoginsCad_sql");
        QPointer<frmLoginsCad> vivo(cad);
        a.Enviados();
        cad->btnConf->click();
        QCOMPARE(a.Enviados(), enviados);
        QVERIFY(a.prompt.mensagens.isEmpty());
        QCOMPARE(a.prompt.ampulheta, 0);
        QTRY_VERIFY(!vivo); // closed and gone
    }

    void AlterarPapeisDesmarcaTodos()
    {
        AmbienteAdmin a;
        frmLoginsCad cad(a.amb);
        cad.CarregarForm(a.Sessao(), true, "sa", "SQL", "master", "us_english", "Permitido");
        QCOMPARE(Marcados(cad.lstGrupos), QStringList{"System Administrators"});
        QCOMPARE(cad.cmbDefLanguage->currentText(), QStringLiteral("English"));
        QVERIFY(cad.optAutSql->isChecked());
        QVERIFY(!cad.optAutSql->isEnabled());
        a.Enviados();
        Marcar(cad.lstGrupos, "System Administrators", false);
        cad.cmbDefLanguage->setCurrentText("<Padrão>");
        cad.btnConf_Click();
        QCOMPARE(a.Enviados(),
                 QStringList({"ALTER LOGIN [sa] WITH DEFAULT_DATABASE = [master]",
                              "EXEC master.dbo.sp_defaultlanguage @loginame = N'sa'",
                              tsql::SqlMembrosPapeisServidor(),
                              "EXEC master.dbo.sp_dropsrvrolemember @loginame = N'sa', @rolename = N'sysadmin'"}));
    }

    void ErroDoServidorMantemODialogo()
    {
        AmbienteAdmin a;
        QWidget principal;
        auto* cad = new frmLoginsCad(a.amb, &principal);
        cad->CarregarForm(a.Sessao());
        cad->txtLogin->setText("joao");
        cad->txtAutSqlSenha->setText("curta");
        a.servidor.falhas << std::pair{QString("CREATE LOGIN"), QString("Password validation failed.")};
        cad->btnConf_Click();
        QCOMPARE(a.prompt.textos(), QStringList{"Password validation failed."});
        QCOMPARE(a.prompt.ultima().icone(), int(vb::Critical));
        QVERIFY(cad->isVisible());
        // Confirmed again once the server accepts.
        a.servidor.falhas.clear();
        cad->btnConf_Click();
        QVERIFY(!cad->isVisible());
    }
};
QUARRIX_TESTE(tst_frmLogins);
#include "tst_frmLogins.moc"
