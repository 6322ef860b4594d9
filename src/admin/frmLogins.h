#pragma once
// The list of a SQL Server's logins, with their authentication, access, default database and
// language; opens the login dialog to add or change one and removes one.
#include "gui/frmFilhoConexao.h"

#include <memory>

class QToolBar;
class clsAmbiente;
class clsSqlDmoSessao;
class frmLoginsCad;
class uctGradeAdmin;

class frmLogins : public frmFilhoConexao {
    Q_OBJECT
public:
    explicit frmLogins(clsAmbiente& ambiente, QWidget* pai = nullptr);
    ~frmLogins() override;

    // Connects the window's own management session and shows the list; false (and the window
    // not shown) when the server cannot be reached or the list cannot be read.
    bool CarregarForm(const QString& strTempConnectionString, qint16 strTagIndexConexao);
    bool CarregarLista();

    // The toolbar buttons; the dialogs they open are returned (null when none).
    frmLoginsCad* Incluir();
    frmLoginsCad* Alterar();
    void Excluir();

    uctGradeAdmin* dgrConsulta = nullptr;
    QToolBar* tlbEdicao = nullptr;
    QToolBar* tlbOpcoes = nullptr;

private:
    frmLoginsCad* AbrirCadastro(const QString& login,
                                const QString& autenticacao,
                                const QString& banco,
                                const QString& linguagem,
                                const QString& acesso);
    clsAmbiente& m_ambiente;
    std::shared_ptr<clsSqlDmoSessao> m_sessao;
};
