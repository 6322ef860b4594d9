#include "mdlInstanciaSql.h"

#include "clsTiposAdo.h"

#include <QDeadlineTimer>
#include <QList>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace instanciasql {

namespace {

struct Soquete {
    int fd = -1;
    ~Soquete()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// A UDP socket connected to the service, so that a refusal (nothing listens) comes back as an error.
bool Conectar(Soquete& s, const QString& host, quint16 porta, QString& motivo)
{
    addrinfo dica{};
    dica.ai_family = AF_UNSPEC;
    dica.ai_socktype = SOCK_DGRAM;
    addrinfo* lista = nullptr;
    const int rc = ::getaddrinfo(host.toUtf8().constData(), QByteArray::number(porta).constData(), &dica, &lista);
    if (rc != 0) {
        motivo = QString::fromLocal8Bit(::gai_strerror(rc));
        return false;
    }
    for (addrinfo* a = lista; a; a = a->ai_next) {
        s.fd = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s.fd >= 0 && ::connect(s.fd, a->ai_addr, a->ai_addrlen) == 0)
            break;
        if (s.fd >= 0)
            ::close(s.fd);
        s.fd = -1;
    }
    ::freeaddrinfo(lista);
    if (s.fd < 0)
        motivo = QString::fromLocal8Bit(std::strerror(errno));
    return s.fd >= 0;
}

} // namespace

quint16 PortaNaResposta(const QByteArray& resposta, const QString& instancia)
{
    // 0x05, a 16-bit length, then "Key;Value;" pairs, one run per instance ended by ";;".
    if (resposta.size() < 3 || quint8(resposta[0]) != 0x05)
        return 0;
    const QString texto = QString::fromLocal8Bit(resposta.mid(3));
    for (const QString& bloco : texto.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        const QStringList partes = bloco.split(u';');
        QString nome;
        quint16 porta = 0;
        for (qsizetype i = 0; i + 1 < partes.size(); i += 2) {
            if (partes[i].compare(u"InstanceName", Qt::CaseInsensitive) == 0)
                nome = partes[i + 1];
            else if (partes[i].compare(u"tcp", Qt::CaseInsensitive) == 0)
                porta = partes[i + 1].toUShort();
        }
        if (nome.compare(instancia, Qt::CaseInsensitive) == 0)
            return porta;
    }
    return 0;
}

quint16 PortaDaInstancia(const QString& host, const QString& instancia, int segundos, ErroDados& erro, quint16 portaNav)
{
    auto falhar = [&](long numero, const QString& texto) {
        erro = {numero, texto, OrigemErro::Programa};
        return quint16(0);
    };
    const QString qual = host + u'\\' + instancia;
    Soquete s;
    QString motivo;
    if (!Conectar(s, host, portaNav, motivo))
        return falhar(ado::ErrFalhaProvedor,
                      QStringLiteral("Não foi possível localizar a instância '%1': %2").arg(qual, motivo));
    const QByteArray pedido = QByteArray(1, '\x04') + instancia.toLocal8Bit();
    const QDeadlineTimer prazo(std::chrono::seconds(segundos > 0 ? segundos : 15));
    // The request travels again each second, in case one was lost on the way.
    while (!prazo.hasExpired()) {
        ssize_t n = ::send(s.fd, pedido.constData(), size_t(pedido.size()), 0);
        QByteArray resposta;
        if (n >= 0) {
            pollfd p{s.fd, POLLIN, 0};
            if (::poll(&p, 1, int(qMin<qint64>(prazo.remainingTime(), 1000))) <= 0)
                continue;
            resposta.resize(65535);
            n = ::recv(s.fd, resposta.data(), size_t(resposta.size()), 0);
        }
        if (n < 0 && errno == ECONNREFUSED)
            return falhar(ado::ErrFalhaProvedor,
                          QStringLiteral("Não foi possível localizar a instância '%1': o serviço SQL Server Browser "
                                         "não responde nesse servidor.")
                              .arg(qual));
        if (n <= 0)
            continue;
        resposta.truncate(n);
        if (const quint16 porta = PortaNaResposta(resposta, instancia))
            return porta;
        return falhar(ado::ErrFalhaProvedor,
                      QStringLiteral("A instância '%1' não existe ou não aceita conexões TCP.").arg(qual));
    }
    return falhar(ado::ErrTempoEsgotado,
                  QStringLiteral("Não foi possível localizar a instância '%1': tempo esgotado após %2 segundos.")
                      .arg(qual)
                      .arg(segundos > 0 ? segundos : 15));
}

} // namespace instanciasql
