// The local engine setup program, headless, in a data folder of its own: set up a server, reach its
// database through the mapping it wrote, stop, start, remove; a second set-up refuses to overwrite.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlServidores.h"
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlSenhasGuardadas.h"
#include "support/clsPromptRoteiro.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Resultado {
    int codigo = -1;
    QString saida;
    QString erro;
};

QHash<QString, QString> Estado(const QString& saida)
{
    QHash<QString, QString> r;
    for (const QString& l : saida.split(u'\n', Qt::SkipEmptyParts))
        r.insert(l.section(u'=', 0, 0), l.section(u'=', 1));
    return r;
}
} // namespace

class tst_ProgramaEasySetup : public QObject {
    Q_OBJECT
    QTemporaryDir dados;

    Resultado Rodar(const QString& entrada)
    {
        QProcess p;
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert(QStringLiteral("XDG_DATA_HOME"), dados.path());
        p.setProcessEnvironment(amb);
        p.start(QStringLiteral(QUARRIX_BIN_DIR "/quarrix-easysetup"), {QStringLiteral("--sem-janela")});
        p.write(entrada.toUtf8());
        p.closeWriteChannel();
        p.waitForFinished(240000);
        return {p.exitCode(),
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    // The custom connection the program mapped, as the navigator reads it.
    QString ConnStrMapeada()
    {
        const int qtde = settings::GetSetting("Servidores", "Qtde", "0").toInt();
        for (int i = 1; i <= qtde; ++i)
            if (settings::GetSetting("Servidores", "Tipo" + SlotServidor(i)) == u"C")
                return senhas::Ler("Servidores", "ConnStr" + SlotServidor(i));
        return {};
    }

private slots:
    void initTestCase()
    {
        if (QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty())
            QSKIP("PostgreSQL is not installed");
        // As root the server runs as "postgres", which must reach the folder.
        QFile::setPermissions(dados.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                  | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }

    // A test that failed half-way leaves no server behind.
    void cleanup()
    {
        if (QDir(dados.filePath(QStringLiteral("Quarrix/servidor"))).exists())
            Rodar(QStringLiteral("acao=remover"));
    }

    void InstalarUsarPararIniciarRemover()
    {
        SettingsTemporarios s;
        // A mapping that was there before stays.
        settings::SaveSetting("Servidores", "Qtde", "1");
        settings::SaveSetting("Servidores", "Tipo001", "A");
        settings::SaveSetting("Servidores", "Path001", "/dados/antigo.db");

        Resultado r = Rodar(QStringLiteral("acao=instalar\nbanco=vendas\n"));
        QVERIFY2(r.codigo == 0, qPrintable(r.saida + r.erro));
        const QString pasta = dados.filePath(QStringLiteral("Quarrix/servidor"));
        QVERIFY(QFile::exists(pasta + QStringLiteral("/data/PG_VERSION")));
        QVERIFY(!QFile::exists(pasta + QStringLiteral("/.senha")));

        // The mapping reaches the database, on this machine only, with a password of its own.
        const QString cs = ConnStrMapeada();
        QVERIFY2(cs.contains(QStringLiteral("Server=127.0.0.1;")) && cs.contains(QStringLiteral("Database=vendas;")),
                 qPrintable(cs));
        QCOMPARE(settings::GetSetting("Servidores", "Path001"), QStringLiteral("/dados/antigo.db"));
        QVERIFY(!settings::Chaves("EasySetup").isEmpty());
        {
            clsPromptRoteiro prompt;
            clsAmbienteDados amb(prompt);
            clsData db(amb);
            QVERIFY2(db.OpenConnection(cs, false, false), qPrintable(db.ErrMsg()));
            QCOMPARE(db.RetValue(QStringLiteral("SELECT current_database()")).toString(), QStringLiteral("vendas"));
            db.CloseConnection();
        }
        // A running navigator picks the new connection up.
        {
            clsPromptRoteiro prompt;
            clsAmbienteNavegador amb(prompt);
            IncluirNode(amb.Arvore(), {QStringLiteral("Customizaveis"), QStringLiteral("Outros"), {}, img::Grupo});
            QVERIFY(AcrescentarConexoesNovas(amb.Arvore()));
            QVERIFY(!AcrescentarConexoesNovas(amb.Arvore()));
        }

        // A second set-up changes nothing.
        r = Rodar(QStringLiteral("acao=instalar\nbanco=outro\n"));
        QCOMPARE(r.codigo, 1);
        QVERIFY2(r.erro.contains(QStringLiteral("Já existe um servidor em ")), qPrintable(r.erro));
        QCOMPARE(ConnStrMapeada(), cs);

        QCOMPARE(Rodar(QStringLiteral("acao=parar")).codigo, 0);
        QCOMPARE(Estado(Rodar(QStringLiteral("acao=estado")).saida).value("rodando"), QStringLiteral("0"));
        QCOMPARE(Rodar(QStringLiteral("acao=iniciar")).codigo, 0);
        QCOMPARE(Estado(Rodar(QStringLiteral("acao=estado")).saida).value("rodando"), QStringLiteral("1"));

        r = Rodar(QStringLiteral("acao=remover"));
        QVERIFY2(r.codigo == 0, qPrintable(r.erro));
        QVERIFY(!QDir(pasta).exists());
        QVERIFY(ConnStrMapeada().isEmpty());
        QCOMPARE(settings::GetSetting("Servidores", "Path001"), QStringLiteral("/dados/antigo.db"));
        QCOMPARE(Estado(Rodar(QStringLiteral("acao=estado")).saida).value("instalado"), QStringLiteral("0"));
    }

    void NomeDeBancoInvalidoNaoCriaNada()
    {
        SettingsTemporarios s;
        const Resultado r = Rodar(QStringLiteral("acao=instalar\nbanco=a;b\n"));
        QCOMPARE(r.codigo, 1);
        QVERIFY2(r.erro.contains(QStringLiteral("não é válido")), qPrintable(r.erro));
        QVERIFY(!QDir(dados.filePath(QStringLiteral("Quarrix/servidor"))).exists());
    }
};
QUARRIX_TESTE(tst_ProgramaEasySetup);
#include "tst_ProgramaEasySetup.moc"
