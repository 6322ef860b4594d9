// The query window's script files and exports.
#include "frmTabela.h"

#include "clsModeloRecordset.h"
#include "mdlExportar.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"
#include "shell/clsAmbiente.h"
#include "uctEditorSql.h"

#include <QAction>
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
    const QString arquivo = prompt.ArquivoSalvar(TituloDialogo, UltimaPastaArquivos(), filtro);
    if (arquivo.isEmpty())
        return {};
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

namespace {
// Runs an export over a clone of the grid's rows with the progress window; false and the reason
// on failure or when the user stopped it.
bool ExportarComProgresso(
    clsPrompt& prompt,
    const RecordsetPtr& rs,
    const std::function<bool(const clsRecordset&, const exportar::Progresso&, QString&)>& escrever,
    QString& erro)
{
    const RecordsetPtr copia = rs->Clone(ado::adLockReadOnly);
    copia->setFilter(rs->Filter() == u"0" ? QString() : rs->Filter());
    const int total = copia->QtdeLinhasVisiveis();
    clsAmpulheta ampulheta(prompt);
    prompt.ProcessarEventos();
    prompt.ProgressoStart(total, QStringLiteral("Exportando"));
    int n = 0;
    // The window is told every so many rows: a million moves would cost more than the export.
    const bool ok = escrever(
        *copia,
        [&] { return ++n % 1000 != 0 || prompt.ProgressoMove(); },
        erro);
    prompt.ProgressoClose();
    return ok;
}

bool TemDados(const RecordsetPtr& rs)
{
    return rs && rs->State() == ado::adStateOpen && rs->FieldCount() > 0 && rs->RecordCount() > 0;
}
} // namespace

void frmTabela::ExportarExcel()
{
    clsPrompt& prompt = m_ambiente.Prompt();
    const RecordsetPtr rs = Recordset();
    if (!TemDados(rs)) {
        prompt.MsgBox(QStringLiteral("Execute uma querie para preencher o grid com dados"),
                      vb::Information,
                      globais::TituloAplicativo());
        return;
    }
    QString arquivo = PedirArquivoSalvar(FiltroPlanilha);
    if (arquivo.isEmpty())
        return;
    // The file is a real .xlsx: an old .xls name would not open.
    if (arquivo.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive))
        arquivo += u'x';
    QString erro;
    const bool ok = ExportarComProgresso(
        prompt,
        rs,
        [&](const clsRecordset& r, const exportar::Progresso& p, QString& e) {
            return exportar::ExportarPlanilha(r, arquivo, e, p);
        },
        erro);
    if (ok)
        prompt.MsgBox(QStringLiteral("Arquivo exportado com sucesso"), vb::Information, globais::TituloAplicativo());
    else
        prompt.MsgBox(erro, vb::Critical, globais::TituloAplicativo());
}

void frmTabela::ExportarTexto()
{
    clsPrompt& prompt = m_ambiente.Prompt();
    const RecordsetPtr rs = Recordset();
    if (!TemDados(rs)) {
        prompt.MsgBox(QStringLiteral("Execute uma querie para preencher o grid com dados"),
                      vb::Information,
                      globais::TituloAplicativo());
        return;
    }
    const QString arquivo = PedirArquivoSalvar(FiltroTexto);
    if (arquivo.isEmpty())
        return;
    QString erro;
    const bool ok = ExportarComProgresso(
        prompt,
        rs,
        [&](const clsRecordset& r, const exportar::Progresso& p, QString& e) {
            return exportar::ExportarTexto(r, arquivo, e, p);
        },
        erro);
    if (ok)
        prompt.AbrirNoSistema(QUrl::fromLocalFile(arquivo).toString());
    else
        prompt.MsgBox(erro, vb::Critical, globais::TituloAplicativo());
}
