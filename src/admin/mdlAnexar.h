#pragma once
// Small rules of the attach, shrink and backup dialogs that need no window.
#include <QString>

namespace admin {

// The database name a data file suggests: its name without folder (either separator, so a
// server's Windows path works too) and without its last extension.
QString NomeBancoDoArquivo(const QString& caminho);
// Megabytes as the shrink dialog shows them: whole, grouped ("1.234 MB").
QString TextoMb(double mb);
// "(25%)": the free share of the size, rounded; "(0%)" for an empty size.
QString TextoPercentual(double livreMb, double tamanhoMb);
// The shrink mode of an option's text: "Truncate Only" 2, "Empty File" 3, "No Truncate" 1, else 0.
int ModoShrink(const QString& opcao);
// The desired free space typed (empty reads 0; a leading number as typed), and whether it is
// accepted (0 to 99).
int PercentualDesejado(const QString& texto);
bool PercentualValido(const QString& texto);

} // namespace admin
