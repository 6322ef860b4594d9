#pragma once
// The program without its window: the copy described by the argument string and "chave=valor"
// lines, its report on `saida`, failures on `erros`.
//
//   origem=, destino=        a connection string or a file (override Orig= and Dest=)
//   tabela=                  a table or view of the origin (repeatable; Tab= gives the first);
//                            none: every table of the origin
//   esquema=                 the origin tables' schema
//   consulta=                a query of the origin instead of tables (with nome_destino=)
//   nome_destino=            the destination table's name (one table or a query)
//   esquema_destino=         the destination tables' schema
//   acao=                    criar (default), acrescentar, substituir, recriar
//   parar_no_erro=1          stop at the first table that fails
//   separador=, decimal=, codificacao=utf-8|windows-1252, cabecalho=0|1, bom=1   text files
//   relatorio=               a file the report is saved to
#include <QString>
#include <QTextStream>

namespace impexp {

int ExecutarSemJanela(const QString& argumento, const QString& chaves, QTextStream& saida, QTextStream& erros);

} // namespace impexp
