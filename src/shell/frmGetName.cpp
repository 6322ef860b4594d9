#include "frmGetName.h"

#include "platform/mdlGlobais.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmGetName::frmGetName(QWidget* pai) : QDialog(pai)
{
    setObjectName(QStringLiteral("frmGetName"));
    setWindowTitle(globais::TituloAplicativo());
    m_txtNome = new QLineEdit(this);
    m_txtNome->setObjectName(QStringLiteral("txtNome"));
    m_txtNome->setMinimumWidth(300);
    auto* btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    auto* btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnOk);
    botoes->addWidget(btnCancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_txtNome);
    layout->addLayout(botoes);

    connect(btnOk, &QPushButton::clicked, this, [this] {
        blnConf = true;
        accept();
    });
    connect(btnCancelar, &QPushButton::clicked, this, [this] {
        blnConf = false;
        reject();
    });
}

void frmGetName::DefinirTexto(const QString& texto)
{
    m_txtNome->setText(texto);
    m_txtNome->selectAll();
}

QString frmGetName::Texto() const { return m_txtNome->text(); }
