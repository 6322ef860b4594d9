#include "clsWebServiceHostHttp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Relogio = std::chrono::steady_clock;

// A request the reader gathered whole: read from its bytes, answered on its (blocking) socket,
// each write bounded by `escritaSeg` and given up when the server stops.
class FluxoPedido : public httplib::Stream {
public:
    FluxoPedido(const hostleitor::Conexao& c, const std::atomic<bool>& parando, time_t escritaSeg)
        : c(c), sock(c.sock), parando(parando), escrita(std::chrono::seconds(escritaSeg))
    {}

    bool is_readable() const override { return lidos < c.tamanhoPedido; }
    bool is_writable() const override
    {
        const auto ate = Relogio::now() + escrita;
        for (;;) {
            if (parando.load())
                return false;
            const auto falta = std::chrono::duration_cast<std::chrono::milliseconds>(ate - Relogio::now()).count();
            if (falta <= 0)
                return false;
            pollfd p{sock, POLLOUT, 0};
            const int r = ::poll(&p, 1, int(std::min<long long>(falta, 200)));
            if (r > 0)
                return (p.revents & (POLLERR | POLLHUP | POLLNVAL)) == 0;
            if (r < 0 && errno != EINTR)
                return false;
        }
    }

    ssize_t read(char* ptr, size_t size) override
    {
        if (lidos >= c.tamanhoPedido)
            return -1; // nothing past the request: the reader keeps it for the next one
        const size_t n = std::min(size, c.tamanhoPedido - lidos);
        std::memcpy(ptr, c.dados.data() + lidos, n);
        lidos += n;
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

    const hostleitor::Conexao& c;
    socket_t sock;
    const std::atomic<bool>& parando;
    std::chrono::milliseconds escrita;
    size_t lidos = 0;
};

// httplib's accepting loop hands each connection over at once, on its own thread.
class EntregaImediata : public httplib::TaskQueue {
public:
    void enqueue(std::function<void()> fn) override { fn(); }
    void shutdown() override {}
};

} // namespace

clsWebServiceHostHttp::clsWebServiceHostHttp(hostleitor::clsLeitorPedidos::Limites limites, int trabalhadores)
    : limites(limites), trabalhadores(trabalhadores)
{
    new_task_queue = [] { return new EntregaImediata; };
}

clsWebServiceHostHttp::~clsWebServiceHostHttp() = default;

bool clsWebServiceHostHttp::DefinirFila(int tamanho)
{
    // listen() again on a listening socket changes only its queue.
    return svr_sock_ != INVALID_SOCKET && ::listen(svr_sock_, tamanho) == 0;
}

bool clsWebServiceHostHttp::Servir()
{
    parando = false;
    limites.ociosa = std::chrono::seconds(keep_alive_timeout_sec_);
    equipe = std::make_unique<httplib::ThreadPool>(size_t(trabalhadores));
    leitor = std::make_unique<hostleitor::clsLeitorPedidos>(limites, [this](hostleitor::ConexaoPtr c) {
        equipe->enqueue([this, c = std::move(c)] { Responder(c); });
    });
    const bool ok = leitor->Iniciar() && listen_after_bind();
    parando = true;
    leitor->Parar();
    equipe->shutdown();
    return ok;
}

bool clsWebServiceHostHttp::process_and_close_socket(socket_t sock)
{
    auto c = std::make_shared<hostleitor::Conexao>();
    c->sock = sock;
    leitor->Receber(std::move(c));
    return true;
}

void clsWebServiceHostHttp::Responder(const hostleitor::ConexaoPtr& c)
{
    leitor->ContarEmEspera(-1);
    bool seguir = false;
    if (!parando) {
        FluxoPedido f(*c, parando, write_timeout_sec_);
        const bool ultimo = ++c->atendidos >= keep_alive_max_count_;
        bool fechada = false;
        seguir = process_request(f, ultimo, fechada, nullptr) && !fechada && !ultimo && !parando;
    }
    if (!seguir) {
        ::shutdown(c->sock, SHUT_RDWR);
        ::close(c->sock);
        return;
    }
    c->dados.erase(0, c->tamanhoPedido);
    c->tamanhoPedido = 0;
    leitor->Receber(c);
}
