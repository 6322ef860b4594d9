#include "clsRecordset.h"

#include "clsMotor.h"
#include "clsRecordsetFiltro.h"

using namespace ado;

// ---------------------------------------------------------------- clsField

QString clsField::Name() const { return IsValid() ? rs->dados->campos[indice].nome : QString(); }
int clsField::Type() const { return IsValid() ? rs->dados->campos[indice].tipo : 0; }
qint64 clsField::DefinedSize() const { return IsValid() ? rs->dados->campos[indice].tamanho : 0; }
int clsField::Precision() const { return IsValid() ? rs->dados->campos[indice].precisao : 0; }
int clsField::NumericScale() const { return IsValid() ? rs->dados->campos[indice].escala : 0; }
int clsField::Attributes() const { return IsValid() ? rs->dados->campos[indice].atributos : 0; }
QVariant clsField::Value() const { return IsValid() ? rs->Valor(indice) : QVariant(); }
QVariant clsField::OriginalValue() const { return IsValid() ? rs->ValorOriginal(indice) : QVariant(); }
bool clsField::setValue(const QVariant& v)
{
    if (!rs)
        return false;
    return rs->DefinirValor(indice, v);
}

// ---------------------------------------------------------------- life

clsRecordset::clsRecordset() : dados(std::make_shared<clsRecordsetDados>()) {}
clsRecordset::~clsRecordset() = default;

RecordsetPtr clsRecordset::Criar(std::shared_ptr<clsRecordsetDados> d, int lockType)
{
    auto rs = std::make_shared<clsRecordset>();
    rs->dados = std::move(d);
    rs->dados->ConcluirTipos();
    rs->trava = lockType;
    rs->aberto = true;
    rs->Reconstruir();
    rs->pos = rs->vista.empty() ? -1 : 0;
    return rs;
}

void clsRecordset::AnexarBloco(clsRecordsetDados&& bloco)
{
    const bool emDia = aberto && geracaoVista == dados->geracao && ordem.isEmpty() && !expressao;
    const size_t antes = dados->QtdeLinhas();
    dados->Anexar(std::move(bloco));
    if (!emDia)
        return; // the view is rebuilt when it is next read
    for (size_t i = antes; i < dados->QtdeLinhas(); ++i)
        vista.push_back(uint32_t(i));
    // A cursor past the last row stays at the end of the rows.
    if (pos >= long(antes))
        pos = long(vista.size());
    geracaoVista = dados->geracao;
}

bool clsRecordset::Falhar(int numero, const QString& descricao) const
{
    erro = {numero, descricao, OrigemErro::Recordset};
    return false;
}

bool clsRecordset::ExigirAberto() const
{
    return aberto
           || Falhar(ErrObjetoFechado, QStringLiteral("A operação não é permitida quando o objeto está fechado."));
}

bool clsRecordset::ExigirLinha() const
{
    if (!ExigirAberto())
        return false;
    Sincronizar();
    if (pos < 0 || pos >= long(vista.size()) || aposExclusao)
        return Falhar(ErrSemRegistro,
                      QStringLiteral("BOF ou EOF é verdadeiro, ou o registro atual foi excluído. "
                                     "A operação requer um registro atual."));
    if (pendenteRemocao == pos)
        return Falhar(ErrSemRegistro, QStringLiteral("O registro atual foi excluído."));
    return true;
}

bool clsRecordset::AppendField(const QString& nome, int tipo, qint64 tamanho, int atributos)
{
    if (aberto)
        return Falhar(ErrOperacao, QStringLiteral("Não é possível acrescentar campos a um recordset aberto."));
    if (nome.isEmpty() || dados->IndiceCampo(nome) >= 0)
        return Falhar(ErrArgumento, QStringLiteral("Nome de campo inválido ou repetido: '%1'.").arg(nome));
    CampoInfo f;
    f.nome = nome;
    f.tipo = tipo;
    f.tamanho = (TipoTexto(tipo) || TipoBinario(tipo)) ? tamanho : TamanhoFixo(tipo);
    f.atributos = atributos;
    dados->campos.append(f);
    return true;
}

bool clsRecordset::Open()
{
    if (aberto)
        return Falhar(ErrOperacao, QStringLiteral("O recordset já está aberto."));
    if (dados->campos.isEmpty())
        return Falhar(ErrArgumento, QStringLiteral("O recordset não tem campos."));
    aberto = true;
    vista.clear();
    pos = -1;
    geracaoVista = dados->geracao;
    return true;
}

void clsRecordset::Close()
{
    aberto = false;
    vista.clear();
    pos = -1;
    pendenteRemocao = -1;
    aposExclusao = false;
    modoEdicao = adEditNone;
    dados = std::make_shared<clsRecordsetDados>(); // a closed recordset lets go of its rows
    ordem.clear();
    filtro.clear();
    expressao.reset();
}

int clsRecordset::FieldCount() const { return dados->QtdeCampos(); }
clsField clsRecordset::Fields(int i) { return clsField(this, i >= 0 && i < FieldCount() ? i : -1); }
clsField clsRecordset::Fields(const QString& nome)
{
    const int i = dados->IndiceCampo(nome);
    if (i < 0)
        Falhar(ErrCampoInexistente, QStringLiteral("O item '%1' não pode ser encontrado na coleção.").arg(nome));
    return clsField(this, i);
}
int clsRecordset::IndiceCampo(const QString& nome) const { return dados->IndiceCampo(nome); }
const CampoInfo& clsRecordset::InfoCampo(int i) const { return dados->campos[i]; }

std::shared_ptr<clsMotor> clsRecordset::ActiveConnection() const { return dados->motor.lock(); }
QString clsRecordset::Source() const { return dados->fonte; }
size_t clsRecordset::BytesUsados() const { return dados->BytesUsados() + vista.capacity() * sizeof(uint32_t); }

// ---------------------------------------------------------------- view

void clsRecordset::Reconstruir() const
{
    const uint32_t atual = (pos >= 0 && pos < long(vista.size())) ? vista[size_t(pos)] : UINT32_MAX;
    vista.clear();
    const size_t n = dados->QtdeLinhas();
    vista.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const EstadoLinha e = dados->Estado(uint32_t(i));
        if (e == EstadoLinha::Excluida || e == EstadoLinha::Descartada)
            continue;
        if (expressao && !AvaliarFiltro(*expressao, *dados, uint32_t(i)))
            continue;
        vista.push_back(uint32_t(i));
    }
    if (!ordem.isEmpty()) {
        std::vector<ChaveOrdem> chaves;
        QString erro;
        if (AnalisarOrdem(ordem, *dados, chaves, erro))
            Ordenar(vista, chaves, *dados);
    }
    geracaoVista = dados->geracao;
    pendenteRemocao = -1;
    aposExclusao = false;
    if (atual != UINT32_MAX) {
        const auto it = std::find(vista.begin(), vista.end(), atual);
        pos = it == vista.end() ? long(vista.size()) : long(it - vista.begin());
    } else if (pos >= long(vista.size()) || pos < -1) {
        pos = long(vista.size());
    }
}

void clsRecordset::Sincronizar() const
{
    if (aberto && geracaoVista != dados->geracao)
        Reconstruir();
}

void clsRecordset::PurgarExcluida() const
{
    if (pendenteRemocao < 0)
        return;
    vista.erase(vista.begin() + pendenteRemocao);
    if (pos == pendenteRemocao)
        aposExclusao = true;
    else if (pos > pendenteRemocao)
        --pos;
    pendenteRemocao = -1;
}

// ---------------------------------------------------------------- cursor

int clsRecordset::RecordCount() const
{
    if (!aberto)
        return -1;
    Sincronizar();
    PurgarExcluida();
    return int(vista.size());
}

bool clsRecordset::Bof() const
{
    if (!aberto)
        return true;
    Sincronizar();
    return pos < 0 || (vista.empty() && pendenteRemocao < 0);
}

bool clsRecordset::Eof() const
{
    if (!aberto)
        return true;
    Sincronizar();
    PurgarExcluida();
    return pos >= long(vista.size()) || vista.empty();
}

// What every cursor move does first: ends a pending edit and brings the view up to date.
bool clsRecordset::PrepararMovimento()
{
    if (!ExigirAberto())
        return false;
    FinalizarEdicao();
    Sincronizar();
    PurgarExcluida();
    return true;
}

bool clsRecordset::MoveFirst()
{
    if (!PrepararMovimento())
        return false;
    aposExclusao = false;
    pos = 0;
    return true;
}

bool clsRecordset::MoveLast()
{
    if (!PrepararMovimento())
        return false;
    aposExclusao = false;
    pos = vista.empty() ? 0 : long(vista.size()) - 1;
    return true;
}

bool clsRecordset::MoveNext()
{
    if (!PrepararMovimento())
        return false;
    if (aposExclusao) {
        aposExclusao = false; // the row after the deleted one is already under the cursor
        return true;
    }
    if (pos >= long(vista.size()))
        return Falhar(ErrSemRegistro, QStringLiteral("EOF é verdadeiro."));
    ++pos;
    return true;
}

bool clsRecordset::MovePrevious()
{
    if (!PrepararMovimento())
        return false;
    aposExclusao = false;
    if (pos < 0)
        return Falhar(ErrSemRegistro, QStringLiteral("BOF é verdadeiro."));
    --pos;
    return true;
}

bool clsRecordset::Move(int n)
{
    if (!PrepararMovimento())
        return false;
    aposExclusao = false;
    const long novo = pos + n;
    pos = std::max(-1L, std::min(novo, long(vista.size())));
    return novo == pos || Falhar(ErrSemRegistro, QStringLiteral("BOF ou EOF é verdadeiro."));
}

int clsRecordset::AbsolutePosition() const
{
    if (!aberto)
        return adPosUnknown;
    Sincronizar();
    PurgarExcluida();
    if (vista.empty() || pos < 0)
        return vista.empty() ? adPosEOF : adPosBOF;
    if (pos >= long(vista.size()))
        return adPosEOF;
    return int(pos) + 1;
}

bool clsRecordset::setAbsolutePosition(int posicao)
{
    if (!PrepararMovimento())
        return false;
    if (posicao < 1 || posicao > long(vista.size()))
        return Falhar(ErrArgumento, QStringLiteral("Posição fora do intervalo: %1.").arg(posicao));
    aposExclusao = false;
    pos = posicao - 1;
    return true;
}

int clsRecordset::LinhaAtual() const
{
    if (!aberto)
        return -1;
    Sincronizar();
    PurgarExcluida();
    return (pos >= 0 && pos < long(vista.size()) && !aposExclusao) ? int(pos) : -1;
}

// ---------------------------------------------------------------- values

QVariant clsRecordset::Valor(int campo) const
{
    if (!ExigirLinha())
        return QVariant();
    if (campo < 0 || campo >= dados->QtdeCampos()) {
        Falhar(ErrCampoInexistente, QStringLiteral("O item não pode ser encontrado na coleção."));
        return QVariant();
    }
    return dados->Valor(LinhaFisica(), campo);
}

QVariant clsRecordset::Valor(const QString& campo) const
{
    const int i = dados->IndiceCampo(campo);
    if (i < 0) {
        Falhar(ErrCampoInexistente, QStringLiteral("O item '%1' não pode ser encontrado na coleção.").arg(campo));
        return QVariant();
    }
    return Valor(i);
}

QVariant clsRecordset::ValorOriginal(int campo) const
{
    if (!ExigirLinha() || campo < 0 || campo >= dados->QtdeCampos())
        return QVariant();
    const uint32_t l = LinhaFisica();
    if (const auto* o = dados->Originais(l))
        return dados->ParaVariant((*o)[size_t(campo)], dados->campos[campo].tipo);
    if (dados->Estado(l) == EstadoLinha::Nova)
        return QVariant();
    return dados->Valor(l, campo);
}

bool clsRecordset::DefinirValor(const QString& campo, const QVariant& v)
{
    const int i = dados->IndiceCampo(campo);
    if (i < 0)
        return Falhar(ErrCampoInexistente,
                      QStringLiteral("O item '%1' não pode ser encontrado na coleção.").arg(campo));
    return DefinirValor(i, v);
}

bool clsRecordset::DefinirValor(int campo, const QVariant& v)
{
    if (!ExigirLinha())
        return false;
    if (campo < 0 || campo >= dados->QtdeCampos())
        return Falhar(ErrCampoInexistente, QStringLiteral("O item não pode ser encontrado na coleção."));
    const uint32_t l = LinhaFisica();
    if (modoEdicao == adEditNone) {
        modoEdicao = adEditInProgress;
        linhaEdicao = long(l);
        estadoAntesEdicao = dados->Estado(l);
        antesEdicao.resize(size_t(dados->QtdeCampos()));
        for (int c = 0; c < dados->QtdeCampos(); ++c)
            antesEdicao[size_t(c)] = dados->Ler(l, c);
    }
    return GravarLinha(l, campo, v);
}

bool clsRecordset::GravarLinha(uint32_t l, int campo, const QVariant& v)
{
    if (trava == adLockReadOnly)
        return Falhar(ErrSomenteLeitura, QStringLiteral("O recordset é somente leitura: a operação não é permitida."));
    Celula c;
    if (!dados->DeVariant(v, campo, c))
        return Falhar(
            ErrTipoValor,
            QStringLiteral("O valor '%1' não serve para o campo '%2'.").arg(v.toString(), dados->campos[campo].nome));
    if (dados->Estado(l) == EstadoLinha::Inalterada) {
        dados->GuardarOriginais(l);
        dados->DefinirEstado(l, EstadoLinha::Alterada);
    }
    dados->Gravar(l, campo, c);
    return true;
}

QVariant clsRecordset::ValorCelula(int linha, int campo) const
{
    Sincronizar();
    if (!aberto || linha < 0 || linha >= int(vista.size()) || campo < 0 || campo >= dados->QtdeCampos())
        return QVariant();
    return dados->Valor(vista[size_t(linha)], campo);
}

uint32_t clsRecordset::LinhaDados(int linha) const
{
    Sincronizar();
    return vista[size_t(linha)];
}

bool clsRecordset::CelulaNula(int linha, int campo) const
{
    Sincronizar();
    if (!aberto || linha < 0 || linha >= int(vista.size()) || campo < 0 || campo >= dados->QtdeCampos())
        return true;
    return dados->Ler(vista[size_t(linha)], campo).marca == Marca::Nulo;
}

bool clsRecordset::DefinirCelula(int linha, int campo, const QVariant& v)
{
    if (!ExigirAberto())
        return false;
    Sincronizar();
    PurgarExcluida();
    if (linha < 0 || linha >= int(vista.size()) || campo < 0 || campo >= dados->QtdeCampos())
        return Falhar(ErrArgumento, QStringLiteral("Célula fora do recordset."));
    const bool ok = GravarLinha(vista[size_t(linha)], campo, v);
    if (ok && trava == adLockOptimistic && dados->motor.lock())
        return Gravar({vista[size_t(linha)]});
    return ok;
}

// ---------------------------------------------------------------- sort and filter

QString clsRecordset::Filter() const { return filtro.isEmpty() ? QStringLiteral("0") : filtro; }

bool clsRecordset::setFilter(const QString& criterio)
{
    if (!ExigirAberto())
        return false;
    FinalizarEdicao();
    const QString t = criterio.trimmed();
    std::shared_ptr<ExpressaoFiltro> e;
    if (!t.isEmpty() && t != u"0") {
        QString erro;
        e = AnalisarFiltro(t, *dados, erro);
        if (!e)
            return Falhar(ErrArgumento,
                          QStringLiteral("Os argumentos são do tipo errado, estão fora do intervalo "
                                         "aceitável ou estão em conflito: %1.")
                              .arg(erro));
    }
    filtro = e ? criterio : QString();
    expressao = e;
    pos = -1;
    Reconstruir();
    pos = 0;
    return true;
}

bool clsRecordset::setSort(const QString& criterio)
{
    if (!ExigirAberto())
        return false;
    FinalizarEdicao();
    std::vector<ChaveOrdem> chaves;
    QString erro;
    if (!AnalisarOrdem(criterio, *dados, chaves, erro))
        return Falhar(ErrArgumento, QStringLiteral("Ordem inválida: %1.").arg(erro));
    ordem = chaves.empty() ? QString() : criterio;
    pos = -1;
    Reconstruir();
    pos = 0;
    return true;
}

// ---------------------------------------------------------------- editing

void clsRecordset::FinalizarEdicao()
{
    if (modoEdicao == adEditNone)
        return;
    Update();
}

bool clsRecordset::AddNew()
{
    if (!ExigirAberto())
        return false;
    if (trava == adLockReadOnly)
        return Falhar(ErrSomenteLeitura, QStringLiteral("O recordset é somente leitura: a operação não é permitida."));
    FinalizarEdicao();
    Sincronizar();
    PurgarExcluida();
    const uint32_t l = dados->NovaLinha();
    ++dados->geracao;
    geracaoVista = dados->geracao;
    vista.push_back(l);
    pos = long(vista.size()) - 1;
    aposExclusao = false;
    modoEdicao = adEditAdd;
    linhaEdicao = long(l);
    return true;
}

bool clsRecordset::Update()
{
    if (!ExigirAberto())
        return false;
    if (modoEdicao == adEditNone)
        return true;
    const uint32_t l = uint32_t(linhaEdicao);
    modoEdicao = adEditNone;
    linhaEdicao = -1;
    antesEdicao.clear();
    if (trava == adLockOptimistic && dados->motor.lock())
        return Gravar({l});
    return true;
}

bool clsRecordset::CancelUpdate()
{
    if (!ExigirAberto())
        return false;
    if (modoEdicao == adEditAdd) {
        dados->DefinirEstado(uint32_t(linhaEdicao), EstadoLinha::Descartada);
        ++dados->geracao;
        Reconstruir();
        pos = vista.empty() ? 0 : long(vista.size()) - 1;
    } else if (modoEdicao == adEditInProgress) {
        const uint32_t l = uint32_t(linhaEdicao);
        for (int c = 0; c < dados->QtdeCampos(); ++c)
            dados->Gravar(l, c, antesEdicao[size_t(c)]);
        dados->DefinirEstado(l, estadoAntesEdicao);
        if (estadoAntesEdicao == EstadoLinha::Inalterada)
            dados->DescartarOriginais(l);
    }
    modoEdicao = adEditNone;
    linhaEdicao = -1;
    return true;
}

bool clsRecordset::Delete()
{
    if (trava == adLockReadOnly && aberto)
        return Falhar(ErrSomenteLeitura, QStringLiteral("O recordset é somente leitura: a operação não é permitida."));
    if (!ExigirLinha())
        return false;
    if (modoEdicao == adEditAdd)
        modoEdicao = adEditNone;
    else
        FinalizarEdicao();
    PurgarExcluida();
    if (pos < 0 || pos >= long(vista.size()) || aposExclusao)
        return ExigirLinha();
    const uint32_t l = LinhaFisica();
    dados->DefinirEstado(l, dados->Estado(l) == EstadoLinha::Nova ? EstadoLinha::Descartada : EstadoLinha::Excluida);
    ++dados->geracao;
    geracaoVista = dados->geracao;
    pendenteRemocao = pos;
    if (trava == adLockOptimistic && dados->motor.lock() && dados->Estado(l) == EstadoLinha::Excluida)
        return Gravar({l});
    return true;
}

bool clsRecordset::CancelBatch()
{
    if (!ExigirAberto())
        return false;
    modoEdicao = adEditNone;
    for (uint32_t l : dados->LinhasPendentes()) {
        const EstadoLinha e = dados->Estado(l);
        if (e == EstadoLinha::Nova) {
            dados->DefinirEstado(l, EstadoLinha::Descartada);
            continue;
        }
        if (const auto* o = dados->Originais(l)) {
            for (int c = 0; c < dados->QtdeCampos(); ++c)
                dados->Gravar(l, c, (*o)[size_t(c)]);
            dados->DescartarOriginais(l);
        }
        dados->DefinirEstado(l, EstadoLinha::Inalterada);
    }
    ++dados->geracao;
    Reconstruir();
    pos = 0;
    return true;
}

bool clsRecordset::TemAlteracoesPendentes() const { return aberto && dados->TemPendentes(); }

bool clsRecordset::UpdateBatch()
{
    if (!ExigirAberto())
        return false;
    if (trava == adLockReadOnly)
        return Falhar(ErrSomenteLeitura, QStringLiteral("O recordset é somente leitura: a operação não é permitida."));
    FinalizarEdicao();
    return Gravar(dados->LinhasPendentes());
}

RecordsetPtr clsRecordset::Clone(int lockType)
{
    if (!ExigirAberto())
        return nullptr;
    FinalizarEdicao();
    auto c = std::make_shared<clsRecordset>();
    c->dados = dados;
    c->aberto = true;
    c->trava = lockType == adLockReadOnly ? adLockReadOnly : trava;
    c->ordem = ordem;
    c->pos = -1;
    c->Reconstruir();
    c->pos = 0;
    return c;
}

RecordsetPtr clsRecordset::CloneComoVisto(int lockType)
{
    RecordsetPtr c = Clone(lockType);
    if (!c)
        return c;
    Sincronizar();
    PurgarExcluida();
    c->filtro = filtro;
    c->expressao = expressao;
    c->vista = vista;
    c->geracaoVista = geracaoVista;
    c->pos = 0;
    return c;
}

QVariant PrimeiroValor(const RecordsetPtr& rs)
{
    QVariant r;
    if (!rs)
        return r;
    if (rs->State() == ado::adStateOpen && !rs->Eof() && rs->FieldCount() > 0)
        r = rs->Valor(0);
    rs->Close();
    return r.isNull() ? QVariant() : r;
}
