#pragma once
// Spreadsheets (.xlsx): every sheet is a table, its first row the column names. Reading takes the
// cells as the file keeps them (numbers, dates by their format, shared and inline strings,
// booleans; a missing cell is a missing value) and gives each column the type every one of its
// values fits, from the whole sheet. Writing puts each table on a sheet of its own; the file is
// written once every table of the run is in it.
#include "clsPontas.h"
#include "clsZip.h"

#include <atomic>
#include <vector>

namespace exportar {
class clsLivroPlanilha;
}

namespace impexp {

// The sheets of a workbook, by name, in the workbook's order.
bool FolhasDaPlanilha(const QString& caminho, QStringList& nomes, QString& erro);

class clsLeitorPlanilha : public clsLeitor {
public:
    clsLeitorPlanilha(QString caminho, QString folha);
    bool Estrutura(EstruturaCopia& saida, QString& erro) override;
    bool Ler(const RecebeBloco& recebe, QString& erro) override;
    void Interromper() override { parar = true; }

    enum class Classe { Inteiro, Decimal, Real, Booleano, Data, Hora, DataHora, Texto };
    struct Livro; // what the whole workbook says: shared strings, date formats, sheets

private:
    QString caminho, folha;
    EstruturaCopia estrutura;
    std::vector<Classe> classes;
    std::atomic<bool> parar{false};
};

// One table's sheet in a workbook shared by the run's tables.
class clsEscritorPlanilha : public clsEscritor {
public:
    clsEscritorPlanilha(std::shared_ptr<exportar::clsLivroPlanilha> livro, QString folha);
    bool Iniciar(const EstruturaCopia& origem, Acao acao, QString& erro) override;
    bool Escrever(const clsRecordsetDados& bloco, qint64 primeiraLinha, QString& erro) override;
    bool Concluir(QString&) override { return true; }
    void Desfazer() override {}

private:
    std::shared_ptr<exportar::clsLivroPlanilha> livro;
    QString folha;
    uint32_t linha = 1;
};

} // namespace impexp
