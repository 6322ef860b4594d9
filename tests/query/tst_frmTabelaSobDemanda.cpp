// A table window whose rows pass the memory limit of the options reads them on demand, on a SQLite
// file and (when QUARRIX_PG_CONNSTR is set) PostgreSQL: the grid shows every row, edits of rows far
// apart are saved changing exactly those rows, and what cannot be done on such a result is refused
// with a message. Below the limit, or without a key, the rows are held as always.
#include "cenarioTabela.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QHeaderView>
#include <QTableView>

using namespace ado;

namespace {

const QString Tabela = QStringLiteral("grande");

QStringList Criacao(bool pg, bool chave)
{
    const QString serie
        = pg ? QStringLiteral("INSERT INTO %1 SELECT x, 'n' || x, x * 10 FROM generate_series(1, 5000) x")
             : QStringLiteral("INSERT INTO %1 WITH RECURSIVE s(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                              "FROM s WHERE x < 5000) SELECT x, 'n' || x, x * 10 FROM s");
    return {QStringLiteral("DROP TABLE IF EXISTS %1").arg(Tabela),
            QStringLiteral("CREATE TABLE %1 (id INTEGER%2, nome VARCHAR(30), valor INTEGER)")
                .arg(Tabela, chave ? QStringLiteral(" PRIMARY KEY") : QString()),
            serie.arg(Tabela)};
}

QStringList Conteudo(const QString& cs)
{
    ErroDados e;
    auto m = AbrirMotor(cs, false, 10, e);
    RecordsetPtr rs;
    if (!m || !m->Executar(QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(Tabela), &rs, adLockReadOnly, nullptr))
        return {QStringLiteral("ERRO")};
    QStringList r;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        r << QStringLiteral("%1|%2|%3").arg(rs->Valor(0).toString(), rs->Valor(1).toString(), rs->Valor(2).toString());
    return r;
}

QStringList Esperado()
{
    QStringList r;
    for (int x = 1; x <= 5000; ++x)
        r << QStringLiteral("%1|n%1|%2").arg(x).arg(x * 10);
    return r;
}

// The text of a cell once its block has come (the grid asks for it by showing the row).
QString CelulaVista(frmTabela* w, int linha, int coluna)
{
    if (!QTest::qWaitFor([&] { return w->Modelo()->rowCount() > linha; }, 20000))
        return QStringLiteral("(não contada)");
    const QModelIndex i = w->Modelo()->index(linha, coluna);
    w->Grid()->scrollTo(i);
    QString texto;
    if (!QTest::qWaitFor([&] { return (texto = w->Modelo()->data(i).toString()) != QStringLiteral("…"); }, 20000))
        return QStringLiteral("(não veio)");
    return texto;
}

} // namespace

class tst_frmTabelaSobDemanda : public QObject {
    Q_OBJECT

    // The connection string of the engine of the row, with the table made; empty: skipped.
    QString Preparar(CenarioTabela& c, bool chave)
    {
        QFETCH(bool, pg);
        const QString cs = pg ? BancoPostgresProprio(QStringLiteral("quarrix_sobdemanda")) : c.banco.ConnStr();
        if (cs.isEmpty())
            return {};
        ErroDados e;
        auto m = AbrirMotor(cs, true, 10, e);
        for (const QString& s : Criacao(pg, chave))
            if (!m || !m->Executar(s, nullptr, adLockReadOnly, nullptr))
                return {};
        return cs;
    }

private slots:
    void init()
    {
        QFETCH(bool, pg);
        if (pg && qEnvironmentVariableIsEmpty("QUARRIX_PG_CONNSTR"))
            QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
    }

    // Which limit the rows pass decides; a table without a key is held whole, saying why.
    void QuandoLerSobDemanda_data()
    {
        QTest::addColumn<bool>("pg");
        QTest::addColumn<qint64>("linhas");
        QTest::addColumn<qint64>("megabytes");
        QTest::addColumn<bool>("chave");
        QTest::addColumn<bool>("sobDemanda");
        for (bool pg : {false, true}) {
            const char* motor = pg ? "postgresql" : "sqlite";
            QTest::addRow("%s, abaixo dos limites", motor) << pg << qint64(5000) << qint64(256) << true << false;
            QTest::addRow("%s, acima das linhas", motor) << pg << qint64(1000) << qint64(256) << true << true;
            QTest::addRow("%s, acima dos megabytes", motor) << pg << qint64(2000000) << qint64(1) << true << true;
            QTest::addRow("%s, sem chave", motor) << pg << qint64(1000) << qint64(256) << false << false;
        }
    }
    void QuandoLerSobDemanda()
    {
        QFETCH(qint64, linhas);
        QFETCH(qint64, megabytes);
        QFETCH(bool, chave);
        QFETCH(bool, sobDemanda);
        CenarioTabela c;
        const QString cs = Preparar(c, chave);
        QVERIFY(!cs.isEmpty());
        c.ambiente.Opcoes().LimiteLinhas = linhas;
        c.ambiente.Opcoes().LimiteMegabytes = megabytes;
        frmTabela* w = c.Abrir(QString(), Tabela, false, cs);
        QVERIFY(w);
        QVERIFY(Rodar(w));
        // Without a key the table is run once more, holding every row.
        QVERIFY(QTest::qWaitFor(
            [&] {
                return !w->Ocupada() && (sobDemanda ? w->Modelo()->Janela() != nullptr : w->Recordset() != nullptr);
            },
            30000));
        if (sobDemanda) {
            QVERIFY(!w->Recordset());
            QVERIFY(QTest::qWaitFor([&] { return w->Modelo()->Janela()->Contado(); }, 30000));
            QCOMPARE(w->TextoPainel(3), QStringLiteral("5000 Registros Encontrados (lidos sob demanda)"));
        } else {
            QCOMPARE(w->TextoPainel(3), QStringLiteral("5000 Registros Encontrados"));
        }
        if (!chave)
            QCOMPARE(w->TextoPainel(1),
                     QStringLiteral("A tabela não tem chave primária. Todos os registros serão lidos para a memória."));
        QCOMPARE(w->Modelo()->rowCount(), 5000);
        QCOMPARE(CelulaVista(w, 4999, 1), QStringLiteral("n5000"));
        QCOMPARE(CelulaVista(w, 0, 2), QStringLiteral("10"));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join(u'|')));
    }

    // Two rows far apart are edited and saved: the table afterwards has exactly those changes. Rows
    // are neither added nor deleted there, and sorting is refused, each with a message.
    void EditaESalva_data()
    {
        QTest::addColumn<bool>("pg");
        QTest::newRow("sqlite") << false;
        QTest::newRow("postgresql") << true;
    }
    void EditaESalva()
    {
        CenarioTabela c;
        const QString cs = Preparar(c, true);
        QVERIFY(!cs.isEmpty());
        c.ambiente.Opcoes().LimiteLinhas = 1000;
        frmTabela* w = c.Abrir(QString(), Tabela, false, cs);
        QVERIFY(w);
        QVERIFY(Rodar(w));
        QVERIFY(w->Modelo()->Janela());
        clsModeloRecordset* m = w->Modelo();
        QCOMPARE(CelulaVista(w, 6, 1), QStringLiteral("n7"));
        QVERIFY(m->setData(m->index(6, 1), QStringLiteral("sete")));
        QCOMPARE(CelulaVista(w, 4320, 2), QStringLiteral("43210"));
        QVERIFY(m->setData(m->index(4320, 2), QStringLiteral("-1")));
        // The first edited block stays while the view is far away.
        QCOMPARE(CelulaVista(w, 6, 1), QStringLiteral("sete"));
        QVERIFY(m->TemEdicoesPendentes());
        QVERIFY(w->Botao(QStringLiteral("Salvar"))->isEnabled());
        QVERIFY(!w->Botao(QStringLiteral("Incluir"))->isEnabled());

        w->Grid()->setCurrentIndex(m->index(6, 1));
        w->ExcluirLinhasSelecionadas();
        w->Grid()->horizontalHeader()->sectionClicked(1);
        QCOMPARE(c.prompt.textos(),
                 (QStringList{"Este resultado é lido sob demanda: nele só se alteram valores. Para incluir ou excluir "
                              "registros, execute uma instrução que retorne menos linhas.",
                              "Este resultado é lido sob demanda: para ordenar ou filtrar seus registros, use ORDER "
                              "BY ou WHERE na instrução SQL."}));
        c.prompt.mensagens.clear();

        QVERIFY(Gravar(w));
        QCOMPARE(c.prompt.textos(), QStringList{"Registros Gravados com Sucesso"});
        QStringList esperado = Esperado();
        esperado[6] = QStringLiteral("7|sete|70");
        esperado[4320] = QStringLiteral("4321|n4321|-1");
        QCOMPARE(Conteudo(cs), esperado);
        QVERIFY(!m->TemEdicoesPendentes());
        QCOMPARE(CelulaVista(w, 4320, 2), QStringLiteral("-1"));
    }
};
QUARRIX_TESTE(tst_frmTabelaSobDemanda);
#include "tst_frmTabelaSobDemanda.moc"
