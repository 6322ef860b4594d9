#include "shell/frmGetName.h"
#include "shell/mdlFuncoes.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

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
        QTest::newRow("OK da o texto") << "btnOk" << "Clientes2";
        QTest::newRow("Cancelar da o inicial") << "btnCancelar" << "Clientes";
    }
    void PedirNomeNaJanela()
    {
        QFETCH(QString, botao);
        QFETCH(QString, resultado);
        clsPromptRoteiro prompt;
        frmGetName::Registrar();
        QString inicial;
        QString legenda;
        prompt.dialogos.enqueue([&](QObject* d) {
            auto* j = qobject_cast<frmGetName*>(d);
            if (!j)
                return -1;
            legenda = j->findChild<QPushButton*>(botao)->text();
            auto* txt = j->findChild<QLineEdit*>("txtNome");
            inicial = txt->text();
            txt->setText("Clientes2");
            j->findChild<QPushButton*>(botao)->click();
            return j->result();
        });
        QCOMPARE(funcoes::PedirNome("Clientes"), resultado);
        QCOMPARE(inicial, QStringLiteral("Clientes"));
        QCOMPARE(legenda, botao == "btnOk" ? QStringLiteral("OK") : QStringLiteral("Cancelar"));
        funcoes::DefinirFabricaJanelaNome({});
    }
};
QUARRIX_TESTE(tst_frmGetName);
#include "tst_frmGetName.moc"
