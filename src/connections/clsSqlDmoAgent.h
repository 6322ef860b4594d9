#pragma once
// What the management session reads and writes of the SQL Agent's jobs: a step with its command,
// a schedule with its timing fields (named and encoded as the Agent's own schedule fields).
#include <QString>

struct PassoAgent {
    int numero = 0; // step_id
    QString nome;
    QString comando;
    QString banco; // database the command runs in
};

struct TempoAgenda {
    int tipo = 0; // freq_type: 4 daily, 8 weekly, 16 monthly, 32 monthly relative
    int intervalo = 0; // freq_interval
    int relativo = 0; // freq_relative_interval
    int fator = 0; // freq_recurrence_factor
    int subDia = 0; // freq_subday_type: 1 once, 4 minutes, 8 hours
    int subDiaIntervalo = 0; // freq_subday_interval
    int dataInicio = 0; // yyyyMMdd
    int dataFim = 0; // yyyyMMdd, 0 for no end
    int horaInicio = 0; // HHmmss
    int horaFim = 0; // HHmmss
    bool operator==(const TempoAgenda&) const = default;
};

struct AgendaAgent {
    QString id; // schedule_id as text
    QString nome;
    bool habilitada = true;
    TempoAgenda tempo;
};
