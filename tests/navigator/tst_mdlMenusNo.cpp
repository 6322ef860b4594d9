// The navigator menus' state per kind of node, as data: after clicking a sequence of nodes, what
// each item shows, and which popup (with which default item) a right click opens.
#include "navigator/mdlMenusNo.h"
#include "navigator/mdlNavegador.h"
#include "support/registroTestes.h"

#include <QTest>

namespace {
// The state the items end in after clicking the nodes in order; items never assigned stay absent.
QHash<QString, QString> Estado(const QList<std::pair<int, QString>>& cliques)
{
    QHash<QString, QString> e;
    for (const auto& [imagem, texto] : cliques)
        for (const AtribuicaoMenu& a : AtribuicoesMenus(imagem, texto)) {
            const QString chave = a.item
                                  + (a.propriedade == AtribuicaoMenu::Visivel      ? QStringLiteral(".visivel")
                                     : a.propriedade == AtribuicaoMenu::Habilitado ? QStringLiteral(".habilitado")
                                                                                   : QStringLiteral(".legenda"));
            e.insert(chave, a.propriedade == AtribuicaoMenu::Legenda ? a.legenda : a.valor ? "sim" : "não");
        }
    return e;
}
using Cliques = QList<std::pair<int, QString>>;
} // namespace

Q_DECLARE_METATYPE(Cliques)

class tst_mdlMenusNo : public QObject {
    Q_OBJECT
private slots:
    void Estados_data()
    {
        QTest::addColumn<Cliques>("cliques");
        QTest::addColumn<QString>("propriedade");
        QTest::addColumn<QString>("esperado");
        using namespace img;
        const Cliques banco{{Banco, "Vendas"}};
        QTest::newRow("disconnected db: connect") << banco << "mnuNavBanCon.habilitado"
                                                  << "sim";
        QTest::newRow("disconnected db: disconnect") << banco << "mnuNavBanDesc.habilitado"
                                                     << "não";
        QTest::newRow("disconnected db: refresh") << banco << "mnuNavBanRef.habilitado"
                                                  << "não";
        QTest::newRow("disconnected db: backup") << banco << "mnuNavBanBac.habilitado"
                                                 << "não";
        QTest::newRow("disconnected db: delete") << banco << "mnuNavBanExc.habilitado"
                                                 << "sim";
        QTest::newRow("disconnected db: caption") << banco << "mnuNavBanExc.legenda"
                                                  << "&Excluir 'Vendas'";
        QTest::newRow("connected db: backup") << Cliques{{BancoConectado, "V"}} << "mnuNavBanBac.habilitado"
                                              << "sim";
        QTest::newRow("server: delete caption") << Cliques{{SqlServer, "srv"}} << "mnuNavBanExc.legenda"
                                                << "&Excluir";
        const Cliques tabela{{Tabela, "Clientes"}};
        QTest::newRow("table: caption") << tabela << "mnuNavTabExc.legenda"
                                        << "&Excluir 'Clientes'";
        QTest::newRow("table: rename") << tabela << "mnuNavTabRen.habilitado"
                                       << "sim";
        QTest::newRow("table: new table hidden") << tabela << "mnuNavTabCri.visivel"
                                                 << "não";
        const Cliques sistema{{TabelaSistema, "sysobjects"}};
        QTest::newRow("system table: open") << sistema << "mnuNavTabAbr.habilitado"
                                            << "sim";
        QTest::newRow("system table: details") << sistema << "mnuNavTabDet.habilitado"
                                               << "sim";
        QTest::newRow("system table: delete") << sistema << "mnuNavTabExc.habilitado"
                                              << "não";
        QTest::newRow("system table: rename") << sistema << "mnuNavTabRen.habilitado"
                                              << "não";
        QTest::newRow("system table: caption") << sistema << "mnuNavTabExc.legenda"
                                               << "&Excluir";
        QTest::newRow("tables folder: new table") << Cliques{{PastaTabelas, "Tabelas"}} << "mnuNavTabCri.visivel"
                                                  << "sim";
        QTest::newRow("procedure: open never") << Cliques{{Procedure, "p"}} << "mnuNavProAbr.habilitado"
                                               << "não";
        QTest::newRow("procedure: script") << Cliques{{Procedure, "p"}} << "mnuNavProScr.habilitado"
                                           << "sim";
        // A function after a trigger folder keeps ALTER and DROP as the folder left them.
        const Cliques funcao{{PastaTriggers, "Triggers"}, {Funcao, "f"}};
        QTest::newRow("function after triggers: alter") << funcao << "mnuNavFunAlter.habilitado"
                                                        << "não";
        QTest::newRow("function after triggers: drop") << funcao << "mnuNavFunDrop.habilitado"
                                                       << "não";
        QTest::newRow("function: caption") << funcao << "mnuNavFun.legenda"
                                           << "Functions";
        QTest::newRow("function: open") << funcao << "mnuNavFunOpen.habilitado"
                                        << "sim";
        QTest::newRow("trigger: alter") << Cliques{{Trigger, "t"}} << "mnuNavFunAlter.habilitado"
                                        << "sim";
        QTest::newRow("trigger: caption") << Cliques{{Trigger, "t"}} << "mnuNavFun.legenda"
                                          << "Triggers";
        QTest::newRow("table: functions hidden") << tabela << "mnuNavFun.visivel"
                                                 << "não";
        QTest::newRow("access group: create") << Cliques{{Grupo, "Microsoft Access"}} << "mnuNavMapCri.visivel"
                                              << "sim";
        QTest::newRow("other group: create") << Cliques{{Grupo, "Web Services"}} << "mnuNavMapCri.visivel"
                                             << "não";
        QTest::newRow("server off: connect") << Cliques{{SqlServer, "s"}} << "mnuNavSerCon.habilitado"
                                             << "sim";
        QTest::newRow("server off: create db") << Cliques{{SqlServer, "s"}} << "mnuNavSerCri.habilitado"
                                               << "não";
        QTest::newRow("server off: create db shown") << Cliques{{SqlServer, "s"}} << "mnuNavSerCri.visivel"
                                                     << "sim";
        QTest::newRow("server on: create db") << Cliques{{SqlServerConectado, "s"}} << "mnuNavSerCri.habilitado"
                                              << "sim";
        QTest::newRow("web service on: disconnect") << Cliques{{WebServiceConectado, "w"}} << "mnuNavSerDesc.habilitado"
                                                    << "sim";
        QTest::newRow("custom: refresh shown") << Cliques{{Customizada, "c"}} << "mnuNavSerRef.visivel"
                                               << "sim";
        QTest::newRow("custom: connect hidden") << Cliques{{Customizada, "c"}} << "mnuNavSerCon.visivel"
                                                << "não";
        QTest::newRow("custom: script") << Cliques{{Customizada, "c"}} << "mnuNavSerScr.habilitado"
                                        << "sim";
        QTest::newRow("access off: script shown") << Cliques{{Access, "a"}} << "mnuNavSerScr.visivel"
                                                  << "sim";
        QTest::newRow("access off: script") << Cliques{{Access, "a"}} << "mnuNavSerScr.habilitado"
                                            << "não";
        QTest::newRow("backup: devices") << Cliques{{img::Backup, "Backup"}} << "mnuNavBacDev.habilitado"
                                         << "sim";
        QTest::newRow("job: open") << Cliques{{Job, "j"}} << "mnuNavAgeJobOpen.habilitado"
                                   << "sim";
        QTest::newRow("index: menu shown") << Cliques{{Indice, "ix"}} << "mnuNavIdx.visivel"
                                           << "sim";
        QTest::newRow("index folder: create") << Cliques{{PastaIndices, "Indexes"}} << "mnuNavIdxCreate.habilitado"
                                              << "sim";
        QTest::newRow("index folder: delete") << Cliques{{PastaIndices, "Indexes"}} << "mnuNavIdxDel.habilitado"
                                              << "não";
    }
    void Estados()
    {
        QFETCH(Cliques, cliques);
        QFETCH(QString, propriedade);
        QFETCH(QString, esperado);
        QCOMPARE(Estado(cliques).value(propriedade, "<não atribuído>"), esperado);
    }

    // Items the table leaves alone are never assigned.
    void ItensNaoListadosFicamComoEstao()
    {
        const auto e = Estado({{img::Banco, "x"}});
        QVERIFY(!e.contains("mnuNavBanDetach.habilitado"));
        QVERIFY(!e.contains("mnuNavFunAlter.habilitado"));
        QVERIFY(!e.contains("mnuNavFunCreate.habilitado"));
    }

    void Popups_data()
    {
        QTest::addColumn<int>("imagem");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("padrao");
        using namespace img;
        QTest::newRow("tables folder") << int(PastaTabelas) << "mnuNavTab"
                                       << "mnuNavTabAbr";
        QTest::newRow("system table") << int(TabelaSistema) << "mnuNavTab"
                                      << "mnuNavTabAbr";
        QTest::newRow("db off") << int(Banco) << "mnuNavBan"
                                << "mnuNavBanCon";
        QTest::newRow("db on") << int(BancoConectado) << "mnuNavBan"
                               << "mnuNavBanRef";
        QTest::newRow("server off") << int(SqlServer) << "mnuNavSer"
                                    << "mnuNavSerCon";
        QTest::newRow("server on") << int(SqlServerConectado) << "mnuNavSer"
                                   << "mnuNavSerRef";
        QTest::newRow("custom") << int(Customizada) << "mnuNavSer"
                                << "mnuNavSerRef";
        QTest::newRow("web service off") << int(WebService) << "mnuNavSer"
                                         << "mnuNavSerCon";
        QTest::newRow("group") << int(Grupo) << "mnuNavMap"
                               << "";
        QTest::newRow("backup") << int(img::Backup) << "mnuNavBac"
                                << "mnuNavBacDev";
        QTest::newRow("jobs") << int(PastaJobs) << "mnuNavAgeJobS"
                              << "";
        QTest::newRow("step") << int(JobStep) << "mnuNavAgeStep"
                              << "mnuNavAgeStepOpen";
        QTest::newRow("view") << int(ViewSistema) << "mnuNavCon"
                              << "mnuNavConAbr";
        QTest::newRow("procedure") << int(Procedure) << "mnuNavPro"
                                   << "mnuNavProAbr";
        QTest::newRow("function") << int(Funcao) << "mnuNavFun"
                                  << "mnuNavFunOpen";
        QTest::newRow("trigger") << int(Trigger) << "mnuNavFun"
                                 << "mnuNavFunAlter";
        QTest::newRow("triggers folder") << int(PastaTriggers) << "mnuNavFun"
                                         << "mnuNavFunCreate";
        QTest::newRow("index") << int(Indice) << "mnuNavIdx"
                               << "mnuNavIdxOpen";
        QTest::newRow("indexes folder") << int(PastaIndices) << "mnuNavIdx"
                                        << "mnuNavIdxCreate";
        QTest::newRow("column: none") << int(Coluna) << ""
                                      << "";
        QTest::newRow("root: none") << int(Raiz) << ""
                                    << "";
    }
    void Popups()
    {
        QFETCH(int, imagem);
        QFETCH(QString, menu);
        QFETCH(QString, padrao);
        const PopupNo p = PopupDoNo(imagem);
        QCOMPARE(p.menu, menu);
        QCOMPARE(p.padrao, padrao);
    }

    void ChaveDoAgente()
    {
        QCOMPARE(PopupDoNo(img::AgentRodando).legendaSwith, QStringLiteral("Stop Agent"));
        QCOMPARE(PopupDoNo(img::AgentParado).legendaSwith, QStringLiteral("Start Agent"));
        QCOMPARE(PopupDoNo(img::AgentParado).menu, QStringLiteral("mnuNavAgeSwith"));
    }
};

QUARRIX_TESTE(tst_mdlMenusNo);
#include "tst_mdlMenusNo.moc"
