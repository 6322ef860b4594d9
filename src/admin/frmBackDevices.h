#pragma once
// The disk backup devices of a SQL Server, and the small dialog that creates one.
#include "gui/frmFilhoConexao.h"

#include <QDialog>
#include <memory>

class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;
class clsAmbiente;
class clsAmbienteDados;
class clsSqlDmoSessao;
class uctGradeAdmin;

class frmBackDevicesCad : public QDialog {
    Q_OBJECT
public:
    explicit frmBackDevicesCad(clsAmbienteDados& ambiente, QWidget* pai = nullptr);
    // Modal (the backup dialog's use): returns once the dialog is closed; otherwise it is shown
    // and left open.
    void CarregarForm(std::shared_ptr<clsSqlDmoSessao> sessao, qint16 strTagIndexConexao, bool blnFormModal);
    void btnConf_Click();
    void picPath_Click();

    QLineEdit* txtDeviceName = nullptr;
    QLineEdit* txtPath = nullptr;
    QToolButton* picPath = nullptr;
    QPushButton* btnConf = nullptr;
    QString Tag;

private:
    clsAmbienteDados& m_ambiente;
    std::shared_ptr<clsSqlDmoSessao> m_sessao;
};

class frmBackDevices : public frmFilhoConexao {
    Q_OBJECT
public:
    explicit frmBackDevices(clsAmbiente& ambiente, QWidget* pai = nullptr);
    ~frmBackDevices() override;
    bool CarregarForm(const QString& strTempConnection, qint16 strTagIndexConexao);
    bool CarregarLista();
    frmBackDevicesCad* Incluir();
    void Excluir();

    uctGradeAdmin* dgrConsulta = nullptr;
    QToolBar* tlbEdicao = nullptr;
    QToolBar* tlbOpcoes = nullptr;

private:
    clsAmbiente& m_ambiente;
    std::shared_ptr<clsSqlDmoSessao> m_sessao;
};

// The save dialog of a backup file (also the backup window's).
QString EscolherArquivoBackup(clsAmbienteDados& ambiente, const QString& atual, const QString& nome);
