#include "mdlMenusNo.h"

#include "mdlNavegador.h"

#include <initializer_list>

namespace {

bool Em(int imagem, std::initializer_list<int> imagens)
{
    for (int i : imagens)
        if (i == imagem)
            return true;
    return false;
}

class Lista {
public:
    void Visivel(const char* item, bool valor) { Por(item, AtribuicaoMenu::Visivel, valor); }
    void Habilitado(const char* item, bool valor) { Por(item, AtribuicaoMenu::Habilitado, valor); }
    void Legenda(const char* item, const QString& legenda)
    {
        m_lista.append({QString::fromLatin1(item), AtribuicaoMenu::Legenda, false, legenda});
    }
    QList<AtribuicaoMenu> Tomar() { return std::move(m_lista); }

private:
    void Por(const char* item, AtribuicaoMenu::Propriedade p, bool valor)
    {
        m_lista.append({QString::fromLatin1(item), p, valor, {}});
    }
    QList<AtribuicaoMenu> m_lista;
};

// "&Excluir", followed by the object's name in apostrophes when the node is such an object.
QString LegendaExcluir(bool doObjeto, const QString& texto)
{
    return QStringLiteral("&Excluir") + (doObjeto ? QStringLiteral(" '") + texto + u'\'' : QString());
}

} // namespace

QList<AtribuicaoMenu> AtribuicoesMenus(int i, const QString& texto)
{
    using namespace img;
    Lista l;
    l.Visivel("mnuNavMapCri", texto == u"Microsoft Access");
    l.Habilitado("mnuNavSerCon", Em(i, {SqlServer, Access, WebService}));
    const bool conVisivel = (i >= SqlServerConectado && i <= Access) || Em(i, {WebService, WebServiceConectado});
    l.Visivel("mnuNavSerCon", conVisivel);
    l.Habilitado("mnuNavSerDesc", Em(i, {SqlServerConectado, AccessConectado, WebServiceConectado}));
    l.Visivel("mnuNavSerDesc", conVisivel);
    l.Habilitado("mnuNavSerRef", Em(i, {SqlServerConectado, AccessConectado, Customizada}));
    const bool refVisivel = conVisivel || i == Customizada;
    l.Visivel("mnuNavSerRef", refVisivel);
    l.Visivel("mnuNavSerSep1", refVisivel);
    const bool servidor = Em(i, {SqlServerConectado, SqlServer});
    l.Visivel("mnuNavSerSep2", servidor);
    l.Visivel("mnuNavSerCri", servidor);
    l.Visivel("mnuNavSerAttach", servidor);
    l.Habilitado("mnuNavSerCri", i == SqlServerConectado);
    l.Habilitado("mnuNavSerAttach", i == SqlServerConectado);
    const bool scrVisivel = Em(i, {AccessConectado, Access, Customizada});
    l.Visivel("mnuNavSerScr", scrVisivel);
    l.Visivel("mnuNavSerSep3", scrVisivel);
    l.Habilitado("mnuNavSerScr", Em(i, {AccessConectado, Customizada}));
    const bool banco = Em(i, {BancoConectado, Banco});
    l.Habilitado("mnuNavBanExc", banco);
    l.Habilitado("mnuNavBanCon", i == Banco);
    l.Habilitado("mnuNavBanDesc", i == BancoConectado);
    l.Habilitado("mnuNavBanRef", i == BancoConectado);
    l.Legenda("mnuNavBanExc", LegendaExcluir(banco, texto));
    for (const char* item :
         {"mnuNavBanScr", "mnuNavBanBac", "mnuNavBanBacRest", "mnuNavBanShrink", "mnuNavBanExp", "mnuNavBanSysObj"})
        l.Habilitado(item, i == BancoConectado);
    for (const char* item : {"mnuNavBacDev", "mnuNavBacCri", "mnuNavBacRest"})
        l.Habilitado(item, i == Backup);
    l.Habilitado("mnuNavAgeSwithItem", Em(i, {AgentRodando, AgentParado}));
    l.Habilitado("mnuNavAgeJobsNew", i == PastaJobs);
    l.Habilitado("mnuNavAgeJobsRef", i == PastaJobs);
    for (const char* item : {"mnuNavAgeJobOpen", "mnuNavAgeJobDel", "mnuNavAgeJobStep"})
        l.Habilitado(item, i == Job);
    l.Habilitado("mnuNavAgeStepOpen", i == JobStep);
    l.Habilitado("mnuNavAgeStepDel", i == JobStep);
    l.Habilitado("mnuNavAgeSchOpen", i == JobSchedule);
    l.Habilitado("mnuNavAgeSchDel", i == JobSchedule);
    l.Habilitado("mnuNavTabExc", i == Tabela);
    l.Legenda("mnuNavTabExc", LegendaExcluir(i == Tabela, texto));
    l.Habilitado("mnuNavTabAbr", Em(i, {Tabela, TabelaSistema}));
    l.Habilitado("mnuNavTabDet", Em(i, {Tabela, TabelaSistema}));
    l.Habilitado("mnuNavTabEst", i == Tabela);
    // 17 is the system-tables folder of older trees; the tree no longer makes it.
    l.Habilitado("mnuNavTabVis", Em(i, {PastaTabelas, Tabela, 17, TabelaSistema}));
    l.Habilitado("mnuNavTabRen", i == Tabela);
    l.Habilitado("mnuNavTabScr", i == Tabela);
    l.Visivel("mnuNavTabCri", i == PastaTabelas);
    l.Habilitado("mnuNavConAbr", Em(i, {View, ViewSistema}));
    l.Habilitado("mnuNavConScr", Em(i, {View, ViewSistema}));
    l.Habilitado("mnuNavProAbr", false);
    l.Habilitado("mnuNavProScr", Em(i, {Procedure, ProcedureSistema}));
    l.Visivel("mnuNavFun", false);
    l.Habilitado("mnuNavFunOpen", false);
    if (i == Funcao) {
        l.Visivel("mnuNavFun", true);
        l.Habilitado("mnuNavFunOpen", true);
        l.Legenda("mnuNavFun", QStringLiteral("Functions"));
    } else if (Em(i, {PastaTriggers, Trigger})) {
        l.Visivel("mnuNavFun", true);
        l.Legenda("mnuNavFun", QStringLiteral("Triggers"));
        l.Habilitado("mnuNavFunAlter", i == Trigger);
        l.Habilitado("mnuNavFunDrop", i == Trigger);
    }
    l.Visivel("mnuNavIdx", i == Indice);
    l.Habilitado("mnuNavIdxCreate", i == PastaIndices);
    for (const char* item : {"mnuNavIdxOpen", "mnuNavIdxScript", "mnuNavIdxDel"})
        l.Habilitado(item, i == Indice);
    return l.Tomar();
}

PopupNo PopupDoNo(int i)
{
    using namespace img;
    if (Em(i, {PastaTabelas, Tabela, TabelaSistema}))
        return {QStringLiteral("mnuNavTab"), QStringLiteral("mnuNavTabAbr"), {}};
    if (Em(i, {BancoConectado, Banco}))
        return {QStringLiteral("mnuNavBan"),
                i == Banco ? QStringLiteral("mnuNavBanCon") : QStringLiteral("mnuNavBanRef"),
                {}};
    if ((i >= SqlServerConectado && i <= Access) || Em(i, {Customizada, WebService, WebServiceConectado}))
        return {QStringLiteral("mnuNavSer"),
                Em(i, {SqlServer, Access, WebService}) ? QStringLiteral("mnuNavSerCon")
                                                       : QStringLiteral("mnuNavSerRef"),
                {}};
    switch (i) {
    case Grupo: return {QStringLiteral("mnuNavMap"), {}, {}};
    case img::Backup: return {QStringLiteral("mnuNavBac"), QStringLiteral("mnuNavBacDev"), {}};
    case AgentRodando:
    case AgentParado:
        return {QStringLiteral("mnuNavAgeSwith"),
                {},
                (i == AgentRodando ? QStringLiteral("Stop") : QStringLiteral("Start")) + QStringLiteral(" Agent")};
    case PastaJobs: return {QStringLiteral("mnuNavAgeJobS"), {}, {}};
    case Job: return {QStringLiteral("mnuNavAgeJob"), QStringLiteral("mnuNavAgeJobOpen"), {}};
    case JobStep: return {QStringLiteral("mnuNavAgeStep"), QStringLiteral("mnuNavAgeStepOpen"), {}};
    case JobSchedule: return {QStringLiteral("mnuNavAgeSch"), QStringLiteral("mnuNavAgeSchOpen"), {}};
    case View:
    case ViewSistema: return {QStringLiteral("mnuNavCon"), QStringLiteral("mnuNavConAbr"), {}};
    case Procedure:
    case ProcedureSistema: return {QStringLiteral("mnuNavPro"), QStringLiteral("mnuNavProAbr"), {}};
    case Funcao: return {QStringLiteral("mnuNavFun"), QStringLiteral("mnuNavFunOpen"), {}};
    case Trigger: return {QStringLiteral("mnuNavFun"), QStringLiteral("mnuNavFunAlter"), {}};
    case PastaTriggers: return {QStringLiteral("mnuNavFun"), QStringLiteral("mnuNavFunCreate"), {}};
    case PastaIndices: return {QStringLiteral("mnuNavIdx"), QStringLiteral("mnuNavIdxCreate"), {}};
    case Indice: return {QStringLiteral("mnuNavIdx"), QStringLiteral("mnuNavIdxOpen"), {}};
    default: return {};
    }
}
