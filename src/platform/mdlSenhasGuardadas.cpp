#include "mdlSenhasGuardadas.h"

#include "clsSettings.h"
#include "mdlEmbaralhar.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace senhas {

namespace {

const QString SemSenha = QStringLiteral("*-*-*-*");

QString Nome(const QString& secao, const QString& chave) { return secao + u'/' + chave; }

// Runs a keyring job to its end. A keyring that does not answer in time counts as none.
QKeychain::Error Executar(QKeychain::Job& job, const QString& nome)
{
    job.setAutoDelete(false);
    job.setKey(nome);
    job.setInsecureFallback(false);
    QEventLoop laco;
    QTimer limite;
    limite.setSingleShot(true);
    bool esgotou = false;
    QObject::connect(&job, &QKeychain::Job::finished, &laco, &QEventLoop::quit);
    QObject::connect(&limite, &QTimer::timeout, &laco, [&] {
        esgotou = true;
        laco.quit();
    });
    job.start();
    limite.start(10000);
    laco.exec(QEventLoop::ExcludeUserInputEvents);
    return esgotou ? QKeychain::OtherError : job.error();
}

bool LerChaveiro(const QString& nome, QString& valor)
{
    QKeychain::ReadPasswordJob job(Servico);
    if (Executar(job, nome) != QKeychain::NoError)
        return false;
    valor = job.textData();
    return true;
}

bool GravarChaveiro(const QString& nome, const QString& valor)
{
    QKeychain::WritePasswordJob job(Servico);
    job.setTextData(valor);
    return Executar(job, nome) == QKeychain::NoError;
}

void ApagarChaveiro(const QString& nome)
{
    QKeychain::DeletePasswordJob job(Servico);
    Executar(job, nome);
}

bool Segredo(const QString& valor) { return !valor.isEmpty() && valor != SemSenha; }

} // namespace

bool ChaveiroResponde()
{
    QKeychain::ReadPasswordJob job(Servico);
    const QKeychain::Error e = Executar(job, QStringLiteral("sonda"));
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
