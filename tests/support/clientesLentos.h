#pragma once
// Many clients that each send a request's headers to a port on loopback one byte per interval,
// never ending them, and connect again as soon as the server drops them: what a host must survive.
// They run on one thread of their own, from construction to destruction.
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

class ClientesLentos {
public:
    ClientesLentos(int porta, int quantos, std::chrono::milliseconds intervalo = std::chrono::seconds(1))
        : porta(porta), intervalo(intervalo), socks(size_t(quantos), -1), enviados(size_t(quantos), 0)
    {
        for (size_t i = 0; i < socks.size(); ++i)
            Conectar(i);
        linha = std::thread([this] { Laco(); });
    }
    ~ClientesLentos()
    {
        parar = true;
        linha.join();
        for (int s : socks)
            if (s >= 0)
                ::close(s);
    }
    ClientesLentos(const ClientesLentos&) = delete;
    ClientesLentos& operator=(const ClientesLentos&) = delete;

    // How many times a client was dropped and connected again.
    int Reconexoes() const { return reconexoes.load(); }

    // Lets this process open `n` files (sockets) when the system allows it; false otherwise.
    static bool PermitirArquivos(rlim_t n)
    {
        rlimit l{};
        if (::getrlimit(RLIMIT_NOFILE, &l) != 0)
            return false;
        if (l.rlim_cur >= n)
            return true;
        if (l.rlim_max != RLIM_INFINITY && l.rlim_max < n)
            return false;
        l.rlim_cur = n;
        return ::setrlimit(RLIMIT_NOFILE, &l) == 0;
    }

private:
    void Conectar(size_t i)
    {
        if (socks[i] >= 0)
            ::close(socks[i]);
        enviados[i] = 0;
        socks[i] = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(uint16_t(porta));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (socks[i] >= 0)
            ::connect(socks[i], reinterpret_cast<sockaddr*>(&a), sizeof a); // completes in the background
    }

    // One more byte of a request that never ends.
    void Gotejar(size_t i)
    {
        static const char pedido[] = "POST /WebData.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Lento: ";
        const char c = enviados[i] < sizeof pedido - 1 ? pedido[enviados[i]] : 'a';
        if (::send(socks[i], &c, 1, MSG_NOSIGNAL | MSG_DONTWAIT) == 1)
            ++enviados[i];
        else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ENOTCONN && errno != EINPROGRESS)
            Reconectar(i);
    }

    void Reconectar(size_t i)
    {
        Conectar(i);
        ++reconexoes;
    }

    void Laco()
    {
        using Relogio = std::chrono::steady_clock;
        std::vector<pollfd> p(socks.size());
        auto proximo = Relogio::now();
        while (!parar) {
            if (Relogio::now() >= proximo) {
                for (size_t i = 0; i < socks.size(); ++i)
                    Gotejar(i);
                proximo += intervalo;
            }
            for (size_t i = 0; i < socks.size(); ++i)
                p[i] = {socks[i], POLLIN | POLLRDHUP, 0};
            const auto falta = std::chrono::duration_cast<std::chrono::milliseconds>(proximo - Relogio::now());
            if (::poll(p.data(), p.size(), int(std::clamp<long long>(falta.count(), 0, 50))) <= 0)
                continue;
            for (size_t i = 0; i < socks.size(); ++i) {
                if (p[i].revents == 0)
                    continue;
                char b[256];
                const ssize_t n = ::recv(socks[i], b, sizeof b, MSG_DONTWAIT);
                // Closed, failed or answered (a request that never ends has no answer but a refusal).
                if (n >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
                    Reconectar(i);
            }
        }
    }

    int porta;
    std::chrono::milliseconds intervalo;
    std::vector<int> socks;
    std::vector<size_t> enviados;
    std::atomic<bool> parar{false};
    std::atomic<int> reconexoes{0};
    std::thread linha;
};
