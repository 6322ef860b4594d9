#pragma once
// Scripted prompt for tests: records every message and answers from queues. An unanswered question
// gets its default (No / Cancel / empty), and that is recorded too, so a test sees unexpected asks.
// A test hands it to the context it builds (clsAmbienteDados and the contexts above it).
#include "platform/clsPrompt.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

struct MensagemRegistrada {
    QString texto;
    int estilo = 0;
    QString titulo;
    int icone() const { return estilo & 0x70; }
    int botoes() const { return estilo & 7; }
};

class clsPromptRoteiro : public clsPrompt {
public:
    QList<MensagemRegistrada> mensagens;
    // Called as each message box is shown, before it is answered: a test looks at the screen here.
    std::function<void(const MensagemRegistrada&)> aoMostrar;
    QQueue<int> respostas; // answers to MsgBox, in order
    QQueue<QString> entradas; // answers to InputBox (a null QString means cancel)
    QQueue<QString> arquivos; // answers to the file dialogs
    // The file dialogs asked for, in order: kind ("abrir", "salvar", "novo") and filter.
    QList<std::pair<QString, QString>> dialogosArquivo;
    QList<int> entradasFiltro; // the filter entry each of those dialogs opened on
    QStringList enderecosAbertos; // what AbrirNoSistema got
    QStringList enderecosNavegador; // what AbrirNavegador got (no window is made)
    QQueue<QString> nomes; // answers to PedirNome (a null QString means cancel)
    QStringList nomesPedidos; // the initial texts PedirNome was given
    // Answers the login window: fills user and password and whether to remember; without one the
    // user cancels.
    std::function<bool(QString& usuario, QString& senha, bool& lembrar)> login;
    int loginsPedidos = 0;
    // Called for each modal dialog; returns its result code. Without one, dialogs are refused (0).
    QQueue<std::function<int(QObject*)>> dialogos;
    int ampulheta = 0; // current nesting level

    QStringList textos() const;
    MensagemRegistrada ultima() const { return mensagens.value(mensagens.size() - 1); }

    // Ends the test run when a prompt is reached off the windows' thread.
    static void ExigirLinhaDasJanelas(const char* chamada);
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    QString InputBox(const QString& texto, const QString& titulo, const QString& padrao, bool* cancelado) override;
    QString ArquivoAbrir(const QString& titulo, const QString& pasta, const QString& filtro, int entrada) override;
    QString ArquivoSalvar(const QString& titulo, const QString& pasta, const QString& filtro, int entrada) override;
    QString ArquivoNovo(const QString& titulo, const QString& pasta, const QString& filtro, int entrada) override;
    int ExibirModal(QObject* dialogo) override;
    void Ampulheta(bool ligar) override { ampulheta += ligar ? 1 : -1; }
    bool AbrirNoSistema(const QString& endereco) override
    {
        enderecosAbertos << endereco;
        return true;
    }
    QObject* AbrirNavegador(const QString& endereco) override
    {
        enderecosNavegador << endereco;
        return nullptr;
    }
    QString PedirNome(const QString& inicial) override;
    bool PedirUsuarioSenha(QString& usuario, QString& senha, bool& lembrar) override
    {
        ExigirLinhaDasJanelas("PedirUsuarioSenha");
        ++loginsPedidos;
        return login && login(usuario, senha, lembrar);
    }

    // Progress: what was started, how many steps moved, and the step (1-based) at which the
    // scripted user aborts (0: never).
    QStringList progressos;
    int passosProgresso = 0;
    int abortarNoPasso = 0;
    bool progressoAberto = false;
    void ProgressoStart(int qtde, const QString& caption) override
    {
        progressos << caption;
        passosProgresso = 0;
        progressoAberto = true;
    }
    bool ProgressoMove() override
    {
        ++passosProgresso;
        return abortarNoPasso == 0 || passosProgresso < abortarNoPasso;
    }
    void ProgressoClose() override { progressoAberto = false; }
};
