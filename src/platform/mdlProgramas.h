#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
// Companion programs started by Quarrix: they live next to the quarrix binary.
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
