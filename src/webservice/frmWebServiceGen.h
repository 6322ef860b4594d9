#pragma once
// "AspNet WebService Generator": writes the ASP.NET page that publishes an Access file or a SQL Server
// database to the program's web-service client. Shown modally from the tools menu.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class clsPrompt;

class frmWebServiceGen : public QDialog {
    Q_OBJECT
public:
    explicit frmWebServiceGen(clsPrompt& prompt, QWidget* pai = nullptr);

private slots:
    void AlternarTipo();
    void MontarConnectionString();
    void Gerar();

private:
    clsPrompt& m_prompt;
    void HabilitarCaixa(QLineEdit* caixa, bool habilitar);

    QGroupBox* fraPrincipal;
    QLabel* lblClassName;
    QLineEdit* txtClassName;
    QLabel* lblHttpPath;
    QLineEdit* txtHttpPath;
    QRadioButton* optConAccess;
    QGroupBox* fraConAccess;
    QLabel* lblConAccess;
    QLineEdit* txtConAccess;
    QRadioButton* optConSql;
    QGroupBox* fraConSql;
    QLabel* lblConSqlServer;
    QLineEdit* txtConSqlServer;
    QLabel* lblConSqlDatabase;
    QLineEdit* txtConSqlDatabase;
    QLabel* lblConSqlUser;
    QLineEdit* txtConSqlUser;
    QLabel* lblConSqlPass;
    QLineEdit* txtConSqlPass;
    QGroupBox* fraConnectionString;
    QLabel* lblConnectionString;
    QLineEdit* txtConnectionString;
    QPushButton* btnGenerate;
};
