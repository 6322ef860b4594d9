#include "mdlDocumentador.h"

namespace documentador {

QString Documentar(clsAmbienteDados&, const QString&, Alcance, const QString&, const QString&) { return {}; }

} // namespace documentador
