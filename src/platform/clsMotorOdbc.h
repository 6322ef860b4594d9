#pragma once
#include <functional>
// Servers and custom sources through ODBC (unixODBC): SQL Server through FreeTDS (the OLE DB
// keywords of the connection string translated to the driver's), any installed driver for custom
// strings, and real Jet/ACE files through the MDBTools driver, read-only.
#include "clsMotor.h"

#include <QString>
#include <atomic>
#include <memory>
#include <mutex>

namespace odbc {
class Stmt;
}

class clsMotorOdbc : public clsMotor {
public:
    clsMotorOdbc();
    ~clsMotorOdbc() override;

    // SQL Server (sqlServer true: the string's OLE DB keywords are translated for FreeTDS) or an
    // ODBC string as given.
    bool Abrir(bool sqlServer, bool leituraEscrita, int timeoutSegundos);
    // A real Jet/ACE file, read-only.
    bool AbrirJet(const QString& arquivo, int timeoutSegundos);
    // Whether the file starts like a Jet or ACE database.
    static bool ArquivoJetReal(const QString& arquivo);
    // The ODBC string a SQL Server connection string becomes for FreeTDS.
    static QString TraduzirSqlServer(const clsConnStr& cs, const QString& driver = QStringLiteral("FreeTDS"));
    // The ODBC string of a custom (MSDASQL) connection string.
    static QString TraduzirOdbc(const clsConnStr& cs);

    bool Aberto() const override;
    void Fechar() override;
    void Interromper() override;
    bool ConexaoPerdida() override;
    bool Executar(const QString& sql, RecordsetPtr* rs, int lockType, long* afetados) override;
    bool ExecutarComParametros(const QString& sql,
                               const std::vector<QVariant>& valores,
                               long& afetados,
                               RecordsetPtr* linhas = nullptr) override;
    bool Schema(SchemaOleDb schema, const QStringList& restricoes, RecordsetPtr& rs) override;
    // Each column's values of a set of rows as one array parameter (its text); PostgreSQL only, the
    // driver this was measured and tested with.
    bool InsercaoDireta() const override { return DialetoSql() == Dialeto::PostgreSql; }
    bool InsercaoPorArrays() const override { return true; }
    bool InserirLinhas(const QString& sql,
                       const clsRecordsetDados& bloco,
                       uint32_t de,
                       uint32_t qtde,
                       const std::vector<FormaData>& formas,
                       uint32_t& falhou) override;
    bool IniciarTransacao() override;
    bool ConfirmarTransacao() override;
    bool DesfazerTransacao() override;
    bool EmTransacao() const override { return emTransacao; }
    QString CitarIdentificador(const QString& nome) const override;
    Dialeto DialetoSql() const override;
    bool DevolveLinhasInseridas() const override { return DialetoSql() == Dialeto::PostgreSql; }
    bool MesmoNome(const QString& a, const QString& b) const override;
    // A name written bare in a statement as the server stores it (folded to lower or upper case
    // where the server folds unquoted names).
    QString NomeNaoCitado(const QString& nome) const;
    bool SomenteLeitura() const override { return somenteLeitura; }
    QString BancoPadrao() const override;
    // The database product the driver reports (SQL_DBMS_NAME: "PostgreSQL", "Microsoft SQL Server").
    const QString& Sgbd() const { return nomeSgbd; }

    struct Handles;

    // Runs a batch as written (no rows kept), handing every informational message the server sends
    // (progress notes, PRINT, notices) to `aviso` as it arrives, through every result of the batch.
    // Runs as long as the batch takes.
    bool ExecutarComAvisos(const QString& sql, const std::function<void(const QString&)>& aviso);

private:
    bool Conectar(const QString& odbc, int timeoutSegundos);
    // Whether a text holds more than one statement (a ";" outside quotes and comments followed by
    // more).
    static bool VariasInstrucoes(const QString& sql);
    // A statement of the program's own, past the read-only check.
    bool ExecutarDireto(const QString& sql);
    bool ExecutarInstrucao(const QString& sql, RecordsetPtr* rs, int lockType, long* afetados);
    void DesfazerAposInterrupcao();
    // `emBlocos`: rows go to the delivery set by DefinirEntregaLinhas while they are fetched.
    bool Preencher(const odbc::Stmt& st, RecordsetPtr* rs, int lockType, const QString& sql, bool emBlocos = false);
    // Completes the base table and columns of a result from its statement where the driver left
    // them out.
    void BasesDaConsulta(clsRecordsetDados& d, const QString& sql);
    bool ConsultarCatalogo(SchemaOleDb schema, const QStringList& r, RecordsetPtr& saida);
    // A statement on the open connection; empty (with the reason in Erro()) when there is none.
    // Saves and catalog reads get the connection's time-out; statements the user typed run as long
    // as they take.
    odbc::Stmt NovoStmt(bool comTempoLimite = true);

    // The statement running now, for Interromper (SQLCancel) from another thread.
    class Ativo;
    std::mutex mtxAtivo;
    void* stmtAtivo = nullptr;
    std::atomic<bool> interrompido{false};
    // A statement failed because the link to the server broke (SQLSTATE class 08).
    bool ligacaoPerdida = false;

    std::unique_ptr<Handles> h;
    bool somenteLeitura = false;
    bool emTransacao = false;
    QString aspas = QStringLiteral("\"");
    QString nomeSgbd;
    bool sqlServer = false;
    int casoCitado = 0; // SQL_QUOTED_IDENTIFIER_CASE
    int casoNaoCitado = 0; // SQL_IDENTIFIER_CASE
    int tempoLimite = 0;
    // PostgreSQL's session time zone: the driver hands a timestamptz out in it, without its offset.
    QString fusoSessao;
    void LerFusoSessao();
};
