// The query window's sort and filter: both act on the rows already fetched.
#include "frmFiltro.h"
#include "frmTabela.h"

#include "clsModeloRecordset.h"
#include "platform/clsPrompt.h"
#include "platform/clsTiposAdo.h"
#include "platform/mdlGlobais.h"
#include "shell/clsAmbiente.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>

void frmTabela::LigarFiltro()
{
    LigarBotao(QStringLiteral("FiltroEliminar"));
    Botao(QStringLiteral("FiltroEliminar"))->setEnabled(false);
    connect(Botao(QStringLiteral("FiltroEliminar")), &QAction::triggered, this, [this] { EliminarFiltro(); });
    connect(dgrConsulta->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmTabela::ClicarCabecalho);
    // A new result has no filter of its own.
    connect(m_modelo, &QAbstractItemModel::modelReset, this, [this] {
        const RecordsetPtr rs = Recordset();
        const QString filtro = rs ? rs->Filter() : QString();
        Botao(QStringLiteral("FiltroEliminar"))->setEnabled(!filtro.isEmpty() && filtro != u"0");
        MostrarOrdem();
    });
}

void frmTabela::MostrarOrdem()
{
    // The header shows the sorted column and its direction; a result without a sort shows none.
    QHeaderView* cabecalho = dgrConsulta->horizontalHeader();
    const RecordsetPtr rs = Recordset();
    const QString ordem = rs ? rs->Sort().trimmed() : QString();
    int coluna = -1;
    for (int c = 0; rs && !ordem.isEmpty() && c < rs->FieldCount(); ++c)
        if (ordem.startsWith(rs->InfoCampo(c).nome + u' ') || ordem == rs->InfoCampo(c).nome)
            coluna = c;
    cabecalho->setSortIndicatorShown(coluna >= 0);
    if (coluna >= 0)
        cabecalho->setSortIndicator(coluna,
                                    ordem.endsWith(QStringLiteral(" Desc"), Qt::CaseInsensitive) ? Qt::DescendingOrder
                                                                                                 : Qt::AscendingOrder);
}

QString frmTabela::CampoDaColuna(int coluna) const
{
    const RecordsetPtr rs = Recordset();
    if (!rs || coluna < 0 || coluna >= rs->FieldCount())
        return {};
    return rs->InfoCampo(coluna).nome;
}

bool frmTabela::ColunaOrdenada(int coluna, const QString& direcao) const
{
    const RecordsetPtr rs = Recordset();
    const QString campo = CampoDaColuna(coluna);
    if (!rs || campo.isEmpty())
        return false;
    const QString ordem = rs->Sort();
    return ordem.contains(campo) && (direcao.isEmpty() || ordem.contains(direcao));
}

void frmTabela::ClicarCabecalho(int coluna)
{
    m_colunaAtual = coluna;
    if (RecusarSemMemoria())
        return;
    const RecordsetPtr rs = Recordset();
    if (!rs)
        return;
    // The first click sorts ascending, each further click on the same header reverses.
    const QString campo = CampoDaColuna(coluna);
    const QString direcao = ColunaOrdenada(coluna, {}) && rs->Sort() != campo + QStringLiteral(" Desc")
                                ? QStringLiteral("Desc")
                                : QStringLiteral("Asc");
    OrdenarColuna(direcao);
}

void frmTabela::OrdenarColuna(const QString& strOrdem)
{
    if (RecusarSemMemoria())
        return;
    const RecordsetPtr rs = Recordset();
    const QString campo = CampoDaColuna(m_colunaAtual);
    if (!rs || campo.isEmpty())
        return;
    if (!rs->setSort(campo + u' ' + strOrdem)) {
        m_ambiente.Prompt().MsgBox(
            QStringLiteral("Não é possível ordenar pela coluna '%1'.\n%2")
                .arg(m_modelo->headerData(m_colunaAtual, Qt::Horizontal).toString(), rs->Erro().descricao),
            vb::Exclamation,
            globais::TituloAplicativo());
        return;
    }
    m_modelo->Recarregar();
    MostrarOrdem();
}

void frmTabela::PedirFiltro()
{
    if (RecusarSemMemoria())
        return;
    frmFiltro janela(m_modelo->headerData(m_colunaAtual, Qt::Horizontal).toString(), this);
    m_ambiente.Prompt().ExibirModal(&janela);
    if (janela.blnConfirmou)
        Filtar(janela.txtFiltro->text());
}

void frmTabela::Filtar(const QVariant& strValorFiltro)
{
    if (RecusarSemMemoria())
        return;
    const RecordsetPtr rs = Recordset();
    const QString campo = CampoDaColuna(m_colunaAtual);
    if (!rs || campo.isEmpty())
        return;
    QString valor = strValorFiltro.toString();
    const int tipo = rs->InfoCampo(m_colunaAtual).tipo;
    bool nulo = false;
    if (valor.isEmpty()) {
        const QModelIndex atual = dgrConsulta->currentIndex();
        if (atual.isValid() && rs->CelulaNula(atual.row(), atual.column()))
            nulo = true; // a null cell finds the other nulls
        else if (atual.isValid() && tipo == ado::adBoolean)
            valor = m_modelo->data(atual, Qt::CheckStateRole).toInt() == Qt::Checked ? QStringLiteral("True")
                                                                                     : QStringLiteral("False");
        else if (atual.isValid())
            valor = m_modelo->data(atual, Qt::DisplayRole).toString();
    }
    const QString anterior = rs->Filter();
    QString condicao = anterior.isEmpty() || anterior == u"0" ? QString() : anterior + QStringLiteral(" And ");
    // A name that is not a plain word goes between brackets.
    const bool simples
        = std::all_of(campo.cbegin(), campo.cend(), [](QChar c) { return c.isLetterOrNumber() || c == u'_'; });
    condicao += simples ? campo : u'[' + campo + u']';
    if (nulo) {
        condicao += QStringLiteral(" Is Null");
    } else {
        condicao += QStringLiteral(" = ");
        // Text, and a date as the user writes it (read by the filter in the column's kind), go quoted.
        if (ado::TipoTexto(tipo) || ado::TipoData(tipo))
            valor = u'\'' + valor.replace(u'\'', QStringLiteral("''")) + u'\'';
        else if (ado::TipoInteiro(tipo) || ado::TipoReal(tipo) || tipo == ado::adBinary)
            valor.replace(u',', u'.');
    }
    if (!rs->setFilter(condicao + valor)) {
        const ErroDados e = rs->Erro();
        rs->setFilter(anterior);
        m_ambiente.Prompt().MsgBox(e.descricao, vb::Critical, QStringLiteral("Erro: ") + QString::number(e.numero));
        m_modelo->Recarregar();
        return;
    }
    m_modelo->Recarregar();
    Botao(QStringLiteral("FiltroEliminar"))->setEnabled(true);
    DefinirPainel(3, QString::number(rs->RecordCount()) + QStringLiteral(" Registros Encontrados"));
}

void frmTabela::EliminarFiltro()
{
    const RecordsetPtr rs = Recordset();
    if (!rs)
        return;
    rs->setFilter(QString());
    rs->MoveFirst();
    m_modelo->Recarregar();
    Botao(QStringLiteral("FiltroEliminar"))->setEnabled(false);
    DefinirPainel(3, QString::number(rs->RecordCount()) + QStringLiteral(" Registros Encontrados"));
}

void frmTabela::PrepararMenuTab(QMenu* mnuTab) const
{
    if (QAction* titulo = mnuTab->findChild<QAction*>(QStringLiteral("mnuTabTit")))
        titulo->setText(m_modelo->headerData(m_colunaAtual, Qt::Horizontal).toString());
    if (QAction* asc = mnuTab->findChild<QAction*>(QStringLiteral("mnuTabOrdAsc")))
        asc->setChecked(ColunaOrdenada(m_colunaAtual, QStringLiteral("Asc")));
    if (QAction* desc = mnuTab->findChild<QAction*>(QStringLiteral("mnuTabOrdDes")))
        desc->setChecked(ColunaOrdenada(m_colunaAtual, QStringLiteral("Desc")));
}
