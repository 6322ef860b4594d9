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

namespace impexp {

struct ItemCopia {
    ObjetoBanco origem; // a table or view of the origin (a file: its path in `nome`)
    QString consulta; // or a query of the origin
    ObjetoBanco destino; // a table of the destination (a file: its path in `nome`)
    Acao acao = Acao::Criar;
    qint64 total = -1; // rows expected, when known (for the progress)
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

    std::shared_ptr<clsMotor> MotorOrigem() const { return origemMotor; }
    std::shared_ptr<clsMotor> MotorDestino() const { return destinoMotor; }

private:
    ResultadoItem Copiar(int indice, const ItemCopia& item, const Avisos& avisos);
    std::unique_ptr<clsLeitor> NovoLeitor(const ItemCopia& item);
    std::unique_ptr<clsEscritor> NovoEscritor(const ItemCopia& item);

    Ponta origem, destino;
    std::shared_ptr<clsMotor> origemMotor, destinoMotor;
    std::atomic<bool> parar{false};
    std::mutex mtx;
    clsLeitor* leitorAtual = nullptr;
};

// The report of a run: one line per table (rows, time, result) and the errors, as it is shown
// and saved. No connection string appears in it.
QString Relatorio(const QList<ResultadoItem>& resultados);

} // namespace impexp
