#pragma once
#include <QList>
// Small pieces shared by the ODBC engine's files: handles, diagnostics, wide-text conversion, type
// mapping.
#include <QString>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "clsMotorOdbc.h"
#include "clsOdbcHandle.h"

struct clsMotorOdbc::Handles {
    odbc::Ambiente env;
    odbc::Conexao dbc; // after env: freed before it
};

namespace odbc {

inline SQLWCHAR* W(const QString& s) { return reinterpret_cast<SQLWCHAR*>(const_cast<ushort*>(s.utf16())); }
inline QString DeW(const SQLWCHAR* p, qsizetype n = -1)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(p), n);
}
inline bool Ok(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// A handle's diagnostics as an engine error: the first record's native number (the provider's
// generic failure when it has none) and every message on its own line; `padrao` when the driver
// left no message.
// One diagnostic record of a handle: SQLSTATE, the server's own number and the message.
struct RegistroDiag {
    QString estado;
    long nativo = 0;
    QString texto;
};
QList<RegistroDiag> RegistrosDiag(SQLSMALLINT tipo, SQLHANDLE handle);
ErroDados Diagnostico(SQLSMALLINT tipo, SQLHANDLE handle, const QString& padrao = QString());
template <SQLSMALLINT Tipo> ErroDados Diagnostico(const Handle<Tipo>& h, const QString& padrao = QString())
{
    return Diagnostico(Tipo, h.get(), padrao);
}
inline ErroDados Diagnostico(const Conexao& c, const QString& padrao = QString())
{
    return Diagnostico(SQL_HANDLE_DBC, c.get(), padrao);
}

// ADO field type of an ODBC result column; DATA_TYPE (OLE DB indicator) of the columns rowset.
int TipoCampoAdo(int sqlTipo, qint64 tamanho);
int TipoCatalogo(int sqlTipo, const QString& nomeTipo);
bool TipoLongo(int sqlTipo, const QString& nomeTipo, qint64 tamanho);
bool TipoFixo(int sqlTipo, const QString& nomeTipo);

} // namespace odbc
