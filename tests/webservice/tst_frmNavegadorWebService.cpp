// A web-service source in the navigator opens and reads its folders on worker threads like any
// other source; a service that wants an access key gets it asked for on the windows' thread,
// again after a refused one, and the tree fills once the service takes it.
#include "bancoWeb.h"
#include "navigator/frmNavegador.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlServidores.h"
#include "shell/clsAmbiente.h"
#include "support/clsPromptRoteiro.h"
#include "support/esperaArvore.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QTest>
#include <QThread>
#include <QTreeView>

class tst_frmNavegadorWebService : public QObject {
    Q_OBJECT

private slots:
    void ChaveRecusadaPedidaDeNovo()
    {
        SettingsTemporarios settings;
        HostWeb web("k3y-de-teste");
        QVERIFY2(!web.url.isEmpty(), qPrintable(web.erro));
        const QString url = web.url;

        clsPromptRoteiro prompt;
        QStringList respostas{QStringLiteral("errada"), QStringLiteral("k3y-de-teste")};
        bool noGui = true;
        prompt.login = [&](QString&, QString& senha, bool& lembrar) {
            noGui = noGui && QThread::currentThread() == qApp->thread();
            if (respostas.isEmpty())
                return false;
            senha = respostas.takeFirst();
            lembrar = false;
            return true;
        };
        clsAmbiente ambiente{prompt};
        frmNavegador navegador{ambiente};
        navegador.InicializarNavegador();
        IncluirConexaoNavegador(navegador.Arvore(), tiporegistro::WebService, url, false, {}, {}, {}, {});
        navegador.show();
        clsNo* fonte = navegador.Arvore().No(QStringLiteral("WebSrv"))->Child();
        QVERIFY(fonte);

        navegador.Arvore().Selecionar(fonte);
        QTest::keyClick(navegador.trvNavegador(), Qt::Key_Return);
        const QString chaveTabelas = fonte->Key() + QStringLiteral("tab");
        QVERIFY(QTest::qWaitFor([&] { return navegador.Arvore().No(chaveTabelas) != nullptr; }, 30000));
        QCOMPARE(prompt.loginsPedidos, 2);
        QVERIFY(noGui);
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join(u'|')));

        // The folder reads its objects on a worker with the key the service took.
        clsNo* tabelas = navegador.Arvore().No(chaveTabelas);
        QVERIFY(Expandir(navegador.Arvore(), tabelas));
        QStringList nomes;
        for (clsNo* no = tabelas->Child(); no; no = no->Next())
            nomes << no->Text();
        QVERIFY2(nomes.contains(QStringLiteral("Tipos")) && nomes.contains(QStringLiteral("O'Brien]x")),
                 qPrintable(nomes.join(u',')));
        QCOMPARE(prompt.loginsPedidos, 2);
    }

    // Giving no key leaves the source unconnected with the service's reason, asked once.
    void SemChaveNaoConecta()
    {
        SettingsTemporarios settings;
        HostWeb web("k3y-de-teste");
        QVERIFY2(!web.url.isEmpty(), qPrintable(web.erro));
        const QString url = web.url;
        clsPromptRoteiro prompt;
        prompt.login = [](QString&, QString&, bool&) { return false; };
        clsAmbiente ambiente{prompt};
        frmNavegador navegador{ambiente};
        navegador.InicializarNavegador();
        IncluirConexaoNavegador(navegador.Arvore(), tiporegistro::WebService, url, false, {}, {}, {}, {});
        clsNo* fonte = navegador.Arvore().No(QStringLiteral("WebSrv"))->Child();
        QVERIFY(!Conectado(navegador.Arvore(), fonte));
        QCOMPARE(prompt.loginsPedidos, 1);
        QCOMPARE(prompt.mensagens.size(), 1);
        QVERIFY2(prompt.textos().first().contains(QStringLiteral("chave de acesso")),
                 qPrintable(prompt.textos().join(u'|')));
        QVERIFY(!navegador.Arvore().No(fonte->Key() + QStringLiteral("tab")));
    }
};

QUARRIX_TESTE(tst_frmNavegadorWebService);
#include "tst_frmNavegadorWebService.moc"
