#pragma once
// The one way the program talks to the user: message boxes, questions, input, file dialogs, modal
// dialogs, the name and login prompts, the built-in browser, the hourglass and "let pending events
// run". The program's context holds one: the windows' implementation in the program, a scripted one
// in tests, a silent one in the companion programs, so every flow runs headless and its messages
// can be asserted.
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class clsProgresso;

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
    // The second button is the default one (Enter answers No): destructive questions.
    DefaultButton2 = 256,
};
enum Resposta : int { OK = 1, Cancel = 2, Yes = 6, No = 7 };
} // namespace vb

class clsPrompt {
public:
    virtual ~clsPrompt() = default;

    // Message box. `estilo` combines a button set and an icon; an empty title means the program title.
    virtual int MsgBox(const QString& texto, int estilo = vb::OKOnly, const QString& titulo = QString()) = 0;
    // One-line text input; returns the default on cancel when `cancelado` is null, else sets it.
    virtual QString
    InputBox(const QString& texto, const QString& titulo, const QString& padrao, bool* cancelado = nullptr)
        = 0;
    // File dialogs; empty on cancel. `filtro` is "Descrição|padrões|…" (patterns joined by ";"), or
    // Qt's "Desc (*.ext);;…"; `entrada` is the filter entry selected as the dialog opens (from 0).
    // An open dialog picks a file that exists, to read it.
    virtual QString ArquivoAbrir(const QString& titulo, const QString& pasta, const QString& filtro, int entrada = 0)
        = 0;
    // A save dialog never asks itself about replacing a file: the caller asks once, with the
    // program's own question (PodeSobrescrever), or takes an existing file as it is.
    virtual QString ArquivoSalvar(const QString& titulo, const QString& pasta, const QString& filtro, int entrada = 0)
        = 0;
    // A save dialog for a file about to be created (the caller refuses one that exists).
    virtual QString ArquivoNovo(const QString& titulo, const QString& pasta, const QString& filtro, int entrada = 0)
    {
        return ArquivoSalvar(titulo, pasta, filtro, entrada);
    }
    // Shows a dialog (a QDialog) modally; returns its result code (accepted = 1).
    virtual int ExibirModal(QObject* dialogo) = 0;
    // Hourglass pointer on (true) or back to normal (false); calls nest.
    virtual void Ampulheta(bool ligar) = 0;
    // Hands an address (http:, mailto:, file:) to the desktop.
    virtual bool AbrirNoSistema(const QString& endereco) = 0;
    // Opens the built-in browser on an address and returns its window; without one the address
    // goes to the desktop's browser and the answer is null.
    virtual QObject* AbrirNavegador(const QString& endereco)
    {
        AbrirNoSistema(endereco);
        return nullptr;
    }
    // The one-line name window, pre-filled with `inicial`: the typed text when the user confirmed,
    // otherwise `inicial`.
    virtual QString PedirNome(const QString& inicial) = 0;
    // The login window: fills user and password and whether to remember the password; false when
    // the user cancelled.
    virtual bool PedirUsuarioSenha(QString& usuario, QString& senha, bool& lembrar) = 0;

    // The progress window of long work: `qtde` steps under a caption. ProgressoMove advances one
    // step and returns false once the user asked to abort (Esc, then Yes).
    virtual void ProgressoStart(int qtde, const QString& caption) = 0;
    virtual bool ProgressoMove() = 0;
    virtual void ProgressoClose() = 0;

    // Long work off the GUI thread: `trabalho` runs on a worker thread and reports through its
    // clsProgresso (stages, steps, the user's stop) and reaches no prompt; `fim` runs on the GUI
    // thread once it ended, unless `contexto` is gone by then. The windows show a progress window
    // meanwhile, without modality, with "Parar" (Esc asks first); nothing waits for the worker.
    virtual void
    TrabalhoComProgresso(QObject* contexto, std::function<void(clsProgresso&)> trabalho, std::function<void()> fim);
};

// Whether the caller runs on the thread of the windows (the application's): the only one that may
// reach a prompt. Work on worker threads keeps its messages and hands them back.
bool NaLinhaDasJanelas();

// When `arquivo` exists, asks "Arquivo já existente, deseja sobrescrevê-lo ?" (Yes/No); true when
// the file may be written: it does not exist, or the user answered Yes.
bool PodeSobrescrever(clsPrompt& prompt, const QString& arquivo);

// Before changes not saved would be dropped: asks "Deseja gravar as alterações?" (Yes/No/Cancel,
// the program's title) and returns the answer.
int PerguntarGravarAlteracoes(clsPrompt& prompt);

// The answer of a message box closed without a choice: No for questions, Cancel where offered, else OK.
int RespostaPadrao(int estilo);

// Answers every question with its default (No / Cancel / empty), shows nothing and records nothing:
// the prompt of programs without windows.
class clsPromptSilencioso final : public clsPrompt {
public:
    int MsgBox(const QString&, int estilo, const QString&) override { return RespostaPadrao(estilo); }
    QString InputBox(const QString&, const QString&, const QString& padrao, bool* cancelado) override;
    QString ArquivoAbrir(const QString&, const QString&, const QString&, int) override { return {}; }
    QString ArquivoSalvar(const QString&, const QString&, const QString&, int) override { return {}; }
    int ExibirModal(QObject*) override { return 0; }
    void Ampulheta(bool) override {}
    bool AbrirNoSistema(const QString&) override { return false; }
    QString PedirNome(const QString& inicial) override { return inicial; }
    bool PedirUsuarioSenha(QString&, QString&, bool&) override { return false; }
    void ProgressoStart(int, const QString&) override {}
    bool ProgressoMove() override { return true; }
    void ProgressoClose() override {}
};

// Hourglass for the lifetime of a scope, restored also when the scope is left by an error.
class clsAmpulheta {
public:
    explicit clsAmpulheta(clsPrompt& prompt) : m_prompt(prompt) { m_prompt.Ampulheta(true); }
    ~clsAmpulheta() { m_prompt.Ampulheta(false); }
    clsAmpulheta(const clsAmpulheta&) = delete;
    clsAmpulheta& operator=(const clsAmpulheta&) = delete;

private:
    clsPrompt& m_prompt;
};
