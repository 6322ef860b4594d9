#include "mdlOpcoes.h"

#include "connections/clsAmbienteDados.h"
#include "platform/clsSettings.h"
#include "platform/mdlFuncoes.h"

#include <cmath>
#include <limits>

namespace opcoes {

double LerOpcao(const QString& chave)
{
    return funcoes::LerNumero(settings::GetSetting(Secao, chave, QStringLiteral("0")));
}

qint16 LimitarTimeOut(double segundos)
{
    const double inteiro = std::nearbyint(segundos);
    if (!(inteiro > 0)) // also NaN
        return 0;
    if (inteiro >= std::numeric_limits<qint16>::max())
        return std::numeric_limits<qint16>::max();
    return qint16(inteiro);
}

void CarregarOpcoes(clsOpcoes& opcoes)
{
    bool* flags[] = {&opcoes.CheckBeforeSql,
                     &opcoes.PassoPasso,
                     &opcoes.IntellisenseLista,
                     &opcoes.AbrirExecutando,
                     &opcoes.Focalizar,
                     &opcoes.GuardarConfig};
    for (qsizetype i = 0; i < ChavesBooleanas.size(); ++i)
        *flags[i] = LerOpcao(ChavesBooleanas[i]) != 0;
    opcoes.TimeOut = LimitarTimeOut(LerOpcao(ChaveTimeOut));
}

} // namespace opcoes
