#include "clsServidoresRegistrados.h"

#include "platform/clsSettings.h"
#include "platform/mdlOdbc.h"
#include "platform/mdlSenhasGuardadas.h"

#include <QFile>

namespace servidoresregistrados {
namespace {

const QString SecaoGrupos = QStringLiteral("GruposSqlServer");
const QString SecaoServidores = QStringLiteral("ServidoresSqlServer");

bool DriverSqlServer(const QString& driver)
{
    return driver.contains(QStringLiteral("FreeTDS"), Qt::CaseInsensitive)
           || driver.contains(QStringLiteral("SQL Server"), Qt::CaseInsensitive);
}

QString Slot(int i) { return QStringLiteral("%1").arg(i, 3, 10, QChar(u'0')); }

int Qtde(const QString& secao)
{
    return settings::GetSetting(secao, QStringLiteral("Qtde"), QStringLiteral("0")).toInt();
}

} // namespace

bool DriverSqlServerInstalado()
{
    for (const QString& nome : odbc::Drivers())
        if (DriverSqlServer(nome))
            return true;
    return false;
}

QStringList ListaServidores(const QString& arquivoFreeTds)
{
    QStringList r;
    for (const ServidorRegistrado& s : Servidores())
        r << s.nome;
    QFile conf(arquivoFreeTds);
    if (conf.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!conf.atEnd()) {
            const QString linha = QString::fromUtf8(conf.readLine()).trimmed();
            if (linha.startsWith(u'[') && linha.endsWith(u']')) {
                const QString nome = linha.mid(1, linha.size() - 2).trimmed();
                if (!nome.isEmpty() && nome.compare(QStringLiteral("global"), Qt::CaseInsensitive) != 0)
                    r << nome;
            }
        }
    }
    for (const FonteOdbc& fonte : odbc::Fontes())
        if (DriverSqlServer(fonte.driver))
            r << fonte.nome;
    r.removeDuplicates();
    return r;
}

QStringList Grupos()
{
    QStringList r;
    const int n = Qtde(SecaoGrupos);
    for (int i = 1; i <= n; ++i) {
        const QString nome = settings::GetSetting(SecaoGrupos, QStringLiteral("Nome") + Slot(i));
        if (!nome.isEmpty())
            r << nome;
    }
    return r;
}

void IncluirGrupo(const QString& nome)
{
    const int n = Qtde(SecaoGrupos) + 1;
    settings::SaveSetting(SecaoGrupos, QStringLiteral("Qtde"), QString::number(n));
    settings::SaveSetting(SecaoGrupos, QStringLiteral("Nome") + Slot(n), nome);
}

bool MigrarSenha(const QString& nome)
{
    bool moveu = false;
    const int n = Qtde(SecaoServidores);
    for (int i = 1; i <= n; ++i)
        if (settings::GetSetting(SecaoServidores, QStringLiteral("Nome") + Slot(i)).compare(nome, Qt::CaseInsensitive)
            == 0)
            moveu = senhas::Migrar(SecaoServidores, QStringLiteral("Senha") + Slot(i)) || moveu;
    return moveu;
}

QList<ServidorRegistrado> Servidores()
{
    QList<ServidorRegistrado> r;
    const int n = Qtde(SecaoServidores);
    // In group order, then in order of registration inside each group.
    for (const QString& grupo : Grupos()) {
        for (int i = 1; i <= n; ++i) {
            const QString s = Slot(i);
            if (settings::GetSetting(SecaoServidores, QStringLiteral("Grupo") + s) != grupo)
                continue;
            ServidorRegistrado srv;
            srv.grupo = grupo;
            srv.nome = settings::GetSetting(SecaoServidores, QStringLiteral("Nome") + s);
            srv.login = settings::GetSetting(SecaoServidores, QStringLiteral("Login") + s);
            srv.senha = senhas::Ler(SecaoServidores, QStringLiteral("Senha") + s);
            srv.confiavel = settings::GetSetting(SecaoServidores, QStringLiteral("Confiavel") + s) == u"1";
            if (!srv.nome.isEmpty())
                r << srv;
        }
    }
    return r;
}

void Registrar(ServidorRegistrado servidor)
{
    if (servidor.grupo.isEmpty()) {
        QStringList grupos = Grupos();
        if (grupos.isEmpty()) {
            IncluirGrupo(QStringLiteral("SQL Server Group"));
            grupos = Grupos();
        }
        servidor.grupo = grupos.first();
    }
    int n = Qtde(SecaoServidores);
    int livre = 0;
    for (int i = 1; i <= n && !livre; ++i)
        if (settings::GetSetting(SecaoServidores, QStringLiteral("Nome") + Slot(i)).isEmpty())
            livre = i;
    if (!livre) {
        livre = ++n;
        settings::SaveSetting(SecaoServidores, QStringLiteral("Qtde"), QString::number(n));
    }
    const QString s = Slot(livre);
    settings::SaveSetting(SecaoServidores, QStringLiteral("Grupo") + s, servidor.grupo);
    settings::SaveSetting(SecaoServidores, QStringLiteral("Nome") + s, servidor.nome);
    settings::SaveSetting(SecaoServidores, QStringLiteral("Login") + s, servidor.login);
    senhas::Gravar(SecaoServidores, QStringLiteral("Senha") + s, servidor.senha);
    settings::SaveSetting(SecaoServidores,
                          QStringLiteral("Confiavel") + s,
                          servidor.confiavel ? QStringLiteral("1") : QStringLiteral("0"));
}

bool Remover(const QString& nome)
{
    const int n = Qtde(SecaoServidores);
    for (int i = 1; i <= n; ++i) {
        const QString s = Slot(i);
        if (settings::GetSetting(SecaoServidores, QStringLiteral("Nome") + s) != nome)
            continue;
        senhas::Apagar(SecaoServidores, QStringLiteral("Senha") + s);
        for (const char* campo : {"Grupo", "Nome", "Login", "Confiavel"})
            settings::DeleteSetting(SecaoServidores, QString::fromUtf8(campo) + s);
        return true;
    }
    return false;
}

} // namespace servidoresregistrados
