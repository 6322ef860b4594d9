#pragma once
// Program-wide state: the title and version text, the working folders and the option flags.
#include <QString>

namespace globais {

// "1.26f" for major 1 and minor 266: the major number, a point, the first two digits of the minor
// number and, when it has a third digit d, the letter of code 96 + d.
QString ObterVersao(int maior = QUARRIX_VERSAO_MAIOR, int menor = QUARRIX_VERSAO_MENOR);
int Revisao();

// "Quarrix v" + the version text: the main window's caption and the title of nearly every message.
const QString& TituloAplicativo();

// The per-day working folder: the temporary folder + "/TmpQuarrix" + yyyyMMdd (created on demand).
QString& PastaTemporaria();
// The user's documents folder; the query window replaces it with the folder last used.
QString& PastaDocumentos();
// Computes both folders (called once at start).
void InicializarPastas();

// Toggled by the tools menu, never stored: the connect operation then checks the providers.
extern bool VerificarDllsNaConexao;

// Option flags loaded by CarregarOpcoes.
extern bool CheckBeforeSql;
extern bool PassoPasso;
extern bool IntellisenseLista;
extern bool AbrirExecutando;
extern bool Focalizar;
extern bool GuardarConfig;
extern qint16 TimeOut;

} // namespace globais
