#pragma once
// Attaches a data file that lies on the server as a new database.
#include "frmDialogoSessao.h"

class QLineEdit;
class QPushButton;
class QToolButton;

class frmAttach : public frmDialogoSessao {
    Q_OBJECT
public:
    explicit frmAttach(clsAmbienteDados& ambiente, QWidget* pai = nullptr);
    void setConnectionString(const QString& connStr) override;
    QString DatabaseName() const;

    void btnOk_Click();
    void picForcarArqLogDest_Click();

    QLineEdit* txtMdfFile = nullptr;
    QToolButton* picForcarArqLogDest = nullptr;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtOwner = nullptr;
    QPushButton* btnOk = nullptr;
};
