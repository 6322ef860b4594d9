#pragma once
// Sort and Filter of the recordset: the ADO criteria read into a tree once, then applied to the
// compact rows without building values.
#include "clsRecordsetDados.h"

#include <QString>
#include <memory>
#include <vector>

struct ExpressaoFiltro;

// Reads "Campo = 'x' And (Outro >= 3 Or Data < #2024-01-31#)". Values: 'text' ('' for an apostrophe),
// #date#, numbers, Null, True/False; operators = <> < > <= >= Like (with * or % wildcards), Is [Not]
// Null. Null on failure, with the reason in `erro`.
std::shared_ptr<ExpressaoFiltro> AnalisarFiltro(const QString& criterio, const clsRecordsetDados& dados, QString& erro);
bool AvaliarFiltro(const ExpressaoFiltro& e, const clsRecordsetDados& dados, uint32_t linha);

struct ChaveOrdem {
    int campo = 0;
    bool descendente = false;
};
// Reads "Campo [Asc|Desc][, ...]"; false with the reason in `erro`.
bool AnalisarOrdem(const QString& criterio,
                   const clsRecordsetDados& dados,
                   std::vector<ChaveOrdem>& chaves,
                   QString& erro);
// Stable: rows that compare equal keep their order. Nulls come first in ascending order.
void Ordenar(std::vector<uint32_t>& linhas, const std::vector<ChaveOrdem>& chaves, const clsRecordsetDados& dados);

// Orders two cells: nulls, then numbers (decimals by their exact value) and dates, then text
// (case-insensitive), then binary.
int CompararCelulas(const clsRecordsetDados& dados, Celula a, Celula b);
// Case-insensitive comparison of UTF-8 texts (ASCII fast path).
int CompararTextos(const char* a, uint32_t na, const char* b, uint32_t nb);
