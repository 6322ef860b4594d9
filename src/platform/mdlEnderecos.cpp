#include "mdlEnderecos.h"

#include <QUrl>
#include <QUrlQuery>

namespace enderecos {

QString PaginaInicial() { return QStringLiteral("https://www.brisquell.com.br/quarrix"); }
QString PaginaDownloads() { return QStringLiteral("https://www.brisquell.com.br/quarrix/downloads"); }
QString PaginaForum() { return QStringLiteral("https://www.brisquell.com.br/forum"); }

QString PaginaAnuncios(const QString& versao)
{
    QUrl url(QStringLiteral("https://www.brisquell.com.br/quarrix/novidades"));
    QUrlQuery consulta;
    consulta.addQueryItem(QStringLiteral("ver"), versao);
    url.setQuery(consulta);
    return url.toString(QUrl::FullyEncoded);
}

QString EmailContato() { return QStringLiteral("quarrix@brisquell.com.br"); }

QString EnderecoInicial(int StartGuia, const QString& strFixedUrl)
{
    if (!strFixedUrl.isEmpty())
        return strFixedUrl;
    switch (StartGuia) {
    case 5: return PaginaDownloads();
    case 6: return PaginaForum();
    default: return PaginaInicial();
    }
}

} // namespace enderecos
