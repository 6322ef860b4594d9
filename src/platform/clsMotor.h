#pragma once
// An open database connection, whatever engine is behind it: SQLite files through the SQLite C API,
// servers and custom sources through ODBC. The connection string's Provider picks the engine
// (AbrirMotor). Every call reports failure by returning false and leaving the engine's error
// (number and description) in Erro(); nothing raises.
#include "clsConnStr.h"
#include "clsErro.h"
#include "clsObjetoBanco.h"
#include "clsRecordset.h"
#include "clsTiposAdo.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <atomic>
#include <memory>
#include <string_view>
#include <vector>

// The OLE DB schema rowsets the program reads.
enum class SchemaOleDb { Tabelas, Colunas, ChavesPrimarias, ChavesEstrangeiras, Indices, Procedures };

// The SQL an engine speaks, where statements the program writes differ.
enum class Dialeto { Sqlite, SqlServer, PostgreSql, Outro };

// PROCEDURE_TYPE of the Procedures rowset.
namespace tipoprocedure {
enum : int { Desconhecido = 1, Procedure = 2, Funcao = 3 };
}

class clsMotor : public std::enable_shared_from_this<clsMotor> {
public:
    clsMotor() = default;
    virtual ~clsMotor() = default;
    // An engine owns its connection: a copy would close it twice.
    clsMotor(const clsMotor&) = delete;
    clsMotor& operator=(const clsMotor&) = delete;

    virtual bool Aberto() const = 0;
    virtual void Fechar() = 0;

    // A connection is used by one thread at a time. Interromper is the exception: any thread may
    // call it to stop the statement running on the connection, whose call then fails with
    // ado::ErrInterrompida; the connection stays usable. Nothing happens when nothing runs.
    virtual void Interromper() = 0;

    // Whether the connection was lost (the server went away or restarted): it must be opened again
    // before it serves. Asked by the thread that uses the connection, between statements.
    virtual bool ConexaoPerdida() { return false; }

    // While set, the rows of Executar's result go to `entrega` in blocks as they are fetched, on the
    // thread that runs the statement (clsRecordsetDados::DefinirEntrega); the recordset Executar then
    // returns holds only the rows after the last block. A statement stopped by Interromper hands
    // over the rows it read before failing. Empty: the whole result comes back at the end.
    void DefinirEntregaLinhas(clsRecordsetDados::Entrega entrega) { entregaLinhas = std::move(entrega); }

    // The stop flag of the work about to run on the connection (null: none). Whoever runs that work
    // sets it, on the thread that uses the connection, and takes it away afterwards; any thread may
    // raise it. The engine checks it before each statement, after preparing one and while it reads
    // rows, so a stop is not lost when the engine's interrupt comes before a statement has started,
    // between two of them, or while rows are fetched: the call then fails with ado::ErrInterrompida.
    void DefinirParada(std::shared_ptr<const std::atomic<bool>> flag)
    {
        parada = std::move(flag);
        ParadaDefinida();
    }

    // Runs a statement or a batch. `rs` (when given) receives the first result that has columns,
    // with `lockType`; it stays null for statements without rows. `afetados` gets the rows the
    // statements changed (-1 when unknown).
    virtual bool Executar(const QString& sql, RecordsetPtr* rs, int lockType, long* afetados) = 0;
    // One statement (on SQL Server a batch) with "?" placeholders and bound values. `linhas`, when
    // given, receives the rows the statement returns (INSERT … RETURNING, a SELECT after it).
    virtual bool ExecutarComParametros(const QString& sql,
                                       const std::vector<QVariant>& valores,
                                       long& afetados,
                                       RecordsetPtr* linhas = nullptr)
        = 0;
    // How InserirLinhas writes a column's cells: a date as it is, or as a date or a time alone; into
    // a binary column, the cells' bytes.
    enum class FormaData : uint8_t { Natural, SoData, SoHora, Binario };
    // Bulk writing: whether InserirLinhas is supported.
    virtual bool InsercaoDireta() const { return false; }
    virtual bool InsercaoPorArrays() const { return false; }
    // Rows `de`..`de`+`qtde` of a block through one INSERT with one "?" per column, prepared once,
    // each cell bound as it is kept (no QVariant). `formas` says, per column, how a date is
    // written. On failure `falhou` is the row refused and Erro() says why. Where
    // InsercaoPorArrays(), each "?" takes a column's values of a set of rows as one array (the
    // engine's text of it), so the statement reads them as rows itself (PostgreSQL: INSERT …
    // SELECT * FROM unnest(?::type[], …)).
    virtual bool InserirLinhas(const QString& sql,
                               const clsRecordsetDados& bloco,
                               uint32_t de,
                               uint32_t qtde,
                               const std::vector<FormaData>& formas,
                               uint32_t& falhou)
    {
        Q_UNUSED(sql);
        Q_UNUSED(bloco);
        Q_UNUSED(de);
        Q_UNUSED(qtde);
        Q_UNUSED(formas);
        falhou = de;
        return Falhar(ado::ErrOperacao, QStringLiteral("Este banco de dados não aceita inserção direta."));
    }
    // A schema rowset with the OLE DB columns. Restrictions in the rowset's order; an empty text is
    // no restriction.
    virtual bool Schema(SchemaOleDb schema, const QStringList& restricoes, RecordsetPtr& rs) = 0;

    virtual bool IniciarTransacao() = 0;
    virtual bool ConfirmarTransacao() = 0;
    virtual bool DesfazerTransacao() = 0;
    virtual bool EmTransacao() const = 0;

    // A name as the engine quotes it (closing quote doubled).
    virtual QString CitarIdentificador(const QString& nome) const = 0;
    virtual Dialeto DialetoSql() const = 0;
    // Whether two names of the catalog are the same object's, as the server compares them.
    virtual bool MesmoNome(const QString& a, const QString& b) const { return a.compare(b, Qt::CaseInsensitive) == 0; }
    // A table's name qualified by its schema and catalog when they are known, quoted.
    QString NomeQualificado(const QString& tabela, const QString& esquema, const QString& catalogo) const;
    QString NomeQualificado(const ObjetoBanco& objeto) const
    {
        return NomeQualificado(objeto.nome, objeto.esquema, objeto.catalogo);
    }
    // The schema an unqualified name of this session lands in: SQL Server's SCHEMA_NAME(),
    // PostgreSQL's current_schema(), "main" on SQLite; empty when the engine does not tell.
    virtual QString EsquemaPadrao();
    // The key value the last INSERT generated, when the engine knows it.
    virtual QVariant UltimoIdInserido() { return QVariant(); }
    // Whether an INSERT can return the row it wrote (INSERT … RETURNING).
    virtual bool DevolveLinhasInseridas() const { return false; }
    virtual bool SomenteLeitura() const { return false; }
    // Why writing a row would not keep one of its decimals exactly, empty when it would. `lido`:
    // the value the row was read with, left as it was (an engine may still rewrite it with the row).
    virtual QString DecimalNaoGuardado(const QString& coluna, std::string_view canonico, bool lido) const
    {
        Q_UNUSED(coluna);
        Q_UNUSED(canonico);
        Q_UNUSED(lido);
        return {};
    }
    // The number a decimal becomes once written (an integer or a double, when the engine keeps it
    // as one), null when the engine keeps the decimal as it is.
    virtual QVariant DecimalGuardadoComo(std::string_view canonico) const
    {
        Q_UNUSED(canonico);
        return {};
    }
    // The engine's default database (ODBC SQL_ATTR_CURRENT_CATALOG, the file for SQLite) and its
    // "Data Source" as the connection string gave it.
    virtual QString BancoPadrao() const { return QString(); }
    // Where the data lives: "Data Source", or for ODBC strings the data source name or the server.
    QString DataSource() const
    {
        for (const char* chave : {"Data Source", "DSN", "Server"})
            if (const QString v = connStr.Valor(QString::fromUtf8(chave)); !v.isEmpty())
                return v;
        return {};
    }

    // The provider name exactly as the connection string wrote it ("SQLOLEDB.1").
    QString Provider() const { return provider; }
    const clsConnStr& ConnStr() const { return connStr; }
    const ErroDados& Erro() const { return erro; }

    // Primary-key columns of a table, in key order (empty when it has none or on failure).
    QStringList ChavesPrimarias(const QString& tabela, const QString& esquema = {}, const QString& catalogo = {});
    // Column names of a table (empty on failure).
    QStringList ColunasTabela(const QString& tabela, const QString& esquema = {}, const QString& catalogo = {});

protected:
    bool Falhar(long numero, const QString& descricao, OrigemErro origem = OrigemErro::Banco)
    {
        erro = {numero, descricao, origem};
        return false;
    }
    bool Falhar(const ErroDados& e) { return Falhar(e.numero, e.descricao, e.origem); }
    // The error of a statement stopped by Interromper.
    bool FalharInterrompida()
    {
        return Falhar(ado::ErrInterrompida,
                      QStringLiteral("A execução foi interrompida pelo usuário."),
                      OrigemErro::Programa);
    }
    // Whether the work running was asked to stop (DefinirParada).
    bool PararPedido() const { return parada && parada->load(std::memory_order_relaxed); }
    // The engine's hook for a flag just set or taken away.
    virtual void ParadaDefinida() {}
    // A call that needs the connection, made while it is closed.
    bool FalharFechada()
    {
        return Falhar(ado::ErrSemConexao, QStringLiteral("A conexão está fechada."), OrigemErro::Programa);
    }
    ErroDados erro;
    QString provider;
    clsConnStr connStr;
    clsRecordsetDados::Entrega entregaLinhas;
    std::shared_ptr<const std::atomic<bool>> parada;

    friend std::shared_ptr<clsMotor> AbrirMotor(const QString&, bool, int, ErroDados&);
};

// A date cell's value (clsRecordsetDados::DataParaMs) as InserirLinhas writes it: "yyyy-MM-dd
// HH:mm:ss[.zzz]", the date alone or the time alone.
QString TextoDataGravada(int64_t ms, clsMotor::FormaData forma);

// Which engine a connection string asks for.
enum class TipoMotor { Nenhum, ArquivoJet, SqlServer, Odbc };
TipoMotor MotorDoProvider(const clsConnStr& cs, QString& provider);

// Opens the connection a string describes. `timeoutSegundos` (0: the driver's default) limits the
// wait for the server while opening. Null on failure, with the reason in `erro`.
std::shared_ptr<clsMotor>
AbrirMotor(const QString& connectionString, bool leituraEscrita, int timeoutSegundos, ErroDados& erro);

// Creates an empty database file (the catalog's "create database" for file databases).
bool CriarBancoArquivo(const QString& caminho, ErroDados& erro);

// The columns of each schema rowset, in OLE DB order, with their ADO types.
struct ColunaRowset {
    const char* nome;
    int tipo;
};
const std::vector<ColunaRowset>& ColunasRowset(SchemaOleDb schema);
// An open, empty rowset of those columns; rows are added with AcrescentarLinhaRowset and the set
// is made read-only with ConcluirRowset.
RecordsetPtr NovoRowset(SchemaOleDb schema);
void AcrescentarLinhaRowset(clsRecordset& rs, const std::vector<std::pair<const char*, QVariant>>& valores);
void ConcluirRowset(clsRecordset& rs);
