#include "mdlCitacao.h"

#include "clsConnStr.h"
#include "clsMotor.h"
#include "clsObjetoBanco.h"

#include <QStringList>
#include <functional>

namespace citacao {

TipoMotor MotorDaConexao(const QString& connectionString)
{
    clsConnStr cs;
    if (!cs.Analisar(connectionString))
        return TipoMotor::Nenhum;
    QString provider;
    return MotorDoProvider(cs, provider);
}

QString Citar(TipoMotor motor, const QString& nome, const QString& aspasDriver)
{
    if (motor == TipoMotor::SqlServer || motor == TipoMotor::Nenhum)
        return u'[' + QString(nome).replace(u']', QStringLiteral("]]")) + u']';
    const QString aspas = aspasDriver.trimmed();
    if (aspas.isEmpty())
        return nome;
    return aspas + QString(nome).replace(aspas, aspas + aspas) + aspas;
}

QString Literal(TipoMotor motor, const QString& valor)
{
    const QString corpo = u'\'' + QString(valor).replace(u'\'', QStringLiteral("''")) + u'\'';
    return motor == TipoMotor::SqlServer ? u'N' + corpo : corpo;
}

QString CitarNaConexao(const QString& connectionString, const QString& nome)
{
    return Citar(MotorDaConexao(connectionString), nome);
}

namespace {

// Words of SQL that read as keywords where a name is expected, in the engines the program speaks.
bool PalavraReservada(const QString& nome)
{
    static const QStringList palavras = {
        QStringLiteral("add"),        QStringLiteral("all"),        QStringLiteral("alter"),
        QStringLiteral("and"),        QStringLiteral("any"),        QStringLiteral("as"),
        QStringLiteral("asc"),        QStringLiteral("between"),    QStringLiteral("by"),
        QStringLiteral("case"),       QStringLiteral("check"),      QStringLiteral("column"),
        QStringLiteral("constraint"), QStringLiteral("create"),     QStringLiteral("cross"),
        QStringLiteral("current"),    QStringLiteral("default"),    QStringLiteral("delete"),
        QStringLiteral("desc"),       QStringLiteral("distinct"),   QStringLiteral("drop"),
        QStringLiteral("else"),       QStringLiteral("end"),        QStringLiteral("exists"),
        QStringLiteral("foreign"),    QStringLiteral("from"),       QStringLiteral("full"),
        QStringLiteral("grant"),      QStringLiteral("group"),      QStringLiteral("having"),
        QStringLiteral("in"),         QStringLiteral("index"),      QStringLiteral("inner"),
        QStringLiteral("insert"),     QStringLiteral("into"),       QStringLiteral("is"),
        QStringLiteral("join"),       QStringLiteral("key"),        QStringLiteral("left"),
        QStringLiteral("like"),       QStringLiteral("limit"),      QStringLiteral("natural"),
        QStringLiteral("not"),        QStringLiteral("null"),       QStringLiteral("on"),
        QStringLiteral("or"),         QStringLiteral("order"),      QStringLiteral("outer"),
        QStringLiteral("primary"),    QStringLiteral("references"), QStringLiteral("right"),
        QStringLiteral("select"),     QStringLiteral("set"),        QStringLiteral("table"),
        QStringLiteral("then"),       QStringLiteral("to"),         QStringLiteral("transaction"),
        QStringLiteral("trigger"),    QStringLiteral("union"),      QStringLiteral("unique"),
        QStringLiteral("update"),     QStringLiteral("user"),       QStringLiteral("using"),
        QStringLiteral("values"),     QStringLiteral("view"),       QStringLiteral("when"),
        QStringLiteral("where"),      QStringLiteral("with"),
    };
    return palavras.contains(nome, Qt::CaseInsensitive);
}

} // namespace

bool PrecisaCitar(TipoMotor motor, const QString& nome)
{
    if (nome.isEmpty() || (nome.front() >= u'0' && nome.front() <= u'9') || PalavraReservada(nome))
        return true;
    for (QChar c : nome) {
        const bool minuscula = c >= u'a' && c <= u'z';
        const bool maiuscula = c >= u'A' && c <= u'Z';
        const bool digito = c >= u'0' && c <= u'9';
        if (maiuscula && motor == TipoMotor::Odbc)
            return true;
        if (!(minuscula || maiuscula || digito || c == u'_'))
            return true;
    }
    return false;
}

QString CitarSeNecessario(TipoMotor motor, const QString& nome)
{
    return PrecisaCitar(motor, nome) ? Citar(motor, nome) : nome;
}

namespace {
QString Partes(const ObjetoBanco& o, const std::function<QString(const QString&)>& citar)
{
    QString r;
    if (!o.catalogo.isEmpty())
        r = citar(o.catalogo) + u'.';
    if (!o.esquema.isEmpty())
        r += citar(o.esquema) + u'.';
    else if (!r.isEmpty())
        r += u'.';
    return r + citar(o.nome);
}
} // namespace

QString NomeLegivel(TipoMotor motor, const ObjetoBanco& objeto)
{
    return Partes(objeto, [motor](const QString& n) { return CitarSeNecessario(motor, n); });
}

QString NomeCitado(TipoMotor motor, const ObjetoBanco& objeto)
{
    return Partes(objeto, [motor](const QString& n) { return Citar(motor, n); });
}

} // namespace citacao
