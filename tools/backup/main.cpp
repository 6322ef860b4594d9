// Backup program: reads its argument string from its environment or standard input (it carries a connection string
// with its password, so it never travels on the command line), runs BACKUP DATABASE or RESTORE
// DATABASE, and on success writes "1" under section "Backup", key = database name. A small window
// shows the work and reports an error in a message of its own; with --sem-janela the terminal
// does.
#include "admin/mdlBackup.h"
#include "connections/clsAmbienteDados.h"
#include "platform/mdlProgramas.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QProgressBar>
#include <QThread>
#include <QVBoxLayout>
#include <cstdio>

namespace {
const char* const Uso
    = "uso: quarrix-backup [--sem-janela] < argumentos\n"
      "Le de sua entrada \"ConnString=...&DataBase=...&Opcao=B|R&ArqTipo=F|D&ArqNome=...\" (e as chaves\n"
      "opcionais BackupName, BackupDescription, BackupOpcao, BackupMetodo, Replace, DevBanco, ArqBanco,\n"
      "DevLog, ArqLog), executa o backup ou a restauracao e grava \"1\" na secao Backup.\n";

// The work in a thread of its own, so the window keeps painting while the server works.
int ComJanela(const backup::Argumentos& a)
{
    QWidget janela;
    janela.setWindowTitle(a.restaurar ? QStringLiteral("Restaurar Backup") : QStringLiteral("Backup"));
    auto* layout = new QVBoxLayout(&janela);
    layout->addWidget(new QLabel((a.restaurar ? QStringLiteral("Restaurando o banco de dados ")
                                              : QStringLiteral("Fazendo o backup do banco de dados "))
                                     + a.banco + QStringLiteral("..."),
                                 &janela));
    auto* barra = new QProgressBar(&janela);
    barra->setRange(0, 0);
    layout->addWidget(barra);
    // The server's last message under the bar.
    auto* mensagem = new QLabel(&janela);
    layout->addWidget(mensagem);
    janela.resize(380, 90);
    janela.show();
    bool ok = false;
    QString erro;
    QThread* trabalho = QThread::create([&] {
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        ok = backup::Executar(ambiente, a, erro, [&](int percentual, const QString& aviso) {
            // The window belongs to the GUI thread: the worker only queues what it shows.
            QMetaObject::invokeMethod(barra, [barra, mensagem, percentual, aviso] {
                if (percentual >= 0) {
                    barra->setRange(0, 100);
                    barra->setValue(percentual);
                }
                mensagem->setText(aviso);
            });
        });
    });
    QObject::connect(trabalho, &QThread::finished, &janela, &QWidget::close);
    trabalho->start();
    QApplication::exec();
    trabalho->wait();
    delete trabalho;
    if (!ok)
        QMessageBox::critical(nullptr, QStringLiteral("Backup"), erro);
    return ok ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    bool semJanela = false;
    if (!LerOpcoesPrograma(argc, argv, Uso, semJanela))
        return 2;
    std::unique_ptr<QCoreApplication> app;
    if (semJanela)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    backup::Argumentos a;
    QString erro;
    if (!backup::Ler(LerArgumentoPrograma(), a, &erro)) {
        std::fprintf(stderr, "%s\n", qPrintable(erro));
        if (!semJanela)
            QMessageBox::critical(nullptr, QStringLiteral("Backup"), erro);
        return 2;
    }
    if (!semJanela)
        return ComJanela(a);
    clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
    const auto progresso = [](int percentual, const QString& aviso) {
        if (percentual >= 0)
            std::printf("%d%%\n", percentual);
        else
            std::printf("%s\n", qPrintable(aviso));
        std::fflush(stdout);
    };
    if (!backup::Executar(ambiente, a, erro, progresso)) {
        std::fprintf(stderr, "%s\n", qPrintable(erro));
        return 1;
    }
    std::printf("%s: %s\n", qPrintable(a.banco), a.restaurar ? "restaurado" : "backup feito");
    return 0;
}
