#pragma once
// The host's HTTP server: httplib's parsing, routing and answers, with its own way of taking
// requests in. One thread accepts connections, one reader (clsLeitorPedidos) gathers each request
// whole, bounded in time and size, and only a complete request goes to one of the workers, which
// answers it and gives the connection back to the reader for the next one. A client that sends
// slowly, or never ends its request, holds no worker.
#include "clsWebServiceHostLeitor.h"

#include <atomic>
#include <httplib.h>
#include <memory>

class clsWebServiceHostHttp : public httplib::Server {
public:
    clsWebServiceHostHttp(hostleitor::clsLeitorPedidos::Limites limites, int trabalhadores);
    ~clsWebServiceHostHttp() override;
    // The queue of connections waiting to be accepted (httplib's is 5); after binding.
    bool DefinirFila(int tamanho);
    // Serves until stop(); false when it could not start or the listening socket failed.
    bool Servir();

private:
    // Called on the accepting thread for each new connection: gives it to the reader.
    bool process_and_close_socket(socket_t sock) override;
    void Responder(const hostleitor::ConexaoPtr& c);

    hostleitor::clsLeitorPedidos::Limites limites;
    int trabalhadores;
    std::unique_ptr<httplib::ThreadPool> equipe;
    std::unique_ptr<hostleitor::clsLeitorPedidos> leitor;
    std::atomic<bool> parando{false};
};
