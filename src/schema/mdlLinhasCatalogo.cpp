#include "mdlLinhasCatalogo.h"

#include "connections/clsData.h"

namespace catalogo {

QList<QStringList> Linhas(clsData& db, const QString& sql, bool mostrarErro)
{
    QList<QStringList> r;
    RecordsetPtr rs;
    if (!db.OpenRecordset(rs, sql, false, false, mostrarErro) || !rs)
        return r;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        QStringList linha;
        for (int i = 0; i < rs->FieldCount(); ++i)
            linha << rs->Valor(i).toString();
        r << linha;
    }
    return r;
}

QStringList Primeiras(clsData& db, const QString& sql)
{
    QStringList r;
    for (const QStringList& l : Linhas(db, sql))
        r << l.value(0);
    return r;
}

QString Lit(const QString& s) { return u'\'' + QString(s).replace(u'\'', QStringLiteral("''")) + u'\''; }

bool Verdade(const QString& s) { return s == u"1" || s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0; }

} // namespace catalogo
