#include "clsAmbienteNavegador.h"

clsAmbienteNavegador::clsAmbienteNavegador(clsPrompt& prompt)
    : clsAmbienteDados(prompt), m_arvore(std::make_unique<clsArvore>(*this))
{}

clsAmbienteNavegador::clsAmbienteNavegador(std::unique_ptr<clsPrompt> prompt)
    : clsAmbienteDados(std::move(prompt)), m_arvore(std::make_unique<clsArvore>(*this))
{}

clsAmbienteNavegador::~clsAmbienteNavegador() = default;
