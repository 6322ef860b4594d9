// The results grid's model over real databases: exact decimals shown in the user's notation,
// ordered by value, edited and written back digit for digit. The PostgreSQL rows need
// QUARRIX_PG_CONNSTR (scripts/test starts a server and sets it) and skip without it.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "query/clsModeloRecordset.h"
#include "support/registroTestes.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char* const Tabela = "decimais_grade";

QStringList Coluna(const clsModeloRecordset& m, int coluna, int papel = Qt::DisplayRole)
{
    QStringList r;
    for (int l = 0; l < m.rowCount(); ++l)
        r << m.data(m.index(l, coluna), papel).toString();
    return r;
}

// One value per row, read back with a query of its own.
QStringList Consultar(clsData& db, const QString& expressao)
{
    RecordsetPtr rs;
    if (!db.OpenRecordset(rs,
                          QStringLiteral("SELECT %1 FROM %2 ORDER BY nome").arg(expressao, QLatin1String(Tabela)),
                          false,
                          false,
                          false))
        return {db.ErrMsg()};
    QStringList r;
    for (; !rs->Eof(); rs->MoveNext())
        r << rs->Valor(0).toString();
    return r;
}

// Rows a to h: a decimal of 38 digits, its negative, one with trailing zeros, then small numbers
// a double would order the same way. On SQLite the first three are kept as text in a column
// declared NUMERIC(38, 10) (no statement can put them there: the file is written as another
// program would have left it); the others are stored as the engine stores numbers. On
// PostgreSQL the table is a temporary one of the grid's own connection: tests running at the same
// time on the server never see it.
bool CriarPostgres(clsData& db)
{
    return db.ExecSql(QStringLiteral("CREATE TEMPORARY TABLE %1 (nome VARCHAR(20), v NUMERIC(38, 10))")
                          .arg(QLatin1String(Tabela)),
                      false)
           && db.ExecSql(QStringLiteral("INSERT INTO %1 VALUES ('a', 1234567890123456789012345678.0123456789), "
                                        "('b', -1234567890123456789012345678.0123456789), ('c', 1.5), ('d', -10.5), "
                                        "('e', -2), ('f', 3), ('g', 10.25), ('h', 100)")
                             .arg(QLatin1String(Tabela)),
                         false);
}

bool CriarSqlite(const QString& cs)
{
    clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
    clsData db(ambiente);
    if (!db.OpenConnection(cs, true, false))
        return false;
    const QString t = QLatin1String(Tabela);
    const bool ok
        = db.ExecSql(QStringLiteral("CREATE TABLE %1 (nome VARCHAR(20), v TEXT)").arg(t), false)
          && db.ExecSql(QStringLiteral("INSERT INTO %1 VALUES ('a', '1234567890123456789012345678.0123456789'), "
                                       "('b', '-1234567890123456789012345678.0123456789'), ('c', '1.5000000000')")
                            .arg(t),
                        false)
          && db.ExecSql(QStringLiteral("PRAGMA writable_schema = ON"), false)
          && db.ExecSql(QStringLiteral("UPDATE sqlite_master SET sql = 'CREATE TABLE %1 (nome VARCHAR(20), "
                                       "v NUMERIC(38, 10))' WHERE name = '%1'")
                            .arg(t),
                        false)
          && db.ExecSql(QStringLiteral("PRAGMA writable_schema = OFF"), false);
    db.CloseConnection();
    return ok && db.OpenConnection(cs, true, false)
           && db.ExecSql(QStringLiteral("INSERT INTO %1 VALUES ('d', -10.5), ('e', -2), ('f', 3), ('g', 10.25), "
                                        "('h', 100)")
                             .arg(t),
                         false);
}

// The rows of the table in a grid, in name order.
struct Grade {
    clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
    clsData db{ambiente};
    RecordsetPtr rs;
    clsModeloRecordset modelo;
    bool Abrir(const QString& cs, bool (*criar)(clsData&) = nullptr)
    {
        if (!db.OpenConnection(cs, true, false) || (criar && !criar(db))
            || !db.OpenRecordset(rs,
                                 QStringLiteral("SELECT nome, v FROM %1 ORDER BY nome").arg(QLatin1String(Tabela)),
                                 true,
                                 true,
                                 false))
            return false;
        modelo.DefinirRecordset(rs);
        return true;
    }
    // Rows [de, ate): the name edited, the decimal put back as its editor hands it.
    bool EditarNomes(int de, int ate)
    {
        for (int l = de; l < ate; ++l) {
            const QModelIndex nome = modelo.index(l, 0), valor = modelo.index(l, 1);
            if (!modelo.setData(nome, modelo.data(nome).toString() + u'2')
                || !modelo.setData(valor, modelo.data(valor, Qt::EditRole)))
                return false;
        }
        return true;
    }
};

// What both engines show: every digit, with the decimal comma of the user's notation, for reading
// and for editing; rows ordered by value, not by text.
void ConferirLeituraEOrdem(Grade& g, const QStringList& lidos)
{
    QStringList mostrados = lidos;
    mostrados.replaceInStrings(QStringLiteral("."), QStringLiteral(","));
    QCOMPARE(Coluna(g.modelo, 1), mostrados);
    QCOMPARE(Coluna(g.modelo, 1, Qt::EditRole), mostrados);
    QVERIFY(g.rs->setSort(QStringLiteral("v")));
    g.modelo.Recarregar();
    QCOMPARE(Coluna(g.modelo, 0), (QStringList{"b", "d", "e", "c", "f", "g", "h", "a"}));
    QVERIFY(g.rs->setSort(QStringLiteral("v Desc")));
    g.modelo.Recarregar();
    QCOMPARE(Coluna(g.modelo, 0), (QStringList{"a", "h", "g", "f", "c", "e", "d", "b"}));
    QVERIFY(g.rs->setSort(QStringLiteral("nome")));
    g.modelo.Recarregar();
}

} // namespace

class tst_clsModeloRecordset : public QObject {
    Q_OBJECT
    QLocale anterior;

private slots:
    void init()
    {
        anterior = QLocale();
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    }
    void cleanup() { QLocale::setDefault(anterior); }

    void DecimaisExatosNoPostgres()
    {
        const QString cs = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        QStringList lidos{"1234567890123456789012345678.0123456789",
                          "-1234567890123456789012345678.0123456789",
                          "1.5000000000",
                          "-10.5000000000",
                          "-2.0000000000",
                          "3.0000000000",
                          "10.2500000000",
                          "100.0000000000"};
        Grade g;
        QVERIFY2(g.Abrir(cs, CriarPostgres), qPrintable(g.db.ErrMsg()));
        ConferirLeituraEOrdem(g, lidos);
        if (QTest::currentTestFailed())
            return;

        // Another column edited in every row: the table has no key, so each row is found by its
        // original values, the decimal included, and the decimal itself is left as it was.
        QVERIFY(g.EditarNomes(0, 8));
        QVERIFY2(g.rs->UpdateBatch(), qPrintable(g.rs->Erro().descricao));
        QCOMPARE(Consultar(g.db, QStringLiteral("nome")),
                 (QStringList{"a2", "b2", "c2", "d2", "e2", "f2", "g2", "h2"}));
        QCOMPARE(Consultar(g.db, QStringLiteral("CAST(v AS TEXT)")), lidos);

        // The decimal edited: exactly the value typed is written; what is not a number is refused.
        const QString digitado = QStringLiteral("-9876543210987654321098765432,123456789");
        QVERIFY(g.modelo.setData(g.modelo.index(0, 1), digitado));
        QCOMPARE(g.modelo.data(g.modelo.index(0, 1)).toString(), digitado);
        QVERIFY(!g.modelo.setData(g.modelo.index(1, 1), QStringLiteral("12,3,4")));
        QVERIFY2(g.rs->UpdateBatch(), qPrintable(g.rs->Erro().descricao));
        lidos[0] = QStringLiteral("-9876543210987654321098765432.1234567890");
        QCOMPARE(Consultar(g.db, QStringLiteral("CAST(v AS TEXT)")), lidos);
    }

    void DecimaisExatosNoSqlite_data()
    {
        QTest::addColumn<QString>("digitado"); // the new value of row d, typed in the grid
        QTest::addColumn<QString>("gravado");
        QTest::addColumn<QString>("classe"); // the storage class it gets
        QTest::newRow("inteiro alem do double") << "9007199254740993"
                                                << "9007199254740993"
                                                << "integer";
        QTest::newRow("real") << "-12345,6789"
                              << "-12345.6789"
                              << "real";
        QTest::newRow("escala, que o SQLite nao guarda") << "2,50"
                                                         << "2.5"
                                                         << "real";
    }
    void DecimaisExatosNoSqlite()
    {
        QFETCH(QString, digitado);
        QFETCH(QString, gravado);
        QFETCH(QString, classe);
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QStringLiteral("decimais.db"));
        ErroDados e;
        QVERIFY(CriarBancoArquivo(arquivo, e));
        const QString cs = MontarConnStrAccess(arquivo, QStringLiteral("Admin"), {});
        QVERIFY(CriarSqlite(cs));
        QStringList lidos{"1234567890123456789012345678.0123456789",
                          "-1234567890123456789012345678.0123456789",
                          "1.5000000000",
                          "-10.5",
                          "-2",
                          "3",
                          "10.25",
                          "100"};
        QStringList classes{"text", "text", "text", "real", "integer", "integer", "real", "integer"};
        Grade g;
        QVERIFY2(g.Abrir(cs), qPrintable(g.db.ErrMsg()));
        ConferirLeituraEOrdem(g, lidos);
        if (QTest::currentTestFailed())
            return;

        // SQLite converts a number kept as text whenever it rewrites its row: a row holding one is
        // not written, and nothing of the batch is.
        QVERIFY(g.EditarNomes(0, 8));
        QVERIFY(!g.rs->UpdateBatch());
        QVERIFY2(g.rs->Erro().descricao.contains("1234567890123456789012345678.0123456789"),
                 qPrintable(g.rs->Erro().descricao));
        QVERIFY(g.rs->TemAlteracoesPendentes());
        QCOMPARE(Consultar(g.db, QStringLiteral("nome")), (QStringList{"a", "b", "c", "d", "e", "f", "g", "h"}));
        QCOMPARE(Consultar(g.db, QStringLiteral("CAST(v AS TEXT)")), lidos);
        QCOMPARE(Consultar(g.db, QStringLiteral("typeof(v)")), classes);

        // Rows of integers and reals are written with their numbers untouched; the decimals kept
        // as text, only put back through their editor, are not written at all.
        QVERIFY(g.rs->CancelBatch());
        g.modelo.Recarregar();
        for (int l = 0; l < 3; ++l)
            QVERIFY(g.modelo.setData(g.modelo.index(l, 1), g.modelo.data(g.modelo.index(l, 1), Qt::EditRole)));
        QVERIFY(g.EditarNomes(3, 8));
        QVERIFY2(g.rs->UpdateBatch(), qPrintable(g.rs->Erro().descricao));
        QCOMPARE(Consultar(g.db, QStringLiteral("nome")), (QStringList{"a", "b", "c", "d2", "e2", "f2", "g2", "h2"}));
        QCOMPARE(Consultar(g.db, QStringLiteral("CAST(v AS TEXT)")), lidos);
        QCOMPARE(Consultar(g.db, QStringLiteral("typeof(v)")), classes);

        // The decimal edited: written in the storage class that keeps it; one that only text
        // could keep is refused, for SQLite would round it.
        QVERIFY(g.modelo.setData(g.modelo.index(3, 1), digitado));
        QVERIFY2(g.rs->UpdateBatch(), qPrintable(g.rs->Erro().descricao));
        lidos[3] = gravado;
        classes[3] = classe;
        QCOMPARE(Consultar(g.db, QStringLiteral("CAST(v AS TEXT)")), lidos);
        QCOMPARE(Consultar(g.db, QStringLiteral("typeof(v)")), classes);
        QVERIFY(g.modelo.setData(g.modelo.index(4, 1), QStringLiteral("12345678901234567890,5")));
        QVERIFY(!g.rs->UpdateBatch());
        QVERIFY2(g.rs->Erro().descricao.contains("arredondado"), qPrintable(g.rs->Erro().descricao));
        QCOMPARE(Consultar(g.db, QStringLiteral("CAST(v AS TEXT)")), lidos);
    }
};
QUARRIX_TESTE(tst_clsModeloRecordset);
#include "tst_clsModeloRecordset.moc"
