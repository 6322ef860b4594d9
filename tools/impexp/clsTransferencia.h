#pragma once
// A copy run: each chosen table (or query) of the origin goes to its destination table in a
// transaction of its own. A table that fails is rolled back and reported (row, column and why);
// the others go on unless the run stops at the first error. Stop (from any thread) ends the table
// in progress, rolls it back, and leaves the rest undone. Runs on the thread that calls Executar
// and reports through the callbacks on that thread.
#include "clsPontas.h"
#include "mdlArgumentos.h"

#include <QElapsedTimer>
#include <QList>
#include <atomic>
#include <mutex>

namespace exportar {
class clsLivroPlanilha;
}

namespace impexp {

// How a column of the origin goes to the destination: under a name and a type of its own, or not
// at all.
struct MapaColuna {
    QString origem; // the origin's column
    QString destino; // its name at the destination
    QString tipo; // the destination's column type (empty: the one the type table maps)
    bool incluir = true;
};

struct ItemCopia {
    ObjetoBanco origem; // a table or view of the origin (a file: its path in `nome`)
    QString consulta; // or a query of the origin
    ObjetoBanco destino; // a table of the destination (a file: its path in `nome`)
    Acao acao = Acao::Criar;
    qint64 total = -1; // rows expected, when known (for the progress)
    QList<MapaColuna> colunas; // columns renamed, retyped or left out (the others go as they are)
    QString Descricao() const;
};

struct ResultadoItem {
    QString origem, destino;
    qint64 linhas = 0;
    qint64 ms = 0;
    bool ok = false;
    bool interrompido = false;
    bool naoExecutado = false; // the run stopped before it
    QString erro;
};

// A table or view the origin offers (a text file: the file itself; a spreadsheet: each sheet).
struct TabelaOrigem {
    ObjetoBanco objeto;
    QString exibicao; // as the list shows it: the schema only when not the default one
    bool visao = false;
    QString consulta; // a query of the origin instead of a table
};

class clsTransferencia {
public:
    struct Avisos {
        std::function<void(int item)> inicio;
        std::function<void(int item, qint64 linhas)> progresso;
        std::function<void(int item, const ResultadoItem&)> fim;
    };

    clsTransferencia(Ponta origem, Ponta destino);
    // Opens both ends. False with the reason in `erro`.
    bool Abrir(QString& erro);
    QList<ResultadoItem> Executar(const QList<ItemCopia>& itens, bool pararNoErro, const Avisos& avisos = {});
    // From any thread.
    void Parar();

    // What the origin offers, after Abrir.
    bool Listar(QList<TabelaOrigem>& saida, QString& erro);
    // Rows of a table of the origin (-1 when unknown: a text file, or the count failed).
    qint64 Contar(const ObjetoBanco& tabela);
    // The columns of an item as they would be read, and its first `quantas` rows as text (for a
    // preview). False with the reason.
    bool
    Previa(const ItemCopia& item, int quantas, EstruturaCopia& estrutura, QList<QStringList>& linhas, QString& erro);
    // The destination's SQL (Outro for files).
    Dialeto DialetoDestino() const { return destinoMotor ? destinoMotor->DialetoSql() : Dialeto::Outro; }
    // Whether the destination already has a table (a file) of that name.
    bool ExisteNoDestino(const ObjetoBanco& tabela);
    const Ponta& Origem() const { return origem; }
    const Ponta& Destino() const { return destino; }
    // Where a table goes when the destination is a folder of files.
    QString ArquivoDestino(const ObjetoBanco& tabela) const;

    std::shared_ptr<clsMotor> MotorOrigem() const { return origemMotor; }
    std::shared_ptr<clsMotor> MotorDestino() const { return destinoMotor; }

private:
    ResultadoItem Copiar(int indice, const ItemCopia& item, const Avisos& avisos);
    std::unique_ptr<clsLeitor> NovoLeitor(const ItemCopia& item);
    std::unique_ptr<clsEscritor> NovoEscritor(const ItemCopia& item);
    // A spreadsheet destination is written once, with every table of the run: when one failed,
    // the file is not written and the tables copied into it are reported undone.
    void ConcluirPlanilha(QList<ResultadoItem>& resultados);

    Ponta origem, destino;
    std::shared_ptr<clsMotor> origemMotor, destinoMotor;
    std::shared_ptr<exportar::clsLivroPlanilha> livro; // a spreadsheet destination being written
    std::atomic<bool> parar{false};
    std::mutex mtx;
    clsLeitor* leitorAtual = nullptr;
};

// The report of a run: one line per table (rows, time, result) and the errors, as it is shown
// and saved. No connection string appears in it.
QString Relatorio(const QList<ResultadoItem>& resultados);

} // namespace impexp
