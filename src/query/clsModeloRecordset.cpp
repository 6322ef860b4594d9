#include "clsModeloRecordset.h"

#include "query/mdlTextoCelula.h"

using namespace ado;

clsModeloRecordset::clsModeloRecordset(QObject* pai) : QAbstractTableModel(pai) {}

void clsModeloRecordset::DefinirRecordset(RecordsetPtr rs)
{
    beginResetModel();
    m_rs = std::move(rs);
    m_erro.clear();
    m_excluidas.clear();
    endResetModel();
}

void clsModeloRecordset::AnexarBloco(clsRecordsetDados&& bloco)
{
    const int k = int(bloco.QtdeLinhas());
    if (!Aberto() || k == 0)
        return;
    if (!m_rs->Sort().isEmpty() || m_rs->Filter() != u"0") {
        m_rs->AnexarBloco(std::move(bloco));
        Recarregar();
        return;
    }
    const int n = rowCount();
    beginInsertRows({}, n, n + k - 1);
    m_rs->AnexarBloco(std::move(bloco));
    endInsertRows();
}

void clsModeloRecordset::Recarregar()
{
    beginResetModel();
    endResetModel();
}

// Nothing is edited while the rows are being written: they are the writer's.
bool clsModeloRecordset::Editavel() const { return Aberto() && !Gravando() && m_rs->Gravavel(); }

QString clsModeloRecordset::MotivoSomenteLeitura() const
{
    QString motivo;
    if (Aberto())
        m_rs->Gravavel(&motivo);
    return motivo;
}

bool clsModeloRecordset::CelulaGravavel(const QModelIndex& indice) const
{
    return indice.isValid() && Editavel() && m_rs->CampoGravavel(indice.column()) && !Excluida(indice.row());
}

bool clsModeloRecordset::CelulaEditavel(const QModelIndex& indice) const
{
    return CelulaGravavel(indice) && !TipoBinario(m_rs->InfoCampo(indice.column()).tipo);
}

bool clsModeloRecordset::Anulavel(int campo) const
{
    return m_rs->InfoCampo(campo).atributos & (ISNULLABLE | MAYBENULL);
}

int clsModeloRecordset::rowCount(const QModelIndex& pai) const
{
    if (pai.isValid() || !Aberto())
        return 0;
    if (Gravando())
        return m_linhasGravando;
    return std::max(0, m_rs->QtdeLinhasVisiveis());
}

int clsModeloRecordset::columnCount(const QModelIndex& pai) const
{
    if (pai.isValid() || !Aberto())
        return 0;
    if (Gravando())
        return m_colunasGravando;
    return m_rs->FieldCount();
}

QVariant clsModeloRecordset::data(const QModelIndex& indice, int papel) const
{
    if (!indice.isValid() || !Aberto() || Gravando())
        return {};
    const int linha = indice.row(), campo = indice.column();
    const int tipo = m_rs->InfoCampo(campo).tipo;
    switch (papel) {
    case Qt::DisplayRole:
        // A bit is its check box.
        if (tipo == adBoolean)
            return {};
        return textocelula::TextoExibido(*m_rs, linha, campo);
    case Qt::EditRole: return textocelula::TextoEdicao(*m_rs, linha, campo);
    case Qt::CheckStateRole:
        // Null is the third state, between clear and checked.
        if (tipo != adBoolean)
            return {};
        if (m_rs->CelulaNula(linha, campo))
            return Qt::PartiallyChecked;
        return m_rs->ValorCelula(linha, campo).toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        if (TipoInteiro(tipo) || TipoReal(tipo))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case PapelNulo: return m_rs->CelulaNula(linha, campo);
    case PapelExcluida: return Excluida(linha);
    default: return {};
    }
}

QVariant clsModeloRecordset::headerData(int secao, Qt::Orientation orientacao, int papel) const
{
    if (!Aberto() || Gravando())
        return {};
    if (orientacao == Qt::Horizontal && papel == Qt::DisplayRole)
        return secao < m_rs->FieldCount() ? m_rs->InfoCampo(secao).nome : QVariant();
    // A row marked for deletion says so at its left.
    if (orientacao == Qt::Vertical && papel == Qt::DisplayRole)
        return Excluida(secao) ? QStringLiteral("✕") : QString();
    if (orientacao == Qt::Vertical && papel == Qt::ToolTipRole && Excluida(secao))
        return QStringLiteral("Excluído ao salvar");
    return {};
}

bool clsModeloRecordset::Recusar(const QString& erro)
{
    m_erro = erro;
    emit EdicaoRecusada(m_erro);
    return false;
}

bool clsModeloRecordset::TextoServe(const QModelIndex& indice, const QString& texto, QString& erro) const
{
    QVariant valor;
    if (!indice.isValid() || !Aberto() || textocelula::LerTexto(*m_rs, indice.row(), indice.column(), texto, valor))
        return true;
    erro = textocelula::MensagemNaoServe(texto, m_rs->InfoCampo(indice.column()).nome);
    return false;
}

bool clsModeloRecordset::Gravar(const QModelIndex& indice, const QVariant& valor)
{
    if (!m_rs->DefinirCelula(indice.row(), indice.column(), valor))
        return Recusar(m_rs->Erro().descricao);
    m_erro.clear();
    emit dataChanged(indice, indice, {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole, PapelNulo});
    return true;
}

bool clsModeloRecordset::setData(const QModelIndex& indice, const QVariant& valor, int papel)
{
    if (!CelulaEditavel(indice))
        return false;
    const int linha = indice.row(), campo = indice.column();
    if (papel == Qt::CheckStateRole) {
        const int estado = valor.toInt();
        if (estado == Qt::PartiallyChecked)
            return m_rs->CelulaNula(linha, campo) || Gravar(indice, QVariant());
        return Gravar(indice, estado == Qt::Checked);
    }
    if (papel != Qt::EditRole)
        return false;
    // A value given as such (not as text) goes in as it is.
    if (valor.typeId() != QMetaType::QString)
        return Gravar(indice, valor);
    const QString texto = valor.toString();
    // The text the editor opened with, given back: nothing changes.
    if (texto == textocelula::TextoEdicao(*m_rs, linha, campo) && (!texto.isEmpty() || m_rs->CelulaNula(linha, campo)))
        return true;
    QVariant lido;
    if (!textocelula::LerTexto(*m_rs, linha, campo, texto, lido))
        return Recusar(textocelula::MensagemNaoServe(texto, m_rs->InfoCampo(campo).nome));
    return Gravar(indice, lido);
}

bool clsModeloRecordset::DefinirNulo(const QModelIndex& indice)
{
    if (!CelulaGravavel(indice) || m_rs->CelulaNula(indice.row(), indice.column()))
        return false;
    return Gravar(indice, QVariant());
}

bool clsModeloRecordset::TemEdicoesPendentes() const
{
    return Aberto() && !Gravando() && (!m_excluidas.empty() || m_rs->TemAlteracoesPendentes());
}

void clsModeloRecordset::DescartarEdicoes()
{
    if (!Aberto())
        return;
    beginResetModel();
    m_excluidas.clear();
    if (m_rs->TemAlteracoesPendentes())
        m_rs->CancelBatch();
    endResetModel();
}

Qt::ItemFlags clsModeloRecordset::flags(const QModelIndex& indice) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(indice);
    if (Gravando() || !CelulaEditavel(indice))
        return f;
    if (m_rs->InfoCampo(indice.column()).tipo == adBoolean)
        return f | Qt::ItemIsUserCheckable | (Anulavel(indice.column()) ? Qt::ItemIsUserTristate : Qt::NoItemFlags);
    return f | Qt::ItemIsEditable;
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

bool clsModeloRecordset::Excluida(int linha) const
{
    return !m_excluidas.empty() && Aberto() && linha >= 0 && linha < m_rs->QtdeLinhasVisiveis()
           && m_excluidas.count(m_rs->LinhaDados(linha));
}

void clsModeloRecordset::AlternarExclusao(const QList<int>& linhas)
{
    if (!Editavel() || linhas.isEmpty())
        return;
    bool todas = true;
    for (int l : linhas)
        todas = todas && Excluida(l);
    for (int l : linhas) {
        if (l < 0 || l >= rowCount())
            continue;
        if (todas)
            m_excluidas.erase(m_rs->LinhaDados(l));
        else
            m_excluidas.insert(m_rs->LinhaDados(l));
        emit dataChanged(index(l, 0), index(l, columnCount() - 1), {PapelExcluida});
        emit headerDataChanged(Qt::Vertical, l, l);
    }
}

int clsModeloRecordset::LinhaVisivel(uint32_t fisica) const
{
    for (int l = 0; l < m_rs->QtdeLinhasVisiveis(); ++l)
        if (m_rs->LinhaDados(l) == fisica)
            return l;
    return -1;
}

bool clsModeloRecordset::PrepararGravacao()
{
    if (!Aberto() || Gravando())
        return false;
    const int linhas = rowCount(), colunas = columnCount();
    // The marked rows are deleted now; if the save fails they come back as they were, still marked.
    m_apagadas.clear();
    for (uint32_t fisica : m_excluidas) {
        const int l = LinhaVisivel(fisica);
        const EstadoLinha antes = m_rs->Dados().Estado(fisica);
        if (l < 0 || !m_rs->setAbsolutePosition(l + 1) || !m_rs->Delete())
            continue;
        m_apagadas.emplace_back(fisica, antes);
    }
    m_linhasGravando = linhas;
    m_colunasGravando = colunas;
    return true;
}

bool clsModeloRecordset::ConcluirGravacao(bool ok)
{
    if (!Gravando())
        return false;
    m_linhasGravando = -1;
    if (ok) {
        m_excluidas.clear();
    } else {
        m_erro = m_rs->Erro().descricao;
        for (const auto& [fisica, estado] : m_apagadas)
            m_rs->Dados().DefinirEstado(fisica, estado);
        ++m_rs->Dados().geracao;
    }
    m_apagadas.clear();
    Recarregar();
    return ok;
}

bool clsModeloRecordset::Gravar()
{
    if (!PrepararGravacao())
        return false;
    return ConcluirGravacao(m_rs->UpdateBatch());
}
