#include "platform/mdlProcessos.h"
#include "support/registroTestes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

// Starts the program and waits for its answer as the caller's event loop does.
std::optional<bool> Executar(const QString& programa, const QStringList& argumentos, const QByteArray& entrada = {})
{
    QObject contexto;
    std::optional<bool> fim;
    processos::Executar(programa, argumentos, entrada, &contexto, [&](bool ok, const QString&) { fim = ok; });
    // Nothing waits inside the call.
    if (fim.has_value())
        return std::nullopt;
    QTest::qWaitFor([&] { return fim.has_value(); }, 20000);
    return fim;
}

} // namespace

class tst_mdlProcessos : public QObject {
    Q_OBJECT
private slots:
    void SemProgramaNaoFazNada()
    {
        QCOMPARE(Executar(QString(), {}), std::optional<bool>(false));
        QCOMPARE(Executar("   ", {}), std::optional<bool>(false));
        QCOMPARE(Executar("/nao/existe/programa", {"--x"}), std::optional<bool>(false));
    }

    // The answer comes once the program has ended: the file it writes after a pause is there, and
    // the argument with blanks and the standard input arrive whole.
    void AvisaQuandoOProgramaTermina()
    {
        QTemporaryDir tmp;
        const QString arquivo = tmp.filePath("pasta com espaco/fim.txt");
        QVERIFY(QDir().mkpath(tmp.filePath("pasta com espaco")));
        QCOMPARE(Executar("sh", {"-c", "sleep 0.3; cat > \"$0\"", arquivo}, "segredo\n"), std::optional<bool>(true));
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("segredo\n"));
    }

    // A caller gone before the program ends is not called back.
    void ContextoDestruidoNaoRecebe()
    {
        bool chamado = false;
        {
            QObject contexto;
            processos::Executar("sh", {"-c", "sleep 0.2"}, {}, &contexto, [&](bool, const QString&) {
                chamado = true;
            });
        }
        QTest::qWait(600);
        QVERIFY(!chamado);
    }
};
QUARRIX_TESTE(tst_mdlProcessos);
#include "tst_mdlProcessos.moc"
