#pragma once
// The two ends of a copy: where rows come from (a table, view or query of a connection, a
// delimited text file) and where they go (a table of a connection, a delimited text file). A
// reader hands its rows over in blocks, so a table of any size passes in constant memory; a
// writer keeps everything it writes for one table in one transaction (a file: in a temporary
// file), so a table is copied whole or not at all.
#include "mdlEstruturaCopia.h"

#include "platform/clsRecordsetDados.h"

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace impexp {

// What happens to the destination table.
enum class Acao {
    Criar, // a new table; an existing one is an error
    Acrescentar, // rows added to the table (created when missing)
    Substituir, // the table's rows deleted first (created when missing)
    Recriar, // the table dropped and created again
};
Acao AcaoDoTexto(const QString& texto, bool* ok = nullptr);
QString TextoDaAcao(Acao a);

// Takes a block (which it may keep); returns false to stop reading.
using RecebeBloco = std::function<bool(std::shared_ptr<const clsRecordsetDados> bloco)>;

// The block a file reader fills, row by row, with its fields: Entregar hands it (when it has rows)
// to `recebe` and starts an empty one.
class clsBlocoLido {
public:
    clsBlocoLido(QList<CampoInfo> campos, const RecebeBloco& recebe) : m_campos(std::move(campos)), m_recebe(recebe)
    {
        Novo();
    }
    clsRecordsetDados* operator->() { return m_bloco.get(); }
    bool Entregar()
    {
        if (m_bloco->QtdeLinhas() == 0)
            return true;
        const bool ok = m_recebe(std::move(m_bloco));
        Novo();
        return ok;
    }

private:
    void Novo()
    {
        m_bloco = std::make_shared<clsRecordsetDados>();
        m_bloco->campos = m_campos;
    }
    QList<CampoInfo> m_campos;
    const RecebeBloco& m_recebe;
    std::shared_ptr<clsRecordsetDados> m_bloco;
};

// Blocks passed from the thread that reads to the one that writes: at most `limite` wait, so
// memory stays flat while the origin is read ahead of the destination.
class clsFilaBlocos {
public:
    explicit clsFilaBlocos(size_t limite) : limite(limite) {}
    // Waits for room; false once the taker has refused more.
    bool Por(std::shared_ptr<const clsRecordsetDados> bloco);
    // Waits for a block; null once the reader has ended and none is left.
    std::shared_ptr<const clsRecordsetDados> Tirar();
    void Terminar();
    void Recusar();

private:
    size_t limite;
    std::mutex mtx;
    std::condition_variable mudou;
    std::deque<std::shared_ptr<const clsRecordsetDados>> blocos;
    bool terminou = false, recusou = false;
};

class clsLeitor {
public:
    virtual ~clsLeitor() = default;
    // The columns (and key) of what will be read.
    virtual bool Estrutura(EstruturaCopia& saida, QString& erro) = 0;
    // Every row, in blocks, to `recebe`. False on failure (or when `recebe` refused a block).
    virtual bool Ler(const RecebeBloco& recebe, QString& erro) = 0;
    // From any thread: stops Ler as soon as it can.
    virtual void Interromper() {}
};

class clsEscritor {
public:
    virtual ~clsEscritor() = default;
    // Starts the table's transaction and makes the table ready (created, emptied or dropped and
    // created as `acao` says) for rows of `origem`.
    virtual bool Iniciar(const EstruturaCopia& origem, Acao acao, QString& erro) = 0;
    // Writes a block; `primeiraLinha` is the number (from 1) of its first row in the whole copy,
    // for the report. On failure `erro` names the row, the column when known, and why.
    virtual bool Escrever(const clsRecordsetDados& bloco, qint64 primeiraLinha, QString& erro) = 0;
    // Makes the table's work permanent.
    virtual bool Concluir(QString& erro) = 0;
    // Undoes everything since Iniciar.
    virtual void Desfazer() = 0;
};

} // namespace impexp
