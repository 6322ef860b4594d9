#pragma once
// Registers the program as the desktop's opener of Access database files: a desktop entry for the
// user, and the program as the default application of the Access types.
#include <QString>
#include <QStringList>

namespace associacao {

inline const QString ArquivoDesktop = QStringLiteral("quarrix.desktop");
inline const QStringList TiposMdb
    = {QStringLiteral("application/x-msaccess"), QStringLiteral("application/vnd.ms-access")};

// Where the association is written. The user's folders unless a test points them elsewhere.
struct Pastas {
    QString dados; // $XDG_DATA_HOME (~/.local/share): gets applications/quarrix.desktop
    QString config; // $XDG_CONFIG_HOME (~/.config): gets mimeapps.list when xdg-mime is missing
    QString xdgMime; // the xdg-mime program; empty: edit mimeapps.list directly
};
Pastas PastasDoUsuario();

// The Exec line of the desktop entry: the program (quoted only when it needs to be) and "%f".
QString LinhaExec(const QString& programa);
// The whole desktop entry.
QString ConteudoDesktop(const QString& programa);
// `conteudo` of a mimeapps.list with the Access types defaulting to the desktop entry; other
// lines, sections and types are kept.
QString MimeAppsComPadrao(const QString& conteudo);

// Writes the desktop entry and makes it the default of the Access types. True when all of it was
// written; the options window ignores the result, as it does every failure.
bool AssociarExtensaoMdb(const QString& programa, const Pastas& pastas = PastasDoUsuario());

} // namespace associacao
