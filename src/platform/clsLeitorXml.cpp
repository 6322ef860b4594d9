#include "clsLeitorXml.h"

#include <cstring>

namespace {

inline bool Branco(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Characters that end a name.
inline bool FimNome(char c)
{
    return Branco(c) || c == '/' || c == '>' || c == '=' || c == '<' || c == '"' || c == '\'' || c == '&' || c == '?'
           || c == '!' || c == ';';
}

const QByteArrayView NsXml("http://www.w3.org/XML/1998/namespace");
const QByteArrayView NsXsi("http://www.w3.org/2001/XMLSchema-instance");

// XML 1.0 characters.
inline bool CaractereValido(uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
           || (c >= 0x10000 && c <= 0x10FFFF);
}

void Utf8(uint32_t c, std::string& s)
{
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | (c >> 6));
        s += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += char(0xE0 | (c >> 12));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xF0 | (c >> 18));
        s += char(0x80 | ((c >> 12) & 0x3F));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
}

} // namespace

clsLeitorXml::clsLeitorXml(QByteArrayView dados) : ini(dados.data()), p(dados.data()), fim(dados.data() + dados.size())
{
    if (fim - p >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0)
        p += 3;
    pilha.reserve(32);
    decls.reserve(16);
    attrs.reserve(8);
}

clsLeitorXml::clsLeitorXml(const char* dados, Mais maisDados) : clsLeitorXml(QByteArrayView(dados, maisDados(Janela)))
{
    mais = std::move(maisDados);
    Adiante();
}

void clsLeitorXml::Adiante()
{
    const qsizetype pedido = qsizetype(p - ini) + Janela;
    const qsizetype tem = mais(pedido);
    fim = ini + tem;
    if (tem < pedido)
        mais = nullptr; // the input has ended
}

clsLeitorXml::Token clsLeitorXml::Falhar(const QString& motivo)
{
    if (token != Erro) {
        erro = motivo;
        posErro = qsizetype(p - ini);
    }
    token = Erro;
    return Erro;
}

QString clsLeitorXml::MensagemErro() const
{
    if (token != Erro)
        return QString();
    int linha = 1;
    qsizetype coluna = 1;
    for (const char* q = ini; q < ini + posErro; ++q) {
        if (*q == '\n') {
            ++linha;
            coluna = 1;
        } else if ((uchar(*q) & 0xC0) != 0x80) {
            ++coluna;
        }
    }
    return QStringLiteral("XML inválido na linha %1, coluna %2: %3").arg(linha).arg(coluna).arg(erro);
}

QByteArrayView clsLeitorXml::Uri() const
{
    return iDeclAtual >= 0 ? QByteArrayView(decls[size_t(iDeclAtual)].uri) : QByteArrayView();
}

int clsLeitorXml::Resolver(QByteArrayView prefixo) const
{
    for (int i = int(decls.size()) - 1; i >= 0; --i)
        if (decls[size_t(i)].prefixo == prefixo)
            return decls[size_t(i)].uri.empty() ? -1 : i;
    if (prefixo.isEmpty())
        return -1;
    if (prefixo == QByteArrayView("xml"))
        return -3;
    return -2;
}

std::vector<std::pair<std::string, std::string>> clsLeitorXml::DeclaracoesEmEscopo() const
{
    std::vector<std::pair<std::string, std::string>> r;
    for (const Decl& d : decls)
        r.emplace_back(std::string(d.prefixo.data(), size_t(d.prefixo.size())), d.uri);
    return r;
}

bool clsLeitorXml::Decodificar(QByteArrayView bruto, std::string& saida, bool atributo)
{
    const char* q = bruto.data();
    const char* e = q + bruto.size();
    while (q < e) {
        const char c = *q;
        if (c == '\r') {
            saida += atributo ? ' ' : '\n';
            ++q;
            if (q < e && *q == '\n')
                ++q;
            continue;
        }
        if (atributo && (c == '\n' || c == '\t')) {
            saida += ' ';
            ++q;
            continue;
        }
        if (c != '&') {
            const char* prox = q + 1;
            while (prox < e && *prox != '&' && *prox != '\r' && !(atributo && (*prox == '\n' || *prox == '\t')))
                ++prox;
            saida.append(q, size_t(prox - q));
            q = prox;
            continue;
        }
        const char* pv = static_cast<const char*>(std::memchr(q, ';', size_t(e - q)));
        if (!pv || pv - q > 12) {
            Falhar(QStringLiteral("referência sem \";\""));
            return false;
        }
        const QByteArrayView nome(q + 1, pv - q - 1);
        if (nome == QByteArrayView("lt"))
            saida += '<';
        else if (nome == QByteArrayView("gt"))
            saida += '>';
        else if (nome == QByteArrayView("amp"))
            saida += '&';
        else if (nome == QByteArrayView("quot"))
            saida += '"';
        else if (nome == QByteArrayView("apos"))
            saida += '\'';
        else if (nome.size() >= 2 && nome[0] == '#') {
            const bool hex = nome[1] == 'x';
            uint32_t v = 0;
            qsizetype i = hex ? 2 : 1;
            if (i >= nome.size()) {
                Falhar(QStringLiteral("referência de caractere vazia"));
                return false;
            }
            for (; i < nome.size(); ++i) {
                const char d = nome[i];
                int n;
                if (d >= '0' && d <= '9')
                    n = d - '0';
                else if (hex && d >= 'a' && d <= 'f')
                    n = d - 'a' + 10;
                else if (hex && d >= 'A' && d <= 'F')
                    n = d - 'A' + 10;
                else
                    n = -1;
                if (n < 0 || v > 0x10FFFF) {
                    Falhar(QStringLiteral("referência de caractere inválida"));
                    return false;
                }
                v = v * (hex ? 16 : 10) + uint32_t(n);
            }
            if (!CaractereValido(v)) {
                Falhar(QStringLiteral("referência a um caractere que o XML não permite"));
                return false;
            }
            Utf8(v, saida);
        } else {
            Falhar(QStringLiteral("entidade desconhecida \"%1\"").arg(QString::fromUtf8(nome.data(), nome.size())));
            return false;
        }
        q = pv + 1;
    }
    return true;
}

bool clsLeitorXml::Declaracao()
{
    // <?xml version="1.0" encoding="utf-8"?>: only UTF-8 (or its ASCII subset) is read.
    const char* f = static_cast<const char*>(std::memchr(p, '>', size_t(fim - p)));
    if (!f || f[-1] != '?') {
        Falhar(QStringLiteral("declaração XML sem fim"));
        return false;
    }
    const QByteArray decl = QByteArray(p, f - p).toLower();
    const qsizetype i = decl.indexOf("encoding");
    if (i >= 0) {
        qsizetype a = decl.indexOf('"', i);
        const qsizetype b = decl.indexOf('\'', i);
        if (a < 0 || (b >= 0 && b < a))
            a = b;
        const qsizetype z = a < 0 ? -1 : decl.indexOf(decl[a], a + 1);
        const QByteArray cod = z < 0 ? QByteArray() : decl.mid(a + 1, z - a - 1);
        if (cod != "utf-8" && cod != "utf8" && cod != "us-ascii") {
            Falhar(QStringLiteral("codificação \"%1\" não suportada (somente UTF-8)").arg(QString::fromLatin1(cod)));
            return false;
        }
    }
    p = f + 1;
    return true;
}

void clsLeitorXml::AplicarPendencias()
{
    if (declsPendentes) {
        decls.resize(decls.size() - size_t(declsPendentes));
        declsPendentes = 0;
    }
}

clsLeitorXml::Token clsLeitorXml::Proximo()
{
    if (token == Erro || token == FimDocumento)
        return token;
    if (fimVazioPendente) {
        fimVazioPendente = false;
        const Elemento& el = pilha.back();
        declsPendentes = el.qtdeDecl;
        pilha.pop_back();
        return token = Fim; // local and namespace stay those of the start tag
    }
    AplicarPendencias();
    for (;;) {
        if (mais && fim - p < Janela)
            Adiante();
        if (p >= fim) {
            if (!pilha.empty())
                return Falhar(QStringLiteral("fim inesperado do documento"));
            if (!raizVista)
                return Falhar(QStringLiteral("documento vazio"));
            return token = FimDocumento;
        }
        if (*p != '<') {
            if (pilha.empty()) {
                while (p < fim && Branco(*p))
                    ++p;
                if (p < fim && *p != '<')
                    return Falhar(QStringLiteral("texto fora do elemento raiz"));
                continue;
            }
            return LerTextoBruto();
        }
        if (fim - p < 2)
            return Falhar(QStringLiteral("fim inesperado do documento"));
        const char c = p[1];
        if (c == '/')
            return LerFim();
        if (c == '?') {
            if (p == ini || (p - ini == 3 && std::memcmp(ini, "\xEF\xBB\xBF", 3) == 0)) {
                if (fim - p >= 6 && std::memcmp(p, "<?xml", 5) == 0 && Branco(p[5])) {
                    if (!Declaracao())
                        return Erro;
                    continue;
                }
            }
            const char* q = p + 2;
            while (q + 1 < fim && !(q[0] == '?' && q[1] == '>'))
                ++q;
            if (q + 1 >= fim)
                return Falhar(QStringLiteral("instrução de processamento sem fim"));
            p = q + 2;
            continue;
        }
        if (c == '!') {
            if (fim - p >= 4 && std::memcmp(p, "<!--", 4) == 0) {
                const char* q = p + 4;
                while (q + 2 < fim && !(q[0] == '-' && q[1] == '-' && q[2] == '>'))
                    ++q;
                if (q + 2 >= fim)
                    return Falhar(QStringLiteral("comentário sem fim"));
                p = q + 3;
                continue;
            }
            if (fim - p >= 9 && std::memcmp(p, "<![CDATA[", 9) == 0 && !pilha.empty())
                return LerTextoBruto();
            if (fim - p >= 9 && std::memcmp(p, "<!DOCTYPE", 9) == 0)
                return Falhar(QStringLiteral("declarações de tipo de documento (DTD) não são aceitas"));
            return Falhar(QStringLiteral("marcação \"<!\" inesperada"));
        }
        return LerInicio();
    }
}

clsLeitorXml::Token clsLeitorXml::LerTextoBruto()
{
    // Character data and CDATA sections up to the next tag, as one token.
    bufTexto.clear();
    const char* inicio = p;
    bool simples = true; // one run without references, CR or CDATA: a view into the input
    while (p < fim) {
        if (*p == '<') {
            if (fim - p >= 9 && std::memcmp(p, "<![CDATA[", 9) == 0) {
                if (simples) {
                    if (!Decodificar(QByteArrayView(inicio, p - inicio), bufTexto, false))
                        return Erro;
                    simples = false;
                }
                const char* q = p + 9;
                const char* e = q;
                while (e + 2 < fim && !(e[0] == ']' && e[1] == ']' && e[2] == '>'))
                    ++e;
                if (e + 2 >= fim)
                    return Falhar(QStringLiteral("seção CDATA sem fim"));
                for (const char* k = q; k < e; ++k) {
                    if (*k == '\r') {
                        bufTexto += '\n';
                        if (k + 1 < e && k[1] == '\n')
                            ++k;
                    } else {
                        bufTexto += *k;
                    }
                }
                p = e + 3;
                inicio = p;
                continue;
            }
            break;
        }
        const char* lt = static_cast<const char*>(std::memchr(p, '<', size_t(fim - p)));
        const char* e = lt ? lt : fim;
        if (simples && (std::memchr(p, '&', size_t(e - p)) || std::memchr(p, '\r', size_t(e - p))))
            simples = false;
        if (!simples && !Decodificar(QByteArrayView(p, e - p), bufTexto, false))
            return Erro;
        p = e;
        if (!simples)
            inicio = p;
    }
    texto = simples ? QByteArrayView(inicio, p - inicio) : QByteArrayView(bufTexto);
    return token = Texto;
}

clsLeitorXml::Token clsLeitorXml::LerInicio()
{
    inicioTag = qsizetype(p - ini);
    if (pilha.empty() && raizVista)
        return Falhar(QStringLiteral("mais de um elemento raiz"));
    ++p;
    const char* n = p;
    while (p < fim && !FimNome(*p))
        ++p;
    if (p == n || p >= fim)
        return Falhar(QStringLiteral("nome de elemento inválido"));
    const QByteArrayView qname(n, p - n);
    attrs.clear();
    int novas = 0;
    bool vazio = false;
    for (;;) {
        const char* antes = p;
        while (p < fim && Branco(*p))
            ++p;
        if (p >= fim)
            return Falhar(QStringLiteral("marca de início sem fim"));
        if (*p == '>') {
            ++p;
            break;
        }
        if (*p == '/') {
            if (p + 1 >= fim || p[1] != '>')
                return Falhar(QStringLiteral("\"/\" fora de lugar"));
            p += 2;
            vazio = true;
            break;
        }
        if (p == antes)
            return Falhar(QStringLiteral("falta espaço entre atributos"));
        const char* an = p;
        while (p < fim && !FimNome(*p))
            ++p;
        const QByteArrayView aq(an, p - an);
        while (p < fim && Branco(*p))
            ++p;
        if (aq.isEmpty() || p >= fim || *p != '=')
            return Falhar(QStringLiteral("atributo sem valor"));
        ++p;
        while (p < fim && Branco(*p))
            ++p;
        if (p >= fim || (*p != '"' && *p != '\''))
            return Falhar(QStringLiteral("valor de atributo sem aspas"));
        const char aspa = *p++;
        const char* v = p;
        const char* f = static_cast<const char*>(std::memchr(p, aspa, size_t(fim - p)));
        if (!f)
            return Falhar(QStringLiteral("valor de atributo sem fim"));
        const QByteArrayView bruto(v, f - v);
        if (bruto.contains('<'))
            return Falhar(QStringLiteral("\"<\" em valor de atributo"));
        p = f + 1;
        const qsizetype dp = aq.indexOf(':');
        const QByteArrayView prefixo = dp < 0 ? QByteArrayView() : aq.first(dp);
        const QByteArrayView nomeLocal = dp < 0 ? aq : aq.sliced(dp + 1);
        if (aq == QByteArrayView("xmlns") || prefixo == QByteArrayView("xmlns")) {
            Decl d;
            d.prefixo = dp < 0 ? QByteArrayView() : nomeLocal;
            if (!Decodificar(bruto, d.uri, true))
                return Erro;
            if (!d.prefixo.isEmpty() && d.uri.empty())
                return Falhar(QStringLiteral("prefixo declarado sem namespace"));
            decls.push_back(std::move(d));
            ++novas;
        } else {
            attrs.push_back(Attr{prefixo, nomeLocal, bruto});
        }
    }
    if (int(pilha.size()) >= ProfundidadeMaxima)
        return Falhar(QStringLiteral("mais de %1 elementos aninhados").arg(ProfundidadeMaxima));
    const qsizetype dp = qname.indexOf(':');
    const QByteArrayView prefixo = dp < 0 ? QByteArrayView() : qname.first(dp);
    const int i = Resolver(prefixo);
    if (i == -2)
        return Falhar(
            QStringLiteral("prefixo \"%1\" não declarado").arg(QString::fromUtf8(prefixo.data(), prefixo.size())));
    for (const Attr& a : attrs)
        if (!a.prefixo.isEmpty() && Resolver(a.prefixo) == -2)
            return Falhar(QStringLiteral("prefixo \"%1\" não declarado")
                              .arg(QString::fromUtf8(a.prefixo.data(), a.prefixo.size())));
    local = dp < 0 ? qname : qname.sliced(dp + 1);
    iDeclAtual = i < 0 ? -1 : i;
    pilha.push_back(Elemento{qname, local, iDeclAtual, novas});
    raizVista = true;
    fimVazioPendente = vazio;
    return token = Inicio;
}

clsLeitorXml::Token clsLeitorXml::LerFim()
{
    p += 2;
    const char* n = p;
    while (p < fim && !FimNome(*p))
        ++p;
    const QByteArrayView qname(n, p - n);
    while (p < fim && Branco(*p))
        ++p;
    if (p >= fim || *p != '>')
        return Falhar(QStringLiteral("marca de fim sem \">\""));
    ++p;
    if (pilha.empty() || pilha.back().qname != qname)
        return Falhar(QStringLiteral("marca de fim \"%1\" não corresponde à de início")
                          .arg(QString::fromUtf8(qname.data(), qname.size())));
    const Elemento& el = pilha.back();
    local = el.local;
    iDeclAtual = el.iDecl;
    declsPendentes = el.qtdeDecl;
    pilha.pop_back();
    return token = Fim;
}

bool clsLeitorXml::Atributo(QByteArrayView ns, QByteArrayView nome, std::string& valor) const
{
    for (const Attr& a : attrs) {
        if (a.local != nome)
            continue;
        QByteArrayView uri;
        if (!a.prefixo.isEmpty()) {
            const int i = Resolver(a.prefixo);
            uri = i >= 0 ? QByteArrayView(decls[size_t(i)].uri) : (i == -3 ? NsXml : QByteArrayView());
        }
        if (uri != ns)
            continue;
        valor.clear();
        return const_cast<clsLeitorXml*>(this)->Decodificar(a.bruto, valor, true);
    }
    return false;
}

bool clsLeitorXml::Nulo() const
{
    if (attrs.empty())
        return false;
    std::string v;
    return Atributo(NsXsi, "nil", v) && (v == "true" || v == "1");
}

bool clsLeitorXml::LerTexto(QByteArrayView& saida, std::string& buffer)
{
    if (token != Inicio)
        return false;
    saida = QByteArrayView();
    if (!fimVazioPendente) {
        // The common case, plain text and then this element's end tag, read in one pass.
        const char* q = p;
        while (q < fim && *q != '<' && *q != '&' && *q != '\r')
            ++q;
        const Elemento& el = pilha.back();
        const qsizetype n = el.qname.size();
        if (q < fim && *q == '<' && fim - q > n + 2 && q[1] == '/'
            && std::memcmp(q + 2, el.qname.data(), size_t(n)) == 0 && q[2 + n] == '>') {
            saida = QByteArrayView(p, q - p);
            p = q + n + 3;
            declsPendentes = el.qtdeDecl;
            pilha.pop_back();
            token = Fim;
            return true;
        }
    }
    buffer.clear();
    bool usouBuffer = false;
    for (;;) {
        switch (Proximo()) {
        case Texto:
            if (saida.isEmpty() && !usouBuffer) {
                saida = texto;
                if (texto.data() == bufTexto.data()) { // decoded: keep it before the next call
                    buffer.swap(bufTexto);
                    saida = QByteArrayView(buffer);
                    usouBuffer = true;
                }
            } else {
                if (!usouBuffer) {
                    buffer.assign(saida.data(), size_t(saida.size()));
                    usouBuffer = true;
                }
                buffer.append(texto.data(), size_t(texto.size()));
                saida = QByteArrayView(buffer);
            }
            break;
        case Fim: return true;
        case Inicio: Falhar(QStringLiteral("elemento dentro de um valor de texto")); return false;
        default: return false;
        }
    }
}

bool clsLeitorXml::Pular()
{
    if (token != Inicio)
        return false;
    int nivel = 1;
    while (nivel > 0) {
        switch (Proximo()) {
        case Inicio: ++nivel; break;
        case Fim: --nivel; break;
        case Texto: break;
        default: return false;
        }
    }
    return true;
}

bool clsLeitorXml::ProximoFilho()
{
    for (;;) {
        switch (Proximo()) {
        case Inicio: return true;
        case Texto: break;
        default: return false; // Fim of the current element, the document's end or an error
        }
    }
}
