#include "mdlRespostaWeb.h"

#include "clsLeitorXml.h"
#include "mdlDataSetXml.h"

#include <QXmlStreamReader>
#include <charconv>
#include <limits>

namespace respostaweb {

namespace {

const QByteArray NsEnvelope("http://schemas.xmlsoap.org/soap/envelope/");
const QByteArray NsXs("http://www.w3.org/2001/XMLSchema");
const QByteArray NsDiffgr("urn:schemas-microsoft-com:xml-diffgram-v1");

constexpr qint64 TamanhoOutros = 255;

enum class Conversao : uint8_t { Inteiro16, Inteiro32, Inteiro64, Booleano, Texto };

struct Coluna {
    QByteArray nomeXml;
    QString nome;
    QString tipoXs;
    Conversao conv;
};

QString Str(QByteArrayView v) { return QString::fromUtf8(v.data(), v.size()); }

QByteArrayView Aparar(QByteArrayView v)
{
    while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t' || v.front() == '\n' || v.front() == '\r'))
        v = v.sliced(1);
    while (!v.isEmpty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\n' || v.back() == '\r'))
        v.chop(1);
    return v;
}

QString XmlAtributo(const std::string& s)
{
    QString r = QString::fromStdString(s);
    r.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'"', QStringLiteral("&quot;"));
    return r;
}

// The schema is small: its bytes are read again, with the namespaces declared around it, by the
// data-set reader that knows the schema's layout.
bool LerSchema(QByteArrayView trecho,
               const std::vector<std::pair<std::string, std::string>>& escopo,
               datasetxml::DataSetXml& ds,
               QString& erro)
{
    QString envoltorio = QStringLiteral("<w");
    QHash<QString, QString> vistos;
    for (auto it = escopo.rbegin(); it != escopo.rend(); ++it) {
        const QString prefixo = QString::fromStdString(it->first);
        if (vistos.contains(prefixo))
            continue;
        vistos.insert(prefixo, QString());
        envoltorio += (prefixo.isEmpty() ? QStringLiteral(" xmlns=\"")
                                         : QStringLiteral(" xmlns:") + prefixo + QStringLiteral("=\""))
                      + XmlAtributo(it->second) + u'"';
    }
    QByteArray xml = envoltorio.toUtf8() + '>';
    xml.append(trecho.data(), trecho.size());
    xml += "</w>";
    QXmlStreamReader r(xml);
    r.readNextStartElement();
    return datasetxml::LerDataSet(r, ds, erro, datasetxml::Valores::Texto);
}

class Leitura {
public:
    explicit Leitura(clsLeitorXml& x, RespostaWeb& r) : x(x), r(r) {}

    // Standing on the first child element of a value: its data set, up to the value's end.
    bool DataSet()
    {
        r.comDataSet = true;
        const int nivel = x.Profundidade() - 1; // the value element's
        bool temSchema = false;
        do {
            if (x.E(NsXs, "schema")) {
                const qsizetype inicio = x.InicioTag();
                const auto escopo = x.DeclaracoesEmEscopo();
                if (!x.Pular())
                    return false;
                const QByteArrayView trecho = x.Trecho(inicio, x.Posicao());
                datasetxml::DataSetXml ds;
                QString erro;
                if (!LerSchema(trecho, escopo, ds, erro))
                    Recusar(QStringLiteral("O esquema do conjunto de dados não pôde ser lido: ") + erro);
                else
                    MontarCampos(ds);
                temSchema = true;
            } else if (x.E(NsDiffgr, "diffgram") && temSchema && r.erroDataSet.isEmpty() && dados) {
                if (!Diffgram())
                    return !x.TemErro() && Concluir(nivel);
            } else if (x.E(NsDiffgr, "diffgram") && !temSchema) {
                Recusar(QStringLiteral("O conjunto de dados chegou sem esquema."));
                if (!x.Pular())
                    return false;
            } else if (!x.Pular()) {
                return false;
            }
        } while (x.ProximoFilho());
        if (x.TemErro())
            return false;
        if (!temSchema)
            Recusar(QStringLiteral("O conjunto de dados chegou sem esquema."));
        if (r.erroDataSet.isEmpty())
            r.dataSet = dados ? clsRecordset::Criar(std::move(dados), ado::adLockBatchOptimistic)
                              : std::make_shared<clsRecordset>();
        return true;
    }

private:
    // After a refused data set: reads on to the end of the value element at depth `nivel`.
    bool Concluir(int nivel)
    {
        for (;;) {
            const clsLeitorXml::Token t = x.Proximo();
            if (t == clsLeitorXml::Fim && x.Profundidade() < nivel)
                return true;
            if (t == clsLeitorXml::Erro || t == clsLeitorXml::FimDocumento)
                return false;
        }
    }

    void Recusar(const QString& motivo)
    {
        if (r.erroDataSet.isEmpty())
            r.erroDataSet = motivo;
        dados.reset();
    }

    void MontarCampos(const datasetxml::DataSetXml& ds)
    {
        if (ds.tabelas.isEmpty())
            return; // no table: a statement without rows
        const datasetxml::TabelaXml& t = ds.tabelas.first();
        if (t.colunas.isEmpty()) {
            Recusar(QStringLiteral("A tabela %1 do conjunto de dados não descreve colunas.").arg(t.nome));
            return;
        }
        tabelaXml = t.nomeXml.toUtf8();
        dados = std::make_shared<clsRecordsetDados>();
        for (const datasetxml::ColunaXml& c : t.colunas) {
            const TipoLocal tl = TipoDaColuna(c.tipo);
            CampoInfo f;
            f.nome = c.nome;
            f.tipo = tl.tipo;
            f.tamanho = ado::TipoTexto(tl.tipo) ? tl.tamanho : ado::TamanhoFixo(tl.tipo);
            dados->campos.append(f);
            // Any other type is text: its defined size is what the column declares, never a cut of
            // the value (a date keeps its digits, a binary value its whole base64).
            Conversao conv = Conversao::Texto;
            if (tl.tipo == ado::adSmallInt)
                conv = Conversao::Inteiro16;
            else if (tl.tipo == ado::adInteger)
                conv = Conversao::Inteiro32;
            else if (tl.tipo == ado::adBigInt)
                conv = Conversao::Inteiro64;
            else if (tl.tipo == ado::adBoolean)
                conv = Conversao::Booleano;
            colunas.push_back(Coluna{c.nomeXml.toUtf8(), c.nome, c.tipo, conv});
        }
    }

    int Indice(QByteArrayView nome, int sugestao) const
    {
        const int n = int(colunas.size());
        for (int k = 0; k < n; ++k) {
            const int i = (sugestao + k) % n;
            if (colunas[size_t(i)].nomeXml == nome)
                return i;
        }
        return -1;
    }

    // Converts a value for its column; a text stays in `texto`, whole.
    bool Valor(int c, QByteArrayView& texto, Celula& cel) const
    {
        const Coluna& col = colunas[size_t(c)];
        switch (col.conv) {
        case Conversao::Inteiro16:
        case Conversao::Inteiro32:
        case Conversao::Inteiro64: {
            const QByteArrayView t = Aparar(texto);
            int64_t v = 0;
            const char* ini = t.data();
            if (!t.isEmpty() && *ini == '+')
                ++ini;
            const auto [fimNum, ec] = std::from_chars(ini, t.data() + t.size(), v);
            const int64_t lim = col.conv == Conversao::Inteiro16   ? 32767
                                : col.conv == Conversao::Inteiro32 ? 2147483647
                                                                   : INT64_MAX; // from_chars refuses beyond
            if (t.isEmpty() || ec != std::errc() || fimNum != t.data() + t.size() || v > lim || v < -lim - 1)
                return false;
            cel = Celula{Marca::Inteiro, uint64_t(v)};
            return true;
        }
        case Conversao::Booleano: {
            const QByteArrayView t = Aparar(texto);
            if (t == QByteArrayView("true") || t == QByteArrayView("1"))
                cel = Celula{Marca::Inteiro, 1};
            else if (t == QByteArrayView("false") || t == QByteArrayView("0"))
                cel = Celula{Marca::Inteiro, 0};
            else
                return false;
            return true;
        }
        case Conversao::Texto: cel = Celula{Marca::Texto, 0}; return true;
        }
        return false;
    }

    void Empurrar(int c, const Celula& cel, QByteArrayView texto)
    {
        if (cel.marca == Marca::Texto)
            dados->AcrescentarTexto(c, texto.data(), size_t(texto.size()));
        else if (cel.marca == Marca::Inteiro)
            dados->AcrescentarInteiro(c, int64_t(cel.carga));
        else
            dados->AcrescentarNulo(c);
    }

    // The diffgram: the data-set element holds the rows; rows of other tables and the "before" and
    // "errors" parts are passed over. Values go straight into the recordset's cells, in column
    // order; one out of order (or repeated) is written over the cell already filled. False stops
    // the reading (the reason is set).
    bool Diffgram()
    {
        const int n = int(colunas.size());
        std::string buf;
        long numero = 0;
        while (x.ProximoFilho()) {
            if (x.Uri() == NsDiffgr) {
                if (!x.Pular())
                    return false;
                continue;
            }
            while (x.ProximoFilho()) { // a row
                if (x.Local() != QByteArrayView(tabelaXml) || !x.Uri().isEmpty()) {
                    if (!x.Pular())
                        return false;
                    continue;
                }
                ++numero;
                const uint32_t linha = uint32_t(dados->QtdeLinhas());
                int escritas = 0;
                while (x.ProximoFilho()) { // its values
                    const int c = Indice(x.Local(), escritas < n ? escritas : 0);
                    if (c < 0) {
                        Recusar(QStringLiteral("A linha %1 traz a coluna \"%2\", que o esquema não descreve.")
                                    .arg(numero)
                                    .arg(Str(x.Local())));
                        return false;
                    }
                    const bool nulo = x.Nulo();
                    QByteArrayView texto;
                    if (!x.LerTexto(texto, buf))
                        return false;
                    Celula cel{};
                    if (!nulo && !Valor(c, texto, cel)) {
                        Recusar(QStringLiteral("Valor \"%1\" inválido para a coluna %2 (%3) na linha %4.")
                                    .arg(Str(texto.first(qMin<qsizetype>(texto.size(), 100))),
                                         colunas[size_t(c)].nome,
                                         colunas[size_t(c)].tipoXs)
                                    .arg(numero));
                        return false;
                    }
                    if (c >= escritas) {
                        for (; escritas < c; ++escritas)
                            dados->AcrescentarNulo(escritas);
                        Empurrar(c, cel, texto);
                        escritas = c + 1;
                    } else {
                        Celula sobre = cel;
                        if (cel.marca == Marca::Texto)
                            dados->DeVariant(QVariant(Str(texto)), c, sobre);
                        dados->Gravar(linha, c, sobre);
                    }
                }
                if (x.TemErro())
                    return false;
                for (; escritas < n; ++escritas)
                    dados->AcrescentarNulo(escritas);
                dados->FecharLinha();
            }
            if (x.TemErro())
                return false;
        }
        return !x.TemErro();
    }

    clsLeitorXml& x;
    RespostaWeb& r;
    std::shared_ptr<clsRecordsetDados> dados;
    std::vector<Coluna> colunas;
    QByteArray tabelaXml;
};

void LerFalha(clsLeitorXml& x, RespostaWeb& r)
{
    r.falha = true;
    std::string buf;
    while (x.ProximoFilho()) {
        QByteArrayView t;
        if (x.Local() == QByteArrayView("faultcode")) {
            if (x.LerTexto(t, buf))
                r.codigoFalha = Str(Aparar(t));
        } else if (x.Local() == QByteArrayView("faultstring")) {
            if (x.LerTexto(t, buf))
                r.textoFalha = Str(t);
        } else {
            x.Pular();
        }
    }
}

} // namespace

TipoLocal TipoDaColuna(const QString& tipoXs)
{
    if (tipoXs == u"xs:short")
        return {ado::adSmallInt, 0};
    if (tipoXs == u"xs:string")
        return {ado::adVarWChar, 8000};
    if (tipoXs == u"xs:int")
        return {ado::adInteger, 0};
    if (tipoXs == u"xs:long")
        return {ado::adBigInt, 0};
    if (tipoXs == u"xs:boolean")
        return {ado::adBoolean, 0};
    return {ado::adVarWChar, TamanhoOutros};
}

namespace {

RespostaWeb LerDe(clsLeitorXml& x)
{
    RespostaWeb r;
    auto erroXml = [&] {
        r.erro = x.TemErro() ? x.MensagemErro() : QStringLiteral("A resposta do WebService não é um envelope SOAP.");
        return r;
    };
    if (!x.ProximoFilho() || !x.E(NsEnvelope, "Envelope"))
        return erroXml();
    bool temCorpo = false;
    while (x.ProximoFilho()) {
        if (!x.E(NsEnvelope, "Body")) {
            if (!x.Pular())
                return erroXml();
            continue;
        }
        temCorpo = true;
        while (x.ProximoFilho()) {
            if (x.E(NsEnvelope, "Fault")) {
                LerFalha(x, r);
                continue;
            }
            if (!r.elemento.isEmpty()) { // only the first element of the body is the answer
                if (!x.Pular())
                    return erroXml();
                continue;
            }
            r.elemento = Str(x.Local());
            while (x.ProximoFilho()) {
                const QString nome = Str(x.Local());
                std::string buf;
                QString texto;
                bool dataSet = false;
                for (bool fimValor = false; !fimValor;) {
                    switch (x.Proximo()) {
                    case clsLeitorXml::Texto: texto += Str(x.TextoAtual()); break;
                    case clsLeitorXml::Inicio: {
                        Leitura l(x, r);
                        if (!l.DataSet())
                            return erroXml();
                        dataSet = true;
                        fimValor = true;
                        break;
                    }
                    case clsLeitorXml::Fim: fimValor = true; break;
                    default: return erroXml();
                    }
                }
                if (!dataSet)
                    r.textos.insert(nome, texto);
            }
            if (x.TemErro())
                return erroXml();
        }
        if (x.TemErro())
            return erroXml();
    }
    if (x.TemErro() || x.Proximo() != clsLeitorXml::FimDocumento)
        return erroXml();
    if (!temCorpo) {
        r.erro = QStringLiteral("A resposta do WebService não tem corpo SOAP.");
        return r;
    }
    r.ok = true;
    return r;
}

} // namespace

RespostaWeb Ler(QByteArrayView corpo)
{
    clsLeitorXml x(corpo);
    return LerDe(x);
}

RespostaWeb Ler(const http::CorpoCrescente& corpo)
{
    clsLeitorXml x(corpo.Dados(), [&corpo](qsizetype n) { return qsizetype(corpo.Esperar(n)); });
    RespostaWeb r = LerDe(x);
    if (r.ok && r.erroDataSet.isEmpty())
        return r;
    // Read again whole once it has all arrived: only a value longer than the reader's window can
    // have failed on the end of what had arrived, and the answer must say what the body holds.
    const qint64 tudo = corpo.Esperar(std::numeric_limits<qint64>::max());
    return Ler(QByteArrayView(corpo.Dados(), qsizetype(tudo)));
}

} // namespace respostaweb
