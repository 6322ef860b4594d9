#pragma once
// How a cell of the results grid reads as text and how typed text becomes the value written back
// into the recordset, per kind of field: numbers with every digit (floats in their shortest
// round-trip form, decimals exactly) in the user's notation, dates in the column's own kind (date,
// time, date and time), binaries never as text.
#include "platform/clsRecordset.h"

#include <QString>
#include <QVariant>

namespace textocelula {

enum class Tempo { Data, Hora, DataHora };

// The kind of date a cell holds: from the field's type where it says so; on file databases (one
// type for all three) from the text the database keeps for the value.
Tempo TempoDaCelula(const clsRecordset& rs, int linha, int campo);

// The text shown in the grid; null for a null value.
QVariant TextoExibido(const clsRecordset& rs, int linha, int campo);
// The text the cell's editor starts with (empty for null); reading it back gives the same value.
QString TextoEdicao(const clsRecordset& rs, int linha, int campo);

// The value typed `texto` stands for in the cell: null for an empty text. False when the text
// does not fit the field (a number too big or not a number, a date that is not one).
bool LerTexto(const clsRecordset& rs, int linha, int campo, const QString& texto, QVariant& valor);

// "O valor '…' não serve para o campo '…'."
QString MensagemNaoServe(const QString& texto, const QString& campo);

} // namespace textocelula
