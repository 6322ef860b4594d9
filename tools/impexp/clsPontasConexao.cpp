#include "clsPontasConexao.h"

#include "platform/mdlCitacao.h"
#include "platform/mdlDecimal.h"

#include <QDateTime>
#include <optional>

using namespace ado;

namespace impexp {

namespace {

// The engine's default schema where the object names none, so that a namesake in another schema
// is never read or written.
ObjetoBanco ComEsquema(clsMotor& m, ObjetoBanco o)
{
    if (o.esquema.isEmpty() && m.DialetoSql() == Dialeto::PostgreSql)
        o.esquema = m.EsquemaPadrao();
    return o;
}

// Characters (not UTF-16 units) of a UTF-8 text.
qint64 Caracteres(const char* p, uint32_t n)
{
    qint64 r = 0;
    for (uint32_t i = 0; i < n; ++i)
        r += (static_cast<unsigned char>(p[i]) & 0xC0) != 0x80;
    return r;
}

bool TextoLimitado(const ColunaCopia& c)
{
    return (c.tipoCatalogo == adChar || c.tipoCatalogo == adWChar) && c.tamanho < 1073741823 && !TextoSemLimite(c)
           && !ColunaBooleana(c);
}

// A column whose values SQLite turns into numbers (NUMERIC or REAL affinity).
bool NumericaSqlite(const ColunaCopia& c) { return TipoReal(c.tipoCatalogo); }

std::optional<bool> Booleano(const QString& t)
{
    const QString v = t.trimmed().toLower();
    if (v == u"1" || v == u"true" || v == u"t")
        return true;
    if (v == u"0" || v == u"false" || v == u"f")
        return false;
    return std::nullopt;
}

} // namespace

Acao AcaoDoTexto(const QString& texto, bool* ok)
{
    const QString t = texto.trimmed().toLower();
    if (ok)
        *ok = true;
    if (t == u"acrescentar")
        return Acao::Acrescentar;
    if (t == u"substituir")
        return Acao::Substituir;
    if (t == u"recriar")
        return Acao::Recriar;
    if (ok)
        *ok = t.isEmpty() || t == u"criar";
    return Acao::Criar;
}

QString TextoDaAcao(Acao a)
{
    switch (a) {
    case Acao::Criar: return QStringLiteral("Criar a tabela");
    case Acao::Acrescentar: return QStringLiteral("Acrescentar as linhas");
    case Acao::Substituir: return QStringLiteral("Substituir as linhas");
    case Acao::Recriar: return QStringLiteral("Excluir e criar a tabela");
    }
    return {};
}

// ---------------------------------------------------------------- reading

bool clsFilaBlocos::Por(std::shared_ptr<const clsRecordsetDados> bloco)
{
    std::unique_lock<std::mutex> g(mtx);
    mudou.wait(g, [this] { return recusou || blocos.size() < limite; });
    if (recusou)
        return false;
    blocos.push_back(std::move(bloco));
    mudou.notify_all();
    return true;
}

std::shared_ptr<const clsRecordsetDados> clsFilaBlocos::Tirar()
{
    std::unique_lock<std::mutex> g(mtx);
    mudou.wait(g, [this] { return terminou || !blocos.empty(); });
    if (blocos.empty())
        return {};
    auto b = std::move(blocos.front());
    blocos.pop_front();
    mudou.notify_all();
    return b;
}

void clsFilaBlocos::Terminar()
{
    std::lock_guard<std::mutex> g(mtx);
    terminou = true;
    mudou.notify_all();
}

void clsFilaBlocos::Recusar()
{
    std::lock_guard<std::mutex> g(mtx);
    recusou = true;
    blocos.clear();
    mudou.notify_all();
}

clsLeitorConexao::clsLeitorConexao(std::shared_ptr<clsMotor> motor, ObjetoBanco t, QString c)
    : m(std::move(motor)), tabela(std::move(t)), consulta(std::move(c))
{
    while (consulta.trimmed().endsWith(u';'))
        consulta = consulta.trimmed().chopped(1);
}

bool clsLeitorConexao::Estrutura(EstruturaCopia& saida, QString& erro)
{
    if (consulta.isEmpty()) {
        tabela = ComEsquema(*m, tabela);
        if (!LerEstrutura(*m, tabela, estrutura, erro))
            return false;
    } else {
        // The query's columns, without its rows.
        RecordsetPtr rs;
        if (!m->Executar(QStringLiteral("SELECT * FROM (") + consulta + QStringLiteral(") q WHERE 1 = 0"),
                         &rs,
                         adLockReadOnly,
                         nullptr)
            || !rs) {
            erro = TextoErro(m->Erro());
            return false;
        }
        estrutura = EstruturaDosCampos(rs->Dados().campos, m->DialetoSql());
    }
    saida = estrutura;
    return true;
}

QString clsLeitorConexao::Sql() const
{
    if (!consulta.isEmpty())
        return consulta;
    QStringList nomes;
    for (const ColunaCopia& c : estrutura.colunas)
        nomes << m->CitarIdentificador(c.nome);
    return QStringLiteral("SELECT ") + nomes.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
           + m->NomeQualificado(tabela);
}

bool clsLeitorConexao::Ler(const RecebeBloco& recebe, QString& erro)
{
    if (parar->load())
        return false;
    bool recusado = false;
    m->DefinirParada(parar);
    m->DefinirEntregaLinhas([&](std::shared_ptr<clsRecordsetDados> bloco) {
        if (!recusado && !recebe(bloco)) {
            recusado = true;
            parar->store(true);
        }
    });
    RecordsetPtr rs;
    bool ok = m->Executar(Sql(), &rs, adLockReadOnly, nullptr);
    m->DefinirEntregaLinhas({});
    m->DefinirParada(nullptr);
    if (ok && rs && !recusado && rs->Dados().QtdeLinhas() > 0)
        ok = recebe(std::shared_ptr<const clsRecordsetDados>(rs, &rs->Dados()));
    else if (!ok && !recusado)
        erro = TextoErro(m->Erro());
    return ok && !recusado;
}

void clsLeitorConexao::Interromper()
{
    parar->store(true);
    m->Interromper();
}

// ---------------------------------------------------------------- writing

clsEscritorConexao::clsEscritorConexao(std::shared_ptr<clsMotor> motor, ObjetoBanco t)
    : m(std::move(motor)), tabela(std::move(t))
{}

clsEscritorConexao::~clsEscritorConexao() { Desfazer(); }

bool clsEscritorConexao::Iniciar(const EstruturaCopia& origem, Acao acao, QString& erro)
{
    tabela = ComEsquema(*m, tabela);
    const QString nome = m->NomeQualificado(tabela);
    if (m->SomenteLeitura()) {
        erro = QStringLiteral("O destino foi aberto somente para leitura.");
        return false;
    }
    bool existe = false;
    if (!TabelaExiste(*m, tabela, existe, erro))
        return false;
    if (existe && acao == Acao::Criar) {
        erro = QStringLiteral("A tabela %1 já existe no destino. Escolha acrescentar, substituir as linhas ou "
                              "excluir e criar a tabela.")
                   .arg(tabela.Exibicao());
        return false;
    }
    const auto executar = [&](const QString& sql) {
        if (m->Executar(sql, nullptr, adLockReadOnly, nullptr))
            return true;
        erro = TextoErro(m->Erro()) + QStringLiteral("\n") + sql;
        return false;
    };
    if (!m->IniciarTransacao()) {
        erro = TextoErro(m->Erro());
        return false;
    }
    bool ok = true;
    if (existe && acao == Acao::Recriar)
        ok = executar(QStringLiteral("DROP TABLE ") + nome);
    else if (existe && acao == Acao::Substituir)
        ok = executar(QStringLiteral("DELETE FROM ") + nome);
    if (ok && (!existe || acao == Acao::Recriar))
        ok = executar(SqlCriarTabela(*m, tabela, origem));
    EstruturaCopia lida;
    if (ok)
        ok = LerEstrutura(*m, tabela, lida, erro);
    destino = {};
    QStringList colunas;
    for (int i = 0; ok && i < origem.colunas.size(); ++i) {
        int achada = -1;
        for (int j = 0; j < lida.colunas.size() && achada < 0; ++j)
            if (m->MesmoNome(lida.colunas[j].nome, origem.colunas[i].nome))
                achada = j;
        if (achada < 0) {
            erro = QStringLiteral("A coluna '%1' não existe na tabela %2 do destino.")
                       .arg(origem.colunas[i].nome, tabela.Exibicao());
            ok = false;
            break;
        }
        destino.colunas << lida.colunas[achada];
        colunas << m->CitarIdentificador(lida.colunas[achada].nome);
    }
    if (!ok) {
        Desfazer();
        return false;
    }
    formas.clear();
    limitados.clear();
    for (const ColunaCopia& c : destino.colunas)
        limitados.push_back(TextoLimitado(c));
    for (const ColunaCopia& c : destino.colunas) {
        const QString base = NomeBase(c.declarado);
        formas.push_back(
            c.tipoCatalogo == adDBDate || base == u"date" ? clsMotor::FormaData::SoData
            : c.tipoCatalogo == adDBTime
                    || (base.startsWith(QStringLiteral("time")) && !base.startsWith(QStringLiteral("timestamp")))
                ? clsMotor::FormaData::SoHora
                : clsMotor::FormaData::Natural);
    }
    // A PostgreSQL identity GENERATED ALWAYS takes the copied values only when told to.
    bool sempre = false;
    for (const ColunaCopia& c : destino.colunas)
        sempre = sempre || c.identidadeSempre;
    prefixo = QStringLiteral("INSERT INTO ") + nome + QStringLiteral(" (") + colunas.join(QStringLiteral(", "))
              + (sempre ? QStringLiteral(") OVERRIDING SYSTEM VALUE VALUES ") : QStringLiteral(") VALUES "));
    marcasLinha = u'(' + QStringList(colunas.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + u')';
    // Bulk writing by arrays: each column's values as an array of the column's own type.
    if (m->InsercaoPorArrays()) {
        QStringList arrays;
        for (const ColunaCopia& c : destino.colunas)
            arrays << QStringLiteral("?::%1[]").arg(c.declarado.isEmpty() ? QStringLiteral("text") : c.declarado);
        insercaoArrays = prefixo.chopped(QStringLiteral("VALUES ").size()) + QStringLiteral("SELECT * FROM unnest(")
                         + arrays.join(QStringLiteral(", ")) + u')';
    }
    // Rows per statement, under each engine's limit of bound values.
    const int n = qMax(1, int(colunas.size()));
    switch (m->DialetoSql()) {
    case Dialeto::Sqlite: loteLinhas = qBound(1, 30000 / n, 500); break;
    case Dialeto::PostgreSql: loteLinhas = qBound(1, 30000 / n, 500); break;
    case Dialeto::SqlServer: loteLinhas = qBound(1, 2000 / n, 500); break;
    case Dialeto::Outro: loteLinhas = 1; break;
    }
    sqlite = m->DialetoSql() == Dialeto::Sqlite;
    return true;
}

QString clsEscritorConexao::ErroDaLinha(qint64 linha, const QString& motivo, int coluna) const
{
    if (coluna < 0) {
        // The engine's message may name the column.
        int melhor = -1;
        for (int i = 0; i < destino.colunas.size(); ++i) {
            const QString& n = destino.colunas[i].nome;
            if (motivo.contains(n, Qt::CaseInsensitive)
                && (melhor < 0 || n.size() > destino.colunas[melhor].nome.size()))
                melhor = i;
        }
        coluna = melhor;
    }
    if (coluna < 0)
        return QStringLiteral("Linha %1: %2").arg(linha).arg(motivo);
    return QStringLiteral("Linha %1, coluna '%2': %3").arg(linha).arg(destino.colunas[coluna].nome, motivo);
}

QString clsEscritorConexao::NaoCabe(const clsRecordsetDados& bloco, Celula v, int i) const
{
    const ColunaCopia& c = destino.colunas[i];
    if (sqlite) {
        // SQLite takes any value, but keeps a decimal of a numeric column as a double.
        std::string buffer;
        if (v.marca == Marca::Decimal && NumericaSqlite(c)) {
            const std::string_view t = bloco.TextoDecimal(v, buffer);
            return m->DecimalNaoGuardado(c.nome, t, false);
        }
        return {};
    }
    if (v.marca == Marca::Nulo)
        return c.anulavel ? QString() : QStringLiteral("a coluna não aceita valores nulos.");
    if (v.marca == Marca::Texto && limitados[size_t(i)]) {
        uint32_t n;
        const char* p = bloco.Bytes(v, n);
        const qint64 k = Caracteres(p, n);
        if (k > c.tamanho)
            return QStringLiteral("o texto tem %1 caracteres e a coluna aceita %2.").arg(k).arg(c.tamanho);
    }
    if (c.tipoCatalogo == adNumeric && c.precisao > 0 && (c.declarado.isEmpty() || c.declarado.contains(u'('))
        && (v.marca == Marca::Decimal || v.marca == Marca::Inteiro || v.marca == Marca::Real)) {
        std::string buffer;
        const std::string_view t = bloco.TextoDecimal(v, buffer);
        if (!t.empty()) {
            const int escala = decimal::Escala(t);
            const int inteiros = decimal::Precisao(t) - escala;
            if (inteiros > c.precisao - c.escala)
                return QStringLiteral("o valor %1 não cabe em numeric(%2, %3).")
                    .arg(QString::fromLatin1(t.data(), qsizetype(t.size())))
                    .arg(c.precisao)
                    .arg(c.escala);
            if (escala > c.escala)
                return QStringLiteral("o valor %1 seria arredondado em numeric(%2, %3).")
                    .arg(QString::fromLatin1(t.data(), qsizetype(t.size())))
                    .arg(c.precisao)
                    .arg(c.escala);
        }
    }
    if (v.marca == Marca::Inteiro) {
        const qint64 x = qint64(v.carga);
        qint64 menor = 0, maior = -1;
        switch (c.tipoCatalogo) {
        case adSmallInt: menor = -32768, maior = 32767; break;
        case adInteger: menor = INT32_MIN, maior = INT32_MAX; break;
        case adUnsignedTinyInt: menor = 0, maior = 255; break;
        case adTinyInt: menor = -128, maior = 127; break;
        default: break;
        }
        if (maior >= menor && (x < menor || x > maior))
            return QStringLiteral("o valor %1 está fora do intervalo da coluna (%2 a %3).")
                .arg(x)
                .arg(menor)
                .arg(maior);
    }
    return {};
}

QVariant clsEscritorConexao::Parametro(const clsRecordsetDados& bloco, Celula v, int i) const
{
    QVariant p = bloco.ParaParametro(v, i);
    const ColunaCopia& c = destino.colunas[i];
    const QString base = NomeBase(c.declarado);
    if (p.typeId() == QMetaType::QDateTime) {
        const QDateTime d = p.toDateTime();
        if ((c.tipoCatalogo == adDBDate || base == u"date") && d.time() == QTime(0, 0))
            return QVariant(d.date());
        if (c.tipoCatalogo == adDBTime
            || (base.startsWith(QStringLiteral("time")) && !base.startsWith(QStringLiteral("timestamp"))))
            return QVariant(
                d.time().toString(d.time().msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss")));
    }
    // A double into a decimal column goes as its shortest exact text, not through the driver's rounding.
    if (v.marca == Marca::Real && c.tipoCatalogo == adNumeric) {
        std::string buffer;
        const std::string_view t = bloco.TextoDecimal(v, buffer);
        if (!t.empty())
            return QVariant::fromValue(decimal::Parametro{QByteArray(t.data(), qsizetype(t.size()))});
    }
    if (ColunaBooleana(c)) {
        if (v.marca == Marca::Inteiro)
            return QVariant(v.carga != 0);
        if (v.marca == Marca::Texto)
            if (const std::optional<bool> b = Booleano(bloco.Texto(v)))
                return QVariant(*b);
    }
    return p;
}

bool clsEscritorConexao::Inserir(const clsRecordsetDados& bloco,
                                 uint32_t de,
                                 uint32_t qtde,
                                 qint64 primeiraLinha,
                                 QString& erro)
{
    const int n = destino.colunas.size();
    std::vector<QVariant> valores;
    valores.reserve(size_t(qtde) * size_t(n));
    for (uint32_t r = de; r < de + qtde; ++r)
        for (int i = 0; i < n; ++i) {
            const Celula v = bloco.Ler(r, i);
            if (const QString porque = NaoCabe(bloco, v, i); !porque.isEmpty()) {
                erro = ErroDaLinha(primeiraLinha + r, porque, i);
                return false;
            }
            valores.push_back(Parametro(bloco, v, i));
        }
    QString sql = prefixo;
    sql.reserve(prefixo.size() + qsizetype(qtde) * (marcasLinha.size() + 2));
    for (uint32_t r = 0; r < qtde; ++r) {
        if (r)
            sql += QStringLiteral(", ");
        sql += marcasLinha;
    }
    long afetados = 0;
    if (m->ExecutarComParametros(sql, valores, afetados))
        return true;
    if (qtde == 1 || m->Erro().numero == ErrInterrompida) {
        erro = m->Erro().numero == ErrInterrompida ? m->Erro().descricao
                                                   : ErroDaLinha(primeiraLinha + de, m->Erro().descricao);
        return false;
    }
    // Row by row, to name the one the engine refused.
    for (uint32_t r = de; r < de + qtde; ++r)
        if (!Inserir(bloco, r, 1, primeiraLinha, erro))
            return false;
    erro = m->Erro().descricao;
    return false;
}

bool clsEscritorConexao::Escrever(const clsRecordsetDados& bloco, qint64 primeiraLinha, QString& erro)
{
    const uint32_t total = uint32_t(bloco.QtdeLinhas());
    if (m->InsercaoDireta()) {
        const int n = destino.colunas.size();
        for (uint32_t r = 0; r < total; ++r)
            for (int i = 0; i < n; ++i)
                if (const QString porque = NaoCabe(bloco, bloco.Ler(r, i), i); !porque.isEmpty()) {
                    erro = ErroDaLinha(primeiraLinha + r, porque, i);
                    return false;
                }
        uint32_t falhou = 0;
        if (m->InserirLinhas(m->InsercaoPorArrays() ? insercaoArrays : prefixo + marcasLinha,
                             bloco,
                             0,
                             total,
                             formas,
                             falhou))
            return true;
        erro = m->Erro().numero == ErrInterrompida ? m->Erro().descricao
                                                   : ErroDaLinha(primeiraLinha + falhou, m->Erro().descricao);
        return false;
    }
    for (uint32_t de = 0; de < total; de += uint32_t(loteLinhas))
        if (!Inserir(bloco, de, qMin<uint32_t>(uint32_t(loteLinhas), total - de), primeiraLinha, erro))
            return false;
    return true;
}

bool clsEscritorConexao::CopiarDoArquivo(const QString& arquivo,
                                         const ObjetoBanco& origem,
                                         const EstruturaCopia& e,
                                         Acao acao,
                                         qint64& linhas,
                                         QString& erro)
{
    linhas = 0;
    if (m->DialetoSql() != Dialeto::Sqlite || (acao != Acao::Criar && acao != Acao::Recriar))
        return false;
    const QString apelido = QStringLiteral("impexp_origem");
    // Every name of the destination is qualified from here on: the attached file has tables of the
    // same names, which must never be touched.
    const ObjetoBanco semEsquema = tabela;
    tabela.esquema = QStringLiteral("main");
    if (!m->Executar(QStringLiteral("ATTACH ") + citacao::Literal(TipoMotor::ArquivoJet, arquivo)
                         + QStringLiteral(" AS ") + apelido,
                     nullptr,
                     adLockReadOnly,
                     nullptr))
        return false;
    QStringList colunas;
    for (const ColunaCopia& c : e.colunas)
        colunas << m->CitarIdentificador(c.nome);
    long afetados = 0;
    const bool ok = Iniciar(e, acao, erro)
                    && m->Executar(QStringLiteral("INSERT INTO ") + m->NomeQualificado(tabela) + QStringLiteral(" (")
                                       + colunas.join(QStringLiteral(", ")) + QStringLiteral(") SELECT ")
                                       + colunas.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                                       + m->CitarIdentificador(apelido) + u'.' + m->CitarIdentificador(origem.nome),
                                   nullptr,
                                   adLockReadOnly,
                                   &afetados)
                    && Concluir(erro);
    if (!ok) {
        erro = m->Erro().numero == ErrInterrompida ? m->Erro().descricao : QString();
        Desfazer();
    }
    m->Executar(QStringLiteral("DETACH ") + apelido, nullptr, adLockReadOnly, nullptr);
    tabela = semEsquema;
    linhas = ok ? afetados : 0;
    return ok;
}

bool clsEscritorConexao::Concluir(QString& erro)
{
    // The numbering goes on past the copied values.
    for (const QString& sql : SqlAvancarSequencias(*m, tabela, destino))
        if (!m->Executar(sql, nullptr, adLockReadOnly, nullptr)) {
            erro = TextoErro(m->Erro()) + QStringLiteral("\n") + sql;
            Desfazer();
            return false;
        }
    if (m->ConfirmarTransacao())
        return true;
    erro = TextoErro(m->Erro());
    Desfazer();
    return false;
}

void clsEscritorConexao::Desfazer()
{
    if (m && m->EmTransacao())
        m->DesfazerTransacao();
}

} // namespace impexp
