#pragma once
// The program context as the navigator sees it: the data layer's context plus the navigator's tree
// (with its node data) and what was loaded with the mapped servers.
#include "connections/clsAmbienteDados.h"
#include "navigator/clsArvore.h"

#include <memory>

class clsAmbienteNavegador : public clsAmbienteDados {
public:
    explicit clsAmbienteNavegador(clsPrompt& prompt);
    explicit clsAmbienteNavegador(std::unique_ptr<clsPrompt> prompt);
    ~clsAmbienteNavegador() override;

    clsArvore& Arvore() { return *m_arvore; }
    const clsArvore& Arvore() const { return *m_arvore; }

    // The slot count ("Qtde") of the mapped entries as loaded and kept for the run.
    qint16 qtdeServidores = 0;
    // Evaluated once per load: whether SQL Server entries live among the registered servers.
    bool sqlDmoDisponivelCarregado = false;

private:
    std::unique_ptr<clsArvore> m_arvore;
};
