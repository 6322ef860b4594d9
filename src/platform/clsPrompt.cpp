#include "clsPrompt.h"

int RespostaPadrao(int estilo)
{
    switch (estilo & 7) {
    case vb::YesNo:
    case vb::YesNoCancel: return vb::No;
    case vb::OKCancel: return vb::Cancel;
    default: return vb::OK;
    }
}

QString clsPromptSilencioso::InputBox(const QString&, const QString&, const QString& padrao, bool* cancelado)
{
    if (cancelado)
        *cancelado = true;
    return padrao;
}
