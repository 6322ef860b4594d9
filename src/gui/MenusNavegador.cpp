#include "MenusNavegador.h"

#include <QMenu>
#include <QMenuBar>

namespace {

// One row per item: the group (or submenu) it belongs to, its name and caption. A caption of "-"
// is a separator; a row whose name is a group opens that group on the bar (visible or popup-only).
struct Item {
    const char* pai;
    const char* nome;
    const char* caption;
};

// Groups shown on the menu bar; the others serve as popup menus of their node kinds only.
constexpr const char* GruposVisiveis[] = {"mnuNavMap", "mnuNavSer", "mnuNavBan", "mnuNavTab", "mnuNavCon", "mnuNavPro"};

constexpr Item Itens[] = {
    {nullptr, "mnuNavMap", "&Mapeadores"},
    {"mnuNavMap", "mnuNavMapInc", "&Mapear"},
    {"mnuNavMap", "mnuNavMapCri", "&Criar"},
    {"mnuNavMap", "mnuNavMapSep", "-"},
    {"mnuNavMap", "mnuNavExi", "&Exibir Navegador"},
    {nullptr, "mnuNavSer", "&Servidores"},
    {"mnuNavSer", "mnuNavMapExc", "&Desmapear"},
    {"mnuNavSer", "mnuNavSerSep1", "-"},
    {"mnuNavSer", "mnuNavSerCon", "&Conectar"},
    {"mnuNavSer", "mnuNavSerDesc", "&Desconectar"},
    {"mnuNavSer", "mnuNavSerRef", "&Refresh"},
    {"mnuNavSer", "mnuNavSerSep3", "-"},
    {"mnuNavSer", "mnuNavSerScr", "Script Entire Database"},
    {"mnuNavSer", "mnuNavSerSep2", "-"},
    {"mnuNavSer", "mnuNavSerCri", "&Create Database"},
    {"mnuNavSer", "mnuNavSerAttach", "&Attach Database"},
    {nullptr, "mnuNavBan", "&Banco de Dados"},
    {"mnuNavBan", "mnuNavBanCon", "Conectar"},
    {"mnuNavBan", "mnuNavBanDesc", "&Desconectar"},
    {"mnuNavBan", "mnuNavBanRef", "&Refresh"},
    {"mnuNavBan", "mnuNavBanSep3", "-"},
    {"mnuNavBan", "mnuNavBanExc", "D&elete Database"},
    {"mnuNavBan", "mnuNavBanDetach", "De&tach Database"},
    {"mnuNavBan", "mnuNavBanSep1", "-"},
    {"mnuNavBan", "mnuNavBanScr", "&Script Entire Database"},
    {"mnuNavBan", "mnuNavBanExp", "&Exportar"},
    {"mnuNavBan", "mnuNavBanSep2", "-"},
    {"mnuNavBan", "mnuNavBanBac", "&Backup Database"},
    {"mnuNavBan", "mnuNavBanBacRest", "&Restore Database"},
    {"mnuNavBan", "mnuNavBanShrink", "Shrin&k Database"},
    {"mnuNavBan", "mnuNavBanSep4", "-"},
    {"mnuNavBan", "mnuNavBanSysObj", "Hide System Objects"},
    {nullptr, "mnuNavBac", "&Backup"},
    {"mnuNavBac", "mnuNavBacDev", "Carregar Devices"},
    {"mnuNavBac", "mnuNavBacSep", "-"},
    {"mnuNavBac", "mnuNavBacCri", "&Criar Novo Backup"},
    {"mnuNavBac", "mnuNavBacRest", "&Restaurar Backup"},
    {nullptr, "mnuNavAge", "Sql Agent"},
    {"mnuNavAge", "mnuNavAgeSwith", "Swith"},
    {"mnuNavAgeSwith", "mnuNavAgeSwithItem", "Start Agent"},
    {"mnuNavAge", "mnuNavAgeJobS", "Jobs"},
    {"mnuNavAgeJobS", "mnuNavAgeJobsNew", "New Job"},
    {"mnuNavAgeJobS", "mnuNavAgeJobsRef", "Refresh"},
    {"mnuNavAge", "mnuNavAgeJob", "Job"},
    {"mnuNavAgeJob", "mnuNavAgeJobOpen", "Open"},
    {"mnuNavAgeJob", "mnuNavAgeJobDel", "Delete"},
    {"mnuNavAgeJob", "mnuNavAgeJobSep", "-"},
    {"mnuNavAgeJob", "mnuNavAgeJobStep", "New Step"},
    {"mnuNavAgeJob", "mnuNavAgeJobSch", "New Schedule"},
    {"mnuNavAge", "mnuNavAgeStep", "JobStep"},
    {"mnuNavAgeStep", "mnuNavAgeStepOpen", "Open"},
    {"mnuNavAgeStep", "mnuNavAgeStepDel", "Delete"},
    {"mnuNavAge", "mnuNavAgeSch", "JobSchedule"},
    {"mnuNavAgeSch", "mnuNavAgeSchOpen", "Open"},
    {"mnuNavAgeSch", "mnuNavAgeSchDel", "Delete"},
    {nullptr, "mnuNavTab", "&Tabelas"},
    {"mnuNavTab", "mnuNavTabAbr", "C&arregar Tabela"},
    {"mnuNavTab", "mnuNavTabEst", "&Editar Estrutura"},
    {"mnuNavTab", "mnuNavTabDet", "Carregar &Detalhes"},
    {"mnuNavTab", "mnuNavTabCri", "&Criar Nova Tabela"},
    {"mnuNavTab", "mnuNavTabSep1", "-"},
    {"mnuNavTab", "mnuNavTabScr", "Carregar &Script"},
    {"mnuNavTabScr", "mnuNavTabScrSel", "SELECT"},
    {"mnuNavTabScr", "mnuNavTabScrSep1", "-"},
    {"mnuNavTabScr", "mnuNavTabScrCre", "CREATE TABLE"},
    {"mnuNavTabScr", "mnuNavTabScrAlt", "ALTER TABLE"},
    {"mnuNavTabScr", "mnuNavTabScrDro", "DROP TABLE"},
    {"mnuNavTabScr", "mnuNavTabScrSep2", "-"},
    {"mnuNavTabScr", "mnuNavTabScrIns", "INSERT"},
    {"mnuNavTabScr", "mnuNavTabScrUpd", "UPDATE"},
    {"mnuNavTabScr", "mnuNavTabScrDel", "DELETE"},
    {"mnuNavTab", "mnuNavTabSep2", "-"},
    {"mnuNavTab", "mnuNavTabRen", "&Renomear"},
    {"mnuNavTab", "mnuNavTabExc", "&Excluir"},
    {"mnuNavTab", "mnuNavTabSep3", "-"},
    {"mnuNavTab", "mnuNavTabVis", "&Documentador"},
    {nullptr, "mnuNavCon", "&Consultas"},
    {"mnuNavCon", "mnuNavConAbr", "C&arregar Consulta"},
    {"mnuNavCon", "mnuNavConSep1", "-"},
    {"mnuNavCon", "mnuNavConScr", "Carregar &Script"},
    {"mnuNavConScr", "mnuNavConScrCre", "CREATE VIEW"},
    {"mnuNavConScr", "mnuNavConScrAlt", "ALTER VIEW"},
    {"mnuNavConScr", "mnuNavConScrDro", "DROP VIEW"},
    {nullptr, "mnuNavPro", "&Stored Prodecures"},
    {"mnuNavPro", "mnuNavProAbr", "C&arregar Procedure"},
    {"mnuNavPro", "mnuNavProSep1", "-"},
    {"mnuNavPro", "mnuNavProScr", "Carregar &Script"},
    {"mnuNavProScr", "mnuNavProScrCre", "CREATE PROCEDURE"},
    {"mnuNavProScr", "mnuNavProScrAlt", "ALTER PROCEDURE"},
    {"mnuNavProScr", "mnuNavProScrDro", "DROP PROCEDURE"},
    {nullptr, "mnuNavFun", "Functions"},
    {"mnuNavFun", "mnuNavFunOpen", "Carregar"},
    {"mnuNavFun", "mnuNavFunSep", "-"},
    {"mnuNavFun", "mnuNavFunCreate", "CREATE"},
    {"mnuNavFun", "mnuNavFunAlter", "ALTER"},
    {"mnuNavFun", "mnuNavFunDrop", "DROP"},
    {nullptr, "mnuNavIdx", "Index"},
    {"mnuNavIdx", "mnuNavIdxCreate", "Create"},
    {"mnuNavIdx", "mnuNavIdxSep1", "-"},
    {"mnuNavIdx", "mnuNavIdxOpen", "Open"},
    {"mnuNavIdx", "mnuNavIdxScript", "Script"},
    {"mnuNavIdx", "mnuNavIdxDel", "Delete"},
};

bool EhSubmenu(const char* nome)
{
    for (const Item& i : Itens)
        if (i.pai && qstrcmp(i.pai, nome) == 0)
            return true;
    return false;
}

bool Visivel(const char* grupo)
{
    for (const char* g : GruposVisiveis)
        if (qstrcmp(g, grupo) == 0)
            return true;
    return false;
}

} // namespace

void MenusNavegador::Construir(QMenuBar* barra, QAction* antes)
{
    for (const Item& i : Itens) {
        const QString nome = QString::fromUtf8(i.nome);
        const QString caption = QString::fromUtf8(i.caption);
        if (!i.pai) {
            auto* menu = new QMenu(caption, barra);
            menu->setObjectName(nome);
            menu->menuAction()->setObjectName(nome);
            barra->insertMenu(antes, menu);
            menu->menuAction()->setVisible(Visivel(i.nome));
            menus.insert(nome, menu);
            acoes.insert(nome, menu->menuAction());
            continue;
        }
        QMenu* pai = menus.value(QString::fromUtf8(i.pai));
        if (EhSubmenu(i.nome)) {
            QMenu* sub = pai->addMenu(caption);
            sub->setObjectName(nome);
            sub->menuAction()->setObjectName(nome);
            menus.insert(nome, sub);
            acoes.insert(nome, sub->menuAction());
            continue;
        }
        QAction* acao = caption == u"-" ? pai->addSeparator() : pai->addAction(caption);
        acao->setObjectName(nome);
        acoes.insert(nome, acao);
    }
    acoes.value(QStringLiteral("mnuNavBanSysObj"))->setCheckable(true);
    acoes.value(QStringLiteral("mnuNavExi"))->setCheckable(true);
}
