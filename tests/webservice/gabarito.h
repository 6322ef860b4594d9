#pragma once
// Comparison of generated lines with a golden file kept under tests/webservice/golden, with a
// message that shows where they part.
#include <QFile>
#include <QStringList>

namespace gabarito {

// The lines of a golden file (line ends LF or CR LF, trailing blanks kept).
inline QStringList Ler(const QString& nome)
{
    QFile f(QStringLiteral(QUARRIX_TESTS_DIR "/webservice/golden/") + nome);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<golden file %1 missing>").arg(nome)};
    QStringList linhas = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'));
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    for (QString& l : linhas)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return linhas;
}

// Empty when equal; else a short report: the first differing lines with their numbers (blanks shown
// as '·' so a missing trailing blank is visible) and the line counts.
inline QString Diferencas(const QStringList& obtidas, const QStringList& esperadas)
{
    auto visivel = [](QString s) { return s.replace(QLatin1Char(' '), QChar(0xB7)); };
    QString r;
    int mostradas = 0;
    const int n = qMax(obtidas.size(), esperadas.size());
    for (int i = 0; i < n && mostradas < 5; ++i) {
        const QString o = i < obtidas.size() ? obtidas[i] : QStringLiteral("<none>");
        const QString e = i < esperadas.size() ? esperadas[i] : QStringLiteral("<none>");
        if (o == e)
            continue;
        r += QStringLiteral("\nline %1\n  expected: %2\n  got:      %3").arg(i + 1).arg(visivel(e), visivel(o));
        ++mostradas;
    }
    if (obtidas.size() != esperadas.size())
        r += QStringLiteral("\nlines: expected %1, got %2").arg(esperadas.size()).arg(obtidas.size());
    return r;
}

} // namespace gabarito

// Fails the test with the differences when the lines are not those of the golden file.
#define COMPARAR_GABARITO(obtidas, nome)                                                                               \
    do {                                                                                                               \
        const QString dif_ = gabarito::Diferencas((obtidas), gabarito::Ler(nome));                                     \
        if (!dif_.isEmpty())                                                                                           \
            QFAIL(qPrintable(QStringLiteral("differs from golden %1:").arg(nome) + dif_));                             \
    } while (false)
