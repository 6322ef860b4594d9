#pragma once
// Detaches a database from the server.
#include "frmDialogoSessao.h"

class QLineEdit;
class QPushButton;

class frmDetach : public frmDialogoSessao {
    Q_OBJECT
public:
    explicit frmDetach(clsAmbienteDados& ambiente, QWidget* pai = nullptr);
    void setDatabaseName(const QString& nome);
    void btnOk_Click();

    QLineEdit* txtName = nullptr;
    QPushButton* btnOk = nullptr;
};
