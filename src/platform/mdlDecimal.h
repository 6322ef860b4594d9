#pragma once
// Exact decimal numbers (NUMERIC/DECIMAL columns) kept as text, never as double. The canonical text
// is what the recordset stores and hands out: an optional "-", the integer digits without leading
// zeros ("0" when there are none), then "." and the fraction digits when there is a fraction,
// trailing zeros included (they carry the scale: "1.50" stays "1.50"). Zero has no sign. Parsing
// and formatting never look at the process locale.
#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <string>
#include <string_view>

class QLocale;

namespace decimal {

// Reads a number in C notation (blanks around it, a sign, digits with an optional ".", an optional
// exponent) into the canonical text; false when it is not a finite number.
bool Normalizar(std::string_view texto, std::string& saida);
// As Normalizar, for text typed by a person or given by a program: a single "," with no "." in
// the text is taken for the decimal point.
bool DeTexto(QStringView texto, std::string& saida);
// Whether the text is already canonical.
bool Canonico(std::string_view texto);

void DeInteiro(int64_t v, std::string& saida);
// The shortest text that reads back as the same double, without exponent; false for NaN or infinity.
bool DeReal(double v, std::string& saida);

// Orders two canonical texts by value (-1, 0, 1): "1.5" and "1.50" are equal.
int Comparar(std::string_view a, std::string_view b);

// Digits after the point, and all significant digits (at least 1, never fewer than the scale): the
// precision and scale a parameter is declared with.
int Escala(std::string_view canonico);
int Precisao(std::string_view canonico);

// The canonical text as a person of `local` reads it: its decimal point, minus sign and digits, no
// group separators, every digit kept. A text that is not canonical comes back as it is.
QString ParaTextoLocal(const QString& canonico, const QLocale& local);
// Reads text typed in `local` (or in C notation): false when it is not a number.
bool DeTextoLocal(const QString& texto, const QLocale& local, std::string& saida);

// A decimal handed to an engine as a statement parameter: the canonical text, written to the
// database exactly (as text with a numeric target type, never through double).
struct Parametro {
    QByteArray texto;
    bool operator==(const Parametro& o) const { return texto == o.texto; }
};

} // namespace decimal

Q_DECLARE_METATYPE(decimal::Parametro)
