// Exporting 1,000,000 rows × 6 columns to a spreadsheet and to delimited text, against libxlsxwriter
// writing the same values in a bare loop and against fwrite of the same text. Each measurement runs
// in a child process of its own, so the peak memory figures do not mix.
// Goals: spreadsheet at most 1.3 times the bare loop, text at most 1.5 times fwrite.
#include "query/mdlExportar.h"

#include "../memoriaProcesso.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <xlsxwriter.h>

namespace {

constexpr int Linhas = 1000000;

QString Cliente(int i) { return QStringLiteral("Cliente %1").arg(i); }
const char* Cidade(int i)
{
    static const char* cidades[] = {"Recife", "Olinda", "Natal", "Fortaleza", "Salvador"};
    return cidades[i % 5];
}

RecordsetPtr Rows()
{
    auto rs = std::make_shared<clsRecordset>();
    rs->AppendField(QStringLiteral("Id"), ado::adInteger);
    rs->AppendField(QStringLiteral("Cliente"), ado::adVarWChar, 60);
    rs->AppendField(QStringLiteral("Cidade"), ado::adVarWChar, 40);
    rs->AppendField(QStringLiteral("Valor"), ado::adDouble);
    rs->AppendField(QStringLiteral("Qtde"), ado::adInteger);
    rs->AppendField(QStringLiteral("Obs"), ado::adVarWChar, 40);
    rs->Open();
    for (int i = 1; i <= Linhas; ++i) {
        rs->AddNew();
        rs->DefinirValor(0, i);
        rs->DefinirValor(1, Cliente(i));
        rs->DefinirValor(2, QString::fromLatin1(Cidade(i)));
        rs->DefinirValor(3, i * 1.25);
        rs->DefinirValor(4, i % 97);
        if (i % 3)
            rs->DefinirValor(5, QStringLiteral("obs"));
        rs->Update();
    }
    return rs;
}

int Medir(const QString& modo, const QString& arquivo)
{
    QElapsedTimer t;
    if (modo == u"xlsx" || modo == u"txt") {
        const RecordsetPtr rs = Rows();
        const long base = MemoriaProcessoKb();
        t.start();
        QString erro;
        const bool ok = modo == u"xlsx" ? exportar::ExportarPlanilha(*rs, arquivo, erro)
                                        : exportar::ExportarTexto(*rs, arquivo, erro);
        std::printf("%lld %ld %d\n", t.elapsed(), MemoriaProcessoKb() - base, ok ? 1 : 0);
        return ok ? 0 : 1;
    }
    t.start();
    if (modo == u"xlsx-bare") {
        lxw_workbook_options o = {LXW_TRUE, nullptr, LXW_FALSE};
        lxw_workbook* livro = workbook_new_opt(arquivo.toUtf8().constData(), &o);
        lxw_worksheet* folha = workbook_add_worksheet(livro, nullptr);
        const char* nomes[] = {"Id", "Cliente", "Cidade", "Valor", "Qtde", "Obs"};
        for (int c = 0; c < 6; ++c)
            worksheet_write_string(folha, 0, lxw_col_t(c), nomes[c], nullptr);
        for (int i = 1; i <= Linhas; ++i) {
            const auto r = lxw_row_t(i);
            worksheet_write_number(folha, r, 0, i, nullptr);
            worksheet_write_string(folha, r, 1, Cliente(i).toUtf8().constData(), nullptr);
            worksheet_write_string(folha, r, 2, Cidade(i), nullptr);
            worksheet_write_number(folha, r, 3, i * 1.25, nullptr);
            worksheet_write_number(folha, r, 4, i % 97, nullptr);
            if (i % 3)
                worksheet_write_string(folha, r, 5, "obs", nullptr);
        }
        workbook_close(livro);
    } else {
        FILE* f = std::fopen(arquivo.toUtf8().constData(), "wb");
        std::fputs("Id\tCliente\tCidade\tValor\tQtde\tObs\r\n", f);
        for (int i = 1; i <= Linhas; ++i) {
            const QByteArray l = QByteArray::number(i) + '\t' + Cliente(i).toUtf8() + '\t' + Cidade(i) + '\t'
                                 + QByteArray::number(i * 1.25) + '\t' + QByteArray::number(i % 97) + '\t'
                                 + (i % 3 ? "obs" : "") + "\r\n";
            std::fwrite(l.constData(), 1, size_t(l.size()), f);
        }
        std::fclose(f);
    }
    std::printf("%lld %ld 1\n", t.elapsed(), MemoriaProcessoKb());
    return 0;
}

QList<QByteArray> Filho(const QString& modo, const QString& arquivo)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {modo, arquivo});
    p.waitForFinished(-1);
    return p.readAllStandardOutput().trimmed().split(' ');
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3)
        return Medir(args[1], args[2]);
    QTemporaryDir pasta;
    const auto x = Filho(QStringLiteral("xlsx"), pasta.filePath(QStringLiteral("a.xlsx")));
    const auto xb = Filho(QStringLiteral("xlsx-bare"), pasta.filePath(QStringLiteral("b.xlsx")));
    const auto t = Filho(QStringLiteral("txt"), pasta.filePath(QStringLiteral("a.txt")));
    const auto tb = Filho(QStringLiteral("txt-bare"), pasta.filePath(QStringLiteral("b.txt")));
    if (x.size() < 3 || xb.size() < 3 || t.size() < 3 || tb.size() < 3) {
        std::printf("a measurement failed\n");
        return 1;
    }
    auto linha = [](const char* nome, const QList<QByteArray>& m, const QList<QByteArray>& base, const char* meta) {
        const double ms = m[0].toDouble(), msBase = base[0].toDouble();
        std::printf("%-22s %7.0f ms (%8.0f rows/s), peak memory added %7.0f KB; bare loop %7.0f ms; ratio %.2f "
                    "(goal <= %s)\n",
                    nome,
                    ms,
                    Linhas / (ms / 1000.0),
                    m[1].toDouble(),
                    msBase,
                    ms / msBase,
                    meta);
    };
    std::printf("%d rows x 6 columns\n", Linhas);
    linha("spreadsheet (.xlsx)", x, xb, "1.3");
    linha("delimited text", t, tb, "1.5");
    return 0;
}
