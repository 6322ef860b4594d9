#pragma once
// Dates and times with every digit a database keeps: nanoseconds of the day (PostgreSQL keeps
// microseconds, SQL Server 100 ns) and the offset of a time stamp with time zone. A value read
// finer than a millisecond, or with its offset, travels as its canonical text
// ("2024-02-29 01:02:03.123456 -03:00", "23:59:59.999999", "2024-02-29"), which every engine reads
// back as the same value; the others as whole milliseconds.
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace datahora {

enum class Forma : uint8_t { DataHora, SoData, SoHora };

struct DataHora {
    int64_t dia = 0; // Julian day; a time alone sits on 30/12/1899, as the milliseconds keep it
    int64_t ns = 0; // nanoseconds since midnight
    Forma forma = Forma::DataHora;
    bool temFuso = false;
    int fusoMin = 0; // offset east of UTC, in minutes
};

// The day a time alone is kept on.
int64_t DiaDaHora();

// A database's text: "yyyy-MM-dd", "yyyy-MM-dd[ T]HH:mm[:ss[.f…]]" with an optional offset ("Z",
// "+HH", "+HHMM", "+HH:MM", with or without a blank before it), or "HH:mm[:ss[.f…]]".
bool LerIso(std::string_view texto, DataHora& d);
// What the user types: the ISO forms above, or "dd/MM/yyyy" ("d/M/yyyy") with the same time and
// offset after it. `esperada` tells a time alone from a date.
bool LerDigitado(const QString& texto, Forma esperada, DataHora& d);

// The canonical text (fraction without trailing zeros, offset as " +HH:MM").
std::string Canonico(const DataHora& d);
// ISO text with the fraction written with at least `casas` digits when there is one (every
// significant digit is always written; with `casas` 0, at least 3).
QString Iso(const DataHora& d, int casas);
// The user's notation: "dd/MM/yyyy", "HH:mm:ss[.fff…]", both, and the offset. `semMeiaNoite`
// leaves out a midnight time without fraction or offset.
QString Exibir(const DataHora& d, int casas, bool semMeiaNoite);

// Whole milliseconds since Julian day 0, when the value has no finer digit and no offset.
bool EmMs(const DataHora& d, int64_t& ms);
DataHora DeMs(int64_t ms, Forma forma);

// Orders two values: by instant when both carry an offset, else by their wall-clock reading.
int Comparar(const DataHora& a, const DataHora& b);

} // namespace datahora
