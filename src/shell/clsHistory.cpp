#include "clsHistory.h"

QList<EntradaHistorico> clsHistory::Historico() const
{
    QList<EntradaHistorico> h;
    h.append({QStringLiteral("v1x26f"),
              QStringLiteral("2005-10-05"),
              {QStringLiteral("Corrigido posicionamento no aplicativo de Importação/Exporação"),
               QStringLiteral("Corrigida carga de objetos com owners distintos")}});
    h.append({QStringLiteral("v1x26e"),
              QStringLiteral("2005-08-29"),
              {QStringLiteral("Pequena correcao em carga de tables/views de MsAccess")}});
    h.append({QStringLiteral("v1x26d"),
              QStringLiteral("2005-06-14"),
              {QStringLiteral("Incluida opção Checar DLLs na Conexão no menu Ferramentas"),
               QStringLiteral("Corrigido TimeOut das conexões com SQL Server"),
               QStringLiteral("Correção na geração de script de Indices"),
               QStringLiteral("Melhorias na exibição de Triggers")}});
    h.append({QStringLiteral("v1x26c"),
              QStringLiteral("2005-04-18"),
              {QStringLiteral("Gerenciamento de Jobs do SQL Agent"),
               QStringLiteral("Inclusão, alteração e exclusão de Steps dos Jobs"),
               QStringLiteral("Agendamentos (Schedules) para os Jobs"),
               QStringLiteral("Iniciar e parar o SQL Agent pelo navegador"),
               QStringLiteral("Novo editor de Indices"),
               QStringLiteral("Exibição de Functions no navegador"),
               QStringLiteral("Exibição de Triggers das tabelas"),
               QStringLiteral("Geração de script de Functions"),
               QStringLiteral("Filtro e ordenação de registros na janela de tabela"),
               QStringLiteral("Correção na exportação para Excel"),
               QStringLiteral("Intellisense com lista de campos das tabelas"),
               QStringLiteral("Melhor tratamento de Erro na abertura de consultas"),
               QStringLiteral("Pequenas correções de layout")}});
    h.append({QStringLiteral("v1x26b"),
              QStringLiteral("2005-03-07"),
              {QStringLiteral("Lançado o MSDE(r) Easy Setup, instalação simplificada do MSDE (menu Ferramentas)"),
               QStringLiteral("Backup e Restore com escolha de dispositivos"),
               QStringLiteral("Correção no Attach de bancos com varios arquivos"),
               QStringLiteral("Shrink de bancos de dados e arquivos")}});
    h.append({QStringLiteral("v1x26a"),
              QStringLiteral("2004-11-11"),
              {QStringLiteral("Suporte a WebServices (AspNet WebService Generator)"),
               QStringLiteral("Mapeamento de bancos de dados via WebService"),
               QStringLiteral("Corrigida desconexão de servidores com janelas abertas")}});
    h.append({QStringLiteral("v1x25i"),
              QStringLiteral("2004-07-04"),
              {QStringLiteral("Manutenção de Logins do SQL Server"),
               QStringLiteral("Manutenção de Usuários dos bancos de dados"),
               QStringLiteral("Associação da extensão MDB ao Quarrix"),
               QStringLiteral("Corrigida gravação de registros em tabelas sem chave primaria"),
               QStringLiteral("Histórico de Versões no menu Ajuda")}});
    h.append({QStringLiteral("v1x25g"),
              QString(),
              {QStringLiteral("Conexões Customizaveis via string OLE DB"),
               QStringLiteral("Opção para guardar senhas (AutoLogin)"),
               QStringLiteral("Verificação de Sintaxe antes de executar instruções SQL"),
               QStringLiteral("Execução passo a passo de longas instruções"),
               QStringLiteral("Correções na tela de Opções")}});
    h.append({QStringLiteral("v1x25a"),
              QString(),
              {QStringLiteral("Novo designer de estrutura de tabelas"),
               QStringLiteral("Geração de scripts SELECT, INSERT, UPDATE e DELETE"),
               QStringLiteral("Geração de scripts CREATE, ALTER e DROP"),
               QStringLiteral("Documentação da estrutura das tabelas em arquivo texto"),
               QStringLiteral("Abrir e salvar arquivos de script (.sql)"),
               QStringLiteral("Exportação de resultados para Excel e texto"),
               QStringLiteral("Opção para focalizar objetos ao mover o mouse"),
               QStringLiteral("Tempo de execução e qtde de registros na barra de status"),
               QStringLiteral("Correções na carga de Views")}});
    h.append({QStringLiteral("v1x24"),
              QString(),
              {QStringLiteral("Editor SQL com cores de sintaxe"),
               QStringLiteral("Execução de lotes separados por GO"),
               QStringLiteral("Renomear tabelas de MsAccess"),
               QStringLiteral("Criação de bancos de dados MsAccess"),
               QStringLiteral("Correções diversas no navegador")}});
    h.append({QStringLiteral("v1x23"),
              QString(),
              {QStringLiteral("Mapeamento de arquivos MsAccess"),
               QStringLiteral("Lista de servidores SQL Server da rede"),
               QStringLiteral("Grupos de servidores registrados"),
               QStringLiteral("Lista de janelas abertas no menu Janelas"),
               QStringLiteral("WebBrowser interno"),
               QStringLiteral("Gravação das alterações feitas no grid"),
               QStringLiteral("Ajustes nas mensagens de Erro")}});
    h.append({QStringLiteral("v1x22"),
              QString(),
              {QStringLiteral("Conexão com Integrated Security"),
               QStringLiteral("Exibição de Views e Stored Procedures por owner"),
               QStringLiteral("Cópia de resultados para a area de transferencia"),
               QStringLiteral("Correção no fechamento das conexões"),
               QStringLiteral("Novos ícones no navegador")}});
    h.append({QStringLiteral("v1x21"),
              QString(),
              {QStringLiteral("Tratamento de Erro para ausencia de clients"),
               QStringLiteral("Correções no redimensionamento das telas"),
               QStringLiteral("Algumas correções pequenas nos menus"),
               QStringLiteral("Tratamento para visualizar Stored Procedures")}});
    return h;
}
