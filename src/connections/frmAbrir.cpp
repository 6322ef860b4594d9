#include "frmAbrir.h"

#include "connections/mdlCriarBanco.h"
#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlServidores.h"
#include "platform/clsPrompt.h"
#include "platform/clsServidoresRegistrados.h"
#include "platform/mdlGlobais.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The server box fills its list on the first drop-down (and again while it stays empty).
class CaixaServidores : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> aoAbrir;
    void showPopup() override
    {
        if (count() == 0 && aoAbrir)
            aoAbrir();
        QComboBox::showPopup();
    }
};

// Database files of every kind the program opens come first, so a new user sees their file.
const QString FiltroAccess = QStringLiteral("Bancos de dados (*.mdb *.accdb *.db *.sqlite *.sqlite3);;"
                                            "Microsoft Access (*.mdb *.accdb);;Todos os Arquivos (*.*)");

// Enabled boxes take the window background, disabled ones the button face.
void Habilitar(QWidget* w, bool habilitado)
{
    w->setEnabled(habilitado);
    QPalette p = QApplication::palette();
    if (!habilitado)
        for (auto grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            p.setColor(grupo, QPalette::Base, p.color(grupo, QPalette::Button));
    w->setPalette(p);
}

QString PastaPrograma() { return QCoreApplication::applicationDirPath(); }

} // namespace

frmAbrir::frmAbrir(clsArvore& arvore, QWidget* pai) : QDialog(pai), m_arvore(arvore)
{
    setObjectName(QStringLiteral("frmAbrir"));
    setWindowTitle(QStringLiteral("Connection Select"));
    auto nomear = [](QWidget* w, const char* nome) { w->setObjectName(QString::fromUtf8(nome)); };

    optTipoSql = new QRadioButton(QStringLiteral("Sql Server / Msde"), this);
    nomear(optTipoSql, "optTipoSql");
    auto* fraSql = new QGroupBox(this);
    nomear(fraSql, "fraSql");
    auto* servidores = new CaixaServidores(fraSql);
    servidores->aoAbrir = [this] { CarregarListaServidores(); };
    txtSqlServidor = servidores;
    txtSqlServidor->setEditable(true);
    nomear(txtSqlServidor, "txtSqlServidor");
    optAutSql = new QRadioButton(QStringLiteral("Sql Autentification"), fraSql);
    nomear(optAutSql, "optAutSql");
    optAutWin = new QRadioButton(QStringLiteral("Windows Autentification"), fraSql);
    nomear(optAutWin, "optAutWin");
    optAutSql->setChecked(true);
    auto* fraAutSql = new QGroupBox(fraSql);
    nomear(fraAutSql, "fraAutSql");
    txtSqlUsuario = new QLineEdit(fraAutSql);
    nomear(txtSqlUsuario, "txtSqlUsuario");
    txtSqlSenha = new QLineEdit(fraAutSql);
    nomear(txtSqlSenha, "txtSqlSenha");
    txtSqlSenha->setEchoMode(QLineEdit::Password);
    auto* formAut = new QFormLayout(fraAutSql);
    formAut->addRow(QStringLiteral("User"), txtSqlUsuario);
    formAut->addRow(QStringLiteral("Password"), txtSqlSenha);
    auto* autenticacao = new QButtonGroup(fraSql);
    autenticacao->addButton(optAutSql);
    autenticacao->addButton(optAutWin);
    auto* formSql = new QFormLayout(fraSql);
    formSql->addRow(QStringLiteral("Server"), txtSqlServidor);
    auto* linhaAut = new QHBoxLayout;
    linhaAut->addWidget(optAutSql);
    linhaAut->addWidget(optAutWin);
    formSql->addRow(linhaAut);
    formSql->addRow(fraAutSql);

    optTipoAccess = new QRadioButton(QStringLiteral("Microsoft Access"), this);
    nomear(optTipoAccess, "optTipoAccess");
    auto* fraAccess = new QGroupBox(this);
    nomear(fraAccess, "fraAccess");
    txtAccessPath = new QLineEdit(fraAccess);
    nomear(txtAccessPath, "txtAccessPath");
    picAccessPath = new QToolButton(fraAccess);
    nomear(picAccessPath, "picAccessPath");
    picAccessPath->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    picAccessPath->setToolTip(QStringLiteral("Click to select the MDB file"));
    btnNovo = new QToolButton(fraAccess);
    nomear(btnNovo, "btnNovo");
    btnNovo->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    btnNovo->setToolTip(QStringLiteral("Click to create a new database"));
    auto* linhaAccess = new QHBoxLayout;
    linhaAccess->addWidget(txtAccessPath, 1);
    linhaAccess->addWidget(picAccessPath);
    linhaAccess->addWidget(btnNovo);
    auto* formAccess = new QFormLayout(fraAccess);
    formAccess->addRow(QStringLiteral("Path for the MDB file"), linhaAccess);

    optTipoWebService = new QRadioButton(QStringLiteral("AspNet Web Service"), this);
    nomear(optTipoWebService, "optTipoWebService");
    auto* fraWebService = new QGroupBox(this);
    nomear(fraWebService, "fraWebService");
    txtWebService = new QLineEdit(fraWebService);
    nomear(txtWebService, "txtWebService");
    auto* formWeb = new QFormLayout(fraWebService);
    formWeb->addRow(QStringLiteral("Http Url for the Web Service"), txtWebService);

    auto* tipos = new QButtonGroup(this);
    tipos->addButton(optTipoSql);
    tipos->addButton(optTipoAccess);
    tipos->addButton(optTipoWebService);

    btnConf = new QPushButton(QStringLiteral("&Ok"), this);
    nomear(btnConf, "btnConf");
    btnConf->setDefault(true);
    btnCanc = new QPushButton(QStringLiteral("&Cancel"), this);
    nomear(btnCanc, "btnCanc");
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    botoes->addWidget(btnCanc);

    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : std::initializer_list<QWidget*>{optTipoSql,
                                                      fraSql,
                                                      optTipoAccess,
                                                      fraAccess,
                                                      optTipoWebService,
                                                      fraWebService})
        layout->addWidget(w);
    layout->addLayout(botoes);
    setMinimumWidth(460);

    connect(optTipoSql, &QRadioButton::clicked, this, [this] { ExibirTipo(QStringLiteral("S")); });
    connect(optTipoAccess, &QRadioButton::clicked, this, [this] { ExibirTipo(QStringLiteral("A")); });
    connect(optTipoWebService, &QRadioButton::clicked, this, [this] { ExibirTipo(QStringLiteral("W")); });
    connect(optAutSql, &QRadioButton::clicked, this, &frmAbrir::AtualizarAutenticacao);
    connect(optAutWin, &QRadioButton::clicked, this, &frmAbrir::AtualizarAutenticacao);
    connect(picAccessPath, &QToolButton::clicked, this, &frmAbrir::picAccessPath_Click);
    connect(btnNovo, &QToolButton::clicked, this, &frmAbrir::btnNovo_Click);
    connect(btnConf, &QPushButton::clicked, this, &frmAbrir::btnConf_Click);
    connect(btnCanc, &QPushButton::clicked, this, &QDialog::reject);
}

void frmAbrir::CarregarForm(const QString& strTipo, bool blnCriarAccess)
{
    m_strTipo = strTipo;
    ExibirTipo(m_strTipo == u"A" ? QStringLiteral("A") : m_strTipo == u"W" ? QStringLiteral("W") : QStringLiteral("S"));
    if (blnCriarAccess)
        btnNovo_Click();
    m_arvore.Ambiente().Prompt().ExibirModal(this);
}

void frmAbrir::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_ativado) {
        m_ativado = true;
        ExibirTipo(TipoSelecionado());
    }
}

QString frmAbrir::TipoSelecionado() const
{
    if (optTipoAccess->isChecked())
        return QStringLiteral("A");
    if (optTipoWebService->isChecked())
        return QStringLiteral("W");
    return QStringLiteral("S");
}

void frmAbrir::ExibirTipo(const QString& tipo)
{
    (tipo == u"A" ? optTipoAccess : tipo == u"W" ? optTipoWebService : optTipoSql)->setChecked(true);
    const bool sql = tipo == u"S", access = tipo == u"A", web = tipo == u"W";
    Habilitar(txtSqlServidor, sql);
    optAutSql->setEnabled(sql);
    optAutWin->setEnabled(sql);
    Habilitar(txtAccessPath, access);
    picAccessPath->setEnabled(access);
    btnNovo->setEnabled(access);
    Habilitar(txtWebService, web);
    AtualizarAutenticacao();
    if (isVisible())
        (access ? static_cast<QWidget*>(txtAccessPath)
         : web  ? static_cast<QWidget*>(txtWebService)
                : txtSqlServidor)
            ->setFocus();
}

void frmAbrir::AtualizarAutenticacao()
{
    const bool login = optTipoSql->isChecked() && optAutSql->isChecked();
    Habilitar(txtSqlUsuario, login);
    Habilitar(txtSqlSenha, login);
}

void frmAbrir::CarregarListaServidores()
{
    clsAmpulheta ampulheta(m_arvore.Ambiente().Prompt());
    txtSqlServidor->addItems(servidoresregistrados::ListaServidores());
}

void frmAbrir::picAccessPath_Click()
{
    const QString atual = txtAccessPath->text();
    const QString inicial = QFileInfo(atual).isFile() ? atual : PastaPrograma();
    const QString escolhido = m_arvore.Ambiente().Prompt().ArquivoAbrir(QStringLiteral("Selecione o Banco de Dados"),
                                                                        inicial,
                                                                        FiltroAccess);
    if (escolhido.isEmpty())
        return;
    txtAccessPath->setText(escolhido);
    txtAccessPath->setFocus();
}

void frmAbrir::btnNovo_Click()
{
    QString nome = m_arvore.Ambiente().Prompt().ArquivoNovo(QStringLiteral("Informe o Nome para o Novo Banco de Dados"),
                                                            PastaPrograma(),
                                                            FiltroAccess);
    // The extension the user typed, ".db" when none; a file that exists is refused by the creation.
    if (!nome.isEmpty() && QFileInfo(nome).suffix().isEmpty())
        nome += QStringLiteral(".db");
    if (!nome.isEmpty()) {
        QString erro;
        if (CriarBancoAccess(nome, &erro))
            txtAccessPath->setText(nome);
        else
            m_arvore.Ambiente().Prompt().MsgBox(erro, vb::Critical, globais::TituloAplicativo());
    }
    if (txtAccessPath->isVisible())
        txtAccessPath->setFocus();
}

bool frmAbrir::ValidarDados()
{
    auto recusar = [this](const QString& texto, QWidget* foco) {
        m_arvore.Ambiente().Prompt().MsgBox(texto, vb::Exclamation, globais::TituloAplicativo());
        foco->setFocus();
        return false;
    };
    if (optTipoAccess->isChecked()) {
        const QString caminho = txtAccessPath->text();
        if (caminho.isEmpty())
            return recusar(QStringLiteral("Informe o Caminho para o Banco de Dados Desejado"), txtAccessPath);
        if (!QFileInfo(caminho).isFile())
            return recusar(QStringLiteral("O Banco de Dados Informado nçao é Válido"), txtAccessPath);
        return true;
    }
    if (optTipoWebService->isChecked())
        return !txtWebService->text().isEmpty();
    if (txtSqlServidor->currentText().isEmpty())
        return recusar(QStringLiteral("Informe o Nome do Servidor Desejado"), txtSqlServidor);
    if (!txtSqlUsuario->text().isEmpty() || optAutWin->isChecked())
        return true;
    return recusar(QStringLiteral("Informe o Usuário que Será Usado para a Conexão"), txtSqlUsuario);
}

void frmAbrir::btnConf_Click()
{
    if (!ValidarDados())
        return;
    int tipo = tiporegistro::SqlServer;
    QString nome, usuario, senha;
    bool integrado = false;
    if (optTipoAccess->isChecked()) {
        tipo = tiporegistro::Access;
        nome = txtAccessPath->text();
    } else if (optTipoWebService->isChecked()) {
        tipo = tiporegistro::WebService;
        nome = txtWebService->text();
    } else {
        nome = txtSqlServidor->currentText();
        integrado = optAutWin->isChecked();
        if (!integrado) {
            usuario = txtSqlUsuario->text();
            senha = txtSqlSenha->text();
        }
    }
    if (IncluirConexaoNavegador(m_arvore, tipo, nome, integrado, usuario, senha, {}, {})) {
        if (tipo == tiporegistro::Access)
            GravarServidor(m_arvore, QStringLiteral("A"), nome, {}, {});
        else if (tipo == tiporegistro::WebService)
            GravarServidor(m_arvore, QStringLiteral("W"), nome, {}, {});
        else if (m_arvore.Ambiente().sqlDmoDisponivelCarregado)
            servidoresregistrados::Registrar({{}, nome, usuario, senha, integrado});
        else
            GravarServidor(m_arvore, QStringLiteral("S"), nome, {}, {});
    }
    accept();
}
