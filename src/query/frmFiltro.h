#pragma once
// The small dialog that asks the value a column is filtered by.
#include <QDialog>

class QLineEdit;

class frmFiltro : public QDialog {
    Q_OBJECT
public:
    // `legenda`: the column's caption, shown as the dialog's title.
    explicit frmFiltro(const QString& legenda, QWidget* pai = nullptr);

    bool blnConfirmou = false;
    QLineEdit* txtFiltro = nullptr;
};
