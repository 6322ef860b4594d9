#include "clsJobSchedule.h"

#include "connections/clsAmbienteDados.h"
#include "connections/clsData.h"
#include "mdlJobSchedule.h"
#include "platform/clsPrompt.h"
#include "platform/mdlGlobais.h"

#include <QDate>
#include <QTime>

namespace {

// Weekly days in the dialog's order (Mon … Sun) and their bits in FrequencyInterval.
constexpr int BitsDias[7] = {2, 4, 8, 16, 32, 64, 1};
// "1st" … "Last" and their FrequencyRelativeInterval.
constexpr int Ordinais[5] = {1, 2, 4, 8, 16};

// HHmmss as "HH:mm:ss".
QString TextoHora(int hhmmss)
{
    return QStringLiteral("%1:%2:%3")
        .arg(hhmmss / 10000, 2, 10, QChar(u'0'))
        .arg(hhmmss / 100 % 100, 2, 10, QChar(u'0'))
        .arg(hhmmss % 100, 2, 10, QChar(u'0'));
}

// "HH:mm:ss" (or "H:mm", "H:mm:ss") as HHmmss; 0 when it is no time.
int NumeroHora(const QString& texto)
{
    for (const char* formato : {"HH:mm:ss", "H:mm:ss", "H:mm"}) {
        const QTime t = QTime::fromString(texto.trimmed(), QLatin1String(formato));
        if (t.isValid())
            return t.hour() * 10000 + t.minute() * 100 + t.second();
    }
    return 0;
}

// yyyyMMdd as "dd/MM/yyyy"; empty when it is no date.
QString TextoData(int yyyymmdd)
{
    const QDate d(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

// "dd/MM/yyyy" as yyyyMMdd; 0 when it is no date.
int NumeroData(const QString& texto)
{
    const QDate d = QDate::fromString(texto.trimmed(), QStringLiteral("dd/MM/yyyy"));
    return d.isValid() ? d.year() * 10000 + d.month() * 100 + d.day() : 0;
}

} // namespace

clsJobSchedule::clsJobSchedule(clsAmbienteDados& ambiente, EditorAgendamento editor)
    : m_ambiente(ambiente), m_editor(std::move(editor))
{}

clsJobSchedule::~clsJobSchedule()
{
    if (m_servidor)
        m_servidor->DisConnect();
}

TempoAgenda clsJobSchedule::Tempo() const
{
    return {FrequencyType,
            FrequencyInterval,
            FrequencyRelativeInterval,
            FrequencyRecurrenceFactor,
            FrequencySubDay,
            FrequencySubDayInterval,
            ActiveStartDate,
            ActiveEndDate,
            ActiveStartTimeOfDay,
            ActiveEndTimeOfDay};
}

void clsJobSchedule::DefinirTempo(const TempoAgenda& t)
{
    FrequencyType = t.tipo;
    FrequencyInterval = t.intervalo;
    FrequencyRelativeInterval = t.relativo;
    FrequencyRecurrenceFactor = t.fator;
    FrequencySubDay = t.subDia;
    FrequencySubDayInterval = t.subDiaIntervalo;
    ActiveStartDate = t.dataInicio;
    ActiveEndDate = t.dataFim;
    ActiveStartTimeOfDay = t.horaInicio;
    ActiveEndTimeOfDay = t.horaFim;
}

TelaAgendamento clsJobSchedule::PreencherTela(bool novo, const QDateTime& agora) const
{
    TelaAgendamento t;
    t.nome = Name;
    if (novo) {
        t.caption += QStringLiteral(" - New");
        t.dias[5] = true;
        t.horaUmaVez = agora.addSecs(3600).toString(QStringLiteral("HH:mm:ss"));
        t.semFim = true;
        t.dataInicio = agora.date().toString(QStringLiteral("dd/MM/yyyy"));
        return t;
    }
    t.caption += QStringLiteral(" - Edit");
    if (FrequencyType == 4) {
        t.ocorre = TelaAgendamento::Diario;
        t.diarioCada = FrequencyInterval;
    } else if (FrequencyType == 16 || FrequencyType == 32) {
        t.ocorre = TelaAgendamento::Mensal;
        t.mensalCada = FrequencyRecurrenceFactor;
        t.mensalDia = FrequencyType == 16;
        if (t.mensalDia) {
            t.mensalDiaNumero = FrequencyInterval;
        } else {
            t.mensalDiaSemana = FrequencyInterval - 1;
            t.mensalOrdinal = int(std::find(std::begin(Ordinais), std::end(Ordinais), FrequencyRelativeInterval)
                                  - std::begin(Ordinais))
                              % 5;
        }
    } else {
        t.ocorre = TelaAgendamento::Semanal;
        t.semanalCada = FrequencyRecurrenceFactor;
        for (int i = 0; i < 7; ++i)
            t.dias[i] = (FrequencyInterval & BitsDias[i]) != 0;
    }
    t.umaVez = FrequencySubDay == 1;
    if (t.umaVez) {
        t.horaUmaVez = TextoHora(ActiveStartTimeOfDay);
    } else {
        t.cadaIntervalo = FrequencySubDayInterval;
        t.cadaDe = TextoHora(ActiveStartTimeOfDay);
        t.cadaAte = TextoHora(ActiveEndTimeOfDay);
        t.cadaUnidade = FrequencySubDay == 4 ? 1 : 0;
    }
    t.dataInicio = TextoData(ActiveStartDate);
    t.semFim = ActiveEndDate == 0 || ActiveEndDate == 99991231;
    if (!t.semFim)
        t.dataFim = TextoData(ActiveEndDate);
    return t;
}

void clsJobSchedule::LerTela(const TelaAgendamento& t)
{
    Name = t.nome;
    switch (t.ocorre) {
    case TelaAgendamento::Diario:
        FrequencyType = 4;
        FrequencyInterval = t.diarioCada;
        break;
    case TelaAgendamento::Semanal:
        FrequencyType = 8;
        FrequencyRecurrenceFactor = t.semanalCada;
        FrequencyInterval = 0;
        for (int i = 0; i < 7; ++i)
            if (t.dias[i])
                FrequencyInterval += BitsDias[i];
        break;
    case TelaAgendamento::Mensal:
        FrequencyRecurrenceFactor = t.mensalCada;
        if (t.mensalDia) {
            FrequencyType = 16;
            FrequencyInterval = t.mensalDiaNumero;
        } else {
            FrequencyType = 32;
            FrequencyInterval = t.mensalDiaSemana + 1;
            FrequencyRelativeInterval = Ordinais[qBound(0, t.mensalOrdinal, 4)];
        }
        break;
    }
    if (t.umaVez) {
        FrequencySubDay = 1;
        ActiveStartTimeOfDay = NumeroHora(t.horaUmaVez);
        ActiveEndTimeOfDay = 0;
    } else {
        FrequencySubDayInterval = t.cadaIntervalo;
        ActiveStartTimeOfDay = NumeroHora(t.cadaDe);
        ActiveEndTimeOfDay = NumeroHora(t.cadaAte);
        FrequencySubDay = t.cadaUnidade == 0 ? 8 : 4;
    }
    ActiveStartDate = NumeroData(t.dataInicio);
    ActiveEndDate = t.semFim ? 0 : NumeroData(t.dataFim);
}

bool clsJobSchedule::AbrirAgendamento(const QString& jobId, const QString& nome, const QString& connStr)
{
    clsPrompt& prompt = m_ambiente.Prompt();
    TelaAgendamento tela;
    {
        clsAmpulheta ampulheta(prompt);
        m_connStr = connStr;
        m_novo = true;
        m_agenda = {};
        m_servidor = AbrirSqlDmo(m_ambiente, connStr, false);
        if (m_servidor) {
            bool jobNovo = true;
            JobAgent job;
            if (LocalizarJob(*m_servidor, jobId, jobNovo, job)
                && LocalizarJobSchedule(*m_servidor, job, nome, m_novo, m_agenda))
                DefinirTempo(m_agenda.tempo);
        }
        Name = nome;
        tela = PreencherTela(m_novo, QDateTime::currentDateTime());
    }
    if (!m_editor || !m_editor(tela))
        return false;
    clsAmpulheta ampulheta(prompt);
    LerTela(tela);
    return true;
}

bool clsJobSchedule::Edit(const QString& jobId, QString& jobScheduleId)
{
    if (!m_servidor)
        m_servidor = AbrirSqlDmo(m_ambiente, m_connStr, true);
    if (!m_servidor)
        return false;
    bool jobNovo = true;
    JobAgent job;
    bool ok = LocalizarJob(*m_servidor, jobId, jobNovo, job);
    if (ok) {
        m_agenda.nome = Name;
        m_agenda.habilitada = true;
        m_agenda.tempo = Tempo();
        if (m_novo) {
            ok = m_servidor->IncluirAgenda(job.id, m_agenda, jobScheduleId);
            if (ok) {
                m_agenda.id = jobScheduleId;
                m_novo = false;
            }
        } else {
            ok = m_servidor->AlterarAgenda(m_agenda);
        }
    }
    if (!ok)
        m_ambiente.Prompt().MsgBox(m_servidor->Erro().descricao, vb::Critical, globais::TituloAplicativo());
    return ok;
}

bool clsJobSchedule::EditarDoJob(const QString& connStr, const QString& jobId, QString& jobScheduleId)
{
    return AbrirAgendamento(jobId, Name, connStr) && Edit(jobId, jobScheduleId);
}

bool clsJobSchedule::LoadNew(const QString& connStr, const QString& nome)
{
    if (!AbrirAgendamento(QString(), nome, connStr))
        return false;
    QString jobId;
    if (InitJob)
        InitJob(jobId);
    // The handler said why it made no job.
    if (!JobNoServidor(jobId))
        return false;
    QString agendaId;
    return Edit(jobId, agendaId);
}
