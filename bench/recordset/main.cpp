// Recordset benchmark: a SQLite file of N rows x 6 columns (integer key, short text, longer text,
// real, date, a column half null) read (a) by a bare sqlite3_step loop, (b) into a Recordset by
// clsData.ExecSql, then (c) sorted on the short text, (d) filtered on an integer equality, and
// (e) the same rows fetched from PostgreSQL through ODBC when QUARRIX_PG_CONNSTR is set.
// Usage: bench_recordset [rows] (default 1000000).
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "platform/clsMotor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

long MemoriaKb(const char* chave)
{
    QFile f("/proc/self/status");
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(chave))
            return l.mid(int(strlen(chave))).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Lets the peak counter start again from the current size.
void ZerarPico()
{
    QFile f("/proc/self/clear_refs");
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

const char* const Consulta = "SELECT Id, Curto, Longo, Valor, Data, Metade FROM Linhas";

bool Criar(const QString& arquivo, long n)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(arquivo.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    sqlite3_exec(db,
                 "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
                 "CREATE TABLE Linhas (Id INTEGER PRIMARY KEY, Curto VARCHAR(20), Longo VARCHAR(100), "
                 "Valor FLOAT, Data DATETIME, Metade VARCHAR(20)); BEGIN;",
                 nullptr,
                 nullptr,
                 nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Linhas VALUES (?, ?, ?, ?, ?, ?)", -1, &st, nullptr);
    char curto[32], longo[128], data[32], metade[32];
    for (long i = 1; i <= n; ++i) {
        snprintf(curto, sizeof curto, "Nome %05ld", (i * 7919) % 100000);
        snprintf(longo, sizeof longo, "Rua das Palmeiras, %ld - Bairro Centro - Cidade %ld", i, i % 5000);
        snprintf(data, sizeof data, "20%02ld-%02ld-%02ld 10:%02ld:00", 10 + i % 15, 1 + i % 12, 1 + i % 28, i % 60);
        snprintf(metade, sizeof metade, "M%ld", i);
        sqlite3_bind_int64(st, 1, i);
        sqlite3_bind_text(st, 2, curto, -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 3, longo, -1, SQLITE_STATIC);
        sqlite3_bind_double(st, 4, i * 1.25);
        sqlite3_bind_text(st, 5, data, -1, SQLITE_STATIC);
        if (i % 2)
            sqlite3_bind_null(st, 6);
        else
            sqlite3_bind_text(st, 6, metade, -1, SQLITE_STATIC);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return true;
}

double Bruto(const QString& arquivo, long& linhas)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(arquivo.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    QElapsedTimer t;
    t.start();
    sqlite3_prepare_v2(db, Consulta, -1, &st, nullptr);
    long soma = 0;
    linhas = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < 6; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: soma += long(sqlite3_column_int64(st, c)); break;
            case SQLITE_FLOAT: soma += long(sqlite3_column_double(st, c)); break;
            case SQLITE_TEXT: soma += sqlite3_column_text(st, c)[0] + sqlite3_column_bytes(st, c); break;
            default: break;
            }
        }
        ++linhas;
    }
    sqlite3_finalize(st);
    const double s = t.nsecsElapsed() / 1e9;
    sqlite3_close(db);
    if (soma == 42)
        std::puts("");
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const long n = argc > 1 ? std::atol(argv[1]) : 1000000;
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath("bench.db");
    std::printf("Criando %ld linhas x 6 colunas em %s ...\n", n, qPrintable(arquivo));
    QElapsedTimer t;
    t.start();
    if (!Criar(arquivo, n))
        return 1;
    std::printf("  arquivo criado em %.2f s\n", t.nsecsElapsed() / 1e9);

    long linhas = 0;
    const double a = Bruto(arquivo, linhas);
    std::printf("(a) sqlite3_step bruto, todos os valores: %.3f s (%ld linhas)\n", a, linhas);

    clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};

    clsData db(ambiente);
    if (!db.OpenConnection(MontarConnStrAccess(arquivo, "", ""), true, false)) {
        std::printf("falha: %s\n", qPrintable(db.ErrMsg()));
        return 1;
    }
    RecordsetPtr rs;
    long afetados = 0;
    const long antesKb = MemoriaKb("VmRSS:");
    ZerarPico();
    t.restart();
    if (!db.ExecSql(Consulta, false, true, rs, afetados)) {
        std::printf("falha: %s\n", qPrintable(db.ErrMsg()));
        return 1;
    }
    const double b = t.nsecsElapsed() / 1e9;
    const long picoKb = MemoriaKb("VmHWM:");
    const long depoisKb = MemoriaKb("VmRSS:");
    std::printf("(b) clsData.ExecSql -> Recordset: %.3f s (%d linhas)\n", b, rs->RecordCount());
    std::printf("    razao b/a: %.2f (meta <= 1.3)\n", b / a);
    const double milhoes = rs->RecordCount() / 1e6;
    std::printf("    memoria: pico %.1f MB, residente %.1f MB, do recordset %.1f MB -> %.1f MB por milhao de "
                "linhas no pico (meta <= 150)\n",
                (picoKb - antesKb) / 1024.0,
                (depoisKb - antesKb) / 1024.0,
                rs->BytesUsados() / 1048576.0,
                (picoKb - antesKb) / 1024.0 / milhoes);

    t.restart();
    rs->setSort("Curto");
    const double c = t.nsecsElapsed() / 1e9;
    std::printf("(c) Sort = \"Curto\": %.3f s (primeira: %s, ultima: ", c, qPrintable(rs->Valor("Curto").toString()));
    rs->MoveLast();
    std::printf("%s)\n", qPrintable(rs->Valor("Curto").toString()));

    rs->setSort("");
    t.restart();
    rs->setFilter("Id = 777");
    const double d = t.nsecsElapsed() / 1e9;
    std::printf("(d) Filter = \"Id = 777\": %.3f s (%d linha)\n", d, rs->RecordCount());
    t.restart();
    rs->setFilter("Metade = Null And Valor > 1000");
    std::printf("    Filter = \"Metade = Null And Valor > 1000\": %.3f s (%d linhas)\n",
                t.nsecsElapsed() / 1e9,
                rs->RecordCount());
    rs.reset();
    db.CloseConnection();

    const QString pg = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
    if (pg.isEmpty()) {
        std::printf("(e) PostgreSQL via ODBC: sem servidor (QUARRIX_PG_CONNSTR vazio)\n");
        return 0;
    }
    clsData p(ambiente);
    if (!p.OpenConnection(pg, true, false)) {
        std::printf("(e) falha: %s\n", qPrintable(p.ErrMsg()));
        return 0;
    }
    p.ExecSql("DROP TABLE IF EXISTS bench_linhas", false);
    p.ExecSql(
        QStringLiteral("CREATE TABLE bench_linhas AS SELECT i AS id, 'Nome ' || lpad(((i::bigint * 7919) %% "
                       "100000)::text, 5, '0') "
                       "AS curto, 'Rua das Palmeiras, ' || i || ' - Bairro Centro - Cidade ' || (i %% 5000) AS longo, "
                       "i * 1.25::float8 AS valor, timestamp '2010-01-01' + (i || ' minutes')::interval AS data, "
                       "CASE WHEN i %% 2 = 0 THEN 'M' || i END AS metade FROM generate_series(1, %1) AS i")
            .arg(n)
            .replace("%%", "%"),
        false);
    if (!p.ErrMsg().isEmpty()) {
        std::printf("(e) falha ao criar a tabela: %s\n", qPrintable(p.ErrMsg()));
        return 0;
    }
    ZerarPico();
    const long antesPg = MemoriaKb("VmRSS:");
    t.restart();
    if (!p.ExecSql("SELECT id, curto, longo, valor, data, metade FROM bench_linhas", false, true, rs, afetados)) {
        std::printf("(e) falha: %s\n", qPrintable(p.ErrMsg()));
        return 0;
    }
    const double e = t.nsecsElapsed() / 1e9;
    std::printf("(e) PostgreSQL via ODBC -> Recordset: %.3f s (%d linhas), pico %.1f MB\n",
                e,
                rs->RecordCount(),
                (MemoriaKb("VmHWM:") - antesPg) / 1024.0);
    rs.reset();
    p.ExecSql("DROP TABLE IF EXISTS bench_linhas", false);
    return 0;
}
