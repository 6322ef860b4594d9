#pragma once
// The options kept between runs (section "Opcoes" of the settings store) and their loading into
// the program's flags.
#include <QString>
#include <QStringList>

struct clsOpcoes;

namespace opcoes {

inline const QString Secao = QStringLiteral("Opcoes");
// The six check-box options, in the order of the options window.
inline const QStringList ChavesBooleanas = {
    QStringLiteral("CheckBeforeSql"),
    QStringLiteral("PassoPasso"),
    QStringLiteral("IntellisenseLista"),
    QStringLiteral("AbrirExecutando"),
    QStringLiteral("Focalizar"),
    QStringLiteral("GuardarConfig"),
};
inline const QString ChaveTimeOut = QStringLiteral("TimeOut");
// The memory a result may hold: rows and megabytes (absent, zero or not a number: the default).
inline const QString ChaveLimiteLinhas = QStringLiteral("LimiteLinhas");
inline const QString ChaveLimiteMegabytes = QStringLiteral("LimiteMegabytes");

// A stored option read as a number (absent keys and non-numbers read as 0).
double LerOpcao(const QString& chave);

// The connection time-out from its stored number: whole seconds (halves to the even number) in the
// 16-bit range of the flag; negative values become 0 and values above 32767 become 32767.
qint16 LimitarTimeOut(double segundos);

// A limit as stored: a positive whole number, else `padrao`.
qint64 LerLimite(const QString& chave, qint64 padrao);

// Reads the option keys into the options in force: a flag is on when its stored number is not 0.
void CarregarOpcoes(clsOpcoes& opcoes);

} // namespace opcoes
