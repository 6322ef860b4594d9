#pragma once
// A database object exactly as the user picked it: the source it lives in, its catalog, its schema
// (owner) and its name, as the catalog gave them. Every statement that names the object is built
// from these parts through the engine's quoting, never from a caption.
#include <QString>

enum class TipoMotor; // clsMotor.h

struct ObjetoBanco {
    QString connStr; // the source's connection string (the navigator node's tag)
    QString catalogo; // empty: the connection's own database
    QString esquema; // empty: the engine's default schema (dbo, current_schema(), main)
    QString nome;

    ObjetoBanco() = default;
    // An object of the default schema, named as it stands.
    ObjetoBanco(const QString& n) : nome(n) {}
    ObjetoBanco(const char* n) : nome(QString::fromUtf8(n)) {}
    ObjetoBanco(const QString& e, const QString& n) : esquema(e), nome(n) {}

    bool Vazio() const { return nome.isEmpty(); }
    // "schema.name" as the user reads it (no quotes), the name alone without a schema.
    QString Exibicao() const { return esquema.isEmpty() ? nome : esquema + u'.' + nome; }
    // Another object of the same schema and source (a temporary copy, an index of the table).
    ObjetoBanco Irmao(const QString& outroNome) const
    {
        ObjetoBanco r = *this;
        r.nome = outroNome;
        return r;
    }
    bool operator==(const ObjetoBanco&) const = default;
};

namespace citacao {
// The object's name for `motor`, each part quoted only when it needs it ("vendas.pedido",
// "\"S 3\".\"t]x'\""): what an editor shows the user.
QString NomeLegivel(TipoMotor motor, const ObjetoBanco& objeto);
// Each part always quoted.
QString NomeCitado(TipoMotor motor, const ObjetoBanco& objeto);
} // namespace citacao
