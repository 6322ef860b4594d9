#include "gabarito.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"
#include "webservice/frmWebServiceGen.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString connAccessInicial
    = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=F:\\YourSitePath\\WebData\\WebData.mdb;"
                     "Persist Security Info=False");

template <typename T> T* Controle(QWidget& janela, const char* nome)
{
    T* w = janela.findChild<T*>(QLatin1String(nome));
    if (!w)
        qFatal("control %s missing", nome);
    return w;
}

QLineEdit* Caixa(QWidget& j, const char* nome) { return Controle<QLineEdit>(j, nome); }

QStringList LinhasDoArquivo(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray tudo = f.readAll();
    if (!tudo.endsWith("\r\n"))
        return {QStringLiteral("<file does not end with CR LF>")};
    QStringList linhas = QString::fromLatin1(tudo.chopped(2)).split(QStringLiteral("\r\n"));
    return linhas;
}

// Clicks an option on its mark (the button is wider than the part that answers to the mouse).
void Escolher(QWidget& j, const char* nome)
{
    auto* opt = Controle<QRadioButton>(j, nome);
    QTest::mouseClick(opt, Qt::LeftButton, {}, QPoint(6, opt->height() / 2));
}

// The scripted prompt, also keeping what the save dialog was shown with.
struct PromptComDialogo : clsPromptRoteiro {
    QStringList pedidosArquivo;
    QString ArquivoSalvar(const QString& titulo, const QString& pasta, const QString& filtro, int entrada) override
    {
        pedidosArquivo << titulo + QStringLiteral(" | ") + filtro;
        return clsPromptRoteiro::ArquivoSalvar(titulo, pasta, filtro, entrada);
    }
};

const char* caixasSql[] = {"txtConSqlServer", "txtConSqlDatabase", "txtConSqlUser", "txtConSqlPass"};

} // namespace

class tst_frmWebServiceGen : public QObject {
    Q_OBJECT
private slots:
    void TextosIniciais()
    {
        clsPromptRoteiro prompt;
        frmWebServiceGen j(prompt);
        QCOMPARE(j.windowTitle(), QStringLiteral("AspNet WebService Generator"));
        QCOMPARE(Caixa(j, "txtClassName")->text(), QStringLiteral("WebData"));
        QVERIFY(Caixa(j, "txtHttpPath")->text().startsWith(QStringLiteral("http://")));
        QVERIFY(Caixa(j, "txtHttpPath")->text().endsWith(QStringLiteral("/WebData")));
        QCOMPARE(Caixa(j, "txtConAccess")->text(), QStringLiteral("F:\\YourSitePath\\WebData\\WebData.mdb"));
        QCOMPARE(Caixa(j, "txtConnectionString")->text(), connAccessInicial);
        QVERIFY(Controle<QRadioButton>(j, "optConAccess")->isChecked());
        QCOMPARE(Controle<QRadioButton>(j, "optConAccess")->text(), QStringLiteral("Access "));
        QCOMPARE(Controle<QRadioButton>(j, "optConSql")->text(), QStringLiteral("SQL Server"));
        QCOMPARE(Controle<QPushButton>(j, "btnGenerate")->text(), QStringLiteral("Generate"));
        const QList<std::pair<const char*, const char*>> rotulos{
            {"lblClassName", "Class Name"},
            {"lblHttpPath", "HTTP Path for the Web Service"},
            {"lblConAccess", "Remote path for the mdb file"},
            {"lblConSqlServer", "Server"},
            {"lblConSqlDatabase", "Database"},
            {"lblConSqlUser", "User"},
            {"lblConSqlPass", "Pass"},
            {"lblConnectionString", "Remote path for the mdb file"}};
        for (const auto& [nome, texto] : rotulos)
            QCOMPARE(Controle<QLabel>(j, nome)->text(), QString::fromUtf8(texto));
        for (const char* fra : {"fraPrincipal", "fraConAccess", "fraConSql", "fraConnectionString"})
            Controle<QGroupBox>(j, fra);
        for (const char* nome : caixasSql)
            QVERIFY(Caixa(j, nome)->text().isEmpty());
    }

    void HabilitacaoPorTipo()
    {
        clsPromptRoteiro prompt;
        frmWebServiceGen j(prompt);
        j.show();
        const QPalette sistema = QApplication::palette();
        auto conferir = [&](bool access) {
            QCOMPARE(Caixa(j, "txtConAccess")->isEnabled(), access);
            QCOMPARE(Caixa(j, "txtConAccess")->palette().color(QPalette::Base),
                     sistema.color(access ? QPalette::Base : QPalette::Button));
            for (const char* nome : caixasSql) {
                QCOMPARE(Caixa(j, nome)->isEnabled(), !access);
                QCOMPARE(Caixa(j, nome)->palette().color(QPalette::Base),
                         sistema.color(access ? QPalette::Button : QPalette::Base));
            }
        };
        conferir(true);
        Escolher(j, "optConSql");
        conferir(false);
        // Empty boxes still give every part, the password included.
        QCOMPARE(Caixa(j, "txtConnectionString")->text(),
                 QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;Data Source=;Initial Catalog=;"
                                "User ID=;Password="));
        Escolher(j, "optConAccess");
        conferir(true);
        QCOMPARE(Caixa(j, "txtConnectionString")->text(), connAccessInicial);
    }

    void ConnectionStringSegueADigitacao()
    {
        clsPromptRoteiro prompt;
        frmWebServiceGen j(prompt);
        j.show();
        QLineEdit* acc = Caixa(j, "txtConAccess");
        acc->clear();
        QTest::keyClicks(acc, QStringLiteral("D:\\web\\a.mdb"));
        QCOMPARE(
            Caixa(j, "txtConnectionString")->text(),
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\web\\a.mdb;Persist Security Info=False"));

        Escolher(j, "optConSql");
        QTest::keyClicks(Caixa(j, "txtConSqlServer"), QStringLiteral("SRV01"));
        QTest::keyClicks(Caixa(j, "txtConSqlDatabase"), QStringLiteral("Vendas"));
        QTest::keyClicks(Caixa(j, "txtConSqlUser"), QStringLiteral("sa"));
        QCOMPARE(Caixa(j, "txtConnectionString")->text(),
                 QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;Data Source=SRV01;"
                                "Initial Catalog=Vendas;User ID=sa;Password="));
        QTest::keyClicks(Caixa(j, "txtConSqlPass"), QStringLiteral("x1"));
        QVERIFY(Caixa(j, "txtConnectionString")->text().endsWith(QStringLiteral(";User ID=sa;Password=x1")));

        // The box stays editable: what the user types there is what gets written.
        QVERIFY(Caixa(j, "txtConnectionString")->isEnabled());
        QVERIFY(!Caixa(j, "txtConnectionString")->isReadOnly());
    }

    void GerarComValoresIniciais()
    {
        PromptComDialogo roteiro;
        QTemporaryDir pasta;
        const QString arq = pasta.filePath(QStringLiteral("WebData.asmx"));
        roteiro.arquivos << arq;
        frmWebServiceGen j(roteiro);
        j.show();
        QTest::mouseClick(Controle<QPushButton>(j, "btnGenerate"), Qt::LeftButton);
        QCOMPARE(roteiro.pedidosArquivo,
                 QStringList{"Select destination to save WebService | AspNet WebService (asmx)|*.asmx"});
        QCOMPARE(roteiro.textos(), QStringList{"WebService generated with sucess"});
        QCOMPARE(roteiro.ultima().icone(), int(vb::Information));
        QVERIFY(roteiro.ultima().titulo.isEmpty()); // the program title
        COMPARAR_GABARITO(LinhasDoArquivo(arq), QStringLiteral("WebData_Access.asmx"));
    }

    void GerarSqlServerDigitado()
    {
        clsPromptRoteiro roteiro;
        QTemporaryDir pasta;
        const QString arq = pasta.filePath(QStringLiteral("x.asmx"));
        roteiro.arquivos << arq;
        frmWebServiceGen j(roteiro);
        j.show();
        Caixa(j, "txtHttpPath")->setText(QStringLiteral("http://www.YourSite.com/WebData"));
        Escolher(j, "optConSql");
        QTest::keyClicks(Caixa(j, "txtConSqlServer"), QStringLiteral("SRV01\\SQL2000"));
        QTest::keyClicks(Caixa(j, "txtConSqlDatabase"), QStringLiteral("Vendas"));
        QTest::keyClicks(Caixa(j, "txtConSqlUser"), QStringLiteral("sa"));
        QTest::mouseClick(Controle<QPushButton>(j, "btnGenerate"), Qt::LeftButton);
        QCOMPARE(roteiro.textos(), QStringList{"WebService generated with sucess"});
        COMPARAR_GABARITO(LinhasDoArquivo(arq), QStringLiteral("WebData_Sql.asmx"));
    }

    void CancelarDialogoNaoFazNada()
    {
        clsPromptRoteiro roteiro; // no file answer: the dialog is cancelled
        frmWebServiceGen j(roteiro);
        QTest::mouseClick(Controle<QPushButton>(j, "btnGenerate"), Qt::LeftButton);
        QVERIFY(roteiro.mensagens.isEmpty());
    }

    void ArquivoExistenteSoComSim_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::newRow("Sim grava") << int(vb::Yes);
        QTest::newRow("Nao deixa o arquivo") << int(vb::No);
    }
    void ArquivoExistenteSoComSim()
    {
        // The program asks once; the dialog itself does not.
        QFETCH(int, resposta);
        clsPromptRoteiro roteiro;
        QTemporaryDir pasta;
        const QString arq = pasta.filePath(QStringLiteral("WebData.asmx"));
        {
            QFile f(arq);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("antigo");
        }
        roteiro.arquivos << arq;
        roteiro.respostas << resposta;
        frmWebServiceGen j(roteiro);
        QTest::mouseClick(Controle<QPushButton>(j, "btnGenerate"), Qt::LeftButton);
        QCOMPARE(roteiro.mensagens.first().texto, QStringLiteral("Arquivo já existente, deseja sobrescrevê-lo ?"));
        QCOMPARE(roteiro.mensagens.first().estilo, int(vb::YesNo | vb::Question));
        QFile f(arq);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll() == "antigo", resposta == vb::No);
    }

    void NomeDeClasseInvalidoRecusado()
    {
        clsPromptRoteiro roteiro;
        QTemporaryDir pasta;
        const QString arq = pasta.filePath(QStringLiteral("WebData.asmx"));
        roteiro.arquivos << arq;
        frmWebServiceGen j(roteiro);
        Caixa(j, "txtClassName")->setText(QStringLiteral("Web\"Data"));
        QTest::mouseClick(Controle<QPushButton>(j, "btnGenerate"), Qt::LeftButton);
        QCOMPARE(roteiro.mensagens.size(), 1);
        QCOMPARE(roteiro.ultima().icone(), int(vb::Exclamation));
        QVERIFY2(roteiro.ultima().texto.startsWith(QStringLiteral("O nome de classe \"Web\"Data\" não é válido.")),
                 qPrintable(roteiro.ultima().texto));
        QCOMPARE(roteiro.arquivos.size(), 1); // refused before asking where to write
        QVERIFY(!QFile::exists(arq));
    }

    void PastaSemEscritaAvisaENaoDeixaArquivo()
    {
        clsPromptRoteiro roteiro;
        QTemporaryDir pasta;
        const QString bloqueio = pasta.filePath(QStringLiteral("naoPasta"));
        {
            QFile b(bloqueio);
            QVERIFY(b.open(QIODevice::WriteOnly));
        }
        roteiro.arquivos << bloqueio + QStringLiteral("/WebData.asmx");
        frmWebServiceGen j(roteiro);
        QTest::mouseClick(Controle<QPushButton>(j, "btnGenerate"), Qt::LeftButton);
        QCOMPARE(roteiro.mensagens.size(), 1);
        QCOMPARE(roteiro.ultima().icone(), int(vb::Critical));
        QVERIFY2(roteiro.ultima().texto.startsWith(
                     QStringLiteral("Não foi possível gravar o arquivo \"%1/WebData.asmx\"").arg(bloqueio)),
                 qPrintable(roteiro.ultima().texto));
        QCOMPARE(QDir(pasta.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"naoPasta"});
    }

    void Imagem()
    {
        // A picture of the window for review, next to the test programs.
        clsPromptRoteiro prompt;
        frmWebServiceGen j(prompt);
        j.show();
        Escolher(j, "optConSql");
        QTest::keyClicks(Caixa(j, "txtConSqlServer"), QStringLiteral("SRV01"));
        QVERIFY(j.grab().save(QStringLiteral(QUARRIX_BIN_DIR "/frmWebServiceGen.png")));
    }
};
QUARRIX_TESTE(tst_frmWebServiceGen);
#include "tst_frmWebServiceGen.moc"
