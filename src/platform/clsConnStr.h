#pragma once
// A connection string in OLE DB syntax ("Key=Value;Key2=\"quoted; value\""), read once: keys are
// compared without case, values lose surrounding blanks unless quoted, a doubled quote inside a
// quoted value is one quote, and "==" inside a key is a literal "=". A value in braces, as ODBC
// writes it ("Pwd={a;b}}c}"), is read the same way: "}}" inside is one "}". A repeated key keeps
// the last value.
#include <QList>
#include <QPair>
#include <QString>

class clsConnStr {
public:
    clsConnStr() = default;
    explicit clsConnStr(const QString& texto) { Analisar(texto); }

    // False when the text is malformed (a quote left open); what was read up to there stays.
    bool Analisar(const QString& texto);
    // Every Key=Value piece in the order written, keys as written and repeats kept, values
    // unquoted as Analisar reads them.
    static bool LerPares(const QString& texto, QList<QPair<QString, QString>>& saida);

    bool Contem(const QString& chave) const;
    QString Valor(const QString& chave) const;
    void Definir(const QString& chave, const QString& valor);
    void Remover(const QString& chave);
    const QList<QPair<QString, QString>>& Pares() const { return pares; }

    // Back to text in OLE DB syntax (values quoted when they need it).
    QString Montar() const;
    // The same pairs in ODBC syntax (values that need it inside {…}; the driver always is).
    QString MontarOdbc() const;

private:
    QList<QPair<QString, QString>> pares;
};

// A value as it goes into a connection string so that it reads back whole: as it is when it holds
// nothing the syntax gives a meaning to, else quoted. OLE DB: "…" (or '…'), a quote inside doubled,
// for values with ";", "=", quotes, braces or blanks at either end. ODBC: {…} with "}" doubled, for
// values with any of []{}(),;?*=!@ or blanks at either end.
QString CitarValorOleDb(const QString& valor);
QString CitarValorOdbc(const QString& valor);

// Longer connection strings are refused before a driver sees them: some drivers crash on them, and
// no real one comes near.
constexpr int TamanhoMaximoConnStr = 8192;

// The connection string as it may be shown or logged: the value of every password key (Pwd,
// Password, JET OLEDB:Database Password, in any case) becomes "***", all else stays as written.
// Values in braces or quotes are passed over whole, and one that holds a connection string of
// its own (Extended Properties="DSN=x;PWD=y") has its passwords hidden too.
QString MascararSenha(const QString& connStr);
// The masked text of a string back with its passwords: a "***" value (or one typed on before or
// after it) takes the password written in `original`; a value typed over the mask stays as typed.
QString DesmascararSenha(const QString& mascarada, const QString& original);
