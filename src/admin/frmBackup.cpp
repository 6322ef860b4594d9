#include "frmBackup.h"

#include "connections/clsData.h"
#include "connections/clsSqlDmoSessao.h"
#include "connections/mdlCaminhoServidor.h"
#include "frmBackDevices.h"
#include "jobs/frmJobScheduleCad.h"
#include "jobs/mdlJobSchedule.h"
#include "mdlBackup.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlProgramas.h"
#include "uctComumAdmin.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString Novo = QStringLiteral("<Novo>");

QRadioButton* Opcao(QWidget* pai, const char* nome, const QString& texto)
{
    auto* o = new QRadioButton(texto, pai);
    o->setObjectName(QString::fromLatin1(nome));
    return o;
}
} // namespace

frmBackup::frmBackup(clsAmbienteDados& ambiente, QWidget* pai)
    : QDialog(pai), programa(CaminhoCompanheiro(Companheiro::Backup)), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("Novo Backup"));
    auto* layout = new QVBoxLayout(this);
    auto* cadastro = new QFormLayout;
    cmbBancoDados = new QComboBox(this);
    cmbBancoDados->setObjectName(QStringLiteral("cmbBancoDados"));
    txtNome = new QLineEdit(this);
    txtNome->setObjectName(QStringLiteral("txtNome"));
    txtDescricao = new QLineEdit(this);
    txtDescricao->setObjectName(QStringLiteral("txtDescricao"));
    cadastro->addRow(QStringLiteral("Banco de Dados"), cmbBancoDados);
    cadastro->addRow(QStringLiteral("Nome"), txtNome);
    cadastro->addRow(QStringLiteral("Descrição"), txtDescricao);
    layout->addLayout(cadastro);

    auto* fraDestino = new QGroupBox(QStringLiteral("Destino"), this);
    fraDestino->setObjectName(QStringLiteral("fraDestino"));
    auto* destino = new QGridLayout(fraDestino);
    optDestArq = Opcao(fraDestino, "optDestArq", QStringLiteral("Arquivo Físico"));
    txtDestArq = new QLineEdit(fraDestino);
    txtDestArq->setObjectName(QStringLiteral("txtDestArq"));
    picPath = new QToolButton(fraDestino);
    picPath->setObjectName(QStringLiteral("picPath"));
    picPath->setText(QStringLiteral("..."));
    optDestDev = Opcao(fraDestino, "optDestDev", QStringLiteral("Device"));
    cmbDestDev = new QComboBox(fraDestino);
    cmbDestDev->setObjectName(QStringLiteral("cmbDestDev"));
    destino->addWidget(optDestArq, 0, 0);
    destino->addWidget(txtDestArq, 0, 1);
    destino->addWidget(picPath, 0, 2);
    destino->addWidget(optDestDev, 1, 0);
    destino->addWidget(cmbDestDev, 1, 1, 1, 2);
    layout->addWidget(fraDestino);

    auto* linha = new QHBoxLayout;
    auto* fraOpcoes = new QGroupBox(this);
    fraOpcoes->setObjectName(QStringLiteral("fraOpcoes"));
    auto* opcoes = new QVBoxLayout(fraOpcoes);
    optOpcCompleto = Opcao(fraOpcoes, "optOpcCompleto", QStringLiteral("Backup Completo"));
    optOpcDiferencial = Opcao(fraOpcoes, "optOpcDiferencial", QStringLiteral("Backup Diferencial"));
    opcoes->addWidget(optOpcCompleto);
    opcoes->addWidget(optOpcDiferencial);
    auto* fraMetodo = new QGroupBox(QStringLiteral("Metodo"), this);
    fraMetodo->setObjectName(QStringLiteral("fraMetodo"));
    auto* metodo = new QVBoxLayout(fraMetodo);
    optMetAcr = Opcao(fraMetodo, "optMetAcr", QStringLiteral("Acrescentar ao Arquivo"));
    optMetSob = Opcao(fraMetodo, "optMetSob", QStringLiteral("Sobrescrever o Arquivo"));
    metodo->addWidget(optMetAcr);
    metodo->addWidget(optMetSob);
    linha->addWidget(fraOpcoes);
    linha->addWidget(fraMetodo);
    layout->addLayout(linha);
    optDestArq->setChecked(true);
    optOpcCompleto->setChecked(true);
    optMetAcr->setChecked(true);

    btnConf = new QPushButton(QStringLiteral("&Confirmar"), this);
    btnConf->setObjectName(QStringLiteral("btnConf"));
    btnConfSchedule = new QPushButton(QStringLiteral("&Confirmar Agendando"), this);
    btnConfSchedule->setObjectName(QStringLiteral("btnConfSchedule"));
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConfSchedule);
    botoes->addWidget(btnConf);
    layout->addLayout(botoes);
    resize(480, 340);

    connect(cmbBancoDados, &QComboBox::currentTextChanged, this, [this](const QString& banco) {
        txtNome->setText(banco.isEmpty() ? QString() : QStringLiteral("Backup do ") + banco);
    });
    connect(optDestArq, &QRadioButton::clicked, this, [this] { HabilitarDestino(true); });
    connect(optDestDev, &QRadioButton::clicked, this, [this] { HabilitarDestino(true); });
    connect(cmbDestDev, &QComboBox::activated, this, &frmBackup::AoEscolherDevice);
    connect(picPath, &QToolButton::clicked, this, &frmBackup::picPath_Click);
    connect(btnConf, &QPushButton::clicked, this, &frmBackup::btnConf_Click);
    connect(btnConfSchedule, &QPushButton::clicked, this, &frmBackup::btnConfSchedule_Click);
}

frmBackup::~frmBackup() = default;

bool frmBackup::CarregarForm(const QString& strTempConnection, const QString& strDatabase, bool exibir)
{
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        m_connStr = strTempConnection;
        m_sessao = AbrirSqlDmo(m_ambiente, strTempConnection, true);
        if (!m_sessao)
            return false;
        RecordsetPtr bancos;
        if (m_sessao->Bancos(bancos))
            for (bancos->MoveFirst(); !bancos->Eof(); bancos->MoveNext())
                cmbBancoDados->addItem(bancos->Valor(QStringLiteral("Name")).toString());
        cmbBancoDados->setCurrentIndex(cmbBancoDados->findText(strDatabase));
        CarregarDevices();
        HabilitarDestino(false);
    }
    if (exibir)
        m_ambiente.Prompt().ExibirModal(this);
    return true;
}

void frmBackup::CarregarDevices()
{
    cmbDestDev->clear();
    cmbDestDev->addItem(Novo);
    cmbDestDev->setCurrentIndex(-1);
    RecordsetPtr devices;
    if (m_sessao->Devices(devices))
        for (devices->MoveFirst(); !devices->Eof(); devices->MoveNext())
            cmbDestDev->addItem(devices->Valor(QStringLiteral("Name")).toString());
}

void frmBackup::AoEscolherDevice(int indice)
{
    if (cmbDestDev->itemText(indice) != Novo)
        return;
    frmBackDevicesCad janela(m_ambiente, this);
    janela.CarregarForm(m_sessao, 0, true);
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    CarregarDevices();
}

void frmBackup::HabilitarDestino(bool focar)
{
    HabilitarControle(txtDestArq, optDestArq->isChecked());
    picPath->setEnabled(optDestArq->isChecked());
    HabilitarControle(cmbDestDev, optDestDev->isChecked());
    QWidget* ativo = optDestArq->isChecked() ? static_cast<QWidget*>(txtDestArq) : cmbDestDev;
    if (focar && ativo->isVisible())
        ativo->setFocus();
}

void frmBackup::picPath_Click()
{
    txtDestArq->setFocus();
    const QString escolhido = EscolherArquivoBackup(m_ambiente, txtDestArq->text(), cmbBancoDados->currentText());
    if (!escolhido.isEmpty())
        txtDestArq->setText(escolhido);
}

bool frmBackup::ValidarBackup()
{
    auto recusar = [this](const QString& texto, QWidget* controle) {
        m_ambiente.Prompt().MsgBox(texto, vb::Information, globais::TituloAplicativo());
        controle->setFocus();
        return false;
    };
    if (cmbBancoDados->currentText().isEmpty())
        return recusar(QStringLiteral("Informe o Banco de Dados para o Backup"), cmbBancoDados);
    if (optDestArq->isChecked() && txtDestArq->text().isEmpty())
        return recusar(QStringLiteral("Informe o Arquivo Físico para o Backup"), txtDestArq);
    if (optDestDev->isChecked() && (cmbDestDev->currentText().isEmpty() || cmbDestDev->currentText() == Novo))
        return recusar(QStringLiteral("Informe o Device para o Backup"), cmbDestDev);
    return true;
}

QString frmBackup::Argumento() const
{
    backup::Argumentos a;
    a.connStr = m_connStr;
    a.banco = cmbBancoDados->currentText();
    a.dispositivo = optDestDev->isChecked();
    a.arquivo = a.dispositivo ? cmbDestDev->currentText() : txtDestArq->text();
    a.nome = txtNome->text();
    a.descricao = txtDescricao->text();
    a.diferencial = !optOpcCompleto->isChecked();
    a.sobrescrever = optMetSob->isChecked();
    return backup::Montar(a);
}

QString frmBackup::ComandoAgendado() const
{
    const bool dispositivo = optDestDev->isChecked();
    return tsql::SqlPassoBackup(cmbBancoDados->currentText(),
                                dispositivo,
                                dispositivo ? cmbDestDev->currentText() : txtDestArq->text(),
                                optMetSob->isChecked());
}

void frmBackup::btnConf_Click()
{
    if (!ValidarBackup())
        return;
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        if (optDestArq->isChecked()
            && !funcoes::ValidarCaminhoServidor(m_ambiente.Prompt(), txtDestArq->text(), *m_sessao))
            return;
    }
    ExecutarProgramaBackup(*this, btnConf, m_ambiente.Prompt(), programa, Argumento(), cmbBancoDados->currentText());
}

void frmBackup::btnConfSchedule_Click()
{
    if (!ValidarBackup())
        return;
    // A scheduled backup is a SQL Agent job: the schedule is asked first, and only once it is
    // confirmed the job and its one step (the backup statement) are made.
    clsJobSchedule agenda(m_ambiente,
                          editorAgendamento ? editorAgendamento : frmJobScheduleCad::Editor(m_ambiente.Prompt(), this));
    const QString nome = txtNome->text();
    const QString comando = ComandoAgendado();
    agenda.InitJob = [&](QString& jobId) {
        if (!SalvarJob(m_ambiente, jobId, nome, m_connStr))
            return;
        int numero = 0;
        SalvarJobStep(m_ambiente, jobId, numero, nome, QStringLiteral("master"), comando, m_connStr);
    };
    if (agenda.LoadNew(m_connStr, nome))
        accept();
}
