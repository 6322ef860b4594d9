#pragma once
// The import/export wizard: origin and destination (preselected from the argument), the tables (or
// queries) to copy with their row counts, destination names and actions, each one's columns
// (destination name, type, left out or not) with a preview of its first rows, then the copy with
// progress, Stop and the final report, which can be saved. The origin's catalog and the copy run on threads of their
// own; the window only shows what they report.
#include "clsTransferencia.h"

#include <QPointer>
#include <QWizard>
#include <functional>
#include <memory>

class clsPrompt;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;

class frmImpExp : public QWizard {
public:
    enum Pagina { PaginaPontas, PaginaTabelas, PaginaColunas, PaginaCopia };
    enum Coluna { ColOrigem, ColLinhas, ColDestino, ColAcao, ColSituacao };
    enum ColunaMapa { ColMapaOrigem, ColMapaDestino, ColMapaTipo };

    frmImpExp(clsPrompt& prompt, const impexp::Argumentos& argumento, QWidget* pai = nullptr);
    ~frmImpExp() override;

    bool validateCurrentPage() override;
    void initializePage(int id) override;
    void reject() override;
    // Enter in a list ends the edit of a cell, never goes on to the next page (or the copy).
    bool eventFilter(QObject* objeto, QEvent* evento) override;

    bool Copiando() const { return trabalho != nullptr; }
    bool Listando() const { return lista != nullptr; }
    bool LendoColunas() const { return previa != nullptr; }
    // The items the copy would run now, with their column mapping.
    QList<impexp::ItemCopia> Itens() const;

    QLineEdit* txtOrigem;
    QLineEdit* txtDestino;
    QComboBox* cmbSeparador;
    QComboBox* cmbCodificacao;
    QCheckBox* chkCabecalho;
    QTableWidget* grdTabelas;
    QLabel* lblTabelas;
    QCheckBox* chkPararNoErro;
    QLineEdit* txtConsulta;
    QPushButton* btnConsulta;
    QComboBox* cmbTabelaColunas;
    QTableWidget* grdColunas;
    QTableWidget* grdPrevia;
    QLabel* lblColunas;
    QLabel* lblProgresso;
    QProgressBar* barTabela;
    QProgressBar* barTotal;
    QPushButton* btnParar;
    QPlainTextEdit* txtRelatorio;
    QPushButton* btnSalvarRelatorio;

private:
    QWizardPage* PaginaDasPontas();
    QWizardPage* PaginaDasTabelas();
    QWizardPage* PaginaDasColunas();
    QWizardPage* PaginaDaCopia();
    impexp::Ponta Ponta(const QLineEdit* campo) const;
    void EscolherArquivo(QLineEdit* campo, bool destino);
    void Listar();
    void Listado(const QList<impexp::TabelaOrigem>& tabelas, const QString& erro);
    void Contado(int linha, qint64 linhas, bool existe);
    // The checked rows of the tables' list.
    QList<int> LinhasMarcadas() const;
    void IncluirConsulta();
    // The columns and first rows of the `k`-th checked item, read on a thread of their own.
    void MostrarColunas(int k);
    void ColunasLidas(int k,
                      const impexp::EstruturaCopia& e,
                      const QList<QStringList>& linhas,
                      Dialeto d,
                      const QString& erro);
    // The columns' list as the mapping of the item it shows.
    void GuardarMapa();
    bool ConfirmarDestinos(const QList<impexp::ItemCopia>& itens);
    void Copiar();
    void Copiado(const QList<impexp::ResultadoItem>& resultados);
    void SalvarRelatorio();
    // Starts `t` as the reader kept in `atual`, after the one it replaces has ended (it posts to
    // this window until then); `aoTerminar` runs when `t` ends still being the current one.
    void TrocarLeitura(QThread*& atual, QThread* t, const std::function<void()>& aoTerminar = {});

    clsPrompt& prompt;
    impexp::Argumentos argumento;
    QString senhasOrigem, senhasDestino; // the strings the masked fields stand for
    QList<impexp::TabelaOrigem> tabelas;
    QThread* lista = nullptr;
    QThread* trabalho = nullptr;
    QThread* previa = nullptr;
    QList<QThread*> substituidas; // readings replaced by newer ones, still ending
    QList<int> linhasColunas; // the tables' list rows the columns page offers, in its order
    int itemColunas = -1; // the one it shows
    QHash<int, QList<impexp::MapaColuna>> mapas; // by row of the tables' list
    std::shared_ptr<std::atomic<bool>> pararLista;
    std::shared_ptr<impexp::clsTransferencia> copia;
    bool concluida = false;
    bool fecharAoTerminar = false;
};
