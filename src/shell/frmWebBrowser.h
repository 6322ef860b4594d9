#pragma once
// "Web Browser": a window for one of the maker's pages (or any address). Put it in the main window's
// MDI area first, then call CarregForm, which sizes it against the main window and shows it.
#include <QWidget>

class uctWebBrowser;

class clsPrompt;

class frmWebBrowser : public QWidget {
    Q_OBJECT
public:
    explicit frmWebBrowser(clsPrompt& prompt, QWidget* pai = nullptr);

    // The address: strFixedUrl when given, otherwise the page of StartGuia (5 downloads, 6 forum,
    // anything else the home page). Shows the window without blocking; the page opens on first show.
    void CarregForm(int StartGuia, const QString& strFixedUrl);
    QString Endereco() const { return m_endereco; }
    uctWebBrowser* Navegador() const { return m_brwBrowser; }

signals:
    void Complete();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Posicionar();
    void Abrir();
    uctWebBrowser* m_brwBrowser;
    QString m_endereco;
    bool m_aberto = false;
};
