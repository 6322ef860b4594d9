// The query window's statements run on a worker thread: the window keeps painting and answering,
// the rows show as they arrive, and "Parar" (or Esc) stops the statement, keeping the rows read.
#include "frmTabela.h"

#include "connections/clsData.h"
#include "connections/uctConnectionSel.h"
#include "platform/clsExecucaoAssincrona.h"
#include "platform/clsPrompt.h"
#include "query/clsModeloRecordset.h"
#include "query/mdlExecucao.h"
#include "shell/clsAmbiente.h"

#include <QAction>
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QTableView>

bool frmTabela::ExecutarNoTrabalhador(const QString& sql, RecordsetPtr& rs, long& afetados)
{
    const std::shared_ptr<clsMotor> motor = m_dados->ActiveConnection();
    // A web service's calls wait for their answer by themselves, without freezing the window.
    if (m_dados->Web() || !motor)
        return m_dados->ExecSql(sql, false, true, rs, afetados);
    const quint64 id = ++m_idExecucao;
    m_parcial.reset();
    motor->DefinirEntregaLinhas([this, id](std::shared_ptr<clsRecordsetDados> bloco) {
        QMetaObject::invokeMethod(
            this,
            [this, id, bloco] { ReceberBloco(id, bloco); },
            Qt::QueuedConnection);
    });
    bool ok = false;
    EsperarTrabalho([&] { ok = m_dados->ExecSql(sql, false, true, rs, afetados); });
    motor->DefinirEntregaLinhas({});
    // Blocks still on their way come in before the rest of the result.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    RecordsetPtr parcial = std::move(m_parcial);
    if (!parcial)
        return ok;
    if (ok && rs) {
        clsRecordsetDados& resto = rs->Dados();
        parcial->Dados().motor = resto.motor;
        parcial->Dados().fonte = resto.fonte;
        parcial->setLockType(rs->LockType());
        m_modelo->AnexarBloco(std::move(resto));
        rs = parcial;
    } else if (!ok && execucao::Interrompida(*m_dados)) {
        rs = parcial; // the rows read before the stop, read-only: the result is not whole
    }
    return ok;
}

void frmTabela::ReceberBloco(quint64 id, const std::shared_ptr<clsRecordsetDados>& bloco)
{
    if (id != m_idExecucao || !m_executando)
        return;
    if (!m_parcial) {
        m_parcial = clsRecordset::Criar(bloco, ado::adLockReadOnly);
        MostrarResultado(m_parcial);
        return;
    }
    m_modelo->AnexarBloco(std::move(*bloco));
    MostrarContagem();
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
    if (!m_executando || !m_dados)
        return;
    if (const std::shared_ptr<clsMotor> motor = m_dados->ActiveConnection())
        motor->Interromper();
}

void frmTabela::MostrarExecutando(bool executando)
{
    m_executando = executando;
    Botao(QStringLiteral("Parar"))->setEnabled(executando);
    Botao(QStringLiteral("Play"))->setEnabled(!executando);
    uctConnectionSel1->setEnabled(!executando);
}

void frmTabela::GravarNoTrabalhador(const RecordsetPtr& rs, const std::function<void()>& gravar)
{
    clsAmpulheta ampulheta(m_ambiente.Prompt());
    // Rows of a web service are written through its calls, which wait by themselves.
    if (!rs->ActiveConnection() || (m_dados && m_dados->Web())) {
        gravar();
        return;
    }
    // The grid shows what it showed and takes no edits until the rows are written.
    const QString painel = TextoPainel(2);
    DefinirPainel(2, QStringLiteral("Gravando os registros..."));
    dgrConsulta->setUpdatesEnabled(false);
    dgrConsulta->setEnabled(false);
    MostrarExecutando(true);
    HabilitarBotoesGrid(false);
    EsperarTrabalho(gravar);
    MostrarExecutando(false);
    dgrConsulta->setEnabled(true);
    dgrConsulta->setUpdatesEnabled(true);
    DefinirPainel(2, painel);
    HabilitarBotoesGrid(true);
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
