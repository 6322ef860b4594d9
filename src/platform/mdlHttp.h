#pragma once
// HTTP and HTTPS requests for the web-service client: one request per call, every wait bounded
// (connecting, each read and write, and the whole answer), the answer's size bounded, redirects
// followed (at most five), and every failure turned into a text instead of an exception.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

namespace http {

struct Opcoes {
    int timeoutSegundos = 30; // connecting, and each wait for data
    int limiteTotalSegundos = 0; // the whole exchange, redirects included; 0: timeoutSegundos
    qint64 limiteBytes = qint64(1) << 30; // largest answer accepted
    QList<QPair<QByteArray, QByteArray>> cabecalhos;
};

struct RespostaHttp {
    bool ok = false; // an answer arrived (whatever its status)
    int status = 0;
    QByteArray corpo;
    QByteArray tipoConteudo;
    QString erro; // why no answer arrived
};

// How the calling thread waits for an exchange that runs on a worker thread: `pronto` says whether
// it has ended; the wait returns false when the user cancelled it. The windows install one that
// keeps the program painting and offers "Cancelar"; without one the caller simply blocks.
using Espera = std::function<bool(const std::function<bool()>& pronto)>;
void DefinirEspera(Espera espera);

RespostaHttp Get(const QString& url, const Opcoes& opcoes = {});
RespostaHttp
Post(const QString& url, const QByteArray& corpo, const QByteArray& tipoConteudo, const Opcoes& opcoes = {});

} // namespace http
