#include "uctEditorSql.h"

uctEditorSql::uctEditorSql(QWidget* pai) : QsciScintilla(pai)
{
    setUtf8(true);
}
