#include "mdlAnexar.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace admin {

QString NomeBancoDoArquivo(const QString& caminho)
{
    const qsizetype barra = std::max(caminho.lastIndexOf(u'/'), caminho.lastIndexOf(u'\\'));
    const QString nome = caminho.mid(barra + 1);
    const qsizetype ponto = nome.lastIndexOf(u'.');
    return ponto < 0 ? nome : nome.left(ponto);
}

QString TextoMb(double mb)
{
    return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(qint64(std::llround(mb))) + QStringLiteral(" MB");
}

QString TextoPercentual(double livreMb, double tamanhoMb)
{
    const qint64 p = tamanhoMb > 0 ? std::llround(livreMb / tamanhoMb * 100) : 0;
    return u'(' + QString::number(p) + QStringLiteral("%)");
}

int ModoShrink(const QString& opcao)
{
    if (opcao == u"Truncate Only")
        return 2;
    if (opcao == u"Empty File")
        return 3;
    if (opcao == u"No Truncate")
        return 1;
    return 0;
}

int PercentualDesejado(const QString& texto)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^\\s*[-+]?\\d+")).match(texto);
    return m.hasMatch() ? m.captured().trimmed().toInt() : 0;
}

bool PercentualValido(const QString& texto)
{
    const int v = PercentualDesejado(texto);
    return v >= 0 && v < 100;
}

} // namespace admin
