#pragma once
// Base of the child windows that belong to a connection (query window, designer, admin windows):
// the tag holds the index of the connected source node, so the navigator can close them with it.
#include <QWidget>

class frmFilhoConexao : public QWidget {
    Q_OBJECT
public:
    explicit frmFilhoConexao(QWidget* pai = nullptr);

    QString Tag() const { return m_tag; }
    void DefinirTag(const QString& tag) { m_tag = tag; }
    // The tag read as a node index; an empty or non-numeric tag counts as 0.
    int IndiceNo() const { return m_tag.toInt(); }

signals:
    void Fechada(frmFilhoConexao* janela);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QString m_tag;
};
