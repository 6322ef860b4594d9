#pragma once
// The host's HTTP server: httplib's, with a bounded time to receive each request. httplib bounds
// each wait for data, so a client that sends one byte per second keeps a worker forever; here a
// request's headers and body must arrive within `prazoPedido` of its first byte, and at most
// `limiteBytes` of them are read.
#include <chrono>
#include <httplib.h>

class clsWebServiceHostHttp : public httplib::Server {
public:
    clsWebServiceHostHttp(std::chrono::milliseconds prazoPedido, size_t limiteBytes);
    // The queue of connections waiting to be accepted (httplib's is 5); after binding.
    bool DefinirFila(int tamanho);

private:
    bool process_and_close_socket(socket_t sock) override;

    std::chrono::milliseconds prazoPedido;
    size_t limiteBytes;
};
