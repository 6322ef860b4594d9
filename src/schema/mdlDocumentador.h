#pragma once
// The documenter: a text file describing the columns of one table, or of every table (or every
// system table) of a database, written in the working folder and handed to the desktop's text
// editor through the prompt.
#include <QString>

class clsAmbienteDados;

namespace documentador {

enum class Alcance { Tabela, TodasTabelas, TabelasSistema };

// Writes the file and returns its path (empty when nothing was written). `legenda` is the main
// window's caption printed in each heading; `tabela` is used with Alcance::Tabela.
QString Documentar(clsAmbienteDados& amb, const QString& chave, Alcance alcance, const QString& tabela, const QString& legenda);

} // namespace documentador
