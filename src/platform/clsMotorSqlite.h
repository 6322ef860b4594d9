#pragma once
// File databases through the SQLite C API: the embedded default, in the role of the "Access file".
// Texts are stored and handed on as UTF-8 without conversion; a date column keeps the text the
// file holds (so rows written back match it exactly) and hands it out as a date. A decimal column
// hands out integers and reals as decimal text and a decimal stored as text digit for digit, and
// takes each decimal back in the storage class that keeps it exactly.
#include "clsMotor.h"
#include "clsSqliteHandle.h"

class clsMotorSqlite : public clsMotor {
public:
    ~clsMotorSqlite() override;

    // An existing file (a new empty file is a valid empty database). Read-only when asked.
    bool Abrir(const QString& arquivo, bool leituraEscrita);
    void Interromper() override;
    // A new database file.
    bool Criar(const QString& arquivo);

    bool Aberto() const override { return db != nullptr; }
    void Fechar() override;
    bool Executar(const QString& sql, RecordsetPtr* rs, int lockType, long* afetados) override;
    bool ExecutarComParametros(const QString& sql,
                               const std::vector<QVariant>& valores,
                               long& afetados,
                               RecordsetPtr* linhas = nullptr) override;
    bool Schema(SchemaOleDb schema, const QStringList& restricoes, RecordsetPtr& rs) override;
    bool InsercaoDireta() const override { return true; }
    bool InserirLinhas(const QString& sql,
                       const clsRecordsetDados& bloco,
                       uint32_t de,
                       uint32_t qtde,
                       const std::vector<FormaData>& formas,
                       uint32_t& falhou) override;
    bool IniciarTransacao() override;
    bool ConfirmarTransacao() override;
    bool DesfazerTransacao() override;
    bool EmTransacao() const override;
    QString CitarIdentificador(const QString& nome) const override;
    QVariant UltimoIdInserido() override;
    Dialeto DialetoSql() const override { return Dialeto::Sqlite; }
    bool DevolveLinhasInseridas() const override;
    // SQLite's own rule: ASCII letters without case, every other character exactly.
    bool MesmoNome(const QString& a, const QString& b) const override;
    bool SomenteLeitura() const override { return somenteLeitura; }
    // A NUMERIC column converts what it is given to an integer or a real, and does it again to the
    // values a rewritten row keeps: a decimal read as text, or one no double holds, would change.
    QString DecimalNaoGuardado(const QString& coluna, std::string_view canonico, bool lido) const override;
    QVariant DecimalGuardadoComo(std::string_view canonico) const override;

    sqlite3* Handle() const { return db.get(); }
    // How long a statement waits for a file another connection holds locked (0: 5 seconds); set
    // before opening.
    void DefinirTempoLimite(int segundos) { tempoLimite = segundos; }

protected:
    void ParadaDefinida() override;

private:
    // The engine's last error, or `mensagem` with its code; a lock that outlasted the wait is
    // reported as a time-out.
    bool FalharSqlite(const char* mensagem = nullptr);
    int EsperaBloqueio() const;
    bool AbrirArquivo(const QString& caminho, int flags);
    bool Simples(const char* sql);
    // Compiles the first statement of `sql` (`n` bytes, -1: up to its end) into `st`, which stays
    // empty for blanks or a comment; `resto` gets where the next statement starts. False, with the
    // engine's error, when it does not compile.
    bool Preparar(const char* sql, int n, sqlite::Stmt& st, const char** resto = nullptr);
    // `emBlocos`: rows go to the delivery set by DefinirEntregaLinhas while they are fetched.
    bool Preencher(const sqlite::Stmt& st, RecordsetPtr* rs, int lockType, const QString& sql, bool emBlocos = false);
    // Schema helpers (clsMotorSqliteSchema.cpp)
    // `banco`: the database (main or an attached file's name) whose catalog is read.
    QStringList
    NomesTabelas(const QString& restricao, bool incluirViews, const QString& banco = QStringLiteral("main"));
    QString NomePk(const QString& tabela, const QString& banco = QStringLiteral("main"));
    // The databases of the connection: main, then the attached files (temp left out).
    QStringList Bancos();
    bool Consultar(const QString& sql, const QStringList& parametros, RecordsetPtr& rs);

    sqlite::Stmt insercao; // InserirLinhas' statement, kept while the same text comes
    QString sqlInsercao;
    sqlite::Conexao db;
    bool somenteLeitura = false;
    QString arquivo;
    int tempoLimite = 0;
};
