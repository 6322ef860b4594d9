#include "frmOpcoes.h"

#include "platform/clsSettings.h"
#include "platform/mdlFuncoes.h"
#include "platform/mdlLinhas.h"
#include "platform/mdlSenhasGuardadas.h"
#include "shell/mdlAssociacao.h"
#include "shell/mdlOpcoes.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Captions of the check boxes, in the order of opcoes::ChavesBooleanas.
const char* const Legendas[] = {
    "Fazer Verificação de Sintaxe Antes de Executar Instruções SQL",
    "Executar Longas Instruções Usando Método Passo a Passo",
    "Usar o Intellisense para Exibir Lista de Campos e Tabelas",
    "Abrir Tabela Carregando Todos os Registros",
    "Focalizar Objetos ao Mover o Mouse",
    "Armazenar Ultimo Estado da IDE",
};
} // namespace

frmOpcoes::frmOpcoes(clsOpcoes& opcoes, QWidget* pai) : QDialog(pai), m_opcoes(opcoes)
{
    setObjectName(QStringLiteral("frmOpcoes"));
    setWindowTitle(QStringLiteral("Opções do Sistema"));

    auto* fraPrincipal = new QGroupBox(this);
    fraPrincipal->setObjectName(QStringLiteral("fraPrincipal"));
    auto* caixas = new QVBoxLayout(fraPrincipal);
    for (qsizetype i = 0; i < opcoes::ChavesBooleanas.size(); ++i) {
        auto* chk = new QCheckBox(QString::fromUtf8(Legendas[i]), fraPrincipal);
        chk->setObjectName(QStringLiteral("chk") + opcoes::ChavesBooleanas[i]);
        caixas->addWidget(chk);
        m_caixas << chk;
    }
    auto* lblTimeOut = new QLabel(QStringLiteral("TimeOut para as Conexões:"), fraPrincipal);
    lblTimeOut->setObjectName(QStringLiteral("lblTimeOut"));
    m_txtTimeOut = new QLineEdit(fraPrincipal);
    m_txtTimeOut->setObjectName(QStringLiteral("txtTimeOut"));
    m_txtTimeOut->setMaximumWidth(70);
    m_txtTimeOut->setAlignment(Qt::AlignRight);
    m_txtTimeOut->installEventFilter(this);
    auto* lblTimeOutDescr = new QLabel(QStringLiteral("seg."), fraPrincipal);
    lblTimeOutDescr->setObjectName(QStringLiteral("lblTimeOutDescr"));
    auto* linhaTimeOut = new QHBoxLayout;
    linhaTimeOut->addWidget(lblTimeOut);
    linhaTimeOut->addWidget(m_txtTimeOut);
    linhaTimeOut->addWidget(lblTimeOutDescr);
    linhaTimeOut->addStretch();
    caixas->addSpacing(6);
    caixas->addLayout(linhaTimeOut);

    // Beyond the six options: where saved passwords are kept.
    auto* fraSenhas = new QGroupBox(this);
    fraSenhas->setObjectName(QStringLiteral("fraSenhas"));
    auto* linhasSenhas = new QVBoxLayout(fraSenhas);
    m_chkChaveiro = new QCheckBox(QStringLiteral("Guardar senhas no chaveiro do sistema"), fraSenhas);
    m_chkChaveiro->setObjectName(QStringLiteral("chkGuardarSenhasChaveiro"));
    m_lblSenhasNoArquivo = new QLabel(QStringLiteral("Nenhum chaveiro do sistema respondeu: as senhas salvas são "
                                                     "guardadas no arquivo de configurações."),
                                      fraSenhas);
    m_lblSenhasNoArquivo->setObjectName(QStringLiteral("lblSenhasNoArquivo"));
    m_lblSenhasNoArquivo->setWordWrap(true);
    linhasSenhas->addWidget(m_chkChaveiro);
    linhasSenhas->addWidget(m_lblSenhasNoArquivo);

    auto* btnAssociarMdb = new QPushButton(QStringLiteral("Associar Extensão MDB"), this);
    btnAssociarMdb->setObjectName(QStringLiteral("btnAssociarMdb"));
    btnAssociarMdb->setAutoDefault(false);
    auto* btnGravar = new QPushButton(QStringLiteral("&Gravar"), this);
    btnGravar->setObjectName(QStringLiteral("btnGravar"));
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(btnAssociarMdb);
    botoes->addStretch();
    botoes->addWidget(btnGravar);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraPrincipal);
    layout->addWidget(fraSenhas);
    layout->addLayout(botoes);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnGravar, &QPushButton::clicked, this, &frmOpcoes::Gravar);
    connect(btnAssociarMdb, &QPushButton::clicked, this, &frmOpcoes::AssociarMdb);

    Carregar();
}

void frmOpcoes::Carregar()
{
    for (qsizetype i = 0; i < m_caixas.size(); ++i)
        m_caixas[i]->setChecked(opcoes::LerOpcao(opcoes::ChavesBooleanas[i]) != 0);
    m_txtTimeOut->setText(QString::number(opcoes::LerOpcao(opcoes::ChaveTimeOut), 'g', 15));
    m_chaveiro = senhas::ChaveiroResponde();
    m_chkChaveiro->setEnabled(m_chaveiro);
    m_chkChaveiro->setChecked(m_chaveiro && settings::GetSetting(opcoes::Secao, senhas::ChaveOpcao) != u"0");
    m_lblSenhasNoArquivo->setVisible(!m_chaveiro);
}

bool frmOpcoes::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == m_txtTimeOut && evento->type() == QEvent::FocusOut && !funcoes::EhNumerico(m_txtTimeOut->text()))
        m_txtTimeOut->setText(QStringLiteral("0"));
    return QDialog::eventFilter(objeto, evento);
}

void frmOpcoes::Gravar()
{
    for (qsizetype i = 0; i < m_caixas.size(); ++i)
        settings::SaveSetting(opcoes::Secao,
                              opcoes::ChavesBooleanas[i],
                              m_caixas[i]->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    settings::SaveSetting(opcoes::Secao, opcoes::ChaveTimeOut, m_txtTimeOut->text());
    if (m_chaveiro) // without a keyring the choice stays as it was
        settings::SaveSetting(opcoes::Secao,
                              senhas::ChaveOpcao,
                              m_chkChaveiro->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    opcoes::CarregarOpcoes(m_opcoes);
    accept();
}

// The desktop's tool may take its time: it runs on a worker, and the window goes on meanwhile.
void frmOpcoes::AssociarMdb()
{
    const QString programa = QApplication::applicationFilePath();
    linhas::Iniciar([programa] { associacao::AssociarExtensaoMdb(programa); }, this, {});
}
