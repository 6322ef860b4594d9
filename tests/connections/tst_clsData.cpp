#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "platform/clsMotor.h"
#include "platform/mdlGlobais.h"
#include "support/clsPromptRoteiro.h"
#include "support/clsSqlDmoDuble.h"
#include "support/registroTestes.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace ado;

namespace {

// A file database in a temporary folder (a blank in its name), with the shop's tables.
struct BancoTeste {
    QTemporaryDir pasta;
    QString arquivo;
    QString connStr;
    BancoTeste()
    {
        arquivo = pasta.filePath("Loja Teste.mdb");
        ErroDados e;
        CriarBancoArquivo(arquivo, e);
        connStr = MontarConnStrAccess(arquivo, "Admin", "");
        clsAmbienteDados amb{std::unique_ptr<clsPrompt>()};
        clsData db(amb);
        db.OpenConnection(connStr, true, false);
        db.TransactionBegin();
        for (const char* sql : {
                 "CREATE TABLE Clientes (ClienteId INTEGER PRIMARY KEY AUTOINCREMENT, Nome VARCHAR(80) NOT NULL, "
                 "Cidade NVARCHAR(50), UF CHAR(2), Obs TEXT, Saldo DECIMAL(10, 2), Ativo BIT NOT NULL DEFAULT 1, "
                 "Cadastro DATETIME, Nascimento DATE)",
                 "CREATE UNIQUE INDEX IX_Nome ON Clientes (Nome)",
                 "CREATE INDEX IX_CidadeUF ON Clientes (Cidade, UF DESC)",
                 "CREATE TABLE Pedidos (PedidoId INTEGER, Linha INTEGER, ClienteId INTEGER REFERENCES "
                 "Clientes(ClienteId) "
                 "ON DELETE CASCADE, Valor REAL, CONSTRAINT PK_Pedidos PRIMARY KEY (PedidoId, Linha))",
                 "CREATE TABLE Anotacoes (Texto VARCHAR(20), Quando DATETIME)",
                 "CREATE VIEW vwRecife AS SELECT Nome FROM Clientes WHERE Cidade = 'Recife'",
                 "INSERT INTO Clientes (Nome, Cidade, UF, Saldo, Cadastro, Nascimento) VALUES "
                 "('Ana', 'Recife', 'PE', 10.5, '2024-01-02 10:20:30', '1990-05-06'), "
                 "('Bruno', 'Natal', 'RN', NULL, '2024-02-03 00:00:00', NULL), "
                 "('Carla', 'Recife', 'PE', 7, NULL, NULL)",
                 "INSERT INTO Pedidos VALUES (1, 1, 1, 9.5), (1, 2, 1, 3), (2, 1, 2, 4)",
                 "INSERT INTO Anotacoes VALUES ('a', '2024-01-01 08:00:00'), ('a', '2024-01-01 09:00:00')",
             })
            QVERIFY2(db.ExecSql(sql, false), qPrintable(db.ErrMsg()));
        db.TransactionCommit();
        db.CloseConnection();
    }
};

QStringList Coluna(clsRecordset& rs, const QString& campo)
{
    QStringList r;
    auto c = rs.Clone();
    for (c->MoveFirst(); !c->Eof(); c->MoveNext())
        r << c->Valor(campo).toString();
    return r;
}

// What the web-service client double answers, and the address it was last given.
struct ServicoDuble {
    QString resposta;
    bool dll = true;
    QString url;
};

// Web-service client double: answers ConnectionType from a script.
class WebDuble : public clsWebServiceDataBase {
public:
    explicit WebDuble(ServicoDuble& servico) : s(servico) {}
    ServicoDuble& s;
    QString u, e;
    QString WebServiceUrl() const override { return u; }
    void setWebServiceUrl(const QString& v) override { u = s.url = v; }
    QString ErrMsg() const override { return e; }
    void setErrMsg(const QString& v) override { e = v; }
    bool DllCheck() override
    {
        if (!s.dll)
            e = "As bibliotecas para acesso via WebService não estão instaladas.";
        return s.dll;
    }
    QString ConnectionType() override { return s.resposta; }
    bool OpenDataset(RecordsetPtr&, const QString&) override { return false; }
    bool OpenSchema(RecordsetPtr&, int, const QString&, const QString&, const QString&, const QString&) override
    {
        return false;
    }
    QVariant RetValue(const QString&) override { return {}; }
    bool ExecSql(const QString&) override { return false; }
};

} // namespace

class tst_clsData : public QObject {
    Q_OBJECT
    clsPromptRoteiro promptPadrao;
    clsAmbienteDados amb{promptPadrao};

private slots:
    void MontarConnStr()
    {
        QCOMPARE(MontarConnStrAccess("C:\\a b.mdb", "Admin", "x"),
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source= C:\\a b.mdb;User Id=Admin;"
                                "JET OLEDB:Database Password=x;Persist Security Info=True;"));
        QCOMPARE(MontarConnStrSql("SRV\\INST", "Loja", "sa", "pw", false),
                 QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;Initial Catalog=Loja;"
                                "Data Source=SRV\\INST;User ID=sa;Password=pw"));
        QCOMPARE(MontarConnStrSql("SRV", "Loja", "sa", "", false),
                 QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;Initial Catalog=Loja;"
                                "Data Source=SRV;User ID=sa"));
        QCOMPARE(MontarConnStrSql("SRV", "Loja", "sa", "pw", true),
                 QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;Initial Catalog=Loja;"
                                "Data Source=SRV;Integrated Security=SSPI"));
    }

    void AbrirArquivo()
    {
        BancoTeste b;
        clsData db(amb);
        QVERIFY(db.OpenConnection(b.connStr, true, false));
        QCOMPARE(db.ConnectionType(), 2);
        QCOMPARE(db.Provider(), QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
        QCOMPARE(db.ConnectionString(), b.connStr);
        QVERIFY(db.ActiveConnection());
        // The SQL Server management session does not exist for files.
        QVERIFY(db.OpenSqlDmoServer(false));
        QVERIFY(!db.SqlDmoServer());
        db.CloseConnection();
        QCOMPARE(db.ConnectionType(), 0);
        db.CloseConnection(); // safe twice
        clsData nunca(amb);
        nunca.CloseConnection();
        // Another file provider opens the same file with the "other provider" type.
        QVERIFY(db.OpenConnection("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + b.arquivo, true, false));
        QCOMPARE(db.ConnectionType(), 4);
        QCOMPARE(db.Provider(), QStringLiteral("Microsoft.ACE.OLEDB.12.0"));
    }

    void ArquivoJetVaiAoMdbToolsSoLeitura()
    {
        // A file that starts like a Jet database is not opened as SQLite: it goes to the MDBTools
        // driver, read-only, and a write is refused before it reaches the driver.
        QTemporaryDir pasta;
        QFile f(pasta.filePath("velho.mdb"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray conteudo = QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(8192, '\0');
        f.write(conteudo);
        f.close();
        clsData db(amb);
        QVERIFY2(db.OpenConnection(MontarConnStrAccess(f.fileName(), "Admin", ""), true, false),
                 qPrintable(db.ErrMsg()));
        QCOMPARE(db.ConnectionType(), 2);
        QVERIFY(db.ActiveConnection()->SomenteLeitura());
        QVERIFY(!db.ExecSql("DELETE FROM Clientes", false));
        QVERIFY(db.ErrMsg().contains("somente para leitura"));
        RecordsetPtr rs;
        QVERIFY(!db.OpenRecordset(rs, "UPDATE Clientes SET Nome = ''", true, true, false));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), conteudo);
    }

    void FalhaAoAbrirMostraQuandoPedido()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        const QString cs = MontarConnStrAccess("/nao/existe.mdb", "", "");
        QVERIFY(!db.OpenConnection(cs, true, false));
        QVERIFY(prompt.mensagens.isEmpty());
        QVERIFY(db.ErrMsg().startsWith("Err:-2147467259\n"));
        QVERIFY(db.ErrMsg().endsWith("\nConnStr:" + QString(cs).replace("Password=;", "Password=***;")));
        QVERIFY(!db.ActiveConnection());
        QCOMPARE(db.ConnectionType(), 0);
        QVERIFY(!db.OpenConnection("Provider=Xpto.1;Data Source=x", true, true));
        QCOMPARE(prompt.mensagens.size(), 1);
        QCOMPARE(prompt.ultima().texto, db.ErrMsg());
        QCOMPARE(prompt.ultima().icone(), int(vb::Critical));
        QCOMPARE(prompt.ultima().titulo, globais::TituloAplicativo());
        // ErrMsg is kept by later successes.
        BancoTeste b;
        QVERIFY(db.OpenConnection(b.connStr, true, false));
        QVERIFY(db.ErrMsg().contains("Xpto.1"));
    }

    void FalhaAoAbrirEscondeASenha()
    {
        clsData db(amb);
        QVERIFY(!db.OpenConnection("Provider=MSDASQL;Driver={Driver Que Nao Existe};Uid=ana;Pwd=segredo", true, false));
        QVERIFY2(!db.ErrMsg().contains("segredo"), qPrintable(db.ErrMsg()));
        QVERIFY2(db.ErrMsg().endsWith("\nConnStr:Provider=MSDASQL;Driver={Driver Que Nao Existe};Uid=ana;Pwd=***"),
                 qPrintable(db.ErrMsg()));
        QCOMPARE(db.ConnectionType(), 0);
    }

    void CaminhoWeb()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        QVERIFY(!db.OpenConnection("HTTP://servidor/Servico.asmx", true, true)); // no client installed
        QVERIFY(db.ErrMsg().startsWith("Err:"));
        QVERIFY(db.ErrMsg().endsWith("\nConnStr:HTTP://servidor/Servico.asmx"));
        ServicoDuble servico;
        amb.fabricaWebService = [&servico] { return std::make_unique<WebDuble>(servico); };
        servico.dll = true;
        servico.resposta = "SQL";
        QVERIFY(db.OpenConnection("HTTP://servidor/Servico.asmx", true, false));
        QCOMPARE(db.ConnectionType(), 16);
        QCOMPARE(db.Provider(), QStringLiteral("WebService"));
        QCOMPARE(servico.url, QStringLiteral("HTTP://servidor/Servico.asmx"));
        servico.resposta = "Sql";
        QVERIFY(db.OpenConnection("http://x/s.asmx", true, false));
        QCOMPARE(db.ConnectionType(), 8);
        servico.resposta = "";
        QVERIFY(!db.OpenConnection("http://x/s.asmx", true, false));
        QCOMPARE(db.ErrMsg().section('\n', 1, 1),
                 QStringLiteral("Não foi possivel acessar o WebService. Verifique se o endereço está correto e se sua "
                                "conexão está ativa"));
        servico.dll = false;
        prompt.respostas.enqueue(vb::Yes);
        QVERIFY(!db.OpenConnection("http://x/s.asmx", true, true));
        QCOMPARE(db.ErrMsg(), QStringLiteral("As bibliotecas para acesso via WebService não estão instaladas."));
        QCOMPARE(prompt.ultima().texto, db.ErrMsg() + "\nDeseja baixá-las agora de nosso site ?");
        QCOMPARE(prompt.ultima().botoes(), int(vb::YesNo));
        QCOMPARE(prompt.enderecosNavegador, QStringList{UrlDownloadWebService});
        clsData semCliente(amb); // a web type set by hand, with no client behind it, fails cleanly
        semCliente.setConnectionType(16);
        QVERIFY(!semCliente.ExecSql("SELECT 1", false));
        QCOMPARE(semCliente.Provider(), QStringLiteral("WebService"));
    }

    void SessaoSqlDmoLeAsPartesDaCadeia()
    {
        BancoTeste b;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        ServidorDuble servidor;
        amb.fabricaSqlDmo = servidor.Fabrica();
        clsData db(amb);
        QVERIFY(db.OpenConnection(b.connStr, true, false));
        db.setConnectionType(4);
        db.setConnectionString("Provider=SQLOLEDB.1;Persist Security Info=False;Initial Catalog=Loja;"
                               "Data Source=SRV\\X;User ID=sa;Password=a=b;data source=ignorado");
        QVERIFY(db.OpenSqlDmoServer(false));
        QVERIFY(db.SqlDmoServer());
        QCOMPARE(db.Server(), QStringLiteral("SRV\\X"));
        QCOMPARE(db.Database(), QStringLiteral("Loja"));
        QCOMPARE(db.User(), QStringLiteral("sa"));
        QCOMPARE(servidor.pedidos.last(), QStringLiteral("SRV\\X|sa|a=b|senha"));
        db.setConnectionString(MontarConnStrSql("falha", "Loja", "", "", true));
        QVERIFY(!db.OpenSqlDmoServer(false));
        QCOMPARE(servidor.pedidos.last(), QStringLiteral("falha|sa||seguro"));
        QCOMPARE(db.ErrMsg(), QStringLiteral("Err:18456\nLogin failed for user 'sa'."));
        QVERIFY(!db.SqlDmoServer());
    }

    void OpenRecordsetTiposDeTrava()
    {
        BancoTeste b;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        QVERIFY(db.OpenConnection(b.connStr));
        RecordsetPtr rs;
        QVERIFY(db.OpenRecordset(rs, "SELECT * FROM Clientes ORDER BY ClienteId"));
        QCOMPARE(rs->LockType(), int(adLockReadOnly));
        QCOMPARE(rs->RecordCount(), 3);
        QVERIFY(db.OpenRecordset(rs, "SELECT * FROM Clientes", true, false));
        QCOMPARE(rs->LockType(), int(adLockOptimistic));
        QVERIFY(db.OpenRecordset(rs, "SELECT * FROM Clientes", true, true));
        QCOMPARE(rs->LockType(), int(adLockBatchOptimistic));
        // Field types, sizes and values as the columns declare them.
        QCOMPARE(rs->Fields("ClienteId").Type(), int(adInteger));
        QCOMPARE(rs->Fields("Nome").Type(), int(adVarChar));
        QCOMPARE(rs->Fields("Nome").DefinedSize(), 80);
        QCOMPARE(rs->Fields("Cidade").Type(), int(adVarWChar));
        QCOMPARE(rs->Fields("UF").Type(), int(adChar));
        QCOMPARE(rs->Fields("Obs").Type(), int(adLongVarWChar));
        QCOMPARE(rs->Fields("Saldo").Type(), int(adNumeric));
        QCOMPARE(rs->Fields("Ativo").Type(), int(adBoolean));
        QCOMPARE(rs->Fields("Cadastro").Type(), int(adDate));
        QCOMPARE(rs->Valor("Cadastro").toDateTime(), QDateTime(QDate(2024, 1, 2), QTime(10, 20, 30)));
        QCOMPARE(rs->Valor("Saldo").toDouble(), 10.5);
        QCOMPARE(rs->Valor("Ativo").toBool(), true);
        QVERIFY(rs->Valor("Obs").isNull());
        QVERIFY(!db.OpenRecordset(rs, "SELECT * FROM NaoExiste", false, false, true));
        QVERIFY(!rs);
        QVERIFY(db.ErrMsg().startsWith("Err:1\nno such table: NaoExiste"));
        QVERIFY(db.ErrMsg().endsWith("\nQuerie:SELECT * FROM NaoExiste"));
        QCOMPARE(prompt.mensagens.size(), 1);
    }

    void RetValue()
    {
        BancoTeste b;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        db.OpenConnection(b.connStr);
        QCOMPARE(db.RetValue("SELECT Count(*) FROM Clientes").toInt(), 3);
        QVERIFY(db.RetValue("SELECT Nome FROM Clientes WHERE 1 = 0").isNull());
        QVERIFY(db.RetValue("SELECT Saldo FROM Clientes WHERE Nome = 'Bruno'").isNull());
        QVERIFY(prompt.mensagens.isEmpty());
        QVERIFY(db.RetValue("SELECT Xyz FROM Clientes").isNull());
        QCOMPARE(prompt.mensagens.size(), 1);
        QVERIFY(prompt.ultima().texto.contains("Querie:SELECT Xyz FROM Clientes"));
    }

    void ExecSql()
    {
        BancoTeste b;
        clsData db(amb);
        db.OpenConnection(b.connStr);
        RecordsetPtr rs;
        long n = -7;
        QVERIFY(db.ExecSql("UPDATE Pedidos SET Valor = Valor + 1", false, false, rs, n));
        QCOMPARE(n, 3L);
        QVERIFY(!rs);
        QVERIFY(db.ExecSql("UPDATE Pedidos SET Valor = 0 WHERE 1 = 0", false, true, rs, n));
        QCOMPARE(n, 0L);
        QVERIFY(!rs);
        // A statement that returns no rows runs once, even when rows were asked for.
        QVERIFY(db.ExecSql("INSERT INTO Anotacoes VALUES ('b', NULL)", false, true, rs, n));
        QCOMPARE(n, 1L);
        QCOMPARE(db.RetValue("SELECT Count(*) FROM Anotacoes WHERE Texto = 'b'").toInt(), 1);
        QVERIFY(db.ExecSql("SELECT * FROM Pedidos WHERE 1 = 0", false, true, rs, n));
        QVERIFY(rs && rs->State() == adStateOpen);
        QCOMPARE(rs->RecordCount(), 0);
        QCOMPARE(rs->FieldCount(), 4);
        QCOMPARE(rs->LockType(), int(adLockBatchOptimistic));
        // A batch: the rows of the first query come back, the counts of the others add up.
        QVERIFY(db.ExecSql("DELETE FROM Anotacoes WHERE Texto = 'b'; SELECT Nome FROM Clientes; "
                           "UPDATE Clientes SET UF = UF",
                           false,
                           true,
                           rs,
                           n));
        QCOMPARE(rs->RecordCount(), 3);
        QCOMPARE(n, 4L);
        QVERIFY(!db.ExecSql("INSERT INTO Clientes (Nome) VALUES ('Ana')", false, true, rs, n));
        QVERIFY(!rs);
        QCOMPARE(db.ErrMsg(),
                 QStringLiteral("Err:2067\nUNIQUE constraint failed: Clientes.Nome\n"
                                "Querie:INSERT INTO Clientes (Nome) VALUES ('Ana')"));
        clsData fechado(amb);
        QVERIFY(!fechado.ExecSql("SELECT 1", false, true, rs, n));
        QVERIFY(fechado.ErrMsg().startsWith("Err:3709\n"));
        QVERIFY(fechado.ErrMsg().endsWith("\nQuerie:SELECT 1"));
    }

    void SomenteLeitura()
    {
        BancoTeste b;
        clsData db(amb);
        QVERIFY(db.OpenConnection(b.connStr, false, false));
        QVERIFY(!db.ExecSql("DELETE FROM Pedidos", false));
        QCOMPARE(db.RetValue("SELECT Count(*) FROM Pedidos").toInt(), 3);
        RecordsetPtr rs;
        long n;
        QVERIFY(db.ExecSql("SELECT * FROM Pedidos", false, true, rs, n));
        QCOMPARE(rs->LockType(), int(adLockReadOnly));
    }

    void SchemaTabelasEViews()
    {
        BancoTeste b;
        clsData db(amb);
        db.OpenConnection(b.connStr);
        RecordsetPtr rs;
        QVERIFY(db.OpenSchema(2, rs));
        QCOMPARE(rs->Sort(), QStringLiteral("TABLE_NAME"));
        QCOMPARE(Coluna(*rs, "TABLE_NAME"),
                 (QStringList{"Anotacoes", "Clientes", "Pedidos", "sqlite_sequence", "vwRecife"}));
        QCOMPARE(Coluna(*rs, "TABLE_TYPE"), (QStringList{"TABLE", "TABLE", "TABLE", "SYSTEM TABLE", "VIEW"}));
        QVERIFY(db.OpenSchema(2, rs, "", "TABLE"));
        QCOMPARE(Coluna(*rs, "TABLE_NAME"), (QStringList{"Anotacoes", "Clientes", "Pedidos"}));
        QVERIFY(db.OpenSchema(32, rs));
        QCOMPARE(Coluna(*rs, "TABLE_NAME"), QStringList{"vwRecife"});
        QVERIFY(db.OpenSchema(32, rs, "", "", "", "vwOutra"));
        QCOMPARE(rs->RecordCount(), 0);
        // Every column of the rowset, in the OLE DB order, with its types.
        QCOMPARE(rs->FieldCount(), 9);
        QCOMPARE(rs->Fields(3).Name(), QStringLiteral("TABLE_TYPE"));
        QCOMPARE(rs->Fields("DATE_CREATED").Type(), int(adDate));
        // Unknown kinds give nothing and no error.
        QVERIFY(db.OpenSchema(3, rs));
        QVERIFY(!rs);
    }

    void SchemaColunas_data()
    {
        QTest::addColumn<QString>("coluna");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QVariant>("tamanho");
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("anulavel");
        QTest::addColumn<QVariant>("precisao");
        QTest::addColumn<QVariant>("escala");
        QTest::addColumn<QVariant>("precisaoData");
        const QVariant n;
        QTest::newRow("rowid") << "ClienteId" << 3 << n << 0x14 << false << QVariant(10) << n << n;
        QTest::newRow("varchar not null") << "Nome" << 129 << QVariant(80) << 0x4 << false << n << n << n;
        QTest::newRow("nvarchar") << "Cidade" << 130 << QVariant(50) << 100 << true << n << n << n;
        QTest::newRow("char") << "UF" << 129 << QVariant(2) << 116 << true << n << n << n;
        QTest::newRow("text") << "Obs" << 130 << QVariant(1073741823) << 230 << true << n << n << n;
        QTest::newRow("decimal") << "Saldo" << 131 << n << 0x74 << true << QVariant(10) << QVariant(2) << n;
        QTest::newRow("bit") << "Ativo" << 11 << n << 0x14 << false << n << n << n;
        QTest::newRow("datetime") << "Cadastro" << 7 << n << 0x74 << true << n << n << QVariant(3);
        QTest::newRow("date") << "Nascimento" << 7 << n << 0x74 << true << n << n << QVariant(0);
    }
    void SchemaColunas()
    {
        QFETCH(QString, coluna);
        QFETCH(int, tipo);
        QFETCH(QVariant, tamanho);
        QFETCH(int, flags);
        QFETCH(bool, anulavel);
        QFETCH(QVariant, precisao);
        QFETCH(QVariant, escala);
        QFETCH(QVariant, precisaoData);
        BancoTeste b;
        clsData db(amb);
        db.OpenConnection(b.connStr);
        RecordsetPtr rs;
        QVERIFY(db.OpenSchema(4, rs, "clientes"));
        QCOMPARE(rs->RecordCount(), 9);
        QCOMPARE(rs->Fields("DATA_TYPE").Type(), int(adUnsignedSmallInt));
        QCOMPARE(rs->Fields("COLUMN_FLAGS").Type(), int(adUnsignedInt));
        QCOMPARE(rs->Fields("IS_NULLABLE").Type(), int(adBoolean));
        QVERIFY(rs->setFilter("COLUMN_NAME = '" + coluna + "'"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Valor("TABLE_NAME").toString(), QStringLiteral("Clientes"));
        QCOMPARE(rs->Valor("DATA_TYPE").toInt(), tipo);
        QCOMPARE(rs->Valor("CHARACTER_MAXIMUM_LENGTH").toLongLong(), tamanho.toLongLong());
        QCOMPARE(rs->Valor("CHARACTER_MAXIMUM_LENGTH").isNull(), tamanho.isNull());
        QCOMPARE(rs->Valor("COLUMN_FLAGS").toInt(), flags);
        QCOMPARE(rs->Valor("IS_NULLABLE").toBool(), anulavel);
        QCOMPARE(rs->Valor("NUMERIC_PRECISION").isNull(), precisao.isNull());
        QCOMPARE(rs->Valor("NUMERIC_PRECISION").toInt(), precisao.toInt());
        QCOMPARE(rs->Valor("NUMERIC_SCALE").toInt(), escala.toInt());
        QCOMPARE(rs->Valor("DATETIME_PRECISION").isNull(), precisaoData.isNull());
        QCOMPARE(rs->Valor("DATETIME_PRECISION").toInt(), precisaoData.toInt());
    }

    void SchemaChavesEIndices()
    {
        BancoTeste b;
        clsData db(amb);
        db.OpenConnection(b.connStr);
        RecordsetPtr rs;
        QVERIFY(db.OpenSchema(8, rs, "Pedidos"));
        QCOMPARE(Coluna(*rs, "COLUMN_NAME"), (QStringList{"PedidoId", "Linha"}));
        QCOMPARE(Coluna(*rs, "ORDINAL"), (QStringList{"1", "2"}));
        QCOMPARE(Coluna(*rs, "PK_NAME"), (QStringList{"PK_Pedidos", "PK_Pedidos"}));
        QVERIFY(db.OpenSchema(16, rs, "Pedidos", "", "Clientes"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Valor("FK_TABLE_NAME").toString(), QStringLiteral("Pedidos"));
        QCOMPARE(rs->Valor("FK_COLUMN_NAME").toString(), QStringLiteral("ClienteId"));
        QCOMPARE(rs->Valor("PK_TABLE_NAME").toString(), QStringLiteral("Clientes"));
        QCOMPARE(rs->Valor("PK_COLUMN_NAME").toString(), QStringLiteral("ClienteId"));
        QCOMPARE(rs->Valor("DELETE_RULE").toString(), QStringLiteral("CASCADE"));
        QVERIFY(db.OpenSchema(16, rs, "Pedidos", "", "Anotacoes"));
        QCOMPARE(rs->RecordCount(), 0);
        QVERIFY(db.OpenSchema(512, rs, "Clientes"));
        QCOMPARE(Coluna(*rs, "INDEX_NAME"), (QStringList{"PrimaryKey", "IX_CidadeUF", "IX_CidadeUF", "IX_Nome"}));
        QCOMPARE(Coluna(*rs, "PRIMARY_KEY"), (QStringList{"true", "false", "false", "false"}));
        QCOMPARE(Coluna(*rs, "UNIQUE"), (QStringList{"true", "false", "false", "true"}));
        QCOMPARE(Coluna(*rs, "COLUMN_NAME"), (QStringList{"ClienteId", "Cidade", "UF", "Nome"}));
        QCOMPARE(Coluna(*rs, "COLLATION"), (QStringList{"1", "1", "2", "1"}));
        QVERIFY(db.OpenSchema(512, rs, "Clientes", "", "", "", true, "IX_Nome"));
        QCOMPARE(Coluna(*rs, "INDEX_NAME"), QStringList{"IX_Nome"});
        QVERIFY(db.OpenSchema(512, rs, "Pedidos"));
        QCOMPARE(Coluna(*rs, "INDEX_NAME"), (QStringList{"PK_Pedidos", "PK_Pedidos"}));
    }

    void SchemaDeServidorFalhaEmArquivo()
    {
        BancoTeste b;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        clsData db(amb);
        db.OpenConnection(b.connStr);
        RecordsetPtr rs = std::make_shared<clsRecordset>();
        QVERIFY(!db.OpenSchema(64, rs, "", "", "", "", false));
        QVERIFY(!rs);
        QCOMPARE(db.ErrMsg(), QStringLiteral("Err:1\nno such table: sysObjects"));
        QVERIFY(prompt.mensagens.isEmpty());
        // Identity questions are for servers only: no query, no message.
        QVERIFY(!db.ColumnIsIdentity("Clientes", "ClienteId"));
        QCOMPARE(db.IdentitySeed("Clientes"), 0);
        QCOMPARE(db.IdentityIncrement("Clientes"), 0);
        QVERIFY(prompt.mensagens.isEmpty());
    }

    void Transacoes()
    {
        BancoTeste b;
        clsData db(amb);
        db.OpenConnection(b.connStr);
        QVERIFY(db.TransactionBegin());
        db.ExecSql("DELETE FROM Pedidos", false);
        QVERIFY(db.TransactionRollback());
        QCOMPARE(db.RetValue("SELECT Count(*) FROM Pedidos").toInt(), 3);
        QVERIFY(db.TransactionBegin());
        db.ExecSql("DELETE FROM Pedidos WHERE PedidoId = 2", false);
        QVERIFY(db.TransactionCommit());
        QCOMPARE(db.RetValue("SELECT Count(*) FROM Pedidos").toInt(), 2);
        QVERIFY(!db.TransactionCommit());
        QVERIFY(db.ErrMsg().startsWith("Err:1\n"));
    }

    void UpdateBatchIdaEVolta()
    {
        BancoTeste b;
        clsData db(amb);
        db.OpenConnection(b.connStr);
        RecordsetPtr rs;
        long n;
        QVERIFY(db.ExecSql("SELECT * FROM Clientes ORDER BY ClienteId", false, true, rs, n));
        rs->MoveFirst();
        QVERIFY(rs->DefinirValor("Cidade", "Olinda"));
        QVERIFY(rs->DefinirValor("Saldo", 11.25));
        rs->MoveNext();
        QVERIFY(rs->Delete());
        QVERIFY(rs->AddNew());
        QVERIFY(rs->DefinirValor("Nome", "Davi O'Hara"));
        QVERIFY(rs->DefinirValor("Cadastro", QDateTime(QDate(2025, 3, 4), QTime(5, 6, 7))));
        QVERIFY(rs->Update());
        QVERIFY(rs->TemAlteracoesPendentes());
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QVERIFY(!rs->TemAlteracoesPendentes());
        QCOMPARE(rs->Valor("ClienteId").toInt(), 4); // the generated key comes back
        RecordsetPtr volta;
        QVERIFY(db.OpenRecordset(volta, "SELECT Nome, Cidade, Saldo, Cadastro FROM Clientes ORDER BY ClienteId"));
        QCOMPARE(Coluna(*volta, "Nome"), (QStringList{"Ana", "Carla", "Davi O'Hara"}));
        QCOMPARE(Coluna(*volta, "Cidade"), (QStringList{"Olinda", "Recife", ""}));
        QCOMPARE(Coluna(*volta, "Saldo"), (QStringList{"11.25", "7", ""}));
        QCOMPARE(db.RetValue("SELECT '' || Cadastro FROM Clientes WHERE ClienteId = 4").toString(),
                 QStringLiteral("2025-03-04 05:06:07"));
        // The delete cascaded to Bruno's order.
        QCOMPARE(db.RetValue("SELECT Count(*) FROM Pedidos").toInt(), 2);
    }

    void UpdateBatchFalhaNaoGravaNada()
    {
        BancoTeste b;
        clsData db(amb);
        db.OpenConnection(b.connStr);
        RecordsetPtr rs;
        long n;
        db.ExecSql("SELECT * FROM Clientes ORDER BY ClienteId", false, true, rs, n);
        rs->DefinirValor("Cidade", "Caruaru");
        rs->MoveNext();
        rs->DefinirValor("Nome", "Ana"); // violates the unique index
        QVERIFY(!rs->UpdateBatch());
        QCOMPARE(rs->Erro().numero, 2067);
        QVERIFY(rs->Erro().descricao.contains("UNIQUE"));
        QCOMPARE(db.RetValue("SELECT Cidade FROM Clientes WHERE ClienteId = 1").toString(), QStringLiteral("Recife"));
        QVERIFY(rs->TemAlteracoesPendentes());
        QVERIFY(rs->DefinirValor("Nome", "Bruna"));
        QVERIFY(rs->UpdateBatch());
        QCOMPARE(db.RetValue("SELECT Cidade FROM Clientes WHERE ClienteId = 1").toString(), QStringLiteral("Caruaru"));
        QCOMPARE(db.RetValue("SELECT Nome FROM Clientes WHERE ClienteId = 2").toString(), QStringLiteral("Bruna"));
        // A row changed by someone else meanwhile is a conflict: nothing is written.
        rs->MoveFirst();
        rs->DefinirValor("UF", "AL");
        db.ExecSql("DELETE FROM Clientes WHERE ClienteId = 1", false);
        QVERIFY(!rs->UpdateBatch());
        QCOMPARE(rs->Erro().numero, int(ErrConflito));
        // The connection gone, the rows stay pending.
        db.CloseConnection();
        QVERIFY(!rs->UpdateBatch());
        QCOMPARE(rs->Erro().numero, int(ErrSemConexao));
        QVERIFY(rs->TemAlteracoesPendentes());
    }

    void UpdateBatchSemChaveUsaValoresOriginais()
    {
        BancoTeste b;
        clsData db(amb);
        db.OpenConnection(b.connStr);
        RecordsetPtr rs;
        QVERIFY(db.OpenRecordset(rs, "SELECT * FROM Anotacoes", true, true));
        QVERIFY(rs->setFilter("Quando = #2024-01-01 09:00:00#"));
        QCOMPARE(rs->RecordCount(), 1);
        QVERIFY(rs->DefinirValor("Texto", "c"));
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(
            db.RetValue("SELECT group_concat(Texto, '') FROM (SELECT Texto FROM Anotacoes ORDER BY Quando)").toString(),
            QStringLiteral("ac"));
    }

    void OtimistaGravaAoAtualizar()
    {
        BancoTeste b;
        clsData db(amb);
        db.OpenConnection(b.connStr);
        RecordsetPtr rs;
        QVERIFY(db.OpenRecordset(rs, "SELECT ClienteId, UF FROM Clientes WHERE ClienteId = 3", true, false));
        rs->DefinirValor("UF", "PB");
        QVERIFY(rs->Update());
        QCOMPARE(db.RetValue("SELECT UF FROM Clientes WHERE ClienteId = 3").toString(), QStringLiteral("PB"));
    }

    void NomesComAspasEColchetes()
    {
        QCOMPARE(clsData::SqlView("dbo.O'Brien"),
                 QStringLiteral(
                     "SELECT sysObjects.Name As VIEW_NAME, sysComments.Text As VIEW_DEFINITION FROM sysObjects "
                     "LEFT JOIN sysComments On sysComments.id = sysObjects.id WHERE sysObjects.name = 'O''Brien'"));
        QCOMPARE(
            clsData::SqlTriggers("x' Or 1=1 --"),
            QStringLiteral("SELECT sysObjects.Name As TRIGGER_NAME FROM sysObjects WHERE sysObjects.Type = 'TR' And "
                           "sysObjects.parent_obj In (SELECT sysObjects.Id FROM sysObjects WHERE sysObjects.Name = "
                           "'x'' Or 1=1 --' And ( sysObjects.Type = 'U' Or sysObjects.Type = 'S' ))"));
        QVERIFY(clsData::SqlColumnIsIdentity("t'1", "c'2").contains("WHERE Name = 'c''2' And"));
        QVERIFY(clsData::SqlColumnIsIdentity("t'1", "c'2").endsWith("WHERE Name = 't''1') "));
        // A table whose name carries "]" and "'" still takes its rows back.
        BancoTeste b;
        clsData db(amb);
        db.OpenConnection(b.connStr);
        // (SQLite's brackets cannot hold "]": the file engine quotes with double quotes.)
        QVERIFY(db.ExecSql("CREATE TABLE \"Itens ]'x\" (Id INTEGER PRIMARY KEY, \"Desc]r\" TEXT)", false));
        RecordsetPtr rs;
        long n;
        QVERIFY(db.ExecSql("SELECT * FROM \"Itens ]'x\"", false, true, rs, n));
        rs->AddNew();
        rs->DefinirValor("Desc]r", "um");
        QVERIFY2(rs->UpdateBatch(), qPrintable(rs->Erro().descricao));
        QCOMPARE(db.RetValue("SELECT \"Desc]r\" FROM \"Itens ]'x\"").toString(), QStringLiteral("um"));
        QVERIFY(db.OpenSchema(4, rs, "Itens ]'x"));
        QCOMPARE(Coluna(*rs, "COLUMN_NAME"), (QStringList{"Id", "Desc]r"}));
    }
};
QUARRIX_TESTE(tst_clsData);
#include "tst_clsData.moc"
