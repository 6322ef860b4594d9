#include "frmWebServiceGen.h"

#include "mdlWebServiceGen.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename T> T* Criar(QWidget* pai, const char* nome)
{
    auto* w = new T(pai);
    w->setObjectName(QLatin1String(nome));
    return w;
}

QLabel* Rotulo(QWidget* pai, const char* nome, const QString& texto)
{
    auto* l = Criar<QLabel>(pai, nome);
    l->setText(texto);
    return l;
}

} // namespace

frmWebServiceGen::frmWebServiceGen(clsPrompt& prompt, QWidget* pai) : QDialog(pai), m_prompt(prompt)
{
    setObjectName(QStringLiteral("frmWebServiceGen"));
    setWindowTitle(QStringLiteral("AspNet WebService Generator"));

    // Class name and namespace
    fraPrincipal = Criar<QGroupBox>(this, "fraPrincipal");
    lblClassName = Rotulo(fraPrincipal, "lblClassName", QStringLiteral("Class Name"));
    txtClassName = Criar<QLineEdit>(fraPrincipal, "txtClassName");
    txtClassName->setText(QStringLiteral("WebData"));
    lblHttpPath = Rotulo(fraPrincipal, "lblHttpPath", QStringLiteral("HTTP Path for the Web Service"));
    txtHttpPath = Criar<QLineEdit>(fraPrincipal, "txtHttpPath");
    txtHttpPath->setText(QStringLiteral("http://www.YourSite.com/WebData"));
    auto* gPrincipal = new QGridLayout(fraPrincipal);
    gPrincipal->addWidget(lblClassName, 0, 0);
    gPrincipal->addWidget(txtClassName, 0, 1);
    gPrincipal->addWidget(lblHttpPath, 1, 0);
    gPrincipal->addWidget(txtHttpPath, 1, 1);

    // Access file
    optConAccess = Criar<QRadioButton>(this, "optConAccess");
    optConAccess->setText(QStringLiteral("Access "));
    fraConAccess = Criar<QGroupBox>(this, "fraConAccess");
    lblConAccess = Rotulo(fraConAccess, "lblConAccess", QStringLiteral("Remote path for the mdb file"));
    txtConAccess = Criar<QLineEdit>(fraConAccess, "txtConAccess");
    txtConAccess->setText(QStringLiteral("F:\\YourSitePath\\WebData\\WebData.mdb"));
    auto* vAccess = new QVBoxLayout(fraConAccess);
    vAccess->addWidget(lblConAccess);
    vAccess->addWidget(txtConAccess);

    // SQL Server
    optConSql = Criar<QRadioButton>(this, "optConSql");
    optConSql->setText(QStringLiteral("SQL Server"));
    fraConSql = Criar<QGroupBox>(this, "fraConSql");
    lblConSqlServer = Rotulo(fraConSql, "lblConSqlServer", QStringLiteral("Server"));
    txtConSqlServer = Criar<QLineEdit>(fraConSql, "txtConSqlServer");
    lblConSqlDatabase = Rotulo(fraConSql, "lblConSqlDatabase", QStringLiteral("Database"));
    txtConSqlDatabase = Criar<QLineEdit>(fraConSql, "txtConSqlDatabase");
    lblConSqlUser = Rotulo(fraConSql, "lblConSqlUser", QStringLiteral("User"));
    txtConSqlUser = Criar<QLineEdit>(fraConSql, "txtConSqlUser");
    lblConSqlPass = Rotulo(fraConSql, "lblConSqlPass", QStringLiteral("Pass"));
    txtConSqlPass = Criar<QLineEdit>(fraConSql, "txtConSqlPass");
    auto* gSql = new QGridLayout(fraConSql);
    gSql->addWidget(lblConSqlServer, 0, 0);
    gSql->addWidget(txtConSqlServer, 1, 0);
    gSql->addWidget(lblConSqlDatabase, 0, 1);
    gSql->addWidget(txtConSqlDatabase, 1, 1);
    gSql->addWidget(lblConSqlUser, 2, 0);
    gSql->addWidget(txtConSqlUser, 3, 0);
    gSql->addWidget(lblConSqlPass, 2, 1);
    gSql->addWidget(txtConSqlPass, 3, 1);

    // The connection string written into the service
    fraConnectionString = Criar<QGroupBox>(this, "fraConnectionString");
    lblConnectionString
        = Rotulo(fraConnectionString, "lblConnectionString", QStringLiteral("Remote path for the mdb file"));
    txtConnectionString = Criar<QLineEdit>(fraConnectionString, "txtConnectionString");
    auto* vConn = new QVBoxLayout(fraConnectionString);
    vConn->addWidget(lblConnectionString);
    vConn->addWidget(txtConnectionString);

    btnGenerate = Criar<QPushButton>(this, "btnGenerate");
    btnGenerate->setText(QStringLiteral("Generate"));
    btnGenerate->setAutoDefault(false);

    auto* v = new QVBoxLayout(this);
    v->addWidget(fraPrincipal);
    v->addWidget(optConAccess);
    v->addWidget(fraConAccess);
    v->addWidget(optConSql);
    v->addWidget(fraConSql);
    v->addWidget(fraConnectionString);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnGenerate);
    v->addLayout(botoes);
    setMinimumWidth(540);

    connect(optConAccess, &QRadioButton::toggled, this, &frmWebServiceGen::AlternarTipo);
    connect(optConSql, &QRadioButton::toggled, this, &frmWebServiceGen::AlternarTipo);
    for (QLineEdit* caixa : {txtConAccess, txtConSqlServer, txtConSqlDatabase, txtConSqlUser, txtConSqlPass})
        connect(caixa, &QLineEdit::textChanged, this, &frmWebServiceGen::MontarConnectionString);
    connect(btnGenerate, &QPushButton::clicked, this, &frmWebServiceGen::Gerar);

    optConAccess->setChecked(true);
}

void frmWebServiceGen::HabilitarCaixa(QLineEdit* caixa, bool habilitar)
{
    caixa->setEnabled(habilitar);
    QPalette p = caixa->palette();
    const QPalette sistema = QApplication::palette();
    p.setColor(QPalette::Base, habilitar ? sistema.color(QPalette::Base) : sistema.color(QPalette::Button));
    caixa->setPalette(p);
}

void frmWebServiceGen::AlternarTipo()
{
    const bool access = optConAccess->isChecked();
    HabilitarCaixa(txtConAccess, access);
    for (QLineEdit* caixa : {txtConSqlServer, txtConSqlDatabase, txtConSqlUser, txtConSqlPass})
        HabilitarCaixa(caixa, !access);
    MontarConnectionString();
}

void frmWebServiceGen::MontarConnectionString()
{
    if (optConAccess->isChecked())
        txtConnectionString->setText(webservicegen::ConnStrAccess(txtConAccess->text()));
    else
        txtConnectionString->setText(webservicegen::ConnStrSql(txtConSqlServer->text(),
                                                               txtConSqlDatabase->text(),
                                                               txtConSqlUser->text(),
                                                               txtConSqlPass->text()));
    txtConnectionString->setCursorPosition(0); // show where the string begins
}

void frmWebServiceGen::Gerar()
{
    const QString classe = txtClassName->text();
    if (!webservicegen::NomeClasseValido(classe)) {
        m_prompt.MsgBox(webservicegen::MensagemNomeClasseInvalido(classe), vb::Exclamation);
        txtClassName->setFocus();
        return;
    }
    const QString arquivo = m_prompt.ArquivoSalvar(QStringLiteral("Select destination to save WebService"),
                                                   QString(),
                                                   QStringLiteral("AspNet WebService (asmx)|*.asmx"));
    if (arquivo.isEmpty() || !PodeSobrescrever(m_prompt, arquivo))
        return;
    const webservicegen::DadosWebService dados{classe,
                                               txtHttpPath->text(),
                                               txtConnectionString->text(),
                                               globais::ObterVersao(),
                                               optConSql->isChecked()};
    QString erro;
    if (!webservicegen::GravarPagina(arquivo, webservicegen::GerarPagina(dados), &erro)) {
        m_prompt.MsgBox(erro, vb::Critical);
        return;
    }
    m_prompt.MsgBox(QStringLiteral("WebService generated with sucess"), vb::Information);
}
