#include "clsEstrutura.h"

#include "connections/clsData.h"
#include "platform/clsPrompt.h"
#include "schema/mdlTipoDado.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// A text literal of the engine: apostrophes doubled, N'…' on SQL Server.
QString Lit(Dialeto d, const QString& s)
{
    const QString corpo = u'\'' + QString(s).replace(u'\'', QStringLiteral("''")) + u'\'';
    return d == Dialeto::SqlServer ? u'N' + corpo : corpo;
}

struct TipoMapeado {
    const char* nome;
    const char* sqlite;
    const char* postgres;
};

// The designer's names and the column types they become on SQLite and PostgreSQL ("%1" is the size);
// SQL Server takes the names themselves.
const TipoMapeado tipos[] = {
    {"BigInt", "BIGINT", "bigint"},
    {"Binary", "BLOB", "bytea"},
    {"Bit", "BOOLEAN", "boolean"},
    {"Char", "CHAR(%1)", "char(%1)"},
    {"DateTime", "DATETIME", "timestamp(3)"},
    {"Decimal", "DECIMAL(18, 0)", "numeric(18, 0)"},
    {"Float", "FLOAT", "double precision"},
    {"Image", "BLOB", "bytea"},
    {"Int", "INTEGER", "integer"},
    {"Money", "DECIMAL(19, 4)", "numeric(19, 4)"},
    {"nChar", "NCHAR(%1)", "char(%1)"},
    {"nText", "TEXT", "text"},
    {"nVarChar", "NVARCHAR(%1)", "varchar(%1)"},
    {"Real", "REAL", "real"},
    {"SmallDateTime", "DATETIME", "timestamp(0)"},
    {"SmallInt", "SMALLINT", "smallint"},
    {"SmallMoney", "DECIMAL(10, 4)", "numeric(10, 4)"},
    {"Text", "TEXT", "text"},
    {"TimeStamp", "BLOB", "bytea"},
    {"TinyInt", "TINYINT", "smallint"},
    {"UniqueIdentifier", "TEXT", "uuid"},
    {"VarBinary", "BLOB", "bytea"},
    {"VarChar", "VARCHAR(%1)", "varchar(%1)"},
};

QString Citar(const clsMotor& m, const QString& nome) { return m.CitarIdentificador(nome); }

QString ListaCitada(const clsMotor& m, const QStringList& nomes)
{
    QStringList r;
    for (const QString& n : nomes)
        r << Citar(m, n);
    return r.join(QStringLiteral(", "));
}

// The live columns in position order, the lists a save needs and what changed.
struct Analise {
    QList<ColunaEstrutura> vivas;
    QStringList chave, destino, origem;
    QStringList sumidas; // original names (lower case) of the columns deleted or renamed
    bool estrutura = false, chaveMudou = false;
    bool excluida = false; // a column of the table was deleted
    // Every column of the table is kept in its place (renamed or retyped at most), none added.
    bool mesmasPosicoes = true;
    // The table's columns keep their order and new ones come after all of them.
    bool ordemMantida = true;
    // An existing column changes its type, size, nullability or auto-numbering.
    bool colunaMudou = false;
    // A column takes the original name of another column (a swap): not a plain rename.
    bool nomeTrocado = false;
    QList<ColunaEstrutura> renomeadas, excluidas, novas;
};

Analise Analisar(QList<ColunaEstrutura> colunas)
{
    std::stable_sort(colunas.begin(), colunas.end(), [](const auto& a, const auto& b) { return a.ordem < b.ordem; });
    Analise a;
    qint32 posicaoAnterior = -1;
    for (const ColunaEstrutura& c : colunas) {
        a.excluida |= c.Existente() && !c.Viva();
        if (!c.Existente() || !c.Viva() || c.originalOrdem <= posicaoAnterior)
            a.mesmasPosicoes = false;
        if (c.Existente())
            posicaoAnterior = c.originalOrdem;
        if (c.Viva()) {
            a.vivas << c;
            if (c.chave)
                a.chave << c.campo;
            if (c.Existente()) {
                a.destino << c.campo;
                a.origem << c.originalCampo;
            }
            a.chaveMudou |= c.chave != c.originalChave;
        }
        // A key column deleted takes the key with it: the key is written again.
        a.chaveMudou |= c.Existente() && !c.Viva() && c.originalChave;
        if (c.Existente() && (!c.Viva() || c.campo.compare(c.originalCampo, Qt::CaseInsensitive) != 0))
            a.sumidas << c.originalCampo.toLower();
        a.estrutura |= c.tipoDado != c.originalTipoDado || c.campo != c.originalCampo || c.tamanho != c.originalTamanho
                       || c.ordem != c.originalOrdem || c.allowNulls != c.originalAllowNulls
                       || c.identity != c.originalIdentity || c.identitySeed != c.originalIdentitySeed
                       || c.identityIncrement != c.originalIdentityIncrement || !c.Viva()
                       || c.precisao != c.originalPrecisao || c.escala != c.originalEscala
                       || c.padrao != c.originalPadrao;
        if (c.Existente() && c.Viva()) {
            a.colunaMudou |= !c.TipoMantido() || c.allowNulls != c.originalAllowNulls
                             || c.identity != c.originalIdentity || c.identitySeed != c.originalIdentitySeed
                             || c.identityIncrement != c.originalIdentityIncrement || c.padrao != c.originalPadrao;
            if (c.campo != c.originalCampo)
                a.renomeadas << c;
        } else if (c.Existente()) {
            a.excluidas << c;
        } else if (c.Viva()) {
            a.novas << c;
        }
    }
    // Existing live columns in their old order, and no new one before any of them.
    qint32 ultimaOriginal = -1;
    bool novaAntes = false;
    for (const ColunaEstrutura& c : a.vivas) {
        if (!c.Existente()) {
            novaAntes = true;
            continue;
        }
        a.ordemMantida &= !novaAntes && c.originalOrdem > ultimaOriginal;
        ultimaOriginal = c.originalOrdem;
    }
    for (const ColunaEstrutura& r : std::as_const(a.renomeadas))
        for (const ColunaEstrutura& c : colunas)
            if (c.Existente() && c.originalCampo != r.originalCampo
                && c.originalCampo.compare(r.campo, Qt::CaseInsensitive) == 0)
                a.nomeTrocado = true;
    return a;
}

// The page cache of a SQLite rebuild, in KiB.
constexpr qint64 CacheReconstrucaoKb = 131072;

qint32 Incremento(const ColunaEstrutura& c) { return c.identityIncrement == 0 ? 1 : c.identityIncrement; }

// An identity that was GENERATED ALWAYS stays so while it stays an identity.
bool IdentitySempre(const ColunaEstrutura& c) { return c.identity && c.originalIdentity && c.identitySempre; }

// A PostgreSQL identity whose numbering goes on from where the old table's sequence was.
bool SequenciaMantida(const ColunaEstrutura& c)
{
    return c.Existente() && c.identity && c.originalIdentity && !c.nomeSequencia.isEmpty()
           && c.identitySeed == c.originalIdentitySeed && c.identityIncrement == c.originalIdentityIncrement;
}

// A PostgreSQL serial column: a sequence the column owns, not an identity.
bool Serial(const ColunaEstrutura& c)
{
    return c.Existente() && !c.originalIdentity && !c.identity && !c.sequencia.isEmpty()
           && c.padrao.contains(QStringLiteral("nextval("));
}

// `sequencia`: the name a PostgreSQL identity's sequence is given (a rebuild's copy of a column
// names it so that it can take the old sequence's name afterwards); empty for the engine's own.
QString DefinicaoColuna(const clsMotor& m, const ColunaEstrutura& c, const QString& sequencia = {})
{
    const Dialeto d = m.DialetoSql();
    const QString nome = Citar(m, c.campo);
    if (d == Dialeto::Sqlite && c.identity)
        return nome + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL");
    const QString tipo = c.TipoMantido() && !c.tipoNativo.isEmpty()
                             ? c.tipoNativo
                             : TipoNoMotor(d, c.tipoDado, c.tamanho, c.precisao, c.escala);
    QString r = nome + u' ' + tipo;
    if (c.identity && d == Dialeto::SqlServer)
        r += QStringLiteral(" IDENTITY (%1, %2)").arg(c.identitySeed).arg(Incremento(c));
    else if (c.identity)
        r += QStringLiteral(" GENERATED ")
             + (IdentitySempre(c) ? QStringLiteral("ALWAYS") : QStringLiteral("BY DEFAULT"))
             + QStringLiteral(" AS IDENTITY (")
             + (sequencia.isEmpty() ? QString() : QStringLiteral("SEQUENCE NAME ") + Citar(m, sequencia) + u' ')
             + QStringLiteral("START WITH %1 INCREMENT BY %2)").arg(c.identitySeed).arg(Incremento(c));
    if (!c.padrao.isEmpty() && !c.identity && c.nomePadrao.isEmpty())
        r += QStringLiteral(" DEFAULT ") + c.padrao;
    if (c.Existente() && !c.colacao.isEmpty())
        r += u' ' + c.colacao;
    return r + (c.allowNulls ? QStringLiteral(" NULL") : QStringLiteral(" NOT NULL"));
}

// SQLite keeps the key in the table itself: a table constraint, unless the auto-numbered column is
// the key.
QString ChaveEmbutida(const clsMotor& m, const Analise& a, const QString& nome)
{
    if (m.DialetoSql() != Dialeto::Sqlite || a.chave.isEmpty())
        return {};
    for (const ColunaEstrutura& c : a.vivas)
        if (c.identity)
            return {};
    // A key the table had named keeps its name.
    return (nome.isEmpty() ? QStringLiteral(", ") : QStringLiteral(", CONSTRAINT ") + Citar(m, nome) + u' ')
           + QStringLiteral("PRIMARY KEY (") + ListaCitada(m, a.chave) + u')';
}

QString ErroIdentitySqlite(const Analise& a)
{
    QStringList ids;
    for (const ColunaEstrutura& c : a.vivas)
        if (c.identity)
            ids << c.campo;
    if (ids.isEmpty())
        return {};
    if (ids.size() > 1 || a.chave != ids)
        return QStringLiteral("Neste banco a coluna de Auto Numeração precisa ser a única chave primária da tabela");
    return {};
}

// `restricoes`: table constraints carried from the old table; `opcoes`: what follows the column list;
// `nomeChave`: the old table's key name, kept where the key is written with the table.
QString CriarTabela(const clsMotor& m,
                    const ObjetoBanco& nome,
                    const Analise& a,
                    const QStringList& restricoes = {},
                    const QString& opcoes = {},
                    bool copia = false,
                    const QString& nomeChave = {})
{
    QStringList defs;
    for (const ColunaEstrutura& c : a.vivas)
        defs << DefinicaoColuna(m,
                                c,
                                copia && SequenciaMantida(c) ? QStringLiteral("tmp") + c.nomeSequencia : QString());
    QString r = QStringLiteral("CREATE TABLE ") + m.NomeQualificado(nome) + QStringLiteral(" (")
                + defs.join(QStringLiteral(", ")) + ChaveEmbutida(m, a, nomeChave);
    for (const QString& x : restricoes)
        r += QStringLiteral(", ") + x;
    r += u')';
    return opcoes.isEmpty() ? r : r + u' ' + opcoes;
}

// The old table's constraints as the new table declares them. A constraint that reads a column
// deleted or renamed in the window is refused by name in `erro`; a constraint declared on a renamed
// column (its key or unique mark) follows the column to its new name.
QStringList RestricoesCopiadas(const clsMotor& m, const Analise& a, const CatalogoTabela& cat, QString& erro)
{
    QStringList r;
    for (const ddlsqlite::Restricao& x : cat.restricoes) {
        const QString descricao = x.coluna.isEmpty() ? x.texto : x.coluna + u' ' + x.texto;
        QString sumida, novo;
        if (!x.coluna.isEmpty()) {
            sumida = x.coluna;
            for (const ColunaEstrutura& c : a.vivas)
                if (c.Existente() && c.originalCampo.compare(x.coluna, Qt::CaseInsensitive) == 0) {
                    novo = c.campo;
                    sumida.clear();
                }
        }
        for (const QString& n : x.nomes)
            if (sumida.isEmpty() && a.sumidas.contains(n.toLower()))
                sumida = n;
        // A list of plain column names follows its columns' new names.
        QString texto = x.texto;
        for (qsizetype k = x.lista.size() - 1; k >= 0 && sumida.isEmpty(); --k) {
            const ColunaEstrutura* viva = nullptr;
            for (const ColunaEstrutura& c : a.vivas)
                if (c.Existente() && c.originalCampo.compare(x.lista[k], Qt::CaseInsensitive) == 0)
                    viva = &c;
            if (viva && viva->campo.compare(viva->originalCampo, Qt::CaseInsensitive) != 0)
                texto.replace(x.trechos[k].first, x.trechos[k].second, Citar(m, viva->campo));
            else if (!viva && a.sumidas.contains(x.lista[k].toLower()))
                sumida = x.lista[k];
        }
        if (!sumida.isEmpty()) {
            erro = QStringLiteral("A estrutura não foi alterada: a restrição «") + descricao
                   + QStringLiteral("» usa a coluna ") + sumida
                   + QStringLiteral(", que foi renomeada ou excluída. Ajuste a restrição antes de mudar a coluna.");
            return {};
        }
        if (x.tipo == ddlsqlite::Restricao::Tabela)
            r << texto;
        else if (x.tipo != ddlsqlite::Restricao::Externa)
            r << x.Escrever(Citar(m, novo));
    }
    return r;
}

// The key keeps the name it had; a table that had none gets "PK_" and its name.
QString AdicionarChave(const clsMotor& m, const ObjetoBanco& tabela, const Analise& a, const QString& nome = {})
{
    return QStringLiteral("ALTER TABLE ") + m.NomeQualificado(tabela) + QStringLiteral(" ADD CONSTRAINT ")
           + Citar(m, nome.isEmpty() ? QStringLiteral("PK_") + tabela.nome : nome) + QStringLiteral(" PRIMARY KEY (")
           + ListaCitada(m, a.chave) + u')';
}

// Renames a table within its schema: the new name is never qualified.
QString Renomear(const clsMotor& m, const ObjetoBanco& de, const QString& para)
{
    if (m.DialetoSql() == Dialeto::SqlServer)
        return QStringLiteral("EXECUTE sp_rename ") + Lit(Dialeto::SqlServer, m.NomeQualificado(de))
               + QStringLiteral(", ") + Lit(Dialeto::SqlServer, para) + QStringLiteral(", 'OBJECT'");
    return QStringLiteral("ALTER TABLE ") + m.NomeQualificado(de) + QStringLiteral(" RENAME TO ") + Citar(m, para);
}

// PostgreSQL takes values into a GENERATED ALWAYS identity only when told to.
QString Sobrepor(const clsMotor& m, const Analise& a)
{
    if (m.DialetoSql() == Dialeto::PostgreSql)
        for (const ColunaEstrutura& c : a.vivas)
            if (c.Existente() && IdentitySempre(c))
                return QStringLiteral(" OVERRIDING SYSTEM VALUE");
    return {};
}

// The copy of the rows into the new table. SQL Server takes explicit values into an identity column
// only with IDENTITY_INSERT on; PostgreSQL's identity is moved past the copied values afterwards.
QList<PassoEstrutura> Copia(const clsMotor& m, const ObjetoBanco& tabela, const ObjetoBanco& tmp, const Analise& a)
{
    QList<PassoEstrutura> r;
    if (a.destino.isEmpty())
        return r;
    QString idCopiado;
    for (const ColunaEstrutura& c : a.vivas)
        if (c.identity && c.Existente())
            idCopiado = c.campo;
    const bool identityInsert = m.DialetoSql() == Dialeto::SqlServer && !idCopiado.isEmpty();
    if (identityInsert)
        r << PassoEstrutura{QStringLiteral("SET IDENTITY_INSERT ") + m.NomeQualificado(tmp) + QStringLiteral(" ON")};
    // SQLite copies a table's records as they are, without decoding each value, only from a plain
    // INSERT INTO … SELECT * between tables of the same columns: taken when every column keeps its
    // place, so the positions pair the same columns as the lists would.
    if (m.DialetoSql() == Dialeto::Sqlite && a.mesmasPosicoes)
        r << PassoEstrutura{QStringLiteral("INSERT INTO ") + m.NomeQualificado(tmp) + QStringLiteral(" SELECT * FROM ")
                            + m.NomeQualificado(tabela)};
    else
        r << PassoEstrutura{QStringLiteral("INSERT INTO ") + m.NomeQualificado(tmp) + QStringLiteral(" (")
                            + ListaCitada(m, a.destino) + u')' + Sobrepor(m, a) + QStringLiteral(" SELECT ")
                            + ListaCitada(m, a.origem) + QStringLiteral(" FROM ") + m.NomeQualificado(tabela)};
    if (identityInsert)
        r << PassoEstrutura{QStringLiteral("SET IDENTITY_INSERT ") + m.NomeQualificado(tmp) + QStringLiteral(" OFF")};
    // PostgreSQL: an identity kept as it was goes on from the old sequence's state, so a number
    // once given (even of a row deleted since) is never given again.
    bool continua = false;
    for (const ColunaEstrutura& c : a.vivas)
        if (SequenciaMantida(c)) {
            continua = true;
            r << PassoEstrutura{
                QStringLiteral("SELECT setval(")
                + Lit(Dialeto::PostgreSql, m.NomeQualificado(tabela.Irmao(QStringLiteral("tmp") + c.nomeSequencia)))
                + QStringLiteral(", last_value, is_called) FROM ") + c.sequencia};
        }
    if (m.DialetoSql() == Dialeto::PostgreSql && !idCopiado.isEmpty() && !continua) {
        const QString col = Citar(m, idCopiado);
        r << PassoEstrutura{QStringLiteral("SELECT setval(pg_get_serial_sequence(")
                            + Lit(Dialeto::PostgreSql, m.NomeQualificado(tmp)) + QStringLiteral(", ")
                            + Lit(Dialeto::PostgreSql, idCopiado) + QStringLiteral("), m) FROM (SELECT MAX(") + col
                            + QStringLiteral(") AS m FROM ") + m.NomeQualificado(tmp)
                            + QStringLiteral(") x WHERE m IS NOT NULL")};
    }
    return r;
}

// The new table's comment and its columns' comments, each under the column's name now.
void Comentarios(const clsMotor& m,
                 const ObjetoBanco& tabela,
                 const Analise& a,
                 const CatalogoTabela& cat,
                 PlanoEstrutura& p)
{
    const Dialeto d = m.DialetoSql();
    if (!cat.comentario.isEmpty())
        p.passos << PassoEstrutura{QStringLiteral("COMMENT ON TABLE ") + m.NomeQualificado(tabela)
                                   + QStringLiteral(" IS ") + Lit(d, cat.comentario)};
    for (const auto& [coluna, texto] : cat.comentariosColunas)
        for (const ColunaEstrutura& c : a.vivas)
            if (c.Existente() && c.originalCampo == coluna)
                p.passos << PassoEstrutura{QStringLiteral("COMMENT ON COLUMN ") + m.NomeQualificado(tabela) + u'.'
                                           + Citar(m, c.campo) + QStringLiteral(" IS ") + Lit(d, texto)};
}

void Reconstrucao(const clsMotor& m,
                  const ObjetoBanco& tabela,
                  const Analise& a,
                  const CatalogoTabela& cat,
                  const QStringList& restricoes,
                  PlanoEstrutura& p)
{
    const ObjetoBanco tmp = tabela.Irmao(QStringLiteral("tmp") + tabela.nome);
    const bool sqlite = m.DialetoSql() == Dialeto::Sqlite;
    p.caminho = CaminhoEstrutura::Reconstrucao;
    // SQLite's procedure for table changes: foreign keys off around the transaction, and the old
    // rename rules, so that views naming the table do not stop the rename of its copy.
    if (sqlite) {
        p.antes << QStringLiteral("PRAGMA foreign_keys = OFF") << QStringLiteral("PRAGMA legacy_alter_table = ON");
        p.depois << QStringLiteral("PRAGMA legacy_alter_table = OFF") << QStringLiteral("PRAGMA foreign_keys = ON");
        // The copy, the drop of the old table and the new indexes stay in memory until the commit
        // writes them once, instead of spilling to the file on the way.
        bool ok = false;
        const qint64 cache = cat.cacheSize.toLongLong(&ok);
        if (ok && (cache < 0 ? -cache * 1024 : cache * 4096) < CacheReconstrucaoKb * 1024) {
            p.antes << QStringLiteral("PRAGMA cache_size = -%1").arg(CacheReconstrucaoKb);
            p.depois << QStringLiteral("PRAGMA cache_size = %1").arg(cache);
        }
        // The old table's pages hold the same rows as the new table when no column was deleted:
        // zeroing each of them as it is freed (and journaling it first) protects nothing then.
        if (!a.excluida && (cat.secureDelete == u"1")) {
            p.antes << QStringLiteral("PRAGMA secure_delete = FAST");
            p.depois << QStringLiteral("PRAGMA secure_delete = ") + cat.secureDelete;
        }
    }
    p.passos << PassoEstrutura{CriarTabela(m, tmp, a, restricoes, cat.opcoesTabela, true, cat.nomeChave)};
    const qsizetype copia = p.passos.size();
    p.passos << Copia(m, tabela, tmp, a);
    for (const QString& s : cat.antesDeApagar)
        p.passos << PassoEstrutura{s};
    // A serial column's sequence belongs to the old table: it is let go before the drop and given
    // to the new table's column afterwards, numbering on.
    for (const ColunaEstrutura& c : a.vivas)
        if (Serial(c))
            p.passos << PassoEstrutura{QStringLiteral("ALTER SEQUENCE ") + c.sequencia
                                       + QStringLiteral(" OWNED BY NONE")};
    const qsizetype apagar = p.passos.size();
    p.passos << PassoEstrutura{QStringLiteral("DROP TABLE ") + m.NomeQualificado(tabela)};
    p.passos << PassoEstrutura{Renomear(m, tmp, tabela.nome)};
    for (const ColunaEstrutura& c : a.vivas) {
        if (Serial(c))
            p.passos << PassoEstrutura{QStringLiteral("ALTER SEQUENCE ") + c.sequencia + QStringLiteral(" OWNED BY ")
                                       + m.NomeQualificado(tabela) + u'.' + Citar(m, c.campo)};
        else if (SequenciaMantida(c))
            p.passos << PassoEstrutura{QStringLiteral("ALTER SEQUENCE ")
                                       + m.NomeQualificado(tabela.Irmao(QStringLiteral("tmp") + c.nomeSequencia))
                                       + QStringLiteral(" RENAME TO ") + Citar(m, c.nomeSequencia)};
    }
    // SQLite's AUTOINCREMENT counter goes on from where it was, not from the highest id copied.
    bool ok = false;
    const qint64 contador = cat.autoincremento.toLongLong(&ok);
    if (sqlite && ok && std::any_of(a.vivas.cbegin(), a.vivas.cend(), [](const auto& c) { return c.identity; })) {
        const QString nome = Lit(Dialeto::Sqlite, tabela.nome), n = QString::number(contador);
        p.passos << PassoEstrutura{QStringLiteral("UPDATE sqlite_sequence SET seq = ") + n
                                   + QStringLiteral(" WHERE name = ") + nome + QStringLiteral(" AND seq < ") + n};
        p.passos << PassoEstrutura{
            QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT ") + nome + QStringLiteral(", ") + n
            + QStringLiteral(" WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = ") + nome + u')'};
    }
    for (const ColunaEstrutura& c : a.vivas)
        if (c.Existente() && !c.nomePadrao.isEmpty() && !c.padrao.isEmpty() && !c.identity)
            p.passos << PassoEstrutura{QStringLiteral("ALTER TABLE ") + m.NomeQualificado(tabela)
                                       + QStringLiteral(" ADD CONSTRAINT ") + Citar(m, c.nomePadrao)
                                       + QStringLiteral(" DEFAULT ") + c.padrao + QStringLiteral(" FOR ")
                                       + Citar(m, c.campo)};
    for (const QString& s : cat.scripts)
        p.passos << PassoEstrutura{s};
    if (!sqlite && !a.chave.isEmpty())
        p.passos << PassoEstrutura{AdicionarChave(m, tabela, a, cat.nomeChave)};
    for (const QString& s : cat.depoisDaChave)
        p.passos << PassoEstrutura{s};
    for (const QString& s : cat.privilegios)
        p.passos << PassoEstrutura{s};
    Comentarios(m, tabela, a, cat, p);
    for (const QString& s : cat.verificacoes)
        p.passos << PassoEstrutura{s, true};
    // The drop and the rename fail with the engine's own error alone; so does a check of the rows,
    // which names what it found.
    for (qsizetype i = copia; i < p.passos.size(); ++i)
        p.passos[i].avisar = (i != apagar && i != apagar + 1 && !p.passos[i].semLinhas);
}

// SQLite's affinity of a declared type: how the file stores the column's values.
char Afinidade(const QString& tipo)
{
    const QString t = tipo.toUpper();
    if (t.contains(u"INT"))
        return 'i';
    if (t.contains(u"CHAR") || t.contains(u"CLOB") || t.contains(u"TEXT"))
        return 't';
    if (t.contains(u"BLOB") || t.trimmed().isEmpty())
        return 'b';
    if (t.contains(u"REAL") || t.contains(u"FLOA") || t.contains(u"DOUB"))
        return 'r';
    return 'n';
}

// The same rules over the `type` column of pragma_table_xinfo.
const char* const AfinidadeSql
    = "CASE WHEN instr(upper(type), 'INT') THEN 'i' WHEN instr(upper(type), 'CHAR') OR instr(upper(type), 'CLOB') "
      "OR instr(upper(type), 'TEXT') THEN 't' WHEN instr(upper(type), 'BLOB') OR trim(type) = '' THEN 'b' "
      "WHEN instr(upper(type), 'REAL') OR instr(upper(type), 'FLOA') OR instr(upper(type), 'DOUB') THEN 'r' "
      "ELSE 'n' END";

// SQLite, a table of the main file: every column stays, in its place, with its name, key,
// nullability, numbering and default; only declared types change, each to one of the same
// affinity, and no key column's. Nothing the file stores depends on the change.
bool SoDeclaracoes(const ObjetoBanco& tabela, const Analise& a, const CatalogoTabela& cat)
{
    if (cat.versaoEsquema.isEmpty() || !tabela.esquema.isEmpty() || a.excluida || !a.novas.isEmpty()
        || !a.renomeadas.isEmpty() || !a.mesmasPosicoes || a.chaveMudou || a.nomeTrocado)
        return false;
    bool mudou = false;
    for (const ColunaEstrutura& c : a.vivas) {
        if (c.ordem != c.originalOrdem || c.allowNulls != c.originalAllowNulls || c.identity != c.originalIdentity
            || c.identitySeed != c.originalIdentitySeed || c.identityIncrement != c.originalIdentityIncrement
            || c.padrao != c.originalPadrao)
            return false;
        if (c.TipoMantido())
            continue;
        if (c.chave || c.identity || c.tipoNativo.isEmpty()
            || Afinidade(c.tipoNativo)
                   != Afinidade(TipoNoMotor(Dialeto::Sqlite, c.tipoDado, c.tamanho, c.precisao, c.escala)))
            return false;
        mudou = true;
    }
    return mudou;
}

// Rows of `a` missing from `b` and of `b` missing from `a`: none when both describe the same.
QString Diferenca(const QString& a, const QString& b)
{
    return QStringLiteral("SELECT * FROM (%1 EXCEPT %2) UNION ALL SELECT * FROM (%2 EXCEPT %1)").arg(a, b);
}

// The table's definition rewritten in its schema row, as SQLite documents for changes that leave
// the stored rows as they are. The engine first creates the new definition as an empty table of
// its own; the save goes on only when that table's columns (names, order, nullability, defaults,
// key, affinity) and the indexes its constraints make match the table's exactly, and when no one
// changed the file's schema since it was read.
void SoDeclaracao(const clsMotor& m,
                  const ObjetoBanco& tabela,
                  const Analise& a,
                  const CatalogoTabela& cat,
                  const QStringList& restricoes,
                  PlanoEstrutura& p)
{
    const ObjetoBanco tmp = tabela.Irmao(QStringLiteral("tmp") + tabela.nome);
    const QString nome = Lit(Dialeto::Sqlite, tabela.nome), nomeTmp = Lit(Dialeto::Sqlite, tmp.nome);
    const qint64 versao = cat.versaoEsquema.toLongLong();
    const QString recusa = QStringLiteral("A estrutura não foi alterada: a nova definição não corresponde à forma como "
                                          "a tabela está gravada. Nada foi mudado.");
    p.caminho = CaminhoEstrutura::Declaracao;
    p.passos << PassoEstrutura{CriarTabela(m, tmp, a, restricoes, cat.opcoesTabela, true, cat.nomeChave)};
    p.passos << PassoEstrutura{
        QStringLiteral("SELECT 1 FROM pragma_schema_version WHERE schema_version <> %1").arg(versao + 1),
        true,
        false,
        recusa};
    auto colunas = [](const QString& t) {
        // NOT NULL written on an INTEGER key (the row's number, never null) changes nothing.
        return QStringLiteral("SELECT cid, name, CASE WHEN pk > 0 AND upper(type) = 'INTEGER' THEN 0 ELSE "
                              "\"notnull\" END, dflt_value, pk, hidden, ")
               + QLatin1String(AfinidadeSql)
               + QStringLiteral(", CASE WHEN pk > 0 THEN upper(type) END FROM pragma_table_xinfo(") + t + u')';
    };
    auto indices = [](const QString& t) {
        return QStringLiteral("SELECT i.origin, i.\"unique\", i.partial, substr(i.name, length(") + t
               + QStringLiteral(") + 19), x.seqno, x.cid, x.\"desc\", x.coll, x.\"key\" FROM pragma_index_list(") + t
               + QStringLiteral(") i, pragma_index_xinfo(i.name) x WHERE i.origin <> 'c'");
    };
    auto tabelas = [](const QString& t) {
        return QStringLiteral("SELECT ncol, wr, strict FROM pragma_table_list WHERE schema = 'main' AND name = ") + t;
    };
    for (const QString& d : {Diferenca(colunas(nome), colunas(nomeTmp)),
                             Diferenca(indices(nome), indices(nomeTmp)),
                             Diferenca(tabelas(nome), tabelas(nomeTmp))})
        p.passos << PassoEstrutura{d, true, false, recusa};
    p.passos << PassoEstrutura{QStringLiteral("DROP TABLE ") + m.NomeQualificado(tmp)};
    const QString definicao
        = Lit(Dialeto::Sqlite,
              CriarTabela(m, ObjetoBanco(tabela.nome), a, restricoes, cat.opcoesTabela, true, cat.nomeChave));
    p.passos << PassoEstrutura{QStringLiteral("PRAGMA writable_schema = ON")};
    p.passos << PassoEstrutura{QStringLiteral("UPDATE sqlite_schema SET sql = ") + definicao
                               + QStringLiteral(" WHERE type = 'table' AND name = ") + nome};
    p.passos << PassoEstrutura{QStringLiteral("SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM sqlite_schema WHERE type = "
                                              "'table' AND name = ")
                                   + nome + QStringLiteral(" AND sql = ") + definicao + u')',
                               true,
                               false,
                               recusa};
    // The new version makes every connection read the schema again.
    p.passos << PassoEstrutura{QStringLiteral("PRAGMA schema_version = %1").arg(versao + 3)};
    p.passos << PassoEstrutura{QStringLiteral("PRAGMA writable_schema = OFF")};
    p.depois << QStringLiteral("PRAGMA writable_schema = OFF");
}

// Changes ALTER TABLE makes in place, in an order the engines accept: the old key goes first, the
// new key last. SQLite renames (views, triggers and indexes follow the column), drops (the engine
// refuses, naming it, when something reads the column) and adds at the end; PostgreSQL also
// changes types, nullability and auto-numbering.
void Alteracoes(const clsMotor& m,
                const ObjetoBanco& tabela,
                const Analise& a,
                const CatalogoTabela& cat,
                PlanoEstrutura& p)
{
    const QString t = QStringLiteral("ALTER TABLE ") + m.NomeQualificado(tabela);
    const bool pg = m.DialetoSql() == Dialeto::PostgreSql;
    p.caminho = CaminhoEstrutura::Alteracao;
    if (a.chaveMudou && !cat.nomeChave.isEmpty())
        p.passos << PassoEstrutura{t + QStringLiteral(" DROP CONSTRAINT ") + Citar(m, cat.nomeChave)};
    for (const ColunaEstrutura& c : a.renomeadas)
        p.passos << PassoEstrutura{t + QStringLiteral(" RENAME COLUMN ") + Citar(m, c.originalCampo)
                                   + QStringLiteral(" TO ") + Citar(m, c.campo)};
    for (const ColunaEstrutura& c : a.excluidas)
        p.passos << PassoEstrutura{t + QStringLiteral(" DROP COLUMN ") + Citar(m, c.originalCampo)};
    for (const ColunaEstrutura& c : a.vivas) {
        if (!pg || !c.Existente())
            continue;
        const QString col = t + QStringLiteral(" ALTER COLUMN ") + Citar(m, c.campo);
        if (!c.TipoMantido()) {
            const QString tipo = TipoNoMotor(Dialeto::PostgreSql, c.tipoDado, c.tamanho, c.precisao, c.escala);
            p.passos << PassoEstrutura{col + QStringLiteral(" TYPE ") + tipo + QStringLiteral(" USING ")
                                       + Citar(m, c.campo) + QStringLiteral("::") + tipo};
        }
        if (c.padrao != c.originalPadrao)
            p.passos << PassoEstrutura{
                col
                + (c.padrao.isEmpty() ? QStringLiteral(" DROP DEFAULT") : QStringLiteral(" SET DEFAULT ") + c.padrao)};
        if (c.allowNulls != c.originalAllowNulls)
            p.passos << PassoEstrutura{
                col + (c.allowNulls ? QStringLiteral(" DROP NOT NULL") : QStringLiteral(" SET NOT NULL"))};
        if (c.identity != c.originalIdentity)
            p.passos << PassoEstrutura{
                col
                + (c.identity ? QStringLiteral(" ADD GENERATED BY DEFAULT AS IDENTITY (START WITH %1 INCREMENT BY %2)")
                                    .arg(c.identitySeed)
                                    .arg(Incremento(c))
                              : QStringLiteral(" DROP IDENTITY"))};
        else if (c.identity
                 && (c.identitySeed != c.originalIdentitySeed || c.identityIncrement != c.originalIdentityIncrement))
            p.passos << PassoEstrutura{
                col + QStringLiteral(" SET START WITH %1 SET INCREMENT BY %2").arg(c.identitySeed).arg(Incremento(c))};
    }
    for (const ColunaEstrutura& c : a.novas)
        p.passos << PassoEstrutura{t + QStringLiteral(" ADD COLUMN ") + DefinicaoColuna(m, c)};
    if (a.chaveMudou && !a.chave.isEmpty())
        p.passos << PassoEstrutura{AdicionarChave(m, tabela, a, cat.nomeChave)};
    // Each change in place stands for part of a rebuild: a failure undoes the ones before it. A
    // change of the key alone fails with the engine's error alone.
    for (PassoEstrutura& passo : p.passos)
        passo.avisar = a.estrutura;
}

// Whether ALTER TABLE makes the whole change: SQLite renames, drops and adds nullable columns at
// the end; PostgreSQL does everything but reorder columns. Swapped names take a rebuild.
bool Alteravel(const clsMotor& m, const Analise& a)
{
    if (!a.ordemMantida || a.nomeTrocado)
        return false;
    if (m.DialetoSql() == Dialeto::PostgreSql)
        return true;
    if (m.DialetoSql() != Dialeto::Sqlite || a.colunaMudou || a.chaveMudou)
        return false;
    return std::none_of(a.novas.cbegin(), a.novas.cend(), [](const ColunaEstrutura& c) {
        return c.chave || c.identity || (!c.allowNulls && c.padrao.isEmpty());
    });
}

// SQLite: a rebuild writes the views, triggers and indexes that read a column by its old name
// back as they were; one that reads a column renamed or deleted in the window refuses the save,
// by name.
QString DependenteSumido(const ObjetoBanco& tabela, const Analise& a, const CatalogoTabela& cat)
{
    for (const CatalogoTabela::Dependente& d : cat.dependentes) {
        if (!d.nomes.contains(tabela.nome.toLower()))
            continue;
        for (const ColunaEstrutura& c : a.excluidas + a.renomeadas)
            if (a.sumidas.contains(c.originalCampo.toLower()) && d.nomes.contains(c.originalCampo.toLower()))
                return QStringLiteral("A estrutura não foi alterada: ") + d.descricao + QStringLiteral(" usa a coluna ")
                       + c.originalCampo
                       + QStringLiteral(", que seria renomeada ou excluída ao recriar a tabela. Grave essa mudança "
                                        "sozinha, sem outras, e depois as demais.");
    }
    return {};
}

} // namespace

const QStringList& TiposDadoEstrutura()
{
    static const QStringList nomes = [] {
        QStringList r;
        for (const TipoMapeado& t : tipos)
            r << QString::fromLatin1(t.nome);
        return r;
    }();
    return nomes;
}

QStringList TiposDoMotor(Dialeto dialeto)
{
    switch (dialeto) {
    case Dialeto::Sqlite:
        return {"INTEGER",
                "TEXT",
                "REAL",
                "NUMERIC",
                "DECIMAL",
                "VARCHAR",
                "CHAR",
                "BLOB",
                "BOOLEAN",
                "DATE",
                "DATETIME"};
    case Dialeto::PostgreSql:
        return {"integer",
                "bigint",
                "smallint",
                "numeric",
                "real",
                "double precision",
                "boolean",
                "character varying",
                "character",
                "text",
                "date",
                "timestamp without time zone",
                "timestamp with time zone",
                "time without time zone",
                "uuid",
                "json",
                "jsonb",
                "bytea"};
    case Dialeto::SqlServer:
    case Dialeto::Outro: break;
    }
    return TiposDadoEstrutura();
}

QString TipoNovaColuna(Dialeto dialeto)
{
    switch (dialeto) {
    case Dialeto::Sqlite: return QStringLiteral("VARCHAR");
    case Dialeto::PostgreSql: return QStringLiteral("character varying");
    case Dialeto::SqlServer:
    case Dialeto::Outro: break;
    }
    return QStringLiteral("VarChar");
}

namespace {
bool UmDe(const QString& tipo, std::initializer_list<const char*> nomes)
{
    for (const char* t : nomes)
        if (tipo.compare(QLatin1String(t), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
} // namespace

bool TipoComTamanho(const QString& tipo)
{
    return UmDe(tipo, {"nChar", "nVarChar", "Char", "VarChar", "character varying", "character", "bit varying"});
}

bool TipoComPrecisao(const QString& tipo) { return UmDe(tipo, {"Decimal", "Numeric"}); }

QString TipoNoMotor(Dialeto dialeto, const QString& tipo, qint32 tamanho, qint32 precisao, qint32 escala)
{
    const QString tam = QString::number(tamanho > 0 ? tamanho : 1);
    const QString numeros = QStringLiteral("(%1, %2)").arg(precisao).arg(escala);
    for (const TipoMapeado& t : tipos) {
        if (tipo.compare(QLatin1String(t.nome), Qt::CaseInsensitive) != 0 || dialeto == Dialeto::SqlServer
            || dialeto == Dialeto::Outro)
            continue;
        QString r = QString::fromLatin1(dialeto == Dialeto::Sqlite ? t.sqlite : t.postgres);
        if (TipoComPrecisao(tipo) && precisao > 0)
            r = r.left(r.indexOf(u'(')) + numeros;
        return r.replace(QStringLiteral("%1"), tam);
    }
    // The engine's own name (SQL Server: the designer's), with its size, or precision and scale.
    if (TipoComTamanho(tipo) && tamanho != 0)
        return tipo + u'(' + QString::number(tamanho) + u')';
    if (TipoComPrecisao(tipo) && precisao > 0)
        return tipo + numeros;
    if (dialeto == Dialeto::PostgreSql && tipo.startsWith(QStringLiteral("time")) && precisao > 0) {
        const qsizetype fim = tipo.indexOf(u' ');
        const QString p = QStringLiteral("(%1)").arg(precisao);
        return fim < 0 ? tipo + p : tipo.left(fim) + p + tipo.mid(fim);
    }
    return tipo;
}

void DecomporTipo(const QString& nativo, QString& nome, qint32& tamanho, qint32& precisao, qint32& escala)
{
    tamanho = precisao = escala = 0;
    const qsizetype abre = nativo.indexOf(u'(');
    const qsizetype fecha = abre < 0 ? -1 : nativo.indexOf(u')', abre);
    if (fecha < 0) {
        nome = nativo.simplified();
        return;
    }
    nome = (nativo.left(abre) + u' ' + nativo.mid(fecha + 1)).simplified();
    const QStringList n = nativo.mid(abre + 1, fecha - abre - 1).split(u',');
    if (n.size() == 2) {
        precisao = n[0].trimmed().toInt();
        escala = n[1].trimmed().toInt();
    } else if (TipoComPrecisao(nome) || nome.startsWith(QStringLiteral("time"), Qt::CaseInsensitive)) {
        precisao = n[0].trimmed().toInt();
    } else {
        tamanho = n[0].trimmed().toInt();
    }
}

PlanoEstrutura PlanejarEstrutura(const clsMotor& m,
                                 const ObjetoBanco& tabela,
                                 bool nova,
                                 const QList<ColunaEstrutura>& colunas,
                                 const CatalogoTabela& cat)
{
    PlanoEstrutura p;
    if (tabela.nome.isEmpty())
        return p;
    const Analise a = Analisar(colunas);
    if (a.vivas.isEmpty()) {
        p.erro = QStringLiteral("Informe os campos para a tabela");
        return p;
    }
    const bool sqlite = m.DialetoSql() == Dialeto::Sqlite;
    if (sqlite)
        p.erro = ErroIdentitySqlite(a);
    if (!p.erro.isEmpty())
        return p;
    if (nova) {
        p.caminho = CaminhoEstrutura::Nova;
        p.passos << PassoEstrutura{CriarTabela(m, tabela, a)};
        if (!sqlite && !a.chave.isEmpty())
            p.passos << PassoEstrutura{AdicionarChave(m, tabela, a)};
        return p;
    }
    if ((a.estrutura || a.chaveMudou) && Alteravel(m, a)) {
        Alteracoes(m, tabela, a, cat, p);
        return p;
    }
    // SQLite cannot change a table's key in place: a key change rebuilds the table.
    if (a.estrutura || (sqlite && a.chaveMudou)) {
        if (sqlite)
            p.erro = DependenteSumido(tabela, a, cat);
        if (!p.erro.isEmpty())
            return p;
        if (!cat.perdas.isEmpty()) {
            p.erro = QStringLiteral("A estrutura não foi alterada: a tabela tem ")
                     + cat.perdas.join(QStringLiteral(", ")) + QStringLiteral(", que se perderiam ao recriá-la.");
            return p;
        }
        const QStringList restricoes = RestricoesCopiadas(m, a, cat, p.erro);
        if (!p.erro.isEmpty())
            return p;
        if (sqlite && SoDeclaracoes(tabela, a, cat))
            SoDeclaracao(m, tabela, a, cat, restricoes, p);
        else
            Reconstrucao(m, tabela, a, cat, restricoes, p);
    } else if (a.chaveMudou) {
        p.caminho = CaminhoEstrutura::SoChave;
        if (!cat.nomeChave.isEmpty())
            p.passos << PassoEstrutura{QStringLiteral("ALTER TABLE ") + m.NomeQualificado(tabela)
                                       + QStringLiteral(" DROP CONSTRAINT ") + Citar(m, cat.nomeChave)};
        if (!a.chave.isEmpty())
            p.passos << PassoEstrutura{AdicionarChave(m, tabela, a, cat.nomeChave)};
    }
    return p;
}

bool ExecutarPlano(clsData& db, clsPrompt& prompt, const PlanoEstrutura& plano)
{
    if (!plano.erro.isEmpty()) {
        prompt.MsgBox(plano.erro, vb::Exclamation);
        return false;
    }
    if (plano.caminho == CaminhoEstrutura::Nada)
        return false;
    for (const QString& s : plano.antes)
        db.ExecSql(s, false);
    bool ok = db.TransactionBegin();
    bool avisar = !ok;
    for (const PassoEstrutura& passo : plano.passos) {
        if (!ok)
            break;
        avisar = passo.avisar;
        if (passo.semLinhas) {
            RecordsetPtr rs;
            // A check that cannot run is reported by the data layer; rows are reported here.
            const bool lido = db.OpenRecordset(rs, passo.sql) && rs;
            ok = lido && rs->RecordCount() == 0;
            if (lido && !ok)
                prompt.MsgBox(passo.mensagem.isEmpty()
                                  ? QStringLiteral("Há linhas que não atendem às chaves estrangeiras do banco.")
                                  : passo.mensagem,
                              vb::Critical);
        } else {
            ok = db.ExecSql(passo.sql, true);
        }
    }
    if (ok) {
        ok = db.TransactionCommit();
        avisar = !ok;
    } else {
        db.TransactionRollback();
    }
    for (const QString& s : plano.depois)
        db.ExecSql(s, false);
    if (!ok && avisar)
        prompt.MsgBox(QStringLiteral("A estrutura não foi alterada"), vb::Exclamation);
    return ok;
}
