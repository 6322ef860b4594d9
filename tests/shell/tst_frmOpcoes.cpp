#include "connections/clsAmbienteDados.h"
#include "shell/frmOpcoes.h"
#include "support/capturas.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
QCheckBox* Caixa(QWidget& j, const QString& chave) { return j.findChild<QCheckBox*>("chk" + chave); }
QLineEdit* TimeOut(QWidget& j) { return j.findChild<QLineEdit*>("txtTimeOut"); }
} // namespace

class tst_frmOpcoes : public QObject {
    Q_OBJECT
    clsOpcoes opcoes;

private slots:
    void ControlesELegendas()
    {
        SettingsTemporarios s;
        frmOpcoes j(opcoes);
        QCOMPARE(j.windowTitle(), QStringLiteral("Opções do Sistema"));
        const QList<std::pair<QString, QString>> caixas = {
            {"CheckBeforeSql", "Fazer Verificação de Sintaxe Antes de Executar Instruções SQL"},
            {"PassoPasso", "Executar Longas Instruções Usando Método Passo a Passo"},
            {"IntellisenseLista", "Usar o Intellisense para Exibir Lista de Campos e Tabelas"},
            {"AbrirExecutando", "Abrir Tabela Carregando Todos os Registros"},
            {"Focalizar", "Focalizar Objetos ao Mover o Mouse"},
            {"GuardarConfig", "Armazenar Ultimo Estado da IDE"},
        };
        auto* fra = j.findChild<QGroupBox*>("fraPrincipal");
        QVERIFY(fra);
        for (const auto& [chave, legenda] : caixas) {
            QCheckBox* c = Caixa(j, chave);
            QVERIFY2(c, qPrintable(chave));
            QCOMPARE(c->text(), legenda);
            QVERIFY(fra->isAncestorOf(c));
        }
        QVERIFY(fra->isAncestorOf(TimeOut(j)));
        QCOMPARE(j.findChild<QLabel*>("lblTimeOut")->text(), QStringLiteral("TimeOut para as Conexões:"));
        QCOMPARE(j.findChild<QLabel*>("lblTimeOutDescr")->text(), QStringLiteral("seg."));
        // Two buttons and no way to cancel but closing the window.
        const auto botoes = j.findChildren<QPushButton*>();
        QCOMPARE(botoes.size(), 2);
        QCOMPARE(j.findChild<QPushButton*>("btnGravar")->text(), QStringLiteral("&Gravar"));
        QCOMPARE(j.findChild<QPushButton*>("btnAssociarMdb")->text(), QStringLiteral("Associar Extensão MDB"));
        j.show();
        CapturarJanela(&j, "frmOpcoes");
    }

    void StoreVazioTudoDesmarcadoETimeOutZero()
    {
        SettingsTemporarios s;
        frmOpcoes j(opcoes);
        for (QCheckBox* c : j.findChildren<QCheckBox*>())
            QVERIFY(!c->isChecked());
        QCOMPARE(TimeOut(j)->text(), QStringLiteral("0"));
    }

    void CarregaEGravaIdaEVolta()
    {
        SettingsTemporarios s;
        settings::SaveSetting("Opcoes", "PassoPasso", "1");
        settings::SaveSetting("Opcoes", "Focalizar", "-1");
        settings::SaveSetting("Opcoes", "TimeOut", "45seg");
        {
            frmOpcoes j(opcoes);
            QVERIFY(Caixa(j, "PassoPasso")->isChecked());
            QVERIFY(Caixa(j, "Focalizar")->isChecked());
            QVERIFY(!Caixa(j, "CheckBeforeSql")->isChecked());
            QCOMPARE(TimeOut(j)->text(), QStringLiteral("45"));

            Caixa(j, "CheckBeforeSql")->setChecked(true);
            Caixa(j, "PassoPasso")->setChecked(false);
            TimeOut(j)->setText("120");
            QCOMPARE(j.findChild<QLineEdit*>("txtLimiteLinhas")->text(), QStringLiteral("2000000"));
            j.findChild<QLineEdit*>("txtLimiteLinhas")->setText("300000");
            j.findChild<QLineEdit*>("txtLimiteMegabytes")->setText("96");
            j.show();
            QTest::mouseClick(j.findChild<QPushButton*>("btnGravar"), Qt::LeftButton);
            QVERIFY(!j.isVisible());
            QCOMPARE(j.result(), int(QDialog::Accepted));
        }
        QCOMPARE(settings::GetSetting("Opcoes", "CheckBeforeSql"), QStringLiteral("1"));
        QCOMPARE(settings::GetSetting("Opcoes", "PassoPasso"), QStringLiteral("0"));
        QCOMPARE(settings::GetSetting("Opcoes", "Focalizar"), QStringLiteral("1"));
        QCOMPARE(settings::GetSetting("Opcoes", "GuardarConfig"), QStringLiteral("0"));
        QCOMPARE(settings::GetSetting("Opcoes", "TimeOut"), QStringLiteral("120"));
        // Saving reloads the flags at once.
        QVERIFY(opcoes.CheckBeforeSql);
        QVERIFY(!opcoes.PassoPasso);
        QVERIFY(opcoes.Focalizar);
        QCOMPARE(opcoes.TimeOut, qint16(120));
        QCOMPARE(opcoes.LimiteLinhas, qint64(300000));
        QCOMPARE(opcoes.LimiteMegabytes, qint64(96));

        frmOpcoes outra(opcoes);
        QVERIFY(Caixa(outra, "CheckBeforeSql")->isChecked());
        QVERIFY(!Caixa(outra, "PassoPasso")->isChecked());
        QCOMPARE(TimeOut(outra)->text(), QStringLiteral("120"));
    }

    void FecharSemGravarDescarta()
    {
        SettingsTemporarios s;
        frmOpcoes j(opcoes);
        j.show();
        Caixa(j, "GuardarConfig")->setChecked(true);
        TimeOut(j)->setText("9");
        j.close();
        QVERIFY(settings::GetSetting("Opcoes", "GuardarConfig").isNull());
        QVERIFY(settings::GetSetting("Opcoes", "TimeOut").isNull());
    }

    void TimeOutNaoNumericoViraZeroAoSairDoCampo_data()
    {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("depois");
        QTest::newRow("texto") << "abc"
                               << "0";
        QTest::newRow("numero e texto") << "30s"
                                        << "0";
        QTest::newRow("vazio") << ""
                               << "0";
        QTest::newRow("numero fica") << "30"
                                     << "30";
    }
    void TimeOutNaoNumericoViraZeroAoSairDoCampo()
    {
        QFETCH(QString, digitado);
        QFETCH(QString, depois);
        SettingsTemporarios s;
        frmOpcoes j(opcoes);
        j.show();
        QVERIFY(QTest::qWaitForWindowActive(&j));
        TimeOut(j)->setFocus();
        TimeOut(j)->setText(digitado);
        Caixa(j, "Focalizar")->setFocus();
        QCOMPARE(TimeOut(j)->text(), depois);
    }
};
QUARRIX_TESTE(tst_frmOpcoes);
#include "tst_frmOpcoes.moc"
