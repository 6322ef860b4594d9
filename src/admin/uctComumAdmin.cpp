#include "uctComumAdmin.h"

#include "admin/mdlBackup.h"
#include "connections/clsSqlDmoSessao.h"
#include "gui/frmFilhoConexao.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"
#include "shell/clsAmbiente.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QDialog>
#include <QHeaderView>
#include <QToolBar>

void HabilitarControle(QWidget* controle, bool habilitar)
{
    controle->setEnabled(habilitar);
    QPalette p = controle->palette();
    p.setColor(QPalette::Base, habilitar ? QPalette().color(QPalette::Base) : QPalette().color(QPalette::Button));
    controle->setPalette(p);
}

// Shows the chosen fields of the recordset's rows, in their order, under their captions; read-only.
class uctGradeAdmin::Modelo : public QAbstractTableModel {
public:
    QList<std::pair<QString, QString>> colunas;
    QList<int> campos; // the recordset field of each column (-1: absent)
    RecordsetPtr rs;
    int rowCount(const QModelIndex& pai = {}) const override
    {
        return pai.isValid() || !rs || rs->State() != ado::adStateOpen ? 0 : std::max(0, rs->RecordCount());
    }
    int columnCount(const QModelIndex& pai = {}) const override { return pai.isValid() ? 0 : int(colunas.size()); }
    QVariant data(const QModelIndex& i, int papel) const override
    {
        if (papel != Qt::DisplayRole || !i.isValid() || campos.value(i.column(), -1) < 0)
            return {};
        const QVariant v = rs->ValorCelula(i.row(), campos[i.column()]);
        return v.isNull() ? QVariant() : QVariant(v.toString());
    }
    QVariant headerData(int secao, Qt::Orientation o, int papel) const override
    {
        if (o == Qt::Horizontal && papel == Qt::DisplayRole)
            return colunas.value(secao).second;
        return QAbstractTableModel::headerData(secao, o, papel);
    }
    void Definir(RecordsetPtr novo)
    {
        beginResetModel();
        rs = std::move(novo);
        campos.clear();
        for (const auto& coluna : colunas)
            campos << (rs ? rs->IndiceCampo(coluna.first) : -1);
        endResetModel();
    }
};

uctGradeAdmin::uctGradeAdmin(const QList<std::pair<QString, QString>>& colunas, QWidget* pai)
    : QTableView(pai), m_modelo(new Modelo)
{
    m_modelo->setParent(this);
    m_modelo->colunas = colunas;
    setModel(m_modelo);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < colunas.size(); ++c)
        setColumnWidth(c, 160);
}

void uctGradeAdmin::DefinirRecordset(RecordsetPtr rs)
{
    m_modelo->Definir(std::move(rs));
    resizeColumnsToContents();
    if (m_modelo->rowCount() > 0)
        SelecionarLinha(0);
}

RecordsetPtr uctGradeAdmin::Recordset() const { return m_modelo->rs; }

bool uctGradeAdmin::TemLinhaAtual() const
{
    return currentIndex().isValid() && currentIndex().row() < m_modelo->rowCount();
}

QVariant uctGradeAdmin::ValorAtual(const QString& campo) const
{
    const RecordsetPtr rs = Recordset();
    if (!TemLinhaAtual() || rs->IndiceCampo(campo) < 0)
        return {};
    return rs->ValorCelula(currentIndex().row(), rs->IndiceCampo(campo));
}

void uctGradeAdmin::SelecionarLinha(int linha) { setCurrentIndex(m_modelo->index(linha, 0)); }

QToolBar* BarraAdmin(QWidget* pai, const QString& nome, const QList<std::pair<QString, QString>>& botoes)
{
    auto* barra = new QToolBar(pai);
    barra->setObjectName(nome);
    barra->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const auto& [chave, dica] : botoes) {
        QAction* a = barra->addAction(chave);
        a->setObjectName(chave);
        a->setText(dica);
        a->setToolTip(dica);
    }
    return barra;
}

QString FiltroArquivos(const QString& descricao, const QString& extensao)
{
    return descricao + QStringLiteral(" (*.") + extensao + QStringLiteral(");;Todos os Arquivos (*.*)");
}

bool MostrarErroSessao(clsPrompt& prompt, const clsSqlDmoSessao& sessao)
{
    prompt.MsgBox(sessao.Erro().descricao, vb::Critical, globais::TituloAplicativo());
    return false;
}

void MostrarListaAdmin(frmFilhoConexao& janela, clsAmbiente& ambiente, QWidget* grade, qint16 tagIndexConexao)
{
    janela.DefinirTag(QString::number(tagIndexConexao));
    if (ambiente.hospedarJanela)
        ambiente.hospedarJanela(&janela);
    janela.show();
    grade->setEnabled(true);
    grade->setFocus();
}

void ExecutarProgramaBackup(QDialog& janela,
                            QWidget* botao,
                            clsPrompt& prompt,
                            const QString& programa,
                            const QString& argumento,
                            const QString& banco)
{
    botao->setEnabled(false);
    backup::ExecutarPrograma(prompt, programa, argumento, banco, &janela, [&janela, botao](bool ok) {
        botao->setEnabled(true);
        if (ok)
            janela.accept();
    });
}
