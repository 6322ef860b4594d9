#include "clsWebServiceHostLeitor.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <list>
#include <mutex>
#include <string_view>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace hostleitor {

namespace {

using Relogio = std::chrono::steady_clock;

constexpr size_t LimiteCabecalhos = size_t(64) << 10;

bool IguaisSemCaixa(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view Aparar(std::string_view v)
{
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t'))
        v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t'))
        v.remove_suffix(1);
    return v;
}

// The number in `v` (decimal or hexadecimal); false when it is not one or is absurdly large.
bool Numero(std::string_view v, int base, unsigned long long& n)
{
    if (v.empty() || v.size() > 15)
        return false;
    n = 0;
    for (char c : v) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        n = n * unsigned(base) + unsigned(d);
    }
    return true;
}

// The end of a chunked body that starts at `p`: 0 while incomplete, -1 malformed, -2 too long.
long long FimChunked(const std::string& d, size_t p, size_t limite)
{
    size_t corpo = 0;
    for (;;) {
        const size_t eol = d.find("\r\n", p);
        if (eol == std::string::npos)
            return d.size() - p > 1024 ? -1 : 0;
        std::string_view linha(d.data() + p, eol - p);
        linha = Aparar(linha.substr(0, linha.find(';')));
        unsigned long long n;
        if (!Numero(linha, 16, n))
            return -1;
        p = eol + 2;
        if (n == 0) { // trailer fields, then an empty line
            for (;;) {
                const size_t fim = d.find("\r\n", p);
                if (fim == std::string::npos)
                    return d.size() - p > LimiteCabecalhos ? -1 : 0;
                if (fim == p)
                    return (long long)(fim + 2);
                p = fim + 2;
            }
        }
        corpo += n;
        if (corpo > limite)
            return -2;
        p += n + 2;
        if (p > d.size())
            return 0;
        if (d.compare(p - 2, 2, "\r\n") != 0)
            return -1;
    }
}

} // namespace

bool TirarPedidoDeContinuacao(std::string& d)
{
    const size_t fimCabecalhos = d.find("\r\n\r\n");
    if (fimCabecalhos == std::string::npos)
        return false;
    for (size_t p = d.find("\r\n") + 2; p < fimCabecalhos + 2;) {
        const size_t eol = d.find("\r\n", p);
        const std::string_view linha(d.data() + p, eol - p);
        const size_t doisPontos = linha.find(':');
        if (doisPontos != std::string_view::npos && IguaisSemCaixa(linha.substr(0, doisPontos), "Expect")
            && IguaisSemCaixa(Aparar(linha.substr(doisPontos + 1)), "100-continue")) {
            d.erase(p, eol + 2 - p);
            return true;
        }
        p = eol + 2;
    }
    return false;
}

long long TamanhoPedido(const std::string& d, size_t limite)
{
    const size_t fimCabecalhos = d.find("\r\n\r\n");
    if (fimCabecalhos == std::string::npos)
        return d.size() > LimiteCabecalhos ? -1 : 0;
    if (fimCabecalhos > LimiteCabecalhos)
        return -1;
    bool chunked = false;
    unsigned long long tamanho = 0;
    size_t p = d.find("\r\n") + 2; // past the request line
    while (p < fimCabecalhos + 2) {
        const size_t eol = d.find("\r\n", p);
        const std::string_view linha(d.data() + p, eol - p);
        p = eol + 2;
        const size_t doisPontos = linha.find(':');
        if (doisPontos == std::string_view::npos)
            continue;
        const std::string_view nome = linha.substr(0, doisPontos);
        const std::string_view valor = Aparar(linha.substr(doisPontos + 1));
        if (IguaisSemCaixa(nome, "Content-Length") && !Numero(valor, 10, tamanho))
            return -1;
        if (IguaisSemCaixa(nome, "Transfer-Encoding"))
            chunked = !IguaisSemCaixa(valor, "identity");
    }
    const size_t corpo = fimCabecalhos + 4;
    if (chunked)
        return FimChunked(d, corpo, limite);
    if (tamanho > limite)
        return -2;
    return corpo + tamanho <= d.size() ? (long long)(corpo + tamanho) : 0;
}

struct clsLeitorPedidos::Estado {
    struct Aberta {
        ConexaoPtr c;
        Relogio::time_point prazo;
        bool comecou = false; // the request's first byte arrived
    };
    using Posicao = std::list<Aberta>::iterator;

    Limites lim;
    std::function<void(ConexaoPtr)> entregar;
    int ep = -1;
    int ev = -1;
    std::thread linha;
    std::mutex m;
    std::vector<ConexaoPtr> chegadas; // under m
    bool parado = false; // under m
    std::atomic<int> emEspera{0};
    std::list<Aberta> abertas; // the oldest first
    std::unordered_map<int, Posicao> porSock;

    bool Parado()
    {
        std::lock_guard<std::mutex> g(m);
        return parado;
    }

    void Avisar()
    {
        const uint64_t um = 1;
        [[maybe_unused]] const ssize_t n = ::write(ev, &um, sizeof um);
    }

    void Fechar(Posicao p)
    {
        ::close(p->c->sock);
        porSock.erase(p->c->sock);
        abertas.erase(p);
    }

    // A connection comes in: its bytes already there are read at once (an ordinary request is
    // usually complete with them and goes straight on), then it is watched; when the bound is
    // passed, the connections that have waited longest are closed.
    void Admitir(ConexaoPtr c)
    {
        const int flags = ::fcntl(c->sock, F_GETFL);
        if (flags < 0 || ::fcntl(c->sock, F_SETFL, flags | O_NONBLOCK) != 0) {
            ::close(c->sock);
            return;
        }
        const bool comecou = !c->dados.empty();
        abertas.push_back({c, Relogio::now() + (comecou ? lim.prazoPedido : lim.ociosa), comecou});
        const Posicao p = std::prev(abertas.end());
        porSock[c->sock] = p;
        if (!Ler(p))
            return;
        epoll_event e{};
        e.events = EPOLLIN | EPOLLRDHUP;
        e.data.fd = c->sock;
        if (::epoll_ctl(ep, EPOLL_CTL_ADD, c->sock, &e) != 0) {
            Fechar(p);
            return;
        }
        const auto acima = [&] { return abertas.size() + size_t(std::max(0, emEspera.load())) > lim.conexoes; };
        while (acima() && abertas.begin() != p)
            Fechar(abertas.begin());
        if (acima())
            Fechar(p);
    }

    // Hands the request over when it is complete; closes the connection when it never will be.
    // True while the connection stays with the reader.
    bool Verificar(Posicao p, bool fimDoFluxo)
    {
        Conexao& c = *p->c;
        const long long n = TamanhoPedido(c.dados, lim.limiteBytes);
        if (n == -2) {
            static const char recusa[]
                = "HTTP/1.1 413 Payload Too Large\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
            [[maybe_unused]] const ssize_t k = ::send(c.sock, recusa, sizeof recusa - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        if (n < 0 || (n == 0 && fimDoFluxo)) {
            Fechar(p);
            return false;
        }
        if (n == 0) {
            if (TirarPedidoDeContinuacao(c.dados)) {
                static const char continuar[] = "HTTP/1.1 100 Continue\r\n\r\n";
                [[maybe_unused]] const ssize_t k
                    = ::send(c.sock, continuar, sizeof continuar - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
            }
            return true;
        }
        ::epoll_ctl(ep, EPOLL_CTL_DEL, c.sock, nullptr);
        const int flags = ::fcntl(c.sock, F_GETFL);
        ::fcntl(c.sock, F_SETFL, flags & ~O_NONBLOCK);
        c.tamanhoPedido = size_t(n);
        ConexaoPtr pronta = p->c;
        porSock.erase(c.sock);
        abertas.erase(p);
        ++emEspera;
        entregar(std::move(pronta));
        return false;
    }

    void Ler(int sock)
    {
        const auto it = porSock.find(sock);
        if (it != porSock.end())
            Ler(it->second);
    }

    // Reads what has arrived; true while the connection stays with the reader.
    bool Ler(Posicao p)
    {
        const int sock = p->c->sock;
        char b[16 * 1024];
        bool fimDoFluxo = false;
        for (;;) {
            const ssize_t n = ::recv(sock, b, sizeof b, 0);
            if (n > 0) {
                if (!p->comecou) {
                    p->comecou = true;
                    p->prazo = Relogio::now() + lim.prazoPedido;
                }
                p->c->dados.append(b, size_t(n));
                if (p->c->dados.size() > lim.limiteBytes + LimiteCabecalhos + sizeof b)
                    break; // enough to judge it
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                break;
            fimDoFluxo = true;
            break;
        }
        return Verificar(p, fimDoFluxo);
    }

    void Varrer()
    {
        const auto agora = Relogio::now();
        for (auto p = abertas.begin(); p != abertas.end();) {
            const auto seguinte = std::next(p);
            if (p->prazo <= agora)
                Fechar(p);
            p = seguinte;
        }
    }

    void Laco()
    {
        epoll_event eventos[256];
        auto varrer = Relogio::now();
        for (;;) {
            const int n = ::epoll_wait(ep, eventos, 256, 100);
            for (int i = 0; i < n; ++i) {
                if (eventos[i].data.fd != ev) {
                    Ler(eventos[i].data.fd);
                    continue;
                }
                uint64_t x;
                [[maybe_unused]] const ssize_t k = ::read(ev, &x, sizeof x);
                std::vector<ConexaoPtr> novas;
                {
                    std::lock_guard<std::mutex> g(m);
                    novas.swap(chegadas);
                }
                if (Parado()) {
                    for (const ConexaoPtr& c : novas)
                        ::close(c->sock);
                    return;
                }
                for (ConexaoPtr& c : novas)
                    Admitir(std::move(c));
            }
            if (Relogio::now() >= varrer) {
                Varrer();
                varrer = Relogio::now() + std::chrono::milliseconds(100);
            }
        }
    }
};

clsLeitorPedidos::clsLeitorPedidos(Limites limites, std::function<void(ConexaoPtr)> entregar)
    : e(std::make_unique<Estado>())
{
    e->lim = limites;
    e->entregar = std::move(entregar);
}

clsLeitorPedidos::~clsLeitorPedidos() { Parar(); }

bool clsLeitorPedidos::Iniciar()
{
    e->ep = ::epoll_create1(EPOLL_CLOEXEC);
    e->ev = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    epoll_event aviso{};
    aviso.events = EPOLLIN;
    aviso.data.fd = e->ev;
    if (e->ep < 0 || e->ev < 0 || ::epoll_ctl(e->ep, EPOLL_CTL_ADD, e->ev, &aviso) != 0)
        return false;
    e->linha = std::thread([this] { e->Laco(); });
    return true;
}

void clsLeitorPedidos::Parar()
{
    {
        std::lock_guard<std::mutex> g(e->m);
        if (e->parado)
            return;
        e->parado = true;
    }
    if (e->linha.joinable()) {
        e->Avisar();
        e->linha.join();
    }
    while (!e->abertas.empty())
        e->Fechar(e->abertas.begin());
    for (const ConexaoPtr& c : e->chegadas)
        ::close(c->sock);
    e->chegadas.clear();
    if (e->ep >= 0)
        ::close(e->ep);
    if (e->ev >= 0)
        ::close(e->ev);
    e->ep = e->ev = -1;
}

void clsLeitorPedidos::Receber(ConexaoPtr c)
{
    {
        std::lock_guard<std::mutex> g(e->m);
        if (!e->parado) {
            e->chegadas.push_back(std::move(c));
            c = nullptr;
        }
    }
    if (c)
        ::close(c->sock);
    else
        e->Avisar();
}

void clsLeitorPedidos::ContarEmEspera(int delta) { e->emEspera += delta; }

} // namespace hostleitor
