#include "clsZip.h"

#include <QtEndian>
#include <zlib.h>

namespace impexp {

namespace {
quint16 U16(const char* p) { return qFromLittleEndian<quint16>(p); }
quint32 U32(const char* p) { return qFromLittleEndian<quint32>(p); }
constexpr qint64 Pedaco = 256 * 1024;
} // namespace

bool clsZip::Abrir(const QString& c, QString& erro)
{
    caminho = c;
    membros.clear();
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) {
        erro = QStringLiteral("Não foi possível abrir o arquivo %1: %2").arg(caminho, f.errorString());
        return false;
    }
    const auto invalido = [&] {
        erro = QStringLiteral("O arquivo %1 não é uma planilha .xlsx válida.").arg(caminho);
        return false;
    };
    // The end-of-directory record sits in the last 64 kB (its comment at most that long).
    const qint64 tamanho = f.size();
    const qint64 cauda = qMin<qint64>(tamanho, 65535 + 22);
    f.seek(tamanho - cauda);
    const QByteArray fim = f.read(cauda);
    qsizetype p = fim.size() - 22;
    while (p >= 0 && U32(fim.constData() + p) != 0x06054b50)
        --p;
    if (p < 0)
        return invalido();
    const quint16 quantos = U16(fim.constData() + p + 10);
    const quint32 tamDir = U32(fim.constData() + p + 12), inicioDir = U32(fim.constData() + p + 16);
    if (inicioDir == 0xFFFFFFFFu || qint64(inicioDir) + tamDir > tamanho) {
        erro = QStringLiteral("O arquivo %1 usa ZIP64, que não é aceito.").arg(caminho);
        return false;
    }
    f.seek(inicioDir);
    const QByteArray dir = f.read(tamDir);
    qsizetype q = 0;
    for (int i = 0; i < quantos; ++i) {
        if (q + 46 > dir.size() || U32(dir.constData() + q) != 0x02014b50)
            return invalido();
        const char* h = dir.constData() + q;
        Membro m;
        m.metodo = U16(h + 10);
        m.compactado = U32(h + 20);
        m.tamanho = U32(h + 24);
        m.local = U32(h + 42);
        const quint16 nome = U16(h + 28), extra = U16(h + 30), comentario = U16(h + 32);
        if (q + 46 + nome > dir.size())
            return invalido();
        membros.insert(QString::fromUtf8(h + 46, nome), m);
        q += 46 + nome + extra + comentario;
    }
    return true;
}

struct clsZip::Leitura::Estado {
    QFile f;
    Membro m;
    quint32 restante = 0;
    z_stream z{};
    bool inflando = false, terminou = false;
    QByteArray entrada;
};

clsZip::Leitura::~Leitura()
{
    if (e && e->inflando)
        inflateEnd(&e->z);
}

std::unique_ptr<clsZip::Leitura> clsZip::AbrirMembro(const QString& nome, QString& erro)
{
    const auto it = membros.constFind(nome);
    if (it == membros.cend()) {
        erro = QStringLiteral("A planilha %1 não tem a parte %2.").arg(caminho, nome);
        return {};
    }
    auto l = std::make_unique<Leitura>();
    l->e = std::make_unique<Leitura::Estado>();
    Leitura::Estado& e = *l->e;
    e.m = *it;
    e.f.setFileName(caminho);
    char local[30];
    if (!e.f.open(QIODevice::ReadOnly) || !e.f.seek(e.m.local) || e.f.read(local, 30) != 30 || U32(local) != 0x04034b50
        || !e.f.seek(qint64(e.m.local) + 30 + U16(local + 26) + U16(local + 28))) {
        erro = QStringLiteral("Não foi possível ler a parte %1 de %2.").arg(nome, caminho);
        return {};
    }
    if (e.m.metodo != 0 && e.m.metodo != 8) {
        erro = QStringLiteral("A parte %1 de %2 usa uma compressão que não é aceita.").arg(nome, caminho);
        return {};
    }
    e.restante = e.m.compactado;
    if (e.m.metodo == 8) {
        if (inflateInit2(&e.z, -MAX_WBITS) != Z_OK) {
            erro = QStringLiteral("Não foi possível descompactar %1.").arg(nome);
            return {};
        }
        e.inflando = true;
    }
    return l;
}

bool clsZip::Leitura::Ler(QByteArray& pedaco, QString& erro)
{
    pedaco.clear();
    Estado& s = *e;
    if (s.terminou)
        return true;
    const auto falhar = [&] {
        erro = QStringLiteral("A planilha está danificada (%1).").arg(s.f.fileName());
        return false;
    };
    if (s.m.metodo == 0) {
        pedaco = s.f.read(qMin<qint64>(Pedaco, s.restante));
        if (pedaco.size() == 0 && s.restante > 0)
            return falhar();
        s.restante -= quint32(pedaco.size());
        s.terminou = s.restante == 0;
        return true;
    }
    pedaco.resize(Pedaco);
    s.z.next_out = reinterpret_cast<Bytef*>(pedaco.data());
    s.z.avail_out = uInt(Pedaco);
    while (s.z.avail_out > 0 && !s.terminou) {
        if (s.z.avail_in == 0 && s.restante > 0) {
            s.entrada = s.f.read(qMin<qint64>(Pedaco, s.restante));
            if (s.entrada.isEmpty())
                return falhar();
            s.restante -= quint32(s.entrada.size());
            s.z.next_in = reinterpret_cast<Bytef*>(s.entrada.data());
            s.z.avail_in = uInt(s.entrada.size());
        }
        const int rc = inflate(&s.z, Z_NO_FLUSH);
        if (rc == Z_STREAM_END)
            s.terminou = true;
        else if (rc != Z_OK || (s.z.avail_in == 0 && s.restante == 0 && s.z.avail_out > 0))
            return falhar();
    }
    pedaco.resize(Pedaco - qsizetype(s.z.avail_out));
    return true;
}

bool clsXmlZip::Abrir(clsZip& zip, const QString& m, QString& erro)
{
    membro = m;
    leitura = zip.AbrirMembro(m, erro);
    xml.clear();
    fim = false;
    erroLeitura.clear();
    return bool(leitura);
}

QXmlStreamReader::TokenType clsXmlZip::Proximo()
{
    for (;;) {
        const QXmlStreamReader::TokenType t = xml.readNext();
        if (t != QXmlStreamReader::Invalid || xml.error() != QXmlStreamReader::PrematureEndOfDocumentError || fim)
            return t;
        QByteArray pedaco;
        if (!leitura->Ler(pedaco, erroLeitura)) {
            fim = true;
            return QXmlStreamReader::Invalid;
        }
        if (pedaco.isEmpty())
            fim = true;
        else
            xml.addData(pedaco);
    }
}

bool clsXmlZip::Falhou(QString& erro) const
{
    if (!erroLeitura.isEmpty()) {
        erro = erroLeitura;
        return true;
    }
    if (xml.hasError()) {
        erro = QStringLiteral("A parte %1 da planilha está danificada: %2").arg(membro, xml.errorString());
        return true;
    }
    return false;
}

} // namespace impexp
