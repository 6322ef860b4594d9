<%@ WebService Language="VB" Class="WebData" %>
Imports Microsoft.VisualBasic
Imports System
Imports System.Data
Imports System.Web.Services

<WebService(Namespace:="http://www.YourSite.com/WebData")> _
Class WebData

ReadOnly Property ConnectionString() As String
   Get
      ConnectionString = "Provider=SQLOLEDB.1;Persist Security Info=True;Data Source=SRV01\SQL2000;Initial Catalog=Vendas;User ID=sa;Password="
   End Get
End Property

Private Function OpenConnection(ByRef objActiveConnection As OleDb.OleDbConnection, ByRef strErrMsg As String) As Boolean
   Try
      objActiveConnection = New OleDb.OleDbConnection()
      objActiveConnection.ConnectionString = Me.ConnectionString
      Call objActiveConnection.Open()
      OpenConnection = True
   Catch Ex As Exception
      OpenConnection = False
      strErrMsg = Ex.ToString & vbCrLf & "ConnStr:" & Me.ConnectionString
   End Try
End Function

Private Function RetDataset(ByVal objDatatable As DataTable) As Dataset
   Dim objRet As New Dataset
   Call objRet.Tables.Add(objDatatable)
   RetDataset = objRet
End Function

<WebMethod()> _
Public Function OpenDataset(ByVal strSql As String, ByRef strErrMsg As String) As DataSet
   Dim objActiveConnection As OleDb.OleDbConnection
   If OpenConnection(objActiveConnection, strErrMsg) Then
      Try
         Dim objCommand As New OleDb.OleDbCommand(strSql, objActiveConnection)
         objCommand.CommandType = CommandType.Text
         Dim objAdapter As New OleDb.OleDbDataAdapter(objCommand)
         Dim objDataset As New DataSet
         Call objAdapter.Fill(objDataset)
         Return objDataset
      Catch Ex As Exception
         OpenDataset = Nothing
         strErrMsg = Ex.ToString & vbCrLf & "Querie:" & strSql
      End Try
      Call objActiveConnection.Close()
   End If
End Function

<WebMethod()> _
Public Function OpenSchema(ByVal intSchema As Integer, ByVal strTableName As String, ByVal strTableType As String, ByVal strOtherTableName As String, ByVal strViewName As String, ByRef strErrMsg As String) As DataSet
   Dim objActiveConnection As OleDb.OleDbConnection
   If OpenConnection(objActiveConnection, strErrMsg) Then
      Try
         If intSchema = 2 Then 'SchemaTables
            If strTableName = "" Then 
               OpenSchema = RetDataset(objActiveConnection.GetOleDbSchemaTable(OleDb.OleDbSchemaGuid.Tables, New Object() {Nothing, Nothing, Nothing, strTableType}))
            Else 
               OpenSchema = RetDataset(objActiveConnection.GetOleDbSchemaTable(OleDb.OleDbSchemaGuid.Tables, New Object() {Nothing, Nothing, strTableName, strTableType}))
            End If 
         Else If intSchema = 4 Then 'SchemaColumns
            OpenSchema = RetDataset(objActiveConnection.GetOleDbSchemaTable(OleDb.OleDbSchemaGuid.Columns, New Object() {Nothing, Nothing, strTableName, Nothing}))
         Else If intSchema = 8 Then 'SchemaPrimaryKeys
            OpenSchema = RetDataset(objActiveConnection.GetOleDbSchemaTable(OleDb.OleDbSchemaGuid.Primary_Keys, New Object() {Nothing, Nothing, strTableName}))
         Else If intSchema = 16 Then 'SchemaForeignKeys
            If strOtherTableName = "" Then 
               OpenSchema = RetDataset(objActiveConnection.GetOleDbSchemaTable(OleDb.OleDbSchemaGuid.Foreign_Keys, New Object() {Nothing, Nothing, Nothing, Nothing, Nothing, strTableName}))
            Else 
               OpenSchema = RetDataset(objActiveConnection.GetOleDbSchemaTable(OleDb.OleDbSchemaGuid.Foreign_Keys, New Object() {Nothing, Nothing, strOtherTableName, Nothing, Nothing, strTableName}))
            End If 
         Else If intSchema = 32 Then 'SchemaViews
            If strViewName = "" Then 
               OpenSchema = RetDataset(objActiveConnection.GetOleDbSchemaTable(OleDb.OleDbSchemaGuid.Tables, New Object() {Nothing, Nothing, Nothing, "VIEW"}))
            Else 
               OpenSchema = RetDataset(objActiveConnection.GetOleDbSchemaTable(OleDb.OleDbSchemaGuid.Tables, New Object() {Nothing, Nothing, strViewName, "VIEW"}))
            End If 
         Else If intSchema = 64 Then 'SchemaFunctions
            OpenSchema = OpenDataset("SELECT sysObjects.Name as FUNCTION_NAME FROM sysObjects WHERE Type = 'FN' OR Type = 'TF' ORDER BY sysObjects.Name", strErrMsg)
         Else If intSchema = 128 Then 'SchemaProcs
            OpenSchema = OpenDataset("SELECT sysObjects.Name as PROCEDURE_NAME, sysUsers.Name as PROCEDURE_SCHEMA FROM sysObjects LEFT JOIN sysUsers on (sysUsers.uId = sysObjects.uId) WHERE Type = 'P' ORDER BY sysObjects.Name", strErrMsg)
         Else If intSchema = 256 Then 'SchemaDatabases
            OpenSchema = OpenDataset("SELECT Name FROM master..sysDatabases WHERE Name <> 'master' ORDER BY Name", strErrMsg)
         End If
      Catch Ex As Exception
         OpenSchema = Nothing
         strErrMsg = Ex.ToString
      End Try
      Call objActiveConnection.Close()
   End If
End Function

<WebMethod()> _
Public Function ExecSql(ByVal strSql As String, ByRef strErrMsg As String) As Boolean
   Dim objActiveConnection As OleDb.OleDbConnection
   If OpenConnection(objActiveConnection, strErrMsg) Then
      Try
         Dim objCommand As New OleDb.OleDbCommand(strSql, objActiveConnection)
         objCommand.CommandType = CommandType.Text
         Call objCommand.ExecuteNonQuery()
         Call objCommand.Dispose()
         ExecSql = True
      Catch Ex As Exception
         ExecSql = False
         strErrMsg = Ex.ToString & vbCrLf & "Querie:" & strSql
      End Try
      Call objActiveConnection.Close()
   End If
End Function

<WebMethod()> _
Public Function Version() As String
   Version = "1.26f"
End Function

<WebMethod()> _
Public Function ConnectionType() As String
   ConnectionType = "SQL"
End Function

End Class
