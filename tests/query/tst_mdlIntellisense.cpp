#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "connections/mdlCriarBanco.h"
#include "query/mdlIntellisense.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
// A shop database: two tables, a view (never offered as a table) and a name with a blank.
struct Banco {
    QTemporaryDir pasta;
    QString connStr;
    Banco()
    {
        const QString caminho = pasta.filePath("loja.db");
        QString erro;
        CriarBancoAccess(caminho, &erro);
        connStr = MontarConnStrAccess(caminho, "admin", "");
        clsAmbienteDados amb{std::unique_ptr<clsPrompt>()};
        clsData d(amb);
        if (!d.OpenConnection(connStr, true, false))
            return;
        for (const char* sql :
             {"CREATE TABLE Pedidos (Numero INTEGER PRIMARY KEY, ClienteId INTEGER)",
              "CREATE TABLE Clientes (Id INTEGER PRIMARY KEY, NomeCliente VARCHAR(80), Cidade VARCHAR(50))",
              "CREATE TABLE [Itens Pedido] (Numero INTEGER, Qtde INTEGER)",
              "CREATE VIEW vwClientes AS SELECT NomeCliente FROM Clientes"})
            d.ExecSql(QString::fromUtf8(sql), false);
        d.CloseConnection();
    }
};

QList<ItemIntellisense> Itens(const QStringList& textos, int imagem)
{
    QList<ItemIntellisense> r;
    for (const QString& t : textos)
        r.append({t, imagem});
    return r;
}
} // namespace

class tst_mdlIntellisense : public QObject {
    Q_OBJECT
    clsPromptRoteiro promptPadrao;
    clsAmbienteDados amb{promptPadrao};

private slots:
    void ItensPorPalavra_data()
    {
        QTest::addColumn<QString>("palavra");
        QTest::addColumn<bool>("listaTabelas");
        QTest::addColumn<QList<ItemIntellisense>>("itens");
        const QStringList tabelas{"Clientes", "Itens Pedido", "Pedidos"};
        const QStringList colunas{"*", "Id", "NomeCliente", "Cidade"};
        QTest::newRow("dbo lista as tabelas com imagem 0") << "dbo" << false << Itens(tabelas, 0);
        QTest::newRow("DBO em maiusculas") << "DBO" << false << Itens(tabelas, 0);
        QTest::newRow("lista de tabelas pedida com imagem 5") << "" << true << Itens(tabelas, 5);
        QTest::newRow("colunas da tabela com asterisco primeiro") << "Clientes" << false << Itens(colunas, 5);
        QTest::newRow("nome de tabela sem distinguir caixa") << "clientes" << false << Itens(colunas, 5);
        QTest::newRow("tabela com branco no nome") << "Itens Pedido" << false << Itens({"*", "Numero", "Qtde"}, 5);
        QTest::newRow("colunas de uma view") << "vwClientes" << false << Itens({"*", "NomeCliente"}, 5);
        QTest::newRow("palavra que nao e tabela") << "Fornecedores" << false << QList<ItemIntellisense>{};
        QTest::newRow("palavra vazia sem lista de tabelas") << "" << false << QList<ItemIntellisense>{};
        QTest::newRow("nome com apostrofo e colchete")
            << "x'] ; DROP TABLE Clientes" << false << QList<ItemIntellisense>{};
    }
    void ItensPorPalavra()
    {
        QFETCH(QString, palavra);
        QFETCH(bool, listaTabelas);
        QFETCH(QList<ItemIntellisense>, itens);
        Banco b;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData d(amb);
        QVERIFY(d.OpenConnection(b.connStr, false, false));
        QCOMPARE(intellisense::CarregarIntellisense(d, palavra, listaTabelas), itens);
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('|')));
        QCOMPARE(intellisense::NomesColunas(d, "Clientes").size(), 4); // nothing was dropped
    }

    void SemConexaoAbertaNadaEOferecido()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData d(amb);
        QVERIFY(!intellisense::ConexaoDireta(d));
        QVERIFY(intellisense::CarregarIntellisense(d, "dbo", false).isEmpty());
        QVERIFY(prompt.mensagens.isEmpty());
    }

    void FonteAbreUmaVezPorConnectionString()
    {
        Banco b;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsFonteIntellisense fonte(amb);
        QVERIFY(fonte.Itens("dbo", false).isEmpty()); // no connection string yet
        fonte.DefinirConnectionString(b.connStr);
        clsData* primeira = fonte.Dados();
        QVERIFY(primeira);
        QCOMPARE(fonte.Itens("Pedidos", false), Itens({"*", "Numero", "ClienteId"}, 5));
        fonte.DefinirConnectionString(b.connStr);
        QCOMPARE(fonte.Dados(), primeira); // the same string keeps its connection

        // A web-service address offers nothing and sends no call; a refused string is not
        // reported by the list (the window reports it when it runs).
        fonte.DefinirConnectionString("http://127.0.0.1:9/Servico.asmx?WSDL");
        QVERIFY(!fonte.Dados());
        fonte.DefinirConnectionString("Provider=Nenhum.1;Data Source=x");
        QVERIFY(fonte.Itens("dbo", false).isEmpty());
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('|')));
        fonte.DefinirConnectionString(b.connStr);
        QCOMPARE(fonte.Itens("dbo", false).size(), 3);
    }
};
QUARRIX_TESTE(tst_mdlIntellisense);
#include "tst_mdlIntellisense.moc"
