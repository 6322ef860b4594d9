// Copying 1,000,000 rows × 6 columns with the import/export program's engine, against each
// engine's own bulk path on the same rows:
//   SQLite -> SQLite    against INSERT INTO … SELECT across an ATTACH      (goal: at most 1.3 times)
//   CSV -> SQLite       against the sqlite3 shell's .import                 (goal: at most 1.5 times)
//   SQLite -> PostgreSQL against psql's \copy from a CSV file of the rows   (goal: at most 1.5 times;
//                        only when QUARRIX_PG_CONNSTR names a server)
// Each measurement runs in a child process of its own, so the peak memory figures do not mix; the
// copy's peak is also measured with a tenth of the rows, to show it does not grow with them.
#include "impexp/clsTransferencia.h"

#include "../memoriaProcesso.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

using namespace impexp;

namespace {

QString Conn(const QString& arquivo)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + arquivo;
}

bool Executar(clsMotor& m, const QString& sql)
{
    if (m.Executar(sql, nullptr, 1, nullptr))
        return true;
    std::fprintf(stderr, "%s\n", qPrintable(m.Erro().descricao));
    return false;
}

// The origin file: 6 columns of the usual kinds.
void CriarOrigem(const QString& arquivo, int linhas)
{
    ErroDados e;
    CriarBancoArquivo(arquivo, e);
    auto m = AbrirMotor(Conn(arquivo), true, 5, e);
    Executar(*m,
             QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, cliente TEXT NOT NULL, cidade VARCHAR(30), "
                            "valor DECIMAL(12, 2), quando DATETIME, qtde INTEGER);"
                            "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < %1) "
                            "INSERT INTO t SELECT i, 'Cliente ' || i, 'Cidade ' || (i % 97), (i % 100000) / 100.0, "
                            "datetime(1700000000 + i, 'unixepoch'), i % 13 FROM s;")
                 .arg(linhas));
}

bool Copiar(const QString& origem, const QString& destino, const QString& tabela)
{
    clsTransferencia t(InterpretarPonta(origem), InterpretarPonta(destino));
    QString erro;
    if (!t.Abrir(erro)) {
        std::fprintf(stderr, "%s\n", qPrintable(erro));
        return false;
    }
    ItemCopia i;
    i.origem = ObjetoBanco(tabela);
    i.destino = ObjetoBanco(QStringLiteral("t"));
    i.acao = Acao::Recriar;
    const QList<ResultadoItem> r = t.Executar({i}, false);
    if (!r.value(0).ok)
        std::fprintf(stderr, "%s\n", qPrintable(r.value(0).erro));
    return r.value(0).ok;
}

// One measurement, in this (child) process: prints seconds and peak kB.
int Medir(const QString& modo, const QString& pasta)
{
    const QString origem = pasta + QStringLiteral("/origem.db");
    const QString csv = pasta + QStringLiteral("/t.csv");
    const QString destino = pasta + QStringLiteral("/destino-") + modo + QStringLiteral(".db");
    QFile::remove(destino);
    const QString pg = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
    QElapsedTimer relogio;
    relogio.start();
    bool ok = true;
    if (modo == u"attach") {
        ErroDados e;
        CriarBancoArquivo(destino, e);
        auto m = AbrirMotor(Conn(destino), true, 5, e);
        // The same table the copy makes, filled by the engine.
        ok = Executar(*m,
                      QStringLiteral("ATTACH '%1' AS o; BEGIN; CREATE TABLE t (id INTEGER NOT NULL, cliente TEXT "
                                     "NOT NULL, cidade VARCHAR(30), valor DECIMAL(12, 2), quando DATETIME, "
                                     "qtde INTEGER, PRIMARY KEY (id)); INSERT INTO t SELECT * FROM o.t; COMMIT;")
                          .arg(origem));
    } else if (modo == u"copia" || modo == u"copia-decimo") {
        ok = Copiar(Conn(modo == u"copia" ? origem : pasta + QStringLiteral("/decimo.db")), Conn(destino), "t");
    } else if (modo == u"csv") {
        ok = Copiar(csv, Conn(destino), csv);
    } else if (modo == u"import") {
        ok = QProcess::execute(QStringLiteral("sqlite3"),
                               {destino, QStringLiteral(".mode csv"), QStringLiteral(".import %1 t").arg(csv)})
             == 0;
    } else if (modo == u"pg") {
        ok = Copiar(Conn(origem), pg, "t");
    } else if (modo == u"psql") {
        ErroDados e;
        auto m = AbrirMotor(pg, true, 5, e);
        // The table as the program makes it, before the clock starts.
        ok = m
             && Executar(*m,
                         QStringLiteral("DROP TABLE IF EXISTS t; CREATE TABLE t (id bigint PRIMARY KEY, "
                                        "cliente text NOT NULL, cidade varchar(30), valor numeric(12, 2), "
                                        "quando timestamp(6), qtde bigint)"));
        const clsConnStr cs(pg);
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert(QStringLiteral("PGPASSWORD"), cs.Valor(QStringLiteral("Pwd")));
        relogio.restart();
        QProcess p;
        p.setProcessEnvironment(amb);
        p.start(QStringLiteral("psql"),
                {QStringLiteral("-q"),
                 QStringLiteral("-h"),
                 cs.Valor(QStringLiteral("Server")),
                 QStringLiteral("-p"),
                 cs.Valor(QStringLiteral("Port")),
                 QStringLiteral("-U"),
                 cs.Valor(QStringLiteral("Uid")),
                 cs.Valor(QStringLiteral("Database")),
                 QStringLiteral("-c"),
                 QStringLiteral("\\copy t FROM '%1' WITH (FORMAT csv, HEADER true)").arg(csv)});
        ok = ok && p.waitForFinished(-1) && p.exitCode() == 0;
    }
    std::printf("%.3f %ld\n", double(relogio.nsecsElapsed()) / 1e9, MemoriaProcessoKb());
    return ok ? 0 : 1;
}

struct Medida {
    double segundos = -1;
    long picoKb = 0;
};

Medida Filho(const QString& modo, const QString& pasta)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--medir"), modo, pasta});
    p.waitForFinished(-1);
    const QStringList v = QString::fromLatin1(p.readAllStandardOutput()).split(u' ');
    if (p.exitCode() != 0) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(modo), p.readAllStandardError().constData());
        return {};
    }
    return {v.value(0).toDouble(), v.value(1).trimmed().toLong()};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() == 4 && a[1] == u"--medir")
        return Medir(a[2], a[3]);
    QTemporaryDir pasta;
    std::printf("Preparando 1.000.000 linhas × 6 colunas...\n");
    std::fflush(stdout);
    CriarOrigem(pasta.filePath(QStringLiteral("origem.db")), 1000000);
    CriarOrigem(pasta.filePath(QStringLiteral("decimo.db")), 100000);
    // The CSV file of the same rows, written by the program itself.
    {
        clsTransferencia t(InterpretarPonta(Conn(pasta.filePath(QStringLiteral("origem.db")))),
                           InterpretarPonta(pasta.filePath(QStringLiteral("t.csv"))));
        QString erro;
        t.Abrir(erro);
        ItemCopia i;
        i.origem = ObjetoBanco(QStringLiteral("t"));
        i.destino = ObjetoBanco(pasta.filePath(QStringLiteral("t.csv")));
        t.Executar({i}, false);
    }
    const auto linha = [](const char* nome, const Medida& m, const Medida& base, double meta) {
        std::printf("%-34s %8.2f s  pico %7.1f MB", nome, m.segundos, m.picoKb / 1024.0);
        if (base.segundos > 0)
            std::printf("  razão %.2f (meta %.1f)", m.segundos / base.segundos, meta);
        std::printf("\n");
        std::fflush(stdout);
    };
    const Medida attach = Filho(QStringLiteral("attach"), pasta.path());
    linha("INSERT … SELECT por ATTACH", attach, {}, 0);
    linha("SQLite -> SQLite (impexp)", Filho(QStringLiteral("copia"), pasta.path()), attach, 1.3);
    linha("SQLite -> SQLite, 100.000 linhas", Filho(QStringLiteral("copia-decimo"), pasta.path()), {}, 0);
    QProcess versao;
    versao.start(QStringLiteral("sqlite3"), {QStringLiteral("-version")});
    if (versao.waitForFinished() && versao.exitCode() == 0) {
        const Medida import = Filho(QStringLiteral("import"), pasta.path());
        linha("sqlite3 .import", import, {}, 0);
        linha("CSV -> SQLite (impexp)", Filho(QStringLiteral("csv"), pasta.path()), import, 1.5);
    }
    if (!qEnvironmentVariable("QUARRIX_PG_CONNSTR").isEmpty()) {
        const Medida psql = Filho(QStringLiteral("psql"), pasta.path());
        linha("psql \\copy do CSV", psql, {}, 0);
        linha("SQLite -> PostgreSQL (impexp)", Filho(QStringLiteral("pg"), pasta.path()), psql, 1.5);
    }
    return 0;
}
