#include "clsPrompt.h"

namespace {
class PromptSilencioso final : public clsPrompt {
public:
    int MsgBox(const QString&, int estilo, const QString&) override { return RespostaPadrao(estilo); }
    QString InputBox(const QString&, const QString&, const QString& padrao, bool* cancelado) override
    {
        if (cancelado)
            *cancelado = true;
        return padrao;
    }
    QString ArquivoAbrir(const QString&, const QString&, const QString&) override { return {}; }
    QString ArquivoSalvar(const QString&, const QString&, const QString&) override { return {}; }
    int ExibirModal(QObject*) override { return 0; }
    void Ampulheta(bool) override {}
    void ProcessarEventos() override {}
    bool AbrirNoSistema(const QString&) override { return false; }
    void ProgressoStart(int, const QString&) override {}
    bool ProgressoMove() override { return true; }
    void ProgressoClose() override {}
};

clsPrompt* silencioso()
{
    static PromptSilencioso s;
    return &s;
}
clsPrompt*& atual()
{
    static clsPrompt* p = silencioso();
    return p;
}
} // namespace

int RespostaPadrao(int estilo)
{
    switch (estilo & 7) {
    case vb::YesNo:
    case vb::YesNoCancel: return vb::No;
    case vb::OKCancel: return vb::Cancel;
    default: return vb::OK;
    }
}

clsPrompt& Prompt() { return *atual(); }

void DefinirPrompt(clsPrompt* prompt) { atual() = prompt ? prompt : silencioso(); }
