#include "frmBackupRestore.h"

#include "connections/clsData.h"
#include "connections/clsSqlDmoSessao.h"
#include "connections/mdlCaminhoServidor.h"
#include "connections/mdlTSqlAdmin.h"
#include "mdlBackup.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlProgramas.h"
#include "uctComumAdmin.h"
#include "uctTextBrowse.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The property of a destination box that holds its file's logical name.
const char* const Logico = "LogicalName";

QToolButton* Procura(QWidget* pai, const char* nome)
{
    auto* b = new QToolButton(pai);
    b->setObjectName(QString::fromLatin1(nome));
    b->setText(QStringLiteral("..."));
    return b;
}

QLineEdit* Caixa(QWidget* pai, const char* nome)
{
    auto* c = new QLineEdit(pai);
    c->setObjectName(QString::fromLatin1(nome));
    return c;
}

// "Original:" and "Destino:" of one file, in a frame.
QGroupBox* QuadroArquivo(QWidget* pai,
                         const char* nome,
                         const QString& titulo,
                         QLineEdit* orig,
                         QLineEdit* dest,
                         QToolButton* procura)
{
    auto* quadro = new QGroupBox(titulo, pai);
    quadro->setObjectName(QString::fromLatin1(nome));
    auto* form = new QFormLayout(quadro);
    orig->setParent(quadro);
    dest->setParent(quadro);
    procura->setParent(quadro);
    orig->setReadOnly(true);
    auto* linha = new QHBoxLayout;
    linha->addWidget(dest, 1);
    linha->addWidget(procura);
    form->addRow(QStringLiteral("Original:"), orig);
    form->addRow(QStringLiteral("Destino:"), linha);
    return quadro;
}
} // namespace

frmBackupRestore::frmBackupRestore(clsAmbienteDados& ambiente, QWidget* pai)
    : QDialog(pai), programa(CaminhoCompanheiro(Companheiro::Backup)), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("frmBackupRestore"));
    setWindowTitle(QStringLiteral("Restaurar Backup"));
    auto* layout = new QVBoxLayout(this);
    auto* cadastro = new QFormLayout;
    cmbBancoDados = new QComboBox(this);
    cmbBancoDados->setObjectName(QStringLiteral("cmbBancoDados"));
    cadastro->addRow(QStringLiteral("Banco de Dados"), cmbBancoDados);
    layout->addLayout(cadastro);

    auto* fraDestino = new QGroupBox(QStringLiteral("Origem"), this);
    fraDestino->setObjectName(QStringLiteral("fraDestino"));
    auto* origem = new QGridLayout(fraDestino);
    optDestArq = new QRadioButton(QStringLiteral("Arquivo Físico"), fraDestino);
    optDestArq->setObjectName(QStringLiteral("optDestArq"));
    txtDestArq = Caixa(fraDestino, "txtDestArq");
    picDestArq = Procura(fraDestino, "picDestArq");
    optDestDev = new QRadioButton(QStringLiteral("Device"), fraDestino);
    optDestDev->setObjectName(QStringLiteral("optDestDev"));
    cmbDestDev = new uctTextBrowse(ambiente, fraDestino);
    cmbDestDev->setObjectName(QStringLiteral("cmbDestDev"));
    origem->addWidget(optDestArq, 0, 0);
    origem->addWidget(txtDestArq, 0, 1);
    origem->addWidget(picDestArq, 0, 2);
    origem->addWidget(optDestDev, 1, 0);
    origem->addWidget(cmbDestDev, 1, 1, 1, 2);
    layout->addWidget(fraDestino);

    chkOpcForcar = new QCheckBox(QStringLiteral("Forçar Restauração Sobre Banco de Dados Existente"), this);
    chkOpcForcar->setObjectName(QStringLiteral("chkOpcForcar"));
    layout->addWidget(chkOpcForcar);
    fraForcar = new QGroupBox(this);
    fraForcar->setObjectName(QStringLiteral("fraForcar"));
    auto* forcar = new QVBoxLayout(fraForcar);
    txtForcarArqBancoOrig = Caixa(fraForcar, "txtForcarArqBancoOrig");
    txtForcarArqBancoDest = Caixa(fraForcar, "txtForcarArqBancoDest");
    picForcarArqBancoDest = Procura(fraForcar, "picForcarArqBancoDest");
    txtForcarArqLogOrig = Caixa(fraForcar, "txtForcarArqLogOrig");
    txtForcarArqLogDest = Caixa(fraForcar, "txtForcarArqLogDest");
    picForcarArqLogDest = Procura(fraForcar, "picForcarArqLogDest");
    forcar->addWidget(QuadroArquivo(fraForcar,
                                    "fraForcarArqBanco",
                                    QStringLiteral("Arquivo do Banco de Dados"),
                                    txtForcarArqBancoOrig,
                                    txtForcarArqBancoDest,
                                    picForcarArqBancoDest));
    forcar->addWidget(QuadroArquivo(fraForcar,
                                    "fraForcarArqLog",
                                    QStringLiteral("Arquivo do Log"),
                                    txtForcarArqLogOrig,
                                    txtForcarArqLogDest,
                                    picForcarArqLogDest));
    layout->addWidget(fraForcar);
    btnConf = new QPushButton(QStringLiteral("&Confirmar"), this);
    btnConf->setObjectName(QStringLiteral("btnConf"));
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    layout->addLayout(botoes);
    resize(520, 420);

    cmbDestDev->CampoDescricao = QStringLiteral("Physical_Device_Name");
    cmbDestDev->CampoValor = QStringLiteral("Logical_Device_Name");
    cmbDestDev->fonte = [this](const QString& sql, RecordsetPtr& rs) {
        if (m_sessao->EnviarTSql(sql, &rs))
            return true;
        return MostrarErroSessao(m_ambiente.Prompt(), *m_sessao);
    };
    connect(cmbBancoDados, &QComboBox::currentTextChanged, this, [this](const QString& banco) {
        cmbDestDev->InstrucaoSql = tsql::SqlHistoricoBackups(banco);
    });
    connect(cmbDestDev, &uctTextBrowse::ValueChanged, this, &frmBackupRestore::chkOpcForcar_Click);
    connect(optDestArq, &QRadioButton::clicked, this, [this] { Origem(true); });
    connect(optDestDev, &QRadioButton::clicked, this, [this] { Origem(false); });
    connect(chkOpcForcar, &QCheckBox::clicked, this, &frmBackupRestore::chkOpcForcar_Click);
    connect(btnConf, &QPushButton::clicked, this, &frmBackupRestore::btnConf_Click);
    connect(picDestArq, &QToolButton::clicked, this, [this] {
        Procurar(txtDestArq,
                 QStringLiteral("Selecione um Arquivo de Backup para Ser Restaurado"),
                 QStringLiteral("Microsoft Access"),
                 QStringLiteral("bak"));
    });
    connect(picForcarArqBancoDest, &QToolButton::clicked, this, [this] {
        Procurar(txtForcarArqBancoDest,
                 QStringLiteral("Selecione um Arquivo de Dados para Ser Restaurado"),
                 QStringLiteral("Arquivo de Dados"),
                 QStringLiteral("mdf"));
    });
    connect(picForcarArqLogDest, &QToolButton::clicked, this, [this] {
        Procurar(txtForcarArqLogDest,
                 QStringLiteral("Selecione um Arquivo de Dados para Ser Restaurado"),
                 QStringLiteral("Arquivo de Log"),
                 QStringLiteral("ldf"));
    });
}

frmBackupRestore::~frmBackupRestore() = default;

bool frmBackupRestore::CarregarForm(const QString& strTempConnection, const QString& strDatabase, bool exibir)
{
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        m_connStr = strTempConnection;
        m_sessao = AbrirSqlDmo(m_ambiente, strTempConnection, true);
        if (!m_sessao)
            return false;
        cmbDestDev->ConnectionString = strTempConnection;
        RecordsetPtr bancos;
        if (m_sessao->Bancos(bancos))
            for (bancos->MoveFirst(); !bancos->Eof(); bancos->MoveNext())
                cmbBancoDados->addItem(bancos->Valor(QStringLiteral("Name")).toString());
        cmbBancoDados->setCurrentIndex(cmbBancoDados->findText(strDatabase));
        optDestArq->setChecked(true);
        Origem(true);
        chkOpcForcar_Click();
    }
    if (exibir)
        m_ambiente.Prompt().ExibirModal(this);
    return true;
}

void frmBackupRestore::Origem(bool arquivo)
{
    HabilitarControle(txtDestArq, arquivo);
    picDestArq->setEnabled(arquivo);
    cmbDestDev->DefinirHabilitado(!arquivo);
    if (arquivo) {
        cmbDestDev->setText(QString());
        cmbDestDev->setValue(QString());
        txtDestArq->setFocus();
    } else {
        txtDestArq->clear();
        cmbDestDev->txtEdit->setFocus();
    }
}

void frmBackupRestore::Procurar(QLineEdit* caixa,
                                const QString& titulo,
                                const QString& descricao,
                                const QString& extensao)
{
    const QString atual = caixa->text();
    const QString pasta = !atual.isEmpty() && QFileInfo::exists(atual) ? atual : QCoreApplication::applicationDirPath();
    const QString escolhido = m_ambiente.Prompt().ArquivoAbrir(titulo, pasta, FiltroArquivos(descricao, extensao));
    if (!escolhido.isEmpty())
        caixa->setText(escolhido);
}

void frmBackupRestore::chkOpcForcar_Click()
{
    const bool forcar = chkOpcForcar->isChecked();
    fraForcar->setEnabled(forcar);
    for (QLineEdit* destino : {txtForcarArqBancoDest, txtForcarArqLogDest}) {
        HabilitarControle(destino, forcar);
        destino->setProperty(Logico, QString());
    }
    for (QLineEdit* caixa : {txtForcarArqBancoOrig, txtForcarArqBancoDest, txtForcarArqLogOrig, txtForcarArqLogDest})
        caixa->clear();
    if (forcar && !LerArquivosDoBackup()) {
        chkOpcForcar->setChecked(false);
        fraForcar->setEnabled(false);
        HabilitarControle(txtForcarArqBancoDest, false);
        HabilitarControle(txtForcarArqLogDest, false);
    }
}

// The files recorded in the backup chosen, the data file's and the log's.
bool frmBackupRestore::LerArquivosDoBackup()
{
    bool dispositivo = false;
    QString origem;
    if (optDestArq->isChecked()) {
        if (!funcoes::ValidarCaminhoServidor(m_ambiente.Prompt(), txtDestArq->text(), *m_sessao))
            return false;
        origem = txtDestArq->text();
    } else {
        dispositivo = !cmbDestDev->Value().toString().isEmpty();
        origem = dispositivo ? cmbDestDev->Value().toString() : cmbDestDev->Text();
        if (origem.isEmpty())
            return true; // nothing chosen yet
    }
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    RecordsetPtr arquivos;
    if (!m_sessao->ArquivosDoBackup(dispositivo, origem, arquivos)) {
        MostrarErroSessao(m_ambiente.Prompt(), *m_sessao);
        return true;
    }
    for (arquivos->MoveFirst(); !arquivos->Eof(); arquivos->MoveNext()) {
        const bool dados = arquivos->Valor(QStringLiteral("Type")).toString() == u"D";
        const QString fisico = arquivos->Valor(QStringLiteral("PhysicalName")).toString();
        (dados ? txtForcarArqBancoOrig : txtForcarArqLogOrig)->setText(fisico);
        QLineEdit* destino = dados ? txtForcarArqBancoDest : txtForcarArqLogDest;
        destino->setText(fisico);
        destino->setProperty(Logico, arquivos->Valor(QStringLiteral("LogicalName")).toString());
    }
    return true;
}

QString frmBackupRestore::Argumento() const
{
    backup::Argumentos a;
    a.connStr = m_connStr;
    a.banco = cmbBancoDados->currentText();
    a.restaurar = true;
    const QString logico = cmbDestDev->Value().toString();
    a.dispositivo = optDestDev->isChecked() && !logico.isEmpty();
    a.arquivo = optDestArq->isChecked() ? txtDestArq->text() : a.dispositivo ? logico : cmbDestDev->Text();
    a.substituir = chkOpcForcar->isChecked();
    if (a.substituir) {
        a.devBanco = txtForcarArqBancoDest->property(Logico).toString();
        a.arqBanco = txtForcarArqBancoDest->text();
        a.devLog = txtForcarArqLogDest->property(Logico).toString();
        a.arqLog = txtForcarArqLogDest->text();
    }
    return backup::Montar(a);
}

void frmBackupRestore::btnConf_Click()
{
    auto recusar = [this](const QString& texto, QWidget* controle) {
        m_ambiente.Prompt().MsgBox(texto, vb::Information, globais::TituloAplicativo());
        controle->setFocus();
    };
    if (cmbBancoDados->currentText().isEmpty())
        return recusar(QStringLiteral("Informe o Banco de Dados para Restaurar Backup"), cmbBancoDados);
    if (optDestArq->isChecked() && txtDestArq->text().isEmpty())
        return recusar(QStringLiteral("Informe o Arquivo Físico para o Backup"), txtDestArq);
    if (optDestDev->isChecked() && cmbDestDev->Text().isEmpty())
        return recusar(QStringLiteral("Informe o Device para o Backup"), cmbDestDev->txtEdit);
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        if (optDestArq->isChecked()
            && !funcoes::ValidarCaminhoServidor(m_ambiente.Prompt(), txtDestArq->text(), *m_sessao))
            return;
    }
    // The program restores through a session of its own, connected to master: this window's
    // session never holds the database being restored.
    ExecutarProgramaBackup(*this, btnConf, m_ambiente.Prompt(), programa, Argumento(), cmbBancoDados->currentText());
}
