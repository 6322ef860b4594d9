// The local engine setup: a private PostgreSQL server for the user on this machine, its first
// database mapped in the navigator. Run again, it shows the server's state with "Iniciar", "Parar"
// and "Remover". With --sem-janela it takes "acao=instalar|iniciar|parar|remover|estado" (and
// "banco=nome") from standard input, one "chave=valor" a line, and reports on the terminal.
#include "servidorlocal.h"

#include "platform/mdlProgramas.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>
#include <QVBoxLayout>

#include <cstdio>

namespace {

const QString Titulo = QStringLiteral("MSDE(r) Easy Setup");

QHash<QString, QString> LerEntrada()
{
    QHash<QString, QString> r;
    const QStringList linhas
        = LerArgumentoPrograma().split(QRegularExpression(QStringLiteral("[\r\n&]")), Qt::SkipEmptyParts);
    for (const QString& l : linhas) {
        const qsizetype igual = l.indexOf(u'=');
        if (igual > 0)
            r.insert(l.left(igual).trimmed().toLower(), l.mid(igual + 1).trimmed());
    }
    return r;
}

int SemJanela()
{
    const QHash<QString, QString> a = LerEntrada();
    const QString acao = a.value(QStringLiteral("acao"));
    const auto passo = [](const QString& texto) {
        std::printf("%s\n", qPrintable(texto));
        std::fflush(stdout);
    };
    QString erro;
    bool ok = false;
    if (acao == u"instalar")
        ok = servidorlocal::Instalar(a.value(QStringLiteral("banco"), QStringLiteral("quarrix")), passo, erro);
    else if (acao == u"iniciar")
        ok = servidorlocal::Iniciar(passo, erro);
    else if (acao == u"parar")
        ok = servidorlocal::Parar(passo, erro);
    else if (acao == u"remover")
        ok = servidorlocal::Remover(passo, erro);
    else if (acao == u"estado") {
        const servidorlocal::Estado e = servidorlocal::LerEstado();
        std::printf("instalado=%d\nrodando=%d\nporta=%d\nbanco=%s\npasta=%s\n",
                    int(e.instalado),
                    int(e.rodando),
                    e.porta,
                    qPrintable(e.banco),
                    qPrintable(e.pasta));
        return 0;
    } else {
        std::fputs(
            "uso: quarrix-easysetup [--sem-janela] < \"acao=instalar|iniciar|parar|remover|estado\" [banco=nome]\n",
            stderr);
        return 2;
    }
    if (!ok) {
        std::fprintf(stderr, "%s\n", qPrintable(erro));
        return 1;
    }
    return 0;
}

// The window: the server's state, its buttons, and the steps of the work in progress. The work runs
// on a thread of its own; the window only shows what it reports.
class frmEasySetup : public QWidget {
public:
    frmEasySetup()
    {
        setObjectName(QStringLiteral("frmEasySetup"));
        setWindowTitle(Titulo);
        lblEstado = new QLabel(this);
        lblEstado->setWordWrap(true);
        txtBanco = new QLineEdit(QStringLiteral("quarrix"), this);
        txtBanco->setObjectName(QStringLiteral("txtBanco"));
        auto* linhaBanco = new QHBoxLayout;
        auto* rotulo = new QLabel(QStringLiteral("&Banco de dados:"), this);
        rotulo->setBuddy(txtBanco);
        linhaBanco->addWidget(rotulo);
        linhaBanco->addWidget(txtBanco);
        btnInstalar = Botao("btnInstalar", QStringLiteral("&Instalar"));
        btnIniciar = Botao("btnIniciar", QStringLiteral("I&niciar"));
        btnParar = Botao("btnParar", QStringLiteral("&Parar"));
        btnRemover = Botao("btnRemover", QStringLiteral("&Remover"));
        auto* botoes = new QHBoxLayout;
        for (QPushButton* b : {btnInstalar, btnIniciar, btnParar, btnRemover})
            botoes->addWidget(b);
        barra = new QProgressBar(this);
        barra->setRange(0, 0);
        barra->hide();
        txtPassos = new QPlainTextEdit(this);
        txtPassos->setReadOnly(true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(lblEstado);
        layout->addLayout(linhaBanco);
        layout->addLayout(botoes);
        layout->addWidget(barra);
        layout->addWidget(txtPassos);
        resize(520, 320);
        connect(btnInstalar, &QPushButton::clicked, this, [this] {
            const QString banco = txtBanco->text().trimmed();
            Trabalhar(
                [banco](const servidorlocal::Passo& p, QString& e) { return servidorlocal::Instalar(banco, p, e); });
        });
        connect(btnIniciar, &QPushButton::clicked, this, [this] { Trabalhar(servidorlocal::Iniciar); });
        connect(btnParar, &QPushButton::clicked, this, [this] { Trabalhar(servidorlocal::Parar); });
        connect(btnRemover, &QPushButton::clicked, this, [this] {
            QMessageBox pergunta(QMessageBox::Question,
                                 Titulo,
                                 QStringLiteral("O servidor e todos os seus bancos de dados, na pasta\n%1,\nserão "
                                                "apagados. Deseja continuar?")
                                     .arg(servidorlocal::Pasta()),
                                 QMessageBox::NoButton,
                                 this);
            QPushButton* sim = pergunta.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
            QPushButton* nao = pergunta.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
            pergunta.setDefaultButton(nao);
            pergunta.setEscapeButton(nao);
            pergunta.exec();
            if (pergunta.clickedButton() == sim)
                Trabalhar(servidorlocal::Remover);
        });
        Atualizar();
    }

private:
    QPushButton* Botao(const char* nome, const QString& texto)
    {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nome));
        return b;
    }

    void Atualizar()
    {
        const servidorlocal::Estado e = servidorlocal::LerEstado();
        const bool temMotor = !servidorlocal::PastaProgramas().isEmpty();
        if (!temMotor && !e.instalado)
            lblEstado->setText(servidorlocal::MensagemSemMotor());
        else if (!e.instalado)
            lblEstado->setText(QStringLiteral("Nenhum servidor instalado. \"Instalar\" cria um servidor PostgreSQL só "
                                              "seu em %1, acessível apenas deste computador.")
                                   .arg(e.pasta));
        else
            lblEstado->setText(QStringLiteral("Servidor em %1\nPorta %2, banco de dados %3: %4.")
                                   .arg(e.pasta)
                                   .arg(e.porta)
                                   .arg(e.banco, e.rodando ? QStringLiteral("rodando") : QStringLiteral("parado")));
        txtBanco->setEnabled(!e.instalado && temMotor && !m_ocupado);
        btnInstalar->setEnabled(!e.instalado && temMotor && !m_ocupado);
        btnIniciar->setEnabled(e.instalado && !e.rodando && temMotor && !m_ocupado);
        btnParar->setEnabled(e.rodando && !m_ocupado);
        btnRemover->setEnabled(e.instalado && !m_ocupado);
        barra->setVisible(m_ocupado);
    }

    void Trabalhar(std::function<bool(const servidorlocal::Passo&, QString&)> acao)
    {
        m_ocupado = true;
        Atualizar();
        QThread* t = QThread::create([this, acao] {
            QString erro;
            const bool ok = acao(
                [this](const QString& texto) {
                    QMetaObject::invokeMethod(this, [this, texto] { txtPassos->appendPlainText(texto); });
                },
                erro);
            QMetaObject::invokeMethod(this, [this, ok, erro] {
                m_ocupado = false;
                Atualizar();
                if (!ok)
                    QMessageBox::critical(this, Titulo, erro);
            });
        });
        connect(t, &QThread::finished, t, &QObject::deleteLater);
        t->start();
    }

    QLabel* lblEstado;
    QLineEdit* txtBanco;
    QPushButton* btnInstalar;
    QPushButton* btnIniciar;
    QPushButton* btnParar;
    QPushButton* btnRemover;
    QProgressBar* barra;
    QPlainTextEdit* txtPassos;
    bool m_ocupado = false;
};

} // namespace

int main(int argc, char** argv)
{
    bool semJanela = false;
    if (!LerOpcoesPrograma(argc, argv, "uso: quarrix-easysetup [--sem-janela]\n", semJanela))
        return 2;
    if (semJanela) {
        QCoreApplication app(argc, argv);
        return SemJanela();
    }
    QApplication app(argc, argv);
    frmEasySetup janela;
    janela.show();
    return QApplication::exec();
}
