#include "mdlTipoDado.h"

#include "platform/clsRecordset.h"

namespace tipodado {

namespace {
// Flag sets the providers report for nullable columns: 230/234 long (SQL Server / Jet), 116 fixed
// (SQL Server), 106 (Jet text, shown as fixed), 624 and 74 row versions. These keep their own
// meaning; any other set is read bit by bit, so NOT NULL columns (nullable bits clear) are
// recognised as well.
bool Conhecido(qint32 f) { return f == 230 || f == 234 || f == 116 || f == 106 || f == 624 || f == 74; }

bool Longo(qint32 f) { return f == 230 || f == 234 || (!Conhecido(f) && (f & IsLong)); }
bool Fixo(qint32 f) { return f == 116 || f == 106 || (!Conhecido(f) && (f & IsFixedLength)); }
bool VersaoLinha(qint32 f) { return f == 624 || f == 74 || (!Conhecido(f) && (f & IsRowVer)); }

QString ComTamanho(const QString& nome, qint32 tamanho, bool blnWithSize)
{
    return blnWithSize ? nome + u'(' + QString::number(tamanho) + u')' : nome;
}
} // namespace

QString ObterTipoDado(qint32 lngDataType,
                      qint32& lngLength,
                      bool blnWithSize,
                      qint32 lngPrecision,
                      qint32 lngScale,
                      qint32 lngDatetimePrecision,
                      qint32 lngColumnFlags)
{
    const qint32 f = lngColumnFlags;
    switch (lngDataType) {
    case 11: lngLength = 0; return QStringLiteral("Bit");
    case 128:
        if (lngLength > 8000 || Longo(f)) {
            lngLength = 0;
            return QStringLiteral("Image");
        }
        if (lngLength == 8 && VersaoLinha(f))
            return QStringLiteral("TimeStamp");
        return ComTamanho(Fixo(f) ? QStringLiteral("Binary") : QStringLiteral("VarBinary"), lngLength, blnWithSize);
    case 16:
    case 17: return QStringLiteral("TinyInt");
    case 18:
    case 2: return QStringLiteral("SmallInt");
    case 19:
    case 3: return QStringLiteral("Int");
    case 4: return QStringLiteral("Real");
    case 5: return QStringLiteral("Float");
    case 6: return lngPrecision == 10 ? QStringLiteral("SmallMoney") : QStringLiteral("Money");
    case 20: return QStringLiteral("BigInt");
    case 131:
        return blnWithSize ? QStringLiteral("Decimal(%1, %2)").arg(lngPrecision).arg(lngScale)
                           : QStringLiteral("Decimal");
    case 7:
    case 133:
    case 134:
    case 135: return lngDatetimePrecision != 0 ? QStringLiteral("DateTime") : QStringLiteral("SmallDateTime");
    case 129:
    case 130:
    case 200:
    case 202: {
        QString nome;
        if (lngLength > 4000 || Longo(f)) {
            lngLength = 0;
            nome = QStringLiteral("Text");
        } else {
            nome = ComTamanho(Fixo(f) ? QStringLiteral("Char") : QStringLiteral("VarChar"), lngLength, blnWithSize);
        }
        // Jet's own text columns (234, 106) keep the plain names.
        if ((lngDataType == 130 || lngDataType == 202) && f != 234 && f != 106)
            nome.prepend(u'n');
        return nome;
    }
    case 12: return QStringLiteral("sql_variant");
    case 72: return QStringLiteral("UniqueIdentifier");
    default: return QString();
    }
}

} // namespace tipodado

namespace tipodado {

QString TipoDaColuna(const clsRecordset& rs, bool comTamanho, qint32* tamanho)
{
    const auto inteiro = [&](const char* campo) {
        const QVariant v = rs.Valor(QString::fromLatin1(campo));
        return v.isNull() ? 0 : v.toInt();
    };
    qint32 n = inteiro("CHARACTER_MAXIMUM_LENGTH");
    const QString tipo = ObterTipoDado(inteiro("DATA_TYPE"),
                                       n,
                                       comTamanho,
                                       inteiro("NUMERIC_PRECISION"),
                                       inteiro("NUMERIC_SCALE"),
                                       inteiro("DATETIME_PRECISION"),
                                       inteiro("COLUMN_FLAGS"));
    if (tamanho)
        *tamanho = n;
    return tipo;
}

} // namespace tipodado
