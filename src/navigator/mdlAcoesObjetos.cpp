#include "mdlAcoesObjetos.h"

#include "connections/clsData.h"
#include "platform/clsMotor.h"
#include "platform/clsPrompt.h"
#include "platform/clsRecordset.h"
#include "platform/mdlCitacao.h"
#include "platform/mdlGlobais.h"
#include "schema/clsIndice.h"

namespace acoes {

QString SqlCriarBanco(const QString& nome)
{
    return QStringLiteral("CREATE DATABASE ") + citacao::Citar(TipoMotor::SqlServer, nome);
}

QString SqlExcluirBanco(const QString& nome)
{
    return QStringLiteral("DROP DATABASE ") + citacao::Citar(TipoMotor::SqlServer, nome);
}

bool ExecutarNoServidor(clsAmbienteDados& amb, const QString& connStrMaster, const QString& sql)
{
    clsData db(amb);
    if (!db.OpenConnection(connStrMaster))
        return false;
    const bool ok = db.ExecSql(sql, true);
    db.CloseConnection();
    return ok;
}

bool LerReferencias(clsMotor& m, const QString& esquema, const QString& tabela, QList<Referencia>& refs)
{
    RecordsetPtr rs;
    const QString nada;
    if (!m.Schema(SchemaOleDb::ChavesEstrangeiras, {nada, esquema, tabela, nada, nada, nada}, rs))
        return false;
    refs.clear();
    if (!rs)
        return true;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        const Referencia r{rs->Valor(QStringLiteral("FK_TABLE_SCHEMA")).toString(),
                           rs->Valor(QStringLiteral("FK_TABLE_NAME")).toString(),
                           rs->Valor(QStringLiteral("FK_NAME")).toString()};
        // A table's keys on itself go with it; a key of several columns is listed once per column.
        const bool propria = m.MesmoNome(r.tabela, tabela) && (esquema.isEmpty() || m.MesmoNome(r.esquema, esquema));
        const bool repetida = std::any_of(refs.cbegin(), refs.cend(), [&](const Referencia& o) {
            return o.nome == r.nome && o.tabela == r.tabela && o.esquema == r.esquema;
        });
        if (!propria && !repetida)
            refs.append(r);
    }
    return true;
}

QStringList
SqlExcluirTabela(const clsMotor& m, const QString& esquema, const QString& tabela, const QList<Referencia>& refs)
{
    QStringList sql;
    for (const Referencia& r : refs)
        sql << QStringLiteral("ALTER TABLE ") + m.NomeQualificado(r.tabela, r.esquema, {})
                   + QStringLiteral(" DROP CONSTRAINT ") + m.CitarIdentificador(r.nome);
    sql << QStringLiteral("DROP TABLE ") + m.NomeQualificado(tabela, esquema, {});
    return sql;
}

bool ExcluirTabela(clsAmbienteDados& amb, const QString& connStr, const QString& esquema, const QString& tabela)
{
    clsAmpulheta ampulheta(amb.Prompt());
    clsData db(amb);
    if (!db.OpenConnection(connStr))
        return false;
    clsMotor& m = *db.ActiveConnection();
    QList<Referencia> refs;
    if (!LerReferencias(m, esquema, tabela, refs)) {
        amb.Prompt().MsgBox(m.Erro().descricao, vb::Critical, globais::TituloAplicativo());
        return false;
    }
    if (!refs.isEmpty() && m.DialetoSql() == Dialeto::Sqlite) {
        QStringList nomes;
        for (const Referencia& r : refs)
            if (!nomes.contains(r.tabela))
                nomes << u'\'' + r.tabela + u'\'';
        amb.Prompt().MsgBox(QStringLiteral("A tabela '%1' não pode ser excluída: as tabelas %2 têm chaves estrangeiras "
                                           "que a referenciam, e o SQLite não remove uma chave estrangeira sem "
                                           "recriar a tabela. Nada foi alterado.")
                                .arg(tabela, nomes.join(QStringLiteral(", "))),
                            vb::Exclamation,
                            globais::TituloAplicativo());
        return false;
    }
    if (!db.TransactionBegin()) {
        amb.Prompt().MsgBox(db.ErrMsg(), vb::Critical, globais::TituloAplicativo());
        return false;
    }
    for (const QString& sql : SqlExcluirTabela(m, esquema, tabela, refs))
        if (!db.ExecSql(sql, true)) {
            db.TransactionRollback();
            return false;
        }
    if (!db.TransactionCommit()) {
        amb.Prompt().MsgBox(db.ErrMsg(), vb::Critical, globais::TituloAplicativo());
        db.TransactionRollback();
        return false;
    }
    return true;
}

bool ExcluirIndice(clsAmbienteDados& amb, const QString& connStr, const ObjetoBanco& tabela, const QString& indice)
{
    clsData db(amb);
    if (!db.OpenConnection(connStr))
        return false;
    return db.ExecSql(SqlExcluirIndice(*db.ActiveConnection(), tabela, indice), true);
}

} // namespace acoes
