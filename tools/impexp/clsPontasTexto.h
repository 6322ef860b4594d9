#pragma once
// Delimited text files (RFC 4180): fields separated by a delimiter, quoted with '"' when they hold
// it, a quote (doubled) or a line break; lines end in CR LF (LF alone read too). UTF-8, with or
// without a byte order mark, or Windows-1252. An empty field is a missing value; "" is an empty
// text. Reading detects the delimiter, the code page and each column's type (integer, decimal,
// date, date-time, else text) from the whole file, so a column's type fits every row.
#include "clsPontas.h"
#include "mdlArgumentos.h"

#include <QFile>
#include <QSaveFile>
#include <atomic>
#include <string>
#include <vector>

namespace impexp {

// Reads one record at a time from a file.
class clsAnalisadorTexto {
public:
    struct Campo {
        std::string bytes;
        bool citado = false;
    };
    bool Abrir(const QString& caminho, QString& erro);
    // The options with what was detected (delimiter, code page) filled in.
    void Detectar(OpcoesTexto& opcoes);
    // The next record's fields; false at the end of the file.
    bool Proximo(std::vector<Campo>& campos);
    bool Falhou() const { return falhou; }

private:
    bool Encher();
    QFile f;
    std::vector<char> buffer;
    size_t pos = 0, fim = 0;
    char sep = ',';
    bool falhou = false;
};

class clsLeitorTexto : public clsLeitor {
public:
    clsLeitorTexto(QString caminho, OpcoesTexto opcoes);
    bool Estrutura(EstruturaCopia& saida, QString& erro) override;
    bool Ler(const RecebeBloco& recebe, QString& erro) override;
    void Interromper() override { parar = true; }
    const OpcoesTexto& Opcoes() const { return opcoes; }

private:
    enum class Classe { Inteiro, Decimal, Data, DataHora, Texto };
    QString Decodificar(const std::string& b) const;
    QString caminho;
    OpcoesTexto opcoes;
    EstruturaCopia estrutura;
    std::vector<Classe> classes;
    std::atomic<bool> parar{false};
};

class clsEscritorTexto : public clsEscritor {
public:
    clsEscritorTexto(QString caminho, OpcoesTexto opcoes);
    bool Iniciar(const EstruturaCopia& origem, Acao acao, QString& erro) override;
    bool Escrever(const clsRecordsetDados& bloco, qint64 primeiraLinha, QString& erro) override;
    bool Concluir(QString& erro) override;
    void Desfazer() override;

private:
    bool Gravar(const QString& texto, QString& erro);
    QString caminho;
    OpcoesTexto opcoes;
    EstruturaCopia colunas;
    std::unique_ptr<QSaveFile> arquivo;
};

} // namespace impexp
