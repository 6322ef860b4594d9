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

} // namespace

QString Embaralhar(const QString& texto) { return Deslocar(texto, +1); }

QString Desembaralhar(const QString& texto) { return Deslocar(texto, -1); }
