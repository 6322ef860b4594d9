#pragma once
// The rows behind a recordset and all its clones: one compact cell per value (a tag byte and eight
// bytes of payload), texts and binaries in an append-only pool, the fields' descriptions, the state
// of each row (unchanged, new, modified, deleted) and the original values of changed rows.
#include "clsBlocosMemoria.h"
#include "clsTiposAdo.h"
#include "mdlDataHora.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

class clsMotor;

// A growable array in fixed blocks: no copying when it grows, at most one block of slack.
template <typename T, int Bits = 16> class VetorBlocos {
    static_assert(std::is_trivial_v<T>);

public:
    static constexpr size_t Bloco = size_t(1) << Bits;
    size_t size() const { return n; }
    T& operator[](size_t i) { return blocos[i >> Bits][i & (Bloco - 1)]; }
    const T& operator[](size_t i) const { return blocos[i >> Bits][i & (Bloco - 1)]; }
    void push_back(const T& v)
    {
        if (livre == 0) [[unlikely]]
            NovoBloco();
        *proximo++ = v;
        --livre;
        ++n;
    }
    void clear()
    {
        blocos.clear();
        memoria.clear();
        n = 0;
        proximo = nullptr;
        livre = 0;
    }
    size_t bytes() const { return blocos.size() * Bloco * sizeof(T); }

    VetorBlocos() = default;
    VetorBlocos(VetorBlocos&& o) noexcept { *this = std::move(o); }
    VetorBlocos& operator=(VetorBlocos&& o) noexcept
    {
        blocos = std::move(o.blocos);
        memoria = std::move(o.memoria);
        n = o.n;
        proximo = o.proximo;
        livre = o.livre;
        o.clear();
        return *this;
    }

private:
    // Kept out of line, so that push_back stays small enough to be inlined into the fill loops.
    [[gnu::noinline]] void NovoBloco()
    {
        if ((n >> Bits) == blocos.size())
            blocos.push_back(reinterpret_cast<T*>(memoria.Novo()));
        proximo = blocos[n >> Bits] + (n & (Bloco - 1));
        livre = Bloco - (n & (Bloco - 1));
    }
    std::vector<T*> blocos;
    clsBlocosMemoria memoria{Bloco * sizeof(T)};
    size_t n = 0;
    T* proximo = nullptr; // where the next element goes, `livre` places before the block's end
    size_t livre = 0;
};

// What a cell holds. The field's type decides how the value is handed out. A decimal is its
// canonical text (mdlDecimal.h) in the pool.
enum class Marca : uint8_t { Nulo = 0, Inteiro = 1, Real = 2, Texto = 3, Binario = 4, Data = 5, Decimal = 6 };

struct Celula {
    Marca marca = Marca::Nulo;
    uint64_t carga = 0;
};

struct CampoInfo {
    QString nome;
    int tipo = ado::adVarWChar;
    qint64 tamanho = 0; // DefinedSize
    int precisao = 0;
    int escala = 0;
    int atributos = 0; // OLE DB column flags
    QString tabelaBase; // table and column the value came from (for writing back)
    QString colunaBase;
    QString esquemaBase; // the base table's schema and catalog, empty where the engine has none
    QString catalogoBase;
    bool tipoFixado = true; // false: decided from the first value fetched
    bool tipoPelosValores = false; // the type was decided from the values (decided again as rows arrive)
    // A date field declared without its time (DATE) or without its date (TIME): values are written
    // back in that form.
    enum class FormaData : uint8_t { DataHora, SoData, SoHora } formaData = FormaData::DataHora;
};

// Pieces of text and binary data, each stored once: the length (one byte below 255, else 255 and
// four bytes), then the bytes.
class PoolTexto {
public:
    uint64_t Guardar(const char* p, size_t n);
    const char* Dados(uint64_t ref, uint32_t& n) const
    {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(blocos[ref >> 32] + (ref & 0xffffffffu));
        if (b[0] < 255) {
            n = b[0];
            return reinterpret_cast<const char*>(b + 1);
        }
        std::memcpy(&n, b + 1, 4);
        return reinterpret_cast<const char*>(b + 5);
    }
    size_t bytes() const { return total; }
    // Takes the pieces of another pool; a reference `ref` of that pool is ref + Deslocamento() here.
    // The free end of this pool's last block is left unused.
    uint64_t Deslocamento() const { return uint64_t(blocos.size()) << 32; }
    void Anexar(PoolTexto&& outro);

private:
    static constexpr size_t TamBloco = size_t(1) << 20;
    std::vector<char*> blocos;
    clsBlocosMemoria memoria{TamBloco};
    std::vector<std::unique_ptr<char[]>> maiores; // pieces larger than a block, each a block of its own
    size_t usado = TamBloco; // space used in the last block
    size_t total = 0;
};

enum class EstadoLinha : uint8_t { Inalterada = 0, Nova = 1, Alterada = 2, Excluida = 3, Descartada = 4 };

class clsRecordsetDados {
public:
    QVector<CampoInfo> campos;
    std::weak_ptr<clsMotor> motor; // the connection the rows came from (none when built by hand)
    QString fonte; // the statement that produced them
    uint64_t geracao = 0; // bumped by every change of the set of rows

    int QtdeCampos() const { return int(campos.size()); }
    size_t QtdeLinhas() const { return estados.size(); }
    int IndiceCampo(const QString& nome) const;

    // Filling, row by row: Acrescentar* once per field in order, then FecharLinha.
    void AcrescentarNulo(int c) { empurrar(c, Marca::Nulo, 0); }
    void AcrescentarInteiro(int c, int64_t v) { empurrar(c, Marca::Inteiro, uint64_t(v)); }
    void AcrescentarReal(int c, double v)
    {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        empurrar(c, Marca::Real, u);
    }
    void AcrescentarTexto(int c, const char* utf8, size_t n) { empurrar(c, Marca::Texto, pool.Guardar(utf8, n)); }
    void AcrescentarBinario(int c, const char* p, size_t n) { empurrar(c, Marca::Binario, pool.Guardar(p, n)); }
    void AcrescentarData(int c, int64_t ms) { empurrar(c, Marca::Data, uint64_t(ms)); }
    // A date with every digit: whole milliseconds, or its canonical text.
    void AcrescentarDataHora(int c, const datahora::DataHora& d)
    {
        const Celula v = CelulaDeData(d);
        empurrar(c, v.marca, v.carga);
    }
    // `canonico`: a decimal's canonical text (decimal::Normalizar).
    void AcrescentarDecimal(int c, const char* canonico, size_t n)
    {
        empurrar(c, Marca::Decimal, pool.Guardar(canonico, n));
    }
    void FecharLinha()
    {
        estados.push_back(EstadoLinha::Inalterada);
        if (entrega && estados.size() >= limiteBloco) [[unlikely]]
            EntregarBloco();
    }

    // Rows handed over in blocks while a statement is still fetching: once `entrega` is set, every
    // few rows (a thousand at first, more as the result grows) the rows filled so far move into a
    // new store of the same fields that goes to `entrega`, and this one goes on empty. The engine
    // calls it on the thread that fetches; the block belongs to the receiver from then on.
    using Entrega = std::function<void(std::shared_ptr<clsRecordsetDados> bloco)>;
    void DefinirEntrega(Entrega e);
    // Hands over the rows filled so far now (a fetch that stops early keeps what it read).
    void EntregarBloco();
    // Appends the rows of a block of the same fields; texts and binaries move with their pool.
    void Anexar(clsRecordsetDados&& bloco);
    // Fixes the type of fields whose type follows their values (expressions without a declared type).
    void ConcluirTipos();

    // A new row, all null, marked new; returns its index.
    uint32_t NovaLinha();

    Celula Ler(uint32_t linha, int c) const { return Celula{colunas[c].marcas[linha], colunas[c].cargas[linha]}; }
    void Gravar(uint32_t linha, int c, Celula v)
    {
        colunas[c].marcas[linha] = v.marca;
        colunas[c].cargas[linha] = v.carga;
    }
    QVariant Valor(uint32_t linha, int c) const { return ParaVariant(Ler(linha, c), campos[c].tipo); }
    QVariant ParaVariant(Celula v, int tipo) const;
    // Converts a value to a cell of the field's type; false when the value does not fit the type.
    bool DeVariant(const QVariant& v, int c, Celula& saida);
    QString Texto(Celula v) const;
    const char* Bytes(Celula v, uint32_t& n) const { return pool.Dados(v.carga, n); }
    // A number cell (decimal, integer, finite real) as canonical decimal text: a view of the pool
    // for a decimal, else of `buffer`. Empty for any other cell.
    std::string_view TextoDecimal(Celula v, std::string& buffer) const;
    // A cell of another store, as a cell of this one (texts and binaries copied into this pool).
    Celula CopiarCelula(const clsRecordsetDados& de, Celula v)
    {
        if (v.marca != Marca::Texto && v.marca != Marca::Binario && v.marca != Marca::Decimal)
            return v;
        uint32_t n;
        const char* p = de.Bytes(v, n);
        return Celula{v.marca, pool.Guardar(p, n)};
    }
    // The value that writes a cell back in the kind it was read in (a statement parameter).
    QVariant ParaParametro(Celula v, int c) const;
    // A date cell of field `c` with every digit it holds (whole milliseconds, or the exact text of a
    // finer value or one with its offset); false when the cell holds no date.
    bool DataHoraDe(Celula v, int c, datahora::DataHora& d) const;
    // The cell that keeps a date exactly: whole milliseconds, else its canonical text.
    Celula CelulaDeData(const datahora::DataHora& d);
    // Whether the field holds dates alone, times alone, or both.
    datahora::Forma FormaDoCampo(int c) const;

    EstadoLinha Estado(uint32_t linha) const { return estados[linha]; }
    void DefinirEstado(uint32_t linha, EstadoLinha e) { estados[linha] = e; }
    // Keeps the values a row had when it was read, before its first change.
    void GuardarOriginais(uint32_t linha);
    const std::vector<Celula>* Originais(uint32_t linha) const;
    void DescartarOriginais(uint32_t linha) { originais.erase(linha); }
    std::vector<uint32_t> LinhasPendentes() const;
    bool TemPendentes() const;

    size_t BytesUsados() const;
    // The bytes the rows themselves take (the room left at the end of the storage not counted).
    size_t BytesLinhas() const { return pool.bytes() + estados.size() * (1 + 9 * size_t(campos.size())); }

    static int64_t DataParaMs(const QDateTime& d);
    static QDateTime MsParaData(int64_t ms);
    // "2024-05-01", "2024-05-01 10:20:30[.123]", "2024-05-01T10:20:30": false when not a date.
    static bool TextoParaMs(const char* p, size_t n, int64_t& ms);

private:
    struct Coluna {
        VetorBlocos<Marca> marcas;
        VetorBlocos<uint64_t> cargas;
    };
    void empurrar(int c, Marca m, uint64_t u)
    {
        if (c >= int(colunas.size()))
            colunas.resize(campos.size());
        colunas[c].marcas.push_back(m);
        colunas[c].cargas.push_back(u);
    }

    std::vector<Coluna> colunas;
    VetorBlocos<EstadoLinha> estados;
    PoolTexto pool;
    std::unordered_map<uint32_t, std::vector<Celula>> originais;
    Entrega entrega;
    size_t limiteBloco = 0;
};
