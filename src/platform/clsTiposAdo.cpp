#include "clsTiposAdo.h"

#include <QRegularExpression>

namespace ado {

qint64 TamanhoFixo(int tipo)
{
    switch (tipo) {
    case adBoolean:
    case adSmallInt:
    case adUnsignedSmallInt: return 2;
    case adTinyInt:
    case adUnsignedTinyInt: return 1;
    case adInteger:
    case adUnsignedInt:
    case adSingle: return 4;
    case adBigInt:
    case adDouble:
    case adCurrency:
    case adDate: return 8;
    case adDBDate: return 6;
    case adDBTime: return 6;
    case adDBTimeStamp: return 16;
    case adGUID: return 16;
    case adNumeric:
    case adDecimal: return 19;
    default: return 0;
    }
}

namespace {

void Texto(TipoDeclarado& t, bool unicode, bool fixo, bool longo, qint64 tamanho)
{
    t.fixo = fixo;
    t.longo = longo;
    if (longo) {
        t.tipoCampo = unicode ? adLongVarWChar : adLongVarChar;
        t.tamanho = unicode ? 1073741823 : 2147483647;
    } else {
        t.tipoCampo = fixo ? (unicode ? adWChar : adChar) : (unicode ? adVarWChar : adVarChar);
        t.tamanho = tamanho > 0 ? tamanho : (fixo ? 1 : 255);
    }
    t.tipoCatalogo = unicode ? adWChar : adChar;
}

void Numero(TipoDeclarado& t, int tipo)
{
    t.tipoCampo = t.tipoCatalogo = tipo;
    t.fixo = true;
    switch (tipo) {
    case adUnsignedTinyInt: t.precisao = 3; break;
    case adSmallInt: t.precisao = 5; break;
    case adInteger: t.precisao = 10; break;
    case adBigInt: t.precisao = 19; break;
    case adSingle: t.precisao = 7; break;
    case adDouble: t.precisao = 15; break;
    case adCurrency: t.precisao = 19; break;
    default: break;
    }
}

} // namespace

TipoDeclarado InterpretarTipoDeclarado(const QString& declarado)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*([A-Za-z_ ]*?)\s*(?:\(\s*(\w+)\s*(?:,\s*(\d+)\s*)?\))?\s*$)"));
    TipoDeclarado t;
    const auto m = re.match(declarado);
    const QString nome = (m.hasMatch() ? m.captured(1) : declarado).trimmed().toUpper();
    const QString a1 = m.captured(2);
    const bool max = a1.compare(QLatin1String("max"), Qt::CaseInsensitive) == 0;
    const qint64 n1 = a1.toLongLong();
    const int n2 = m.captured(3).toInt();

    if (nome.isEmpty()) {
        Texto(t, true, false, false, 255);
    } else if (nome == u"BIT" || nome == u"BOOLEAN" || nome == u"BOOL" || nome == u"YESNO" || nome == u"LOGICAL") {
        Numero(t, adBoolean);
        t.precisao = 0;
    } else if (nome == u"TINYINT" || nome == u"BYTE") {
        Numero(t, adUnsignedTinyInt);
    } else if (nome == u"SMALLINT" || nome == u"SHORT" || nome == u"INT2") {
        Numero(t, adSmallInt);
    } else if (nome == u"BIGINT" || nome == u"INT8" || nome == u"UNSIGNED BIG INT") {
        Numero(t, adBigInt);
    } else if (nome == u"REAL" || nome == u"SINGLE" || nome == u"FLOAT4") {
        Numero(t, adSingle);
    } else if (nome == u"FLOAT" || nome == u"DOUBLE" || nome == u"DOUBLE PRECISION" || nome == u"FLOAT8") {
        Numero(t, adDouble);
    } else if (nome == u"MONEY" || nome == u"SMALLMONEY" || nome == u"CURRENCY") {
        Numero(t, adCurrency);
        if (nome == u"SMALLMONEY")
            t.precisao = 10;
    } else if (nome == u"DECIMAL" || nome == u"NUMERIC" || nome == u"DEC") {
        Numero(t, adNumeric);
        t.precisao = n1 > 0 ? int(n1) : 18;
        t.escala = n2;
    } else if (nome == u"DATETIME" || nome == u"TIMESTAMP" || nome == u"DATETIME2" || nome == u"SMALLDATETIME"
               || nome == u"DATE" || nome == u"TIME") {
        t.tipoCampo = t.tipoCatalogo = adDate;
        t.fixo = true;
        t.precisaoData = (nome == u"SMALLDATETIME" || nome == u"DATE") ? 0 : 3;
    } else if (nome == u"UNIQUEIDENTIFIER" || nome == u"GUID" || nome == u"UUID") {
        t.tipoCampo = t.tipoCatalogo = adGUID;
        t.fixo = true;
        t.tamanho = 0;
    } else if (nome == u"ROWVERSION") {
        t.tipoCampo = adBinary;
        t.tipoCatalogo = adBinary;
        t.tamanho = 8;
        t.fixo = true;
        t.versaoLinha = true;
    } else if (nome == u"BINARY" || nome == u"VARBINARY" || nome == u"BLOB" || nome == u"IMAGE" || nome == u"LONGBINARY"
               || nome == u"OLEOBJECT" || nome == u"BYTEA") {
        const bool longo = nome == u"BLOB" || nome == u"IMAGE" || nome == u"LONGBINARY" || nome == u"OLEOBJECT"
                           || nome == u"BYTEA" || max;
        t.tipoCatalogo = adBinary;
        t.longo = longo;
        t.fixo = nome == u"BINARY";
        t.tipoCampo = longo ? adLongVarBinary : (t.fixo ? adBinary : adVarBinary);
        t.tamanho = longo ? 2147483647 : (n1 > 0 ? n1 : (t.fixo ? 1 : 510));
    } else if (nome == u"CHAR" || nome == u"CHARACTER") {
        Texto(t, false, true, false, n1);
    } else if (nome == u"NCHAR" || nome == u"NATIONAL CHAR" || nome == u"NATIONAL CHARACTER") {
        Texto(t, true, true, false, n1);
    } else if (nome == u"VARCHAR" || nome == u"CHARACTER VARYING" || nome == u"VARYING CHARACTER") {
        Texto(t, false, false, max, n1);
    } else if (nome == u"NVARCHAR" || nome == u"NATIONAL VARCHAR" || nome == u"NATIVE CHARACTER") {
        Texto(t, true, false, max, n1);
    } else if (nome == u"TEXT" && n1 > 0) {
        Texto(t, true, false, false, n1); // TEXT(n): the short text of a file database
    } else if (nome == u"TEXT" || nome == u"NTEXT" || nome == u"MEMO" || nome == u"LONGTEXT" || nome == u"CLOB"
               || nome == u"LONGCHAR") {
        Texto(t, nome != u"CLOB", false, true, 0);
    } else if (nome.contains(u"INT")) {
        Numero(t, adInteger);
    } else if (nome.contains(u"CHAR") || nome.contains(u"CLOB") || nome.contains(u"TEXT")) {
        Texto(t, true, false, n1 <= 0, n1);
    } else if (nome.contains(u"BLOB")) {
        t.tipoCampo = adLongVarBinary;
        t.tipoCatalogo = adBinary;
        t.longo = true;
        t.tamanho = 2147483647;
    } else if (nome.contains(u"REAL") || nome.contains(u"FLOA") || nome.contains(u"DOUB")) {
        Numero(t, adDouble);
    } else {
        Numero(t, adNumeric);
        t.precisao = 18;
    }
    return t;
}

int FlagsColuna(const TipoDeclarado& t, bool anulavel, bool gravavel)
{
    int f = 0;
    if (t.versaoLinha)
        return ISROWVER | ISFIXEDLENGTH | ISNULLABLE | MAYBENULL;
    if (gravavel)
        f |= WRITE;
    if (t.fixo)
        f |= ISFIXEDLENGTH;
    if (t.longo)
        f |= ISLONG | MAYDEFER;
    if (anulavel)
        f |= ISNULLABLE | MAYBENULL;
    return f;
}

} // namespace ado
