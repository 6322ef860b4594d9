#pragma once
// The navigator's tree: nodes with a text, a unique key, an image index (the node's kind) and a tag
// (the connection string of the source the node belongs to). Nodes are found by key or by index
// through hash tables, never by walking the tree. The model serves the tree view directly. The
// tree belongs to a program context and keeps the data records of its nodes.
#include "navigator/mdlDadosNodes.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QList>
#include <QString>

class clsArvore;
class clsAmbienteNavegador;

class clsNo {
public:
    const QString& Text() const { return m_texto; }
    const QString& Key() const { return m_chave; }
    int Image() const { return m_imagem; }
    const QString& Tag() const { return m_tag; }
    // A catalog object's schema (owner) and name exactly as the catalog gave them; the caption may
    // differ (a twin's "schema.name"). A node without a recorded name is named by its text. On a
    // folder of objects, the schema is the session's default one.
    const QString& Esquema() const { return m_esquema; }
    const QString& Nome() const { return m_nome.isEmpty() ? m_texto : m_nome; }
    // Position in the tree's node collection: unique, given in order of addition, never reused, so
    // a window that remembers it can never be mistaken for another node's.
    int Index() const { return m_indice; }
    bool Expanded() const { return m_expandido; }

    clsNo* Parent() const { return m_pai; }
    clsNo* Child() const { return m_filhos.isEmpty() ? nullptr : m_filhos.first(); }
    clsNo* Next() const;
    int Children() const { return int(m_filhos.size()); }
    const QList<clsNo*>& Filhos() const { return m_filhos; }
    // The tree the node belongs to.
    clsArvore& Arvore() const { return *m_arvore; }

private:
    friend class clsArvore;
    QString m_texto;
    QString m_chave;
    QString m_tag;
    QString m_esquema;
    QString m_nome;
    int m_imagem = 0;
    int m_indice = 0;
    int m_linha = 0;
    bool m_expandido = false;
    clsNo* m_pai = nullptr;
    QList<clsNo*> m_filhos;
    clsArvore* m_arvore = nullptr;
};

class clsArvore : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Papeis { PapelImagem = Qt::UserRole + 1, PapelChave, PapelTag, PapelIndice };

    explicit clsArvore(clsAmbienteNavegador& ambiente, QObject* pai = nullptr);
    ~clsArvore() override;

    // The context the tree belongs to: prompts, options, mapped-server state.
    clsAmbienteNavegador& Ambiente() const { return m_ambiente; }
    // The data records of the nodes added through IncluirNode.
    clsDadosNodes& Dados() { return m_dados; }
    const clsDadosNodes& Dados() const { return m_dados; }

    // Adds a node as the last child of the node keyed `chavePai` (a root when empty). Fails, with
    // the reason in `erro`, when the key is already used or the parent does not exist.
    clsNo* Adicionar(const QString& chavePai, const QString& chave, const QString& texto, QString* erro = nullptr);
    // Removes the node and everything under it.
    void Remover(clsNo* no);
    void RemoverFilhos(clsNo* no);
    void Limpar();

    clsNo* No(const QString& chave) const { return m_porChave.value(chave); }
    clsNo* NoPorIndice(int indice) const { return m_porIndice.value(indice); }
    int Count() const { return int(m_porChave.size()); }
    const QList<clsNo*>& Raizes() const { return m_raizes; }

    void DefinirTexto(clsNo* no, const QString& texto);
    void DefinirImagem(clsNo* no, int imagem);
    void DefinirTag(clsNo* no, const QString& tag) { no->m_tag = tag; }
    void DefinirObjeto(clsNo* no, const QString& esquema, const QString& nome)
    {
        no->m_esquema = esquema;
        no->m_nome = nome;
    }
    void Expandir(clsNo* no, bool expandir = true);
    // Records what the view did, without asking it again.
    void MarcarExpandido(clsNo* no, bool expandido) { no->m_expandido = expandido; }
    void Selecionar(clsNo* no);
    clsNo* Selecionado() const { return m_selecionado; }

    QModelIndex IndiceModelo(clsNo* no) const;
    static clsNo* NoDoIndice(const QModelIndex& i) { return static_cast<clsNo*>(i.internalPointer()); }

    // Label editing is allowed for tables only; a finished edit is a request the navigator answers.
    void DefinirEditavel(bool (*regra)(const clsNo*)) { m_editavel = regra; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override { return 1; }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void ExpansaoPedida(clsNo* no, bool expandir);
    void SelecaoPedida(clsNo* no);
    void RenomearPedido(clsNo* no, const QString& novoTexto);

private:
    void Esquecer(clsNo* no);
    QList<clsNo*>& Irmaos(clsNo* pai) { return pai ? pai->m_filhos : m_raizes; }

    clsAmbienteNavegador& m_ambiente;
    clsDadosNodes m_dados;
    QList<clsNo*> m_raizes;
    QHash<QString, clsNo*> m_porChave;
    QHash<int, clsNo*> m_porIndice;
    int m_proximoIndice = 1;
    clsNo* m_selecionado = nullptr;
    bool (*m_editavel)(const clsNo*) = nullptr;
};
