#include "clsPrompt.h"

#include "clsProgresso.h"
#include "mdlGlobais.h"
#include "mdlLinhas.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

bool NaLinhaDasJanelas()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

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

void clsPrompt::TrabalhoComProgresso(QObject* contexto,
                                     std::function<void(clsProgresso&)> trabalho,
                                     std::function<void()> fim)
{
    auto progresso = std::make_shared<clsProgresso>();
    linhas::Iniciar([progresso, trabalho = std::move(trabalho)] { trabalho(*progresso); }, contexto, std::move(fim));
}
