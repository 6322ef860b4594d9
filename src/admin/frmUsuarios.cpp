#include "frmUsuarios.h"

#include "connections/clsData.h"
#include "frmUsuariosCad.h"
#include "mdlPermissoes.h"
#include "platform/mdlCitacao.h"
#include "platform/mdlGlobais.h"
#include "shell/clsAmbiente.h"
#include "uctComumAdmin.h"

#include <QAction>
#include <QToolBar>
#include <QVBoxLayout>

frmUsuarios::frmUsuarios(clsAmbiente& ambiente, QWidget* pai) : frmFilhoConexao(pai), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("frmUsuarios"));
    setWindowTitle(QStringLiteral("Lista de Usuários do Banco"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* barras = new QHBoxLayout;
    tlbEdicao = BarraAdmin(this,
                           QStringLiteral("tlbEdicao"),
                           {{"Inc", QStringLiteral("Incluir Usuário")},
                            {"Alt", QStringLiteral("Alterar Usuário")},
                            {"Exc", QStringLiteral("Excluir Usuário")}});
    tlbOpcoes = BarraAdmin(this,
                           QStringLiteral("tlbOpcoes"),
                           {{"Ref", QStringLiteral("Atualizar")}, {"Per", QStringLiteral("Permissões")}});
    barras->addWidget(tlbEdicao);
    barras->addWidget(tlbOpcoes);
    barras->addStretch();
    layout->addLayout(barras);
    dgrConsulta = new uctGradeAdmin({{"UserName", QStringLiteral("Usuário")},
                                     {"UserId", QStringLiteral("Id")},
                                     {"LoginName", QStringLiteral("Login do Servidor")},
                                     {"DefDbName", QStringLiteral("Banco de Dados Padrão")}},
                                    this);
    dgrConsulta->setObjectName(QStringLiteral("dgrConsulta"));
    dgrConsulta->setEnabled(false);
    layout->addWidget(dgrConsulta);
    resize(640, 380);
    connect(tlbEdicao->findChild<QAction*>("Inc"), &QAction::triggered, this, &frmUsuarios::Incluir);
    connect(tlbEdicao->findChild<QAction*>("Alt"), &QAction::triggered, this, &frmUsuarios::Alterar);
    connect(tlbEdicao->findChild<QAction*>("Exc"), &QAction::triggered, this, &frmUsuarios::Excluir);
    connect(tlbOpcoes->findChild<QAction*>("Per"), &QAction::triggered, this, &frmUsuarios::Permissoes);
    connect(tlbOpcoes->findChild<QAction*>("Ref"), &QAction::triggered, this, [this] {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        CarregarLista();
    });
    connect(dgrConsulta, &QTableView::doubleClicked, this, [this] {
        if (m_sessao)
            Alterar();
        else
            Permissoes();
    });
}

frmUsuarios::~frmUsuarios() = default;

QString frmUsuarios::SqlUsuariosPostgres()
{
    return QStringLiteral(
        "SELECT r.rolname AS \"UserName\", CASE WHEN r.oid::bigint < 2147483648 THEN r.oid::bigint::integer END "
        "AS \"UserId\", r.rolname AS \"LoginName\", CAST(NULL AS varchar(100)) AS \"DefDbName\" FROM pg_roles r "
        "WHERE r.rolcanlogin AND has_database_privilege(r.oid, current_database(), 'CONNECT') ORDER BY r.rolname");
}

bool frmUsuarios::CarregarForm(const QString& strTempConnectionString, qint16 strTagIndexConexao)
{
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        m_connStr = strTempConnectionString;
        if (citacao::MotorDaConexao(strTempConnectionString) == TipoMotor::SqlServer) {
            PecasSqlDmo pecas;
            m_sessao = AbrirSqlDmo(m_ambiente, strTempConnectionString, true, &pecas);
            m_banco = pecas.banco;
            if (!m_sessao)
                return false;
        } else {
            // A PostgreSQL database's users are its server's login roles: listed, their permissions
            // given by the permissions program; adding and dropping them is left to the server.
            m_dados = std::make_unique<clsData>(m_ambiente);
            if (!m_dados->OpenConnection(strTempConnectionString, false, true))
                return false;
            m_banco = m_dados->ActiveConnection()->BancoPadrao();
            tlbEdicao->hide();
        }
        if (!CarregarLista())
            return false;
    }
    setWindowTitle(windowTitle() + QStringLiteral(" - ") + m_banco);
    MostrarListaAdmin(*this, m_ambiente, dgrConsulta, strTagIndexConexao);
    return true;
}

bool frmUsuarios::CarregarLista()
{
    RecordsetPtr linhas;
    if (!m_sessao) {
        if (!m_dados->OpenRecordset(linhas, SqlUsuariosPostgres(), false, false, true))
            return false;
    } else if (!m_sessao->Usuarios(m_banco, linhas)) {
        return MostrarErroSessao(m_ambiente.Prompt(), *m_sessao);
    }
    // One row per user: the query gives one per user and role, a user's rows adjacent.
    auto lista = std::make_shared<clsRecordset>();
    lista->AppendField(QStringLiteral("UserName"), ado::adVarWChar, 50);
    lista->AppendField(QStringLiteral("UserId"), ado::adInteger);
    lista->AppendField(QStringLiteral("LoginName"), ado::adVarWChar, 50);
    lista->AppendField(QStringLiteral("DefDbName"), ado::adVarWChar, 100);
    lista->Open();
    QVariant anterior;
    for (linhas->MoveFirst(); !linhas->Eof(); linhas->MoveNext()) {
        const QVariant usuario = linhas->Valor(QStringLiteral("UserName"));
        if (usuario == anterior)
            continue;
        anterior = usuario;
        lista->AddNew();
        for (const char* campo : {"UserName", "UserId", "LoginName", "DefDbName"})
            lista->DefinirValor(QString::fromLatin1(campo), linhas->Valor(QString::fromLatin1(campo)));
        lista->Update();
    }
    lista->MoveFirst();
    dgrConsulta->DefinirRecordset(lista);
    return true;
}

frmUsuariosCad* frmUsuarios::AbrirCadastro(const QString& usuario, bool novo)
{
    if (!m_sessao)
        return nullptr;
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    auto janela = std::make_unique<frmUsuariosCad>(m_ambiente, window());
    if (!janela->CarregarForm(m_sessao, m_banco, usuario, novo, qint16(IndiceNo())))
        return nullptr;
    return janela.release();
}

frmUsuariosCad* frmUsuarios::Incluir() { return AbrirCadastro({}, true); }

frmUsuariosCad* frmUsuarios::Alterar()
{
    if (!dgrConsulta->TemLinhaAtual())
        return nullptr;
    return AbrirCadastro(dgrConsulta->ValorAtual(QStringLiteral("UserName")).toString(), false);
}

void frmUsuarios::Excluir()
{
    if (!m_sessao || !dgrConsulta->TemLinhaAtual())
        return;
    clsPrompt& prompt = m_ambiente.Prompt();
    const QString usuario = dgrConsulta->ValorAtual(QStringLiteral("UserName")).toString();
    if (prompt.MsgBox(QStringLiteral("Deseja realmente excluir o usuário '") + usuario + u'\'',
                      vb::YesNo | vb::Question | vb::DefaultButton2,
                      globais::TituloAplicativo())
        != vb::Yes)
        return;
    clsAmpulheta ampulheta(prompt);
    if (!m_sessao->RemoverUsuario(m_banco, usuario)) {
        MostrarErroSessao(prompt, *m_sessao);
        return;
    }
    CarregarLista();
}

void frmUsuarios::Permissoes()
{
    if (dgrConsulta->TemLinhaAtual())
        permissoes::ExecutarPrograma(m_ambiente.Prompt(),
                                     m_connStr,
                                     dgrConsulta->ValorAtual(QStringLiteral("UserName")).toString());
}
