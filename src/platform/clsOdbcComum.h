#pragma once
// Small pieces shared by the ODBC engine's files: handles, wide-text conversion, type mapping.
#include <QString>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "clsMotorOdbc.h"

struct clsMotorOdbc::Handles {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool conectado = false;
};

namespace odbc {

inline SQLWCHAR* W(const QString& s) { return reinterpret_cast<SQLWCHAR*>(const_cast<ushort*>(s.utf16())); }
inline QString DeW(const SQLWCHAR* p, qsizetype n = -1)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(p), n);
}
inline bool Ok(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// ADO field type of an ODBC result column; DATA_TYPE (OLE DB indicator) of the columns rowset.
int TipoCampoAdo(int sqlTipo, qint64 tamanho);
int TipoCatalogo(int sqlTipo, const QString& nomeTipo);
bool TipoLongo(int sqlTipo, const QString& nomeTipo, qint64 tamanho);
bool TipoFixo(int sqlTipo, const QString& nomeTipo);

} // namespace odbc
