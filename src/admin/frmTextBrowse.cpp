#include "frmTextBrowse.h"

#include "uctComumAdmin.h"

#include <QKeyEvent>
#include <QVBoxLayout>

frmTextBrowse::frmTextBrowse(QWidget* pai) : QDialog(pai, Qt::Popup)
{
    setObjectName(QStringLiteral("frmTextBrowse"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    dgrConsulta = new uctGradeAdmin({}, this);
    dgrConsulta->setObjectName(QStringLiteral("dgrConsulta"));
    layout->addWidget(dgrConsulta);
    resize(480, 200);
    connect(dgrConsulta, &QTableView::doubleClicked, this, &frmTextBrowse::Confirmar);
}

void frmTextBrowse::DefinirLinhas(const RecordsetPtr& rs)
{
    QList<std::pair<QString, QString>> colunas;
    for (int c = 0; c < rs->FieldCount(); ++c)
        colunas.append({rs->InfoCampo(c).nome, rs->InfoCampo(c).nome});
    // The grid is rebuilt for the fields of these rows.
    auto* grade = new uctGradeAdmin(colunas, this);
    grade->setObjectName(QStringLiteral("dgrConsulta"));
    layout()->replaceWidget(dgrConsulta, grade);
    delete dgrConsulta;
    dgrConsulta = grade;
    connect(dgrConsulta, &QTableView::doubleClicked, this, &frmTextBrowse::Confirmar);
    const int atual = rs->LinhaAtual();
    dgrConsulta->DefinirRecordset(rs);
    SelecionarLinha(std::max(0, atual));
    dgrConsulta->setFocus();
}

int frmTextBrowse::LinhaAtual() const { return dgrConsulta->TemLinhaAtual() ? dgrConsulta->currentIndex().row() : -1; }

void frmTextBrowse::SelecionarLinha(int linha) { dgrConsulta->SelecionarLinha(linha); }

void frmTextBrowse::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        Confirmar();
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        blnConfirmou = false;
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

void frmTextBrowse::Confirmar()
{
    blnConfirmou = true;
    accept();
}
