// The OLE DB schema rowsets of an ODBC source, from the driver's catalog functions (SQLTables,
// SQLColumns, SQLPrimaryKeys, SQLForeignKeys, SQLStatistics, SQLProcedures).
#include "clsOdbcComum.h"

#include <QHash>
#include <functional>

using namespace ado;
using namespace odbc;

namespace {

bool Restrito(const QStringList& r, int i) { return i < r.size() && !r[i].isEmpty(); }
QString Res(const QStringList& r, int i) { return Restrito(r, i) ? r[i] : QString(); }

// A name given to a catalog function that takes patterns: "_" and "%" escaped.
QString Padrao(const QString& s, const QString& escape)
{
    if (s.isEmpty() || escape.isEmpty())
        return s;
    QString r;
    for (QChar c : s) {
        if (c == u'_' || c == u'%' || QString(c) == escape)
            r += escape;
        r += c;
    }
    return r;
}

QString Regra(const QVariant& v)
{
    if (v.isNull())
        return QString();
    switch (v.toInt()) {
    case SQL_CASCADE: return QStringLiteral("CASCADE");
    case SQL_SET_NULL: return QStringLiteral("SET NULL");
    case SQL_SET_DEFAULT: return QStringLiteral("SET DEFAULT");
    default: return QStringLiteral("NO ACTION");
    }
}

} // namespace

bool clsMotorOdbc::ConsultarCatalogo(SchemaOleDb schema, const QStringList& r, RecordsetPtr& saida)
{
    saida.reset();
    SQLWCHAR esc[8];
    SQLSMALLINT tamEsc = 0;
    QString escape;
    if (Ok(SQLGetInfoW(h->dbc.get(), SQL_SEARCH_PATTERN_ESCAPE, esc, sizeof esc, &tamEsc)))
        escape = DeW(esc, tamEsc / 2);

    // Runs one catalog call and hands its rows over as a recordset.
    auto chamar = [&](const std::function<SQLRETURN(const Stmt&)>& f, RecordsetPtr& rs) {
        const Stmt st = NovoStmt();
        if (!st)
            return false;
        return Ok(f(st)) ? Preencher(st, &rs, adLockReadOnly, QString()) : Falhar(Diagnostico(st));
    };
    auto w = [](const QString& s) -> SQLWCHAR* { return s.isEmpty() ? nullptr : W(s); };
    auto tam = [](const QString& s) -> SQLSMALLINT { return s.isEmpty() ? 0 : SQL_NTS; };

    // Every table (and view) of the source, for calls that need one table at a time.
    auto tabelas
        = [&](const QString& catalogo, const QString& esquema, const QString& nome, QList<QStringList>& lista) {
              RecordsetPtr t;
              const QString tipos = QStringLiteral("TABLE");
              const QString c = catalogo, e = Padrao(esquema, escape), n = Padrao(nome, escape);
              if (!chamar(
                      [&](const Stmt& st) {
                          return SQLTablesW(st.get(), w(c), tam(c), w(e), tam(e), w(n), tam(n), W(tipos), SQL_NTS);
                      },
                      t))
                  return false;
              for (; !t->Eof(); t->MoveNext())
                  if (nome.isEmpty() || MesmoNome(t->Valor(2).toString(), nome))
                      lista << QStringList{t->Valor(0).toString(), t->Valor(1).toString(), t->Valor(2).toString()};
              return true;
          };

    auto rs = NovoRowset(schema);
    RecordsetPtr q;
    switch (schema) {
    case SchemaOleDb::Tabelas: {
        const QString c = Res(r, 0), e = Padrao(Res(r, 1), escape), n = Padrao(Res(r, 2), escape), t = Res(r, 3);
        if (!chamar(
                [&](const Stmt& st) {
                    return SQLTablesW(st.get(), w(c), tam(c), w(e), tam(e), w(n), tam(n), w(t), tam(t));
                },
                q))
            return false;
        for (; !q->Eof(); q->MoveNext()) {
            const QString tipo = q->Valor(3).toString();
            if ((Restrito(r, 2) && !MesmoNome(q->Valor(2).toString(), r[2])) || (Restrito(r, 3) && tipo != r[3]))
                continue;
            AcrescentarLinhaRowset(*rs,
                                   {{"TABLE_CATALOG", q->Valor(0)},
                                    {"TABLE_SCHEMA", q->Valor(1)},
                                    {"TABLE_NAME", q->Valor(2)},
                                    {"TABLE_TYPE", tipo},
                                    {"DESCRIPTION", q->Valor(4)}});
        }
        break;
    }
    case SchemaOleDb::Colunas: {
        const QString c = Res(r, 0), e = Padrao(Res(r, 1), escape), n = Padrao(Res(r, 2), escape),
                      col = Padrao(Res(r, 3), escape);
        if (!chamar(
                [&](const Stmt& st) {
                    return SQLColumnsW(st.get(), w(c), tam(c), w(e), tam(e), w(n), tam(n), w(col), tam(col));
                },
                q))
            return false;
        for (; !q->Eof(); q->MoveNext()) {
            if ((Restrito(r, 2) && !MesmoNome(q->Valor(2).toString(), r[2]))
                || (Restrito(r, 3) && !MesmoNome(q->Valor(3).toString(), r[3])))
                continue;
            const int sqlTipo = q->Valor(4).toInt();
            const QString nomeTipo = q->Valor(5).toString();
            const qint64 tamanho = q->Valor(6).toLongLong();
            const int casas = q->Valor(8).toInt();
            const bool anulavel = q->Valor(10).toInt() != SQL_NO_NULLS;
            TipoDeclarado td;
            td.tipoCatalogo = TipoCatalogo(sqlTipo, nomeTipo);
            td.longo = TipoLongo(sqlTipo, nomeTipo, tamanho);
            td.fixo = TipoFixo(sqlTipo, nomeTipo);
            td.versaoLinha = nomeTipo.compare(u"timestamp", Qt::CaseInsensitive) == 0 && td.tipoCatalogo == adBinary;
            const bool texto = td.tipoCatalogo == adChar || td.tipoCatalogo == adWChar;
            const bool comTamanho = texto || td.tipoCatalogo == adBinary;
            const QVariant dflt = q->Valor(12);
            std::vector<std::pair<const char*, QVariant>> v
                = {{"TABLE_CATALOG", q->Valor(0)},
                   {"TABLE_SCHEMA", q->Valor(1)},
                   {"TABLE_NAME", q->Valor(2)},
                   {"COLUMN_NAME", q->Valor(3)},
                   {"ORDINAL_POSITION", q->Valor(16)},
                   {"COLUMN_HASDEFAULT", !dflt.isNull()},
                   {"COLUMN_DEFAULT", dflt},
                   {"COLUMN_FLAGS", FlagsColuna(td, anulavel, !somenteLeitura)},
                   {"IS_NULLABLE", anulavel},
                   {"DATA_TYPE", td.tipoCatalogo},
                   {"DESCRIPTION", q->Valor(11)}};
            if (comTamanho) {
                const qint64 t = td.longo ? (td.tipoCatalogo == adWChar ? 1073741823 : 2147483647) : tamanho;
                v.push_back({"CHARACTER_MAXIMUM_LENGTH", t});
                v.push_back(
                    {"CHARACTER_OCTET_LENGTH", td.tipoCatalogo == adWChar ? qMin<qint64>(t * 2, 2147483647) : t});
            } else if (TipoData(td.tipoCatalogo)) {
                const QString nt = nomeTipo.toLower();
                v.push_back({"DATETIME_PRECISION", (nt == u"smalldatetime" || nt == u"date") ? 0 : qMax(casas, 0)});
            } else if (td.tipoCatalogo != adBoolean && td.tipoCatalogo != adGUID && td.tipoCatalogo != adVariant) {
                const QString nt = nomeTipo.toLower();
                v.push_back({"NUMERIC_PRECISION", nt == u"smallmoney" ? 10 : (nt == u"money" ? 19 : int(tamanho))});
                if (td.tipoCatalogo == adNumeric)
                    v.push_back({"NUMERIC_SCALE", casas});
            }
            AcrescentarLinhaRowset(*rs, v);
        }
        break;
    }
    case SchemaOleDb::ChavesPrimarias:
    case SchemaOleDb::Indices: {
        const bool pks = schema == SchemaOleDb::ChavesPrimarias;
        QList<QStringList> lista;
        if (!tabelas(Res(r, 0), Res(r, 1), Res(r, pks ? 2 : 4), lista))
            return false;
        for (const QStringList& t : lista) {
            RecordsetPtr k;
            if (!chamar(
                    [&](const Stmt& st) {
                        return SQLPrimaryKeysW(st.get(), w(t[0]), tam(t[0]), w(t[1]), tam(t[1]), W(t[2]), SQL_NTS);
                    },
                    k))
                return false;
            QString pkNome;
            QStringList pkColunas;
            for (; !k->Eof(); k->MoveNext()) {
                pkNome = k->Valor(5).toString();
                pkColunas << k->Valor(3).toString();
                if (pks)
                    AcrescentarLinhaRowset(*rs,
                                           {{"TABLE_CATALOG", k->Valor(0)},
                                            {"TABLE_SCHEMA", k->Valor(1)},
                                            {"TABLE_NAME", k->Valor(2)},
                                            {"COLUMN_NAME", k->Valor(3)},
                                            {"ORDINAL", k->Valor(4)},
                                            {"PK_NAME", k->Valor(5)}});
            }
            if (pks)
                continue;
            if (!chamar(
                    [&](const Stmt& st) {
                        return SQLStatisticsW(st.get(),
                                              w(t[0]),
                                              tam(t[0]),
                                              w(t[1]),
                                              tam(t[1]),
                                              W(t[2]),
                                              SQL_NTS,
                                              SQL_INDEX_ALL,
                                              SQL_QUICK);
                    },
                    q))
                return false;
            // A driver that gives the key no name (SQLite's) has it as the unique index on its columns.
            QHash<QString, QStringList> colunasIndice;
            if (pkNome.isEmpty() && !pkColunas.isEmpty()) {
                for (; !q->Eof(); q->MoveNext())
                    if (q->Valor(3).toInt() == 0 && q->Valor(6).toInt() != SQL_TABLE_STAT)
                        colunasIndice[q->Valor(5).toString()] << q->Valor(8).toString();
                for (auto it = colunasIndice.cbegin(); it != colunasIndice.cend() && pkNome.isEmpty(); ++it)
                    if (it.value() == pkColunas)
                        pkNome = it.key();
                q->MoveFirst();
            }
            for (; !q->Eof(); q->MoveNext()) {
                const int tipo = q->Valor(6).toInt();
                const QString indice = q->Valor(5).toString();
                if (tipo == SQL_TABLE_STAT || indice.isEmpty() || (Restrito(r, 2) && !MesmoNome(indice, r[2])))
                    continue;
                AcrescentarLinhaRowset(*rs,
                                       {{"TABLE_CATALOG", q->Valor(0)},
                                        {"TABLE_SCHEMA", q->Valor(1)},
                                        {"TABLE_NAME", q->Valor(2)},
                                        {"INDEX_NAME", indice},
                                        {"PRIMARY_KEY", !pkNome.isEmpty() && indice == pkNome},
                                        {"UNIQUE", q->Valor(3).toInt() == 0},
                                        {"CLUSTERED", tipo == SQL_INDEX_CLUSTERED},
                                        {"TYPE", 1},
                                        {"ORDINAL_POSITION", q->Valor(7)},
                                        {"COLUMN_NAME", q->Valor(8)},
                                        {"COLLATION", q->Valor(9).toString() == u"D" ? 2 : 1},
                                        {"CARDINALITY", q->Valor(10)},
                                        {"PAGES", q->Valor(11)},
                                        {"FILTER_CONDITION", q->Valor(12)}});
            }
        }
        break;
    }
    case SchemaOleDb::ChavesEstrangeiras: {
        QList<QStringList> lista;
        if (Restrito(r, 2) || Restrito(r, 5))
            lista << QStringList{};
        else if (!tabelas(Res(r, 3), Res(r, 4), QString(), lista))
            return false;
        for (const QStringList& t : lista) {
            const QString pc = Res(r, 0), ps = Res(r, 1), pt = Res(r, 2);
            const QString fc = t.isEmpty() ? Res(r, 3) : t[0], fs = t.isEmpty() ? Res(r, 4) : t[1],
                          ft = t.isEmpty() ? Res(r, 5) : t[2];
            if (!chamar(
                    [&](const Stmt& st) {
                        return SQLForeignKeysW(st.get(),
                                               w(pc),
                                               tam(pc),
                                               w(ps),
                                               tam(ps),
                                               w(pt),
                                               tam(pt),
                                               w(fc),
                                               tam(fc),
                                               w(fs),
                                               tam(fs),
                                               w(ft),
                                               tam(ft));
                    },
                    q))
                return false;
            for (; !q->Eof(); q->MoveNext())
                AcrescentarLinhaRowset(*rs,
                                       {{"PK_TABLE_CATALOG", q->Valor(0)},
                                        {"PK_TABLE_SCHEMA", q->Valor(1)},
                                        {"PK_TABLE_NAME", q->Valor(2)},
                                        {"PK_COLUMN_NAME", q->Valor(3)},
                                        {"FK_TABLE_CATALOG", q->Valor(4)},
                                        {"FK_TABLE_SCHEMA", q->Valor(5)},
                                        {"FK_TABLE_NAME", q->Valor(6)},
                                        {"FK_COLUMN_NAME", q->Valor(7)},
                                        {"ORDINAL", q->Valor(8)},
                                        {"UPDATE_RULE", Regra(q->Valor(9))},
                                        {"DELETE_RULE", Regra(q->Valor(10))},
                                        {"FK_NAME", q->Valor(11)},
                                        {"PK_NAME", q->Valor(12)},
                                        {"DEFERRABILITY", q->Valor(13)}});
        }
        break;
    }
    case SchemaOleDb::Procedures: {
        const QString c = Res(r, 0), e = Padrao(Res(r, 1), escape), n = Padrao(Res(r, 2), escape);
        if (!chamar([&](const Stmt& st) { return SQLProceduresW(st.get(), w(c), tam(c), w(e), tam(e), w(n), tam(n)); },
                    q))
            return false;
        for (; !q->Eof(); q->MoveNext()) {
            // ODBC counts its kinds from 0 (unknown), OLE DB from 1.
            const int tipo = q->Valor(7).isNull() ? tipoprocedure::Desconhecido : q->Valor(7).toInt() + 1;
            if ((Restrito(r, 2) && !MesmoNome(q->Valor(2).toString(), r[2]))
                || (Restrito(r, 3) && QString::number(tipo) != r[3]))
                continue;
            AcrescentarLinhaRowset(*rs,
                                   {{"PROCEDURE_CATALOG", q->Valor(0)},
                                    {"PROCEDURE_SCHEMA", q->Valor(1)},
                                    {"PROCEDURE_NAME", q->Valor(2)},
                                    {"PROCEDURE_TYPE", tipo},
                                    {"DESCRIPTION", q->Valor(6)}});
        }
        break;
    }
    }
    ConcluirRowset(*rs);
    saida = rs;
    return true;
}

bool clsMotorOdbc::Schema(SchemaOleDb schema, const QStringList& restricoes, RecordsetPtr& rs)
{
    if (!h->dbc.Conectada())
        return FalharFechada();
    return ConsultarCatalogo(schema, restricoes, rs);
}
