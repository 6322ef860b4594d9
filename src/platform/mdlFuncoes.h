#pragma once
// Small stateless helpers used across the program: null handling for values read from recordsets,
// zero padding, bracketing of object names, a growing list without duplicates, alignment for
// plain-text listings and folder creation.
#include <QString>
#include <QVariant>

namespace funcoes {

// A text read as a number the way stored settings are read back: leading blanks are skipped, then
// as much of the text as forms a number is taken ("12abc" is 12); text that does not begin with a
// number reads as 0.
double LerNumero(const QString& texto);
// LerNumero rounded to a whole number.
int LerInteiro(const QString& texto);
// True when the whole text (blanks around it aside) is a number.
bool EhNumerico(const QString& texto);

// The value's text (0 when null), left-padded with "0" to n characters and cut to its last n.
QString CompletarZeros(const QVariant& valor, qint16 n);
// The value, or 0 when it is null.
QVariant NuloZero(const QVariant& valor);
// The value as text, or the replacement when it is null.
QString NuloTexto(const QVariant& valor, const QString& substituto = QString());
// "[" + name + "]" when the name contains a blank, "_" or "."; otherwise the name unchanged.
QString NomeObjeto(const QString& nome);

// Adds a value to a list that grows in place. The list starts as any non-list value and becomes a
// list on the first call. When the value is already present (and is not itself a list) `indice`
// gets its 1-based position and nothing is added, unless `blnRepetir` asks for a new copy; a
// value added gets the new last position.
void IncluirNoArray(QVariant& lista, const QVariant& valor, int& indice, bool blnRepetir = false);

// The value's text (null is empty) cut to the width, then padded with blanks: 0 left, 1 right,
// 2 centred (the blanks in front rounded half to even).
QString AlinharTexto(const QVariant& valor, int largura, int alinhamento);

// Creates the folder and any missing parent; true when the folder exists afterwards.
bool CriarPasta(const QString& pasta);

} // namespace funcoes
