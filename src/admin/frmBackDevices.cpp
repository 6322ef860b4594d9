#include "frmBackDevices.h"

#include "connections/clsData.h"
#include "connections/clsSqlDmoSessao.h"
#include "platform/mdlGlobais.h"
#include "shell/clsAmbiente.h"
#include "uctComumAdmin.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

QString EscolherArquivoBackup(clsAmbienteDados& ambiente, const QString& atual, const QString& nome)
{
    // The local dialog helps when the server runs on this machine; a typed path is taken as is.
    const QString pasta = !atual.isEmpty() && QFileInfo::exists(atual) ? atual : QCoreApplication::applicationDirPath();
    return ambiente.Prompt().ArquivoSalvar(QStringLiteral("Selecione o Arquivo de Destino para o Backup"),
                                           nome.isEmpty() ? pasta : QDir(pasta).filePath(nome),
                                           FiltroArquivos(QStringLiteral("Backups de Banco de Dados"), "bak"));
}

frmBackDevicesCad::frmBackDevicesCad(clsAmbienteDados& ambiente, QWidget* pai) : QDialog(pai), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("frmBackDevicesCad"));
    setWindowTitle(QStringLiteral("Novo Device"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    txtDeviceName = new QLineEdit(this);
    txtDeviceName->setObjectName(QStringLiteral("txtDeviceName"));
    txtPath = new QLineEdit(this);
    txtPath->setObjectName(QStringLiteral("txtPath"));
    picPath = new QToolButton(this);
    picPath->setObjectName(QStringLiteral("picPath"));
    picPath->setText(QStringLiteral("..."));
    auto* caminho = new QHBoxLayout;
    caminho->addWidget(txtPath, 1);
    caminho->addWidget(picPath);
    form->addRow(QStringLiteral("Nome do Device"), txtDeviceName);
    form->addRow(QStringLiteral("Endereço Físico para o Backup"), caminho);
    layout->addLayout(form);
    btnConf = new QPushButton(QStringLiteral("&Confirmar"), this);
    btnConf->setObjectName(QStringLiteral("btnConf"));
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    layout->addLayout(botoes);
    resize(480, 120);
    connect(btnConf, &QPushButton::clicked, this, &frmBackDevicesCad::btnConf_Click);
    connect(picPath, &QToolButton::clicked, this, &frmBackDevicesCad::picPath_Click);
}

void frmBackDevicesCad::CarregarForm(std::shared_ptr<clsSqlDmoSessao> sessao, qint16 tag, bool blnFormModal)
{
    m_sessao = std::move(sessao);
    Tag = QString::number(tag);
    if (blnFormModal) {
        m_ambiente.Prompt().ExibirModal(this);
        return;
    }
    setWindowFlag(Qt::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);
    show();
}

void frmBackDevicesCad::picPath_Click()
{
    const QString escolhido = EscolherArquivoBackup(m_ambiente, txtPath->text(), QString());
    if (!escolhido.isEmpty())
        txtPath->setText(escolhido);
}

void frmBackDevicesCad::btnConf_Click()
{
    clsPrompt& prompt = m_ambiente.Prompt();
    if (txtDeviceName->text().isEmpty()) {
        prompt.MsgBox(QStringLiteral("Informe o Nome para o Device"), vb::Information);
        txtDeviceName->setFocus();
        return;
    }
    if (txtPath->text().isEmpty()) {
        prompt.MsgBox(QStringLiteral("Informe o Endereço Físico para o Backup"), vb::Information);
        txtPath->setFocus();
        return;
    }
    bool ok;
    {
        clsAmpulheta ampulheta(prompt);
        ok = m_sessao->CriarDevice(txtDeviceName->text(), txtPath->text());
    }
    if (!ok) {
        MostrarErroSessao(prompt, *m_sessao);
        return;
    }
    accept();
    if (testAttribute(Qt::WA_DeleteOnClose))
        close();
}

frmBackDevices::frmBackDevices(clsAmbiente& ambiente, QWidget* pai) : frmFilhoConexao(pai), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("frmBackDevices"));
    setWindowTitle(QStringLiteral("Lista de Devices para Backup"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* barras = new QHBoxLayout;
    tlbEdicao = BarraAdmin(this,
                           QStringLiteral("tlbEdicao"),
                           {{"Inc", QStringLiteral("Incluir Novo Device")},
                            {"Alt", QStringLiteral("Alterar Device")},
                            {"Exc", QStringLiteral("Excluir Device")}});
    tlbOpcoes = BarraAdmin(this, QStringLiteral("tlbOpcoes"), {{"Ref", QStringLiteral("Atualizar")}});
    barras->addWidget(tlbEdicao);
    barras->addWidget(tlbOpcoes);
    barras->addStretch();
    layout->addLayout(barras);
    dgrConsulta = new uctGradeAdmin(
        {{"Name", QStringLiteral("Nome")}, {"PhyName", QStringLiteral("Endereço Físico do Arquivo")}},
        this);
    dgrConsulta->setObjectName(QStringLiteral("dgrConsulta"));
    dgrConsulta->setEnabled(false);
    layout->addWidget(dgrConsulta);
    resize(560, 320);
    connect(tlbEdicao->findChild<QAction*>("Inc"), &QAction::triggered, this, &frmBackDevices::Incluir);
    connect(tlbEdicao->findChild<QAction*>("Exc"), &QAction::triggered, this, &frmBackDevices::Excluir);
    connect(tlbOpcoes->findChild<QAction*>("Ref"), &QAction::triggered, this, [this] {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        CarregarLista();
    });
}

frmBackDevices::~frmBackDevices() = default;

bool frmBackDevices::CarregarForm(const QString& strTempConnection, qint16 strTagIndexConexao)
{
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        m_sessao = AbrirSqlDmo(m_ambiente, strTempConnection, true);
        if (!m_sessao || !CarregarLista())
            return false;
    }
    MostrarListaAdmin(*this, m_ambiente, dgrConsulta, strTagIndexConexao);
    return true;
}

bool frmBackDevices::CarregarLista()
{
    RecordsetPtr rs;
    if (!m_sessao->Devices(rs)) {
        return MostrarErroSessao(m_ambiente.Prompt(), *m_sessao);
    }
    dgrConsulta->DefinirRecordset(rs);
    return true;
}

frmBackDevicesCad* frmBackDevices::Incluir()
{
    auto* janela = new frmBackDevicesCad(m_ambiente, window());
    janela->CarregarForm(m_sessao, qint16(IndiceNo()), false);
    return janela;
}

void frmBackDevices::Excluir()
{
    if (!dgrConsulta->TemLinhaAtual())
        return;
    clsPrompt& prompt = m_ambiente.Prompt();
    const QString nome = dgrConsulta->ValorAtual(QStringLiteral("Name")).toString();
    if (prompt.MsgBox(QStringLiteral("Deseja realmente excluir o Device '") + nome + u'\'',
                      vb::YesNo | vb::Question | vb::DefaultButton2,
                      globais::TituloAplicativo())
        != vb::Yes)
        return;
    clsAmpulheta ampulheta(prompt);
    if (!m_sessao->RemoverDevice(nome)) {
        MostrarErroSessao(prompt, *m_sessao);
        return;
    }
    CarregarLista();
}
