#include "clsIndice.h"

#include "connections/clsData.h"
#include "platform/clsMotor.h"
#include "platform/clsPrompt.h"

#include <algorithm>

bool LerIndice(clsData& db, const ObjetoBanco& tabela, const QString& indice, IndiceLido& lido)
{
    lido = {};
    const auto m = db.ActiveConnection();
    if (!m)
        return false;
    lido.outras = m->ColunasTabela(tabela.nome, tabela.esquema);
    if (lido.outras.isEmpty())
        return false;
    if (indice.isEmpty())
        return true;
    RecordsetPtr rs;
    if (!db.OpenSchema(512, rs, tabela.nome, {}, {}, {}, false, indice, false, tabela.esquema) || !rs)
        return true;
    QList<std::pair<int, ColunaIndice>> chave;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        if (!m->MesmoNome(rs->Valor(QStringLiteral("INDEX_NAME")).toString(), indice))
            continue;
        chave.append({rs->Valor(QStringLiteral("ORDINAL_POSITION")).toInt(),
                      {rs->Valor(QStringLiteral("COLUMN_NAME")).toString(),
                       rs->Valor(QStringLiteral("COLLATION")).toInt() == 2}});
        lido.unico = rs->Valor(QStringLiteral("UNIQUE")).toBool();
    }
    // Key order: what the user needs to see of an index on (B, A).
    std::stable_sort(chave.begin(), chave.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [pos, c] : chave) {
        lido.colunas << c;
        lido.outras.removeIf([&](const QString& n) { return m->MesmoNome(n, c.nome); });
    }
    return true;
}

bool AceitaClustered(const clsMotor& m) { return m.DialetoSql() == Dialeto::SqlServer; }

QString SqlCriarIndice(const clsMotor& m,
                       const ObjetoBanco& tabela,
                       const QString& indice,
                       const QList<ColunaIndice>& colunas,
                       bool unico,
                       bool clustered)
{
    QStringList lista;
    for (const ColunaIndice& c : colunas)
        lista << m.CitarIdentificador(c.nome) + (c.desc ? QStringLiteral(" Desc") : QString());
    QString sql = QStringLiteral("CREATE ") + (unico ? QStringLiteral("UNIQUE ") : QString());
    if (AceitaClustered(m))
        sql += (clustered ? QString() : QStringLiteral("NON")) + QStringLiteral("CLUSTERED ");
    // SQLite names the database on the index and the table bare; the others qualify the table.
    const bool sqlite = m.DialetoSql() == Dialeto::Sqlite;
    const QString nomeIndice = sqlite ? m.NomeQualificado(tabela.Irmao(indice)) : m.CitarIdentificador(indice);
    const QString nomeTabela = sqlite ? m.CitarIdentificador(tabela.nome) : m.NomeQualificado(tabela);
    return sql + QStringLiteral("INDEX ") + nomeIndice + QStringLiteral(" ON ") + nomeTabela + QStringLiteral(" (")
           + lista.join(QStringLiteral(", ")) + u')';
}

QString SqlExcluirIndice(const clsMotor& m, const ObjetoBanco& tabela, const QString& indice)
{
    if (m.DialetoSql() == Dialeto::SqlServer)
        return QStringLiteral("DROP INDEX ") + m.NomeQualificado(tabela) + u'.' + m.CitarIdentificador(indice);
    return QStringLiteral("DROP INDEX ") + m.NomeQualificado(tabela.Irmao(indice));
}

bool SalvarIndice(clsData& db,
                  clsPrompt& prompt,
                  const ObjetoBanco& tabela,
                  const QString& indice,
                  bool existente,
                  const QList<ColunaIndice>& colunas,
                  bool unico,
                  bool clustered)
{
    const auto m = db.ActiveConnection();
    if (!m)
        return false;
    const QString sql = SqlCriarIndice(*m, tabela, indice, colunas, unico, clustered);
    QString erro;
    db.TransactionBegin();
    if (existente && !db.ExecSql(SqlExcluirIndice(*m, tabela, indice), false))
        erro = QStringLiteral("Cannot drop index ") + indice;
    else if (!db.ExecSql(sql, true))
        erro = QStringLiteral("Cannot create index ") + indice + QStringLiteral("\r\n\r\n") + sql;
    if (erro.isEmpty() && db.TransactionCommit())
        return true;
    db.TransactionRollback();
    if (!erro.isEmpty())
        prompt.MsgBox(erro, vb::Critical);
    return false;
}
