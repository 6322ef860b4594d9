#pragma once
// The node data table of a navigator tree: one record per node added through IncluirNode, with the
// credentials and addresses a connection string is rebuilt from. Records are appended in order of
// addition and never removed; re-adding a key overwrites its record.
#include <QHash>
#include <QString>
#include <QVector>

struct DadoNode {
    QString key;
    QString descricao;
    QString usuario;
    QString senha; // plain, in memory only
    QString integrado; // "1" for integrated (trusted) security, else "0"
    QString caminho; // file path of a database file
    QString endereco; // web-service address
};

enum class CampoNo { Descricao, Usuario, Senha, Integrado, Caminho, Endereco };

class clsDadosNodes {
public:
    // Registers a record under its key: overwrites the record whose key is exactly that key, else
    // appends.
    void Registrar(const DadoNode& dado);
    const QVector<DadoNode>& Todos() const { return m_registros; }

    // The field of the first record whose key equals `chave` ignoring case; empty when none.
    QString Ler(const QString& chave, CampoNo campo) const;
    // Sets the field of the record whose key is exactly `chave`; nothing when none.
    void Gravar(const QString& chave, CampoNo campo, const QString& valor);

private:
    QVector<DadoNode> m_registros;
    QHash<QString, int> m_exata; // key -> record
    QHash<QString, int> m_semCaixa; // lower-cased key -> first record with that key ignoring case
};
