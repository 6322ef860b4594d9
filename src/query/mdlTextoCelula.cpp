#include "mdlTextoCelula.h"

#include "platform/mdlDataHora.h"
#include "platform/mdlDecimal.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

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

// The shortest digits that read back as the same double, in positional notation from 1e-5 up to
// 15 integer digits (an exponent only beyond), with the user's decimal separator.
QString TextoReal(double d)
{
    if (!std::isfinite(d))
        return LocalSemGrupos().toString(d);
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific);
    const std::string_view cientifico(buf, size_t(r.ptr - buf));
    const size_t e = cientifico.find('e');
    const int expoente = std::atoi(std::string(cientifico.substr(e + 1)).c_str());
    const bool negativo = cientifico.front() == '-';
    std::string digitos;
    for (char c : cientifico.substr(0, e))
        if (c >= '0' && c <= '9')
            digitos += c;
    const QString ponto = LocalSemGrupos().decimalPoint();
    QString t;
    if (d == 0 || (expoente >= -5 && expoente < 15)) {
        const int inteiros = expoente + 1;
        std::string a, b;
        if (inteiros <= 0) {
            a = "0";
            b = std::string(size_t(-inteiros), '0') + digitos;
        } else if (size_t(inteiros) >= digitos.size()) {
            a = digitos + std::string(size_t(inteiros) - digitos.size(), '0');
        } else {
            a = digitos.substr(0, size_t(inteiros));
            b = digitos.substr(size_t(inteiros));
        }
        t = QString::fromStdString(a) + (b.empty() ? QString() : ponto + QString::fromStdString(b));
    } else {
        t = QString::fromStdString(digitos.substr(0, 1))
            + (digitos.size() > 1 ? ponto + QString::fromStdString(digitos.substr(1)) : QString()) + QStringLiteral("E")
            + QString::number(expoente);
    }
    return negativo ? LocalSemGrupos().negativeSign() + t : t;
}

datahora::Forma FormaDoTempo(Tempo t)
{
    switch (t) {
    case Tempo::Data: return datahora::Forma::SoData;
    case Tempo::Hora: return datahora::Forma::SoHora;
    case Tempo::DataHora: break;
    }
    return datahora::Forma::DataHora;
}

// A date with every digit the cell holds, to the column's precision; the grid leaves out a
// midnight time, the editor always shows it. A text that is no date shows as it is.
QString TextoData(const clsRecordset& rs, int linha, int campo, bool exibir)
{
    const clsRecordsetDados& dados = rs.Dados();
    const Celula c = dados.Ler(rs.LinhaDados(linha), campo);
    datahora::DataHora d;
    if (!dados.DataHoraDe(c, campo, d))
        return dados.Texto(c);
    if (c.marca == Marca::Data)
        d.forma = FormaDoTempo(TempoDaCelula(rs, linha, campo));
    return datahora::Exibir(d, rs.InfoCampo(campo).escala, exibir);
}

QString TextoBinario(const QByteArray& b)
{
    if (b.size() > MaiorBinarioEmHexa)
        return QStringLiteral("(binário, %1 bytes)").arg(b.size());
    return QStringLiteral("0x") + QString::fromLatin1(b.toHex().toUpper());
}

QString Texto(const clsRecordset& rs, int linha, int campo, bool exibir)
{
    if (rs.CelulaNula(linha, campo))
        return {};
    const int tipo = rs.InfoCampo(campo).tipo;
    if (TipoData(tipo))
        return TextoData(rs, linha, campo, exibir);
    const QVariant v = rs.ValorCelula(linha, campo);
    if (TipoDecimal(tipo) && v.typeId() == QMetaType::QString)
        return decimal::ParaTextoLocal(v.toString(), QLocale());
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: return TextoReal(v.toDouble());
    case QMetaType::QByteArray: return TextoBinario(v.toByteArray());
    default: break;
    }
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

// Typed as the user writes dates (or ISO), with every digit and the offset: the canonical text.
bool LerData(const QString& t, Tempo tipo, QVariant& valor)
{
    datahora::DataHora d;
    if (!datahora::LerDigitado(t, FormaDoTempo(tipo), d))
        return false;
    valor = QString::fromStdString(datahora::Canonico(d));
    return true;
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
        auto uma = [&t](std::initializer_list<const char16_t*> palavras) {
            for (const char16_t* p : palavras)
                if (t.compare(QStringView(p), Qt::CaseInsensitive) == 0)
                    return true;
            return false;
        };
        if (uma({u"1", u"-1", u"true", u"verdadeiro", u"sim"}))
            valor = true;
        else if (uma({u"0", u"false", u"falso", u"não", u"nao"}))
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
