#pragma once
// A SQL Agent job schedule: how often it runs (daily, weekly on chosen days, monthly on a day or an
// ordinal weekday), when in the day, and from which date to which. clsJobSchedule fills it and
// reads it back through a TelaAgendamento.
#include "frmCadastroAgent.h"
#include "jobs/clsJobSchedule.h"

class QComboBox;
class QCheckBox;
class QGroupBox;
class QRadioButton;
class QScrollBar;
class clsArvore;
class clsNo;

class frmJobScheduleCad : public frmCadastroAgent {
    Q_OBJECT
public:
    explicit frmJobScheduleCad(clsPrompt& prompt, QWidget* pai = nullptr);

    void Aplicar(const TelaAgendamento& tela);
    TelaAgendamento Tela() const;
    // The editor clsJobSchedule shows: this dialog, modal over `pai`.
    static EditorAgendamento Editor(clsPrompt& prompt, QWidget* pai);

    QGroupBox *fraOccurs, *fraDaily, *fraWeekly, *fraMonthly, *fraDailyFrequency, *fraDuration;
    QRadioButton *optOcuDaily, *optOcuWeekly, *optOcuMonthly;
    QLineEdit* txtDailyEvery;
    QScrollBar* scrDailyEvery;
    QLineEdit* txtWeeklyEvery;
    QScrollBar* scrWeeklyEvery;
    QCheckBox *chkWekMon, *chkWekTue, *chkWekWed, *chkWekThu, *chkWekFri, *chkWekSat, *chkWekSun;
    QRadioButton* optMonthlyDay;
    QLineEdit* txtMonthlyDay;
    QScrollBar* scrMonthlyDay;
    QRadioButton* optMonthlyThe;
    QComboBox* cmbMonthlyThe;
    QComboBox* cmbMonthlyTheWeek;
    QLineEdit* txtMonthlyEvery;
    QScrollBar* scrMonthlyEvery;
    QRadioButton* optDailyFreqOnce;
    QLineEdit* txtDailyFreqOnce;
    QRadioButton* optDailyFreqEvery;
    QLineEdit* txtDailyFreqEvery;
    QScrollBar* scrDailyFreqEvery;
    QComboBox* cmbDailyFreqEvery;
    QLineEdit* txtDailyFreqEveryFrom;
    QLineEdit* txtDailyFreqEveryTo;
    QLineEdit* txtDurationStart;
    QRadioButton* optDurationEndNo;
    QRadioButton* optDurationEnd;
    QLineEdit* txtDurationEnd;

private:
    void CriarFrequencia(QWidget* pai);
    void CriarDiaria(QWidget* pai);
    void CriarSemanal(QWidget* pai);
    void CriarMensal(QWidget* pai);
    void CriarHorario(QWidget* pai);
    void CriarDuracao(QWidget* pai);
    void AtualizarEstado();
    QCheckBox* Dia(int i) const;
};

// Edits the schedule of `noJobSchedule` (a new schedule of `noJob` when null) with `agenda`, saves
// it and brings the tree in line: a new schedule node, or the node's new name.
bool LoadByNode(clsJobSchedule& agenda, clsNo* noJob, clsNo* noJobSchedule);
