// The results grid driven as a user drives it (editor opened on a cell, keys typed, Enter, Del,
// Ctrl+0, the grid menu, Salvar), on SQLite files and on PostgreSQL, each case comparing the whole
// table afterwards with the one change intended.
#include "cenarioTabela.h"
#include "connections/clsData.h"
#include "query/uctEditorSql.h"
#include "support/capturas.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTableView>

namespace {

const char* const Pg = "QUARRIX_PG_CONNSTR";

// One table of the engine under test, created for a case and dropped after it.
struct Tabela {
    CenarioTabela& c;
    bool postgres;
    QString connStr;
    QString nome;
    Tabela(CenarioTabela& c, bool postgres, const QString& nome) : c(c), postgres(postgres), nome(nome)
    {
        connStr = postgres ? qEnvironmentVariable(Pg) : c.banco.ConnStr();
        Executar("DROP TABLE IF EXISTS " + Citado());
    }
    ~Tabela()
    {
        if (postgres)
            Executar("DROP TABLE IF EXISTS " + Citado());
    }
    QString Citado() const { return '"' + QString(nome).replace('"', "\"\"") + '"'; }
    bool Executar(const QString& sql) const
    {
        clsData d(c.ambiente);
        return d.OpenConnection(connStr, true, false) && d.ExecSql(sql, false);
    }
    // Every row, each value in the engine's literal notation, in key order.
    QStringList Linhas(const QString& colunas = QStringLiteral("id, v")) const
    {
        QStringList partes;
        for (const QString& col : colunas.split(", "))
            partes << (postgres ? "coalesce(quote_literal(" + col + "::text), 'NULL')" : "quote(" + col + ")");
        const QString sql = "SELECT " + partes.join(" || '|' || ") + " FROM " + Citado() + " ORDER BY 1";
        clsData d(c.ambiente);
        RecordsetPtr rs;
        QStringList r;
        long n = 0;
        if (!d.OpenConnection(connStr, false, false) || !d.ExecSql(sql, false, true, rs, n) || !rs)
            return {"erro: " + d.ErrMsg()};
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            r << rs->Valor(0).toString();
        return r;
    }
};

// The rows of a case run on each engine.
void LinhasPorMotor()
{
    QTest::addColumn<bool>("postgres");
    QTest::newRow("sqlite") << false;
    QTest::newRow("postgres") << true;
}

bool PularSemPostgres(bool postgres) { return postgres && qEnvironmentVariable(Pg).isEmpty(); }

// Opens the cell's editor as a double click does.
QLineEdit* AbrirEditor(frmTabela* w, int linha, int coluna)
{
    QTableView* grade = w->Grid();
    const QModelIndex i = w->Modelo()->index(linha, coluna);
    grade->setCurrentIndex(i);
    grade->edit(i);
    return grade->viewport()->findChild<QLineEdit*>();
}

} // namespace

class tst_frmTabelaGrade : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void ValoresVoltamExatos_data()
    {
        // Per engine: the column's type, the value it holds, what the user does in the first row's
        // cell ("" only opens the editor and presses Enter; "\b" empties it; "^0" is Ctrl+0 on the
        // grid, "^0e" in the open editor; "[x]" clicks the check box, " " presses Space on a null
        // one), what the editor showed, and the first row afterwards.
        QTest::addColumn<bool>("postgres");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("acao");
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<QString>("depois");
        struct Caso {
            const char* nome;
            const char* tipoSqlite;
            const char* tipoPg;
            const char* valor;
            const char* acao;
            const char* mostrado;
            const char* depoisSqlite;
            const char* depoisPg;
        };
        const Caso casos[] = {
            {"real aberto e Enter", "REAL", "double precision", "1.23456", "", "1,23456", "1.23456", "'1.23456'"},
            {"real digitado com virgula", "REAL", "double precision", "1.5", "3,14159", "1,5", "3.14159", "'3.14159'"},
            {"real digitado com ponto", "REAL", "double precision", "1.5", "3.14159", "1,5", "3.14159", "'3.14159'"},
            {"decimal exato", "NUMERIC(18,2)", "numeric(18,2)", "2.25", "12345,67", "2,25", "12345.67", "'12345.67'"},
            // SQLite keeps such a number as a float and refuses it (tested with the recordset).
            {"decimal de 18 digitos",
             nullptr,
             "numeric(18,2)",
             "2.25",
             "1234567890123456,78",
             "2,25",
             nullptr,
             "'1234567890123456.78'"},
            {"inteiro de 64 bits", "INTEGER", "bigint", "1", "3000000000", "1", "3000000000", "'3000000000'"},
            {"inteiro existente grande",
             "INTEGER",
             "bigint",
             "3000000000",
             "",
             "3000000000",
             "3000000000",
             "'3000000000'"},
            {"data aberta e Enter", "DATE", "date", "'2020-01-04'", "", "04/01/2020", "'2020-01-04'", "'2020-01-04'"},
            {"data digitada",
             "DATE",
             "date",
             "'2020-01-04'",
             "05/01/2020",
             "04/01/2020",
             "'2020-01-05'",
             "'2020-01-05'"},
            {"data e hora aberta e Enter",
             "DATETIME",
             "timestamp",
             "'2020-01-04 10:20:30'",
             "",
             "04/01/2020 10:20:30",
             "'2020-01-04 10:20:30'",
             "'2020-01-04 10:20:30'"},
            {"data e hora digitada",
             "DATETIME",
             "timestamp",
             "'2020-01-04 10:20:30'",
             "05/02/2021 11:22:33",
             "04/01/2020 10:20:30",
             "'2021-02-05 11:22:33'",
             "'2021-02-05 11:22:33'"},
            {"texto vazio e nulo", "VARCHAR(20)", "varchar(20)", "'abc'", "\b", "abc", "NULL", "NULL"},
            {"numero esvaziado e nulo", "INTEGER", "integer", "7", "\b", "7", "NULL", "NULL"},
            {"data esvaziada e nula", "DATE", "date", "'2020-01-04'", "\b", "04/01/2020", "NULL", "NULL"},
            {"ctrl 0 e nulo", "REAL", "double precision", "2.5", "^0", "2,5", "NULL", "NULL"},
            {"ctrl 0 no editor e nulo", "DATE", "date", "'2020-01-04'", "^0e", "04/01/2020", "NULL", "NULL"},
            // Every digit of a time or time stamp is shown, edited and found again by the save.
            {"hora com microssegundos",
             "TIME",
             "time(6)",
             "'23:59:59.999999'",
             "23:59:58.999999",
             "23:59:59.999999",
             "'23:59:58.999999'",
             "'23:59:58.999999'"},
            {"hora com microssegundos aberta e Enter",
             "TIME",
             "time(6)",
             "'23:59:59.999999'",
             "",
             "23:59:59.999999",
             "'23:59:59.999999'",
             "'23:59:59.999999'"},
            {"data e hora com microssegundos",
             "DATETIME",
             "timestamp(6)",
             "'2024-01-02 01:02:03.123456'",
             "02/01/2024 01:05:03.123456",
             "02/01/2024 01:02:03.123456",
             "'2024-01-02 01:05:03.123456'",
             "'2024-01-02 01:05:03.123456'"},
            {"data e hora com fuso",
             nullptr,
             "timestamptz",
             "'2024-01-02 01:02:03.123456-03'",
             "02/01/2024 01:05:03.123456 -03:00",
             "02/01/2024 04:02:03.123456 +00:00",
             nullptr,
             "'2024-01-02 04:05:03.123456+00'"},
            {"binario ctrl 0 e nulo", "BLOB", nullptr, "X'00FF'", "^0", "", "NULL", nullptr},
            {"bytea ctrl 0 e nulo", nullptr, "bytea", "'\\x00ff'", "^0", "", nullptr, "NULL"},
            // Booleans are check boxes on every engine; null is their third state.
            {"bit marcado", "BOOLEAN", "boolean", "false", "[x]", "", "1", "'true'"},
            {"bit nulo marcado com espaco", "BOOLEAN", "boolean", "NULL", " ", "", "1", "'true'"},
            {"bit ctrl 0 e nulo", "BOOLEAN", "boolean", "true", "^0", "", "NULL", "NULL"},
        };
        for (const bool pg : {false, true})
            for (const Caso& k : casos) {
                if (!(pg ? k.tipoPg : k.tipoSqlite))
                    continue;
                const QString valor = k.valor;
                QTest::newRow(qPrintable(QString(pg ? "postgres " : "sqlite ") + k.nome))
                    << pg << (pg ? k.tipoPg : k.tipoSqlite) << valor << k.acao << k.mostrado
                    << (pg ? k.depoisPg : k.depoisSqlite);
            }
    }
    void ValoresVoltamExatos()
    {
        QFETCH(bool, postgres);
        QFETCH(QString, tipo);
        QFETCH(QString, valor);
        QFETCH(QString, acao);
        QFETCH(QString, mostrado);
        QFETCH(QString, depois);
        if (PularSemPostgres(postgres))
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the server)");
        CenarioTabela c;
        Tabela t(c, postgres, "grade_valores");
        QVERIFY(t.Executar("CREATE TABLE grade_valores (id integer primary key, v " + tipo + ")"));
        QVERIFY(t.Executar("INSERT INTO grade_valores VALUES (1, " + valor + "), (2, " + valor + ")"));
        const QStringList antes = t.Linhas();
        frmTabela* w = c.Abrir("SELECT id, v FROM grade_valores ORDER BY id", "SqlEditor: ", false, t.connStr);
        QVERIFY(w);
        QVERIFY(Rodar(w));
        if (acao == "[x]") {
            const QModelIndex i = w->Modelo()->index(0, 1);
            QVERIFY(w->Modelo()->flags(i) & Qt::ItemIsUserCheckable);
            QCOMPARE(w->Modelo()->data(i, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
            QTest::mouseClick(w->Grid()->viewport(), Qt::LeftButton, {}, w->Grid()->visualRect(i).center());
            QTest::mouseClick(w->Grid()->viewport(), Qt::LeftButton, {}, w->Grid()->visualRect(i).center());
            if (w->Modelo()->data(i, Qt::CheckStateRole).toInt() != Qt::Checked)
                QVERIFY(w->Modelo()->setData(i, Qt::Checked, Qt::CheckStateRole));
        } else if (acao == " ") {
            const QModelIndex i = w->Modelo()->index(0, 1);
            QCOMPARE(w->Modelo()->data(i, Qt::CheckStateRole).toInt(), int(Qt::PartiallyChecked));
            QVERIFY(w->Modelo()->flags(i) & Qt::ItemIsUserTristate);
            w->Grid()->setFocus();
            w->Grid()->setCurrentIndex(i);
            QTest::keyClick(w->Grid(), Qt::Key_Space);
            QCOMPARE(w->Modelo()->data(i, Qt::CheckStateRole).toInt(), int(Qt::Checked));
        } else if (acao == "^0") {
            w->Grid()->setFocus();
            w->Grid()->setCurrentIndex(w->Modelo()->index(0, 1));
            QTest::keyClick(w->Grid(), Qt::Key_0, Qt::ControlModifier);
        } else {
            QLineEdit* editor = AbrirEditor(w, 0, 1);
            QVERIFY(editor);
            QCOMPARE(editor->text(), mostrado);
            CapturarJanela(w, "frmTabelaGrade_editor_" + QString(QTest::currentDataTag()).replace(' ', '_'));
            if (acao == "\b") {
                editor->selectAll();
                QTest::keyClick(editor, Qt::Key_Backspace);
            } else if (!acao.isEmpty() && acao != "^0e") {
                editor->selectAll();
                QTest::keyClicks(editor, acao);
            }
            // Ctrl+0 closes the editor itself; Enter otherwise.
            QTest::keyClick(editor,
                            acao == "^0e" ? Qt::Key_0 : Qt::Key_Return,
                            acao == "^0e" ? Qt::ControlModifier : Qt::NoModifier);
            QCoreApplication::processEvents(); // the view commits the editor's text after the key
        }
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
        CapturarJanela(w, "frmTabelaGrade_depois_" + QString(QTest::currentDataTag()).replace(' ', '_'));
        if (depois == "NULL")
            QVERIFY(w->Modelo()->data(w->Modelo()->index(0, 1), clsModeloRecordset::PapelNulo).toBool());
        QVERIFY2(Gravar(w), qPrintable(c.prompt.textos().join('|')));
        QStringList esperado = antes;
        esperado[0] = (postgres ? "'1'|" : "1|") + depois;
        QCOMPARE(t.Linhas(), esperado);
    }

    void BinarioNaoSeEditaComoTexto_data() { LinhasPorMotor(); }
    void BinarioNaoSeEditaComoTexto()
    {
        QFETCH(bool, postgres);
        if (PularSemPostgres(postgres))
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the server)");
        CenarioTabela c;
        Tabela t(c, postgres, "grade_blob");
        QVERIFY(t.Executar(postgres ? "CREATE TABLE grade_blob (id integer primary key, v bytea, n text)"
                                    : "CREATE TABLE grade_blob (id INTEGER PRIMARY KEY, v BLOB, n TEXT)"));
        QVERIFY(t.Executar(postgres ? "INSERT INTO grade_blob VALUES (1, '\\x305D3E11EEB44272', 'a')"
                                    : "INSERT INTO grade_blob VALUES (1, X'305D3E11EEB44272', 'a')"));
        const QStringList antes = t.Linhas("id, v, n");
        frmTabela* w = c.Abrir("SELECT id, v, n FROM grade_blob", "SqlEditor: ", false, t.connStr);
        QVERIFY(w && Rodar(w));
        const QModelIndex blob = w->Modelo()->index(0, 1);
        QCOMPARE(w->Modelo()->data(blob).toString(), QStringLiteral("0x305D3E11EEB44272"));
        QVERIFY(!(w->Modelo()->flags(blob) & Qt::ItemIsEditable));
        QVERIFY(!AbrirEditor(w, 0, 1));
        // The text next to it is edited; the binary value goes back untouched.
        QLineEdit* editor = AbrirEditor(w, 0, 2);
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "b");
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY2(Gravar(w), qPrintable(c.prompt.textos().join('|')));
        QStringList esperado = antes;
        esperado[0].replace(QRegularExpression("'a'$"), "'b'");
        QCOMPARE(t.Linhas("id, v, n"), esperado);
    }

    void DecimalEditadoDuasVezes_data() { LinhasPorMotor(); }
    void DecimalEditadoDuasVezes()
    {
        // A row saved after a decimal edit is edited and saved again without running the query.
        QFETCH(bool, postgres);
        if (PularSemPostgres(postgres))
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the server)");
        CenarioTabela c;
        Tabela t(c, postgres, "grade_preco");
        QVERIFY(t.Executar("CREATE TABLE grade_preco (id integer primary key, v numeric(10,2), n varchar(10))"));
        QVERIFY(t.Executar("INSERT INTO grade_preco VALUES (1, 10.5, 'a'), (2, 3, 'b')"));
        frmTabela* w = c.Abrir("SELECT id, v, n FROM grade_preco ORDER BY id", "SqlEditor: ", false, t.connStr);
        QVERIFY(w && Rodar(w));
        for (const auto& [coluna, texto] : {std::pair{1, QStringLiteral("12,34")},
                                            std::pair{2, QStringLiteral("z")},
                                            std::pair{1, QStringLiteral("7")}}) {
            QLineEdit* editor = AbrirEditor(w, 0, coluna);
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, texto);
            QTest::keyClick(editor, Qt::Key_Return);
            QVERIFY2(Gravar(w), qPrintable(c.prompt.textos().join('|')));
        }
        QCOMPARE(c.prompt.textos(), QStringList(3, QStringLiteral("Registros Gravados com Sucesso")));
        if (postgres)
            QCOMPARE(t.Linhas("id, v, n"), (QStringList{"'1'|'7.00'|'z'", "'2'|'3.00'|'b'"}));
        else
            QCOMPARE(t.Linhas("id, v, n"), (QStringList{"1|7|'z'", "2|3|'b'"}));
    }

    void FiltroPorDataENulo_data() { LinhasPorMotor(); }
    void FiltroPorDataENulo()
    {
        // A date cell filters by its value, typed as the user writes it or in ISO, every digit of a
        // time stamp counting; a null cell filters the nulls; a sort orders by the exact value.
        QFETCH(bool, postgres);
        if (PularSemPostgres(postgres))
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the server)");
        CenarioTabela c;
        Tabela t(c, postgres, "grade_filtro");
        QVERIFY(t.Executar(postgres ? "CREATE TABLE grade_filtro (id integer primary key, d date, t timestamp(6))"
                                    : "CREATE TABLE grade_filtro (id integer primary key, d DATE, t DATETIME)"));
        QVERIFY(t.Executar("INSERT INTO grade_filtro VALUES (1, '2024-02-29', '2024-02-29 10:00:00.123456'), "
                           "(2, '2024-03-01', NULL), (3, NULL, '2024-02-29 10:00:00.123456'), "
                           "(4, '2024-02-29', '2024-02-29 10:00:00')"));
        frmTabela* w = c.Abrir("SELECT id, d, t FROM grade_filtro ORDER BY id", "SqlEditor: ", false, t.connStr);
        QVERIFY(w && Rodar(w));
        auto ids = [w] {
            QStringList r;
            for (int l = 0; l < w->Modelo()->rowCount(); ++l)
                r << w->Modelo()->data(w->Modelo()->index(l, 0)).toString();
            return r.join(u',');
        };
        auto filtrar = [w](int linha, int coluna, const QString& valor) {
            w->EliminarFiltro();
            w->Grid()->setCurrentIndex(w->Modelo()->index(linha, coluna));
            w->Filtar(valor);
        };
        filtrar(0, 1, {});
        QCOMPARE(ids(), QStringLiteral("1,4"));
        QCOMPARE(w->TextoPainel(3), QStringLiteral("2 Registros Encontrados"));
        filtrar(1, 1, "29/02/2024");
        QCOMPARE(ids(), QStringLiteral("1,4"));
        filtrar(1, 1, "2024-03-01");
        QCOMPARE(ids(), QStringLiteral("2"));
        filtrar(2, 1, {});
        QCOMPARE(w->Recordset()->Filter(), QStringLiteral("d Is Null"));
        QCOMPARE(ids(), QStringLiteral("3"));
        filtrar(0, 2, {});
        QCOMPARE(ids(), QStringLiteral("1,3"));
        filtrar(0, 2, "29/02/2024 10:00:00");
        QCOMPARE(ids(), QStringLiteral("4"));
        // Sorted by the time stamp: by value, whole seconds and microseconds together.
        w->EliminarFiltro();
        w->Grid()->setCurrentIndex(w->Modelo()->index(0, 2));
        w->OrdenarColuna("Desc");
        QCOMPARE(ids(), QStringLiteral("1,3,4,2"));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
        // Not a date: the filter's error, and no filter.
        filtrar(0, 1, "31/02/2024");
        QCOMPARE(c.prompt.mensagens.size(), 1);
        QCOMPARE(c.prompt.ultima().titulo, QStringLiteral("Erro: 3001"));
        QCOMPARE(w->Modelo()->rowCount(), 4);
    }

    void ContagemEMensagemDeGravacao()
    {
        // The count follows a new row and the rows a save deletes; "Salvar" with nothing to write
        // says so instead of claiming a save.
        CenarioTabela c;
        frmTabela* w = c.Editor("SELECT Id, Nome FROM Clientes ORDER BY Id");
        QVERIFY(w && Rodar(w));
        QVERIFY(Gravar(w));
        QCOMPARE(c.prompt.textos(), QStringList{"Não há alterações a gravar."});
        w->Botao("Incluir")->trigger();
        QCOMPARE(w->TextoPainel(3), QStringLiteral("4 Registros Encontrados"));
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(3, 0), "9"));
        w->Modelo()->AlternarExclusao({0, 1});
        QVERIFY(Gravar(w));
        QCOMPARE(w->TextoPainel(3), QStringLiteral("2 Registros Encontrados"));
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("Registros Gravados com Sucesso"));
        QCOMPARE(c.banco.Valor("SELECT group_concat(Id) FROM (SELECT Id FROM Clientes ORDER BY Id)").toString(),
                 QStringLiteral("3,9"));
    }

    void RealEmNotacaoPosicional()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor("SELECT 500000.0, 1000000.0, 1250000.0, 0.1, 0.00001, 1e-7, 1e20, -2.5, "
                                "123456789012345.0, 1234567890123456.0, 0.30000000000000004");
        QVERIFY(w && Rodar(w));
        const QStringList esperado{"500000",
                                   "1000000",
                                   "1250000",
                                   "0,1",
                                   "0,00001",
                                   "1E-7",
                                   "1E20",
                                   "-2,5",
                                   "123456789012345",
                                   "1,234567890123456E15",
                                   "0,30000000000000004"};
        QStringList mostrado;
        for (int k = 0; k < esperado.size(); ++k)
            mostrado << c.Celula(0, k);
        QCOMPARE(mostrado, esperado);
    }

    void InteiroQueNaoCabeFicaNoEditor()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor("SELECT Id, Nome FROM Clientes ORDER BY Id");
        QVERIFY(w && Rodar(w));
        w->show();
        QLineEdit* editor = AbrirEditor(w, 0, 0);
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "99999999999999999999");
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(c.prompt.textos(), QStringList{"O valor '99999999999999999999' não serve para o campo 'Id'."});
        QCOMPARE(c.prompt.ultima().estilo, int(vb::Exclamation));
        // The editor is still open with the typed text, for correction.
        QCOMPARE(w->Grid()->viewport()->findChild<QLineEdit*>(), editor);
        QCOMPARE(editor->text(), QStringLiteral("99999999999999999999"));
        QVERIFY(!w->Recordset()->TemAlteracoesPendentes());
        editor->selectAll();
        QTest::keyClicks(editor, "9");
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(Gravar(w));
        QCOMPARE(c.banco.Valor("SELECT group_concat(Id) FROM (SELECT Id FROM Clientes ORDER BY Id)").toString(),
                 QStringLiteral("2,3,9"));
    }

    void ExcluirLinhasComDelESalvarJunto_data()
    {
        QTest::addColumn<bool>("postgres");
        QTest::addColumn<bool>("peloMenu");
        QTest::newRow("sqlite Del") << false << false;
        QTest::newRow("sqlite menu") << false << true;
        QTest::newRow("postgres Del") << true << false;
    }
    void ExcluirLinhasComDelESalvarJunto()
    {
        QFETCH(bool, postgres);
        QFETCH(bool, peloMenu);
        if (PularSemPostgres(postgres))
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the server)");
        CenarioTabela c;
        Tabela t(c, postgres, "grade_exclusao");
        QVERIFY(t.Executar("CREATE TABLE grade_exclusao (id integer primary key, v varchar(20))"));
        QVERIFY(t.Executar("INSERT INTO grade_exclusao VALUES (1, 'um'), (2, 'dois'), (3, 'tres'), (4, 'quatro')"));
        frmTabela* w = c.Abrir("SELECT id, v FROM grade_exclusao ORDER BY id", "SqlEditor: ", false, t.connStr);
        QVERIFY(w && Rodar(w));
        QTableView* grade = w->Grid();
        grade->setFocus();
        grade->selectRow(0);
        grade->selectionModel()->select(w->Modelo()->index(2, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (peloMenu) {
            QTest::mouseClick(grade->viewport(),
                              Qt::RightButton,
                              {},
                              grade->visualRect(w->Modelo()->index(2, 1)).center());
            grade->selectRow(0);
            grade->selectionModel()->select(w->Modelo()->index(2, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
            auto* menu = w->findChild<QMenu*>("mnuTab");
            QVERIFY(menu);
            menu->findChild<QAction*>("mnuTabExc")->trigger();
            menu->hide();
        } else {
            QTest::keyClick(grade, Qt::Key_Delete);
        }
        // Still in sight, marked, until Salvar; nothing written yet.
        QCOMPARE(w->Modelo()->rowCount(), 4);
        QVERIFY(w->Modelo()->Excluida(0) && w->Modelo()->Excluida(2));
        QVERIFY(!w->Modelo()->Excluida(1));
        QVERIFY(!(w->Modelo()->flags(w->Modelo()->index(0, 1)) & Qt::ItemIsEditable));
        QCOMPARE(t.Linhas().size(), 4);
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(1, 1), "DOIS"));
        CapturarJanela(w, postgres ? "frmTabelaGrade_exclusao_pg" : "frmTabelaGrade_exclusao");
        QVERIFY2(Gravar(w), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(w->Modelo()->rowCount(), 2);
        if (postgres)
            QCOMPARE(t.Linhas(), (QStringList{"'2'|'DOIS'", "'4'|'quatro'"}));
        else
            QCOMPARE(t.Linhas(), (QStringList{"2|'DOIS'", "4|'quatro'"}));
    }

    void ExclusaoRecusadaFicaMarcada()
    {
        // A save that fails writes nothing, and the rows marked stay marked and in sight.
        CenarioTabela c({"CREATE TABLE Pedidos (Numero INTEGER PRIMARY KEY, ClienteId INTEGER REFERENCES Clientes(Id))",
                         "INSERT INTO Pedidos VALUES (10, 2)",
                         "PRAGMA foreign_keys = ON"});
        frmTabela* w = c.Editor("SELECT Id, Nome FROM Clientes ORDER BY Id");
        QVERIFY(w && Rodar(w));
        w->Modelo()->AlternarExclusao({0});
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(1, 1), "Bia"));
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(2, 1), QString(81, 'x')) || true);
        // A duplicate key makes the batch fail.
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(2, 0), 2));
        QVERIFY(!Gravar(w));
        QCOMPARE(w->Modelo()->rowCount(), 3);
        QVERIFY(w->Modelo()->Excluida(0));
        QCOMPARE(c.banco.Valor("SELECT group_concat(Nome) FROM (SELECT Nome FROM Clientes ORDER BY Id)").toString(),
                 QStringLiteral("Ana,Bruno,Carla"));
    }

    void ResultadoQueNaoSeGravaESomenteLeitura_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("coluna");
        QTest::newRow("constante") << "SELECT 8 AS oito" << 0;
        QTest::newRow("juncao") << "SELECT c.Nome, p.Numero FROM Clientes c JOIN Pedidos p ON p.ClienteId = c.Id" << 0;
        QTest::newRow("agregado") << "SELECT COUNT(*) AS n, MAX(Nome) AS m FROM Clientes" << 1;
        QTest::newRow("visao de juncao") << "SELECT * FROM vPedidos" << 0;
    }
    void ResultadoQueNaoSeGravaESomenteLeitura()
    {
        QFETCH(QString, sql);
        QFETCH(int, coluna);
        CenarioTabela c({"CREATE TABLE Pedidos (Numero INTEGER PRIMARY KEY, ClienteId INTEGER)",
                         "INSERT INTO Pedidos VALUES (10, 2)",
                         "CREATE VIEW vPedidos AS SELECT c.Nome, p.Numero FROM Clientes c JOIN Pedidos p ON "
                         "p.ClienteId = c.Id"});
        frmTabela* w = c.Editor(sql);
        QVERIFY(w && Rodar(w));
        QVERIFY(w->Modelo()->rowCount() > 0);
        QVERIFY(!w->Botao("Incluir")->isEnabled());
        QVERIFY(!w->Botao("Salvar")->isEnabled());
        QVERIFY(!w->TextoPainel(1).isEmpty());
        QCOMPARE(w->Grid()->toolTip(), w->TextoPainel(1));
        const QModelIndex i = w->Modelo()->index(0, coluna);
        QVERIFY(!(w->Modelo()->flags(i) & Qt::ItemIsEditable));
        QVERIFY(!w->Modelo()->setData(i, "9"));
        QVERIFY(!AbrirEditor(w, 0, coluna));
        CapturarJanela(w, "frmTabelaGrade_somente_leitura");
        // The next result that can be written clears the reason.
        w->Editor()->setText("SELECT Id, Nome FROM Clientes");
        QVERIFY(Rodar(w));
        QVERIFY(w->Botao("Salvar")->isEnabled());
        QCOMPARE(w->TextoPainel(1), QString());
    }

    void ColunaCalculadaNaoSeEdita()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor("SELECT Id, Nome, Id * 2 AS dobro FROM Clientes ORDER BY Id");
        QVERIFY(w && Rodar(w));
        QVERIFY(w->Botao("Salvar")->isEnabled());
        QVERIFY(!(w->Modelo()->flags(w->Modelo()->index(0, 2)) & Qt::ItemIsEditable));
        QVERIFY(!w->Modelo()->setData(w->Modelo()->index(0, 2), "99"));
        QVERIFY(w->Modelo()->flags(w->Modelo()->index(0, 1)) & Qt::ItemIsEditable);
    }

    void F5DepoisDeDigitarSobreASelecao()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor("SELECT Nome FROM Clientes");
        QVERIFY(w);
        w->Editor()->setFocus();
        QTest::keyClick(w->Editor(), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(w->Editor()->hasSelectedText());
        QTest::keyClicks(w->Editor(), "SELECT 5 AS cinco");
        QTest::keyClick(w->Editor(), Qt::Key_F5);
        QTRY_COMPARE(w->TextoPainel(3), QStringLiteral("1 Registros Encontrados"));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(c.Celula(0, 0), QStringLiteral("5"));
    }

    void LotesGoUmAposOutro_data() { LinhasPorMotor(); }
    void LotesGoUmAposOutro()
    {
        // Without step by step, the batches run one after another; the last result is shown; a
        // statement repeated runs each time; a GO inside a literal or a comment is text.
        QFETCH(bool, postgres);
        if (PularSemPostgres(postgres))
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the server)");
        CenarioTabela c;
        Tabela t(c, postgres, "grade_lotes");
        QVERIFY(t.Executar("CREATE TABLE grade_lotes (v varchar(20))"));
        frmTabela* w = c.Abrir("INSERT INTO grade_lotes VALUES ('a GO b')\r\nGO\r\n"
                               "INSERT INTO grade_lotes VALUES ('x') -- GO \r\nGO\r\n"
                               "INSERT INTO grade_lotes VALUES ('x')\r\nGO\r\n"
                               "SELECT COUNT(*) AS n FROM grade_lotes",
                               "SqlEditor: ",
                               false,
                               t.connStr);
        QVERIFY(w);
        QVERIFY(!w->Botao("PassoPasso")->isChecked());
        QVERIFY2(Rodar(w), qPrintable(c.prompt.textos().join('|')));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(c.Celula(0, 0), QStringLiteral("3"));
        QCOMPARE(t.Linhas("v"),
                 (postgres ? QStringList{"'a GO b'", "'x'", "'x'"} : QStringList{"'a GO b'", "'x'", "'x'"}));
    }

    void NomesQuePedemCitacao_data()
    {
        QTest::addColumn<bool>("postgres");
        QTest::addColumn<QString>("nome");
        for (const bool pg : {false, true})
            for (const char* nome :
                 {"Nome]Estranho'x", "vitima;DELETE/**/FROM/**/vitima", "order", "1abc", "a-b", "Clientes2"})
                QTest::newRow(qPrintable(QString(pg ? "postgres " : "sqlite ") + nome)) << pg << QString(nome);
    }
    void NomesQuePedemCitacao()
    {
        // The table window of any name shows its rows, and no other table is touched.
        QFETCH(bool, postgres);
        QFETCH(QString, nome);
        if (PularSemPostgres(postgres))
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the server)");
        CenarioTabela c;
        Tabela vitima(c, postgres, "vitima");
        Tabela t(c, postgres, nome);
        QVERIFY(vitima.Executar("CREATE TABLE vitima (id integer)"));
        QVERIFY(vitima.Executar("INSERT INTO vitima VALUES (1), (2)"));
        QVERIFY(t.Executar("CREATE TABLE " + t.Citado() + " (id integer primary key, v varchar(10))"));
        QVERIFY(t.Executar("INSERT INTO " + t.Citado() + " VALUES (1, 'um')"));
        c.ambiente.Opcoes().AbrirExecutando = true;
        frmTabela* w = c.Abrir({}, nome, true, t.connStr);
        QVERIFY(w);
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(w->TextoPainel(3), QStringLiteral("1 Registros Encontrados"));
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(0, 1), "UM"));
        QVERIFY2(Gravar(w), qPrintable(c.prompt.textos().join('|')));
        QCOMPARE(t.Linhas(), QStringList{postgres ? "'1'|'UM'" : "1|'UM'"});
        QCOMPARE(vitima.Linhas("id").size(), 2);
    }

    // Every button of the window acts; "FiltroEliminar" only while a filter is on.
    void BotoesLigados()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor("SELECT Nome, length(Nome) AS n FROM Clientes");
        QVERIFY(w && Rodar(w));
        for (const char* chave : {"Open", "Save", "Excel", "TXT"})
            QVERIFY2(w->Botao(chave)->isEnabled(), chave);
        QVERIFY(!w->Botao("FiltroEliminar")->isEnabled());
        QCOMPARE(w->Botao("Excel")->toolTip(), QStringLiteral("Exportar para formato Excel"));
    }
};
QUARRIX_TESTE(tst_frmTabelaGrade);
#include "tst_frmTabelaGrade.moc"
