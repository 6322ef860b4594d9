// Saving edited rows on real engines: a SQLite file and, when QUARRIX_PG_CONNSTR is set (scripts/test
// starts a throwaway server), PostgreSQL through its ODBC driver. Every case compares the whole table
// afterwards with the one intended change.
#include "platform/clsMotor.h"
#include "support/registroTestes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ado;

namespace {

struct Motor {
    std::shared_ptr<clsMotor> m;
    bool pg = false;
};

// Every row of a table as text, in a stable order.
QStringList Conteudo(clsMotor& m, const QString& sql)
{
    RecordsetPtr rs;
    QStringList r;
    if (!m.Executar(sql, &rs, adLockReadOnly, nullptr) || !rs)
        return {QStringLiteral("ERRO: ") + m.Erro().descricao};
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        QStringList l;
        for (int c = 0; c < rs->FieldCount(); ++c) {
            const QVariant v = rs->Valor(c);
            l << (v.isNull()                            ? QStringLiteral("NULL")
                  : v.typeId() == QMetaType::QByteArray ? QString::fromLatin1(v.toByteArray().toHex())
                                                        : v.toString());
        }
        r << l.join(u'|');
    }
    return r;
}

RecordsetPtr Ler(clsMotor& m, const QString& sql)
{
    RecordsetPtr rs;
    if (!m.Executar(sql, &rs, adLockBatchOptimistic, nullptr))
        qWarning("%s", qPrintable(m.Erro().descricao));
    return rs;
}

} // namespace

class tst_clsRecordsetGravacao : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;
    Motor motor;

    void Executar(const QStringList& sqls)
    {
        for (const QString& s : sqls)
            QVERIFY2(motor.m->Executar(s, nullptr, adLockReadOnly, nullptr),
                     qPrintable(s + ": " + motor.m->Erro().descricao));
    }
    // The same table text on both engines: a blob is BLOB or bytea, a real REAL or double precision.
    QString Tipos(QString sql) const
    {
        if (motor.pg)
            sql.replace(QLatin1String(" BLOB"), QLatin1String(" BYTEA"))
                .replace(QLatin1String(" REAL"), QLatin1String(" DOUBLE PRECISION"))
                .replace(QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT"), QLatin1String("SERIAL PRIMARY KEY"));
        return sql;
    }
    QString Blob(const char* hex) const
    {
        return motor.pg ? QStringLiteral("'\\x%1'::bytea").arg(QLatin1String(hex))
                        : QStringLiteral("X'%1'").arg(QLatin1String(hex));
    }
    std::shared_ptr<clsMotor> Abrir(bool escrita = true)
    {
        ErroDados e;
        QFETCH(QString, cs);
        auto m = AbrirMotor(cs, escrita, 10, e);
        if (!m)
            qWarning("%s", qPrintable(e.descricao));
        return m;
    }

    // PostgreSQL: a database of this test's own, so other tests reading the shared one's catalog
    // never see these tables.
    static QString ConnStrPostgres()
    {
        QString cs = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        return cs.isEmpty()
                   ? cs
                   : cs.replace(QStringLiteral("Database=quarrix_teste"), QStringLiteral("Database=quarrix_gravacao"));
    }

private slots:
    void initTestCase()
    {
        const QString cs = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (cs.isEmpty())
            return;
        ErroDados e;
        auto m = AbrirMotor(cs, true, 10, e);
        QVERIFY2(m, qPrintable(e.descricao));
        m->Executar("DROP DATABASE IF EXISTS quarrix_gravacao", nullptr, adLockReadOnly, nullptr);
        QVERIFY2(m->Executar("CREATE DATABASE quarrix_gravacao", nullptr, adLockReadOnly, nullptr),
                 qPrintable(m->Erro().descricao));
    }

    void init()
    {
        if (QTest::currentDataTag() == QByteArray("postgresql") && qEnvironmentVariableIsEmpty("QUARRIX_PG_CONNSTR"))
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        if (QTest::currentDataTag() == QByteArray("sqlite")) {
            QFETCH(QString, cs);
            const QString arquivo = cs.section(QStringLiteral("Data Source="), 1);
            ErroDados e;
            QFile::remove(arquivo);
            QVERIFY2(CriarBancoArquivo(arquivo, e), qPrintable(e.descricao));
        }
        motor = {Abrir(), QTest::currentDataTag() == QByteArray("postgresql")};
        QVERIFY(motor.m);
        if (motor.pg)
            Executar({"DROP SCHEMA IF EXISTS s2 CASCADE",
                      "DROP TABLE IF EXISTS semchave, gemea, contas, calc, clientes CASCADE"});
    }
    void cleanup() { motor = {}; }

    void SemChave_data() { Engines(); }
    void SemChave()
    {
        Executar({Tipos("CREATE TABLE semchave (a INTEGER, txt TEXT, b BLOB, v VARCHAR(9000), f REAL, n INTEGER)"),
                  QStringLiteral("INSERT INTO semchave VALUES (1, 'x', %1, 'v', 0.1, 7), (1, 'x', %1, 'v', 0.1, 7), "
                                 "(2, 'longo A', %1, 'v', 0.1, 7), (2, 'longo B', %1, 'v', 0.1, 7), "
                                 "(3, 'x', %1, 'v', 0.1, 7), (3, 'x', %2, 'v', 0.1, 7), "
                                 "(4, 'x', %1, '%3', 0.1, 7), (4, 'x', %1, '%4', 0.1, 7), "
                                 "(5, NULL, NULL, NULL, 1e-7, NULL), (5, NULL, NULL, NULL, 2.5, NULL)")
                      .arg(Blob("00ff10"), Blob("00ff11"), QString(8500, u'a'), QString(8500, u'a') + u'b')});
        const QString todas = QStringLiteral("SELECT * FROM semchave ORDER BY a, txt, n, f");
        QStringList esperado = Conteudo(*motor.m, todas);

        // Two identical rows: neither can be told apart, so nothing is written.
        for (bool excluir : {false, true}) {
            auto rs = Ler(*motor.m, "SELECT * FROM semchave WHERE a = 1");
            excluir ? rs->Delete() : rs->DefinirValor("n", 8);
            QVERIFY(!rs->UpdateBatch());
            QVERIFY2(rs->Erro().descricao.contains("forma única"), qPrintable(rs->Erro().descricao));
            QVERIFY(rs->TemAlteracoesPendentes());
            QCOMPARE(Conteudo(*motor.m, todas), esperado);
        }

        // Rows that differ only in a long text, a blob, a 9000-character text, or hold NULLs and
        // floats: exactly the edited one changes.
        struct Caso {
            const char* filtro;
            int linha;
            bool excluirDepois;
        };
        for (const Caso& caso : {Caso{"a = 2 ORDER BY txt", 1, false},
                                 Caso{"a = 3 ORDER BY b", 1, false},
                                 Caso{"a = 4 ORDER BY v", 0, false},
                                 Caso{"a = 5 ORDER BY f", 0, false},
                                 Caso{"a = 5 ORDER BY f", 0, true}}) {
            const QString sql = QStringLiteral("SELECT * FROM semchave WHERE ") + caso.filtro;
            auto rs = Ler(*motor.m, sql);
            QVERIFY(rs);
            QVERIFY(rs->Move(caso.linha) && !rs->Eof());
            const QString antes = Conteudo(*motor.m, sql).value(caso.linha);
            rs->DefinirValor("a", 9);
            QVERIFY2(rs->UpdateBatch(), qPrintable(QString(caso.filtro) + ": " + rs->Erro().descricao));
            esperado.removeOne(antes);
            esperado << QStringLiteral("9") + antes.mid(1);
            // The saved row can be deleted again, found by its new values.
            if (caso.excluirDepois) {
                rs->Delete();
                QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
                esperado.removeLast();
            }
            QStringList agora = Conteudo(*motor.m, todas);
            agora.sort();
            esperado.sort();
            QCOMPARE(agora, esperado);
        }
    }

    void Esquema_data() { Engines(); }
    void Esquema()
    {
        // Two tables of the same name in two schemas (an attached file on SQLite).
        if (motor.pg) {
            Executar({"CREATE SCHEMA s2"});
        } else {
            ErroDados e;
            QFile::remove(pasta.filePath("s2.db"));
            QVERIFY(CriarBancoArquivo(pasta.filePath("s2.db"), e));
            Executar({QStringLiteral("ATTACH DATABASE '%1' AS s2").arg(pasta.filePath("s2.db"))});
        }
        Executar({"CREATE TABLE gemea (id INTEGER PRIMARY KEY, valor VARCHAR(10))",
                  "CREATE TABLE s2.gemea (id INTEGER PRIMARY KEY, valor VARCHAR(10))",
                  "INSERT INTO gemea VALUES (1, 'principal')",
                  "INSERT INTO s2.gemea VALUES (1, 'outra')"});
        auto rs = Ler(*motor.m, "SELECT * FROM s2.gemea");
        QVERIFY(rs);
        rs->DefinirValor("valor", "mudou");
        rs->AddNew();
        rs->DefinirValor("id", 2);
        rs->DefinirValor("valor", "nova");
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM s2.gemea ORDER BY id"), (QStringList{"1|mudou", "2|nova"}));
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM gemea ORDER BY id"), QStringList{"1|principal"});
    }

    // Inside a transaction the caller opened, a refused save undoes only itself (a savepoint);
    // what the caller did before stays, and a later save commits with it.
    void DentroDeUmaTransacaoDoChamador_data() { Engines(); }
    void DentroDeUmaTransacaoDoChamador()
    {
        Executar({"CREATE TABLE contas (id INTEGER PRIMARY KEY, saldo INTEGER)",
                  "INSERT INTO contas VALUES (1, 100), (2, 100)",
                  "CREATE TABLE semchave (a INTEGER)",
                  "INSERT INTO semchave VALUES (1), (1)"});
        QVERIFY(motor.m->IniciarTransacao());
        Executar({"UPDATE contas SET saldo = 1 WHERE id = 2"});
        auto dup = Ler(*motor.m, "SELECT * FROM semchave");
        dup->DefinirValor("a", 2);
        QVERIFY(!dup->UpdateBatch());
        QVERIFY(motor.m->EmTransacao());
        auto rs = Ler(*motor.m, "SELECT * FROM contas ORDER BY id");
        rs->DefinirValor("saldo", 7);
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QVERIFY(motor.m->ConfirmarTransacao());
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM contas ORDER BY id"), (QStringList{"1|7", "2|1"}));
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM semchave"), (QStringList{"1", "1"}));
    }

    void NovaLinhaComIdentidade_data() { Engines(); }
    void NovaLinhaComIdentidade()
    {
        Executar({Tipos("CREATE TABLE contas (id INTEGER PRIMARY KEY AUTOINCREMENT, nome VARCHAR(20), "
                        "saldo INTEGER DEFAULT 5)"),
                  "INSERT INTO contas (nome) VALUES ('a')"});
        auto rs = Ler(*motor.m, "SELECT * FROM contas ORDER BY id");
        rs->AddNew();
        rs->DefinirValor("nome", "b");
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        // The key and the default the engine generated are in the row, so it can be edited again.
        QCOMPARE(rs->Valor("id").toInt(), 2);
        QCOMPARE(rs->Valor("saldo").toInt(), 5);
        rs->DefinirValor("saldo", 6);
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM contas ORDER BY id"), (QStringList{"1|a|5", "2|b|6"}));
        rs->Delete();
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM contas ORDER BY id"), (QStringList{"1|a|5"}));
    }

    void OutroUsuarioAlterou_data() { Engines(); }
    void OutroUsuarioAlterou()
    {
        Executar({"CREATE TABLE contas (id INTEGER PRIMARY KEY, saldo INTEGER, obs VARCHAR(10))",
                  "INSERT INTO contas VALUES (1, 100, 'x'), (2, 100, 'y')"});
        auto rs = Ler(*motor.m, "SELECT * FROM contas ORDER BY id");
        auto outro = Abrir();
        QVERIFY(outro);
        long n;
        QVERIFY(outro->Executar("UPDATE contas SET saldo = 50 WHERE id = 1", nullptr, adLockReadOnly, &n));
        outro.reset();
        rs->DefinirValor("saldo", 110);
        QVERIFY(!rs->UpdateBatch());
        QVERIFY2(rs->Erro().descricao.contains("outro usuário"), qPrintable(rs->Erro().descricao));
        QVERIFY(rs->TemAlteracoesPendentes());
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM contas ORDER BY id"), (QStringList{"1|50|x", "2|100|y"}));
        // A column the other user did not touch is still written.
        rs->CancelBatch();
        rs->MoveFirst();
        rs->DefinirValor("obs", "z");
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM contas ORDER BY id"), (QStringList{"1|50|z", "2|100|y"}));
    }

    // Parts of one table read separately are written together: a conflict in the last part leaves
    // every part pending and the table as it was; once the conflict is gone, all parts go in.
    void VariasPartesNumaTransacao_data() { Engines(); }
    void VariasPartesNumaTransacao()
    {
        Executar({"CREATE TABLE contas (id INTEGER PRIMARY KEY, saldo INTEGER, obs VARCHAR(10))",
                  "INSERT INTO contas VALUES (1, 100, 'x'), (2, 100, 'y'), (3, 100, 'z')"});
        auto a = Ler(*motor.m, "SELECT * FROM contas WHERE id = 1");
        auto b = Ler(*motor.m, "SELECT * FROM contas WHERE id > 1 ORDER BY id");
        a->DefinirValor("saldo", 1);
        b->MoveLast();
        b->DefinirValor("saldo", 3);
        long n;
        QVERIFY(motor.m->Executar("UPDATE contas SET saldo = 33 WHERE id = 3", nullptr, adLockReadOnly, &n));
        ErroDados erro;
        QVERIFY(!clsRecordset::UpdateBatch({a, b}, erro));
        QVERIFY2(erro.descricao.contains("outro usuário"), qPrintable(erro.descricao));
        QVERIFY(a->TemAlteracoesPendentes() && b->TemAlteracoesPendentes());
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM contas ORDER BY id"), (QStringList{"1|100|x", "2|100|y", "3|33|z"}));
        QVERIFY(motor.m->Executar("UPDATE contas SET saldo = 100 WHERE id = 3", nullptr, adLockReadOnly, &n));
        QVERIFY2(clsRecordset::UpdateBatch({a, b}, erro), qPrintable(erro.descricao));
        QVERIFY(!a->TemAlteracoesPendentes() && !b->TemAlteracoesPendentes());
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM contas ORDER BY id"), (QStringList{"1|1|x", "2|100|y", "3|3|z"}));
        // Parts of two connections are refused.
        auto outro = Abrir();
        QVERIFY(outro);
        auto c = Ler(*outro, "SELECT * FROM contas WHERE id = 2");
        c->DefinirValor("obs", "w");
        a->DefinirValor("obs", "v");
        QVERIFY(!clsRecordset::UpdateBatch({a, c}, erro));
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM contas ORDER BY id"), (QStringList{"1|1|x", "2|100|y", "3|3|z"}));
    }

    void ColunasSemBase_data() { Engines(); }
    void ColunasSemBase()
    {
        Executar({"CREATE TABLE calc (id INTEGER PRIMARY KEY, v INTEGER)",
                  "CREATE TABLE clientes (id INTEGER PRIMARY KEY, nome VARCHAR(10))",
                  "INSERT INTO calc VALUES (1, 10)",
                  "INSERT INTO clientes VALUES (1, 'Ana')"});
        auto rs = Ler(*motor.m, "SELECT id, v, v * 2 AS dobro FROM calc");
        QVERIFY(rs->Gravavel());
        QVERIFY(rs->CampoGravavel(1));
        QVERIFY(!rs->CampoGravavel(2));
        rs->DefinirValor("dobro", 99);
        QVERIFY(!rs->UpdateBatch());
        QVERIFY2(rs->Erro().descricao.contains("dobro"), qPrintable(rs->Erro().descricao));
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM calc"), QStringList{"1|10"});

        QString motivo;
        for (const char* sql : {"SELECT 8 AS oito", "SELECT c.v, k.nome FROM calc c JOIN clientes k ON k.id = c.id"}) {
            rs = Ler(*motor.m, sql);
            QVERIFY2(!rs->Gravavel(&motivo), sql);
            QVERIFY(!motivo.isEmpty());
        }
    }

    // A name written in another case than the catalog's still finds the table's key: two rows that
    // differ only in the key are saved one at a time.
    void NomeEmOutraCaixa_data() { Engines(); }
    void NomeEmOutraCaixa()
    {
        Executar({"CREATE TABLE clientes (id INTEGER PRIMARY KEY, nome VARCHAR(10))",
                  "INSERT INTO clientes VALUES (1, 'Ana'), (2, 'Ana')"});
        auto rs = Ler(*motor.m, "SELECT * FROM CLIENTES ORDER BY id");
        QVERIFY(rs);
        rs->DefinirValor("nome", "Bia");
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(Conteudo(*motor.m, "SELECT * FROM clientes ORDER BY id"), (QStringList{"1|Bia", "2|Ana"}));
    }

    // Read-only is kept by the engine, not only by the first keyword of the statement.
    void SomenteLeitura_data() { Engines(); }
    void SomenteLeitura()
    {
        Executar({"CREATE TABLE clientes (id INTEGER PRIMARY KEY, nome VARCHAR(10))",
                  "INSERT INTO clientes VALUES (1, 'Ana')"});
        auto leitura = Abrir(false);
        QVERIFY(leitura);
        QStringList tentativas = {"SELECT 1; DELETE FROM clientes", "DELETE FROM clientes"};
        if (motor.pg)
            tentativas << "WITH x AS (DELETE FROM clientes RETURNING *) SELECT * FROM x"
                       << "SELECT 1; SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE; DELETE FROM clientes";
        for (const QString& sql : tentativas) {
            RecordsetPtr rs;
            leitura->Executar(sql, &rs, adLockReadOnly, nullptr);
            QCOMPARE(Conteudo(*motor.m, "SELECT * FROM clientes"), QStringList{"1|Ana"});
        }
    }

    // Values go in and come back exactly, or are refused with nothing written.
    void ValoresExatos_data() { Engines(); }
    void ValoresExatos()
    {
        Executar({Tipos("CREATE TABLE contas (id INTEGER PRIMARY KEY, d DATE, n NUMERIC(30, 10), t VARCHAR(20), "
                        "q TIMESTAMP)")});
        auto rs = Ler(*motor.m, "SELECT * FROM contas");
        rs->AddNew();
        rs->DefinirValor("id", 1);
        rs->DefinirValor("d", QDate(2020, 1, 4));
        // SQLite keeps a decimal as a double: one it would round is refused (tested with the
        // decimals), one it keeps goes in.
        const QString decimal = motor.pg ? QStringLiteral("12345678901234567890.0123456789") : QStringLiteral("2.5");
        rs->DefinirValor("n", decimal);
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(Conteudo(*motor.m, "SELECT CAST(d AS VARCHAR(30)), CAST(n AS VARCHAR(40)) FROM contas"),
                 QStringList{"2020-01-04|" + decimal});

        // A text with a NUL in it: kept whole where the engine can, else refused.
        rs->DefinirValor("t", QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
        const bool gravou = rs->UpdateBatch();
        if (motor.pg) {
            QVERIFY(!gravou);
            QVERIFY2(rs->Erro().descricao.contains("NUL"), qPrintable(rs->Erro().descricao));
            QCOMPARE(Conteudo(*motor.m, "SELECT t FROM contas"), QStringList{"NULL"});
            rs->CancelBatch();
        } else {
            QVERIFY2(gravou, qPrintable(rs->Erro().descricao));
            QCOMPARE(Conteudo(*motor.m, "SELECT hex(t) FROM contas"), QStringList{"610062"});
        }

        // Microseconds are read and written back as they are.
        Executar({"UPDATE contas SET q = '2024-01-02 10:20:30.123456'"});
        rs = Ler(*motor.m, "SELECT * FROM contas WHERE q = '2024-01-02 10:20:30.123456'");
        QCOMPARE(rs->RecordCount(), 1);
        rs->DefinirValor("t", "x");
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(Conteudo(*motor.m, "SELECT t, CAST(q AS VARCHAR(30)) FROM contas"),
                 QStringList{"x|2024-01-02 10:20:30.123456"});
        // Without a key the row is found by that value too, and it reads back whole.
        Executar({"CREATE TABLE semchave (t VARCHAR(20), q TIMESTAMP)",
                  "INSERT INTO semchave VALUES ('a', '2024-01-02 10:20:30.123456'), ('b', '2024-01-02 10:20:30.123')"});
        rs = Ler(*motor.m, "SELECT * FROM semchave ORDER BY t");
        QVERIFY(rs->Valor("q").toString().contains("30.123456") || rs->Valor("q").toDateTime().isValid());
        rs->DefinirValor("t", "c");
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(Conteudo(*motor.m, "SELECT t, CAST(q AS VARCHAR(30)) FROM semchave ORDER BY t"),
                 (QStringList{"b|2024-01-02 10:20:30.123", "c|2024-01-02 10:20:30.123456"}));
    }

private:
    void Engines()
    {
        QTest::addColumn<QString>("cs");
        QTest::newRow("sqlite")
            << QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1")
                   .arg(pasta.filePath(
                       QStringLiteral("gravacao-%1.db").arg(QString::fromLatin1(QTest::currentTestFunction()))));
        QTest::newRow("postgresql") << ConnStrPostgres();
    }
};
QUARRIX_TESTE(tst_clsRecordsetGravacao);
#include "tst_clsRecordsetGravacao.moc"
