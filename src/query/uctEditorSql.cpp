#include "uctEditorSql.h"

#include "connections/clsAmbienteDados.h"
#include "gui/Icones.h"
#include "platform/mdlCitacao.h"
#include "query/uctEditorSqlLexer.h"

#include <QKeyEvent>
#include <utility>

namespace {
// Separates an item's text from its image number in the list handed to the editor, so a name
// holding "?" stays whole.
constexpr int SeparadorImagem = 0x1e;
} // namespace

uctEditorSql::uctEditorSql(clsAmbienteDados& ambiente, QWidget* pai)
    : QsciScintilla(pai), fontePropria(ambiente), intellisenseLista(ambiente.Opcoes().IntellisenseLista)
{
    setUtf8(true);
    lexerSql = new uctLexerKeshSql(this);
    setLexer(lexerSql);
    setFont(lexerSql->defaultFont(0));
    setTabWidth(3);
    // Lines end in CR LF, as the window writes its statements and as the checker and the "GO"
    // separators read them.
    setEolMode(EolWindows);
    setAutoIndent(true);
    setBraceMatching(SloppyBraceMatch);
    setMarginType(0, NumberMargin);
    setMarginLineNumbers(0, true);
    setMarginsFont(lexerSql->defaultFont(0));
    setMarginWidth(0, QStringLiteral("00000"));
    setMarginsBackgroundColor(QColor(240, 240, 240));
    setMarginWidth(1, 0);
    SendScintilla(SCI_SETSCROLLWIDTH, 1);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);

    setAutoCompletionCaseSensitivity(false);
    SendScintilla(SCI_AUTOCSETORDER, SC_ORDER_CUSTOM);
    SendScintilla(SCI_AUTOCSETTYPESEPARATOR, SeparadorImagem);
    registerImage(intellisense::ImagemDono, IconeNo(11).pixmap(16, 16));
    registerImage(intellisense::ImagemItem, IconeNo(27).pixmap(16, 16));

    connect(this, &QsciScintillaBase::SCN_AUTOCSELECTIONCHANGE, this, [this](const char* texto, int id, int) {
        if (id == IdListaIntellisense)
            itemPendente = QString::fromUtf8(texto);
    });
    connect(this, &QsciScintilla::userListActivated, this, [this](int id, const QString& texto) {
        if (id != IdListaIntellisense)
            return;
        itemPendente = texto;
        InserirItemLista();
        listaAberta = false;
    });
    connect(this, &QsciScintillaBase::SCN_AUTOCCANCELLED, this, [this] {
        itemPendente.clear();
        listaAberta = false;
    });
}

uctEditorSql::~uctEditorSql()
{
    // The base class closes an open list while it is destroyed: this part must not hear of it.
    disconnect(this, nullptr, this, nullptr);
}

void uctEditorSql::DefinirConnectionString(const QString& strConnectionString)
{
    fontePropria.DefinirConnectionString(strConnectionString);
}

QString uctEditorSql::ConnectionString() const { return fontePropria.ConnectionString(); }

void uctEditorSql::DefinirFonteDados(std::function<clsData*()> fonte) { fonteDados = std::move(fonte); }

int uctEditorSql::PosicaoCursor() const { return int(Sci(SCI_GETCURRENTPOS)); }

long uctEditorSql::Sci(unsigned int mensagem, long w, long l) const
{
    return SendScintilla(mensagem, static_cast<unsigned long>(w), l);
}

QString uctEditorSql::PalavraNoCursor() const
{
    const int pos = PosicaoCursor();
    const int de = int(Sci(SCI_WORDSTARTPOSITION, pos, 1));
    const int ate = int(Sci(SCI_WORDENDPOSITION, pos, 1));
    return ate > de ? QString::fromUtf8(bytes(de, ate).left(ate - de)) : QString();
}

// The name just before the dot at the caret: a word, or a bracketed name without its brackets.
QString uctEditorSql::PalavraAntesDoPonto() const
{
    const int pos = PosicaoCursor();
    const int linha = int(Sci(SCI_LINEFROMPOSITION, pos));
    const int inicio = int(Sci(SCI_POSITIONFROMLINE, linha));
    QString antes = QString::fromUtf8(bytes(inicio, pos).left(pos - inicio));
    if (antes.endsWith(u'.'))
        antes.chop(1);
    // A quoted name, its doubled closing quotes undone.
    for (const auto& [abre, fecha] : {std::pair{u'[', u']'}, std::pair{u'"', u'"'}}) {
        if (!antes.endsWith(fecha))
            continue;
        qsizetype i = antes.size() - 1;
        QString nome;
        while (i > 0) {
            const QChar c = antes.at(i - 1);
            if (c == fecha && i >= 2 && antes.at(i - 2) == fecha) {
                nome.prepend(c);
                i -= 2;
            } else if (c == abre) {
                return nome;
            } else {
                nome.prepend(c);
                --i;
            }
        }
        return QString();
    }
    qsizetype i = antes.size();
    while (i > 0) {
        const QChar c = antes[i - 1];
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$'))
            break;
        --i;
    }
    return antes.mid(i);
}

void uctEditorSql::PedirLista(bool blnTabelas)
{
    listaTabelas = blnTabelas;
    palavraAtual = blnTabelas ? QString() : PalavraAntesDoPonto();
    const int pos = PosicaoCursor();
    colunaInicio = pos - int(Sci(SCI_POSITIONFROMLINE, Sci(SCI_LINEFROMPOSITION, pos)));
    listaAberta = CarregarIntellisense(palavraAtual);
}

bool uctEditorSql::CarregarIntellisense(const QString& strPalavra)
{
    clsData* dados = fonteDados ? fonteDados() : fontePropria.Dados();
    itensLista
        = dados ? intellisense::CarregarIntellisense(*dados, strPalavra, listaTabelas) : QList<ItemIntellisense>{};
    if (itensLista.isEmpty())
        return false;
    QStringList textos;
    textos.reserve(itensLista.size());
    for (const ItemIntellisense& i : itensLista)
        textos << i.texto + QChar(SeparadorImagem) + QString::number(i.imagem);
    SendScintilla(SCI_AUTOCSETTYPESEPARATOR, SeparadorImagem);
    SendScintilla(SCI_AUTOCSETORDER, SC_ORDER_CUSTOM);
    showUserList(IdListaIntellisense, textos);
    return isListActive();
}

void uctEditorSql::InserirItemLista()
{
    if (itemPendente.isEmpty())
        return;
    const int pos = PosicaoCursor();
    const int inicioLinha = int(Sci(SCI_POSITIONFROMLINE, Sci(SCI_LINEFROMPOSITION, pos)));
    const int de = qBound(inicioLinha, inicioLinha + colunaInicio, pos);
    Sci(SCI_SETSEL, de, pos);
    // A name that would not read back as itself bare goes in quoted the way its engine reads it.
    const QString item = itemPendente == u"*"
                             ? itemPendente
                             : citacao::CitarSeNecessario(citacao::MotorDaConexao(ConnectionString()), itemPendente);
    replaceSelectedText(item); // leaves the caret after the item
    itemPendente.clear();
}

// The highlighted item goes in as if chosen with Tab.
void uctEditorSql::AceitarItemDaLista()
{
    QByteArray atual(int(SendScintilla(SCI_AUTOCGETCURRENTTEXT, 0UL, static_cast<const char*>(nullptr))) + 1, '\0');
    SendScintilla(SCI_AUTOCGETCURRENTTEXT, 0UL, atual.data());
    const QString item = QString::fromUtf8(atual.constData());
    cancelList();
    listaAberta = false;
    itemPendente = item;
    InserirItemLista();
}

void uctEditorSql::keyPressEvent(QKeyEvent* e)
{
    // A list that closed by itself (nothing left matching what was typed) leaves nothing pending.
    if (!isListActive()) {
        listaAberta = false;
        itemPendente.clear();
    }
    const bool ponto = e->text() == u".";
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (ponto && isListActive()) {
        AceitarItemDaLista();
        QsciScintilla::keyPressEvent(e);
        if (intellisenseLista)
            PedirLista(false);
        return;
    }
    if (e->key() == Qt::Key_Space && mods == Qt::ControlModifier) {
        // Only where no word is under the caret: the list of tables.
        if (PalavraNoCursor().isEmpty())
            PedirLista(true);
        e->accept();
        return;
    }
    QsciScintilla::keyPressEvent(e);
    if (ponto && intellisenseLista)
        PedirLista(false);
}
