// Sorting and filtering the rows already fetched, script files and exports, on a real SQLite file:
// header clicks, accumulated filters (an apostrophe in a value included), a sort the rows refuse,
// the overwrite question, files of other encodings, and exports read back (the spreadsheet's XML
// through unzip, the text through a small CSV reader).
#include "cenarioTabela.h"
#include "query/frmFiltro.h"
#include "query/mdlExportar.h"
#include "query/uctEditorSql.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QUrl>

namespace {
QStringList Coluna(frmTabela* w, int coluna)
{
    QStringList r;
    for (int l = 0; l < w->Modelo()->rowCount(); ++l)
        r << w->Modelo()->data(w->Modelo()->index(l, coluna)).toString();
    return r;
}

void IrPara(frmTabela* w, int linha, int coluna) { w->Grid()->setCurrentIndex(w->Modelo()->index(linha, coluna)); }

// RFC 4180 fields of a delimited text.
QList<QStringList> LerCsv(const QString& texto, QChar sep)
{
    QList<QStringList> linhas{{}};
    QString campo;
    bool aspas = false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (aspas) {
            if (c == u'"' && i + 1 < texto.size() && texto[i + 1] == u'"') {
                campo += u'"';
                ++i;
            } else if (c == u'"') {
                aspas = false;
            } else {
                campo += c;
            }
        } else if (c == u'"') {
            aspas = true;
        } else if (c == sep) {
            linhas.last() << campo;
            campo.clear();
        } else if (c == u'\r' && i + 1 < texto.size() && texto[i + 1] == u'\n') {
            linhas.last() << campo;
            campo.clear();
            linhas << QStringList{};
            ++i;
        } else {
            campo += c;
        }
    }
    if (!campo.isEmpty() || !linhas.last().isEmpty())
        linhas.last() << campo;
    if (linhas.last().isEmpty())
        linhas.removeLast();
    return linhas;
}

QString Unzip(const QString& arquivo, const QString& parte)
{
    QProcess p;
    p.start("unzip", {"-p", arquivo, parte});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

const QStringList Extras{"CREATE TABLE Pessoas (ID INTEGER, IDADE INTEGER, Nome TEXT, Cidade TEXT, Peso REAL, "
                         "Foto BLOB, Nascimento DATETIME)",
                         "INSERT INTO Pessoas VALUES (1, 30, 'Ana', 'Recife', 60.5, x'00FF', '2001-02-03 04:05:06')",
                         "INSERT INTO Pessoas VALUES (2, 30, 'D''Ávila', 'Recife', 10.5, NULL, NULL)",
                         "INSERT INTO Pessoas VALUES (3, 41, 'Caio', 'Olinda', 80, NULL, '1990-12-31 23:59:59')",
                         "INSERT INTO Pessoas VALUES (4, 30, 'Bia', 'Natal', NULL, NULL, NULL)"};
} // namespace

class tst_frmTabelaFiltro : public QObject {
    Q_OBJECT
private slots:
    void CabecalhoOrdenaEInverte()
    {
        CenarioTabela c(Extras);
        frmTabela* w = c.Editor("SELECT ID, IDADE, Nome FROM Pessoas");
        QVERIFY(w && Rodar(w));
        w->Grid()->horizontalHeader()->sectionClicked(2);
        QCOMPARE(Coluna(w, 2), QStringList({"Ana", "Bia", "Caio", "D'Ávila"}));
        QCOMPARE(w->Recordset()->Sort(), QStringLiteral("Nome Asc"));
        QHeaderView* cabecalho = w->Grid()->horizontalHeader();
        QVERIFY(cabecalho->isSortIndicatorShown());
        QCOMPARE(cabecalho->sortIndicatorSection(), 2);
        QCOMPARE(cabecalho->sortIndicatorOrder(), Qt::AscendingOrder);
        w->Grid()->horizontalHeader()->sectionClicked(2);
        QCOMPARE(Coluna(w, 2), QStringList({"D'Ávila", "Caio", "Bia", "Ana"}));
        QCOMPARE(cabecalho->sortIndicatorOrder(), Qt::DescendingOrder);
        // Sorted by IDADE, the header ID counts as sorted (the name is found inside): the first
        // click sorts it descending.
        w->Grid()->horizontalHeader()->sectionClicked(1);
        w->Grid()->horizontalHeader()->sectionClicked(0);
        QCOMPARE(w->Recordset()->Sort(), QStringLiteral("ID Desc"));
        QCOMPARE(cabecalho->sortIndicatorSection(), 0);
        QVERIFY(c.prompt.mensagens.isEmpty());
        // A new result has no sort, and shows none.
        QVERIFY(Rodar(w));
        QVERIFY(!cabecalho->isSortIndicatorShown());
    }

    void FiltrosAcumulamEEliminam()
    {
        CenarioTabela c(Extras);
        frmTabela* w = c.Editor("SELECT ID, IDADE, Nome, Cidade, Peso FROM Pessoas");
        QVERIFY(w && Rodar(w));
        IrPara(w, 0, 3);
        w->Filtar();
        IrPara(w, 0, 1);
        w->Filtar("30");
        QCOMPARE(w->Recordset()->Filter(), QStringLiteral("Cidade = 'Recife' And IDADE = 30"));
        QCOMPARE(w->Modelo()->rowCount(), 2);
        QCOMPARE(w->TextoPainel(3), QStringLiteral("2 Registros Encontrados"));
        QVERIFY(w->Botao("FiltroEliminar")->isEnabled());
        // A value with an apostrophe filters by itself.
        IrPara(w, 1, 2);
        QCOMPARE(w->Modelo()->data(w->Modelo()->index(1, 2)).toString(), QStringLiteral("D'Ávila"));
        w->Filtar();
        QCOMPARE(Coluna(w, 2), QStringList({"D'Ávila"}));
        // A decimal comma typed by the user reads as the decimal point on a number column.
        w->Botao("FiltroEliminar")->trigger();
        QCOMPARE(w->Modelo()->rowCount(), 4);
        QVERIFY(!w->Botao("FiltroEliminar")->isEnabled());
        QCOMPARE(w->TextoPainel(3), QStringLiteral("4 Registros Encontrados"));
        IrPara(w, 0, 4);
        w->Filtar("10,5");
        QCOMPARE(w->Recordset()->Filter(), QStringLiteral("Peso = 10.5"));
        QCOMPARE(Coluna(w, 2), QStringList({"D'Ávila"}));
        QVERIFY(c.prompt.mensagens.isEmpty());
        // A value the column cannot hold: the error, and the filter stays as it was.
        w->Filtar("abc");
        QCOMPARE(c.prompt.mensagens.size(), 1);
        QVERIFY(c.prompt.ultima().titulo.startsWith("Erro: "));
        QCOMPARE(w->Recordset()->Filter(), QStringLiteral("Peso = 10.5"));
    }

    void DialogoDeFiltro()
    {
        CenarioTabela c(Extras);
        frmTabela* w = c.Editor("SELECT Nome, Cidade FROM Pessoas");
        QVERIFY(w && Rodar(w));
        IrPara(w, 2, 1);
        c.prompt.dialogos << [](QObject* d) {
            auto* f = qobject_cast<frmFiltro*>(d);
            if (!f || f->windowTitle() != "Cidade")
                return 0;
            f->txtFiltro->setText("Recife");
            f->findChild<QPushButton*>("btnCanc")->click();
            return 0;
        };
        w->PedirFiltro();
        QCOMPARE(w->Modelo()->rowCount(), 4);
        // Confirmed empty: the current cell's text.
        c.prompt.dialogos << [](QObject* d) {
            qobject_cast<frmFiltro*>(d)->findChild<QPushButton*>("btnConf")->click();
            return 1;
        };
        w->PedirFiltro();
        QCOMPARE(w->Recordset()->Filter(), QStringLiteral("Cidade = 'Olinda'"));
    }

    void OrdemRecusadaAvisa()
    {
        CenarioTabela c(Extras);
        frmTabela* w = c.Editor("SELECT Nome, Foto FROM Pessoas");
        QVERIFY(w && Rodar(w));
        w->Grid()->horizontalHeader()->sectionClicked(1);
        if (w->Recordset()->Sort().isEmpty()) {
            QCOMPARE(c.prompt.mensagens.size(), 1);
            QVERIFY(c.prompt.ultima().texto.startsWith("Não é possível ordenar pela coluna 'Foto'."));
        }
    }

    // A block of cells goes to the clipboard as tab-separated lines and comes back from the current
    // cell on; a column that does not come from the table refuses it whole.
    void CopiarEColarBloco()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor("SELECT Id, Nome, Cidade FROM Clientes ORDER BY Id");
        QVERIFY(w && Rodar(w));
        auto* sel = w->Grid()->selectionModel();
        sel->select(QItemSelection(w->Modelo()->index(0, 1), w->Modelo()->index(1, 2)),
                    QItemSelectionModel::ClearAndSelect);
        w->CopiarCelula();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Ana\tRecife\nBruno\tOlinda"));
        sel->clearSelection();
        IrPara(w, 1, 1);
        w->ColarCelula();
        QCOMPARE(Coluna(w, 1), QStringList({"Ana", "Ana", "Bruno"}));
        QCOMPARE(Coluna(w, 2), QStringList({"Recife", "Recife", "Olinda"}));
        QVERIFY(c.prompt.mensagens.isEmpty());

        frmTabela* calc = c.Editor("SELECT Id, Nome, upper(Cidade) AS U FROM Clientes ORDER BY Id");
        QVERIFY(calc && Rodar(calc));
        IrPara(calc, 0, 1);
        calc->ColarCelula();
        QCOMPARE(c.prompt.mensagens.size(), 1);
        QVERIFY2(c.prompt.ultima().texto.contains("'U'"), qPrintable(c.prompt.ultima().texto));
        QCOMPARE(Coluna(calc, 1), QStringList({"Ana", "Bruno", "Carla"}));
    }

    // The grid's own keys: Ctrl+C copies the selected block, Ctrl+V pastes it from the current
    // cell on; a right click inside the selection keeps it for the menu.
    void CopiarEColarPorTeclas()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor("SELECT Id, Nome, Cidade FROM Clientes ORDER BY Id");
        QVERIFY(w && Rodar(w));
        w->show();
        QTableView* grade = w->Grid();
        grade->setFocus();
        grade->selectionModel()->select(QItemSelection(w->Modelo()->index(0, 1), w->Modelo()->index(1, 2)),
                                        QItemSelectionModel::ClearAndSelect);
        QTest::mouseClick(grade->viewport(), Qt::RightButton, {}, grade->visualRect(w->Modelo()->index(1, 2)).center());
        QCOMPARE(grade->selectionModel()->selectedIndexes().size(), 4);
        if (QMenu* menu = w->findChild<QMenu*>("mnuTab"))
            menu->hide();
        grade->setFocus();
        QApplication::clipboard()->clear();
        QTest::keyClick(grade, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Ana\tRecife\nBruno\tOlinda"));
        grade->setCurrentIndex(w->Modelo()->index(1, 1));
        QTest::keyClick(grade, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Coluna(w, 1), QStringList({"Ana", "Ana", "Bruno"}));
        QCOMPARE(Coluna(w, 2), QStringList({"Recife", "Recife", "Olinda"}));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
    }

    void ArquivosDeScript()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor("SELECT 'ação'\r\nFROM Clientes\n");
        QVERIFY(w);
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath("a.sql");
        c.prompt.arquivos << arquivo;
        w->SalvarArquivo();
        QCOMPARE(c.prompt.dialogosArquivo.last().first, QStringLiteral("salvar"));
        QCOMPARE(c.prompt.entradasFiltro.last(), 2); // "Arquivos de SQL (*.sql)"
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(),
                 QByteArray("SELECT '\xc3\xa7\xc3\xa3o'\r\nFROM Clientes\n").replace("\xc3\xa7\xc3\xa3o", "ação"));
        f.close();
        QCOMPARE(frmTabela::UltimaPastaArquivos(), pasta.path());
        // Over an existing file: asked once; No writes nothing.
        w->Editor()->setText("outro");
        c.prompt.arquivos << arquivo;
        c.prompt.respostas << vb::No;
        w->SalvarArquivo();
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("Arquivo já existente, deseja sobrescrevê-lo ?"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("SELECT"));
        f.close();
        // Read back; then a Windows-1252 file; then an empty one keeps the text.
        c.prompt.arquivos << arquivo;
        w->AbrirArquivo();
        QCOMPARE(w->Editor()->text(), QStringLiteral("SELECT 'ação'\r\nFROM Clientes\n"));
        QFile antigo(pasta.filePath("antigo.sql"));
        QVERIFY(antigo.open(QIODevice::WriteOnly));
        antigo.write("SELECT 'a\xe7\xe3o \x80'\r\n");
        antigo.close();
        c.prompt.arquivos << antigo.fileName();
        w->AbrirArquivo();
        QCOMPARE(w->Editor()->text(), QStringLiteral("SELECT 'ação €'\r\n"));
        QFile vazio(pasta.filePath("vazio.sql"));
        QVERIFY(vazio.open(QIODevice::WriteOnly));
        vazio.close();
        c.prompt.arquivos << vazio.fileName();
        w->AbrirArquivo();
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("O arquivo está vazio, verifique."));
        QCOMPARE(w->Editor()->text(), QStringLiteral("SELECT 'ação €'\r\n"));
        // A file that cannot be read.
        c.prompt.arquivos << pasta.filePath("nao-existe.sql");
        w->AbrirArquivo();
        QVERIFY(c.prompt.ultima().texto.startsWith("Não foi possível ler o arquivo "));
    }

    void ExportarTextoIdaEVolta()
    {
        CenarioTabela c({"CREATE TABLE Textos (a TEXT, b INTEGER)",
                         "INSERT INTO Textos VALUES ('com\ttab', 1), ('com \"aspas\"', NULL), ('duas\r\nlinhas', 3)"});
        frmTabela* w = c.Editor("SELECT a, b FROM Textos");
        QVERIFY(w && Rodar(w));
        IrPara(w, 1, 0);
        QTemporaryDir pasta;
        c.prompt.arquivos << pasta.filePath("t.txt");
        QVERIFY(Exportar(w, &frmTabela::ExportarTexto));
        QCOMPARE(c.prompt.enderecosAbertos.size(), 1);
        QFile f(QUrl(c.prompt.enderecosAbertos.first()).toLocalFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const auto linhas = LerCsv(QString::fromUtf8(f.readAll()), u'\t');
        QCOMPARE(linhas,
                 QList<QStringList>({{"a", "b"}, {"com\ttab", "1"}, {"com \"aspas\"", ""}, {"duas\r\nlinhas", "3"}}));
        // A clone was exported: the grid stays where it was.
        QCOMPARE(w->Grid()->currentIndex().row(), 1);
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    // The text file holds the rows in the grid's order (an edit of the sorted column does not
    // move its row), dates as dates and time stamps with every digit; a name without an extension
    // gets ".txt", and the status bar says where the file went.
    void ExportarTextoNaOrdemDaGrade()
    {
        CenarioTabela c({"CREATE TABLE Datas (id INTEGER PRIMARY KEY, d DATE, t DATETIME)",
                         "INSERT INTO Datas VALUES (1, '2024-02-29', '2024-02-29 10:00:00.123456'), "
                         "(2, '2024-03-01', '2024-03-01 00:00:00'), (3, NULL, '2024-03-02 23:59:59')"});
        frmTabela* w = c.Editor("SELECT id, d, t FROM Datas");
        QVERIFY(w && Rodar(w));
        IrPara(w, 0, 0);
        w->OrdenarColuna("Desc");
        QVERIFY(w->Modelo()->setData(w->Modelo()->index(0, 0), "7"));
        QCOMPARE(Coluna(w, 0), QStringList({"7", "2", "1"}));
        QTemporaryDir pasta;
        c.prompt.arquivos << pasta.filePath("datas");
        QVERIFY(Exportar(w, &frmTabela::ExportarTexto));
        const QString arquivo = pasta.filePath("datas.txt");
        QCOMPARE(c.prompt.enderecosAbertos, QStringList{QUrl::fromLocalFile(arquivo).toString()});
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(LerCsv(QString::fromUtf8(f.readAll()), u'\t'),
                 QList<QStringList>({{"id", "d", "t"},
                                     {"7", "", "2024-03-02 23:59:59"},
                                     {"2", "2024-03-01", "2024-03-01 00:00:00"},
                                     {"1", "2024-02-29", "2024-02-29 10:00:00.123456"}}));
        QCOMPARE(w->TextoPainel(1), QStringLiteral("Arquivo exportado: ") + QDir::toNativeSeparators(arquivo));
        QVERIFY2(c.prompt.mensagens.isEmpty(), qPrintable(c.prompt.textos().join('|')));
    }

    void ExportarSemDadosAvisa()
    {
        CenarioTabela c;
        frmTabela* w = c.Editor("SELECT * FROM Clientes WHERE Id < 0");
        QVERIFY(w && Rodar(w));
        w->ExportarExcel();
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("Execute uma querie para preencher o grid com dados"));
        QVERIFY(c.prompt.dialogosArquivo.isEmpty());
    }

    // The spreadsheet as its XML: numbers as numbers, dates with a format, text, null as nothing,
    // binary as "(binário)", unicode; an ".xls" name becomes ".xlsx".
    void PlanilhaLidaDeVolta()
    {
        CenarioTabela c(Extras);
        frmTabela* w = c.Editor("SELECT Nome, IDADE, Peso, Foto, Nascimento FROM Pessoas ORDER BY ID");
        QVERIFY(w && Rodar(w));
        QTemporaryDir pasta;
        c.prompt.arquivos << pasta.filePath("p.xls");
        QVERIFY(Exportar(w, &frmTabela::ExportarExcel));
        QCOMPARE(c.prompt.ultima().texto, QStringLiteral("Arquivo exportado com sucesso"));
        const QString arquivo = pasta.filePath("p.xlsx");
        QVERIFY(QFile::exists(arquivo));
        const QString xml = Unzip(arquivo, "xl/worksheets/sheet1.xml");
        QVERIFY2(xml.contains("<c r=\"B2\"><v>30</v></c>") || xml.contains("<c r=\"B2\" t=\"n\"><v>30</v></c>"),
                 qPrintable(xml));
        QVERIFY2(xml.contains("<v>60.5</v>"), qPrintable(xml));
        QVERIFY2(xml.contains("D'Ávila") || xml.contains("D&apos;Ávila"), qPrintable(xml));
        QVERIFY(xml.contains("(binário)"));
        QVERIFY(xml.contains("<c r=\"E2\" s="));
        // Row 5 (Bia) has no weight: no cell C5.
        QVERIFY(!xml.contains("r=\"C5\""));
        QVERIFY(xml.contains("r=\"A5\""));
    }

    void PlanilhaContinuaEmOutraFolha()
    {
        CenarioTabela c(Extras);
        frmTabela* w = c.Editor("SELECT ID FROM Pessoas ORDER BY ID");
        QVERIFY(w && Rodar(w));
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath("duas.xlsx");
        QString erro;
        QVERIFY2(exportar::ExportarPlanilha(*w->Recordset(), arquivo, erro, {}, 3), qPrintable(erro));
        const QString um = Unzip(arquivo, "xl/worksheets/sheet1.xml");
        const QString dois = Unzip(arquivo, "xl/worksheets/sheet2.xml");
        QVERIFY(um.contains("<v>3</v>") && !um.contains("<v>4</v>"));
        QVERIFY2(dois.contains("r=\"A1\"") && dois.contains("<v>4</v>"), qPrintable(dois));
        // Stopped by the user: no file left behind.
        const QString parado = pasta.filePath("parado.xlsx");
        QVERIFY(!exportar::ExportarPlanilha(*w->Recordset(), parado, erro, [] { return false; }));
        QVERIFY(!QFile::exists(parado));
    }
};

QUARRIX_TESTE(tst_frmTabelaFiltro);
#include "tst_frmTabelaFiltro.moc"
