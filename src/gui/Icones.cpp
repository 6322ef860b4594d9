#include "Icones.h"

#include <QFile>
#include <QHash>

static void CarregarRecursos() { Q_INIT_RESOURCE(icones); }

QIcon IconeNo(int imagem)
{
    static QHash<int, QIcon> cache;
    static const bool carregado = (CarregarRecursos(), true);
    Q_UNUSED(carregado);
    auto i = cache.constFind(imagem);
    if (i != cache.constEnd())
        return *i;
    const QString caminho = QStringLiteral(":/icones/no%1.svg").arg(imagem, 2, 10, QChar(u'0'));
    QIcon icone = QFile::exists(caminho) ? QIcon(caminho) : QIcon();
    cache.insert(imagem, icone);
    return icone;
}
