// The TimeOut option bounds every wait on the server: the lookup of a named instance, and saves and
// catalog reads behind another connection's lock, which end with a "tempo esgotado" report.
#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "platform/clsMotor.h"
#include "platform/mdlInstanciaSql.h"
#include "support/clsPromptRoteiro.h"
#include "support/registroTestes.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// A browser service on a free UDP port: answers each request with `resposta`, or stays silent.
struct NavegadorDuble {
    int fd = -1;
    quint16 porta = 0;
    std::thread t;
    explicit NavegadorDuble(const QByteArray& resposta)
    {
        fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t n = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
        porta = ntohs(a.sin_port);
        t = std::thread([this, resposta] {
            char b[512];
            sockaddr_in de{};
            socklen_t n = sizeof de;
            const ssize_t lidos = ::recvfrom(fd, b, sizeof b, 0, reinterpret_cast<sockaddr*>(&de), &n);
            if (lidos > 0 && b[0] == 0x04 && !resposta.isEmpty())
                ::sendto(fd, resposta.constData(), size_t(resposta.size()), 0, reinterpret_cast<sockaddr*>(&de), n);
        });
    }
    ~NavegadorDuble()
    {
        ::shutdown(fd, SHUT_RDWR);
        ::close(fd);
        t.join();
    }
};

QByteArray Resposta(const QByteArray& texto)
{
    return QByteArray(1, '\x05') + char(texto.size() & 0xFF) + char(texto.size() >> 8) + texto;
}

} // namespace

class tst_TempoLimite : public QObject {
    Q_OBJECT
private slots:
    void PortaNaResposta_data()
    {
        QTest::addColumn<QByteArray>("resposta");
        QTest::addColumn<QString>("instancia");
        QTest::addColumn<int>("porta");
        const QByteArray duas = "ServerName;SRV;InstanceName;A;IsClustered;No;Version;15.0;tcp;1500;;"
                                "ServerName;SRV;InstanceName;Inst;IsClustered;No;Version;15.0;np;\\\\x;tcp;49172;;";
        QTest::newRow("segunda, sem caixa") << Resposta(duas) << "INST" << 49172;
        QTest::newRow("primeira") << Resposta(duas) << "a" << 1500;
        QTest::newRow("ausente") << Resposta(duas) << "B" << 0;
        QTest::newRow("sem tcp") << Resposta("ServerName;SRV;InstanceName;C;np;\\\\x;;") << "C" << 0;
        QTest::newRow("lixo") << QByteArray("\x01\x02") << "A" << 0;
    }
    void PortaNaResposta()
    {
        QFETCH(QByteArray, resposta);
        QFETCH(QString, instancia);
        QFETCH(int, porta);
        QCOMPARE(int(instanciasql::PortaNaResposta(resposta, instancia)), porta);
    }

    void NavegadorResponde()
    {
        NavegadorDuble nav(Resposta("ServerName;SRV;InstanceName;INST;IsClustered;No;tcp;41433;;"));
        ErroDados e;
        QCOMPARE(int(instanciasql::PortaDaInstancia("127.0.0.1", "inst", 3, e, nav.porta)), 41433);
    }

    void NavegadorMudo()
    {
        NavegadorDuble nav{QByteArray()};
        ErroDados e;
        QElapsedTimer relogio;
        relogio.start();
        QCOMPARE(int(instanciasql::PortaDaInstancia("127.0.0.1", "INST", 2, e, nav.porta)), 0);
        QVERIFY(relogio.elapsed() < 3500);
        QVERIFY(relogio.elapsed() >= 1900);
        QCOMPARE(e.numero, long(ado::ErrTempoEsgotado));
        QVERIFY2(e.descricao.contains("tempo esgotado"), qPrintable(e.descricao));
    }

    // Opening a named instance nobody serves ends within the time-out (the driver alone took about
    // 16 seconds whatever it was told).
    void InstanciaNomeadaRespeitaTimeOut()
    {
        clsPromptRoteiro prompt;
        clsAmbienteDados amb(prompt);
        amb.Opcoes().TimeOut = 2;
        clsData db(amb);
        QElapsedTimer relogio;
        relogio.start();
        QVERIFY(!db.OpenConnection(MontarConnStrSql("127.0.0.1\\INSTX", "master", "sa", "x", false), true, false));
        QVERIFY2(relogio.elapsed() < 4000, qPrintable(QString::number(relogio.elapsed())));
        QVERIFY2(db.ErrMsg().contains("INSTX"), qPrintable(db.ErrMsg()));
    }

    // A save behind another connection's lock on the same row (PostgreSQL) or file (SQLite) gives
    // up after the TimeOut option and says so; nothing is written.
    void SalvarAtrasDeBloqueio_data()
    {
        QTest::addColumn<bool>("pg");
        QTest::newRow("sqlite") << false;
        QTest::newRow("postgres") << true;
    }
    void SalvarAtrasDeBloqueio()
    {
        QFETCH(bool, pg);
        QTemporaryDir pasta;
        QString cs;
        if (pg) {
            cs = qEnvironmentVariable("QUARRIX_PG_CONNSTR");
            if (cs.isEmpty())
                QSKIP("QUARRIX_PG_CONNSTR is not set (scripts/test starts a PostgreSQL server and sets it)");
        } else {
            ErroDados e;
            QVERIFY(CriarBancoArquivo(pasta.filePath("b.db"), e));
            cs = MontarConnStrAccess(pasta.filePath("b.db"), "Admin", "");
        }
        ErroDados e;
        auto dono = AbrirMotor(cs, true, 5, e);
        QVERIFY2(dono, qPrintable(e.descricao));
        long n = 0;
        dono->Executar("DROP TABLE IF EXISTS tempo_saldo", nullptr, 0, &n);
        QVERIFY(dono->Executar("CREATE TABLE tempo_saldo (id INTEGER PRIMARY KEY, saldo INTEGER)", nullptr, 0, &n));
        QVERIFY(dono->Executar("INSERT INTO tempo_saldo VALUES (1, 50)", nullptr, 0, &n));
        QVERIFY(dono->IniciarTransacao());
        QVERIFY(dono->Executar("UPDATE tempo_saldo SET saldo = 60 WHERE id = 1", nullptr, 0, &n));

        auto outro = AbrirMotor(cs, true, 2, e);
        QVERIFY2(outro, qPrintable(e.descricao));
        QElapsedTimer relogio;
        relogio.start();
        const bool gravou = outro->ExecutarComParametros("UPDATE tempo_saldo SET saldo = ? WHERE id = ?", {110, 1}, n);
        const qint64 espera = relogio.elapsed();
        const ErroDados erro = outro->Erro();
        QVERIFY(dono->DesfazerTransacao());
        QVERIFY(!gravou);
        QVERIFY2(espera >= 1500 && espera < 6000, qPrintable(QString::number(espera)));
        QCOMPARE(erro.numero, long(ado::ErrTempoEsgotado));
        QVERIFY2(erro.descricao.startsWith("Tempo esgotado"), qPrintable(erro.descricao));
        RecordsetPtr rs;
        QVERIFY(dono->Executar("SELECT saldo FROM tempo_saldo", &rs, 1, nullptr) && rs);
        QCOMPARE(rs->Valor(0).toInt(), 50);
        // Once the lock is gone the same save goes through.
        QVERIFY2(outro->ExecutarComParametros("UPDATE tempo_saldo SET saldo = ? WHERE id = ?", {110, 1}, n),
                 qPrintable(outro->Erro().descricao));
        dono->Executar("DROP TABLE tempo_saldo", nullptr, 0, &n);
    }
};
QUARRIX_TESTE(tst_TempoLimite);
#include "tst_TempoLimite.moc"
