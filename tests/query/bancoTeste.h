#pragma once
// A small database file in a temporary folder for the query tests: Clientes with three rows.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "connections/mdlCriarBanco.h"
#include "support/fixtures.h"

#include <QStringList>

struct BancoTeste {
    SettingsTemporarios settings;
    QString caminho;
    explicit BancoTeste(const QStringList& extras = {})
    {
        caminho = settings.pasta.filePath(QStringLiteral("loja.db"));
        QString erro;
        CriarBancoAccess(caminho, &erro);
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        d.OpenConnection(ConnStr(), true, false);
        QStringList sql = {
            "CREATE TABLE Clientes (Id INTEGER PRIMARY KEY, Nome VARCHAR(80), Cidade VARCHAR(50))",
            "INSERT INTO Clientes VALUES (1, 'Ana', 'Recife')",
            "INSERT INTO Clientes VALUES (2, 'Bruno', 'Olinda')",
            "INSERT INTO Clientes VALUES (3, 'Carla', 'Recife')",
        };
        for (const QString& s : sql + extras)
            d.ExecSql(s, false);
        d.CloseConnection();
    }
    QString ConnStr() const { return MontarConnStrAccess(caminho, QStringLiteral("admin"), {}); }
    // One value read back from the file, through a connection of its own.
    QVariant Valor(const QString& sql) const
    {
        clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
        clsData d(ambiente);
        d.OpenConnection(ConnStr(), false, false);
        const QVariant v = d.RetValue(sql);
        d.CloseConnection();
        return v;
    }
};
