#pragma once
// The in-memory recordset every row of the program travels in: fields with ADO type codes, a
// cursor, Sort, Filter, clones that share the rows, and pending changes written back through the
// connection the rows came from (UpdateBatch). A recordset can also be built by hand: append
// fields, Open() without a connection, then AddNew/Update row by row.
//
// A decimal field (adNumeric, adDecimal) hands out its value as exact text in C notation, every
// digit kept ("-1234567890123456789012345678.0123456789", "1.50"), and takes text, integers and
// doubles; Sort and Filter compare decimals by their exact value.
//
// No call raises: a failing operation returns false (or a null value) and leaves its error in
// Erro() with the numbers of ado::Erro.
#include "clsErro.h"
#include "clsRecordsetDados.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <tuple>
#include <vector>

class clsRecordset;
using RecordsetPtr = std::shared_ptr<clsRecordset>;
struct ExpressaoFiltro;

// One field of a recordset, as rs.Fields("Nome") / rs.Fields(0) hands it out. Reads and writes go
// to the recordset's current row. A field asked by an unknown name is not valid: its value is null.
class clsField {
public:
    clsField(clsRecordset* rs, int indice) : rs(rs), indice(indice) {}
    bool IsValid() const { return rs && indice >= 0; }
    int Index() const { return indice; }
    QString Name() const;
    int Type() const;
    qint64 DefinedSize() const;
    int Precision() const;
    int NumericScale() const;
    int Attributes() const;
    QVariant Value() const;
    QVariant OriginalValue() const;
    bool setValue(const QVariant& v);
    bool IsNull() const { return Value().isNull(); }

private:
    clsRecordset* rs;
    int indice;
};

class clsRecordset {
public:
    clsRecordset();
    ~clsRecordset();
    clsRecordset(const clsRecordset&) = delete;
    clsRecordset& operator=(const clsRecordset&) = delete;

    // --- built by hand (administration lists) ---
    // Fields.Append: only while closed. Sizes of fixed types are taken from the type.
    bool AppendField(const QString& nome, int tipo, qint64 tamanho = 0, int atributos = 0);
    // Opens without a connection: an empty, updatable set of the appended fields.
    bool Open();
    void Close();
    int State() const { return aberto ? ado::adStateOpen : ado::adStateClosed; }

    // --- fields ---
    int FieldCount() const;
    clsField Fields(int indice);
    clsField Fields(const QString& nome);
    int IndiceCampo(const QString& nome) const;
    const CampoInfo& InfoCampo(int indice) const;

    // --- cursor ---
    bool Bof() const;
    bool Eof() const;
    bool MoveFirst();
    bool MoveLast();
    bool MoveNext();
    bool MovePrevious();
    bool Move(int n);
    int AbsolutePosition() const; // 1-based, or ado::adPosBOF / adPosEOF / adPosUnknown
    bool setAbsolutePosition(int posicao);
    int RecordCount() const; // rows seen through the current filter (-1 when closed)

    // --- values of the current row ---
    QVariant Valor(int campo) const;
    QVariant Valor(const QString& campo) const;
    bool DefinirValor(int campo, const QVariant& v);
    bool DefinirValor(const QString& campo, const QVariant& v);
    QVariant ValorOriginal(int campo) const;

    // --- the grid reads cells by position without moving the cursor ---
    int QtdeLinhasVisiveis() const { return RecordCount(); }
    QVariant ValorCelula(int linha, int campo) const;
    bool CelulaNula(int linha, int campo) const;
    bool DefinirCelula(int linha, int campo, const QVariant& v);
    int LinhaAtual() const; // 0-based row of the cursor, -1 at BOF/EOF
    // Row of Dados() shown at visible row `linha` (for writers that read the compact cells).
    uint32_t LinhaDados(int linha) const;

    // --- sort and filter ---
    QString Sort() const { return ordem; }
    bool setSort(const QString& criterio); // "Campo [Asc|Desc][, ...]"; empty removes it
    QString Filter() const; // "0" when there is none
    bool setFilter(const QString& criterio); // ADO criteria; empty or "0" removes it

    // --- editing ---
    int LockType() const { return trava; }
    void setLockType(int t) { trava = t; }
    int EditMode() const { return modoEdicao; }
    bool AddNew();
    bool Update();
    bool CancelUpdate();
    bool Delete();
    // Writes every pending row through the connection the rows came from, in one transaction.
    // On failure nothing is written and the rows stay pending.
    bool UpdateBatch();
    // The same for several recordsets of one connection (parts of one result read in pieces): every
    // pending row of all of them in one transaction, all or nothing. On failure the rows stay
    // pending and `erro` says why.
    static bool UpdateBatch(const std::vector<RecordsetPtr>& partes, ErroDados& erro);
    bool CancelBatch();
    bool TemAlteracoesPendentes() const;
    // Whether the rows can be written back (`motivo` says why not): a result traced to one base
    // table, on a connection that writes. Rows built by hand always can.
    bool Gravavel(QString* motivo = nullptr) const;
    // Whether a field takes changes: it comes from a column of the base table.
    bool CampoGravavel(int campo) const;

    // A second recordset over the same rows, with its own cursor at the first row, the same Sort
    // and no Filter (assign Filter() to it to keep one). adLockReadOnly makes it read-only.
    RecordsetPtr Clone(int lockType = ado::adLockUnspecified);
    // A clone that sees exactly the rows this one shows now, in the same order and filter (a row
    // edited since the sort stays where it is shown, and is not sorted again).
    RecordsetPtr CloneComoVisto(int lockType = ado::adLockUnspecified);

    // The connection the rows came from; empty for a hand-built recordset.
    std::shared_ptr<clsMotor> ActiveConnection() const;
    QString Source() const;

    const ErroDados& Erro() const { return erro; }

    // Rows of a statement still fetching (clsRecordsetDados::DefinirEntrega), appended at the end of
    // the rows seen; a sort or filter in force is applied to them too.
    void AnexarBloco(clsRecordsetDados&& bloco);

    // For the engines: the store they fill before calling AbrirComDados.
    static RecordsetPtr Criar(std::shared_ptr<clsRecordsetDados> dados, int lockType);
    clsRecordsetDados& Dados() { return *dados; }
    const clsRecordsetDados& Dados() const { return *dados; }
    size_t BytesUsados() const;

private:
    friend class clsField;
    bool Falhar(int numero, const QString& descricao) const;
    bool ExigirAberto() const;
    bool ExigirLinha() const;
    bool PrepararMovimento();
    uint32_t LinhaFisica() const { return vista[size_t(pos)]; }
    void Sincronizar() const; // rebuilds the view when a clone changed the rows
    void Reconstruir() const; // applies filter and sort to every live row
    void PurgarExcluida() const;
    void FinalizarEdicao();
    bool GravarLinha(uint32_t linha, int campo, const QVariant& v);
    bool Gravar(const std::vector<uint32_t>& linhas);
    // Writes `linhas` of each recordset in one transaction; the error goes to the first one.
    static bool GravarPartes(const std::vector<std::pair<clsRecordset*, std::vector<uint32_t>>>& partes);
    // Rows just written: their states, and the values the engine generated or keeps differently.
    void ConcluirGravadas(const std::vector<uint32_t>& linhas,
                          const std::vector<std::tuple<uint32_t, int, Celula>>& gerados,
                          const clsMotor& motor);

    std::shared_ptr<clsRecordsetDados> dados;
    bool aberto = false;
    int trava = ado::adLockBatchOptimistic;
    QString ordem;
    QString filtro;
    std::shared_ptr<ExpressaoFiltro> expressao;

    mutable std::vector<uint32_t> vista; // physical rows in the order seen
    mutable long pos = -1; // index into vista; -1 BOF, size EOF
    mutable long pendenteRemocao = -1; // a deleted row still under the cursor
    mutable bool aposExclusao = false;
    mutable uint64_t geracaoVista = 0;

    int modoEdicao = ado::adEditNone;
    long linhaEdicao = -1;
    std::vector<Celula> antesEdicao;
    EstadoLinha estadoAntesEdicao = EstadoLinha::Inalterada;

    mutable ErroDados erro;
};

// The first field of the first row (null when there is none), then the recordset is closed: what a
// single-value query returns.
QVariant PrimeiroValor(const RecordsetPtr& rs);
