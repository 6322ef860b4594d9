#include "frmAdminNavegador.h"

#include "frmLogins.h"
#include "frmUsuarios.h"
#include "navigator/mdlNavegador.h"
#include "shell/clsAmbiente.h"

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
    case img::Logins: AbrirLista<frmLogins>(ambiente, no); return true;
    case img::Usuarios: AbrirLista<frmUsuarios>(ambiente, no); return true;
    default: return false;
    }
}
