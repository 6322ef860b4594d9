// A table read on demand, block by block through its key, on a SQLite file and (when
// QUARRIX_PG_CONNSTR is set) PostgreSQL: every row comes back in key order, only the blocks used
// last and the edited ones stay in memory, and a save writes exactly the edited rows.
#include "platform/clsMotor.h"
#include "query/clsLeitorJanela.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ado;

namespace {

QStringList Conteudo(clsMotor& m, const QString& sql)
{
    RecordsetPtr rs;
    QStringList r;
    if (!m.Executar(sql, &rs, adLockReadOnly, nullptr) || !rs)
        return {QStringLiteral("ERRO: ") + m.Erro().descricao};
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        QStringList l;
        for (int c = 0; c < rs->FieldCount(); ++c)
            l << rs->Valor(c).toString();
        r << l.join(u'|');
    }
    return r;
}

QVector<CampoInfo> Campos(clsMotor& m, const QString& tabela)
{
    RecordsetPtr rs;
    if (!m.Executar(QStringLiteral("SELECT * FROM %1").arg(tabela), &rs, adLockBatchOptimistic, nullptr) || !rs)
        return {};
    return rs->Dados().campos;
}

// Row `linha` as text, once its block has come.
QString Linha(clsLeitorJanela& j, qint64 linha)
{
    int local = 0;
    clsRecordset* rs = nullptr;
    if (!QTest::qWaitFor([&] { return (rs = j.Linha(linha, local)) != nullptr; }, 20000))
        return QStringLiteral("(não veio)");
    QStringList l;
    for (int c = 0; c < rs->FieldCount(); ++c)
        l << rs->ValorCelula(local, c).toString();
    return l.join(u'|');
}

bool Contado(clsLeitorJanela& j)
{
    return QTest::qWaitFor([&] { return j.Contado(); }, 30000);
}

} // namespace

class tst_clsLeitorJanela : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;
    std::shared_ptr<clsMotor> motor;

    void Executar(const QStringList& sqls)
    {
        for (const QString& s : sqls)
            QVERIFY2(motor->Executar(s, nullptr, adLockReadOnly, nullptr),
                     qPrintable(s + ": " + motor->Erro().descricao));
    }

private slots:
    void init()
    {
        QFETCH(QString, cs);
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        ErroDados e;
        const QString arquivo = cs.section(QStringLiteral("Data Source="), 1);
        if (cs.contains(QStringLiteral("Jet")) && !QFile::exists(arquivo))
            QVERIFY2(CriarBancoArquivo(arquivo, e), qPrintable(e.descricao));
        motor = AbrirMotor(cs, true, 10, e);
        QVERIFY2(motor, qPrintable(e.descricao));
        Executar({"DROP TABLE IF EXISTS \"Itens do Pedido\"", "DROP TABLE IF EXISTS solta"});
    }
    void cleanup() { motor.reset(); }
    // The table as another connection reads it (the reader's is its worker's).
    QStringList Tabela(const QString& sql)
    {
        QFETCH(QString, cs);
        ErroDados e;
        auto outra = AbrirMotor(cs, false, 10, e);
        return outra ? Conteudo(*outra, sql) : QStringList{e.descricao};
    }

    // A key of two columns, names that need quoting, rows inserted out of key order; blocks of ten
    // rows, two kept besides the edited one.
    void LeEGravaPelaChave_data() { Engines(); }
    void LeEGravaPelaChave()
    {
        Executar({"CREATE TABLE \"Itens do Pedido\" (\"nº\" INTEGER, \"Lado\" VARCHAR(5), valor VARCHAR(20), "
                  "PRIMARY KEY (\"nº\", \"Lado\"))"});
        QStringList insercoes;
        for (int i = 47; i >= 0; --i)
            for (const char* lado : {"b", "a"})
                insercoes << QStringLiteral("INSERT INTO \"Itens do Pedido\" VALUES (%1, '%2', 'v%1%2')")
                                 .arg(i % 24)
                                 .arg(QLatin1String(lado) + QString::number(i / 24));
        Executar(insercoes);
        const QString todas = QStringLiteral("SELECT * FROM \"Itens do Pedido\" ORDER BY \"nº\", \"Lado\"");
        const QStringList antes = Conteudo(*motor, todas);
        QCOMPARE(antes.size(), 96);

        clsLeitorJanela j(motor, Campos(*motor, QStringLiteral("\"Itens do Pedido\"")), {10, 2, 3});
        QVERIFY(Contado(j));
        QCOMPARE(j.Linhas(), qint64(96));
        // An edit in the first block keeps it while every other block is read, in key order.
        QCOMPARE(Linha(j, 3), antes[3]);
        int local = 0;
        clsRecordset* rs = j.Linha(3, local);
        QVERIFY(rs->DefinirCelula(local, 2, QStringLiteral("perto")));
        j.Marcar(3);
        for (int i = 95; i >= 0; --i)
            QCOMPARE(Linha(j, i), i == 3 ? antes[3].section(u'|', 0, 1) + QStringLiteral("|perto") : antes[i]);
        QVERIFY2(j.BlocosEmMemoria() <= 3, qPrintable(QString::number(j.BlocosEmMemoria())));
        // And one far away.
        QCOMPARE(Linha(j, 94), antes[94]);
        rs = j.Linha(94, local);
        QVERIFY(rs);
        QVERIFY(rs->DefinirCelula(local, 2, QStringLiteral("longe")));
        j.Marcar(94);
        QSignalSpy gravado(&j, &clsLeitorJanela::Gravado);
        QVERIFY(j.Gravar());
        QVERIFY(gravado.wait(20000));
        QVERIFY2(gravado.front().at(0).toBool(), qPrintable(gravado.front().at(1).value<ErroDados>().descricao));
        QVERIFY(!j.TemPendentes());
        QStringList esperado = antes;
        esperado[3] = antes[3].section(u'|', 0, 1) + QStringLiteral("|perto");
        esperado[94] = antes[94].section(u'|', 0, 1) + QStringLiteral("|longe");
        QCOMPARE(Tabela(todas), esperado);
    }

    // Without a primary key the table is not read this way; an empty table counts no rows.
    void SemChaveOuVazia_data() { Engines(); }
    void SemChaveOuVazia()
    {
        Executar({"CREATE TABLE solta (x INTEGER, y VARCHAR(5))", "INSERT INTO solta VALUES (1, 'a')"});
        clsLeitorJanela sem(motor, Campos(*motor, QStringLiteral("solta")));
        QSignalSpy recusado(&sem, &clsLeitorJanela::Recusado);
        QVERIFY(recusado.wait(20000));
        QCOMPARE(recusado.front().at(0).toString(), QStringLiteral("A tabela não tem chave primária."));

        Executar({"CREATE TABLE \"Itens do Pedido\" (\"nº\" INTEGER PRIMARY KEY, valor VARCHAR(20))"});
        clsLeitorJanela vazia(motor, Campos(*motor, QStringLiteral("\"Itens do Pedido\"")));
        QVERIFY(Contado(vazia));
        QCOMPARE(vazia.Linhas(), qint64(0));
        int local = 0;
        QVERIFY(!vazia.Linha(0, local));
    }

private:
    void Engines()
    {
        QTest::addColumn<QString>("cs");
        QTest::newRow("sqlite") << QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1")
                                       .arg(pasta.filePath(QStringLiteral("janela.db")));
        QTest::newRow("postgresql") << BancoPostgresProprio(QStringLiteral("quarrix_janela"));
    }
};
QUARRIX_TESTE(tst_clsLeitorJanela);
#include "tst_clsLeitorJanela.moc"
