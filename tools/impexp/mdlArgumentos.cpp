#include "mdlArgumentos.h"

#include "platform/clsConnStr.h"
#include "platform/clsMotor.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace impexp {

Ponta InterpretarPonta(const QString& valor)
{
    Ponta p;
    const QString v = valor.trimmed();
    if (v.isEmpty())
        return p;
    clsConnStr cs;
    QString provider;
    // A connection string, even one that does not parse (its error then comes from opening it, and
    // never shows it whole, password and all).
    if ((v.contains(u'=') && cs.Analisar(v) && MotorDoProvider(cs, provider) != TipoMotor::Nenhum)
        || (v.contains(u'=') && v.contains(u';'))) {
        p.tipo = Ponta::Tipo::Conexao;
        p.connStr = v;
        return p;
    }
    p.caminho = v;
    const QString sufixo = QFileInfo(v).suffix().toLower();
    // A database file is reached through its connection string.
    if (sufixo == u"db" || sufixo == u"sqlite" || sufixo == u"sqlite3" || sufixo == u"mdb" || sufixo == u"accdb") {
        p.tipo = Ponta::Tipo::Conexao;
        p.connStr = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + CitarValorOleDb(v);
        return p;
    }
    if (sufixo == u"xlsx")
        p.tipo = Ponta::Tipo::Planilha;
    else if (QFileInfo(v).isDir())
        p.tipo = Ponta::Tipo::Pasta;
    else
        p.tipo = Ponta::Tipo::Texto;
    if (sufixo == u"tsv")
        p.texto.separador = u'\t';
    return p;
}

namespace {
// Where the first of `marcas` starts in `texto` outside a quoted value ("…", '…' or {…}), or the
// text's size.
qsizetype ForaDeAspas(const QString& texto, const QStringList& marcas)
{
    QChar fecha;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (!fecha.isNull()) {
            if (c == fecha && i + 1 < texto.size() && texto.at(i + 1) == fecha && fecha != u'}')
                ++i;
            else if (c == fecha)
                fecha = QChar();
            continue;
        }
        // A quote opens a value only right after "=".
        if ((c == u'"' || c == u'\'' || c == u'{') && i > 0 && texto.at(i - 1) == u'=') {
            fecha = c == u'{' ? QChar(u'}') : c;
            continue;
        }
        for (const QString& m : marcas)
            if (texto.mid(i, m.size()).compare(m, Qt::CaseInsensitive) == 0)
                return i;
    }
    return texto.size();
}
} // namespace

Argumentos LerArgumento(const QString& texto)
{
    Argumentos a;
    QString resto = texto;
    const auto partir = [&](const QString& chave, QString& valor, const QStringList& seguintes) {
        if (!resto.startsWith(chave, Qt::CaseInsensitive))
            return;
        resto = resto.mid(chave.size());
        const qsizetype fim = seguintes.isEmpty() ? resto.size() : ForaDeAspas(resto, seguintes);
        valor = resto.left(fim);
        resto = resto.mid(fim < resto.size() ? fim + 1 : fim);
    };
    partir(QStringLiteral("Orig="), a.origem, {QStringLiteral("&Dest="), QStringLiteral("&Tab=")});
    partir(QStringLiteral("Dest="), a.destino, {QStringLiteral("&Tab=")});
    partir(QStringLiteral("Tab="), a.tabela, {});
    return a;
}

QList<QPair<QString, QString>> LerChaves(const QString& texto)
{
    QList<QPair<QString, QString>> r;
    for (const QString& l : texto.split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts)) {
        const qsizetype igual = l.indexOf(u'=');
        if (igual > 0)
            r.append({l.left(igual).trimmed().toLower(), l.mid(igual + 1)});
    }
    return r;
}

} // namespace impexp
