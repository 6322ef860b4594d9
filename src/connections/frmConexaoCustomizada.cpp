#include "frmConexaoCustomizada.h"

#include "connections/clsData.h"
#include "platform/clsConnStr.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlOdbc.h"

#include <QComboBox>
#include <QEvent>
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

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Driver ODBC"), cmbDriver);
    form->addRow(QStringLiteral("&Fonte de dados"), cmbFonte);
    form->addRow(QStringLiteral("&Servidor"), txtServidor);
    form->addRow(QStringLiteral("&Porta"), txtPorta);
    form->addRow(QStringLiteral("&Banco de dados"), txtBanco);
    form->addRow(QStringLiteral("&Usuário"), txtUsuario);
    form->addRow(QStringLiteral("S&enha"), txtSenha);
    form->addRow(QStringLiteral("S&tring de conexão"), txtConnStr);

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
    txtConnStr->installEventFilter(this);
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
    txtConnStr->setText(MascararSenha(m_connStr));
}

QString frmConexaoCustomizada::ConnectionString() const
{
    // While the box shows what the fields composed, with the password masked, that is the string.
    const QString texto = txtConnStr->text();
    return (texto == MascararSenha(m_connStr) ? m_connStr : texto).trimmed();
}

bool frmConexaoCustomizada::eventFilter(QObject* objeto, QEvent* evento)
{
    // The user going into the box to edit it gets the string as it is; leaving it unchanged masks
    // the password again.
    if (objeto == txtConnStr && evento->type() == QEvent::FocusIn && txtConnStr->text() == MascararSenha(m_connStr))
        txtConnStr->setText(m_connStr);
    else if (objeto == txtConnStr && evento->type() == QEvent::FocusOut && txtConnStr->text() == m_connStr)
        txtConnStr->setText(MascararSenha(m_connStr));
    return QDialog::eventFilter(objeto, evento);
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
