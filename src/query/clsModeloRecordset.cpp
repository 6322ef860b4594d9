#include "clsModeloRecordset.h"

#include "platform/mdlDecimal.h"

#include <QDateTime>
#include <QLocale>

clsModeloRecordset::clsModeloRecordset(QObject* pai) : QAbstractTableModel(pai) {}

void clsModeloRecordset::DefinirRecordset(RecordsetPtr rs)
{
    beginResetModel();
    m_rs = std::move(rs);
    m_erro.clear();
    endResetModel();
}

void clsModeloRecordset::Recarregar()
{
    beginResetModel();
    endResetModel();
}

bool clsModeloRecordset::Editavel() const { return Aberto() && m_rs->LockType() != ado::adLockReadOnly; }

int clsModeloRecordset::rowCount(const QModelIndex& pai) const
{
    if (pai.isValid() || !Aberto())
        return 0;
    return std::max(0, m_rs->QtdeLinhasVisiveis());
}

int clsModeloRecordset::columnCount(const QModelIndex& pai) const
{
    if (pai.isValid() || !Aberto())
        return 0;
    return m_rs->FieldCount();
}

QVariant clsModeloRecordset::data(const QModelIndex& indice, int papel) const
{
    if (!indice.isValid() || !Aberto())
        return {};
    switch (papel) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const QVariant v = m_rs->ValorCelula(indice.row(), indice.column());
        // A decimal in the user's notation with every digit, for reading and for editing alike.
        if (ado::TipoDecimal(m_rs->InfoCampo(indice.column()).tipo) && v.typeId() == QMetaType::QString)
            return decimal::ParaTextoLocal(v.toString(), QLocale());
        // Binary values are shown as the grid of a data control shows them: not at all.
        if (papel != Qt::DisplayRole)
            return v;
        if (v.typeId() == QMetaType::QByteArray)
            return {};
        // Dates as the user writes them: day first, the time only when there is one.
        if (v.typeId() == QMetaType::QDateTime) {
            const QDateTime d = v.toDateTime();
            return d.time() == QTime(0, 0) ? d.toString(QStringLiteral("dd/MM/yyyy"))
                                           : d.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
        }
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        return v;
    }
    case Qt::TextAlignmentRole: {
        const int tipo = m_rs->InfoCampo(indice.column()).tipo;
        if (ado::TipoInteiro(tipo) || ado::TipoReal(tipo))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    default: return {};
    }
}

QVariant clsModeloRecordset::headerData(int secao, Qt::Orientation orientacao, int papel) const
{
    if (papel != Qt::DisplayRole || !Aberto())
        return {};
    if (orientacao == Qt::Horizontal)
        return secao < m_rs->FieldCount() ? m_rs->InfoCampo(secao).nome : QVariant();
    return {};
}

bool clsModeloRecordset::setData(const QModelIndex& indice, const QVariant& valor, int papel)
{
    if (papel != Qt::EditRole || !indice.isValid() || !Editavel())
        return false;
    // An empty text in a cell means null, as in the data grid.
    QVariant v = valor;
    if (v.typeId() == QMetaType::QString && v.toString().isEmpty())
        v = QVariant();
    // A decimal typed in the user's notation goes in as its exact digits.
    std::string exato;
    if (ado::TipoDecimal(m_rs->InfoCampo(indice.column()).tipo) && v.typeId() == QMetaType::QString
        && decimal::DeTextoLocal(v.toString(), QLocale(), exato))
        v = QString::fromLatin1(exato.data(), qsizetype(exato.size()));
    if (!m_rs->DefinirCelula(indice.row(), indice.column(), v)) {
        m_erro = m_rs->Erro().descricao;
        emit EdicaoRecusada(m_erro);
        return false;
    }
    m_erro.clear();
    emit dataChanged(indice, indice, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags clsModeloRecordset::flags(const QModelIndex& indice) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(indice);
    if (indice.isValid() && Editavel())
        f |= Qt::ItemIsEditable;
    return f;
}

bool clsModeloRecordset::IncluirLinha()
{
    if (!Editavel())
        return false;
    const int n = rowCount();
    beginInsertRows({}, n, n);
    const bool ok = m_rs->AddNew();
    endInsertRows();
    if (!ok) {
        m_erro = m_rs->Erro().descricao;
        Recarregar();
    }
    return ok;
}
