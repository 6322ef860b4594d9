// Web-service host: publishes one connection string over the protocol of the web service the
// generator writes, so a database can be mapped in Quarrix by an address.
#include "connections/clsData.h"
#include "webservice/clsWebServiceHost.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

const char* const Ajuda
    = "uso: quarrix-webservice ORIGEM [ENDERECO:PORTA] [CLASSE] [--namespace URI] [--origem-web URL]...\n"
      "                          [--chave ARQUIVO | --sem-chave]\n"
      "\n"
      "Publica um banco de dados como web service SOAP (o mesmo protocolo da pagina .asmx que o\n"
      "Quarrix gera), para ser mapeado no Quarrix pelo endereco http://ENDERECO:PORTA/CLASSE.asmx.\n"
      "\n"
      "  ORIGEM          um arquivo SQLite (ex.: build/samples/Exemplo.db) ou uma string de conexao\n"
      "                  completa (\"Provider=SQLOLEDB.1;Data Source=...;Initial Catalog=...;...\")\n"
      "  ENDERECO:PORTA  onde escutar; padrao 127.0.0.1:8080 (so esta maquina). Use 0.0.0.0:PORTA\n"
      "                  com --chave para aceitar outras maquinas; PORTA 0 escolhe uma porta livre\n"
      "  CLASSE          nome da classe do servico; padrao WebData\n"
      "  --namespace URI namespace do servico; padrao http://www.quarrix.com.br/CLASSE\n"
      "  --origem-web URL pagina web (ex.: http://intranet:8000) que pode chamar o servico pelo\n"
      "                  navegador; repita para varias. Sem ela, pedidos vindos de paginas web sao\n"
      "                  recusados (403) e so programas (o Quarrix, clientes SOAP) sao atendidos\n"
      "  --chave ARQUIVO exige em cada pedido a chave guardada (primeira linha) no ARQUIVO, no\n"
      "                  cabecalho \"Authorization: Bearer CHAVE\" ou \"X-Quarrix-Chave: CHAVE\"; a\n"
      "                  variavel de ambiente QUARRIX_WEBSERVICE_CHAVE pode dar a chave em vez dele\n"
      "  --sem-chave     permite escutar em endereco que nao seja desta maquina sem chave (qualquer\n"
      "                  um que alcance o endereco podera executar SQL)\n"
      "\n"
      "Exemplo: quarrix-webservice build/samples/Exemplo.db 127.0.0.1:8080 WebData\n"
      "e mapeie http://127.0.0.1:8080/WebData.asmx no Quarrix. Ctrl+C encerra.\n";

// Removes every "--nome VALOR" from `args`, giving the values; false when one has no value.
bool TirarOpcao(QStringList& args, const QString& nome, QStringList& valores)
{
    for (qsizetype i = args.indexOf(nome); i >= 0; i = args.indexOf(nome, i)) {
        if (i + 1 >= args.size())
            return false;
        valores << args[i + 1];
        args.remove(i, 2);
    }
    return true;
}

// The access key: the first line of `arquivo`, or QUARRIX_WEBSERVICE_CHAVE; empty when neither was
// given. False, with the reason, when the file gives none.
bool LerChave(const QStringList& arquivo, QByteArray& chave, QString& erro)
{
    if (arquivo.isEmpty()) {
        chave = qgetenv("QUARRIX_WEBSERVICE_CHAVE").trimmed();
        return true;
    }
    QFile f(arquivo.last());
    if (!f.open(QIODevice::ReadOnly)) {
        erro = QStringLiteral("Nao foi possivel ler a chave em %1: %2").arg(arquivo.last(), f.errorString());
        return false;
    }
    chave = f.readLine(4096).trimmed();
    if (chave.isEmpty()) {
        erro = QStringLiteral("O arquivo %1 nao tem chave na primeira linha.").arg(arquivo.last());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QStringList ns, origensWeb, arquivoChave;
    if (!TirarOpcao(args, QStringLiteral("--namespace"), ns) || ns.size() > 1
        || !TirarOpcao(args, QStringLiteral("--origem-web"), origensWeb)
        || !TirarOpcao(args, QStringLiteral("--chave"), arquivoChave)) {
        std::fputs(Ajuda, stderr);
        return 2;
    }
    const bool semChave = args.removeAll(QStringLiteral("--sem-chave")) > 0;
    QByteArray chave;
    QString erroChave;
    if (!LerChave(arquivoChave, chave, erroChave)) {
        std::fprintf(stderr, "%s\n", qPrintable(erroChave));
        return 2;
    }
    if (args.isEmpty() || args.size() > 3 || args.contains(QStringLiteral("--help"))
        || args.contains(QStringLiteral("-h"))) {
        std::fputs(Ajuda, args.isEmpty() || args.size() > 3 ? stderr : stdout);
        return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h")) ? 0 : 2;
    }
    QString connStr = args[0];
    if (!connStr.contains(u'=')) { // a file: published as a file database
        if (!QFileInfo::exists(connStr)) {
            std::fprintf(stderr, "Arquivo nao encontrado: %s\n", qPrintable(connStr));
            return 1;
        }
        connStr = MontarConnStrAccess(QFileInfo(connStr).absoluteFilePath(), QString(), QString());
    }
    QString endereco = QStringLiteral("127.0.0.1");
    int porta = 8080;
    if (args.size() >= 2) {
        const QString e = args[1];
        const qsizetype dp = e.lastIndexOf(u':');
        bool ok = true;
        if (dp >= 0) {
            endereco = e.left(dp);
            porta = e.mid(dp + 1).toInt(&ok);
        } else {
            porta = e.toInt(&ok);
            if (!ok) {
                endereco = e;
                ok = true;
                porta = 8080;
            }
        }
        if (endereco.startsWith(u'[') && endereco.endsWith(u']'))
            endereco = endereco.mid(1, endereco.size() - 2);
        if (!ok || porta < 0 || porta > 65535 || endereco.isEmpty()) {
            std::fprintf(stderr, "Endereco invalido: %s\n%s", qPrintable(e), Ajuda);
            return 2;
        }
    }
    const QString classe = args.size() >= 3 ? args[2] : QStringLiteral("WebData");
    if (chave.isEmpty() && !semChave && !clsWebServiceHost::EnderecoLocal(endereco)) {
        std::fprintf(stderr,
                     "Sem chave de acesso, o servico so escuta nesta maquina (127.0.0.1). Para escutar em %s,\n"
                     "de uma chave com --chave ARQUIVO, ou --sem-chave para publicar o banco a qualquer um que\n"
                     "alcance o endereco.\n",
                     qPrintable(endereco));
        return 2;
    }

    // The database must open before the service is announced.
    clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
    clsData teste(ambiente);
    if (!teste.OpenConnection(connStr, true, false)) {
        std::fprintf(stderr, "%s\n", qPrintable(teste.ErrMsg()));
        return 1;
    }
    teste.CloseConnection();

    clsWebServiceHost host(connStr, classe, ns.value(0));
    host.PermitirOrigens(origensWeb);
    host.ExigirChave(chave);
    QString erro;
    if (!host.Iniciar(endereco, porta, &erro)) {
        std::fprintf(stderr, "%s\n", qPrintable(erro));
        return 1;
    }
    const QString mostrado = endereco.contains(u':') ? u'[' + endereco + u']' : endereco;
    std::printf("Publicando %s\nem http://%s:%d/%s.asmx (%s)\n",
                qPrintable(MascararSenha(args[0])),
                qPrintable(mostrado),
                host.Porta(),
                qPrintable(classe),
                qPrintable(host.ConnectionTypeServico()));
    if (!chave.isEmpty())
        std::printf("Chave de acesso exigida (Authorization: Bearer CHAVE ou X-Quarrix-Chave: CHAVE).\n");
    else if (clsWebServiceHost::EnderecoLocal(endereco))
        std::printf("Aviso: sem chave de acesso: qualquer usuário local pode executar SQL.\n");
    else
        std::printf("Aviso: sem chave de acesso: qualquer um que alcance este endereço pode executar SQL.\n");
    std::fflush(stdout);
    host.Aguardar();
    return 0;
}
