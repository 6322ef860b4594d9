#pragma once
// A table's rows read on demand, for a result too large to hold: the rows are counted and their
// key noted at every block boundary by a scan of the key alone, in chunks; a block is read when the
// grid asks for one of its rows, by a key range (WHERE key > last key of the block before ORDER BY
// key LIMIT n). Only the blocks used last and those with edits not yet written stay in memory.
//
// All database work runs on the reader's own worker thread, one piece at a time, on the connection
// it was given (which nobody else uses meanwhile): blocks asked last go first, the count goes on
// between them. Results come back by queued signals; nothing waits for the worker but the
// destructor, which stops it first.
#include "platform/clsMotor.h"

#include <QObject>
#include <QVector>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_map>
#include <vector>

class QThread;

class clsLeitorJanela : public QObject {
    Q_OBJECT
public:
    struct Opcoes {
        int linhasBloco = 2048;
        int blocosMantidos = 48; // besides those with edits
        int blocosPorLote = 64; // blocks counted by one statement of the scan
    };
    // `campos`: the fields of the result as the table's SELECT * returned them. Starts at once.
    clsLeitorJanela(std::shared_ptr<clsMotor> motor, QVector<CampoInfo> campos, Opcoes opcoes, QObject* pai = nullptr);
    clsLeitorJanela(std::shared_ptr<clsMotor> motor, QVector<CampoInfo> campos, QObject* pai = nullptr)
        : clsLeitorJanela(std::move(motor), std::move(campos), Opcoes{}, pai)
    {}
    ~clsLeitorJanela() override;

    // Whether a result can be read this way on this engine: why not in `motivo`.
    static bool Suportado(const clsMotor& motor, QString* motivo = nullptr);

    int QtdeCampos() const { return int(m_campos.size()); }
    const CampoInfo& Campo(int c) const { return m_campos[c]; }
    // Rows counted so far, and whether the count is complete.
    qint64 Linhas() const { return m_linhas; }
    bool Contado() const { return m_contado; }
    int LinhasBloco() const { return m_opcoes.linhasBloco; }

    // The block that holds row `linha`, with the row's place in it in `local`, when it is in
    // memory; otherwise null, and the block is asked for (BlocoLido tells when it came).
    clsRecordset* Linha(qint64 linha, int& local);
    // Any block in memory (for what all blocks share: fields, whether rows can be written).
    clsRecordset* Exemplo() const;
    // The block of row `linha` was edited: it stays in memory until written or discarded.
    void Marcar(qint64 linha);
    bool TemPendentes() const { return !m_marcados.empty(); }
    void Descartar();
    // Writes the edits of every marked block in one transaction, on the worker; Gravado tells the
    // outcome. False when nothing was started (nothing to write, or a write already running).
    bool Gravar();
    bool Gravando() const { return m_gravando; }
    // Blocks held now (for the tests and the benchmark).
    int BlocosEmMemoria() const { return int(m_blocos.size()); }

signals:
    // Rows `primeira`..`ultima` can be read now.
    void BlocoLido(qint64 primeira, qint64 ultima);
    // More rows were counted (`completo`: all of them).
    void LinhasContadas(qint64 total, bool completo);
    // The table cannot be read by key (no primary key, columns of other tables): nothing was read.
    void Recusado(const QString& motivo);
    void Falhou(const QString& erro);
    void Gravado(bool ok, const ErroDados& erro);

private:
    struct Tarefa {
        int bloco = -1; // the block it reads; -1: other work
        std::function<void()> f;
    };
    struct Entrada {
        RecordsetPtr rs;
        quint64 uso = 0;
    };
    using Chave = std::vector<QVariant>;

    void Enfileirar(Tarefa t, bool urgente);
    void Trabalhar();
    void Postar(std::function<void()> f);
    // Worker side.
    bool Preparar(QString& motivo);
    void Contar(qint64 contadas, Chave depois);
    void LerBloco(int bloco, const Chave& depois);
    QString Onde(const Chave& depois) const;
    // GUI side.
    void Pedir(int bloco);
    void Guardar(int bloco, RecordsetPtr rs);
    void Liberar();

    std::shared_ptr<clsMotor> m_motor;
    QVector<CampoInfo> m_campos;
    Opcoes m_opcoes;
    // Set by Preparar, before anything else runs; read-only afterwards.
    QString m_tabela; // quoted and qualified
    QStringList m_chave; // quoted key columns
    QString m_ordem; // "k1, k2"

    // Shared with the worker, under m_mtx.
    std::mutex m_mtx;
    std::condition_variable m_cv;
    std::deque<Tarefa> m_urgentes, m_fundo;
    bool m_fim = false;
    std::shared_ptr<std::atomic<bool>> m_parar = std::make_shared<std::atomic<bool>>(false);
    QThread* m_linha = nullptr;

    // GUI thread only.
    std::vector<Chave> m_limites; // key of the last row of each block counted
    qint64 m_linhas = 0;
    bool m_contado = false;
    std::unordered_map<int, Entrada> m_blocos;
    std::set<int> m_pedidos, m_marcados;
    quint64 m_relogio = 0;
    bool m_gravando = false;
};
