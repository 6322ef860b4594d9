// Time of the SQL check on scripts of growing size: the walk should grow with the text's length,
// so doubling the script should about double the time.
#include "platform/clsPrompt.h"
#include "query/mdlVerificarSql.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

static QString Script(int instrucoes)
{
    QString s;
    for (int i = 0; i < instrucoes; ++i)
        s += QStringLiteral("SELECT c.Id, c.NomeCliente, Count(p.Numero) AS Qtde\r\nFROM dbo.Clientes c "
                            "LEFT JOIN dbo.Pedidos p ON p.ClienteId = c.Id\r\nWHERE c.Cidade = 'São Paulo' "
                            "AND c.Id > %1\r\nGROUP BY c.Id, c.NomeCliente ORDER BY c.NomeCliente\r\n")
                 .arg(i);
    return s;
}

int main()
{
    double anterior = 0;
    for (int n : {2000, 4000, 8000, 16000}) {
        const QString sql = Script(n);
        QElapsedTimer t;
        t.start();
        clsPromptSilencioso prompt;
        const bool ok = VerificarSql(prompt, sql);
        const double ms = double(t.nsecsElapsed()) / 1e6;
        std::printf("%6d instrucoes, %8lld caracteres: %8.1f ms%s",
                    n,
                    static_cast<long long>(sql.size()),
                    ms,
                    ok ? "" : " (recusado!)");
        if (anterior > 0)
            std::printf("  (x%.2f do anterior)", ms / anterior);
        std::printf("\n");
        anterior = ms;
    }
    return 0;
}
