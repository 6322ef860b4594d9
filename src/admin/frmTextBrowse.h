#pragma once
// The pop-up list of the browse text box: one grid of rows; a double-click or Enter confirms the
// current row, Escape leaves without a choice.
#include "platform/clsRecordset.h"

#include <QDialog>

class uctGradeAdmin;

class frmTextBrowse : public QDialog {
    Q_OBJECT
public:
    explicit frmTextBrowse(QWidget* pai = nullptr);
    // Shows every field of `rs` and puts the cursor on its current row.
    void DefinirLinhas(const RecordsetPtr& rs);
    // The row chosen, 0-based (-1: none).
    int LinhaAtual() const;
    void SelecionarLinha(int linha);

    bool blnConfirmou = false;
    uctGradeAdmin* dgrConsulta = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Confirmar();
};
