#include "clsArvore.h"

clsNo* clsNo::Next() const
{
    const QList<clsNo*>& irmaos = m_pai ? m_pai->m_filhos : m_arvore->Raizes();
    return m_linha + 1 < irmaos.size() ? irmaos.at(m_linha + 1) : nullptr;
}

clsArvore::clsArvore(clsAmbienteNavegador& ambiente, QObject* pai) : QAbstractItemModel(pai), m_ambiente(ambiente) {}

clsArvore::~clsArvore()
{
    for (clsNo* no : std::as_const(m_porChave))
        delete no;
}

clsNo* clsArvore::Adicionar(const QString& chavePai, const QString& chave, const QString& texto, QString* erro)
{
    if (m_porChave.contains(chave)) {
        if (erro)
            *erro = QStringLiteral("Key is not unique in collection");
        return nullptr;
    }
    clsNo* pai = nullptr;
    if (!chavePai.isEmpty()) {
        pai = m_porChave.value(chavePai);
        if (!pai) {
            if (erro)
                *erro = QStringLiteral("Element not found");
            return nullptr;
        }
    }
    auto* no = new clsNo;
    no->m_texto = texto;
    no->m_chave = chave;
    no->m_indice = m_proximoIndice++;
    no->m_pai = pai;
    no->m_arvore = this;
    QList<clsNo*>& irmaos = Irmaos(pai);
    no->m_linha = int(irmaos.size());
    beginInsertRows(pai ? IndiceModelo(pai) : QModelIndex(), no->m_linha, no->m_linha);
    irmaos.append(no);
    m_porChave.insert(chave, no);
    m_porIndice.insert(no->m_indice, no);
    endInsertRows();
    return no;
}

void clsArvore::Esquecer(clsNo* no)
{
    for (clsNo* filho : std::as_const(no->m_filhos))
        Esquecer(filho);
    if (m_selecionado == no)
        m_selecionado = nullptr;
    m_porChave.remove(no->m_chave);
    m_porIndice.remove(no->m_indice);
    delete no;
}

void clsArvore::Remover(clsNo* no)
{
    if (!no)
        return;
    clsNo* pai = no->m_pai;
    QList<clsNo*>& irmaos = Irmaos(pai);
    const int linha = no->m_linha;
    beginRemoveRows(pai ? IndiceModelo(pai) : QModelIndex(), linha, linha);
    irmaos.removeAt(linha);
    for (int i = linha; i < irmaos.size(); ++i)
        irmaos[i]->m_linha = i;
    Esquecer(no);
    endRemoveRows();
}

void clsArvore::RemoverFilhos(clsNo* no)
{
    if (!no || no->m_filhos.isEmpty())
        return;
    beginRemoveRows(IndiceModelo(no), 0, int(no->m_filhos.size()) - 1);
    const QList<clsNo*> filhos = std::exchange(no->m_filhos, {});
    for (clsNo* f : filhos)
        Esquecer(f);
    endRemoveRows();
}

void clsArvore::Limpar()
{
    beginResetModel();
    for (clsNo* no : std::as_const(m_raizes))
        Esquecer(no);
    m_raizes.clear();
    m_selecionado = nullptr;
    endResetModel();
}

void clsArvore::DefinirTexto(clsNo* no, const QString& texto)
{
    no->m_texto = texto;
    const QModelIndex i = IndiceModelo(no);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void clsArvore::DefinirImagem(clsNo* no, int imagem)
{
    no->m_imagem = imagem;
    const QModelIndex i = IndiceModelo(no);
    emit dataChanged(i, i, {Qt::DecorationRole, PapelImagem});
}

void clsArvore::Expandir(clsNo* no, bool expandir)
{
    if (!no)
        return;
    no->m_expandido = expandir;
    emit ExpansaoPedida(no, expandir);
}

void clsArvore::Selecionar(clsNo* no)
{
    m_selecionado = no;
    emit SelecaoPedida(no);
}

QModelIndex clsArvore::IndiceModelo(clsNo* no) const { return no ? createIndex(no->m_linha, 0, no) : QModelIndex(); }

QModelIndex clsArvore::index(int row, int column, const QModelIndex& parent) const
{
    const QList<clsNo*>& irmaos = parent.isValid() ? NoDoIndice(parent)->m_filhos : m_raizes;
    if (column != 0 || row < 0 || row >= irmaos.size())
        return {};
    return createIndex(row, 0, irmaos.at(row));
}

QModelIndex clsArvore::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    return IndiceModelo(NoDoIndice(child)->m_pai);
}

int clsArvore::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(parent.isValid() ? NoDoIndice(parent)->m_filhos.size() : m_raizes.size());
}

QVariant clsArvore::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const clsNo* no = NoDoIndice(index);
    switch (role) {
    case Qt::DisplayRole: return no->m_texto;
    // A name is edited bare, whatever the caption shows.
    case Qt::EditRole: return no->Nome();
    case PapelImagem: return no->m_imagem;
    case PapelChave: return no->m_chave;
    case PapelTag: return no->m_tag;
    case PapelIndice: return no->m_indice;
    case Qt::ToolTipRole: {
        // A source's description (full path, "Servidor: " + name, the address) tells it whole in
        // the narrow pane.
        QString dica = m_dados.Ler(no->m_chave, CampoNo::Descricao);
        // A catalog object tells which schema it belongs to.
        if (dica.isEmpty() && !no->m_nome.isEmpty())
            dica = no->m_esquema.isEmpty() ? no->m_nome : no->m_esquema + u'.' + no->m_nome;
        return dica.isEmpty() ? QVariant() : QVariant(dica);
    }
    default: return {};
    }
}

bool clsArvore::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    emit RenomearPedido(NoDoIndice(index), value.toString());
    return false;
}

Qt::ItemFlags clsArvore::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editavel && m_editavel(NoDoIndice(index)))
        f |= Qt::ItemIsEditable;
    return f;
}
