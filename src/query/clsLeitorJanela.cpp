#include "clsLeitorJanela.h"

#include <QThread>

namespace {
// Blocks asked for and not read yet: older ones are dropped (the view has moved on since).
constexpr size_t MaxPedidos = 8;
} // namespace

clsLeitorJanela::clsLeitorJanela(std::shared_ptr<clsMotor> motor,
                                 QVector<CampoInfo> campos,
                                 Opcoes opcoes,
                                 QObject* pai)
    : QObject(pai), m_motor(std::move(motor)), m_campos(std::move(campos)), m_opcoes(opcoes)
{
    m_opcoes.linhasBloco = std::max(1, m_opcoes.linhasBloco);
    m_opcoes.blocosPorLote = std::max(1, m_opcoes.blocosPorLote);
    Enfileirar({-1,
                [this] {
                    QString motivo;
                    if (!Preparar(motivo)) {
                        Postar([this, motivo] { emit Recusado(motivo); });
                        return;
                    }
                    Postar([this] { Pedir(0); });
                    Contar(0, {});
                }},
               false);
    m_linha = QThread::create([this] { Trabalhar(); });
    m_linha->setObjectName(QStringLiteral("clsLeitorJanela"));
    m_linha->start();
}

clsLeitorJanela::~clsLeitorJanela()
{
    {
        std::lock_guard trava(m_mtx);
        m_fim = true;
    }
    m_parar->store(true);
    m_cv.notify_all();
    m_motor->Interromper();
    m_linha->wait();
    delete m_linha;
}

bool clsLeitorJanela::Suportado(const clsMotor& motor, QString* motivo)
{
    const Dialeto d = motor.DialetoSql();
    if (d == Dialeto::Sqlite || d == Dialeto::PostgreSql)
        return true;
    if (motivo)
        *motivo = QStringLiteral("Este banco de dados não lê linhas sob demanda.");
    return false;
}

void clsLeitorJanela::Postar(std::function<void()> f)
{
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void clsLeitorJanela::Enfileirar(Tarefa t, bool urgente)
{
    {
        std::lock_guard trava(m_mtx);
        (urgente ? m_urgentes : m_fundo).push_back(std::move(t));
    }
    m_cv.notify_one();
}

// The worker: the newest urgent piece first, else the next piece of the count.
void clsLeitorJanela::Trabalhar()
{
    m_motor->DefinirParada(m_parar);
    for (;;) {
        Tarefa t;
        {
            std::unique_lock trava(m_mtx);
            m_cv.wait(trava, [this] { return m_fim || !m_urgentes.empty() || !m_fundo.empty(); });
            if (m_fim)
                break;
            std::deque<Tarefa>& fila = m_urgentes.empty() ? m_fundo : m_urgentes;
            if (&fila == &m_urgentes) {
                t = std::move(fila.back());
                fila.pop_back();
            } else {
                t = std::move(fila.front());
                fila.pop_front();
            }
        }
        t.f();
    }
    m_motor->DefinirParada(nullptr);
}

// The result's base table and its primary key, every key column among the fields.
bool clsLeitorJanela::Preparar(QString& motivo)
{
    if (!Suportado(*m_motor, &motivo))
        return false;
    const CampoInfo* base = nullptr;
    for (const CampoInfo& f : m_campos)
        if (!f.tabelaBase.isEmpty() && !f.colunaBase.isEmpty()) {
            if (!base)
                base = &f;
            else if (!m_motor->MesmoNome(f.tabelaBase, base->tabelaBase)
                     || !m_motor->MesmoNome(f.esquemaBase, base->esquemaBase))
                base = nullptr;
            if (!base)
                break;
        }
    if (!base) {
        motivo = QStringLiteral("O resultado não vem de uma única tabela.");
        return false;
    }
    const QStringList chave = m_motor->ChavesPrimarias(base->tabelaBase, base->esquemaBase, base->catalogoBase);
    if (chave.isEmpty()) {
        motivo = QStringLiteral("A tabela não tem chave primária.");
        return false;
    }
    for (const QString& k : chave) {
        bool achou = false;
        for (const CampoInfo& f : m_campos)
            achou
                = achou || (m_motor->MesmoNome(f.tabelaBase, base->tabelaBase) && m_motor->MesmoNome(f.colunaBase, k));
        if (!achou) {
            motivo = QStringLiteral("A chave primária da tabela não está no resultado.");
            return false;
        }
        m_chave << m_motor->CitarIdentificador(k);
    }
    m_tabela = m_motor->NomeQualificado(base->tabelaBase, base->esquemaBase, base->catalogoBase);
    m_ordem = m_chave.join(QStringLiteral(", "));
    return true;
}

// Rows after the key `depois` (empty: from the first row).
QString clsLeitorJanela::Onde(const Chave& depois) const
{
    if (depois.empty())
        return {};
    if (m_chave.size() == 1)
        return QStringLiteral(" WHERE %1 > ?").arg(m_chave.front());
    QStringList marcas;
    for (qsizetype i = 0; i < m_chave.size(); ++i)
        marcas << QStringLiteral("?");
    return QStringLiteral(" WHERE (%1) > (%2)").arg(m_ordem, marcas.join(QStringLiteral(", ")));
}

// One piece of the count: the keys of the next blocks, the last key of each noted; the next piece
// goes behind whatever was asked meanwhile.
void clsLeitorJanela::Contar(qint64 contadas, Chave depois)
{
    const qint64 lote = qint64(m_opcoes.linhasBloco) * m_opcoes.blocosPorLote;
    const QString sql
        = QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %1 LIMIT %4").arg(m_ordem, m_tabela, Onde(depois)).arg(lote);
    RecordsetPtr rs;
    long afetados = 0;
    if (!m_motor->ExecutarComParametros(sql, depois, afetados, &rs) || !rs) {
        if (m_parar->load())
            return;
        const QString erro = m_motor->Erro().descricao;
        Postar([this, erro] { emit Falhou(erro); });
        return;
    }
    const clsRecordsetDados& d = rs->Dados();
    const qint64 n = qint64(d.QtdeLinhas());
    std::vector<Chave> limites;
    auto chaveDa = [&d](uint32_t linha) {
        Chave k;
        for (int c = 0; c < d.QtdeCampos(); ++c)
            k.push_back(d.ParaParametro(d.Ler(linha, c), c));
        return k;
    };
    for (qint64 i = 0; i < n; ++i)
        if ((contadas + i + 1) % m_opcoes.linhasBloco == 0)
            limites.push_back(chaveDa(uint32_t(i)));
    const bool completo = n < lote;
    if (n > 0)
        depois = chaveDa(uint32_t(n - 1));
    contadas += n;
    Postar([this, limites = std::move(limites), contadas, completo]() mutable {
        for (Chave& k : limites)
            m_limites.push_back(std::move(k));
        m_linhas = contadas;
        m_contado = completo;
        emit LinhasContadas(contadas, completo);
    });
    if (!completo)
        Enfileirar({-1, [this, contadas, depois] { Contar(contadas, depois); }}, false);
}

void clsLeitorJanela::LerBloco(int bloco, const Chave& depois)
{
    const QString sql = QStringLiteral("SELECT * FROM %1%2 ORDER BY %3 LIMIT %4")
                            .arg(m_tabela, Onde(depois), m_ordem)
                            .arg(m_opcoes.linhasBloco);
    RecordsetPtr rs;
    long afetados = 0;
    const bool ok = m_motor->ExecutarComParametros(sql, depois, afetados, &rs) && rs;
    if (ok) {
        rs->setLockType(ado::adLockBatchOptimistic);
        rs->Dados().fonte = sql;
    }
    const QString erro = ok || m_parar->load() ? QString() : m_motor->Erro().descricao;
    Postar([this, bloco, rs, erro] {
        m_pedidos.erase(bloco);
        if (rs)
            Guardar(bloco, rs);
        else if (!erro.isEmpty())
            emit Falhou(erro);
    });
}

void clsLeitorJanela::Pedir(int bloco)
{
    if (m_pedidos.count(bloco) || (bloco > 0 && size_t(bloco) > m_limites.size()))
        return;
    m_pedidos.insert(bloco);
    Chave depois = bloco > 0 ? m_limites[size_t(bloco) - 1] : Chave{};
    std::lock_guard trava(m_mtx);
    m_urgentes.push_back({bloco, [this, bloco, depois = std::move(depois)] { LerBloco(bloco, depois); }});
    size_t pedidos = 0;
    for (const Tarefa& t : m_urgentes)
        pedidos += t.bloco >= 0;
    for (auto it = m_urgentes.begin(); pedidos > MaxPedidos && it != m_urgentes.end();) {
        if (it->bloco < 0) {
            ++it;
            continue;
        }
        m_pedidos.erase(it->bloco);
        it = m_urgentes.erase(it);
        --pedidos;
    }
    m_cv.notify_one();
}

clsRecordset* clsLeitorJanela::Linha(qint64 linha, int& local)
{
    if (linha < 0 || linha >= m_linhas)
        return nullptr;
    const int bloco = int(linha / m_opcoes.linhasBloco);
    const auto it = m_blocos.find(bloco);
    if (it == m_blocos.end()) {
        if (!m_gravando)
            Pedir(bloco);
        return nullptr;
    }
    it->second.uso = ++m_relogio;
    local = int(linha % m_opcoes.linhasBloco);
    // Rows deleted since the count leave the end of a block empty.
    return local < it->second.rs->RecordCount() ? it->second.rs.get() : nullptr;
}

clsRecordset* clsLeitorJanela::Exemplo() const
{
    return m_blocos.empty() ? nullptr : m_blocos.begin()->second.rs.get();
}

void clsLeitorJanela::Guardar(int bloco, RecordsetPtr rs)
{
    const qint64 primeira = qint64(bloco) * m_opcoes.linhasBloco;
    const qint64 ultima = primeira + std::max(0, rs->RecordCount()) - 1;
    m_blocos[bloco] = {std::move(rs), ++m_relogio};
    Liberar();
    if (ultima >= primeira)
        emit BlocoLido(primeira, std::min(ultima, m_linhas - 1));
}

// Keeps the blocks used last and those with edits; the others go.
void clsLeitorJanela::Liberar()
{
    if (m_gravando)
        return;
    while (m_blocos.size() > size_t(m_opcoes.blocosMantidos) + m_marcados.size()) {
        auto velho = m_blocos.end();
        for (auto it = m_blocos.begin(); it != m_blocos.end(); ++it)
            if (!m_marcados.count(it->first) && (velho == m_blocos.end() || it->second.uso < velho->second.uso))
                velho = it;
        if (velho == m_blocos.end())
            return;
        m_blocos.erase(velho);
    }
}

void clsLeitorJanela::Marcar(qint64 linha) { m_marcados.insert(int(linha / m_opcoes.linhasBloco)); }

void clsLeitorJanela::Descartar()
{
    for (int b : m_marcados)
        if (const auto it = m_blocos.find(b); it != m_blocos.end())
            it->second.rs->CancelBatch();
    m_marcados.clear();
    Liberar();
}

bool clsLeitorJanela::Gravar()
{
    if (m_gravando || m_marcados.empty())
        return false;
    std::vector<RecordsetPtr> partes;
    for (int b : m_marcados)
        if (const auto it = m_blocos.find(b); it != m_blocos.end())
            partes.push_back(it->second.rs);
    m_gravando = true;
    Enfileirar({-1,
                [this, partes] {
                    ErroDados erro;
                    const bool ok = clsRecordset::UpdateBatch(partes, erro);
                    Postar([this, ok, erro] {
                        m_gravando = false;
                        if (ok)
                            m_marcados.clear();
                        Liberar();
                        emit Gravado(ok, erro);
                    });
                }},
               true);
    return true;
}
