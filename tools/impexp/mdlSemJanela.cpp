#include "mdlSemJanela.h"

#include "clsTransferencia.h"

#include <QFileInfo>
#include <QSaveFile>

namespace impexp {

namespace {

void AplicarOpcoesTexto(OpcoesTexto& o, const QList<QPair<QString, QString>>& chaves)
{
    for (const auto& [k, v] : chaves) {
        if (k == u"separador")
            o.separador = v == u"\\t" || v == u"tab" ? QChar(u'\t') : (v.isEmpty() ? QChar() : v.at(0));
        else if (k == u"decimal" && !v.isEmpty()) {
            o.decimal = v.at(0);
            o.decimalDetectado = false;
        } else if (k == u"codificacao")
            o.codificacao = v.contains(QStringLiteral("1252")) ? OpcoesTexto::Codificacao::Windows1252
                            : v.isEmpty()                      ? OpcoesTexto::Codificacao::Detectar
                                                               : OpcoesTexto::Codificacao::Utf8;
        else if (k == u"cabecalho")
            o.cabecalho = v != u"0";
        else if (k == u"bom")
            o.bom = v == u"1";
    }
}

// Every table of a connection.
QStringList TodasAsTabelas(clsMotor& m, const QString& esquema)
{
    QStringList r;
    RecordsetPtr rs;
    if (m.Schema(SchemaOleDb::Tabelas, {QString(), esquema, QString(), QStringLiteral("TABLE")}, rs) && rs)
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            r << rs->Valor(QStringLiteral("TABLE_NAME")).toString();
    return r;
}

} // namespace

int ExecutarSemJanela(const QString& argumento, const QString& texto, QTextStream& saida, QTextStream& erros)
{
    const Argumentos arg = LerArgumento(argumento);
    const QList<QPair<QString, QString>> chaves = LerChaves(texto);
    QString origemTexto = arg.origem, destinoTexto = arg.destino, esquema, esquemaDestino, nomeDestino, consulta,
            relatorio;
    QStringList tabelas;
    if (!arg.tabela.isEmpty())
        tabelas << arg.tabela;
    Acao acao = Acao::Criar;
    bool pararNoErro = false;
    for (const auto& [k, v] : chaves) {
        if (k == u"origem")
            origemTexto = v;
        else if (k == u"destino")
            destinoTexto = v;
        else if (k == u"tabela")
            tabelas << v;
        else if (k == u"esquema")
            esquema = v;
        else if (k == u"esquema_destino")
            esquemaDestino = v;
        else if (k == u"nome_destino")
            nomeDestino = v;
        else if (k == u"consulta")
            consulta = v;
        else if (k == u"relatorio")
            relatorio = v;
        else if (k == u"parar_no_erro")
            pararNoErro = v == u"1";
        else if (k == u"acao") {
            bool ok = false;
            acao = AcaoDoTexto(v, &ok);
            if (!ok) {
                erros << QStringLiteral("Ação desconhecida: %1 (use criar, acrescentar, substituir ou recriar).\n")
                             .arg(v);
                return 2;
            }
        }
    }
    Ponta origem = InterpretarPonta(origemTexto), destino = InterpretarPonta(destinoTexto);
    AplicarOpcoesTexto(origem.texto, chaves);
    AplicarOpcoesTexto(destino.texto, chaves);
    clsTransferencia t(origem, destino);
    QString erro;
    if (!t.Abrir(erro)) {
        erros << erro << u'\n';
        return 2;
    }
    QList<ItemCopia> itens;
    if (origem.tipo == Ponta::Tipo::Conexao && !consulta.isEmpty()) {
        ItemCopia i;
        i.consulta = consulta;
        i.destino = ObjetoBanco(esquemaDestino, nomeDestino.isEmpty() ? QStringLiteral("consulta") : nomeDestino);
        i.acao = acao;
        itens << i;
    } else if (origem.tipo == Ponta::Tipo::Conexao || origem.tipo == Ponta::Tipo::Planilha) {
        // Every table of a connection, every sheet of a spreadsheet.
        if (tabelas.isEmpty() && origem.tipo == Ponta::Tipo::Conexao)
            tabelas = TodasAsTabelas(*t.MotorOrigem(), esquema);
        if (tabelas.isEmpty() && origem.tipo == Ponta::Tipo::Planilha) {
            QList<TabelaOrigem> folhas;
            if (!t.Listar(folhas, erro)) {
                erros << erro << u'\n';
                return 2;
            }
            for (const TabelaOrigem& f : folhas)
                tabelas << f.objeto.nome;
        }
        for (const QString& nome : tabelas) {
            ItemCopia i;
            i.origem = ObjetoBanco(esquema, nome);
            i.destino = ObjetoBanco(esquemaDestino, tabelas.size() == 1 && !nomeDestino.isEmpty() ? nomeDestino : nome);
            i.acao = acao;
            itens << i;
        }
    } else {
        ItemCopia i;
        i.origem = ObjetoBanco(origem.caminho);
        i.destino = ObjetoBanco(esquemaDestino,
                                nomeDestino.isEmpty() ? QFileInfo(origem.caminho).completeBaseName() : nomeDestino);
        i.acao = acao;
        itens << i;
    }
    if (itens.isEmpty()) {
        erros << QStringLiteral("A origem não tem tabelas.\n");
        return 2;
    }
    const QList<ResultadoItem> r = t.Executar(itens, pararNoErro);
    const QString rel = Relatorio(r);
    saida << rel;
    saida.flush();
    if (!relatorio.isEmpty()) {
        QSaveFile f(relatorio);
        if (!f.open(QIODevice::WriteOnly) || f.write(rel.toUtf8()) < 0 || !f.commit())
            erros << QStringLiteral("Não foi possível gravar o relatório em %1.\n").arg(relatorio);
    }
    for (const ResultadoItem& i : r)
        if (!i.ok)
            return 1;
    return 0;
}

} // namespace impexp
