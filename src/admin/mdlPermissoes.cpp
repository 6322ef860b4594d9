#include "mdlPermissoes.h"

#include "platform/clsPrompt.h"
#include "platform/mdlCitacao.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlProgramas.h"

#include <QHash>

namespace permissoes {

namespace {

const char* const Nomes[QtdePermissoes] = {"SELECT", "INSERT", "UPDATE", "DELETE", "REFERENCES", "EXECUTE"};

TipoMotor Motor(Dialeto dialeto) { return dialeto == Dialeto::SqlServer ? TipoMotor::SqlServer : TipoMotor::Odbc; }
QString Nome(Dialeto dialeto, const QString& nome) { return citacao::Citar(Motor(dialeto), nome); }
QString Texto(Dialeto dialeto, const QString& valor) { return citacao::Literal(Motor(dialeto), valor); }

bool Rotina(TipoObjeto tipo) { return tipo == TipoObjeto::Procedure || tipo == TipoObjeto::Funcao; }

// The object as a GRANT names it: "[s].[n]" on SQL Server; on PostgreSQL with the kind before it and
// a routine's argument types after it.
QString Alvo(Dialeto dialeto, const Objeto& o)
{
    const QString nome = Nome(dialeto, o.esquema) + u'.' + Nome(dialeto, o.nome);
    if (dialeto == Dialeto::SqlServer)
        return nome;
    switch (o.tipo) {
    case TipoObjeto::Procedure: return QStringLiteral("PROCEDURE ") + nome + u'(' + o.argumentos + u')';
    case TipoObjeto::Funcao:
    case TipoObjeto::FuncaoTabela: return QStringLiteral("FUNCTION ") + nome + u'(' + o.argumentos + u')';
    default: return QStringLiteral("TABLE ") + nome;
    }
}

// What one object's changed cells ask for, grouped by statement.
struct Grupos {
    QStringList revogar, revogarCascata, negar, negarCascata, conceder;
};

Grupos Agrupar(const Objeto& antes, const Objeto& depois)
{
    Grupos g;
    for (int p = 0; p < QtdePermissoes; ++p) {
        const Celula& a = antes.celulas[p];
        const Estado d = depois.celulas[p].estado;
        if (a.estado == d)
            continue;
        const QString nome = NomePermissao(p);
        // A permission held with grant option is taken away with what the user granted on.
        if (d == Estado::Concedido)
            g.conceder << nome;
        else if (d == Estado::Negado)
            (a.opcaoConcessao ? g.negarCascata : g.negar) << nome;
        else
            (a.opcaoConcessao && a.estado == Estado::Concedido ? g.revogarCascata : g.revogar) << nome;
    }
    return g;
}

Estado EstadoDoCatalogo(const QString& codigo)
{
    if (codigo == u"D")
        return Estado::Negado;
    if (codigo == u"G" || codigo == u"W")
        return Estado::Concedido;
    return Estado::Nenhum;
}

QString Chave(const QString& esquema, const QString& nome, const QString& argumentos)
{
    return esquema + QChar(0) + nome + QChar(0) + argumentos;
}

QString Campo(clsRecordset& rs, const char* nome) { return rs.Valor(QString::fromLatin1(nome)).toString(); }
bool Sim(clsRecordset& rs, const char* nome) { return rs.Valor(QString::fromLatin1(nome)).toInt() != 0; }

// The schemas PostgreSQL keeps for itself.
const QString EsquemasPostgres
    = QStringLiteral("n.nspname NOT IN ('pg_catalog', 'information_schema') AND n.nspname NOT LIKE 'pg\\_toast%' "
                     "AND n.nspname NOT LIKE 'pg\\_temp%'");
// A routine of PostgreSQL's own extensions is theirs to manage.
const QString RotinasPostgres = QStringLiteral(
    "p.prokind IN ('f', 'p') AND NOT EXISTS (SELECT 1 FROM pg_depend d WHERE d.classid = 'pg_proc'::regclass "
    "AND d.objid = p.oid AND d.deptype = 'e')");
const QString RelacoesPostgres = QStringLiteral("c.relkind IN ('r', 'p', 'f', 'v', 'm')");

// The roles the user belongs to, directly or not, as a recursive CTE "papeis(id)".
QString PapeisRecursivosPostgres(const QString& usuario)
{
    return QStringLiteral("WITH RECURSIVE papeis(id) AS (SELECT m.roleid FROM pg_auth_members m JOIN pg_roles u "
                          "ON u.oid = m.member WHERE u.rolname = %1 UNION SELECT m.roleid FROM pg_auth_members m "
                          "JOIN papeis ON m.member = papeis.id) ")
        .arg(Texto(Dialeto::PostgreSql, usuario));
}

QString PapeisRecursivosSqlServer(const QString& usuario)
{
    return QStringLiteral("WITH papeis(id) AS (SELECT m.role_principal_id FROM sys.database_role_members m "
                          "JOIN sys.database_principals u ON u.principal_id = m.member_principal_id WHERE u.name = %1 "
                          "UNION ALL SELECT m.role_principal_id FROM sys.database_role_members m "
                          "JOIN papeis ON m.member_principal_id = papeis.id) ")
        .arg(Texto(Dialeto::SqlServer, usuario));
}

} // namespace

QString NomePermissao(int permissao)
{
    return permissao >= 0 && permissao < QtdePermissoes ? QString::fromLatin1(Nomes[permissao]) : QString();
}

int PermissaoDoNome(const QString& nome)
{
    for (int p = 0; p < QtdePermissoes; ++p)
        if (nome.compare(QLatin1String(Nomes[p]), Qt::CaseInsensitive) == 0)
            return p;
    return -1;
}

QString NomeTipo(TipoObjeto tipo)
{
    switch (tipo) {
    case TipoObjeto::Tabela: return QStringLiteral("Tabela");
    case TipoObjeto::View: return QStringLiteral("View");
    case TipoObjeto::Procedure: return QStringLiteral("Procedure");
    case TipoObjeto::Funcao:
    case TipoObjeto::FuncaoTabela: return QStringLiteral("Função");
    }
    return {};
}

QString Objeto::Rotulo() const
{
    const QString base = esquema.isEmpty() ? nome : esquema + u'.' + nome;
    return Rotina(tipo) || !argumentos.isEmpty() ? base + u'(' + argumentos + u')' : base;
}

bool Aplicavel(Dialeto dialeto, TipoObjeto tipo, int permissao)
{
    switch (tipo) {
    case TipoObjeto::Tabela:
    case TipoObjeto::View: return permissao != Execute;
    case TipoObjeto::Procedure: return permissao == Execute;
    case TipoObjeto::Funcao:
        // A SQL Server scalar function is also referenced by schema-bound objects.
        return permissao == Execute || (dialeto == Dialeto::SqlServer && permissao == References);
    case TipoObjeto::FuncaoTabela: return permissao == Select || permissao == References;
    }
    return false;
}

Estado ProximoEstado(Dialeto dialeto, Estado estado)
{
    switch (estado) {
    case Estado::Nenhum: return Estado::Concedido;
    case Estado::Concedido: return dialeto == Dialeto::SqlServer ? Estado::Negado : Estado::Nenhum;
    case Estado::Negado: return Estado::Nenhum;
    }
    return Estado::Nenhum;
}

QString TextoEstado(Estado estado)
{
    switch (estado) {
    case Estado::Concedido: return QStringLiteral("GRANT");
    case Estado::Negado: return QStringLiteral("DENY");
    case Estado::Nenhum: break;
    }
    return {};
}

int QtdeAlteracoes(const Quadro& antes, const Quadro& depois)
{
    int n = 0;
    for (qsizetype i = 0; i < antes.objetos.size() && i < depois.objetos.size(); ++i)
        for (int p = 0; p < QtdePermissoes; ++p)
            n += antes.objetos[i].celulas[p].estado != depois.objetos[i].celulas[p].estado;
    for (qsizetype i = 0; i < antes.papeis.size() && i < depois.papeis.size(); ++i)
        n += antes.papeis[i].membro != depois.papeis[i].membro;
    return n;
}

QStringList Instrucoes(const Quadro& antes, const Quadro& depois)
{
    const Dialeto d = depois.dialeto;
    const QString principal = Nome(d, depois.usuario);
    QStringList r;
    for (qsizetype i = 0; i < antes.objetos.size() && i < depois.objetos.size(); ++i) {
        const Grupos g = Agrupar(antes.objetos[i], depois.objetos[i]);
        const QString alvo = Alvo(d, depois.objetos[i]);
        const auto instrucao = [&](const char* verbo, const QStringList& nomes, const char* ligacao, bool cascata) {
            if (!nomes.isEmpty())
                r << QString::fromLatin1(verbo) + u' ' + nomes.join(QStringLiteral(", ")) + QStringLiteral(" ON ")
                         + alvo + QString::fromLatin1(ligacao) + principal
                         + (cascata ? QStringLiteral(" CASCADE") : QString());
        };
        instrucao("REVOKE", g.revogar, " FROM ", false);
        instrucao("REVOKE", g.revogarCascata, " FROM ", true);
        instrucao("DENY", g.negar, " TO ", false);
        instrucao("DENY", g.negarCascata, " TO ", true);
        instrucao("GRANT", g.conceder, " TO ", false);
    }
    // Memberships taken away first: a role given in the same run may need one that goes.
    for (bool incluir : {false, true})
        for (qsizetype i = 0; i < antes.papeis.size() && i < depois.papeis.size(); ++i) {
            if (antes.papeis[i].membro == depois.papeis[i].membro || depois.papeis[i].membro != incluir)
                continue;
            const QString papel = Nome(d, depois.papeis[i].nome);
            if (d == Dialeto::SqlServer)
                r << QStringLiteral("ALTER ROLE ") + papel
                         + (incluir ? QStringLiteral(" ADD MEMBER ") : QStringLiteral(" DROP MEMBER ")) + principal;
            else
                r << (incluir ? QStringLiteral("GRANT ") + papel + QStringLiteral(" TO ")
                              : QStringLiteral("REVOKE ") + papel + QStringLiteral(" FROM "))
                         + principal;
        }
    return r;
}

QString Script(Dialeto dialeto, const QStringList& instrucoes)
{
    if (instrucoes.isEmpty())
        return {};
    // On SQL Server any failing statement rolls the whole transaction back (XACT_ABORT).
    const QString inicio = dialeto == Dialeto::SqlServer ? QStringLiteral("SET XACT_ABORT ON;\nBEGIN TRANSACTION;\n")
                                                         : QStringLiteral("BEGIN;\n");
    const QString fim
        = dialeto == Dialeto::SqlServer ? QStringLiteral("COMMIT TRANSACTION;\n") : QStringLiteral("COMMIT;\n");
    return inicio + instrucoes.join(QStringLiteral(";\n")) + QStringLiteral(";\n") + fim;
}

QString SqlUsuario(Dialeto dialeto, const QString& usuario)
{
    if (dialeto == Dialeto::SqlServer)
        return QStringLiteral("SELECT 0 AS superusuario FROM sys.database_principals WHERE type NOT IN ('R', 'A') "
                              "AND name = ")
               + Texto(dialeto, usuario);
    return QStringLiteral("SELECT CASE WHEN rolsuper THEN 1 ELSE 0 END AS superusuario FROM pg_roles WHERE rolname = ")
           + Texto(dialeto, usuario);
}

QString SqlObjetos(Dialeto dialeto)
{
    if (dialeto == Dialeto::SqlServer)
        return QStringLiteral(
            "SELECT s.name AS esquema, o.name AS nome, '' AS argumentos, RTRIM(o.type) AS tipo FROM sys.objects o "
            "JOIN sys.schemas s ON s.schema_id = o.schema_id WHERE o.is_ms_shipped = 0 "
            "AND o.type IN ('U', 'V', 'P', 'PC', 'FN', 'FS', 'IF', 'TF', 'FT') ORDER BY s.name, o.name");
    return QStringLiteral("SELECT n.nspname AS esquema, c.relname AS nome, '' AS argumentos, CASE WHEN c.relkind IN "
                          "('v', 'm') THEN 'v' ELSE 'r' END AS tipo FROM pg_class c JOIN pg_namespace n ON n.oid = "
                          "c.relnamespace WHERE ")
           + RelacoesPostgres + QStringLiteral(" AND ") + EsquemasPostgres
           + QStringLiteral(" UNION ALL SELECT n.nspname, p.proname, pg_get_function_identity_arguments(p.oid), CASE "
                            "WHEN p.prokind = 'p' THEN 'P' ELSE 'F' END FROM pg_proc p JOIN pg_namespace n ON n.oid = "
                            "p.pronamespace WHERE ")
           + RotinasPostgres + QStringLiteral(" AND ") + EsquemasPostgres + QStringLiteral(" ORDER BY 1, 2, 3");
}

QString SqlPermissoes(Dialeto dialeto, const QString& usuario)
{
    if (dialeto == Dialeto::SqlServer)
        return PapeisRecursivosSqlServer(usuario)
               + QStringLiteral("SELECT s.name AS esquema, o.name AS nome, '' AS argumentos, p.permission_name AS "
                                "permissao, p.state AS estado, CASE WHEN g.name = %1 THEN NULL ELSE g.name END AS "
                                "papel FROM sys.database_permissions p JOIN sys.objects o ON o.object_id = p.major_id "
                                "JOIN sys.schemas s ON s.schema_id = o.schema_id JOIN sys.database_principals g ON "
                                "g.principal_id = p.grantee_principal_id WHERE p.class = 1 AND p.minor_id = 0 AND "
                                "(g.name = %1 OR g.name = 'public' OR g.principal_id IN (SELECT id FROM papeis))")
                     .arg(Texto(dialeto, usuario));
    // Access lists never set hold the owner's default ones (acldefault); PUBLIC is grantee 0.
    const QString alvos
        = QStringLiteral(", alvos(id, papel) AS (SELECT r.oid, r.rolname::text FROM pg_roles r WHERE r.oid IN "
                         "(SELECT id FROM papeis) UNION ALL SELECT 0, 'PUBLIC' UNION ALL SELECT r.oid, NULL FROM "
                         "pg_roles r WHERE r.rolname = %1) ")
              .arg(Texto(dialeto, usuario));
    const QString colunas = QStringLiteral("a.privilege_type AS permissao, CASE WHEN a.is_grantable THEN 'W' ELSE 'G' "
                                           "END AS estado, t.papel AS papel ");
    return PapeisRecursivosPostgres(usuario) + alvos
           + QStringLiteral("SELECT n.nspname AS esquema, c.relname AS nome, '' AS argumentos, ") + colunas
           + QStringLiteral("FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace CROSS JOIN LATERAL "
                            "aclexplode(COALESCE(c.relacl, acldefault('r', c.relowner))) a JOIN alvos t ON t.id = "
                            "a.grantee WHERE ")
           + RelacoesPostgres + QStringLiteral(" AND ") + EsquemasPostgres
           + QStringLiteral(" UNION ALL SELECT n.nspname, p.proname, pg_get_function_identity_arguments(p.oid), ")
           + colunas
           + QStringLiteral("FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace CROSS JOIN LATERAL "
                            "aclexplode(COALESCE(p.proacl, acldefault('f', p.proowner))) a JOIN alvos t ON t.id = "
                            "a.grantee WHERE ")
           + RotinasPostgres + QStringLiteral(" AND ") + EsquemasPostgres;
}

QString SqlPapeis(Dialeto dialeto, const QString& usuario)
{
    const QString u = Texto(dialeto, usuario);
    if (dialeto == Dialeto::SqlServer)
        return PapeisRecursivosSqlServer(usuario)
               + QStringLiteral("SELECT r.name AS nome, CAST(r.is_fixed_role AS int) AS fixo, CASE WHEN EXISTS (SELECT "
                                "1 FROM sys.database_role_members m JOIN sys.database_principals u ON u.principal_id = "
                                "m.member_principal_id WHERE m.role_principal_id = r.principal_id AND u.name = %1) "
                                "THEN 1 ELSE 0 END AS membro, CASE WHEN r.principal_id IN (SELECT id FROM papeis) THEN "
                                "1 ELSE 0 END AS efetivo FROM sys.database_principals r WHERE r.type = 'R' AND r.name "
                                "<> 'public' ORDER BY r.is_fixed_role DESC, r.name")
                     .arg(u);
    // Roles that log in are other users: listed only when the user already belongs to one.
    // pg_database_owner has no members but the database's owner.
    return PapeisRecursivosPostgres(usuario)
           + QStringLiteral("SELECT r.rolname AS nome, CASE WHEN r.rolname LIKE 'pg\\_%' THEN 1 ELSE 0 END AS fixo, "
                            "CASE WHEN m.roleid IS NULL THEN 0 ELSE 1 END AS membro, CASE WHEN r.oid IN (SELECT id "
                            "FROM papeis) THEN 1 ELSE 0 END AS efetivo FROM pg_roles r JOIN pg_roles u ON u.rolname = "
                            "%1 LEFT JOIN pg_auth_members m ON m.roleid = r.oid AND m.member = u.oid WHERE r.oid <> "
                            "u.oid AND r.rolname <> 'pg_database_owner' AND (NOT r.rolcanlogin OR m.roleid IS NOT "
                            "NULL) ORDER BY 2 DESC, 1")
                 .arg(u);
}

void LerObjetos(Quadro& q, clsRecordset& rs)
{
    static const QHash<QString, TipoObjeto> tipos = {
        {QStringLiteral("U"), TipoObjeto::Tabela},
        {QStringLiteral("r"), TipoObjeto::Tabela},
        {QStringLiteral("V"), TipoObjeto::View},
        {QStringLiteral("v"), TipoObjeto::View},
        {QStringLiteral("P"), TipoObjeto::Procedure},
        {QStringLiteral("PC"), TipoObjeto::Procedure},
        {QStringLiteral("FN"), TipoObjeto::Funcao},
        {QStringLiteral("FS"), TipoObjeto::Funcao},
        {QStringLiteral("F"), TipoObjeto::Funcao},
        {QStringLiteral("IF"), TipoObjeto::FuncaoTabela},
        {QStringLiteral("TF"), TipoObjeto::FuncaoTabela},
        {QStringLiteral("FT"), TipoObjeto::FuncaoTabela},
    };
    q.objetos.clear();
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const auto tipo = tipos.constFind(Campo(rs, "tipo").trimmed());
        if (tipo == tipos.cend())
            continue;
        Objeto o;
        o.esquema = Campo(rs, "esquema");
        o.nome = Campo(rs, "nome");
        o.argumentos = Campo(rs, "argumentos");
        o.tipo = *tipo;
        q.objetos.append(o);
    }
}

void LerPermissoes(Quadro& q, clsRecordset& rs)
{
    QHash<QString, qsizetype> indice;
    for (qsizetype i = 0; i < q.objetos.size(); ++i)
        indice.insert(Chave(q.objetos[i].esquema, q.objetos[i].nome, q.objetos[i].argumentos), i);
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const auto i = indice.constFind(Chave(Campo(rs, "esquema"), Campo(rs, "nome"), Campo(rs, "argumentos")));
        const int p = PermissaoDoNome(Campo(rs, "permissao").trimmed());
        if (i == indice.cend() || p < 0 || !Aplicavel(q.dialeto, q.objetos[*i].tipo, p))
            continue;
        Celula& c = q.objetos[*i].celulas[p];
        const QString codigo = Campo(rs, "estado").trimmed();
        const QVariant papel = rs.Valor(QStringLiteral("papel"));
        if (!papel.isNull()) {
            // What a role holds reaches the user only when granted (a role's DENY shows nowhere).
            if (EstadoDoCatalogo(codigo) == Estado::Concedido && !c.papeis.contains(papel.toString()))
                c.papeis << papel.toString();
            continue;
        }
        c.estado = EstadoDoCatalogo(codigo);
        c.opcaoConcessao = codigo == u"W";
    }
}

void LerPapeis(Quadro& q, clsRecordset& rs)
{
    q.papeis.clear();
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        q.papeis.append({Campo(rs, "nome"), Sim(rs, "fixo"), Sim(rs, "membro"), Sim(rs, "efetivo")});
}

void AplicarPapeisFixos(Quadro& q)
{
    struct Regra {
        Dialeto dialeto;
        const char* papel;
        std::initializer_list<int> permissoes; // empty: every permission
        bool soDados; // tables and views only
    };
    static const Regra regras[] = {
        {Dialeto::SqlServer, "db_owner", {}, false},
        {Dialeto::SqlServer, "db_datareader", {Select}, true},
        {Dialeto::SqlServer, "db_datawriter", {Insert, Update, Delete}, true},
        {Dialeto::PostgreSql, "pg_read_all_data", {Select}, true},
        {Dialeto::PostgreSql, "pg_write_all_data", {Insert, Update, Delete}, true},
    };
    for (const Papel& papel : q.papeis) {
        if (!papel.efetivo)
            continue;
        for (const Regra& r : regras) {
            if (r.dialeto != q.dialeto || papel.nome != QLatin1String(r.papel))
                continue;
            for (Objeto& o : q.objetos) {
                if (r.soDados && o.tipo != TipoObjeto::Tabela && o.tipo != TipoObjeto::View)
                    continue;
                for (int p = 0; p < QtdePermissoes; ++p) {
                    const bool dela = r.permissoes.size() == 0
                                      || std::find(r.permissoes.begin(), r.permissoes.end(), p) != r.permissoes.end();
                    if (dela && Aplicavel(q.dialeto, o.tipo, p) && !o.celulas[p].papeis.contains(papel.nome))
                        o.celulas[p].papeis << papel.nome;
                }
            }
        }
    }
}

} // namespace permissoes

namespace permissoes {

QString MontarArgumento(const QString& connStr, const QString& usuario)
{
    return QStringLiteral("ConnString=") + connStr + QStringLiteral("&UserName=") + usuario;
}

bool LerArgumento(const QString& texto, QString& connStr, QString& usuario, QString* erro)
{
    QHash<QString, QString> v;
    if (!SepararArgumento(texto, {QStringLiteral("ConnString"), QStringLiteral("UserName")}, v, erro))
        return false;
    connStr = v.value(QStringLiteral("ConnString"));
    usuario = v.value(QStringLiteral("UserName"));
    for (const auto& [valor, chave] : {std::pair{&connStr, "ConnString"}, {&usuario, "UserName"}})
        if (valor->isEmpty()) {
            if (erro)
                *erro = QStringLiteral("Falta o argumento ") + QString::fromLatin1(chave);
            return false;
        }
    return true;
}

bool AplicarLinha(Quadro& q, const QString& linha, QString& erro)
{
    const QStringList partes = linha.split(u'\t');
    const QString acao = partes.value(0).trimmed().toUpper();
    if (acao == u"PAPEL+" || acao == u"PAPEL-") {
        for (Papel& p : q.papeis)
            if (p.nome == partes.value(1)) {
                p.membro = acao == u"PAPEL+";
                return true;
            }
        erro = QStringLiteral("Papel não encontrado: ") + partes.value(1);
        return false;
    }
    const Estado estado = acao == u"GRANT" ? Estado::Concedido : acao == u"DENY" ? Estado::Negado : Estado::Nenhum;
    const int permissao = PermissaoDoNome(partes.value(1).trimmed());
    if ((acao != u"GRANT" && acao != u"DENY" && acao != u"REVOKE") || permissao < 0 || partes.size() < 4) {
        erro = QStringLiteral("Linha não entendida: ") + linha;
        return false;
    }
    if (estado == Estado::Negado && q.dialeto != Dialeto::SqlServer) {
        erro = QStringLiteral("Este servidor não tem DENY: ") + linha;
        return false;
    }
    for (Objeto& o : q.objetos) {
        if (o.esquema != partes[2] || o.nome != partes[3] || o.argumentos != partes.value(4))
            continue;
        if (!Aplicavel(q.dialeto, o.tipo, permissao)) {
            erro = NomePermissao(permissao) + QStringLiteral(" não se aplica a ") + o.Rotulo();
            return false;
        }
        o.celulas[permissao].estado = estado;
        return true;
    }
    erro = QStringLiteral("Objeto não encontrado: ") + partes.mid(2).join(u'.');
    return false;
}

QStringList Listar(const Quadro& q)
{
    QStringList r;
    for (const Objeto& o : q.objetos) {
        QStringList linha{o.Rotulo()};
        for (int p = 0; p < QtdePermissoes; ++p)
            if (o.celulas[p].estado != Estado::Nenhum)
                linha << NomePermissao(p) + u'=' + TextoEstado(o.celulas[p].estado);
        if (linha.size() > 1)
            r << linha.join(u'\t');
    }
    for (const Papel& p : q.papeis)
        if (p.membro)
            r << QStringLiteral("PAPEL\t") + p.nome;
    return r;
}

} // namespace permissoes

namespace permissoes {
void ExecutarPrograma(clsPrompt& prompt, const QString& connStr, const QString& usuario)
{
    QString erro;
    if (!IniciarPrograma(CaminhoCompanheiro(Companheiro::Permissoes),
                         {},
                         &erro,
                         {{QStringLiteral("QUARRIX_ARGUMENTO"), MontarArgumento(connStr, usuario)}}))
        prompt.MsgBox(QStringLiteral("O programa de Permissões não está disponível.") + u'\n' + erro,
                      vb::Critical,
                      globais::TituloAplicativo());
}
} // namespace permissoes
