#pragma once
// The table structure designer: the column list on the left, the column's properties on the right,
// and the toolbars that save, add, delete and move columns. Nothing reaches the database until
// "Salvar", which saves the whole list in one transaction.
#include "gui/frmFilhoConexao.h"
#include "schema/clsEstrutura.h"

#include <memory>

class clsAmbiente;
class clsData;
class clsNo;
class QCheckBox;
class QKeySequence;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QTableWidget;
class QStatusBar;
class QToolBar;

class frmEstrutura : public frmFilhoConexao {
    Q_OBJECT
public:
    explicit frmEstrutura(clsAmbiente& ambiente, QWidget* pai = nullptr);
    ~frmEstrutura() override;

    // Opens the connection and loads the table (none for a new one) of its schema; false when the
    // connection fails. `chaveNo` is the key of the tables folder the new table is listed under.
    bool CarregarForm(const QString& connStr, const ObjetoBanco& tabela, bool nova, const QString& chaveNo = {});
    // The key of the table's own node, whose loaded details follow a save.
    void DefinirNoTabela(const QString& chave) { m_chaveTabela = chave; }
    // Whether the columns differ from what was loaded or last saved.
    bool Alterada() const { return m_colunas != m_salvas; }
    // The "Inc" action: appends a new column and selects it.
    void AddReg();
    // The "Salvar" action; true when the database was changed.
    bool Salvar();

    QString strTabela;
    bool blnNova = false;
    // The table's schema as the catalog gave it (empty: the default one); a new table gets none.
    QString Esquema() const { return m_esquema; }
    const QList<ColunaEstrutura>& Colunas() const { return m_colunas; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void MontarJanela();
    QToolBar* NovaBarra(const char* nome, std::initializer_list<std::pair<const char*, const char*>> botoes);
    void Atalho(QToolBar* barra, int botao, const QKeySequence& tecla);
    void AtualizarDetalhesNo();
    void DefinirTitulo();
    // The rows shown: live ones by position.
    QList<int> Visiveis() const;
    void Listar(int linhaAtual);
    ColunaEstrutura* Atual();
    void MostrarAtual();
    void AplicarTipo(const QString& tipo);
    void Excluir();
    void Mover(int passo);

    clsAmbiente& m_ambiente;
    std::unique_ptr<clsData> m_data;
    QString m_chaveNo;
    QString m_esquema;
    // The table loaded and saved: its schema and name.
    ObjetoBanco Objeto() const { return ObjetoBanco(m_esquema, strTabela); }
    QList<ColunaEstrutura> m_colunas;
    QList<ColunaEstrutura> m_salvas; // as loaded or last saved
    QString m_chaveTabela;
    bool m_mostrando = false; // while the panel is filled from a row
    bool m_ativado = false;
    Dialeto m_dialeto = Dialeto::SqlServer;

    QTableWidget* dgrEstrutura = nullptr;
    QGroupBox* fraProp = nullptr;
    QLineEdit* txtCampo = nullptr;
    QCheckBox* chkChave = nullptr;
    QComboBox* cmbTipoDado = nullptr;
    QLineEdit* txtTamanho = nullptr;
    QLineEdit* txtPrecisao = nullptr;
    QLineEdit* txtEscala = nullptr;
    QLineEdit* txtPadrao = nullptr;
    QStatusBar* stbEstrutura = nullptr;
    QCheckBox* chkAllowNulls = nullptr;
    QGroupBox* fraIdentity = nullptr;
    QCheckBox* chkIdentity = nullptr;
    QLineEdit* txtIdentitySeed = nullptr;
    QLineEdit* txtIdentityIncrement = nullptr;
};

// Opens the designer for a table node, or for a new table on a tables folder node.
frmEstrutura* AbrirEstrutura(clsAmbiente& ambiente, clsNo* node, bool blnNova);
