#include "frmLogins.h"

#include "connections/clsData.h"
#include "frmLoginsCad.h"
#include "platform/mdlGlobais.h"
#include "shell/clsAmbiente.h"
#include "uctComumAdmin.h"

#include <QAction>
#include <QToolBar>
#include <QVBoxLayout>

frmLogins::frmLogins(clsAmbiente& ambiente, QWidget* pai) : frmFilhoConexao(pai), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("frmLogins"));
    setWindowTitle(QStringLiteral("Lista de Logins do Servidor"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* barras = new QHBoxLayout;
    tlbEdicao = BarraAdmin(this,
                           QStringLiteral("tlbEdicao"),
                           {{"Inc", QStringLiteral("Incluir Login")},
                            {"Alt", QStringLiteral("Alterar Login")},
                            {"Exc", QStringLiteral("Excluir Login")}});
    tlbOpcoes = BarraAdmin(this, QStringLiteral("tlbOpcoes"), {{"Ref", QStringLiteral("Atualizar")}});
    barras->addWidget(tlbEdicao);
    barras->addWidget(tlbOpcoes);
    barras->addStretch();
    layout->addLayout(barras);
    dgrConsulta = new uctGradeAdmin({{"LoginName", QStringLiteral("Login do Servidor")},
                                     {"LoginType", QStringLiteral("Autenticação")},
                                     {"AccessType", QStringLiteral("Acesso")},
                                     {"DefDbName", QStringLiteral("Banco de Dados Padrão")},
                                     {"DefLangName", QStringLiteral("Linguagem Padrão")}},
                                    this);
    dgrConsulta->setObjectName(QStringLiteral("dgrConsulta"));
    dgrConsulta->setEnabled(false);
    layout->addWidget(dgrConsulta);
    resize(720, 400);
    connect(tlbEdicao->findChild<QAction*>("Inc"), &QAction::triggered, this, &frmLogins::Incluir);
    connect(tlbEdicao->findChild<QAction*>("Alt"), &QAction::triggered, this, &frmLogins::Alterar);
    connect(tlbEdicao->findChild<QAction*>("Exc"), &QAction::triggered, this, &frmLogins::Excluir);
    connect(tlbOpcoes->findChild<QAction*>("Ref"), &QAction::triggered, this, [this] {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        CarregarLista();
    });
    connect(dgrConsulta, &QTableView::doubleClicked, this, &frmLogins::Alterar);
}

frmLogins::~frmLogins() = default;

bool frmLogins::CarregarForm(const QString& strTempConnectionString, qint16 strTagIndexConexao)
{
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        m_sessao = AbrirSqlDmo(m_ambiente, strTempConnectionString, true);
        if (!m_sessao || !CarregarLista())
            return false;
    }
    MostrarListaAdmin(*this, m_ambiente, dgrConsulta, strTagIndexConexao);
    return true;
}

bool frmLogins::CarregarLista()
{
    RecordsetPtr rs;
    if (!m_sessao->Logins(rs)) {
        return MostrarErroSessao(m_ambiente.Prompt(), *m_sessao);
    }
    dgrConsulta->DefinirRecordset(rs);
    return true;
}

frmLoginsCad* frmLogins::AbrirCadastro(const QString& login,
                                       const QString& autenticacao,
                                       const QString& banco,
                                       const QString& linguagem,
                                       const QString& acesso)
{
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    auto* janela = new frmLoginsCad(m_ambiente, window());
    janela->CarregarForm(m_sessao, false, login, autenticacao, banco, linguagem, acesso, qint16(IndiceNo()));
    return janela;
}

frmLoginsCad* frmLogins::Incluir() { return AbrirCadastro({}, {}, {}, {}, {}); }

frmLoginsCad* frmLogins::Alterar()
{
    if (!dgrConsulta->TemLinhaAtual())
        return nullptr;
    auto campo = [this](const char* nome) { return dgrConsulta->ValorAtual(QString::fromLatin1(nome)).toString(); };
    return AbrirCadastro(campo("LoginName"),
                         campo("LoginType"),
                         campo("DefDbName"),
                         campo("DefLangName"),
                         campo("AccessType"));
}

void frmLogins::Excluir()
{
    if (!dgrConsulta->TemLinhaAtual())
        return;
    clsPrompt& prompt = m_ambiente.Prompt();
    const QString login = dgrConsulta->ValorAtual(QStringLiteral("LoginName")).toString();
    if (prompt.MsgBox(QStringLiteral("Deseja realmente excluir o Login '") + login + u'\'',
                      vb::YesNo | vb::Question | vb::DefaultButton2,
                      globais::TituloAplicativo())
        != vb::Yes)
        return;
    clsAmpulheta ampulheta(prompt);
    if (!m_sessao->RemoverLogin(login)) {
        MostrarErroSessao(prompt, *m_sessao);
        return;
    }
    CarregarLista();
}
