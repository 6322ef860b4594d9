#include "frmConexaoCustomizada.h"

#include "connections/clsData.h"
#include "platform/clsConnStr.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlOdbc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmConexaoCustomizada::frmConexaoCustomizada(clsAmbienteDados& ambiente, QWidget* pai)
    : QDialog(pai), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("frmConexaoCustomizada"));
    setWindowTitle(QStringLiteral("Conexão Customizada"));
    auto nomear = [](QWidget* w, const char* nome) {
        w->setObjectName(QString::fromUtf8(nome));
        return w;
    };
    cmbDriver = new QComboBox(this);
    nomear(cmbDriver, "cmbDriver");
    cmbDriver->addItems(odbc::Drivers());
    cmbFonte = new QComboBox(this);
    nomear(cmbFonte, "cmbFonte");
    cmbFonte->addItem(QString());
    for (const FonteOdbc& f : odbc::Fontes())
        cmbFonte->addItem(f.nome + QStringLiteral(" (") + f.driver + u')', f.nome);
    txtServidor = new QLineEdit(QStringLiteral("127.0.0.1"), this);
    nomear(txtServidor, "txtServidor");
    txtPorta = new QLineEdit(this);
    nomear(txtPorta, "txtPorta");
    txtBanco = new QLineEdit(this);
    nomear(txtBanco, "txtBanco");
    txtUsuario = new QLineEdit(this);
    nomear(txtUsuario, "txtUsuario");
    txtSenha = new QLineEdit(this);
    nomear(txtSenha, "txtSenha");
    txtSenha->setEchoMode(QLineEdit::Password);
    txtConnStr = new QLineEdit(this);
    nomear(txtConnStr, "txtConnStr");
    txtConnStr->setToolTip(QStringLiteral("A string de conexão inteira; pode ser digitada ou colada aqui."));
    chkMostrarSenha = new QCheckBox(QStringLiteral("&Mostrar senha"), this);
    nomear(chkMostrarSenha, "chkMostrarSenha");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Driver ODBC"), cmbDriver);
    form->addRow(QStringLiteral("&Fonte de dados"), cmbFonte);
    form->addRow(QStringLiteral("&Servidor"), txtServidor);
    form->addRow(QStringLiteral("&Porta"), txtPorta);
    form->addRow(QStringLiteral("&Banco de dados"), txtBanco);
    form->addRow(QStringLiteral("&Usuário"), txtUsuario);
    form->addRow(QStringLiteral("S&enha"), txtSenha);
    form->addRow(QStringLiteral("S&tring de conexão"), txtConnStr);
    form->addRow(QString(), chkMostrarSenha);

    btnTestar = new QPushButton(QStringLiteral("Testar Conexão"), this);
    nomear(btnTestar, "btnTestar");
    btnConf = new QPushButton(QStringLiteral("&Ok"), this);
    nomear(btnConf, "btnConf");
    btnConf->setDefault(true);
    btnCanc = new QPushButton(QStringLiteral("&Cancelar"), this);
    nomear(btnCanc, "btnCanc");
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(btnTestar);
    botoes->addStretch();
    botoes->addWidget(btnConf);
    botoes->addWidget(btnCanc);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(botoes);
    setMinimumWidth(520);

    for (QLineEdit* e : {txtServidor, txtPorta, txtBanco, txtUsuario, txtSenha})
        connect(e, &QLineEdit::textEdited, this, &frmConexaoCustomizada::MontarConnStr);
    connect(cmbDriver, &QComboBox::currentIndexChanged, this, &frmConexaoCustomizada::MontarConnStr);
    connect(cmbFonte, &QComboBox::currentIndexChanged, this, &frmConexaoCustomizada::MontarConnStr);
    connect(txtConnStr, &QLineEdit::textChanged, this, &frmConexaoCustomizada::AoMudarString);
    connect(chkMostrarSenha, &QCheckBox::toggled, this, [this](bool mostrar) {
        txtSenha->setEchoMode(mostrar ? QLineEdit::Normal : QLineEdit::Password);
        MostrarString();
    });
    connect(btnTestar, &QPushButton::clicked, this, &frmConexaoCustomizada::TestarConexao);
    connect(btnConf, &QPushButton::clicked, this, [this] {
        if (!ConnectionString().isEmpty())
            accept();
    });
    connect(btnCanc, &QPushButton::clicked, this, &QDialog::reject);
    MontarConnStr();
}

void frmConexaoCustomizada::MontarConnStr()
{
    m_connStr = odbc::MontarConnStrOdbc(cmbDriver->currentText(),
                                        cmbFonte->currentData().toString(),
                                        txtServidor->text(),
                                        txtPorta->text(),
                                        txtBanco->text(),
                                        txtUsuario->text(),
                                        txtSenha->text());
    MostrarString();
}

QString frmConexaoCustomizada::ConnectionString() const { return m_connStr.trimmed(); }

void frmConexaoCustomizada::MostrarString()
{
    const QString texto = chkMostrarSenha->isChecked() ? m_connStr : MascararSenha(m_connStr);
    if (txtConnStr->text() == texto)
        return;
    const int cursor = txtConnStr->cursorPosition();
    m_mostrando = true;
    txtConnStr->setText(texto);
    txtConnStr->setCursorPosition(qMin(cursor, int(texto.size())));
    m_mostrando = false;
}

void frmConexaoCustomizada::AoMudarString(const QString& texto)
{
    if (m_mostrando)
        return;
    // The box shows passwords masked: a "***" stands for the password already known; a string typed
    // or pasted with its password in clear is taken whole and then shown masked.
    m_connStr = chkMostrarSenha->isChecked() ? texto : DesmascararSenha(texto, m_connStr);
    SeguirString();
    MostrarString();
}

void frmConexaoCustomizada::SeguirString()
{
    // The fields follow a string typed or pasted whole, so they never disagree with it.
    const clsConnStr cs(m_connStr);
    const QSignalBlocker b1(cmbDriver);
    const QSignalBlocker b2(cmbFonte);
    cmbDriver->setCurrentIndex(cmbDriver->findText(cs.Valor(QStringLiteral("Driver")).trimmed()));
    cmbFonte->setCurrentIndex(qMax(0, cmbFonte->findData(cs.Valor(QStringLiteral("DSN")))));
    const std::pair<QLineEdit*, QStringList> campos[] = {
        {txtServidor, {QStringLiteral("Server"), QStringLiteral("Servername"), QStringLiteral("Host")}},
        {txtPorta, {QStringLiteral("Port")}},
        {txtBanco, {QStringLiteral("Database")}},
        {txtUsuario,
         {QStringLiteral("Uid"), QStringLiteral("User"), QStringLiteral("Username"), QStringLiteral("User ID")}},
        {txtSenha, {QStringLiteral("Pwd"), QStringLiteral("Password")}},
    };
    for (const auto& [caixa, chaves] : campos) {
        QString valor;
        for (const QString& chave : chaves)
            if (cs.Contem(chave))
                valor = cs.Valor(chave);
        caixa->setText(valor);
    }
}

bool frmConexaoCustomizada::TestarConexao()
{
    clsData dados(m_ambiente);
    bool ok = false;
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        ok = dados.OpenConnection(ConnectionString(), false, false);
        dados.CloseConnection();
    }
    if (ok)
        m_ambiente.Prompt().MsgBox(QStringLiteral("Conexão efetuada com sucesso."),
                                   vb::Information,
                                   globais::TituloAplicativo());
    else
        m_ambiente.Prompt().MsgBox(dados.ErrMsg(), vb::Critical, globais::TituloAplicativo());
    return ok;
}

QString PedirConexaoCustomizada(clsAmbienteDados& ambiente, QWidget* pai)
{
    frmConexaoCustomizada janela(ambiente, pai);
    if (ambiente.Prompt().ExibirModal(&janela) != QDialog::Accepted)
        return {};
    return janela.ConnectionString();
}
