#include "clsRelatItens.h"

#include "platform/clsPrompt.h"

clsRelatItem* clsRelatItens::Item(int posicao)
{
    return posicao >= 1 && posicao <= Count() ? &m_itens[posicao - 1] : nullptr;
}

clsRelatItem* clsRelatItens::Item(const QString& pontoLink)
{
    for (clsRelatItem& item : m_itens)
        if (item.PontoLink == pontoLink)
            return &item;
    return nullptr;
}

clsRelatItem* clsRelatItens::Add(QObject* objLine, QObject* listaIrmao, const QString& pontoLink, int umDois)
{
    if (Item(pontoLink)) {
        m_prompt.MsgBox(QStringLiteral("Item: '") + pontoLink + QStringLiteral("' Já Inclusa"), vb::Exclamation);
        return nullptr;
    }
    m_itens.append({objLine, listaIrmao, pontoLink, umDois, pontoLink});
    return &m_itens.last();
}
