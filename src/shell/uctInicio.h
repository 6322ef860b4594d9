#pragma once
// The start panel shown in the main window's empty MDI area: the mapped connections, one click
// each, and three first steps (open a database file, map a server, open the SQL editor). It hides
// while any child window is open.
#include <QWidget>

class QListWidget;
class QPushButton;
class clsArvore;

class uctInicio : public QWidget {
    Q_OBJECT
public:
    explicit uctInicio(QWidget* pai = nullptr);

    // The mapped connections, read from the tree's groups.
    void CarregarConexoes(const clsArvore& arvore);

    QPushButton* btnInicioArquivo;
    QPushButton* btnInicioServidor;
    QPushButton* btnInicioEditor;
    QListWidget* lstInicioConexoes;

signals:
    void AbrirArquivoPedido();
    void MapearServidorPedido();
    void AbrirEditorPedido();
    // A mapped connection chosen in the list, by its node key.
    void ConexaoPedida(const QString& chave);
};
