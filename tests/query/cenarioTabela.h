#pragma once
// A query window on the small test database (or on a connection string given), with the scripted
// prompt: what the window tests open and drive.
#include "bancoTeste.h"
#include "query/clsModeloRecordset.h"
#include "query/frmTabela.h"
#include "shell/clsAmbiente.h"
#include "support/clsPromptRoteiro.h"

#include <QPointer>
#include <QTest>

// Runs the window's text and waits for the run's end: its outcome (false also when nothing started).
inline bool Rodar(frmTabela* w, int ms = 60000)
{
    bool ok = false, veio = false;
    QMetaObject::Connection c = QObject::connect(w, &frmTabela::ExecucaoConcluida, [&](bool r) {
        ok = r;
        veio = true;
    });
    const bool comecou = w->ExecutarSql();
    if (comecou && !veio)
        (void)QTest::qWaitFor([&] { return veio; }, ms);
    QObject::disconnect(c);
    return comecou && ok;
}

// Writes the grid's rows and waits for the outcome.
inline bool Gravar(frmTabela* w, int ms = 60000)
{
    bool ok = false, veio = false;
    const bool comecou = w->GravarRegistros([&](bool r) {
        ok = r;
        veio = true;
    });
    if (comecou && !veio)
        (void)QTest::qWaitFor([&] { return veio; }, ms);
    return comecou && ok;
}

// An export of the grid (ExportarTexto, ExportarExcel), waited for: whether it wrote the file.
inline bool Exportar(frmTabela* w, void (frmTabela::*exportar)(), int ms = 60000)
{
    bool ok = false, veio = false;
    QMetaObject::Connection c = QObject::connect(w, &frmTabela::ExportacaoConcluida, [&](bool r) {
        ok = r;
        veio = true;
    });
    (w->*exportar)();
    if (w->Ocupada())
        (void)QTest::qWaitFor([&] { return veio; }, ms);
    QObject::disconnect(c);
    return ok;
}

struct CenarioTabela {
    BancoTeste banco;
    clsPromptRoteiro prompt;
    clsAmbiente ambiente{prompt};
    QPointer<frmTabela> janela;
    explicit CenarioTabela(const QStringList& extras = {}) : banco(extras) {}
    ~CenarioTabela() { delete janela; }
    frmTabela* Abrir(const QString& sql, const QString& tabela, bool executar, const QString& connStr = {})
    {
        janela = new frmTabela(ambiente);
        janela->DefinirTag(QStringLiteral("7"));
        janela
            ->CarregarForm(connStr.isEmpty() ? banco.ConnStr() : connStr, sql, tabela, executar, banco.caminho, {}, {});
        // A window opened to run at once has run by then.
        if (!QTest::qWaitFor([&] { return janela->Ativado() && !janela->Ocupada(); }, 60000))
            return nullptr;
        return janela;
    }
    frmTabela* Editor(const QString& sql) { return Abrir(sql, QStringLiteral("SqlEditor: "), false); }
    QString Celula(int linha, int coluna) const
    {
        return janela->Modelo()->data(janela->Modelo()->index(linha, coluna)).toString();
    }
};
