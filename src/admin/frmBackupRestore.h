#pragma once
// Restores a database from a backup file on the server or from a backup of the server's history,
// optionally over an existing database with its data and log files moved; run by the backup
// program.
#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class clsAmbienteDados;
class clsSqlDmoSessao;
class uctTextBrowse;

class frmBackupRestore : public QDialog {
    Q_OBJECT
public:
    explicit frmBackupRestore(clsAmbienteDados& ambiente, QWidget* pai = nullptr);
    ~frmBackupRestore() override;

    bool CarregarForm(const QString& strTempConnection, const QString& strDatabase, bool exibir = true);
    QString Argumento() const;
    void btnConf_Click();
    // The force option's logic: enables the file boxes and reads the backup's files into them.
    void chkOpcForcar_Click();

    QComboBox* cmbBancoDados = nullptr;
    QRadioButton* optDestArq = nullptr;
    QLineEdit* txtDestArq = nullptr;
    QToolButton* picDestArq = nullptr;
    QRadioButton* optDestDev = nullptr;
    uctTextBrowse* cmbDestDev = nullptr;
    QCheckBox* chkOpcForcar = nullptr;
    QGroupBox* fraForcar = nullptr;
    QLineEdit* txtForcarArqBancoOrig = nullptr;
    QLineEdit* txtForcarArqBancoDest = nullptr;
    QToolButton* picForcarArqBancoDest = nullptr;
    QLineEdit* txtForcarArqLogOrig = nullptr;
    QLineEdit* txtForcarArqLogDest = nullptr;
    QToolButton* picForcarArqLogDest = nullptr;
    QPushButton* btnConf = nullptr;
    QString programa;

private:
    void Origem(bool arquivo);
    bool LerArquivosDoBackup();
    void Procurar(QLineEdit* caixa, const QString& titulo, const QString& descricao, const QString& extensao);

    clsAmbienteDados& m_ambiente;
    std::shared_ptr<clsSqlDmoSessao> m_sessao;
    QString m_connStr;
};
