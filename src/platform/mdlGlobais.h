#pragma once
// The program's title and version text.
#include <QString>

namespace globais {

// "1.26f" for major 1 and minor 266: the major number, a point, the first two digits of the minor
// number and, when it has a third digit d, the letter of code 96 + d.
QString ObterVersao(int maior = QUARRIX_VERSAO_MAIOR, int menor = QUARRIX_VERSAO_MENOR);
int Revisao();

// "Quarrix v" + the version text: the main window's caption and the title of nearly every message.
const QString& TituloAplicativo();

// The per-day working folder: the temporary folder + "/TmpQuarrix" + yyyyMMdd.
QString PastaTemporariaDoDia();
// The user's documents folder.
QString PastaDocumentosUsuario();

} // namespace globais
