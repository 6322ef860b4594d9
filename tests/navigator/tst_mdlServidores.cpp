#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlNavegador.h"
#include "navigator/mdlServidores.h"
#include "platform/clsServidoresRegistrados.h"
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "support/clsPromptRoteiro.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QTest>

namespace {
QString Ler(const QString& chave) { return settings::GetSetting("Servidores", chave); }
void Gravar(const QString& chave, const QString& valor) { settings::SaveSetting("Servidores", chave, valor); }

// A tree with the fixed roots and whatever the registry holds.
struct Navegador {
    clsPromptRoteiro prompt;
    clsAmbienteNavegador ambiente{prompt};
    clsArvore& arvore = ambiente.Arvore();
    Navegador() { InicializarNavegador(arvore); }
    QStringList Filhos(const char* grupo) const
    {
        QStringList r;
        for (clsNo* n = arvore.No(grupo)->Child(); n; n = n->Next())
            r << n->Text();
        return r;
    }
};
} // namespace

class tst_mdlServidores : public QObject {
    Q_OBJECT
private slots:
    void EmbaralharAbc()
    {
        QCOMPARE(Embaralhar("abc"), QString(3, QChar(134)));
        QCOMPARE(Desembaralhar(QString(3, QChar(134))), QStringLiteral("abc"));
    }

    void EmbaralharEDesembaralharSaoInversos()
    {
        // Every code 1..254 at positions well past the shift of 38, so both wraps are crossed.
        for (int posicao = 1; posicao <= 300; posicao += 37) {
            QString texto;
            for (int codigo = 1; codigo <= 254; ++codigo)
                texto += QString(posicao - 1, u'x') + QChar(codigo);
            const QString embaralhado = Embaralhar(texto);
            // Text within U+0001..U+00FF keeps the form earlier versions read, one code a character.
            QCOMPARE(embaralhado.size(), texto.size());
            QCOMPARE(Desembaralhar(embaralhado), texto);
        }
        // The "no stored password" marker keeps its stored form.
        QCOMPARE(Desembaralhar(Embaralhar("*-*-*-*")), QStringLiteral("*-*-*-*"));
    }

    void SlotsLivresEContagem()
    {
        SettingsTemporarios s;
        Gravar("Qtde", "5");
        Gravar("Tipo001", "A");
        Gravar("Path001", "/dados/Loja.db");
        Gravar("Tipo003", "W");
        Gravar("Url003", "http://srv/app/Clientes.ASMX");
        Navegador nav;
        QCOMPARE(nav.Filhos("Access"), QStringList{"Loja"});
        QCOMPARE(nav.Filhos("WebSrv"), QStringList{"Clientes"});
        QCOMPARE(nav.arvore.No("WebSrv")->Child()->Key(), QStringLiteral("dbhttpsrvappClientesASMX"));
        QCOMPARE(Ler("Qtde"), QStringLiteral("3"));
        QCOMPARE(nav.ambiente.qtdeServidores, qint16(5));
        nav.ambiente.qtdeServidores = 3; // as the next load would find it
        GravarServidor(nav.arvore, "A", "/dados/Outra.db", {}, {});
        QCOMPARE(Ler("Tipo002"), QStringLiteral("A"));
        QCOMPARE(Ler("Path002"), QStringLiteral("/dados/Outra.db"));
        QCOMPARE(Ler("Qtde"), QStringLiteral("3"));
    }

    void TodosOcupadosAcrescentaSlot()
    {
        SettingsTemporarios s;
        Gravar("Qtde", "1");
        Gravar("Tipo001", "W");
        Gravar("Url001", "http://a/b.asmx");
        Navegador nav;
        GravarServidor(nav.arvore, "C", "Meu PG", "Driver={X}", Embaralhar("dbX"));
        QCOMPARE(Ler("Qtde"), QStringLiteral("2"));
        QCOMPARE(Ler("Tipo002"), QStringLiteral("C"));
        QCOMPARE(Ler("Nome002"), QStringLiteral("Meu PG"));
        QCOMPARE(Desembaralhar(Ler("ConnStr002")), QStringLiteral("Driver={X}"));
        QCOMPARE(LocalizarServidor(nav.arvore, nav.arvore.No("dbhttpabasmx")), 1);
    }

    void ConexaoCustomizadaCarregaComSeuLinkETag()
    {
        SettingsTemporarios s;
        Gravar("Qtde", "1");
        Gravar("Tipo001", "C");
        Gravar("Nome001", "127.0.0.1 - vendas");
        Gravar("ConnStr001", Embaralhar("Provider=MSDASQL;DSN=vendas"));
        Gravar("Link001", Embaralhar("dbMSDASQL127001vendas"));
        Navegador nav;
        clsNo* no = nav.arvore.No("dbMSDASQL127001vendas");
        QVERIFY(no);
        QCOMPARE(no->Image(), 13);
        QCOMPARE(no->Tag(), QStringLiteral("Provider=MSDASQL;DSN=vendas"));
        QCOMPARE(LocalizarServidor(nav.arvore, no), 1);
    }

    void MapeamentoRepetido()
    {
        SettingsTemporarios s;
        Navegador nav;
        clsPromptRoteiro& prompt = nav.prompt;
        QVERIFY(IncluirConexaoNavegador(nav.arvore, tiporegistro::Access, "/d/Loja.db", false, {}, {}, {}, {}));
        QCOMPARE(nav.arvore.Dados().Ler("dbdLojadb", CampoNo::Caminho), QStringLiteral("/d/Loja.db"));
        nav.arvore.Selecionar(nav.arvore.No("Home"));
        QVERIFY(!IncluirConexaoNavegador(nav.arvore, tiporegistro::Access, "/d/Loja.db", false, {}, {}, {}, {}));
        QCOMPARE(prompt.ultima().texto, QStringLiteral("Essa conexão já foi incluida, verifique.\rdbdLojadb - Loja"));
        QCOMPARE(prompt.ultima().icone(), int(vb::Information));
        QCOMPARE(nav.arvore.Selecionado(), nav.arvore.No("dbdLojadb"));
    }

    void ServidoresRegistradosQuandoHaCliente_DriverFreeTds()
    {
        if (!SqlDmoDisponivel())
            QSKIP("no SQL Server ODBC driver installed");
        SettingsTemporarios s;
        Gravar("Qtde", "1");
        Gravar("Tipo001", "S");
        Gravar("Nome001", "ANTIGO");
        {
            Navegador nav;
            // With the client available the "S" slots are ignored and the first group is created.
            QVERIFY(nav.Filhos("Sql").isEmpty());
            QCOMPARE(servidoresregistrados::Grupos(), QStringList{"SQL Server Group"});
        }
        servidoresregistrados::Registrar({{}, "SRV1", "sa", "x", false});
        servidoresregistrados::Registrar({{}, "SRV2\\INST", {}, {}, true});
        Navegador nav;
        QCOMPARE(nav.Filhos("Sql"), (QStringList{"SRV1", "SRV2\\INST"}));
        QCOMPARE(nav.arvore.Dados().Ler("dbSRV2INST", CampoNo::Integrado), QStringLiteral("1"));
        QCOMPARE(nav.arvore.Dados().Ler("dbSRV1", CampoNo::Descricao), QStringLiteral("Servidor: SRV1"));
        QVERIFY(servidoresregistrados::Remover("SRV1"));
        QCOMPARE(servidoresregistrados::Servidores().size(), 1);
    }

    void DesmaparItem()
    {
        SettingsTemporarios s;
        Gravar("Qtde", "2");
        Gravar("Tipo001", "W");
        Gravar("Url001", "http://a/b.asmx");
        Gravar("Tipo002", "A");
        Gravar("Path002", "/d/Loja.db");
        Navegador nav;
        clsPromptRoteiro& prompt = nav.prompt;
        clsNo* loja = nav.arvore.No("dbdLojadb");
        nav.arvore.DefinirImagem(loja, img::AccessConectado);
        nav.arvore.DefinirTag(loja, "cs");
        IncluirNode(nav.arvore, "Tables", "dbdLojadbtab", "dbdLojadb", img::PastaTabelas, "cs");
        int fechadas = 0;
        const QList<JanelaAberta> janelas{{QString::number(loja->Index()), [&] { ++fechadas; }}};

        // Not a mapped entry.
        ::DesmaparItem(nav.arvore, nav.arvore.No("Access"), janelas);
        QCOMPARE(prompt.ultima().texto,
                 QStringLiteral("Selecione o servidor de Sql ou banco de dados Access que deseja desmapear"));
        // Refused at the confirmation: nothing changes.
        prompt.respostas << vb::No;
        ::DesmaparItem(nav.arvore, loja, janelas);
        QCOMPARE(prompt.ultima().texto, QStringLiteral("Deseja realmente desmapear este Item ?"));
        QVERIFY(nav.arvore.No("dbdLojadbtab"));
        // Refused at the windows question: still nothing.
        prompt.respostas << vb::Yes << vb::No;
        ::DesmaparItem(nav.arvore, loja, janelas);
        QCOMPARE(prompt.ultima().texto,
                 QStringLiteral("Todas as Telas Abertas Por Esta Conexão Serão Fechadas.\rDeseja Continuar ?"));
        QVERIFY(nav.arvore.No("dbdLojadbtab"));
        QCOMPARE(fechadas, 0);
        // Confirmed: the window closes, the slot goes, the node goes; "Qtde" waits for the next load.
        prompt.respostas << vb::Yes << vb::Yes;
        ::DesmaparItem(nav.arvore, loja, janelas);
        QCOMPARE(fechadas, 1);
        QVERIFY(!nav.arvore.No("dbdLojadb"));
        QVERIFY(Ler("Tipo002").isEmpty());
        QVERIFY(Ler("Path002").isEmpty());
        QCOMPARE(Ler("Qtde"), QStringLiteral("2"));
        QCOMPARE(nav.ambiente.qtdeServidores, qint16(1));
        QCOMPARE(Ler("Url001"), QStringLiteral("http://a/b.asmx"));
    }

    void DesmaparServidorSemCliente_SlotS()
    {
        SettingsTemporarios s;
        Gravar("Qtde", "1");
        Gravar("Tipo001", "S");
        Gravar("Nome001", "SRV");
        Navegador nav;
        clsPromptRoteiro& prompt = nav.prompt;
        if (nav.ambiente.sqlDmoDisponivelCarregado)
            QSKIP("the SQL Server client is installed: servers are registered, not slots");
        prompt.respostas << vb::Yes;
        ::DesmaparItem(nav.arvore, nav.arvore.No("dbSRV"), {});
        QVERIFY(!nav.arvore.No("dbSRV"));
        QVERIFY(Ler("Tipo001").isEmpty());
    }

    void NomeLogin()
    {
        SettingsTemporarios s;
        Navegador nav;
        IncluirConexaoNavegador(nav.arvore, tiporegistro::SqlServer, "SRV", false, {}, {}, {}, {});
        IncluirNode(nav.arvore, "vendas", "dbSRVvendas", "dbSRV", img::Banco);
        IncluirConexaoNavegador(nav.arvore, tiporegistro::Access, "/d/a.db", false, {}, {}, {}, {});
        QCOMPARE(::NomeLogin(nav.arvore.No("dbSRVvendas")), QStringLiteral("SRV"));
        QCOMPARE(::NomeLogin(nav.arvore.No("dbSRV")), QStringLiteral("SRV"));
        QCOMPARE(::NomeLogin(nav.arvore.No("dbdadb")), QStringLiteral("dbdadb"));
    }
};
QUARRIX_TESTE(tst_mdlServidores);
#include "tst_mdlServidores.moc"
