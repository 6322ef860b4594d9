#pragma once
// The scrambling of stored passwords and connection strings. Values already in users' settings
// were written this way and must keep reading back: every character, as a code of the single-byte
// code page, is shifted by 38 minus its 1-based position and wrapped into 0..255.
#include <QString>

QString Embaralhar(const QString& texto);
QString Desembaralhar(const QString& texto);
