// A query window running a 1,000,000-row x 6-column SELECT (a SQLite file, and PostgreSQL when
// QUARRIX_PG_CONNSTR is set): time until the first 1,000 rows are in the grid, time of the whole
// fill against a bare sqlite3_step loop over the same rows (PostgreSQL: a bare ODBC loop, SQLFetch
// over columns bound to arrays of 1,000 rows), the recordset filled alone against the same loop, peak memory per million rows, the
// longest gap between two ticks of a 10 ms timer while filling, and the time from Parar to the
// window being usable again during a statement that would count to 10^9. Each measurement runs in
// a child process of its own so that memory figures do not mix.
#include "connections/clsData.h"
#include "platform/clsMotor.h"
#include "query/clsModeloRecordset.h"
#include "query/frmTabela.h"
#include "query/uctEditorSql.h"
#include "shell/clsAmbiente.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

namespace {

constexpr long Linhas = 1000000;
const char* const Consulta = "SELECT Id, Curto, Longo, Valor, Data, Metade FROM Linhas";
const char* const Preenchimento
    = "INSERT INTO Linhas SELECT x, 'Nome ' || (x * 7919 % 100000), 'Rua das Palmeiras, ' || x || ' - Centro', "
      "x * 1.25, '2024-05-01 10:20:30', CASE WHEN x % 2 = 0 THEN 'M' || x END FROM ";

long MemoriaKb(const char* chave)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(chave))
            return l.mid(int(qstrlen(chave))).trimmed().split(' ').value(0).toLong();
    return 0;
}

void CriarSqlite(const QString& arquivo)
{
    sqlite3* db = nullptr;
    sqlite3_open(arquivo.toUtf8().constData(), &db);
    const QByteArray sql = QByteArray("PRAGMA journal_mode = OFF; CREATE TABLE Linhas (Id INTEGER PRIMARY KEY, "
                                      "Curto VARCHAR(20), Longo VARCHAR(100), Valor FLOAT, Data DATETIME, "
                                      "Metade VARCHAR(20)); WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                                      "FROM c WHERE x < ")
                           + QByteArray::number(qlonglong(Linhas)) + ") " + Preenchimento + "c";
    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The table goes into a database of the benchmark's own, so that no test's catalog sees it.
QString BancoProprio(const QString& cs)
{
    ErroDados e;
    auto m = AbrirMotor(cs, true, 10, e);
    RecordsetPtr rs;
    if (!m
        || !m->Executar(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = 'quarrix_bench'"),
                        &rs,
                        ado::adLockReadOnly,
                        nullptr))
        return {};
    if ((!rs || rs->RecordCount() == 0)
        && !m->Executar(QStringLiteral("CREATE DATABASE quarrix_bench"), nullptr, ado::adLockReadOnly, nullptr))
        return {};
    QString proprio = cs;
    static const QRegularExpression banco(QStringLiteral("Database=[^;]*"), QRegularExpression::CaseInsensitiveOption);
    return proprio.replace(banco, QStringLiteral("Database=quarrix_bench"));
}

bool CriarPostgres(const QString& cs)
{
    ErroDados e;
    auto m = AbrirMotor(cs, true, 10, e);
    if (!m)
        return false;
    RecordsetPtr rs;
    if (m->Executar(QStringLiteral("SELECT count(*) FROM Linhas"), &rs, ado::adLockReadOnly, nullptr)
        && PrimeiroValor(rs).toLongLong() == Linhas)
        return true;
    QString preencher = QString::fromLatin1(Preenchimento);
    preencher.replace(QStringLiteral("'2024-05-01"), QStringLiteral("TIMESTAMP '2024-05-01"));
    return m->Executar(QStringLiteral("DROP TABLE IF EXISTS Linhas; CREATE TABLE Linhas (Id integer PRIMARY KEY, "
                                      "Curto varchar(20), Longo varchar(100), Valor float8, Data timestamp, "
                                      "Metade varchar(20))"),
                       nullptr,
                       ado::adLockReadOnly,
                       nullptr)
           && m->Executar(preencher + QStringLiteral("generate_series(1::bigint, %1) x").arg(Linhas),
                          nullptr,
                          ado::adLockReadOnly,
                          nullptr);
}

// The bare engine loop: every value of every row read in its own type, nothing kept.
int Bruto(const QString& arquivo)
{
    QElapsedTimer t;
    t.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(arquivo.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, Consulta, -1, &st, nullptr);
    long n = 0;
    size_t bytes = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < 6; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: bytes += size_t(sqlite3_column_int64(st, c) & 1); break;
            case SQLITE_FLOAT: bytes += sqlite3_column_double(st, c) > 0 ? 1 : 0; break;
            case SQLITE_TEXT: bytes += size_t(*sqlite3_column_text(st, c)) + size_t(sqlite3_column_bytes(st, c)); break;
            default: break;
            }
        }
        ++n;
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    std::printf("%lld %ld %zu\n", t.elapsed(), n, bytes % 10);
    return 0;
}

// The bare ODBC loop: the same statement through the driver, every column bound to an array of
// 1,000 rows (a block cursor), every value touched, nothing kept.
int BrutoOdbc(const QString& cs)
{
    QString odbc = cs;
    odbc.remove(QRegularExpression(QStringLiteral("Provider=[^;]*;?"), QRegularExpression::CaseInsensitiveOption));
    // The cursor the engine asks psqlODBC for: rows fetched from the server as they are read.
    odbc += QStringLiteral(";UseDeclareFetch=1;Fetch=10000");
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    SQLHSTMT st = nullptr;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    const QByteArray c = odbc.toUtf8();
    if (!SQL_SUCCEEDED(SQLDriverConnect(dbc,
                                        nullptr,
                                        reinterpret_cast<SQLCHAR*>(const_cast<char*>(c.constData())),
                                        SQL_NTS,
                                        nullptr,
                                        0,
                                        nullptr,
                                        SQL_DRIVER_NOPROMPT))) {
        std::printf("-1 0\n");
        return 1;
    }
    QElapsedTimer t;
    t.start();
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
    constexpr SQLULEN Bloco = 1000;
    SQLSetStmtAttr(st, SQL_ATTR_ROW_BIND_TYPE, SQL_BIND_BY_COLUMN, 0);
    SQLSetStmtAttr(st, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(Bloco), 0);
    SQLULEN lidas = 0;
    SQLSetStmtAttr(st, SQL_ATTR_ROWS_FETCHED_PTR, &lidas, 0);
    std::vector<SQLBIGINT> id(Bloco);
    std::vector<double> valor(Bloco);
    std::vector<SQL_TIMESTAMP_STRUCT> data(Bloco);
    constexpr SQLLEN Texto = 202; // characters of UTF-16, as the engine reads text
    std::vector<SQLWCHAR> curto(Bloco * Texto), longo(Bloco * Texto), metade(Bloco * Texto);
    std::vector<SQLLEN> ind[6];
    for (auto& i : ind)
        i.resize(Bloco);
    SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(const_cast<char*>(Consulta)), SQL_NTS);
    SQLBindCol(st, 1, SQL_C_SBIGINT, id.data(), 0, ind[0].data());
    SQLBindCol(st, 2, SQL_C_WCHAR, curto.data(), Texto * sizeof(SQLWCHAR), ind[1].data());
    SQLBindCol(st, 3, SQL_C_WCHAR, longo.data(), Texto * sizeof(SQLWCHAR), ind[2].data());
    SQLBindCol(st, 4, SQL_C_DOUBLE, valor.data(), 0, ind[3].data());
    SQLBindCol(st, 5, SQL_C_TYPE_TIMESTAMP, data.data(), 0, ind[4].data());
    SQLBindCol(st, 6, SQL_C_WCHAR, metade.data(), Texto * sizeof(SQLWCHAR), ind[5].data());
    long n = 0;
    size_t soma = 0;
    while (SQL_SUCCEEDED(SQLFetch(st))) {
        for (SQLULEN r = 0; r < lidas; ++r) {
            soma += size_t(id[r] & 1) + (valor[r] > 0 ? 1 : 0) + data[r].day;
            for (int k : {1, 2, 5})
                if (ind[k][r] != SQL_NULL_DATA)
                    soma += size_t(ind[k][r]) + size_t((k == 1 ? curto : k == 2 ? longo : metade)[r * Texto]);
        }
        n += long(lidas);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    std::printf("%lld %ld %zu\n", t.elapsed(), n, soma % 10);
    return 0;
}

// The engine alone fills a recordset on the calling thread, as before rows came in blocks.
int SoMotor(const QString& cs, const QString& sql)
{
    ErroDados e;
    auto m = AbrirMotor(cs, true, 10, e);
    QElapsedTimer t;
    t.start();
    RecordsetPtr rs;
    m->Executar(sql, &rs, ado::adLockBatchOptimistic, nullptr);
    std::printf("%lld %d\n", t.elapsed(), rs ? rs->RecordCount() : -1);
    return 0;
}

// Runs the window's text and lets the event loop go on until the run has ended.
void ExecutarAteOFim(frmTabela* w)
{
    bool acabou = false;
    QObject::connect(w, &frmTabela::ExecucaoConcluida, w, [&] { acabou = true; });
    if (!w->ExecutarSql())
        return;
    while (!acabou)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The window runs `sql`; prints the time to the first 1,000 rows, to the end, the longest timer
// gap, the peak memory added and the rows.
int Janela(const QString& cs, const QString& sql)
{
    clsAmbiente ambiente{std::unique_ptr<clsPrompt>()};
    auto* w = new frmTabela(ambiente);
    w->resize(1000, 700);
    w->CarregarForm(cs, sql, QStringLiteral("SqlEditor: "), false, {}, {}, {});
    while (!w->Ativado())
        QCoreApplication::processEvents();
    w->AbrirConexao();
    QFile zerar(QStringLiteral("/proc/self/clear_refs"));
    if (zerar.open(QIODevice::WriteOnly))
        zerar.write("5"); // the peak counts from here
    zerar.close();
    const long antes = MemoriaKb("VmRSS:");
    QElapsedTimer t;
    qint64 primeiras = -1, maiorIntervalo = 0, ultimo = 0;
    QObject::connect(w->Modelo(), &QAbstractItemModel::rowsInserted, w, [&] {
        if (primeiras < 0 && w->Modelo()->rowCount() >= 1000) {
            primeiras = t.elapsed();
            w->Grid()->viewport()->repaint();
        }
    });
    QObject::connect(w->Modelo(), &QAbstractItemModel::modelReset, w, [&] {
        if (primeiras < 0 && w->Modelo()->rowCount() >= 1000) {
            primeiras = t.elapsed();
            w->Grid()->viewport()->repaint();
        }
    });
    QTimer relogio;
    QObject::connect(&relogio, &QTimer::timeout, w, [&] {
        const qint64 agora = t.elapsed();
        maiorIntervalo = std::max(maiorIntervalo, agora - ultimo);
        ultimo = agora;
    });
    relogio.start(10);
    t.start();
    ExecutarAteOFim(w);
    const qint64 fim = t.elapsed();
    relogio.stop();
    std::printf("%lld %lld %lld %ld %d\n",
                primeiras,
                fim,
                maiorIntervalo,
                MemoriaKb("VmHWM:") - antes,
                w->Modelo()->rowCount());
    delete w;
    return 0;
}

// Parar pressed half a second into a statement that would run for minutes: the time until the
// window is usable again (its run returned).
int Parar(const QString& cs, const QString& sql)
{
    clsAmbiente ambiente{std::unique_ptr<clsPrompt>()};
    auto* w = new frmTabela(ambiente);
    w->CarregarForm(cs, sql, QStringLiteral("SqlEditor: "), false, {}, {}, {});
    while (!w->Ativado())
        QCoreApplication::processEvents();
    QElapsedTimer t;
    QTimer::singleShot(500, w, [&] {
        t.start();
        w->Botao(QStringLiteral("Parar"))->trigger();
    });
    ExecutarAteOFim(w);
    std::printf("%lld\n", t.elapsed());
    delete w;
    return 0;
}

QList<QByteArray> Filho(const QStringList& args)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), args);
    p.waitForFinished(-1);
    return p.readAllStandardOutput().trimmed().split(' ');
}

void Relatorio(const char* motor, const QList<QByteArray>& j, double brutoMs)
{
    if (j.size() < 5) {
        std::printf("%s: the measurement failed\n", motor);
        return;
    }
    const double fimMs = j[1].toDouble();
    std::printf("%-10s first 1,000 rows in the grid: %6s ms\n", motor, j[0].constData());
    if (brutoMs > 0)
        std::printf("%-10s whole fill (%s rows):     %6.0f ms  ratio %.2f to the bare loop\n",
                    motor,
                    j[4].constData(),
                    fimMs,
                    fimMs / brutoMs);
    else
        std::printf("%-10s whole fill (%s rows):     %6.0f ms\n", motor, j[4].constData(), fimMs);
    std::printf("%-10s peak memory added:           %6.0f MB per million rows\n",
                motor,
                j[3].toDouble() / 1024.0 * 1e6 / std::max(1.0, j[4].toDouble()));
    std::printf("%-10s longest 10 ms timer gap:     %6s ms\n", motor, j[2].constData());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == u"bruto")
        return Bruto(args[2]);
    if (args.size() == 3 && args[1] == u"odbc")
        return BrutoOdbc(args[2]);
    if (args.size() == 4 && args[1] == u"janela")
        return Janela(args[2], args[3]);
    if (args.size() == 4 && args[1] == u"motor")
        return SoMotor(args[2], args[3]);
    if (args.size() == 4 && args[1] == u"parar")
        return Parar(args[2], args[3]);

    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("linhas.db"));
    std::printf("building a %ld-row table...\n", Linhas);
    CriarSqlite(arquivo);
    const QString cs = MontarConnStrAccess(arquivo, QStringLiteral("admin"), {});
    const QString consulta = QString::fromLatin1(Consulta);
    const QString semFim = QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE "
                                          "x < 1000000000) SELECT count(*) FROM c");
    Filho({QStringLiteral("bruto"), arquivo}); // warms the file cache
    const double brutoMs = Filho({QStringLiteral("bruto"), arquivo}).value(0).toDouble();
    std::printf("SQLite     bare sqlite3_step loop:      %6.0f ms\n", brutoMs);
    const double motorMs = Filho({QStringLiteral("motor"), cs, consulta}).value(0).toDouble();
    std::printf("SQLite     recordset filled alone:      %6.0f ms  ratio %.2f to the bare loop (goal <= 1.3)\n",
                motorMs,
                motorMs / brutoMs);
    Relatorio("SQLite", Filho({QStringLiteral("janela"), cs, consulta}), brutoMs);
    std::printf("SQLite     Parar to usable window:      %6s ms\n",
                Filho({QStringLiteral("parar"), cs, semFim}).value(0).constData());

    const QString pg = BancoProprio(qEnvironmentVariable("QUARRIX_PG_CONNSTR"));
    if (!pg.isEmpty() && CriarPostgres(pg)) {
        Filho({QStringLiteral("odbc"), pg}); // warms the server's cache
        const double odbcMs = Filho({QStringLiteral("odbc"), pg}).value(0).toDouble();
        std::printf("PostgreSQL bare ODBC loop (bound, 1,000-row blocks): %6.0f ms\n", odbcMs);
        const double motorPg = Filho({QStringLiteral("motor"), pg, consulta}).value(0).toDouble();
        std::printf("PostgreSQL recordset filled alone:      %6.0f ms  ratio %.2f to the bare loop (goal <= 1.5)\n",
                    motorPg,
                    motorPg / odbcMs);
        Relatorio("PostgreSQL", Filho({QStringLiteral("janela"), pg, consulta}), odbcMs);
        std::printf("PostgreSQL Parar to usable window:      %6s ms\n",
                    Filho({QStringLiteral("parar"), pg, QStringLiteral("SELECT pg_sleep(60)")}).value(0).constData());
    } else {
        std::printf("PostgreSQL: QUARRIX_PG_CONNSTR is not set, not measured\n");
    }
    std::printf("goals: first rows under 100 ms (SQLite) and 300 ms (PostgreSQL); fill ratio at most 1.20;\n"
                "       at most 150 MB per million rows; timer gap under 50 ms; Parar under 200 ms\n");
    return 0;
}
