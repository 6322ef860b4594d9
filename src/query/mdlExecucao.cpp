#include "mdlExecucao.h"

#include "platform/mdlCitacao.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace execucao {

namespace {

// Marks every character inside a string literal ('…', '' for an apostrophe), a quoted name ("…"),
// a bracketed name ([…]) or a comment (-- to the line's end, /* … */): a separator there is text.
QList<bool> Citados(const QString& t)
{
    QList<bool> citado(t.size(), false);
    const qsizetype n = t.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = t.at(i);
        const QChar prox = i + 1 < n ? t.at(i + 1) : QChar();
        qsizetype fim = -1;
        if (c == u'\'' || c == u'"') {
            fim = i + 1;
            // A doubled quote inside stays inside.
            while (fim < n && (t.at(fim) != c || (fim + 1 < n && t.at(fim + 1) == c)))
                fim += t.at(fim) == c ? 2 : 1;
            fim = qMin(n, fim + 1);
        } else if (c == u'[') {
            const qsizetype fecha = t.indexOf(u']', i + 1);
            fim = fecha < 0 ? n : fecha + 1;
        } else if (c == u'-' && prox == u'-') {
            fim = i;
            while (fim < n && t.at(fim) != u'\r' && t.at(fim) != u'\n')
                ++fim;
        } else if (c == u'/' && prox == u'*') {
            const qsizetype fecha = t.indexOf(QStringLiteral("*/"), i + 2);
            fim = fecha < 0 ? n : fecha + 2;
        }
        if (fim < 0) {
            ++i;
            continue;
        }
        for (qsizetype j = i; j < fim; ++j)
            citado[j] = true;
        i = fim;
    }
    return citado;
}

// A separator line: where it starts and where the text after it (its line end included) starts.
struct LinhaGo {
    qsizetype inicio, fim;
};

bool Branco(QChar c) { return c == u' ' || c == u'\t'; }

QList<LinhaGo> LinhasGo(const QString& t)
{
    QList<LinhaGo> linhas;
    const QList<bool> citado = Citados(t);
    const qsizetype n = t.size();
    for (qsizetype inicio = 0; inicio < n;) {
        qsizetype fimTexto = inicio;
        while (fimTexto < n && t.at(fimTexto) != u'\r' && t.at(fimTexto) != u'\n')
            ++fimTexto;
        qsizetype proxima = fimTexto;
        if (proxima < n)
            proxima += (t.at(proxima) == u'\r' && proxima + 1 < n && t.at(proxima + 1) == u'\n') ? 2 : 1;
        qsizetype i = inicio, f = fimTexto;
        while (i < f && Branco(t.at(i)))
            ++i;
        while (f > i && Branco(t.at(f - 1)))
            --f;
        if (f - i == 2 && QStringView(t).mid(i, 2).compare(u"GO", Qt::CaseInsensitive) == 0 && !citado.at(i))
            linhas.append({inicio, proxima});
        inicio = proxima;
    }
    return linhas;
}

QString NumeroComUnidade(double valor, const QString& unidade)
{
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    QString texto = local.toString(valor, 'f', QLocale::FloatingPointShortest) + u' ' + unidade;
    if (valor > 1 || valor == 0)
        texto += u's';
    return texto;
}

} // namespace

bool DividirInstrucoes(QString& texto, bool passoPasso, QStringList& instrucoes)
{
    const QList<LinhaGo> linhas = LinhasGo(texto);
    if (linhas.isEmpty())
        return false;
    if (!passoPasso) {
        for (qsizetype k = linhas.size() - 1; k >= 0; --k)
            texto.remove(linhas[k].inicio, linhas[k].fim - linhas[k].inicio);
        return true;
    }
    instrucoes.clear();
    // A statement repeated in the script is collected once.
    for (const QString& instrucao : Lotes(texto))
        if (!instrucoes.contains(instrucao))
            instrucoes << instrucao;
    return true;
}

QStringList Lotes(const QString& texto)
{
    QStringList lotes;
    qsizetype de = 0;
    auto guardar = [&](qsizetype ate) {
        const QString lote = texto.mid(de, ate - de).trimmed();
        if (!lote.isEmpty())
            lotes << lote;
    };
    for (const LinhaGo& l : LinhasGo(texto)) {
        guardar(l.inicio);
        de = l.fim;
    }
    guardar(texto.size());
    return lotes;
}

QString MensagemSucesso(long afetados)
{
    QString msg = QStringLiteral("Instrução executada com sucesso");
    if (afetados > 0)
        msg += QStringLiteral("\r\n") + QString::number(afetados)
               + QStringLiteral(" registro(s) afetado(s) pela instrução");
    return msg;
}

QString MensagemFalhaLote(const QString& errMsg, int lote, int total, const QList<long>& afetadosAnteriores)
{
    if (total <= 1)
        return errMsg;
    QString msg
        = errMsg + QStringLiteral("\r\n\r\nO lote %1 de %2 falhou; a execução parou nele.").arg(lote + 1).arg(total);
    if (lote == 0)
        return msg + QStringLiteral(" Nenhum lote foi executado antes dele.");
    msg += lote == 1 ? QStringLiteral(" O lote anterior foi executado:")
                     : QStringLiteral(" Os %1 lotes anteriores foram executados:").arg(lote);
    for (int i = 0; i < lote && i < afetadosAnteriores.size(); ++i)
        msg += QStringLiteral("\r\nLote %1: %2 registro(s) afetado(s)").arg(i + 1).arg(afetadosAnteriores.at(i));
    return msg;
}

double ArredondarPar(double valor, int casas)
{
    const double escala = std::pow(10.0, casas);
    const double v = valor * escala;
    const double base = std::floor(v);
    const double fracao = v - base;
    double inteiro;
    // Noise of the binary representation (1.005 * 100 = 100.49999…) counts as an exact half.
    if (std::fabs(fracao - 0.5) < 1e-9)
        inteiro = std::fmod(base, 2.0) == 0 ? base : base + 1;
    else
        inteiro = std::round(v);
    return inteiro / escala;
}

QString FormatarTempo(double segundos)
{
    if (segundos < 0)
        segundos = 0;
    if (segundos < 60)
        return NumeroComUnidade(ArredondarPar(segundos, 0), QStringLiteral("Segundo"));
    if (segundos < 3600)
        return NumeroComUnidade(ArredondarPar(segundos / 60, 2), QStringLiteral("Minuto"));
    return NumeroComUnidade(ArredondarPar(segundos / 3600, 2), QStringLiteral("Hora"));
}

QString NomeTabelaSelect(const QString& connectionString, const QString& tabela)
{
    return citacao::CitarNaConexao(connectionString, tabela);
}

QString RemoverDbo(const QString& sql)
{
    // Only the owner prefix goes: a "dbo." inside a literal, a quoted name or a comment is the
    // user's text, and one ending a longer word ("turbo.x", "meu_dbo.y") is not the owner.
    const QString dono = QStringLiteral("dbo.");
    const QList<bool> citado = Citados(sql);
    const auto palavra
        = [](QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#' || c == u'@'; };
    QString s;
    s.reserve(sql.size());
    for (qsizetype i = 0; i < sql.size();) {
        if (!citado[i] && QStringView(sql).mid(i, dono.size()).compare(dono, Qt::CaseInsensitive) == 0
            && (i == 0 || !palavra(sql.at(i - 1)))) {
            i += dono.size();
            continue;
        }
        s += sql.at(i++);
    }
    return s;
}

} // namespace execucao
