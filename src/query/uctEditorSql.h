#pragma once
// The SQL editor of the query window: a QScintilla editor with the "KeshSql" language, its colours
// and its completion lists.
#include <Qsci/qsciscintilla.h>

class uctEditorSql : public QsciScintilla {
    Q_OBJECT
public:
    explicit uctEditorSql(QWidget* pai = nullptr);
};
