#include "clsWebServiceHostHttp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Relogio = std::chrono::steady_clock;

// One connection: reads buffered and bounded by the request's deadline, writes bounded per wait.
class FluxoComPrazo : public httplib::Stream {
public:
    FluxoComPrazo(socket_t sock, const std::atomic<socket_t>& servidor, time_t leituraSeg, time_t escritaSeg)
        : sock(sock),
          servidor(servidor),
          leitura(std::chrono::seconds(leituraSeg)),
          escrita(std::chrono::seconds(escritaSeg))
    {}

    // Waits up to `espera` for the next request's first byte.
    bool AguardarPedido(std::chrono::milliseconds espera)
    {
        return inicio < fim || Esperar(POLLIN, Relogio::now() + espera, true);
    }
    // The request that begins now must be read whole by `prazo`, and in no more than `limite` bytes.
    void IniciarPedido(std::chrono::milliseconds prazo, size_t limite)
    {
        fimPedido = Relogio::now() + prazo;
        restantes = limite;
    }

    bool is_readable() const override
    {
        return inicio < fim || Esperar(POLLIN, std::min(fimPedido, Relogio::now() + leitura), true);
    }
    bool is_writable() const override { return Esperar(POLLOUT, Relogio::now() + escrita, false); }

    ssize_t read(char* ptr, size_t size) override
    {
        if (restantes == 0 || !is_readable())
            return -1;
        size = std::min(size, restantes);
        if (inicio == fim) {
            const ssize_t n = ::recv(sock, buffer, sizeof buffer, 0);
            if (n <= 0)
                return n;
            inicio = 0;
            fim = size_t(n);
        }
        const size_t n = std::min(size, fim - inicio);
        std::memcpy(ptr, buffer + inicio, n);
        inicio += n;
        restantes -= n;
        return ssize_t(n);
    }
    ssize_t write(const char* ptr, size_t size) override
    {
        if (!is_writable())
            return -1;
        return ::send(sock, ptr, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override { Endereco(true, ip, port); }
    void get_local_ip_and_port(std::string& ip, int& port) const override { Endereco(false, ip, port); }
    socket_t socket() const override { return sock; }

private:
    // Waits for `eventos` until `ate`, in short steps so a stopped server is noticed (reads only).
    bool Esperar(short eventos, Relogio::time_point ate, bool vigiarServidor) const
    {
        for (;;) {
            if (vigiarServidor && servidor.load() == INVALID_SOCKET)
                return false;
            const auto falta = std::chrono::duration_cast<std::chrono::milliseconds>(ate - Relogio::now()).count();
            if (falta <= 0)
                return false;
            pollfd p{sock, eventos, 0};
            const int r = ::poll(&p, 1, int(std::min<long long>(falta, vigiarServidor ? 200 : falta)));
            if (r > 0)
                return true;
            if (r < 0 && errno != EINTR)
                return false;
        }
    }

    void Endereco(bool remoto, std::string& ip, int& port) const
    {
        sockaddr_storage a{};
        socklen_t n = sizeof a;
        ip.clear();
        port = 0;
        if ((remoto ? ::getpeername(sock, reinterpret_cast<sockaddr*>(&a), &n)
                    : ::getsockname(sock, reinterpret_cast<sockaddr*>(&a), &n))
            != 0)
            return;
        char texto[INET6_ADDRSTRLEN] = {};
        if (a.ss_family == AF_INET) {
            const auto* v4 = reinterpret_cast<const sockaddr_in*>(&a);
            ::inet_ntop(AF_INET, &v4->sin_addr, texto, sizeof texto);
            port = ntohs(v4->sin_port);
        } else if (a.ss_family == AF_INET6) {
            const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&a);
            ::inet_ntop(AF_INET6, &v6->sin6_addr, texto, sizeof texto);
            port = ntohs(v6->sin6_port);
        }
        ip = texto;
    }

    socket_t sock;
    const std::atomic<socket_t>& servidor;
    std::chrono::milliseconds leitura, escrita;
    Relogio::time_point fimPedido = Relogio::time_point::max();
    size_t restantes = 0;
    char buffer[16 * 1024];
    size_t inicio = 0, fim = 0;
};

} // namespace

clsWebServiceHostHttp::clsWebServiceHostHttp(std::chrono::milliseconds prazoPedido, size_t limiteBytes)
    : prazoPedido(prazoPedido), limiteBytes(limiteBytes)
{}

bool clsWebServiceHostHttp::DefinirFila(int tamanho)
{
    // listen() again on a listening socket changes only its queue.
    return svr_sock_ != INVALID_SOCKET && ::listen(svr_sock_, tamanho) == 0;
}

bool clsWebServiceHostHttp::process_and_close_socket(socket_t sock)
{
    bool ok = false;
    {
        FluxoComPrazo f(sock, svr_sock_, read_timeout_sec_, write_timeout_sec_);
        for (size_t n = keep_alive_max_count_; n > 0; --n) {
            if (!f.AguardarPedido(std::chrono::seconds(keep_alive_timeout_sec_)))
                break;
            f.IniciarPedido(prazoPedido, limiteBytes);
            bool fechada = false;
            ok = process_request(f, n == 1, fechada, nullptr);
            if (!ok || fechada)
                break;
        }
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ok;
}
