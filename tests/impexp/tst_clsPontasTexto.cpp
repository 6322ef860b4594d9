// Delimited text files as origin and destination: RFC 4180 quoting (quotes, separators and CR LF
// inside fields), a byte order mark, Windows-1252, the delimiter and decimal comma detected, typed
// columns, and a table that goes to a file and back unchanged.
#include "copiaTeste.h"
#include "support/registroTestes.h"

#include <QFile>

using namespace impexp;

class tst_clsPontasTexto : public QObject {
    Q_OBJECT
    QTemporaryDir pasta;
    int arquivos = 0;

    // Imports `bytes` as a CSV file into a new SQLite table and returns its rows (SQLite's quote()).
    QStringList Importar(const QByteArray& bytes, const QString& nome, QString& erro, QStringList* tipos = nullptr)
    {
        const QString csv = pasta.filePath(nome + QStringLiteral(".csv"));
        QFile f(csv);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.close();
        const QString db = pasta.filePath(nome + QStringLiteral(".db"));
        clsTransferencia t(InterpretarPonta(csv), InterpretarPonta(ConnSqlite(db)));
        if (!t.Abrir(erro))
            return {};
        ItemCopia i;
        i.origem = ObjetoBanco(csv);
        i.destino = ObjetoBanco(QStringLiteral("t"));
        const QList<ResultadoItem> r = t.Executar({i}, false);
        erro = r.value(0).erro;
        auto m = Sqlite(db);
        if (tipos)
            *tipos = Linhas(*m, QStringLiteral("SELECT name || ' ' || type FROM pragma_table_info('t')"));
        QStringList nomes = Linhas(*m,
                                   QStringLiteral("SELECT 'quote(\"' || replace(name, '\"', '\"\"') || '\")' "
                                                  "FROM pragma_table_info('t')"));
        return Linhas(*m, QStringLiteral("SELECT %1 FROM t").arg(nomes.join(QStringLiteral(", "))));
    }

private slots:
    void Importar_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("linhas");
        QTest::newRow("aspas, separador e CR LF dentro do campo")
            << QByteArray("a,b\r\n\"x,\"\"y\"\"\",\"linha1\r\nlinha2\"\r\n")
            << QStringList{"'x,\"y\"'|'linha1\r\nlinha2'"};
        QTest::newRow("BOM e LF") << QByteArray("\xEF\xBB\xBFnome\nação\n") << QStringList{QString::fromUtf8("'ação'")};
        QTest::newRow("Windows-1252") << QByteArray("nome;v\nS\xE3o Jo\xE3o \x80;1\n")
                                      << QStringList{QString::fromUtf8("'São João €'|1")};
        QTest::newRow("vazio é nulo, aspas vazias são texto")
            << QByteArray("a,b,c\n,\"\",x\n") << QStringList{"NULL|''|'x'"};
        QTest::newRow("ponto e vírgula com vírgula decimal")
            << QByteArray("id;preco;quando\n1;12,50;2024-05-01 10:20:30.123456\n2;-0,001;2024-05-01\n")
            << QStringList{"1|12.5|'2024-05-01 10:20:30.123456'", "2|-0.001|'2024-05-01'"};
        QTest::newRow("zeros à esquerda ficam texto")
            << QByteArray("cep\n01234\n98765\n") << QStringList{"'01234'", "'98765'"};
        QTest::newRow("última linha sem quebra") << QByteArray("a\tb\n1\t2") << QStringList{"1|2"};
    }
    void Importar()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, linhas);
        QString erro;
        const QStringList r = Importar(bytes, QStringLiteral("caso%1").arg(++arquivos), erro);
        QVERIFY2(erro.isEmpty(), qPrintable(erro));
        QCOMPARE(r, linhas);
    }

    void TiposDetectados()
    {
        QString erro;
        QStringList tipos;
        Importar("i,d,dt,dh,t\n1,1.5,2024-01-01,2024-01-01 10:00:00.5,a\n-20,2,2024-12-31,2024-01-02,b\n",
                 QStringLiteral("tipos"),
                 erro,
                 &tipos);
        QVERIFY2(erro.isEmpty(), qPrintable(erro));
        QCOMPARE(tipos, (QStringList{"i BIGINT", "d DECIMAL(2, 1)", "dt DATE", "dh DATETIME", "t TEXT"}));
    }

    void LinhaComCamposAMaisNaoImportaNada()
    {
        QString erro;
        const QStringList r = Importar("a,b\n1,2\n3,4,5\n", QStringLiteral("errada"), erro);
        QVERIFY2(erro.startsWith(QStringLiteral("Linha 3 do arquivo errada.csv: 3 campos")), qPrintable(erro));
        QVERIFY(r.value(0).startsWith(QStringLiteral("ERRO")));
    }

    // A table to a file and back: the same rows, value for value.
    void IdaEVoltaPorArquivo_data()
    {
        QTest::addColumn<QString>("codificacao");
        QTest::newRow("UTF-8") << "utf-8";
        QTest::newRow("Windows-1252") << "windows-1252";
    }
    void IdaEVoltaPorArquivo()
    {
        QFETCH(QString, codificacao);
        const QString origem = pasta.filePath(QStringLiteral("ida-%1.db").arg(codificacao));
        auto m
            = Sqlite(origem, QStringLiteral(R"(CREATE TABLE t (id INTEGER PRIMARY KEY, nome TEXT, valor DECIMAL(12, 4),
            quando DATETIME, dia DATE);
            INSERT INTO t VALUES (1, 'São "João", €' || char(13) || char(10) || 'x', 1234.5678, '2024-05-01 10:20:30.123456', '2024-05-01'),
            (2, '', -0.0001, '1999-12-31 23:59:59', NULL), (3, NULL, NULL, NULL, '1900-01-01'))"));
        const QString csv = pasta.filePath(QStringLiteral("t-%1.csv").arg(codificacao));
        Ponta arquivo = InterpretarPonta(csv);
        arquivo.texto.codificacao
            = codificacao == u"utf-8" ? OpcoesTexto::Codificacao::Utf8 : OpcoesTexto::Codificacao::Windows1252;
        {
            clsTransferencia t(InterpretarPonta(ConnSqlite(origem)), arquivo);
            QString erro;
            QVERIFY(t.Abrir(erro));
            ItemCopia i;
            i.origem = ObjetoBanco(QStringLiteral("t"));
            i.destino = ObjetoBanco(csv);
            const QList<ResultadoItem> r = t.Executar({i}, false);
            QVERIFY2(r.value(0).ok, qPrintable(r.value(0).erro));
        }
        const QString volta = pasta.filePath(QStringLiteral("volta-%1.db").arg(codificacao));
        clsTransferencia t(arquivo, InterpretarPonta(ConnSqlite(volta)));
        QString erro;
        QVERIFY(t.Abrir(erro));
        ItemCopia i;
        i.origem = ObjetoBanco(csv);
        i.destino = ObjetoBanco(QStringLiteral("t"));
        const QList<ResultadoItem> r = t.Executar({i}, false);
        QVERIFY2(r.value(0).ok, qPrintable(r.value(0).erro));
        QVERIFY(m->Executar(QStringLiteral("ATTACH '%1' AS v").arg(volta), nullptr, 1, nullptr));
        const QString cols = QStringLiteral("id, nome, valor, quando, dia");
        QCOMPARE(Linhas(*m, QStringLiteral("SELECT %1 FROM main.t EXCEPT SELECT %1 FROM v.t").arg(cols)),
                 QStringList());
        QCOMPARE(Linhas(*m, QStringLiteral("SELECT %1 FROM v.t EXCEPT SELECT %1 FROM main.t").arg(cols)),
                 QStringList());
    }

    // A file that exists is replaced only by the explicit action; a failed copy leaves it as it was.
    void ArquivoExistenteFica()
    {
        const QString origem = pasta.filePath(QStringLiteral("fica.db"));
        Sqlite(origem, QStringLiteral("CREATE TABLE t (v TEXT); INSERT INTO t VALUES ('Ω')"));
        const QString csv = pasta.filePath(QStringLiteral("fica.csv"));
        QFile f(csv);
        f.open(QIODevice::WriteOnly);
        f.write("v\r\nantes\r\n");
        f.close();
        const auto copiar = [&](Acao acao, OpcoesTexto::Codificacao c) {
            Ponta p = InterpretarPonta(csv);
            p.texto.codificacao = c;
            clsTransferencia t(InterpretarPonta(ConnSqlite(origem)), p);
            QString erro;
            t.Abrir(erro);
            ItemCopia i;
            i.origem = ObjetoBanco(QStringLiteral("t"));
            i.destino = ObjetoBanco(csv);
            i.acao = acao;
            return t.Executar({i}, false).value(0);
        };
        const auto conteudo = [&] {
            QFile l(csv);
            l.open(QIODevice::ReadOnly);
            return l.readAll();
        };
        QVERIFY(!copiar(Acao::Criar, OpcoesTexto::Codificacao::Utf8).ok);
        const ResultadoItem r = copiar(Acao::Acrescentar, OpcoesTexto::Codificacao::Windows1252);
        QVERIFY2(r.erro.startsWith(QStringLiteral("Linha 1: o texto tem caracteres que")), qPrintable(r.erro));
        QCOMPARE(conteudo(), QByteArray("v\r\nantes\r\n"));
        QVERIFY(copiar(Acao::Acrescentar, OpcoesTexto::Codificacao::Utf8).ok);
        QCOMPARE(conteudo(), QByteArray("v\r\nantes\r\n\xCE\xA9\r\n"));
        QVERIFY(copiar(Acao::Substituir, OpcoesTexto::Codificacao::Utf8).ok);
        QCOMPARE(conteudo(), QByteArray("v\r\n\xCE\xA9\r\n"));
    }
};
QUARRIX_TESTE(tst_clsPontasTexto);
#include "tst_clsPontasTexto.moc"
