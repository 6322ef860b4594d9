#include "clsPrompt.h"

#include "mdlGlobais.h"

#include <QFileInfo>

bool PodeSobrescrever(clsPrompt& prompt, const QString& arquivo)
{
    if (!QFileInfo::exists(arquivo))
        return true;
    return prompt.MsgBox(QStringLiteral("Arquivo já existente, deseja sobrescrevê-lo ?"), vb::YesNo | vb::Question)
           == vb::Yes;
}

int PerguntarGravarAlteracoes(clsPrompt& prompt)
{
    return prompt.MsgBox(QStringLiteral("Deseja gravar as alterações?"),
                         vb::YesNoCancel | vb::Question,
                         globais::TituloAplicativo());
}

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
