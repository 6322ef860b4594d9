#include "mdlJobSchedule.h"

#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"

namespace {

// The session the operation works with: the one given, or one connected for it (with the pieces
// of the connection string).
class SessaoDaOperacao {
public:
    SessaoDaOperacao(clsAmbienteDados& ambiente, const QString& connStr, clsSqlDmoSessao* dada) : s(dada)
    {
        if (!s) {
            propria = AbrirSqlDmo(ambiente, connStr, true, &pecas);
            s = propria.get();
        } else {
            pecas = LerPecasSqlDmo(connStr);
        }
    }
    ~SessaoDaOperacao()
    {
        if (propria)
            propria->DisConnect();
    }
    clsSqlDmoSessao* operator->() const { return s; }
    clsSqlDmoSessao& operator*() const { return *s; }
    explicit operator bool() const { return s != nullptr; }
    PecasSqlDmo pecas;

private:
    clsSqlDmoSessao* s;
    std::unique_ptr<clsSqlDmoSessao> propria;
};

bool MostrarErro(clsAmbienteDados& ambiente, const clsSqlDmoSessao& s)
{
    ambiente.Prompt().MsgBox(s.Erro().descricao, vb::Critical, globais::TituloAplicativo());
    return false;
}

template <typename Item, typename Leitura>
bool PrimeiroPorNome(const JobAgent& job, const QString& nome, bool& novo, Item& item, Leitura ler)
{
    novo = true;
    item = Item{};
    if (nome.isEmpty() || !JobNoServidor(job.id))
        return true;
    QList<Item> itens;
    if (!ler(itens))
        return false;
    for (const Item& i : itens)
        if (i.nome == nome) {
            item = i;
            novo = false;
            break;
        }
    return true;
}

} // namespace

QString IdJobNovo() { return QString(32, u'0'); }

bool JobNoServidor(const QString& jobId)
{
    for (QChar c : jobId)
        if (c != u'0' && c != u'-')
            return true;
    return false;
}

bool LocalizarJob(clsSqlDmoSessao& servidor, const QString& jobId, bool& novo, JobAgent& job, const QString& nomeJob)
{
    novo = true;
    job = {IdJobNovo(), QString(), {}, {}};
    if (jobId.isEmpty() && nomeJob.isEmpty())
        return true;
    QList<JobAgent> jobs;
    if (!servidor.ListarJobs(jobs))
        return false;
    for (const JobAgent& j : jobs)
        if ((!jobId.isEmpty() && j.id.compare(jobId, Qt::CaseInsensitive) == 0)
            || (!nomeJob.isEmpty() && j.nome == nomeJob)) {
            job = j;
            novo = false;
            break;
        }
    return true;
}

bool LocalizarJobStep(clsSqlDmoSessao& servidor,
                      const JobAgent& job,
                      const QString& nome,
                      bool& novo,
                      PassoAgent& passo)
{
    return PrimeiroPorNome(job, nome, novo, passo, [&](QList<PassoAgent>& l) {
        return servidor.ListarPassos(job.id, l);
    });
}

bool LocalizarJobSchedule(clsSqlDmoSessao& servidor,
                          const JobAgent& job,
                          const QString& nome,
                          bool& novo,
                          AgendaAgent& agenda)
{
    return PrimeiroPorNome(job, nome, novo, agenda, [&](QList<AgendaAgent>& l) {
        return servidor.ListarAgendas(job.id, l);
    });
}

bool SalvarJob(clsAmbienteDados& ambiente,
               QString& jobId,
               const QString& nome,
               const QString& connStr,
               clsSqlDmoSessao* servidor)
{
    SessaoDaOperacao s(ambiente, connStr, servidor);
    if (!s)
        return false;
    bool novo = true;
    JobAgent job;
    if (!LocalizarJob(*s, JobNoServidor(jobId) ? jobId : QString(), novo, job, nome))
        return MostrarErro(ambiente, *s);
    const QString dono = s.pecas.integrada ? QString() : s.pecas.usuario;
    if (novo) {
        if (!s->IncluirJob(nome, dono, jobId))
            return MostrarErro(ambiente, *s);
        return true;
    }
    if (!s->AlterarJob(job.id, nome, dono))
        return MostrarErro(ambiente, *s);
    jobId = job.id;
    return true;
}

bool SalvarJobStep(clsAmbienteDados& ambiente,
                   const QString& jobId,
                   int& numero,
                   const QString& nome,
                   const QString& banco,
                   const QString& comando,
                   const QString& connStr,
                   clsSqlDmoSessao* servidor,
                   const QString& nomeNoServidor)
{
    SessaoDaOperacao s(ambiente, connStr, servidor);
    if (!s)
        return false;
    bool jobNovo = true, novo = true;
    JobAgent job;
    PassoAgent passo;
    if (!LocalizarJob(*s, jobId, jobNovo, job) || !LocalizarJobStep(*s, job, nomeNoServidor, novo, passo))
        return MostrarErro(ambiente, *s);
    passo.nome = nome;
    passo.comando = comando;
    passo.banco = banco;
    if (novo ? !s->IncluirPasso(job.id, passo, numero) : !s->AlterarPasso(job.id, passo))
        return MostrarErro(ambiente, *s);
    if (!novo)
        numero = passo.numero;
    return true;
}

bool ExcluirJob(clsAmbienteDados& ambiente, const QString& connStr, const QString& jobId)
{
    SessaoDaOperacao s(ambiente, connStr, nullptr);
    return s && (s->ExcluirJob(jobId) || MostrarErro(ambiente, *s));
}

bool ExcluirJobStep(clsAmbienteDados& ambiente, const QString& connStr, const QString& jobId, const QString& nome)
{
    SessaoDaOperacao s(ambiente, connStr, nullptr);
    if (!s)
        return false;
    bool jobNovo = true, novo = true;
    JobAgent job;
    PassoAgent passo;
    if (!LocalizarJob(*s, jobId, jobNovo, job) || !LocalizarJobStep(*s, job, nome, novo, passo))
        return MostrarErro(ambiente, *s);
    // A step no longer on the server is gone already.
    return novo || s->ExcluirPasso(job.id, passo.numero) || MostrarErro(ambiente, *s);
}

bool ExcluirJobSchedule(clsAmbienteDados& ambiente, const QString& connStr, const QString& jobId, const QString& nome)
{
    SessaoDaOperacao s(ambiente, connStr, nullptr);
    if (!s)
        return false;
    bool jobNovo = true, novo = true;
    JobAgent job;
    AgendaAgent agenda;
    if (!LocalizarJob(*s, jobId, jobNovo, job) || !LocalizarJobSchedule(*s, job, nome, novo, agenda))
        return MostrarErro(ambiente, *s);
    return novo || s->ExcluirAgenda(job.id, agenda.id) || MostrarErro(ambiente, *s);
}

bool AlternarAgent(clsAmbienteDados& ambiente, const QString& connStr, bool iniciar)
{
    SessaoDaOperacao s(ambiente, connStr, nullptr);
    return s && (s->AlternarAgent(iniciar) || MostrarErro(ambiente, *s));
}
