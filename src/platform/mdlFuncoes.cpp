#include "mdlFuncoes.h"

#include <climits>

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QVariantList>

#include <cmath>

namespace funcoes {

namespace {
bool EhDigito(QChar c) { return c >= u'0' && c <= u'9'; }

// Length of the leading number of `t` from `i`: sign, digits, decimals, exponent.
qsizetype FimDoNumero(const QString& t, qsizetype i, bool& temDigito)
{
    const qsizetype n = t.size();
    temDigito = false;
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    while (i < n && EhDigito(t[i])) {
        ++i;
        temDigito = true;
    }
    if (i < n && t[i] == u'.') {
        ++i;
        while (i < n && EhDigito(t[i])) {
            ++i;
            temDigito = true;
        }
    }
    if (temDigito && i < n && (t[i] == u'e' || t[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (t[j] == u'+' || t[j] == u'-'))
            ++j;
        if (j < n && EhDigito(t[j])) {
            while (j < n && EhDigito(t[j]))
                ++j;
            i = j;
        }
    }
    return i;
}
} // namespace

double LerNumero(const QString& texto)
{
    qsizetype inicio = 0;
    while (inicio < texto.size() && texto[inicio].isSpace())
        ++inicio;
    bool temDigito = false;
    const qsizetype fim = FimDoNumero(texto, inicio, temDigito);
    if (!temDigito)
        return 0;
    QString parte = texto.mid(inicio, fim - inicio);
    if (parte.endsWith(u'.'))
        parte.chop(1);
    const double v = QLocale::c().toDouble(parte);
    return std::isfinite(v) ? v : 0;
}

int LerInteiro(const QString& texto)
{
    const double v = LerNumero(texto);
    return v >= INT_MAX ? INT_MAX : v <= INT_MIN ? INT_MIN : qRound(v);
}

bool EhNumerico(const QString& texto)
{
    const QString t = texto.trimmed();
    bool temDigito = false;
    return !t.isEmpty() && FimDoNumero(t, 0, temDigito) == t.size() && temDigito;
}

QString CompletarZeros(const QVariant& valor, qint16 n)
{
    if (n <= 0)
        return QString();
    const QString texto = valor.isNull() ? QStringLiteral("0") : valor.toString();
    return (QString(n, u'0') + texto).right(n);
}

QVariant NuloZero(const QVariant& valor) { return valor.isNull() ? QVariant(0) : valor; }

QString NuloTexto(const QVariant& valor, const QString& substituto)
{
    return valor.isNull() ? substituto : valor.toString();
}

QString NomeObjeto(const QString& nome)
{
    for (QChar c : {QChar(u' '), QChar(u'_'), QChar(u'.')}) {
        if (nome.contains(c))
            return u'[' + nome + u']';
    }
    return nome;
}

void IncluirNoArray(QVariant& lista, const QVariant& valor, int& indice, bool blnRepetir)
{
    if (lista.typeId() != QMetaType::QVariantList) {
        lista = QVariantList{valor};
        indice = 1;
        return;
    }
    QVariantList itens = lista.toList();
    bool achou = false;
    // A list is never equal to an element, and a null matches nothing.
    if (valor.typeId() != QMetaType::QVariantList && !valor.isNull()) {
        for (qsizetype i = 0; i < itens.size(); ++i) {
            if (!itens[i].isNull() && itens[i] == valor) {
                indice = int(i + 1);
                achou = true;
                break;
            }
        }
    }
    if (!achou || blnRepetir) {
        itens.append(valor);
        indice = int(itens.size());
        lista = itens;
    }
}

QString AlinharTexto(const QVariant& valor, int largura, int alinhamento)
{
    if (largura <= 0)
        return QString();
    const QString texto = NuloTexto(valor).left(largura);
    const int falta = largura - int(texto.size());
    switch (alinhamento) {
    case 1: return QString(falta, u' ') + texto;
    case 2: {
        // Halves go to the even number: 1.5 gives 2, 2.5 gives 2.
        const int frente = int(std::nearbyint(falta / 2.0));
        return (QString(frente, u' ') + texto).leftJustified(largura, u' ');
    }
    default: return texto.leftJustified(largura, u' ');
    }
}

bool CriarPasta(const QString& pasta)
{
    if (pasta.isEmpty())
        return false;
    const QString caminho = QDir::cleanPath(QFileInfo(pasta).absoluteFilePath());
    const QFileInfo info(caminho);
    if (info.isDir())
        return true;
    if (info.exists())
        return false; // a file of that name is in the way
    const QString pai = info.absolutePath();
    if (pai == caminho || !CriarPasta(pai))
        return false;
    QDir().mkdir(caminho);
    return QFileInfo(caminho).isDir();
}

} // namespace funcoes
