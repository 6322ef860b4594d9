#pragma once
// An engine that only quotes and names its dialect, for the statement texts of servers the tests
// do not reach.
#include "platform/clsMotor.h"
#include "platform/clsRecordset.h"

#include <QVariantList>
#include <memory>

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

// An engine that keeps every statement it is sent and answers each with the rows the test gave for
// a fragment of its text (the last matching fragment wins; none: no rows), as a server's catalog
// would.
class MotorRespostas : public MotorTexto {
public:
    using MotorTexto::MotorTexto;
    struct Resposta {
        QString fragmento;
        QStringList campos;
        QList<QVariantList> linhas;
    };
    QList<Resposta> respostas;
    QStringList enviados;

    void Responder(const QString& fragmento, const QStringList& campos, const QList<QVariantList>& linhas)
    {
        respostas.append({fragmento, campos, linhas});
    }
    bool Aberto() const override { return true; }
    bool IniciarTransacao() override { return true; }
    bool ConfirmarTransacao() override { return true; }
    bool DesfazerTransacao() override { return true; }
    bool Executar(const QString& sql, RecordsetPtr* rs, int, long*) override
    {
        enviados << sql;
        if (!rs)
            return true;
        Resposta vazia{{}, {QStringLiteral("x")}, {}};
        const Resposta* r = &vazia;
        for (const Resposta& x : respostas)
            if (sql.contains(x.fragmento))
                r = &x;
        auto novo = std::make_shared<clsRecordset>();
        for (const QString& c : r->campos)
            novo->AppendField(c, ado::adVarWChar, 4000);
        novo->Open();
        for (const QVariantList& linha : r->linhas) {
            novo->AddNew();
            for (int c = 0; c < linha.size(); ++c)
                novo->DefinirValor(c, linha[c]);
            novo->Update();
        }
        novo->MoveFirst();
        *rs = novo;
        return true;
    }
};
