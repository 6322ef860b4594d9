#include "mdlIntellisense.h"

#include "connections/clsData.h"
#include "platform/clsRecordset.h"

namespace intellisense {

namespace {
// The values of one field of every row, in the rows' order, each once.
QStringList ValoresUnicos(clsRecordset& rs, const QString& campo)
{
    QStringList r;
    if (rs.State() != ado::adStateOpen || rs.IndiceCampo(campo) < 0)
        return r;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const QString v = rs.Valor(campo).toString();
        if (!v.isEmpty() && !r.contains(v))
            r << v;
    }
    return r;
}
} // namespace

bool ConexaoDireta(const clsData& dados)
{
    return (dados.ConnectionType() == tipoconexao::Access || dados.ConnectionType() == tipoconexao::OleDb)
           && dados.ActiveConnection();
}

QStringList NomesTabelas(clsData& dados)
{
    if (!ConexaoDireta(dados))
        return {};
    RecordsetPtr rs;
    if (!dados.OpenSchema(tiposchema::Tabelas, rs, {.tipo = QStringLiteral("TABLE"), .ocultarSistema = true}) || !rs)
        return {};
    return ValoresUnicos(*rs, QStringLiteral("TABLE_NAME"));
}

QStringList NomesColunas(clsData& dados, const QString& strTabela)
{
    if (!ConexaoDireta(dados) || strTabela.isEmpty())
        return {};
    RecordsetPtr rs;
    if (!dados.OpenSchema(tiposchema::Colunas, rs, {.tabela = strTabela}, false) || !rs)
        return {};
    QStringList colunas = ValoresUnicos(*rs, QStringLiteral("COLUMN_NAME"));
    if (!colunas.isEmpty())
        colunas.prepend(QStringLiteral("*"));
    return colunas;
}

QList<ItemIntellisense> CarregarIntellisense(clsData& dados, const QString& strPalavra, bool blnListaTabelas)
{
    const bool dono = strPalavra.toLower() == u"dbo";
    const QStringList nomes = dono || blnListaTabelas ? NomesTabelas(dados) : NomesColunas(dados, strPalavra);
    QList<ItemIntellisense> itens;
    itens.reserve(nomes.size());
    for (const QString& n : nomes)
        itens.append({n, dono ? ImagemDono : ImagemItem});
    return itens;
}

} // namespace intellisense

clsFonteIntellisense::clsFonteIntellisense(clsAmbienteDados& ambiente) : amb(ambiente) {}

clsFonteIntellisense::~clsFonteIntellisense()
{
    if (dados)
        dados->CloseConnection();
}

void clsFonteIntellisense::DefinirConnectionString(const QString& strConnectionString)
{
    if (strConnectionString == connStr && (dados || !tentado))
        return;
    if (dados)
        dados->CloseConnection();
    dados.reset();
    tentado = false;
    connStr = strConnectionString;
}

clsData* clsFonteIntellisense::Dados()
{
    if (dados)
        return dados.get();
    if (tentado || connStr.isEmpty())
        return nullptr;
    tentado = true;
    // A published database offers no catalog to the list: no call goes out for it.
    if (ConexaoWeb(connStr))
        return nullptr;
    auto d = std::make_unique<clsData>(amb);
    // The window reports a connection that fails when it runs; the list just stays closed.
    if (!d->OpenConnection(connStr, false, false))
        return nullptr;
    dados = std::move(d);
    return dados.get();
}

QList<ItemIntellisense> clsFonteIntellisense::Itens(const QString& strPalavra, bool blnListaTabelas)
{
    clsData* d = Dados();
    return d ? intellisense::CarregarIntellisense(*d, strPalavra, blnListaTabelas) : QList<ItemIntellisense>{};
}
