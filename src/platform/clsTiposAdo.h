#pragma once
// Type codes, column flags and lock types with the numbers the whole program reads: a field's type
// is an ADO type code, a catalog's DATA_TYPE an OLE DB type indicator, COLUMN_FLAGS the OLE DB bits.
#include <QString>
#include <QtGlobal>

namespace ado {

enum TipoDado : int {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBoolean = 11,
    adVariant = 12,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adUnsignedSmallInt = 18,
    adUnsignedInt = 19,
    adBigInt = 20,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adDBDate = 133,
    adDBTime = 134,
    adDBTimeStamp = 135,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205,
};

enum LockType : int {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4
};
enum ObjectState : int { adStateClosed = 0, adStateOpen = 1 };
enum EditMode : int { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2, adEditDelete = 4 };
enum Posicao : int { adPosUnknown = -1, adPosBOF = -2, adPosEOF = -3 };

// OLE DB column flags (DBCOLUMNFLAGS_*), combined into COLUMN_FLAGS.
enum FlagColuna : int {
    ISBOOKMARK = 0x1,
    MAYDEFER = 0x2,
    WRITE = 0x4,
    WRITEUNKNOWN = 0x8,
    ISFIXEDLENGTH = 0x10,
    ISNULLABLE = 0x20,
    MAYBENULL = 0x40,
    ISLONG = 0x80,
    ISROWID = 0x100,
    ISROWVER = 0x200,
};

// Error numbers the recordset, the engines and the data layer report (the ADO and OLE DB numbers
// for the same faults). An engine's own codes (SQLite result codes, a server's native numbers)
// pass through as the engine gives them.
enum Erro : int {
    ErrArgumento = 3001, // bad Filter/Sort text, bad argument
    ErrOperacao = 3219, // operation not allowed in this context
    ErrSemRegistro = 3021, // BOF or EOF is true, or the row was deleted
    ErrCampoInexistente = 3265, // item not found in the collection
    ErrSomenteLeitura = 3251, // the recordset does not allow the operation
    ErrTipoValor = 3421, // a value of the wrong type
    ErrObjetoFechado = 3704, // the object is closed
    ErrProvedorInexistente = 3706, // the connection string names no provider, or an unknown one
    ErrSemConexao = 3709, // no open connection for the operation
    ErrInterrompida = 3712, // the user stopped the operation
    ErrConflito = -2147217864, // the row to update could not be found (changed meanwhile)
    ErrSemPermissao = -2147217911, // the connection is read-only: the statement would write
    ErrJaExiste = -2147217897, // the database to create already exists
    ErrTransacaoAtiva = -2147168237, // a transaction is already in progress on the connection
    ErrSemTransacao = -2147168242, // no transaction in progress to commit or roll back
    ErrProprio = -2147221503, // raised by the program itself, not by the database
    ErrFalhaProvedor = -2147467259, // the provider's generic failure (no number of its own)
    ErrTempoEsgotado = -2147217871, // the time-out ran out (login, statement or a locked file)
};

// Whether a type keeps text (the field's value is quoted in filters and statements).
inline bool TipoTexto(int t)
{
    return t == adChar || t == adWChar || t == adVarChar || t == adLongVarChar || t == adVarWChar || t == adLongVarWChar
           || t == adGUID;
}
inline bool TipoData(int t) { return t == adDate || t == adDBDate || t == adDBTime || t == adDBTimeStamp; }
inline bool TipoBinario(int t) { return t == adBinary || t == adVarBinary || t == adLongVarBinary; }
inline bool TipoInteiro(int t)
{
    return t == adSmallInt || t == adInteger || t == adTinyInt || t == adUnsignedTinyInt || t == adUnsignedSmallInt
           || t == adUnsignedInt || t == adBigInt || t == adBoolean;
}
inline bool TipoReal(int t)
{
    return t == adSingle || t == adDouble || t == adCurrency || t == adDecimal || t == adNumeric;
}
// Exact decimals: their values are kept and handed out as canonical text (mdlDecimal.h).
inline bool TipoDecimal(int t) { return t == adDecimal || t == adNumeric; }

// The size ADO reports for a fixed-size type (bytes), 0 for the others.
qint64 TamanhoFixo(int tipo);

// A column's declared SQL type ("NVARCHAR(50)", "DECIMAL(10, 2)", "INTEGER"...) read the way the
// catalog reports it: the field type of a recordset, the DATA_TYPE indicator of the columns
// rowset, sizes and the length/long/fixed traits that build COLUMN_FLAGS.
struct TipoDeclarado {
    int tipoCampo = adVarWChar; // ADO type of a recordset field
    int tipoCatalogo = adWChar; // DATA_TYPE of the columns rowset
    qint64 tamanho = 0; // DefinedSize / CHARACTER_MAXIMUM_LENGTH (0 when not text/binary)
    int precisao = 0; // NUMERIC_PRECISION
    int escala = 0; // NUMERIC_SCALE
    int precisaoData = 0; // DATETIME_PRECISION
    bool longo = false; // ISLONG (memo, text, image)
    bool fixo = false; // ISFIXEDLENGTH
    bool versaoLinha = false; // ISROWVER (rowversion / timestamp of the server)
};
TipoDeclarado InterpretarTipoDeclarado(const QString& declarado);

// COLUMN_FLAGS of a column from its traits.
int FlagsColuna(const TipoDeclarado& t, bool anulavel, bool gravavel = true);

} // namespace ado
