#include "gui/PromptJanelas.h"
#include "shell/frmGetName.h"
#include "support/registroTestes.h"
#include "support/usuarioModal.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_frmGetName : public QObject {
    Q_OBJECT
private slots:
    void PedirNomeNaJanela_data()
    {
        QTest::addColumn<QString>("botao");
        QTest::addColumn<QString>("resultado");
        QTest::newRow("OK da o texto") << "btnOk"
                                       << "Clientes2";
        QTest::newRow("Cancelar da o inicial") << "btnCancelar"
                                               << "Clientes";
    }
    void PedirNomeNaJanela()
    {
        // The windows' prompt shows the real name window modally; the scripted user acts on it
        // once it is up.
        QFETCH(QString, botao);
        QFETCH(QString, resultado);
        PromptJanelas prompt;
        QString inicial;
        QString legenda;
        UsuarioModal<frmGetName> usuario([&](frmGetName* j) {
            legenda = j->findChild<QPushButton*>(botao)->text();
            auto* txt = j->findChild<QLineEdit*>("txtNome");
            inicial = txt->text();
            txt->setText("Clientes2");
            j->findChild<QPushButton*>(botao)->click();
        });
        QCOMPARE(prompt.PedirNome("Clientes"), resultado);
        QCOMPARE(inicial, QStringLiteral("Clientes"));
        QCOMPARE(legenda, botao == "btnOk" ? QStringLiteral("OK") : QStringLiteral("Cancelar"));
    }
};
QUARRIX_TESTE(tst_frmGetName);
#include "tst_frmGetName.moc"
