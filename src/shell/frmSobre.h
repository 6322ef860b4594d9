#pragma once
// "Sobre o Sistema": version, revision, maker, contact and licence. The e-mail and the web address
// open in the desktop's mail program and browser.
#include <QDialog>

class QLabel;

class clsPrompt;

class frmSobre : public QDialog {
    Q_OBJECT
public:
    explicit frmSobre(clsPrompt& prompt, QWidget* pai = nullptr);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    clsPrompt& m_prompt;
    QLabel* m_lblEmail;
    QLabel* m_lblUrl;
};
