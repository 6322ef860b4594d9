#pragma once
// A navigator folder read on a worker thread is filled when the tree takes the worker's result:
// the tests wait for that as the user does.
#include "navigator/clsArvore.h"
#include "navigator/mdlCatalogo.h"

#include <QTest>

#include <memory>
#include <optional>

// Waits until `pasta` no longer shows "Carregando…": true when it did within the time.
inline bool Carregada(clsNo* pasta, int ms = 20000)
{
    return QTest::qWaitFor(
        [pasta] {
            const clsNo* primeiro = pasta->Child();
            return !primeiro || primeiro->Text() != TextoCarregando;
        },
        ms);
}

// Expands `pasta` as the tree does and waits for its objects.
inline bool Expandir(clsArvore& arvore, clsNo* pasta)
{
    ExpandirNo(arvore, pasta);
    return Carregada(pasta);
}

// A table's details (columns, indexes, triggers) are read on a worker: asks for them and waits
// until the tree has taken them.
inline bool DetalhesCarregados(clsArvore& arvore, clsNo* tabela, int ms = 20000)
{
    const QString marcador = tabela->Key() + QStringLiteral("<temp>");
    CarregarDetalhesTabela(arvore, tabela);
    return QTest::qWaitFor([&] { return arvore.No(marcador) == nullptr; }, ms);
}

// A connection of the navigator ends in a continuation: starts it with `iniciar` and waits for the
// answer as the user does; false also when none came within the time.
inline bool Respondido(const std::function<void(AoConectar)>& iniciar, int ms = 30000)
{
    auto resposta = std::make_shared<std::optional<bool>>();
    iniciar([resposta](bool ok) { *resposta = ok; });
    (void)QTest::qWaitFor([resposta] { return resposta->has_value(); }, ms);
    return resposta->value_or(false);
}

inline bool Mapeado(clsArvore& arvore, const QString& connStr)
{
    return Respondido([&](AoConectar pronto) { MapearConexaoCustomizada(arvore, connStr, std::move(pronto)); });
}

inline bool Conectado(clsArvore& arvore, clsNo* no)
{
    return Respondido([&](AoConectar pronto) { ConectarBancoDados(arvore, no, std::move(pronto)); });
}

// False when the node is not one to refresh, or its new connection failed.
inline bool Atualizado(clsArvore& arvore, clsNo* no)
{
    return Respondido([&](AoConectar pronto) {
        auto guardado = std::make_shared<AoConectar>(std::move(pronto));
        if (!AtualizarNode(arvore, no, [guardado](bool ok) { (*guardado)(ok); }))
            (*guardado)(false);
    });
}
