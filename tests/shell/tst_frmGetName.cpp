#include "gui/PromptJanelas.h"
#include "shell/frmGetName.h"
#include "support/registroTestes.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
        QTimer usuario;
        QObject::connect(&usuario, &QTimer::timeout, [&] {
            auto* j = qobject_cast<frmGetName*>(QApplication::activeModalWidget());
            if (!j)
                return;
            usuario.stop();
            legenda = j->findChild<QPushButton*>(botao)->text();
            auto* txt = j->findChild<QLineEdit*>("txtNome");
            inicial = txt->text();
            txt->setText("Clientes2");
            j->findChild<QPushButton*>(botao)->click();
        });
        usuario.start(10);
        QCOMPARE(prompt.PedirNome("Clientes"), resultado);
        QCOMPARE(inicial, QStringLiteral("Clientes"));
        QCOMPARE(legenda, botao == "btnOk" ? QStringLiteral("OK") : QStringLiteral("Cancelar"));
    }
};
QUARRIX_TESTE(tst_frmGetName);
#include "tst_frmGetName.moc"
