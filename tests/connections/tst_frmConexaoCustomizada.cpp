#include "connections/clsAmbienteDados.h"
#include "connections/frmConexaoCustomizada.h"
#include "platform/mdlOdbc.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_frmConexaoCustomizada : public QObject {
    Q_OBJECT
    clsPromptRoteiro promptPadrao;
    clsAmbienteDados amb{promptPadrao};

private slots:
    void MontaAStringPelosCampos()
    {
        frmConexaoCustomizada j(amb);
        const int pg = j.cmbDriver->findText("PostgreSQL Unicode");
        if (pg < 0)
            QSKIP("the PostgreSQL ODBC driver is not installed");
        j.cmbDriver->setCurrentIndex(pg);
        QTest::keyClicks(j.txtServidor, "");
        j.txtPorta->setText("5432");
        QTest::keyClicks(j.txtBanco, "vendas");
        j.txtUsuario->setText("ana");
        QTest::keyClicks(j.txtSenha, "a;b}c");
        CapturarJanela(&j, "frmConexaoCustomizada");
        QCOMPARE(j.ConnectionString(),
                 QStringLiteral("Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=127.0.0.1;"
                                "Port=5432;Database=vendas;Uid=ana;Pwd={a;b}}c}"));
    }

    void SenhaMascaradaNaCaixaDaString()
    {
        // The box shows the password as the password box does, until the user edits the box.
        frmConexaoCustomizada j(amb);
        j.txtUsuario->setText("ana");
        QTest::keyClicks(j.txtSenha, "segredo");
        QVERIFY2(!j.txtConnStr->text().contains("segredo"), qPrintable(j.txtConnStr->text()));
        QVERIFY(j.txtConnStr->text().contains("Pwd=***"));
        QVERIFY(j.ConnectionString().endsWith("Uid=ana;Pwd=segredo"));
        const QString completa = j.ConnectionString();
        QFocusEvent entrada(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(j.txtConnStr, &entrada);
        QVERIFY(!j.txtConnStr->text().contains("segredo"));
        QTest::keyClick(j.txtConnStr, Qt::Key_End);
        QTest::keyClicks(j.txtConnStr, ";Timeout=5");
        QCOMPARE(j.ConnectionString(), completa + ";Timeout=5");
        QVERIFY(!j.txtConnStr->text().contains("segredo"));
    }

    void StringColadaFicaMascaradaEOsCamposSeguem()
    {
        frmConexaoCustomizada j(amb);
        const int pg = j.cmbDriver->findText("PostgreSQL Unicode");
        if (pg < 0)
            QSKIP("the PostgreSQL ODBC driver is not installed");
        j.cmbDriver->setCurrentIndex(pg == 0 ? 1 : 0); // another driver first
        const QString colada = QStringLiteral("Driver={PostgreSQL Unicode};Server=db1;Database=vendas;Uid=ana;"
                                              "Pwd=segredo123");
        j.txtConnStr->selectAll();
        j.txtConnStr->insert(colada); // as a paste does
        QVERIFY2(!j.txtConnStr->text().contains("segredo123"), qPrintable(j.txtConnStr->text()));
        QVERIFY(j.txtConnStr->text().endsWith("Pwd=***"));
        QCOMPARE(j.ConnectionString(), colada);
        QCOMPARE(j.cmbDriver->currentText(), QStringLiteral("PostgreSQL Unicode"));
        QCOMPARE(j.txtServidor->text(), QStringLiteral("db1"));
        QCOMPARE(j.txtSenha->text(), QStringLiteral("segredo123"));
        // Only "Mostrar senha" shows it, and unchecking hides it again.
        QTest::mouseClick(j.chkMostrarSenha, Qt::LeftButton, {}, QPoint(6, j.chkMostrarSenha->height() / 2));
        QCOMPARE(j.txtConnStr->text(), colada);
        QCOMPARE(j.txtSenha->echoMode(), QLineEdit::Normal);
        j.chkMostrarSenha->setChecked(false);
        QVERIFY(j.txtConnStr->text().endsWith("Pwd=***"));
        QCOMPARE(j.ConnectionString(), colada);
    }

    void ValorConnStr_data()
    {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("escrito");
        QTest::newRow("simples") << "vendas"
                                 << "vendas";
        QTest::newRow("ponto e virgula") << "a;b"
                                         << "{a;b}";
        QTest::newRow("chave") << "x}y"
                               << "{x}}y}";
        QTest::newRow("espaco na ponta") << " a"
                                         << "{ a}";
    }
    void ValorConnStr()
    {
        QFETCH(QString, valor);
        QFETCH(QString, escrito);
        QCOMPARE(odbc::ValorConnStr(valor), escrito);
    }

    void TestarConexaoNoServidorDeTeste()
    {
        const QString connStr = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
        if (connStr.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        frmConexaoCustomizada j(amb);
        j.txtConnStr->setText(connStr);
        QVERIFY(j.TestarConexao());
        QCOMPARE(prompt.ultima().texto, QStringLiteral("Conexão efetuada com sucesso."));
        j.txtConnStr->setText(QString(connStr).replace("Pwd=quarrix", "Pwd=errada"));
        QVERIFY(!j.TestarConexao());
        QCOMPARE(prompt.ultima().icone(), int(vb::Critical));
        QVERIFY(prompt.ultima().texto.startsWith("Err:"));
    }

    void CancelarDevolveVazio()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        prompt.dialogos << [](QObject* d) {
            qobject_cast<frmConexaoCustomizada*>(d)->btnCanc->click();
            return int(QDialog::Rejected);
        };
        QVERIFY(PedirConexaoCustomizada(amb).isEmpty());
    }
};
QUARRIX_TESTE(tst_frmConexaoCustomizada);
#include "tst_frmConexaoCustomizada.moc"
