#pragma once
// The browser control. No web engine is bundled: it shows the page's address (and its title when
// one is known) and hands the address to the desktop's browser.
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

class clsPrompt;

class uctWebBrowser : public QWidget {
    Q_OBJECT
public:
    explicit uctWebBrowser(clsPrompt& prompt, QWidget* pai = nullptr);

    // "Navigates": shows the address and reports the page as loaded.
    void SetUrl(const QString& strUrl);
    QString Url() const { return m_url; }
    // The page's title, when the caller knows it.
    void DefinirTitulo(const QString& titulo);
    QString Titulo() const { return m_titulo; }
    // Opens the current address in the desktop's browser.
    bool AbrirNoNavegador();

signals:
    void TituloAlterado(const QString& titulo);
    void Carregado(const QString& url);

private:
    clsPrompt& m_prompt;
    QString m_url;
    QString m_titulo;
    QLabel* m_lblTitulo;
    QLineEdit* m_txtEndereco;
    QPushButton* m_btnAbrir;
};
