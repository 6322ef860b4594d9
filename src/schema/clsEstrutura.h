#pragma once
// The column list of the structure designer and the statements that save it. Saving runs every
// statement in one transaction: a failing step rolls back everything, so the table, its rows, its
// indexes and its triggers stay exactly as they were.
#include "platform/clsMotor.h"
#include "schema/mdlDdlSqlite.h"

#include <QList>
#include <QString>
#include <QStringList>

class clsData;
class clsPrompt;

// One row of the designer's list. The Original* members hold what was loaded; a column added in
// the window has no original name.
struct ColunaEstrutura {
    bool chave = false, originalChave = false;
    QString campo, originalCampo;
    QString tipoDado, originalTipoDado;
    qint32 tamanho = 0, originalTamanho = 0;
    // Precision and scale of a decimal/numeric column (0: the engine's default).
    qint32 precisao = 0, originalPrecisao = 0;
    qint32 escala = 0, originalEscala = 0;
    QChar status = u'V'; // 'V' live, 'D' deleted
    qint32 ordem = 0, originalOrdem = 0;
    bool allowNulls = true, originalAllowNulls = false;
    bool identity = false, originalIdentity = false;
    qint32 identitySeed = 0, originalIdentitySeed = 0;
    qint32 identityIncrement = 0, originalIdentityIncrement = 0;
    // The column's declared type, written again while the column keeps its type and size; its
    // default value, an expression as the engine words it ("Valor Padrão"), empty for none.
    QString tipoNativo;
    QString padrao, originalPadrao;
    // SQLite: the column's COLLATE clause, written again with the column.
    QString colacao;
    // SQL Server: the name of the default's constraint, which the rebuild gives the new table's
    // default again.
    QString nomePadrao;
    // PostgreSQL: an identity GENERATED ALWAYS (not BY DEFAULT), and the sequence that numbers the
    // column (identity or serial) as the engine names it, with its bare name.
    bool identitySempre = false;
    QString sequencia, nomeSequencia;

    bool Existente() const { return !originalCampo.isEmpty(); }
    bool Viva() const { return status == u'V'; }
    bool operator==(const ColunaEstrutura&) const = default;
    bool TipoMantido() const
    {
        return Existente() && tipoDado == originalTipoDado && tamanho == originalTamanho && precisao == originalPrecisao
               && escala == originalEscala;
    }
};

// The 23 type names the designer offers on SQL Server and other sources, in the order of its type box.
const QStringList& TiposDadoEstrutura();
// The type box of an engine: the 23 names on SQL Server and other sources, the engine's own common
// types on SQLite and PostgreSQL.
QStringList TiposDoMotor(Dialeto dialeto);
// The type and size a new column starts with.
QString TipoNovaColuna(Dialeto dialeto);
// Whether a type takes a size (the size box is enabled only for these).
bool TipoComTamanho(const QString& tipo);
// Whether a type takes a precision and a scale.
bool TipoComPrecisao(const QString& tipo);
// The engine's column type for a type name of the box, size, precision and scale.
QString TipoNoMotor(Dialeto dialeto, const QString& tipo, qint32 tamanho, qint32 precisao = 0, qint32 escala = 0);
// Splits a declared type ("numeric(14,4)", "VARCHAR(50)", "timestamp(3) without time zone") into its
// name without the numbers and its size or precision and scale.
void DecomporTipo(const QString& nativo, QString& nome, qint32& tamanho, qint32& precisao, qint32& escala);

// Alteracao: the engine's own ALTER TABLE statements change the table in place; Reconstrucao: a new
// table takes the rows and replaces the old one; Declaracao (SQLite): only declared types change,
// each to one the file stores the same way, so the table's definition is rewritten and no row moves.
enum class CaminhoEstrutura { Nada, Nova, Reconstrucao, SoChave, Alteracao, Declaracao };

// One statement of a save. `semLinhas`: the statement is a check whose rows mean failure.
struct PassoEstrutura {
    QString sql;
    bool semLinhas = false;
    // Its failure undoes work already done on the rows (the copy of a rebuild and what follows it):
    // the user is told "A estrutura não foi alterada" on top of the engine's error.
    bool avisar = false;
    // What a check that finds rows tells the user (empty: the foreign-key message).
    QString mensagem;
};

// What the catalog says of an existing table, read before the save starts.
struct CatalogoTabela {
    QStringList scripts; // indexes and triggers to recreate after the rebuild, in order
    QString nomeChave; // name of the current primary-key constraint, empty when none
    QStringList perdas; // what a rebuild would lose (foreign keys, checks), named for the user
    // Constraints carried through a rebuild: dropped before the old table goes (other tables' keys
    // on it), and added again once the new table has its key.
    QStringList antesDeApagar;
    QStringList depoisDaChave;
    // SQLite keeps checks, foreign keys and unique constraints in the table's own text: they go into
    // the new table's CREATE, with what follows its column list (WITHOUT ROWID, STRICT).
    QList<ddlsqlite::Restricao> restricoes;
    QString opcoesTabela;
    // Checks run last in the transaction, whose rows mean failure (SQLite's foreign-key checks of
    // the table and of the tables whose keys point at it).
    QStringList verificacoes;
    // SQLite connection settings a rebuild changes while it runs and gives back afterwards, as they
    // were read (empty when not read).
    QString secureDelete, cacheSize;
    // SQLite: the file's schema version (PRAGMA schema_version), empty when not read.
    QString versaoEsquema;
    // Objects that read the table's columns by name (SQLite: views, triggers, the table's
    // indexes): a rebuild that loses or renames a column one of them reads is refused by name.
    struct Dependente {
        QString descricao; // "a visão «v»"
        QStringList nomes; // the names its text uses, in lower case
    };
    QList<Dependente> dependentes;
    // SQLite: the AUTOINCREMENT counter (sqlite_sequence), empty when the table has none.
    QString autoincremento;
    // PostgreSQL: what the new table of a rebuild is given back: owner and privileges, and
    // comments (the table's, and each column's by its name).
    QStringList privilegios;
    QString comentario;
    QList<std::pair<QString, QString>> comentariosColunas;
};

struct PlanoEstrutura {
    CaminhoEstrutura caminho = CaminhoEstrutura::Nada;
    QString erro; // why the save is refused before touching the database, empty otherwise
    QStringList antes; // outside the transaction, before it (SQLite: foreign keys off)
    QList<PassoEstrutura> passos; // inside the transaction
    QStringList depois; // outside the transaction, after it, whatever its end
};

// The statements that save `colunas` as table `tabela` (new or existing) on an engine. The copy of
// a rebuild, its key and its constraints stay in the table's own schema.
PlanoEstrutura PlanejarEstrutura(const clsMotor& motor,
                                 const ObjetoBanco& tabela,
                                 bool nova,
                                 const QList<ColunaEstrutura>& colunas,
                                 const CatalogoTabela& catalogo);

// Reads the catalog facts a save of an existing table needs.
CatalogoTabela LerCatalogoTabela(clsData& db, const ObjetoBanco& tabela);
// Loads the column list of an existing table, sorted by position; false when nothing was read.
bool CarregarEstrutura(clsData& db, const ObjetoBanco& tabela, QList<ColunaEstrutura>& colunas);

// Runs a plan in one transaction (a refused plan shows its reason). Each failing statement is
// reported by the data layer; then the transaction is rolled back, and "A estrutura não foi
// alterada" is shown when the failure undid work on the rows (PassoEstrutura::avisar). True when
// committed.
bool ExecutarPlano(clsData& db, clsPrompt& prompt, const PlanoEstrutura& plano);
