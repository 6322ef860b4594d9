#pragma once
// The "KeshSql" language on the editor: colours each line by the pieces the language cuts it into,
// carrying "/* */" comments and strings from one line to the next.
#include <Qsci/qscilexercustom.h>

class uctLexerKeshSql : public QsciLexerCustom {
    Q_OBJECT
public:
    explicit uctLexerKeshSql(QObject* pai = nullptr);

    const char* language() const override;
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QFont defaultFont(int style) const override;
    bool caseSensitive() const override { return false; }
    void styleText(int start, int end) override;
};
