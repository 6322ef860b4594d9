// A table whose rows pass the memory limit of the options: the run that reads them stops there,
// and the grid becomes a window over the table, its blocks read on demand by the key (see
// clsLeitorJanela). Values are still edited and saved; below the limit nothing of this happens.
#include "frmTabela.h"

#include "connections/clsData.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlLinhas.h"
#include "query/clsLeitorJanela.h"
#include "query/clsModeloRecordset.h"
#include "shell/clsAmbiente.h"

#include <QAction>
#include <malloc.h>

// Only the table's own statement, as table-data mode wrote it, on an engine that reads by key.
bool frmTabela::PodeLerSobDemanda(const QStringList& lotes) const
{
    if (m_sqlTabela.isEmpty() || lotes.size() != 1 || lotes.front().trimmed() != m_sqlTabela.trimmed())
        return false;
    const std::shared_ptr<clsMotor> motor = m_dados ? m_dados->ActiveConnection() : nullptr;
    return motor && clsLeitorJanela::Suportado(*motor);
}

void frmTabela::AbrirSobDemanda(RecordsetPtr parcial)
{
    const QVector<CampoInfo> campos = parcial->Dados().campos;
    // The rows read so far go, released off this thread (a limit's worth of rows takes a while to
    // free), and the memory they took goes back to the system.
    m_modelo->DefinirRecordset(nullptr);
    linhas::Iniciar(
        [rs = std::move(parcial)]() mutable {
            rs.reset();
            malloc_trim(0);
        },
        this,
        {});
    auto janela = std::make_unique<clsLeitorJanela>(m_dados->ActiveConnection(), campos);
    clsLeitorJanela* leitor = janela.get();
    connect(leitor, &clsLeitorJanela::LinhasContadas, this, [this] { MostrarContagem(); });
    connect(leitor, &clsLeitorJanela::BlocoLido, this, [this] {
        // The first block tells whether the rows can be written.
        if (!Ocupada())
            HabilitarBotoesGrid(m_modelo->Editavel());
    });
    connect(leitor, &clsLeitorJanela::Recusado, this, &frmTabela::RecusadoSobDemanda, Qt::QueuedConnection);
    connect(leitor, &clsLeitorJanela::Falhou, this, [this](const QString& erro) { DefinirPainel(1, erro); });
    connect(leitor, &clsLeitorJanela::Gravado, this, [this](bool ok, const ErroDados& erro) {
        MostrarExecutando(Trabalho::Nenhum);
        DefinirPainel(2, m_painelAntesGravar);
        ConcluirGravacao(m_modelo->ConcluirGravacao(ok, erro), true);
        FecharSePedido();
    });
    m_modelo->DefinirJanela(std::move(janela));
    DefinirPainel(1, QString());
    MostrarContagem();
    HabilitarBotoesGrid(false);
    if (!Botao(QStringLiteral("Grid"))->isChecked()) {
        Botao(QStringLiteral("Grid"))->setChecked(true);
        GridClick();
    }
}

// The table cannot be read by key (no primary key): it is run again, holding every row.
void frmTabela::RecusadoSobDemanda(const QString& motivo)
{
    if (!m_modelo->Janela() || Ocupada())
        return;
    m_modelo->DefinirRecordset(nullptr);
    m_avisoMemoria = motivo + QStringLiteral(" Todos os registros serão lidos para a memória.");
    DefinirPainel(1, m_avisoMemoria);
    m_semLimite = true;
    ExecutarSql();
}

bool frmTabela::GravarSobDemanda()
{
    if (!m_modelo->PrepararGravacao())
        return false;
    if (!m_modelo->Janela()->Gravar()) {
        m_modelo->ConcluirGravacao(true);
        return false;
    }
    m_painelAntesGravar = TextoPainel(2);
    DefinirPainel(2, QStringLiteral("Gravando os registros..."));
    HabilitarBotoesGrid(false);
    MostrarExecutando(Trabalho::Gravacao);
    return true;
}

bool frmTabela::RecusarSemMemoria() const
{
    if (!m_modelo->Janela())
        return false;
    m_ambiente.Prompt().MsgBox(QStringLiteral("Este resultado é lido sob demanda: para ordenar ou filtrar seus "
                                              "registros, use ORDER BY ou WHERE na instrução SQL."),
                               vb::Exclamation,
                               globais::TituloAplicativo());
    return true;
}
