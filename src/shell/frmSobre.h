#pragma once
// "Sobre o Sistema": version, revision, maker, contact and licence. The e-mail and the web address
// open in the desktop's mail program and browser.
#include <QDialog>

class QLabel;

class frmSobre : public QDialog {
    Q_OBJECT
public:
    explicit frmSobre(QWidget* pai = nullptr);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QLabel* m_lblEmail;
    QLabel* m_lblUrl;
};
