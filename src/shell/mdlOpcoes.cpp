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

qint64 LerLimite(const QString& chave, qint64 padrao)
{
    const double v = std::nearbyint(LerOpcao(chave));
    if (!(v >= 1) || v > 1e15) // also NaN
        return padrao;
    return qint64(v);
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
    const clsOpcoes padrao;
    opcoes.LimiteLinhas = LerLimite(ChaveLimiteLinhas, padrao.LimiteLinhas);
    opcoes.LimiteMegabytes = LerLimite(ChaveLimiteMegabytes, padrao.LimiteMegabytes);
}

} // namespace opcoes
