#pragma once
// The host's reader of requests: one thread watches every open connection (epoll) and gathers its
// bytes until a whole request is there, then hands the connection to whoever answers it. Reading a
// request ties up nothing but a buffer, so clients that send slowly cannot keep others waiting.
// Open connections are bounded: when the bound is reached, the one that has waited longest for
// its request to be complete is closed first. A connection gets `ociosa` for its request's first
// byte and `prazoPedido` from then on for the whole request; a request longer than `limiteBytes`
// is refused with 413.
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace hostleitor {

struct Conexao {
    int sock = -1;
    std::string dados; // bytes received and not yet served (the request first)
    size_t tamanhoPedido = 0; // how many of them are the request handed over
    size_t atendidos = 0; // requests already answered on this connection
};
using ConexaoPtr = std::shared_ptr<Conexao>;

// How many of `dados`' bytes make the request that starts them: 0 while it is incomplete; -1 when
// it can never be read (headers past `limite`, or a body that is not HTTP/1.1's); -2 when its body
// is longer than `limite`.
long long TamanhoPedido(const std::string& dados, size_t limite);

// A client that asked to be told to send its body ("Expect: 100-continue") while only the
// headers are in: the request loses that header (the reader answers "100 Continue" itself, so
// the worker does not answer it again) and true comes back.
bool TirarPedidoDeContinuacao(std::string& dados);

class clsLeitorPedidos {
public:
    struct Limites {
        std::chrono::milliseconds ociosa{5000};
        std::chrono::milliseconds prazoPedido{10000};
        size_t limiteBytes = size_t(1) << 20;
        size_t conexoes = 512;
    };
    // `entregar` runs on the reader's thread with each complete request; it must not block.
    clsLeitorPedidos(Limites limites, std::function<void(ConexaoPtr)> entregar);
    ~clsLeitorPedidos();
    clsLeitorPedidos(const clsLeitorPedidos&) = delete;
    clsLeitorPedidos& operator=(const clsLeitorPedidos&) = delete;

    // False when the reader could not start (no epoll).
    bool Iniciar();
    // Stops the thread and closes every connection it holds; later ones are closed at once.
    void Parar();
    // A new connection, or one whose answer was sent and that stays open for the next request.
    // Any thread.
    void Receber(ConexaoPtr c);
    // Connections waiting for their answer, counted against the bound (the caller keeps it).
    void ContarEmEspera(int delta);

private:
    struct Estado;
    std::unique_ptr<Estado> e;
};

} // namespace hostleitor
