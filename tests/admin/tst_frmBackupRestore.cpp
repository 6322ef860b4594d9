// The restore window against the management session double: the backup's files read into the
// force boxes, the history list, and the argument string the backup program receives.
#include "admin/frmBackupRestore.h"
#include "admin/frmTextBrowse.h"
#include "admin/uctTextBrowse.h"
#include "ambienteAdmin.h"
#include "connections/mdlTSqlAdmin.h"
#include "support/capturas.h"
#include "support/registroTestes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class tst_frmBackupRestore : public QObject {
    Q_OBJECT
    struct Janela {
        AmbienteAdmin a;
        frmBackupRestore janela{a.amb};
        Janela()
        {
            a.servidor.Responder(
                "RESTORE FILELISTONLY",
                {{"LogicalName", "PhysicalName", "Type"},
                 {{"Loja_Data", "D:\\Dados\\Loja.mdf", "D"}, {"Loja_Log", "D:\\Dados\\Loja_log.ldf", "L"}}});
            a.servidor.Responder(
                "FROM msdb.dbo.BackupSet",
                {{"Physical_Device_Name", "Logical_Device_Name", "Database_Name", "Backup_Finish_Date"},
                 {{"C:\\Backup\\Loja1.bak", "", "Loja", "2026-01-02"},
                  {"C:\\Backup\\Fita1.bak", "Fita1", "Loja", "2026-02-03"}}});
            janela.CarregarForm(a.connStr, "Loja", false);
        }
    };

private slots:
    void ForcarLeOsArquivosDoBackup()
    {
        Janela j;
        QCOMPARE(j.janela.windowTitle(), QStringLiteral("Restaurar Backup"));
        QVERIFY(!j.janela.fraForcar->isEnabled());
        j.janela.txtDestArq->setText("C:\\Backup\\O'Brien.bak");
        j.a.Enviados();
        j.janela.chkOpcForcar->click();
        QCOMPARE(j.a.Enviados(), QStringList{"RESTORE FILELISTONLY FROM DISK = N'C:\\Backup\\O''Brien.bak'"});
        QVERIFY(j.janela.fraForcar->isEnabled());
        QCOMPARE(j.janela.txtForcarArqBancoOrig->text(), QStringLiteral("D:\\Dados\\Loja.mdf"));
        QCOMPARE(j.janela.txtForcarArqBancoDest->text(), QStringLiteral("D:\\Dados\\Loja.mdf"));
        QCOMPARE(j.janela.txtForcarArqLogOrig->text(), QStringLiteral("D:\\Dados\\Loja_log.ldf"));
        CapturarJanela(&j.janela, "frmBackupRestore");
        j.janela.txtForcarArqBancoDest->setText("D:\\Novo\\Loja.mdf");
        QVERIFY(j.janela.Argumento().endsWith("&Replace=1&DevBanco=Loja_Data&ArqBanco=D:\\Novo\\Loja.mdf"
                                              "&DevLog=Loja_Log&ArqLog=D:\\Dados\\Loja_log.ldf"));
    }

    void CaminhoForaDoServidorDesmarcaForcar()
    {
        Janela j;
        j.janela.txtDestArq->setText("X:\\Backup\\Loja.bak");
        j.a.Enviados();
        j.janela.chkOpcForcar->click();
        QVERIFY(!j.janela.chkOpcForcar->isChecked());
        QVERIFY(!j.janela.fraForcar->isEnabled());
        QVERIFY(j.a.prompt.ultima().texto.startsWith("O servidor [SRV01] não aceita o caminho"));
        QVERIFY(j.a.Enviados().isEmpty());
    }

    void EscolhaNoHistoricoReleOsArquivos()
    {
        Janela j;
        j.janela.chkOpcForcar->setChecked(true);
        j.janela.optDestDev->click();
        QCOMPARE(j.janela.cmbDestDev->InstrucaoSql, tsql::SqlHistoricoBackups("Loja"));
        j.a.Enviados();
        // The entry recorded on a device is read from the device.
        j.a.prompt.dialogos.enqueue([](QObject* o) {
            auto* lista = qobject_cast<frmTextBrowse*>(o);
            lista->SelecionarLinha(1);
            lista->blnConfirmou = true;
            return 1;
        });
        j.janela.cmbDestDev->btnBrowse_Click();
        QCOMPARE(j.janela.cmbDestDev->Text(), QStringLiteral("C:\\Backup\\Fita1.bak"));
        QCOMPARE(j.a.Enviados(), QStringList({tsql::SqlHistoricoBackups("Loja"), "RESTORE FILELISTONLY FROM [Fita1]"}));
        QCOMPARE(j.janela.txtForcarArqLogDest->text(), QStringLiteral("D:\\Dados\\Loja_log.ldf"));
        QVERIFY(j.janela.Argumento().contains("&ArqTipo=D&ArqNome=Fita1&"));
        // An entry without a device is read from its file.
        j.a.prompt.dialogos.enqueue([](QObject* o) {
            auto* lista = qobject_cast<frmTextBrowse*>(o);
            lista->SelecionarLinha(0);
            lista->blnConfirmou = true;
            return 1;
        });
        j.janela.cmbDestDev->btnBrowse_Click();
        QCOMPARE(j.a.Enviados().last(), QStringLiteral("RESTORE FILELISTONLY FROM DISK = N'C:\\Backup\\Loja1.bak'"));
        QVERIFY(j.janela.Argumento().contains("&ArqTipo=F&ArqNome=C:\\Backup\\Loja1.bak&"));
    }

    void Validacoes_data()
    {
        QTest::addColumn<QString>("banco");
        QTest::addColumn<bool>("device");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("sem banco") << "" << false << "Informe o Banco de Dados para Restaurar Backup";
        QTest::newRow("sem arquivo") << "Loja" << false << "Informe o Arquivo Físico para o Backup";
        QTest::newRow("sem device") << "Loja" << true << "Informe o Device para o Backup";
    }
    void Validacoes()
    {
        QFETCH(QString, banco);
        QFETCH(bool, device);
        QFETCH(QString, mensagem);
        Janela j;
        j.janela.cmbBancoDados->setCurrentIndex(j.janela.cmbBancoDados->findText(banco));
        if (device)
            j.janela.optDestDev->click();
        j.janela.btnConf_Click();
        QCOMPARE(j.a.prompt.ultima().texto, mensagem);
        QCOMPARE(j.a.prompt.ultima().icone(), int(vb::Information));
    }
};
QUARRIX_TESTE(tst_frmBackupRestore);
#include "tst_frmBackupRestore.moc"
