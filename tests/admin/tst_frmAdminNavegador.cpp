// The navigator opens the administration windows from their nodes, with the node's connection
// and the index of the connected source above it.
#include "admin/frmLogins.h"
#include "admin/frmUsuarios.h"
#include "ambienteAdmin.h"
#include "navigator/frmNavegador.h"
#include "navigator/mdlNavegador.h"
#include "support/registroTestes.h"

#include <QPointer>
#include <QTest>

class tst_frmAdminNavegador : public QObject {
    Q_OBJECT
    // A connected server with its maintenance folder and a connected database.
    struct Cenario {
        AmbienteAdmin a;
        frmNavegador navegador{a.amb};
        QList<QPointer<QObject>> janelas;
        clsNo* servidor = nullptr;
        Cenario()
        {
            a.amb.hospedarJanela = [this](QObject* j) { janelas << j; };
            clsArvore& arv = navegador.Arvore();
            navegador.InicializarNavegador();
            servidor = IncluirNode(arv, "SRV01", "SqlSRV01", "Sql", img::SqlServerConectado, a.connStr);
            IncluirNode(arv, "Manutenções", "SqlSRV01Man", "SqlSRV01", img::Manutencoes, a.connStr);
            IncluirNode(arv, "Logins", "SqlSRV01Manlog", "SqlSRV01Man", img::Logins, a.connStr);
            const QString banco = MontarConnStrSql("SRV01", "Loja", "sa", "s3nha", false);
            IncluirNode(arv, "Loja", "SqlSRV01Loja", "SqlSRV01", img::BancoConectado, banco);
            IncluirNode(arv, "Users", "SqlSRV01Lojausu", "SqlSRV01Loja", img::Usuarios, banco);
        }
        void DuploClique(const QString& chave)
        {
            navegador.Arvore().Selecionar(navegador.Arvore().No(chave));
            navegador.ChamarDuploClique();
        }
    };

private slots:
    void LoginsEUsuariosAbremDoNo()
    {
        Cenario c;
        c.DuploClique("SqlSRV01Manlog");
        QCOMPARE(c.janelas.size(), 1);
        auto* logins = qobject_cast<frmLogins*>(c.janelas[0].data());
        QVERIFY(logins);
        QCOMPARE(logins->Tag(), QString::number(c.servidor->Index()));
        c.DuploClique("SqlSRV01Lojausu");
        QCOMPARE(c.janelas.size(), 2);
        auto* usuarios = qobject_cast<frmUsuarios*>(c.janelas[1].data());
        QVERIFY(usuarios);
        QCOMPARE(usuarios->Banco(), QStringLiteral("Loja"));
        QCOMPARE(usuarios->Tag(), QString::number(c.navegador.Arvore().No("SqlSRV01Loja")->Index()));
        QVERIFY(c.a.prompt.mensagens.isEmpty());
        qDeleteAll(c.janelas);
    }
};
QUARRIX_TESTE(tst_frmAdminNavegador);
#include "tst_frmAdminNavegador.moc"
