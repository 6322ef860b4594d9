#pragma once
// "Connection Select": maps an SQL Server server, a database file or a web service, and creates a
// new database file.
#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class clsArvore;

class frmAbrir : public QDialog {
    Q_OBJECT
public:
    explicit frmAbrir(clsArvore& arvore, QWidget* pai = nullptr);

    // Keeps the kind ("A", "S" or "W"), runs the new-database action at once when asked, then shows
    // the window modally.
    void CarregarForm(const QString& strTipo, bool blnCriarAccess);

    QRadioButton* optTipoSql;
    QRadioButton* optTipoAccess;
    QRadioButton* optTipoWebService;
    QRadioButton* optAutSql;
    QRadioButton* optAutWin;
    QComboBox* txtSqlServidor;
    QLineEdit* txtSqlUsuario;
    QLineEdit* txtSqlSenha;
    QLineEdit* txtAccessPath;
    QToolButton* picAccessPath;
    QToolButton* btnNovo;
    QLineEdit* txtWebService;
    QPushButton* btnConf;
    QPushButton* btnCanc;

    void ExibirTipo(const QString& tipo);
    void AtualizarAutenticacao();
    bool ValidarDados();
    void btnConf_Click();
    void picAccessPath_Click();
    void btnNovo_Click();
    void CarregarListaServidores();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QString TipoSelecionado() const;
    clsArvore& m_arvore;
    QString m_strTipo;
    bool m_ativado = false;
};
