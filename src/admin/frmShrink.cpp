#include "frmShrink.h"

#include "connections/clsAmbienteDados.h"
#include "connections/clsSqlDmoSessao.h"
#include "mdlAnexar.h"
#include "platform/mdlGlobais.h"
#include "uctComumAdmin.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit* Caixa(QWidget* pai, const char* nome, bool editavel = false)
{
    auto* caixa = new QLineEdit(pai);
    caixa->setObjectName(QString::fromLatin1(nome));
    caixa->setReadOnly(!editavel);
    return caixa;
}
} // namespace

frmShrink::frmShrink(clsAmbienteDados& ambiente, QWidget* pai) : frmDialogoSessao(ambiente, pai)
{
    setObjectName(QStringLiteral("frmShrink"));
    setWindowTitle(QStringLiteral("Shrink Database"));
    auto* layout = new QVBoxLayout(this);
    auto* fraDatabase = new QGroupBox(QStringLiteral("Database"), this);
    fraDatabase->setObjectName(QStringLiteral("fraDatabase"));
    txtDatabase = Caixa(fraDatabase, "txtDatabase");
    (new QVBoxLayout(fraDatabase))->addWidget(txtDatabase);
    layout->addWidget(fraDatabase);

    auto* fraCurrent = new QGroupBox(QStringLiteral("Current Size"), this);
    fraCurrent->setObjectName(QStringLiteral("fraCurrent"));
    auto* atual = new QFormLayout(fraCurrent);
    txtSpaceAllocated = Caixa(fraCurrent, "txtSpaceAllocated");
    txtSpaceFree = Caixa(fraCurrent, "txtSpaceFree");
    txtPerc = Caixa(fraCurrent, "txtPerc");
    txtPerc->setFixedWidth(txtPerc->fontMetrics().horizontalAdvance(QStringLiteral("(100%)")) + 16);
    auto* livre = new QHBoxLayout;
    livre->addWidget(txtSpaceFree, 1);
    livre->addWidget(txtPerc);
    atual->addRow(QStringLiteral("Space Allocated:"), txtSpaceAllocated);
    atual->addRow(QStringLiteral("Space Free:"), livre);
    layout->addWidget(fraCurrent);

    auto* fraDesired = new QGroupBox(QStringLiteral("Desired Size"), this);
    fraDesired->setObjectName(QStringLiteral("fraDesired"));
    auto* desejado = new QFormLayout(fraDesired);
    txtDesired = Caixa(fraDesired, "txtDesired", true);
    txtDesired->setText(QStringLiteral("0"));
    auto* percentual = new QHBoxLayout;
    percentual->addWidget(txtDesired, 1);
    percentual->addWidget(new QLabel(QStringLiteral("%"), fraDesired));
    cmbOption = new QComboBox(fraDesired);
    cmbOption->setObjectName(QStringLiteral("cmbOption"));
    cmbOption->addItems({QStringLiteral("Truncate Only"),
                         QStringLiteral("No Truncate"),
                         QStringLiteral("Empty File"),
                         QStringLiteral("Full (slow)!")});
    cmbOption->setCurrentIndex(0);
    desejado->addRow(QStringLiteral("Space Free:"), percentual);
    desejado->addRow(QStringLiteral("Option:"), cmbOption);
    layout->addWidget(fraDesired);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnOk);
    layout->addLayout(botoes);
    resize(340, 300);
    txtDesired->installEventFilter(this);
    connect(txtDesired, &QLineEdit::textChanged, this, &frmShrink::MarcarDesejado);
    connect(btnOk, &QPushButton::clicked, this, &frmShrink::btnOk_Click);
}

void frmShrink::setDatabaseName(const QString& nome)
{
    txtDatabase->setText(nome);
    double tamanho = 0, livre = 0;
    if (!m_sessao || !m_sessao->EspacoBanco(nome, tamanho, livre))
        return;
    txtSpaceAllocated->setText(admin::TextoMb(tamanho));
    txtSpaceFree->setText(admin::TextoMb(livre));
    txtPerc->setText(admin::TextoPercentual(livre, tamanho));
}

// Out of range the box turns red and keeps the focus.
void frmShrink::MarcarDesejado()
{
    QPalette p = txtDesired->palette();
    p.setColor(QPalette::Base,
               admin::PercentualValido(txtDesired->text()) ? QPalette().color(QPalette::Base) : QColor(Qt::red));
    txtDesired->setPalette(p);
}

bool frmShrink::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == txtDesired && evento->type() == QEvent::FocusOut && !admin::PercentualValido(txtDesired->text())) {
        MarcarDesejado();
        QMetaObject::invokeMethod(txtDesired, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection);
    }
    return frmDialogoSessao::eventFilter(objeto, evento);
}

void frmShrink::btnOk_Click()
{
    // The desired value must be accepted before anything is sent.
    if (!admin::PercentualValido(txtDesired->text())) {
        MarcarDesejado();
        txtDesired->setFocus();
        return;
    }
    bool ok;
    {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        m_sucesso = false;
        ok = m_sessao->ShrinkBanco(txtDatabase->text(),
                                   admin::PercentualDesejado(txtDesired->text()),
                                   admin::ModoShrink(cmbOption->currentText()));
    }
    Concluir(ok ? QString() : m_sessao->Erro().descricao, QStringLiteral("The database has been shruk successfully"));
}
