#include "connections/frmUsuarioSenha.h"
#include "gui/PromptJanelas.h"
#include "support/registroTestes.h"
#include "support/usuarioModal.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_frmUsuarioSenha : public QObject {
    Q_OBJECT
private slots:
    void PedirUsuarioSenhaNaJanela_data()
    {
        QTest::addColumn<QString>("botao");
        QTest::addColumn<bool>("confirmado");
        QTest::newRow("OK devolve o que foi digitado") << "btnConf" << true;
        QTest::newRow("Cancelar nao muda nada") << "btnCanc" << false;
    }
    void PedirUsuarioSenhaNaJanela()
    {
        // The windows' prompt shows the real login window, pre-filled with the suggested user.
        QFETCH(QString, botao);
        QFETCH(bool, confirmado);
        PromptJanelas prompt;
        QString sugerido;
        UsuarioModal<frmUsuarioSenha> usuario([&](frmUsuarioSenha* j) {
            sugerido = j->txtSqlUsuario->text();
            j->txtSqlUsuario->setText("ana");
            j->txtSqlSenha->setText("s'e;g\"r}e{do");
            j->chkLembrar->setChecked(true);
            j->findChild<QPushButton*>(botao)->click();
        });
        QString nome = "sa", senha, nada;
        bool lembrar = false;
        QCOMPARE(prompt.PedirUsuarioSenha(nome, senha, lembrar), confirmado);
        QCOMPARE(sugerido, QStringLiteral("sa"));
        QCOMPARE(nome, confirmado ? QStringLiteral("ana") : QStringLiteral("sa"));
        QCOMPARE(senha, confirmado ? QStringLiteral("s'e;g\"r}e{do") : nada);
        QCOMPARE(lembrar, confirmado);
    }
};
QUARRIX_TESTE(tst_frmUsuarioSenha);
#include "tst_frmUsuarioSenha.moc"
