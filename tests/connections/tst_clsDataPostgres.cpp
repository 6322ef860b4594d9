// clsData on a real PostgreSQL server through its ODBC driver, as a custom connection string.
// scripts/test starts a throwaway server and sets QUARRIX_PG_CONNSTR; without it these tests skip.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "platform/clsMotorOdbc.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QTest>

using namespace ado;

namespace {
QStringList Coluna(clsRecordset& rs, const QString& campo)
{
    QStringList r;
    auto c = rs.Clone();
    for (c->MoveFirst(); !c->Eof(); c->MoveNext())
        r << c->Valor(campo).toString();
    return r;
}
} // namespace

class tst_clsDataPostgres : public QObject {
    Q_OBJECT
    clsPromptRoteiro promptPadrao;
    clsAmbienteDados amb{promptPadrao};

    QString cs;

private slots:
    void init()
    {
        cs = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        clsData db(amb);
        QVERIFY2(db.OpenConnection(cs, true, false), qPrintable(db.ErrMsg()));
        for (const char* sql :
             {"DROP TABLE IF EXISTS pedidos, clientes, anotacoes CASCADE",
              "CREATE TABLE clientes (id SERIAL PRIMARY KEY, nome VARCHAR(80) NOT NULL UNIQUE, cidade VARCHAR(50), "
              "uf CHAR(2), obs TEXT, saldo NUMERIC(10, 2), cadastro TIMESTAMP, qtde INTEGER)",
              "CREATE INDEX ix_cidade_uf ON clientes (cidade, uf DESC)",
              "CREATE TABLE pedidos (pedido INTEGER, linha INTEGER, cliente INTEGER REFERENCES clientes(id) "
              "ON DELETE CASCADE, valor DOUBLE PRECISION, CONSTRAINT pk_pedidos PRIMARY KEY (pedido, linha))",
              "CREATE TABLE anotacoes (texto VARCHAR(20), quando TIMESTAMP)",
              "INSERT INTO clientes (nome, cidade, uf, saldo, cadastro, qtde) VALUES "
              "('Ana', 'Recife', 'PE', 10.5, '2024-01-02 10:20:30', 1), ('Bruno', 'Natal', 'RN', NULL, NULL, 2), "
              "('Carla', 'Recife', 'PE', 7, NULL, 3)",
              "INSERT INTO pedidos VALUES (1, 1, 1, 9.5), (1, 2, 1, 3), (2, 1, 2, 4)",
              "INSERT INTO anotacoes VALUES ('a', '2024-01-01 08:00:00'), ('a', '2024-01-01 09:00:00')"})
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
    }

    // The server's notices arrive, in order, through every result of a batch.
    void AvisosDoServidor()
    {
        ErroDados e;
        auto m = AbrirMotor(cs, true, 10, e);
        QVERIFY2(m, qPrintable(e.descricao));
        auto* odbc = dynamic_cast<clsMotorOdbc*>(m.get());
        QVERIFY(odbc);
        QStringList avisos;
        QVERIFY2(odbc->ExecutarComAvisos("DO $$BEGIN RAISE NOTICE '10 percent processed.'; "
                                         "RAISE NOTICE '55 percent processed.'; END$$",
                                         [&](const QString& a) { avisos << a; }),
                 qPrintable(m->Erro().descricao));
        // psqlODBC hands the notices of one result over together, as one message.
        const QString todos = avisos.join('|');
        QVERIFY2(todos.indexOf("10 percent processed.") >= 0
                     && todos.indexOf("55 percent processed.") > todos.indexOf("10 percent processed."),
                 qPrintable(todos));
        // A failing batch reports the server's error.
        QVERIFY(!odbc->ExecutarComAvisos("DO $$BEGIN RAISE EXCEPTION 'falhou aqui'; END$$", {}));
        QVERIFY(m->Erro().descricao.contains("falhou aqui"));
    }

    void AbrirEProvider()
    {
        clsData db(amb);
        QVERIFY(db.OpenConnection(cs, true, false));
        QCOMPARE(db.ConnectionType(), 4);
        QCOMPARE(db.Provider(), QStringLiteral("MSDASQL"));
        QCOMPARE(db.ActiveConnection()->BancoPadrao(), QStringLiteral("quarrix_teste"));
        db.CloseConnection();
        QVERIFY(!db.OpenConnection(QString(cs).replace("Pwd=quarrix", "Pwd=errada"), true, false));
        QVERIFY(db.ErrMsg().startsWith("Err:"));
        QVERIFY(db.ErrMsg().contains("password authentication failed"));
        QVERIFY(db.ErrMsg().endsWith("\nConnStr:" + QString(cs).replace("Pwd=quarrix", "Pwd=***")));
        QVERIFY(!db.ErrMsg().contains("errada"));
    }

    void InstrucoesETipos()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        db.OpenConnection(cs);
        RecordsetPtr rs;
        long n = -1;
        QVERIFY(db.ExecSql("UPDATE pedidos SET valor = valor + 1 WHERE pedido = 1", false, false, rs, n));
        QCOMPARE(n, 2L);
        QVERIFY(db.ExecSql("DELETE FROM pedidos WHERE pedido = 99", false, true, rs, n));
        QCOMPARE(n, 0L);
        QVERIFY(!rs);
        QVERIFY(db.ExecSql("SELECT * FROM clientes ORDER BY id", false, true, rs, n));
        QCOMPARE(rs->RecordCount(), 3);
        QCOMPARE(rs->Fields("id").Type(), int(adInteger));
        QCOMPARE(rs->Fields("nome").Type(), int(adVarWChar));
        QCOMPARE(rs->Fields("nome").DefinedSize(), 80);
        QCOMPARE(rs->Fields("saldo").Type(), int(adNumeric));
        QCOMPARE(rs->Fields("cadastro").Type(), int(adDBTimeStamp));
        QCOMPARE(rs->Valor("cadastro").toDateTime(), QDateTime(QDate(2024, 1, 2), QTime(10, 20, 30)));
        QCOMPARE(rs->Valor("saldo").toDouble(), 10.5);
        QVERIFY(rs->Valor("obs").isNull());
        QVERIFY(rs->setFilter("cidade = 'recife' And qtde = 3"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Valor("nome").toString(), QStringLiteral("Carla"));
        QCOMPARE(db.RetValue("SELECT count(*) FROM pedidos").toInt(), 3);
        QVERIFY(!db.ExecSql("SELECT * FROM nao_existe", true, true, rs, n));
        QVERIFY(!rs);
        QVERIFY(db.ErrMsg().startsWith("Err:"));
        QVERIFY(db.ErrMsg().contains("nao_existe"));
        QVERIFY(db.ErrMsg().endsWith("\nQuerie:SELECT * FROM nao_existe"));
        QCOMPARE(prompt.mensagens.size(), 1);
        QCOMPARE(prompt.ultima().icone(), int(vb::Critical));
    }

    void Catalogo()
    {
        clsData db(amb);
        db.OpenConnection(cs);
        RecordsetPtr rs;
        QVERIFY2(db.OpenSchema(2, rs, "", "TABLE"), qPrintable(db.ErrMsg()));
        // Other tests may have tables of their own in the same database at the same time.
        rs->setFilter("TABLE_NAME = 'anotacoes' Or TABLE_NAME = 'clientes' Or TABLE_NAME = 'pedidos'");
        QCOMPARE(Coluna(*rs, "TABLE_NAME"), (QStringList{"anotacoes", "clientes", "pedidos"}));
        QCOMPARE(Coluna(*rs, "TABLE_SCHEMA"), (QStringList{"public", "public", "public"}));
        QVERIFY(db.OpenSchema(4, rs, "clientes"));
        QCOMPARE(Coluna(*rs, "COLUMN_NAME"),
                 (QStringList{"id", "nome", "cidade", "uf", "obs", "saldo", "cadastro", "qtde"}));
        QCOMPARE(Coluna(*rs, "ORDINAL_POSITION"), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
        QCOMPARE(Coluna(*rs, "DATA_TYPE"), (QStringList{"3", "130", "130", "130", "130", "131", "135", "3"}));
        QCOMPARE(Coluna(*rs, "IS_NULLABLE"),
                 (QStringList{"false", "false", "true", "true", "true", "true", "true", "true"}));
        rs->setFilter("COLUMN_NAME = 'nome'");
        QCOMPARE(rs->Valor("CHARACTER_MAXIMUM_LENGTH").toInt(), 80);
        QCOMPARE(rs->Valor("COLUMN_FLAGS").toInt(), int(WRITE));
        rs->setFilter("COLUMN_NAME = 'uf'");
        QCOMPARE(rs->Valor("COLUMN_FLAGS").toInt(), 116);
        rs->setFilter("COLUMN_NAME = 'cidade'");
        QCOMPARE(rs->Valor("COLUMN_FLAGS").toInt(), 100);
        rs->setFilter("COLUMN_NAME = 'obs'");
        QCOMPARE(rs->Valor("COLUMN_FLAGS").toInt(), 230);
        rs->setFilter("COLUMN_NAME = 'saldo'");
        QCOMPARE(rs->Valor("NUMERIC_PRECISION").toInt(), 10);
        QCOMPARE(rs->Valor("NUMERIC_SCALE").toInt(), 2);
        QVERIFY(db.OpenSchema(8, rs, "pedidos"));
        QCOMPARE(Coluna(*rs, "COLUMN_NAME"), (QStringList{"pedido", "linha"}));
        QCOMPARE(Coluna(*rs, "PK_NAME"), (QStringList{"pk_pedidos", "pk_pedidos"}));
        QVERIFY(db.OpenSchema(16, rs, "pedidos", "", "clientes"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Valor("FK_COLUMN_NAME").toString(), QStringLiteral("cliente"));
        QCOMPARE(rs->Valor("PK_COLUMN_NAME").toString(), QStringLiteral("id"));
        QCOMPARE(rs->Valor("DELETE_RULE").toString(), QStringLiteral("CASCADE"));
        QVERIFY(db.OpenSchema(512, rs, "clientes"));
        rs->setSort("INDEX_NAME, ORDINAL_POSITION");
        QCOMPARE(Coluna(*rs, "INDEX_NAME"),
                 (QStringList{"clientes_nome_key", "clientes_pkey", "ix_cidade_uf", "ix_cidade_uf"}));
        QCOMPARE(Coluna(*rs, "PRIMARY_KEY"), (QStringList{"false", "true", "false", "false"}));
        QCOMPARE(Coluna(*rs, "UNIQUE"), (QStringList{"true", "true", "false", "false"}));
        QCOMPARE(Coluna(*rs, "COLUMN_NAME"), (QStringList{"nome", "id", "cidade", "uf"}));
    }

    void RotinasPeloCatalogoOdbc()
    {
        // The driver's SQLProcedures, as the Procedures rowset a custom ODBC source of any driver is
        // read with: each routine once, with its kind.
        clsData db(amb);
        QVERIFY(db.OpenConnection(cs, true, false));
        const auto apagar = [&] {
            db.ExecSql("DROP FUNCTION IF EXISTS rot_odbc_f()", false);
            db.ExecSql("DROP PROCEDURE IF EXISTS rot_odbc_p()", false);
        };
        apagar();
        const auto limpar = qScopeGuard(apagar);
        QVERIFY(db.ExecSql("CREATE FUNCTION rot_odbc_f() RETURNS integer LANGUAGE sql AS 'SELECT 1'", false));
        QVERIFY(db.ExecSql("CREATE PROCEDURE rot_odbc_p() LANGUAGE sql AS 'SELECT 1'", false));
        RecordsetPtr rs;
        QVERIFY(db.ActiveConnection()->Schema(SchemaOleDb::Procedures, {QString(), "public"}, rs));
        rs->setFilter("PROCEDURE_NAME = 'rot_odbc_f' Or PROCEDURE_NAME = 'rot_odbc_p'");
        rs->setSort("PROCEDURE_NAME");
        QCOMPARE(Coluna(*rs, "PROCEDURE_NAME"), (QStringList{"rot_odbc_f", "rot_odbc_p"}));
        QCOMPARE(Coluna(*rs, "PROCEDURE_SCHEMA"), (QStringList{"public", "public"}));
        // The driver calls every routine a function, procedures too: a PostgreSQL source reads its
        // kinds from the database's own catalog instead.
        QCOMPARE(Coluna(*rs, "PROCEDURE_TYPE").value(0), QString::number(tipoprocedure::Funcao));
        QVERIFY(db.ActiveConnection()->Schema(SchemaOleDb::Procedures, {QString(), "public", "rot_odbc_p"}, rs));
        QCOMPARE(Coluna(*rs, "PROCEDURE_NAME"), QStringList{"rot_odbc_p"});
    }

    void UpdateBatchETransacao()
    {
        clsData db(amb);
        db.OpenConnection(cs);
        RecordsetPtr rs;
        long n;
        QVERIFY(db.ExecSql("SELECT * FROM clientes ORDER BY id", false, true, rs, n));
        rs->DefinirValor("cidade", "Olinda");
        rs->DefinirValor("saldo", 11.25);
        rs->MoveNext();
        rs->Delete();
        rs->AddNew();
        rs->DefinirValor("nome", "Davi O'Hara");
        rs->DefinirValor("cadastro", QDateTime(QDate(2025, 3, 4), QTime(5, 6, 7)));
        rs->DefinirValor("qtde", 4);
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        RecordsetPtr volta;
        QVERIFY(db.OpenRecordset(volta, "SELECT nome, cidade, saldo, cadastro FROM clientes ORDER BY id"));
        QCOMPARE(Coluna(*volta, "nome"), (QStringList{"Ana", "Carla", "Davi O'Hara"}));
        QCOMPARE(Coluna(*volta, "saldo"), (QStringList{"11.25", "7.00", ""}));
        volta->MoveLast();
        QCOMPARE(volta->Valor("cadastro").toDateTime(), QDateTime(QDate(2025, 3, 4), QTime(5, 6, 7)));
        QCOMPARE(db.RetValue("SELECT count(*) FROM pedidos").toInt(), 2);

        // A failing row undoes the whole batch.
        rs->MoveFirst();
        rs->DefinirValor("uf", "AL");
        rs->MoveNext();
        rs->DefinirValor("nome", "Ana");
        QVERIFY(!rs->UpdateBatch());
        QVERIFY(rs->Erro().descricao.contains("duplicate key"));
        QCOMPARE(db.RetValue("SELECT uf FROM clientes WHERE nome = 'Ana'").toString(), QStringLiteral("PE"));
        QVERIFY(rs->TemAlteracoesPendentes());
        rs->DefinirValor("nome", "Carla Maria");
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(db.RetValue("SELECT uf FROM clientes WHERE nome = 'Ana'").toString(), QStringLiteral("AL"));

        // Without a key, rows are found by every original value (a timestamp included).
        QVERIFY(db.OpenRecordset(rs, "SELECT * FROM anotacoes ORDER BY quando", true, true));
        rs->MoveLast();
        rs->DefinirValor("texto", "c");
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(db.RetValue("SELECT string_agg(texto, '' ORDER BY quando) FROM anotacoes").toString(),
                 QStringLiteral("ac"));

        QVERIFY(db.TransactionBegin());
        QVERIFY(db.ExecSql("DELETE FROM pedidos", false));
        QVERIFY(db.TransactionRollback());
        QCOMPARE(db.RetValue("SELECT count(*) FROM pedidos").toInt(), 2);
        QVERIFY(db.TransactionBegin());
        QVERIFY(db.ExecSql("DELETE FROM pedidos WHERE pedido = 1 AND linha = 1", false));
        QVERIFY(db.TransactionCommit());
        QCOMPARE(db.RetValue("SELECT count(*) FROM pedidos").toInt(), 1);
    }
};
QUARRIX_TESTE(tst_clsDataPostgres);
#include "tst_clsDataPostgres.moc"
