// The management session's administration operations: each sends the statement tsql builds.
#include "clsSqlDmoSessao.h"
#include "clsSqlDmoSessaoOdbc.h"
#include "mdlTSqlAdmin.h"
#include "platform/clsMotorOdbc.h"

bool clsSqlDmoSessao::EnviarTSql(const QString& sql, RecordsetPtr* rs)
{
    Q_UNUSED(sql);
    if (rs)
        rs->reset();
    return Falhar(ado::ErrSemConexao, QStringLiteral("A sessão não envia instruções ao servidor."));
}

bool clsSqlDmoSessaoOdbc::EnviarTSql(const QString& sql, RecordsetPtr* rs)
{
    if (rs)
        rs->reset();
    if (!Conectado())
        return Falhar(ado::ErrSemConexao, QStringLiteral("A sessão não está conectada ao servidor."));
    if (!motor->Executar(sql, rs, ado::adLockReadOnly, nullptr) || (rs && !*rs))
        return Falhar(motor->Erro().numero, motor->Erro().descricao);
    return true;
}

bool clsSqlDmoSessaoOdbc::EnviarTSqlComAvisos(const QString& sql, const std::function<void(const QString&)>& aviso)
{
    if (!Conectado())
        return Falhar(ado::ErrSemConexao, QStringLiteral("A sessão não está conectada ao servidor."));
    auto* odbc = dynamic_cast<clsMotorOdbc*>(motor.get());
    if (!odbc)
        return EnviarTSql(sql);
    if (!odbc->ExecutarComAvisos(sql, aviso))
        return Falhar(motor->Erro().numero, motor->Erro().descricao);
    return true;
}

bool clsSqlDmoSessao::Logins(RecordsetPtr& rs) { return EnviarTSql(tsql::SqlLogins(), &rs); }
bool clsSqlDmoSessao::Bancos(RecordsetPtr& rs) { return EnviarTSql(tsql::SqlBancos(), &rs); }
bool clsSqlDmoSessao::Linguagens(RecordsetPtr& rs) { return EnviarTSql(tsql::SqlLinguagens(), &rs); }
bool clsSqlDmoSessao::PapeisServidor(RecordsetPtr& rs) { return EnviarTSql(tsql::SqlPapeisServidor(), &rs); }
bool clsSqlDmoSessao::MembrosPapeisServidor(RecordsetPtr& rs)
{
    return EnviarTSql(tsql::SqlMembrosPapeisServidor(), &rs);
}

bool clsSqlDmoSessao::Usuarios(const QString& banco, RecordsetPtr& rs, const QString& usuario, bool nenhum)
{
    return EnviarTSql(tsql::SqlUsuarios(banco, usuario, nenhum), &rs);
}

bool clsSqlDmoSessao::PapeisBanco(const QString& banco, RecordsetPtr& rs)
{
    return EnviarTSql(tsql::SqlPapeisBanco(banco), &rs);
}

bool clsSqlDmoSessao::MembrosPapeisBanco(const QString& banco, RecordsetPtr& rs)
{
    return EnviarTSql(tsql::SqlMembrosPapeisBanco(banco), &rs);
}

bool clsSqlDmoSessao::Devices(RecordsetPtr& rs) { return EnviarTSql(tsql::SqlDevices(), &rs); }

bool clsSqlDmoSessao::HistoricoBackups(const QString& banco, RecordsetPtr& rs)
{
    return EnviarTSql(tsql::SqlHistoricoBackups(banco), &rs);
}

bool clsSqlDmoSessao::ArquivosDoBackup(bool dispositivo, const QString& origem, RecordsetPtr& rs)
{
    return EnviarTSql(tsql::SqlArquivosDoBackup(dispositivo, origem), &rs);
}

bool clsSqlDmoSessao::CriarLogin(const QString& login,
                                 bool windows,
                                 const QString& senha,
                                 const QString& banco,
                                 const QString& linguagem)
{
    return EnviarTSql(tsql::SqlCriarLogin(login, windows, senha, banco, linguagem));
}

bool clsSqlDmoSessao::AlterarLogin(const QString& login, const QString& banco, const QString& linguagem)
{
    return (banco.isEmpty() || EnviarTSql(tsql::SqlBancoPadraoLogin(login, banco)))
           && EnviarTSql(tsql::SqlLinguagemLogin(login, linguagem));
}

bool clsSqlDmoSessao::DefinirSenhaLogin(const QString& login, const QString& senha)
{
    return EnviarTSql(tsql::SqlSenhaLogin(login, senha));
}

bool clsSqlDmoSessao::NegarLogin(const QString& login, bool negar)
{
    return EnviarTSql(tsql::SqlNegarLogin(login, negar));
}
bool clsSqlDmoSessao::RemoverLogin(const QString& login) { return EnviarTSql(tsql::SqlRemoverLogin(login)); }

bool clsSqlDmoSessao::PapelServidor(const QString& login, const QString& papel, bool incluir)
{
    return EnviarTSql(tsql::SqlPapelServidor(login, papel, incluir));
}

bool clsSqlDmoSessao::CriarUsuario(const QString& banco, const QString& login, const QString& usuario)
{
    return EnviarTSql(tsql::SqlCriarUsuario(banco, login, usuario));
}

bool clsSqlDmoSessao::RemoverUsuario(const QString& banco, const QString& usuario)
{
    return EnviarTSql(tsql::SqlRemoverUsuario(banco, usuario));
}

bool clsSqlDmoSessao::PapelBanco(const QString& banco, const QString& papel, const QString& usuario, bool incluir)
{
    return EnviarTSql(tsql::SqlPapelBanco(banco, papel, usuario, incluir));
}

bool clsSqlDmoSessao::EspacoBanco(const QString& banco, double& tamanhoMb, double& livreMb)
{
    tamanhoMb = livreMb = 0;
    RecordsetPtr rs;
    if (!EnviarTSql(tsql::SqlEspaco(banco), &rs))
        return false;
    rs->MoveFirst();
    if (rs->Eof())
        return Falhar(ado::ErrSemConexao, QStringLiteral("O servidor não informou o tamanho do banco de dados."));
    tamanhoMb = rs->Valor(QStringLiteral("Tamanho")).toDouble();
    livreMb = rs->Valor(QStringLiteral("Livre")).toDouble();
    return true;
}

bool clsSqlDmoSessao::ShrinkBanco(const QString& banco, int percentual, int modo)
{
    if (modo != 3)
        return EnviarTSql(tsql::SqlShrinkDatabase(banco, percentual, modo));
    RecordsetPtr arquivos;
    if (!EnviarTSql(tsql::SqlArquivosBanco(banco), &arquivos))
        return false;
    QStringList nomes;
    for (arquivos->MoveFirst(); !arquivos->Eof(); arquivos->MoveNext())
        nomes << arquivos->Valor(0).toString();
    for (const QString& arquivo : nomes)
        if (!EnviarTSql(tsql::SqlEsvaziarArquivo(banco, arquivo)))
            return false;
    return true;
}

namespace {
// The server's message of a failed statement; never empty, since empty means success.
QString Mensagem(const ErroDados& e)
{
    return e.descricao.isEmpty() ? QStringLiteral("Err:") + QString::number(e.numero) : e.descricao;
}
} // namespace

QString clsSqlDmoSessao::AttachDB(const QString& banco, const QString& arquivo)
{
    return EnviarTSql(tsql::SqlAttach(banco, arquivo)) ? QString() : Mensagem(erro);
}

QString clsSqlDmoSessao::DetachDB(const QString& banco, bool checar)
{
    return EnviarTSql(tsql::SqlDetach(banco, checar)) ? QString() : Mensagem(erro);
}

bool clsSqlDmoSessao::CriarDevice(const QString& nome, const QString& caminho)
{
    return EnviarTSql(tsql::SqlCriarDevice(nome, caminho));
}

bool clsSqlDmoSessao::RemoverDevice(const QString& nome) { return EnviarTSql(tsql::SqlRemoverDevice(nome)); }
