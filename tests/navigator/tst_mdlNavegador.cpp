#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsSettings.h"
#include "support/clsPromptRoteiro.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QAbstractItemModelTester>
#include <QTest>

class tst_mdlNavegador : public QObject {
    Q_OBJECT
private slots:
    void RaizesFixasEmOrdem()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        clsAmbienteNavegador ambiente(prompt);
        clsArvore& arvore = ambiente.Arvore();
        QAbstractItemModelTester verificador(&arvore);
        InicializarNavegador(arvore);
        QCOMPARE(arvore.Raizes().size(), 1);
        clsNo* home = arvore.No("Home");
        QCOMPARE(home->Text(), QStringLiteral("Brisquell Quarrix v1.26f"));
        QCOMPARE(home->Image(), 28);
        QStringList textos, chaves;
        QList<int> imagens;
        for (clsNo* n = home->Child(); n; n = n->Next()) {
            textos << n->Text();
            chaves << n->Key();
            imagens << n->Image();
        }
        QCOMPARE(
            textos,
            (QStringList{"SQL Server", "Web Services", "Microsoft Access", "Customizaveis", "Ferramentas On Line"}));
        QCOMPARE(chaves, (QStringList{"Sql", "WebSrv", "Access", "Outros", "OnLine"}));
        QCOMPARE(imagens, (QList<int>{1, 1, 1, 1, 29}));
        clsNo* online = arvore.No("OnLine");
        QCOMPARE(online->Children(), 3);
        QCOMPARE(online->Child()->Key(), QStringLiteral("HomePage"));
        QCOMPARE(online->Child()->Image(), 30);
        QCOMPARE(arvore.No("Downloads")->Image(), 31);
        QCOMPARE(arvore.No("Forum")->Image(), 32);
        QVERIFY(arvore.No("Home")->Tag().isEmpty());
    }

    void InicializarCarregaAsConexoesMapeadas()
    {
        SettingsTemporarios s;
        settings::SaveSetting("Servidores", "Qtde", "1");
        settings::SaveSetting("Servidores", "Tipo001", "A");
        settings::SaveSetting("Servidores", "Path001", "/dados/Loja.db");
        clsPromptRoteiro prompt;
        clsAmbienteNavegador ambiente(prompt);
        clsArvore& arvore = ambiente.Arvore();
        InicializarNavegador(arvore);
        QCOMPARE(arvore.No("Access")->Child()->Text(), QStringLiteral("Loja"));
    }

    void ChaveRepetidaPerguntaEAcrescenta2()
    {
        clsPromptRoteiro prompt;
        clsAmbienteNavegador ambiente(prompt);
        clsArvore& arvore = ambiente.Arvore();
        IncluirNode(arvore, "srv", "dbsrv", {}, img::SqlServer);
        IncluirNode(arvore, "srv", "dbsrv2", {}, img::SqlServer);
        prompt.respostas << vb::Yes << vb::Yes;
        clsNo* no = IncluirNode(arvore, "s.r.v", "dbsrv", {}, img::SqlServer, "tag", "desc");
        QVERIFY(no);
        QCOMPARE(no->Key(), QStringLiteral("dbsrv22"));
        QCOMPARE(no->Tag(), QStringLiteral("tag"));
        QCOMPARE(arvore.Dados().Ler("dbsrv22", CampoNo::Descricao), QStringLiteral("desc"));
        QCOMPARE(prompt.mensagens.size(), 2);
        QCOMPARE(prompt.mensagens[0].texto,
                 QStringLiteral("s.r.v\rdbsrv\rKey is not unique in collection\r"
                                "Deseja incluir com outro nome ?"));
        QCOMPARE(prompt.mensagens[1].texto.section(u'\r', 1, 1), QStringLiteral("dbsrv2"));
        QCOMPARE(prompt.mensagens[0].estilo, vb::YesNo | vb::Question);
        QCOMPARE(prompt.mensagens[0].titulo, QStringLiteral("Quarrix v1.26f"));
    }

    void ChaveRepetidaRecusadaNaoIncluiNada()
    {
        clsPromptRoteiro prompt;
        clsAmbienteNavegador ambiente(prompt);
        clsArvore& arvore = ambiente.Arvore();
        IncluirNode(arvore, "a", "k", {}, 5, {}, "primeiro");
        prompt.respostas << vb::No;
        QVERIFY(!IncluirNode(arvore, "b", "k", {}, 5, {}, "segundo"));
        QCOMPARE(arvore.Count(), 1);
        QCOMPARE(arvore.Dados().Ler("k", CampoNo::Descricao), QStringLiteral("primeiro"));
    }

    void DadosLidosSemCaixaGravadosComChaveExata()
    {
        clsPromptRoteiro prompt;
        clsAmbienteNavegador ambiente(prompt);
        clsArvore& arvore = ambiente.Arvore();
        IncluirNode(arvore, "Srv", "dbSrv", {}, 3, {}, "d", "sa", "x", "0");
        QCOMPARE(arvore.Dados().Ler("DBSRV", CampoNo::Usuario), QStringLiteral("sa"));
        arvore.Dados().Gravar("DBSRV", CampoNo::Usuario, "outro");
        QCOMPARE(arvore.Dados().Ler("dbSrv", CampoNo::Usuario), QStringLiteral("sa"));
        arvore.Dados().Gravar("dbSrv", CampoNo::Senha, "");
        QCOMPARE(arvore.Dados().Ler("dbsrv", CampoNo::Senha), QString());
        QCOMPARE(arvore.Dados().Ler("nenhum", CampoNo::Usuario), QString());
    }

    void RemoverMantemDadosEReincluirSobrescreve()
    {
        clsPromptRoteiro prompt;
        clsAmbienteNavegador ambiente(prompt);
        clsArvore& arvore = ambiente.Arvore();
        clsNo* no = IncluirNode(arvore, "a", "db1", {}, 5, {}, "velho", "u1");
        IncluirNode(arvore, "t", "db1tab", "db1", img::PastaTabelas, "cs");
        arvore.Remover(no);
        QVERIFY(!arvore.No("db1"));
        QVERIFY(!arvore.No("db1tab"));
        QCOMPARE(arvore.Dados().Ler("db1", CampoNo::Usuario), QStringLiteral("u1"));
        IncluirNode(arvore, "a", "db1", {}, 5, {}, "novo");
        QCOMPARE(arvore.Dados().Ler("db1", CampoNo::Descricao), QStringLiteral("novo"));
        QCOMPARE(arvore.Dados().Ler("db1", CampoNo::Usuario), QString());
        QCOMPARE(arvore.Dados().Todos().size(), 2);
    }

    void IndicesEstaveisEIrmaosDepoisDeRemover()
    {
        clsPromptRoteiro prompt;
        clsAmbienteNavegador ambiente(prompt);
        clsArvore& arvore = ambiente.Arvore();
        QAbstractItemModelTester verificador(&arvore);
        IncluirNode(arvore, "r", "r", {}, 1);
        clsNo* a = IncluirNode(arvore, "a", "a", "r", 11);
        clsNo* b = IncluirNode(arvore, "b", "b", "r", 11);
        clsNo* c = IncluirNode(arvore, "c", "c", "r", 11);
        const int indiceC = c->Index();
        arvore.Remover(b);
        QCOMPARE(a->Next(), c);
        QCOMPARE(c->Next(), nullptr);
        QCOMPARE(arvore.NoPorIndice(indiceC), c);
        QCOMPARE(arvore.IndiceModelo(c).row(), 1);
        clsNo* d = IncluirNode(arvore, "d", "d", "r", 11);
        QVERIFY(d->Index() > indiceC);
        arvore.RemoverFilhos(arvore.No("r"));
        QCOMPARE(arvore.No("r")->Children(), 0);
        QCOMPARE(arvore.Count(), 1);
        QVERIFY(!arvore.NoPorIndice(indiceC));
    }

    void TextoNoWebService_data()
    {
        QTest::addColumn<QString>("endereco");
        QTest::addColumn<QString>("texto");
        QTest::newRow("pasta e asmx") << "http://host/app/dados/Service.asmx?wsdl"
                                      << "Service";
        QTest::newRow("asmx em maiusculas") << "https://h:8080/x/WebData.ASMX"
                                            << "WebData";
        QTest::newRow("sem asmx") << "http://host/app/servico"
                                  << "servico";
        QTest::newRow("sem esquema") << "host/a/b.asmx"
                                     << "b";
        QTest::newRow("so o host") << "http://host"
                                   << "host";
    }
    void TextoNoWebService()
    {
        QFETCH(QString, endereco);
        QFETCH(QString, texto);
        QCOMPARE(::TextoNoWebService(endereco), texto);
    }

    void ChaveFonteTiraSeparadores()
    {
        QCOMPARE(ChaveFonte("/home/ana/Meus Dados/loja.db"), QStringLiteral("dbhomeanaMeusDadoslojadb"));
        QCOMPARE(ChaveFonte("SRV\\INST:1433"), QStringLiteral("dbSRVINST1433"));
    }
};
QUARRIX_TESTE(tst_mdlNavegador);
#include "tst_mdlNavegador.moc"
