// Writing the pending rows of a recordset back to its base table: one INSERT, UPDATE or DELETE per
// row, with bound values, all in one transaction. A row is found by its primary key plus the
// values it had of the columns being changed (so a change another user made meanwhile is not
// overwritten), or, in a table without a key, by every original value. A statement that finds no
// row, or more than one, rolls everything back and leaves the rows pending.
#include "clsMotor.h"
#include "clsRecordset.h"

using namespace ado;

namespace {

bool MesmaCelula(const clsRecordsetDados& d, Celula a, Celula b)
{
    if (a.marca != b.marca) {
        // A number read as an integer or a real, typed again as the same decimal text.
        if (a.marca != Marca::Decimal && b.marca != Marca::Decimal)
            return false;
        std::string ba, bb;
        const std::string_view ta = d.TextoDecimal(a, ba), tb = d.TextoDecimal(b, bb);
        return !ta.empty() && ta == tb;
    }
    if (a.marca == Marca::Texto || a.marca == Marca::Binario || a.marca == Marca::Decimal) {
        uint32_t na, nb;
        const char* pa = d.Bytes(a, na);
        const char* pb = d.Bytes(b, nb);
        return na == nb && std::memcmp(pa, pb, na) == 0;
    }
    return a.carga == b.carga;
}

enum class Tipo { Insercao, Alteracao, Exclusao };

struct Instrucao {
    Tipo tipo = Tipo::Insercao;
    uint32_t linha = 0;
    QString sql;
    std::vector<QVariant> valores;
    bool devolveLinha = false; // the INSERT returns the row as stored (RETURNING)
    bool devolveIdentidade = false; // the INSERT is followed by the identity it generated
};

// The base table of a result: the table of its first field that has one.
struct TabelaBase {
    QString tabela, esquema, catalogo;
    bool Contem(const clsMotor& m, const CampoInfo& f) const
    {
        return !f.tabelaBase.isEmpty() && !f.colunaBase.isEmpty() && m.MesmoNome(f.tabelaBase, tabela)
               && m.MesmoNome(f.esquemaBase, esquema) && m.MesmoNome(f.catalogoBase, catalogo);
    }
};

bool AcharTabelaBase(const clsRecordsetDados& d, TabelaBase& t)
{
    for (const CampoInfo& f : d.campos)
        if (!f.tabelaBase.isEmpty() && !f.colunaBase.isEmpty()) {
            t = {f.tabelaBase, f.esquemaBase, f.catalogoBase};
            return true;
        }
    return false;
}

// The statements that write one batch of rows.
class Gravacao {
public:
    Gravacao(clsRecordsetDados& d, clsMotor& m) : dados(d), motor(m) {}

    QString erroDescricao;
    int erroNumero = 0;

    bool Preparar(const std::vector<uint32_t>& linhas, std::vector<Instrucao>& saida)
    {
        AcharTabelaBase(dados, base);
        for (int c = 0; c < dados.QtdeCampos(); ++c)
            if (base.Contem(motor, dados.campos[c]))
                colunas.push_back(c);
        if (colunas.empty())
            return Erro(
                ErrOperacao,
                QStringLiteral("Não há informações suficientes sobre a tabela base para gravar as alterações."));
        alvo = motor.NomeQualificado(base.tabela, base.esquema, base.catalogo);
        for (const QString& k : motor.ChavesPrimarias(base.tabela, base.esquema, base.catalogo)) {
            int achado = -1;
            for (int c : colunas)
                if (motor.MesmoNome(dados.campos[c].colunaBase, k))
                    achado = c;
            if (achado < 0) {
                chave.clear(); // part of the key is not in the result: every value finds the row
                break;
            }
            chave.push_back(achado);
        }
        for (uint32_t l : linhas) {
            Instrucao ins;
            ins.linha = l;
            bool gerar = true;
            switch (dados.Estado(l)) {
            case EstadoLinha::Nova:
                ins.tipo = Tipo::Insercao;
                gerar = Insercao(l, ins);
                break;
            case EstadoLinha::Alterada:
                ins.tipo = Tipo::Alteracao;
                gerar = Alteracao(l, ins);
                break;
            case EstadoLinha::Excluida:
                ins.tipo = Tipo::Exclusao;
                ins.sql = QStringLiteral("DELETE FROM %1").arg(alvo);
                Onde(l, {}, ins);
                break;
            default: gerar = false;
            }
            if (!erroDescricao.isEmpty())
                return false;
            if (gerar)
                saida.push_back(std::move(ins));
        }
        return true;
    }

    // Runs one statement and checks it touched exactly the row it was meant for.
    bool Executar(Instrucao& ins)
    {
        long afetados = 0;
        RecordsetPtr devolvidas;
        const bool devolve = ins.devolveLinha || ins.devolveIdentidade;
        if (!motor.ExecutarComParametros(ins.sql, ins.valores, afetados, devolve ? &devolvidas : nullptr))
            return Erro(int(motor.Erro().numero), motor.Erro().descricao);
        if (ins.tipo == Tipo::Insercao) {
            if (devolvidas)
                Devolvidas(ins, *devolvidas);
            return true;
        }
        if (afetados == 0)
            return Erro(ErrConflito,
                        chave.empty() ? QStringLiteral("A linha não pôde ser localizada para atualização: alguns "
                                                       "valores podem ter sido alterados desde a última leitura.")
                                      : QStringLiteral("A linha foi alterada ou excluída por outro usuário desde a "
                                                       "última leitura. Nada foi gravado: leia os dados de novo "
                                                       "para ver os valores atuais."));
        if (afetados > 1)
            return Erro(ErrConflito,
                        QStringLiteral("A linha não pôde ser identificada de forma única: a tabela %1 não tem chave "
                                       "primária e %2 linhas têm os mesmos valores. Nada foi gravado.")
                            .arg(alvo)
                            .arg(afetados));
        return true;
    }

    // Values the engine generated for the saved new rows, put in them once the batch is in.
    std::vector<std::tuple<uint32_t, int, Celula>> gerados;

private:
    bool Erro(int numero, const QString& descricao)
    {
        erroNumero = numero;
        erroDescricao = descricao;
        return false;
    }

    QString Nome(int c) const { return motor.CitarIdentificador(dados.campos[c].colunaBase); }

    // A column as it compares with a bound value (SQL Server compares no text, ntext or image).
    QString Comparavel(int c) const
    {
        if (motor.DialetoSql() != Dialeto::SqlServer)
            return Nome(c);
        switch (dados.campos[c].tipo) {
        case adLongVarChar: return QStringLiteral("CAST(%1 AS varchar(max))").arg(Nome(c));
        case adLongVarWChar: return QStringLiteral("CAST(%1 AS nvarchar(max))").arg(Nome(c));
        case adLongVarBinary: return QStringLiteral("CAST(%1 AS varbinary(max))").arg(Nome(c));
        default: return Nome(c);
        }
    }

    // A change to a column that does not come from the base table cannot be written.
    bool ForaDaBase(uint32_t l, bool nova)
    {
        const std::vector<Celula>* orig = dados.Originais(l);
        for (int c = 0; c < dados.QtdeCampos(); ++c) {
            if (std::find(colunas.begin(), colunas.end(), c) != colunas.end())
                continue;
            const Celula v = dados.Ler(l, c);
            const bool mudou = nova ? v.marca != Marca::Nulo : (orig && !MesmaCelula(dados, v, (*orig)[size_t(c)]));
            if (mudou)
                return !Erro(ErrOperacao,
                             QStringLiteral("A coluna '%1' não vem de uma coluna da tabela %2 e não pode ser "
                                            "alterada. Nada foi gravado.")
                                 .arg(dados.campos[c].nome, alvo));
        }
        return false;
    }

    // A row is written only when the engine keeps each of its decimals exactly.
    bool DecimaisGuardados(uint32_t l)
    {
        const std::vector<Celula>* orig = dados.Originais(l);
        for (int c : colunas) {
            const Celula v = dados.Ler(l, c);
            if (v.marca != Marca::Decimal)
                continue;
            const bool inalterado = orig && MesmaCelula(dados, v, (*orig)[size_t(c)]);
            if (inalterado && (*orig)[size_t(c)].marca != Marca::Decimal)
                continue; // the integer or real read stays as it is
            uint32_t n;
            const char* p = dados.Bytes(v, n);
            const QString motivo
                = motor.DecimalNaoGuardado(dados.campos[c].colunaBase, std::string_view(p, n), inalterado);
            if (!motivo.isEmpty())
                return Erro(ErrTipoValor, motivo);
        }
        return true;
    }

    // PostgreSQL cuts a text at a NUL character: such a value is refused, not shortened.
    bool TextoGuardado(int c, Celula v)
    {
        if (v.marca != Marca::Texto || motor.DialetoSql() != Dialeto::PostgreSql)
            return true;
        uint32_t n;
        const char* p = dados.Bytes(v, n);
        if (std::memchr(p, 0, n) == nullptr)
            return true;
        return Erro(ErrTipoValor,
                    QStringLiteral("O PostgreSQL não guarda o caractere NUL (código 0) em textos: o valor da coluna "
                                   "'%1' seria cortado. Nada foi gravado.")
                        .arg(dados.campos[c].nome));
    }

    bool Insercao(uint32_t l, Instrucao& ins)
    {
        if (ForaDaBase(l, true) || !DecimaisGuardados(l))
            return false;
        QStringList cols, marcas;
        for (int c : colunas) {
            const Celula v = dados.Ler(l, c);
            if (v.marca == Marca::Nulo)
                continue;
            if (!TextoGuardado(c, v))
                return false;
            cols << Nome(c);
            marcas << QStringLiteral("?");
            ins.valores.push_back(dados.ParaParametro(v, c));
        }
        ins.sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(alvo)
                                 : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                       .arg(alvo, cols.join(QStringLiteral(", ")), marcas.join(QStringLiteral(", ")));
        // The row as stored (generated key, defaults) comes back, so it can be edited again.
        if (motor.DevolveLinhasInseridas()) {
            QStringList todas;
            for (int c : colunas)
                todas << Nome(c);
            ins.sql += QStringLiteral(" RETURNING ") + todas.join(QStringLiteral(", "));
            ins.devolveLinha = true;
        } else if (motor.DialetoSql() == Dialeto::SqlServer && chave.size() == 1
                   && dados.Ler(l, chave[0]).marca == Marca::Nulo) {
            ins.sql += QStringLiteral("; SELECT SCOPE_IDENTITY()");
            ins.devolveIdentidade = true;
        }
        return true;
    }

    bool Alteracao(uint32_t l, Instrucao& ins)
    {
        if (ForaDaBase(l, false))
            return false;
        const std::vector<Celula>* orig = dados.Originais(l);
        QStringList sets;
        std::vector<int> mudadas;
        for (int c : colunas) {
            const Celula v = dados.Ler(l, c);
            if (orig && MesmaCelula(dados, v, (*orig)[size_t(c)]))
                continue;
            if (!TextoGuardado(c, v))
                return false;
            sets << Nome(c) + QStringLiteral(" = ?");
            ins.valores.push_back(dados.ParaParametro(v, c));
            mudadas.push_back(c);
        }
        if (sets.isEmpty() || !DecimaisGuardados(l))
            return false;
        ins.sql = QStringLiteral("UPDATE %1 SET %2").arg(alvo, sets.join(QStringLiteral(", ")));
        Onde(l, mudadas, ins);
        return true;
    }

    // WHERE on the key and the original values of `mudadas`, or on every original value when the
    // table has no key in the result.
    void Onde(uint32_t l, const std::vector<int>& mudadas, Instrucao& ins)
    {
        const std::vector<Celula>* orig = dados.Originais(l);
        std::vector<int> comparar = chave.empty() ? colunas : chave;
        if (!chave.empty())
            for (int c : mudadas)
                if (std::find(comparar.begin(), comparar.end(), c) == comparar.end())
                    comparar.push_back(c);
        QStringList partes;
        for (int c : comparar) {
            const Celula v = orig ? (*orig)[size_t(c)] : dados.Ler(l, c);
            if (v.marca == Marca::Nulo) {
                partes << Nome(c) + QStringLiteral(" IS NULL");
            } else {
                partes << Comparavel(c) + QStringLiteral(" = ?");
                ins.valores.push_back(dados.ParaParametro(v, c));
            }
        }
        ins.sql += QStringLiteral(" WHERE ") + partes.join(QStringLiteral(" AND "));
    }

    void Devolvidas(const Instrucao& ins, clsRecordset& rs)
    {
        rs.MoveFirst();
        if (rs.Eof())
            return;
        if (ins.devolveIdentidade) {
            Celula c;
            const QVariant id = rs.Valor(0);
            if (!id.isNull() && dados.DeVariant(id, chave[0], c))
                gerados.emplace_back(ins.linha, chave[0], c);
            return;
        }
        const clsRecordsetDados& veio = rs.Dados();
        const uint32_t lv = rs.LinhaDados(0);
        for (int i = 0; i < veio.QtdeCampos() && size_t(i) < colunas.size(); ++i)
            gerados.emplace_back(ins.linha, colunas[size_t(i)], dados.CopiarCelula(veio, veio.Ler(lv, i)));
    }

    clsRecordsetDados& dados;
    clsMotor& motor;
    TabelaBase base;
    std::vector<int> colunas; // fields that come from the base table
    std::vector<int> chave; // fields of its primary key, empty when it has none in the result
    QString alvo;
};

// Statements of the engine that keep, undo or release a savepoint in a transaction the program
// did not open (SQL Server releases its savepoints with the transaction).
enum class Ponto { Criar, Voltar, Liberar };
QString PontoSalvamento(Dialeto d, Ponto p)
{
    const bool sqlServer = d == Dialeto::SqlServer;
    switch (p) {
    case Ponto::Criar:
        return sqlServer ? QStringLiteral("SAVE TRANSACTION quarrix_gravacao")
                         : QStringLiteral("SAVEPOINT quarrix_gravacao");
    case Ponto::Voltar:
        return sqlServer ? QStringLiteral("ROLLBACK TRANSACTION quarrix_gravacao")
                         : QStringLiteral("ROLLBACK TO SAVEPOINT quarrix_gravacao");
    case Ponto::Liberar: return sqlServer ? QString() : QStringLiteral("RELEASE SAVEPOINT quarrix_gravacao");
    }
    return {};
}

// The decimals of the rows written take the form the engine keeps them in, so that the row, read
// again in that form, can be edited and written once more.
void GuardarComoGravados(clsRecordsetDados& d, const clsMotor& m, const std::vector<uint32_t>& linhas)
{
    for (uint32_t l : linhas) {
        if (d.Estado(l) != EstadoLinha::Nova && d.Estado(l) != EstadoLinha::Alterada)
            continue;
        for (int c = 0; c < d.QtdeCampos(); ++c) {
            const Celula v = d.Ler(l, c);
            if (v.marca != Marca::Decimal)
                continue;
            uint32_t n;
            const char* p = d.Bytes(v, n);
            const QVariant numero = m.DecimalGuardadoComo(std::string_view(p, n));
            if (numero.typeId() == QMetaType::LongLong) {
                d.Gravar(l, c, Celula{Marca::Inteiro, uint64_t(int64_t(numero.toLongLong()))});
            } else if (numero.typeId() == QMetaType::Double) {
                const double x = numero.toDouble();
                uint64_t u;
                std::memcpy(&u, &x, 8);
                d.Gravar(l, c, Celula{Marca::Real, u});
            }
        }
    }
}

} // namespace

bool clsRecordset::Gravavel(QString* motivo) const
{
    auto nao = [&](const QString& m) {
        if (motivo)
            *motivo = m;
        return false;
    };
    if (!aberto)
        return nao(QStringLiteral("O recordset está fechado."));
    if (trava == adLockReadOnly)
        return nao(QStringLiteral("O resultado é somente leitura."));
    auto motor = dados->motor.lock();
    if (!motor)
        return dados->fonte.isEmpty() || nao(QStringLiteral("A conexão do resultado foi fechada."));
    if (motor->SomenteLeitura())
        return nao(QStringLiteral("A conexão é somente leitura."));
    TabelaBase base;
    if (!AcharTabelaBase(*dados, base))
        return nao(QStringLiteral("O resultado não vem de uma tabela: as linhas não podem ser alteradas."));
    for (const CampoInfo& f : dados->campos)
        if (!f.tabelaBase.isEmpty() && !f.colunaBase.isEmpty() && !base.Contem(*motor, f))
            return nao(QStringLiteral("O resultado reúne colunas de mais de uma tabela: as linhas não podem ser "
                                      "alteradas."));
    return true;
}

bool clsRecordset::CampoGravavel(int campo) const
{
    if (campo < 0 || campo >= dados->QtdeCampos() || !Gravavel())
        return false;
    auto motor = dados->motor.lock();
    if (!motor)
        return true; // built by hand
    TabelaBase base;
    return AcharTabelaBase(*dados, base) && base.Contem(*motor, dados->campos[campo]);
}

bool clsRecordset::Gravar(const std::vector<uint32_t>& linhas) { return GravarPartes({{this, linhas}}); }

bool clsRecordset::UpdateBatch(const std::vector<RecordsetPtr>& partes, ErroDados& erro)
{
    std::vector<std::pair<clsRecordset*, std::vector<uint32_t>>> pendentes;
    for (const RecordsetPtr& rs : partes) {
        bool ok = rs->ExigirAberto();
        if (ok && rs->trava == adLockReadOnly)
            ok = rs->Falhar(ErrSomenteLeitura,
                            QStringLiteral("O recordset é somente leitura: a operação não é permitida."));
        if (!ok) {
            erro = rs->Erro();
            return false;
        }
        rs->FinalizarEdicao();
        if (std::vector<uint32_t> linhas = rs->dados->LinhasPendentes(); !linhas.empty())
            pendentes.emplace_back(rs.get(), std::move(linhas));
    }
    if (GravarPartes(pendentes))
        return true;
    erro = pendentes.front().first->Erro();
    return false;
}

bool clsRecordset::GravarPartes(const std::vector<std::pair<clsRecordset*, std::vector<uint32_t>>>& partes)
{
    if (partes.empty())
        return true;
    clsRecordset& primeiro = *partes.front().first;
    auto motor = primeiro.dados->motor.lock();
    if (!motor || !motor->Aberto())
        return primeiro.Falhar(ErrSemConexao,
                               QStringLiteral("A operação requer uma conexão aberta: o recordset não está "
                                              "ligado a uma conexão."));
    if (motor->SomenteLeitura())
        return primeiro.Falhar(ErrSomenteLeitura,
                               QStringLiteral("A conexão é somente leitura: as alterações não podem ser gravadas."));
    std::vector<std::unique_ptr<Gravacao>> gravacoes;
    std::vector<std::vector<Instrucao>> instrucoes(partes.size());
    for (size_t i = 0; i < partes.size(); ++i) {
        clsRecordset& rs = *partes[i].first;
        QString motivo;
        if (rs.dados->motor.lock() != motor)
            return primeiro.Falhar(ErrOperacao, QStringLiteral("As linhas a gravar vêm de conexões diferentes."));
        if (!rs.Gravavel(&motivo))
            return primeiro.Falhar(ErrOperacao, motivo);
        gravacoes.push_back(std::make_unique<Gravacao>(*rs.dados, *motor));
        if (!gravacoes.back()->Preparar(partes[i].second, instrucoes[i]))
            return primeiro.Falhar(gravacoes.back()->erroNumero, gravacoes.back()->erroDescricao);
    }

    // In a transaction of the caller's, a savepoint undoes this batch alone.
    const bool propria = !motor->EmTransacao();
    const Dialeto dialeto = motor->DialetoSql();
    if (propria ? !motor->IniciarTransacao()
                : !motor->Executar(PontoSalvamento(dialeto, Ponto::Criar), nullptr, adLockReadOnly, nullptr))
        return primeiro.Falhar(int(motor->Erro().numero), motor->Erro().descricao);
    auto desfazer = [&] {
        if (propria)
            motor->DesfazerTransacao();
        else
            motor->Executar(PontoSalvamento(dialeto, Ponto::Voltar), nullptr, adLockReadOnly, nullptr);
    };
    for (size_t i = 0; i < partes.size(); ++i)
        for (Instrucao& ins : instrucoes[i])
            if (!gravacoes[i]->Executar(ins)) {
                desfazer();
                return primeiro.Falhar(gravacoes[i]->erroNumero, gravacoes[i]->erroDescricao);
            }
    if (propria && !motor->ConfirmarTransacao()) {
        const ErroDados e = motor->Erro();
        motor->DesfazerTransacao();
        return primeiro.Falhar(int(e.numero), e.descricao);
    }
    if (!propria && !PontoSalvamento(dialeto, Ponto::Liberar).isEmpty())
        motor->Executar(PontoSalvamento(dialeto, Ponto::Liberar), nullptr, adLockReadOnly, nullptr);
    for (size_t i = 0; i < partes.size(); ++i)
        partes[i].first->ConcluirGravadas(partes[i].second, gravacoes[i]->gerados, *motor);
    return true;
}

void clsRecordset::ConcluirGravadas(const std::vector<uint32_t>& linhas,
                                    const std::vector<std::tuple<uint32_t, int, Celula>>& gerados,
                                    const clsMotor& motor)
{
    GuardarComoGravados(*dados, motor, linhas);
    for (const auto& [l, c, v] : gerados)
        dados->Gravar(l, c, v);
    for (uint32_t l : linhas) {
        const EstadoLinha e = dados->Estado(l);
        if (e == EstadoLinha::Excluida)
            dados->DefinirEstado(l, EstadoLinha::Descartada);
        else if (e == EstadoLinha::Nova || e == EstadoLinha::Alterada)
            dados->DefinirEstado(l, EstadoLinha::Inalterada);
        dados->DescartarOriginais(l);
    }
}
