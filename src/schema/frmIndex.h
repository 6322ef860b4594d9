#pragma once
// The index editor: the table's columns on the left, the index's columns in key order on the right
// (dragged between the lists, or moved with Enter or Space; a second click on a chosen column, or
// the D key, marks it descending), the unique and
// clustered options, the filter and the index name. An index with what the editor cannot show is
// shown read-only, with the reason.
#include "schema/clsIndice.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QKeyEvent;
class clsAmbiente;
class clsPrompt;
class clsNo;

class frmIndex : public QDialog {
    Q_OBJECT
public:
    explicit frmIndex(QWidget* pai = nullptr);

    // Fills the lists, the options, the filter, the name (fixed for an existing index) and whether
    // clustering is offered.
    void Preencher(const IndiceLido& lido, const QString& nome, bool clusteredPermitido);
    // Where the question before changes are dropped goes (none: they are dropped).
    void DefinirPrompt(clsPrompt* prompt) { m_prompt = prompt; }
    // Whether the index differs from what the dialog was filled with.
    bool Alterado() const;
    // Esc or closing: changes are not dropped without asking (Sim saves them, as OK does).
    void reject() override;
    // The index as the dialog shows it now (included columns as they were read).
    DefinicaoIndice Definicao() const;
    // True when the dialog was closed with OK.
    bool Conf() const { return m_conf; }
    QList<ColunaIndice> Escolhidas() const;
    // The typed name; the prompt shown in an empty box is never a name.
    QString NomeIndice() const;
    // Moves an item to the end of the other list, without its descending mark.
    void Mover(QTreeWidgetItem* item);

    static const QString PromptNome;

    QTreeWidget* lstColumns = nullptr;
    QTreeWidget* lstSel = nullptr;
    QCheckBox* chkUnique = nullptr;
    QCheckBox* chkClustered = nullptr;
    QLineEdit* txtIndexName = nullptr;
    QLineEdit* txtFiltro = nullptr;
    QLabel* lblIncluidas = nullptr;
    QLabel* lblSomenteLeitura = nullptr;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void closeEvent(QCloseEvent* e) override;

private:
    bool ListaTecla(QTreeWidget* lista, QKeyEvent* e);

    bool m_conf = false;
    QStringList m_incluidas;
    clsPrompt* m_prompt = nullptr;
    DefinicaoIndice m_inicial;
    QString m_nomeInicial;
};

// Creates (`blnNovo`) or changes the index of a navigator node (an index, or a table's indexes
// folder), showing the dialog again after each failure until it is saved or cancelled.
void EditarIndice(clsAmbiente& ambiente, clsNo* node, bool blnNovo);
