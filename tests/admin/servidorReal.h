#pragma once
// A real SQL Server for the tests that need one: the connection string in QUARRIX_SQLSERVER_CONNSTR
// (Provider=SQLOLEDB.1;Data Source=HOST,PORT;Initial Catalog=master;User ID=…;Password=…). Each
// test makes its own database and logins with unique names and drops them at the end; without
// the variable the test skips and says why.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "connections/clsSqlDmoSessao.h"
#include "connections/mdlTSqlAdmin.h"
#include "platform/clsPrompt.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QStringList>
#include <QTest>
#include <memory>

#define QUARRIX_EXIGIR_SQLSERVER(servidor)                                                                             \
    if (qEnvironmentVariableIsEmpty("QUARRIX_SQLSERVER_CONNSTR"))                                                      \
        QSKIP("QUARRIX_SQLSERVER_CONNSTR is not set: no SQL Server to test against");                                  \
    ServidorReal servidor;                                                                                             \
    QVERIFY2(servidor.sessao, qPrintable(servidor.erro))

struct ServidorReal {
    clsPromptSilencioso prompt;
    clsAmbienteDados amb{prompt};
    QString connStr = qEnvironmentVariable("QUARRIX_SQLSERVER_CONNSTR");
    std::unique_ptr<clsSqlDmoSessao> sessao;
    QString erro;
    // Unique names for this run; the names carry "]" and "'" so quoting is exercised for real.
    QString sufixo = QString::number(QDateTime::currentMSecsSinceEpoch()) + u'_'
                     + QString::number(QRandomGenerator::global()->bounded(1000000));
    QString banco = QStringLiteral("qx_teste]'") + sufixo;
    QStringList logins; // dropped at the end
    QStringList bancos{banco};

    ServidorReal()
    {
        sessao = AbrirSqlDmo(amb, connStr, false);
        if (!sessao)
            erro = QStringLiteral("cannot connect to QUARRIX_SQLSERVER_CONNSTR");
    }
    QString Login(const QString& base)
    {
        logins << base + sufixo;
        return logins.last();
    }
    bool CriarBanco() { return sessao->EnviarTSql(QStringLiteral("CREATE DATABASE ") + tsql::Nome(banco)); }
    ~ServidorReal()
    {
        if (!sessao)
            return;
        for (const QString& b : bancos)
            sessao->EnviarTSql(QStringLiteral("IF DB_ID(") + tsql::Texto(b)
                               + QStringLiteral(") IS NOT NULL BEGIN ALTER DATABASE ") + tsql::Nome(b)
                               + QStringLiteral(" SET SINGLE_USER WITH ROLLBACK IMMEDIATE; DROP DATABASE ")
                               + tsql::Nome(b) + QStringLiteral(" END"));
        for (const QString& l : logins)
            sessao->EnviarTSql(QStringLiteral("IF SUSER_ID(") + tsql::Texto(l)
                               + QStringLiteral(") IS NOT NULL DROP LOGIN ") + tsql::Nome(l));
    }
};
