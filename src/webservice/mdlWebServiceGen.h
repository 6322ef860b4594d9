#pragma once
// The web service generator without its window: the connection strings written into the service,
// the check of the class name, the text of the ASP.NET page and the writing of the file.
#include <QString>
#include <QStringList>

namespace webservicegen {

// What the page is made of, as the user typed it.
struct DadosWebService {
    QString Classe; // class name of the service (a Visual Basic identifier)
    QString Namespace; // namespace the service publishes
    QString ConnStr; // connection string the service opens
    QString Versao; // version text of the generating program
    bool Sql = false; // the service's database is on SQL Server (else an Access file)
};

// The strings the generator writes for each kind of database. They are the generator's own (the
// password is always written, also when empty), not the connection builders of the data layer.
QString ConnStrAccess(const QString& caminho);
QString ConnStrSql(const QString& servidor, const QString& banco, const QString& usuario, const QString& senha);

// True when `nome` can be the name of a Visual Basic class: a letter or "_" followed by letters,
// digits and "_" (a lone "_" is not a name), and no reserved word.
bool NomeClasseValido(const QString& nome);
// The message shown when the class name is refused.
QString MensagemNomeClasseInvalido(const QString& nome);

// A Visual Basic string expression whose value is `valor`: between double quotes, an embedded double
// quote doubled, and any character outside printable ASCII given as ChrW(code), so the page stays
// single-byte text and compiles whatever was typed.
QString TextoVb(const QString& valor);

// The lines of the page, in order, without line ends.
QStringList GerarPagina(const DadosWebService& dados);

// Writes the lines (each ended by CR LF, single-byte text) to `arquivo` through a temporary file
// that replaces it only once everything was written, so a failure leaves no half file. On failure
// returns false and puts the reason, naming the file, in `erro`.
bool GravarPagina(const QString& arquivo, const QStringList& linhas, QString* erro);

} // namespace webservicegen
