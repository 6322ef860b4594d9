#include "servidorlocal.h"

#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlServidores.h"
#include "platform/clsSettings.h"
#include "platform/mdlEmbaralhar.h"
#include "platform/mdlFuncoes.h"
#include "platform/mdlSenhasGuardadas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace servidorlocal {

namespace {

const QString Secao = QStringLiteral("EasySetup");
const QString Usuario = QStringLiteral("quarrix");

// The engine refuses to run as root: as root, its server programs run as the system's "postgres".
bool ComoRoot() { return ::geteuid() == 0; }

QString Programa(const QString& nome) { return PastaProgramas() + u'/' + nome; }

// Runs one of the engine's programs and gives back what it printed. `servidor` marks the programs
// that own the cluster's files (initdb, pg_ctl); the clients run as the user.
bool Rodar(const QString& nome, const QStringList& argumentos, bool servidor, QString& saida, const QString& senha = {})
{
    QProcess p;
    if (servidor && ComoRoot()) {
        p.setProgram(QStringLiteral("runuser"));
        p.setArguments(
            QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), Programa(nome)}
            + argumentos);
    } else {
        p.setProgram(Programa(nome));
        p.setArguments(argumentos);
    }
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("LC_MESSAGES"), QStringLiteral("C"));
    if (!senha.isEmpty())
        ambiente.insert(QStringLiteral("PGPASSWORD"), senha); // never on the command line
    p.setProcessEnvironment(ambiente);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start();
    if (!p.waitForStarted()) {
        saida = p.errorString();
        return false;
    }
    p.waitForFinished(180000);
    saida = QString::fromLocal8Bit(p.readAll()).trimmed();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool EntregarAoPostgres(const QString& caminho)
{
    if (!ComoRoot())
        return true;
    const passwd* pw = ::getpwnam("postgres");
    return pw && ::chown(QFile::encodeName(caminho).constData(), pw->pw_uid, pw->pw_gid) == 0;
}

int PortaLivre()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    int porta = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n) == 0)
        porta = ntohs(a.sin_port);
    if (fd >= 0)
        ::close(fd);
    return porta;
}

QString SenhaNova()
{
    static const char letras[] = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789";
    QString r;
    for (int i = 0; i < 24; ++i)
        r += QChar::fromLatin1(letras[QRandomGenerator::system()->bounded(int(sizeof letras - 1))]);
    return r;
}

QString PastaDados() { return Pasta() + QStringLiteral("/data"); }
QString Log() { return Pasta() + QStringLiteral("/servidor.log"); }

QString ChaveNo(const Estado& e) { return QStringLiteral("dbServidorLocal") + QString::number(e.porta) + e.banco; }

// The last lines the server wrote, for a start that failed.
QString FimDoLog()
{
    QFile f(Log());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QStringList linhas = QString::fromLocal8Bit(f.readAll()).trimmed().split(u'\n');
    return linhas.mid(qMax(0, linhas.size() - 5)).join(u'\n');
}

void Mapear(const Estado& e)
{
    clsAmbienteNavegador ambiente{std::make_unique<clsPromptSilencioso>()};
    clsArvore& arvore = ambiente.Arvore();
    CarregarServidores(arvore);
    GravarServidor(arvore,
                   QStringLiteral("C"),
                   QStringLiteral("127.0.0.1:%1 - %2").arg(e.porta).arg(e.banco),
                   ConnStr(e),
                   Embaralhar(ChaveNo(e)));
}

void Desmapear(const Estado& e)
{
    clsAmbienteNavegador ambiente{std::make_unique<clsPromptSilencioso>()};
    clsArvore& arvore = ambiente.Arvore();
    CarregarServidores(arvore);
    const QString link = Embaralhar(ChaveNo(e));
    for (int i = 1; i <= ambiente.qtdeServidores; ++i)
        if (settings::GetSetting(QStringLiteral("Servidores"), QStringLiteral("Link") + SlotServidor(i)) == link)
            ApagarSlot(arvore, i);
}

bool Falhar(QString& erro, const QString& texto)
{
    erro = texto;
    return false;
}

} // namespace

QString Pasta()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/Quarrix/servidor");
}

QString PastaProgramas()
{
    QStringList versoes = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versoes.begin(), versoes.end(), [](const QString& a, const QString& b) {
        return funcoes::LerInteiro(a) > funcoes::LerInteiro(b);
    });
    for (const QString& v : versoes) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/") + v + QStringLiteral("/bin");
        if (QFileInfo(bin + QStringLiteral("/initdb")).isExecutable()
            && QFileInfo(bin + QStringLiteral("/pg_ctl")).isExecutable())
            return bin;
    }
    return {};
}

QString MensagemSemMotor()
{
    return QStringLiteral("O PostgreSQL não está instalado neste computador.\n"
                          "Instale o pacote \"postgresql\" (por exemplo: sudo apt-get install postgresql) e tente de "
                          "novo. Nada foi alterado.");
}

Estado LerEstado()
{
    Estado e;
    e.pasta = Pasta();
    e.instalado = QFileInfo(PastaDados() + QStringLiteral("/PG_VERSION")).exists();
    e.porta = funcoes::LerInteiro(settings::GetSetting(Secao, QStringLiteral("Porta")));
    e.banco = settings::GetSetting(Secao, QStringLiteral("Banco"));
    QString saida;
    e.rodando = e.instalado && !PastaProgramas().isEmpty()
                && Rodar(QStringLiteral("pg_ctl"),
                         {QStringLiteral("status"), QStringLiteral("-D"), PastaDados()},
                         true,
                         saida);
    return e;
}

QString ConnStr(const Estado& e)
{
    return QStringLiteral(
               "Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;Database=%2;Uid=%3;Pwd=%4")
        .arg(e.porta)
        .arg(e.banco, Usuario, senhas::Ler(Secao, QStringLiteral("Senha")));
}

bool Instalar(const QString& banco, const Passo& passo, QString& erro)
{
    if (PastaProgramas().isEmpty())
        return Falhar(erro, MensagemSemMotor());
    const QString pasta = Pasta();
    if (QDir(pasta).exists() && !QDir(pasta).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        return Falhar(erro,
                      QStringLiteral("Já existe um servidor em %1.\nRemova-o antes de criar outro; nada foi alterado.")
                          .arg(pasta));
    static const QRegularExpression nomeValido(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,62}$"));
    if (!nomeValido.match(banco).hasMatch())
        return Falhar(erro,
                      QStringLiteral("O nome do banco de dados \"%1\" não é válido: use letras, dígitos e \"_\", "
                                     "começando por uma letra.")
                          .arg(banco));
    passo(QStringLiteral("Criando o servidor em %1…").arg(pasta));
    if (!QDir().mkpath(pasta) || !EntregarAoPostgres(pasta))
        return Falhar(erro, QStringLiteral("Não foi possível criar a pasta %1.").arg(pasta));
    const QString senha = SenhaNova();
    const QString arquivoSenha = pasta + QStringLiteral("/.senha");
    {
        QFile f(arquivoSenha);
        if (!f.open(QIODevice::WriteOnly) || !f.setPermissions(QFile::ReadOwner | QFile::WriteOwner)
            || f.write(senha.toUtf8()) < 0) {
            QDir(pasta).removeRecursively();
            return Falhar(erro, QStringLiteral("Não foi possível gravar em %1.").arg(pasta));
        }
    }
    EntregarAoPostgres(arquivoSenha);
    QString saida;
    const bool criado = Rodar(QStringLiteral("initdb"),
                              {QStringLiteral("-D"),
                               PastaDados(),
                               QStringLiteral("-U"),
                               Usuario,
                               QStringLiteral("--pwfile=") + arquivoSenha,
                               QStringLiteral("-A"),
                               QStringLiteral("scram-sha-256"),
                               QStringLiteral("-E"),
                               QStringLiteral("UTF8"),
                               QStringLiteral("--no-locale")},
                              true,
                              saida);
    QFile::remove(arquivoSenha);
    if (!criado) {
        QDir(pasta).removeRecursively();
        return Falhar(erro, QStringLiteral("Não foi possível criar o servidor:\n") + saida);
    }
    const int porta = PortaLivre();
    settings::SaveSetting(Secao, QStringLiteral("Porta"), QString::number(porta));
    settings::SaveSetting(Secao, QStringLiteral("Banco"), banco);
    senhas::Gravar(Secao, QStringLiteral("Senha"), senha);
    if (!Iniciar(passo, erro))
        return false;
    passo(QStringLiteral("Criando o banco de dados %1…").arg(banco));
    if (!Rodar(QStringLiteral("createdb"),
               {QStringLiteral("-h"),
                QStringLiteral("127.0.0.1"),
                QStringLiteral("-p"),
                QString::number(porta),
                QStringLiteral("-U"),
                Usuario,
                QStringLiteral("-w"),
                banco},
               false,
               saida,
               senha))
        return Falhar(erro, QStringLiteral("O servidor foi criado, mas não o banco de dados %1:\n").arg(banco) + saida);
    passo(QStringLiteral("Mapeando o banco de dados no navegador…"));
    Mapear(LerEstado());
    passo(QStringLiteral("Pronto: o banco de dados %1 está em 127.0.0.1, porta %2.").arg(banco).arg(porta));
    return true;
}

bool Iniciar(const Passo& passo, QString& erro)
{
    const Estado e = LerEstado();
    if (!e.instalado)
        return Falhar(erro, QStringLiteral("Não há servidor instalado em %1.").arg(e.pasta));
    if (e.rodando)
        return true;
    passo(QStringLiteral("Iniciando o servidor na porta %1…").arg(e.porta));
    // Only this machine reaches it; a folder name with blanks or quotes gets no local socket.
    const bool pastaSimples = !e.pasta.contains(QRegularExpression(QStringLiteral("[\\s'\"\\\\]")));
    const QString opcoes = QStringLiteral("-c listen_addresses=127.0.0.1 -p %1 -c unix_socket_directories=%2")
                               .arg(e.porta)
                               .arg(pastaSimples ? e.pasta : QStringLiteral("''"));
    QString saida;
    if (!Rodar(QStringLiteral("pg_ctl"),
               {QStringLiteral("-D"),
                PastaDados(),
                QStringLiteral("-l"),
                Log(),
                QStringLiteral("-w"),
                QStringLiteral("-t"),
                QStringLiteral("60"),
                QStringLiteral("-o"),
                opcoes,
                QStringLiteral("start")},
               true,
               saida))
        return Falhar(erro, QStringLiteral("Não foi possível iniciar o servidor:\n") + saida + u'\n' + FimDoLog());
    return true;
}

bool Parar(const Passo& passo, QString& erro)
{
    const Estado e = LerEstado();
    if (!e.rodando)
        return true;
    passo(QStringLiteral("Parando o servidor…"));
    QString saida;
    if (!Rodar(QStringLiteral("pg_ctl"),
               {QStringLiteral("-D"),
                PastaDados(),
                QStringLiteral("-m"),
                QStringLiteral("fast"),
                QStringLiteral("-w"),
                QStringLiteral("stop")},
               true,
               saida))
        return Falhar(erro, QStringLiteral("Não foi possível parar o servidor:\n") + saida);
    return true;
}

bool Remover(const Passo& passo, QString& erro)
{
    const Estado e = LerEstado();
    if (!e.instalado && !QDir(e.pasta).exists())
        return Falhar(erro, QStringLiteral("Não há servidor instalado em %1.").arg(e.pasta));
    if (e.instalado && !PastaProgramas().isEmpty() && !Parar(passo, erro))
        return false;
    passo(QStringLiteral("Removendo %1…").arg(e.pasta));
    if (!QDir(e.pasta).removeRecursively())
        return Falhar(erro, QStringLiteral("Não foi possível remover a pasta %1.").arg(e.pasta));
    Desmapear(e);
    senhas::Apagar(Secao, QStringLiteral("Senha"));
    settings::DeleteSection(Secao);
    return true;
}

} // namespace servidorlocal
