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

bool ExportarPlanilha(const clsRecordset& rs,
                      const QString& arquivo,
                      QString& erro,
                      const Progresso& progresso,
                      int linhasPorPlanilha)
{
    // Constant memory: each row goes to the file as it is written.
    lxw_workbook_options opcoes = {LXW_TRUE, nullptr, LXW_FALSE};
    const QByteArray nome = QFile::encodeName(arquivo);
    lxw_workbook* livro = workbook_new_opt(nome.constData(), &opcoes);
    if (!livro) {
        erro = QStringLiteral("Não foi possível criar o arquivo ") + arquivo + u'.';
        return false;
    }
    lxw_format* negrito = workbook_add_format(livro);
    format_set_bold(negrito);
    lxw_format* formatoData = workbook_add_format(livro);
    format_set_num_format(formatoData, "dd/mm/yyyy hh:mm:ss");
    lxw_format* formatoSoData = workbook_add_format(livro);
    format_set_num_format(formatoSoData, "dd/mm/yyyy");

    const int campos = rs.FieldCount();
    QList<Classe> classes;
    for (int c = 0; c < campos; ++c)
        classes << ClasseDoTipo(rs.InfoCampo(c).tipo);
    const int linhas = rs.QtdeLinhasVisiveis();
    lxw_worksheet* folha = nullptr;
    int linhaFolha = 0, numeroFolha = 0;
    bool ok = true;
    for (int l = 0; l < linhas || !folha; ++l) {
        if (!folha || linhaFolha > linhasPorPlanilha) {
            ++numeroFolha;
            const QByteArray titulo = QStringLiteral("Planilha%1").arg(numeroFolha).toUtf8();
            folha = workbook_add_worksheet(livro, titulo.constData());
            for (int c = 0; c < campos; ++c)
                worksheet_write_string(folha, 0, lxw_col_t(c), rs.InfoCampo(c).nome.toUtf8().constData(), negrito);
            linhaFolha = 1;
        }
        if (l >= linhas)
            break;
        for (int c = 0; c < campos; ++c) {
            const QVariant v = rs.ValorCelula(l, c);
            if (v.isNull())
                continue;
            const auto r = lxw_row_t(linhaFolha);
            const auto k = lxw_col_t(c);
            switch (classes[c]) {
            case Classe::Numero: {
                // Exact decimals come as text; the other numbers as numbers already.
                bool numero = v.typeId() != QMetaType::QString;
                const double d = numero ? v.toDouble() : v.toString().toDouble(&numero);
                if (numero)
                    worksheet_write_number(folha, r, k, d, nullptr);
                else
                    worksheet_write_string(folha, r, k, v.toString().toUtf8().constData(), nullptr);
                break;
            }
            case Classe::Data: {
                const QDateTime dt = v.toDateTime();
                if (dt.isValid()) {
                    lxw_datetime x = {dt.date().year(),
                                      dt.date().month(),
                                      dt.date().day(),
                                      dt.time().hour(),
                                      dt.time().minute(),
                                      dt.time().second() + dt.time().msec() / 1000.0};
                    const bool soData = rs.InfoCampo(c).formaData == CampoInfo::FormaData::SoData;
                    worksheet_write_datetime(folha, r, k, &x, soData ? formatoSoData : formatoData);
                } else {
                    worksheet_write_string(folha, r, k, v.toString().toUtf8().constData(), nullptr);
                }
                break;
            }
            case Classe::Binario: worksheet_write_string(folha, r, k, "(binário)", nullptr); break;
            case Classe::Texto:
                worksheet_write_string(
                    folha,
                    r,
                    k,
                    (v.typeId() == QMetaType::QString ? v.toString() : TextoDoValor(v, Classe::Texto))
                        .toUtf8()
                        .constData(),
                    nullptr);
                break;
            }
        }
        ++linhaFolha;
        if (progresso && !progresso()) {
            ok = false;
            erro = QStringLiteral("Exportação cancelada.");
            break;
        }
    }
    const lxw_error e = workbook_close(livro);
    if (ok && e != LXW_NO_ERROR) {
        erro = QStringLiteral("Não foi possível gravar o arquivo ") + arquivo + QStringLiteral(": ")
               + QString::fromUtf8(lxw_strerror(e));
        ok = false;
    }
    if (!ok)
        QFile::remove(arquivo);
    return ok;
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
