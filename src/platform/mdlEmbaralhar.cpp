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

// Text the old form holds: every character within U+0001..U+00FF, and the shifted codes come back
// (a U+00FF shifted past 255 wraps onto the code of U+0000, so such a text needs the new form).
bool CabeNaFormaAntiga(const QString& texto, const QString& embaralhado)
{
    for (QChar c : texto)
        if (c.unicode() == 0 || c.unicode() > 0xFF)
            return false;
    return Deslocar(embaralhado, -1) == texto;
}

} // namespace

QString Embaralhar(const QString& texto)
{
    const QString antigo = Deslocar(texto, +1);
    if (CabeNaFormaAntiga(texto, antigo))
        return antigo;
    return QChar(MarcaUtf8) + Deslocar(QString::fromLatin1(texto.toUtf8()), +1);
}

QString Desembaralhar(const QString& texto)
{
    if (!texto.startsWith(QChar(MarcaUtf8)))
        return Deslocar(texto, -1);
    return QString::fromUtf8(Deslocar(texto.mid(1), -1).toLatin1());
}
