#include "mdlServidores.h"

#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsPrompt.h"
#include "platform/clsServidoresRegistrados.h"
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlFuncoes.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlSenhasGuardadas.h"

#include <QFileInfo>

namespace {
const QString Secao = QStringLiteral("Servidores");

QString Ler(const char* campo, int slot)
{
    return settings::GetSetting(Secao, QString::fromUtf8(campo) + SlotServidor(slot));
}
} // namespace

QString SlotServidor(int slot) { return QStringLiteral("%1").arg(slot, 3, 10, QChar(u'0')); }

bool SqlDmoDisponivel() { return servidoresregistrados::DriverSqlServerInstalado(); }

void CarregarServidores(clsArvore& arvore)
{
    arvore.Ambiente().sqlDmoDisponivelCarregado = SqlDmoDisponivel();
    arvore.Ambiente().qtdeServidores
        = qint16(funcoes::LerInteiro(settings::GetSetting(Secao, QStringLiteral("Qtde"), QStringLiteral("0"))));
    int ultimo = 0;
    for (int i = 1; i <= arvore.Ambiente().qtdeServidores; ++i) {
        const QString tipo = Ler("Tipo", i);
        if (tipo == u"A")
            IncluirConexaoNavegador(arvore, tiporegistro::Access, Ler("Path", i));
        else if (tipo == u"W")
            IncluirConexaoNavegador(arvore, tiporegistro::WebService, Ler("Url", i));
        else if (tipo == u"C")
            IncluirConexaoNavegador(arvore,
                                    tiporegistro::Customizada,
                                    Ler("Nome", i),
                                    false,
                                    {},
                                    {},
                                    senhas::Ler(Secao, QStringLiteral("ConnStr") + SlotServidor(i)),
                                    Desembaralhar(Ler("Link", i)));
        else if (tipo == u"S" && !arvore.Ambiente().sqlDmoDisponivelCarregado)
            IncluirConexaoNavegador(arvore, tiporegistro::SqlServer, Ler("Nome", i));
        else
            continue;
        ultimo = i;
    }
    if (ultimo != arvore.Ambiente().qtdeServidores)
        settings::SaveSetting(Secao, QStringLiteral("Qtde"), QString::number(ultimo));
    if (!arvore.Ambiente().sqlDmoDisponivelCarregado)
        return;
    if (servidoresregistrados::Grupos().isEmpty()) {
        servidoresregistrados::IncluirGrupo(QStringLiteral("SQL Server Group"));
        return;
    }
    for (const ServidorRegistrado& s : servidoresregistrados::Servidores())
        IncluirConexaoNavegador(arvore, tiporegistro::SqlServer, s.nome, s.confiavel);
}

bool AcrescentarConexoesNovas(clsArvore& arvore)
{
    const int qtde = funcoes::LerInteiro(settings::GetSetting(Secao, QStringLiteral("Qtde"), QStringLiteral("0")));
    bool acrescentou = false;
    for (int i = 1; i <= qtde; ++i) {
        const QString chave = Desembaralhar(Ler("Link", i));
        if (Ler("Tipo", i) != u"C" || chave.isEmpty() || arvore.No(chave))
            continue;
        acrescentou |= IncluirConexaoNavegador(arvore,
                                               tiporegistro::Customizada,
                                               Ler("Nome", i),
                                               false,
                                               {},
                                               {},
                                               senhas::Ler(Secao, QStringLiteral("ConnStr") + SlotServidor(i)),
                                               chave);
    }
    arvore.Ambiente().qtdeServidores = qint16(qMax<int>(arvore.Ambiente().qtdeServidores, qtde));
    return acrescentou;
}

bool IncluirConexaoNavegador(clsArvore& arvore,
                             int tipo,
                             const QString& nome,
                             bool integrado,
                             const QString& usuario,
                             const QString& senha,
                             const QString& connStr,
                             const QString& link)
{
    QString texto = nome, descricao, chave, grupo, caminho, endereco;
    int imagem = 0;
    switch (tipo) {
    case tiporegistro::Customizada:
        descricao = nome;
        chave = link;
        grupo = QStringLiteral("Outros");
        imagem = img::Customizada;
        break;
    case tiporegistro::Access:
        texto = QFileInfo(nome).completeBaseName();
        descricao = caminho = nome;
        grupo = QStringLiteral("Access");
        imagem = img::Access;
        break;
    case tiporegistro::WebService:
        texto = TextoNoWebService(nome);
        descricao = endereco = nome;
        grupo = QStringLiteral("WebSrv");
        imagem = img::WebService;
        break;
    default:
        descricao = QStringLiteral("Servidor: ") + nome;
        grupo = QStringLiteral("Sql");
        imagem = img::SqlServer;
        break;
    }
    if (tipo != tiporegistro::Customizada)
        chave = ChaveFonte(nome);
    if (clsNo* existente = arvore.No(chave)) {
        arvore.Ambiente().Prompt().MsgBox(QStringLiteral("Essa conexão já foi incluida, verifique.") + u'\r' + chave
                                              + QStringLiteral(" - ") + existente->Text(),
                                          vb::Information,
                                          globais::TituloAplicativo());
        arvore.Selecionar(existente);
        return false;
    }
    clsNo* no = IncluirNode(arvore,
                            {.texto = texto,
                             .chave = chave,
                             .chavePai = grupo,
                             .imagem = imagem,
                             .tag = connStr,
                             .descricao = descricao,
                             .usuario = usuario,
                             .senha = senha,
                             .integrado = integrado ? QStringLiteral("1") : QStringLiteral("0"),
                             .caminho = caminho,
                             .endereco = endereco});
    if (!no)
        return false;
    arvore.Selecionar(no);
    return true;
}

void GravarServidor(clsArvore& arvore,
                    const QString& tipo,
                    const QString& nome,
                    const QString& connStr,
                    const QString& link)
{
    qint16& qtde = arvore.Ambiente().qtdeServidores;
    int slot = 0;
    for (int i = 1; i <= qtde; ++i)
        if (Ler("Tipo", i).isEmpty())
            slot = i;
    if (!slot) {
        slot = ++qtde;
        settings::SaveSetting(Secao, QStringLiteral("Qtde"), QString::number(qtde));
    }
    const QString s = SlotServidor(slot);
    settings::SaveSetting(Secao, QStringLiteral("Tipo") + s, tipo);
    if (!nome.isEmpty()) {
        const QString campo = tipo == u"A"   ? QStringLiteral("Path")
                              : tipo == u"W" ? QStringLiteral("Url")
                                             : QStringLiteral("Nome");
        settings::SaveSetting(Secao, campo + s, nome);
    }
    if (!connStr.isEmpty())
        senhas::Gravar(Secao, QStringLiteral("ConnStr") + s, connStr);
    if (!link.isEmpty())
        settings::SaveSetting(Secao, QStringLiteral("Link") + s, link);
}

int LocalizarServidor(const clsArvore& arvore, const clsNo* no)
{
    const char* campo = nullptr;
    QString valor;
    switch (no->Image()) {
    case img::AccessConectado:
    case img::Access:
        campo = "Path";
        valor = arvore.Dados().Ler(no->Key(), CampoNo::Caminho);
        break;
    case img::WebServiceConectado:
    case img::WebService:
        campo = "Url";
        valor = arvore.Dados().Ler(no->Key(), CampoNo::Endereco);
        break;
    case img::Customizada:
        campo = "Link";
        valor = Embaralhar(no->Key());
        break;
    default: return 0;
    }
    for (int i = 1; i <= arvore.Ambiente().qtdeServidores; ++i)
        if (Ler(campo, i) == valor)
            return i;
    return 0;
}

QString NomeLogin(const clsNo* no)
{
    switch (no->Image()) {
    case img::BancoConectado:
    case img::Banco: return no->Parent() ? no->Parent()->Text() : QString();
    case img::AccessConectado:
    case img::Access: return no->Key();
    default: return no->Text();
    }
}

void ApagarSlot(clsArvore& arvore, int slot)
{
    if (!Ler("ConnStr", slot).isEmpty())
        senhas::Apagar(Secao, QStringLiteral("ConnStr") + SlotServidor(slot));
    for (const char* campo : {"Tipo", "Path", "Nome", "Url", "Link"})
        if (!Ler(campo, slot).isEmpty())
            settings::DeleteSetting(Secao, QString::fromUtf8(campo) + SlotServidor(slot));
    if (slot == arvore.Ambiente().qtdeServidores)
        --arvore.Ambiente().qtdeServidores;
}

namespace {

// Without the SQL Server client, servers are "S" slots found by their name.
int LocalizarSlotSqlServer(const clsArvore& arvore, const QString& nome)
{
    for (int i = 1; i <= arvore.Ambiente().qtdeServidores; ++i)
        if (Ler("Tipo", i) == u"S" && Ler("Nome", i) == nome)
            return i;
    return 0;
}

void ErroDesmapear(clsArvore& arvore, const QString& descricao, int passo)
{
    arvore.Ambiente().Prompt().MsgBox(descricao + u'\n' + QStringLiteral("Line:") + QString::number(passo),
                                      vb::Critical,
                                      globais::TituloAplicativo());
}

} // namespace

void DesmaparItem(clsArvore& arvore, clsNo* no, const QList<JanelaAberta>& janelas)
{
    const int imagem = no->Image();
    const bool sqlServer = imagem == img::SqlServerConectado || imagem == img::SqlServer;
    static constexpr int mapeados[] = {img::SqlServerConectado,
                                       img::SqlServer,
                                       img::AccessConectado,
                                       img::Access,
                                       img::WebServiceConectado,
                                       img::WebService,
                                       img::Customizada};
    if (std::find(std::begin(mapeados), std::end(mapeados), imagem) == std::end(mapeados)) {
        arvore.Ambiente().Prompt().MsgBox(
            QStringLiteral("Selecione o servidor de Sql ou banco de dados Access que deseja desmapear"),
            vb::Information,
            globais::TituloAplicativo());
        return;
    }
    if (arvore.Ambiente().Prompt().MsgBox(QStringLiteral("Deseja realmente desmapear este Item ?"),
                                          vb::YesNo | vb::Question,
                                          globais::TituloAplicativo())
        != vb::Yes)
        return;
    const int fechada = imagem == img::SqlServerConectado    ? img::SqlServer
                        : imagem == img::AccessConectado     ? img::Access
                        : imagem == img::WebServiceConectado ? img::WebService
                                                             : imagem;
    if (!DesconectarNode(arvore, no, fechada, true, janelas))
        return;
    const int slot = LocalizarServidor(arvore, no);
    if (slot == 0 && imagem != img::Customizada && !sqlServer) {
        arvore.Ambiente().Prompt().MsgBox(QStringLiteral("Item não encontrado no registro"),
                                          vb::Critical,
                                          globais::TituloAplicativo());
        return;
    }
    bool removido = false;
    if (sqlServer) {
        if (arvore.Ambiente().sqlDmoDisponivelCarregado) {
            if (!servidoresregistrados::DriverSqlServerInstalado()) {
                ErroDesmapear(arvore, QStringLiteral("SQL.DMO Not Properly Installed"), 8);
                return;
            }
            removido = servidoresregistrados::Remover(no->Text());
        } else if (const int slotSql = LocalizarSlotSqlServer(arvore, no->Text())) {
            ApagarSlot(arvore, slotSql);
            removido = true;
        }
    } else {
        if (slot != 0)
            ApagarSlot(arvore, slot);
        removido = true;
    }
    if (removido) {
        // The entry's remembered password goes with it (the user name is no secret and stays).
        const QString chaveSenha = QStringLiteral("SqlPass:") + NomeLogin(no);
        if (!settings::GetSetting(QStringLiteral("AutoLogin"), chaveSenha).isEmpty())
            senhas::Apagar(QStringLiteral("AutoLogin"), chaveSenha);
        arvore.Remover(no);
    } else
        arvore.Ambiente().Prompt().MsgBox(QStringLiteral("Não foi possível fazer o desmapeamento."),
                                          vb::Exclamation,
                                          globais::TituloAplicativo());
}
