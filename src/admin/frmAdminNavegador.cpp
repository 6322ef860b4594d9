#include "frmAdminNavegador.h"

#include "frmAttach.h"
#include "frmBackDevices.h"
#include "frmBackup.h"
#include "frmBackupRestore.h"
#include "frmDetach.h"
#include "frmLogins.h"
#include "frmShrink.h"
#include "frmUsuarios.h"
#include "gui/MenusNavegador.h"
#include "navigator/mdlNavegador.h"
#include "shell/clsAmbiente.h"

#include <QAction>

namespace {
template <typename Janela> void AbrirLista(clsAmbiente& ambiente, clsNo* no)
{
    auto* janela = new Janela(ambiente);
    if (!janela->CarregarForm(no->Tag(), qint16(LocalizarNoConectado(no).indice)))
        delete janela;
}
} // namespace

bool AbrirJanelaAdmin(clsAmbiente& ambiente, clsNo* no)
{
    switch (no->Image()) {
    case img::Backup: AbrirLista<frmBackDevices>(ambiente, no); return true;
    case img::Logins: AbrirLista<frmLogins>(ambiente, no); return true;
    case img::Usuarios: AbrirLista<frmUsuarios>(ambiente, no); return true;
    default: return false;
    }
}

void mnuNavSerAttach_Click(clsAmbiente& ambiente)
{
    clsNo* servidor = ambiente.Arvore().Selecionado();
    if (!servidor)
        return;
    frmAttach janela(ambiente);
    janela.setConnectionString(servidor->Tag());
    if (!janela.DataLoaded())
        return;
    ambiente.Prompt().ExibirModal(&janela);
    if (!janela.Sucess())
        return;
    IncluirNoBanco(ambiente.Arvore(), servidor, janela.DatabaseName());
}

void mnuNavBanDetach_Click(clsAmbiente& ambiente)
{
    clsNo* banco = ambiente.Arvore().Selecionado();
    if (!banco)
        return;
    frmDetach janela(ambiente);
    janela.setConnectionString(!banco->Tag().isEmpty() || !banco->Parent() ? banco->Tag() : banco->Parent()->Tag());
    janela.setDatabaseName(banco->Text());
    if (!janela.DataLoaded())
        return;
    ambiente.Prompt().ExibirModal(&janela);
    if (janela.Sucess())
        ambiente.Arvore().Remover(banco);
}

void mnuNavBanShrink_Click(clsAmbiente& ambiente)
{
    clsNo* banco = ambiente.Arvore().Selecionado();
    if (!banco)
        return;
    frmShrink janela(ambiente);
    janela.setConnectionString(banco->Tag());
    janela.setDatabaseName(banco->Text());
    if (janela.DataLoaded())
        ambiente.Prompt().ExibirModal(&janela);
}

void mnuNavBanBac_Click(clsAmbiente& ambiente)
{
    clsNo* no = ambiente.Arvore().Selecionado();
    if (!no)
        return;
    frmBackup janela(ambiente);
    janela.CarregarForm(no->Tag(), no->Image() == img::BancoConectado ? no->Text() : QString());
}

void mnuNavBanBacRest_Click(clsAmbiente& ambiente)
{
    clsNo* no = ambiente.Arvore().Selecionado();
    if (!no)
        return;
    frmBackupRestore janela(ambiente);
    janela.CarregarForm(no->Tag(), no->Image() == img::BancoConectado ? no->Text() : QString());
}

void LigarMenusAdmin(clsAmbiente& ambiente, const MenusNavegador& menus, QObject* contexto)
{
    const std::pair<const char*, void (*)(clsAmbiente&)> rotas[] = {
        {"mnuNavSerAttach", &mnuNavSerAttach_Click},
        {"mnuNavBanDetach", &mnuNavBanDetach_Click},
        {"mnuNavBanShrink", &mnuNavBanShrink_Click},
        {"mnuNavBanBac", &mnuNavBanBac_Click},
        {"mnuNavBacCri", &mnuNavBanBac_Click},
        {"mnuNavBanBacRest", &mnuNavBanBacRest_Click},
        {"mnuNavBacRest", &mnuNavBanBacRest_Click},
    };
    for (const auto& [nome, acao] : rotas)
        if (QAction* item = menus.Acao(QString::fromLatin1(nome)))
            QObject::connect(item, &QAction::triggered, contexto, [&ambiente, acao] { acao(ambiente); });
}
