#include "uctEditorSqlLexer.h"

#include "query/mdlCodeSensLang.h"

#include <QFont>
#include <Qsci/qsciscintilla.h>

uctLexerKeshSql::uctLexerKeshSql(QObject* pai) : QsciLexerCustom(pai) {}

const char* uctLexerKeshSql::language() const { return codesens::NomeLinguagem; }

QString uctLexerKeshSql::description(int style) const
{
    switch (style) {
    case codesens::Padrao: return QStringLiteral("Texto");
    case codesens::Comentario: return QStringLiteral("Comentário");
    case codesens::PalavraChave: return QStringLiteral("Palavra-chave");
    case codesens::Funcao: return QStringLiteral("Função");
    case codesens::Operador: return QStringLiteral("Operador");
    case codesens::TipoDado: return QStringLiteral("Tipo de dado");
    case codesens::Texto: return QStringLiteral("Literal");
    default: return QString();
    }
}

QColor uctLexerKeshSql::defaultColor(int style) const
{
    switch (style) {
    case codesens::PalavraChave: return QColor(0, 0, 180);
    case codesens::Funcao: return QColor(128, 0, 128);
    case codesens::Operador: return QColor(150, 150, 150);
    case codesens::TipoDado: return QColor(214, 128, 51);
    case codesens::Texto: return QColor(180, 0, 0);
    case codesens::Comentario: return QColor(0, 128, 0);
    default: return QsciLexerCustom::defaultColor(style);
    }
}

QFont uctLexerKeshSql::defaultFont(int) const
{
    QFont f(QStringLiteral("Courier New"), 10);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

void uctLexerKeshSql::styleText(int start, int end)
{
    QsciScintilla* ed = editor();
    if (!ed || end <= start)
        return;
    // Whole lines, from the start of the first: a line's state comes from the line before it.
    int linha = int(ed->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, start));
    const int ultima = int(ed->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, end));
    int estado = linha > 0 ? int(ed->SendScintilla(QsciScintilla::SCI_GETLINESTATE, linha - 1)) : codesens::Normal;
    const int inicio = int(ed->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, linha));
    startStyling(inicio);
    QList<codesens::Trecho> trechos;
    for (; linha <= ultima; ++linha) {
        const int de = int(ed->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, linha));
        const int ate = linha + 1 < ed->lines() ? int(ed->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, linha + 1))
                                                : int(ed->SendScintilla(QsciScintilla::SCI_GETLENGTH));
        if (ate <= de)
            break;
        trechos.clear();
        estado = codesens::Tokenizar(ed->bytes(de, ate).left(ate - de), estado, trechos);
        for (const codesens::Trecho& t : trechos)
            setStyling(t.tamanho, t.estilo);
        ed->SendScintilla(QsciScintilla::SCI_SETLINESTATE, linha, estado);
    }
}
