#pragma once
// The results grid's model: reads the cells of a recordset where they are stored, only for the
// rows the view paints, and writes edits back into the recordset (never to the database: that is
// UpdateBatch's job). No object per row or per cell is made.
#include "platform/clsRecordset.h"

#include <QAbstractTableModel>

class clsModeloRecordset : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit clsModeloRecordset(QObject* pai = nullptr);

    // Shows another recordset (null: no rows, no columns).
    void DefinirRecordset(RecordsetPtr rs);
    RecordsetPtr Recordset() const { return m_rs; }
    // Whether the rows can be edited: an open recordset that is not read-only.
    bool Editavel() const;
    // A new empty row at the end (AddNew); false when the recordset refuses it.
    bool IncluirLinha();
    // Rows and columns changed behind the model's back (a sort, a filter, a batch written).
    void Recarregar();
    // The error of the last edit the recordset refused.
    QString UltimoErro() const { return m_erro; }

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& indice, const QVariant& valor, int papel = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;

signals:
    void EdicaoRecusada(const QString& erro);

private:
    bool Aberto() const { return m_rs && m_rs->State() == ado::adStateOpen; }
    RecordsetPtr m_rs;
    QString m_erro;
};
