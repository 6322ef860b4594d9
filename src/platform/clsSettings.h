#pragma once
// Per-user settings store: sections and keys of text values, kept in an INI file that only the user
// can read. GetSetting/SaveSetting/DeleteSetting keep the semantics the whole program relies on:
// every value is text, an absent key reads as the given default.
#include <QString>
#include <QStringList>

namespace settings {

// Points the store at another file (tests use a temporary folder); programs started afterwards use
// it too. Empty restores the default: $QUARRIX_SETTINGS when set, else
// $XDG_CONFIG_HOME/Quarrix/Quarrix.ini.
void DefinirArquivo(const QString& caminho);
QString Arquivo();

QString GetSetting(const QString& secao, const QString& chave, const QString& padrao = QString());
void SaveSetting(const QString& secao, const QString& chave, const QString& valor);
void DeleteSetting(const QString& secao, const QString& chave);
void DeleteSection(const QString& secao);
QStringList Chaves(const QString& secao);

} // namespace settings
