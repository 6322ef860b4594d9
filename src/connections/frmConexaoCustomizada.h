#pragma once
// "Conexão Customizada": composes a connection string for any installed ODBC driver or data source,
// field by field or typed whole, and tests it before it is mapped.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class clsAmbienteDados;

class frmConexaoCustomizada : public QDialog {
    Q_OBJECT
public:
    explicit frmConexaoCustomizada(clsAmbienteDados& ambiente, QWidget* pai = nullptr);

    QString ConnectionString() const;
    // Opens the string as a mapping would and tells the user how it went.
    bool TestarConexao();

    QComboBox* cmbDriver;
    QComboBox* cmbFonte;
    QLineEdit* txtServidor;
    QLineEdit* txtPorta;
    QLineEdit* txtBanco;
    QLineEdit* txtUsuario;
    QLineEdit* txtSenha;
    QLineEdit* txtConnStr;
    QCheckBox* chkMostrarSenha;
    QPushButton* btnTestar;
    QPushButton* btnConf;
    QPushButton* btnCanc;

private:
    void MontarConnStr();
    void MostrarString();
    void AoMudarString(const QString& texto);
    void SeguirString();
    clsAmbienteDados& m_ambiente;
    QString m_connStr; // the string, password in clear; the box shows it masked
    bool m_mostrando = false; // the box is being set from m_connStr
};

// Lets the user compose a custom connection string; empty when cancelled.
QString PedirConexaoCustomizada(clsAmbienteDados& ambiente, QWidget* pai = nullptr);
