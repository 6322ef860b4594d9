#include "mdlExportar.h"

#include "platform/clsTiposAdo.h"
#include "platform/mdlDataHora.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <xlsxwriter.h>

namespace exportar {

namespace {

enum class Classe { Texto, Numero, Data, Binario };

Classe ClasseDoTipo(int tipo)
{
    if (ado::TipoBinario(tipo))
        return Classe::Binario;
    if (ado::TipoData(tipo))
        return Classe::Data;
    // A bit reads better as 0/1 text than as a number column it is not.
    if ((ado::TipoInteiro(tipo) && tipo != ado::adBoolean) || ado::TipoReal(tipo))
        return Classe::Numero;
    return Classe::Texto;
}

QString TextoDoValor(const QVariant& v, Classe c)
{
    if (v.isNull())
        return {};
    if (c == Classe::Binario)
        return QStringLiteral("(binário)");
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime()
            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
            .remove(QRegularExpression(QStringLiteral("\\.000$")));
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return v.toString();
}

// A date as it is kept: a date alone without a time, a time or a date and time with every digit
// of its fraction (to the column's precision) and its offset, in ISO notation.
QString TextoDaCelula(const clsRecordset& rs, int linha, int campo, Classe c)
{
    if (c == Classe::Data) {
        const clsRecordsetDados& d = rs.Dados();
        const Celula v = d.Ler(rs.LinhaDados(linha), campo);
        datahora::DataHora dh;
        if (d.DataHoraDe(v, campo, dh))
            return datahora::Iso(dh, rs.InfoCampo(campo).escala);
        if (v.marca == Marca::Texto)
            return d.Texto(v);
    }
    return TextoDoValor(rs.ValorCelula(linha, campo), c);
}

const char16_t altos1252[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

} // namespace

QString CampoDelimitado(const QString& valor, QChar separador, bool vazioCitado)
{
    if (!(vazioCitado && valor.isEmpty()) && !valor.contains(separador) && !valor.contains(u'"')
        && !valor.contains(u'\n') && !valor.contains(u'\r'))
        return valor;
    return u'"' + QString(valor).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

QString DeWindows1252(QByteArrayView bytes)
{
    QString texto;
    texto.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        texto += (u >= 0x80 && u < 0xA0) ? QChar(altos1252[u - 0x80]) : QChar(u);
    }
    return texto;
}

bool ParaWindows1252(QStringView texto, QByteArray& saida)
{
    saida.clear();
    saida.reserve(texto.size());
    for (QChar c : texto) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            saida += char(u);
            continue;
        }
        int achado = -1;
        for (int i = 0; i < 32 && achado < 0; ++i)
            if (altos1252[i] == u)
                achado = i;
        if (achado < 0)
            return false;
        saida += char(0x80 + achado);
    }
    return true;
}

bool ExportarTexto(const clsRecordset& rs,
                   const QString& arquivo,
                   QString& erro,
                   const Progresso& progresso,
                   QChar separador)
{
    QSaveFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly)) {
        erro = QStringLiteral("Não foi possível gravar o arquivo ") + arquivo + QStringLiteral(": ") + f.errorString();
        return false;
    }
    const int campos = rs.FieldCount();
    QList<Classe> classes;
    QStringList cabecalho;
    for (int c = 0; c < campos; ++c) {
        classes << ClasseDoTipo(rs.InfoCampo(c).tipo);
        cabecalho << CampoDelimitado(rs.InfoCampo(c).nome, separador);
    }
    f.write((cabecalho.join(separador) + QStringLiteral("\r\n")).toUtf8());
    const int linhas = rs.QtdeLinhasVisiveis();
    QString linha;
    for (int l = 0; l < linhas; ++l) {
        linha.clear();
        for (int c = 0; c < campos; ++c) {
            if (c)
                linha += separador;
            linha += CampoDelimitado(TextoDaCelula(rs, l, c, classes[c]), separador);
        }
        linha += QStringLiteral("\r\n");
        f.write(linha.toUtf8());
        if (progresso && !progresso()) {
            f.cancelWriting();
            erro = QStringLiteral("Exportação cancelada.");
            return false;
        }
    }
    if (!f.commit()) {
        erro = QStringLiteral("Não foi possível gravar o arquivo ") + arquivo + QStringLiteral(": ") + f.errorString();
        return false;
    }
    return true;
}

clsLivroPlanilha::clsLivroPlanilha(const QString& a) : arquivo(a)
{
    lxw_workbook_options opcoes = {LXW_TRUE, nullptr, LXW_FALSE};
    const QByteArray nome = QFile::encodeName(arquivo);
    livro = workbook_new_opt(nome.constData(), &opcoes);
    if (!livro)
        return;
    negrito = workbook_add_format(livro);
    format_set_bold(negrito);
    formatoData = workbook_add_format(livro);
    format_set_num_format(formatoData, "dd/mm/yyyy hh:mm:ss");
    formatoSoData = workbook_add_format(livro);
    format_set_num_format(formatoSoData, "dd/mm/yyyy");
    formatoHora = workbook_add_format(livro);
    format_set_num_format(formatoHora, "hh:mm:ss");
}

clsLivroPlanilha::~clsLivroPlanilha()
{
    if (!livro)
        return;
    workbook_close(livro);
    QFile::remove(arquivo);
}

bool clsLivroPlanilha::Aberto(QString& erro) const
{
    if (!livro)
        erro = QStringLiteral("Não foi possível criar o arquivo ") + arquivo + u'.';
    return livro;
}

QString clsLivroPlanilha::NomeDeFolha(const QString& nome)
{
    QString r = nome;
    for (QChar& c : r)
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = u'_';
    if (r.startsWith(u'\'') || r.endsWith(u'\''))
        r = u'_' + r.mid(1, r.size() - 2) + u'_';
    return r.left(31);
}

bool clsLivroPlanilha::NovaFolha(const QString& nome, const QStringList& colunas, QString& erro)
{
    ++folhas;
    const QByteArray titulo = (nome.isEmpty() ? QStringLiteral("Planilha%1").arg(folhas) : nome).toUtf8();
    folha = workbook_add_worksheet(livro, titulo.constData());
    if (!folha) {
        erro = QStringLiteral("A planilha não aceita uma folha chamada '%1'.").arg(QString::fromUtf8(titulo));
        return false;
    }
    for (int c = 0; c < colunas.size(); ++c)
        worksheet_write_string(folha, 0, lxw_col_t(c), colunas[c].toUtf8().constData(), negrito);
    return true;
}

void clsLivroPlanilha::Numero(uint32_t linha, int coluna, double v)
{
    worksheet_write_number(folha, lxw_row_t(linha), lxw_col_t(coluna), v, nullptr);
}

bool clsLivroPlanilha::Texto(uint32_t linha, int coluna, const QString& v)
{
    // An empty text is a formula that gives one: an empty cell would be no value at all.
    if (v.isEmpty())
        return worksheet_write_formula_str(folha, lxw_row_t(linha), lxw_col_t(coluna), "=\"\"", nullptr, "")
               == LXW_NO_ERROR;
    // The format reads "_xHHHH_" as an escaped character: such a text of its own is escaped too.
    static const QRegularExpression escape(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    QString t = v;
    t.replace(escape, QStringLiteral("_x005F_"));
    return worksheet_write_string(folha, lxw_row_t(linha), lxw_col_t(coluna), t.toUtf8().constData(), nullptr)
           == LXW_NO_ERROR;
}

void clsLivroPlanilha::Booleano(uint32_t linha, int coluna, bool v)
{
    worksheet_write_boolean(folha, lxw_row_t(linha), lxw_col_t(coluna), v, nullptr);
}

bool clsLivroPlanilha::Data(uint32_t linha, int coluna, const datahora::DataHora& d)
{
    int64_t ms = 0;
    if (!datahora::EmMs(d, ms))
        return false;
    // Day 61 of the format's count is 01/03/1900 (it counts a 29/02/1900 that never was).
    constexpr int64_t Dia0 = 2415019, Marco1900 = 2415080;
    const int64_t msDia = ((d.ns / 1000000) % 86400000 + 86400000) % 86400000;
    double serial = double(msDia) / 86400000.0;
    lxw_format* formato = formatoHora;
    if (d.forma != datahora::Forma::SoHora) {
        if (d.dia < Marco1900)
            return false;
        serial += double(d.dia - Dia0);
        formato = d.forma == datahora::Forma::SoData ? formatoSoData : formatoData;
    }
    worksheet_write_number(folha, lxw_row_t(linha), lxw_col_t(coluna), serial, formato);
    return true;
}

bool clsLivroPlanilha::Fechar(QString& erro)
{
    const lxw_error e = workbook_close(livro);
    livro = nullptr;
    if (e == LXW_NO_ERROR)
        return true;
    erro = QStringLiteral("Não foi possível gravar o arquivo ") + arquivo + QStringLiteral(": ")
           + QString::fromUtf8(lxw_strerror(e));
    QFile::remove(arquivo);
    return false;
}

bool ExportarPlanilha(const clsRecordset& rs,
                      const QString& arquivo,
                      QString& erro,
                      const Progresso& progresso,
                      int linhasPorPlanilha)
{
    clsLivroPlanilha livro(arquivo);
    if (!livro.Aberto(erro))
        return false;
    const int campos = rs.FieldCount();
    QList<Classe> classes;
    QStringList nomes;
    for (int c = 0; c < campos; ++c) {
        classes << ClasseDoTipo(rs.InfoCampo(c).tipo);
        nomes << rs.InfoCampo(c).nome;
    }
    const clsRecordsetDados& dados = rs.Dados();
    const int linhas = rs.QtdeLinhasVisiveis();
    bool temFolha = false;
    uint32_t linhaFolha = 0;
    for (int l = 0; l < linhas || !temFolha; ++l) {
        if (!temFolha || linhaFolha > uint32_t(linhasPorPlanilha)) {
            if (!livro.NovaFolha({}, nomes, erro))
                return false;
            temFolha = true;
            linhaFolha = 1;
        }
        if (l >= linhas)
            break;
        for (int c = 0; c < campos; ++c) {
            const QVariant v = rs.ValorCelula(l, c);
            if (v.isNull())
                continue;
            switch (classes[c]) {
            case Classe::Numero: {
                // Exact decimals come as text; the other numbers as numbers already.
                bool numero = v.typeId() != QMetaType::QString;
                const double d = numero ? v.toDouble() : v.toString().toDouble(&numero);
                if (numero)
                    livro.Numero(linhaFolha, c, d);
                else
                    livro.Texto(linhaFolha, c, v.toString());
                break;
            }
            case Classe::Data: {
                datahora::DataHora dh;
                const Celula celula = dados.Ler(rs.LinhaDados(l), c);
                if (!dados.DataHoraDe(celula, c, dh) || !livro.Data(linhaFolha, c, dh))
                    livro.Texto(linhaFolha, c, TextoDaCelula(rs, l, c, Classe::Data));
                break;
            }
            case Classe::Binario: livro.Texto(linhaFolha, c, QStringLiteral("(binário)")); break;
            case Classe::Texto:
                livro.Texto(linhaFolha,
                            c,
                            v.typeId() == QMetaType::QString ? v.toString() : TextoDoValor(v, Classe::Texto));
                break;
            }
        }
        ++linhaFolha;
        if (progresso && !progresso()) {
            erro = QStringLiteral("Exportação cancelada.");
            return false;
        }
    }
    return livro.Fechar(erro);
}

QString TextoDoArquivo(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(bytes);
    if (!utf8.hasError())
        return texto.startsWith(QChar(0xFEFF)) ? texto.mid(1) : texto;
    return DeWindows1252(bytes);
}

} // namespace exportar
