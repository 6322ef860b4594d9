#pragma once
// "Histórico de Versões": the releases, newest first, each with its date and its changes.
#include <QDialog>

class QTextEdit;

class frmHistory : public QDialog {
    Q_OBJECT
public:
    explicit frmHistory(QWidget* pai = nullptr);

private:
    void Carregar();
    QTextEdit* m_txtHistory;
};
