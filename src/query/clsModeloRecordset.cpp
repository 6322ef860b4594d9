#include "clsModeloRecordset.h"

#include "query/mdlTextoCelula.h"

using namespace ado;

clsModeloRecordset::clsModeloRecordset(QObject* pai) : QAbstractTableModel(pai) {}

namespace {
const QString TextoSemAcaoJanela = QStringLiteral(
    "Este resultado é lido sob demanda: nele só se alteram valores. Para incluir ou excluir registros, "
    "execute uma instrução que retorne menos linhas.");
} // namespace

void clsModeloRecordset::DefinirRecordset(RecordsetPtr rs)
{
    beginResetModel();
    m_janela.reset();
    m_linhasJanela = 0;
    m_rs = std::move(rs);
    m_erro.clear();
    m_excluidas.clear();
    endResetModel();
}

void clsModeloRecordset::DefinirJanela(std::unique_ptr<clsLeitorJanela> janela)
{
    DefinirRecordset(nullptr);
    beginResetModel();
    m_janela = std::move(janela);
    if (m_janela) {
        m_linhasJanela = int(m_janela->Linhas());
        connect(m_janela.get(), &clsLeitorJanela::LinhasContadas, this, &clsModeloRecordset::LinhasContadas);
        connect(m_janela.get(), &clsLeitorJanela::BlocoLido, this, [this](qint64 primeira, qint64 ultima) {
            if (Gravando() || primeira >= m_linhasJanela)
                return;
            emit dataChanged(index(int(primeira), 0),
                             index(int(std::min<qint64>(ultima, m_linhasJanela - 1)), columnCount() - 1));
        });
    }
    endResetModel();
}

// Rows counted by the reader join the view at its end (not while the rows are being written).
void clsModeloRecordset::LinhasContadas()
{
    const int n = int(m_janela->Linhas());
    if (Gravando() || n <= m_linhasJanela)
        return;
    beginInsertRows({}, m_linhasJanela, n - 1);
    m_linhasJanela = n;
    endInsertRows();
}

clsModeloRecordset::Local clsModeloRecordset::Localizar(int linha) const
{
    if (!m_janela)
        return {m_rs.get(), linha};
    Local l;
    l.rs = m_janela->Linha(linha, l.linha);
    return l;
}

void clsModeloRecordset::AnexarBloco(clsRecordsetDados&& bloco)
{
    const int k = int(bloco.QtdeLinhas());
    if (!Aberto() || k == 0)
        return;
    if (m_janela)
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
    if (m_janela)
        m_linhasJanela = int(m_janela->Linhas());
    endResetModel();
}

// Nothing is edited while the rows are being written: they are the writer's. A table read on
// demand answers for all its blocks through any of them.
bool clsModeloRecordset::Editavel() const
{
    if (!Aberto() || Gravando())
        return false;
    if (m_janela)
        return m_janela->Exemplo() && m_janela->Exemplo()->Gravavel();
    return m_rs->Gravavel();
}

QString clsModeloRecordset::MotivoSomenteLeitura() const
{
    QString motivo;
    if (m_janela && m_janela->Exemplo())
        m_janela->Exemplo()->Gravavel(&motivo);
    else if (Aberto() && !m_janela)
        m_rs->Gravavel(&motivo);
    return motivo;
}

bool clsModeloRecordset::CelulaGravavel(const QModelIndex& indice) const
{
    if (!indice.isValid() || !Editavel() || Excluida(indice.row()))
        return false;
    const Local l = Localizar(indice.row());
    return l.rs && l.rs->CampoGravavel(indice.column());
}

bool clsModeloRecordset::CelulaEditavel(const QModelIndex& indice) const
{
    return CelulaGravavel(indice) && !TipoBinario(Campo(indice.column()).tipo);
}

bool clsModeloRecordset::Anulavel(int campo) const { return Campo(campo).atributos & (ISNULLABLE | MAYBENULL); }

int clsModeloRecordset::rowCount(const QModelIndex& pai) const
{
    if (pai.isValid() || !Aberto())
        return 0;
    if (Gravando())
        return m_linhasGravando;
    if (m_janela)
        return m_linhasJanela;
    return std::max(0, m_rs->QtdeLinhasVisiveis());
}

int clsModeloRecordset::columnCount(const QModelIndex& pai) const
{
    if (pai.isValid() || !Aberto())
        return 0;
    if (Gravando())
        return m_colunasGravando;
    return m_janela ? m_janela->QtdeCampos() : m_rs->FieldCount();
}

QVariant clsModeloRecordset::data(const QModelIndex& indice, int papel) const
{
    if (!indice.isValid() || !Aberto() || Gravando())
        return {};
    const int campo = indice.column();
    const int tipo = Campo(campo).tipo;
    if (papel == Qt::TextAlignmentRole)
        return TipoInteiro(tipo) || TipoReal(tipo) ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    if (papel == PapelExcluida)
        return Excluida(indice.row());
    const Local l = Localizar(indice.row());
    if (!l.rs) // a row not read yet
        return papel == Qt::DisplayRole ? QVariant(QStringLiteral("…")) : QVariant();
    clsRecordset& rs = *l.rs;
    const int linha = l.linha;
    switch (papel) {
    case Qt::DisplayRole:
        // A bit is its check box.
        if (tipo == adBoolean)
            return {};
        return textocelula::TextoExibido(rs, linha, campo);
    case Qt::EditRole: return textocelula::TextoEdicao(rs, linha, campo);
    case Qt::CheckStateRole:
        // Null is the third state, between clear and checked.
        if (tipo != adBoolean)
            return {};
        if (rs.CelulaNula(linha, campo))
            return Qt::PartiallyChecked;
        return rs.ValorCelula(linha, campo).toBool() ? Qt::Checked : Qt::Unchecked;
    case PapelNulo: return rs.CelulaNula(linha, campo);
    default: return {};
    }
}

QVariant clsModeloRecordset::headerData(int secao, Qt::Orientation orientacao, int papel) const
{
    if (!Aberto() || Gravando())
        return {};
    if (orientacao == Qt::Horizontal && papel == Qt::DisplayRole)
        return secao < columnCount() ? Campo(secao).nome : QVariant();
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
    const Local l = indice.isValid() && Aberto() ? Localizar(indice.row()) : Local{};
    if (!l.rs || textocelula::LerTexto(*l.rs, l.linha, indice.column(), texto, valor))
        return true;
    erro = textocelula::MensagemNaoServe(texto, Campo(indice.column()).nome);
    return false;
}

bool clsModeloRecordset::Gravar(const QModelIndex& indice, const QVariant& valor)
{
    const Local l = Localizar(indice.row());
    if (!l.rs)
        return false;
    if (!l.rs->DefinirCelula(l.linha, indice.column(), valor))
        return Recusar(l.rs->Erro().descricao);
    if (m_janela)
        m_janela->Marcar(indice.row());
    m_erro.clear();
    emit dataChanged(indice, indice, {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole, PapelNulo});
    return true;
}

bool clsModeloRecordset::setData(const QModelIndex& indice, const QVariant& valor, int papel)
{
    if (!CelulaEditavel(indice))
        return false;
    const Local l = Localizar(indice.row());
    clsRecordset& rs = *l.rs;
    const int linha = l.linha, campo = indice.column();
    if (papel == Qt::CheckStateRole) {
        const int estado = valor.toInt();
        if (estado == Qt::PartiallyChecked)
            return rs.CelulaNula(linha, campo) || Gravar(indice, QVariant());
        return Gravar(indice, estado == Qt::Checked);
    }
    if (papel != Qt::EditRole)
        return false;
    // A value given as such (not as text) goes in as it is.
    if (valor.typeId() != QMetaType::QString)
        return Gravar(indice, valor);
    const QString texto = valor.toString();
    // The text the editor opened with, given back: nothing changes.
    if (texto == textocelula::TextoEdicao(rs, linha, campo) && (!texto.isEmpty() || rs.CelulaNula(linha, campo)))
        return true;
    QVariant lido;
    if (!textocelula::LerTexto(rs, linha, campo, texto, lido))
        return Recusar(textocelula::MensagemNaoServe(texto, Campo(campo).nome));
    return Gravar(indice, lido);
}

bool clsModeloRecordset::DefinirNulo(const QModelIndex& indice)
{
    if (!CelulaGravavel(indice))
        return false;
    const Local l = Localizar(indice.row());
    if (l.rs->CelulaNula(l.linha, indice.column()))
        return false;
    return Gravar(indice, QVariant());
}

bool clsModeloRecordset::TemEdicoesPendentes() const
{
    if (!Aberto() || Gravando())
        return false;
    if (m_janela)
        return m_janela->TemPendentes();
    return !m_excluidas.empty() || m_rs->TemAlteracoesPendentes();
}

void clsModeloRecordset::DescartarEdicoes()
{
    if (!Aberto())
        return;
    beginResetModel();
    m_excluidas.clear();
    if (m_janela)
        m_janela->Descartar();
    else if (m_rs->TemAlteracoesPendentes())
        m_rs->CancelBatch();
    endResetModel();
}

Qt::ItemFlags clsModeloRecordset::flags(const QModelIndex& indice) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(indice);
    if (Gravando() || !CelulaEditavel(indice))
        return f;
    if (Campo(indice.column()).tipo == adBoolean)
        return f | Qt::ItemIsUserCheckable | (Anulavel(indice.column()) ? Qt::ItemIsUserTristate : Qt::NoItemFlags);
    return f | Qt::ItemIsEditable;
}

bool clsModeloRecordset::IncluirLinha()
{
    if (!Editavel())
        return false;
    if (m_janela) {
        m_erro = TextoSemAcaoJanela;
        return false;
    }
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
    return !m_excluidas.empty() && Aberto() && !m_janela && linha >= 0 && linha < m_rs->QtdeLinhasVisiveis()
           && m_excluidas.count(m_rs->LinhaDados(linha));
}

void clsModeloRecordset::AlternarExclusao(const QList<int>& linhas)
{
    if (!Editavel() || linhas.isEmpty())
        return;
    if (m_janela) {
        Recusar(TextoSemAcaoJanela);
        return;
    }
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
    for (uint32_t fisica : m_janela ? std::set<uint32_t>{} : m_excluidas) {
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

bool clsModeloRecordset::ConcluirGravacao(bool ok, const ErroDados& erro)
{
    if (!Gravando())
        return false;
    m_linhasGravando = -1;
    if (ok) {
        m_excluidas.clear();
    } else if (m_janela) {
        m_erroGravacao = erro;
        m_erro = erro.descricao;
    } else {
        m_erroGravacao = m_rs->Erro();
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
    if (m_janela || !PrepararGravacao())
        return false;
    return ConcluirGravacao(m_rs->UpdateBatch());
}
