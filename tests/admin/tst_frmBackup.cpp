// The backup window and the backup devices against the management session double; the backup
// program is stood in for by a script that keeps what it read on its standard input and answers
// the way the program does.
#include "admin/frmAdminNavegador.h"
#include "admin/frmBackDevices.h"
#include "admin/frmBackup.h"
#include "admin/mdlBackup.h"
#include "admin/uctComumAdmin.h"
#include "ambienteAdmin.h"
#include "jobs/clsJobSchedule.h"
#include "navigator/mdlNavegador.h"
#include "support/capturas.h"
#include "support/registroTestes.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>

namespace {
// A stand-in backup program: keeps its input in "entrada" and, when `sucesso`, writes "1" for
// the database under "Backup" in the settings file it is given.
QString ProgramaDuble(const QString& pasta, const QString& banco, bool sucesso)
{
    const QString caminho = pasta + "/backup-duble.sh";
    QFile f(caminho);
    f.open(QIODevice::WriteOnly);
    f.write(("#!/bin/sh\ncat > '" + pasta + "/entrada'\n"
             + (sucesso ? "printf '[Backup]\\n" + banco + "=1\\n' >> \"$QUARRIX_SETTINGS\"\n" : QString()))
                .toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return caminho;
}
} // namespace

class tst_frmBackup : public QObject {
    Q_OBJECT
private slots:
    void AbreComOBancoEOsDevices()
    {
        AmbienteAdmin a;
        frmBackup janela(a.amb);
        QVERIFY(janela.CarregarForm(a.connStr, "Loja", false));
        QCOMPARE(janela.windowTitle(), QStringLiteral("Novo Backup"));
        QCOMPARE(janela.cmbBancoDados->currentText(), QStringLiteral("Loja"));
        QCOMPARE(janela.txtNome->text(), QStringLiteral("Backup do Loja"));
        QCOMPARE(janela.cmbDestDev->itemText(0), QStringLiteral("<Novo>"));
        QCOMPARE(janela.cmbDestDev->count(), 2);
        QVERIFY(janela.txtDestArq->isEnabled());
        QVERIFY(!janela.cmbDestDev->isEnabled());
        janela.optDestDev->click();
        QVERIFY(!janela.txtDestArq->isEnabled());
        QVERIFY(janela.cmbDestDev->isEnabled());
        janela.optDestArq->click();
        CapturarJanela(&janela, "frmBackup");
    }

    void Validacoes_data()
    {
        QTest::addColumn<QString>("banco");
        QTest::addColumn<bool>("device");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("sem banco") << "" << false << "Informe o Banco de Dados para o Backup";
        QTest::newRow("sem arquivo") << "Loja" << false << "Informe o Arquivo Físico para o Backup";
        QTest::newRow("sem device") << "Loja" << true << "Informe o Device para o Backup";
    }
    void Validacoes()
    {
        QFETCH(QString, banco);
        QFETCH(bool, device);
        QFETCH(QString, mensagem);
        AmbienteAdmin a;
        frmBackup janela(a.amb);
        QVERIFY(janela.CarregarForm(a.connStr, banco, false));
        if (device)
            janela.optDestDev->click();
        janela.btnConf_Click();
        QCOMPARE(a.prompt.textos(), QStringList{mensagem});
        QCOMPARE(a.prompt.ultima().icone(), int(vb::Information));
    }

    void CaminhoForaDoServidorNaoRodaOPrograma()
    {
        AmbienteAdmin a;
        frmBackup janela(a.amb);
        janela.programa = ProgramaDuble(a.settings.pasta.path(), "Loja", true);
        QVERIFY(janela.CarregarForm(a.connStr, "Loja", false));
        janela.txtDestArq->setText("X:\\Backup\\Loja.bak");
        janela.btnConf_Click();
        QVERIFY(a.prompt.ultima().texto.startsWith("O servidor [SRV01] não aceita o caminho [X:\\Backup\\Loja.bak]"));
        QVERIFY(!QFile::exists(a.settings.pasta.filePath("entrada")));
        QCOMPARE(janela.result(), 0);
    }

    void ProgramaRecebeOArgumentoPelaEntrada_data()
    {
        QTest::addColumn<bool>("sucesso");
        QTest::newRow("sucesso") << true;
        QTest::newRow("falha") << false;
    }
    void ProgramaRecebeOArgumentoPelaEntrada()
    {
        QFETCH(bool, sucesso);
        AmbienteAdmin a;
        frmBackup janela(a.amb);
        janela.programa = ProgramaDuble(a.settings.pasta.path(), "Loja", sucesso);
        QVERIFY(janela.CarregarForm(a.connStr, "Loja", false));
        janela.txtDestArq->setText("C:\\Backup\\Loja.bak");
        janela.txtDescricao->setText("mensal & completo");
        janela.optMetSob->click();
        janela.btnConf_Click();
        // The program runs while the window stays live, its OK button disabled until it ends.
        QVERIFY(!janela.btnConf->isEnabled());
        QTRY_VERIFY(janela.btnConf->isEnabled());
        QFile entrada(a.settings.pasta.filePath("entrada"));
        QVERIFY(entrada.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(entrada.readAll()),
                 "ConnString=" + a.connStr
                     + "&DataBase=Loja&Opcao=B&ArqTipo=F&ArqNome=C:\\Backup\\Loja.bak&BackupName=Backup do Loja"
                       "&BackupDescription=mensal & completo&BackupOpcao=C&BackupMetodo=S\n");
        QCOMPARE(janela.result(), sucesso ? int(QDialog::Accepted) : 0);
        QCOMPARE(settings::GetSetting("Backup", "Loja", "vazio"), QStringLiteral("vazio")); // read, then deleted
        QVERIFY(a.prompt.mensagens.isEmpty()); // the program reports its own errors
        QCOMPARE(a.prompt.ampulheta, 0);
    }

    void NovoDeviceDoBackupRecarregaALista()
    {
        AmbienteAdmin a;
        frmBackup janela(a.amb);
        QVERIFY(janela.CarregarForm(a.connStr, "Loja", false));
        a.prompt.dialogos.enqueue([&](QObject* o) {
            auto* cad = qobject_cast<frmBackDevicesCad*>(o);
            CapturarJanela(cad, "frmBackDevicesCad");
            cad->btnConf->click();
            cad->txtDeviceName->setText("Fi'ta]2");
            cad->btnConf->click();
            cad->txtPath->setText("C:\\Backup\\Fita2.bak");
            a.servidor.Responder("FROM master.dbo.sysdevices",
                                 {{"Name", "PhyName"}, {{"Fita1", "C:\\Backup\\Fita1.bak"}, {"Fi'ta]2", "C:\\f2"}}});
            cad->btnConf->click();
            return cad->result();
        });
        a.Enviados();
        janela.cmbDestDev->setCurrentIndex(0);
        emit janela.cmbDestDev->activated(0);
        QCOMPARE(a.prompt.textos(),
                 QStringList({"Informe o Nome para o Device", "Informe o Endereço Físico para o Backup"}));
        QCOMPARE(a.Enviados(),
                 QStringList({"EXEC master.dbo.sp_addumpdevice @devtype = N'disk', @logicalname = N'Fi''ta]2', "
                              "@physicalname = N'C:\\Backup\\Fita2.bak'",
                              tsql::SqlDevices()}));
        QCOMPARE(janela.cmbDestDev->count(), 3);
        QCOMPARE(janela.cmbDestDev->itemText(2), QStringLiteral("Fi'ta]2"));
    }

    void ComandoDoBackupAgendado()
    {
        AmbienteAdmin a;
        a.servidor.Responder("FROM master.dbo.sysdatabases", {{"Name"}, {{"Vendas"}, {"Ven'das]"}}});
        frmBackup janela(a.amb);
        QVERIFY(janela.CarregarForm(a.connStr, "Vendas", false));
        janela.optDestDev->click();
        janela.cmbDestDev->setCurrentText("Fita1");
        janela.optMetSob->click();
        QCOMPARE(janela.ComandoAgendado(), QStringLiteral("BACKUP DATABASE [Vendas] TO [Fita1] WITH INIT"));
        janela.cmbBancoDados->setCurrentText("Ven'das]");
        janela.optDestArq->click();
        janela.txtDestArq->setText("C:\\B'k\\v.bak");
        janela.optMetAcr->click();
        QCOMPARE(janela.ComandoAgendado(), QStringLiteral("BACKUP DATABASE [Ven'das]]] TO DISK = N'C:\\B''k\\v.bak'"));
    }

    void BackupAgendadoViraJob_data()
    {
        QTest::addColumn<bool>("confirmar");
        QTest::newRow("agenda confirmada") << true;
        QTest::newRow("agenda cancelada") << false;
    }
    void BackupAgendadoViraJob()
    {
        // The schedule first; once confirmed, a job named as the backup, its one step (the backup
        // statement, in master) and the schedule on it. Cancelled, nothing reaches the server.
        QFETCH(bool, confirmar);
        AmbienteAdmin a;
        a.servidor.Responder("FROM master.dbo.sysdatabases", {{"Name"}, {{"Vendas"}}});
        frmBackup janela(a.amb);
        QVERIFY(janela.CarregarForm(a.connStr, "Vendas", false));
        janela.optDestDev->click();
        janela.cmbDestDev->setCurrentText("Fita1");
        janela.optMetSob->click();
        janela.txtNome->setText("Noturno d'Ana");
        QString nomeNaTela;
        janela.editorAgendamento = [&](TelaAgendamento& tela) {
            nomeNaTela = tela.nome;
            return confirmar;
        };
        janela.btnConfSchedule->click();
        QCOMPARE(nomeNaTela, QStringLiteral("Noturno d'Ana"));
        QCOMPARE(janela.result(), confirmar ? int(QDialog::Accepted) : int(QDialog::Rejected));
        const JobAgent* job = nullptr;
        for (const JobAgent& j : a.servidor.jobs)
            if (j.nome == "Noturno d'Ana")
                job = &j;
        if (!confirmar) {
            QVERIFY(!job);
            QVERIFY(a.servidor.chamadas.isEmpty());
            return;
        }
        QVERIFY2(job, qPrintable(a.servidor.chamadas.join('\n') + a.prompt.textos().join('|')));
        const QList<PassoAgent> passos = a.servidor.passosAgent.value(job->id);
        QCOMPARE(passos.size(), 1);
        QCOMPARE(passos[0].nome, QStringLiteral("Noturno d'Ana"));
        QCOMPARE(passos[0].banco, QStringLiteral("master"));
        QCOMPARE(passos[0].comando, QStringLiteral("BACKUP DATABASE [Vendas] TO [Fita1] WITH INIT"));
        QCOMPARE(a.servidor.agendasAgent.value(job->id).size(), 1);
    }

    void ListaDeDevicesExclui()
    {
        AmbienteAdmin a;
        auto* lista = new frmBackDevices(a.amb);
        QVERIFY(lista->CarregarForm(a.connStr, 2));
        QCOMPARE(lista->windowTitle(), QStringLiteral("Lista de Devices para Backup"));
        QCOMPARE(lista->dgrConsulta->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Endereço Físico do Arquivo"));
        QCOMPARE(lista->dgrConsulta->model()->index(0, 1).data().toString(), QStringLiteral("C:\\Backup\\Fita1.bak"));
        CapturarJanela(lista, "frmBackDevices");
        a.Enviados();
        a.prompt.respostas << vb::No << vb::Yes;
        lista->Excluir();
        QVERIFY(a.Enviados().isEmpty());
        lista->Excluir();
        QCOMPARE(a.prompt.textos(), QStringList(2, "Deseja realmente excluir o Device 'Fita1'"));
        QCOMPARE(a.Enviados(),
                 QStringList({"EXEC master.dbo.sp_dropdevice @logicalname = N'Fita1'", tsql::SqlDevices()}));
        delete lista;
    }
};
QUARRIX_TESTE(tst_frmBackup);
#include "tst_frmBackup.moc"
