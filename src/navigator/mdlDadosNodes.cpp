#include "mdlDadosNodes.h"

namespace {

template <typename Dado> auto* Campo(Dado& d, CampoNo campo)
{
    switch (campo) {
    case CampoNo::Descricao: return &d.descricao;
    case CampoNo::Usuario: return &d.usuario;
    case CampoNo::Senha: return &d.senha;
    case CampoNo::Integrado: return &d.integrado;
    case CampoNo::Caminho: return &d.caminho;
    case CampoNo::Endereco: return &d.endereco;
    }
    return &d.descricao;
}

} // namespace

void clsDadosNodes::Registrar(const DadoNode& dado)
{
    const auto existente = m_exata.constFind(dado.key);
    if (existente != m_exata.constEnd()) {
        m_registros[*existente] = dado;
        return;
    }
    const int posicao = int(m_registros.size());
    m_registros.append(dado);
    m_exata.insert(dado.key, posicao);
    const QString semCaixa = dado.key.toLower();
    if (!m_semCaixa.contains(semCaixa))
        m_semCaixa.insert(semCaixa, posicao);
}

QString clsDadosNodes::Ler(const QString& chave, CampoNo campo) const
{
    const auto i = m_semCaixa.constFind(chave.toLower());
    if (i == m_semCaixa.constEnd())
        return {};
    return *Campo(m_registros[*i], campo);
}

void clsDadosNodes::Gravar(const QString& chave, CampoNo campo, const QString& valor)
{
    const auto i = m_exata.constFind(chave);
    if (i != m_exata.constEnd())
        *Campo(m_registros[*i], campo) = valor;
}
