#pragma once
// Reading the members of a ZIP file (an .xlsx is one): the central directory, then one member at a
// time, stored or deflated, handed out in pieces so that a member of any size is read in constant
// memory; and an XML member read through QXmlStreamReader as it is inflated.
#include <QFile>
#include <QHash>
#include <QString>
#include <QXmlStreamReader>
#include <memory>

namespace impexp {

class clsZip {
public:
    struct Membro {
        quint16 metodo = 0; // 0 stored, 8 deflated
        quint32 compactado = 0, tamanho = 0;
        quint32 local = 0; // offset of the local header
    };
    bool Abrir(const QString& caminho, QString& erro);
    bool Tem(const QString& nome) const { return membros.contains(nome); }

    // A member being read: Ler hands out its next piece (empty at the end; false on failure).
    class Leitura {
    public:
        ~Leitura();
        bool Ler(QByteArray& pedaco, QString& erro);

    private:
        friend class clsZip;
        struct Estado;
        std::unique_ptr<Estado> e;
    };
    std::unique_ptr<Leitura> AbrirMembro(const QString& nome, QString& erro);

private:
    QString caminho;
    QHash<QString, Membro> membros;
};

// An XML member read while it is inflated: Proximo is QXmlStreamReader::readNext that feeds the
// reader more of the member whenever it runs out.
class clsXmlZip {
public:
    bool Abrir(clsZip& zip, const QString& membro, QString& erro);
    QXmlStreamReader::TokenType Proximo();
    // False (with the reason) when the member or its XML is broken.
    bool Falhou(QString& erro) const;
    QXmlStreamReader xml;

private:
    std::unique_ptr<clsZip::Leitura> leitura;
    QString membro, erroLeitura;
    bool fim = false;
};

} // namespace impexp
