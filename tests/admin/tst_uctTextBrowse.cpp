// The browse text box and the table box with its links: lists a query's rows from a real
// database file and takes back the chosen row; Escape, no rows and missing settings change
// nothing.
#include "../query/bancoTeste.h"
#include "admin/frmTextBrowse.h"
#include "admin/uctComumAdmin.h"
#include "admin/uctListBox.h"
#include "admin/uctTextBrowse.h"
#include "support/capturas.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

class tst_uctTextBrowse : public QObject {
    Q_OBJECT
    // A browse box over the customers of a database file: description Nome, value Id.
    struct Caixa {
        BancoTeste banco;
        clsPromptRoteiro prompt;
        clsAmbienteDados amb{prompt};
        uctTextBrowse caixa{amb};
        QSignalSpy mudou{&caixa, &uctTextBrowse::ValueChanged};
        Caixa()
        {
            caixa.ConnectionString = banco.ConnStr();
            caixa.InstrucaoSql = "SELECT Nome, Id FROM Clientes ORDER BY Id";
            caixa.CampoDescricao = "Nome";
            caixa.CampoValor = "Id";
        }
        // The pop-up as the user sees it: its current row, then what the user does.
        int linhaAberta = -1;
        void Escolher(std::function<void(frmTextBrowse*)> agir)
        {
            prompt.dialogos.enqueue([this, agir](QObject* o) {
                auto* j = qobject_cast<frmTextBrowse*>(o);
                linhaAberta = j->LinhaAtual();
                CapturarJanela(j, "frmTextBrowse");
                agir(j);
                return j->result();
            });
            caixa.btnBrowse_Click();
        }
    };

private slots:
    void EscolhaLevaDescricaoEValor()
    {
        Caixa c;
        c.Escolher([](frmTextBrowse* j) {
            j->SelecionarLinha(1);
            QTest::keyClick(j->dgrConsulta, Qt::Key_Return);
        });
        QCOMPARE(c.linhaAberta, 0);
        QCOMPARE(c.caixa.Text(), QStringLiteral("Bruno"));
        QCOMPARE(c.caixa.Value().toInt(), 2);
        QCOMPARE(c.mudou.count(), 1);
        // Opened again, the list stands on the current choice.
        c.Escolher([](frmTextBrowse* j) { QTest::keyClick(j->dgrConsulta, Qt::Key_Escape); });
        QCOMPARE(c.linhaAberta, 1);
        QVERIFY(c.prompt.mensagens.isEmpty());
        QCOMPARE(c.prompt.ampulheta, 0);
    }

    void EscapeNaoMudaNada()
    {
        Caixa c;
        c.caixa.setText("Carla");
        c.caixa.setValue(3);
        c.Escolher([](frmTextBrowse* j) {
            j->SelecionarLinha(0);
            QTest::keyClick(j->dgrConsulta, Qt::Key_Escape);
        });
        QCOMPARE(c.linhaAberta, 2);
        QCOMPARE(c.caixa.Text(), QStringLiteral("Carla"));
        QCOMPARE(c.caixa.Value().toInt(), 3);
        QCOMPARE(c.mudou.count(), 0);
    }

    void SemLinhasOuSemPropriedades_data()
    {
        QTest::addColumn<QString>("connStr");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("sem linhas") << ""
                                    << "SELECT Nome, Id FROM Clientes WHERE 1 = 2"
                                    << "Nenhum Registro Encontrado";
        QTest::newRow("sem conexao") << "-"
                                     << "SELECT 1"
                                     << "Falta a Definição da Propriedade com a String de Conexão";
        QTest::newRow("sem instrucao") << ""
                                       << ""
                                       << "Falta a Definição da Propriedade com a Instrução SQL";
    }
    void SemLinhasOuSemPropriedades()
    {
        QFETCH(QString, connStr);
        QFETCH(QString, sql);
        QFETCH(QString, mensagem);
        Caixa c;
        if (connStr == "-")
            c.caixa.ConnectionString.clear();
        c.caixa.InstrucaoSql = sql;
        c.caixa.setText("Ana");
        c.caixa.setValue(1);
        c.caixa.btnBrowse_Click();
        QCOMPARE(c.prompt.textos(), QStringList{mensagem});
        QCOMPARE(c.prompt.ultima().icone(), int(vb::Exclamation));
        QCOMPARE(c.caixa.Text(), QStringLiteral("Ana"));
        QCOMPARE(c.caixa.Value().toInt(), 1);
        QCOMPARE(c.mudou.count(), 0);
    }

    void LinkRepetidoAvisaENaoEntra()
    {
        clsPromptRoteiro prompt;
        uctListBox clientes(prompt), pedidos(prompt);
        QObject linha1, linha2;
        QVERIFY(clientes.RelatItens().Add(&linha1, &pedidos, "Clientes.Id", 1));
        QVERIFY(!clientes.RelatItens().Add(&linha2, &pedidos, "Clientes.Id", 2));
        QCOMPARE(prompt.textos(), QStringList{"Item: 'Clientes.Id' Já Inclusa"});
        QCOMPARE(prompt.ultima().icone(), int(vb::Exclamation));
        QCOMPARE(clientes.RelatItens().Count(), 1);
        QCOMPARE(clientes.RelatItens().Item("Clientes.Id")->objLine.data(), &linha1);
        QCOMPARE(clientes.RelatItens().Item(1)->ListaIrmao.data(), &pedidos);
        QVERIFY(!clientes.RelatItens().Item(2));
    }

    void CaixaDeTabelaMostraCamposEChaves()
    {
        clsPromptRoteiro prompt;
        QWidget area;
        area.resize(400, 300);
        uctListBox caixa(prompt, &area);
        caixa.resize(180, 90);
        QStringList campos;
        for (int i = 0; i < 12; ++i)
            campos << QStringLiteral("Campo%1").arg(i);
        caixa.IncluirItens("Clientes", campos, {true, false, true});
        area.show();
        QCOMPARE(caixa.lblTitulo->text(), QStringLiteral("Clientes"));
        QCOMPARE(caixa.findChild<QLabel*>("lblItem11")->text(), QStringLiteral("Campo11"));
        QVERIFY(!caixa.findChild<QLabel*>("picItem0")->pixmap().isNull());
        QVERIFY(caixa.findChild<QLabel*>("picItem1")->pixmap().isNull());
        QVERIFY(caixa.scrVertical->isEnabled()); // twelve fields do not fit
        caixa.scrVertical->setValue(caixa.scrVertical->maximum());
        QCOMPARE(caixa.fraCampos->y(), -caixa.scrVertical->maximum());
        CapturarJanela(&area, "uctListBox");
        // Dragging the title moves the box.
        const QPoint antes = caixa.pos();
        QTest::mousePress(caixa.lblTitulo, Qt::LeftButton, {}, QPoint(5, 5));
        QMouseEvent mover(QEvent::MouseMove,
                          QPointF(45, 25),
                          caixa.lblTitulo->mapToGlobal(QPointF(45, 25)),
                          Qt::NoButton,
                          Qt::LeftButton,
                          {});
        QApplication::sendEvent(caixa.lblTitulo, &mover);
        QTest::mouseRelease(caixa.lblTitulo, Qt::LeftButton, {}, QPoint(45, 25));
        QCOMPARE(caixa.pos(), antes + QPoint(40, 20));
    }
};
QUARRIX_TESTE(tst_uctTextBrowse);
#include "tst_uctTextBrowse.moc"
