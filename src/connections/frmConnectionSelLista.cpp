#include "frmConnectionSelLista.h"

#include "gui/Twips.h"
#include "platform/clsPrompt.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {}

frmConnectionSelLista::frmConnectionSelLista(clsPrompt& prompt, QWidget* pai)
    : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint), m_prompt(prompt)
{
    setObjectName(QStringLiteral("frmConnectionSelLista"));
    lstLista = new QListWidget(this);
    lstLista->setObjectName(QStringLiteral("lstLista"));
    btnConf = new QPushButton(QStringLiteral("&Ok"), this);
    btnConf->setObjectName(QStringLiteral("btnConf"));
    btnConf->setDefault(true);
    btnCanc = new QPushButton(QStringLiteral("&Cancelar"), this);
    btnCanc->setObjectName(QStringLiteral("btnCanc"));

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    botoes->addWidget(btnCanc);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->addWidget(lstLista);
    layout->addLayout(botoes);
    resize(300, 180);

    connect(btnConf, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCanc, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstLista, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

bool frmConnectionSelLista::CarregarForm(const QList<EntradaConexao>& aLista,
                                         QString& strConnectionString,
                                         QString& strServer,
                                         QString& strDatabase,
                                         QString& strNodeText,
                                         int lngX,
                                         int lngY,
                                         int lngWidth)
{
    const QString atual = TextoEntradaConexao(strServer, strDatabase, strNodeText);
    lstLista->clear();
    for (const EntradaConexao& e : aLista) {
        lstLista->addItem(e.texto);
        if (e.texto.compare(atual, Qt::CaseInsensitive) == 0)
            lstLista->setCurrentRow(lstLista->count() - 1);
    }
    if (lngWidth > 0)
        resize(lngWidth / TwipsPorPixel, height());
    if (lngX > 0 || lngY > 0)
        move(lngX / TwipsPorPixel, lngY / TwipsPorPixel);

    if (m_prompt.ExibirModal(this) != QDialog::Accepted || !lstLista->currentItem())
        return false;
    const QString escolhido = lstLista->currentItem()->text();
    bool achou = false;
    for (const EntradaConexao& e : aLista) {
        if (e.texto != escolhido)
            continue;
        strServer = e.servidor;
        strDatabase = e.banco;
        strNodeText = e.textoNo;
        strConnectionString = e.connectionString;
        achou = true;
    }
    return achou;
}
