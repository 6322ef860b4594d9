#include "frmUsuariosCad.h"

#include "connections/clsAmbienteDados.h"
#include "connections/clsSqlDmoSessao.h"
#include "frmLoginsCad.h"
#include "platform/mdlGlobais.h"
#include "uctComumAdmin.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
const QString Novo = QStringLiteral("<Novo>");
const QString Public = QStringLiteral("public");
} // namespace

frmUsuariosCad::frmUsuariosCad(clsAmbienteDados& ambiente, QWidget* pai) : QDialog(pai), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("frmUsuariosCad"));
    auto* layout = new QVBoxLayout(this);
    auto* topo = new QFormLayout;
    txtUsuario = new QLineEdit(this);
    txtUsuario->setObjectName(QStringLiteral("txtUsuario"));
    cmbLogin = new QComboBox(this);
    cmbLogin->setObjectName(QStringLiteral("cmbLogin"));
    topo->addRow(QStringLiteral("Usuário"), txtUsuario);
    topo->addRow(QStringLiteral("Login do Servidor"), cmbLogin);
    layout->addLayout(topo);
    layout->addWidget(new QLabel(QStringLiteral("Grupos"), this));
    lstGrupos = new QListWidget(this);
    lstGrupos->setObjectName(QStringLiteral("lstGrupos"));
    layout->addWidget(lstGrupos, 1);
    btnConf = new QPushButton(QStringLiteral("&Confirmar"), this);
    btnConf->setObjectName(QStringLiteral("btnConf"));
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    layout->addLayout(botoes);
    resize(380, 420);
    connect(btnConf, &QPushButton::clicked, this, &frmUsuariosCad::btnConf_Click);
    connect(lstGrupos, &QListWidget::itemChanged, this, &frmUsuariosCad::AoMarcar);
    connect(cmbLogin, &QComboBox::activated, this, [this](int i) {
        if (cmbLogin->itemText(i) == Novo)
            NovoLogin();
    });
}

bool frmUsuariosCad::CarregarForm(std::shared_ptr<clsSqlDmoSessao> sessao,
                                  const QString& banco,
                                  const QString& usuario,
                                  bool novo,
                                  qint16 tag)
{
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    m_sessao = std::move(sessao);
    m_banco = banco;
    m_novo = novo;
    RecordsetPtr linhas;
    if (!m_sessao->Usuarios(banco, linhas, usuario, novo)) {
        return MostrarErroSessao(m_ambiente.Prompt(), *m_sessao);
    }
    linhas->MoveFirst();
    const bool temLinha = !linhas->Eof();
    CarregarLogins(temLinha ? linhas->Valor(QStringLiteral("LoginName")).toString() : QString());
    QSet<QString> grupos;
    for (; !linhas->Eof(); linhas->MoveNext())
        if (linhas->Valor(QStringLiteral("UserName")).toString() == usuario)
            grupos << linhas->Valor(QStringLiteral("GroupName")).toString();
    {
        const QSignalBlocker bloqueio(lstGrupos);
        lstGrupos->clear();
        RecordsetPtr papeis;
        if (m_sessao->PapeisBanco(banco, papeis))
            for (papeis->MoveFirst(); !papeis->Eof(); papeis->MoveNext()) {
                const QString nome = papeis->Valor(QStringLiteral("Group_name")).toString();
                auto* item = new QListWidgetItem(nome, lstGrupos);
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                item->setCheckState(nome == Public || (!novo && grupos.contains(nome)) ? Qt::Checked : Qt::Unchecked);
            }
    }
    txtUsuario->setText(novo ? QString() : usuario);
    HabilitarControle(txtUsuario, novo);
    HabilitarControle(cmbLogin, novo);
    setWindowTitle(novo ? QStringLiteral("Novo Usuário") : QStringLiteral("Usuário: ") + usuario);
    Tag = QString::number(tag);
    setWindowFlag(Qt::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);
    show();
    return true;
}

void frmUsuariosCad::CarregarLogins(const QString& login)
{
    cmbLogin->clear();
    cmbLogin->addItem(Novo);
    RecordsetPtr logins;
    if (!m_sessao->Logins(logins)) {
        cmbLogin->addItem(login);
        cmbLogin->setCurrentIndex(1);
        return;
    }
    cmbLogin->setCurrentIndex(-1);
    for (logins->MoveFirst(); !logins->Eof(); logins->MoveNext()) {
        cmbLogin->addItem(logins->Valor(QStringLiteral("LoginName")).toString());
        if (!login.isEmpty() && cmbLogin->itemText(cmbLogin->count() - 1) == login)
            cmbLogin->setCurrentIndex(cmbLogin->count() - 1);
    }
}

void frmUsuariosCad::NovoLogin()
{
    frmLoginsCad janela(m_ambiente, this);
    janela.CarregarForm(m_sessao, true);
    CarregarLogins(QString());
}

void frmUsuariosCad::AoMarcar(QListWidgetItem* item)
{
    if (item->text() != Public || item->checkState() == Qt::Checked)
        return;
    {
        const QSignalBlocker bloqueio(lstGrupos);
        item->setCheckState(Qt::Checked);
    }
    m_ambiente.Prompt().MsgBox(QStringLiteral("O grupo 'public' não pode ser desmarcado"),
                               vb::Information,
                               globais::TituloAplicativo());
}

bool frmUsuariosCad::Falhou() { return MostrarErroSessao(m_ambiente.Prompt(), *m_sessao); }

void frmUsuariosCad::btnConf_Click()
{
    clsPrompt& prompt = m_ambiente.Prompt();
    if (cmbLogin->isEnabled() && (cmbLogin->currentText() == Novo || cmbLogin->currentText().isEmpty())) {
        prompt.MsgBox(QStringLiteral("Informe o Login para esse Usuário"), vb::Information);
        cmbLogin->setFocus();
        return;
    }
    if (txtUsuario->isEnabled() && txtUsuario->text().isEmpty()) {
        prompt.MsgBox(QStringLiteral("Informe o Usuário"), vb::Information);
        txtUsuario->setFocus();
        return;
    }
    bool ok;
    {
        clsAmpulheta ampulheta(prompt);
        ok = Gravar();
    }
    if (ok)
        close();
}

bool frmUsuariosCad::Gravar()
{
    const QString usuario = txtUsuario->text();
    if (m_novo) {
        if (!m_sessao->CriarUsuario(m_banco, cmbLogin->currentText(), usuario))
            return Falhou();
        // Made: a second confirm after a failed role only changes roles.
        m_novo = false;
        HabilitarControle(txtUsuario, false);
        HabilitarControle(cmbLogin, false);
        return AcertarPapeis(usuario, true);
    }
    return AcertarPapeis(usuario, false);
}

bool frmUsuariosCad::AcertarPapeis(const QString& usuario, bool novo)
{
    QSet<QString> marcados;
    for (int i = 0; i < lstGrupos->count(); ++i)
        if (lstGrupos->item(i)->checkState() == Qt::Checked && lstGrupos->item(i)->text() != Public)
            marcados << lstGrupos->item(i)->text();
    if (novo && marcados.isEmpty())
        return true; // a new user in "public" only: nothing more to send
    RecordsetPtr membros;
    if (!m_sessao->MembrosPapeisBanco(m_banco, membros))
        return !novo ? Falhou() : true;
    QSet<QString> meus;
    for (membros->MoveFirst(); !membros->Eof(); membros->MoveNext())
        if (membros->Valor(QStringLiteral("MemberName")).toString() == usuario)
            meus << membros->Valor(QStringLiteral("DbRole")).toString();
    // Memberships no longer checked go first, then the checked ones the user lacks.
    QStringList sair(meus.begin(), meus.end());
    sair.sort();
    for (const QString& papel : sair)
        if (!marcados.contains(papel) && papel != Public && !m_sessao->PapelBanco(m_banco, papel, usuario, false))
            return Falhou();
    for (int i = 0; i < lstGrupos->count(); ++i) {
        const QString papel = lstGrupos->item(i)->text();
        if (marcados.contains(papel) && !meus.contains(papel) && !m_sessao->PapelBanco(m_banco, papel, usuario, true))
            return Falhou();
    }
    return true;
}
