#pragma once
// HTTP and HTTPS requests for the web-service client: one request per call, every wait bounded
// (connecting, each read and write, and the whole answer), the answer's size bounded, redirects
// followed (at most five), and every failure turned into a text instead of an exception. A call
// blocks the thread that makes it: the windows make theirs on a worker thread.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace http {

// An answer's body while it arrives, for a reader that works at the same time (Opcoes::leitor):
// the bytes are written once into address space reserved for the largest answer accepted, so
// they never move and nothing is copied as the body grows.
class CorpoCrescente {
public:
    explicit CorpoCrescente(qint64 limite);
    ~CorpoCrescente();
    CorpoCrescente(const CorpoCrescente&) = delete;
    CorpoCrescente& operator=(const CorpoCrescente&) = delete;

    bool Valido() const { return base != nullptr; }
    const char* Dados() const { return base; }
    // Waits until at least `n` bytes have arrived or the answer has ended; how many have arrived.
    qint64 Esperar(qint64 n) const;

    // The receiving side: false past the limit.
    bool Acrescentar(const char* dados, qint64 n);
    void Terminar();

private:
    char* base = nullptr;
    qint64 limite = 0;
    qint64 tamanho = 0; // under m
    bool terminado = false; // under m
    mutable qint64 aguardado = -1; // under m: what the reader waits for, -1 when it does not wait
    mutable std::mutex m;
    mutable std::condition_variable mudou;
};

// Stops an exchange from another thread: the connection in use is shut, so a call waiting for an
// answer returns at once with TextoInterrompida. Once stopped it stays stopped: every exchange
// given it afterwards fails before it connects. Any thread may call Parar.
class Parada {
public:
    void Parar();
    bool Pedida() const { return pedida.load(); }

    // The exchange's side: while bound, Parar runs `fechar`. False when the stop came first.
    bool Vincular(std::function<void()> fechar);
    void Desvincular();

private:
    std::atomic<bool> pedida{false};
    std::mutex m;
    std::function<void()> fecharAtual; // under m
};

// The failure of an exchange stopped through its Parada.
QString TextoInterrompida();

struct Opcoes {
    int timeoutSegundos = 30; // connecting, and each wait for data
    int limiteTotalSegundos = 0; // the whole exchange, redirects included; 0: timeoutSegundos
    qint64 limiteBytes = qint64(1) << 30; // largest answer accepted
    QList<QPair<QByteArray, QByteArray>> cabecalhos;
    // When set, the answer's body is given to it while it arrives, on a thread of its own, and
    // RespostaHttp::corpo stays empty; it runs once per answer received (each redirect too) and
    // has returned when the call does. What it keeps must outlive the caller (a cancelled call
    // returns before it ends).
    std::function<void(const CorpoCrescente&)> leitor;
    // When set, another thread may stop the exchange through it.
    std::shared_ptr<Parada> parada;
};

struct RespostaHttp {
    bool ok = false; // an answer arrived (whatever its status)
    int status = 0;
    QByteArray corpo;
    QByteArray tipoConteudo;
    QString erro; // why no answer arrived
};

RespostaHttp Get(const QString& url, const Opcoes& opcoes = {});
RespostaHttp
Post(const QString& url, const QByteArray& corpo, const QByteArray& tipoConteudo, const Opcoes& opcoes = {});

} // namespace http
