#pragma once
// The scrambling of stored passwords and connection strings. Values already in users' settings
// were written this way and must keep reading back: every character, as a code of the single-byte
// code page, is shifted by 38 minus its 1-based position and wrapped into 0..255.
//
// Text the old form cannot hold (a character above U+00FF, or U+0000, or a code the wrap would not
// give back) is scrambled as its UTF-8 bytes instead, after a first character U+0100 that tells the
// two forms apart: the old form only ever holds U+0000..U+00FF. Everything else keeps the old form,
// so earlier versions still read it.
#include <QString>

QString Embaralhar(const QString& texto);
QString Desembaralhar(const QString& texto);
