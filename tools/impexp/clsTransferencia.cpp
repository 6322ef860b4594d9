#include "clsTransferencia.h"

#include "clsPontasConexao.h"
#include "clsPontasTexto.h"

#include "platform/mdlCitacao.h"

#include <QDir>
#include <QFileInfo>

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
    if (destino.tipo == Ponta::Tipo::Planilha || origem.tipo == Ponta::Tipo::Planilha) {
        erro = QStringLiteral("Planilhas (.xlsx) ainda não são aceitas: salve a planilha como CSV.");
        return false;
    }
    if (origem.tipo == Ponta::Tipo::Texto && !QFileInfo(origem.caminho).isFile()) {
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
    return std::make_unique<clsLeitorTexto>(item.origem.nome.isEmpty() ? origem.caminho : item.origem.nome,
                                            origem.texto);
}

std::unique_ptr<clsEscritor> clsTransferencia::NovoEscritor(const ItemCopia& item)
{
    if (destino.tipo == Ponta::Tipo::Conexao)
        return std::make_unique<clsEscritorConexao>(destinoMotor, item.destino);
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
    qint64 linhas = 0;
    // Between two SQLite files, a new table is filled by the engine itself.
    if (origemMotor && destinoMotor && item.consulta.isEmpty() && origemMotor->DialetoSql() == Dialeto::Sqlite
        && destinoMotor->DialetoSql() == Dialeto::Sqlite) {
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
    if (!escritor->Iniciar(estrutura, item.acao, r.erro))
        return fim(false);
    QString erroEscrita;
    const bool lido = leitor->Ler(
        [&](const clsRecordsetDados& bloco) {
            if (parar || !escritor->Escrever(bloco, linhas + 1, erroEscrita))
                return false;
            linhas += qint64(bloco.QtdeLinhas());
            if (avisos.progresso)
                avisos.progresso(indice, linhas);
            return !parar;
        },
        r.erro);
    if (!erroEscrita.isEmpty())
        r.erro = erroEscrita;
    if (!lido || parar)
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
        if (avisos.fim)
            avisos.fim(i, r);
        resultados << r;
    }
    return resultados;
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
