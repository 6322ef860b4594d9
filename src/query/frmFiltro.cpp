#include "frmFiltro.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmFiltro::frmFiltro(const QString& legenda, QWidget* pai) : QDialog(pai)
{
    setObjectName(QStringLiteral("frmFiltro"));
    setWindowTitle(legenda);
    txtFiltro = new QLineEdit(this);
    txtFiltro->setObjectName(QStringLiteral("txtFiltro"));
    txtFiltro->setMinimumWidth(260);
    auto* btnConf = new QPushButton(QStringLiteral("&Ok"), this);
    btnConf->setObjectName(QStringLiteral("btnConf"));
    btnConf->setDefault(true);
    auto* btnCanc = new QPushButton(QStringLiteral("&Cancelar"), this);
    btnCanc->setObjectName(QStringLiteral("btnCanc"));
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    botoes->addWidget(btnCanc);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtFiltro);
    layout->addLayout(botoes);
    // Both only close the dialog; the caller reads blnConfirmou.
    connect(btnConf, &QPushButton::clicked, this, [this] {
        blnConfirmou = true;
        accept();
    });
    connect(btnCanc, &QPushButton::clicked, this, [this] {
        blnConfirmou = false;
        reject();
    });
}
