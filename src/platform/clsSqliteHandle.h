#pragma once
// A SQLite connection and its statements owned by unique pointers: a statement is finalised and a
// connection closed by whoever holds it, on every path (early return, error). Moving hands them
// over; copying is refused, so nothing is finalised or closed twice.
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace sqlite {

struct Fechador {
    void operator()(sqlite3* db) const; // sqlite3_close_v2
};
struct Finalizador {
    void operator()(sqlite3_stmt* st) const; // sqlite3_finalize
};

using Conexao = std::unique_ptr<sqlite3, Fechador>;
using Stmt = std::unique_ptr<sqlite3_stmt, Finalizador>;

} // namespace sqlite
