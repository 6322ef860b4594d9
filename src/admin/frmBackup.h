#pragma once
#include "jobs/clsJobSchedule.h"
// A new backup of one database, to a file on the server or to a device, full or differential,
// appended or overwriting, run by the backup program.
#include <QDialog>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class clsAmbienteDados;
class clsSqlDmoSessao;

class frmBackup : public QDialog {
    Q_OBJECT
public:
    explicit frmBackup(clsAmbienteDados& ambiente, QWidget* pai = nullptr);
    ~frmBackup() override;

    // Connects, fills the lists (the database `strDatabase` chosen) and, when `exibir`, shows the
    // dialog modally. False when the server cannot be reached.
    bool CarregarForm(const QString& strTempConnection, const QString& strDatabase, bool exibir = true);
    // The backup program's argument string for the choices made.
    QString Argumento() const;
    // The statement of the step a scheduled backup's job runs.
    QString ComandoAgendado() const;

    void btnConf_Click();
    void btnConfSchedule_Click();
    void picPath_Click();
    void CarregarDevices();

    QComboBox* cmbBancoDados = nullptr;
    QLineEdit* txtNome = nullptr;
    QLineEdit* txtDescricao = nullptr;
    QRadioButton* optDestArq = nullptr;
    QLineEdit* txtDestArq = nullptr;
    QToolButton* picPath = nullptr;
    QRadioButton* optDestDev = nullptr;
    QComboBox* cmbDestDev = nullptr;
    QRadioButton* optOpcCompleto = nullptr;
    QRadioButton* optOpcDiferencial = nullptr;
    QRadioButton* optMetAcr = nullptr;
    QRadioButton* optMetSob = nullptr;
    QPushButton* btnConf = nullptr;
    QPushButton* btnConfSchedule = nullptr;
    // The backup program (next to quarrix unless a test says otherwise).
    QString programa;
    // Shows the schedule of a scheduled backup (the schedule dialog unless a test says otherwise).
    EditorAgendamento editorAgendamento;

private:
    void HabilitarDestino(bool focar);
    bool ValidarBackup();
    void AoEscolherDevice(int indice);

    clsAmbienteDados& m_ambiente;
    std::shared_ptr<clsSqlDmoSessao> m_sessao;
    QString m_connStr;
};
