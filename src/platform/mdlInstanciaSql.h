#pragma once
// The TCP port of a named SQL Server instance ("host\INSTANCIA"), asked of the server's browser
// service over UDP, within a time limit: the driver's own lookup retries for about 16 seconds
// whatever login time-out was asked.
#include "clsErro.h"

#include <QString>

namespace instanciasql {

constexpr quint16 PortaNavegador = 1434;

// The port the instance listens on; 0 with the reason in `erro` when the service does not answer
// within `segundos` (the text then says "tempo esgotado"), refuses, or does not know the instance.
quint16 PortaDaInstancia(const QString& host,
                         const QString& instancia,
                         int segundos,
                         ErroDados& erro,
                         quint16 portaNavegador = PortaNavegador);

// The port named in the service's answer ("ServerName;X;InstanceName;Y;…;tcp;1433;;") for the
// instance; 0 when it is not there.
quint16 PortaNaResposta(const QByteArray& resposta, const QString& instancia);

} // namespace instanciasql
