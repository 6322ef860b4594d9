#include "mdlCaminhoServidor.h"

#include "connections/clsSqlDmoSessao.h"
#include "platform/clsPrompt.h"

#include <QStringList>

namespace funcoes {

bool ValidarCaminhoServidor(clsPrompt& prompt, const QString& caminho, clsSqlDmoSessao& sessao)
{
    QList<DiscoFixo> discosFixos;
    sessao.EnumFixedDrives(discosFixos);
    QStringList raizes;
    // The server names its disks by letter ("C"); the list shows their roots ("C:\").
    for (const DiscoFixo& disco : discosFixos)
        raizes << (disco.unidade.size() == 1 ? disco.unidade + QStringLiteral(":\\") : disco.unidade);
    const QString discos = raizes.join(QStringLiteral(" - "));
    // An empty path would be "found" in any list; it names no place on the server.
    const QString inicio = caminho.left(3).toUpper();
    if (!inicio.isEmpty() && discos.contains(inicio))
        return true;
    prompt.MsgBox(QStringLiteral("O servidor [") + sessao.Name() + QStringLiteral("] não aceita o caminho [") + caminho
                      + QStringLiteral("]. ") + u'\n'
                      + QStringLiteral("Deve-se especificar um local que esteja fisicamente no servidor.") + u'\n'
                      + discos,
                  vb::Critical);
    return false;
}

} // namespace funcoes
