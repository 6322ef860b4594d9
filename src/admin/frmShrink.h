#pragma once
// Shows a database's allocated and free space and shrinks it to a desired free share with one of
// four modes.
#include "frmDialogoSessao.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class frmShrink : public frmDialogoSessao {
    Q_OBJECT
public:
    explicit frmShrink(clsAmbienteDados& ambiente, QWidget* pai = nullptr);
    // Shows the name and, with a session, the database's current size and free space.
    void setDatabaseName(const QString& nome);
    void btnOk_Click();

    QLineEdit* txtDatabase = nullptr;
    QLineEdit* txtSpaceAllocated = nullptr;
    QLineEdit* txtSpaceFree = nullptr;
    QLineEdit* txtPerc = nullptr;
    QLineEdit* txtDesired = nullptr;
    QComboBox* cmbOption = nullptr;
    QPushButton* btnOk = nullptr;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void MarcarDesejado();
};
