#pragma once
// Writing a recordset as a data set in the XML form the web-service protocol carries: the XML
// Schema of one table ("Table" in the data set "NewDataSet"), then a diffgram with one element per
// row and one per non-null value. Written piece by piece straight from the recordset's compact
// cells, so a large result goes out while it is being written and never exists whole as text.
#include "platform/clsRecordset.h"

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

namespace datasetescrita {

// An XML name for a column or table name: characters a name cannot hold become _xHHHH_ (so
// "First Name" gives First_x0020_Name).
QByteArray CodificarNome(const QString& nome);

// Appends UTF-8 text as XML character data: markup escaped, carriage returns kept as references,
// characters XML cannot carry (controls, broken UTF-8) replaced by U+FFFD.
void EscaparTexto(std::string& saida, const char* p, size_t n);
inline void EscaparTexto(std::string& saida, const QString& s)
{
    const QByteArray u = s.toUtf8();
    EscaparTexto(saida, u.constData(), size_t(u.size()));
}

class clsEscritorDataSet {
public:
    // `rs` null or closed: a data set without tables (a statement that returns no rows). Each
    // column is typed by its declared SQL type, never by its values; `inteiros64`: the engine keeps
    // every integer in 64 bits whatever the declaration (a file database), so they are all xs:long.
    explicit clsEscritorDataSet(RecordsetPtr rs, bool inteiros64 = false);

    // Appends the next piece: first the schema and the diffgram's start, then rows until the piece
    // reaches about `tamanho` bytes, at last the diffgram's end. False once all was written.
    bool Proximo(std::string& saida, size_t tamanho = 64 * 1024);

    // The XML Schema type written for each field ("xs:int"...).
    const std::vector<QByteArray>& TiposXs() const { return tipos; }

private:
    enum class Forma : uint8_t { Inteiro, Booleano, Real, Decimal, Data, Binario, Texto };
    bool Cabe(const Celula& v, Forma forma) const;
    void Cabecalho(std::string& s);
    void Linha(std::string& s, uint32_t linha, int numero);
    void Valor(std::string& s, const Celula& c, Forma forma);

    RecordsetPtr rs;
    std::vector<QByteArray> nomes; // encoded element names of the fields
    std::vector<QByteArray> tipos;
    std::vector<Forma> formas;
    std::vector<bool> guid;
    int linhas = 0;
    int proxima = -1; // -1: the header is still to be written
    bool terminado = false;
};

} // namespace datasetescrita
