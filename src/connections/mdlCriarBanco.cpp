#include "mdlCriarBanco.h"

#include "platform/clsMotor.h"

bool CriarBancoAccess(const QString& caminho, QString* erro)
{
    ErroDados e;
    if (CriarBancoArquivo(caminho, e))
        return true;
    *erro = e.descricao;
    return false;
}
