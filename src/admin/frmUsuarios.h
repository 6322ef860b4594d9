#pragma once
// The users of a SQL Server database with the login each maps to; opens the user dialog to add
// one or change its roles, drops one, and starts the permissions program for one. On a PostgreSQL
// database it lists the login roles that may connect to it, for the permissions program only.
#include "gui/frmFilhoConexao.h"

#include <memory>

class QToolBar;
class clsAmbiente;
class clsData;
class clsSqlDmoSessao;
class frmUsuariosCad;
class uctGradeAdmin;

class frmUsuarios : public frmFilhoConexao {
    Q_OBJECT
public:
    explicit frmUsuarios(clsAmbiente& ambiente, QWidget* pai = nullptr);
    ~frmUsuarios() override;

    // `strTempConnectionString` names the database (Initial Catalog). False (window not shown)
    // when the server cannot be reached or the list cannot be read.
    bool CarregarForm(const QString& strTempConnectionString, qint16 strTagIndexConexao);
    bool CarregarLista();
    // The list of a PostgreSQL database: the login roles that may connect to it.
    static QString SqlUsuariosPostgres();
    QString Banco() const { return m_banco; }

    frmUsuariosCad* Incluir();
    frmUsuariosCad* Alterar();
    void Excluir();
    void Permissoes();

    uctGradeAdmin* dgrConsulta = nullptr;
    QToolBar* tlbEdicao = nullptr;
    QToolBar* tlbOpcoes = nullptr;

private:
    frmUsuariosCad* AbrirCadastro(const QString& usuario, bool novo);
    clsAmbiente& m_ambiente;
    std::shared_ptr<clsSqlDmoSessao> m_sessao; // SQL Server
    std::unique_ptr<clsData> m_dados; // PostgreSQL
    QString m_connStr;
    QString m_banco;
};
