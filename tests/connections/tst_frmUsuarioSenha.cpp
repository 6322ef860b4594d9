#include "connections/frmUsuarioSenha.h"
#include "gui/PromptJanelas.h"
#include "support/registroTestes.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
        QTimer usuario;
        QObject::connect(&usuario, &QTimer::timeout, [&] {
            auto* j = qobject_cast<frmUsuarioSenha*>(QApplication::activeModalWidget());
            if (!j)
                return;
            usuario.stop();
            sugerido = j->txtSqlUsuario->text();
            j->txtSqlUsuario->setText("ana");
            j->txtSqlSenha->setText("s'e;g\"r}e{do");
            j->chkLembrar->setChecked(true);
            j->findChild<QPushButton*>(botao)->click();
        });
        usuario.start(10);
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
