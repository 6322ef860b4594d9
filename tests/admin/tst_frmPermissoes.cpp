// The permissions window driven by keys as a user drives it: on SQL Server against the management
// session double (what it sends, exactly), on PostgreSQL for real (what the catalog holds after).
#include "admin/frmPermissoes.h"
#include "ambienteAdmin.h"
#include "connections/mdlTSqlAdmin.h"
#include "platform/mdlCitacao.h"
#include "support/capturas.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace permissoes;

namespace {

// Database Loja with user ana: SELECT on vendas.Pedidos, EXECUTE on dbo.Fechar; roles db_datareader
// (member) and vendedores.
void Povoar(ServidorDuble& s)
{
    s.Responder("AS superusuario", {{"superusuario"}, {{0}}});
    s.Responder("FROM sys.objects o JOIN",
                {{"esquema", "nome", "argumentos", "tipo"},
                 {{"dbo", "Fechar", "", "P"}, {"vendas", "Pedidos", "", "U"}, {"vendas", "Resumo", "", "V"}}});
    s.Responder(
        "sys.database_permissions p",
        {{"esquema", "nome", "argumentos", "permissao", "estado", "papel"},
         {{"vendas", "Pedidos", "", "SELECT", "G", QVariant()}, {"dbo", "Fechar", "", "EXECUTE", "G", QVariant()}}});
    s.Responder("AS efetivo",
                {{"nome", "fixo", "membro", "efetivo"}, {{"db_datareader", 1, 1, 1}, {"vendedores", 0, 0, 0}}});
}

struct Janela {
    AmbienteAdmin a;
    frmPermissoes* janela = new frmPermissoes(a.amb);
    Janela() { Povoar(a.servidor); }
    ~Janela() { delete janela; }
    bool Carregar()
    {
        QSignalSpy carregado(janela, &frmPermissoes::Carregado);
        janela->CarregarForm(MontarConnStrSql("SRV01", "Loja", "sa", "s3nha", false), "ana");
        return carregado.wait(10000) && carregado.first().first().toBool();
    }
    bool Esperar()
    {
        QSignalSpy carregado(janela, &frmPermissoes::Carregado);
        return !janela->Ocupado() || carregado.wait(10000);
    }
    // Puts the cursor on a cell, as the arrow keys would.
    void Ir(int linha, int permissao)
    {
        QTableView* v = janela->dgrPermissoes;
        v->setCurrentIndex(v->model()->index(linha, 3 + permissao));
    }
    QString Celula(int linha, int permissao) const
    {
        return janela->dgrPermissoes->model()->index(linha, 3 + permissao).data().toString();
    }
    void Espaco() { QTest::keyClick(janela->dgrPermissoes, Qt::Key_Space); }
};

} // namespace

class tst_frmPermissoes : public QObject {
    Q_OBJECT
private slots:
    // Space steps a cell through GRANT, DENY and none; a cell the permission does not apply to
    // stays empty; several selected cells step together.
    void EspacoTrocaOEstado()
    {
        Janela j;
        QVERIFY(j.Carregar());
        QAbstractItemModel* m = j.janela->dgrPermissoes->model();
        QCOMPARE(m->rowCount(), 3);
        QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("SELECT"));
        QCOMPARE(m->index(1, 0).data().toString(), QStringLiteral("vendas"));
        QCOMPARE(m->index(1, 2).data().toString(), QStringLiteral("Tabela"));
        QCOMPARE(j.Celula(1, Select), QStringLiteral("GRANT"));
        QCOMPARE(j.Celula(2, Select), QStringLiteral("(papel)")); // db_datareader reads the view
        QCOMPARE(j.janela->lblAlteracoes->text(), QStringLiteral("Nenhuma alteração"));
        QVERIFY(!j.janela->btnAplicar->isEnabled());

        j.Ir(1, Select);
        j.Espaco();
        QCOMPARE(j.Celula(1, Select), QStringLiteral("DENY"));
        j.Espaco();
        QCOMPARE(j.Celula(1, Select), QStringLiteral("(papel)")); // none of its own, db_datareader's still
        j.Espaco();
        QCOMPARE(j.Celula(1, Select), QStringLiteral("GRANT"));
        QCOMPARE(j.janela->lblAlteracoes->text(), QStringLiteral("Nenhuma alteração"));

        // A table has no EXECUTE, a procedure no SELECT: the cursor cannot land there.
        QCOMPARE(m->flags(m->index(1, 3 + Execute)), Qt::NoItemFlags);
        QCOMPARE(m->flags(m->index(0, 3 + Select)), Qt::NoItemFlags);

        QItemSelectionModel* sel = j.janela->dgrPermissoes->selectionModel();
        j.Ir(2, Insert);
        sel->select(m->index(2, 3 + Update), QItemSelectionModel::Select);
        sel->select(m->index(2, 3 + Execute), QItemSelectionModel::Select); // not applicable: left alone
        j.Espaco();
        QCOMPARE(j.Celula(2, Insert), QStringLiteral("GRANT"));
        QCOMPARE(j.Celula(2, Update), QStringLiteral("GRANT"));
        QCOMPARE(j.janela->lblAlteracoes->text(), QStringLiteral("2 alterações"));
        QVERIFY(j.janela->btnAplicar->isEnabled());
        CapturarJanela(j.janela, "frmPermissoes");

        // Tab leaves the grid for the buttons instead of walking its cells.
        j.janela->show();
        QApplication::setActiveWindow(j.janela);
        QVERIFY(QTest::qWaitForWindowActive(j.janela));
        j.janela->dgrPermissoes->setFocus();
        QVERIFY(j.janela->dgrPermissoes->hasFocus());
        QTest::keyClick(j.janela->dgrPermissoes, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), j.janela->btnMostrarScript);

        j.janela->btnDesfazer->click();
        QCOMPARE(j.Celula(2, Insert), QString());
        QCOMPARE(j.janela->lblAlteracoes->text(), QStringLiteral("Nenhuma alteração"));
    }

    // "Mostrar Script" shows exactly what "Aplicar" then sends, in one batch in the database;
    // afterwards the catalog is read again.
    void MostrarScriptEAplicar()
    {
        Janela j;
        QVERIFY(j.Carregar());
        j.Ir(1, Select);
        j.Espaco(); // DENY
        j.Ir(0, Execute);
        j.Espaco(); // GRANT -> DENY
        j.janela->tabPermissoes->setCurrentIndex(1);
        QCOMPARE(Marcados(j.janela->lstPapeis), QStringList{"db_datareader"});
        Marcar(j.janela->lstPapeis, "vendedores", true);
        Marcar(j.janela->lstPapeis, "db_datareader", false);
        QCOMPARE(j.janela->lblAlteracoes->text(), QStringLiteral("4 alterações"));

        const QString esperado = "SET XACT_ABORT ON;\nBEGIN TRANSACTION;\n"
                                 "DENY EXECUTE ON [dbo].[Fechar] TO [ana];\n"
                                 "DENY SELECT ON [vendas].[Pedidos] TO [ana];\n"
                                 "ALTER ROLE [db_datareader] DROP MEMBER [ana];\n"
                                 "ALTER ROLE [vendedores] ADD MEMBER [ana];\nCOMMIT TRANSACTION;\n";
        QString visto;
        j.a.prompt.dialogos.enqueue([&](QObject* o) {
            if (auto* t = o->findChild<QPlainTextEdit*>("txtScript"))
                visto = t->toPlainText();
            return 0;
        });
        j.janela->btnMostrarScript->click();
        QCOMPARE(visto, esperado);
        QVERIFY(j.a.Enviados().size() >= 4); // the reading
        QSignalSpy carregado(j.janela, &frmPermissoes::Carregado);
        j.janela->btnAplicar->click();
        QVERIFY(j.janela->Ocupado());
        QVERIFY(!j.janela->btnAplicar->isEnabled());
        QVERIFY(carregado.wait(10000));
        const QStringList enviados = j.a.Enviados();
        QCOMPARE(enviados.first(), tsql::NoBanco("Loja", esperado));
        QCOMPARE(enviados.size(), 5); // and read again
        QVERIFY(j.a.prompt.mensagens.isEmpty());
    }

    // A refused change is reported, nothing is read again, and the edits stay for another try.
    void FalhaMantemAsEdicoes()
    {
        Janela j;
        QVERIFY(j.Carregar());
        j.a.servidor.falhas.append({QStringLiteral("GRANT"), QStringLiteral("Cannot find the object 'Resumo'.")});
        j.Ir(2, Delete);
        j.Espaco();
        j.a.Enviados();
        QSignalSpy carregado(j.janela, &frmPermissoes::Carregado);
        j.janela->Aplicar();
        QVERIFY(carregado.wait(10000));
        QCOMPARE(carregado.first().first().toBool(), false);
        QCOMPARE(j.a.Enviados().size(), 1);
        QCOMPARE(j.a.prompt.textos(), QStringList{"Nenhuma alteração foi feita.\nCannot find the object 'Resumo'."});
        QCOMPARE(j.a.prompt.ultima().icone(), int(vb::Critical));
        QCOMPARE(j.Celula(2, Delete), QStringLiteral("GRANT"));
        QVERIFY(j.janela->btnAplicar->isEnabled());
    }

    // Closing or reading again with changes not applied asks first.
    void AlteracoesNaoSaoPerdidasSemPerguntar()
    {
        Janela j;
        QVERIFY(j.Carregar());
        j.janela->show();
        j.Ir(2, Select);
        j.Espaco();
        j.a.prompt.respostas << vb::No << vb::No;
        QVERIFY(!j.janela->close());
        QVERIFY(j.janela->isVisible());
        j.janela->btnAtualizar->click();
        QVERIFY(!j.janela->Ocupado());
        QCOMPARE(j.a.prompt.mensagens.size(), 2);
        QCOMPARE(j.a.prompt.mensagens[0].texto,
                 QStringLiteral("Há alterações ainda não aplicadas. Deseja fechar mesmo assim?"));
        QCOMPARE(j.Celula(2, Select), QStringLiteral("GRANT"));
        j.a.prompt.respostas << vb::Yes;
        QVERIFY(j.janela->close());
    }

    void FiltroPorNome()
    {
        Janela j;
        QVERIFY(j.Carregar());
        j.janela->txtFiltro->setText("res");
        QCOMPARE(j.janela->dgrPermissoes->model()->rowCount(), 1);
        j.Ir(0, Select);
        j.Espaco();
        QCOMPARE(j.janela->Instrucoes(), QStringList{"GRANT SELECT ON [vendas].[Resumo] TO [ana]"});
    }

    // A user the database does not have: said, and nothing to edit.
    void UsuarioInexistente()
    {
        Janela j;
        j.a.servidor.Responder("AS superusuario", {{"superusuario"}, {}});
        QVERIFY(!j.Carregar());
        QCOMPARE(j.a.prompt.textos(), QStringList{"O usuário 'ana' não existe no banco de dados Loja."});
        QCOMPARE(j.janela->dgrPermissoes->model()->rowCount(), 0);
    }

    // PostgreSQL from the window to the catalog: Space on a cell, "Aplicar", and the server holds
    // exactly that grant.
    void PostgresPelaJanela()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_permissoes_janela"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        AmbienteAdmin a;
        clsData db(a.amb);
        QVERIFY2(db.OpenConnection(cs, true, false), qPrintable(db.ErrMsg()));
        const QString usuario = "jan'ela\"" + QString::number(QCoreApplication::applicationPid());
        const QString u = "\"jan'ela\"\"" + QString::number(QCoreApplication::applicationPid()) + "\"";
        db.ExecSql("DROP OWNED BY " + u, false);
        db.ExecSql("DROP ROLE IF EXISTS " + u, false);
        for (const QString& sql : QStringList{"DROP TABLE IF EXISTS \"it's\"",
                                              "CREATE TABLE \"it's\" (id int)",
                                              "CREATE ROLE " + u + " LOGIN"})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        {
            frmPermissoes janela(a.amb);
            QSignalSpy carregado(&janela, &frmPermissoes::Carregado);
            janela.CarregarForm(cs, usuario);
            QVERIFY(carregado.wait(10000));
            QVERIFY2(carregado.first().first().toBool(), qPrintable(a.prompt.textos().join('|')));
            janela.txtFiltro->setText("it's");
            QAbstractItemModel* m = janela.dgrPermissoes->model();
            QCOMPARE(m->rowCount(), 1);
            janela.dgrPermissoes->setCurrentIndex(m->index(0, 3 + Update));
            QTest::keyClick(janela.dgrPermissoes, Qt::Key_Space);
            QCOMPARE(m->index(0, 3 + Update).data().toString(), QStringLiteral("GRANT"));
            QTest::keyClick(janela.dgrPermissoes, Qt::Key_Space); // no DENY here: back to none
            QCOMPARE(m->index(0, 3 + Update).data().toString(), QString());
            QTest::keyClick(janela.dgrPermissoes, Qt::Key_Space);
            carregado.clear();
            janela.btnAplicar->click();
            QVERIFY(carregado.wait(10000));
            QVERIFY2(carregado.first().first().toBool(), qPrintable(a.prompt.textos().join('|')));
            QCOMPARE(m->index(0, 3 + Update).data().toString(), QStringLiteral("GRANT"));
            QCOMPARE(janela.lblAlteracoes->text(), QStringLiteral("Nenhuma alteração"));
        }
        QCOMPARE(db.RetValue("SELECT string_agg(privilege_type, ',') FROM information_schema.role_table_grants "
                             "WHERE table_name = 'it''s' AND grantee = "
                             + citacao::Literal(TipoMotor::Odbc, usuario))
                     .toString(),
                 QStringLiteral("UPDATE"));
        db.ExecSql("DROP TABLE \"it's\"", false);
        db.ExecSql("DROP ROLE " + u, false);
    }
};
QUARRIX_TESTE(tst_frmPermissoes);
#include "tst_frmPermissoes.moc"
