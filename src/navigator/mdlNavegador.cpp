#include "mdlNavegador.h"

#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlServidores.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"

clsNo* AdicionarNode(clsArvore& arvore, const QString& texto, const QString& chave, const QString& chavePai)
{
    QString tentativa = chave;
    for (;;) {
        QString erro;
        if (clsNo* no = arvore.Adicionar(chavePai, tentativa, texto, &erro))
            return no;
        const QString pergunta
            = texto + u'\r' + tentativa + u'\r' + erro + u'\r' + QStringLiteral("Deseja incluir com outro nome ?");
        if (arvore.Ambiente().Prompt().MsgBox(pergunta, vb::YesNo | vb::Question, globais::TituloAplicativo())
            != vb::Yes)
            return nullptr;
        tentativa += u'2';
    }
}

clsNo* IncluirNoBanco(clsArvore& arvore, clsNo* servidor, const QString& nome)
{
    const QString chave = servidor->Key();
    const clsDadosNodes& dados = arvore.Dados();
    return IncluirNode(
        arvore,
        {.texto = nome,
         .chave = chave + nome,
         .chavePai = chave,
         .imagem = img::Banco,
         .descricao = QStringLiteral("Servidor: ") + servidor->Text() + QStringLiteral(" - Banco de dados: ") + nome,
         .usuario = dados.Ler(chave, CampoNo::Usuario),
         .senha = dados.Ler(chave, CampoNo::Senha),
         .integrado = dados.Ler(chave, CampoNo::Integrado)});
}

clsNo* IncluirNode(clsArvore& arvore,
                   const QString& texto,
                   const QString& chave,
                   const QString& chavePai,
                   int imagem,
                   const QString& tag,
                   const QString& descricao,
                   const QString& usuario,
                   const QString& senha,
                   const QString& integrado,
                   const QString& caminho,
                   const QString& endereco)
{
    clsNo* no = AdicionarNode(arvore, texto, chave, chavePai);
    if (!no)
        return nullptr;
    arvore.DefinirImagem(no, imagem);
    arvore.DefinirTag(no, tag);
    arvore.Dados().Registrar({no->Key(), descricao, usuario, senha, integrado, caminho, endereco});
    return no;
}

clsNo* IncluirNode(clsArvore& arvore, const NovoNo& n)
{
    return IncluirNode(arvore,
                       n.texto,
                       n.chave,
                       n.chavePai,
                       n.imagem,
                       n.tag,
                       n.descricao,
                       n.usuario,
                       n.senha,
                       n.integrado,
                       n.caminho,
                       n.endereco);
}

void InicializarNavegador(clsArvore& arvore)
{
    IncluirNode(arvore,
                QStringLiteral("Brisquell Quarrix v") + globais::ObterVersao(),
                QStringLiteral("Home"),
                {},
                img::Raiz);
    const struct {
        const char* texto;
        const char* chave;
    } grupos[] = {{"SQL Server", "Sql"},
                  {"Web Services", "WebSrv"},
                  {"Microsoft Access", "Access"},
                  {"Customizaveis", "Outros"}};
    for (const auto& g : grupos)
        IncluirNode(arvore, QString::fromUtf8(g.texto), QString::fromUtf8(g.chave), QStringLiteral("Home"), img::Grupo);
    IncluirNode(arvore,
                QStringLiteral("Ferramentas On Line"),
                QStringLiteral("OnLine"),
                QStringLiteral("Home"),
                img::OnLine);
    IncluirNode(arvore,
                QStringLiteral("Home Page"),
                QStringLiteral("HomePage"),
                QStringLiteral("OnLine"),
                img::HomePage);
    IncluirNode(arvore,
                QStringLiteral("Downloads"),
                QStringLiteral("Downloads"),
                QStringLiteral("OnLine"),
                img::Downloads);
    IncluirNode(arvore, QStringLiteral("Forum"), QStringLiteral("Forum"), QStringLiteral("OnLine"), img::Forum);
    CarregarServidores(arvore);
}

QString TextoNoWebService(const QString& endereco)
{
    QString texto = endereco;
    const qsizetype barras = texto.indexOf(QStringLiteral("//"));
    if (barras >= 0)
        texto = texto.mid(barras + 2);
    const qsizetype asmx = texto.indexOf(QStringLiteral(".asmx"), 0, Qt::CaseInsensitive);
    if (asmx >= 0)
        texto = texto.left(asmx);
    return texto.mid(texto.lastIndexOf(u'/') + 1);
}

QString ChaveFonte(const QString& nome)
{
    QString chave = nome;
    for (QChar c : {u' ', u'\\', u':', u'/', u'.'})
        chave.remove(c);
    return QStringLiteral("db") + chave;
}

bool JanelaPertenceAoNo(const clsNo* no, int indice)
{
    if (no->Index() == indice)
        return true;
    for (const clsNo* filho : no->Filhos())
        if (filho->Index() == indice
            || (filho->Image() == img::SqlServerConectado && JanelaPertenceAoNo(filho, indice)))
            return true;
    return false;
}

bool DesconectarNode(clsArvore& arvore, clsNo* no, int imagem, bool fecharJanelas, const QList<JanelaAberta>& janelas)
{
    if (fecharJanelas && imagem != 0) {
        bool perguntou = false;
        for (const JanelaAberta& janela : janelas) {
            if (!JanelaPertenceAoNo(no, janela.tag.toInt()))
                continue;
            if (!perguntou) {
                const QString pergunta = QStringLiteral("Todas as Telas Abertas Por Esta Conexão Serão Fechadas.")
                                         + u'\r' + QStringLiteral("Deseja Continuar ?");
                if (arvore.Ambiente().Prompt().MsgBox(pergunta, vb::YesNo | vb::Question, globais::TituloAplicativo())
                    != vb::Yes)
                    return false;
                perguntou = true;
            }
            if (janela.fechar)
                janela.fechar();
        }
    }
    if (imagem == 0) {
        // The node and every sibling after it.
        while (clsNo* seguinte = no->Next())
            arvore.Remover(seguinte);
        arvore.Remover(no);
        return true;
    }
    arvore.RemoverFilhos(no);
    arvore.DefinirImagem(no, imagem);
    if (imagem != img::Banco && imagem != img::Customizada) {
        arvore.DefinirTag(no, {});
        arvore.Dados().Gravar(no->Key(), CampoNo::Usuario, {});
        arvore.Dados().Gravar(no->Key(), CampoNo::Senha, {});
    }
    return true;
}

NoConectado LocalizarNoConectado(const clsNo* no)
{
    NoConectado r;
    for (const clsNo* n = no; n; n = n->Parent()) {
        switch (n->Image()) {
        case img::AccessConectado: r.fonte = n->Arvore().Dados().Ler(n->Key(), CampoNo::Caminho); break;
        case img::WebServiceConectado:
            r.fonte = n->Arvore().Dados().Ler(n->Key(), CampoNo::Endereco);
            r.textoNo = n->Text();
            break;
        case img::BancoConectado: r.banco = n->Text(); break;
        case img::Customizada: r.textoNo = n->Text(); break;
        case img::SqlServerConectado: break;
        default: continue;
        }
        r.indice = n->Index();
        break;
    }
    return r;
}

PedidoConsulta MontarPedidoConsulta(const clsNo* no, const QString& sql, const QString& tabela, bool executar)
{
    PedidoConsulta p;
    p.connStr = no->Tag();
    p.sql = sql;
    p.tabela = tabela;
    p.executar = executar;
    const NoConectado conectado = LocalizarNoConectado(no);
    p.indiceFonte = conectado.indice;
    p.fonte = conectado.fonte;
    p.banco = conectado.banco;
    p.textoNo = conectado.textoNo;
    if (!p.banco.isEmpty()) {
        // The server's name: above a database, above its "SQL Editor" folder, or above an object's folder.
        int subir = no->Image() == img::BancoConectado ? 1 : no->Image() == img::SqlEditor ? 2 : 3;
        const clsNo* servidor = no;
        while (servidor && subir-- > 0)
            servidor = servidor->Parent();
        p.fonte = servidor ? servidor->Text() : QString();
    }
    return p;
}
