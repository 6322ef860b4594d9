#pragma once
// The prompt interface on real windows: QMessageBox, QInputDialog, QFileDialog, the name and login
// windows, the built-in browser in the main window's MDI area, the override cursor
// and QDesktopServices.
#include "platform/clsPrompt.h"

#include <QMdiArea>
#include <QPointer>

class QWidget;
class frmProgress;

class PromptJanelas final : public clsPrompt {
public:
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    QString InputBox(const QString& texto, const QString& titulo, const QString& padrao, bool* cancelado) override;
    QString ArquivoAbrir(const QString& titulo, const QString& pasta, const QString& filtro, int entrada) override;
    QString ArquivoSalvar(const QString& titulo, const QString& pasta, const QString& filtro, int entrada) override;
    QString ArquivoNovo(const QString& titulo, const QString& pasta, const QString& filtro, int entrada) override;
    int ExibirModal(QObject* dialogo) override;
    void Ampulheta(bool ligar) override;
    bool AbrirNoSistema(const QString& endereco) override;
    QObject* AbrirNavegador(const QString& endereco) override;
    QString PedirNome(const QString& inicial) override;
    bool PedirUsuarioSenha(QString& usuario, QString& senha, bool& lembrar) override;
    void ProgressoStart(int qtde, const QString& caption) override;
    bool ProgressoMove() override;
    void ProgressoClose() override;
    void TrabalhoComProgresso(QObject* contexto,
                              std::function<void(clsProgresso&)> trabalho,
                              std::function<void()> fim) override;

    // Where browser windows open; without one (or once it is gone) addresses go to the desktop.
    void DefinirAreaJanelas(QMdiArea* area) { m_area = area; }
    QMdiArea* AreaJanelas() const { return m_area; }

private:
    static QWidget* Pai();
    QPointer<QMdiArea> m_area;
    // One progress window serves all long work; it is made again if the window it sat on went away.
    QPointer<frmProgress> m_progresso;
};
