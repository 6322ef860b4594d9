#pragma once
// The ends of a copy on an open connection: a table, view or query read in blocks as the engine
// fetches them, and a table written through multi-row INSERT statements with bound values, all of
// it in one transaction.
#include "clsPontas.h"

#include <atomic>

namespace impexp {

class clsLeitorConexao : public clsLeitor {
public:
    // `consulta` empty: the table or view `tabela`.
    clsLeitorConexao(std::shared_ptr<clsMotor> motor, ObjetoBanco tabela, QString consulta = {});
    bool Estrutura(EstruturaCopia& saida, QString& erro) override;
    bool Ler(const RecebeBloco& recebe, QString& erro) override;
    void Interromper() override;

private:
    QString Sql() const;
    std::shared_ptr<clsMotor> m;
    ObjetoBanco tabela;
    QString consulta;
    EstruturaCopia estrutura;
    std::shared_ptr<std::atomic<bool>> parar = std::make_shared<std::atomic<bool>>(false);
};

class clsEscritorConexao : public clsEscritor {
public:
    clsEscritorConexao(std::shared_ptr<clsMotor> motor, ObjetoBanco tabela);
    ~clsEscritorConexao() override;
    bool Iniciar(const EstruturaCopia& origem, Acao acao, QString& erro) override;
    bool Escrever(const clsRecordsetDados& bloco, qint64 primeiraLinha, QString& erro) override;
    bool Concluir(QString& erro) override;
    void Desfazer() override;

    // SQLite to SQLite into a table made here (Criar, Recriar): the whole table in one INSERT …
    // SELECT from the origin file attached to the destination, which keeps every value as it is.
    // False when it could not be done so (the caller then copies row by row, which names a row
    // the destination refuses); `linhas` gets the rows copied.
    bool CopiarDoArquivo(const QString& arquivo,
                         const ObjetoBanco& origem,
                         const EstruturaCopia& e,
                         Acao acao,
                         qint64& linhas,
                         QString& erro);

private:
    // Why a value does not fit its destination column as it is (empty when it does).
    QString NaoCabe(const clsRecordsetDados& bloco, Celula v, int coluna) const;
    QVariant Parametro(const clsRecordsetDados& bloco, Celula v, int coluna) const;
    bool Inserir(const clsRecordsetDados& bloco, uint32_t de, uint32_t qtde, qint64 primeiraLinha, QString& erro);
    QString ErroDaLinha(qint64 linha, const QString& motivo, int coluna = -1) const;

    std::shared_ptr<clsMotor> m;
    ObjetoBanco tabela;
    EstruturaCopia destino; // the destination's columns, in the origin's order
    QString prefixo, marcasLinha, insercaoArrays;
    std::vector<clsMotor::FormaData> formas; // how each column takes a date (bulk writing)
    std::vector<bool> limitados; // whether each column's text has a length limit
    int loteLinhas = 1;
    bool sqlite = false; // SQLite keeps any value in any column, but turns decimals into doubles
};

} // namespace impexp
