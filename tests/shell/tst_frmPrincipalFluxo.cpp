// The whole path a user takes: start on a database file, open a table from the tree, see its rows.
#include "navigator/frmNavegador.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsSettings.h"
#include "query/frmTabela.h"
#include "shell/clsAmbiente.h"
#include "shell/frmPrincipal.h"
#include "shell/mdlOpcoes.h"
#include "support/clsPromptRoteiro.h"
#include "support/esperaArvore.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>
#include <QTreeView>

class tst_frmPrincipalFluxo : public QObject {
    Q_OBJECT
private slots:
    void AbrirTabelaDoBancoDeExemplo()
    {
        SettingsTemporarios s;
        clsPromptRoteiro prompt;
        clsAmbiente ambiente(prompt);
        settings::SaveSetting("Opcoes", "AbrirExecutando", "1");
        // The sample database as the build makes it.
        const QString exemplo = QStringLiteral(QUARRIX_BIN_DIR "/../samples/Exemplo.db");
        QVERIFY2(QFile::exists(exemplo), qPrintable(exemplo));
        frmPrincipal janela(ambiente, exemplo);
        janela.resize(1280, 800);
        janela.show();
        QVERIFY(QTest::qWaitFor([&] { return janela.JaAtivado(); }));
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('|')));

        clsArvore& arvore = janela.Navegador()->Arvore();
        // The file is mapped once its connection has opened.
        clsNo* fonte = nullptr;
        clsNo* tabelas = nullptr;
        QVERIFY(QTest::qWaitFor([&] {
            fonte = arvore.No("Outros")->Child();
            tabelas = fonte ? arvore.No(fonte->Key() + "tab") : nullptr;
            return tabelas != nullptr;
        }));
        janela.Navegador()->trvNavegador()->expand(arvore.IndiceModelo(tabelas));
        QVERIFY(Carregada(tabelas));
        QStringList nomes;
        for (clsNo* n = tabelas->Child(); n; n = n->Next())
            nomes << n->Text();
        QCOMPARE(nomes, (QStringList{"Categorias", "Clientes", "Itens Pedido", "Pedidos", "Produtos"}));

        arvore.Selecionar(arvore.No(tabelas->Key() + "Clientes"));
        QTest::keyClick(janela.Navegador()->trvNavegador(), Qt::Key_Return);
        QCOMPARE(janela.AreaMdi()->subWindowList().size(), 1);
        auto* consulta = qobject_cast<frmTabela*>(janela.AreaMdi()->subWindowList().first()->widget());
        QVERIFY(consulta);
        QCOMPARE(consulta->Tag(), QString::number(fonte->Index()));
        QTRY_COMPARE(consulta->TextoPainel(3), QStringLiteral("120 Registros Encontrados"));
        QVERIFY(consulta->TextoPainel(2).startsWith("Executado em "));
        QCOMPARE(consulta->Grid()->model()->rowCount(), 120);
        QVERIFY2(prompt.mensagens.isEmpty(), qPrintable(prompt.textos().join('|')));

        const QString capturas = qEnvironmentVariable("QUARRIX_CAPTURAS");
        if (!capturas.isEmpty()) {
            QTest::qWait(200);
            janela.grab().save(capturas + "/frmPrincipal_consulta.png");
        }
        // Disconnecting the source closes its window after the question.
        prompt.respostas << vb::Yes;
        QVERIFY(DesconectarNode(arvore, fonte, 13, true, janela.Navegador()->JanelasAbertas()));
        QTRY_VERIFY(janela.AreaMdi()->subWindowList().isEmpty());
    }
};
QUARRIX_TESTE(tst_frmPrincipalFluxo);
#include "tst_frmPrincipalFluxo.moc"
