#include "mdlHttp.h"

#include <httplib.h>

#include <QElapsedTimer>
#include <QUrl>
#include <atomic>
#include <csignal>
#include <cstring>
#include <memory>
#include <mutex>
#include <sys/mman.h>
#include <thread>
#include <utility>
#include <vector>

namespace http {

CorpoCrescente::CorpoCrescente(qint64 limiteBytes) : limite(qMax<qint64>(limiteBytes, 1))
{
    // Reserved, not committed: only the pages written take memory.
    void* p
        = ::mmap(nullptr, size_t(limite), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED)
        return;
    base = static_cast<char*>(p);
    // Large pages where the system offers them: a large answer then costs a few page faults, not
    // one per 4 KB.
    ::madvise(base, size_t(limite), MADV_HUGEPAGE);
}

CorpoCrescente::~CorpoCrescente()
{
    if (base)
        ::munmap(base, size_t(limite));
}

qint64 CorpoCrescente::Esperar(qint64 n) const
{
    std::unique_lock<std::mutex> g(m);
    aguardado = n;
    mudou.wait(g, [&] { return tamanho >= n || terminado; });
    aguardado = -1;
    return tamanho;
}

bool CorpoCrescente::Acrescentar(const char* dados, qint64 n)
{
    std::lock_guard<std::mutex> g(m);
    if (!base || terminado || n > limite - tamanho)
        return false;
    std::memcpy(base + tamanho, dados, size_t(n));
    tamanho += n;
    if (aguardado >= 0 && tamanho >= aguardado) // the reader is woken only when it can go on
        mudou.notify_all();
    return true;
}

void CorpoCrescente::Terminar()
{
    std::lock_guard<std::mutex> g(m);
    terminado = true;
    mudou.notify_all();
}

namespace {

// The reader of a body as it arrives, on its own thread for one answer; the body is ended (and
// the reader waited for) however the exchange ends.
class LeituraSimultanea {
public:
    explicit LeituraSimultanea(const Opcoes& o)
    {
        if (!o.leitor)
            return;
        corpo = std::make_unique<CorpoCrescente>(o.limiteBytes);
        if (corpo->Valido())
            linha = std::thread([corpo = corpo.get(), leitor = o.leitor] { leitor(*corpo); });
    }
    ~LeituraSimultanea() { Terminar(); }
    LeituraSimultanea(const LeituraSimultanea&) = delete;
    LeituraSimultanea& operator=(const LeituraSimultanea&) = delete;

    bool Ativa() const { return corpo != nullptr; }
    // False when the body does not fit (or no address space could be reserved for it).
    bool Acrescentar(const char* dados, size_t n) { return corpo->Acrescentar(dados, qint64(n)); }
    void Terminar()
    {
        if (corpo)
            corpo->Terminar();
        if (linha.joinable())
            linha.join();
    }

private:
    std::unique_ptr<CorpoCrescente> corpo;
    std::thread linha;
};

QString TextoErro(httplib::Error e, const QString& servidor, int timeout)
{
    switch (e) {
    case httplib::Error::Connection: return QStringLiteral("Não foi possível conectar ao servidor %1.").arg(servidor);
    case httplib::Error::ConnectionTimeout:
        return QStringLiteral("O servidor %1 não respondeu em %2 segundos.").arg(servidor).arg(timeout);
    case httplib::Error::Read:
        return QStringLiteral("A leitura da resposta de %1 falhou ou excedeu o tempo de %2 segundos.")
            .arg(servidor)
            .arg(timeout);
    case httplib::Error::Write: return QStringLiteral("O envio da requisição a %1 falhou.").arg(servidor);
    case httplib::Error::SSLConnection: return QStringLiteral("A conexão segura com %1 falhou.").arg(servidor);
    case httplib::Error::SSLServerVerification:
        return QStringLiteral("O certificado do servidor %1 não pôde ser verificado.").arg(servidor);
    case httplib::Error::SSLLoadingCerts:
        return QStringLiteral("Os certificados do sistema não puderam ser carregados.");
    default:
        return QStringLiteral("A requisição a %1 falhou (%2).")
            .arg(servidor, QString::fromStdString(httplib::to_string(e)));
    }
}

// A server may close the connection before it has read the whole request (one refusing an overlong
// body does): writing on then must fail the call, not end the program with SIGPIPE.
void IgnorarSigpipe()
{
    static std::once_flag feito;
    std::call_once(feito, [] { std::signal(SIGPIPE, SIG_IGN); });
}

// The answer's bytes as they arrive, never copied while they grow: into one buffer when the
// answer gave its length, otherwise into pieces (each twice the last, up to 16 MB) joined once
// at the end.
class CorpoRecebido {
public:
    void Reservar(qint64 tamanho) { pecas.emplace_back().reserve(qsizetype(tamanho)); }
    qint64 Tamanho() const { return total; }
    void Acrescentar(const char* dados, qsizetype n)
    {
        total += n;
        while (n > 0) {
            if (pecas.empty() || pecas.back().size() == pecas.back().capacity()) {
                const qsizetype ultima = pecas.empty() ? 0 : pecas.back().capacity();
                pecas.emplace_back().reserve(qBound<qsizetype>(qsizetype(64) << 10, ultima * 2, qsizetype(16) << 20));
            }
            QByteArray& p = pecas.back();
            const qsizetype k = qMin(n, p.capacity() - p.size());
            p.append(dados, k);
            dados += k;
            n -= k;
        }
    }
    QByteArray Juntar()
    {
        if (pecas.size() == 1)
            return std::exchange(pecas.front(), QByteArray());
        QByteArray r(qsizetype(total), Qt::Uninitialized);
        char* d = r.data();
        for (const QByteArray& p : pecas) {
            std::memcpy(d, p.constData(), size_t(p.size()));
            d += p.size();
        }
        pecas.clear();
        return r;
    }

private:
    std::vector<QByteArray> pecas;
    qint64 total = 0;
};

// A client bound to the exchange's stop for as long as it is used.
struct Vinculo {
    Parada* parada;
    bool ok = true;
    Vinculo(Parada* p, httplib::Client& cli) : parada(p)
    {
        if (parada)
            ok = parada->Vincular([&cli] { cli.stop(); });
    }
    ~Vinculo()
    {
        if (parada)
            parada->Desvincular();
    }
    Vinculo(const Vinculo&) = delete;
    Vinculo& operator=(const Vinculo&) = delete;
};

// One request, redirects not followed: a redirect's target comes back in `destino`. `relogio` and
// `limiteMs` bound the whole exchange, this request included.
RespostaHttp EnviarUmaVez(const char* metodo,
                          const QString& url,
                          const QByteArray* corpo,
                          const QByteArray& tipoConteudo,
                          const Opcoes& o,
                          const QElapsedTimer& relogio,
                          qint64 limiteMs,
                          QString& destino)
{
    RespostaHttp r;
    const QUrl u(url, QUrl::StrictMode);
    const QString esquema = u.scheme().toLower();
    if (!u.isValid() || u.host().isEmpty() || (esquema != u"http" && esquema != u"https")) {
        r.erro = QStringLiteral("O endereço \"%1\" não é um endereço HTTP válido.").arg(url);
        return r;
    }
    const int porta = u.port(esquema == u"https" ? 443 : 80);
    QString host = u.host(QUrl::FullyEncoded);
    if (host.contains(u':'))
        host = u'[' + host + u']';
    const QString servidor = host + u':' + QString::number(porta);
    QString caminho = u.path(QUrl::FullyEncoded);
    if (caminho.isEmpty())
        caminho = QStringLiteral("/");
    if (u.hasQuery())
        caminho += u'?' + u.query(QUrl::FullyEncoded);

    const int timeout = o.timeoutSegundos > 0 ? o.timeoutSegundos : 30;
    // Each wait gets what is left of the whole exchange's time, at most the time-out.
    const qint64 restanteMs = qMax<qint64>(1, qMin<qint64>(qint64(timeout) * 1000, limiteMs - relogio.elapsed()));
    const auto segundos = time_t(restanteMs / 1000);
    const auto micros = time_t((restanteMs % 1000) * 1000);
    try {
        httplib::Client cli((esquema + QStringLiteral("://") + servidor).toStdString());
        const Vinculo vinculo(o.parada.get(), cli);
        if (!vinculo.ok) {
            r.erro = TextoInterrompida();
            return r;
        }
        cli.set_connection_timeout(segundos, micros);
        cli.set_read_timeout(segundos, micros);
        cli.set_write_timeout(segundos, micros);
        cli.set_keep_alive(false);
        cli.set_follow_location(false);
        cli.set_decompress(true);

        httplib::Request req;
        req.method = metodo;
        req.path = caminho.toStdString();
        for (const auto& [nome, valor] : o.cabecalhos)
            req.set_header(nome.toStdString(), valor.toStdString());
        if (corpo) {
            req.body.assign(corpo->constData(), size_t(corpo->size()));
            req.set_header("Content-Type", tipoConteudo.toStdString());
        }
        bool excedeu = false;
        bool atrasou = false;
        CorpoRecebido recebido;
        LeituraSimultanea simultanea(o);
        req.response_handler = [&](const httplib::Response& res) {
            r.status = res.status;
            r.tipoConteudo = QByteArray::fromStdString(res.get_header_value("Content-Type"));
            const uint64_t tamanho = res.get_header_value<uint64_t>("Content-Length");
            if (tamanho > uint64_t(o.limiteBytes)) {
                excedeu = true;
                return false;
            }
            if (tamanho > 0 && !simultanea.Ativa())
                recebido.Reservar(qint64(tamanho));
            return true;
        };
        req.content_receiver = [&](const char* dados, size_t n, uint64_t, uint64_t) {
            if (recebido.Tamanho() + qint64(n) > o.limiteBytes) {
                excedeu = true;
                return false;
            }
            if (relogio.elapsed() > limiteMs) {
                atrasou = true;
                return false;
            }
            if (o.parada && o.parada->Pedida())
                return false;
            if (simultanea.Ativa()) {
                if (!simultanea.Acrescentar(dados, n)) {
                    excedeu = true;
                    return false;
                }
            } else {
                recebido.Acrescentar(dados, qsizetype(n));
            }
            return true;
        };
        const httplib::Result res = cli.send(req);
        simultanea.Terminar();
        if (o.parada && o.parada->Pedida()) {
            r.erro = TextoInterrompida();
            r.corpo.clear();
            return r;
        }
        if (excedeu) {
            r.erro
                = QStringLiteral("A resposta de %1 excede o limite de %2 MB.").arg(servidor).arg(o.limiteBytes >> 20);
            r.corpo.clear();
            return r;
        }
        if (atrasou) {
            r.erro = QStringLiteral("A resposta de %1 não terminou em %2 segundos.").arg(servidor).arg(limiteMs / 1000);
            r.corpo.clear();
            return r;
        }
        if (!res) {
            r.erro = TextoErro(res.error(), servidor, timeout);
            r.corpo.clear();
            return r;
        }
        r.status = res->status;
        r.ok = true;
        r.corpo = recebido.Juntar();
        if (r.status == 301 || r.status == 302 || r.status == 303 || r.status == 307 || r.status == 308) {
            const QString local = QString::fromStdString(res->get_header_value("Location"));
            if (!local.isEmpty())
                destino = u.resolved(QUrl(local)).toString();
        }
        return r;
    } catch (const std::exception& e) {
        r.erro = QStringLiteral("A requisição a %1 falhou: %2").arg(servidor, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        r.erro = QStringLiteral("A requisição a %1 falhou.").arg(servidor);
    }
    r.corpo.clear();
    return r;
}

RespostaHttp
Enviar(const char* metodo, const QString& url, const QByteArray* corpo, const QByteArray& tipoConteudo, const Opcoes& o)
{
    IgnorarSigpipe();
    const int timeout = o.timeoutSegundos > 0 ? o.timeoutSegundos : 30;
    const qint64 limiteMs = qint64(o.limiteTotalSegundos > 0 ? o.limiteTotalSegundos : timeout) * 1000;
    QElapsedTimer relogio;
    relogio.start();
    QString atual = url;
    const char* m = metodo;
    const QByteArray* c = corpo;
    // A redirect is followed to its target (at most five of them); 303 asks for the target with GET.
    for (int saltos = 0;; ++saltos) {
        QString destino;
        RespostaHttp r = EnviarUmaVez(m, atual, c, tipoConteudo, o, relogio, limiteMs, destino);
        if (!r.ok || destino.isEmpty())
            return r;
        if (saltos == 5) {
            RespostaHttp falha;
            falha.erro
                = QStringLiteral("O servidor %1 redirecionou a requisição mais de 5 vezes (redirecionamentos demais).")
                      .arg(QUrl(url).host());
            return falha;
        }
        if (r.status == 303) {
            m = "GET";
            c = nullptr;
        }
        atual = destino;
    }
}

} // namespace

void Parada::Parar()
{
    std::lock_guard trava(m);
    pedida = true;
    if (fecharAtual)
        fecharAtual();
}

bool Parada::Vincular(std::function<void()> fechar)
{
    std::lock_guard trava(m);
    if (pedida)
        return false;
    fecharAtual = std::move(fechar);
    return true;
}

void Parada::Desvincular()
{
    std::lock_guard trava(m);
    fecharAtual = nullptr;
}

QString TextoInterrompida() { return QStringLiteral("A chamada ao WebService foi interrompida."); }

RespostaHttp Get(const QString& url, const Opcoes& opcoes) { return Enviar("GET", url, nullptr, {}, opcoes); }

RespostaHttp Post(const QString& url, const QByteArray& corpo, const QByteArray& tipoConteudo, const Opcoes& opcoes)
{
    return Enviar("POST", url, &corpo, tipoConteudo, opcoes);
}

} // namespace http
