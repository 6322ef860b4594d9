// The query window's script files and exports.
#include "frmTabela.h"

#include "clsModeloRecordset.h"
#include "mdlExportar.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"
#include "shell/clsAmbiente.h"
#include "uctEditorSql.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {
const QString TituloDialogo = QStringLiteral("Informe o Nome para o Arquivo");
const QString FiltroScripts = QStringLiteral("Scripts de SQL|*.txt;*.sql|Arquivos de Texto (*.txt)|*.txt|"
                                             "Arquivos de SQL (*.sql)|*.sql|Todos os Arquivos (*.*)|*.*");
const QString FiltroPlanilha = QStringLiteral("Planilha do Excel|*.xlsx|Todos os Arquivos (*.*)|*.*");
const QString FiltroTexto = QStringLiteral("Arquivo de Texto|*.Txt|Todos os Arquivos (*.*)|*.*");
} // namespace

QString& frmTabela::UltimaPastaArquivos()
{
    static QString pasta;
    return pasta;
}

void frmTabela::LigarArquivos()
{
    const std::pair<const char*, void (frmTabela::*)()> botoes[] = {
        {"Open", &frmTabela::AbrirArquivo},
        {"Save", &frmTabela::SalvarArquivo},
        {"Excel", &frmTabela::ExportarExcel},
        {"TXT", &frmTabela::ExportarTexto},
    };
    for (const auto& [chave, acao] : botoes) {
        LigarBotao(QString::fromLatin1(chave));
        connect(Botao(QString::fromLatin1(chave)), &QAction::triggered, this, acao);
    }
}

void frmTabela::AbrirArquivo()
{
    clsPrompt& prompt = m_ambiente.Prompt();
    const QString arquivo = prompt.ArquivoAbrir(TituloDialogo, UltimaPastaArquivos(), FiltroScripts);
    if (arquivo.isEmpty())
        return;
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly)) {
        prompt.MsgBox(QStringLiteral("Não foi possível ler o arquivo ") + arquivo + QStringLiteral(":\n")
                          + f.errorString(),
                      vb::Critical,
                      globais::TituloAplicativo());
        return;
    }
    const QByteArray bytes = f.readAll();
    if (bytes.isEmpty()) {
        prompt.MsgBox(QStringLiteral("O arquivo está vazio, verifique."), vb::Information, globais::TituloAplicativo());
        return;
    }
    txtSql->setText(exportar::TextoDoArquivo(bytes));
    UltimaPastaArquivos() = QFileInfo(arquivo).absolutePath();
}

QString frmTabela::PedirArquivoSalvar(const QString& filtro)
{
    clsPrompt& prompt = m_ambiente.Prompt();
    QString arquivo = prompt.ArquivoSalvar(TituloDialogo, UltimaPastaArquivos(), filtro);
    if (arquivo.isEmpty())
        return {};
    // A spreadsheet is written as .xlsx: an old .xls name would not open. A name without an
    // extension gets the one of its kind.
    if (filtro == FiltroPlanilha && arquivo.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive))
        arquivo += u'x';
    if (QFileInfo(arquivo).suffix().isEmpty() && filtro != FiltroScripts)
        arquivo += filtro == FiltroPlanilha ? QStringLiteral(".xlsx") : QStringLiteral(".txt");
    if (QFile::exists(arquivo)
        && prompt.MsgBox(QStringLiteral("Arquivo já existente, deseja sobrescrevê-lo ?"),
                         vb::YesNo | vb::Question,
                         globais::TituloAplicativo())
               != vb::Yes)
        return {};
    return arquivo;
}

void frmTabela::SalvarArquivo()
{
    const QString arquivo = PedirArquivoSalvar(FiltroScripts);
    if (arquivo.isEmpty())
        return;
    QFile f(arquivo);
    // The editor's text as UTF-8, line ends as they are.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(txtSql->text().toUtf8()) < 0 || !f.flush()) {
        m_ambiente.Prompt().MsgBox(QStringLiteral("Não foi possível gravar o arquivo ") + arquivo
                                       + QStringLiteral(":\n") + f.errorString(),
                                   vb::Critical,
                                   globais::TituloAplicativo());
        return;
    }
    UltimaPastaArquivos() = QFileInfo(arquivo).absolutePath();
}

void frmTabela::ExportarExcel()
{
    Exportar(FiltroPlanilha,
             [this](const QString& arquivo, QString& erro, const exportar::Progresso& p, const clsRecordset& r) {
                 if (!exportar::ExportarPlanilha(r, arquivo, erro, p))
                     return false;
                 m_ambiente.Prompt().MsgBox(QStringLiteral("Arquivo exportado com sucesso"),
                                            vb::Information,
                                            globais::TituloAplicativo());
                 return true;
             });
}

void frmTabela::ExportarTexto()
{
    Exportar(FiltroTexto,
             [this](const QString& arquivo, QString& erro, const exportar::Progresso& p, const clsRecordset& r) {
                 if (!exportar::ExportarTexto(r, arquivo, erro, p))
                     return false;
                 // Without a program to show it, the user is told where it went.
                 if (!m_ambiente.Prompt().AbrirNoSistema(QUrl::fromLocalFile(arquivo).toString()))
                     m_ambiente.Prompt().MsgBox(QStringLiteral("Arquivo exportado com sucesso") + u'\n' + arquivo,
                                                vb::Information,
                                                globais::TituloAplicativo());
                 return true;
             });
}

void frmTabela::Exportar(const QString& filtro, const Exportador& escrever)
{
    clsPrompt& prompt = m_ambiente.Prompt();
    const RecordsetPtr rs = Recordset();
    if (!rs || rs->State() != ado::adStateOpen || rs->FieldCount() == 0 || rs->RecordCount() <= 0) {
        prompt.MsgBox(QStringLiteral("Execute uma querie para preencher o grid com dados"),
                      vb::Information,
                      globais::TituloAplicativo());
        return;
    }
    const QString arquivo = PedirArquivoSalvar(filtro);
    if (arquivo.isEmpty())
        return;
    // The rows as the grid shows them, read by position (the grid's current row stays): a clone
    // would sort again a row edited since the sort.
    const RecordsetPtr copia = rs;
    QString erro;
    bool ok = false;
    {
        clsAmpulheta ampulheta(prompt);
        prompt.ProcessarEventos();
        prompt.ProgressoStart(copia->QtdeLinhasVisiveis(), QStringLiteral("Exportando"));
        int n = 0;
        // The window is told every so many rows: a million moves would cost more than the export.
        ok = escrever(
            arquivo,
            erro,
            [&] { return ++n % 1000 != 0 || prompt.ProgressoMove(); },
            *copia);
        prompt.ProgressoClose();
    }
    if (!ok) {
        prompt.MsgBox(erro, vb::Critical, globais::TituloAplicativo());
        return;
    }
    DefinirPainel(1, QStringLiteral("Arquivo exportado: ") + QDir::toNativeSeparators(arquivo));
}
