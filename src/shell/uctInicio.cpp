#include "uctInicio.h"

#include "gui/Icones.h"
#include "navigator/clsArvore.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* Titulo(const QString& texto, QWidget* pai, int acrescimo)
{
    auto* r = new QLabel(texto, pai);
    QFont f = r->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + acrescimo);
    r->setFont(f);
    return r;
}

QPushButton* Passo(const QString& texto, const char* nome, QWidget* pai)
{
    auto* b = new QPushButton(texto, pai);
    b->setObjectName(QString::fromLatin1(nome));
    b->setMinimumHeight(32);
    b->setStyleSheet(QStringLiteral("text-align: left; padding: 4px 12px;"));
    return b;
}
} // namespace

uctInicio::uctInicio(QWidget* pai) : QWidget(pai)
{
    setObjectName(QStringLiteral("uctInicio"));
    setAutoFillBackground(true);
    btnInicioArquivo = Passo(QStringLiteral("Abrir um arquivo de banco de &dados…"), "btnInicioArquivo", this);
    btnInicioServidor = Passo(QStringLiteral("Mapear um servidor SQL Se&rver…"), "btnInicioServidor", this);
    btnInicioEditor = Passo(QStringLiteral("Abrir o &editor de SQL"), "btnInicioEditor", this);
    lstInicioConexoes = new QListWidget(this);
    lstInicioConexoes->setObjectName(QStringLiteral("lstInicioConexoes"));
    lstInicioConexoes->setMaximumHeight(220);

    auto* corpo = new QVBoxLayout;
    corpo->addWidget(Titulo(QStringLiteral("Bem-vindo ao Quarrix"), this, 6));
    corpo->addSpacing(12);
    corpo->addWidget(Titulo(QStringLiteral("Primeiros passos"), this, 2));
    corpo->addWidget(btnInicioArquivo);
    corpo->addWidget(btnInicioServidor);
    corpo->addWidget(btnInicioEditor);
    corpo->addSpacing(12);
    auto* rotulo = Titulo(QStringLiteral("C&onexões mapeadas"), this, 2);
    rotulo->setBuddy(lstInicioConexoes);
    corpo->addWidget(rotulo);
    corpo->addWidget(lstInicioConexoes);
    auto* dica = new QLabel(QStringLiteral("Um clique duplo (ou Enter) abre a conexão no navegador."), this);
    dica->setEnabled(false);
    corpo->addWidget(dica);
    corpo->addStretch();

    // A column of readable width, centred in the area.
    auto* linha = new QHBoxLayout(this);
    linha->addStretch(1);
    linha->addLayout(corpo, 3);
    linha->addStretch(1);

    connect(btnInicioArquivo, &QPushButton::clicked, this, &uctInicio::AbrirArquivoPedido);
    connect(btnInicioServidor, &QPushButton::clicked, this, &uctInicio::MapearServidorPedido);
    connect(btnInicioEditor, &QPushButton::clicked, this, &uctInicio::AbrirEditorPedido);
    connect(lstInicioConexoes, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        emit ConexaoPedida(item->data(Qt::UserRole).toString());
    });
}

void uctInicio::CarregarConexoes(const clsArvore& arvore)
{
    lstInicioConexoes->clear();
    for (const char* grupo : {"Sql", "WebSrv", "Access", "Outros"}) {
        const clsNo* g = arvore.No(QString::fromLatin1(grupo));
        if (!g)
            continue;
        for (const clsNo* no : g->Filhos()) {
            auto* item = new QListWidgetItem(IconeNo(no->Image()), no->Text() + QStringLiteral("  —  ") + g->Text());
            item->setData(Qt::UserRole, no->Key());
            lstInicioConexoes->addItem(item);
        }
    }
    if (lstInicioConexoes->count() > 0)
        lstInicioConexoes->setCurrentRow(0);
}
