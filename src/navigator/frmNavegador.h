#pragma once
// The navigator pane: the tree of mapped sources and their objects.
#include "navigator/clsArvore.h"
#include "navigator/mdlNavegador.h"

#include <QWidget>

class QTreeView;
class clsAmbiente;

class frmNavegador : public QWidget {
    Q_OBJECT
public:
    // Shows the tree of `ambiente` and opens windows with it.
    explicit frmNavegador(clsAmbiente& ambiente, QWidget* pai = nullptr);
    ~frmNavegador() override;

    clsArvore& Arvore() { return m_arvore; }
    clsAmbiente& Ambiente() { return m_ambiente; }
    // The import/export program the navigator's items start (empty: the one next to quarrix).
    QString programaImpExp;
    QTreeView* trvNavegador() const { return m_trv; }

    // Builds the fixed roots and the mapped connections, selects and expands the root and runs the
    // node-click handling for it, so the menus match the root.
    void InicializarNavegador();
    // The double-click handling of the selected node (also Enter): connects sources and opens the
    // windows of objects.
    void ChamarDuploClique();
    // Opens a query window for a node: its SQL (the table's rows when empty), caption text and
    // whether to run at once.
    void AbrirConsulta(clsNo* no, const QString& sql, const QString& tabela, bool executar);
    // Where the node's popup menu opens: under the current node when a key asked for it, else at
    // the mouse.
    QPoint PosicaoMenu() const;
    // A SQL editor on the selected node's connection, or on the first mapped connection that has one.
    void AbrirEditorSql();
    // The rows of a table or view node, read by its schema-qualified name.
    void AbrirTabela(clsNo* no);
    // F2: starts editing the label of a table node.
    void ChamarRenomear();

    // The open windows that belong to connections (installed by the main window).
    void DefinirJanelasAbertas(std::function<QList<JanelaAberta>()> janelas) { m_janelas = std::move(janelas); }
    QList<JanelaAberta> JanelasAbertas() const { return m_janelas ? m_janelas() : QList<JanelaAberta>(); }

    // Handlers of the navigator's menus, on the selected node.
    void mnuNavMapInc_Click();
    void mnuNavMapCri_Click();
    void mnuNavMapExc_Click();
    void mnuNavSerDesc_Click();
    void mnuNavBanDesc_Click();
    void mnuNavRef_Click();
    void mnuNavTabDet_Click();
    // The structure designer for the selected table, or for a new table of the selected folder.
    void mnuNavTabEst_Click();
    void mnuNavTabCri_Click();
    // The index editor on a new index of the selected indexes folder, or on the selected index.
    void mnuNavIdxCreate_Click();
    void mnuNavIdxOpen_Click();

    // Object actions: databases on a server, scripts into query windows, deleting tables and
    // indexes, the documenter and the import/export program.
    void mnuNavSerCri_Click();
    void mnuNavBanExc_Click();
    void mnuNavBanScr_Click();
    void mnuNavBanExp_Click();
    void mnuNavTabScr_Click(int tipo);
    void mnuNavConScr_Click(int tipo);
    void mnuNavProScr_Click(int tipo);
    // The functions menu serves functions and triggers: `legendaMenu` is its caption, "Functions"
    // or "Triggers"; any other caption does nothing.
    void mnuNavFunCreate_Click(const QString& legendaMenu);
    void mnuNavFunAlter_Click(const QString& legendaMenu);
    void mnuNavFunDrop_Click(const QString& legendaMenu);
    void mnuNavIdxScript_Click();
    void mnuNavIdxDel_Click();
    void mnuNavTabExc_Click();
    void mnuNavTabVis_Click();
    // The documenter's file, named in the status bar and handed to the desktop.
    void MostrarDocumentacao(const QString& arquivo);
    // A script in a new query window captioned `legenda`; a message instead when it is empty.
    void AbrirScript(clsNo* no, const QString& script, const QString& legenda);

    // Agente: jobs, passos e agendamentos
    // Opens the dialog of a job, step or schedule node (double-click, "Open").
    void AbrirObjetoAgent(clsNo* no);
    void mnuNavAgeSwithItem_Click();
    void mnuNavAgeJobsRef_Click();
    void mnuNavAgeJobsNew_Click();
    void mnuNavAgeJobStep_Click();
    void mnuNavAgeJobSch_Click();
    void mnuNavAgeJobDel_Click();
    void mnuNavAgeStepDel_Click();
    void mnuNavAgeSchDel_Click();

signals:
    // A node was clicked; `botao` is the button of the last mouse-down (1 left, 2 right).
    void NoClicado(clsNo* no, int botao);
    // A node was expanded by the user or by the program.
    void NoExpandido(clsNo* no);
    // F4 on the tree: show or hide the pane.
    void AlternarNavegador();
    // Connecting a database turns "Hide System Objects" on first.
    void OcultarObjetosSistemaPedido();
    // "Mapear" on the custom connections group.
    void MapearCustomizadaPedido();
    // A page of the maker was asked for (4 home, 5 downloads, 6 forum).
    void AbrirWebBrowserPedido(int guia);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void AbrirPedido(const PedidoConsulta& pedido);
    void AoClicar(const QModelIndex& indice);
    void AoMudarNoAtual(const QModelIndex& atual);
    void AoRenomear(clsNo* no, const QString& novoTexto);
    // Runs the rename asked by the last finished label edit.
    void Renomear();
    // Whether a node's label is being edited.
    bool Editando() const;

    clsAmbiente& m_ambiente;
    clsArvore& m_arvore;
    QTreeView* m_trv = nullptr;
    int m_ultimoBotao = 1; // intLastMouseKey
    bool m_menuPeloTeclado = false;
    bool m_botaoPressionado = false; // between a mouse button's press and its release on the tree
    std::function<QList<JanelaAberta>()> m_janelas;
    std::pair<int, QString> m_renomeacaoPendente; // node index and new text; index 0 for none
};
