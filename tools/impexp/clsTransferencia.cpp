#include "clsTransferencia.h"

#include "clsPontasConexao.h"
#include "clsPontasPlanilha.h"
#include "clsPontasTexto.h"

#include "platform/mdlCitacao.h"
#include "query/mdlExportar.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <thread>

namespace impexp {

QString ItemCopia::Descricao() const { return consulta.isEmpty() ? origem.Exibicao() : QStringLiteral("(consulta)"); }

clsTransferencia::clsTransferencia(Ponta o, Ponta d) : origem(std::move(o)), destino(std::move(d)) {}

bool clsTransferencia::Abrir(QString& erro)
{
    const auto abrir = [&](const Ponta& p, bool escrita, std::shared_ptr<clsMotor>& m, const QString& qual) {
        if (p.tipo == Ponta::Tipo::Nenhuma) {
            erro = QStringLiteral("Informe %1.").arg(qual);
            return false;
        }
        if (p.tipo != Ponta::Tipo::Conexao)
            return true;
        ErroDados e;
        // A database file named as the destination is created when it does not exist yet.
        const clsConnStr cs(p.connStr);
        const QString arquivo = cs.Valor(QStringLiteral("Data Source"));
        if (escrita && citacao::MotorDaConexao(p.connStr) == TipoMotor::ArquivoJet && !arquivo.isEmpty()
            && !QFileInfo::exists(arquivo) && !CriarBancoArquivo(arquivo, e)) {
            erro = QStringLiteral("Não foi possível criar %1: %2").arg(arquivo, TextoErro(e));
            return false;
        }
        m = AbrirMotor(p.connStr, escrita, 30, e);
        if (!m)
            erro = QStringLiteral("Não foi possível abrir %1: %2").arg(qual, TextoErro(e));
        return bool(m);
    };
    if ((origem.tipo == Ponta::Tipo::Texto || origem.tipo == Ponta::Tipo::Planilha)
        && !QFileInfo(origem.caminho).isFile()) {
        erro = QStringLiteral("O arquivo %1 não existe.").arg(origem.caminho);
        return false;
    }
    if (origem.tipo == Ponta::Tipo::Pasta) {
        erro = QStringLiteral("A origem deve ser uma conexão ou um arquivo, não uma pasta.");
        return false;
    }
    return abrir(origem, false, origemMotor, QStringLiteral("a origem"))
           && abrir(destino, true, destinoMotor, QStringLiteral("o destino"));
}

void clsTransferencia::Parar()
{
    parar = true;
    std::lock_guard<std::mutex> g(mtx);
    if (leitorAtual)
        leitorAtual->Interromper();
    if (destinoMotor)
        destinoMotor->Interromper();
}

std::unique_ptr<clsLeitor> clsTransferencia::NovoLeitor(const ItemCopia& item)
{
    if (origem.tipo == Ponta::Tipo::Conexao)
        return std::make_unique<clsLeitorConexao>(origemMotor, item.origem, item.consulta);
    if (origem.tipo == Ponta::Tipo::Planilha)
        return std::make_unique<clsLeitorPlanilha>(origem.caminho, item.origem.nome);
    return std::make_unique<clsLeitorTexto>(item.origem.nome.isEmpty() ? origem.caminho : item.origem.nome,
                                            origem.texto);
}

std::unique_ptr<clsEscritor> clsTransferencia::NovoEscritor(const ItemCopia& item)
{
    if (destino.tipo == Ponta::Tipo::Conexao)
        return std::make_unique<clsEscritorConexao>(destinoMotor, item.destino);
    if (destino.tipo == Ponta::Tipo::Planilha) {
        // Written beside the destination, which it replaces once complete.
        if (!livro)
            livro = std::make_shared<exportar::clsLivroPlanilha>(destino.caminho + QStringLiteral(".parcial"));
        return std::make_unique<clsEscritorPlanilha>(livro, item.destino.nome);
    }
    return std::make_unique<clsEscritorTexto>(ArquivoDestino(item.destino), destino.texto);
}

// A folder takes one file per table, named after it.
QString clsTransferencia::ArquivoDestino(const ObjetoBanco& tabela) const
{
    if (destino.tipo == Ponta::Tipo::Pasta)
        return QDir(destino.caminho).filePath(tabela.nome + QStringLiteral(".csv"));
    return destino.caminho;
}

bool clsTransferencia::Listar(QList<TabelaOrigem>& saida, QString& erro)
{
    saida.clear();
    if (origem.tipo == Ponta::Tipo::Planilha) {
        QStringList folhas;
        if (!FolhasDaPlanilha(origem.caminho, folhas, erro))
            return false;
        for (const QString& f : folhas) {
            TabelaOrigem t;
            t.objeto = ObjetoBanco(f);
            t.exibicao = f;
            saida << t;
        }
        return true;
    }
    if (origem.tipo != Ponta::Tipo::Conexao) {
        TabelaOrigem t;
        t.objeto = ObjetoBanco(origem.caminho);
        t.exibicao = QFileInfo(origem.caminho).fileName();
        saida << t;
        return true;
    }
    RecordsetPtr rs;
    if (!origemMotor->Schema(SchemaOleDb::Tabelas, {}, rs) || !rs) {
        erro = TextoErro(origemMotor->Erro());
        return false;
    }
    const QString padrao = origemMotor->EsquemaPadrao();
    rs->setSort(QStringLiteral("TABLE_SCHEMA, TABLE_NAME"));
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        const QString tipo = rs->Valor(QStringLiteral("TABLE_TYPE")).toString();
        if (tipo != u"TABLE" && tipo != u"VIEW")
            continue;
        TabelaOrigem t;
        t.objeto = ObjetoBanco(rs->Valor(QStringLiteral("TABLE_SCHEMA")).toString(),
                               rs->Valor(QStringLiteral("TABLE_NAME")).toString());
        // SQLite's "main" and the session's own schema go without saying.
        if (t.objeto.esquema == padrao || origemMotor->DialetoSql() == Dialeto::Sqlite)
            t.objeto.esquema.clear();
        t.exibicao = t.objeto.Exibicao();
        t.visao = tipo == u"VIEW";
        saida << t;
    }
    return true;
}

qint64 clsTransferencia::Contar(const ObjetoBanco& tabela)
{
    if (origem.tipo != Ponta::Tipo::Conexao)
        return -1;
    RecordsetPtr rs;
    if (!origemMotor->Executar(QStringLiteral("SELECT COUNT(*) FROM ") + origemMotor->NomeQualificado(tabela),
                               &rs,
                               1,
                               nullptr)
        || !rs || rs->Eof())
        return -1;
    return rs->Valor(0).toLongLong();
}

bool clsTransferencia::ExisteNoDestino(const ObjetoBanco& tabela)
{
    if (destino.tipo != Ponta::Tipo::Conexao)
        return QFileInfo::exists(ArquivoDestino(tabela));
    bool existe = false;
    QString erro;
    ObjetoBanco t = tabela;
    if (t.esquema.isEmpty() && destinoMotor->DialetoSql() == Dialeto::PostgreSql)
        t.esquema = destinoMotor->EsquemaPadrao();
    return TabelaExiste(*destinoMotor, t, existe, erro) && existe;
}

namespace {

// Whether a column type typed by the user is a type and nothing else: words, sizes, brackets.
bool TipoValido(const QString& t)
{
    static const QRegularExpression tipo(
        QStringLiteral(R"(^\s*[A-Za-z_][A-Za-z0-9_ ]*(\(\s*\d+\s*(,\s*\d+\s*)?\))?(\s*\[\])?\s*$)"));
    return tipo.match(t).hasMatch();
}

// The structure the destination gets from the mapping; `projecao` the origin's index of each of
// its columns when some are left out (empty otherwise).
bool AplicarMapa(const QList<MapaColuna>& mapa, EstruturaCopia& e, std::vector<int>& projecao, QString& erro)
{
    projecao.clear();
    if (mapa.isEmpty())
        return true;
    EstruturaCopia saida;
    std::vector<int> indices;
    QHash<QString, QString> nomes;
    for (int i = 0; i < e.colunas.size(); ++i) {
        ColunaCopia c = e.colunas[i];
        const MapaColuna* m = nullptr;
        for (const MapaColuna& x : mapa)
            if (x.origem == c.nome)
                m = &x;
        if (m && !m->incluir)
            continue;
        if (m && !m->destino.trimmed().isEmpty())
            c.nome = m->destino.trimmed();
        if (m && !m->tipo.trimmed().isEmpty()) {
            if (!TipoValido(m->tipo)) {
                erro = QStringLiteral("O tipo '%1' da coluna '%2' não é um tipo de coluna.").arg(m->tipo, c.nome);
                return false;
            }
            c.tipoDestino = m->tipo.trimmed();
        }
        nomes.insert(e.colunas[i].nome, c.nome);
        saida.colunas << c;
        indices.push_back(i);
    }
    if (saida.colunas.isEmpty()) {
        erro = QStringLiteral("Nenhuma coluna foi incluída na cópia.");
        return false;
    }
    // The key only when every column of it goes.
    for (const QString& k : e.chave)
        if (nomes.contains(k))
            saida.chave << nomes.value(k);
    if (saida.chave.size() != e.chave.size())
        saida.chave.clear();
    if (int(indices.size()) != e.colunas.size())
        projecao = indices;
    e = saida;
    return true;
}

// The columns `indices` of a block, in that order.
std::shared_ptr<clsRecordsetDados> Projetar(const clsRecordsetDados& de, const std::vector<int>& indices)
{
    auto r = std::make_shared<clsRecordsetDados>();
    for (int i : indices)
        r->campos << de.campos[i];
    for (uint32_t l = 0; l < uint32_t(de.QtdeLinhas()); ++l) {
        for (size_t k = 0; k < indices.size(); ++k) {
            r->AcrescentarNulo(int(k));
            r->Gravar(l, int(k), r->CopiarCelula(de, de.Ler(l, indices[k])));
        }
        r->FecharLinha();
    }
    return r;
}

// A cell as the preview shows it.
QString TextoPrevia(const clsRecordsetDados& b, uint32_t l, int c)
{
    const Celula v = b.Ler(l, c);
    if (v.marca == Marca::Nulo)
        return QStringLiteral("(nulo)");
    if (v.marca == Marca::Binario) {
        uint32_t n;
        const char* p = b.Bytes(v, n);
        return TextoHex(p, qMin<uint32_t>(n, 32)) + (n > 32 ? QStringLiteral("…") : QString());
    }
    return b.Texto(v);
}

} // namespace

bool clsTransferencia::Previa(const ItemCopia& item,
                              int quantas,
                              EstruturaCopia& estrutura,
                              QList<QStringList>& linhas,
                              QString& erro)
{
    linhas.clear();
    std::unique_ptr<clsLeitor> leitor = NovoLeitor(item);
    if (!leitor->Estrutura(estrutura, erro))
        return false;
    QString erroLeitura;
    leitor->Ler(
        [&](std::shared_ptr<const clsRecordsetDados> bloco) {
            const clsRecordsetDados& b = *bloco;
            for (uint32_t l = 0; l < uint32_t(b.QtdeLinhas()) && linhas.size() < quantas; ++l) {
                QStringList v;
                for (int c = 0; c < b.QtdeCampos(); ++c)
                    v << TextoPrevia(b, l, c);
                linhas << v;
            }
            return linhas.size() < quantas;
        },
        erroLeitura);
    erro = linhas.isEmpty() ? erroLeitura : QString();
    return erro.isEmpty();
}

ResultadoItem clsTransferencia::Copiar(int indice, const ItemCopia& item, const Avisos& avisos)
{
    ResultadoItem r;
    r.origem = item.Descricao();
    r.destino = item.destino.Exibicao();
    QElapsedTimer relogio;
    relogio.start();
    std::unique_ptr<clsLeitor> leitor = NovoLeitor(item);
    std::unique_ptr<clsEscritor> escritor = NovoEscritor(item);
    {
        std::lock_guard<std::mutex> g(mtx);
        leitorAtual = leitor.get();
    }
    const auto fim = [&](bool ok) {
        {
            std::lock_guard<std::mutex> g(mtx);
            leitorAtual = nullptr;
        }
        r.ok = ok;
        r.interrompido = !ok && parar;
        if (!ok) {
            escritor->Desfazer();
            r.linhas = 0;
            if (r.interrompido)
                r.erro = QStringLiteral("Interrompida pelo usuário; nada foi gravado nesta tabela.");
        }
        r.ms = relogio.elapsed();
        return r;
    };
    if (parar)
        return fim(false);
    EstruturaCopia estrutura;
    if (!leitor->Estrutura(estrutura, r.erro))
        return fim(false);
    const EstruturaCopia lida = estrutura;
    std::vector<int> projecao;
    if (!AplicarMapa(item.colunas, estrutura, projecao, r.erro))
        return fim(false);
    qint64 linhas = 0;
    // Between two SQLite files, a new table is filled by the engine itself (its columns as they are).
    bool mapeada = false;
    for (int i = 0; i < estrutura.colunas.size(); ++i)
        mapeada = mapeada || !estrutura.colunas[i].tipoDestino.isEmpty()
                  || estrutura.colunas[i].nome != lida.colunas.value(i).nome;
    if (!mapeada && projecao.empty() && origemMotor && destinoMotor && item.consulta.isEmpty()
        && origemMotor->DialetoSql() == Dialeto::Sqlite && destinoMotor->DialetoSql() == Dialeto::Sqlite) {
        auto* escritorConexao = static_cast<clsEscritorConexao*>(escritor.get());
        const QString arquivo = origemMotor->ConnStr().Valor(QStringLiteral("Data Source"));
        if (escritorConexao->CopiarDoArquivo(arquivo, item.origem, estrutura, item.acao, linhas, r.erro)) {
            r.linhas = linhas;
            if (avisos.progresso)
                avisos.progresso(indice, linhas);
            return fim(true);
        }
        if (parar)
            return fim(false);
        r.erro.clear();
    }
    // A spreadsheet is one file: it replaces an existing one only when the action drops or empties
    // what is there.
    if (destino.tipo == Ponta::Tipo::Planilha && QFileInfo::exists(destino.caminho)
        && (item.acao == Acao::Criar || item.acao == Acao::Acrescentar)) {
        r.erro = QStringLiteral("O arquivo %1 já existe. Para substituí-lo por inteiro, escolha substituir as linhas "
                                "ou excluir e criar.")
                     .arg(destino.caminho);
        return fim(false);
    }
    if (!escritor->Iniciar(estrutura, item.acao, r.erro))
        return fim(false);
    // The origin is read on a thread of its own while the destination writes the blocks read.
    QString erroEscrita, erroLeitura;
    bool lido = false, escrito = true;
    clsFilaBlocos fila(3);
    std::thread leitura([&] {
        lido = leitor->Ler([&](std::shared_ptr<const clsRecordsetDados> b) { return !parar && fila.Por(std::move(b)); },
                           erroLeitura);
        fila.Terminar();
    });
    while (const std::shared_ptr<const clsRecordsetDados> lidoBloco = fila.Tirar()) {
        std::shared_ptr<clsRecordsetDados> projetado;
        if (!projecao.empty())
            projetado = Projetar(*lidoBloco, projecao);
        const clsRecordsetDados& bloco = projetado ? *projetado : *lidoBloco;
        if (parar || !escritor->Escrever(bloco, linhas + 1, erroEscrita)) {
            escrito = false;
            fila.Recusar();
            break;
        }
        linhas += qint64(bloco.QtdeLinhas());
        if (avisos.progresso)
            avisos.progresso(indice, linhas);
    }
    leitura.join();
    r.erro = erroLeitura;
    if (!erroEscrita.isEmpty())
        r.erro = erroEscrita;
    if (!lido || !escrito || parar)
        return fim(false);
    r.linhas = linhas;
    return fim(escritor->Concluir(r.erro));
}

QList<ResultadoItem> clsTransferencia::Executar(const QList<ItemCopia>& itens, bool pararNoErro, const Avisos& avisos)
{
    QList<ResultadoItem> resultados;
    bool encerrar = false;
    for (int i = 0; i < itens.size(); ++i) {
        ResultadoItem r;
        if (encerrar || parar) {
            r.origem = itens[i].Descricao();
            r.destino = itens[i].destino.Exibicao();
            r.naoExecutado = true;
            r.erro = QStringLiteral("Não executada.");
        } else {
            if (avisos.inicio)
                avisos.inicio(i);
            r = Copiar(i, itens[i], avisos);
            encerrar = !r.ok && (pararNoErro || r.interrompido);
        }
        // A spreadsheet written without a table would leave that table out for good.
        encerrar = encerrar || (!r.ok && destino.tipo == Ponta::Tipo::Planilha);
        if (avisos.fim)
            avisos.fim(i, r);
        resultados << r;
    }
    ConcluirPlanilha(resultados);
    return resultados;
}

void clsTransferencia::ConcluirPlanilha(QList<ResultadoItem>& resultados)
{
    if (!livro)
        return;
    QString falha;
    for (const ResultadoItem& r : resultados)
        if (!r.ok && falha.isEmpty())
            falha = QStringLiteral("O arquivo %1 não foi gravado porque a cópia de %2 não terminou.")
                        .arg(destino.caminho, r.origem);
    const QString parcial = destino.caminho + QStringLiteral(".parcial");
    if (falha.isEmpty() && livro->Fechar(falha)
        && std::rename(QFile::encodeName(parcial).constData(), QFile::encodeName(destino.caminho).constData()) != 0)
        falha = QStringLiteral("Não foi possível gravar o arquivo %1.").arg(destino.caminho);
    livro.reset();
    QFile::remove(parcial);
    if (falha.isEmpty())
        return;
    for (ResultadoItem& r : resultados)
        if (r.ok) {
            r.ok = false;
            r.linhas = 0;
            r.erro = falha;
        }
}

QString Relatorio(const QList<ResultadoItem>& resultados)
{
    QString t;
    qint64 linhas = 0, ms = 0;
    int falhas = 0;
    for (const ResultadoItem& r : resultados) {
        t += QStringLiteral("%1 -> %2: ").arg(r.origem, r.destino);
        if (r.ok)
            t += QStringLiteral("%1 linhas em %2 s\n").arg(r.linhas).arg(double(r.ms) / 1000.0, 0, 'f', 2);
        else
            t += (r.naoExecutado ? QString() : QStringLiteral("ERRO: ")) + r.erro + u'\n';
        linhas += r.linhas;
        ms += r.ms;
        falhas += r.ok ? 0 : 1;
    }
    t += QStringLiteral("Total: %1 tabela(s), %2 com erro, %3 linhas copiadas em %4 s\n")
             .arg(resultados.size())
             .arg(falhas)
             .arg(linhas)
             .arg(double(ms) / 1000.0, 0, 'f', 2);
    return t;
}

} // namespace impexp
