#pragma once
// A TCP port on 127.0.0.1 for connection tests: one that accepts connections and never answers
// (escutar), or one where nobody listens.
#include <QtGlobal>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

struct PortaLocal {
    int fd = -1;
    quint16 numero = 0;
    explicit PortaLocal(bool escutar)
    {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t n = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
        numero = ntohs(a.sin_port);
        if (escutar)
            ::listen(fd, 4);
        else
            Fechar();
    }
    PortaLocal(const PortaLocal&) = delete;
    PortaLocal& operator=(const PortaLocal&) = delete;
    void Fechar()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    ~PortaLocal() { Fechar(); }
};
