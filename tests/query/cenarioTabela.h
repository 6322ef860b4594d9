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
        if (!QTest::qWaitFor([&] { return janela->Ativado(); }))
            return nullptr;
        return janela;
    }
    frmTabela* Editor(const QString& sql) { return Abrir(sql, QStringLiteral("SqlEditor: "), false); }
    QString Celula(int linha, int coluna) const
    {
        return janela->Modelo()->data(janela->Modelo()->index(linha, coluna)).toString();
    }
};
