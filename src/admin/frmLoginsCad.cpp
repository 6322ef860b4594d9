#include "frmLoginsCad.h"

#include "connections/clsAmbienteDados.h"
#include "connections/clsSqlDmoSessao.h"
#include "platform/mdlGlobais.h"
#include "uctComumAdmin.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QVBoxLayout>

namespace {
const QString Padrao = QStringLiteral("<Padrão>");

QString Texto(const RecordsetPtr& rs, const char* campo) { return rs->Valor(QString::fromLatin1(campo)).toString(); }
} // namespace

frmLoginsCad::frmLoginsCad(clsAmbienteDados& ambiente, QWidget* pai) : QDialog(pai), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("frmLoginsCad"));
    auto* layout = new QVBoxLayout(this);
    auto* topo = new QFormLayout;
    txtLogin = new QLineEdit(this);
    txtLogin->setObjectName(QStringLiteral("txtLogin"));
    topo->addRow(QStringLiteral("Login do Servidor"), txtLogin);
    layout->addLayout(topo);

    fraAutenticacao = new QGroupBox(QStringLiteral("Autenticação"), this);
    fraAutenticacao->setObjectName(QStringLiteral("fraAutenticacao"));
    auto* aut = new QGridLayout(fraAutenticacao);
    optAutSql = new QRadioButton(QStringLiteral("Autenticação do SQL Server"), fraAutenticacao);
    optAutSql->setObjectName(QStringLiteral("optAutSql"));
    txtAutSqlSenha = new QLineEdit(fraAutenticacao);
    txtAutSqlSenha->setObjectName(QStringLiteral("txtAutSqlSenha"));
    txtAutSqlSenha->setEchoMode(QLineEdit::Password);
    optAutWin = new QRadioButton(QStringLiteral("Autenticação do Windows"), fraAutenticacao);
    optAutWin->setObjectName(QStringLiteral("optAutWin"));
    m_grupoAut = new QButtonGroup(this);
    m_grupoAut->addButton(optAutSql);
    m_grupoAut->addButton(optAutWin);
    auto* seguranca = new QGroupBox(QStringLiteral("Security Access"), fraAutenticacao);
    auto* seg = new QHBoxLayout(seguranca);
    optAutWinSecGrant = new QRadioButton(QStringLiteral("Grant"), seguranca);
    optAutWinSecGrant->setObjectName(QStringLiteral("optAutWinSecGrant"));
    optAutWinSecDeny = new QRadioButton(QStringLiteral("Deny"), seguranca);
    optAutWinSecDeny->setObjectName(QStringLiteral("optAutWinSecDeny"));
    seg->addWidget(optAutWinSecGrant);
    seg->addWidget(optAutWinSecDeny);
    cmbAutWinDominio = new QComboBox(fraAutenticacao);
    cmbAutWinDominio->setObjectName(QStringLiteral("cmbAutWinDominio"));
    aut->addWidget(optAutSql, 0, 0, 1, 2);
    aut->addWidget(new QLabel(QStringLiteral("Senha"), fraAutenticacao), 1, 0);
    aut->addWidget(txtAutSqlSenha, 1, 1);
    aut->addWidget(optAutWin, 2, 0, 1, 2);
    aut->addWidget(seguranca, 3, 0, 1, 2);
    aut->addWidget(new QLabel(QStringLiteral("Domínio"), fraAutenticacao), 4, 0);
    aut->addWidget(cmbAutWinDominio, 4, 1);
    layout->addWidget(fraAutenticacao);

    auto* padroes = new QFormLayout;
    cmbDefDataBase = new QComboBox(this);
    cmbDefDataBase->setObjectName(QStringLiteral("cmbDefDataBase"));
    cmbDefLanguage = new QComboBox(this);
    cmbDefLanguage->setObjectName(QStringLiteral("cmbDefLanguage"));
    padroes->addRow(QStringLiteral("Banco de Dados Padrão"), cmbDefDataBase);
    padroes->addRow(QStringLiteral("Linguagem Padrão"), cmbDefLanguage);
    layout->addLayout(padroes);
    layout->addWidget(new QLabel(QStringLiteral("Grupos do Servidor"), this));
    lstGrupos = new QListWidget(this);
    lstGrupos->setObjectName(QStringLiteral("lstGrupos"));
    layout->addWidget(lstGrupos, 1);
    btnConf = new QPushButton(QStringLiteral("&Confirmar"), this);
    btnConf->setObjectName(QStringLiteral("btnConf"));
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    layout->addLayout(botoes);
    resize(420, 520);

    connect(optAutSql, &QRadioButton::clicked, this, [this] { HabilitarAutenticacao(false); });
    connect(optAutWin, &QRadioButton::clicked, this, [this] { HabilitarAutenticacao(true); });
    connect(btnConf, &QPushButton::clicked, this, &frmLoginsCad::btnConf_Click);
}

void frmLoginsCad::CarregarForm(std::shared_ptr<clsSqlDmoSessao> sessao,
                                bool blnModal,
                                const QString& strLogin,
                                const QString& strAutenticacao,
                                const QString& strDefBancoDados,
                                const QString& strDefLinguagem,
                                const QString& strGrantDeny,
                                qint16 strTagIndexConexao)
{
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        m_sessao = std::move(sessao);
        m_novo = strLogin.isEmpty();
        txtLogin->setText(strLogin);
        // A Windows group is neither kind: both options stay clear.
        m_grupoAut->setExclusive(false);
        optAutSql->setChecked(strAutenticacao.isEmpty() || strAutenticacao == u"SQL");
        optAutWin->setChecked(strAutenticacao == u"NT");
        m_grupoAut->setExclusive(true);
        optAutWinSecDeny->setChecked(strGrantDeny == u"Negado");
        optAutWinSecGrant->setChecked(strGrantDeny != u"Negado");
        HabilitarAutenticacao(!optAutSql->isChecked());
        txtLogin->setEnabled(m_novo);
        optAutSql->setEnabled(m_novo);
        optAutWin->setEnabled(m_novo);
        HabilitarControle(cmbAutWinDominio, m_novo && !optAutSql->isChecked());
        setWindowTitle(m_novo ? QStringLiteral("Novo Login") : QStringLiteral("Login: ") + strLogin);
        CarregarBancos(strDefBancoDados);
        CarregarLinguagens(strDefLinguagem);
        CarregarPapeis(strLogin);
    }
    if (blnModal) {
        m_ambiente.Prompt().ExibirModal(this);
        return;
    }
    Tag = QString::number(strTagIndexConexao);
    setWindowFlag(Qt::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);
    show();
    (txtLogin->isEnabled() ? static_cast<QWidget*>(txtLogin) : cmbDefDataBase)->setFocus();
}

void frmLoginsCad::HabilitarAutenticacao(bool windows)
{
    HabilitarControle(cmbAutWinDominio, windows);
    optAutWinSecDeny->setEnabled(windows);
    optAutWinSecGrant->setEnabled(windows);
    HabilitarControle(txtAutSqlSenha, !windows);
}

void frmLoginsCad::CarregarBancos(const QString& banco)
{
    cmbDefDataBase->clear();
    RecordsetPtr rs;
    if (!m_sessao->Bancos(rs))
        return;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        cmbDefDataBase->addItem(Texto(rs, "Name"));
    for (int i = 0; i < cmbDefDataBase->count(); ++i)
        if (banco.isEmpty() ? cmbDefDataBase->itemText(i).toLower() == u"master" : cmbDefDataBase->itemText(i) == banco)
            cmbDefDataBase->setCurrentIndex(i);
}

void frmLoginsCad::CarregarLinguagens(const QString& linguagem)
{
    cmbDefLanguage->clear();
    cmbDefLanguage->addItem(Padrao, QString());
    if (!m_sessao->Linguagens(m_linguagens))
        return;
    m_linguagens->setSort(QStringLiteral("alias"));
    for (m_linguagens->MoveFirst(); !m_linguagens->Eof(); m_linguagens->MoveNext()) {
        cmbDefLanguage->addItem(Texto(m_linguagens, "alias"), Texto(m_linguagens, "name"));
        if (Texto(m_linguagens, "name") == linguagem && !linguagem.isEmpty())
            cmbDefLanguage->setCurrentIndex(cmbDefLanguage->count() - 1);
    }
}

void frmLoginsCad::CarregarPapeis(const QString& login)
{
    lstGrupos->clear();
    RecordsetPtr membros;
    if (!m_sessao->MembrosPapeisServidor(membros) || !m_sessao->PapeisServidor(m_papeis))
        return;
    QSet<QString> meus;
    for (membros->MoveFirst(); !membros->Eof(); membros->MoveNext())
        if (Texto(membros, "MemberName") == login)
            meus << Texto(membros, "ServerRole");
    for (m_papeis->MoveFirst(); !m_papeis->Eof(); m_papeis->MoveNext()) {
        auto* item = new QListWidgetItem(Texto(m_papeis, "Description"), lstGrupos);
        item->setData(Qt::UserRole, Texto(m_papeis, "ServerRole"));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(meus.contains(Texto(m_papeis, "ServerRole")) ? Qt::Checked : Qt::Unchecked);
    }
}

QString frmLoginsCad::LinguagemEscolhida() const { return cmbDefLanguage->currentData().toString(); }

bool frmLoginsCad::Falhou() { return MostrarErroSessao(m_ambiente.Prompt(), *m_sessao); }

void frmLoginsCad::btnConf_Click()
{
    clsPrompt& prompt = m_ambiente.Prompt();
    if (m_novo && txtLogin->text().isEmpty()) {
        prompt.MsgBox(QStringLiteral("Informe o Login"), vb::Information);
        txtLogin->setFocus();
        return;
    }
    if (m_novo && optAutSql->isChecked() && txtAutSqlSenha->text().isEmpty() && fraAutenticacao->isEnabled()) {
        prompt.MsgBox(QStringLiteral("Informe a Senha para o Login"), vb::Information);
        txtAutSqlSenha->setFocus();
        return;
    }
    bool ok;
    {
        clsAmpulheta ampulheta(prompt);
        ok = Gravar(txtLogin->text());
    }
    if (!ok)
        return;
    accept();
    if (testAttribute(Qt::WA_DeleteOnClose))
        close();
}

bool frmLoginsCad::Gravar(const QString& login)
{
    const bool windows = !optAutSql->isChecked();
    const QString banco = cmbDefDataBase->currentText();
    const QString senha = txtAutSqlSenha->text();
    if (m_novo) {
        if (!m_sessao->CriarLogin(login, windows, senha, banco, LinguagemEscolhida()))
            return Falhou();
        m_novo = false; // a second confirm after a later failure changes the login made here
        txtLogin->setEnabled(false);
        optAutSql->setEnabled(false);
        optAutWin->setEnabled(false);
    } else {
        if (!m_sessao->AlterarLogin(login, banco, LinguagemEscolhida()))
            return Falhou();
        if (!windows && !senha.isEmpty() && !m_sessao->DefinirSenhaLogin(login, senha))
            return Falhou();
    }
    if (windows && !m_sessao->NegarLogin(login, optAutWinSecDeny->isChecked()))
        return Falhou();
    return AcertarPapeis(login);
}

bool frmLoginsCad::AcertarPapeis(const QString& login)
{
    RecordsetPtr membros;
    if (!m_sessao->MembrosPapeisServidor(membros))
        return true; // the memberships cannot be read: nothing to compare against
    QSet<QString> meus;
    for (membros->MoveFirst(); !membros->Eof(); membros->MoveNext())
        if (Texto(membros, "MemberName") == login)
            meus << Texto(membros, "ServerRole");
    // Memberships no longer checked go first, then the checked ones the login lacks.
    for (const bool incluir : {false, true})
        for (int i = 0; i < lstGrupos->count(); ++i) {
            const QString papel = lstGrupos->item(i)->data(Qt::UserRole).toString();
            const bool marcado = lstGrupos->item(i)->checkState() == Qt::Checked;
            if (marcado == incluir && marcado != meus.contains(papel)
                && !m_sessao->PapelServidor(login, papel, incluir))
                return Falhou();
        }
    return true;
}
