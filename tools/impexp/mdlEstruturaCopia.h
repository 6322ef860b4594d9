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

// CREATE TABLE of `tabela` on `motor` with the columns, their NULL rule and the primary key.
QString SqlCriarTabela(const clsMotor& motor, const ObjetoBanco& tabela, const EstruturaCopia& e);

// Whether the table exists on the connection (the exact name, as the engine compares names).
bool TabelaExiste(clsMotor& motor, const ObjetoBanco& tabela, bool& existe, QString& erro);

// "Err: n - text" of an engine's error, as the report shows it.
QString TextoErro(const ErroDados& e);

} // namespace impexp
