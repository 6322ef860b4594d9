// The permissions program without a window, as a script drives it: the argument from its
// environment or the first line of its input, changes on the lines after, the script it ran and
// the state read back on its output.
#include "admin/mdlPermissoes.h"
#include "support/postgresTeste.h"
#include "support/registroTestes.h"

#include <QProcess>
#include <QTest>

namespace {
struct Resultado {
    int codigo = -1;
    QString saida, erro;
};

Resultado Rodar(const QString& entrada, const QString& argumentoNoAmbiente = {})
{
    QProcess p;
    if (!argumentoNoAmbiente.isEmpty()) {
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert(QStringLiteral("QUARRIX_ARGUMENTO"), argumentoNoAmbiente);
        p.setProcessEnvironment(amb);
    }
    p.start(QStringLiteral(QUARRIX_BIN_DIR "/quarrix-permissoes"), {QStringLiteral("--sem-janela")});
    p.write(entrada.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

class tst_ProgramaPermissoes : public QObject {
    Q_OBJECT
private slots:
    void SemUsuarioRecusa()
    {
        const Resultado r = Rodar(QStringLiteral("ConnString=Provider=SQLOLEDB.1;Data Source=x;\n"));
        QCOMPARE(r.codigo, 2);
        QCOMPARE(r.erro.trimmed(), QStringLiteral("Falta o argumento UserName"));
    }

    void ConcedeERevogaNoPostgres()
    {
        const QString cs = BancoPostgresProprio(QStringLiteral("quarrix_permissoes_programa"));
        if (cs.isEmpty())
            QSKIP("QUARRIX_PG_CONNSTR not set (scripts/test starts the PostgreSQL test server)");
        ErroDados e;
        auto m = AbrirMotor(cs, true, 10, e);
        QVERIFY2(m, qPrintable(e.descricao));
        const QString usuario = "o'prog\"" + QString::number(QCoreApplication::applicationPid());
        const QString u = m->CitarIdentificador(usuario);
        for (const QString& sql : QStringList{"DROP TABLE IF EXISTS pedidos",
                                              "DROP ROLE IF EXISTS " + u,
                                              "CREATE TABLE pedidos (id int)",
                                              "CREATE ROLE " + u})
            QVERIFY2(m->Executar(sql, nullptr, ado::adLockReadOnly, nullptr), qPrintable(m->Erro().descricao));

        // The argument on the first line, a change on the next.
        Resultado r = Rodar(permissoes::MontarArgumento(cs, usuario)
                            + "\nGRANT\tSELECT\tpublic\tpedidos\n"
                              "GRANT\tDELETE\tpublic\tpedidos\n");
        QVERIFY2(r.codigo == 0, qPrintable(r.erro));
        QCOMPARE(r.saida,
                 "BEGIN;\nGRANT SELECT, DELETE ON TABLE \"public\".\"pedidos\" TO " + u + ";\nCOMMIT;\n-- " + usuario
                     + " em quarrix_permissoes_programa\npublic.pedidos\tSELECT=GRANT\tDELETE=GRANT\n");

        // The argument in the environment, changes on the input; a line that names nothing
        // changes nothing at all.
        const QString argumento = permissoes::MontarArgumento(cs, usuario);
        r = Rodar("REVOKE\tSELECT\tpublic\tpedidos\nGRANT\tSELECT\tpublic\tnenhuma\n", argumento);
        QCOMPARE(r.codigo, 1);
        QCOMPARE(r.erro.trimmed(), QStringLiteral("Objeto não encontrado: public.nenhuma"));
        r = Rodar("REVOKE\tSELECT\tpublic\tpedidos\n", argumento);
        QVERIFY2(r.codigo == 0, qPrintable(r.erro));
        QVERIFY(r.saida.endsWith("public.pedidos\tDELETE=GRANT\n"));

        m->Executar("DROP TABLE pedidos", nullptr, ado::adLockReadOnly, nullptr);
        m->Executar("DROP ROLE " + u, nullptr, ado::adLockReadOnly, nullptr);
    }
};
QUARRIX_TESTE(tst_ProgramaPermissoes);
#include "tst_ProgramaPermissoes.moc"
