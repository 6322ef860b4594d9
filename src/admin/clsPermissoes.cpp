#include "clsPermissoes.h"

#include "connections/clsData.h"
#include "connections/mdlTSqlAdmin.h"
#include "platform/mdlCitacao.h"

namespace {

// SQL Server: each batch in the database, through the management session.
class clsPermissoesSqlServer : public clsPermissoes {
public:
    clsPermissoesSqlServer(std::unique_ptr<clsSqlDmoSessao> sessao, const QString& banco)
        : clsPermissoes(Dialeto::SqlServer, banco), m_sessao(std::move(sessao))
    {}

protected:
    bool Consultar(const QString& sql, RecordsetPtr& rs, QString& erro) override { return Enviar(sql, &rs, erro); }
    bool Executar(const QStringList& instrucoes, QString& erro) override
    {
        return Enviar(permissoes::Script(Dialeto::SqlServer, instrucoes), nullptr, erro);
    }

private:
    bool Enviar(const QString& sql, RecordsetPtr* rs, QString& erro)
    {
        if (m_sessao->EnviarTSql(tsql::NoBanco(Banco(), sql), rs))
            return true;
        erro = m_sessao->Erro().descricao;
        return false;
    }
    std::unique_ptr<clsSqlDmoSessao> m_sessao;
};

// PostgreSQL: a connection of its own, its transaction driven statement by statement.
class clsPermissoesMotor : public clsPermissoes {
public:
    explicit clsPermissoesMotor(std::shared_ptr<clsMotor> motor)
        : clsPermissoes(motor->DialetoSql(), motor->BancoPadrao()), m_motor(std::move(motor))
    {}

protected:
    bool Consultar(const QString& sql, RecordsetPtr& rs, QString& erro) override
    {
        if (m_motor->Executar(sql, &rs, ado::adLockReadOnly, nullptr) && rs)
            return true;
        erro = m_motor->Erro().descricao;
        return false;
    }
    bool Executar(const QStringList& instrucoes, QString& erro) override
    {
        if (!m_motor->IniciarTransacao())
            return Falhar(erro);
        for (const QString& sql : instrucoes)
            if (!m_motor->Executar(sql, nullptr, ado::adLockReadOnly, nullptr)) {
                Falhar(erro);
                m_motor->DesfazerTransacao();
                return false;
            }
        return m_motor->ConfirmarTransacao() || Falhar(erro);
    }

private:
    bool Falhar(QString& erro)
    {
        erro = m_motor->Erro().descricao;
        return false;
    }
    std::shared_ptr<clsMotor> m_motor;
};

} // namespace

std::unique_ptr<clsPermissoes> clsPermissoes::Abrir(clsAmbienteDados& ambiente, const QString& connStr, QString& erro)
{
    const TipoMotor tipo = citacao::MotorDaConexao(connStr);
    if (tipo == TipoMotor::SqlServer) {
        PecasSqlDmo pecas;
        ErroDados e;
        std::unique_ptr<clsSqlDmoSessao> sessao = ConectarSqlDmo(ambiente, connStr, e, &pecas);
        if (!sessao) {
            erro = QStringLiteral("Não foi possível conectar ao servidor ") + pecas.servidor + QStringLiteral(".\n")
                   + e.descricao;
            return nullptr;
        }
        if (pecas.banco.isEmpty()) {
            erro = QStringLiteral("A conexão não indica o banco de dados (Initial Catalog).");
            return nullptr;
        }
        return std::make_unique<clsPermissoesSqlServer>(std::move(sessao), pecas.banco);
    }
    if (tipo == TipoMotor::Odbc) {
        ErroDados e;
        std::shared_ptr<clsMotor> motor = AbrirMotor(connStr, true, ambiente.Opcoes().TimeOut, e);
        if (!motor) {
            erro = QStringLiteral("Não foi possível conectar ao banco de dados.\n") + e.descricao;
            return nullptr;
        }
        if (motor->DialetoSql() == Dialeto::PostgreSql)
            return std::make_unique<clsPermissoesMotor>(motor);
    }
    erro = QStringLiteral("As permissões só são administradas em bancos de dados SQL Server e PostgreSQL.");
    return nullptr;
}

bool clsPermissoes::Ler(const QString& usuario, permissoes::Quadro& q, QString& erro)
{
    q = permissoes::Quadro();
    q.dialeto = m_dialeto;
    q.usuario = usuario;
    RecordsetPtr rs;
    if (!Consultar(permissoes::SqlUsuario(m_dialeto, usuario), rs, erro))
        return false;
    if (!rs || rs->RecordCount() <= 0) {
        erro = QStringLiteral("O usuário '") + usuario + QStringLiteral("' não existe no banco de dados ") + m_banco
               + u'.';
        return false;
    }
    rs->MoveFirst();
    q.superusuario = rs->Valor(QStringLiteral("superusuario")).toInt() != 0;
    if (!Consultar(permissoes::SqlObjetos(m_dialeto), rs, erro))
        return false;
    permissoes::LerObjetos(q, *rs);
    if (!Consultar(permissoes::SqlPermissoes(m_dialeto, usuario), rs, erro))
        return false;
    permissoes::LerPermissoes(q, *rs);
    if (!Consultar(permissoes::SqlPapeis(m_dialeto, usuario), rs, erro))
        return false;
    permissoes::LerPapeis(q, *rs);
    permissoes::AplicarPapeisFixos(q);
    return true;
}

bool clsPermissoes::Aplicar(const QStringList& instrucoes, QString& erro)
{
    return instrucoes.isEmpty() || Executar(instrucoes, erro);
}
