#include "mdlDadosNodes.h"

#include <QHash>

namespace {

struct Tabela {
    QVector<DadoNode> registros;
    QHash<QString, int> exata;      // key -> record
    QHash<QString, int> semCaixa;   // lower-cased key -> first record with that key ignoring case
};

Tabela& tabela()
{
    static Tabela t;
    return t;
}

QString* Campo(DadoNode& d, CampoNo campo)
{
    switch (campo) {
    case CampoNo::Descricao: return &d.descricao;
    case CampoNo::Usuario: return &d.usuario;
    case CampoNo::Senha: return &d.senha;
    case CampoNo::Integrado: return &d.integrado;
    case CampoNo::Caminho: return &d.caminho;
    case CampoNo::Endereco: return &d.endereco;
    }
    return nullptr;
}

} // namespace

namespace dadosnodes {

void Registrar(const DadoNode& dado)
{
    Tabela& t = tabela();
    const auto existente = t.exata.constFind(dado.key);
    if (existente != t.exata.constEnd()) {
        t.registros[*existente] = dado;
        return;
    }
    const int posicao = int(t.registros.size());
    t.registros.append(dado);
    t.exata.insert(dado.key, posicao);
    const QString semCaixa = dado.key.toLower();
    if (!t.semCaixa.contains(semCaixa))
        t.semCaixa.insert(semCaixa, posicao);
}

const QVector<DadoNode>& Todos() { return tabela().registros; }

void Limpar() { tabela() = Tabela(); }

} // namespace dadosnodes

QString LerDadoNode(const QString& chave, CampoNo campo)
{
    Tabela& t = tabela();
    const auto i = t.semCaixa.constFind(chave.toLower());
    if (i == t.semCaixa.constEnd())
        return {};
    return *Campo(t.registros[*i], campo);
}

void GravarDadoNode(const QString& chave, CampoNo campo, const QString& valor)
{
    Tabela& t = tabela();
    const auto i = t.exata.constFind(chave);
    if (i != t.exata.constEnd())
        *Campo(t.registros[*i], campo) = valor;
}
