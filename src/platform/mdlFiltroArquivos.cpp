#include "mdlFiltroArquivos.h"

#include <QRegularExpression>

namespace filtroarquivos {

namespace {

QString EntradaQt(const QString& descricao, const QString& padroes)
{
    QStringList lista = padroes.split(u';', Qt::SkipEmptyParts);
    for (QString& p : lista)
        p = p.trimmed();
    const QString juntos = lista.join(u' ');
    // "Arquivos de SQL (*.sql)" already names its patterns: Qt reads the last parentheses.
    static const QRegularExpression comPadroes(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch m = comPadroes.match(descricao);
    if (m.hasMatch() && m.captured(1).simplified().replace(u';', u' ') == juntos)
        return descricao.trimmed();
    if (descricao.trimmed().isEmpty())
        return juntos;
    return descricao.trimmed() + QStringLiteral(" (") + juntos + u')';
}

} // namespace

QStringList Entradas(const QString& filtro)
{
    if (!filtro.contains(u'|'))
        return filtro.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    const QStringList partes = filtro.split(u'|');
    QStringList entradas;
    for (int i = 0; i + 1 < partes.size(); i += 2) {
        if (partes.at(i).isEmpty() && partes.at(i + 1).isEmpty())
            continue;
        entradas.append(EntradaQt(partes.at(i), partes.at(i + 1)));
    }
    return entradas;
}

QString FiltroQt(const QString& filtro) { return Entradas(filtro).join(QStringLiteral(";;")); }

QString Entrada(const QString& filtro, int indice)
{
    const QStringList entradas = Entradas(filtro);
    if (entradas.isEmpty())
        return {};
    return indice >= 0 && indice < entradas.size() ? entradas.at(indice) : entradas.first();
}

} // namespace filtroarquivos
