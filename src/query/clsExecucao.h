#pragma once
// The runner of a query window: does the window's work on one worker thread — every batch of a
// script, the writing of the grid's rows, an export — and reports through signals delivered in the
// window's thread, so the window never waits for it. Stop is a flag of the run: set at once, read
// before each batch, handed to the engine (which reads it after preparing a statement and while
// reading rows) and backed by the engine's interrupt, repeated until the worker has ended, so no
// stop is lost whenever it comes. The worker receives values (the connection, the texts) and
// returns values; it never prompts.
#include "platform/clsMotor.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QThread;
class QTimer;

class clsExecucao : public QObject {
    Q_OBJECT
public:
    // A script to run: its batches, in order, on `motor`.
    struct Pedido {
        std::shared_ptr<clsMotor> motor;
        QStringList lotes;
        // Step by step: a failing batch asks (Pergunta) whether to go on with the next one.
        // Otherwise the first failing batch ends the run.
        bool perguntarAoFalhar = false;
        int lockType = ado::adLockBatchOptimistic;
        // The rows a batch may hold (0: no limit): past either limit the run stops there, as
        // Fim::passouDoLimite tells.
        qint64 limiteLinhas = 0;
        qint64 limiteBytes = 0;
    };
    // How a script ended.
    struct Fim {
        bool ok = false;
        bool interrompida = false; // the user stopped it
        bool passouDoLimite = false; // the rows of the last batch run passed the limit: it stopped there
        RecordsetPtr rs; // rows of the last batch run, when it returned any (without its blocks)
        int loteLinhas = -1; // the batch `rs` and the blocks of the end belong to
        long afetados = 0; // rows the last batch run changed
        int loteFalho = -1; // the batch whose failure ended the run (-1: none)
        QString sqlFalho;
        ErroDados erro;
        QString erroTexto; // the failure's full text when the data access object made it
        QList<long> afetadosLotes; // rows changed by each batch that ran, in order
        int total = 0; // batches in the script
        double segundos = 0;
    };
    // Other work on the connection (writing rows, an export): true when it succeeded. `parar` is
    // the run's stop flag.
    using Trabalho = std::function<bool(const std::atomic<bool>& parar)>;

    explicit clsExecucao(QObject* pai = nullptr);
    // Stops what still runs and waits for its thread.
    ~clsExecucao() override;

    // False (nothing started) while other work runs or without a connection.
    bool Iniciar(const Pedido& pedido);
    // `motor` may be null for work that needs no connection.
    bool IniciarTrabalho(std::shared_ptr<clsMotor> motor, Trabalho trabalho);
    // Asks the work running to stop; a question waiting for its answer is answered No.
    void Parar();
    // The answer to Pergunta.
    void Responder(bool continuar);
    bool Executando() const { return m_linha != nullptr; }

signals:
    // A batch begins (0-based, of `total`).
    void LoteIniciado(int lote, int total);
    // Rows of batch `lote`, as they are read.
    void Bloco(int lote, std::shared_ptr<clsRecordsetDados> bloco);
    // Step by step: batch `lote` failed; the run waits for Responder.
    void Pergunta(int lote, const QString& sql, const ErroDados& erro);
    // Progress of other work (a count of whatever it moves).
    void Progresso(qint64 feito);
    void Concluida(const clsExecucao::Fim& fim);
    void TrabalhoConcluido(bool ok, bool interrompido);

public:
    // For a Trabalho: reports progress to the window, from the worker.
    void InformarProgresso(qint64 feito);

private:
    struct Estado {
        std::shared_ptr<std::atomic<bool>> parar = std::make_shared<std::atomic<bool>>(false);
        std::mutex mtx;
        std::condition_variable cv;
        int resposta = -1; // -1 waiting, 0 No, 1 Yes
    };
    bool Comecar(std::shared_ptr<clsMotor> motor, std::function<void()> corpo);
    void Terminou();
    Fim RodarScript(const Pedido& pedido);
    bool PerguntarNoTrabalhador(int lote, const QString& sql, const ErroDados& erro);
    // Runs `f` in this object's thread, in order with the rest of what the worker reports.
    void Postar(std::function<void()> f);

    QThread* m_linha = nullptr;
    std::shared_ptr<clsMotor> m_motor;
    std::shared_ptr<Estado> m_estado;
    QTimer* m_repetirInterrupcao = nullptr;
};
