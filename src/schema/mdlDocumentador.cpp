#include "mdlDocumentador.h"

#include "connections/clsData.h"
#include "mdlTipoDado.h"
#include "platform/clsMotor.h"
#include "platform/clsProgresso.h"
#include "platform/clsRecordset.h"
#include "platform/mdlFuncoes.h"

#include <QFile>
#include <QRegularExpression>

namespace documentador {

namespace {

constexpr int Largura = 84;

QString Linha(const QString& f1, const QString& f2, const QString& f3, const QString& f4, QChar separador)
{
    const QString sep = u' ' + QString(separador) + u' ';
    return funcoes::AlinharTexto(f1, 5, 2) + sep + funcoes::AlinharTexto(f2, 50, 0) + sep
           + funcoes::AlinharTexto(f3, 13, 0) + sep + funcoes::AlinharTexto(f4, 7, 2);
}

bool LerColunas(clsData& db, const ObjetoBanco& tabela, QList<ColunaDoc>& colunas)
{
    RecordsetPtr rs;
    if (!db.OpenSchema(tiposchema::Colunas, rs, {.tabela = tabela.nome, .esquema = tabela.esquema}) || !rs)
        return false;
    rs->setSort(QStringLiteral("ORDINAL_POSITION"));
    const auto m = db.ActiveConnection();
    const QStringList chaves = m ? m->ChavesPrimarias(tabela.nome, tabela.esquema) : QStringList();
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        ColunaDoc c;
        c.nome = rs->Valor(QStringLiteral("COLUMN_NAME")).toString();
        c.chave
            = std::any_of(chaves.cbegin(), chaves.cend(), [&](const QString& k) { return m->MesmoNome(k, c.nome); });
        // The size as the type reads it: a long text or a binary has none (the catalog's figure,
        // about a thousand million, would be cut to its first digits).
        c.tipo = tipodado::TipoDaColuna(*rs, false, &c.tamanho);
        const QVariant nulos = rs->Valor(QStringLiteral("IS_NULLABLE"));
        c.anulavel = nulos.isNull() || nulos.toBool();
        c.padrao = rs->Valor(QStringLiteral("COLUMN_DEFAULT")).toString();
        colunas << c;
    }
    return true;
}

// The table's indexes with their columns in key order, as the catalog lists them.
QList<IndiceDoc> LerIndices(clsData& db, const ObjetoBanco& tabela)
{
    QList<IndiceDoc> indices;
    RecordsetPtr rs;
    if (!db.OpenSchema(tiposchema::Indices, rs, {.tabela = tabela.nome, .esquema = tabela.esquema}) || !rs)
        return indices;
    rs->setSort(QStringLiteral("INDEX_NAME, ORDINAL_POSITION"));
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        const QString nome = rs->Valor(QStringLiteral("INDEX_NAME")).toString();
        if (indices.isEmpty() || indices.last().nome != nome)
            indices << IndiceDoc{.nome = nome,
                                 .primario = rs->Valor(QStringLiteral("PRIMARY_KEY")).toBool(),
                                 .unico = rs->Valor(QStringLiteral("UNIQUE")).toBool()};
        const QString coluna = rs->Valor(QStringLiteral("COLUMN_NAME")).toString();
        if (!coluna.isEmpty())
            indices.last().colunas << coluna
                                          + (rs->Valor(QStringLiteral("COLLATION")).toInt() == 2
                                                 ? QStringLiteral(" DESC")
                                                 : QString());
    }
    return indices;
}

// What names the file: the table, or which tables, without what a file name cannot hold.
QString NomeArquivo(Alcance alcance, const ObjetoBanco& tabela, const QDateTime& agora)
{
    QString assunto = alcance == Alcance::Tabela         ? tabela.Exibicao()
                      : alcance == Alcance::TodasTabelas ? QStringLiteral("Tabelas")
                                                         : QStringLiteral("Tabelas do Sistema");
    static const QRegularExpression proibidos(QStringLiteral(R"([\\/:*?"<>|\x00-\x1f])"));
    assunto.replace(proibidos, QStringLiteral("_"));
    // The date has no ":" (nor "/", a folder separator here).
    return QStringLiteral("Estrutura - ") + assunto + QStringLiteral(" - ")
           + agora.toString(QStringLiteral("dd-MM-yyyy HHmmss")) + QStringLiteral(".txt");
}

} // namespace

QStringList SecaoTabela(const QString& tabela,
                        const QString& legenda,
                        const QDateTime& agora,
                        const QList<ColunaDoc>& colunas,
                        const QList<IndiceDoc>& indices)
{
    const QString data = agora.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    QStringList l;
    l << funcoes::AlinharTexto(QStringLiteral("Visualizador de Estrutura"), Largura, 2)
      << funcoes::AlinharTexto(QStringLiteral("*** ") + tabela + QStringLiteral(" ***"), Largura, 2)
      << legenda + QString(qMax(0, Largura - int(legenda.size()) - 19), u' ') + data << QString(Largura, u'=')
      << Linha(QStringLiteral("Chave"),
               QStringLiteral("Nome do Campo"),
               QStringLiteral("Tipo de Dado"),
               QStringLiteral("Tamanho"),
               u' ')
      << QString(Largura, u'-');
    for (const ColunaDoc& c : colunas)
        l << Linha(c.chave ? QStringLiteral("*") : QStringLiteral(" "),
                   c.nome,
                   c.tipo,
                   QString::number(c.tamanho),
                   u'|');
    // Nulls and defaults, then the indexes: what the table's grid above has no room for.
    l << QString() << QStringLiteral("Nulos e Valores Padrão") << QString(Largura, u'-');
    for (const ColunaDoc& c : colunas)
        l << funcoes::AlinharTexto(c.nome, 50, 0) + QStringLiteral(" | ")
                 + funcoes::AlinharTexto(c.anulavel ? QStringLiteral("Nulo") : QStringLiteral("Não Nulo"), 8, 0)
                 + QStringLiteral(" | ") + c.padrao;
    l << QString() << QStringLiteral("Índices") << QString(Largura, u'-');
    if (indices.isEmpty())
        l << QStringLiteral("(nenhum)");
    for (const IndiceDoc& i : indices)
        l << i.nome + QStringLiteral(" (") + i.colunas.join(QStringLiteral(", ")) + u')'
                 + (i.primario ? QStringLiteral(" - chave primária")
                    : i.unico  ? QStringLiteral(" - único")
                               : QString());
    l << QStringLiteral(" ") << QStringLiteral(" ") << QStringLiteral(" ");
    return l;
}

QString
Documentar(clsAmbienteDados& amb, const QString& chave, const Pedido& pedido, QString& erro, clsProgresso* progresso)
{
    const QDateTime agora = pedido.agora.isValid() ? pedido.agora : QDateTime::currentDateTime();
    // The user's documents folder; the working folder when that one cannot be made.
    const QString pasta = funcoes::CriarPasta(amb.pastaDocumentos) ? amb.pastaDocumentos : amb.pastaTemporaria;
    if (!funcoes::CriarPasta(pasta)) {
        erro = QStringLiteral("Não foi possível criar a pasta de trabalho:\n") + pasta;
        return {};
    }
    clsData db(amb);
    if (!db.OpenConnection(chave, true, false)) {
        erro = db.ErrMsg();
        return {};
    }
    QList<ObjetoBanco> tabelas;
    if (pedido.alcance == Alcance::Tabela) {
        tabelas << pedido.tabela;
    } else {
        RecordsetPtr rs;
        const QString tipo
            = pedido.alcance == Alcance::TodasTabelas ? QStringLiteral("TABLE") : QStringLiteral("SYSTEM TABLE");
        if (db.OpenSchema(tiposchema::Tabelas, rs, {}, tipo) && rs)
            for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
                tabelas << ObjetoBanco(rs->Valor(QStringLiteral("TABLE_SCHEMA")).toString(),
                                       rs->Valor(QStringLiteral("TABLE_NAME")).toString());
    }
    const QString caminho = pasta + u'/' + NomeArquivo(pedido.alcance, pedido.tabela, agora);
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        erro = QStringLiteral("Não foi possível gravar o arquivo:\n") + caminho + u'\n' + arquivo.errorString();
        return {};
    }
    clsProgresso semJanela;
    clsProgresso& passos = progresso ? *progresso : semJanela;
    passos.Iniciar(int(tabelas.size()), QStringLiteral("Aguarde"));
    for (const ObjetoBanco& t : tabelas) {
        QList<ColunaDoc> colunas;
        if (LerColunas(db, t, colunas))
            arquivo.write(
                (SecaoTabela(t.Exibicao(), pedido.legenda, agora, colunas, LerIndices(db, t)).join(u'\n') + u'\n')
                    .toUtf8());
        if (!passos.Avancar())
            break;
    }
    arquivo.close();
    return arquivo.exists() ? caminho : QString();
}

} // namespace documentador
