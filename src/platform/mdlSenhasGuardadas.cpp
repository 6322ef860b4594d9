#include "mdlSenhasGuardadas.h"

#include "clsSettings.h"
#include "mdlEmbaralhar.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>

#include <memory>
#include <qt6keychain/keychain.h>

namespace senhas {

namespace {

const QString SemSenha = QStringLiteral("*-*-*-*");

QString Nome(const QString& secao, const QString& chave) { return secao + u'/' + chave; }

enum class Operacao { Ler, Gravar, Apagar };

QKeychain::Job* CriarJob(Operacao op, const QString& valor);

// The keyring's jobs need an event loop: they run on a thread of their own, made on first use and
// ended with the application, while the caller waits for the answer without running any events of
// its own. A keyring that does not answer in time counts as none.
class LinhaChaveiro {
public:
    LinhaChaveiro()
    {
        m_linha.setObjectName(QStringLiteral("chaveiro"));
        m_contexto.moveToThread(&m_linha);
        m_linha.start();
    }
    ~LinhaChaveiro()
    {
        m_linha.quit();
        m_linha.wait();
    }
    QObject* Contexto() { return &m_contexto; }

    static LinhaChaveiro& Instancia()
    {
        if (!s_instancia) {
            s_instancia = new LinhaChaveiro;
            qAddPostRoutine(&Encerrar);
        }
        return *s_instancia;
    }
    static void Encerrar()
    {
        delete s_instancia;
        s_instancia = nullptr;
    }

private:
    static inline LinhaChaveiro* s_instancia = nullptr;
    QThread m_linha;
    QObject m_contexto;
};

struct Resposta {
    QSemaphore pronta;
    QKeychain::Error erro = QKeychain::OtherError;
    QString texto;
};

QKeychain::Error Executar(Operacao op, const QString& nome, const QString& entrada = {}, QString* saida = nullptr)
{
    auto r = std::make_shared<Resposta>();
    QMetaObject::invokeMethod(LinhaChaveiro::Instancia().Contexto(), [r, op, nome, entrada] {
        QKeychain::Job* job = CriarJob(op, entrada);
        job->setAutoDelete(true);
        job->setKey(nome);
        job->setInsecureFallback(false);
        QObject::connect(job, &QKeychain::Job::finished, job, [r, job, op] {
            r->erro = job->error();
            if (op == Operacao::Ler)
                r->texto = static_cast<QKeychain::ReadPasswordJob*>(job)->textData();
            r->pronta.release();
        });
        job->start();
    });
    if (!r->pronta.tryAcquire(1, 10000))
        return QKeychain::OtherError;
    if (saida)
        *saida = r->texto;
    return r->erro;
}

QKeychain::Job* CriarJob(Operacao op, const QString& valor)
{
    switch (op) {
    case Operacao::Ler: return new QKeychain::ReadPasswordJob(Servico);
    case Operacao::Gravar: {
        auto* job = new QKeychain::WritePasswordJob(Servico);
        job->setTextData(valor);
        return job;
    }
    case Operacao::Apagar: break;
    }
    return new QKeychain::DeletePasswordJob(Servico);
}

bool LerChaveiro(const QString& nome, QString& valor)
{
    return Executar(Operacao::Ler, nome, {}, &valor) == QKeychain::NoError;
}

bool GravarChaveiro(const QString& nome, const QString& valor)
{
    return Executar(Operacao::Gravar, nome, valor) == QKeychain::NoError;
}

void ApagarChaveiro(const QString& nome) { Executar(Operacao::Apagar, nome); }

bool Segredo(const QString& valor) { return !valor.isEmpty() && valor != SemSenha; }

} // namespace

void EncerrarChaveiro()
{
    qRemovePostRoutine(&LinhaChaveiro::Encerrar);
    LinhaChaveiro::Encerrar();
}

bool ChaveiroResponde()
{
    const QKeychain::Error e = Executar(Operacao::Ler, QStringLiteral("sonda"));
    return e == QKeychain::NoError || e == QKeychain::EntryNotFound;
}

bool UsarChaveiro() { return settings::GetSetting(QStringLiteral("Opcoes"), ChaveOpcao) != u"0" && ChaveiroResponde(); }

bool NoChaveiro(const QString& secao, const QString& chave)
{
    const QString guardado = settings::GetSetting(secao, chave);
    return !guardado.isEmpty() && Desembaralhar(guardado) == Marcador;
}

QString Ler(const QString& secao, const QString& chave, const QString& padrao)
{
    // An empty value saved is an empty password; only a missing key gives the default.
    const QString ausente = QStringLiteral("\x01");
    const QString guardado = settings::GetSetting(secao, chave, ausente);
    if (guardado == ausente)
        return padrao;
    const QString valor = Desembaralhar(guardado);
    if (valor != Marcador)
        return valor;
    QString senha;
    return LerChaveiro(Nome(secao, chave), senha) ? senha : padrao;
}

void Gravar(const QString& secao, const QString& chave, const QString& valor)
{
    if (Segredo(valor) && UsarChaveiro() && GravarChaveiro(Nome(secao, chave), valor)) {
        settings::SaveSetting(secao, chave, Embaralhar(Marcador));
        return;
    }
    if (NoChaveiro(secao, chave))
        ApagarChaveiro(Nome(secao, chave));
    settings::SaveSetting(secao, chave, Embaralhar(valor));
}

void Apagar(const QString& secao, const QString& chave)
{
    if (NoChaveiro(secao, chave))
        ApagarChaveiro(Nome(secao, chave));
    settings::DeleteSetting(secao, chave);
}

bool Migrar(const QString& secao, const QString& chave)
{
    const QString guardado = settings::GetSetting(secao, chave);
    const QString valor = Desembaralhar(guardado);
    if (guardado.isEmpty() || valor == Marcador || !Segredo(valor) || !UsarChaveiro()
        || !GravarChaveiro(Nome(secao, chave), valor))
        return false;
    settings::SaveSetting(secao, chave, Embaralhar(Marcador));
    return true;
}

} // namespace senhas
