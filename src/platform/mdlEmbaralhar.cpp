#include "mdlEmbaralhar.h"

namespace {

// Wraps a shifted code back into 0..255. A single wrap is what stored values were written with;
// past position 293 one wrap is not enough, and the wrap repeats so long texts come back too.
int Envolver(int k)
{
    if (k >= 256)
        return k % 255;
    while (k < 0)
        k += 255;
    return k;
}

// Characters outside the single-byte range have no code there; they travel as "?".
int Codigo(QChar c) { return c.unicode() <= 0xFF ? c.unicode() : u'?'; }

QString Deslocar(const QString& texto, int sentido)
{
    QString r(texto.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const int posicao = int(i) + 1;
        r[i] = QChar(Envolver(Codigo(texto[i]) + sentido * (38 - posicao)));
    }
    return r;
}

// Marks a value scrambled as UTF-8 bytes.
constexpr char16_t MarcaUtf8 = 0x0100;

bool SoAscii(const QString& texto)
{
    for (QChar c : texto)
        if (c.unicode() > 0x7F)
            return false;
    return true;
}

} // namespace

QString Embaralhar(const QString& texto)
{
    if (SoAscii(texto))
        return Deslocar(texto, +1);
    return QChar(MarcaUtf8) + Deslocar(QString::fromLatin1(texto.toUtf8()), +1);
}

QString Desembaralhar(const QString& texto)
{
    if (!texto.startsWith(QChar(MarcaUtf8)))
        return Deslocar(texto, -1);
    return QString::fromUtf8(Deslocar(texto.mid(1), -1).toLatin1());
}
