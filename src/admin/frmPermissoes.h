#pragma once
// The permissions window: the database's objects against the permissions that apply to each, as
// the user holds them directly (what the user's roles grant shows in grey and is not edited
// here), and on a second tab the roles the user belongs to. Space (or a double-click) steps the
// current cells through their states; "Aplicar" sends the differences in one transaction, after
// which the catalog is read again; "Mostrar Script" shows the statements first. The database work
// runs on a worker thread: the window stays responsive and only shows what it reports.
#include "admin/mdlPermissoes.h"

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class QThread;
class clsAmbienteDados;
class clsPermissoes;

class frmPermissoes : public QWidget {
    Q_OBJECT
public:
    explicit frmPermissoes(clsAmbienteDados& ambiente, QWidget* pai = nullptr);
    ~frmPermissoes() override;

    // Connects and reads the user's permissions; the window shows itself at once and fills when
    // the reading ends (Carregado).
    void CarregarForm(const QString& connStr, const QString& usuario);

    // Steps every selected cell that the permission applies to (the current one when none is
    // selected) to the state after the current cell's.
    void AlternarSelecao();
    void Aplicar();
    void MostrarScript();
    void Desfazer();
    void Atualizar();

    bool Ocupado() const { return m_trabalho != nullptr; }
    const permissoes::Quadro& Lido() const { return m_antes; }
    const permissoes::Quadro& Editado() const { return m_depois; }
    QStringList Instrucoes() const;

    QTabWidget* tabPermissoes = nullptr;
    QTableView* dgrPermissoes = nullptr;
    QLineEdit* txtFiltro = nullptr;
    QListWidget* lstPapeis = nullptr;
    QLabel* lblUsuario = nullptr;
    QLabel* lblAlteracoes = nullptr;
    QProgressBar* prgTrabalho = nullptr;
    QPushButton* btnAplicar = nullptr;
    QPushButton* btnMostrarScript = nullptr;
    QPushButton* btnDesfazer = nullptr;
    QPushButton* btnAtualizar = nullptr;
    QPushButton* btnFechar = nullptr;

signals:
    // A reading or an application ended (ok false: its error was shown).
    void Carregado(bool ok);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    class Modelo;
    struct Resultado {
        bool ok = false;
        QString erro;
        permissoes::Quadro quadro;
    };
    // Runs `trabalho` on a worker thread with the database (opened on first use) and shows its
    // result when it ends.
    void Rodar(std::function<Resultado(clsPermissoes&)> trabalho);
    void Concluir(const Resultado& r);
    void MostrarQuadro();
    void MostrarPapeis();
    void PapelAlterado(QListWidgetItem* item);
    void AtualizarEstado();

    clsAmbienteDados& m_ambiente;
    QString m_connStr;
    std::shared_ptr<clsPermissoes> m_permissoes;
    permissoes::Quadro m_antes, m_depois;
    Modelo* m_modelo = nullptr;
    QSortFilterProxyModel* m_filtro = nullptr;
    QThread* m_trabalho = nullptr;
    bool m_preenchendo = false;
};
