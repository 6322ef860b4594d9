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
    if (v.contains(u'=') && cs.Analisar(v) && MotorDoProvider(cs, provider) != TipoMotor::Nenhum) {
        p.tipo = Ponta::Tipo::Conexao;
        p.connStr = v;
        return p;
    }
    p.caminho = v;
    const QString sufixo = QFileInfo(v).suffix().toLower();
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

Argumentos LerArgumento(const QString& texto)
{
    Argumentos a;
    QString resto = texto;
    const auto partir = [&](const QString& chave, QString& valor, const QStringList& seguintes) {
        if (!resto.startsWith(chave, Qt::CaseInsensitive))
            return;
        resto = resto.mid(chave.size());
        qsizetype fim = resto.size();
        for (const QString& s : seguintes) {
            const qsizetype i = resto.indexOf(s, 0, Qt::CaseInsensitive);
            if (i >= 0 && i < fim)
                fim = i;
        }
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
