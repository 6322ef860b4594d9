// Saved passwords in a real keyring: a private session bus and GNOME Keyring, unlocked with a
// throwaway password, in a temporary home. Without them these tests skip (the fallback to the
// settings file without any session bus: tst_mdlSenhasSemChaveiro).
#include "platform/clsServidoresRegistrados.h"
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlSenhasGuardadas.h"
#include "support/chaveiroTeste.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QTest>

namespace {

const QString Secao = QStringLiteral("AutoLogin");

} // namespace

class tst_mdlSenhasGuardadas : public QObject {
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

    void GravarLerEApagar_data()
    {
        QTest::addColumn<QString>("senha");
        QTest::newRow("ascii") << "s3gr3d0-Chave";
        QTest::newRow("unicode e sintaxe") << "пароль;Pwd={x}";
    }
    void GravarLerEApagar()
    {
        QFETCH(QString, senha);
        SettingsTemporarios st;
        senhas::Gravar(Secao, "SqlPass:SRV01", senha);
        QCOMPARE(settings::GetSetting(Secao, "SqlPass:SRV01"), Embaralhar(senhas::Marcador));
        QVERIFY(senhas::NoChaveiro(Secao, "SqlPass:SRV01"));
        QVERIFY(!ArquivoDeAjustesRevela(senha));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:SRV01"), senha);
        // The design's "a password is saved" test still holds.
        QVERIFY(Desembaralhar(settings::GetSetting(Secao, "SqlPass:SRV01")) != u"*-*-*-*");
        senhas::Apagar(Secao, "SqlPass:SRV01");
        QVERIFY(settings::GetSetting(Secao, "SqlPass:SRV01").isEmpty());
        // The keyring entry went too: the marker put back finds nothing.
        settings::SaveSetting(Secao, "SqlPass:SRV01", Embaralhar(senhas::Marcador));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:SRV01", "nada"), QStringLiteral("nada"));
    }

    void ValorAntigoMigra()
    {
        SettingsTemporarios st;
        const QString senha = QStringLiteral("antiga-Ação");
        settings::SaveSetting(Secao, "SqlPass:SRV02", Embaralhar(senha));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:SRV02"), senha);
        QVERIFY(senhas::Migrar(Secao, "SqlPass:SRV02"));
        QVERIFY(senhas::NoChaveiro(Secao, "SqlPass:SRV02"));
        QVERIFY(!ArquivoDeAjustesRevela(senha));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:SRV02"), senha);
        QVERIFY(!senhas::Migrar(Secao, "SqlPass:SRV02")); // once
        senhas::Apagar(Secao, "SqlPass:SRV02");
    }

    // Not secrets: no password and the "none saved" convention stay in the file as before.
    void NaoSegredosFicamNoArquivo()
    {
        SettingsTemporarios st;
        senhas::Gravar(Secao, "SqlPass:A", "*-*-*-*");
        QCOMPARE(settings::GetSetting(Secao, "SqlPass:A"), Embaralhar("*-*-*-*"));
        senhas::Gravar(Secao, "SqlPass:B", "");
        QCOMPARE(senhas::Ler(Secao, "SqlPass:B", "padrao"), QString());
        QCOMPARE(senhas::Ler(Secao, "SqlPass:ausente", "padrao"), QStringLiteral("padrao"));
        QVERIFY(!senhas::Migrar(Secao, "SqlPass:A"));
    }

    void OpcaoDesligada()
    {
        SettingsTemporarios st;
        senhas::Gravar(Secao, "SqlPass:C", "no-chaveiro");
        settings::SaveSetting("Opcoes", senhas::ChaveOpcao, "0");
        QVERIFY(!senhas::UsarChaveiro());
        senhas::Gravar(Secao, "SqlPass:C", "no-arquivo");
        QCOMPARE(settings::GetSetting(Secao, "SqlPass:C"), Embaralhar("no-arquivo"));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:C"), QStringLiteral("no-arquivo"));
        QVERIFY(!senhas::Migrar(Secao, "SqlPass:C"));
        // The entry of the earlier save went when the file took the password back.
        settings::SaveSetting(Secao, "SqlPass:C", Embaralhar(senhas::Marcador));
        QCOMPARE(senhas::Ler(Secao, "SqlPass:C", "nada"), QStringLiteral("nada"));
    }

    // A registered server keeps its password in the keyring; removing the server removes it.
    void ServidorRegistradoNoChaveiro()
    {
        SettingsTemporarios st;
        ::ServidorRegistrado s;
        s.nome = "SRV9";
        s.login = "sa";
        s.senha = "reg-Segredo";
        servidoresregistrados::Registrar(s);
        QVERIFY(!ArquivoDeAjustesRevela(s.senha));
        QCOMPARE(servidoresregistrados::Servidores().value(0).senha, s.senha);
        // A password an earlier version left scrambled moves once a connection to the server worked.
        settings::SaveSetting("ServidoresSqlServer", "Senha001", Embaralhar("antiga-Senha"));
        QVERIFY(servidoresregistrados::MigrarSenha("srv9"));
        QVERIFY(senhas::NoChaveiro("ServidoresSqlServer", "Senha001"));
        QVERIFY(!ArquivoDeAjustesRevela("antiga-Senha"));
        QCOMPARE(servidoresregistrados::Servidores().value(0).senha, QStringLiteral("antiga-Senha"));
        QVERIFY(servidoresregistrados::Remover("SRV9"));
        settings::SaveSetting("Servidores", "Senha001", Embaralhar(senhas::Marcador));
        QVERIFY(senhas::Ler("Servidores", "Senha001").isEmpty());
    }
};
QUARRIX_TESTE(tst_mdlSenhasGuardadas);

#include "tst_mdlSenhasGuardadas.moc"
