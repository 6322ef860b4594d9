#pragma once
// What a plain single-table SELECT says about where its columns come from, for engines whose driver
// does not name the base table of a result: "SELECT a, b AS c FROM s.t WHERE …".
#include <QString>
#include <QVector>

namespace consulta {

struct NomeSql {
    QString texto; // without its quotes
    bool citado = false;
};

struct ConsultaSimples {
    QVector<NomeSql> tabela; // one to three parts: [catalog.][schema.]table
    bool estrela = false; // the select list is "*"
    // One item per column of the select list: the column it reads, or an empty name for an
    // expression.
    QVector<NomeSql> colunas;
};

// False when the statement is not a SELECT of columns of one table (joins, GROUP BY, UNION,
// subqueries in FROM).
bool Analisar(const QString& sql, ConsultaSimples& saida);

} // namespace consulta
