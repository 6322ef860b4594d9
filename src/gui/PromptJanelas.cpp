#include "PromptJanelas.h"

#include "AreaJanelas.h"
#include "platform/clsProgresso.h"
#include "platform/mdlLinhas.h"

#include "connections/frmUsuarioSenha.h"
#include "platform/mdlFiltroArquivos.h"
#include "platform/mdlGlobais.h"
#include "shell/frmGetName.h"
#include "shell/frmProgress.h"
#include "shell/frmWebBrowser.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QUrl>

// Every dialog finds its parent here, so only the GUI thread gets this far: a worker that reached a
// prompt is a fault of the program, stopped before it touches a window from the wrong thread.
QWidget* PromptJanelas::Pai()
{
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
        qFatal("A prompt was asked from a worker thread: only the GUI thread prompts.");
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

int PromptJanelas::MsgBox(const QString& texto, int estilo, const QString& titulo)
{
    // Windows live on their own thread only: a worker that got here is answered as a closed box.
    if (!NaLinhaDasJanelas()) {
        qWarning("Quarrix: message box asked from a worker thread: %s", qPrintable(texto));
        return RespostaPadrao(estilo);
    }
    QMessageBox caixa(Pai());
    caixa.setWindowTitle(titulo.isEmpty() ? globais::TituloAplicativo() : titulo);
    caixa.setText(texto);
    switch (estilo & 0x70) {
    case vb::Critical: caixa.setIcon(QMessageBox::Critical); break;
    case vb::Question: caixa.setIcon(QMessageBox::Question); break;
    case vb::Exclamation: caixa.setIcon(QMessageBox::Warning); break;
    case vb::Information: caixa.setIcon(QMessageBox::Information); break;
    default: caixa.setIcon(QMessageBox::NoIcon); break;
    }
    QAbstractButton* sim = nullptr;
    QAbstractButton* nao = nullptr;
    QAbstractButton* cancelar = nullptr;
    QAbstractButton* ok = nullptr;
    switch (estilo & 7) {
    case vb::YesNo:
        sim = caixa.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
        nao = caixa.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
        caixa.setEscapeButton(nao);
        break;
    case vb::YesNoCancel:
        sim = caixa.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
        nao = caixa.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
        cancelar = caixa.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
        break;
    case vb::OKCancel:
        ok = caixa.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancelar = caixa.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
        break;
    default:
        ok = caixa.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        caixa.setEscapeButton(ok);
        break;
    }
    if ((estilo & vb::DefaultButton2) && nao)
        caixa.setDefaultButton(static_cast<QPushButton*>(nao));
    // A message must show the normal pointer even in the middle of long work.
    const bool havia = QGuiApplication::overrideCursor() != nullptr;
    if (havia)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    caixa.exec();
    if (havia)
        QGuiApplication::restoreOverrideCursor();
    QAbstractButton* clicado = caixa.clickedButton();
    if (clicado && clicado == sim)
        return vb::Yes;
    if (clicado && clicado == nao)
        return vb::No;
    if (clicado && clicado == ok)
        return vb::OK;
    if (cancelar)
        return vb::Cancel;
    return nao ? vb::No : vb::OK;
}

QString PromptJanelas::InputBox(const QString& texto, const QString& titulo, const QString& padrao, bool* cancelado)
{
    bool ok = false;
    const QString r = QInputDialog::getText(Pai(),
                                            titulo.isEmpty() ? globais::TituloAplicativo() : titulo,
                                            texto,
                                            QLineEdit::Normal,
                                            padrao,
                                            &ok);
    if (cancelado)
        *cancelado = !ok;
    return ok ? r : padrao;
}

QString PromptJanelas::ArquivoAbrir(const QString& titulo, const QString& pasta, const QString& filtro, int entrada)
{
    QString selecionado = filtroarquivos::Entrada(filtro, entrada);
    return QFileDialog::getOpenFileName(Pai(), titulo, pasta, filtroarquivos::FiltroQt(filtro), &selecionado);
}

QString PromptJanelas::ArquivoSalvar(const QString& titulo, const QString& pasta, const QString& filtro, int entrada)
{
    // The caller asks about a file that exists, once, with the program's own question.
    QString selecionado = filtroarquivos::Entrada(filtro, entrada);
    return QFileDialog::getSaveFileName(Pai(),
                                        titulo,
                                        pasta,
                                        filtroarquivos::FiltroQt(filtro),
                                        &selecionado,
                                        QFileDialog::DontConfirmOverwrite);
}

QString PromptJanelas::ArquivoNovo(const QString& titulo, const QString& pasta, const QString& filtro, int entrada)
{
    return ArquivoSalvar(titulo, pasta, filtro, entrada);
}

int PromptJanelas::ExibirModal(QObject* dialogo)
{
    if (!NaLinhaDasJanelas())
        return 0;
    auto* d = qobject_cast<QDialog*>(dialogo);
    if (!d)
        return 0;
    const bool havia = QGuiApplication::overrideCursor() != nullptr;
    if (havia)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int r = d->exec();
    if (havia)
        QGuiApplication::restoreOverrideCursor();
    return r;
}

void PromptJanelas::Ampulheta(bool ligar)
{
    if (ligar)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

bool PromptJanelas::AbrirNoSistema(const QString& endereco) { return QDesktopServices::openUrl(QUrl(endereco)); }

QObject* PromptJanelas::AbrirNavegador(const QString& endereco)
{
    if (!m_area)
        return clsPrompt::AbrirNavegador(endereco);
    auto* janela = new frmWebBrowser(*this);
    janela->setAttribute(Qt::WA_DeleteOnClose);
    areajanelas::Hospedar(m_area, janela);
    janela->CarregForm(0, endereco);
    return janela;
}

QString PromptJanelas::PedirNome(const QString& inicial)
{
    frmGetName janela(Pai());
    janela.DefinirTexto(inicial);
    ExibirModal(&janela);
    return janela.blnConf ? janela.Texto() : inicial;
}

bool PromptJanelas::PedirUsuarioSenha(QString& usuario, QString& senha, bool& lembrar)
{
    if (!NaLinhaDasJanelas())
        return false;
    frmUsuarioSenha janela(Pai());
    janela.txtSqlUsuario->setText(usuario);
    ExibirModal(&janela);
    if (!janela.Confirmou)
        return false;
    usuario = janela.txtSqlUsuario->text();
    senha = janela.txtSqlSenha->text();
    lembrar = janela.chkLembrar->isChecked();
    return true;
}

void PromptJanelas::ProgressoStart(int qtde, const QString& caption)
{
    if (!m_progresso)
        m_progresso = new frmProgress(*this);
    QWidget* chamador = Pai();
    if (chamador == m_progresso)
        chamador = nullptr;
    m_progresso->ProgressoStart(qtde, caption, chamador);
}

bool PromptJanelas::ProgressoMove() { return !m_progresso || m_progresso->ProgressoMove(); }

void PromptJanelas::ProgressoClose()
{
    if (m_progresso)
        m_progresso->ProgressoClose();
}

void PromptJanelas::TrabalhoComProgresso(QObject* contexto,
                                         std::function<void(clsProgresso&)> trabalho,
                                         std::function<void()> fim)
{
    auto progresso = std::make_shared<clsProgresso>();
    QPointer<frmProgress> janela = new frmProgress(*this, Pai());
    janela->Acompanhar(progresso);
    // The window goes when the work ends, whether or not its caller is still there to hear it.
    const QPointer<QObject> alvo(contexto);
    const auto trabalhar = [progresso, trabalho = std::move(trabalho)] { trabalho(*progresso); };
    linhas::Iniciar(trabalhar, janela, [janela, alvo, fim = std::move(fim)] {
        // Closing would ask whether to abort: the window just goes.
        janela->hide();
        janela->deleteLater();
        if (alvo && fim)
            fim();
    });
}
