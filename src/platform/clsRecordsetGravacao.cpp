// Writing the pending rows of a recordset back to its table: one INSERT, UPDATE or DELETE per row,
// with bound values, keyed on the table's primary key (or on every original value when it has
// none), all in one transaction. A failure rolls everything back and leaves the rows pending.
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

struct Instrucao {
    QString sql;
    std::vector<QVariant> valores;
    bool conferirUma = false; // an UPDATE/DELETE that must touch exactly one row
};

} // namespace

bool clsRecordset::Gravar(const std::vector<uint32_t>& linhas)
{
    if (linhas.empty())
        return true;
    auto motor = dados->motor.lock();
    if (!motor || !motor->Aberto())
        return Falhar(ErrSemConexao,
                      QStringLiteral("A operação requer uma conexão aberta: o recordset não está "
                                     "ligado a uma conexão."));
    if (motor->SomenteLeitura())
        return Falhar(ErrSomenteLeitura,
                      QStringLiteral("A conexão é somente leitura: as alterações não podem ser gravadas."));

    QString tabela;
    for (const CampoInfo& f : dados->campos)
        if (!f.tabelaBase.isEmpty() && !f.colunaBase.isEmpty()) {
            tabela = f.tabelaBase;
            break;
        }
    if (tabela.isEmpty())
        return Falhar(ErrOperacao,
                      QStringLiteral("Não há informações suficientes sobre a tabela base para gravar "
                                     "as alterações."));
    std::vector<int> colunas;
    for (int c = 0; c < dados->QtdeCampos(); ++c) {
        const CampoInfo& f = dados->campos[c];
        if (f.tabelaBase.compare(tabela, Qt::CaseInsensitive) == 0 && !f.colunaBase.isEmpty())
            colunas.push_back(c);
    }
    std::vector<int> chave;
    for (const QString& k : motor->ChavesPrimarias(tabela)) {
        int achado = -1;
        for (int c : colunas)
            if (dados->campos[c].colunaBase.compare(k, Qt::CaseInsensitive) == 0)
                achado = c;
        if (achado < 0) {
            chave.clear();
            break;
        }
        chave.push_back(achado);
    }
    const QString alvo = motor->CitarIdentificador(tabela);
    auto nome = [&](int c) { return motor->CitarIdentificador(dados->campos[c].colunaBase); };
    // Every value goes back in the kind it was read in: a text as the very text read, a decimal as
    // its exact digits.
    auto valor = [&](Celula v, int c) { return dados->ParaParametro(v, c); };

    // WHERE on the key (or every comparable original value) as the row was read.
    auto onde = [&](uint32_t l, Instrucao& ins) {
        const std::vector<Celula>* orig = dados->Originais(l);
        QStringList partes;
        const bool porChave = !chave.empty();
        for (int c : (porChave ? chave : colunas)) {
            if (!porChave && (dados->campos[c].atributos & ISLONG || dados->campos[c].tamanho > 8000))
                continue;
            const Celula v = orig ? (*orig)[size_t(c)] : dados->Ler(l, c);
            if (v.marca == Marca::Nulo) {
                partes << nome(c) + QStringLiteral(" IS NULL");
            } else {
                partes << nome(c) + QStringLiteral(" = ?");
                ins.valores.push_back(valor(v, c));
            }
        }
        ins.sql += QStringLiteral(" WHERE ") + partes.join(QStringLiteral(" AND "));
        ins.conferirUma = true;
    };

    // A row is written only when the engine keeps each of its decimals exactly.
    auto decimaisGuardados = [&](uint32_t l) {
        const std::vector<Celula>* orig = dados->Originais(l);
        for (int c : colunas) {
            const Celula v = dados->Ler(l, c);
            if (v.marca != Marca::Decimal)
                continue;
            const bool inalterado = orig && MesmaCelula(*dados, v, (*orig)[size_t(c)]);
            if (inalterado && (*orig)[size_t(c)].marca != Marca::Decimal)
                continue; // the integer or real read stays as it is
            uint32_t n;
            const char* p = dados->Bytes(v, n);
            const QString motivo
                = motor->DecimalNaoGuardado(dados->campos[c].colunaBase, std::string_view(p, n), inalterado);
            if (!motivo.isEmpty())
                return Falhar(ErrTipoValor, motivo);
        }
        return true;
    };

    std::vector<Instrucao> instrucoes;
    std::vector<uint32_t> novas;
    for (uint32_t l : linhas) {
        Instrucao ins;
        switch (dados->Estado(l)) {
        case EstadoLinha::Nova: {
            if (!decimaisGuardados(l))
                return false;
            QStringList cols, marcas;
            for (int c : colunas) {
                const Celula v = dados->Ler(l, c);
                if (v.marca == Marca::Nulo)
                    continue;
                cols << nome(c);
                marcas << QStringLiteral("?");
                ins.valores.push_back(valor(v, c));
            }
            ins.sql = cols.isEmpty()
                          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(alvo)
                          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(alvo, cols.join(QStringLiteral(", ")), marcas.join(QStringLiteral(", ")));
            novas.push_back(l);
            break;
        }
        case EstadoLinha::Alterada: {
            const std::vector<Celula>* orig = dados->Originais(l);
            QStringList sets;
            for (int c : colunas) {
                const Celula v = dados->Ler(l, c);
                if (orig && MesmaCelula(*dados, v, (*orig)[size_t(c)]))
                    continue;
                sets << nome(c) + QStringLiteral(" = ?");
                ins.valores.push_back(valor(v, c));
            }
            if (sets.isEmpty())
                continue;
            if (!decimaisGuardados(l))
                return false;
            ins.sql = QStringLiteral("UPDATE %1 SET %2").arg(alvo, sets.join(QStringLiteral(", ")));
            onde(l, ins);
            break;
        }
        case EstadoLinha::Excluida:
            ins.sql = QStringLiteral("DELETE FROM %1").arg(alvo);
            onde(l, ins);
            break;
        default: continue;
        }
        instrucoes.push_back(std::move(ins));
    }

    const bool propria = !motor->EmTransacao();
    if (propria && !motor->IniciarTransacao())
        return Falhar(int(motor->Erro().numero), motor->Erro().descricao);
    std::vector<std::pair<uint32_t, QVariant>> gerados;
    size_t iNova = 0;
    for (const Instrucao& ins : instrucoes) {
        long afetados = 0;
        bool ok = motor->ExecutarComParametros(ins.sql, ins.valores, afetados);
        int numero = int(motor->Erro().numero);
        QString descricao = motor->Erro().descricao;
        if (ok && ins.conferirUma && afetados == 0) {
            ok = false;
            numero = ErrConflito;
            descricao = QStringLiteral("A linha não pôde ser localizada para atualização: alguns valores podem ter "
                                       "sido alterados desde a última leitura.");
        }
        if (!ok) {
            if (propria)
                motor->DesfazerTransacao();
            return Falhar(numero, descricao);
        }
        if (ins.sql.startsWith(QLatin1String("INSERT")) && iNova < novas.size()) {
            const uint32_t l = novas[iNova++];
            if (chave.size() == 1 && dados->Ler(l, chave[0]).marca == Marca::Nulo) {
                const QVariant id = motor->UltimoIdInserido();
                if (id.isValid())
                    gerados.emplace_back(l, id);
            }
        }
    }
    if (propria && !motor->ConfirmarTransacao()) {
        const ErroDados e = motor->Erro();
        motor->DesfazerTransacao();
        return Falhar(int(e.numero), e.descricao);
    }
    for (const auto& [l, id] : gerados) {
        Celula c;
        if (dados->DeVariant(id, chave[0], c))
            dados->Gravar(l, chave[0], c);
    }
    for (uint32_t l : linhas) {
        const EstadoLinha e = dados->Estado(l);
        if (e == EstadoLinha::Excluida)
            dados->DefinirEstado(l, EstadoLinha::Descartada);
        else if (e == EstadoLinha::Nova || e == EstadoLinha::Alterada)
            dados->DefinirEstado(l, EstadoLinha::Inalterada);
        dados->DescartarOriginais(l);
    }
    return true;
}
