// The query window's work runs on its runner's worker thread: the window is a small state machine
// (idle, running, saving, exporting) driven by the runner's signals, and never waits for the worker.
// Rows show as they arrive; "Parar" (or Esc) stops the work, keeping the rows read; a run that ends
// while the user works in another window neither activates this one nor takes the keyboard.
#include "frmTabela.h"

#include "connections/clsData.h"
#include "connections/uctConnectionSel.h"
#include "platform/clsPrompt.h"
#include "query/clsExecucao.h"
#include "query/clsModeloRecordset.h"
#include "query/mdlExecucao.h"
#include "query/mdlVerificarSql.h"
#include "query/uctEditorSql.h"
#include "shell/clsAmbiente.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTimer>
#include <exception>

void frmTabela::LigarExecucao()
{
    m_execucao = new clsExecucao(this);
    m_vezBloco = new QTimer(this);
    m_vezBloco->setInterval(0);
    connect(m_vezBloco, &QTimer::timeout, this, &frmTabela::AplicarBloco);
    connect(m_execucao, &clsExecucao::Bloco, this, [this](int lote, const std::shared_ptr<clsRecordsetDados>& bloco) {
        if (m_trabalho != Trabalho::Consulta)
            return;
        m_blocos.append({lote, bloco});
        m_vezBloco->start();
    });
    connect(m_execucao, &clsExecucao::LoteIniciado, this, [this](int lote, int total) {
        if (total > 1)
            DefinirPainel(1, QStringLiteral("Executando o lote %1 de %2...").arg(lote + 1).arg(total));
    });
    connect(m_execucao, &clsExecucao::Pergunta, this, &frmTabela::PerguntarContinuar);
    connect(m_execucao, &clsExecucao::Concluida, this, [this](const clsExecucao::Fim& fim) {
        if (m_blocos.isEmpty())
            ConcluirExecucao(fim);
        else
            m_fimPendente = fim;
    });
    connect(m_execucao, &clsExecucao::TrabalhoConcluido, this, &frmTabela::ConcluirTrabalho);
    connect(m_execucao, &clsExecucao::Progresso, this, [this](qint64 feito) {
        if (m_trabalho == Trabalho::Exportacao)
            DefinirPainel(1, QStringLiteral("Exportando... %1 de %2 registros").arg(feito).arg(m_totalExportar));
    });
}

// The batches of the text as they run: step by step (each asks on failure), the batches between
// "GO" lines, or the whole text.
static QStringList LotesDoTexto(const QString& sql, bool passoPasso, bool& perguntar)
{
    QString texto = sql;
    QStringList instrucoes;
    const bool achou = execucao::DividirInstrucoes(texto, passoPasso, instrucoes);
    perguntar = achou && passoPasso && !instrucoes.isEmpty();
    if (perguntar)
        return instrucoes;
    if (achou)
        return execucao::Lotes(sql);
    return {sql};
}

bool frmTabela::ExecutarSql()
{
    if (Ocupada() || !ConfirmarEdicoesPendentes([this] { ExecutarSql(); }))
        return false;
    try {
        HabilitarBotoesGrid(false);
        DefinirPainel(2, QString());
        DefinirPainel(3, QString());
        // Text typed over a selection leaves an empty one behind: then the whole text runs.
        const QString selecao = txtSql->selectedText();
        QString sql = selecao.isEmpty() ? txtSql->text() : selecao;
        {
            clsAmpulheta ampulheta(m_ambiente.Prompt());
            Reconectar();
            AbrirConexao();
        }
        FecharResultado();
        MostrarSomenteLeitura();
        if (m_dados->ConnectionType() == tipoconexao::Access)
            sql = execucao::RemoverDbo(sql);
        if (sql.isEmpty())
            return false;
        if (Botao(QStringLiteral("CheckBeforeSql"))->isChecked() && !VerificarSql(m_ambiente.Prompt(), sql))
            return false;
        clsExecucao::Pedido pedido;
        pedido.lotes = LotesDoTexto(sql, Botao(QStringLiteral("PassoPasso"))->isChecked(), pedido.perguntarAoFalhar);
        pedido.motor = m_dados->Web() ? m_dados->MotorWeb() : m_dados->ActiveConnection();
        if (!pedido.motor)
            return ExecutarSemMotor(pedido);
        m_loteParcial = -1;
        m_parcial.reset();
        ++m_idExecucao;
        m_passoPasso = pedido.perguntarAoFalhar;
        if (!m_execucao->Iniciar(pedido))
            return false;
        MostrarExecutando(Trabalho::Consulta);
        return true;
    } catch (const std::exception& e) {
        MostrarExecutando(Trabalho::Nenhum);
        m_ambiente.Prompt().MsgBox(QString::fromLocal8Bit(e.what()), vb::Critical);
        return false;
    }
}

// A connection that did not open: the batches go through the data access object, which reports a
// closed connection.
bool frmTabela::ExecutarSemMotor(const clsExecucao::Pedido& pedido)
{
    clsExecucao::Fim fim;
    fim.total = int(pedido.lotes.size());
    fim.ok = true;
    for (int i = 0; i < fim.total; ++i) {
        RecordsetPtr rs;
        long afetados = 0;
        fim.loteLinhas = i;
        if (m_dados->ExecSql(pedido.lotes[i], false, true, rs, afetados)) {
            fim.rs = rs;
            fim.afetados = afetados;
            fim.afetadosLotes << afetados;
            continue;
        }
        fim.rs.reset();
        fim.ok = false;
        fim.loteFalho = i;
        fim.sqlFalho = pedido.lotes[i];
        fim.erro = m_dados->Erro();
        fim.erroTexto = m_dados->ErrMsg();
        if (!pedido.perguntarAoFalhar
            || m_ambiente.Prompt().MsgBox(pedido.lotes[i]
                                              + QStringLiteral("\r\rOcorreram Erros Durante a Execução "
                                                               "da Instrução, Deseja Continuar ?"),
                                          vb::YesNo | vb::Question)
                   != vb::Yes)
            break;
        fim.ok = true;
        fim.loteFalho = -1;
    }
    m_loteParcial = -1;
    m_parcial.reset();
    ++m_idExecucao;
    MostrarExecutando(Trabalho::Consulta);
    m_passoPasso = pedido.perguntarAoFalhar;
    ConcluirExecucao(fim);
    return fim.ok;
}

void frmTabela::PerguntarContinuar(int, const QString& sql, const ErroDados&)
{
    const quint64 id = m_idExecucao;
    QuandoAtiva([this, id, sql] {
        if (id != m_idExecucao || m_trabalho != Trabalho::Consulta)
            return;
        const int resposta = m_ambiente.Prompt().MsgBox(
            sql + QStringLiteral("\r\rOcorreram Erros Durante a Execução da Instrução, Deseja Continuar ?"),
            vb::YesNo | vb::Question);
        m_execucao->Responder(resposta == vb::Yes);
    });
}

// One block a turn of the event loop; after the last one, the end of the run that waited for it.
void frmTabela::AplicarBloco()
{
    // A window closing drops the rows still to show.
    if (m_fecharAoTerminar)
        m_blocos.clear();
    if (!m_blocos.isEmpty()) {
        const auto [lote, bloco] = m_blocos.takeFirst();
        ReceberBloco(lote, bloco);
    }
    if (!m_blocos.isEmpty())
        return;
    m_vezBloco->stop();
    if (m_fimPendente)
        ConcluirExecucao(*std::exchange(m_fimPendente, std::nullopt));
}

void frmTabela::ReceberBloco(int lote, const std::shared_ptr<clsRecordsetDados>& bloco)
{
    if (m_trabalho != Trabalho::Consulta)
        return;
    if (lote != m_loteParcial || !m_parcial) {
        // A batch's rows replace those of the batch before it.
        m_loteParcial = lote;
        m_parcial = clsRecordset::Criar(bloco, ado::adLockReadOnly);
        MostrarResultado(m_parcial);
        return;
    }
    m_modelo->AnexarBloco(std::move(*bloco));
    MostrarContagem();
}

// The result of the run: the blocks already shown with the rest of the last batch's rows.
RecordsetPtr frmTabela::JuntarResultado(const clsExecucao::Fim& fim)
{
    RecordsetPtr parcial = std::move(m_parcial);
    const bool doMesmoLote = parcial && m_loteParcial == fim.loteLinhas;
    if (fim.interrompida)
        return doMesmoLote ? parcial : nullptr; // the rows read before the stop, read-only
    if (!fim.ok || !fim.rs || !doMesmoLote)
        return fim.rs;
    clsRecordsetDados& resto = fim.rs->Dados();
    parcial->Dados().motor = resto.motor;
    parcial->Dados().fonte = resto.fonte;
    parcial->setLockType(fim.rs->LockType());
    m_modelo->AnexarBloco(std::move(resto));
    return parcial;
}

void frmTabela::ConcluirExecucao(const clsExecucao::Fim& fim)
{
    const bool passoPasso = std::exchange(m_passoPasso, false);
    RecordsetPtr rs = JuntarResultado(fim);
    MostrarExecutando(Trabalho::Nenhum);
    DefinirPainel(1, QString());
    if (fim.interrompida) {
        if (rs)
            MostrarResultado(rs);
        else
            FecharResultado();
        DefinirPainel(2, QStringLiteral("Execução interrompida pelo usuário."));
        HabilitarBotoesGrid(false);
        MostrarSomenteLeitura();
    } else if (!fim.ok) {
        FecharResultado();
        QString errMsg = fim.erroTexto;
        if (errMsg.isEmpty())
            errMsg = TextoErrMsg(fim.erro) + QStringLiteral("\nQuerie:") + fim.sqlFalho;
        m_dados->setErrMsg(errMsg);
        if (ConexaoPerdida()) {
            m_reconectar = true;
            errMsg += QStringLiteral("\r\n\r\nA conexão com o banco de dados foi perdida: ela será refeita na próxima "
                                     "execução.");
        }
        if (!passoPasso)
            errMsg = execucao::MensagemFalhaLote(errMsg, fim.loteFalho, fim.total, fim.afetadosLotes);
        QuandoAtiva([this, errMsg] { m_ambiente.Prompt().MsgBox(errMsg, vb::Critical); });
    } else {
        MostrarResultado(rs);
        if (!rs) {
            const QString msg = execucao::MensagemSucesso(fim.afetados);
            QuandoAtiva([this, msg] { m_ambiente.Prompt().MsgBox(msg, vb::Information); });
        }
        DefinirPainel(2, QStringLiteral("Executado em ") + execucao::FormatarTempo(fim.segundos));
        HabilitarBotoesGrid(rs && rs->LockType() != ado::adLockReadOnly);
        MostrarSomenteLeitura();
    }
    if (std::exchange(m_reconectou, false))
        DefinirPainel(1, QStringLiteral("A conexão com o banco de dados foi refeita."));
    emit ExecucaoConcluida(fim.ok);
    FecharSePedido();
}

void frmTabela::MostrarResultado(const RecordsetPtr& rs)
{
    if (!rs) {
        FecharResultado();
        return;
    }
    if (rs != m_modelo->Recordset())
        m_modelo->DefinirRecordset(rs);
    MostrarContagem();
    if (!Botao(QStringLiteral("Grid"))->isChecked()) {
        Botao(QStringLiteral("Grid"))->setChecked(true);
        GridClick();
    }
}

void frmTabela::MostrarContagem()
{
    const RecordsetPtr rs = m_modelo->Recordset();
    if (rs && rs->State() == ado::adStateOpen)
        DefinirPainel(3, QString::number(rs->RecordCount()) + QStringLiteral(" Registros Encontrados"));
}

void frmTabela::PararExecucao()
{
    if (Ocupada())
        m_execucao->Parar();
}

void frmTabela::MostrarExecutando(Trabalho trabalho)
{
    m_trabalho = trabalho;
    const bool ocupada = trabalho != Trabalho::Nenhum;
    Botao(QStringLiteral("Parar"))->setEnabled(ocupada);
    Botao(QStringLiteral("Play"))->setEnabled(!ocupada && Botao(QStringLiteral("Sql"))->isChecked());
    uctConnectionSel1->setEnabled(!ocupada);
    // While rows are written or exported the grid shows what it showed and takes no edits.
    const bool congelar = trabalho == Trabalho::Gravacao || trabalho == Trabalho::Exportacao;
    dgrConsulta->setUpdatesEnabled(!congelar);
    dgrConsulta->setEnabled(!congelar);
}

bool frmTabela::GravarRegistros(std::function<void(bool)> depois)
{
    RecordsetPtr rs = m_modelo->Recordset();
    if (!rs || Ocupada())
        return false;
    ConcluirEdicaoGrid();
    if (!m_modelo->Editavel()) {
        m_ambiente.Prompt().MsgBox(m_modelo->MotivoSomenteLeitura(), vb::Exclamation);
        return false;
    }
    if (!m_modelo->TemEdicoesPendentes()) {
        m_ambiente.Prompt().MsgBox(QStringLiteral("Não há alterações a gravar."), vb::Information);
        if (depois)
            depois(true);
        return true;
    }
    m_depoisGravar = std::move(depois);
    const std::shared_ptr<clsMotor> motor = rs->ActiveConnection();
    // Rows read without an engine (a web service's) are refused by the recordset at once.
    if (!motor || (m_dados && m_dados->Web())) {
        clsAmpulheta ampulheta(m_ambiente.Prompt());
        ConcluirGravacao(m_modelo->Gravar(), false);
        return true;
    }
    if (!m_modelo->PrepararGravacao())
        return false;
    m_painelAntesGravar = TextoPainel(2);
    DefinirPainel(2, QStringLiteral("Gravando os registros..."));
    HabilitarBotoesGrid(false);
    MostrarExecutando(Trabalho::Gravacao);
    m_execucao->IniciarTrabalho(motor, [rs](const std::atomic<bool>&) { return rs->UpdateBatch(); });
    return true;
}

void frmTabela::ConcluirTrabalho(bool ok, bool interrompido)
{
    const Trabalho trabalho = m_trabalho;
    MostrarExecutando(Trabalho::Nenhum);
    if (trabalho == Trabalho::Gravacao) {
        DefinirPainel(2, m_painelAntesGravar);
        ConcluirGravacao(m_modelo->ConcluirGravacao(ok), true);
    } else if (trabalho == Trabalho::Exportacao) {
        ConcluirExportacao(ok, interrompido);
    }
    FecharSePedido();
}

void frmTabela::ConcluirGravacao(bool ok, bool habilitar)
{
    const RecordsetPtr rs = m_modelo->Recordset();
    if (habilitar)
        HabilitarBotoesGrid(true);
    MostrarContagem();
    if (ok) {
        QuandoAtiva(
            [this] { m_ambiente.Prompt().MsgBox(QStringLiteral("Registros Gravados com Sucesso"), vb::Information); });
    } else if (rs) {
        const ErroDados erro = rs->Erro();
        QuandoAtiva([this, erro] {
            m_ambiente.Prompt().MsgBox(erro.descricao,
                                       vb::Critical,
                                       QStringLiteral("Erro: ") + QString::number(erro.numero));
        });
    }
    emit GravacaoConcluida(ok);
    if (auto depois = std::exchange(m_depoisGravar, {}))
        depois(ok);
}

// Whether the user is in this window now: its frame is the active subwindow of the active main
// window, or no window of the program is active at all.
bool frmTabela::JanelaAtiva() const
{
    const QWidget* ativa = QApplication::activeWindow();
    if (!ativa)
        return true;
    if (ativa != window())
        return false;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea())
        return sub->mdiArea()->activeSubWindow() == sub;
    return true;
}

void frmTabela::QuandoAtiva(std::function<void()> mostrar)
{
    if (JanelaAtiva()) {
        mostrar();
        return;
    }
    m_pendentes.append(std::move(mostrar));
    DefinirPainel(1, QStringLiteral("A execução terminou: a mensagem aparece quando esta janela for ativada."));
}

void frmTabela::MostrarPendentes()
{
    if (m_pendentes.isEmpty() || !JanelaAtiva())
        return;
    const QList<std::function<void()>> pendentes = std::exchange(m_pendentes, {});
    DefinirPainel(1, QString());
    MostrarSomenteLeitura();
    for (const auto& mostrar : pendentes)
        mostrar();
}

void frmTabela::FecharSePedido()
{
    if (m_fecharAoTerminar)
        QMetaObject::invokeMethod(
            this,
            [this] { FecharMoldura(); },
            Qt::QueuedConnection);
}

void frmTabela::FecharMoldura()
{
    if (auto* moldura = qobject_cast<QMdiSubWindow*>(parentWidget()))
        moldura->close();
    else
        close();
}

bool frmTabela::ConexaoPerdida() const
{
    const std::shared_ptr<clsMotor> motor = m_dados ? m_dados->ActiveConnection() : nullptr;
    return motor && motor->ConexaoPerdida();
}

// A connection lost by the last run (the server restarted) is opened again, once, with the same
// connection string and its remembered credentials.
void frmTabela::Reconectar()
{
    if (!m_dados || (!m_reconectar && !ConexaoPerdida()))
        return;
    m_reconectar = false;
    m_dados->CloseConnection();
    m_dados.reset();
    m_reconectou = AbrirConexao();
}
