#include "mdlCatalogo.h"

#include "connections/clsData.h"
#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlServidores.h"
#include "platform/clsPrompt.h"
#include "platform/clsRecordset.h"
#include "platform/clsServidoresRegistrados.h"
#include "platform/clsSettings.h"
#include "platform/mdlCitacao.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlEnderecos.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlLinhas.h"
#include "platform/mdlProcessos.h"
#include "platform/mdlProgramas.h"
#include "platform/mdlSenhasGuardadas.h"
#include "schema/mdlTipoDado.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QThread>

namespace {

const QString AutoLogin = QStringLiteral("AutoLogin");
const QString SemSenha = QStringLiteral("*-*-*-*");

QString Texto(const RecordsetPtr& rs, const char* campo) { return rs->Valor(QString::fromUtf8(campo)).toString(); }
qint64 Numero(const RecordsetPtr& rs, const char* campo) { return rs->Valor(QString::fromUtf8(campo)).toLongLong(); }

// Forgets the credentials of a node whose connection failed, so the next attempt asks again.
// A connection that failed forgets the login, so the next attempt asks again. A custom source's
// tag is its only connection string: it stays, so a source that was down (a refresh while the
// server restarted) connects again once it is back.
void EsquecerCredenciais(clsArvore& arvore, clsNo* no)
{
    if (no->Image() == img::Customizada)
        return;
    arvore.DefinirTag(no, {});
    arvore.Dados().Gravar(no->Key(), CampoNo::Usuario, {});
    arvore.Dados().Gravar(no->Key(), CampoNo::Senha, {});
}

void LembrarUsuario(clsArvore& arvore, clsNo* no)
{
    settings::SaveSetting(AutoLogin,
                          QStringLiteral("SqlUser:") + NomeLogin(no),
                          arvore.Dados().Ler(no->Key(), CampoNo::Usuario));
    // The connection worked: a password an earlier version left scrambled in the settings (the
    // login's, or a custom source's connection string) moves into the keyring.
    senhas::Migrar(AutoLogin, QStringLiteral("SqlPass:") + NomeLogin(no));
    if (no->Image() == img::SqlServer || no->Image() == img::SqlServerConectado)
        servidoresregistrados::MigrarSenha(no->Text());
    if (no->Image() == img::Customizada)
        if (const int slot = LocalizarServidor(arvore, no))
            senhas::Migrar(QStringLiteral("Servidores"), QStringLiteral("ConnStr") + SlotServidor(slot));
}

clsNo* Pasta(clsArvore& arvore,
             clsNo* pai,
             const char* texto,
             const char* sufixo,
             int imagem,
             const QString& tag,
             int imagemPlaceholder = 0)
{
    const QString chave = pai->Key() + QString::fromUtf8(sufixo);
    clsNo* pasta = IncluirNode(arvore, QString::fromUtf8(texto), chave, pai->Key(), imagem, tag);
    if (pasta && imagemPlaceholder)
        IncluirNode(arvore, QStringLiteral("<temp>"), chave + QStringLiteral("<temp>"), chave, imagemPlaceholder, tag);
    return pasta;
}

// Opens a node's connection on a worker thread, so that a server slow to answer leaves the tree
// live for the whole time-out; `naLinha` runs on the worker after a successful open (a first read).
// `depois` runs on the GUI thread, in the tree's context, with the data object; a failure's error
// has been shown by then. A node already connecting is not connected twice (a second double-click
// meanwhile does nothing). A web service that refuses the access key makes the user asked for one
// between two tries, on the GUI thread; giving none fails the opening.
enum class Abertura { Aberta, Falhou, JaConectando };

QSet<QString>& Conectando()
{
    static QSet<QString> chaves;
    return chaves;
}

struct ChaveDada {
    QString chave;
    bool lembrar = false;
};

void AbrirSemCongelar(clsArvore& arvore,
                      const QString& chaveNo,
                      const QString& connStr,
                      std::function<void(clsData&)> naLinha,
                      std::function<void(Abertura, clsData&)> depois,
                      const ChaveDada& dada = {})
{
    auto dados = std::make_shared<clsData>(arvore.Ambiente());
    if (Conectando().contains(chaveNo))
        return depois(Abertura::JaConectando, *dados);
    Conectando().insert(chaveNo);
    dados->DefinirChaveWebService(dada.chave, dada.lembrar);
    auto ok = std::make_shared<bool>(false);
    const auto abrir = [dados, connStr, ok, naLinha] {
        *ok = dados->OpenConnection(connStr, true, false);
        if (*ok && naLinha)
            naLinha(*dados);
    };
    linhas::Iniciar(abrir, &arvore, [&arvore, dados, ok, chaveNo, connStr, naLinha, depois = std::move(depois)] {
        Conectando().remove(chaveNo);
        ChaveDada outra;
        if (!*ok && dados->ChaveWebRecusada()
            && clsData::PedirChaveWebService(arvore.Ambiente(), outra.chave, outra.lembrar))
            return AbrirSemCongelar(arvore, chaveNo, connStr, naLinha, depois, outra);
        if (!*ok)
            dados->MostrarErro();
        depois(*ok ? Abertura::Aberta : Abertura::Falhou, *dados);
        dados->CloseConnection();
    });
}

void Responder(const AoConectar& pronto, bool conectado)
{
    if (pronto)
        pronto(conectado);
}

// Runs a loader with the data object given, or with one of its own opened on the folder's tag.
bool ComDados(clsArvore& arvore, clsNo* pasta, clsData* dados, const std::function<bool(clsData&)>& carregar)
{
    if (dados)
        return carregar(*dados);
    clsData proprio(arvore.Ambiente());
    if (!proprio.OpenConnection(pasta->Tag()))
        return false;
    const bool ok = carregar(proprio);
    proprio.CloseConnection();
    return ok;
}

} // namespace

QString TextoObjeto(const QString& esquema, const QString& nome, const QString& padrao, bool gemeo)
{
    if (!gemeo || esquema.isEmpty() || esquema == padrao)
        return nome;
    return esquema + u'.' + nome;
}

ObjetoBanco ObjetoDoNo(const clsNo* no)
{
    if (!no)
        return {};
    ObjetoBanco o(no->Esquema(), no->Nome());
    o.connStr = no->Tag();
    // A trigger belongs to its table's schema.
    if (no->Image() == img::Trigger)
        o.esquema = TabelaDoNo(no).esquema;
    return o;
}

QString NomeExibido(const clsNo* no)
{
    const ObjetoBanco o = ObjetoDoNo(no);
    const clsNo* pasta = no ? no->Parent() : nullptr;
    if (o.esquema.isEmpty() || (pasta && pasta->Esquema() == o.esquema))
        return o.nome;
    return o.Exibicao();
}

ObjetoBanco TabelaDoNo(const clsNo* no)
{
    const clsNo* tabela = no;
    switch (no ? no->Image() : 0) {
    case img::Tabela:
    case img::TabelaSistema: break;
    case img::PastaColunas:
    case img::PastaIndices:
    case img::PastaTriggers: tabela = no->Parent(); break;
    case img::Indice:
    case img::Trigger:
    case img::Coluna:
    case img::ColunaChave:
    case img::ColunaNaoNula: tabela = no->Parent() ? no->Parent()->Parent() : nullptr; break;
    default: tabela = nullptr; break;
    }
    if (!tabela)
        return {};
    ObjetoBanco o(tabela->Esquema(), tabela->Nome());
    // The folders under a table carry no connection string of their own (Columns, Indexes).
    o.connStr = tabela->Tag();
    return o;
}

QString NomeQualificado(const QString& esquema, const QString& nome)
{
    if (esquema.isEmpty() || esquema.toLower() == u"dbo")
        return nome;
    return esquema.toLower() + u'.' + nome;
}

QString ObterConnStrNode(clsArvore& arvore, clsNo* no)
{
    const QString chave = no->Key();
    const bool integrado = arvore.Dados().Ler(chave, CampoNo::Integrado) == u"1";
    QString usuario = arvore.Dados().Ler(chave, CampoNo::Usuario);
    QString senha = arvore.Dados().Ler(chave, CampoNo::Senha);
    if (usuario.isEmpty() && senha.isEmpty() && !integrado) {
        const QString login = NomeLogin(no);
        const QString padrao = no->Image() == img::SqlServer ? QStringLiteral("sa") : QStringLiteral("Admin");
        usuario = settings::GetSetting(AutoLogin, QStringLiteral("SqlUser:") + login, padrao);
        senha = senhas::Ler(AutoLogin, QStringLiteral("SqlPass:") + login, SemSenha);
        if (senha != SemSenha) {
            arvore.Dados().Gravar(chave, CampoNo::Usuario, usuario);
            arvore.Dados().Gravar(chave, CampoNo::Senha, senha);
        } else {
            senha.clear();
            bool lembrar = false;
            if (arvore.Ambiente().Prompt().PedirUsuarioSenha(usuario, senha, lembrar)) {
                arvore.Dados().Gravar(chave, CampoNo::Usuario, usuario);
                arvore.Dados().Gravar(chave, CampoNo::Senha, senha);
                if (lembrar)
                    senhas::Gravar(AutoLogin, QStringLiteral("SqlPass:") + login, senha);
            } else {
                usuario.clear();
                senha.clear();
            }
        }
    }
    QString connStr;
    if (!usuario.isEmpty() || !senha.isEmpty() || integrado) {
        if (no->Image() == img::Access)
            connStr = MontarConnStrAccess(arvore.Dados().Ler(chave, CampoNo::Caminho), usuario, senha);
        else {
            const bool banco = no->Image() == img::Banco;
            const QString servidor = banco && no->Parent() ? no->Parent()->Text() : no->Text();
            connStr
                = MontarConnStrSql(servidor, banco ? no->Text() : QStringLiteral("Master"), usuario, senha, integrado);
        }
    }
    arvore.DefinirTag(no, connStr);
    return connStr;
}

namespace {

// What the checker left in the settings for `provider`: true when the provider opened.
bool ProvedorVerificado(const QString& provider)
{
    return settings::GetSetting(QStringLiteral("VerificaDlls"), provider) == u"4";
}

void AvisarProvedorFaltando(clsAmbienteDados& ambiente, const QString& provider)
{
    QString texto = QStringLiteral("O provedor '") + provider
                    + QStringLiteral("' parece não estar corretamente instalado em seu computador. ");
    if (provider.startsWith(QStringLiteral("MICROSOFT.JET"), Qt::CaseInsensitive)
        || provider.startsWith(QStringLiteral("SQLOLEDB"), Qt::CaseInsensitive))
        texto += QStringLiteral("É provavel que o Mdac não esteja instalado ou esteja desatualizado.");
    texto
        += QStringLiteral(
               "Na seção de DOWNLOADS do nosso site voce encontrará links para os principais providers, poderá fazer o "
               "download, instalá-los e, após isso, tentar acessar essa base novamente.")
           + u'\r' + QStringLiteral("Clique no botão para acessar o nosso browser.");
    ambiente.Prompt().MsgBox(texto, vb::Critical, QStringLiteral("Erro no '") + provider + u'\'');
    ambiente.Prompt().AbrirNavegador(enderecos::PaginaDownloads());
}

} // namespace

void ConfirmarAcesso(clsAmbienteDados& ambiente,
                     const QString& provider,
                     const QString& connStr,
                     QObject* contexto,
                     std::function<void(bool)> pronto)
{
    if (ambiente.Opcoes().VerificarDllsNaConexao)
        settings::DeleteSetting(QStringLiteral("VerificaDlls"), provider);
    if (ProvedorVerificado(provider))
        return pronto(true);
    const QString verificador = CaminhoCompanheiro(Companheiro::VerificadorProvedor);
    if (!QFileInfo(verificador).isExecutable()) {
        const QString pergunta
            = QStringLiteral("Programa Verificador de Dlls está faltando, seria ideal instalar novamente o sistema.")
              + u'\r' + QStringLiteral("Deseja Prosseguir com a execução assim mesmo ?");
        return pronto(ambiente.Prompt().MsgBox(pergunta, vb::YesNo | vb::Question, globais::TituloAplicativo())
                      == vb::Yes);
    }
    if (provider == u"WebService")
        return pronto(true);
    // The argument holds the password: it goes through the checker's standard input ("-"), never
    // on a command line that any local user can read.
    const QString argumento = u'#' + globais::TituloAplicativo() + u'#' + provider + u'#' + connStr + u'#';
    processos::Executar(verificador,
                        {QStringLiteral("-")},
                        argumento.toUtf8(),
                        contexto,
                        [&ambiente, provider, pronto = std::move(pronto)](bool, const QString&) {
                            const bool ok = ProvedorVerificado(provider);
                            if (!ok)
                                AvisarProvedorFaltando(ambiente, provider);
                            pronto(ok);
                        });
}

namespace {

// After the connection opened: the provider's check, then the rest of the connecting in `seguir`,
// whose answer (the node connected) goes to `pronto`. The tree may have changed meanwhile: a node
// gone by then is not connected.
void ConfirmarESeguir(clsArvore& arvore,
                      const QString& chave,
                      const QString& provider,
                      const QString& connStr,
                      std::function<bool(clsNo*)> seguir,
                      AoConectar pronto)
{
    ConfirmarAcesso(arvore.Ambiente(),
                    provider,
                    connStr,
                    &arvore,
                    [&arvore, chave, seguir = std::move(seguir), pronto = std::move(pronto)](bool ok) {
                        clsNo* no = arvore.No(chave);
                        Responder(pronto, ok && no && seguir(no));
                    });
}

} // namespace

void ConectarServidor(clsArvore& arvore, clsNo* no, AoConectar pronto, bool esquecerAoFalhar)
{
    if (no->Tag().isEmpty() && ObterConnStrNode(arvore, no).isEmpty())
        return Responder(pronto, false);
    const QString chave = no->Key();
    const QString connStr = no->Tag();
    auto bancos = std::make_shared<QStringList>();
    // The databases are read on the worker too, right after the connection opened.
    const auto lerBancos = [bancos](clsData& dados) {
        RecordsetPtr rs;
        if (!dados
                 .OpenRecordset(rs, QStringLiteral("SELECT Name FROM sysDataBases ORDER BY Name"), false, false, false))
            return;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            bancos->append(Texto(rs, "Name"));
    };
    AbrirSemCongelar(
        arvore,
        chave,
        connStr,
        lerBancos,
        [&arvore, chave, connStr, bancos, esquecerAoFalhar, pronto](Abertura abertura, clsData& dados) mutable {
            clsNo* no = arvore.No(chave);
            if (!no || abertura == Abertura::JaConectando)
                return Responder(pronto, false);
            if (abertura == Abertura::Falhou) {
                if (esquecerAoFalhar) {
                    EsquecerCredenciais(arvore, no);
                    const QString chaveSenha = QStringLiteral("SqlPass:") + no->Text();
                    if (!settings::GetSetting(AutoLogin, chaveSenha).isEmpty())
                        senhas::Apagar(AutoLogin, chaveSenha);
                }
                return Responder(pronto, false);
            }
            LembrarUsuario(arvore, no);
            if (bancos->isEmpty() && dados.Erro().numero != 0)
                dados.MostrarErro();
            ConfirmarESeguir(
                arvore,
                chave,
                dados.Provider(),
                connStr,
                [&arvore, bancos](clsNo* no) {
                    Pasta(arvore, no, "Manutenções", "man", img::Manutencoes, no->Tag(), img::Manutencoes);
                    if (bancos->isEmpty())
                        return false;
                    for (const QString& banco : std::as_const(*bancos))
                        IncluirNoBanco(arvore, no, banco);
                    arvore.Expandir(no);
                    arvore.DefinirImagem(no, img::SqlServerConectado);
                    return true;
                },
                std::move(pronto));
        });
}

namespace {

// The folders of a connected database, file or source, and its connected image.
bool IncluirPastasBanco(clsArvore& arvore, clsNo* no, const QString& connStr, int tipo, Dialeto dialeto)
{
    Pasta(arvore, no, "SQL Editor", "Edi", img::SqlEditor, connStr);
    Pasta(arvore, no, "Tables", "tab", img::PastaTabelas, connStr, img::Tabela);
    Pasta(arvore, no, "Views", "con", img::PastaViews, connStr, img::View);
    if (tipo == tipoconexao::OleDb || tipo == tipoconexao::WebSql) {
        Pasta(arvore, no, "Procedures", "stp", img::PastaProcedures, connStr, img::Procedure);
        Pasta(arvore, no, "Functions", "fun", img::Funcao, connStr, img::Funcao);
    }
    // Users are SQL Server's and PostgreSQL's (for their permissions): other sources get no Users
    // folder.
    if (tipo == tipoconexao::OleDb
        && ((dialeto == Dialeto::SqlServer && SqlDmoDisponivel()) || dialeto == Dialeto::PostgreSql))
        Pasta(arvore, no, "Users", "usu", img::Usuarios, connStr);
    switch (no->Image()) {
    case img::Access:
        arvore.DefinirImagem(no, img::AccessConectado);
        arvore.DefinirTag(no, connStr);
        break;
    case img::WebService: arvore.DefinirImagem(no, img::WebServiceConectado); break;
    case img::Banco:
        arvore.DefinirImagem(no, img::BancoConectado);
        arvore.DefinirTag(no, connStr);
        break;
    default: break;
    }
    return true;
}

// The connection string of a database, file or source node (asking for credentials when needed);
// empty when there is none or the user cancels. `descricao` gets what the node's details show.
QString ConnStrBanco(clsArvore& arvore, clsNo* no)
{
    QString connStr;
    QString descricao;
    switch (no->Image()) {
    case img::Banco:
        descricao = QStringLiteral("Servidor: ") + (no->Parent() ? no->Parent()->Text() : QString())
                    + QStringLiteral(" - Banco de dados: ") + no->Text();
        connStr = no->Tag().isEmpty() ? ObterConnStrNode(arvore, no) : no->Tag();
        break;
    case img::WebService: connStr = descricao = arvore.Dados().Ler(no->Key(), CampoNo::Endereco); break;
    case img::Access: {
        descricao = arvore.Dados().Ler(no->Key(), CampoNo::Caminho);
        if (!QFileInfo::exists(descricao)) {
            // A mapped file that is gone: say so instead of creating an empty one in its place.
            arvore.Ambiente().Prompt().MsgBox(QStringLiteral("O arquivo do banco de dados não foi encontrado:") + u'\n'
                                                  + descricao,
                                              vb::Critical,
                                              globais::TituloAplicativo());
            return {};
        }
        connStr = no->Tag().isEmpty() ? ObterConnStrNode(arvore, no) : no->Tag();
        break;
    }
    default: connStr = no->Tag(); break;
    }
    if (!descricao.isEmpty())
        arvore.Dados().Gravar(no->Key(), CampoNo::Descricao, descricao);
    return connStr;
}

} // namespace

void ConectarBancoDados(clsArvore& arvore, clsNo* no, AoConectar pronto, bool esquecerAoFalhar)
{
    const QString connStr = ConnStrBanco(arvore, no);
    if (connStr.isEmpty())
        return Responder(pronto, false);
    const QString chave = no->Key();
    AbrirSemCongelar(arvore,
                     chave,
                     connStr,
                     {},
                     [&arvore, chave, connStr, esquecerAoFalhar, pronto](Abertura abertura, clsData& dados) {
                         clsNo* no = arvore.No(chave);
                         if (!no || abertura == Abertura::JaConectando)
                             return Responder(pronto, false);
                         if (abertura == Abertura::Falhou) {
                             if (esquecerAoFalhar)
                                 EsquecerCredenciais(arvore, no);
                             return Responder(pronto, false);
                         }
                         LembrarUsuario(arvore, no);
                         const int tipo = dados.ConnectionType();
                         const Dialeto dialeto
                             = dados.ActiveConnection() ? dados.ActiveConnection()->DialetoSql() : Dialeto::Outro;
                         ConfirmarESeguir(
                             arvore,
                             chave,
                             dados.Provider(),
                             connStr,
                             [&arvore, connStr, tipo, dialeto](clsNo* no) {
                                 return IncluirPastasBanco(arvore, no, connStr, tipo, dialeto);
                             },
                             pronto);
                     });
}

void ExpandirNo(clsArvore& arvore, clsNo* no)
{
    clsNo* primeiro = no->Child();
    if (!primeiro || primeiro->Text() != u"<temp>")
        return;
    switch (no->Image()) {
    case img::Manutencoes: CarregarManutencoes(arvore, no); break;
    case img::PastaTabelas: CarregarTabelas(arvore, no); break;
    case img::PastaViews: CarregarViews(arvore, no); break;
    case img::PastaProcedures: CarregarProcedures(arvore, no); break;
    case img::Funcao: CarregarFuncoes(arvore, no); break;
    default: break;
    }
}

void CancelarCarga(clsArvore& arvore, clsNo* no)
{
    clsNo* marcador = no ? no->Child() : nullptr;
    if (marcador && marcador->Text() == TextoCarregando)
        arvore.DefinirTexto(marcador, QStringLiteral("<temp>"));
}

void CarregarManutencoes(clsArvore& arvore, clsNo* no)
{
    clsAmpulheta ampulheta(arvore.Ambiente().Prompt());
    arvore.RemoverFilhos(no);
    const QString tag = no->Tag();
    if (SqlDmoDisponivel()) {
        Pasta(arvore, no, "Backup", "bac", img::Backup, tag);
        // The Agent and its jobs when the server lets them be read; otherwise they are left out.
        if (std::unique_ptr<clsSqlDmoSessao> sessao = AbrirSqlDmo(arvore.Ambiente(), tag, false)) {
            int status = 0;
            if (sessao->StatusAgent(status))
                if (clsNo* agent
                    = Pasta(arvore, no, "Agent", "Age", status == 1 ? img::AgentRodando : img::AgentParado, tag))
                    if (clsNo* jobs = Pasta(arvore, agent, "Jobs", "Job", img::PastaJobs, tag))
                        CarregarJobs(arvore, *sessao, jobs);
            sessao->DisConnect();
        }
        Pasta(arvore, no, "Logins", "log", img::Logins, tag);
    }
    Pasta(arvore, no, "Importar e Exportar", "imp", img::ImportarExportar, tag);
}

void CarregarJobs(clsArvore& arvore, clsSqlDmoSessao& sessao, clsNo* pastaJobs)
{
    QList<JobAgent> jobs;
    if (!sessao.Jobs(jobs))
        return;
    for (const JobAgent& job : jobs) {
        const QString chave = pastaJobs->Key() + job.id;
        if (!IncluirNode(arvore, job.nome, chave, pastaJobs->Key(), img::Job, job.id))
            continue;
        for (const PassoJob& passo : job.passos)
            IncluirNode(arvore,
                        passo.nome,
                        chave + QStringLiteral("Ste") + QString::number(passo.numero),
                        chave,
                        img::JobStep,
                        QString::number(passo.numero));
        for (const AgendaJob& agenda : job.agendas)
            IncluirNode(arvore,
                        agenda.nome,
                        chave + QStringLiteral("Sch") + agenda.id,
                        chave,
                        img::JobSchedule,
                        agenda.id);
    }
}

namespace {

// How one kind of catalog object fills its folder.
struct ObjetosCatalogo {
    int schema;
    QString tipoTabela; // the table-type restriction
    bool ocultar; // the hide-system-objects argument
    const char* campoNome;
    const char* campoEsquema; // null: the rowset has no schema column
    const char* campoTipo; // null: the rowset tells no system objects apart
    const char* tipoSistema; // the type value of system objects
    int imagemSistema;
    int imagem;
    bool cortarGrupo = false; // procedures carry their group number (";1") after the name
    bool esquemaNaChave = true; // functions are keyed by their bare name
};

// One object of a folder as the catalog listed it.
struct ObjetoLido {
    QString nome;
    QString esquema;
    bool sistema = false;
};

// `padrao` receives the session's default schema, which a twin's caption leaves out.
bool LerObjetos(clsData& d, const ObjetosCatalogo& o, QList<ObjetoLido>& lidos, bool mostrarErro, QString& padrao)
{
    if (o.campoEsquema && d.ActiveConnection())
        padrao = d.ActiveConnection()->EsquemaPadrao();
    RecordsetPtr rs;
    if (!d.OpenSchema(o.schema, rs, {.tipo = o.tipoTabela, .ocultarSistema = o.ocultar}, mostrarErro)
        || rs->RecordCount() <= 0)
        return false;
    // Not every source's list tells the schema (SQL Server's functions do not).
    const bool comEsquema = o.campoEsquema && rs->IndiceCampo(QString::fromUtf8(o.campoEsquema)) >= 0;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        const QString nome = o.cortarGrupo ? Texto(rs, o.campoNome).section(u';', 0, 0) : Texto(rs, o.campoNome);
        lidos.append({nome,
                      comEsquema ? Texto(rs, o.campoEsquema) : QString(),
                      o.campoTipo && Texto(rs, o.campoTipo) == QString::fromUtf8(o.tipoSistema)});
    }
    return true;
}

void IncluirObjetos(clsArvore& arvore,
                    clsNo* pasta,
                    const ObjetosCatalogo& o,
                    const QList<ObjetoLido>& lidos,
                    const QString& padrao)
{
    arvore.RemoverFilhos(pasta);
    arvore.DefinirObjeto(pasta, padrao, {});
    QHash<QString, int> vezes;
    for (const ObjetoLido& l : lidos)
        ++vezes[l.nome];
    for (const ObjetoLido& l : lidos) {
        clsNo* no = IncluirNode(arvore,
                                TextoObjeto(l.esquema, l.nome, padrao, vezes.value(l.nome) > 1),
                                pasta->Key() + (o.esquemaNaChave ? NomeQualificado(l.esquema, l.nome) : l.nome),
                                pasta->Key(),
                                l.sistema ? o.imagemSistema : o.imagem,
                                pasta->Tag());
        if (no)
            arvore.DefinirObjeto(no, l.esquema, l.nome);
    }
}

// The folder's objects read on a worker thread while the tree stays live, under a "Carregando…"
// child; the tree takes them when the worker is done (nothing waits for it). Collapsing the folder
// (or refreshing it) meanwhile drops what is read; a second expand finds no placeholder and does
// nothing. False: nothing is loaded yet.
bool CarregarObjetosAoExpandir(clsArvore& arvore, clsNo* pasta, const ObjetosCatalogo& o)
{
    clsNo* marcador = pasta->Child();
    const QString chave = pasta->Key(), chaveMarcador = marcador->Key(), tag = pasta->Tag();
    arvore.DefinirTexto(marcador, TextoCarregando);
    auto d = std::make_shared<clsData>(arvore.Ambiente());
    auto lidos = std::make_shared<QList<ObjetoLido>>();
    auto ok = std::make_shared<bool>(false);
    auto padrao = std::make_shared<QString>();
    const auto ler = [d, o, tag, lidos, ok, padrao] {
        *ok = d->OpenConnection(tag, true, false) && LerObjetos(*d, o, *lidos, false, *padrao);
        d->CloseConnection();
    };
    linhas::Iniciar(ler, &arvore, [&arvore, chave, chaveMarcador, o, d, lidos, ok, padrao] {
        // The folder may be gone, collapsed or refreshed by now.
        clsNo* atual = arvore.No(chave);
        clsNo* ainda = arvore.No(chaveMarcador);
        if (!atual || !ainda || ainda->Parent() != atual || ainda->Text() != TextoCarregando)
            return;
        if (!*ok) {
            arvore.DefinirTexto(ainda, QStringLiteral("<temp>"));
            // A folder the catalog finds empty is no error: it is left empty, as before.
            if (d->Erro().numero != 0)
                d->MostrarErro();
            else
                arvore.RemoverFilhos(atual);
            return;
        }
        IncluirObjetos(arvore, atual, o, *lidos, *padrao);
    });
    return false;
}

bool CarregarObjetos(clsArvore& arvore, clsNo* pasta, clsData* dados, const ObjetosCatalogo& o)
{
    clsNo* primeiro = pasta->Child();
    if (!dados && primeiro && primeiro->Text() == u"<temp>")
        return CarregarObjetosAoExpandir(arvore, pasta, o);
    clsAmpulheta ampulheta(arvore.Ambiente().Prompt());
    return ComDados(arvore, pasta, dados, [&](clsData& d) {
        arvore.RemoverFilhos(pasta);
        QList<ObjetoLido> lidos;
        QString padrao;
        if (!LerObjetos(d, o, lidos, true, padrao))
            return false;
        IncluirObjetos(arvore, pasta, o, lidos, padrao);
        return true;
    });
}

} // namespace

bool CarregarTabelas(clsArvore& arvore, clsNo* pasta, clsData* dados)
{
    if (pasta->Image() != img::PastaTabelas)
        return false;
    const QString tipo = arvore.Ambiente().Opcoes().OcultarObjetosSistema ? QStringLiteral("TABLE") : QString();
    return CarregarObjetos(arvore,
                           pasta,
                           dados,
                           {tiposchema::Tabelas,
                            tipo,
                            true,
                            "TABLE_NAME",
                            "TABLE_SCHEMA",
                            "TABLE_TYPE",
                            "SYSTEM TABLE",
                            img::TabelaSistema,
                            img::Tabela});
}

bool CarregarViews(clsArvore& arvore, clsNo* pasta, clsData* dados)
{
    return CarregarObjetos(arvore,
                           pasta,
                           dados,
                           {tiposchema::Views,
                            {},
                            arvore.Ambiente().Opcoes().OcultarObjetosSistema,
                            "TABLE_NAME",
                            "TABLE_SCHEMA",
                            "TABLE_TYPE",
                            "SYSTEM",
                            img::ViewSistema,
                            img::View});
}

bool CarregarProcedures(clsArvore& arvore, clsNo* pasta, clsData* dados)
{
    return CarregarObjetos(arvore,
                           pasta,
                           dados,
                           {tiposchema::Procedures,
                            {},
                            arvore.Ambiente().Opcoes().OcultarObjetosSistema,
                            "PROCEDURE_NAME",
                            "PROCEDURE_SCHEMA",
                            "PROCEDURE_TYPE",
                            "SYSTEM",
                            img::ProcedureSistema,
                            img::Procedure,
                            true});
}

bool CarregarFuncoes(clsArvore& arvore, clsNo* pasta, clsData* dados)
{
    return CarregarObjetos(arvore,
                           pasta,
                           dados,
                           {tiposchema::Funcoes,
                            {},
                            false,
                            "FUNCTION_NAME",
                            "FUNCTION_SCHEMA",
                            nullptr,
                            "",
                            img::Funcao,
                            img::Funcao,
                            false,
                            false});
}

namespace {

// A table's columns, indexes and triggers as read from its catalog, for the tree to show.
struct DetalhesLidos {
    struct Coluna {
        QString texto;
        QString semBrancos;
        int imagem = 0;
    };
    QList<Coluna> colunas;
    QStringList indices;
    bool comTriggers = false;
    QStringList triggers;
};

// On a worker: the details of `objeto` (columns, indexes and triggers of this table only, in its
// own schema) through a data object opened on the table's connection.
bool LerDetalhes(clsData& dados, const ObjetoBanco& objeto, DetalhesLidos& d)
{
    if (!dados.OpenConnection(objeto.connStr, true, false))
        return false;
    const clsData::FiltroSchema filtro{.tabela = objeto.nome, .ocultarSistema = true, .esquema = objeto.esquema};
    RecordsetPtr colunas;
    if (dados.OpenSchema(tiposchema::Colunas, colunas, filtro, false) && colunas->RecordCount() > 0) {
        colunas->setSort(QStringLiteral("ORDINAL_POSITION"));
        RecordsetPtr chaves;
        dados.OpenSchema(tiposchema::ChavesPrimarias, chaves, filtro, false);
        QSet<QString> nomesChave;
        if (chaves && chaves->State() == ado::adStateOpen)
            for (chaves->MoveFirst(); !chaves->Eof(); chaves->MoveNext())
                nomesChave.insert(Texto(chaves, "COLUMN_NAME"));
        for (colunas->MoveFirst(); !colunas->Eof(); colunas->MoveNext()) {
            const QString nome = Texto(colunas, "COLUMN_NAME");
            qint32 tamanho = qint32(Numero(colunas, "CHARACTER_MAXIMUM_LENGTH"));
            const QString tipo = tipodado::ObterTipoDado(int(Numero(colunas, "DATA_TYPE")),
                                                         tamanho,
                                                         true,
                                                         int(Numero(colunas, "NUMERIC_PRECISION")),
                                                         int(Numero(colunas, "NUMERIC_SCALE")),
                                                         int(Numero(colunas, "DATETIME_PRECISION")),
                                                         int(Numero(colunas, "COLUMN_FLAGS")));
            const bool anulavel = colunas->Valor(QStringLiteral("IS_NULLABLE")).toBool();
            DetalhesLidos::Coluna c;
            c.imagem = nomesChave.contains(nome) ? img::ColunaChave : anulavel ? img::Coluna : img::ColunaNaoNula;
            c.texto = nome + QStringLiteral(" - ") + tipo + QStringLiteral(" - ")
                      + (anulavel ? QString() : QStringLiteral("Not ")) + QStringLiteral("Null");
            c.semBrancos = nome;
            c.semBrancos.remove(u' ');
            d.colunas << c;
        }
    }
    RecordsetPtr indices;
    if (dados.OpenSchema(tiposchema::Indices, indices, filtro, false) && indices->RecordCount() > 0) {
        QString anterior;
        for (indices->MoveFirst(); !indices->Eof(); indices->MoveNext()) {
            const QString nome = Texto(indices, "INDEX_NAME");
            if (indices->Valor(QStringLiteral("PRIMARY_KEY")).toBool() || nome == anterior)
                continue;
            d.indices << nome;
            anterior = nome;
        }
    }
    // Every engine that has triggers: servers and custom sources, and SQLite files.
    const bool sqlite = dados.ActiveConnection() && dados.ActiveConnection()->DialetoSql() == Dialeto::Sqlite;
    d.comTriggers
        = dados.ConnectionType() == tipoconexao::OleDb || dados.ConnectionType() == tipoconexao::WebSql || sqlite;
    RecordsetPtr triggers;
    if (d.comTriggers && dados.OpenSchema(tiposchema::Triggers, triggers, filtro, false) && triggers->RecordCount() > 0)
        for (triggers->MoveFirst(); !triggers->Eof(); triggers->MoveNext())
            d.triggers << Texto(triggers, "TRIGGER_NAME");
    dados.CloseConnection();
    return true;
}

// A folder of the table's details with one child per name.
void PastaDeNomes(clsArvore& arvore,
                  clsNo* tabela,
                  const char* texto,
                  const char* sufixo,
                  int imagemPasta,
                  int imagem,
                  const QStringList& nomes)
{
    Pasta(arvore, tabela, texto, sufixo, imagemPasta, tabela->Tag());
    const QString pai = tabela->Key() + QLatin1String(sufixo);
    for (const QString& nome : nomes)
        IncluirNode(arvore, nome, pai + nome, pai, imagem, tabela->Tag());
}

void IncluirDetalhes(clsArvore& arvore, clsNo* tabela, const DetalhesLidos& d)
{
    const QString colunas = tabela->Key() + QStringLiteral("Cmp");
    Pasta(arvore, tabela, "Columns", "Cmp", img::PastaColunas, {});
    for (const DetalhesLidos::Coluna& c : d.colunas)
        IncluirNode(arvore, c.texto, colunas + c.semBrancos, colunas, c.imagem);
    PastaDeNomes(arvore, tabela, "Indexes", "Idx", img::PastaIndices, img::Indice, d.indices);
    if (d.comTriggers)
        PastaDeNomes(arvore, tabela, "Triggers", "Trg", img::PastaTriggers, img::Trigger, d.triggers);
}

} // namespace

// The details are read on a worker thread under a TextoCarregando child; the tree takes them when
// the worker is done, unless the table was refreshed or removed meanwhile (a second request's
// reading replaces the first's).
void CarregarDetalhesTabela(clsArvore& arvore, clsNo* tabela, const QList<JanelaAberta>& janelas)
{
    if (clsNo* primeiro = tabela->Child())
        DesconectarNode(arvore, primeiro, 0, true, janelas);
    const QString chave = tabela->Key();
    const QString chaveMarcador = chave + QStringLiteral("<temp>");
    IncluirNode(arvore, TextoCarregando, chaveMarcador, chave, img::PastaColunas, tabela->Tag());
    ObjetoBanco objeto = TabelaDoNo(tabela);
    objeto.connStr = tabela->Tag();
    auto d = std::make_shared<clsData>(arvore.Ambiente());
    auto lidos = std::make_shared<DetalhesLidos>();
    auto ok = std::make_shared<bool>(false);
    const auto ler = [d, objeto, lidos, ok] { *ok = LerDetalhes(*d, objeto, *lidos); };
    linhas::Iniciar(ler, &arvore, [&arvore, chave, chaveMarcador, d, lidos, ok] {
        clsNo* atual = arvore.No(chave);
        clsNo* marcador = arvore.No(chaveMarcador);
        if (!atual || !marcador || marcador->Parent() != atual)
            return;
        arvore.RemoverFilhos(atual);
        if (!*ok) {
            d->MostrarErro();
            return;
        }
        IncluirDetalhes(arvore, atual, *lidos);
    });
}

bool AtualizarNode(clsArvore& arvore, clsNo* no, AoConectar pronto)
{
    int imagem = 0;
    switch (no->Image()) {
    case img::AccessConectado: imagem = img::Access; break;
    case img::BancoConectado: imagem = img::Banco; break;
    case img::Customizada: imagem = img::Customizada; break;
    case img::SqlServerConectado: imagem = img::SqlServer; break;
    default: return false;
    }
    // The connection that worked is used again, and kept when the server does not answer now.
    const QString tag = no->Tag();
    const QString usuario = arvore.Dados().Ler(no->Key(), CampoNo::Usuario);
    const QString senha = arvore.Dados().Ler(no->Key(), CampoNo::Senha);
    if (!DesconectarNode(arvore, no, imagem, false, {}))
        return false;
    arvore.DefinirTag(no, tag);
    arvore.Dados().Gravar(no->Key(), CampoNo::Usuario, usuario);
    arvore.Dados().Gravar(no->Key(), CampoNo::Senha, senha);
    const QString chave = no->Key();
    AoConectar depois = [&arvore, chave, pronto = std::move(pronto)](bool conectado) {
        clsNo* no = arvore.No(chave);
        if (no && conectado) {
            arvore.Expandir(no);
            arvore.Selecionar(no);
        }
        Responder(pronto, no && conectado);
    };
    if (no->Image() == img::SqlServer)
        ConectarServidor(arvore, no, std::move(depois), false);
    else
        ConectarBancoDados(arvore, no, std::move(depois), false);
    return true;
}

void MapearConexaoCustomizada(clsArvore& arvore, const QString& connStr, AoConectar pronto)
{
    if (connStr.isEmpty())
        return Responder(pronto, false);
    AbrirSemCongelar(
        arvore,
        QStringLiteral("\n") + connStr,
        connStr,
        {},
        [&arvore, connStr, pronto](Abertura abertura, clsData& dados) {
            if (abertura != Abertura::Aberta)
                return Responder(pronto, false);
            const QString banco = dados.ActiveConnection() ? dados.ActiveConnection()->BancoPadrao() : QString();
            const QString fonte = dados.ActiveConnection() ? dados.ActiveConnection()->DataSource() : QString();
            QString identificador = QStringLiteral("db") + dados.Provider() + fonte + banco;
            for (QChar c : {u' ', u'.', u'\\', u':'})
                identificador.remove(c);
            const QString texto
                = !fonte.isEmpty() && !banco.isEmpty() ? fonte + QStringLiteral(" - ") + banco : fonte + banco;
            clsNo* no = arvore.No(identificador);
            if (no) {
                // Mapped already (the same file opened again from the command line): use that entry.
                arvore.Selecionar(no);
                if (no->Child()) {
                    arvore.Expandir(no);
                    return Responder(pronto, true);
                }
            } else {
                if (!IncluirConexaoNavegador(arvore,
                                             tiporegistro::Customizada,
                                             texto,
                                             false,
                                             {},
                                             {},
                                             connStr,
                                             identificador))
                    return Responder(pronto, false);
                GravarServidor(arvore, QStringLiteral("C"), texto, connStr, Embaralhar(identificador));
                no = arvore.No(identificador);
            }
            ConectarBancoDados(arvore, no, [&arvore, identificador, pronto](bool conectado) {
                if (clsNo* no = arvore.No(identificador))
                    arvore.Expandir(no);
                Responder(pronto, conectado);
            });
        });
}

QString SqlRenomearTabelaSqlServer(const QString& esquema, const QString& nome, const QString& novoNome)
{
    // sp_rename reads its first argument as a (schema-qualified) name, brackets and all; the new
    // name is taken as it stands.
    using namespace citacao;
    const QString antigo = esquema.isEmpty()
                               ? Citar(TipoMotor::SqlServer, nome)
                               : Citar(TipoMotor::SqlServer, esquema) + u'.' + Citar(TipoMotor::SqlServer, nome);
    return QStringLiteral("EXEC sp_rename ") + Literal(TipoMotor::SqlServer, antigo) + QStringLiteral(", ")
           + Literal(TipoMotor::SqlServer, novoNome) + QStringLiteral(", 'OBJECT'");
}

QString SqlRenomearTabela(const clsMotor& motor, const QString& esquema, const QString& nome, const QString& novoNome)
{
    if (motor.DialetoSql() == Dialeto::SqlServer)
        return SqlRenomearTabelaSqlServer(esquema, nome, novoNome);
    return QStringLiteral("ALTER TABLE ") + motor.NomeQualificado(nome, esquema, {}) + QStringLiteral(" RENAME TO ")
           + motor.CitarIdentificador(novoNome);
}

bool RenomearTabela(clsAmbienteDados& ambiente,
                    const QString& connStr,
                    const QString& esquema,
                    const QString& nome,
                    const QString& novoNome,
                    QString* erro)
{
    clsAmpulheta ampulheta(ambiente.Prompt());
    clsData dados(ambiente);
    // The description alone, without the number and the statement the data layer adds.
    auto falhar = [&] {
        *erro = dados.ErrMsg().section(u'\n', 1, 1);
        return false;
    };
    if (!dados.OpenConnection(connStr, true, false))
        return falhar();
    const bool ok = dados.ExecSql(SqlRenomearTabela(*dados.ActiveConnection(), esquema, nome, novoNome), false);
    if (!ok)
        falhar();
    dados.CloseConnection();
    return ok;
}
