#pragma once
// The SQL Server type name of a column, from the metadata a provider reports in its COLUMNS schema
// rowset. The names are the vocabulary of the structure designer's type list and of the scripts.
#include <QString>

class clsRecordset;

namespace tipodado {

// OLE DB column flags that decide between the fixed, variable and long forms of a type.
enum FlagColuna : qint32 {
    IsFixedLength = 0x10,
    IsNullable = 0x20,
    MayBeNull = 0x40,
    IsLong = 0x80,
    IsRowVer = 0x200,
};

// `lngDataType` is the DATA_TYPE (OLE DB type indicator); `lngLength` the CHARACTER_MAXIMUM_LENGTH,
// set to 0 for Bit, Image and Text/nText. With `blnWithSize` the size goes after the name:
// "VarChar(50)", "Decimal(18, 2)". Unknown types give the empty text.
QString ObterTipoDado(qint32 lngDataType,
                      qint32& lngLength,
                      bool blnWithSize,
                      qint32 lngPrecision,
                      qint32 lngScale,
                      qint32 lngDatetimePrecision,
                      qint32 lngColumnFlags);

// ObterTipoDado for the current row of a COLUMNS schema rowset; `tamanho`, when given, gets the
// size as the type reads it (0 for the types that have none).
QString TipoDaColuna(const clsRecordset& rs, bool comTamanho, qint32* tamanho = nullptr);

} // namespace tipodado
