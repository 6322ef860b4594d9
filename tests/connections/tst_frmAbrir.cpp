#include "connections/frmAbrir.h"
#include "connections/frmUsuarioSenha.h"
#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlDadosNodes.h"
#include "navigator/mdlNavegador.h"
#include "navigator/mdlServidores.h"
#include "platform/clsServidoresRegistrados.h"
#include "platform/clsSettings.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {
const QString FiltroBancos = QStringLiteral("Bancos de dados (*.mdb *.accdb *.db *.sqlite *.sqlite3);;");

struct Cenario {
    SettingsTemporarios settings;
    clsPromptRoteiro prompt;
    clsAmbienteNavegador ambiente{prompt};
    clsArvore& arvore = ambiente.Arvore();
    Cenario() { InicializarNavegador(arvore); }
    // Opens the dialog of kind `tipo` and lets `agir` work on it while it is shown.
    void Abrir(const QString& tipo, std::function<void(frmAbrir&)> agir, bool criar = false)
    {
        frmAbrir janela(arvore);
        prompt.dialogos << [&](QObject*) {
            agir(janela);
            return janela.result();
        };
        janela.CarregarForm(tipo, criar);
    }
    QString Slot(const char* chave) { return settings::GetSetting("Servidores", chave); }
};
} // namespace

class tst_frmAbrir : public QObject {
    Q_OBJECT
private slots:
    void WebServiceSemEnderecoNaoFazNada()
    {
        Cenario c;
        c.Abrir("W", [&](frmAbrir& j) {
            QVERIFY(j.optTipoWebService->isChecked());
            QVERIFY(j.txtWebService->isEnabled());
            QVERIFY(!j.txtAccessPath->isEnabled());
            QVERIFY(!j.txtSqlServidor->isEnabled());
            j.btnConf->click();
            QCOMPARE(j.result(), int(QDialog::Rejected));
        });
        QVERIFY(c.prompt.mensagens.isEmpty());
        QCOMPARE(c.arvore.No("WebSrv")->Children(), 0);
    }

    void MapeiaWebService()
    {
        Cenario c;
        c.Abrir("W", [&](frmAbrir& j) {
            j.txtWebService->setText("http://127.0.0.1:8080/dados/WebData.asmx");
            j.btnConf->click();
            QCOMPARE(j.result(), int(QDialog::Accepted));
        });
        QCOMPARE(c.arvore.No("WebSrv")->Child()->Text(), QStringLiteral("WebData"));
        QCOMPARE(c.Slot("Tipo001"), QStringLiteral("W"));
        QCOMPARE(c.Slot("Url001"), QStringLiteral("http://127.0.0.1:8080/dados/WebData.asmx"));
    }

    void AutenticacaoWindowsDesligaLoginENaoPedeUsuario()
    {
        Cenario c;
        c.Abrir("S", [&](frmAbrir& j) {
            CapturarJanela(&j, "frmAbrir");
            QVERIFY(j.txtSqlUsuario->isEnabled());
            j.optAutWin->click();
            QVERIFY(!j.txtSqlUsuario->isEnabled());
            QVERIFY(!j.txtSqlSenha->isEnabled());
            QCOMPARE(j.txtSqlUsuario->palette().color(QPalette::Base), j.palette().color(QPalette::Button));
            j.txtSqlServidor->setCurrentText("SRV01");
            j.btnConf->click();
        });
        QVERIFY(c.prompt.mensagens.isEmpty());
        QCOMPARE(c.arvore.Dados().Ler("dbSRV01", CampoNo::Integrado), QStringLiteral("1"));
        if (c.ambiente.sqlDmoDisponivelCarregado) {
            // With the SQL Server client the server is registered, not kept in the program's list.
            QVERIFY(c.Slot("Tipo001").isEmpty());
            QCOMPARE(servidoresregistrados::Servidores().value(0).nome, QStringLiteral("SRV01"));
            QVERIFY(servidoresregistrados::Servidores().value(0).confiavel);
        } else {
            QCOMPARE(c.Slot("Tipo001"), QStringLiteral("S"));
        }
    }

    void ValidacoesComMensagens_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("access vazio") << "A"
                                      << ""
                                      << "Informe o Caminho para o Banco de Dados Desejado";
        QTest::newRow("access inexistente") << "A"
                                            << "/nao/existe.db"
                                            << "O Banco de Dados Informado nçao é Válido";
        QTest::newRow("sql sem servidor") << "S"
                                          << ""
                                          << "Informe o Nome do Servidor Desejado";
        QTest::newRow("sql sem usuario") << "S"
                                         << "SRV"
                                         << "Informe o Usuário que Será Usado para a Conexão";
    }
    void ValidacoesComMensagens()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, valor);
        QFETCH(QString, mensagem);
        Cenario c;
        c.Abrir(tipo, [&](frmAbrir& j) {
            if (tipo == "A")
                j.txtAccessPath->setText(valor);
            else
                j.txtSqlServidor->setCurrentText(valor);
            j.btnConf->click();
            QCOMPARE(j.result(), int(QDialog::Rejected));
        });
        QCOMPARE(c.prompt.textos(), QStringList{mensagem});
        QCOMPARE(c.prompt.ultima().icone(), int(vb::Exclamation));
    }

    void CriarBancoNovoEMapear()
    {
        Cenario c;
        const QString caminho = c.settings.pasta.filePath("Nova Loja.mdb");
        c.prompt.arquivos << caminho;
        c.Abrir(
            "A",
            [&](frmAbrir& j) {
                QCOMPARE(j.txtAccessPath->text(), caminho);
                j.btnConf->click();
            },
            true);
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.read(16), QByteArray("SQLite format 3\0", 16));
        QCOMPARE(c.arvore.No("Access")->Child()->Text(), QStringLiteral("Nova Loja"));
        QCOMPARE(c.Slot("Path001"), caminho);
    }

    void CriarDaAExtensaoEscolhidaOuDb_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("criado");
        QTest::newRow("sem extensão") << "Nova"
                                      << "Nova.db";
        QTest::newRow("sqlite") << "Nova.sqlite"
                                << "Nova.sqlite";
    }
    void CriarDaAExtensaoEscolhidaOuDb()
    {
        QFETCH(QString, nome);
        QFETCH(QString, criado);
        Cenario c;
        c.prompt.arquivos << c.settings.pasta.filePath(nome);
        c.Abrir(
            "A",
            [&](frmAbrir& j) { QCOMPARE(j.txtAccessPath->text(), c.settings.pasta.filePath(criado)); },
            true);
        QVERIFY(QFileInfo(c.settings.pasta.filePath(criado)).isFile());
        // A dialog for a new file (no offer to replace one) that shows database files of every kind.
        QCOMPARE(c.prompt.dialogosArquivo.value(0).first, QStringLiteral("novo"));
        QVERIFY(c.prompt.dialogosArquivo.value(0).second.startsWith(FiltroBancos));
    }

    void ProcurarArquivoMostraTodosOsBancos()
    {
        Cenario c;
        c.Abrir("A", [&](frmAbrir& j) { j.picAccessPath->click(); });
        QCOMPARE(c.prompt.dialogosArquivo.value(0).first, QStringLiteral("abrir"));
        QVERIFY(c.prompt.dialogosArquivo.value(0).second.startsWith(FiltroBancos));
    }

    void CriarCanceladoFicaEmAccessSemCaminho()
    {
        Cenario c;
        c.Abrir(
            "A",
            [&](frmAbrir& j) {
                QVERIFY(j.optTipoAccess->isChecked());
                QVERIFY(j.txtAccessPath->text().isEmpty());
            },
            true);
        QVERIFY(c.prompt.mensagens.isEmpty());
    }

    void CriarSobreArquivoExistenteNaoApaga()
    {
        Cenario c;
        const QString caminho = c.settings.pasta.filePath("existente.mdb");
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("dados do usuario");
        f.close();
        c.prompt.arquivos << caminho;
        c.Abrir(
            "A",
            [&](frmAbrir& j) { QVERIFY(j.txtAccessPath->text().isEmpty()); },
            true);
        QCOMPARE(c.prompt.ultima().icone(), int(vb::Critical));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("dados do usuario"));
    }

    void ArquivoJaMapeadoNaoGravaDeNovo()
    {
        Cenario c;
        const QString caminho = QStringLiteral(QUARRIX_SAMPLES_DIR "/Exemplo.sql");
        for (int vez = 0; vez < 2; ++vez)
            c.Abrir("A", [&](frmAbrir& j) {
                j.txtAccessPath->setText(caminho);
                j.btnConf->click();
            });
        QCOMPARE(c.prompt.textos().size(), 1);
        QVERIFY(c.prompt.textos().first().startsWith("Essa conexão já foi incluida, verifique."));
        QCOMPARE(c.Slot("Qtde"), QStringLiteral("1"));
        QVERIFY(c.Slot("Tipo002").isEmpty());
    }

    void UsuarioSenha()
    {
        frmUsuarioSenha j;
        QCOMPARE(j.windowTitle(), QStringLiteral("Informe o Usuário e Senha"));
        QCOMPARE(j.chkLembrar->text(), QStringLiteral("Lembrar minha senha"));
        QCOMPARE(j.txtSqlSenha->echoMode(), QLineEdit::Password);
        QVERIFY(!j.Confirmou);
        j.findChild<QPushButton*>("btnConf")->click();
        QVERIFY(j.Confirmou);
        j.findChild<QPushButton*>("btnCanc")->click();
        QVERIFY(!j.Confirmou);
    }
};
QUARRIX_TESTE(tst_frmAbrir);
#include "tst_frmAbrir.moc"
