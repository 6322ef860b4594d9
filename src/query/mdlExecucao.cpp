#include "mdlExecucao.h"

#include "connections/clsData.h"
#include "platform/clsPrompt.h"
#include "platform/mdlCitacao.h"

#include <QElapsedTimer>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace execucao {

const QStringList Separadores = {
    QStringLiteral(" GO "),
    QStringLiteral("\rGO "),
    QStringLiteral(" GO\r"),
    QStringLiteral("\rGO\r"),
    QStringLiteral("\nGO "),
    QStringLiteral(" GO\r"),
    QStringLiteral("\nGO\r"),
};

namespace {

// Trims blanks only (line breaks stay), as the statements of a script are cut.
QString TrimBrancos(const QString& s)
{
    qsizetype i = 0, f = s.size();
    while (i < f && s.at(i) == u' ')
        ++i;
    while (f > i && s.at(f - 1) == u' ')
        --f;
    return s.mid(i, f - i);
}

bool Espaco(QChar c) { return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t'; }

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

// The first `sep` at or after `de` whose word "GO" is not inside a literal, quoted name or comment.
qsizetype AcharSeparador(const QString& texto, const QList<bool>& citado, const QString& sep, qsizetype de = 0)
{
    for (qsizetype p = texto.indexOf(sep, de); p >= 0; p = texto.indexOf(sep, p + 1))
        if (!citado.at(p + 1))
            return p;
    return -1;
}

// Removes every occurrence of `sep`. Where the characters on both sides are not white space, a
// blank stays between them, so "SELECT 1 GO SELECT 2" does not become "SELECT 1SELECT 2".
void RemoverSeparador(QString& texto, const QString& sep)
{
    QString saida;
    qsizetype de = 0;
    const QList<bool> citado = Citados(texto);
    for (qsizetype p = AcharSeparador(texto, citado, sep); p >= 0; p = AcharSeparador(texto, citado, sep, de)) {
        saida += QStringView(texto).mid(de, p - de);
        de = p + sep.size();
        const bool antes = !saida.isEmpty() && !Espaco(saida.back());
        const bool depois = de < texto.size() && !Espaco(texto.at(de));
        if (antes && depois)
            saida += u' ';
    }
    saida += QStringView(texto).mid(de);
    texto = saida;
}

// Earliest separator in `resto`: its position and length (ties go to the earlier one in the table).
qsizetype ProximoSeparador(const QString& resto, qsizetype& tamanho)
{
    qsizetype melhor = -1;
    const QList<bool> citado = Citados(resto);
    for (const QString& sep : Separadores) {
        const qsizetype p = AcharSeparador(resto, citado, sep);
        if (p >= 0 && (melhor < 0 || p < melhor)) {
            melhor = p;
            tamanho = sep.size();
        }
    }
    return melhor;
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
    bool achou = false;
    const QList<bool> citado = Citados(texto);
    for (const QString& sep : Separadores)
        achou = achou || AcharSeparador(texto, citado, sep) >= 0;
    if (!achou)
        return false;
    if (!passoPasso) {
        for (const QString& sep : Separadores)
            RemoverSeparador(texto, sep);
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
    QString resto = texto;
    while (!TrimBrancos(resto).isEmpty()) {
        qsizetype tamanho = 0;
        const qsizetype p = ProximoSeparador(resto, tamanho);
        QString instrucao;
        if (p >= 0) {
            instrucao = TrimBrancos(resto.left(p));
            // The separator's last character (a blank or CR) stays and goes with the line breaks below.
            resto = resto.mid(p + tamanho - 1);
        } else {
            instrucao = TrimBrancos(resto);
            resto.clear();
        }
        // Two separators in a row leave nothing between them: there is no statement to send.
        if (!TrimBrancos(instrucao).isEmpty())
            lotes << instrucao;
        while (!resto.isEmpty() && (resto.front() == u'\r' || resto.front() == u'\n'))
            resto = TrimBrancos(resto.mid(1));
    }
    return lotes;
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
    QString s = sql;
    s.remove(QStringLiteral("dbo."), Qt::CaseInsensitive);
    return s;
}

bool Interrompida(const clsData& dados) { return dados.Erro().numero == ado::ErrInterrompida; }

namespace {

bool Rodar(clsData& dados, const Executor& executor, const QString& sql, RecordsetPtr& rs, long& afetados)
{
    if (executor)
        return executor(sql, rs, afetados);
    return dados.ExecSql(sql, false, true, rs, afetados);
}

} // namespace

bool ExecutarPassoPasso(clsData& dados,
                        const QStringList& instrucoes,
                        RecordsetPtr& rs,
                        long& afetados,
                        const Executor& executor)
{
    if (instrucoes.isEmpty())
        return true;
    clsPrompt& prompt = dados.Ambiente().Prompt();
    prompt.ProgressoStart(int(instrucoes.size()), QString());
    bool sucesso = true;
    for (const QString& instrucao : instrucoes) {
        // Esc in the progress window ends the run after the statements already sent.
        if (!prompt.ProgressoMove())
            break;
        if (Rodar(dados, executor, instrucao, rs, afetados))
            continue;
        sucesso = false;
        if (Interrompida(dados))
            break;
        rs.reset();
        const int resposta = prompt.MsgBox(
            instrucao + QStringLiteral("\r\rOcorreram Erros Durante a Execução da Instrução, Deseja Continuar ?"),
            vb::YesNo | vb::Question);
        if (resposta != vb::Yes)
            break;
        sucesso = true;
    }
    prompt.ProgressoClose();
    return sucesso;
}

bool ExecutarLotes(clsData& dados, const QStringList& lotes, RecordsetPtr& rs, long& afetados, const Executor& executor)
{
    for (const QString& lote : lotes) {
        rs.reset();
        if (!Rodar(dados, executor, lote, rs, afetados))
            return false;
    }
    return true;
}

bool Executar(clsData& dados,
              const QString& texto,
              bool passoPasso,
              const Verificador& verificar,
              Resultado& r,
              const Executor& executor)
{
    clsPrompt& prompt = dados.Ambiente().Prompt();
    r = Resultado();
    QString sql = texto;
    if (dados.ConnectionType() == tipoconexao::Access)
        sql = RemoverDbo(sql);
    if (sql.isEmpty())
        return false;
    if (verificar && !verificar(sql))
        return false;

    QElapsedTimer relogio;
    relogio.start();
    QStringList instrucoes;
    const QString inteiro = sql;
    const bool achou = DividirInstrucoes(sql, passoPasso, instrucoes);
    if (achou && passoPasso && !instrucoes.isEmpty())
        r.ok = ExecutarPassoPasso(dados, instrucoes, r.rs, r.afetados, executor);
    else if (achou)
        r.ok = ExecutarLotes(dados, Lotes(inteiro), r.rs, r.afetados, executor);
    else
        r.ok = Rodar(dados, executor, sql, r.rs, r.afetados);
    r.segundos = double(relogio.elapsed()) / 1000.0;

    if (!r.ok && Interrompida(dados)) {
        r.interrompida = true;
        return false;
    }
    if (!r.ok) {
        r.rs.reset();
        prompt.MsgBox(dados.ErrMsg(), vb::Critical);
        return false;
    }
    if (!r.rs) {
        QString msg = QStringLiteral("Instrução executada com sucesso");
        if (r.afetados > 0)
            msg += QStringLiteral("\r\n") + QString::number(r.afetados)
                   + QStringLiteral(" registro(s) afetado(s) pela instrução");
        prompt.MsgBox(msg, vb::Information);
    }
    return true;
}

} // namespace execucao
