// The navigator's saved passwords in a real keyring: a login an earlier version left scrambled in
// the settings moves into the keyring at the first connection that works; a custom source's
// connection string is kept there; unmapping an entry forgets its keyring entries. The settings
// file never gives a password back.
#include "connections/clsData.h"
#include "connections/mdlCriarBanco.h"
#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlCatalogo.h"
#include "navigator/mdlNavegador.h"
#include "navigator/mdlServidores.h"
#include "support/chaveiroTeste.h"
#include "support/clsPromptRoteiro.h"
#include "support/esperaArvore.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QTest>

namespace {
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
        InicializarNavegador(arvore);
    }
};
} // namespace

class tst_SenhasNoChaveiro : public QObject {
    Q_OBJECT
    ChaveiroTeste chaveiro;

private slots:
    void initTestCase()
    {
        if (!chaveiro.Iniciar())
            qWarning("%s", qPrintable(chaveiro.motivo));
    }
    void init()
    {
        if (!chaveiro.motivo.isEmpty())
            QSKIP(qPrintable(chaveiro.motivo));
    }

    void LoginAntigoMigraEDesmapearApaga()
    {
        Cenario c;
        QVERIFY(IncluirConexaoNavegador(c.arvore, tiporegistro::Access, c.caminho));
        GravarServidor(c.arvore, "A", c.caminho, {}, {});
        clsNo* no = c.arvore.No("Access")->Child();
        const QString chave = "SqlPass:" + NomeLogin(no);
        settings::SaveSetting("AutoLogin", "SqlUser:" + NomeLogin(no), "Admin");
        settings::SaveSetting("AutoLogin", chave, Embaralhar("velha-Senha"));
        QVERIFY(ArquivoDeAjustesRevela("velha-Senha"));

        QVERIFY2(Conectado(c.arvore, no), qPrintable(c.prompt.textos().join('|')));
        QVERIFY(c.prompt.mensagens.isEmpty());
        QCOMPARE(settings::GetSetting("AutoLogin", chave), Embaralhar(senhas::Marcador));
        QVERIFY(!ArquivoDeAjustesRevela("velha-Senha"));
        QCOMPARE(senhas::Ler("AutoLogin", chave), QStringLiteral("velha-Senha"));

        c.prompt.respostas << vb::Yes;
        DesmaparItem(c.arvore, no, {});
        QVERIFY(!c.arvore.No("Access")->Child());
        QVERIFY(settings::GetSetting("AutoLogin", chave).isNull());
        settings::SaveSetting("AutoLogin", chave, Embaralhar(senhas::Marcador));
        QCOMPARE(senhas::Ler("AutoLogin", chave, "nada"), QStringLiteral("nada"));
    }

    void ConexaoCustomizadaNoChaveiro()
    {
        Cenario c;
        const QString cs = MontarConnStrAccess(c.caminho, "Admin", "cust-Senha;x");
        QVERIFY(Mapeado(c.arvore, cs));
        QVERIFY(senhas::NoChaveiro("Servidores", "ConnStr001"));
        QVERIFY(!ArquivoDeAjustesRevela("cust-Senha"));
        // The next run reads the source back with its string whole.
        {
            clsPromptRoteiro prompt;
            clsAmbienteNavegador outro{prompt};
            InicializarNavegador(outro.Arvore());
            CarregarServidores(outro.Arvore());
            clsNo* fonte = outro.Arvore().No("Outros")->Child();
            QVERIFY(fonte);
            QCOMPARE(fonte->Tag(), cs);
        }
        c.prompt.respostas << vb::Yes;
        DesmaparItem(c.arvore, c.arvore.No("Outros")->Child(), {});
        QVERIFY(settings::GetSetting("Servidores", "ConnStr001").isNull());
        settings::SaveSetting("Servidores", "ConnStr001", Embaralhar(senhas::Marcador));
        QCOMPARE(senhas::Ler("Servidores", "ConnStr001", "nada"), QStringLiteral("nada"));
    }
};
QUARRIX_TESTE(tst_SenhasNoChaveiro);
#include "tst_SenhasNoChaveiro.moc"
