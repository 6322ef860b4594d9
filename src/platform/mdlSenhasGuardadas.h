#pragma once
// Saved passwords (logins remembered for a server or file, registered servers, custom connection
// strings, web-service access keys). With the desktop's keyring (the Secret Service: GNOME Keyring,
// KWallet) answering and the option on, each one is kept there, under the service "Quarrix" and the
// key "Section/Key" of its setting, and the setting holds the scrambled marker below, so whoever
// reads the setting still sees that a password is saved. Otherwise, or when the keyring refuses a
// write, the setting holds the password scrambled, as the settings always did.
//
// An empty password and the "*-*-*-*" (none saved) convention are not secrets: they stay in the
// settings as before.
#include <QString>

namespace senhas {

// A text no password is written as: scrambled, it stands for "kept in the keyring".
inline const QString Marcador = QStringLiteral("*-*-*-*@chaveiro");
inline const QString Servico = QStringLiteral("Quarrix");
// Option (section "Opcoes"): "1" keep passwords in the keyring, "0" in the settings; when absent,
// the keyring is used if it answers.
inline const QString ChaveOpcao = QStringLiteral("GuardarSenhasChaveiro");

// Whether a keyring answers on this session.
bool ChaveiroResponde();
// Ends the thread that talks to the keyring (done as the application ends; a later use starts it
// again). Called before the session bus goes away, so that its closing is not heard as the end of
// the session.
void EncerrarChaveiro();
// Whether passwords saved now go to the keyring (the option, and a keyring that answers).
bool UsarChaveiro();

// The setting's password, wherever it is kept; `padrao` when the setting is absent or its keyring
// entry cannot be read (an empty value saved is an empty password).
QString Ler(const QString& secao, const QString& chave, const QString& padrao = QString());
void Gravar(const QString& secao, const QString& chave, const QString& valor);
// Forgets the setting and its keyring entry.
void Apagar(const QString& secao, const QString& chave);
// A password still scrambled in the settings (saved by an earlier version, or while the keyring was
// off) moves into the keyring, leaving the marker; true when it moved.
bool Migrar(const QString& secao, const QString& chave);
// Whether the setting holds the marker.
bool NoChaveiro(const QString& secao, const QString& chave);

} // namespace senhas
