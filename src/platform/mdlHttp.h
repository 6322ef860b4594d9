#pragma once
// HTTP and HTTPS requests for the web-service client: one request per call, every wait bounded
// (connecting, each read and write, and the whole answer), the answer's size bounded, redirects
// followed (at most five), and every failure turned into a text instead of an exception.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

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

RespostaHttp Get(const QString& url, const Opcoes& opcoes = {});
RespostaHttp
Post(const QString& url, const QByteArray& corpo, const QByteArray& tipoConteudo, const Opcoes& opcoes = {});

} // namespace http
