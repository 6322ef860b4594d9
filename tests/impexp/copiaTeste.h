#pragma once
// Helpers of the copy tests: SQLite files made from SQL, the PostgreSQL test database, and a
// table's rows as exact text (SQLite's quote(), PostgreSQL's text of each value).
#include "impexp/clsTransferencia.h"
#include "platform/clsMotor.h"

#include <QTemporaryDir>
#include <QTest>

inline QString ConnSqlite(const QString& arquivo)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + arquivo;
}

// Opens (creating when missing) a SQLite file and runs `sql` in it.
inline std::shared_ptr<clsMotor> Sqlite(const QString& arquivo, const QString& sql = {})
{
    ErroDados e;
    if (!QFile::exists(arquivo))
        CriarBancoArquivo(arquivo, e);
    auto m = AbrirMotor(ConnSqlite(arquivo), true, 5, e);
    if (m && !sql.isEmpty() && !m->Executar(sql, nullptr, ado::adLockReadOnly, nullptr))
        qWarning("%s", qPrintable(m->Erro().descricao));
    return m;
}

// One line per row, the values separated by "|", in the order of `sql`.
inline QStringList Linhas(clsMotor& m, const QString& sql)
{
    QStringList r;
    RecordsetPtr rs;
    if (!m.Executar(sql, &rs, ado::adLockReadOnly, nullptr) || !rs) {
        r << QStringLiteral("ERRO: ") + m.Erro().descricao;
        return r;
    }
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        QStringList v;
        for (int c = 0; c < rs->FieldCount(); ++c)
            v << (rs->Valor(c).isNull() ? QStringLiteral("<null>") : rs->Valor(c).toString());
        r << v.join(u'|');
    }
    return r;
}

// A copy run between two ends, one item per table name (same name at the destination).
inline QList<impexp::ResultadoItem> Copiar(const QString& origem,
                                           const QString& destino,
                                           const QStringList& tabelas,
                                           impexp::Acao acao = impexp::Acao::Criar,
                                           const impexp::clsTransferencia::Avisos& avisos = {},
                                           impexp::clsTransferencia** corrente = nullptr)
{
    impexp::clsTransferencia t(impexp::InterpretarPonta(origem), impexp::InterpretarPonta(destino));
    QString erro;
    if (!t.Abrir(erro)) {
        impexp::ResultadoItem r;
        r.erro = erro;
        return {r};
    }
    if (corrente)
        *corrente = &t;
    QList<impexp::ItemCopia> itens;
    for (const QString& n : tabelas) {
        impexp::ItemCopia i;
        i.origem = ObjetoBanco(n);
        i.destino = ObjetoBanco(n);
        i.acao = acao;
        itens << i;
    }
    return t.Executar(itens, false, avisos);
}
