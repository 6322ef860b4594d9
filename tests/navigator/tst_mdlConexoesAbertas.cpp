#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlConexoesAbertas.h"
#include "navigator/mdlNavegador.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QTest>

class tst_mdlConexoesAbertas : public QObject {
    Q_OBJECT
private slots:
    void CarregarConexoesPercorreAArvore()
    {
        clsPromptRoteiro prompt;
        clsAmbienteNavegador ambiente(prompt);
        clsArvore& arvore = ambiente.Arvore();
        // A group with two connected servers' worth of sources, and nodes that offer nothing.
        IncluirNode(arvore, "Grupo", "Grupo", {}, img::Grupo);
        clsNo* srv = IncluirNode(arvore, "SRV1", "dbSRV1", "Grupo", img::SqlServerConectado, "srv");
        IncluirNode(arvore, "Vendas", "dbSRV1Vendas", srv->Key(), img::BancoConectado, "cs-vendas");
        IncluirNode(arvore, "master", "dbSRV1master", srv->Key(), img::Banco, "cs-master");
        clsNo* vendas = arvore.No("dbSRV1Vendas");
        IncluirNode(arvore, "Tables", "dbSRV1VendasTabelas", vendas->Key(), img::PastaTabelas, "cs-vendas");
        IncluirNode(arvore, "loja.db", "dbloja", {}, img::AccessConectado, "cs-loja");
        IncluirNode(arvore, "velho.db", "dbvelho", {}, img::Access, {});
        IncluirNode(arvore, "Meu ODBC", "dbodbc", {}, img::Customizada, "cs-odbc");
        IncluirNode(arvore,
                    "servico",
                    "dbws",
                    {},
                    img::WebServiceConectado,
                    "tag-ws",
                    {},
                    {},
                    {},
                    {},
                    {},
                    "http://h/servico.asmx");
        IncluirNode(arvore, "outro", "dbws2", {}, img::WebService, {}, {}, {}, {}, {}, {}, "http://h/outro.asmx");

        const QList<EntradaConexao> lista = CarregarConexoes(arvore);
        QStringList textos, conns, servidores, bancos;
        for (const EntradaConexao& e : lista) {
            textos << e.texto;
            conns << e.connectionString;
            servidores << e.servidor;
            bancos << e.banco;
        }
        QCOMPARE(textos, (QStringList{"SRV1 / Vendas", "loja.db", "Meu ODBC", "servico"}));
        QCOMPARE(conns, (QStringList{"cs-vendas", "cs-loja", "cs-odbc", "http://h/servico.asmx"}));
        QCOMPARE(servidores, (QStringList{"SRV1", "loja.db", "", ""}));
        QCOMPARE(bancos, (QStringList{"Vendas", "", "", ""}));
        QCOMPARE(lista.at(2).textoNo, QStringLiteral("Meu ODBC"));
    }

    void TextoDaEntrada_data()
    {
        QTest::addColumn<QString>("servidor");
        QTest::addColumn<QString>("banco");
        QTest::addColumn<QString>("no");
        QTest::addColumn<QString>("texto");
        QTest::newRow("texto do no vence") << "S"
                                           << "B"
                                           << "Conexao"
                                           << "Conexao";
        QTest::newRow("servidor e banco") << "S"
                                          << "B"
                                          << ""
                                          << "S / B";
        QTest::newRow("so servidor") << "S"
                                     << ""
                                     << ""
                                     << "S";
    }
    void TextoDaEntrada()
    {
        QFETCH(QString, servidor);
        QFETCH(QString, banco);
        QFETCH(QString, no);
        QFETCH(QString, texto);
        QCOMPARE(TextoEntradaConexao(servidor, banco, no), texto);
    }
};
QUARRIX_TESTE(tst_mdlConexoesAbertas);
#include "tst_mdlConexoesAbertas.moc"
