#include "clsPontasTexto.h"

#include "platform/mdlDecimal.h"
#include "query/mdlExportar.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>

using namespace ado;

namespace impexp {

// ---------------------------------------------------------------- records

bool clsAnalisadorTexto::Abrir(const QString& caminho, QString& erro)
{
    f.setFileName(caminho);
    if (!f.open(QIODevice::ReadOnly)) {
        erro = QStringLiteral("Não foi possível abrir o arquivo %1: %2").arg(caminho, f.errorString());
        return false;
    }
    buffer.resize(size_t(1) << 20);
    pos = fim = 0;
    Encher();
    if (fim >= 3 && buffer[0] == '\xEF' && buffer[1] == '\xBB' && buffer[2] == '\xBF')
        pos = 3;
    return true;
}

bool clsAnalisadorTexto::Encher()
{
    const qint64 n = f.read(buffer.data(), qint64(buffer.size()));
    falhou = falhou || n < 0;
    pos = 0;
    fim = n > 0 ? size_t(n) : 0;
    return fim > 0;
}

namespace {
// Whether the bytes are UTF-8 (a sequence cut by the end of the buffer counts as valid).
bool Utf8Valido(const char* p, size_t n)
{
    size_t i = 0;
    while (i < n) {
        const auto c = static_cast<unsigned char>(p[i]);
        const int seguintes = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (seguintes < 0 || (c >= 0xC0 && c < 0xC2))
            return false;
        for (int k = 1; k <= seguintes; ++k) {
            if (i + size_t(k) >= n)
                return true;
            if ((static_cast<unsigned char>(p[i + size_t(k)]) & 0xC0) != 0x80)
                return false;
        }
        i += size_t(seguintes) + 1;
    }
    return true;
}
} // namespace

void clsAnalisadorTexto::Detectar(OpcoesTexto& opcoes)
{
    if (opcoes.codificacao == OpcoesTexto::Codificacao::Detectar)
        opcoes.codificacao = (pos == 3 || Utf8Valido(buffer.data() + pos, fim - pos))
                                 ? OpcoesTexto::Codificacao::Utf8
                                 : OpcoesTexto::Codificacao::Windows1252;
    if (opcoes.separador.isNull()) {
        // The most frequent candidate on the first line, outside quotes.
        const char candidatos[] = {';', ',', '\t', '|'};
        int contagem[4] = {0, 0, 0, 0};
        bool aspas = false;
        for (size_t i = pos; i < fim; ++i) {
            const char c = buffer[i];
            if (c == '"')
                aspas = !aspas;
            else if (!aspas && (c == '\n' || c == '\r'))
                break;
            else if (!aspas)
                for (int k = 0; k < 4; ++k)
                    contagem[k] += c == candidatos[k];
        }
        int melhor = 1;
        for (int k = 0; k < 4; ++k)
            if (contagem[k] > contagem[melhor])
                melhor = k;
        opcoes.separador = QChar::fromLatin1(candidatos[melhor]);
    }
    sep = opcoes.separador.toLatin1();
}

bool clsAnalisadorTexto::Proximo(std::vector<Campo>& campos)
{
    campos.clear();
    if (pos == fim && !Encher())
        return false;
    campos.emplace_back();
    bool aspas = false;
    for (;;) {
        if (pos == fim && !Encher())
            return true; // the last record, without a line end
        Campo& atual = campos.back();
        // The plain bytes up to the next one that means something go in at once.
        const char* const inicio = buffer.data() + pos;
        const char* p = inicio;
        const char* const limite = buffer.data() + fim;
        if (aspas)
            while (p < limite && *p != '"')
                ++p;
        else
            while (p < limite && *p != sep && *p != '\n' && *p != '\r' && *p != '"')
                ++p;
        if (p != inicio) {
            atual.bytes.append(inicio, size_t(p - inicio));
            pos += size_t(p - inicio);
            continue;
        }
        const char c = buffer[pos++];
        if (aspas) {
            // c is a quote: a doubled one is a quote, else the value's end.
            if (pos == fim && !Encher()) {
                aspas = false;
                continue;
            }
            if (buffer[pos] == '"') {
                atual.bytes += '"';
                ++pos;
            } else {
                aspas = false;
            }
            continue;
        }
        if (c == sep) {
            campos.emplace_back();
        } else if (c == '\n') {
            return true;
        } else if (c == '\r') {
            if ((pos < fim || Encher()) && buffer[pos] == '\n')
                ++pos;
            return true;
        } else if (atual.bytes.empty() && !atual.citado) {
            aspas = true; // c is a quote opening the value
            atual.citado = true;
        } else {
            atual.bytes += c;
        }
    }
}

// ---------------------------------------------------------------- reading

namespace {

bool Digitos(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool Inteiro(std::string_view s)
{
    if (!s.empty() && s[0] == '-')
        s.remove_prefix(1);
    return Digitos(s) && s.size() <= 18 && (s.size() == 1 || s[0] != '0');
}

// "-12.50": digits before and after the separator (an integer has none after).
bool Decimal(std::string_view s, char separador, int& inteiros, int& escala)
{
    if (!s.empty() && s[0] == '-')
        s.remove_prefix(1);
    const size_t p = s.find(separador);
    const std::string_view a = s.substr(0, p);
    const std::string_view b = p == std::string_view::npos ? std::string_view() : s.substr(p + 1);
    if (!Digitos(a) || (a.size() > 1 && a[0] == '0') || (p != std::string_view::npos && !Digitos(b)))
        return false;
    inteiros = int(a.size());
    escala = int(b.size());
    return true;
}

int Numero(std::string_view s) // digits already checked
{
    int n = 0;
    for (char c : s)
        n = n * 10 + (c - '0');
    return n;
}

bool Data(std::string_view s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-' || !Digitos(s.substr(0, 4)) || !Digitos(s.substr(5, 2))
        || !Digitos(s.substr(8, 2)))
        return false;
    return QDate::isValid(Numero(s.substr(0, 4)), Numero(s.substr(5, 2)), Numero(s.substr(8, 2)));
}

// "yyyy-MM-dd HH:mm:ss[.fffffffff]" (or with "T"); `fracao` gets the fraction's digits.
bool DataHora(std::string_view s, int& fracao)
{
    fracao = 0;
    if (s.size() < 19 || !Data(s.substr(0, 10)) || (s[10] != ' ' && s[10] != 'T') || s[13] != ':' || s[16] != ':'
        || !Digitos(s.substr(11, 2)) || !Digitos(s.substr(14, 2)) || !Digitos(s.substr(17, 2)))
        return false;
    if (Numero(s.substr(11, 2)) > 23 || Numero(s.substr(14, 2)) > 59 || Numero(s.substr(17, 2)) > 59)
        return false;
    if (s.size() == 19)
        return true;
    if (s[19] != '.' || s.size() > 29 || !Digitos(s.substr(20)))
        return false;
    fracao = int(s.size() - 20);
    return true;
}

struct Perfil {
    bool inteiro = true, decimal = true, data = true, dataHora = true, algum = false;
    char separador = 0; // the decimal separator the column's values use
    int inteiros = 0, escala = 0, fracao = 0;

    void Ver(std::string_view s, QChar decimalEscolhido, bool detectar, char sepCampos)
    {
        algum = true;
        if (!inteiro && !decimal && !data && !dataHora)
            return; // text already
        if (inteiro && !Inteiro(s))
            inteiro = false;
        if (decimal) {
            if (separador == 0) {
                const bool virgula = detectar && sepCampos != ',' && s.find(',') != std::string_view::npos;
                separador = detectar ? (virgula ? ',' : '.') : decimalEscolhido.toLatin1();
            }
            int a = 0, b = 0;
            if (Decimal(s, separador, a, b)) {
                inteiros = qMax(inteiros, a);
                escala = qMax(escala, b);
            } else {
                decimal = false;
            }
        }
        const bool soData = (data || dataHora) && Data(s);
        data = data && soData;
        int f = 0;
        if (dataHora && !soData && !DataHora(s, f))
            dataHora = false;
        fracao = qMax(fracao, f);
    }
};

} // namespace

clsLeitorTexto::clsLeitorTexto(QString c, OpcoesTexto o) : caminho(std::move(c)), opcoes(o) {}

QString clsLeitorTexto::Decodificar(const std::string& b) const
{
    if (opcoes.codificacao == OpcoesTexto::Codificacao::Windows1252)
        return exportar::DeWindows1252(QByteArrayView(b.data(), qsizetype(b.size())));
    return QString::fromUtf8(b.data(), qsizetype(b.size()));
}

bool clsLeitorTexto::Estrutura(EstruturaCopia& saida, QString& erro)
{
    clsAnalisadorTexto a;
    if (!a.Abrir(caminho, erro))
        return false;
    a.Detectar(opcoes);
    std::vector<clsAnalisadorTexto::Campo> campos;
    estrutura = {};
    if (!a.Proximo(campos)) {
        erro = QStringLiteral("O arquivo %1 está vazio.").arg(caminho);
        return false;
    }
    QStringList lidos;
    for (const clsAnalisadorTexto::Campo& c : campos)
        lidos << (opcoes.cabecalho ? Decodificar(c.bytes) : QString());
    const QStringList nomes = NomesDeColunas(lidos);
    const size_t n = campos.size();
    std::vector<Perfil> perfis(n);
    qint64 linha = 0;
    bool primeira = !opcoes.cabecalho;
    while (primeira || a.Proximo(campos)) {
        primeira = false;
        ++linha;
        if (campos.size() == 1 && campos[0].bytes.empty() && !campos[0].citado && n > 1)
            continue; // a blank line
        if (campos.size() != n) {
            erro = QStringLiteral("Linha %1 do arquivo %2: %3 campos, e a primeira linha tem %4.")
                       .arg(linha + (opcoes.cabecalho ? 1 : 0))
                       .arg(QFileInfo(caminho).fileName())
                       .arg(campos.size())
                       .arg(n);
            return false;
        }
        for (size_t i = 0; i < n; ++i)
            if (!campos[i].bytes.empty())
                perfis[i].Ver(campos[i].bytes, opcoes.decimal, opcoes.decimalDetectado, opcoes.separador.toLatin1());
    }
    if (a.Falhou()) {
        erro = QStringLiteral("Não foi possível ler o arquivo %1.").arg(caminho);
        return false;
    }
    classes.clear();
    for (size_t i = 0; i < n; ++i) {
        const Perfil& p = perfis[i];
        ColunaCopia c;
        c.nome = nomes[int(i)];
        c.dialetoOrigem = Dialeto::Outro;
        Classe k = Classe::Texto;
        if (p.algum && p.inteiro) {
            k = Classe::Inteiro;
            c.tipoCatalogo = adBigInt;
            c.precisao = 19;
        } else if (p.algum && p.decimal && p.inteiros + p.escala <= 38) {
            k = Classe::Decimal;
            c.tipoCatalogo = adNumeric;
            c.precisao = qMax(1, p.inteiros + p.escala);
            c.escala = p.escala;
        } else if (p.algum && p.data) {
            k = Classe::Data;
            c.tipoCatalogo = adDBDate;
        } else if (p.algum && p.dataHora) {
            k = Classe::DataHora;
            c.tipoCatalogo = adDBTimeStamp;
            c.precisaoData = p.fracao;
        } else {
            c.tipoCatalogo = adWChar;
            c.flags = ISLONG;
        }
        classes.push_back(k);
        estrutura.colunas << c;
    }
    // The decimal separator each decimal column uses.
    for (size_t i = 0; i < n; ++i)
        if (classes[i] == Classe::Decimal)
            estrutura.colunas[int(i)].declarado
                = QString(QChar::fromLatin1(perfis[i].separador ? perfis[i].separador : '.'));
    saida = estrutura;
    return true;
}

bool clsLeitorTexto::Ler(const RecebeBloco& recebe, QString& erro)
{
    clsAnalisadorTexto a;
    if (!a.Abrir(caminho, erro))
        return false;
    a.Detectar(opcoes);
    std::vector<clsAnalisadorTexto::Campo> campos;
    if (opcoes.cabecalho)
        a.Proximo(campos);
    const int n = estrutura.colunas.size();
    std::vector<char> separadores(size_t(n), '.');
    QVector<CampoInfo> infos;
    for (int i = 0; i < n; ++i) {
        CampoInfo f;
        f.nome = estrutura.colunas[i].nome;
        switch (classes[size_t(i)]) {
        case Classe::Inteiro: f.tipo = adBigInt; break;
        case Classe::Decimal:
            f.tipo = adNumeric;
            separadores[size_t(i)] = estrutura.colunas[i].declarado.at(0).toLatin1();
            break;
        case Classe::Data: f.tipo = adDBDate; break;
        case Classe::DataHora: f.tipo = adDBTimeStamp; break;
        case Classe::Texto: f.tipo = adVarWChar; break;
        }
        infos << f;
    }
    clsBlocoLido bloco(infos, recebe);
    std::string dec;
    while (!parar && a.Proximo(campos)) {
        if (campos.size() == 1 && campos[0].bytes.empty() && !campos[0].citado && n > 1)
            continue;
        if (int(campos.size()) != n) {
            erro = QStringLiteral("O arquivo %1 mudou durante a cópia.").arg(caminho);
            return false;
        }
        for (int i = 0; i < n; ++i) {
            std::string& b = campos[size_t(i)].bytes;
            const bool vazio = b.empty();
            switch (classes[size_t(i)]) {
            case Classe::Inteiro:
                if (vazio)
                    bloco->AcrescentarNulo(i);
                else
                    bloco->AcrescentarInteiro(i, std::stoll(b));
                break;
            case Classe::Decimal:
                if (vazio) {
                    bloco->AcrescentarNulo(i);
                    break;
                }
                for (char& c : b)
                    if (c == separadores[size_t(i)])
                        c = '.';
                if (decimal::Normalizar(b, dec))
                    bloco->AcrescentarDecimal(i, dec.data(), dec.size());
                else
                    bloco->AcrescentarTexto(i, b.data(), b.size());
                break;
            case Classe::Data:
            case Classe::DataHora:
                if (vazio)
                    bloco->AcrescentarNulo(i);
                else
                    bloco->AcrescentarTexto(i, b.data(), b.size());
                break;
            case Classe::Texto:
                if (vazio && !campos[size_t(i)].citado) {
                    bloco->AcrescentarNulo(i);
                } else if (opcoes.codificacao == OpcoesTexto::Codificacao::Windows1252) {
                    const QByteArray u = Decodificar(b).toUtf8();
                    bloco->AcrescentarTexto(i, u.constData(), size_t(u.size()));
                } else {
                    bloco->AcrescentarTexto(i, b.data(), b.size());
                }
                break;
            }
        }
        bloco->FecharLinha();
        if (bloco->QtdeLinhas() >= 8192 && !bloco.Entregar())
            return false;
    }
    if (parar)
        return false;
    if (a.Falhou()) {
        erro = QStringLiteral("Não foi possível ler o arquivo %1.").arg(caminho);
        return false;
    }
    return bloco.Entregar();
}

// ---------------------------------------------------------------- writing

clsEscritorTexto::clsEscritorTexto(QString c, OpcoesTexto o) : caminho(std::move(c)), opcoes(o)
{
    if (opcoes.separador.isNull())
        opcoes.separador = u',';
    if (opcoes.codificacao == OpcoesTexto::Codificacao::Detectar)
        opcoes.codificacao = OpcoesTexto::Codificacao::Utf8;
}

bool clsEscritorTexto::Gravar(const QString& texto, QString& erro)
{
    QByteArray b;
    if (opcoes.codificacao == OpcoesTexto::Codificacao::Windows1252) {
        if (!exportar::ParaWindows1252(texto, b)) {
            erro = QStringLiteral("o texto tem caracteres que a codificação Windows-1252 não representa.");
            return false;
        }
    } else {
        b = texto.toUtf8();
    }
    if (arquivo->write(b) != b.size()) {
        erro = arquivo->errorString();
        return false;
    }
    return true;
}

bool clsEscritorTexto::Iniciar(const EstruturaCopia& origem, Acao acao, QString& erro)
{
    const bool existe = QFileInfo::exists(caminho);
    if (existe && acao == Acao::Criar) {
        erro = QStringLiteral("O arquivo %1 já existe. Escolha acrescentar, substituir as linhas ou excluir e "
                              "criar o arquivo.")
                   .arg(caminho);
        return false;
    }
    colunas = origem;
    arquivo = std::make_unique<QSaveFile>(caminho);
    if (!arquivo->open(QIODevice::WriteOnly)) {
        erro = QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(caminho, arquivo->errorString());
        arquivo.reset();
        return false;
    }
    if (existe && acao == Acao::Acrescentar) {
        // The rows already there stay, in the new file that takes the old one's place.
        QFile velho(caminho);
        if (!velho.open(QIODevice::ReadOnly)) {
            erro = QStringLiteral("Não foi possível ler o arquivo %1: %2").arg(caminho, velho.errorString());
            Desfazer();
            return false;
        }
        QByteArray ultimo;
        while (!velho.atEnd()) {
            ultimo = velho.read(1 << 20);
            arquivo->write(ultimo);
        }
        if (!ultimo.isEmpty() && !ultimo.endsWith('\n'))
            arquivo->write("\r\n");
        return true;
    }
    if (opcoes.bom && opcoes.codificacao == OpcoesTexto::Codificacao::Utf8)
        arquivo->write("\xEF\xBB\xBF");
    if (!opcoes.cabecalho)
        return true;
    QStringList nomes;
    for (const ColunaCopia& c : colunas.colunas)
        nomes << exportar::CampoDelimitado(c.nome, opcoes.separador);
    if (!Gravar(nomes.join(opcoes.separador) + QStringLiteral("\r\n"), erro)) {
        Desfazer();
        return false;
    }
    return true;
}

bool clsEscritorTexto::Escrever(const clsRecordsetDados& bloco, qint64 primeiraLinha, QString& erro)
{
    const int n = bloco.QtdeCampos();
    QString linha;
    std::string buffer;
    for (uint32_t r = 0; r < uint32_t(bloco.QtdeLinhas()); ++r) {
        linha.clear();
        for (int c = 0; c < n; ++c) {
            if (c)
                linha += opcoes.separador;
            const Celula v = bloco.Ler(r, c);
            const CampoInfo& f = bloco.campos[c];
            const ColunaCopia* col = c < colunas.colunas.size() ? &colunas.colunas[c] : nullptr;
            QString t;
            switch (v.marca) {
            case Marca::Nulo: continue;
            case Marca::Texto: linha += exportar::CampoDelimitado(bloco.Texto(v), opcoes.separador, true); continue;
            case Marca::Binario: {
                uint32_t k;
                const char* p = bloco.Bytes(v, k);
                t = TextoHex(p, k);
                break;
            }
            case Marca::Inteiro:
                t = f.tipo == adBoolean ? QString(v.carga ? u'1' : u'0') : QString::number(qint64(v.carga));
                break;
            case Marca::Real:
            case Marca::Decimal: {
                const std::string_view s = bloco.TextoDecimal(v, buffer);
                t = s.empty() ? bloco.Texto(v) : QString::fromLatin1(s.data(), qsizetype(s.size()));
                if (opcoes.decimal != u'.')
                    t.replace(u'.', opcoes.decimal);
                break;
            }
            case Marca::Data: {
                const QDateTime d = clsRecordsetDados::MsParaData(int64_t(v.carga));
                const bool soData = f.formaData == CampoInfo::FormaData::SoData
                                    || (col && col->tipoCatalogo == adDBDate) || f.tipo == adDBDate;
                const bool soHora = f.formaData == CampoInfo::FormaData::SoHora
                                    || (col && col->tipoCatalogo == adDBTime) || f.tipo == adDBTime;
                const QString ms = d.time().msec() ? QStringLiteral(".zzz") : QString();
                t = soData   ? d.toString(QStringLiteral("yyyy-MM-dd"))
                    : soHora ? d.toString(QStringLiteral("HH:mm:ss") + ms)
                             : d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss") + ms);
                break;
            }
            }
            linha += exportar::CampoDelimitado(t, opcoes.separador);
        }
        linha += QStringLiteral("\r\n");
        QString porque;
        if (!Gravar(linha, porque)) {
            erro = QStringLiteral("Linha %1: %2").arg(primeiraLinha + r).arg(porque);
            return false;
        }
    }
    return true;
}

bool clsEscritorTexto::Concluir(QString& erro)
{
    if (arquivo && arquivo->commit()) {
        arquivo.reset();
        return true;
    }
    erro = QStringLiteral("Não foi possível gravar o arquivo %1: %2")
               .arg(caminho, arquivo ? arquivo->errorString() : QString());
    arquivo.reset();
    return false;
}

void clsEscritorTexto::Desfazer()
{
    if (arquivo)
        arquivo->cancelWriting();
    arquivo.reset();
}

} // namespace impexp
