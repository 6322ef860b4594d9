#pragma once
// The main window: the MDI frame hosting every other window, the menu bar and the navigator pane.
// Handlers of the navigator's menus live with the navigator; this window routes actions only.
#include "gui/MenusNavegador.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QApplication;
class QDockWidget;
class QMdiArea;
class clsAmbiente;
class clsNo;
class frmNavegador;
class frmTabela;
class frmWebBrowser;
class uctInicio;

class frmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    // `ambiente` is the program's context, which outlives the window. `linhaComando` is the file
    // named on the command line (empty for none); `capturaTela`, when not empty, is a PNG the window
    // is saved to once it has loaded, after which the program ends.
    explicit frmPrincipal(clsAmbiente& ambiente,
                          const QString& linhaComando = {},
                          const QString& capturaTela = {},
                          QWidget* pai = nullptr);
    ~frmPrincipal() override;

    static int Executar(QApplication& app);

    void ExibirNavegador(bool visivel);
    clsAmbiente& Ambiente() const { return m_ambiente; }
    frmNavegador* Navegador() const { return m_navegador; }
    QMdiArea* AreaMdi() const { return m_mdi; }
    QDockWidget* PainelNavegador() const { return m_painel; }
    // The start panel over the empty MDI area.
    uctInicio* Inicio() const { return m_inicio; }
    QAction* Acao(const QString& nome) const;
    bool JaAtivado() const { return m_jaAtivado; }
    // A new browser window in the MDI area: the maker's page `guia` (4 home, 5 downloads, 6 forum)
    // or the given address.
    frmWebBrowser* AbrirWebBrowser(int guia, const QString& endereco = {});
    // Adapts the navigator's menus to the kind of `node`; with `intLastMouseKey` 2 (right button)
    // also pops up the node's menu at the pointer, its default item in bold.
    void HabilitarMenus(clsNo* node, int intLastMouseKey);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void changeEvent(QEvent* e) override;

private:
    void PosicionarJanela();
    void LigarJanelasDeConsulta();
    void CriarMenus();
    void CriarTeclas();
    void HabilitarMenusNavegador(bool habilitar);
    void PrimeiraAtivacao();
    void CarregarConfigJanela();
    void GravarConfigJanela();
    // Maps the file named on the command line; `depois` runs once that has ended.
    void AbrirLinhaComando(const std::function<void()>& depois);
    void MapearArquivo(const QString& arquivo, const std::function<void()>& depois = {});
    void CriarInicio();
    void AtualizarInicio();
    int LarguraPainel() const;
    void DefinirLarguraPainel(int pixels);

    template <typename Janela, typename... Argumentos> void ExibirModal(Argumentos&&... argumentos);
    void mnuFerEasySetup_Click();
    void mnuFerImp_Click();

    clsAmbiente& m_ambiente;
    QMdiArea* m_mdi = nullptr;
    QDockWidget* m_painel = nullptr;
    frmNavegador* m_navegador = nullptr;
    uctInicio* m_inicio = nullptr;
    MenusNavegador m_menusNav;
    QHash<QString, QAction*> m_acoes;
    QPointer<frmTabela> m_frmTempTabela; // the query window whose grid popped up the "Tabela" menu
    QString m_linhaComando;
    QString m_capturaTela;
    bool m_jaAtivado = false;
};
