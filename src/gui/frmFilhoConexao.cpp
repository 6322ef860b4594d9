#include "frmFilhoConexao.h"

#include <QCloseEvent>

frmFilhoConexao::frmFilhoConexao(QWidget* pai) : QWidget(pai) { setAttribute(Qt::WA_DeleteOnClose); }

void frmFilhoConexao::closeEvent(QCloseEvent* e)
{
    QWidget::closeEvent(e);
    if (e->isAccepted())
        emit Fechada(this);
}
