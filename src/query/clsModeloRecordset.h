#pragma once
// The results grid's model: reads the cells of a recordset where they are stored, only for the
// rows the view paints, and writes edits back into the recordset (never to the database: that is
// UpdateBatch's job). No object per row or per cell is made.
//
// Every cell is edited as text (mdlTextoCelula.h) and a text that leaves the value as it was
// changes nothing; an empty text is null. Rows are marked for deletion here and deleted in the
// recordset only when the edits are saved, so they stay in sight, marked, until then.
#include "platform/clsRecordset.h"
#include "query/clsLeitorJanela.h"

#include <QAbstractTableModel>
#include <functional>
#include <set>

class clsModeloRecordset : public QAbstractTableModel {
    Q_OBJECT
public:
    // Roles the grid's delegate paints with.
    enum Papel { PapelNulo = Qt::UserRole + 1, PapelExcluida };

    explicit clsModeloRecordset(QObject* pai = nullptr);

    // Shows another recordset (null: no rows, no columns).
    void DefinirRecordset(RecordsetPtr rs);
    RecordsetPtr Recordset() const { return m_rs; }
    // Shows a table read on demand instead (Recordset() is then null): rows not read yet show a
    // placeholder until their block comes. Values are edited and saved as in a recordset; rows are
    // neither added nor deleted.
    void DefinirJanela(std::unique_ptr<clsLeitorJanela> janela);
    clsLeitorJanela* Janela() const { return m_janela.get(); }
    // Whether the rows can be edited and saved: an open recordset whose rows trace back to one
    // base table. When not, why not.
    bool Editavel() const;
    QString MotivoSomenteLeitura() const;
    // A new empty row at the end (AddNew); false when the recordset refuses it.
    bool IncluirLinha();
    // Rows of a statement still fetching, appended at the end; the view keeps its current row,
    // selection and scroll position.
    void AnexarBloco(clsRecordsetDados&& bloco);
    // Rows and columns changed behind the model's back (a sort, a filter, a batch written).
    void Recarregar();
    // The error of the last edit the recordset refused.
    QString UltimoErro() const { return m_erro; }
    // Why the last save failed.
    ErroDados ErroGravacao() const { return m_erroGravacao; }

    // Checks a text typed into a cell: false, with the message in `erro`, when it does not fit.
    bool TextoServe(const QModelIndex& indice, const QString& texto, QString& erro) const;
    // The cell becomes null (a binary one too, though it is not edited as text).
    bool DefinirNulo(const QModelIndex& indice);
    // Edits not yet written: changed, new or marked rows.
    bool TemEdicoesPendentes() const;
    // Drops every edit not yet written: the rows read come back as they were.
    void DescartarEdicoes();
    // Marks rows (visible positions) for deletion, or takes the mark off when all are marked.
    void AlternarExclusao(const QList<int>& linhas);
    bool Excluida(int linha) const;
    bool TemExclusoes() const { return !m_excluidas.empty(); }
    // Deletes the marked rows and writes every pending change in one transaction. On failure
    // nothing is written, the marked rows stay marked and the error is in UltimoErro().
    bool Gravar();
    // The same in two halves, for writing on another thread: PrepararGravacao deletes the marked
    // rows and hands the recordset to the writer (the model then shows nothing of it and takes no
    // edits); ConcluirGravacao takes it back with the writer's outcome.
    // A table read on demand is written by its reader (clsLeitorJanela::Gravar), between the two.
    bool PrepararGravacao();
    bool ConcluirGravacao(bool ok, const ErroDados& erro = {});

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& indice, const QVariant& valor, int papel = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;

signals:
    void EdicaoRecusada(const QString& erro);

private:
    bool Aberto() const { return m_janela || (m_rs && m_rs->State() == ado::adStateOpen); }
    // Where a visible row is kept: the recordset and its row there (null: not read yet).
    struct Local {
        clsRecordset* rs = nullptr;
        int linha = -1;
    };
    Local Localizar(int linha) const;
    const CampoInfo& Campo(int c) const { return m_janela ? m_janela->Campo(c) : m_rs->InfoCampo(c); }
    void LinhasContadas();
    bool CelulaEditavel(const QModelIndex& indice) const;
    bool CelulaGravavel(const QModelIndex& indice) const;
    bool Anulavel(int campo) const;
    bool Gravar(const QModelIndex& indice, const QVariant& valor);
    bool Recusar(const QString& erro);
    int LinhaVisivel(uint32_t fisica) const;
    bool Gravando() const { return m_linhasGravando >= 0; }
    RecordsetPtr m_rs;
    std::unique_ptr<clsLeitorJanela> m_janela;
    int m_linhasJanela = 0; // rows of the reader the view knows of
    QString m_erro;
    ErroDados m_erroGravacao;
    std::vector<std::pair<uint32_t, EstadoLinha>> m_apagadas; // rows deleted by the save going on
    int m_linhasGravando = -1; // rows shown while the recordset is being written (-1: not writing)
    int m_colunasGravando = 0;
    std::set<uint32_t> m_excluidas; // rows of the recordset's store marked for deletion
};
