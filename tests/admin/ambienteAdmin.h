#pragma once
// The context of the administration window tests: a scripted user and a management session
// double that answers as a small server (see ServidorDuble::PovoarAdmin).
#include "connections/clsData.h"
#include "shell/clsAmbiente.h"
#include "support/clsPromptRoteiro.h"
#include "support/clsSqlDmoDuble.h"
#include "support/fixtures.h"

#include <QListWidget>

struct AmbienteAdmin {
    SettingsTemporarios settings;
    clsPromptRoteiro prompt;
    clsAmbiente amb{prompt};
    ServidorDuble servidor;
    QString connStr = MontarConnStrSql("SRV01", "master", "sa", "s3nha", false);
    AmbienteAdmin()
    {
        servidor.PovoarAdmin();
        amb.fabricaSqlDmo = servidor.Fabrica();
    }
    std::shared_ptr<clsSqlDmoSessao> Sessao()
    {
        std::shared_ptr<clsSqlDmoSessao> s = AbrirSqlDmo(amb, connStr, false);
        servidor.enviados.clear();
        return s;
    }
    // The statements sent since the last call.
    QStringList Enviados() { return std::exchange(servidor.enviados, {}); }
};

// The checked entries of a check list.
inline QStringList Marcados(const QListWidget* lista)
{
    QStringList r;
    for (int i = 0; i < lista->count(); ++i)
        if (lista->item(i)->checkState() == Qt::Checked)
            r << lista->item(i)->text();
    return r;
}
inline void Marcar(QListWidget* lista, const QString& texto, bool marcar)
{
    for (int i = 0; i < lista->count(); ++i)
        if (lista->item(i)->text() == texto)
            lista->item(i)->setCheckState(marcar ? Qt::Checked : Qt::Unchecked);
}
