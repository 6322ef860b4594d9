#pragma once
// The SQL editor of the query window: a QScintilla editor with the "KeshSql" language, its colours
// and its completion lists. A "." after a table name lists "*" and its columns, after "dbo" the
// tables; Ctrl+Space on no word lists the tables. A "." typed while a list is open accepts the
// highlighted item and asks again for the name just completed.
#include "query/mdlIntellisense.h"

#include <Qsci/qsciscintilla.h>
#include <functional>

class clsAmbienteDados;
class clsData;
class uctLexerKeshSql;

class uctEditorSql : public QsciScintilla {
    Q_OBJECT
public:
    // Completion lists open their connection with `ambiente`; the list toggle starts as its option.
    explicit uctEditorSql(clsAmbienteDados& ambiente, QWidget* pai = nullptr);
    ~uctEditorSql() override;

    // Id of the completion list in userListActivated.
    static constexpr int IdListaIntellisense = 1;

    // The connection the completion lists read from; the editor opens its own, once, on first need.
    void DefinirConnectionString(const QString& strConnectionString);
    QString ConnectionString() const;
    // Or the window hands over its own connection (opened on demand, null when there is none);
    // when set it is used instead of the editor's own.
    void DefinirFonteDados(std::function<clsData*()> fonte);

    // A "." opens the list only while this is on (the toggle "IntellisenseLista"; its initial state
    // is the option of the same name). Ctrl+Space works either way.
    void DefinirIntellisenseLista(bool blnLigado) { intellisenseLista = blnLigado; }
    bool IntellisenseLista() const { return intellisenseLista; }

    // Fills and opens the list for the word (tables for "dbo" or while the table-list flag is set,
    // else the columns of that table); false, and no list, when there is nothing to offer.
    bool CarregarIntellisense(const QString& strPalavra);
    // Writes the pending item over what was typed since the list was asked for.
    void InserirItemLista();

    // Completion state.
    QString PalavraAtual() const { return palavraAtual; }
    QString ItemPendente() const { return itemPendente; }
    bool ListaAberta() const { return listaAberta; }
    int ColunaInicio() const { return colunaInicio; }
    // The items of the list last opened.
    QList<ItemIntellisense> ItensLista() const { return itensLista; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void PedirLista(bool blnTabelas);
    void AceitarItemDaLista();
    QString PalavraNoCursor() const;
    QString PalavraAntesDoPonto() const;
    int PosicaoCursor() const;
    long Sci(unsigned int mensagem, long w = 0, long l = 0) const;

    uctLexerKeshSql* lexerSql = nullptr;
    clsFonteIntellisense fontePropria;
    std::function<clsData*()> fonteDados;
    bool intellisenseLista = false;

    QString palavraAtual;
    bool listaTabelas = false;
    int colunaInicio = 0; // bytes from the start of the caret's line
    QString itemPendente;
    bool listaAberta = false;
    QList<ItemIntellisense> itensLista;
};
