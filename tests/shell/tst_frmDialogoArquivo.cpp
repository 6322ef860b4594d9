// The windows' file dialogs: the program's filters listed as Qt lists them, the chosen entry
// selected, and no question of Qt's own about replacing a file.
#include "gui/PromptJanelas.h"
#include "support/registroTestes.h"
#include "support/usuarioModal.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Scripts = QStringLiteral("Scripts de SQL|*.txt;*.sql|Arquivos de Texto (*.txt)|*.txt|"
                                       "Arquivos de SQL (*.sql)|*.sql|Todos os Arquivos (*.*)|*.*");

void Criar(const QString& arquivo)
{
    QFile f(arquivo);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

// The names the dialog lists in its folder once the folder has been read.
QStringList Listados(QFileDialog* d)
{
    auto* lista = d->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    QStringList nomes;
    if (!lista || !lista->model())
        return nomes;
    const QModelIndex raiz = lista->rootIndex();
    for (int i = 0; i < lista->model()->rowCount(raiz); ++i)
        nomes << lista->model()->index(i, 0, raiz).data().toString();
    nomes.sort();
    return nomes;
}
} // namespace

class tst_frmDialogoArquivo : public QObject {
    Q_OBJECT
private slots:
    void AbrirListaOsScripts_data()
    {
        QTest::addColumn<int>("entrada");
        QTest::addColumn<QString>("selecionado");
        QTest::addColumn<QStringList>("listados");
        QTest::newRow("primeira entrada") << 0 << "Scripts de SQL (*.txt *.sql)" << QStringList{"a.sql", "b.txt"};
        QTest::newRow("terceira entrada") << 2 << "Arquivos de SQL (*.sql)" << QStringList{"a.sql"};
    }
    void AbrirListaOsScripts()
    {
        QFETCH(int, entrada);
        QFETCH(QString, selecionado);
        QFETCH(QStringList, listados);
        QTemporaryDir pasta;
        for (const char* n : {"a.sql", "b.txt", "c.dat"})
            Criar(pasta.filePath(QString::fromLatin1(n)));
        PromptJanelas prompt;
        QStringList filtros;
        QString atual;
        QStringList vistos;
        UsuarioModal<QFileDialog> usuario([&](QFileDialog* d) {
            filtros = d->nameFilters();
            atual = d->selectedNameFilter();
            // The folder is read in the background: wait until the list settles.
            QTest::qWaitFor([&] { return Listados(d) == listados; }, 5000);
            vistos = Listados(d);
            d->selectFile(pasta.filePath(QStringLiteral("a.sql")));
            static_cast<QDialog*>(d)->done(QDialog::Accepted);
        });
        const QString escolhido = prompt.ArquivoAbrir(QStringLiteral("Abrir"), pasta.path(), Scripts, entrada);
        QCOMPARE(filtros.size(), 4);
        QCOMPARE(filtros.at(1), QStringLiteral("Arquivos de Texto (*.txt)"));
        QCOMPARE(atual, selecionado);
        QCOMPARE(vistos, listados);
        Q_UNUSED(escolhido);
    }
    void SalvarSobreArquivoNaoPerguntaNoDialogo()
    {
        QTemporaryDir pasta;
        const QString arq = pasta.filePath(QStringLiteral("a.sql"));
        Criar(arq);
        PromptJanelas prompt;
        bool semPergunta = false;
        UsuarioModal<QFileDialog> usuario([&](QFileDialog* d) {
            // With Qt's own question on, accepting would ask before closing.
            semPergunta = d->testOption(QFileDialog::DontConfirmOverwrite);
            if (!semPergunta) {
                d->reject();
                return;
            }
            d->selectFile(arq);
            static_cast<QDialog*>(d)->done(QDialog::Accepted);
        });
        const QString escolhido = prompt.ArquivoSalvar(QStringLiteral("Salvar"), pasta.path(), Scripts, 2);
        QVERIFY(semPergunta);
        Q_UNUSED(escolhido);
    }
};
QUARRIX_TESTE(tst_frmDialogoArquivo);
#include "tst_frmDialogoArquivo.moc"
