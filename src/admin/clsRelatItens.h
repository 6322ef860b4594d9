#pragma once
// The links of a table box: each joins it to another table box by a line, keyed by its point.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class clsPrompt;

struct clsRelatItem {
    QPointer<QObject> objLine; // the line drawn
    QPointer<QObject> ListaIrmao; // the table box at the other end
    QString PontoLink; // the link's key
    int UmDois = 1; // which end of the line this box holds: 1 or 2
    QString Key;
};

class clsRelatItens {
public:
    // The warning about a duplicate point goes through `prompt`.
    explicit clsRelatItens(clsPrompt& prompt) : m_prompt(prompt) {}

    int Count() const { return int(m_itens.size()); }
    // By position, 1-based; null outside the collection.
    clsRelatItem* Item(int posicao);
    // The first item with that point; null when none.
    clsRelatItem* Item(const QString& pontoLink);
    // Adds a link unless one with the same point is present (then warns and adds nothing).
    clsRelatItem* Add(QObject* objLine, QObject* listaIrmao, const QString& pontoLink, int umDois);
    void Clear() { m_itens.clear(); }

private:
    clsPrompt& m_prompt;
    QList<clsRelatItem> m_itens;
};
