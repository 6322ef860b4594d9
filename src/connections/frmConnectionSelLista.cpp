#include "frmConnectionSelLista.h"

#include "gui/Twips.h"
#include "platform/clsPrompt.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int LarguraMinima = 200;
}

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
    int porTexto = -1, porConexao = -1;
    for (const EntradaConexao& e : aLista) {
        lstLista->addItem(e.texto);
        if (e.texto.compare(atual, Qt::CaseInsensitive) == 0)
            porTexto = lstLista->count() - 1;
        if (!strConnectionString.isEmpty() && e.connectionString == strConnectionString && porConexao < 0)
            porConexao = lstLista->count() - 1;
    }
    lstLista->setCurrentRow(porConexao >= 0 ? porConexao : porTexto);
    Dimensionar(lngX / TwipsPorPixel, lngY / TwipsPorPixel, lngWidth / TwipsPorPixel);

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

// As wide as the longest entry (and at least as asked), inside the screen that holds the point.
void frmConnectionSelLista::Dimensionar(int x, int y, int largura)
{
    const QScreen* tela = QGuiApplication::screenAt(QPoint(x, y));
    const QRect area = (tela ? tela : QGuiApplication::primaryScreen())->availableGeometry();
    const int conteudo = lstLista->sizeHintForColumn(0) + 2 * lstLista->frameWidth()
                         + lstLista->verticalScrollBar()->sizeHint().width() + 6;
    const int botoes = btnConf->sizeHint().width() + btnCanc->sizeHint().width() + 24;
    // The width asked for counts only up to what the entries need.
    const int w = std::min(std::max({std::min(largura, conteudo), conteudo, botoes, LarguraMinima}), area.width());
    const int h = std::min(height(), area.height());
    resize(w, h);
    if (x <= 0 && y <= 0)
        return;
    move(std::clamp(x, area.left(), area.right() + 1 - w), std::clamp(y, area.top(), area.bottom() + 1 - h));
}
