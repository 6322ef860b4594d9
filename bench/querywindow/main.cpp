// Opening a table window on a 1,000,000-row database file and running it, against filling the
// recordset alone; and two such windows filling at once, with the longest time the program's event
// loop stood still meanwhile. Each measurement runs in a child process of its own, so memory figures
// do not mix: `bench_querywindow` prints them and their ratios.
#include "connections/clsData.h"
#include "query/clsModeloRecordset.h"
#include "query/frmTabela.h"
#include "shell/clsAmbiente.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int Linhas = 1000000;

long RssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith("VmRSS:"))
            return l.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

void CriarBanco(const QString& caminho)
{
    sqlite3* db = nullptr;
    sqlite3_open(caminho.toUtf8().constData(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE Vendas (Id INTEGER PRIMARY KEY, Cliente VARCHAR(60), Cidade VARCHAR(40), "
                 "Valor FLOAT, Data DATETIME);BEGIN",
                 nullptr,
                 nullptr,
                 nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Vendas VALUES (?,?,?,?,?)", -1, &st, nullptr);
    const char* cidades[] = {"Recife", "Olinda", "Natal", "Fortaleza", "Salvador"};
    for (int i = 1; i <= Linhas; ++i) {
        const QByteArray cliente = "Cliente " + QByteArray::number(i);
        sqlite3_bind_int(st, 1, i);
        sqlite3_bind_text(st, 2, cliente.constData(), int(cliente.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, cidades[i % 5], -1, SQLITE_STATIC);
        sqlite3_bind_double(st, 4, i * 1.25);
        sqlite3_bind_text(st, 5, "2024-05-01 10:20:30", -1, SQLITE_STATIC);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

QString ConnStr(const QString& caminho) { return MontarConnStrAccess(caminho, QStringLiteral("admin"), {}); }

// The recordset filled by the data layer, nothing else.
int SoPreencher(const QString& caminho)
{
    const long antes = RssKb();
    QElapsedTimer t;
    t.start();
    clsAmbiente ambiente{std::unique_ptr<clsPrompt>()};
    clsData d(ambiente);
    d.OpenConnection(ConnStr(caminho), true, false);
    RecordsetPtr rs;
    long n = 0;
    d.ExecSql(QStringLiteral("SELECT * \r\nFROM Vendas"), false, true, rs, n);
    const qint64 ms = t.elapsed();
    std::printf("fill %lld %ld %d\n", ms, RssKb() - antes, rs ? rs->RecordCount() : -1);
    return 0;
}

// A table window opened to run at once: time until its grid has painted the first rows, and the
// scroll to the last row.
int Janela(const QString& caminho)
{
    clsAmbiente ambiente{std::unique_ptr<clsPrompt>()};
    ambiente.Opcoes().AbrirExecutando = true;
    auto* w = new frmTabela(ambiente);
    w->resize(1000, 700);
    bool concluida = false;
    QObject::connect(w, &frmTabela::ExecucaoConcluida, [&concluida] { concluida = true; });
    const long antes = RssKb();
    QElapsedTimer t;
    t.start();
    w->CarregarForm(ConnStr(caminho), QString(), QStringLiteral("Vendas"), true, caminho, {}, {});
    while (!(w->Ativado() && w->Modelo()->rowCount() > 0) && t.elapsed() < 600000)
        QCoreApplication::processEvents();
    const qint64 execucao = t.elapsed();
    w->Grid()->viewport()->repaint();
    const qint64 primeiras = t.elapsed();
    while (!concluida && t.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qint64 todas = t.elapsed();
    QElapsedTimer r;
    r.start();
    w->Grid()->scrollToBottom();
    w->Grid()->viewport()->repaint();
    const qint64 rolagem = r.elapsed();
    const int ultima = w->Grid()->rowAt(w->Grid()->viewport()->height() - 2);
    const int total = w->Modelo()->rowCount();
    // A header click sorts the fetched rows; a filter by a typed value narrows them.
    r.restart();
    w->Grid()->horizontalHeader()->sectionClicked(1);
    w->Grid()->viewport()->repaint();
    const qint64 ordenar = r.elapsed();
    r.restart();
    w->Grid()->setCurrentIndex(w->Modelo()->index(0, 2));
    w->Filtar(QStringLiteral("Natal"));
    w->Grid()->viewport()->repaint();
    const qint64 filtrar = r.elapsed();
    std::printf("window %lld %lld %lld %ld %d %d %lld %lld %d %lld\n",
                execucao,
                primeiras,
                rolagem,
                RssKb() - antes,
                total,
                ultima + 1,
                ordenar,
                filtrar,
                w->Modelo()->rowCount(),
                todas);
    delete w; // before the context it works with
    return 0;
}

// Two table windows opened running at once on the same file: until both hold every row, a timer
// asks to run every millisecond, and the longest wait between two of its turns is what a user would
// feel as the program standing still.
int DuasJanelas(const QString& caminho)
{
    clsAmbiente ambiente{std::unique_ptr<clsPrompt>()};
    ambiente.Opcoes().AbrirExecutando = true;
    int concluidas = 0;
    QElapsedTimer t;
    t.start();
    qint64 ultimo = 0, maior = 0;
    QTimer relogio;
    relogio.setInterval(1);
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        const qint64 agora = t.elapsed();
        maior = std::max(maior, agora - ultimo);
        ultimo = agora;
    });
    relogio.start();
    std::vector<std::unique_ptr<frmTabela>> janelas;
    for (int i = 0; i < 2; ++i) {
        janelas.push_back(std::make_unique<frmTabela>(ambiente));
        janelas.back()->resize(1000, 700);
        QObject::connect(janelas.back().get(), &frmTabela::ExecucaoConcluida, [&concluidas] { ++concluidas; });
        janelas.back()->CarregarForm(ConnStr(caminho), QString(), QStringLiteral("Vendas"), true, caminho, {}, {});
    }
    while (concluidas < 2 && t.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("two %lld %lld %d\n", t.elapsed(), maior, janelas[1]->Modelo()->rowCount());
    janelas.clear(); // before the context they work with
    return 0;
}

QList<QByteArray> Filho(const QString& modo, const QString& caminho)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {modo, caminho});
    p.waitForFinished(-1);
    return p.readAllStandardOutput().trimmed().split(' ');
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("fill"))
        return SoPreencher(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("window"))
        return Janela(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("two"))
        return DuasJanelas(args[2]);

    QTemporaryDir pasta;
    const QString caminho = pasta.filePath(QStringLiteral("vendas.db"));
    std::printf("building a %d-row table...\n", Linhas);
    CriarBanco(caminho);
    Filho(QStringLiteral("fill"), caminho); // warms the file cache for both runs
    const QList<QByteArray> f = Filho(QStringLiteral("fill"), caminho);
    const QList<QByteArray> j = Filho(QStringLiteral("window"), caminho);
    const QList<QByteArray> d = Filho(QStringLiteral("two"), caminho);
    if (f.size() < 4 || j.size() < 11 || d.size() < 4) {
        std::printf("a measurement failed\n");
        return 1;
    }
    const double fillMs = f[1].toDouble(), fillKb = f[2].toDouble();
    const double runMs = j[1].toDouble(), firstMs = j[2].toDouble(), scrollMs = j[3].toDouble(),
                 winKb = j[4].toDouble();
    std::printf("recordset fill alone:        %8.0f ms  %8.0f KB  (%s rows)\n", fillMs, fillKb, f[3].constData());
    const double allMs = j[10].toDouble();
    std::printf("window, first rows in:       %8.0f ms  ratio %.2f  (goal under 100 ms)\n", runMs, runMs / fillMs);
    std::printf("window, first rows painted:  %8.0f ms  ratio %.2f\n", firstMs, firstMs / fillMs);
    std::printf("window, every row in:        %8.0f ms  ratio %.2f\n", allMs, allMs / fillMs);
    std::printf("two windows, every row in:   %8s ms  ratio %.2f  (%s rows each)\n",
                d[1].constData(),
                d[1].toDouble() / fillMs,
                d[3].constData());
    std::printf("two windows, longest stall:  %8s ms  (goal under 50 ms)\n", d[2].constData());
    std::printf("window memory:                          %8.0f KB  ratio %.2f\n", winKb, winKb / fillKb);
    std::printf("scroll to last row:          %8.0f ms  (last visible row %s of %s)\n",
                scrollMs,
                j[6].constData(),
                j[5].constData());
    std::printf("sort by a header click:      %8s ms  (goal under 1000)\n", j[7].constData());
    std::printf("filter by a typed value:     %8s ms  (%s rows left; goal under 1000)\n",
                j[8].constData(),
                j[9].constData());
    std::printf("goal: every-row and memory ratios at most 1.20; scrolling immediate\n");
    return 0;
}
