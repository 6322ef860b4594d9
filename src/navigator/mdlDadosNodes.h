#pragma once
// The program-wide node data table: one record per node added through IncluirNode, with the
// credentials and addresses a connection string is rebuilt from. Records are appended in order of
// addition and never removed; re-adding a key overwrites its record.
#include <QString>
#include <QVector>

struct DadoNode {
    QString key;
    QString descricao;
    QString usuario;
    QString senha;      // plain, in memory only
    QString integrado;  // "1" for integrated (trusted) security, else "0"
    QString caminho;    // file path of a database file
    QString endereco;   // web-service address
};

enum class CampoNo { Descricao, Usuario, Senha, Integrado, Caminho, Endereco };

namespace dadosnodes {

// Registers a record under `chave`: overwrites the record whose key is exactly `chave`, else appends.
void Registrar(const DadoNode& dado);
const QVector<DadoNode>& Todos();
void Limpar();

} // namespace dadosnodes

// The field of the first record whose key equals `chave` ignoring case; empty when none.
QString LerDadoNode(const QString& chave, CampoNo campo);
// Sets the field of the record whose key is exactly `chave`; nothing when none.
void GravarDadoNode(const QString& chave, CampoNo campo, const QString& valor);
