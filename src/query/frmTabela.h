#pragma once
// The query window: a SQL editor and a results grid over the recordset of the last statement run,
// with its own connection. Opened for a table or view (its rows), as an empty SQL editor, with a
// generated script, or with a function's result.
#include "gui/frmFilhoConexao.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsRecordset.h"
#include "query/clsExecucao.h"

#include <QHash>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QTableView;
class QTimer;
class QToolBar;
class clsArvore;
class clsAmbiente;
class clsData;
class clsModeloRecordset;
class uctConnectionSel;
class uctEditorSql;

class frmTabela : public frmFilhoConexao {
    Q_OBJECT
public:
    // Connects, prompts and finds the open connections through `ambiente`; a window the main window
    // does not host itself goes into the MDI area through the context's hook.
    explicit frmTabela(clsAmbiente& ambiente, QWidget* pai = nullptr);
    ~frmTabela() override;

    // Loads the window in one of its modes and shows it. `strSql` comes back with the text written
    // into the editor.
    void CarregarForm(const QString& strTempConnectionString,
                      QString& strSql,
                      const QString& strTempTabela,
                      bool blnTempExecutarAoCarregar,
                      const QString& strDataSourceName,
                      const QString& strDataBaseName,
                      const QString& strNodeText);
    void CarregarForm(const QString& strTempConnectionString,
                      const QString& strSql,
                      const QString& strTempTabela,
                      bool blnTempExecutarAoCarregar,
                      const QString& strDataSourceName,
                      const QString& strDataBaseName,
                      const QString& strNodeText);
    // The same, for what a node asks (connection, SQL, caption, run at once, the source it belongs to).
    void CarregarForm(const PedidoConsulta& pedido);

    // Starts running the selection, or the whole text, on the window's runner: true when it started
    // (a web service's run has ended by then). The outcome comes with ExecucaoConcluida.
    bool ExecutarSql();
    // Stops the work running (the rows read so far stay); nothing when none runs.
    void PararExecucao();
    // Starts writing the grid's pending rows to the database: true when it started (or, for a web
    // service, ended); `depois` gets the outcome, which GravacaoConcluida also tells.
    bool GravarRegistros(std::function<void(bool)> depois = {});
    // Whether the window's runner is busy (running, saving or exporting).
    bool Ocupada() const { return m_trabalho != Trabalho::Nenhum; }
    // Before what would drop the grid's edits not yet written (a run, closing, another
    // connection): asks "Deseja gravar as alterações?". Não drops them and returns true; Sim starts
    // saving them and returns false, calling `continuar` once the save succeeded; Cancelar (or a
    // failed save) returns false and the action does not happen.
    bool ConfirmarEdicoesPendentes(std::function<void()> continuar = {});
    // Widens every column to its caption and its longest value.
    void DimensionarColunas();
    void HabilitarBotoesGrid(bool on);
    void AjustarLayout();
    // Opens the window's connection when it has no data access object yet.
    bool AbrirConexao();
    // Points the editor's completion lists at this window's connection.
    void LigarEditorAConexao();
    // "New": a copy of this window (connection, text, table, run-on-open, selector, tag).
    frmTabela* NovaJanela();
    // The grid's popup: the current cell to the clipboard, and the clipboard's text into it.
    void CopiarCelula();
    void ColarCelula();
    // Del and the grid menu: the selected rows are marked for deletion (or unmarked), deleted with
    // the other edits by "Salvar". Ctrl+0 and "Nulo": the selected cells become null.
    void ExcluirLinhasSelecionadas();
    void AnularCelulasSelecionadas();

    // Sort and filter of the rows already fetched (nothing goes to the database). OrdenarColuna
    // sorts by the current column ("Asc" or "Desc"); Filtar adds "column = value" to the filter
    // (an empty value: the current cell's text); PedirFiltro asks the value first.
    void OrdenarColuna(const QString& strOrdem);
    void PedirFiltro();
    void Filtar(const QVariant& strValorFiltro = {});
    void EliminarFiltro();
    // The "Tabela" popup for the current column: its caption as the title and the sort checks.
    void PrepararMenuTab(QMenu* mnuTab) const;

    // Script files and export.
    void AbrirArquivo();
    void SalvarArquivo();
    void ExportarExcel();
    void ExportarTexto();
    // The folder every file dialog of the query windows starts in, for the life of the program.
    static QString& UltimaPastaArquivos();

    QAction* Botao(const QString& chave) const { return m_botoes.value(chave); }
    // A button whose feature now answers it: from then on it follows the window's enabling rules.
    // Until then it stays disabled, with its tooltip, so that it never does nothing when pressed.
    void LigarBotao(const QString& chave);
    bool BotaoLigado(const QString& chave) const { return !m_semAcao.contains(chave); }
    QString TextoPainel(int painel) const; // status bar panels 1..3
    QString ConnectionString() const { return m_connectionString; }
    QString Tabela() const { return m_tabela; }
    bool ExecutarAoCarregar() const { return m_executarAoCarregar; }
    bool Ativado() const { return m_ativado; }
    int ColunaAtual() const { return m_colunaAtual; }
    clsData* Dados() const { return m_dados.get(); }
    clsModeloRecordset* Modelo() const { return m_modelo; }
    RecordsetPtr Recordset() const;
    uctEditorSql* Editor() const { return txtSql; }
    QTableView* Grid() const { return dgrConsulta; }
    QSplitter* Divisor() const { return picSplit; }
    uctConnectionSel* Seletor() const { return uctConnectionSel1; }
    // Top of the splitter bar in twips from the window's top (0 before the first layout).
    int TopoDivisor() const { return m_topoDivisor; }
    void MoverDivisor(int twips);

    clsAmbiente& Ambiente() const { return m_ambiente; }
    // Fills a "Tabela" menu (mnuTab) with the grid popup's items, acting on the window the getter
    // returns (the main window's frmTempTabela).
    static void PreencherMenuTab(QMenu* mnuTab, std::function<frmTabela*()> frmTempTabela);

signals:
    void ExecucaoConcluida(bool ok);
    void GravacaoConcluida(bool ok);
    void ExportacaoConcluida(bool ok);
    // The right mouse button was released over a grid cell (current column already set).
    void MenuGridPedido(frmTabela* janela, const QPoint& global);

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    struct Dimensionamento;
    void DimensionarFatia(const std::shared_ptr<Dimensionamento>& d, quint64 id);
    quint64 m_idDimensionamento = 0;

    // frmTabela.cpp: building, layout, keys and life cycle
    void CriarBarras();
    QAction* NovoBotao(QToolBar* barra, const QString& chave, const QString& dica, bool alternar = false);
    void Posicionar();
    void PrimeiraAtivacao();
    void FocarPainel();
    void SqlClick();
    void GridClick();
    void TeclaJanela(int tecla);
    bool TeclaEditor(QKeyEvent* e);
    void SeguirMouse(QWidget* controle, const QPoint& pos);
    void DefinirPainel(int painel, const QString& texto);
    int AlturaTwips() const;
    void DivisorMovido();
    void AplicarDivisor(int twips);
    // frmTabelaGrade.cpp: the grid's editing
    void PrepararGrade();
    bool TeclaGrade(QKeyEvent* e);
    void MostrarSomenteLeitura();
    // frmTabelaFiltro.cpp / frmTabelaArquivos.cpp
    void LigarFiltro();
    void LigarArquivos();
    bool ColunaOrdenada(int coluna, const QString& direcao) const;
    void ClicarCabecalho(int coluna);
    void MostrarOrdem();
    QString CampoDaColuna(int coluna) const;
    // A file name from the save dialog, overwriting only when the user agrees; empty: nothing to do.
    QString PedirArquivoSalvar(const QString& filtro, int entrada = 0);
    // An export: the rows checked, the file asked, then written from a clone on the runner's worker
    // by `escrever` (its progress tells whether to go on); `depois` follows a success.
    using Exportador = std::function<bool(const QString& arquivo,
                                          QString& erro,
                                          const std::function<bool()>& progresso,
                                          const clsRecordset& linhas)>;
    void Exportar(const QString& filtro, const Exportador& escrever, const std::function<void(const QString&)>& depois);
    // frmTabelaExecucao.cpp: the work of the runner and the window's states
    enum class Trabalho { Nenhum, Consulta, Gravacao, Exportacao };
    void LigarExecucao();
    bool ExecutarSemMotor(const clsExecucao::Pedido& pedido);
    void PerguntarContinuar(int lote, const QString& sql, const ErroDados& erro);
    void ReceberBloco(int lote, const std::shared_ptr<clsRecordsetDados>& bloco);
    void AplicarBloco();
    RecordsetPtr JuntarResultado(const clsExecucao::Fim& fim);
    void ConcluirExecucao(const clsExecucao::Fim& fim);
    void ConcluirTrabalho(bool ok, bool interrompido);
    void ConcluirGravacao(bool ok, bool habilitar);
    void ConcluirExportacao(bool ok, bool interrompido);
    // Shows a result's rows (none: the grid is emptied), its count, and the grid when hidden.
    void MostrarResultado(const RecordsetPtr& rs);
    void MostrarContagem();
    void MostrarExecutando(Trabalho trabalho);
    // A message of finished work: at once when the user is in this window, else when it is
    // activated again (finished work never takes the keyboard from another window).
    bool JanelaAtiva() const;
    void QuandoAtiva(std::function<void()> mostrar);
    void MostrarPendentes();
    bool ConexaoPerdida() const;
    void Reconectar();
    void FecharSePedido();
    // Closes the window, or the MDI frame around it.
    void FecharMoldura();
    // frmTabelaAcoes.cpp: commands
    void LigarAcoes();
    void FecharResultado();
    void ConcluirEdicaoGrid();
    void BuscarItens();
    void ConnectionChanged(const QString& strConnectionString,
                           const QString& strServer,
                           const QString& strDatabase,
                           const QString& strNodeText);
    void MenuGrid(const QPoint& posicao);
    void CopiarTudo();
    void ColarTudo();
    void Pesquisar();
    void Substituir();
    void Fechar();

    clsAmbiente& m_ambiente;
    QString m_connectionString;
    QStringList m_rotuloConexao; // server, database and node text the selector shows
    std::unique_ptr<clsData> m_dados;
    QString m_tabela;
    // The table as the SELECT of table-data mode names it, when the opener knows its schema.
    QString m_nomeSelect;
    bool m_executarAoCarregar = false;
    bool m_ativado = false;
    bool m_posicionado = false;
    int m_colunaAtual = 0;
    int m_topoDivisor = 0;
    bool m_ajustando = false;
    QPoint m_ultimoMouse{-1, -1};
    QString m_ultimaPesquisa;
    clsExecucao* m_execucao = nullptr;
    Trabalho m_trabalho = Trabalho::Nenhum;
    bool m_fecharAoTerminar = false;
    bool m_passoPasso = false; // the run going on asks on each failing statement
    bool m_reconectar = false; // the last run lost the connection
    bool m_reconectou = false; // this run opened the connection again
    quint64 m_idExecucao = 0;
    int m_loteParcial = -1;
    RecordsetPtr m_parcial; // the rows of the batch running, as they arrive
    // Blocks that arrived and are not in the grid yet, taken one an event-loop turn so that the
    // window answers between them; the end of the run waits for them.
    QList<std::pair<int, std::shared_ptr<clsRecordsetDados>>> m_blocos;
    std::optional<clsExecucao::Fim> m_fimPendente;
    QTimer* m_vezBloco = nullptr;
    QList<std::function<void()>> m_pendentes;
    std::function<void(bool)> m_depoisGravar;
    QString m_painelAntesGravar;
    QString m_erroExportar;
    std::function<void()> m_depoisExportar;
    QString m_arquivoExportar;
    qint64 m_totalExportar = 0;

    QWidget* tlbCoolBar = nullptr;
    QToolBar* tlbOpcoes = nullptr;
    QWidget* fraConnection = nullptr;
    uctConnectionSel* uctConnectionSel1 = nullptr;
    QToolBar* tlbConsulta = nullptr;
    QToolBar* tlbSql = nullptr;
    QSplitter* picSplit = nullptr;
    QTableView* dgrConsulta = nullptr;
    clsModeloRecordset* m_modelo = nullptr;
    uctEditorSql* txtSql = nullptr;
    QStatusBar* stbStatus = nullptr;
    QLabel* m_paineis[3] = {};
    QHash<QString, QAction*> m_botoes;
    QStringList m_semAcao{QStringLiteral("Open"),
                          QStringLiteral("Save"),
                          QStringLiteral("Excel"),
                          QStringLiteral("TXT"),
                          QStringLiteral("FiltroEliminar")};
    QMenu* m_menuProprio = nullptr;
};
