#pragma once
// The import/export wizard: origin and destination (preselected from the argument), the tables to
// copy with their row counts, destination names and actions, then the copy with progress, Stop and
// the final report, which can be saved. The origin's catalog and the copy run on threads of their
// own; the window only shows what they report.
#include "clsTransferencia.h"

#include <QPointer>
#include <QWizard>
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
    enum Pagina { PaginaPontas, PaginaTabelas, PaginaCopia };
    enum Coluna { ColOrigem, ColLinhas, ColDestino, ColAcao, ColSituacao };

    frmImpExp(clsPrompt& prompt, const impexp::Argumentos& argumento, QWidget* pai = nullptr);
    ~frmImpExp() override;

    bool validateCurrentPage() override;
    void initializePage(int id) override;
    void reject() override;

    bool Copiando() const { return trabalho != nullptr; }
    bool Listando() const { return lista != nullptr; }

    QLineEdit* txtOrigem;
    QLineEdit* txtDestino;
    QComboBox* cmbSeparador;
    QComboBox* cmbCodificacao;
    QCheckBox* chkCabecalho;
    QTableWidget* grdTabelas;
    QLabel* lblTabelas;
    QCheckBox* chkPararNoErro;
    QLabel* lblProgresso;
    QProgressBar* barTabela;
    QProgressBar* barTotal;
    QPushButton* btnParar;
    QPlainTextEdit* txtRelatorio;
    QPushButton* btnSalvarRelatorio;

private:
    QWizardPage* PaginaDasPontas();
    QWizardPage* PaginaDasTabelas();
    QWizardPage* PaginaDaCopia();
    impexp::Ponta Ponta(const QLineEdit* campo) const;
    void EscolherArquivo(QLineEdit* campo, bool destino);
    void Listar();
    void Listado(const QList<impexp::TabelaOrigem>& tabelas, const QString& erro);
    void Contado(int linha, qint64 linhas, bool existe);
    QList<impexp::ItemCopia> Itens() const;
    bool ConfirmarDestinos(const QList<impexp::ItemCopia>& itens);
    void Copiar();
    void Copiado(const QList<impexp::ResultadoItem>& resultados);
    void SalvarRelatorio();

    clsPrompt& prompt;
    impexp::Argumentos argumento;
    QString senhasOrigem, senhasDestino; // the strings the masked fields stand for
    QList<impexp::TabelaOrigem> tabelas;
    QThread* lista = nullptr;
    QThread* trabalho = nullptr;
    std::shared_ptr<std::atomic<bool>> pararLista;
    std::shared_ptr<impexp::clsTransferencia> copia;
    bool concluida = false;
    bool fecharAoTerminar = false;
};
