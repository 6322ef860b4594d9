#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "connections/mdlCriarBanco.h"
#include "query/mdlCodeSensLang.h"
#include "query/uctEditorSql.h"
#include "query/uctEditorSqlLexer.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QApplication>
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Banco {
    QTemporaryDir pasta;
    QString connStr;
    Banco()
    {
        QString erro;
        CriarBancoAccess(pasta.filePath("loja.db"), &erro);
        connStr = MontarConnStrAccess(pasta.filePath("loja.db"), "admin", "");
        clsAmbienteDados amb{std::unique_ptr<clsPrompt>()};
        clsData d(amb);
        if (!d.OpenConnection(connStr, true, false))
            return;
        d.ExecSql("CREATE TABLE Clientes (Id INTEGER PRIMARY KEY, NomeCliente VARCHAR(80), Cidade VARCHAR(50))", false);
        d.ExecSql("CREATE TABLE Pedidos (Numero INTEGER PRIMARY KEY, ClienteId INTEGER)", false);
        d.CloseConnection();
    }
};

// An editor on the shop database, shown (the completion list needs a window), with the dot list on.
struct Editor {
    Banco banco;
    clsPromptRoteiro prompt;
    clsAmbienteDados ambiente{prompt};
    uctEditorSql ed{ambiente};
    explicit Editor(bool intellisense = true)
    {
        ed.resize(640, 260);
        ed.DefinirConnectionString(banco.connStr);
        ed.DefinirIntellisenseLista(intellisense);
        ed.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ed));
        ed.setFocus();
    }
    QStringList Textos() const
    {
        QStringList r;
        for (const auto& i : ed.ItensLista())
            r << i.texto;
        return r;
    }
    QList<int> Imagens() const
    {
        QList<int> r;
        for (const auto& i : ed.ItensLista())
            r << i.imagem;
        return r;
    }
    void CtrlEspaco() { QTest::keyClick(&ed, Qt::Key_Space, Qt::ControlModifier); }
};

int EstiloEm(uctEditorSql& ed, const QString& trecho, int vez = 1)
{
    const QByteArray texto = ed.text().toUtf8();
    qsizetype pos = -1;
    for (int i = 0; i < vez; ++i)
        pos = texto.indexOf(trecho.toUtf8(), pos + 1);
    return pos < 0 ? -1 : int(ed.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(pos)));
}

// The editor and its open list popup in one picture.
void CapturarComLista(uctEditorSql& ed, const QString& nome)
{
    QImage imagem = ed.grab().toImage();
    QPainter p(&imagem);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != &ed && w->isVisible() && w->findChild<QListWidget*>() == nullptr && !qobject_cast<QListWidget*>(w))
            continue;
        if (w != &ed && w->isVisible())
            p.drawPixmap(ed.mapFromGlobal(w->mapToGlobal(QPoint(0, 0))), w->grab());
    }
    p.end();
    const QString pasta = qEnvironmentVariable("QUARRIX_CAPTURAS");
    if (!pasta.isEmpty()) {
        QDir().mkpath(pasta);
        imagem.save(pasta + u'/' + nome + QStringLiteral(".png"));
    }
}
} // namespace

class tst_uctEditorSql : public QObject {
    Q_OBJECT
    clsPromptRoteiro promptPadrao;
    clsAmbienteDados amb{promptPadrao};

private slots:
    void ListasDaLinguagem()
    {
        QCOMPARE(codesens::ListaPalavrasChave().size(), 79);
        QCOMPARE(codesens::ListaFuncoes().size(), 21);
        QCOMPARE(codesens::ListaOperadores().size(), 5);
        QCOMPARE(codesens::ListaTiposDados().size(), 28);
        QCOMPARE(codesens::ListaPalavrasChave().first(), QStringLiteral("SELECT"));
        QCOMPARE(codesens::ListaPalavrasChave().last(), QStringLiteral("Deallocate"));
        QCOMPARE(codesens::TextoLista(codesens::ListaOperadores()), QStringLiteral("=\n<>\n>=\n<=\nLike"));
    }

    void ColoreOTexto_data()
    {
        QTest::addColumn<QString>("trecho");
        QTest::addColumn<int>("vez");
        QTest::addColumn<int>("estilo");
        QTest::newRow("palavra-chave minuscula") << "select" << 1 << int(codesens::PalavraChave);
        QTest::newRow("palavra-chave mista") << "From" << 1 << int(codesens::PalavraChave);
        QTest::newRow("duas palavras") << " BY" << 1 << int(codesens::PalavraChave);
        QTest::newRow("ORDER sozinho nao") << "ORDER" << 2 << int(codesens::Padrao);
        QTest::newRow("funcao") << "count" << 1 << int(codesens::Funcao);
        QTest::newRow("LEFT JOIN e palavra-chave") << "LEFT" << 1 << int(codesens::PalavraChave);
        QTest::newRow("Left funcao") << "Left(" << 1 << int(codesens::Funcao);
        QTest::newRow("tipo") << "varchar" << 1 << int(codesens::TipoDado);
        QTest::newRow("operador simbolo") << "<>" << 1 << int(codesens::Operador);
        QTest::newRow("operador palavra") << "LIKE" << 1 << int(codesens::Operador);
        QTest::newRow("nome") << "Nome" << 1 << int(codesens::Padrao);
        QTest::newRow("literal") << "'a -- b'" << 1 << int(codesens::Texto);
        QTest::newRow("literal com escape") << "x\\' FROM" << 1 << int(codesens::Texto);
        QTest::newRow("comentario de linha") << "-- from" << 1 << int(codesens::Comentario);
        QTest::newRow("fim da linha comentada") << "where fim" << 1 << int(codesens::Comentario);
        QTest::newRow("comentario de bloco na linha seguinte") << "Select dentro" << 1 << int(codesens::Comentario);
        QTest::newRow("depois do bloco") << "GROUP" << 1 << int(codesens::PalavraChave);
        QTest::newRow("nome entre colchetes") << "Select]" << 1 << int(codesens::Padrao);
        QTest::newRow("variavel") << "@Begin" << 1 << int(codesens::Padrao);
    }
    void ColoreOTexto()
    {
        QFETCH(QString, trecho);
        QFETCH(int, vez);
        QFETCH(int, estilo);
        uctEditorSql ed(amb);
        ed.setText("select Nome, count(*) From t LEFT JOIN u ON Left(a, 2) = b -- from where fim\r\n"
                   "/* comentario\r\nSelect dentro */ GROUP BY x ORDER BY y; ORDER\r\n"
                   "WHERE c <> 'a -- b' AND d LIKE 'x\\' FROM' AND CAST(e AS varchar) = [Select] + @Begin");
        ed.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
        QCOMPARE(EstiloEm(ed, trecho, vez), estilo);
    }

    // Styling resumes at the edited line with the state the line before it ended in.
    void ComentarioDeBlocoAcompanhaAsEdicoes()
    {
        uctEditorSql ed(amb);
        // From the edited line on, as the editor asks while it paints.
        auto colorir = [&](int linha = 0) {
            ed.SendScintilla(QsciScintillaBase::SCI_COLOURISE,
                             static_cast<unsigned long>(ed.positionFromLineIndex(linha, 0)),
                             -1L);
        };
        ed.setText("SELECT 1\r\n/* a\r\nFROM b\r\nSELECT */ WHERE");
        colorir();
        QCOMPARE(EstiloEm(ed, "FROM"), int(codesens::Comentario));
        QCOMPARE(EstiloEm(ed, "WHERE"), int(codesens::PalavraChave));
        ed.insertAt("x", 3, 0);
        colorir(3);
        QCOMPARE(EstiloEm(ed, "xSELECT"), int(codesens::Comentario));
        QCOMPARE(EstiloEm(ed, "WHERE"), int(codesens::PalavraChave));
        ed.setSelection(1, 0, 1, 2);
        ed.removeSelectedText();
        colorir(1);
        QCOMPARE(EstiloEm(ed, "FROM"), int(codesens::PalavraChave));
        QCOMPARE(EstiloEm(ed, "*/"), int(codesens::Padrao));
    }

    void ConfiguracaoDoEditor()
    {
        uctEditorSql ed(amb);
        QCOMPARE(ed.tabWidth(), 3);
        QCOMPARE(QString(ed.lexer()->language()), QStringLiteral("KeshSql"));
        QCOMPARE(ed.lexer()->color(codesens::PalavraChave), QColor(0, 0, 180));
        QCOMPARE(ed.lexer()->color(codesens::Funcao), QColor(128, 0, 128));
        QCOMPARE(ed.lexer()->color(codesens::Operador), QColor(150, 150, 150));
        QCOMPARE(ed.lexer()->color(codesens::TipoDado), QColor(214, 128, 51));
        QCOMPARE(ed.lexer()->color(codesens::Texto), QColor(180, 0, 0));
        const long fundo = ed.SendScintilla(QsciScintillaBase::SCI_STYLEGETBACK,
                                            static_cast<unsigned long>(QsciScintillaBase::STYLE_LINENUMBER));
        QCOMPARE(fundo, 0xF0F0F0L);
        ed.setText("SELECT 1");
        ed.setCursorPosition(0, 8);
        QTest::keyClick(&ed, Qt::Key_Return);
        QCOMPARE(ed.text(), QStringLiteral("SELECT 1\r\n"));
    }

    void PontoDepoisDeTabelaListaColunas()
    {
        Editor e;
        QTest::keyClicks(&e.ed, "SELECT Clientes.");
        QVERIFY(e.ed.isListActive());
        QVERIFY(e.ed.ListaAberta());
        QCOMPARE(e.ed.PalavraAtual(), QStringLiteral("Clientes"));
        QCOMPARE(e.Textos(), (QStringList{"*", "Id", "NomeCliente", "Cidade"}));
        QCOMPARE(e.Imagens(), (QList<int>{5, 5, 5, 5}));
        CapturarComLista(e.ed, "uctEditorSql_colunas");
        // Two letters typed, then the column chosen: the letters give way to the name.
        QTest::keyClicks(&e.ed, "No");
        QTest::keyClick(&e.ed, Qt::Key_Return);
        QCOMPARE(e.ed.text(), QStringLiteral("SELECT Clientes.NomeCliente"));
        QVERIFY(!e.ed.ListaAberta());
        QVERIFY(e.ed.ItemPendente().isEmpty());
        int linha, coluna;
        e.ed.getCursorPosition(&linha, &coluna);
        QCOMPARE(coluna, 27);
    }

    void PontoDepoisDeDboListaTabelas()
    {
        Editor e;
        e.ed.setText("-- Pedidos por cliente\r\n"
                     "SELECT c.NomeCliente, Count(*) AS Qtde, Convert(VarChar(10), p.Numero) /* texto */\r\n"
                     "\r\n"
                     "WHERE c.Cidade LIKE 'S%' AND p.Numero <> 0\r\n"
                     "ORDER BY c.NomeCliente\r\n");
        e.ed.setCursorPosition(2, 0);
        QTest::keyClicks(&e.ed, "  FROM dbo.");
        QVERIFY(e.ed.isListActive());
        CapturarComLista(e.ed, "uctEditorSql_tabelas");
        QCOMPARE(e.Textos(), (QStringList{"Clientes", "Pedidos"}));
        QCOMPARE(e.Imagens(), (QList<int>{0, 0}));
    }

    // A dot while the list is open takes the highlighted table and lists its columns.
    void PontoComListaAbertaCompletaEListaDeNovo()
    {
        Editor e;
        QTest::keyClicks(&e.ed, "SELECT dbo.");
        QTest::keyClicks(&e.ed, "Pe");
        QVERIFY(e.ed.isListActive());
        QTest::keyClicks(&e.ed, ".");
        QCOMPARE(e.ed.text(), QStringLiteral("SELECT dbo.Pedidos."));
        QVERIFY(e.ed.isListActive());
        QCOMPARE(e.Textos(), (QStringList{"*", "Numero", "ClienteId"}));
        QTest::keyClick(&e.ed, Qt::Key_Tab);
        QCOMPARE(e.ed.text(), QStringLiteral("SELECT dbo.Pedidos.*"));
    }

    void PontoSemTabelaOuSemOpcaoNaoAbreLista()
    {
        Editor e;
        QTest::keyClicks(&e.ed, "SELECT Fornecedores.");
        QVERIFY(!e.ed.isListActive());
        QVERIFY(!e.ed.ListaAberta());
        Editor desligado(false);
        QTest::keyClicks(&desligado.ed, "SELECT Clientes.");
        QVERIFY(!desligado.ed.isListActive());
        QVERIFY(desligado.ed.ItensLista().isEmpty());
    }

    void CtrlEspacoListaTabelasSoForaDePalavra()
    {
        Editor e(false);
        QTest::keyClicks(&e.ed, "SELECT * FROM ");
        e.CtrlEspaco();
        QVERIFY(e.ed.isListActive());
        QCOMPARE(e.Textos(), (QStringList{"Clientes", "Pedidos"}));
        QCOMPARE(e.Imagens(), (QList<int>{5, 5}));
        QCOMPARE(e.ed.text(), QStringLiteral("SELECT * FROM ")); // no blank written
        QTest::keyClick(&e.ed, Qt::Key_Escape);
        QVERIFY(!e.ed.ListaAberta());
        QVERIFY(e.ed.ItemPendente().isEmpty());

        e.ed.setText("SELECT * FROM Clientes");
        e.ed.setCursorPosition(0, 17);
        e.CtrlEspaco();
        QVERIFY(!e.ed.isListActive());
        QCOMPARE(e.ed.text(), QStringLiteral("SELECT * FROM Clientes"));
    }

    void NomeQuePedeCitacaoEntraCitado()
    {
        // A name that would not read back bare goes in quoted as the engine reads it, and its
        // columns are listed after the quoted name and a dot.
        Editor e;
        {
            clsAmbienteDados amb{std::unique_ptr<clsPrompt>()};
            clsData d(amb);
            QVERIFY(d.OpenConnection(e.banco.connStr, true, false));
            QVERIFY(d.ExecSql("CREATE TABLE \"Nome]Estranho'x\" (\"Cod Item\" INTEGER, Valor REAL)", false));
        }
        QTest::keyClicks(&e.ed, "SELECT * FROM ");
        e.CtrlEspaco();
        QVERIFY(e.Textos().contains("Nome]Estranho'x"));
        QTest::keyClicks(&e.ed, "Nome");
        QTest::keyClick(&e.ed, Qt::Key_Tab);
        QCOMPARE(e.ed.text(), QStringLiteral("SELECT * FROM \"Nome]Estranho'x\""));
        QTest::keyClicks(&e.ed, " WHERE \"Nome]Estranho'x\".");
        QCOMPARE(e.Textos(), (QStringList{"*", "Cod Item", "Valor"}));
        QTest::keyClicks(&e.ed, "Cod");
        QTest::keyClick(&e.ed, Qt::Key_Tab);
        QVERIFY2(e.ed.text().endsWith("\"Nome]Estranho'x\".\"Cod Item\""), qPrintable(e.ed.text()));
    }

    void InserirItemListaSubstituiODigitado()
    {
        Editor e;
        QTest::keyClicks(&e.ed, "x = Clientes.");
        QTest::keyClicks(&e.ed, "Cid");
        QCOMPARE(e.ed.ItemPendente(), QStringLiteral("Cidade"));
        QTest::keyClick(&e.ed, Qt::Key_Escape);
        e.ed.InserirItemLista(); // cancelled: nothing pending, nothing happens
        QCOMPARE(e.ed.text(), QStringLiteral("x = Clientes.Cid"));
        // Back over the dot and a new one: the list opens again; Tab writes the item over "Id".
        QTest::keyClicks(&e.ed, "\b\b\b\b.");
        QVERIFY(e.ed.isListActive());
        QCOMPARE(e.ed.ColunaInicio(), 13);
        QTest::keyClicks(&e.ed, "id");
        QTest::keyClick(&e.ed, Qt::Key_Tab);
        QCOMPARE(e.ed.text(), QStringLiteral("x = Clientes.Id"));
    }
};
QUARRIX_TESTE(tst_uctEditorSql);
#include "tst_uctEditorSql.moc"
