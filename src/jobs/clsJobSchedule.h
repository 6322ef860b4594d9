#pragma once
// One SQL Agent schedule while it is edited: its name and ten timing fields, the schedule dialog's
// state made from them and read back into them, and the writing of the schedule to the server.
// The dialog itself is shown by an editor the windows give (it fills its controls from a
// TelaAgendamento, lets the user work, and reads them back).
#include "connections/clsSqlDmoSessao.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class clsAmbienteDados;

// What the schedule dialog shows, control by control, with the dialog's own defaults.
struct TelaAgendamento {
    enum Ocorre { Diario, Semanal, Mensal };
    QString caption = QStringLiteral("JobSchedule");
    QString nome;
    Ocorre ocorre = Semanal;
    int diarioCada = 1;
    int semanalCada = 1;
    // Mon, Tue, Wed, Thu, Fri, Sat, Sun, as the dialog lists them.
    std::array<bool, 7> dias{};
    bool mensalDia = true; // "Day" (or "The")
    int mensalDiaNumero = 1;
    int mensalOrdinal = 0; // "1st" … "Last"
    int mensalDiaSemana = 0; // "Sunday" … "Weekend Day"
    int mensalCada = 1;
    bool umaVez = true; // "Occours Once at" (or "Occours Every")
    QString horaUmaVez = QStringLiteral("00:00:00");
    int cadaIntervalo = 1;
    int cadaUnidade = 0; // "Hour(s)", "Minute(s)"
    QString cadaDe = QStringLiteral("00:00:00");
    QString cadaAte = QStringLiteral("23:59:59");
    QString dataInicio; // dd/MM/yyyy
    bool semFim = true; // "No End Date" (or "End Date")
    QString dataFim; // dd/MM/yyyy
    bool operator==(const TelaAgendamento&) const = default;
};

// Shows the schedule dialog filled with the state; true, with the state read back, when confirmed.
using EditorAgendamento = std::function<bool(TelaAgendamento&)>;

class clsJobSchedule {
public:
    clsJobSchedule(clsAmbienteDados& ambiente, EditorAgendamento editor);
    ~clsJobSchedule();

    QString Name;
    qint32 FrequencyType = 0;
    qint32 FrequencyInterval = 0;
    qint32 FrequencyRelativeInterval = 0;
    qint32 FrequencyRecurrenceFactor = 0;
    qint32 FrequencySubDay = 0;
    qint32 FrequencySubDayInterval = 0;
    qint32 ActiveStartDate = 0;
    qint32 ActiveEndDate = 0;
    qint32 ActiveStartTimeOfDay = 0;
    qint32 ActiveEndTimeOfDay = 0;

    // The ten timing fields as the session takes them, and set from what it read.
    TempoAgenda Tempo() const;
    void DefinirTempo(const TempoAgenda& t);

    // Raised by LoadNew once the dialog was confirmed: the handler creates the job and puts its
    // identifier into the argument.
    std::function<void(QString& jobId)> InitJob;

    // Opens the schedule named `nome` of the job (a new one when the job has none of that name, or
    // the job is not on the server) in the dialog; true when the user confirmed it.
    bool AbrirAgendamento(const QString& jobId, const QString& nome, const QString& connStr);
    // Writes the schedule to the job; for a new schedule `jobScheduleId` gets its identifier.
    bool Edit(const QString& jobId, QString& jobScheduleId);
    // Edits the job's schedule named `Name` (a new one when `jobScheduleId` is empty): the dialog,
    // then the server. True when it was saved; `jobScheduleId` then names it.
    bool EditarDoJob(const QString& connStr, const QString& jobId, QString& jobScheduleId);
    // A new schedule for a job the caller creates in InitJob (a scheduled backup).
    bool LoadNew(const QString& connStr, const QString& nome);

    // The dialog's state for these properties: a new schedule gets the dialog's defaults with
    // Saturday ticked, the time an hour from `agora`, today's start and no end date.
    TelaAgendamento PreencherTela(bool novo, const QDateTime& agora) const;
    void LerTela(const TelaAgendamento& tela);

private:
    clsAmbienteDados& m_ambiente;
    EditorAgendamento m_editor;
    QString m_connStr;
    std::unique_ptr<clsSqlDmoSessao> m_servidor;
    AgendaAgent m_agenda; // the schedule being edited, as found on the server
    bool m_novo = true;
};
