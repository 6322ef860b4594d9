#pragma once
// What the SQL editor's completion list offers: the tables of the connection, or "*" and the columns
// of one table, each with the image it is shown with. Only direct connections (file databases, SQL
// Server, custom sources) are asked; a web-service connection offers nothing.
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class clsAmbienteDados;
class clsData;

struct ItemIntellisense {
    QString texto;
    int imagem = 0;
    bool operator==(const ItemIntellisense&) const = default;
};

namespace intellisense {

// Images of the list's items.
inline constexpr int ImagemDono = 0; // tables listed after "dbo."
inline constexpr int ImagemItem = 5; // columns, and tables listed by Ctrl+Space

// True for an open connection of the direct kinds.
bool ConexaoDireta(const clsData& dados);
// User tables in the catalog's order, without repetitions.
QStringList NomesTabelas(clsData& dados);
// "*" followed by the columns of the table in their order, or nothing when the table has none.
QStringList NomesColunas(clsData& dados, const QString& strTabela);
// The items for the word before the dot (tables for "dbo" or with `blnListaTabelas`, else the
// columns of the table so named).
QList<ItemIntellisense> CarregarIntellisense(clsData& dados, const QString& strPalavra, bool blnListaTabelas);

} // namespace intellisense

// The connection the completion list reads its names from, kept open for the connection string it
// was given. A string that cannot be opened is tried once; a new string starts over.
class clsFonteIntellisense {
public:
    explicit clsFonteIntellisense(clsAmbienteDados& ambiente);
    ~clsFonteIntellisense();
    clsFonteIntellisense(const clsFonteIntellisense&) = delete;
    clsFonteIntellisense& operator=(const clsFonteIntellisense&) = delete;

    QString ConnectionString() const { return connStr; }
    void DefinirConnectionString(const QString& strConnectionString);
    // The open connection, or null when there is none to ask.
    clsData* Dados();
    QList<ItemIntellisense> Itens(const QString& strPalavra, bool blnListaTabelas);

private:
    clsAmbienteDados& amb;
    QString connStr;
    std::unique_ptr<clsData> dados;
    bool tentado = false;
};
