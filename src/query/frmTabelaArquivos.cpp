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

QString frmTabela::PedirArquivoSalvar(const QString& filtro, int entrada)
{
    clsPrompt& prompt = m_ambiente.Prompt();
    QString arquivo = prompt.ArquivoSalvar(TituloDialogo, UltimaPastaArquivos(), filtro, entrada);
    if (arquivo.isEmpty())
        return {};
    // A spreadsheet is written as .xlsx: an old .xls name would not open. A name without an
    // extension gets the one of its kind.
    if (filtro == FiltroPlanilha && arquivo.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive))
        arquivo += u'x';
    if (QFileInfo(arquivo).suffix().isEmpty() && filtro != FiltroScripts)
        arquivo += filtro == FiltroPlanilha ? QStringLiteral(".xlsx") : QStringLiteral(".txt");
    if (!PodeSobrescrever(prompt, arquivo))
        return {};
    return arquivo;
}

void frmTabela::SalvarArquivo()
{
    // The third entry, "Arquivos de SQL (*.sql)", is the one selected.
    const QString arquivo = PedirArquivoSalvar(FiltroScripts, 2);
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
    Exportar(
        FiltroPlanilha,
        [](const QString& arquivo, QString& erro, const exportar::Progresso& p, const clsRecordset& r) {
            return exportar::ExportarPlanilha(r, arquivo, erro, p);
        },
        [this](const QString&) {
            m_ambiente.Prompt().MsgBox(QStringLiteral("Arquivo exportado com sucesso"),
                                       vb::Information,
                                       globais::TituloAplicativo());
        });
}

void frmTabela::ExportarTexto()
{
    Exportar(
        FiltroTexto,
        [](const QString& arquivo, QString& erro, const exportar::Progresso& p, const clsRecordset& r) {
            return exportar::ExportarTexto(r, arquivo, erro, p);
        },
        [this](const QString& arquivo) {
            // Without a program to show it, the user is told where it went.
            if (!m_ambiente.Prompt().AbrirNoSistema(QUrl::fromLocalFile(arquivo).toString()))
                m_ambiente.Prompt().MsgBox(QStringLiteral("Arquivo exportado com sucesso") + u'\n' + arquivo,
                                           vb::Information,
                                           globais::TituloAplicativo());
        });
}

// The rows are written on the runner's worker from a clone, while the window shows the progress in
// its status bar and answers "Parar" (Esc); the grid takes no edits meanwhile.
void frmTabela::Exportar(const QString& filtro,
                         const Exportador& escrever,
                         const std::function<void(const QString&)>& depois)
{
    clsPrompt& prompt = m_ambiente.Prompt();
    const RecordsetPtr rs = Recordset();
    if (Ocupada())
        return;
    if (!rs || rs->State() != ado::adStateOpen || rs->FieldCount() == 0 || rs->RecordCount() <= 0) {
        prompt.MsgBox(QStringLiteral("Execute uma querie para preencher o grid com dados"),
                      vb::Information,
                      globais::TituloAplicativo());
        return;
    }
    const QString arquivo = PedirArquivoSalvar(filtro);
    if (arquivo.isEmpty())
        return;
    ConcluirEdicaoGrid();
    // A clone of the rows in the order and with the filter the grid shows them: the grid's current
    // row stays, and a row edited since the sort is written where it is seen.
    const RecordsetPtr copia = rs->CloneComoVisto(ado::adLockReadOnly);
    m_totalExportar = copia->QtdeLinhasVisiveis();
    m_erroExportar.clear();
    m_depoisExportar = [depois, arquivo] { depois(arquivo); };
    m_arquivoExportar = arquivo;
    auto erro = std::make_shared<QString>();
    clsExecucao* execucao = m_execucao;
    MostrarExecutando(Trabalho::Exportacao);
    DefinirPainel(1, QStringLiteral("Exportando... 0 de %1 registros").arg(m_totalExportar));
    execucao->IniciarTrabalho(nullptr,
                              [this, execucao, escrever, arquivo, copia, erro](const std::atomic<bool>& parar) {
                                  qint64 n = 0;
                                  // The window is told every so many rows: a million reports would cost more than the export.
                                  const bool ok = escrever(
                                      arquivo,
                                      *erro,
                                      [&] {
                                          if (++n % 1000 == 0)
                                              execucao->InformarProgresso(n);
                                          return !parar.load();
                                      },
                                      *copia);
                                  QMetaObject::invokeMethod(
                                      this,
                                      [this, erro] { m_erroExportar = *erro; },
                                      Qt::QueuedConnection);
                                  return ok;
                              });
}

void frmTabela::ConcluirExportacao(bool ok, bool interrompido)
{
    DefinirPainel(1, QString());
    MostrarSomenteLeitura();
    const QString erro = std::exchange(m_erroExportar, {});
    const auto depois = std::exchange(m_depoisExportar, {});
    if (ok)
        DefinirPainel(1, QStringLiteral("Arquivo exportado: ") + QDir::toNativeSeparators(m_arquivoExportar));
    if (ok && depois)
        QuandoAtiva(depois);
    else if (interrompido)
        DefinirPainel(1, QStringLiteral("Exportação interrompida pelo usuário."));
    else if (!ok)
        QuandoAtiva([this, erro] { m_ambiente.Prompt().MsgBox(erro, vb::Critical, globais::TituloAplicativo()); });
    emit ExportacaoConcluida(ok);
}
