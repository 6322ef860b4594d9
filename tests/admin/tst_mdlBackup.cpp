// The backup program's arguments, its statements, and the program itself: the connection string
// reaches it on standard input and never appears on its command line; success is the "1" under
// "Backup", anything else leaves no "1".
#include "admin/mdlBackup.h"
#include "connections/clsAmbienteDados.h"
#include "servidorReal.h"
#include "support/clsSqlDmoDuble.h"
#include "support/fixtures.h"
#include "support/portaLocal.h"
#include "support/registroTestes.h"

#include <QFile>
#include <QProcess>
#include <QTest>

Q_DECLARE_METATYPE(backup::Argumentos)

namespace {

QString Programa() { return QStringLiteral(QUARRIX_BIN_DIR "/quarrix-backup"); }

backup::Argumentos Copia(const QString& connStr, const QString& banco)
{
    backup::Argumentos a;
    a.connStr = connStr;
    a.banco = banco;
    a.arquivo = QStringLiteral("C:\\Backup\\") + banco + QStringLiteral(".bak");
    return a;
}
} // namespace

class tst_mdlBackup : public QObject {
    Q_OBJECT
private slots:
    void ArgumentoIdaEVolta_data()
    {
        QTest::addColumn<backup::Argumentos>("a");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("sql");
        const QString cs = "Provider=SQLOLEDB.1;Data Source=SRV;User ID=sa;Password=a&b=c;";
        backup::Argumentos b = Copia(cs, "Lo'ja]");
        b.nome = "Backup do Lo'ja]";
        b.descricao = "  ";
        b.sobrescrever = true;
        QTest::newRow("backup em arquivo")
            << b
            << "ConnString=" + cs
                   + "&DataBase=Lo'ja]&Opcao=B&ArqTipo=F&ArqNome=C:\\Backup\\Lo'ja].bak"
                     "&BackupName=Backup do Lo'ja]&BackupOpcao=C&BackupMetodo=S"
            << "BACKUP DATABASE [Lo'ja]]] TO DISK = N'C:\\Backup\\Lo''ja].bak' WITH INIT, "
               "NAME = N'Backup do Lo''ja]', STATS = 5";
        backup::Argumentos d = Copia(cs, "Vendas");
        d.dispositivo = true;
        d.arquivo = "Fita]1";
        d.diferencial = true;
        d.descricao = "semanal";
        QTest::newRow("backup diferencial em device")
            << d
            << "ConnString=" + cs
                   + "&DataBase=Vendas&Opcao=B&ArqTipo=D&ArqNome=Fita]1"
                     "&BackupDescription=semanal&BackupOpcao=D"
            << "BACKUP DATABASE [Vendas] TO [Fita]]1] WITH NOINIT, DESCRIPTION = N'semanal', DIFFERENTIAL, STATS = 5";
        backup::Argumentos r = Copia(cs, "Vendas");
        r.restaurar = true;
        r.substituir = true;
        r.devBanco = "Vendas_Data";
        r.arqBanco = "D:\\Dados\\Vendas.mdf";
        r.devLog = "Vendas_Log";
        r.arqLog = "D:\\Dados\\Vendas_log.ldf";
        QTest::newRow("restauracao forcada")
            << r
            << "ConnString=" + cs
                   + "&DataBase=Vendas&Opcao=R&ArqTipo=F&ArqNome=C:\\Backup\\Vendas.bak&Replace=1"
                     "&DevBanco=Vendas_Data&ArqBanco=D:\\Dados\\Vendas.mdf&DevLog=Vendas_Log&ArqLog=D:\\Dados\\Vendas_"
                     "log.ldf"
            << "RESTORE DATABASE [Vendas] FROM DISK = N'C:\\Backup\\Vendas.bak' WITH REPLACE, MOVE N'Vendas_Data' TO "
               "N'D:\\Dados\\Vendas.mdf', MOVE N'Vendas_Log' TO N'D:\\Dados\\Vendas_log.ldf', STATS = 5";
        backup::Argumentos s = Copia(cs, "Vendas");
        s.restaurar = true;
        s.dispositivo = true;
        s.arquivo = "Fita1";
        QTest::newRow("restauracao de device")
            << s << "ConnString=" + cs + "&DataBase=Vendas&Opcao=R&ArqTipo=D&ArqNome=Fita1"
            << "RESTORE DATABASE [Vendas] FROM [Fita1] WITH STATS = 5";
    }
    void ArgumentoIdaEVolta()
    {
        QFETCH(backup::Argumentos, a);
        QFETCH(QString, texto);
        QFETCH(QString, sql);
        QCOMPARE(backup::Montar(a), texto);
        backup::Argumentos lido;
        QString erro;
        QVERIFY2(backup::Ler(texto, lido, &erro), qPrintable(erro));
        QCOMPARE(lido.connStr, a.connStr); // the password's "&" and "=" stay in it
        QCOMPARE(backup::Montar(lido), texto);
        QCOMPARE(backup::Sql(lido), sql);
    }

    void ArgumentoRecusado_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("erro");
        QTest::newRow("vazio") << ""
                               << "Falta o argumento ConnString";
        QTest::newRow("sem arquivo") << "ConnString=x&DataBase=d&Opcao=B&ArqTipo=F"
                                     << "Falta o argumento ArqNome";
        QTest::newRow("opcao") << "ConnString=x&DataBase=d&Opcao=X&ArqTipo=F&ArqNome=f"
                               << "Opcao deve ser B ou R: X";
        QTest::newRow("tipo") << "ConnString=x&DataBase=d&Opcao=B&ArqTipo=T&ArqNome=f"
                              << "ArqTipo deve ser F ou D: T";
        QTest::newRow("lixo antes") << "x&ConnString=x"
                                    << "Argumento inesperado no início: x";
    }
    void ArgumentoRecusado()
    {
        QFETCH(QString, texto);
        QFETCH(QString, erro);
        backup::Argumentos a;
        QString motivo;
        QVERIFY(!backup::Ler(texto, a, &motivo));
        QCOMPARE(motivo, erro);
    }

    // The program waits for a server that never answers: its command line holds no password.
    void SenhaNuncaNaLinhaDeComando()
    {
        QVERIFY2(QFile::exists(Programa()), "build the quarrix-backup target first");
        SettingsTemporarios settings;
        PortaLocal mudo(true);
        const QString senha = "Senh@Secreta-" + QString::number(mudo.numero);
        backup::Argumentos a
            = Copia(MontarConnStrSql("127.0.0.1," + QString::number(mudo.numero), "master", "sa", senha, false),
                    "Loja");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUARRIX_SETTINGS", settings::Arquivo());
        p.setProcessEnvironment(env);
        p.start(Programa(), {"--sem-janela"});
        QVERIFY(p.waitForStarted());
        p.write(backup::Montar(a).toUtf8() + '\n');
        p.closeWriteChannel();
        QTest::qWait(300); // reading done, connecting
        QCOMPARE(p.state(), QProcess::Running);
        QFile linha(QStringLiteral("/proc/%1/cmdline").arg(p.processId()));
        QVERIFY(linha.open(QIODevice::ReadOnly));
        const QByteArray cmdline = linha.readAll();
        QVERIFY(cmdline.contains("--sem-janela"));
        QVERIFY(!cmdline.contains(senha.toUtf8()));
        QVERIFY(!cmdline.contains("ConnString"));
        p.kill();
        p.waitForFinished();
    }

    void PercentualDoAviso_data()
    {
        QTest::addColumn<QString>("aviso");
        QTest::addColumn<int>("percentual");
        QTest::newRow("english") << "10 percent processed." << 10;
        QTest::newRow("full") << "100 percent processed." << 100;
        QTest::newRow("portuguese") << "35 por cento processados." << 35;
        QTest::newRow("other message") << "Processed 328 pages for database 'Loja', file 'Loja' on file 1." << -1;
        QTest::newRow("out of range") << "250 percent processed." << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void PercentualDoAviso()
    {
        QFETCH(QString, aviso);
        QFETCH(int, percentual);
        QCOMPARE(backup::PercentualDoAviso(aviso), percentual);
    }

    // The server's progress messages reach the caller in order, with their percentages, while the
    // statement runs; the result is recorded after.
    void ProgressoDoServidor()
    {
        SettingsTemporarios settings;
        ServidorDuble servidor;
        servidor.avisos
            = {"5 percent processed.", "50 percent processed.", "Processed 8 pages.", "100 percent processed."};
        clsAmbienteDados amb{std::unique_ptr<clsPrompt>()};
        amb.fabricaSqlDmo = servidor.Fabrica();
        const backup::Argumentos a = Copia(MontarConnStrSql("srv", "master", "sa", "x", false), "Loja");
        QList<int> visto;
        QString erro;
        QVERIFY2(backup::Executar(amb, a, erro, [&](int p, const QString&) { visto << p; }), qPrintable(erro));
        QCOMPARE(visto, QList<int>({5, 50, -1, 100}));
        QCOMPARE(servidor.enviados.size(), 1);
        QVERIFY(servidor.enviados.first().startsWith("BACKUP DATABASE [Loja]"));
        QCOMPARE(settings::GetSetting("Backup", "Loja"), QStringLiteral("1"));
    }

    void FalhaNaoGravaOResultado()
    {
        QVERIFY2(QFile::exists(Programa()), "build the quarrix-backup target first");
        SettingsTemporarios settings;
        PortaLocal recusa(false);
        backup::Argumentos a
            = Copia(MontarConnStrSql("127.0.0.1," + QString::number(recusa.numero), "master", "sa", "x", false),
                    "Loja");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUARRIX_SETTINGS", settings::Arquivo());
        p.setProcessEnvironment(env);
        p.start(Programa(), {"--sem-janela"});
        p.write(backup::Montar(a).toUtf8());
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError())
                    .startsWith("Não foi possível conectar ao servidor 127.0.0.1," + QString::number(recusa.numero)
                                + ".\n"));
        QCOMPARE(settings::GetSetting("Backup", "Loja", "0"), QStringLiteral("0"));
        // Arguments it cannot read: exit 2 and the reason.
        p.start(Programa(), {"--sem-janela"});
        p.write("DataBase=Loja");
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()).trimmed(), QStringLiteral("Falta o argumento ConnString"));
    }

    void BackupERestauracao_SqlServerReal()
    {
        QUARRIX_EXIGIR_SQLSERVER(srv);
        QVERIFY2(srv.CriarBanco(), qPrintable(srv.sessao->Erro().descricao));
        SettingsTemporarios settings;
        backup::Argumentos a = Copia(srv.connStr, srv.banco);
        a.arquivo = "qx_" + srv.sufixo + ".bak"; // the server's default backup folder
        a.sobrescrever = true;
        QString erro;
        QVERIFY2(backup::Executar(srv.amb, a, erro), qPrintable(erro));
        QCOMPARE(settings::GetSetting("Backup", srv.banco), QStringLiteral("1"));
        settings::DeleteSetting("Backup", srv.banco);
        a.restaurar = true;
        a.substituir = true;
        QVERIFY2(backup::Executar(srv.amb, a, erro), qPrintable(erro));
        QCOMPARE(settings::GetSetting("Backup", srv.banco), QStringLiteral("1"));
    }
};
QUARRIX_TESTE(tst_mdlBackup);
#include "tst_mdlBackup.moc"
