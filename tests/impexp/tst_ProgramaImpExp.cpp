// The program itself, headless: the argument the main program gives it (in its environment),
// "chave=valor" lines on its standard input, its report and exit code.
#include "copiaTeste.h"
#include "platform/mdlProgramas.h"
#include "support/registroTestes.h"

#include <QProcess>

class tst_ProgramaImpExp : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;

    struct Resultado {
        int codigo = -1;
        QString saida, erro;
    };
    Resultado Rodar(const QString& argumento, const QString& entrada)
    {
        QProcess p;
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert(QStringLiteral("QUARRIX_ARGUMENTO"), argumento);
        p.setProcessEnvironment(amb);
        p.start(QStringLiteral(QUARRIX_BIN_DIR "/quarrix-impexp"), {QStringLiteral("--sem-janela")});
        p.write(entrada.toUtf8());
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return {p.exitCode(),
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

private slots:
    void CopiaOQueOArgumentoPede()
    {
        const QString origem = pasta.filePath(QStringLiteral("o.db")), destino = pasta.filePath(QStringLiteral("d.db"));
        Sqlite(
            origem,
            QStringLiteral("CREATE TABLE \"a&b\" (id INTEGER PRIMARY KEY, v TEXT); INSERT INTO \"a&b\" VALUES (1, 'x');"
                           "CREATE TABLE outra (id INTEGER)"));
        const QString relatorio = pasta.filePath(QStringLiteral("relatorio.txt"));
        // As the navigator builds it: a password with "&" and a table name with one.
        const QString argumento = ArgumentoImportarExportar(
            ConnSqlite(origem) + QStringLiteral(";Jet OLEDB:Database Password=\"s&Dest=x\""),
            ConnSqlite(destino),
            QStringLiteral("a&b"));
        Resultado r = Rodar(argumento, QStringLiteral("relatorio=%1\n").arg(relatorio));
        QVERIFY2(r.codigo == 0, qPrintable(r.saida + r.erro));
        QVERIFY2(r.saida.startsWith(QStringLiteral("a&b -> a&b: 1 linhas em ")), qPrintable(r.saida));
        QVERIFY(!r.saida.contains(QStringLiteral("Password")));
        QFile f(relatorio);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), r.saida);
        auto d = Sqlite(destino);
        QCOMPARE(Linhas(*d, QStringLiteral("SELECT id, v FROM \"a&b\"")), QStringList{"1|x"});
        QCOMPARE(Linhas(*d, QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE name = 'outra'")),
                 QStringList{"0"});

        // The table exists now: creating it again fails, with exit code 1, and changes nothing.
        r = Rodar(argumento, {});
        QCOMPARE(r.codigo, 1);
        QVERIFY2(r.saida.contains(QStringLiteral("ERRO: A tabela a&b já existe no destino")), qPrintable(r.saida));
        QCOMPARE(Linhas(*d, QStringLiteral("SELECT count(*) FROM \"a&b\"")), QStringList{"1"});
    }

    void SemOrigemNaoComeca()
    {
        const Resultado r = Rodar({}, QStringLiteral("destino=%1\n").arg(ConnSqlite(pasta.filePath("x.db"))));
        QCOMPARE(r.codigo, 2);
        QCOMPARE(r.erro.trimmed(), QStringLiteral("Informe a origem."));
    }
};
QUARRIX_TESTE(tst_ProgramaImpExp);
#include "tst_ProgramaImpExp.moc"
