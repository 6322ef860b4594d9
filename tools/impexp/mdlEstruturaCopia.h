#pragma once
// What a copy knows of a table: its columns as the origin's catalog describes them (OLE DB type,
// sizes, NULL) and its primary key; the column type each destination engine gets for them, and
// the CREATE TABLE that makes the copy.
#include "platform/clsMotor.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace impexp {

struct ColunaCopia {
    QString nome;
    int tipoCatalogo = ado::adWChar; // DATA_TYPE of the columns rowset
    qint32 tamanho = 0; // CHARACTER_MAXIMUM_LENGTH (0: none or unlimited)
    qint32 precisao = 0;
    qint32 escala = 0;
    qint32 precisaoData = 0; // digits of the seconds' fraction
    qint32 flags = 0; // COLUMN_FLAGS
    bool anulavel = true;
    // The type as the origin engine declared it, when the engine keeps a name of its own (SQLite).
    QString declarado;
    Dialeto dialetoOrigem = Dialeto::Outro;
    // Numbered by the engine: SQLite's AUTOINCREMENT key, a PostgreSQL identity or serial.
    bool identidade = false;
    bool identidadeSempre = false; // PostgreSQL: GENERATED ALWAYS (an INSERT must override it)
    QString tipoDestino; // the destination's type the user chose (empty: mapped)
};

struct EstruturaCopia {
    QList<ColunaCopia> colunas;
    QStringList chave; // primary-key columns in key order
    int Indice(const QString& nome) const;
};

// The columns and key of a table or view of an open connection. False with the reason in `erro`.
bool LerEstrutura(clsMotor& motor, const ObjetoBanco& tabela, EstruturaCopia& saida, QString& erro);
// The columns of a result's fields (a query), without key.
EstruturaCopia EstruturaDosCampos(const QVector<CampoInfo>& campos, Dialeto dialeto);

// The column type `destino` gets for a column: the script generator's type table, with the
// precision of decimals, date-times and text kept where that table would narrow them.
QString TipoNoDestino(Dialeto destino, const ColunaCopia& c);
// The engine's own type name in lower case without sizes ("timestamp", "character varying").
QString NomeBase(const QString& declarado);
// Whether a column keeps true/false (PostgreSQL's driver reports its booleans as text).
bool ColunaBooleana(const ColunaCopia& c);
// Whether a column's text has no length limit (a PostgreSQL varchar without one is reported with
// the driver's own limit).
bool TextoSemLimite(const ColunaCopia& c);

// CREATE TABLE of `tabela` on `motor` with the columns, their NULL rule and the primary key; a
// numbered column becomes the engine's own kind (an identity on PostgreSQL, the AUTOINCREMENT key
// on SQLite when it is the whole key).

QString SqlCriarTabela(const clsMotor& motor, const ObjetoBanco& tabela, const EstruturaCopia& e);
// PostgreSQL: the statements that move the sequence of each numbered column past the values the
// table holds (never back).
QStringList SqlAvancarSequencias(const clsMotor& motor, const ObjetoBanco& tabela, const EstruturaCopia& e);

// Whether the table exists on the connection (the exact name, as the engine compares names).
bool TabelaExiste(clsMotor& motor, const ObjetoBanco& tabela, bool& existe, QString& erro);

// The column names a file's header gives: blanks trimmed, an empty one "ColunaN", a repeated one
// (without case) with "_2", "_3"….
QStringList NomesDeColunas(const QStringList& lidos);
// Bytes as a file writes them: "0x" and two upper-case hex digits per byte.
QString TextoHex(const char* p, uint32_t n);

// "Err: n - text" of an engine's error, as the report shows it.
QString TextoErro(const ErroDados& e);

} // namespace impexp
