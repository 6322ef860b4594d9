#pragma once
// The prompt interface on real windows: QMessageBox, QInputDialog, QFileDialog, the override
// cursor, processEvents and QDesktopServices.
#include "platform/clsPrompt.h"

class QWidget;

class PromptJanelas final : public clsPrompt {
public:
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    QString InputBox(const QString& texto, const QString& titulo, const QString& padrao, bool* cancelado) override;
    QString ArquivoAbrir(const QString& titulo, const QString& pasta, const QString& filtro) override;
    QString ArquivoSalvar(const QString& titulo, const QString& pasta, const QString& filtro) override;
    int ExibirModal(QObject* dialogo) override;
    void Ampulheta(bool ligar) override;
    void ProcessarEventos() override;
    bool AbrirNoSistema(const QString& endereco) override;
    void ProgressoStart(int qtde, const QString& caption) override;
    bool ProgressoMove() override;
    void ProgressoClose() override;

private:
    static QWidget* Pai();
};
