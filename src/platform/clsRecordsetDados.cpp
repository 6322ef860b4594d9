#include "clsRecordsetDados.h"

#include "mdlDecimal.h"

#include <QDateTime>
#include <QUuid>
#include <algorithm>
#include <cmath>

using namespace ado;

uint64_t PoolTexto::Guardar(const char* p, size_t n)
{
    const size_t cab = n < 255 ? 1 : 5;
    const size_t precisa = n + cab;
    if (usado + precisa > TamBloco || blocos.empty()) {
        if (precisa > TamBloco) {
            maiores.emplace_back(new char[precisa]);
            blocos.push_back(maiores.back().get());
        } else {
            blocos.push_back(memoria.Novo());
        }
        usado = 0;
        total += precisa > TamBloco ? precisa : TamBloco;
    }
    char* b = blocos.back() + usado;
    if (cab == 1) {
        b[0] = char(static_cast<unsigned char>(n));
    } else {
        b[0] = char(static_cast<unsigned char>(255));
        const uint32_t n32 = uint32_t(n);
        std::memcpy(b + 1, &n32, 4);
    }
    if (n)
        std::memcpy(b + cab, p, n);
    const uint64_t ref = (uint64_t(blocos.size() - 1) << 32) | uint64_t(usado);
    usado += precisa;
    if (precisa > TamBloco)
        usado = TamBloco; // a piece larger than a block has a block of its own
    return ref;
}

int clsRecordsetDados::IndiceCampo(const QString& nome) const
{
    QStringView n(nome);
    if (n.size() >= 2 && n.front() == u'[' && n.back() == u']')
        n = n.mid(1, n.size() - 2);
    for (int i = 0; i < campos.size(); ++i)
        if (campos[i].nome.compare(n, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void clsRecordsetDados::ConcluirTipos()
{
    for (int c = 0; c < campos.size(); ++c) {
        CampoInfo& f = campos[c];
        if (f.tipoFixado)
            continue;
        f.tipoFixado = true;
        f.tipoPelosValores = true;
        Marca m = Marca::Nulo;
        for (size_t r = 0; r < QtdeLinhas() && m == Marca::Nulo; ++r)
            m = colunas[c].marcas[r];
        switch (m) {
        case Marca::Inteiro: {
            bool cabe = true;
            for (size_t r = 0; r < QtdeLinhas() && cabe; ++r)
                if (colunas[c].marcas[r] == Marca::Inteiro) {
                    const int64_t v = int64_t(colunas[c].cargas[r]);
                    cabe = v >= INT32_MIN && v <= INT32_MAX;
                }
            f.tipo = cabe ? adInteger : adBigInt;
            break;
        }
        case Marca::Real: f.tipo = adDouble; break;
        case Marca::Binario:
            f.tipo = adLongVarBinary;
            f.tamanho = 2147483647;
            break;
        case Marca::Data: f.tipo = adDate; break;
        case Marca::Decimal: f.tipo = adNumeric; break;
        default:
            f.tipo = adVarWChar;
            f.tamanho = 255;
            break;
        }
        if (!TipoTexto(f.tipo) && !TipoBinario(f.tipo))
            f.tamanho = TamanhoFixo(f.tipo);
    }
}

void PoolTexto::Anexar(PoolTexto&& outro)
{
    if (outro.blocos.empty())
        return;
    blocos.insert(blocos.end(), outro.blocos.begin(), outro.blocos.end());
    memoria.Anexar(std::move(outro.memoria));
    for (auto& b : outro.maiores)
        maiores.push_back(std::move(b));
    usado = outro.usado;
    total += outro.total;
    outro.blocos.clear();
    outro.maiores.clear();
    outro.usado = TamBloco;
    outro.total = 0;
}

namespace {
constexpr size_t PrimeiroBloco = 1000;
// A block is added to the window's rows in one turn of its event loop: small enough that the
// window answers between two of them.
constexpr size_t MaiorBloco = size_t(1) << 14;
} // namespace

void clsRecordsetDados::DefinirEntrega(Entrega e)
{
    entrega = std::move(e);
    limiteBloco = PrimeiroBloco;
}

void clsRecordsetDados::EntregarBloco()
{
    if (!entrega || estados.size() == 0)
        return;
    auto bloco = std::make_shared<clsRecordsetDados>();
    bloco->campos = campos;
    std::swap(bloco->colunas, colunas);
    std::swap(bloco->estados, estados);
    std::swap(bloco->pool, pool);
    colunas.resize(size_t(campos.size()));
    limiteBloco = std::min(MaiorBloco, limiteBloco * 2);
    entrega(std::move(bloco));
}

void clsRecordsetDados::Anexar(clsRecordsetDados&& bloco)
{
    const size_t n = bloco.QtdeLinhas();
    if (n == 0)
        return;
    if (colunas.size() < size_t(campos.size()))
        colunas.resize(size_t(campos.size()));
    const uint64_t deslocamento = pool.Deslocamento();
    bool decidirTipos = false;
    for (int c = 0; c < campos.size() && c < int(bloco.colunas.size()); ++c) {
        Coluna& de = bloco.colunas[size_t(c)];
        Coluna& para = colunas[size_t(c)];
        for (size_t r = 0; r < n; ++r) {
            const Marca m = de.marcas[r];
            uint64_t carga = de.cargas[r];
            if (m == Marca::Texto || m == Marca::Binario || m == Marca::Decimal)
                carga += deslocamento;
            para.marcas.push_back(m);
            para.cargas.push_back(carga);
        }
        if (campos[c].tipoPelosValores) {
            campos[c].tipoFixado = false;
            decidirTipos = true;
        }
    }
    for (size_t r = 0; r < n; ++r)
        estados.push_back(bloco.estados[r]);
    pool.Anexar(std::move(bloco.pool));
    bloco.colunas.clear();
    bloco.estados.clear();
    if (decidirTipos)
        ConcluirTipos();
    ++geracao;
}

uint32_t clsRecordsetDados::NovaLinha()
{
    for (int c = 0; c < campos.size(); ++c)
        AcrescentarNulo(c);
    estados.push_back(EstadoLinha::Nova);
    return uint32_t(estados.size() - 1);
}

int64_t clsRecordsetDados::DataParaMs(const QDateTime& d)
{
    return d.date().toJulianDay() * 86400000LL + d.time().msecsSinceStartOfDay();
}

QDateTime clsRecordsetDados::MsParaData(int64_t ms)
{
    int64_t dia = ms / 86400000LL;
    int64_t resto = ms % 86400000LL;
    if (resto < 0) {
        resto += 86400000LL;
        --dia;
    }
    const QDate data = QDate::fromJulianDay(dia);
    const QTime hora = QTime::fromMSecsSinceStartOfDay(int(resto));
    // A wall-clock value the local clock skips (the hour lost to daylight saving) is still that
    // value: it is kept without a time zone instead of becoming invalid.
    const QDateTime local(data, hora);
    return local.isValid() && local.time() == hora ? local : QDateTime(data, hora, Qt::UTC);
}

namespace {
inline bool Digitos(const char* p, int n, int& v)
{
    v = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        v = v * 10 + (p[i] - '0');
    }
    return true;
}
} // namespace

bool clsRecordsetDados::TextoParaMs(const char* p, size_t n, int64_t& ms)
{
    int a, m, d, h = 0, mi = 0, s = 0, frac = 0;
    if (n < 10 || p[4] != '-' || p[7] != '-' || !Digitos(p, 4, a) || !Digitos(p + 5, 2, m) || !Digitos(p + 8, 2, d))
        return false;
    if (n > 10) {
        if ((p[10] != ' ' && p[10] != 'T') || n < 16 || p[13] != ':' || !Digitos(p + 11, 2, h)
            || !Digitos(p + 14, 2, mi))
            return false;
        size_t i = 16;
        if (n > 16) {
            if (p[16] != ':' || n < 19 || !Digitos(p + 17, 2, s))
                return false;
            i = 19;
            if (n > 19 && p[19] == '.') {
                int casas = 0;
                for (i = 20; i < n && p[i] >= '0' && p[i] <= '9'; ++i)
                    if (casas < 3) {
                        frac = frac * 10 + (p[i] - '0');
                        ++casas;
                    }
                while (casas++ < 3)
                    frac *= 10;
            }
        }
        if (i != n)
            return false;
    }
    const QDate data(a, m, d);
    if (!data.isValid() || h > 23 || mi > 59 || s > 59)
        return false;
    ms = data.toJulianDay() * 86400000LL + ((h * 60 + mi) * 60 + s) * 1000LL + frac;
    return true;
}

QVariant clsRecordsetDados::ParaVariant(Celula v, int tipo) const
{
    switch (v.marca) {
    case Marca::Nulo: return QVariant();
    case Marca::Decimal: {
        uint32_t n;
        const char* p = pool.Dados(v.carga, n);
        return QVariant(QString::fromLatin1(p, qsizetype(n)));
    }
    case Marca::Inteiro: {
        const int64_t i = int64_t(v.carga);
        if (tipo == adBoolean)
            return QVariant(i != 0);
        if (TipoDecimal(tipo)) {
            std::string t;
            decimal::DeInteiro(i, t);
            return QVariant(QString::fromLatin1(t.data(), qsizetype(t.size())));
        }
        if (TipoReal(tipo))
            return QVariant(double(i));
        if (i >= INT32_MIN && i <= INT32_MAX && tipo != adBigInt)
            return QVariant(int(i));
        return QVariant(qlonglong(i));
    }
    case Marca::Real: {
        double d;
        std::memcpy(&d, &v.carga, 8);
        std::string t;
        if (TipoDecimal(tipo) && decimal::DeReal(d, t))
            return QVariant(QString::fromLatin1(t.data(), qsizetype(t.size())));
        return QVariant(d);
    }
    case Marca::Texto: {
        uint32_t n;
        const char* p = pool.Dados(v.carga, n);
        int64_t ms;
        if (TipoData(tipo) && TextoParaMs(p, n, ms))
            return QVariant(MsParaData(ms)); // a date kept as the text the database holds
        return QVariant(QString::fromUtf8(p, n));
    }
    case Marca::Binario: {
        uint32_t n;
        const char* p = pool.Dados(v.carga, n);
        return QVariant(QByteArray(p, n));
    }
    case Marca::Data: return QVariant(MsParaData(int64_t(v.carga)));
    }
    return QVariant();
}

QString clsRecordsetDados::Texto(Celula v) const
{
    if (v.marca == Marca::Texto || v.marca == Marca::Decimal) {
        uint32_t n;
        const char* p = pool.Dados(v.carga, n);
        return QString::fromUtf8(p, n);
    }
    return ParaVariant(v, ado::adVariant).toString();
}

bool clsRecordsetDados::DeVariant(const QVariant& v, int c, Celula& saida)
{
    const int tipo = campos[c].tipo;
    saida = Celula{};
    if (v.isNull() || !v.isValid())
        return true;
    const int tv = v.typeId();
    if (tipo == adBoolean) {
        if (tv == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.compare(u"true", Qt::CaseInsensitive) == 0 || s.compare(u"verdadeiro", Qt::CaseInsensitive) == 0) {
                saida = Celula{Marca::Inteiro, 1};
                return true;
            }
            if (s.compare(u"false", Qt::CaseInsensitive) == 0 || s.compare(u"falso", Qt::CaseInsensitive) == 0) {
                saida = Celula{Marca::Inteiro, 0};
                return true;
            }
        }
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok && tv != QMetaType::Bool)
            return false;
        saida = Celula{Marca::Inteiro, uint64_t((tv == QMetaType::Bool ? v.toBool() : d != 0) ? 1 : 0)};
        return true;
    }
    if (TipoInteiro(tipo)) {
        bool ok = false;
        qlonglong i = v.toLongLong(&ok);
        if (!ok) {
            const double d = v.toString().trimmed().toDouble(&ok);
            if (!ok || d != std::floor(d))
                return false;
            i = qlonglong(d);
        }
        saida = Celula{Marca::Inteiro, uint64_t(int64_t(i))};
        return true;
    }
    if (TipoDecimal(tipo)) {
        std::string t;
        bool ok;
        switch (tv) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::UInt:
            decimal::DeInteiro(v.toLongLong(), t);
            ok = true;
            break;
        case QMetaType::Double:
        case QMetaType::Float: ok = decimal::DeReal(v.toDouble(), t); break;
        default:
            ok = v.metaType() == QMetaType::fromType<decimal::Parametro>()
                     ? decimal::Normalizar(v.value<decimal::Parametro>().texto.toStdString(), t)
                     : decimal::DeTexto(v.toString(), t);
            break;
        }
        if (!ok)
            return false;
        saida = Celula{Marca::Decimal, pool.Guardar(t.data(), t.size())};
        return true;
    }
    if (TipoReal(tipo)) {
        bool ok = false;
        double d = v.toDouble(&ok);
        if (!ok)
            d = v.toString().trimmed().replace(u',', u'.').toDouble(&ok);
        if (!ok)
            return false;
        uint64_t u;
        std::memcpy(&u, &d, 8);
        saida = Celula{Marca::Real, u};
        return true;
    }
    if (TipoData(tipo)) {
        QDateTime d;
        if (tv == QMetaType::QDateTime)
            d = v.toDateTime();
        else if (tv == QMetaType::QDate)
            d = QDateTime(v.toDate(), QTime(0, 0));
        else if (tv == QMetaType::QTime)
            d = QDateTime(QDate(1899, 12, 30), v.toTime());
        else {
            // Text keeps every digit and the offset: ISO, or as the user writes dates.
            datahora::DataHora dh;
            const QString s = v.toString().trimmed();
            const QByteArray u = s.toUtf8();
            if (!datahora::LerIso(std::string_view(u.constData(), size_t(u.size())), dh)
                && !datahora::LerDigitado(s, FormaDoCampo(c), dh)
                && !datahora::LerDigitado(s, datahora::Forma::DataHora, dh))
                return false;
            saida = CelulaDeData(dh);
            return true;
        }
        if (!d.isValid())
            return false;
        saida = Celula{Marca::Data, uint64_t(DataParaMs(d))};
        return true;
    }
    if (TipoBinario(tipo)) {
        const QByteArray b = v.toByteArray();
        saida = Celula{Marca::Binario, pool.Guardar(b.constData(), size_t(b.size()))};
        return true;
    }
    QString s;
    if (tv == QMetaType::QDateTime)
        s = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    else if (tv == QMetaType::QUuid)
        s = v.toUuid().toString();
    else
        s = v.toString();
    const QByteArray u = s.toUtf8();
    saida = Celula{Marca::Texto, pool.Guardar(u.constData(), size_t(u.size()))};
    return true;
}

std::string_view clsRecordsetDados::TextoDecimal(Celula v, std::string& buffer) const
{
    switch (v.marca) {
    case Marca::Decimal: {
        uint32_t n;
        const char* p = pool.Dados(v.carga, n);
        return std::string_view(p, n);
    }
    case Marca::Inteiro: decimal::DeInteiro(int64_t(v.carga), buffer); return buffer;
    case Marca::Real: {
        double d;
        std::memcpy(&d, &v.carga, 8);
        if (decimal::DeReal(d, buffer))
            return buffer;
        return {};
    }
    default: return {};
    }
}

QVariant clsRecordsetDados::ParaParametro(Celula v, int c) const
{
    const int tipo = campos[c].tipo;
    switch (v.marca) {
    case Marca::Texto: return QVariant(Texto(v)); // a date kept as text matches itself exactly
    case Marca::Decimal: {
        uint32_t n;
        const char* p = pool.Dados(v.carga, n);
        return QVariant::fromValue(decimal::Parametro{QByteArray(p, qsizetype(n))});
    }
    case Marca::Inteiro:
        if (TipoDecimal(tipo))
            return QVariant(qlonglong(int64_t(v.carga)));
        break;
    case Marca::Real:
        if (TipoDecimal(tipo)) {
            double d;
            std::memcpy(&d, &v.carga, 8);
            return QVariant(d);
        }
        break;
    case Marca::Data: {
        const QDateTime d = MsParaData(int64_t(v.carga));
        if (FormaDoCampo(c) == datahora::Forma::SoData && d.time() == QTime(0, 0))
            return QVariant(d.date());
        if (FormaDoCampo(c) == datahora::Forma::SoHora && d.date() == QDate(1899, 12, 30))
            return QVariant(
                QString::fromStdString(datahora::Canonico(datahora::DeMs(int64_t(v.carga), datahora::Forma::SoHora))));
        break;
    }
    default: break;
    }
    return ParaVariant(v, tipo);
}

datahora::Forma clsRecordsetDados::FormaDoCampo(int c) const
{
    const CampoInfo& f = campos[c];
    if (f.tipo == adDBDate || f.formaData == CampoInfo::FormaData::SoData)
        return datahora::Forma::SoData;
    if (f.tipo == adDBTime || f.formaData == CampoInfo::FormaData::SoHora)
        return datahora::Forma::SoHora;
    return datahora::Forma::DataHora;
}

bool clsRecordsetDados::DataHoraDe(Celula v, int c, datahora::DataHora& d) const
{
    if (v.marca == Marca::Data) {
        d = datahora::DeMs(int64_t(v.carga), datahora::Forma::DataHora);
        const datahora::Forma forma = FormaDoCampo(c);
        if ((forma == datahora::Forma::SoData && d.ns == 0)
            || (forma == datahora::Forma::SoHora && d.dia == datahora::DiaDaHora()))
            d.forma = forma;
        return true;
    }
    if (v.marca != Marca::Texto)
        return false;
    uint32_t n;
    const char* p = pool.Dados(v.carga, n);
    return datahora::LerIso(std::string_view(p, n), d);
}

Celula clsRecordsetDados::CelulaDeData(const datahora::DataHora& d)
{
    int64_t ms;
    if (datahora::EmMs(d, ms))
        return Celula{Marca::Data, uint64_t(ms)};
    const std::string t = datahora::Canonico(d);
    return Celula{Marca::Texto, pool.Guardar(t.data(), t.size())};
}

void clsRecordsetDados::GuardarOriginais(uint32_t linha)
{
    if (originais.count(linha))
        return;
    std::vector<Celula> v(size_t(campos.size()));
    for (int c = 0; c < campos.size(); ++c)
        v[size_t(c)] = Ler(linha, c);
    originais.emplace(linha, std::move(v));
}

const std::vector<Celula>* clsRecordsetDados::Originais(uint32_t linha) const
{
    const auto it = originais.find(linha);
    return it == originais.end() ? nullptr : &it->second;
}

std::vector<uint32_t> clsRecordsetDados::LinhasPendentes() const
{
    std::vector<uint32_t> r;
    for (size_t i = 0; i < estados.size(); ++i) {
        const EstadoLinha e = estados[i];
        if (e == EstadoLinha::Nova || e == EstadoLinha::Alterada || e == EstadoLinha::Excluida)
            r.push_back(uint32_t(i));
    }
    return r;
}

bool clsRecordsetDados::TemPendentes() const
{
    for (size_t i = 0; i < estados.size(); ++i) {
        const EstadoLinha e = estados[i];
        if (e == EstadoLinha::Nova || e == EstadoLinha::Alterada || e == EstadoLinha::Excluida)
            return true;
    }
    return false;
}

size_t clsRecordsetDados::BytesUsados() const
{
    size_t t = pool.bytes() + estados.bytes();
    for (const auto& c : colunas)
        t += c.marcas.bytes() + c.cargas.bytes();
    return t;
}
