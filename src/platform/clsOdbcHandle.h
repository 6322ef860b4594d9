#pragma once
// ODBC handles owned by small move-only objects: each frees its handle when it goes, so no path
// (early return, error) leaves an environment, connection or statement allocated.
#include <sql.h>
#include <sqlext.h>
#include <utility>

namespace odbc {

// One handle of kind Tipo (SQL_HANDLE_ENV, SQL_HANDLE_DBC, SQL_HANDLE_STMT), freed with
// SQLFreeHandle. Moving hands the handle over; copying is refused, so it is never freed twice.
template <SQLSMALLINT Tipo> class Handle {
public:
    static constexpr SQLSMALLINT tipo = Tipo;

    Handle() = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& o) noexcept : h(std::exchange(o.h, nullptr)) {}
    Handle& operator=(Handle&& o) noexcept
    {
        if (this != &o) {
            Liberar();
            h = std::exchange(o.h, nullptr);
        }
        return *this;
    }
    ~Handle() { Liberar(); }

    // A new handle under `pai` (SQL_NULL_HANDLE for an environment); empty when the driver manager
    // refuses it (the reason is in the diagnostics of `pai`).
    static Handle Alocar(SQLHANDLE pai)
    {
        Handle r;
        if (!SQL_SUCCEEDED(SQLAllocHandle(Tipo, pai, &r.h)))
            r.h = SQL_NULL_HANDLE;
        return r;
    }

    SQLHANDLE get() const { return h; }
    explicit operator bool() const { return h != SQL_NULL_HANDLE; }
    void Liberar()
    {
        if (h != SQL_NULL_HANDLE)
            SQLFreeHandle(Tipo, h);
        h = SQL_NULL_HANDLE;
    }

private:
    SQLHANDLE h = SQL_NULL_HANDLE;
};

// An environment set for ODBC 3.
class Ambiente : public Handle<SQL_HANDLE_ENV> {
public:
    Ambiente() = default;
    // Empty when the driver manager cannot start.
    static Ambiente Novo()
    {
        Ambiente a(Alocar(SQL_NULL_HANDLE));
        if (a)
            SQLSetEnvAttr(a.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return a;
    }

private:
    explicit Ambiente(Handle&& h) : Handle(std::move(h)) {}
};

class Conexao;

// A statement, freed (with its cursor and bindings) by whoever holds it.
class Stmt : public Handle<SQL_HANDLE_STMT> {
public:
    Stmt() = default;
    // A new statement on the connection; empty when the driver refuses it.
    static Stmt Alocar(const Conexao& c);

private:
    explicit Stmt(Handle&& h) : Handle(std::move(h)) {}
};

// A connection handle, disconnected before it is freed when it was connected. A disconnect the
// driver refuses because a transaction is open is retried after rolling it back, as the server
// would on losing the connection.
class Conexao {
public:
    Conexao() = default;
    Conexao(const Conexao&) = delete;
    Conexao& operator=(const Conexao&) = delete;
    Conexao(Conexao&& o) noexcept : dbc(std::move(o.dbc)), conectada(std::exchange(o.conectada, false)) {}
    Conexao& operator=(Conexao&& o) noexcept
    {
        if (this != &o) {
            Desconectar();
            dbc = std::move(o.dbc);
            conectada = std::exchange(o.conectada, false);
        }
        return *this;
    }
    ~Conexao() { Desconectar(); }

    // A new, not yet connected handle under the environment.
    static Conexao Alocar(const Ambiente& amb)
    {
        Conexao c;
        c.dbc = Handle<SQL_HANDLE_DBC>::Alocar(amb.get());
        return c;
    }

    SQLHDBC get() const { return dbc.get(); }
    explicit operator bool() const { return bool(dbc); }
    bool Conectada() const { return conectada; }
    // Records that SQLDriverConnect succeeded on this handle.
    void MarcarConectada() { conectada = bool(dbc); }
    void Desconectar()
    {
        if (!conectada)
            return;
        if (!SQL_SUCCEEDED(SQLDisconnect(dbc.get()))) {
            SQLEndTran(SQL_HANDLE_DBC, dbc.get(), SQL_ROLLBACK);
            SQLDisconnect(dbc.get());
        }
        conectada = false;
    }

private:
    Handle<SQL_HANDLE_DBC> dbc;
    bool conectada = false;
};

inline Stmt Stmt::Alocar(const Conexao& c) { return Stmt(Handle::Alocar(c.get())); }

} // namespace odbc
