#include "uctConnectionSel.h"

#include "connections/frmConnectionSelLista.h"
#include "gui/Twips.h"
#include "platform/clsPrompt.h"

#include <QLabel>
#include <QResizeEvent>
#include <QToolButton>

namespace {
constexpr int Margem = 25 / TwipsPorPixel + 1; // 25 twips
constexpr int Altura = 315 / TwipsPorPixel; // 315 twips
constexpr int FolgaBotao = 50 / TwipsPorPixel; // 50 twips

QLabel* NovoLabel(QWidget* pai, const QString& nome, const QString& texto)
{
    auto* l = new QLabel(texto, pai);
    l->setObjectName(nome);
    return l;
}
} // namespace

uctConnectionSel::uctConnectionSel(clsPrompt& prompt, QWidget* pai) : QWidget(pai), m_prompt(prompt)
{
    setObjectName(QStringLiteral("uctConnectionSel"));
    lblServer = NovoLabel(this, QStringLiteral("lblServer"), QStringLiteral("Server"));
    lblSep = NovoLabel(this, QStringLiteral("lblSep"), QStringLiteral("/"));
    lblDatabase = NovoLabel(this, QStringLiteral("lblDatabase"), QStringLiteral("DataBase"));
    lblNodeText = NovoLabel(this, QStringLiteral("lblNodeText"), QStringLiteral("NodeText"));
    QFont negrito = font();
    negrito.setBold(true);
    for (QLabel* l : {lblServer, lblDatabase, lblNodeText})
        l->setFont(negrito);
    btnSel = new QToolButton(this);
    btnSel->setObjectName(QStringLiteral("btnSel"));
    btnSel->setArrowType(Qt::DownArrow);
    btnSel->setToolTip(QStringLiteral("Conexões abertas"));
    btnSel->resize(Altura - 2, Altura - 2);
    connect(btnSel, &QToolButton::clicked, this, &uctConnectionSel::AbrirLista);
    setFixedHeight(Altura);
    setMinimumWidth(160);
    PosicionarLabels();
}

QSize uctConnectionSel::sizeHint() const { return {260, Altura}; }

void uctConnectionSel::Add(const QString& strConnectionString,
                           const QString& strServer,
                           const QString& strDatabase,
                           const QString& strNodeText)
{
    m_itens << NovaEntradaConexao(strConnectionString, strServer, strDatabase, strNodeText);
}

void uctConnectionSel::DefinirLabel(const QString& strServer, const QString& strDatabase, const QString& strNodeText)
{
    m_server = strServer;
    m_database = strDatabase;
    m_nodeText = strNodeText;
    const bool comNo = !strNodeText.isEmpty();
    lblServer->setText(comNo ? QString() : strServer);
    lblDatabase->setText(comNo ? QString() : strDatabase);
    lblNodeText->setText(strNodeText);
    PosicionarLabels();
}

// Server, separator and database follow one another from the left margin; the node text starts
// at the same margin. A label without text is hidden, and the separator only shows between a server
// and a database.
void uctConnectionSel::PosicionarLabels()
{
    const int y = (height() - lblServer->sizeHint().height()) / 2;
    int x = Margem;
    auto colocar = [&](QLabel* l, bool visivel) {
        l->setVisible(visivel);
        if (!visivel)
            return;
        l->adjustSize();
        l->move(x, y);
        x += l->width() + 2;
    };
    colocar(lblServer, !lblServer->text().isEmpty());
    colocar(lblSep, !lblServer->text().isEmpty() && !lblDatabase->text().isEmpty());
    colocar(lblDatabase, !lblDatabase->text().isEmpty());
    x = Margem;
    colocar(lblNodeText, !lblNodeText->text().isEmpty());
}

void uctConnectionSel::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    btnSel->move(width() - btnSel->width() - FolgaBotao, (height() - btnSel->height()) / 2);
    PosicionarLabels();
}

void uctConnectionSel::AbrirLista()
{
    m_itens.clear();
    emit BuscarItens();
    if (m_itens.isEmpty()) {
        m_prompt.MsgBox(QStringLiteral("Nenhuma Conexão Foi Encontrada, Verifique."), vb::Exclamation);
        return;
    }
    QString connStr = m_connectionString;
    QString server = m_server, database = m_database, nodeText = m_nodeText;
    const QPoint canto = mapToGlobal(QPoint(0, height()));
    frmConnectionSelLista lista(m_prompt, this);
    const bool confirmou = lista.CarregarForm(m_itens,
                                              connStr,
                                              server,
                                              database,
                                              nodeText,
                                              canto.x() * TwipsPorPixel,
                                              canto.y() * TwipsPorPixel,
                                              int(width() * 1.5) * TwipsPorPixel);
    if (!confirmou)
        return;
    DefinirLabel(server, database, nodeText);
    m_connectionString = connStr;
    emit ConnectionChanged(connStr, server, database, nodeText);
}
