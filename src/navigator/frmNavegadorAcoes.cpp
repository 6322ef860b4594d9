// The navigator's object actions: creating and deleting databases, scripts of objects into query
// windows, deleting tables and indexes, the documenter and the import/export program.
#include "frmNavegador.h"

#include "connections/clsData.h"
#include "navigator/mdlAcoesObjetos.h"
#include "navigator/mdlCatalogo.h"
#include "platform/clsProgresso.h"
#include "platform/clsPrompt.h"
#include "platform/mdlCitacao.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlProgramas.h"
#include "schema/mdlDocumentador.h"
#include "schema/mdlScript.h"
#include "shell/clsAmbiente.h"

#include <QDir>
#include <QMainWindow>
#include <QStatusBar>
#include <QUrl>

#include <memory>

namespace {
const QString Sql = QStringLiteral("SqlEditor: ");

// A script window names its object by schema and name, as the script does.
QString NomeNoScript(const clsNo* no) { return ObjetoDoNo(no).Exibicao(); }

// A question before something is deleted for good: Enter answers No.
bool ConfirmarExclusao(clsPrompt& prompt, const QString& texto)
{
    return prompt.MsgBox(texto, vb::YesNo | vb::Question | vb::DefaultButton2, globais::TituloAplicativo()) == vb::Yes;
}

// A connection string for master on `servidor`, with the login kept in the data of node `chave`.
QString MasterDoServidor(const clsArvore& arvore, const clsNo* servidor, const QString& chave)
{
    const clsDadosNodes& dados = arvore.Dados();
    return MontarConnStrSql(servidor->Text(),
                            QStringLiteral("Master"),
                            dados.Ler(chave, CampoNo::Usuario),
                            dados.Ler(chave, CampoNo::Senha),
                            dados.Ler(chave, CampoNo::Integrado) == u"1");
}
} // namespace

void frmNavegador::AbrirScript(clsNo* no, const QString& script, const QString& legenda)
{
    if (script.isEmpty()) {
        m_ambiente.Prompt().MsgBox(QStringLiteral("Não foi possível gerar o script de '%1'.").arg(no->Text()),
                                   vb::Exclamation,
                                   globais::TituloAplicativo());
        return;
    }
    AbrirConsulta(no, script, legenda, false);
}

void frmNavegador::mnuNavSerCri_Click()
{
    clsNo* servidor = m_arvore.Selecionado();
    if (!servidor)
        return;
    const QString nome = m_ambiente.Prompt().PedirNome({}).trimmed();
    if (nome.isEmpty())
        return;
    if (servidor->Image() == img::BancoConectado || servidor->Image() == img::Banco)
        servidor = servidor->Parent();
    if (!acoes::ExecutarNoServidor(m_ambiente,
                                   MasterDoServidor(m_arvore, servidor, servidor->Key()),
                                   acoes::SqlCriarBanco(nome)))
        return;
    IncluirNoBanco(m_arvore, servidor, nome);
}

void frmNavegador::mnuNavBanExc_Click()
{
    clsNo* banco = m_arvore.Selecionado();
    if (!banco || !banco->Parent())
        return;
    const QString nome = banco->Text();
    if (!ConfirmarExclusao(m_ambiente.Prompt(),
                           QStringLiteral("Deseja Excluir Permanentemente o Banco de Dados: '") + nome + u'\''))
        return;
    if (!acoes::ExecutarNoServidor(m_ambiente,
                                   MasterDoServidor(m_arvore, banco->Parent(), banco->Key()),
                                   acoes::SqlExcluirBanco(nome)))
        return;
    DesconectarNode(m_arvore, banco, img::Banco, true, JanelasAbertas());
    m_arvore.Remover(banco);
}

void frmNavegador::mnuNavBanScr_Click()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no)
        return;
    // The catalog is read on a worker thread under a progress window with "Parar"; the script
    // opens in a query window once it is written (a stop opens what was written until then).
    struct Resultado {
        QString texto, erro;
    };
    auto r = std::make_shared<Resultado>();
    const QString chave = no->Key(), connStr = no->Tag(), banco = no->Text();
    clsAmbienteDados& ambiente = m_ambiente;
    m_ambiente.Prompt().TrabalhoComProgresso(
        this,
        [r, &ambiente, connStr, banco](clsProgresso& progresso) {
            r->texto = script::ScriptBancoDados(ambiente, connStr, banco, &progresso, &r->erro);
        },
        [this, r, chave, banco] {
            clsNo* no = m_arvore.No(chave);
            if (!r->erro.isEmpty())
                m_ambiente.Prompt().MsgBox(r->erro, vb::Critical, globais::TituloAplicativo());
            else if (no)
                AbrirScript(no, r->texto, Sql + QStringLiteral("Script: ") + banco);
        });
}

void frmNavegador::mnuNavBanExp_Click()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no)
        return;
    // The program opens on the database itself: its own connection string.
    const QString connStr = no->Tag().isEmpty() ? ObterConnStrNode(m_arvore, no) : no->Tag();
    if (!connStr.isEmpty())
        ExecutarImportarExportar(m_ambiente.Prompt(), connStr, {}, {}, programaImpExp);
}

void frmNavegador::mnuNavTabScr_Click(int tipo)
{
    clsNo* no = m_arvore.Selecionado();
    if (!no)
        return;
    const char* legenda = "";
    switch (tipo) {
    case script::Select: legenda = "SELECT FROM "; break;
    case script::Create: legenda = "CREATE TABLE "; break;
    case script::Alter: legenda = "ALTER TABLE "; break;
    case script::Drop: legenda = "DROP TABLE "; break;
    case script::Insert: legenda = "INSERT INTO "; break;
    case script::Update: legenda = "UPDATE "; break;
    case script::Delete: legenda = "DELETE FROM "; break;
    default: return;
    }
    AbrirScript(no,
                script::ScriptTabela(m_ambiente, no->Tag(), ObjetoDoNo(no), tipo),
                Sql + QString::fromLatin1(legenda) + NomeNoScript(no));
}

namespace {
const char* Verbo(int tipo)
{
    switch (tipo) {
    case script::Create: return "CREATE ";
    case script::Alter: return "ALTER ";
    case script::Drop: return "DROP ";
    default: return nullptr;
    }
}

// The outline of a new trigger on a table, in the engine's own words: T-SQL on SQL Server, SQLite's
// form on a file, PostgreSQL's (which calls a trigger function) on a PostgreSQL source. `tabela`
// is the table's name as the engine reads it.
QString ModeloTrigger(const QString& connStr, const QString& tabela)
{
    const TipoMotor motor = citacao::MotorDaConexao(connStr);
    if (motor == TipoMotor::ArquivoJet)
        return QStringLiteral("CREATE TRIGGER NomeDaTrigger AFTER INSERT ON ") + tabela
               + QStringLiteral("\r\nFOR EACH ROW\r\nBEGIN\r\n\r\n\r\nEND");
    if (motor == TipoMotor::Odbc && connStr.contains(QStringLiteral("postgres"), Qt::CaseInsensitive))
        return QStringLiteral("CREATE TRIGGER NomeDaTrigger AFTER INSERT OR UPDATE OR DELETE ON ") + tabela
               + QStringLiteral("\r\nFOR EACH ROW EXECUTE FUNCTION NomeDaFuncao()");
    return QStringLiteral("CREATE TRIGGER NomeDaTrigger ON ") + tabela
           + QStringLiteral("\r\n FOR INSERT, UPDATE, DELETE \r\nAs\r\nBegin\r\n\r\n\r\nEnd");
}
} // namespace

void frmNavegador::mnuNavConScr_Click(int tipo)
{
    clsNo* no = m_arvore.Selecionado();
    if (!no || !Verbo(tipo))
        return;
    AbrirScript(no,
                script::ScriptView(m_ambiente, no->Tag(), ObjetoDoNo(no), tipo),
                Sql + QString::fromLatin1(Verbo(tipo)) + QStringLiteral("VIEW ") + NomeNoScript(no));
}

void frmNavegador::mnuNavProScr_Click(int tipo)
{
    clsNo* no = m_arvore.Selecionado();
    if (!no || !Verbo(tipo))
        return;
    AbrirScript(no,
                script::ScriptProcedure(m_ambiente, no->Tag(), ObjetoDoNo(no), tipo),
                Sql + QString::fromLatin1(Verbo(tipo)) + QStringLiteral("PROCEDURE ") + NomeNoScript(no));
}

void frmNavegador::mnuNavFunCreate_Click(const QString& legendaMenu)
{
    clsNo* no = m_arvore.Selecionado();
    if (!no)
        return;
    if (legendaMenu == u"Functions") {
        AbrirScript(no,
                    script::ScriptFunction(m_ambiente, no->Tag(), ObjetoDoNo(no), script::Create),
                    Sql + QStringLiteral("CREATE FUNCTION ") + NomeNoScript(no));
    } else if (legendaMenu == u"Triggers") {
        if (no->Image() == img::PastaTriggers) {
            const ObjetoBanco objeto = TabelaDoNo(no);
            const QString tabela = citacao::NomeLegivel(citacao::MotorDaConexao(objeto.connStr), objeto);
            AbrirConsulta(no, ModeloTrigger(no->Tag(), tabela), Sql + QStringLiteral("CREATE TRIGGER <nova>"), false);
        } else {
            AbrirScript(no,
                        script::ScriptTrigger(m_ambiente, no->Tag(), ObjetoDoNo(no), script::Create),
                        Sql + QStringLiteral("CREATE TRIGGER ") + NomeNoScript(no));
        }
    }
}

void frmNavegador::mnuNavFunAlter_Click(const QString& legendaMenu)
{
    clsNo* no = m_arvore.Selecionado();
    if (!no)
        return;
    if (legendaMenu == u"Functions")
        AbrirScript(no,
                    script::ScriptFunction(m_ambiente, no->Tag(), ObjetoDoNo(no), script::Alter),
                    Sql + QStringLiteral("ALTER FUNCTION ") + NomeNoScript(no));
    else if (legendaMenu == u"Triggers")
        ChamarDuploClique();
}

void frmNavegador::mnuNavFunDrop_Click(const QString& legendaMenu)
{
    clsNo* no = m_arvore.Selecionado();
    if (!no)
        return;
    if (legendaMenu == u"Functions")
        AbrirScript(no,
                    script::ScriptFunction(m_ambiente, no->Tag(), ObjetoDoNo(no), script::Drop),
                    Sql + QStringLiteral("DROP FUNCTION ") + NomeNoScript(no));
    else if (legendaMenu == u"Triggers")
        AbrirScript(no,
                    script::ScriptTrigger(m_ambiente, no->Tag(), ObjetoDoNo(no), script::Drop, TabelaDoNo(no)),
                    Sql + QStringLiteral("DROP TRIGGER ") + NomeNoScript(no));
}

void frmNavegador::mnuNavIdxScript_Click()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no || no->Image() != img::Indice)
        return;
    QString indice = no->Text();
    AbrirScript(no,
                script::ScriptIndices(m_ambiente, TabelaDoNo(no), nullptr, indice, no->Tag()),
                Sql + QStringLiteral("CREATE INDEX ") + TabelaDoNo(no).Irmao(no->Text()).Exibicao());
}

void frmNavegador::mnuNavIdxDel_Click()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no || no->Image() != img::Indice)
        return;
    const ObjetoBanco tabela = TabelaDoNo(no);
    if (!ConfirmarExclusao(m_ambiente.Prompt(),
                           QStringLiteral("Confirm delete index ") + no->Text() + QStringLiteral(" ON ")
                               + tabela.Exibicao() + QStringLiteral(" ?")))
        return;
    if (acoes::ExcluirIndice(m_ambiente, no->Tag(), tabela, no->Text()))
        m_arvore.Remover(no);
}

void frmNavegador::mnuNavTabExc_Click()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no || no->Image() != img::Tabela)
        return;
    const ObjetoBanco tabela = ObjetoDoNo(no);
    if (!ConfirmarExclusao(m_ambiente.Prompt(),
                           QStringLiteral("Deseja Excluir Permanentemente a Tabela: '") + tabela.Exibicao() + u'\''))
        return;
    if (acoes::ExcluirTabela(m_ambiente, tabela.connStr, tabela.esquema, tabela.nome))
        m_arvore.Remover(no);
}

void frmNavegador::mnuNavTabVis_Click()
{
    clsNo* no = m_arvore.Selecionado();
    if (!no)
        return;
    const documentador::Alcance alcance = no->Image() == img::Tabela         ? documentador::Alcance::Tabela
                                          : no->Image() == img::PastaTabelas ? documentador::Alcance::TodasTabelas
                                                                             : documentador::Alcance::TabelasSistema;
    // All the tables are read on a worker thread under a progress window with "Parar"; the file
    // opens once it is written.
    struct Resultado {
        QString arquivo, erro;
    };
    auto r = std::make_shared<Resultado>();
    const documentador::Pedido pedido{alcance, ObjetoDoNo(no), window()->windowTitle(), {}};
    const QString connStr = no->Tag();
    clsAmbienteDados& ambiente = m_ambiente;
    const auto trabalho = [r, &ambiente, connStr, pedido](clsProgresso& progresso) {
        r->arquivo = documentador::Documentar(ambiente, connStr, pedido, r->erro, &progresso);
    };
    const auto fim = [this, r] {
        if (!r->erro.isEmpty())
            m_ambiente.Prompt().MsgBox(r->erro, vb::Critical, globais::TituloAplicativo());
        else if (!r->arquivo.isEmpty())
            MostrarDocumentacao(r->arquivo);
    };
    m_ambiente.Prompt().TrabalhoComProgresso(this, trabalho, fim);
}

void frmNavegador::MostrarDocumentacao(const QString& arquivo)
{
    const QString onde = QDir::toNativeSeparators(arquivo);
    if (auto* principal = qobject_cast<QMainWindow*>(window()))
        principal->statusBar()->showMessage(QStringLiteral("Documentação gravada em ") + onde);
    if (!m_ambiente.Prompt().AbrirNoSistema(QUrl::fromLocalFile(arquivo).toString()))
        m_ambiente.Prompt().MsgBox(QStringLiteral("Não foi possível abrir o arquivo no editor de textos:\n") + onde,
                                   vb::Exclamation);
}
