#include "connections/clsAmbienteDados.h"
#include "shell/mdlOpcoes.h"
#include "support/fixtures.h"
#include "support/registroTestes.h"

#include <QTest>

namespace {
QList<bool> Flags(const clsOpcoes& o)
{
    return {o.CheckBeforeSql, o.PassoPasso, o.IntellisenseLista, o.AbrirExecutando, o.Focalizar, o.GuardarConfig};
}
} // namespace

class tst_mdlOpcoes : public QObject {
    Q_OBJECT
private slots:
    void StoreVazioDesligaTudo()
    {
        SettingsTemporarios s;
        clsOpcoes o;
        o.CheckBeforeSql = o.GuardarConfig = true;
        o.TimeOut = 99;
        opcoes::CarregarOpcoes(o);
        QCOMPARE(Flags(o), QList<bool>(6, false));
        QCOMPARE(o.TimeOut, qint16(0));
    }

    void CadaChaveLigaSuaFlag()
    {
        SettingsTemporarios s;
        for (qsizetype i = 0; i < opcoes::ChavesBooleanas.size(); ++i) {
            settings::DeleteSection(opcoes::Secao);
            settings::SaveSetting("Opcoes", opcoes::ChavesBooleanas[i], "1");
            clsOpcoes o;
            opcoes::CarregarOpcoes(o);
            QList<bool> esperado(6, false);
            esperado[i] = true;
            QCOMPARE(Flags(o), esperado);
        }
    }

    void ValorLidoComoNumero_data()
    {
        QTest::addColumn<QString>("guardado");
        QTest::addColumn<bool>("ligado");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("numero e texto") << "2x" << true;
        QTest::newRow("texto le zero") << "True" << false;
        QTest::newRow("vazio") << "" << false;
    }
    void ValorLidoComoNumero()
    {
        QFETCH(QString, guardado);
        QFETCH(bool, ligado);
        SettingsTemporarios s;
        settings::SaveSetting("Opcoes", "PassoPasso", guardado);
        clsOpcoes o;
        opcoes::CarregarOpcoes(o);
        QCOMPARE(o.PassoPasso, ligado);
    }

    void TimeOutCabeEm16Bits_data()
    {
        QTest::addColumn<QString>("guardado");
        QTest::addColumn<int>("timeOut");
        QTest::newRow("comum") << "30" << 30;
        QTest::newRow("limite") << "32767" << 32767;
        QTest::newRow("acima do limite") << "32768" << 32767;
        QTest::newRow("muito acima") << "100000" << 32767;
        QTest::newRow("negativo") << "-5" << 0;
        QTest::newRow("metade para o par") << "2.5" << 2;
        QTest::newRow("texto") << "abc" << 0;
        QTest::newRow("numero e texto") << "45 seg" << 45;
    }
    void TimeOutCabeEm16Bits()
    {
        QFETCH(QString, guardado);
        QFETCH(int, timeOut);
        SettingsTemporarios s;
        settings::SaveSetting("Opcoes", "TimeOut", guardado);
        clsOpcoes o;
        opcoes::CarregarOpcoes(o);
        QCOMPARE(int(o.TimeOut), timeOut);
    }

    // The memory a result may hold: a positive whole number as stored, else the default.
    void LimitesDeMemoria_data()
    {
        QTest::addColumn<QString>("guardado");
        QTest::addColumn<qint64>("linhas");
        QTest::newRow("ausente") << QString() << qint64(2000000);
        QTest::newRow("comum") << "500000" << qint64(500000);
        QTest::newRow("zero") << "0" << qint64(2000000);
        QTest::newRow("negativo") << "-10" << qint64(2000000);
        QTest::newRow("texto") << "muitos" << qint64(2000000);
        QTest::newRow("acima de 32 bits") << "5000000000" << qint64(5000000000);
    }
    void LimitesDeMemoria()
    {
        QFETCH(QString, guardado);
        QFETCH(qint64, linhas);
        SettingsTemporarios s;
        if (!guardado.isNull())
            settings::SaveSetting("Opcoes", "LimiteLinhas", guardado);
        settings::SaveSetting("Opcoes", "LimiteMegabytes", "64");
        clsOpcoes o;
        opcoes::CarregarOpcoes(o);
        QCOMPARE(o.LimiteLinhas, linhas);
        QCOMPARE(o.LimiteMegabytes, qint64(64));
    }
};
QUARRIX_TESTE(tst_mdlOpcoes);
#include "tst_mdlOpcoes.moc"
