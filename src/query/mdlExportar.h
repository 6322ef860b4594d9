#pragma once
// Writing a query window's rows to files: delimited UTF-8 text and a real spreadsheet (.xlsx), and
// reading and writing script files. The rows are read by position from the recordset, so the
// grid's current row never moves.
#include "platform/clsRecordset.h"
#include "platform/mdlDataHora.h"

#include <QString>
#include <QStringList>
#include <functional>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace exportar {

// Called once per row written; returning false stops the export (the file is then removed).
using Progresso = std::function<bool()>;

// Tab-separated (or `separador`) UTF-8 text with a header row of the column names. A field holding
// the separator, a quote or a line break is quoted, quotes doubled. False with the reason in `erro`.
bool ExportarTexto(const clsRecordset& rs,
                   const QString& arquivo,
                   QString& erro,
                   const Progresso& progresso = {},
                   QChar separador = u'\t');

// A spreadsheet: a bold header row of the column names, numbers as numbers, dates and date-times
// as dates with a format, text as text, null as an empty cell, binary values as "(binário)". Rows
// beyond `linhasPorPlanilha` (the format's 1,048,575 under the header) continue on a new sheet.
bool ExportarPlanilha(const clsRecordset& rs,
                      const QString& arquivo,
                      QString& erro,
                      const Progresso& progresso = {},
                      int linhasPorPlanilha = 1048575);

// A spreadsheet file written sheet after sheet, each row as it comes (constant memory): a bold
// header row, then cells by row (from 1) and column (from 0). Nothing is left on disk unless
// Fechar succeeds.
class clsLivroPlanilha {
public:
    explicit clsLivroPlanilha(const QString& arquivo);
    ~clsLivroPlanilha();
    clsLivroPlanilha(const clsLivroPlanilha&) = delete;
    clsLivroPlanilha& operator=(const clsLivroPlanilha&) = delete;
    // False (with the reason) when the file could not be created.
    bool Aberto(QString& erro) const;
    // A new sheet named `nome` ("PlanilhaN" when empty) with the header row `colunas`.
    bool NovaFolha(const QString& nome, const QStringList& colunas, QString& erro);
    void Numero(uint32_t linha, int coluna, double v);
    // False when the text is longer than a cell holds (32,767 characters).
    bool Texto(uint32_t linha, int coluna, const QString& v);
    void Booleano(uint32_t linha, int coluna, bool v);
    // A date, time or date-time as a spreadsheet date with a format of its kind; false (nothing
    // written) when the format cannot hold it exactly: a finer fraction than milliseconds, an
    // offset, or a date before 01/03/1900.
    bool Data(uint32_t linha, int coluna, const datahora::DataHora& d);
    // Writes the file; false with the reason.
    bool Fechar(QString& erro);
    // A sheet name the format accepts: at most 31 characters, none of []:*?/\.
    static QString NomeDeFolha(const QString& nome);

private:
    QString arquivo;
    lxw_workbook* livro = nullptr;
    lxw_worksheet* folha = nullptr;
    lxw_format *negrito = nullptr, *formatoData = nullptr, *formatoSoData = nullptr, *formatoHora = nullptr;
    int folhas = 0;
};

// A field of delimited text as RFC 4180 writes it: quoted (quotes doubled) when it holds the
// separator, a quote or a line break, or when `vazioCitado` and it is empty (an empty text, told
// apart from a missing value).
QString CampoDelimitado(const QString& valor, QChar separador, bool vazioCitado = false);

// Windows-1252 bytes as text (Qt's own decoders may not know the code page), and back: false when
// a character has no byte in it.
QString DeWindows1252(QByteArrayView bytes);
bool ParaWindows1252(QStringView texto, QByteArray& saida);

// A script file's text: UTF-8 when the bytes are valid UTF-8, else Windows-1252 (files of older
// programs). Line ends are kept as they are.
QString TextoDoArquivo(const QByteArray& bytes);

} // namespace exportar
