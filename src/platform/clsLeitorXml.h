#pragma once
// A fast pull reader of XML held in memory as UTF-8, for the large answers of the web-service
// protocol: start tags with resolved namespaces, end tags, and text with the references decoded.
// It accepts only what the protocol needs and refuses the rest with a clear reason: no document
// type declaration (so no entity can expand), no encoding other than UTF-8, at most
// ProfundidadeMaxima nested elements, tags that must match. Texts and names are views into the
// input (or into the reader's own buffer when they had to be decoded) and stay valid until the
// next call.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class clsLeitorXml {
public:
    enum Token { Nenhum, Inicio, Fim, Texto, FimDocumento, Erro };
    static constexpr int ProfundidadeMaxima = 256;

    explicit clsLeitorXml(QByteArrayView dados);
    // Reading input while it arrives: `mais(n)` waits until the input holds at least n bytes, or
    // has ended, and gives how many it holds; bytes once given stay in place. Each token is read
    // with a window of Janela bytes ahead when the input has them, so only a token longer than
    // that (a huge text) can meet the end of what has arrived, as an error.
    using Mais = std::function<qsizetype(qsizetype)>;
    static constexpr qsizetype Janela = qsizetype(256) << 10;
    clsLeitorXml(const char* dados, Mais mais);

    Token Proximo();
    Token Atual() const { return token; }

    // Name of the element of an Inicio or Fim token.
    QByteArrayView Local() const { return local; }
    QByteArrayView Uri() const;
    bool E(QByteArrayView ns, QByteArrayView nome) const { return local == nome && Uri() == ns; }
    // The decoded value of an attribute of the current start tag (an unprefixed attribute has no
    // namespace); false when absent.
    bool Atributo(QByteArrayView ns, QByteArrayView nome, std::string& valor) const;
    // xsi:nil="true" (or "1") on the current start tag.
    bool Nulo() const;

    // Text of a Texto token.
    QByteArrayView TextoAtual() const { return texto; }

    // From an Inicio token: the element's text up to its end tag, child elements refused. The view
    // points into the input or into `buffer`.
    bool LerTexto(QByteArrayView& saida, std::string& buffer);
    // From an Inicio token: moves past the element's end.
    bool Pular();
    // Moves to the next child start tag of the current element, skipping text; false (with the end
    // tag consumed) at the current element's end, or on an error.
    bool ProximoFilho();

    int Profundidade() const { return int(pilha.size()); }
    bool TemErro() const { return token == Erro; }
    QString MensagemErro() const;
    // Offsets in the input: where the current start tag began, and where reading stands.
    qsizetype InicioTag() const { return inicioTag; }
    qsizetype Posicao() const { return qsizetype(p - ini); }
    // The input between two offsets already read.
    QByteArrayView Trecho(qsizetype de, qsizetype ate) const { return QByteArrayView(ini + de, ate - de); }
    // Namespace declarations in scope at the current element, innermost last: pairs prefix/uri.
    std::vector<std::pair<std::string, std::string>> DeclaracoesEmEscopo() const;

private:
    struct Decl {
        QByteArrayView prefixo;
        std::string uri;
    };
    struct Elemento {
        QByteArrayView qname;
        QByteArrayView local;
        int iDecl; // declaration giving its namespace, -1 for none
        int qtdeDecl; // declarations it made
    };
    struct Attr {
        QByteArrayView prefixo;
        QByteArrayView local;
        QByteArrayView bruto;
    };

    Token Falhar(const QString& motivo);
    Token LerInicio();
    Token LerFim();
    Token LerTextoBruto();
    bool Declaracao();
    int Resolver(QByteArrayView prefixo) const; // -1 none, -2 unknown
    bool Decodificar(QByteArrayView bruto, std::string& saida, bool atributo);
    void AplicarPendencias();

    void Adiante();

    const char* ini;
    const char* p;
    const char* fim;
    Mais mais;
    Token token = Nenhum;
    QByteArrayView local;
    int iDeclAtual = -1;
    QByteArrayView texto;
    std::string bufTexto;
    std::vector<Decl> decls;
    std::vector<Elemento> pilha;
    std::vector<Attr> attrs;
    bool fimVazioPendente = false;
    int declsPendentes = 0; // declarations of the element just ended, dropped on the next call
    qsizetype inicioTag = 0;
    QString erro;
    qsizetype posErro = 0;
    bool raizVista = false;
};
