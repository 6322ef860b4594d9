#pragma once
// Companion programs started by Quarrix: they live next to the quarrix binary.
#include <QString>
#include <QStringList>

class clsPrompt;

enum class Companheiro { ImportarExportar, Backup, Permissoes, VerificadorProvedor, EasySetup };

QString CaminhoCompanheiro(Companheiro c);

// Starts a program without waiting for it. On failure `erro` gets the system's description.
bool IniciarPrograma(const QString& programa, const QStringList& argumentos, QString* erro);

// The import/export program with "Orig=", "Dest=" and "Tab=" parts, each only when not empty,
// joined with "&". A missing program is reported to the user.
QString ArgumentoImportarExportar(const QString& origem, const QString& destino, const QString& tabela);
void ExecutarImportarExportar(clsPrompt& prompt, const QString& origem, const QString& destino, const QString& tabela);
