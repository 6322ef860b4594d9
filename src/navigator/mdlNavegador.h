#pragma once
// Building the navigator's tree: adding nodes with their data records, the fixed roots, and the
// text and key rules of source nodes.
#include "navigator/clsArvore.h"

#include <functional>

// Node kinds (image indexes) used across the program.
namespace img {
enum : int {
    Grupo = 1,
    SqlServerConectado = 2,
    SqlServer = 3,
    AccessConectado = 4,
    Access = 5,
    BancoConectado = 6,
    Banco = 7,
    PastaTabelas = 8,
    View = 10,
    Tabela = 11,
    PastaViews = 12,
    Customizada = 13,
    SqlEditor = 14,
    PastaProcedures = 15,
    Procedure = 16,
    TabelaSistema = 18,
    Backup = 19,
    Manutencoes = 21,
    Logins = 22,
    Usuarios = 23,
    ImportarExportar = 24,
    PastaColunas = 25,
    ColunaChave = 26,
    Coluna = 27,
    Raiz = 28,
    OnLine = 29,
    HomePage = 30,
    Downloads = 31,
    Forum = 32,
    Funcao = 34,
    AgentRodando = 35,
    AgentParado = 36,
    PastaJobs = 37,
    Job = 38,
    JobStep = 39,
    JobSchedule = 40,
    PastaTriggers = 41,
    Trigger = 42,
    WebServiceConectado = 43,
    WebService = 44,
    ColunaNaoNula = 45,
    Indice = 46,
    PastaIndices = 47,
    ViewSistema = 48,
    ProcedureSistema = 49,
};
constexpr int Maior = 49;
} // namespace img

// A new node by name: where it goes, its kind and tag, and the fields of its data record.
struct NovoNo {
    QString texto;
    QString chave;
    QString chavePai; // a root when empty
    int imagem = 0;
    QString tag;
    QString descricao;
    QString usuario;
    QString senha;
    QString integrado; // "1" for integrated security
    QString caminho;
    QString endereco;
};

// Adds a node (see AdicionarNode), sets its image and tag and registers its data record under the
// key it was finally added with. Returns null when the user declined a duplicate key.
clsNo* IncluirNode(clsArvore& arvore, const NovoNo& no);
// The node of database `nome` under `servidor`, with the server's login. Its tag stays empty, so
// connecting it opens that database rather than the server's default one.
clsNo* IncluirNoBanco(clsArvore& arvore, clsNo* servidor, const QString& nome);
clsNo* IncluirNode(clsArvore& arvore,
                   const QString& texto,
                   const QString& chave,
                   const QString& chavePai,
                   int imagem,
                   const QString& tag = {},
                   const QString& descricao = {},
                   const QString& usuario = {},
                   const QString& senha = {},
                   const QString& integrado = {},
                   const QString& caminho = {},
                   const QString& endereco = {});

// Adds a node under `chavePai` (a root when empty). When the key is taken, asks whether to add it
// under another name; each Yes retries with the key + "2".
clsNo* AdicionarNode(clsArvore& arvore, const QString& texto, const QString& chave, const QString& chavePai);

// The fixed roots, then the mapped connections.
void InicializarNavegador(clsArvore& arvore);

// An open window that belongs to a connection: its tag (the index of the connected source node it
// was opened for) and how to close it.
struct JanelaAberta {
    QString tag;
    std::function<void()> fechar;
};

// Whether a window tagged with node index `indice` belongs to `no`: the node itself or, descending
// only through connected servers, a node below it.
bool JanelaPertenceAoNo(const clsNo* no, int indice);

// Disconnects a node: closes its windows after one question (when asked and `imagem` is not 0),
// removes its children, and sets the disconnected image, clearing the tag and the credentials except
// for databases (7) and custom connections (13). With `imagem` 0 the node and the siblings after it
// are removed. False when the user refused to close the windows.
bool DesconectarNode(clsArvore& arvore, clsNo* no, int imagem, bool fecharJanelas, const QList<JanelaAberta>& janelas);

// The connected source above a node (images 2, 4, 6, 13, 43): its index and what a query window
// shows of it. Index 0 when there is none.
struct NoConectado {
    int indice = 0;
    QString fonte; // file path (4) or address (43)
    QString banco; // database name (6)
    QString textoNo; // node text (13, 43)
};
NoConectado LocalizarNoConectado(const clsNo* no);

// What a query window opened for a node gets: its connection string, SQL, caption text, whether
// to run at once, and the source it belongs to.
struct PedidoConsulta {
    QString connStr;
    QString sql;
    QString tabela;
    // The table's name for the SELECT of table-data mode, qualified and quoted; empty: the
    // caption's name, quoted.
    QString nomeSelect;
    bool executar = false;
    QString fonte;
    QString banco;
    QString textoNo;
    int indiceFonte = 0;
};
PedidoConsulta MontarPedidoConsulta(const clsNo* no, const QString& sql, const QString& tabela, bool executar);

// The caption of a web-service node: the address without its scheme, cut at ".asmx" (any case),
// keeping what follows the last "/".
QString TextoNoWebService(const QString& endereco);
// "db" + the name, path or address without blanks, "\", ":", "/" and ".".
QString ChaveFonte(const QString& nome);
