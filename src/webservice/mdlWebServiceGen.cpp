#include "mdlWebServiceGen.h"

#include "platform/clsConnStr.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

namespace webservicegen {

QString ConnStrAccess(const QString& caminho)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;") + QStringLiteral("Data Source=")
           + CitarValorOleDb(caminho) + QStringLiteral(";") + QStringLiteral("Persist Security Info=False");
}

QString ConnStrSql(const QString& servidor, const QString& banco, const QString& usuario, const QString& senha)
{
    return QStringLiteral("Provider=SQLOLEDB.1;") + QStringLiteral("Persist Security Info=True;")
           + QStringLiteral("Data Source=") + CitarValorOleDb(servidor) + QStringLiteral(";")
           + QStringLiteral("Initial Catalog=") + CitarValorOleDb(banco) + QStringLiteral(";")
           + QStringLiteral("User ID=") + CitarValorOleDb(usuario) + QStringLiteral(";") + QStringLiteral("Password=")
           + CitarValorOleDb(senha);
}

namespace {

// Words Visual Basic keeps for itself: a class cannot be named by one of them without brackets.
const QSet<QString>& PalavrasReservadas()
{
    static const QSet<QString> palavras = [] {
        const char* lista[] = {"addhandler",
                               "addressof",
                               "alias",
                               "and",
                               "andalso",
                               "as",
                               "boolean",
                               "byref",
                               "byte",
                               "byval",
                               "call",
                               "case",
                               "catch",
                               "cbool",
                               "cbyte",
                               "cchar",
                               "cdate",
                               "cdbl",
                               "cdec",
                               "char",
                               "cint",
                               "class",
                               "clng",
                               "cobj",
                               "const",
                               "continue",
                               "csbyte",
                               "cshort",
                               "csng",
                               "cstr",
                               "ctype",
                               "cuint",
                               "culng",
                               "cushort",
                               "date",
                               "decimal",
                               "declare",
                               "default",
                               "delegate",
                               "dim",
                               "directcast",
                               "do",
                               "double",
                               "each",
                               "else",
                               "elseif",
                               "end",
                               "endif",
                               "enum",
                               "erase",
                               "error",
                               "event",
                               "exit",
                               "false",
                               "finally",
                               "for",
                               "friend",
                               "function",
                               "get",
                               "gettype",
                               "getxmlnamespace",
                               "global",
                               "gosub",
                               "goto",
                               "handles",
                               "if",
                               "implements",
                               "imports",
                               "in",
                               "inherits",
                               "integer",
                               "interface",
                               "is",
                               "isnot",
                               "let",
                               "lib",
                               "like",
                               "long",
                               "loop",
                               "me",
                               "mod",
                               "module",
                               "mustinherit",
                               "mustoverride",
                               "mybase",
                               "myclass",
                               "namespace",
                               "narrowing",
                               "new",
                               "next",
                               "not",
                               "nothing",
                               "notinheritable",
                               "notoverridable",
                               "object",
                               "of",
                               "on",
                               "operator",
                               "option",
                               "optional",
                               "or",
                               "orelse",
                               "overloads",
                               "overridable",
                               "overrides",
                               "paramarray",
                               "partial",
                               "private",
                               "property",
                               "protected",
                               "public",
                               "raiseevent",
                               "readonly",
                               "redim",
                               "rem",
                               "removehandler",
                               "resume",
                               "return",
                               "sbyte",
                               "select",
                               "set",
                               "shadows",
                               "shared",
                               "short",
                               "single",
                               "static",
                               "step",
                               "stop",
                               "string",
                               "structure",
                               "sub",
                               "synclock",
                               "then",
                               "throw",
                               "to",
                               "true",
                               "try",
                               "trycast",
                               "typeof",
                               "uinteger",
                               "ulong",
                               "ushort",
                               "using",
                               "variant",
                               "wend",
                               "when",
                               "while",
                               "widening",
                               "with",
                               "withevents",
                               "writeonly",
                               "xor"};
        QSet<QString> s;
        for (const char* p : lista)
            s.insert(QString::fromLatin1(p));
        return s;
    }();
    return palavras;
}

const QString aspas = QStringLiteral("\"");

// One catalog request of OpenSchema: the schema table of `guid` with the given restrictions.
QString LinhaSchema(const QString& recuo, const QString& guid, const QString& restricoes)
{
    return recuo
           + QStringLiteral("OpenSchema = RetDataset(objActiveConnection.GetOleDbSchemaTable(OleDb.OleDbSchemaGuid.")
           + guid + QStringLiteral(", New Object() {") + restricoes + QStringLiteral("}))");
}

// A branch of OpenSchema that asks `guid` with `restricoesVazio` when `variavel` is empty, else with
// `restricoesNome`.
void EscolhaSchema(QStringList& l,
                   const QString& variavel,
                   const QString& guid,
                   const QString& restricoesVazio,
                   const QString& restricoesNome)
{
    const QString recuo = QStringLiteral("               ");
    l << QStringLiteral("            If ") + variavel + QStringLiteral(" = ") + aspas + aspas + QStringLiteral(" Then ")
      << LinhaSchema(recuo, guid, restricoesVazio) << QStringLiteral("            Else ")
      << LinhaSchema(recuo, guid, restricoesNome) << QStringLiteral("            End If ");
}

// A branch of OpenSchema answered by a query of the service's own OpenDataset.
QString LinhaConsulta(const QString& sql)
{
    return QStringLiteral("            OpenSchema = OpenDataset(") + aspas + sql + aspas
           + QStringLiteral(", strErrMsg)");
}

// Opening and closing of the web methods that work on a connection.
void AbrirConexao(QStringList& l)
{
    l << QStringLiteral("   Dim objActiveConnection As OleDb.OleDbConnection")
      << QStringLiteral("   If OpenConnection(objActiveConnection, strErrMsg) Then") << QStringLiteral("      Try");
}

void FecharConexao(QStringList& l)
{
    l << QStringLiteral("      End Try") << QStringLiteral("      Call objActiveConnection.Close()")
      << QStringLiteral("   End If") << QStringLiteral("End Function") << QString();
}

const QString linhaQuerie = QStringLiteral("         strErrMsg = Ex.ToString & vbCrLf & ") + aspas
                            + QStringLiteral("Querie:") + aspas + QStringLiteral(" & strSql");

} // namespace

bool NomeClasseValido(const QString& nome)
{
    static const QRegularExpression forma(QStringLiteral("^(?:[A-Za-z][A-Za-z0-9_]*|_[A-Za-z0-9_]+)$"));
    return forma.match(nome).hasMatch() && !PalavrasReservadas().contains(nome.toLower());
}

QString MensagemNomeClasseInvalido(const QString& nome)
{
    return QStringLiteral("O nome de classe \"%1\" não é válido.\n"
                          "Use letras sem acento, dígitos e \"_\", começando por uma letra ou \"_\", "
                          "e não use uma palavra reservada do Visual Basic.")
        .arg(nome);
}

QString TextoVb(const QString& valor)
{
    QString r = aspas;
    bool dentro = true; // inside a quoted part
    for (const QChar c : valor) {
        const ushort u = c.unicode();
        if (u >= 0x20 && u < 0x7F) {
            if (!dentro) {
                r += QStringLiteral(" & ") + aspas;
                dentro = true;
            }
            r += c;
            if (c == QLatin1Char('"'))
                r += c;
        } else {
            r += dentro ? aspas : QString();
            r += QStringLiteral(" & ChrW(%1)").arg(u);
            dentro = false;
        }
    }
    if (dentro)
        r += aspas;
    return r;
}

QStringList GerarPagina(const DadosWebService& d)
{
    QStringList l;
    // Header
    l << QStringLiteral("<%@ WebService Language=") + aspas + QStringLiteral("VB") + aspas + QStringLiteral(" Class=")
             + aspas + d.Classe + aspas + QStringLiteral(" %>")
      << QStringLiteral("Imports Microsoft.VisualBasic") << QStringLiteral("Imports System")
      << QStringLiteral("Imports System.Data") << QStringLiteral("Imports System.Web.Services") << QString()
      << QStringLiteral("<WebService(Namespace:=") + TextoVb(d.Namespace) + QStringLiteral(")> _")
      << QStringLiteral("Class ") + d.Classe << QString();

    // Connection string property
    l << QStringLiteral("ReadOnly Property ConnectionString() As String") << QStringLiteral("   Get")
      << QStringLiteral("      ConnectionString = ") + TextoVb(d.ConnStr) << QStringLiteral("   End Get")
      << QStringLiteral("End Property") << QString();

    // OpenConnection
    l << QStringLiteral("Private Function OpenConnection(ByRef objActiveConnection As OleDb.OleDbConnection, "
                        "ByRef strErrMsg As String) As Boolean")
      << QStringLiteral("   Try") << QStringLiteral("      objActiveConnection = New OleDb.OleDbConnection()")
      << QStringLiteral("      objActiveConnection.ConnectionString = Me.ConnectionString")
      << QStringLiteral("      Call objActiveConnection.Open()") << QStringLiteral("      OpenConnection = True")
      << QStringLiteral("   Catch Ex As Exception") << QStringLiteral("      OpenConnection = False")
      << QStringLiteral("      strErrMsg = Ex.ToString & vbCrLf & ") + aspas + QStringLiteral("ConnStr:") + aspas
             + QStringLiteral(" & Me.ConnectionString")
      << QStringLiteral("   End Try") << QStringLiteral("End Function") << QString();

    // RetDataset
    l << QStringLiteral("Private Function RetDataset(ByVal objDatatable As DataTable) As Dataset")
      << QStringLiteral("   Dim objRet As New Dataset") << QStringLiteral("   Call objRet.Tables.Add(objDatatable)")
      << QStringLiteral("   RetDataset = objRet") << QStringLiteral("End Function") << QString();

    // OpenDataset
    l << QStringLiteral("<WebMethod()> _")
      << QStringLiteral("Public Function OpenDataset(ByVal strSql As String, ByRef strErrMsg As String) As DataSet");
    AbrirConexao(l);
    l << QStringLiteral("         Dim objCommand As New OleDb.OleDbCommand(strSql, objActiveConnection)")
      << QStringLiteral("         objCommand.CommandType = CommandType.Text")
      << QStringLiteral("         Dim objAdapter As New OleDb.OleDbDataAdapter(objCommand)")
      << QStringLiteral("         Dim objDataset As New DataSet")
      << QStringLiteral("         Call objAdapter.Fill(objDataset)") << QStringLiteral("         Return objDataset")
      << QStringLiteral("      Catch Ex As Exception") << QStringLiteral("         OpenDataset = Nothing")
      << linhaQuerie;
    FecharConexao(l);

    // OpenSchema
    l << QStringLiteral("<WebMethod()> _")
      << QStringLiteral("Public Function OpenSchema(ByVal intSchema As Integer, ByVal strTableName As String, "
                        "ByVal strTableType As String, ByVal strOtherTableName As String, "
                        "ByVal strViewName As String, ByRef strErrMsg As String) As DataSet");
    AbrirConexao(l);
    const QString nada = QStringLiteral("Nothing, ");
    l << QStringLiteral("         If intSchema = 2 Then 'SchemaTables");
    EscolhaSchema(l,
                  QStringLiteral("strTableName"),
                  QStringLiteral("Tables"),
                  nada + nada + nada + QStringLiteral("strTableType"),
                  nada + nada + QStringLiteral("strTableName, strTableType"));
    l << QStringLiteral("         Else If intSchema = 4 Then 'SchemaColumns")
      << LinhaSchema(QStringLiteral("            "),
                     QStringLiteral("Columns"),
                     nada + nada + QStringLiteral("strTableName, Nothing"))
      << QStringLiteral("         Else If intSchema = 8 Then 'SchemaPrimaryKeys")
      << LinhaSchema(QStringLiteral("            "),
                     QStringLiteral("Primary_Keys"),
                     nada + nada + QStringLiteral("strTableName"))
      << QStringLiteral("         Else If intSchema = 16 Then 'SchemaForeignKeys");
    EscolhaSchema(l,
                  QStringLiteral("strOtherTableName"),
                  QStringLiteral("Foreign_Keys"),
                  nada + nada + nada + nada + nada + QStringLiteral("strTableName"),
                  nada + nada + QStringLiteral("strOtherTableName, ") + nada + nada + QStringLiteral("strTableName"));
    l << QStringLiteral("         Else If intSchema = 32 Then 'SchemaViews");
    EscolhaSchema(l,
                  QStringLiteral("strViewName"),
                  QStringLiteral("Tables"),
                  nada + nada + nada + aspas + QStringLiteral("VIEW") + aspas,
                  nada + nada + QStringLiteral("strViewName, ") + aspas + QStringLiteral("VIEW") + aspas);
    l << QStringLiteral("         Else If intSchema = 64 Then 'SchemaFunctions")
      << LinhaConsulta(QStringLiteral("SELECT sysObjects.Name as FUNCTION_NAME FROM sysObjects "
                                      "WHERE Type = 'FN' OR Type = 'TF' ORDER BY sysObjects.Name"))
      << QStringLiteral("         Else If intSchema = 128 Then 'SchemaProcs")
      << LinhaConsulta(QStringLiteral("SELECT sysObjects.Name as PROCEDURE_NAME, sysUsers.Name as PROCEDURE_SCHEMA "
                                      "FROM sysObjects LEFT JOIN sysUsers on (sysUsers.uId = sysObjects.uId) "
                                      "WHERE Type = 'P' ORDER BY sysObjects.Name"))
      << QStringLiteral("         Else If intSchema = 256 Then 'SchemaDatabases")
      << LinhaConsulta(QStringLiteral("SELECT Name FROM master..sysDatabases WHERE Name <> 'master' ORDER BY Name"))
      << QStringLiteral("         End If") << QStringLiteral("      Catch Ex As Exception")
      << QStringLiteral("         OpenSchema = Nothing") << QStringLiteral("         strErrMsg = Ex.ToString");
    FecharConexao(l);

    // ExecSql
    l << QStringLiteral("<WebMethod()> _")
      << QStringLiteral("Public Function ExecSql(ByVal strSql As String, ByRef strErrMsg As String) As Boolean");
    AbrirConexao(l);
    l << QStringLiteral("         Dim objCommand As New OleDb.OleDbCommand(strSql, objActiveConnection)")
      << QStringLiteral("         objCommand.CommandType = CommandType.Text")
      << QStringLiteral("         Call objCommand.ExecuteNonQuery()")
      << QStringLiteral("         Call objCommand.Dispose()") << QStringLiteral("         ExecSql = True")
      << QStringLiteral("      Catch Ex As Exception") << QStringLiteral("         ExecSql = False") << linhaQuerie;
    FecharConexao(l);

    // Version and ConnectionType
    l << QStringLiteral("<WebMethod()> _") << QStringLiteral("Public Function Version() As String")
      << QStringLiteral("   Version = ") + TextoVb(d.Versao) << QStringLiteral("End Function") << QString()
      << QStringLiteral("<WebMethod()> _") << QStringLiteral("Public Function ConnectionType() As String")
      << QStringLiteral("   ConnectionType = ") + aspas + (d.Sql ? QStringLiteral("SQL") : QStringLiteral("ACCESS"))
             + aspas
      << QStringLiteral("End Function") << QString() << QStringLiteral("End Class");
    return l;
}

bool GravarPagina(const QString& arquivo, const QStringList& linhas, QString* erro)
{
    QSaveFile f(arquivo);
    if (f.open(QIODevice::WriteOnly)) {
        for (const QString& linha : linhas) {
            if (f.write(linha.toLatin1() + "\r\n") < 0)
                break;
        }
        if (f.error() == QFileDevice::NoError && f.commit())
            return true;
    }
    if (erro)
        *erro = QStringLiteral("Não foi possível gravar o arquivo \"%1\".\n%2").arg(arquivo, f.errorString());
    f.cancelWriting();
    return false;
}

} // namespace webservicegen
