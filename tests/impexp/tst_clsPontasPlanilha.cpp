// Spreadsheets (.xlsx) as origin and destination: two tables through one workbook and back into
// real SQLite files and the PostgreSQL test database with every value exact (compared with SQL),
// a workbook another program wrote (shared strings, rich text, date formats, booleans, gaps), and
// a file that is not written when one of its tables fails.
#include "copiaTeste.h"
#include "impexp/clsPontasPlanilha.h"
#include "sqlCopia.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <xlsxwriter.h>

using namespace impexp;

class tst_clsPontasPlanilha : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;
    QString pg;

    QString Arquivo(const QString& nome) { return pasta.filePath(nome); }

    static QString Diferencas(clsMotor& m, const QString& a, const QString& b)
    {
        QStringList d = Linhas(m, QStringLiteral("SELECT * FROM %1 EXCEPT SELECT * FROM %2").arg(a, b));
        d += Linhas(m, QStringLiteral("SELECT * FROM %1 EXCEPT SELECT * FROM %2").arg(b, a));
        return d.join(u'\n');
    }

private slots:
    void initTestCase() { pg = BancoPostgresProprio(QStringLiteral("quarrix_impexp_xlsx")); }

    // Two tables, one sheet each, and back: numbers a double cannot hold, dates before 1900 and
    // fractions finer than milliseconds travel as their text and come back as the same values.
    void DuasTabelasIdaEVolta()
    {
        const QString origem = Arquivo(QStringLiteral("o.db"));
        auto m = Sqlite(origem, QString::fromUtf8(SqlValoresPlanilha()));
        QVERIFY(m);
        const QString xlsx = Arquivo(QStringLiteral("duas.xlsx"));
        QList<ResultadoItem> r = Copiar(ConnSqlite(origem), xlsx, {"valores", "outra]'x"});
        QVERIFY2(r.size() == 2 && r[0].ok && r[1].ok, qPrintable(Relatorio(r)));
        QStringList folhas;
        QString erro;
        QVERIFY2(FolhasDaPlanilha(xlsx, folhas, erro), qPrintable(erro));
        // A sheet's name cannot hold "]".
        QCOMPARE(folhas, (QStringList{"valores", "outra_'x"}));

        const QString volta = Arquivo(QStringLiteral("volta.db"));
        r = Copiar(xlsx, ConnSqlite(volta), folhas);
        QVERIFY2(r.size() == 2 && r[0].ok && r[1].ok, qPrintable(Relatorio(r)));
        QCOMPARE(r[0].linhas, 4);
        QVERIFY(m->Executar(QStringLiteral("ATTACH '%1' AS v").arg(volta), nullptr, 1, nullptr));
        QCOMPARE(Diferencas(*m, "main.valores", "v.valores"), QString());
        QCOMPARE(Linhas(*m, "SELECT typeof(i8), typeof(f) FROM v.valores WHERE id = 1"), QStringList{"integer|real"});
        QCOMPARE(Diferencas(*m, "main.\"outra]'x\"", "v.\"outra_'x\""), QString());
    }

    // PostgreSQL's own types to a sheet and back into a new table, compared as text (decimals by value:
    // a sheet keeps no scale).
    void PostgresIdaEVolta()
    {
        if (pg.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set");
        ErroDados e;
        auto m = AbrirMotor(pg, true, 10, e);
        QVERIFY(m);
        QVERIFY2(m->Executar(QString::fromUtf8(SqlOrigemPostgres()), nullptr, 1, nullptr),
                 qPrintable(m->Erro().descricao));
        const QString xlsx = Arquivo(QStringLiteral("pg.xlsx"));
        QList<ResultadoItem> r = Copiar(pg, xlsx, {QStringLiteral("p]x\"'y z")});
        QVERIFY2(r.value(0).ok, qPrintable(Relatorio(r)));
        clsTransferencia t(InterpretarPonta(xlsx), InterpretarPonta(pg));
        QString erro;
        QVERIFY(t.Abrir(erro));
        ItemCopia item;
        item.origem = ObjetoBanco(QStringLiteral("p_x\"'y z"));
        item.destino = ObjetoBanco(QStringLiteral("volta"));
        r = t.Executar({item}, false);
        QVERIFY2(r.value(0).ok, qPrintable(Relatorio(r)));
        const QString colunas
            = QStringLiteral("id::text, n, n2, ts::text, d::text, t::text, tx, vc, dp::text, i8::text, "
                             "i2::text, lower(u::text)");
        QCOMPARE(Diferencas(*m,
                            QStringLiteral("(SELECT %1 FROM \"p]x\"\"'y z\") a").arg(colunas),
                            QStringLiteral("(SELECT %1 FROM volta) b").arg(colunas)),
                 QString());
        QCOMPARE(Linhas(*m, "SELECT count(*) FROM volta"), QStringList{"3"});
    }

    // A workbook as another program writes it: shared strings (one of them rich text),
    // a date format of its own, booleans, a skipped row and missing cells.
    void PlanilhaDeOutroPrograma()
    {
        const QString xlsx = Arquivo(QStringLiteral("outro.xlsx"));
        {
            lxw_workbook* l = workbook_new(QFile::encodeName(xlsx).constData());
            lxw_worksheet* f = workbook_add_worksheet(l, "Dados");
            workbook_add_worksheet(l, "Vazia");
            lxw_format* data = workbook_add_format(l);
            format_set_num_format(data, "yyyy\\-mm\\-dd");
            lxw_format* quando = workbook_add_format(l);
            format_set_num_format(quando, "[$-416]dd/mm/yyyy hh:mm:ss");
            const char* cab[] = {"nome", "nome", "", "dia", "quando", "ok", "n"};
            for (int c = 0; c < 7; ++c)
                worksheet_write_string(f, 0, lxw_col_t(c), cab[c], nullptr);
            worksheet_write_string(f, 1, 0, "José", nullptr);
            worksheet_write_string(f, 1, 1, "José", nullptr);
            worksheet_write_number(f, 1, 2, 7, nullptr);
            worksheet_write_number(f, 1, 3, 45413, data); // 2024-05-01
            worksheet_write_number(f, 1, 4, 45413.5 + 1.0 / 86400000.0, quando);
            worksheet_write_boolean(f, 1, 5, 1, nullptr);
            worksheet_write_number(f, 1, 6, 0.1, nullptr);
            lxw_format* negrito = workbook_add_format(l);
            format_set_bold(negrito);
            lxw_rich_string_tuple ri{negrito, const_cast<char*>("ri")}, co{nullptr, const_cast<char*>("co")};
            lxw_rich_string_tuple* partes[] = {&ri, &co, nullptr};
            worksheet_write_rich_string(f, 3, 0, partes, nullptr);
            worksheet_write_number(f, 3, 2, -2, nullptr);
            worksheet_write_boolean(f, 3, 5, 0, nullptr);
            worksheet_write_number(f, 3, 6, 12.25, nullptr);
            QCOMPARE(workbook_close(l), LXW_NO_ERROR);
        }
        const QString volta = Arquivo(QStringLiteral("outro.db"));
        const QList<ResultadoItem> r = Copiar(xlsx, ConnSqlite(volta), {"Dados"});
        QVERIFY2(r.value(0).ok, qPrintable(Relatorio(r)));
        auto m = Sqlite(volta);
        QCOMPARE(Linhas(*m, "SELECT name || ' ' || type FROM pragma_table_info('Dados') ORDER BY cid"),
                 (QStringList{"nome TEXT",
                              "nome_2 TEXT",
                              "Coluna3 BIGINT",
                              "dia DATE",
                              "quando DATETIME",
                              "ok BOOLEAN",
                              "n DECIMAL(4, 2)"}));
        QCOMPARE(Linhas(*m,
                        "SELECT quote(nome), quote(nome_2), quote(Coluna3), quote(dia), quote(quando), "
                        "quote(ok), quote(n) FROM Dados"),
                 (QStringList{"'José'|'José'|7|'2024-05-01'|'2024-05-01 12:00:00.001'|1|0.1",
                              "NULL|NULL|NULL|NULL|NULL|NULL|NULL",
                              "'rico'|NULL|-2|NULL|NULL|0|12.25"}));
        QStringList folhas;
        QString erro;
        QVERIFY(FolhasDaPlanilha(xlsx, folhas, erro));
        QCOMPARE(folhas, (QStringList{"Dados", "Vazia"}));
    }

    // The workbook holds every table or none: a table that fails leaves no file, and one that
    // exists is replaced only when the action says so.
    void FalhaNaoGravaOArquivo()
    {
        const QString origem = Arquivo(QStringLiteral("falha.db"));
        auto m = Sqlite(origem,
                        QStringLiteral("CREATE TABLE a (id INTEGER); INSERT INTO a VALUES (1);"
                                       "CREATE TABLE b (t TEXT); INSERT INTO b VALUES (printf('%.40000c', 'x'));"));
        const QString xlsx = Arquivo(QStringLiteral("falha.xlsx"));
        QList<ResultadoItem> r = Copiar(ConnSqlite(origem), xlsx, {"a", "b"});
        QCOMPARE(r.size(), 2);
        QVERIFY(!r[0].ok && !r[1].ok);
        QVERIFY2(r[1].erro.startsWith(QStringLiteral("Linha 1, coluna 't': o texto tem 40000 caracteres")),
                 qPrintable(r[1].erro));
        QVERIFY2(r[0].erro.contains(QStringLiteral("não foi gravado")), qPrintable(r[0].erro));
        QVERIFY(!QFile::exists(xlsx));
        QVERIFY(!QFile::exists(xlsx + QStringLiteral(".parcial")));

        r = Copiar(ConnSqlite(origem), xlsx, {"a"});
        QVERIFY(r.value(0).ok);
        const QByteArray antes = [&] {
            QFile f(xlsx);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        r = Copiar(ConnSqlite(origem), xlsx, {"a"});
        QVERIFY2(!r.value(0).ok && r[0].erro.contains(QStringLiteral("já existe")), qPrintable(r[0].erro));
        QFile f(xlsx);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), antes);
        r = Copiar(ConnSqlite(origem), xlsx, {"a"}, Acao::Recriar);
        QVERIFY(r.value(0).ok);
    }
};
QUARRIX_TESTE(tst_clsPontasPlanilha);
#include "tst_clsPontasPlanilha.moc"
