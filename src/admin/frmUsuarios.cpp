#include "frmUsuarios.h"

#include "connections/clsData.h"
#include "frmUsuariosCad.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlProgramas.h"
#include "shell/clsAmbiente.h"
#include "uctComumAdmin.h"

#include <QAction>
#include <QProcess>
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
    connect(dgrConsulta, &QTableView::doubleClicked, this, &frmUsuarios::Alterar);
}

frmUsuarios::~frmUsuarios() = default;

bool frmUsuarios::CarregarForm(const QString& strTempConnectionString, qint16 strTagIndexConexao)
{
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        m_connStr = strTempConnectionString;
        PecasSqlDmo pecas;
        m_sessao = AbrirSqlDmo(m_ambiente, strTempConnectionString, true, &pecas);
        m_banco = pecas.banco;
        if (!m_sessao || !CarregarLista())
            return false;
    }
    setWindowTitle(windowTitle() + QStringLiteral(" - ") + m_banco);
    MostrarListaAdmin(*this, m_ambiente, dgrConsulta, strTagIndexConexao);
    return true;
}

bool frmUsuarios::CarregarLista()
{
    RecordsetPtr linhas;
    if (!m_sessao->Usuarios(m_banco, linhas)) {
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
    if (!dgrConsulta->TemLinhaAtual())
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
    if (!dgrConsulta->TemLinhaAtual())
        return;
    const QString programa = CaminhoCompanheiro(Companheiro::Permissoes);
    // The argument carries the connection string with its password: it goes on the program's
    // standard input, never on its command line.
    const QString argumento = QStringLiteral("ConnString=") + m_connStr + QStringLiteral("&UserName=")
                              + dgrConsulta->ValorAtual(QStringLiteral("UserName")).toString();
    auto* processo = new QProcess(this);
    connect(processo, &QProcess::finished, processo, &QObject::deleteLater);
    processo->start(programa, {});
    if (!processo->waitForStarted()) {
        m_ambiente.Prompt().MsgBox(QStringLiteral("O programa de Permissões não está disponível.") + u'\n'
                                       + processo->errorString(),
                                   vb::Critical,
                                   globais::TituloAplicativo());
        delete processo;
        return;
    }
    processo->write(argumento.toUtf8() + '\n');
    processo->closeWriteChannel();
}
