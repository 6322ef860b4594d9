#include "mdlTextoCelula.h"

#include "platform/mdlDecimal.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <limits>

using namespace ado;

namespace textocelula {

namespace {

constexpr int MaiorBinarioEmHexa = 32; // bytes shown as hex; longer values show their size

QLocale LocalSemGrupos()
{
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    return local;
}

QString TextoReal(double d) { return LocalSemGrupos().toString(d, 'g', QLocale::FloatingPointShortest); }

QString FormatoHora(const QTime& t) { return t.msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss"); }

QString TextoData(const QVariant& v, Tempo tipo, bool exibir)
{
    if (v.typeId() == QMetaType::QString)
        return v.toString(); // a value the database keeps in a form that is not a date
    const QDateTime d = v.toDateTime();
    switch (tipo) {
    case Tempo::Data: return d.date().toString(QStringLiteral("dd/MM/yyyy"));
    case Tempo::Hora: return d.time().toString(FormatoHora(d.time()));
    case Tempo::DataHora:
        // The grid leaves out a midnight time; the editor always shows it.
        if (exibir && d.time() == QTime(0, 0))
            return d.date().toString(QStringLiteral("dd/MM/yyyy"));
        return d.toString(QStringLiteral("dd/MM/yyyy ") + FormatoHora(d.time()));
    }
    return {};
}

QString TextoBinario(const QByteArray& b)
{
    if (b.size() > MaiorBinarioEmHexa)
        return QStringLiteral("(binário, %1 bytes)").arg(b.size());
    return QStringLiteral("0x") + QString::fromLatin1(b.toHex().toUpper());
}

QString Texto(const clsRecordset& rs, int linha, int campo, bool exibir)
{
    const QVariant v = rs.ValorCelula(linha, campo);
    if (v.isNull())
        return {};
    const int tipo = rs.InfoCampo(campo).tipo;
    if (TipoDecimal(tipo) && v.typeId() == QMetaType::QString)
        return decimal::ParaTextoLocal(v.toString(), QLocale());
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: return TextoReal(v.toDouble());
    case QMetaType::QByteArray: return TextoBinario(v.toByteArray());
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime: return TextoData(v, TempoDaCelula(rs, linha, campo), exibir);
    default: break;
    }
    if (TipoData(tipo))
        return TextoData(v, TempoDaCelula(rs, linha, campo), exibir);
    return v.toString();
}

bool LerInteiro(const QString& t, QVariant& valor)
{
    bool ok = false;
    const qlonglong i = t.toLongLong(&ok);
    if (ok)
        valor = i;
    return ok;
}

bool LerReal(const QString& t, QVariant& valor)
{
    std::string canonico;
    if (!decimal::DeTextoLocal(t, QLocale(), canonico))
        return false;
    bool ok = false;
    const double d = QByteArray::fromStdString(canonico).toDouble(&ok);
    if (ok)
        valor = d;
    return ok;
}

bool LerDecimal(const QString& t, QVariant& valor)
{
    std::string canonico;
    if (!decimal::DeTextoLocal(t, QLocale(), canonico))
        return false;
    valor = QString::fromStdString(canonico);
    return true;
}

bool LerData(const QString& t, Tempo tipo, QVariant& valor)
{
    static const QStringList horas
        = {QStringLiteral("HH:mm:ss.zzz"), QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm"), QStringLiteral("H:mm")};
    static const QStringList datas
        = {QStringLiteral("dd/MM/yyyy"), QStringLiteral("d/M/yyyy"), QStringLiteral("yyyy-MM-dd")};
    if (tipo == Tempo::Hora) {
        for (const QString& f : horas)
            if (const QTime h = QTime::fromString(t, f); h.isValid()) {
                valor = h;
                return true;
            }
        return false;
    }
    for (const QString& fd : datas) {
        if (const QDate d = QDate::fromString(t, fd); d.isValid()) {
            valor = tipo == Tempo::Data ? QVariant(d) : QVariant(QDateTime(d, QTime(0, 0)));
            return true;
        }
        if (tipo == Tempo::Data)
            continue;
        for (const QString& fh : horas)
            for (const QString& sep : {QStringLiteral(" "), QStringLiteral("'T'")})
                if (const QDateTime d = QDateTime::fromString(t, fd + sep + fh); d.isValid()) {
                    valor = d;
                    return true;
                }
    }
    return false;
}

} // namespace

Tempo TempoDaCelula(const clsRecordset& rs, int linha, int campo)
{
    switch (rs.InfoCampo(campo).tipo) {
    case adDBDate: return Tempo::Data;
    case adDBTime: return Tempo::Hora;
    case adDBTimeStamp: return Tempo::DataHora;
    default: break;
    }
    const clsRecordsetDados& d = rs.Dados();
    Celula c = d.Ler(rs.LinhaDados(linha), campo);
    // A changed value keeps the kind the database held it in.
    if (const std::vector<Celula>* orig = d.Originais(rs.LinhaDados(linha));
        orig && (*orig)[size_t(campo)].marca != Marca::Nulo)
        c = (*orig)[size_t(campo)];
    if (c.marca != Marca::Texto)
        return Tempo::DataHora;
    const QString t = d.Texto(c);
    if (!t.contains(u':'))
        return Tempo::Data;
    if (!t.contains(u'-') && !t.contains(u'/'))
        return Tempo::Hora;
    return Tempo::DataHora;
}

QVariant TextoExibido(const clsRecordset& rs, int linha, int campo)
{
    if (rs.CelulaNula(linha, campo))
        return {};
    return Texto(rs, linha, campo, true);
}

QString TextoEdicao(const clsRecordset& rs, int linha, int campo) { return Texto(rs, linha, campo, false); }

bool LerTexto(const clsRecordset& rs, int linha, int campo, const QString& texto, QVariant& valor)
{
    const int tipo = rs.InfoCampo(campo).tipo;
    const QString t = TipoTexto(tipo) ? texto : texto.trimmed();
    valor = QVariant();
    if (t.isEmpty())
        return true;
    if (tipo == adBoolean) {
        if (t == u"1" || t.compare(u"true", Qt::CaseInsensitive) == 0
            || t.compare(u"verdadeiro", Qt::CaseInsensitive) == 0)
            valor = true;
        else if (t == u"0" || t.compare(u"false", Qt::CaseInsensitive) == 0
                 || t.compare(u"falso", Qt::CaseInsensitive) == 0)
            valor = false;
        return valor.isValid();
    }
    if (TipoInteiro(tipo))
        return LerInteiro(t, valor);
    if (TipoDecimal(tipo))
        return LerDecimal(t, valor);
    if (TipoReal(tipo))
        return LerReal(t, valor);
    if (TipoData(tipo))
        return LerData(t, TempoDaCelula(rs, linha, campo), valor);
    if (TipoBinario(tipo))
        return false;
    valor = texto;
    return true;
}

QString MensagemNaoServe(const QString& texto, const QString& campo)
{
    return QStringLiteral("O valor '%1' não serve para o campo '%2'.").arg(texto, campo);
}

} // namespace textocelula
