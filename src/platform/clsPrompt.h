#pragma once
// The one way the program talks to the user: message boxes, questions, input, file dialogs, modal
// dialogs, the hourglass and "let pending events run". The windows install the real implementation;
// tests install a scripted one, so every flow runs headless and its messages can be asserted.
#include <QObject>
#include <QString>

// Button sets, icons and answers keep the values every message of the program is written with.
namespace vb {
enum Botoes : int {
    OKOnly = 0,
    OKCancel = 1,
    YesNoCancel = 3,
    YesNo = 4,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
};
enum Resposta : int { OK = 1, Cancel = 2, Yes = 6, No = 7 };
} // namespace vb

class clsPrompt {
public:
    virtual ~clsPrompt() = default;

    // Message box. `estilo` combines a button set and an icon; an empty title means the program title.
    virtual int MsgBox(const QString& texto, int estilo = vb::OKOnly, const QString& titulo = QString()) = 0;
    // One-line text input; returns the default on cancel when `cancelado` is null, else sets it.
    virtual QString InputBox(const QString& texto, const QString& titulo, const QString& padrao,
                             bool* cancelado = nullptr) = 0;
    // File dialogs; empty on cancel. `filtro` uses Qt's "Desc (*.ext);;…" syntax.
    virtual QString ArquivoAbrir(const QString& titulo, const QString& pasta, const QString& filtro) = 0;
    virtual QString ArquivoSalvar(const QString& titulo, const QString& pasta, const QString& filtro) = 0;
    // Shows a dialog (a QDialog) modally; returns its result code (accepted = 1).
    virtual int ExibirModal(QObject* dialogo) = 0;
    // Hourglass pointer on (true) or back to normal (false); calls nest.
    virtual void Ampulheta(bool ligar) = 0;
    // Lets pending window events run.
    virtual void ProcessarEventos() = 0;
    // Hands an address (http:, mailto:, file:) to the desktop.
    virtual bool AbrirNoSistema(const QString& endereco) = 0;

    // The progress window of long work: `qtde` steps under a caption. ProgressoMove advances one
    // step, lets events run and returns false once the user asked to abort (Esc, then Yes).
    virtual void ProgressoStart(int qtde, const QString& caption) = 0;
    virtual bool ProgressoMove() = 0;
    virtual void ProgressoClose() = 0;
};

// The answer of a message box closed without a choice: No for questions, Cancel where offered, else OK.
int RespostaPadrao(int estilo);

// The implementation in force. Never null: before the windows install theirs, a silent one answers
// every question with its default (No / Cancel / empty) and records nothing.
clsPrompt& Prompt();
void DefinirPrompt(clsPrompt* prompt);

// Hourglass for the lifetime of a scope, restored also when the scope is left by an error.
class clsAmpulheta {
public:
    clsAmpulheta() { Prompt().Ampulheta(true); }
    ~clsAmpulheta() { Prompt().Ampulheta(false); }
    clsAmpulheta(const clsAmpulheta&) = delete;
    clsAmpulheta& operator=(const clsAmpulheta&) = delete;
};
