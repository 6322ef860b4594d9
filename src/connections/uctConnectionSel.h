#pragma once
// Shows which connection a window works on (server / database, or a node text) and lets the user
// switch to another open connection from a drop-down list the container fills on request.
#include "navigator/mdlConexoesAbertas.h"

#include <QWidget>

class QLabel;
class QToolButton;

class clsPrompt;

class uctConnectionSel : public QWidget {
    Q_OBJECT
public:
    explicit uctConnectionSel(clsPrompt& prompt, QWidget* pai = nullptr);

    // Appends one entry (the container calls it while answering BuscarItens).
    void Add(const QString& strConnectionString,
             const QString& strServer,
             const QString& strDatabase,
             const QString& strNodeText);
    // Shows a selection.
    void DefinirLabel(const QString& strServer, const QString& strDatabase, const QString& strNodeText);

    QString Server() const { return m_server; }
    QString Database() const { return m_database; }
    QString NodeText() const { return m_nodeText; }
    // The connection shown now: the list opens with it selected.
    void DefinirConnectionString(const QString& strConnectionString) { m_connectionString = strConnectionString; }
    QString ConnectionString() const { return m_connectionString; }
    const QList<EntradaConexao>& Itens() const { return m_itens; }

    // The drop-down of btnSel: asks the container for the entries and shows the list.
    void AbrirLista();

    QSize sizeHint() const override;

signals:
    void BuscarItens();
    void ConnectionChanged(const QString& strConnectionString,
                           const QString& strServer,
                           const QString& strDatabase,
                           const QString& strNodeText);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    clsPrompt& m_prompt;
    void PosicionarLabels();

    QLabel* lblServer;
    QLabel* lblSep;
    QLabel* lblDatabase;
    QLabel* lblNodeText;
    QToolButton* btnSel;
    QList<EntradaConexao> m_itens;
    QString m_server;
    QString m_database;
    QString m_nodeText;
    QString m_connectionString;
};
