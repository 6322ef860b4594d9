#pragma once
// Companion programs started by Quarrix: they live next to the quarrix binary (or in the folder
// QUARRIX_PROGRAMAS names). An argument that carries a password reaches them in their environment
// or on their standard input, never on their command line, which other users can read.
#include <QHash>
#include <QString>
#include <QStringList>

class clsPrompt;

enum class Companheiro { ImportarExportar, Backup, Permissoes, VerificadorProvedor, EasySetup };

QString CaminhoCompanheiro(Companheiro c);

// Starts a program without waiting for it. On failure `erro` gets the system's description.
// `ambiente` adds variables to the program's environment (what must not show on its command line).
bool IniciarPrograma(const QString& programa,
                     const QStringList& argumentos,
                     QString* erro,
                     const QHash<QString, QString>& ambiente = {});

// The import/export program with "Orig=", "Dest=" and "Tab=" parts, each only when not empty,
// joined with "&". The argument carries a connection string, password and all, so the program gets
// it in its environment as QUARRIX_ARGUMENTO, never on its command line. A missing program is
// reported to the user. `programa` empty: the one next to quarrix.
QString ArgumentoImportarExportar(const QString& origem, const QString& destino, const QString& tabela);
void ExecutarImportarExportar(clsPrompt& prompt,
                              const QString& origem,
                              const QString& destino,
                              const QString& tabela,
                              const QString& programa = {});

// --- What the companion programs share ---

// The values of an argument string "Chave=valor&Chave=valor…" with the keys `chaves`. A key starts
// only where "&" (or the start of the text) is followed by one of them and "=", so a value (a
// password in a connection string, a path) may hold "&" and "=". False, with the reason, when the
// text does not begin with a key.
bool SepararArgumento(const QString& texto,
                      const QStringList& chaves,
                      QHash<QString, QString>& valores,
                      QString* erro = nullptr);

// The argument string the program was started with: QUARRIX_ARGUMENTO from its environment (taken
// out of it, so nothing it starts inherits it), else its standard input. Without `linhas` the
// whole input is the argument (trailing line breaks removed); with it, the argument is the first
// line and `linhas` gets the lines after it (all of them when the argument came in the
// environment). Only a program whose input is not a terminal may ask for `linhas`.
QString LerArgumentoPrograma(QStringList* linhas = nullptr);

// The command line of a companion program: "--sem-janela" (no window: the terminal reports) is
// its only option. False, with the usage printed, for anything else.
bool LerOpcoesPrograma(int argc, char** argv, const char* uso, bool& semJanela);
