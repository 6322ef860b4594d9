#include "mdlOdbc.h"

#include "clsOdbcHandle.h"

namespace odbc {
namespace {

// Runs `passo` with a fresh ODBC environment.
template <typename F> void ComAmbiente(F passo)
{
    const Ambiente ambiente = Ambiente::Novo();
    if (ambiente)
        passo(ambiente.get());
}

QString Texto(const SQLCHAR* c) { return QString::fromLocal8Bit(reinterpret_cast<const char*>(c)); }

} // namespace

QStringList Drivers()
{
    QStringList r;
    ComAmbiente([&](SQLHENV ambiente) {
        SQLCHAR descricao[512];
        SQLCHAR atributos[2048];
        SQLSMALLINT tamDescricao = 0, tamAtributos = 0;
        SQLUSMALLINT direcao = SQL_FETCH_FIRST;
        while (SQL_SUCCEEDED(SQLDrivers(ambiente,
                                        direcao,
                                        descricao,
                                        sizeof descricao,
                                        &tamDescricao,
                                        atributos,
                                        sizeof atributos,
                                        &tamAtributos))) {
            r << Texto(descricao);
            direcao = SQL_FETCH_NEXT;
        }
    });
    return r;
}

QList<FonteOdbc> Fontes()
{
    QList<FonteOdbc> r;
    ComAmbiente([&](SQLHENV ambiente) {
        SQLCHAR dsn[256];
        SQLCHAR driver[512];
        SQLSMALLINT tamDsn = 0, tamDriver = 0;
        SQLUSMALLINT direcao = SQL_FETCH_FIRST;
        while (SQL_SUCCEEDED(
            SQLDataSources(ambiente, direcao, dsn, sizeof dsn, &tamDsn, driver, sizeof driver, &tamDriver))) {
            r.append({Texto(dsn), Texto(driver)});
            direcao = SQL_FETCH_NEXT;
        }
    });
    return r;
}

QString ValorConnStr(const QString& valor)
{
    static const QString especiais = QStringLiteral(";{}=[](),?*!@ ");
    bool citar = valor.startsWith(u' ') || valor.endsWith(u' ');
    for (QChar c : valor)
        citar = citar || especiais.contains(c);
    if (!citar)
        return valor;
    return u'{' + QString(valor).replace(u'}', QStringLiteral("}}")) + u'}';
}

QString MontarConnStrOdbc(const QString& driver,
                          const QString& dsn,
                          const QString& servidor,
                          const QString& porta,
                          const QString& banco,
                          const QString& usuario,
                          const QString& senha)
{
    QString r = QStringLiteral("Provider=MSDASQL");
    auto parte = [&](const char* chave, const QString& valor) {
        if (!valor.isEmpty())
            r += u';' + QString::fromUtf8(chave) + u'=' + ValorConnStr(valor);
    };
    if (!dsn.isEmpty())
        parte("DSN", dsn);
    else if (!driver.isEmpty())
        r += QStringLiteral(";Driver={") + QString(driver).replace(u'}', QStringLiteral("}}")) + u'}';
    parte("Server", servidor);
    parte("Port", porta);
    parte("Database", banco);
    parte("Uid", usuario);
    parte("Pwd", senha);
    return r;
}

} // namespace odbc
