#include "platform/mdlLinhas.h"
#include "support/registroTestes.h"

#include <QTest>
#include <QThread>

#include <atomic>

class tst_mdlLinhas : public QObject {
    Q_OBJECT
private slots:
    // The caller hears of the end in its own thread; a caller gone by then hears nothing, and the
    // work still ends before the program goes on past EsperarTodas.
    void AvisaEEsperaNoFim()
    {
        bool avisado = false;
        linhas::Iniciar([] {}, this, [&] { avisado = QThread::currentThread() == thread(); });
        QTRY_VERIFY(avisado);

        std::atomic<bool> terminou{false};
        bool ouvido = false;
        {
            QObject contexto;
            linhas::Iniciar(
                [&] {
                    QThread::msleep(300);
                    terminou = true;
                },
                &contexto,
                [&] { ouvido = true; });
        }
        linhas::EsperarTodas();
        QVERIFY(terminou);
        QTest::qWait(50);
        QVERIFY(!ouvido);
    }
};
QUARRIX_TESTE(tst_mdlLinhas);
#include "tst_mdlLinhas.moc"
