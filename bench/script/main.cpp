// The whole-database script of 2,000 tables (five columns, a primary key and an index each) against
// reading the same catalog alone (columns, primary keys and indexes of every table, through the
// same data layer, on one connection). SQLite always; PostgreSQL when QUARRIX_PG_CONNSTR is set.
// Every figure is the median of 3 runs. Goal: the script takes at most 3 times the catalog read.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "platform/clsRecordset.h"
#include "schema/mdlScript.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int QtdeTabelas = 2000;

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool Criar(clsData& db, const QString& prefixo)
{
    if (!db.TransactionBegin())
        return false;
    for (int i = 0; i < QtdeTabelas; ++i) {
        const QString t = prefixo + QString::number(i);
        if (!db.ExecSql(QStringLiteral("CREATE TABLE %1 (id INTEGER NOT NULL, uf CHAR(2) NOT NULL, nome VARCHAR(40), "
                                       "valor DECIMAL(10, 2), quando DATE, PRIMARY KEY (id, uf))")
                            .arg(t),
                        false)
            || !db.ExecSql(QStringLiteral("CREATE INDEX ix_%1 ON %2 (nome, valor DESC)").arg(i).arg(t), false))
            return false;
    }
    return db.TransactionCommit();
}

// Drops the benchmark's tables from the server's default schema (where the catalog lists tables).
bool Apagar(clsData& db)
{
    return db.ExecSql(QStringLiteral("DO $$DECLARE t text; BEGIN FOR t IN SELECT tablename FROM pg_tables WHERE "
                                     "schemaname = current_schema() AND tablename LIKE 'bench\\_t%' LOOP "
                                     "EXECUTE 'DROP TABLE ' || quote_ident(t); END LOOP; END$$"),
                      false);
}

// The catalog the script reads, read alone.
double LerCatalogo(clsAmbienteDados& amb, const QString& cs)
{
    QElapsedTimer t;
    t.start();
    clsData db(amb);
    db.OpenConnection(cs, false, false);
    RecordsetPtr lista;
    db.OpenSchema(tiposchema::Tabelas, lista, {}, QStringLiteral("TABLE"));
    QStringList nomes;
    for (lista->MoveFirst(); !lista->Eof(); lista->MoveNext())
        nomes << lista->Valor(QStringLiteral("TABLE_NAME")).toString();
    for (const QString& n : nomes) {
        RecordsetPtr rs;
        db.OpenSchema(tiposchema::Colunas, rs, n);
        db.OpenSchema(tiposchema::ChavesPrimarias, rs, n);
        db.OpenSchema(tiposchema::Indices, rs, n);
    }
    return t.nsecsElapsed() / 1e9;
}

void Medir(const char* motor, clsAmbienteDados& amb, const QString& cs)
{
    std::vector<double> catalogo, script;
    qsizetype tamanho = 0;
    for (int r = 0; r < 3; ++r) {
        catalogo.push_back(LerCatalogo(amb, cs));
        QElapsedTimer t;
        t.start();
        const QString texto = script::ScriptBancoDados(amb, cs, QStringLiteral("bench"));
        tamanho = texto.size();
        script.push_back(t.nsecsElapsed() / 1e9);
    }
    const double c = Mediana(catalogo), s = Mediana(script);
    std::printf("%-10s %d tables: catalog read %.2f s, whole-database script %.2f s (%lld characters), "
                "ratio %.2fx (goal <= 3x)\n",
                motor,
                QtdeTabelas,
                c,
                s,
                static_cast<long long>(tamanho),
                s / c);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    clsAmbienteDados amb(nullptr);
    QTemporaryDir pasta;
    ErroDados e;
    const QString arquivo = pasta.filePath(QStringLiteral("bench.db"));
    if (!CriarBancoArquivo(arquivo, e))
        return 1;
    const QString cs = MontarConnStrAccess(arquivo, QStringLiteral("Admin"), {});
    {
        clsData db(amb);
        if (!db.OpenConnection(cs, true, false) || !Criar(db, QStringLiteral("t")))
            return 1;
    }
    Medir("SQLite", amb, cs);

    const QString pg = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
    if (pg.isEmpty()) {
        std::printf("PostgreSQL: skipped (QUARRIX_PG_CONNSTR is not set)\n");
        return 0;
    }
    {
        clsData db(amb);
        if (!db.OpenConnection(pg, true, false))
            return 1;
        if (!Apagar(db) || !Criar(db, QStringLiteral("bench_t")))
            return 1;
    }
    Medir("PostgreSQL", amb, pg);
    clsData db(amb);
    if (db.OpenConnection(pg, true, false))
        Apagar(db);
    return 0;
}
