#pragma once
// An engine that only quotes and names its dialect, for the statement texts of servers the tests
// do not reach.
#include "platform/clsMotor.h"

class MotorTexto : public clsMotor {
public:
    explicit MotorTexto(Dialeto d) : dialeto(d) {}
    Dialeto dialeto;
    bool Aberto() const override { return false; }
    void Fechar() override {}
    void Interromper() override {}
    bool Executar(const QString&, RecordsetPtr*, int, long*) override { return false; }
    bool ExecutarComParametros(const QString&, const std::vector<QVariant>&, long&, RecordsetPtr*) override
    {
        return false;
    }
    bool Schema(SchemaOleDb, const QStringList&, RecordsetPtr&) override { return false; }
    bool IniciarTransacao() override { return false; }
    bool ConfirmarTransacao() override { return false; }
    bool DesfazerTransacao() override { return false; }
    bool EmTransacao() const override { return false; }
    Dialeto DialetoSql() const override { return dialeto; }
    QString CitarIdentificador(const QString& nome) const override
    {
        if (dialeto == Dialeto::SqlServer)
            return u'[' + QString(nome).replace(u']', QStringLiteral("]]")) + u']';
        return u'"' + QString(nome).replace(u'"', QStringLiteral("\"\"")) + u'"';
    }
};
