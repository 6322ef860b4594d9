#pragma once
// A navigator folder read on a worker thread is filled when the tree takes the worker's result:
// the tests wait for that as the user does.
#include "navigator/clsArvore.h"
#include "navigator/mdlCatalogo.h"

#include <QTest>

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
